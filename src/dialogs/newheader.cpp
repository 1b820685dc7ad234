#include "dialogs/newheader.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

#include "platform/qtcp1252.h"

namespace qm {

TfrmNewHeader::TfrmNewHeader(UiServices& ui, QWidget* parent)
    : TCntEntryDialog(ui, QStringLiteral("frmNewHeader"), QStringLiteral("Header Properties"), kNewHeaderHelpContext,
                      parent) {
    txtTitle = MakeEdit(QStringLiteral("txtTitle"));
    grid_->addWidget(MakeGroup(QStringLiteral("grpTitle"), QStringLiteral(" Header title "), txtTitle), 0, 0, 1, 2);
    Watch(txtTitle);
    txtTitle->setFocus();
}

void TfrmNewHeader::LoadEntry(const TCntNode& entry) { txtTitle->setText(FromCp1252(entry.Title)); }

void TfrmNewHeader::SaveEntry(TCntNode& entry) const { entry.Title = ToCp1252(txtTitle->text()); }

bool TfrmNewHeader::okRule() const { return !txtTitle->text().isEmpty(); }

bool TfrmNewHeader::checkFields() {
    return CheckField(txtTitle, QStringLiteral("Header title"), TCntField::EntryTitle, txtTitle->text());
}

}  // namespace qm
