#include "dialogs/buildtags.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmBuildTags::TfrmBuildTags(UiServices& ui, QWidget* parent) : QmDialog(ui, QStringLiteral("frmBuildTags"), parent) {
    setWindowTitle(QStringLiteral("Build Tags"));
    txtTag = new QLineEdit(this);
    txtTag->setObjectName(QStringLiteral("txtTag"));
    txtTag->setMaxLength(50);
    lstTags = new QListWidget(this);
    lstTags->setObjectName(QStringLiteral("lstTags"));
    lstTags->setMinimumSize(220, 160);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Build tag:"), this);
    label->setBuddy(txtTag);
    layout->addWidget(label);
    layout->addWidget(txtTag);
    layout->addWidget(lstTags, 1);
    layout->addWidget(MakeStandardButtons(false));

    connect(txtTag, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QSignalBlocker block(lstTags);
        const int row = FindPrefix(lstTags, text);
        lstTags->setCurrentRow(row);
        if (row < 0) lstTags->clearSelection();
    });
    connect(lstTags, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { txtTag->setText(item->text()); });
    Watch(txtTag);
    txtTag->setFocus();
}

void TfrmBuildTags::SetTags(const StringList& tags) {
    lstTags->clear();
    for (const std::string& t : tags) lstTags->addItem(FromCp1252(t));
    if (lstTags->count() > 0) {
        lstTags->setCurrentRow(0);
        txtTag->setText(lstTags->item(0)->text());
    }
}

int TfrmBuildTags::FindPrefix(const QListWidget* list, const QString& text) {
    const int count = list->count();
    if (text.isEmpty() || count == 0) return -1;
    for (int k = 1; k <= count; ++k) {
        const int row = k % count;
        if (list->item(row)->text().startsWith(text, Qt::CaseInsensitive)) return row;
    }
    return -1;
}

bool TfrmBuildTags::validate() {
    if (!CheckCp1252(txtTag->text(), QStringLiteral("Build tag"))) return false;
    const std::string tag = Trim(ToCp1252(txtTag->text()));
    if (tag.find_first_of(" \t") != std::string::npos) {
        Refuse(QString::fromLatin1(kMsgBuildTagSpaces));
        return false;
    }
    return !tag.empty();
}

void TfrmBuildTags::store() { tag_ = Trim(ToCp1252(txtTag->text())); }

void TfrmBuildTags::updateEnabling() { cmdOk->setEnabled(!txtTag->text().trimmed().isEmpty()); }

}  // namespace qm
