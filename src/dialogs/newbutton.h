#pragma once
// The button form: `<BTN macro>caption</BTN>`.
#include "dialogs/tagform.h"

namespace qm {

class TDialogFactory;
class TMacros;

inline constexpr int kButtonHelpContext = 165;

class TfrmNewButton : public TTagForm {
    Q_OBJECT
public:
    // `factory` and `macros` serve the macro builder behind cmdBrowseMacro.
    TfrmNewButton(TDialogFactory& factory, const TMacros& macros, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;

    QLineEdit* txtCaption = nullptr;
    QLineEdit* txtMacro = nullptr;
    QPushButton* cmdBrowseMacro = nullptr;

protected:
    bool okRule() const override;

private:
    TDialogFactory& factory_;
    const TMacros& macros_;
};

}  // namespace qm
