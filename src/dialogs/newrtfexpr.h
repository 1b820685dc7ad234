#pragma once
// The raw-RTF form: one `<RTF "line">` per line of the memo, joined by CR LF,
// or one tag with the lines run together.
#include "dialogs/tagform.h"

class QCheckBox;
class QPlainTextEdit;

namespace qm {

inline constexpr int kRtfHelpContext = 170;

class TfrmNewRtfExpr : public TTagForm {
    Q_OBJECT
public:
    explicit TfrmNewRtfExpr(UiServices& ui, QWidget* parent = nullptr);

    void Preset(const TTagPreset& preset) override;
    std::string GetTag() const override;

    QPlainTextEdit* txtRtf = nullptr;
    QCheckBox* chkSingleLine = nullptr;

protected:
    bool okRule() const override;
};

}  // namespace qm
