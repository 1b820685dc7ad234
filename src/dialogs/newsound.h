#pragma once
// The sound form: `<SOUND[ External] "file">`.
#include "dialogs/tagform.h"

class QCheckBox;

namespace qm {

inline constexpr int kSoundHelpContext = 180;

class TfrmNewSound : public TTagForm {
    Q_OBJECT
public:
    explicit TfrmNewSound(UiServices& ui, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;

    QLineEdit* txtSoundFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chkExternal = nullptr;

protected:
    bool okRule() const override;
};

}  // namespace qm
