#pragma once
// The style box of the format tool bar. TStyleCombo takes over an existing
// combo box (cboStyles): its drop-down list shows each style 40 pixels high
// in the style's own font (at most 16 points), with its size, alignment and
// kind; the closed box shows the kind's glyph and the name. Item i is style
// i + 1 of the list it was filled from; the box keeps what it draws in its
// items, so no style list has to outlive a fill. The owner of the box frees
// it; the box draws plain items again once it is gone.
#include <QComboBox>
#include <QObject>
#include <QPointer>

namespace qm {

class TStyles;

// The drop-down list's items are this high.
inline constexpr int kStyleItemHeight = 40;
// Room beside the widest name: the margins, the size and the two glyphs.
inline constexpr int kStyleListExtra = 95;
// The largest size a name is drawn at in the list.
inline constexpr int kStyleListMaxPoints = 16;

// What each item of the box keeps of its style.
enum TStyleItemRole {
    StyleFontRole = Qt::UserRole + 1,  // QFont: the style's font at the size the list draws it
    StyleColorRole,                    // QColor
    StyleSizeRole,                     // int: the stored size in points
    StyleTypeRole,                     // int: 0 character, 1 paragraph
    StyleAlignmentRole,                // int: 0 left, 1 right, 2 centre
};

class TStyleCombo : public QObject {
    Q_OBJECT
public:
    explicit TStyleCombo(QComboBox* box);
    ~TStyleCombo() override;

    // Clears the box and adds every style, in order; then adjusts the
    // drop-down width.
    void FillList(const TStyles& styles);
    QComboBox* Box() const { return box_; }

    // The widest name in its style's font (at most 16 points) + 95; 95 with
    // no styles.
    int DropDownWidth() const;
    // Makes the drop-down list at least DropDownWidth() wide.
    void AdjustDropDownWidth();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void paintClosedBox();

    QPointer<QComboBox> box_;
    QPointer<QWidget> popup_;
    QPointer<QObject> delegate_;
};

}  // namespace qm
