#pragma once
// The video form: `<VIDEO [External ][Play ][Repeat ][Menu ][Playbar ]"file">`.
#include "dialogs/tagform.h"

class QCheckBox;

namespace qm {

inline constexpr int kVideoHelpContext = 185;

class TfrmNewVideo : public TTagForm {
    Q_OBJECT
public:
    explicit TfrmNewVideo(UiServices& ui, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;

    QLineEdit* txtVideoFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chkExternal = nullptr;
    QCheckBox* chkAutoPlay = nullptr;
    QCheckBox* chkRepeat = nullptr;
    QCheckBox* chkMenu = nullptr;
    QCheckBox* chkPlayBar = nullptr;

protected:
    bool okRule() const override;
};

}  // namespace qm
