#pragma once
// The "Paragraph" dialog: alignment, indents, spacing and tab stops of the
// editor's paragraph, or, without its tab page, the paragraph part of a
// style. Values enter and leave in screen pixels; the dialog shows them in
// pixels, inches or centimetres (SetScaleMode, before the Set methods). Made,
// preset and run by TDialogFactory::RunParagraph.
//
// What the dialog cannot show survives OK: it shows justified text as
// "Right" and line-spacing rules other than single and exactly as
// "Exactly", but unless the user changes the alignment box, or the rule box
// or the spacing, the paragraph's own alignment, rule and spacing are read
// back.
#include <optional>
#include <vector>

#include <QString>

#include "widgets/qmdialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace qm {

class ListEditor;
class TQorSpinEdit;

inline constexpr int kParagraphIndentsHelpContext = 190;
inline constexpr int kParagraphTabsHelpContext = 195;
// The editor keeps at most this many tab stops a paragraph.
inline constexpr int kParagraphMaxTabs = 32;

inline constexpr const char* kMsgTabAlreadyAdded = "This tab stop value has already been added to the list.";
inline constexpr const char* kMsgTooManyTabs = "A paragraph can have at most 32 tab stops.";
inline constexpr const char* kMsgTabNotWhole = "Tab stops are whole numbers of pixels.";

// Pixels in a unit (0 pixels, 2 centimetres, anything else inches) at `ppi`
// pixels per inch, and back: pixels truncate toward zero, inches and
// centimetres round to the nearest pixel, a tie to the even one.
double PixelsToUnit(int pixels, int scaleMode, int ppi);
int UnitToPixels(double value, int scaleMode, int ppi);

// A paragraph's format as the dialog takes and gives it, in pixels.
struct TParagraphFormat {
    int StartIndent = 0;  // the first line
    int Offset = 0;       // the following lines from the first; negative: the first line further in
    int RightIndent = 0;
    int Alignment = 0;  // 0 left, 1 right, 2 centre (3 justified: kept unless changed)
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    int LineSpacingRule = 0;  // 0 single, 4 exactly (others kept unless changed)
    int LineSpacing = 0;
    std::vector<int> Tabs;  // ascending
    bool operator==(const TParagraphFormat&) const = default;
};

// What the paragraph dialog is run for.
struct TParagraphRequest {
    TParagraphFormat Format;
    // The unit shown (the ruler's); unset: pixels without limits.
    std::optional<int> ScaleMode;
    // False for a style's paragraph: no tab page.
    bool ShowTabs = true;
};

class TfrmParagraph : public QmDialog {
    Q_OBJECT
public:
    // Works at the screen's pixels per inch (qm::Screen()).
    explicit TfrmParagraph(UiServices& ui, QWidget* parent = nullptr);

    // 0 pixels (up to 1024, steps of 1), 2 centimetres (up to 25), anything
    // else inches (up to 10); steps of 0.1 in both. Unset: pixels without
    // limits.
    void SetScaleMode(int mode);
    int GetScaleMode() const { return scaleMode_; }
    void SetParaAttributes(int startIndent, int offset, int alignment, int rightIndent);
    void SetSpacingAttributes(int spaceBefore, int spaceAfter, int lineSpacingRule, int lineSpacing);
    // The stops in their order, as whole pixels.
    void SetTabsAttributes(const std::vector<int>& tabs);
    // For a style: no "Tab Stops" page.
    void HideTabsPage();

    // Read back in pixels.
    int Alignment() const;
    int StartIndent() const;
    int Offset() const;
    int RightIndent() const;
    int SpaceBefore() const;
    int SpaceAfter() const;
    int LineSpacing() const;
    int LineSpacingRule() const;
    std::vector<int> Tabs() const;
    TParagraphFormat Format() const;

    // The tab page's buttons.
    void cmdAddClick();
    void cmdRemoveClick();
    void cmdRemoveAllClick();

    QTabWidget* tbsParagraph = nullptr;
    QWidget* tsIndentation = nullptr;
    QWidget* tsTabs = nullptr;
    QComboBox* cboAlignment = nullptr;
    TQorSpinEdit* seLeft = nullptr;
    TQorSpinEdit* seRight = nullptr;
    TQorSpinEdit* seFirst = nullptr;
    QComboBox* cboFirstLine = nullptr;
    TQorSpinEdit* seBefore = nullptr;
    TQorSpinEdit* seAfter = nullptr;
    TQorSpinEdit* seSpacing = nullptr;
    QComboBox* cboLineSpacingRule = nullptr;
    QLabel* lblScale[6] = {};
    QLineEdit* txtTabs = nullptr;
    QListWidget* lstTabs = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdRemoveAll = nullptr;

protected:
    void updateEnabling() override;
    int helpContext() const override;

private:
    double toUnit(int pixels) const;
    int toPixels(double value) const;
    void pageChanged(int page);
    void firstLineChanged();
    void lineSpacingRuleChanged();

    int scaleMode_ = 0;
    int ppi_;
    ListEditor* tabs_ = nullptr;
    // The paragraph's own values, read back until the user changes them.
    std::optional<int> keptAlignment_;
    std::optional<int> keptRule_;
    std::optional<int> keptSpacing_;
};

}  // namespace qm
