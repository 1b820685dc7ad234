#include "dialogs/tabprops.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qtcp1252.h"

namespace qm {

TfrmTabProps::TfrmTabProps(UiServices& ui, QWidget* parent)
    : TCntDialog(ui, QStringLiteral("frmTabProps"), QStringLiteral("Tab Properties"), kTabPropsHelpContext, parent) {
    txtTabName = MakeEdit(QStringLiteral("txtTabName"));
    txtDllFileName = MakeEdit(QStringLiteral("txtDllFileName"));
    cmdBrowse = MakeBrowseButton(QStringLiteral("cmdBrowse"));
    txtComment = MakeEdit(QStringLiteral("txtComment"));
    grid_->addWidget(MakeLabel(QStringLiteral("Tab name"), txtTabName), 0, 0);
    grid_->addWidget(txtTabName, 0, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("Dll file name"), txtDllFileName), 1, 0);
    grid_->addWidget(txtDllFileName, 1, 1);
    grid_->addWidget(cmdBrowse, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Comment"), txtComment), 2, 0);
    grid_->addWidget(txtComment, 2, 1, 1, 2);
    setTabOrder(txtTabName, txtDllFileName);
    setTabOrder(txtDllFileName, cmdBrowse);
    setTabOrder(cmdBrowse, txtComment);
    Watch(txtTabName);
    Watch(txtDllFileName);
    ConnectBrowse(cmdBrowse, txtDllFileName, QStringLiteral("Dll File"),
                  QStringLiteral("Dynamic linked libraries (*.dll)|*.dll"), QStringLiteral("dll"));
    txtTabName->setFocus();
}

void TfrmTabProps::SetRecord(const TTab& record) {
    txtTabName->setText(FromCp1252(record.TabName));
    txtDllFileName->setText(FromCp1252(record.DllName));
    txtComment->setText(FromCp1252(record.Comment));
}

TTab TfrmTabProps::Record() const {
    return {ToCp1252(txtTabName->text()), ToCp1252(txtDllFileName->text()), ToCp1252(txtComment->text())};
}

bool TfrmTabProps::okRule() const {
    return !txtTabName->text().trimmed().isEmpty() && !txtDllFileName->text().trimmed().isEmpty();
}

bool TfrmTabProps::checkFields() {
    return CheckField(txtTabName, QStringLiteral("Tab name"), TCntField::HeaderName, txtTabName->text()) &&
           CheckField(txtDllFileName, QStringLiteral("Dll file name"), TCntField::HeaderFile, txtDllFileName->text()) &&
           CheckField(txtComment, QStringLiteral("&Comment"), TCntField::Text, txtComment->text());
}

}  // namespace qm
