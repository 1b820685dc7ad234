#include "dialogs/newtopiclink.h"

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
#include "util/qorstring.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewTopicLink::TfrmNewTopicLink(UiServices& ui, const TProject& project, QWidget* parent)
    : TfrmHotspotTag(ui, QStringLiteral("frmNewTopicLink"), QStringLiteral("Topic Link Tag Editor"),
                     kTopicLinkHelpContext, project, parent) {
    cboTopics = MakeNameCombo(QStringLiteral("cboTopics"));
    for (const TTopicNode* node : project.Topics.NodesOfKind(TopicKind::Topic))
        cboTopics->addItem(FromCp1252(node->GetName()));
    if (cboTopics->count() > 0) cboTopics->setCurrentIndex(0);
    txtAnchor = MakeEdit(QStringLiteral("txtAnchor"));
    cboWindows = MakeNameCombo(QStringLiteral("cboWindows"));
    for (int i = 1; i <= project.Windows.Count(); ++i)
        cboWindows->addItem(FromCp1252(project.Windows.GetWindow(i).GetName()));
    if (cboWindows->count() > 0) cboWindows->setCurrentIndex(0);
    txtFile = MakeEdit(QStringLiteral("txtFile"));
    cmdBrowseFile = MakeBrowseButton(QStringLiteral("cmdBrowseFile"));

    int row = 0;
    grid_->addWidget(MakeLabel(QStringLiteral("Link &topic"), cboTopics), row, 0);
    grid_->addWidget(cboTopics, row, 1, 1, 2);
    row = AddHotspotRows(row + 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid_->addWidget(line, row++, 0, 1, 3);
    grid_->addWidget(MakeLabel(QStringLiteral("[A&nchor]"), txtAnchor), row, 0);
    grid_->addWidget(txtAnchor, row++, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("[&Window]"), cboWindows), row, 0);
    grid_->addWidget(cboWindows, row++, 1, 1, 2);
    grid_->addWidget(MakeLabel(QStringLiteral("[&File]"), txtFile), row, 0);
    grid_->addWidget(txtFile, row, 1);
    grid_->addWidget(cmdBrowseFile, row, 2);

    ChainTabOrder({cboTopics, optTxtHotSpot, txtHotSpot, optImgHotSpot, txtBmp, cmdBrowseBmp, chkUserDefined, cboAlign,
                   txtAnchor, cboWindows, txtFile, cmdBrowseFile, cmdOk, cmdCancel, cmdHelp});

    connect(cmdBrowseFile, &QPushButton::clicked, this, guarded(Ui(), [this] {
                BrowseFile(txtFile, QStringLiteral("External File"), QStringLiteral("Help files (*hlp)|*.hlp"),
                           QStringLiteral("hlp"));
            }));
}

void TfrmNewTopicLink::Preset(const TTagPreset& preset) {
    if (preset.Topic) PresetNameCombo(cboTopics, FromCp1252(*preset.Topic));
    txtAnchor->setText(FromCp1252(preset.Anchor));
    if (preset.Window) PresetNameCombo(cboWindows, FromCp1252(*preset.Window));
    txtFile->setText(FromCp1252(preset.File));
    PresetHotspot(preset.Hotspot, preset.UserDefined);
}

bool TfrmNewTopicLink::extraChecks() {
    if (!IsValidAnchorName(ToCp1252(txtAnchor->text()))) {
        Refuse(QString::fromUtf8(kMsgBadAnchorName));
        return false;
    }
    return true;
}

std::string TfrmNewTopicLink::GetTag() const {
    const bool user = UserDefinedLook();
    const std::string anchor = ToCp1252(txtAnchor->text());
    const std::string window = ToCp1252(cboWindows->currentText());
    const std::string file = ToCp1252(txtFile->text());
    std::string tag = user ? "<ULINK TOPIC=\"" : "<LINK TOPIC=\"";
    tag += ToCp1252(cboTopics->currentText());
    if (!anchor.empty()) tag += ":" + anchor;
    tag += "\"";
    if (!Trim(window).empty()) tag += " WINDOW=" + window;
    if (!file.empty()) tag += " FILE=" + file;
    tag += ">" + HotspotText();
    tag += user ? "</ULINK>" : "</LINK>";
    return tag;
}

}  // namespace qm
