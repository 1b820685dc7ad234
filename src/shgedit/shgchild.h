#pragma once
// The child window of Pikeral's frame: one picture with its hotspots, drawn
// one screen pixel per picture pixel in a scrolling area, where the mouse
// draws, selects, moves and resizes hotspots and the arrow keys nudge them.
//
// Everything is painted in paintEvent from the model: the picture, then each
// hotspot's outline in list order and the selection's eight handles, both
// by inverting the pixels under them (so two outlines over each other cancel
// where they meet, as the help viewer's editor shows them). A change only
// asks to repaint the old and the new rectangle.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <memory>

#include "shg/qorshg.h"

class QMenu;
class QScrollArea;

namespace qm::shgedit {

class TfrmMain;
class TfrmShg;

// The drawing widget: widget points are picture points.
class TShgCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TShgCanvas(TfrmShg& owner, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TfrmShg& owner_;
};

class TfrmShg : public QWidget {
    Q_OBJECT
public:
    // Takes the picture; the window's caption is its file name.
    TfrmShg(TfrmMain& frame, std::unique_ptr<TShg> shg, QWidget* parent = nullptr);
    ~TfrmShg() override;

    TShg& Shg() const { return *shg_; }
    TShgCanvas* Canvas() const { return canvas_; }
    QScrollArea* ScrollArea() const { return scroll_; }
    int PictureWidth() const;
    int PictureHeight() const;

    bool HasSelection() const { return hasSelection_; }
    int SelectedIndex() const { return hasSelection_ ? selectedIndex_ : -1; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    // The mouse drag under way (at most one is set) and the handle being dragged.
    bool Creating() const { return creating_; }
    bool Moving() const { return moving_; }
    bool Resizing() const { return resizing_; }
    int HandleIndex() const { return handleIndex_; }

    // The eight handle squares of a rectangle, numbered as HandleIndex uses
    // them: 0 top, 1 bottom, 2 left, 3 right edge; 4 top-left, 5 top-right,
    // 6 bottom-left, 7 bottom-right corner. Each is 6 x 6 pixels around its
    // centre.
    static std::array<QRect, 8> Handles(const THotspot& h);
    // The first handle of the selection that holds the point; -1 when none
    // (or nothing is selected).
    int HandleAt(int x, int y) const;

    // Makes hotspot `index` the selection; -1 clears it.
    void SelectHotspot(int index);
    // Deletes the selected hotspot; nothing is selected afterwards.
    void DeleteSelected();
    // Appends `h` and selects it.
    void AppendHotspot(const THotspot& h);
    // The picture was replaced: new size, new pixels.
    void PictureReplaced();
    // Brings every hotspot inside the picture, each axis on its own: one
    // wider than the picture spans it, one that starts at or beyond its edge
    // moves in keeping its width, one that ends beyond it is cut there.
    void ClampHotspots();

    // The hotspot properties dialog on the selection.
    void EditHotspotProperties();
    // Whether the window may close: asks to save a modified picture.
    bool QuerySave();

    // --- the events, in picture points (the canvas calls these) ---
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp(Qt::MouseButton button, int x, int y);
    void FormDblClick();
    // True when the key was used.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormPaint(QPainter& painter, const QRect& exposed);

    // The context menu: Cut, Copy, Paste, Delete, Hotspot Properties (default).
    QMenu* PopMenu = nullptr;

signals:
    // The selection, the hotspots or the Modified flag changed.
    void stateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    THotspot& Item(int index) const { return shg_->Hotspots.GetItem(index); }
    // Stores a new rectangle for hotspot `index` and repaints old and new.
    void SetRect(int index, int left, int top, int right, int bottom);
    void UpdateHotspotArea(int left, int top, int right, int bottom);
    void UpdateSelectionArea();
    void UpdateCursor(int x, int y);

    TfrmMain& frame_;
    std::unique_ptr<TShg> shg_;
    QImage picture_;
    QScrollArea* scroll_ = nullptr;
    TShgCanvas* canvas_ = nullptr;

    QPoint dragOrigin_;
    bool creating_ = false;
    bool moving_ = false;
    bool resizing_ = false;
    int handleIndex_ = 0;
    int creatingIndex_ = -1;
    bool hasSelection_ = false;
    int selectedIndex_ = -1;
    bool modified_ = false;
};

}  // namespace qm::shgedit
