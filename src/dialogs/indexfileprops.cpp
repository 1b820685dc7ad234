#include "dialogs/indexfileprops.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qtcp1252.h"

namespace qm {

TfrmIndexFileProps::TfrmIndexFileProps(UiServices& ui, QWidget* parent)
    : TCntDialog(ui, QStringLiteral("frmIndexFileProps"), QStringLiteral("Index File Properties"),
                 kIndexFilePropsHelpContext, parent) {
    txtTitle = MakeEdit(QStringLiteral("txtTitle"));
    txtHelpFileName = MakeEdit(QStringLiteral("txtHelpFileName"));
    cmdBrowse = MakeBrowseButton(QStringLiteral("cmdBrowse"));
    txtComment = MakeEdit(QStringLiteral("txtComment"));
    grid_->addWidget(MakeLabel(QStringLiteral("Help file &title"), txtTitle), 0, 0);
    grid_->addWidget(txtTitle, 0, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("Help file &name"), txtHelpFileName), 1, 0);
    grid_->addWidget(txtHelpFileName, 1, 1);
    grid_->addWidget(cmdBrowse, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Comment"), txtComment), 2, 0);
    grid_->addWidget(txtComment, 2, 1, 1, 2);
    setTabOrder(txtTitle, txtHelpFileName);
    setTabOrder(txtHelpFileName, cmdBrowse);
    setTabOrder(cmdBrowse, txtComment);
    Watch(txtTitle);
    Watch(txtHelpFileName);
    ConnectBrowse(cmdBrowse, txtHelpFileName, QStringLiteral("Index File"), QStringLiteral("Help files (*.hlp)|*.hlp"),
                  QStringLiteral("hlp"));
    txtTitle->setFocus();
}

void TfrmIndexFileProps::SetRecord(const TIndexFile& record) {
    txtTitle->setText(FromCp1252(record.Title));
    txtHelpFileName->setText(FromCp1252(record.HelpFile));
    txtComment->setText(FromCp1252(record.Comment));
}

TIndexFile TfrmIndexFileProps::Record() const {
    return {ToCp1252(txtTitle->text()), ToCp1252(txtHelpFileName->text()), ToCp1252(txtComment->text())};
}

bool TfrmIndexFileProps::okRule() const {
    return !txtTitle->text().trimmed().isEmpty() && !txtHelpFileName->text().trimmed().isEmpty();
}

bool TfrmIndexFileProps::checkFields() {
    return CheckField(txtTitle, QStringLiteral("Help file &title"), TCntField::HeaderName, txtTitle->text()) &&
           CheckField(txtHelpFileName, QStringLiteral("Help file &name"), TCntField::HeaderFile,
                      txtHelpFileName->text()) &&
           CheckField(txtComment, QStringLiteral("&Comment"), TCntField::Text, txtComment->text());
}

}  // namespace qm
