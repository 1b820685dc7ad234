#pragma once
// The special-character pane below the editor (pnlSpecChars): a grid
// (sgSpecChars) of the Windows-1252 characters that a keyboard rarely has,
// two rows of 75 cells of 20 x 20 pixels, drawn in the font of the text
// being written. The cell under the mouse is the selected one; a click
// reports the cell, and the main window inserts its character.
#include <QScrollArea>
#include <QString>
#include <QWidget>
#include <array>
#include <string>

namespace qm {

inline constexpr int kSpecCharCount = 150;
inline constexpr int kSpecCharRows = 2;
inline constexpr int kSpecCharCols = 75;
inline constexpr int kSpecCharCell = 20;  // pixels, both ways

// The grid's characters as Windows-1252 bytes; cell (row, col) shows entry
// row * kSpecCharCols + col.
const std::array<unsigned char, kSpecCharCount>& SpecialCharacters();

// What a click on character `c` inserts: the tag language's escapes for "<"
// and ">", the character itself otherwise (Windows-1252 bytes).
std::string SpecCharInsertion(unsigned char c);

class TSpecCharGrid : public QWidget {
    Q_OBJECT
public:
    explicit TSpecCharGrid(QWidget* parent = nullptr);

    // The entry of the cell at `p` (widget coordinates); -1 outside the cells.
    static int CellAt(QPoint p);
    // The cell's rectangle in widget coordinates.
    static QRect CellRect(int index);

    // The selected (hovered) cell's entry.
    int Selected() const { return selected_; }
    // The face the characters are drawn in; the grid repaints only when it
    // changes. False when it was already this face.
    bool SetFontName(const QString& face);
    const QString& FontName() const { return face_; }

    QSize sizeHint() const override;

signals:
    // A cell was clicked: its entry.
    void cellClicked(int index);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int selected_ = 0;
    int pressed_ = -1;
    QString face_;
};

// The pane: the grid in a strip that scrolls sideways when the window is
// narrower than the grid, as high as the grid and, when needed, its bar.
class TSpecCharPane : public QScrollArea {
    Q_OBJECT
public:
    explicit TSpecCharPane(QWidget* parent = nullptr);

    TSpecCharGrid* Grid() const { return grid_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    int HeightFor(int width) const;
    TSpecCharGrid* grid_;
};

}  // namespace qm
