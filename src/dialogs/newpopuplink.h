#pragma once
// The popup-link form: `<LINK POPUP="popup"[ FILE=f]>hotspot</LINK>` (ULINK
// with the user-defined look).
#include "dialogs/hotspottag.h"

namespace qm {

inline constexpr int kPopupLinkHelpContext = 155;

class TfrmNewPopupLink : public TfrmHotspotTag {
    Q_OBJECT
public:
    // The popup box lists the project's popups; the first is selected.
    TfrmNewPopupLink(UiServices& ui, const TProject& project, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;

    QComboBox* cboPopups = nullptr;
    QLineEdit* txtFile = nullptr;
    QPushButton* cmdBrowseFile = nullptr;

protected:
    bool okRule() const override { return HotspotFilled(); }
};

}  // namespace qm
