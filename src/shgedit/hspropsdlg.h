#pragma once
// The hotspot properties dialog: the selected hotspot's ID, type, target
// ("binding"), visibility and bounding box. The binding box offers the
// popup names for a popup, the topic names for a jump and nothing for a
// macro; changing the type keeps what was typed in it.
#include <string>

#include "shg/qorshg.h"
#include "util/qorstring.h"
#include "widgets/qmdialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace qm::shgedit {

inline constexpr int kHsPropsHelpContext = 40;
// The range of the four coordinates.
inline constexpr int kMaxCoordinate = 32767;

// What the dialog shows and returns.
struct THotspotFields {
    std::string ID;
    THotspotKind Kind = THotspotKind::Popup;
    std::string Binding;  // context string for Popup and Jump, macro text for Macro
    int Attribute = 0;    // 0 Visible, 1 Invisible
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    // The fields of `h` (Binding by its kind).
    static THotspotFields Of(const THotspot& h);
    bool operator==(const THotspotFields&) const = default;
};

class TfrmHsProps : public QmDialog {
    Q_OBJECT
public:
    // `topics` and `popups` are the hand-off lists the binding box offers.
    TfrmHsProps(UiServices& ui, StringList topics, StringList popups, QWidget* parent = nullptr);

    // Presets every control.
    void SetFields(const THotspotFields& fields);
    // The controls as they stand.
    THotspotFields Fields() const;
    // What OK stored; meaningful only when Accepted().
    const THotspotFields& Result() const { return result_; }

    // The type's label and choices for the binding box; the typed text stays.
    void cboTypeChange();

    QLineEdit* txtID;
    QComboBox* cboType;
    QComboBox* cboAttribute;
    QGroupBox* fraBinding;
    QLabel* lblBinding;
    QComboBox* cboBinding;
    QGroupBox* fraRect;
    QSpinBox* txtLeft;
    QSpinBox* txtTop;
    QSpinBox* txtRight;
    QSpinBox* txtBottom;

protected:
    void store() override { result_ = Fields(); }
    int helpContext() const override { return kHsPropsHelpContext; }

private:
    StringList topics_;
    StringList popups_;
    THotspotFields result_;
};

}  // namespace qm::shgedit
