#pragma once
// The macro-hotspot form: `<MACRO macro>hotspot</MACRO>` (UMACRO with the
// user-defined look).
#include "dialogs/hotspottag.h"

namespace qm {

class TDialogFactory;
class TMacros;

inline constexpr int kMacroTagHelpContext = 160;

class TfrmNewMacroTag : public TfrmHotspotTag {
    Q_OBJECT
public:
    // `factory` and `macros` serve the macro builder behind cmdBrowseMacro;
    // the project, the image browser.
    TfrmNewMacroTag(TDialogFactory& factory, const TMacros& macros, const TProject& project, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;

    QLineEdit* txtMacro = nullptr;
    QPushButton* cmdBrowseMacro = nullptr;

protected:
    bool okRule() const override;

private:
    TDialogFactory& factory_;
    const TMacros& macros_;
};

}  // namespace qm
