#pragma once
// "Style Properties": one style's name, type, font and paragraph format.
// Works on a copy of the style that the caller gives and reads back after
// OK; the list of styles is only read, for the name check. Made, preset and
// run by TDialogFactory::RunStyleProperties.
#include <string>

#include "model/styles.h"
#include "widgets/qmdialog.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace qm {

class TDialogFactory;

inline constexpr int kStylePropertiesHelpContext = 460;
inline constexpr const char* kMsgStyleNameUsed = ": this style name is already used.";
inline constexpr const char* kMsgStyleNameSpaces = "Spaces are not allowed in styles names.";

class TfrmStyleProperties : public QmDialog {
    Q_OBJECT
public:
    // `styles` is the list the style belongs to (read for the name check);
    // `factory` runs the font and paragraph dialogs.
    TfrmStyleProperties(TDialogFactory& factory, const TStyles& styles, QWidget* parent = nullptr);

    // The style to edit, its 1-based index in the list (-1: a new style) and
    // the name to show; the type box follows the style.
    void Preset(const TStyle& style, int editIndex, const std::string& name);
    // The style as edited; its name is set by OK.
    const TStyle& Style() const { return style_; }

    // The format menu's commands.
    void mnuFormatPopFontClick();
    void mnuFormatPopParagraphClick();

    QLineEdit* txtStyleName = nullptr;
    QComboBox* cboStyleType = nullptr;
    QLabel* pbSample = nullptr;
    QLabel* pbDescription = nullptr;
    QPushButton* cmdFormat = nullptr;
    QMenu* FormatPopup = nullptr;
    QAction* mnuFormatPopFont = nullptr;
    QAction* mnuFormatPopParagraph = nullptr;

protected:
    bool validate() override;
    void store() override;
    void updateEnabling() override;
    int helpContext() const override { return kStylePropertiesHelpContext; }

private:
    void typeChanged();
    void showStyle();

    TDialogFactory& factory_;
    const TStyles& styles_;
    TStyle style_;
    int editIndex_ = -1;
    std::string name_;
};

}  // namespace qm
