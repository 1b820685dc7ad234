#include "dialogs/linkfileprops.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qtcp1252.h"

namespace qm {

TfrmLinkFileProps::TfrmLinkFileProps(UiServices& ui, QWidget* parent)
    : TCntDialog(ui, QStringLiteral("frmLinkFileProps"), QStringLiteral("Link File Properties"),
                 kLinkFilePropsHelpContext, parent) {
    txtHelpFileName = MakeEdit(QStringLiteral("txtHelpFileName"));
    cmdBrowse = MakeBrowseButton(QStringLiteral("cmdBrowse"));
    txtComment = MakeEdit(QStringLiteral("txtComment"));
    grid_->addWidget(MakeLabel(QStringLiteral("Help file &name"), txtHelpFileName), 0, 0);
    grid_->addWidget(txtHelpFileName, 0, 1);
    grid_->addWidget(cmdBrowse, 0, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Comment"), txtComment), 1, 0);
    grid_->addWidget(txtComment, 1, 1, 1, 2);
    setTabOrder(txtHelpFileName, cmdBrowse);
    setTabOrder(cmdBrowse, txtComment);
    Watch(txtHelpFileName);
    ConnectBrowse(cmdBrowse, txtHelpFileName, QStringLiteral("Link File"), QStringLiteral("Help files (*.hlp)|*.hlp"),
                  QStringLiteral("hlp"));
    txtHelpFileName->setFocus();
}

void TfrmLinkFileProps::SetRecord(const TLinkFile& record) {
    txtHelpFileName->setText(FromCp1252(record.HelpFile));
    txtComment->setText(FromCp1252(record.Comment));
}

TLinkFile TfrmLinkFileProps::Record() const {
    return {ToCp1252(txtHelpFileName->text()), ToCp1252(txtComment->text())};
}

bool TfrmLinkFileProps::okRule() const { return !txtHelpFileName->text().trimmed().isEmpty(); }

bool TfrmLinkFileProps::checkFields() {
    return CheckField(txtHelpFileName, QStringLiteral("Help file &name"), TCntField::HeaderFile,
                      txtHelpFileName->text()) &&
           CheckField(txtComment, QStringLiteral("&Comment"), TCntField::Text, txtComment->text());
}

}  // namespace qm
