#include "dialogs/newmacro.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/dialogfactory.h"
#include "dialogs/tagform.h"
#include "platform/qtcp1252.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewMacro::TfrmNewMacro(TDialogFactory& factory, const TMacros& macros, QWidget* parent)
    : TCntEntryDialog(factory.Ui(), QStringLiteral("frmNewMacro"), QStringLiteral("Macro Properties"),
                      kNewMacroHelpContext, parent),
      factory_(factory),
      macros_(macros) {
    txtTitle = MakeEdit(QStringLiteral("txtTitle"));
    txtMacro = MakeEdit(QStringLiteral("txtMacro"));
    cmdBrowseMacro = MakeBrowseButton(QStringLiteral("cmdBrowseMacro"));
    grid_->addWidget(MakeLabel(QStringLiteral("&Title"), txtTitle), 0, 0);
    grid_->addWidget(txtTitle, 0, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Macro"), txtMacro), 1, 0);
    grid_->addWidget(txtMacro, 1, 1);
    grid_->addWidget(cmdBrowseMacro, 1, 2);
    Watch(txtTitle);
    Watch(txtMacro);
    connect(cmdBrowseMacro, &QPushButton::clicked, this,
            guarded(Ui(), [this] { BrowseMacroInto(factory_, macros_, txtMacro, this); }));
    txtTitle->setFocus();
}

void TfrmNewMacro::LoadEntry(const TCntNode& entry) {
    txtTitle->setText(FromCp1252(entry.Title));
    txtMacro->setText(FromCp1252(entry.Macro));
}

void TfrmNewMacro::SaveEntry(TCntNode& entry) const {
    entry.Title = ToCp1252(txtTitle->text());
    entry.Macro = ToCp1252(txtMacro->text());
}

bool TfrmNewMacro::okRule() const { return !txtTitle->text().isEmpty() && !txtMacro->text().isEmpty(); }

bool TfrmNewMacro::checkFields() {
    return CheckField(txtTitle, QStringLiteral("&Title"), TCntField::EntryTitle, txtTitle->text()) &&
           CheckField(txtMacro, QStringLiteral("&Macro"), TCntField::Text, txtMacro->text());
}

}  // namespace qm
