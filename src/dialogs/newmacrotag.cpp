#include "dialogs/newmacrotag.h"

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

TfrmNewMacroTag::TfrmNewMacroTag(TDialogFactory& factory, const TMacros& macros, const TProject& project,
                                 QWidget* parent)
    : TfrmHotspotTag(factory.Ui(), QStringLiteral("frmNewMacroTag"), QStringLiteral("Macro Tag Editor"),
                     kMacroTagHelpContext, project, parent),
      factory_(factory),
      macros_(macros) {
    txtMacro = MakeEdit(QStringLiteral("txtMacro"));
    cmdBrowseMacro = MakeBrowseButton(QStringLiteral("cmdBrowseMacro"));
    grid_->addWidget(MakeLabel(QStringLiteral("&Macro"), txtMacro), 0, 0);
    grid_->addWidget(txtMacro, 0, 1);
    grid_->addWidget(cmdBrowseMacro, 0, 2);
    AddHotspotRows(1);
    ChainTabOrder({txtMacro, cmdBrowseMacro, optTxtHotSpot, txtHotSpot, optImgHotSpot, txtBmp, cmdBrowseBmp,
                   chkUserDefined, cboAlign, cmdOk, cmdCancel, cmdHelp});

    connect(cmdBrowseMacro, &QPushButton::clicked, this,
            guarded(Ui(), [this] { BrowseMacroInto(factory_, macros_, txtMacro, this); }));
    Watch(txtMacro);
}

void TfrmNewMacroTag::Preset(const TTagPreset& preset) {
    txtMacro->setText(FromCp1252(preset.Macro));
    PresetHotspot(preset.Hotspot, preset.UserDefined);
}

bool TfrmNewMacroTag::okRule() const { return HotspotFilled() && !txtMacro->text().isEmpty(); }

std::string TfrmNewMacroTag::GetTag() const {
    const bool user = UserDefinedLook();
    return (user ? "<UMACRO " : "<MACRO ") + ToCp1252(txtMacro->text()) + ">" + HotspotText() +
           (user ? "</UMACRO>" : "</MACRO>");
}

}  // namespace qm
