#include "dialogs/newvideo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewVideo::TfrmNewVideo(UiServices& ui, QWidget* parent)
    : TTagForm(ui, QStringLiteral("frmNewVideo"), QStringLiteral("Video Tag Editor"), kVideoHelpContext, parent) {
    txtVideoFile = MakeEdit(QStringLiteral("txtVideoFile"));
    cmdBrowse = MakeBrowseButton(QStringLiteral("cmdBrowse"));
    auto box = [this](const QString& name, const QString& caption) {
        auto* check = new QCheckBox(caption, this);
        check->setObjectName(name);
        return check;
    };
    chkExternal = box(QStringLiteral("chkExternal"), QStringLiteral("&External"));
    chkAutoPlay = box(QStringLiteral("chkAutoPlay"), QStringLiteral("&Auto play"));
    chkRepeat = box(QStringLiteral("chkRepeat"), QStringLiteral("&Repeat"));
    chkMenu = box(QStringLiteral("chkMenu"), QStringLiteral("&Menu"));
    chkPlayBar = box(QStringLiteral("chkPlayBar"), QStringLiteral("&Play bar"));
    grid_->addWidget(MakeLabel(QStringLiteral("&Video file"), txtVideoFile), 0, 0);
    grid_->addWidget(txtVideoFile, 0, 1);
    grid_->addWidget(cmdBrowse, 0, 2);
    auto* boxes = new QVBoxLayout;
    for (QCheckBox* c : {chkExternal, chkAutoPlay, chkRepeat, chkMenu, chkPlayBar}) boxes->addWidget(c);
    grid_->addLayout(boxes, 1, 1);
    ChainTabOrder(
        {txtVideoFile, cmdBrowse, chkExternal, chkAutoPlay, chkRepeat, chkMenu, chkPlayBar, cmdOk, cmdCancel, cmdHelp});

    connect(cmdBrowse, &QPushButton::clicked, this, guarded(Ui(), [this] {
                BrowseFile(txtVideoFile, QStringLiteral("Open"), QStringLiteral("Video files (*.avi)|*.avi"),
                           QStringLiteral("avi"));
            }));
    Watch(txtVideoFile);
}

void TfrmNewVideo::Preset(const TTagPreset& preset) {
    txtVideoFile->setText(FromCp1252(preset.MediaFile));
    chkExternal->setChecked(preset.External);
    chkAutoPlay->setChecked(preset.AutoPlay);
    chkRepeat->setChecked(preset.Repeat);
    chkMenu->setChecked(preset.Menu);
    chkPlayBar->setChecked(preset.PlayBar);
}

bool TfrmNewVideo::okRule() const { return !Trim(ToCp1252(txtVideoFile->text())).empty(); }

std::string TfrmNewVideo::GetTag() const {
    std::string tag = "<VIDEO ";
    if (chkExternal->isChecked()) tag += "External ";
    if (chkAutoPlay->isChecked()) tag += "Play ";
    if (chkRepeat->isChecked()) tag += "Repeat ";
    if (chkMenu->isChecked()) tag += "Menu ";
    if (chkPlayBar->isChecked()) tag += "Playbar ";
    return tag + "\"" + ToCp1252(txtVideoFile->text()) + "\">";
}

}  // namespace qm
