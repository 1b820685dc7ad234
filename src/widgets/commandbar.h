#pragma once
// A narrow vertical bar of flat picture buttons stacked from the top, with
// separators between groups. Each button carries a tag (a command number),
// a hint and a glyph of an image list; a click reports the tag through one
// signal, so one handler serves all the bar's buttons. The main window has
// three of them, beside the topic list, the popup list and the editor.
//
// Placement is absolute: every button is ButtonWidth x ButtonHeight,
// centred across the bar (left = width / 2 - ButtonWidth / 2), the first at
// TopMargin, each next one ButtonHeight + 1 below the one before, or
// ButtonHeight + 9 below it after a separator. A separator is a grey and a
// white line, ButtonWidth long, 3 and 4 pixels below the button before it.
#include <QFrame>
#include <QString>
#include <vector>

class QToolButton;

namespace qm {

class TImageList;

class TQorCommandBar : public QFrame {
    Q_OBJECT
public:
    explicit TQorCommandBar(QWidget* owner = nullptr);
    // A bar named `name` of square buttons `buttonSize` pixels across.
    TQorCommandBar(const QString& name, int buttonSize, QWidget* owner = nullptr);

    // Set before the first button is added.
    int ButtonWidth = 16;
    int ButtonHeight = 16;
    int TopMargin = 1;
    // Where the glyphs come from; none: buttons without glyphs.
    const TImageList* Images = nullptr;
    // Kept for the window that fills the bar; the bar does not read it.
    int BarSetting = 0;

    // Appends a separator, or a button with `tag`, `hint` ("short|long": the
    // tool tip before "|", the status tip after it) and the glyph
    // `imageIndex` of Images (-1: none). Returns the button; nullptr for a
    // separator. There is no limit on the number of entries.
    QToolButton* AddButton(bool isSeparator, int tag, const QString& hint = {}, int imageIndex = -1);
    // The n-th button, counting from 1 and skipping separators; nullptr
    // when there are fewer.
    QToolButton* GetButton(int n) const;
    // The button whose tag is `tag`; nullptr when none.
    QToolButton* Button(int tag) const;
    // Entries so far, separators included.
    int Count() const { return static_cast<int>(entries_.size()); }
    // The y of the grey line of the separator that is entry `entry`
    // (counting from 1); -1 when that entry is a button or missing.
    int SeparatorY(int entry) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A button was clicked: its tag.
    void OnButtonClick(int tag);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Entry {
        bool IsSeparator = false;
        QToolButton* Button = nullptr;
        int LineY = -1;  // a separator's grey line
    };

    int ButtonLeft() const { return width() / 2 - ButtonWidth / 2; }
    void ButtonClick(QToolButton* button);

    std::vector<Entry> entries_;
    int lastTop_ = 0;              // top of the latest button
    bool haveButton_ = false;      // whether lastTop_ is a button's
    bool afterSeparator_ = false;  // whether the next button follows a separator
    int bottom_ = 0;               // below the lowest entry
};

}  // namespace qm
