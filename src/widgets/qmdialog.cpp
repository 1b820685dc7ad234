#include "widgets/qmdialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "platform/uiservices.h"
#include "util/cp1252.h"
#include "widgets/commandguard.h"

namespace qm {

QmDialog::QmDialog(UiServices& ui, const QString& formName, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(formName);
}

void QmDialog::Activate() {
    runCommand(ui_, [this] { updateEnabling(); });
}

void QmDialog::accept() {
    bool ok = false;
    // A check or a store that throws leaves the dialog open, as a refusal does.
    runCommand(ui_, [&] {
        if (!validate()) return;
        store();
        ok = true;
    });
    if (!ok) return;
    accepted_ = true;
    QDialog::accept();
}

void QmDialog::reject() {
    accepted_ = false;
    QDialog::reject();
}

void QmDialog::Refuse(const QString& text) { ui_.Information(text); }

bool QmDialog::CheckCp1252(const QString& text, const QString& field) {
    for (int i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        int length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        // '?' is the table's answer for every character it lacks.
        if (cp == U'?' || CodePointToCp1252(cp) != '?') {
            i += length - 1;
            continue;
        }
        Refuse(QStringLiteral("The character \"%1\" in \"%2\" cannot be stored in a help project.")
                   .arg(text.mid(i, length), field));
        return false;
    }
    return true;
}

QPushButton* QmDialog::MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent ? parent : this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QDialogButtonBox* QmDialog::MakeStandardButtons(bool help) {
    auto* box = new QDialogButtonBox(this);
    box->setObjectName(QStringLiteral("btnsStandard"));
    cmdOk = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    if (help) {
        cmdHelp = box->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
        cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
        connect(cmdHelp, &QPushButton::clicked, this, [this] { ui_.ShowHelp(helpContext()); });
    }
    for (QAbstractButton* b : box->buttons())
        if (auto* p = qobject_cast<QPushButton*>(b)) p->setAutoDefault(false);
    cmdOk->setDefault(true);
    connect(box, &QDialogButtonBox::accepted, this, &QmDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QmDialog::reject);
    return box;
}

void QmDialog::Watch(QLineEdit* edit) { connect(edit, &QLineEdit::textChanged, this, &QmDialog::Activate); }

void QmDialog::Watch(QAbstractButton* button) { connect(button, &QAbstractButton::toggled, this, &QmDialog::Activate); }

void QmDialog::Watch(QComboBox* combo) {
    connect(combo, &QComboBox::currentIndexChanged, this, &QmDialog::Activate);
    if (combo->isEditable()) connect(combo, &QComboBox::editTextChanged, this, &QmDialog::Activate);
}

void QmDialog::Watch(QListWidget* list) {
    connect(list, &QListWidget::currentRowChanged, this, &QmDialog::Activate);
    connect(list->model(), &QAbstractItemModel::rowsInserted, this, &QmDialog::Activate);
    connect(list->model(), &QAbstractItemModel::rowsRemoved, this, &QmDialog::Activate);
}

void QmDialog::Watch(QTabWidget* pages) { connect(pages, &QTabWidget::currentChanged, this, &QmDialog::Activate); }

void QmDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Activate();
}

}  // namespace qm
