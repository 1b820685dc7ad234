#include "dialogs/newbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/dialogfactory.h"
#include "platform/qtcp1252.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewButton::TfrmNewButton(TDialogFactory& factory, const TMacros& macros, QWidget* parent)
    : TTagForm(factory.Ui(), QStringLiteral("frmNewButton"), QStringLiteral("Button Tag Editor"), kButtonHelpContext,
               parent),
      factory_(factory),
      macros_(macros) {
    txtCaption = MakeEdit(QStringLiteral("txtCaption"));
    txtMacro = MakeEdit(QStringLiteral("txtMacro"));
    cmdBrowseMacro = MakeBrowseButton(QStringLiteral("cmdBrowseMacro"));
    grid_->addWidget(MakeLabel(QStringLiteral("&Caption"), txtCaption), 0, 0);
    grid_->addWidget(txtCaption, 0, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("&Macro"), txtMacro), 1, 0);
    grid_->addWidget(txtMacro, 1, 1);
    grid_->addWidget(cmdBrowseMacro, 1, 2);
    ChainTabOrder({txtCaption, txtMacro, cmdBrowseMacro, cmdOk, cmdCancel, cmdHelp});

    connect(cmdBrowseMacro, &QPushButton::clicked, this,
            guarded(Ui(), [this] { BrowseMacroInto(factory_, macros_, txtMacro, this); }));
    Watch(txtMacro);
}

void TfrmNewButton::Preset(const TTagPreset& preset) {
    txtCaption->setText(FromCp1252(preset.Caption));
    txtMacro->setText(FromCp1252(preset.Macro));
}

bool TfrmNewButton::okRule() const { return !txtMacro->text().isEmpty(); }

std::string TfrmNewButton::GetTag() const {
    return "<BTN " + ToCp1252(txtMacro->text()) + ">" + ToCp1252(txtCaption->text()) + "</BTN>";
}

}  // namespace qm
