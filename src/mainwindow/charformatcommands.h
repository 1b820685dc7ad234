#pragma once
// Character and paragraph formatting from the Format menu and the format
// tool bar: the style bits, alignment, bullets, the font dialog, the text
// colour with its menu, the font name and size boxes, case conversion and
// the special-character pane's clicks.
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <optional>

#include "mainwindow/commandhandler.h"
#include "platform/uiservices.h"

class QAction;
class QActionGroup;
class QMenu;
class QToolButton;

namespace qm {

enum class TAlignment;

inline constexpr int kColorTagAutomatic = 98;
inline constexpr int kColorTagCustom = 99;
inline constexpr int kMinFontPoints = 1;
inline constexpr int kMaxFontPoints = 1638;
inline constexpr const char* kMsgFontSizeRange = "Font size must be between 1 and 1638.";

// What a text of the font-size box gives: a size from 1 to 1638 points, or
// the refusal to show (an error for text that is no whole number,
// information for a number out of range).
struct TFontSizeInput {
    std::optional<int> Points;
    MsgKind Kind = MsgKind::Information;
    QString Refusal;
};
TFontSizeInput ReadFontSize(const QString& text);

class TCharFormatCommands : public QObject, public TCommandHandler {
    Q_OBJECT
public:
    explicit TCharFormatCommands(TMainContext& context) : TCommandHandler(context) {}

    // Adds the actions, fills the colour menu and wires the font boxes and
    // the special-character grid.
    void CreateActions(ActionTable& table) override;
    // Case conversion needs a selection; the style, bullet and alignment
    // commands are checked as the selection is formatted; numbering is off.
    void UpdateActions() override;

    QAction* actBold = nullptr;
    QAction* actItalic = nullptr;
    QAction* actUnderline = nullptr;
    QAction* actStrikeout = nullptr;
    QAction* actAlignLeft = nullptr;
    QAction* actAlignCenter = nullptr;
    QAction* actAlignRight = nullptr;
    QAction* actBulletIndent = nullptr;
    QAction* actNumberingIndent = nullptr;
    QAction* actFont = nullptr;
    QAction* actSetTextColor = nullptr;
    QAction* actConvertLower = nullptr;
    QAction* actConvertUpper = nullptr;

    // The text-colour menu and the format bar's button that drops it down.
    // Each item's data is its tag: kColorTagAutomatic, kColorTagCustom or the
    // index of its colour in kNamedColors.
    QMenu* ColorPopMenu = nullptr;
    QToolButton* tbbColors = nullptr;

    void actBoldExecute();
    void actItalicExecute();
    void actUnderlineExecute();
    void actStrikeoutExecute();
    void actAlignLeftExecute();
    void actAlignCenterExecute();
    void actAlignRightExecute();
    void actBulletIndentExecute();
    void actFontExecute();
    void actConvertLowerExecute();
    void actConvertUpperExecute();

    // --- the text colour ---
    // Checks the item of the selection's colour: Automatic for the window
    // text's colour, else the table's colour, else Custom.
    void UpdateColorMenuChecks();
    // Drops the menu down under the colour button (under the caret when the
    // button is not shown).
    void tbbColorsClick();
    // The colour of the item with this tag becomes the selection's; Custom
    // asks for it and changes nothing when cancelled.
    void actSetTextColorExecute(int tag);
    // The menu's item with this tag; null when none.
    QAction* ColorItem(int tag) const;

    // --- the font boxes ---
    // The selection takes the name in the font-name box.
    void cboFontsClick();
    // The selection takes the size in the font-size box; text that is no
    // whole number, or one outside 1 to 1638, is refused with a message and
    // changes nothing.
    void cboFontSizeClick();

    // The selection-change handler's part here: the font boxes show the
    // selection's font, and the special characters are drawn in its face.
    void EditorSelectionChange();
    // The editor bar's case buttons (tags 4 and 5).
    void EditorButtonClick(int tag);
    // A cell of the special-character grid was clicked: its character goes
    // in at the caret.
    void sgSpecCharsClick(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Sets or clears one style bit of every fragment of the selection (of the
    // typing format without one), leaving the other bits as they are.
    void ToggleStyleBit(QAction* action, unsigned bit);
    void SetAlignment(int alignment);
    // The alignment commands' checks: the one of `alignment`.
    void CheckAlignment(TAlignment alignment);
    // Maps the selection's ASCII letters, keeping each fragment's format and
    // the selection, in one undo step.
    void ConvertCase(bool upper);

    QActionGroup* colorGroup_ = nullptr;
};

}  // namespace qm
