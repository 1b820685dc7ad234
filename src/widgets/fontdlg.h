#pragma once
// The program's font dialog, "dlgFont": face, size, effects and a colour
// from the 16 named ones. The toolkit's font dialog has no colour; the
// program installs this one as the UI services' font dialog
// (QtUiServices::SetFontDialog), so every ChooseFont shows it.
#include <optional>

#include "platform/uiservices.h"
#include "widgets/qmdialog.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;

namespace qm {

class TColorCombo;

class TdlgFont : public QmDialog {
    Q_OBJECT
public:
    explicit TdlgFont(UiServices& ui, QWidget* parent = nullptr);

    void SetChoice(const FontChoice& choice);
    // The choice as OK stored it.
    const FontChoice& Choice() const { return choice_; }

    QFontComboBox* cboFontName = nullptr;
    QComboBox* cboFontSize = nullptr;
    QCheckBox* chkBold = nullptr;
    QCheckBox* chkItalic = nullptr;
    QCheckBox* chkUnderline = nullptr;
    QCheckBox* chkStrikeout = nullptr;
    TColorCombo* cboColor = nullptr;
    QLabel* lblSample = nullptr;

protected:
    bool validate() override;
    void store() override;

private:
    QFont currentFont() const;
    QColor currentColor() const;
    void updateSample();
    FontChoice choice_;
};

// Runs the font dialog through `ui` (so tests answer "dlgFont"); the choice
// when accepted, else nullopt. A colour the named ones lack is kept unless
// the user picks another.
std::optional<FontChoice> RunFontDialog(UiServices& ui, const FontChoice& initial);

}  // namespace qm
