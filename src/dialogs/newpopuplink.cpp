#include "dialogs/newpopuplink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/project.h"
#include "platform/qtcp1252.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewPopupLink::TfrmNewPopupLink(UiServices& ui, const TProject& project, QWidget* parent)
    : TfrmHotspotTag(ui, QStringLiteral("frmNewPopupLink"), QStringLiteral("Popup Link Tag Editor"),
                     kPopupLinkHelpContext, project, parent) {
    cboPopups = MakeNameCombo(QStringLiteral("cboPopups"));
    for (const TTopicNode* node : project.Topics.NodesOfKind(TopicKind::Popup))
        cboPopups->addItem(FromCp1252(node->GetName()));
    if (cboPopups->count() > 0) cboPopups->setCurrentIndex(0);
    txtFile = MakeEdit(QStringLiteral("txtFile"));
    cmdBrowseFile = MakeBrowseButton(QStringLiteral("cmdBrowseFile"));

    int row = 0;
    grid_->addWidget(MakeLabel(QStringLiteral("Link &popup"), cboPopups), row, 0);
    grid_->addWidget(cboPopups, row, 1, 1, 2);
    row = AddHotspotRows(row + 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid_->addWidget(line, row++, 0, 1, 3);
    grid_->addWidget(MakeLabel(QStringLiteral("[&File]"), txtFile), row, 0);
    grid_->addWidget(txtFile, row, 1);
    grid_->addWidget(cmdBrowseFile, row, 2);

    ChainTabOrder({cboPopups, optTxtHotSpot, txtHotSpot, optImgHotSpot, txtBmp, cmdBrowseBmp, chkUserDefined, cboAlign,
                   txtFile, cmdBrowseFile, cmdOk, cmdCancel, cmdHelp});

    connect(cmdBrowseFile, &QPushButton::clicked, this, guarded(Ui(), [this] {
                BrowseFile(txtFile, QStringLiteral("External File"), QStringLiteral("Help files (*hlp)|*.hlp"),
                           QStringLiteral("hlp"));
            }));
}

void TfrmNewPopupLink::Preset(const TTagPreset& preset) {
    if (preset.Popup) PresetNameCombo(cboPopups, FromCp1252(*preset.Popup));
    txtFile->setText(FromCp1252(preset.File));
    PresetHotspot(preset.Hotspot, preset.UserDefined);
}

std::string TfrmNewPopupLink::GetTag() const {
    const bool user = UserDefinedLook();
    const std::string file = ToCp1252(txtFile->text());
    std::string tag = user ? "<ULINK POPUP=\"" : "<LINK POPUP=\"";
    tag += ToCp1252(cboPopups->currentText()) + "\"";
    if (!file.empty()) tag += " FILE=" + file;
    tag += ">" + HotspotText();
    tag += user ? "</ULINK>" : "</LINK>";
    return tag;
}

}  // namespace qm
