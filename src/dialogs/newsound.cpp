#include "dialogs/newsound.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qtcp1252.h"
#include "util/qorstring.h"
#include "widgets/commandguard.h"

namespace qm {

TfrmNewSound::TfrmNewSound(UiServices& ui, QWidget* parent)
    : TTagForm(ui, QStringLiteral("frmNewSound"), QStringLiteral("Sound Tag Editor"), kSoundHelpContext, parent) {
    txtSoundFile = MakeEdit(QStringLiteral("txtSoundFile"));
    cmdBrowse = MakeBrowseButton(QStringLiteral("cmdBrowse"));
    chkExternal = new QCheckBox(QStringLiteral("&External"), this);
    chkExternal->setObjectName(QStringLiteral("chkExternal"));
    grid_->addWidget(MakeLabel(QStringLiteral("&Sound file"), txtSoundFile), 0, 0);
    grid_->addWidget(txtSoundFile, 0, 1);
    grid_->addWidget(cmdBrowse, 0, 2);
    grid_->addWidget(chkExternal, 1, 1);
    ChainTabOrder({txtSoundFile, cmdBrowse, chkExternal, cmdOk, cmdCancel, cmdHelp});

    connect(cmdBrowse, &QPushButton::clicked, this, guarded(Ui(), [this] {
                BrowseFile(txtSoundFile, QStringLiteral("Open"), QStringLiteral("Audio files (*.wav)|*.wav"),
                           QStringLiteral("wav"));
            }));
    Watch(txtSoundFile);
}

void TfrmNewSound::Preset(const TTagPreset& preset) {
    txtSoundFile->setText(FromCp1252(preset.MediaFile));
    chkExternal->setChecked(preset.External);
}

bool TfrmNewSound::okRule() const { return !Trim(ToCp1252(txtSoundFile->text())).empty(); }

std::string TfrmNewSound::GetTag() const {
    return std::string("<SOUND") + (chkExternal->isChecked() ? " External" : "") + " \"" +
           ToCp1252(txtSoundFile->text()) + "\">";
}

}  // namespace qm
