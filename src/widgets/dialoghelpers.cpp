#include "widgets/dialoghelpers.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QStringList>
#include <QValidator>

namespace qm {

namespace {

// Drops the characters that are no digits, keeping the cursor after what it
// followed.
class DigitsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        QString kept;
        int newPos = pos;
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                kept += c;
            else if (i < pos)
                --newPos;
        }
        input = kept;
        pos = newPos;
        return Acceptable;
    }
};

}  // namespace

void DigitsOnly(QLineEdit* edit) { edit->setValidator(new DigitsValidator(edit)); }

int SelectAfterRemoval(int removed, int count) {
    if (count <= 0) return -1;
    if (removed < 0) return 0;
    return removed < count ? removed : count - 1;
}

ListEditor::ListEditor(QListWidget* list, QObject* parent) : QObject(parent ? parent : list), list_(list) {}

void ListEditor::Add(const QString& text) {
    list_->addItem(text);
    list_->setCurrentRow(list_->count() - 1);
}

void ListEditor::Insert(int row, const QString& text) {
    const int at = row < 0 || row > list_->count() ? list_->count() : row;
    list_->insertItem(at, text);
    list_->setCurrentRow(at);
}

bool ListEditor::Update(const QString& text) {
    QListWidgetItem* item = list_->currentItem();
    if (!item) return false;
    item->setText(text);
    return true;
}

bool ListEditor::Remove() {
    const int row = list_->currentRow();
    if (row < 0) return false;
    delete list_->takeItem(row);
    list_->setCurrentRow(SelectAfterRemoval(row, list_->count()));
    return true;
}

bool ListEditor::Move(int by) {
    const int row = list_->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= list_->count()) return false;
    QListWidgetItem* item = list_->takeItem(row);
    list_->insertItem(to, item);
    list_->setCurrentRow(to);
    return true;
}

bool ListEditor::MoveUp() { return Move(-1); }
bool ListEditor::MoveDown() { return Move(1); }

QString WindowsFilterToQt(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // A description that names its own patterns would show them twice.
        static const QRegularExpression ownPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(ownPatterns);
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!p.trimmed().isEmpty()) patterns << p.trimmed();
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        out << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

}  // namespace qm
