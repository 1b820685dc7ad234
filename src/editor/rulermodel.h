#pragma once
// The paragraph ruler's state and rules, apart from the toolkit: the marker
// positions, the scale's steps, the hit test, the snap, and the drag from
// press to release. The widget (editor/ruler.h) feeds it mouse positions,
// raises the events it returns, in their order, and paints what it holds.
//
// All positions are pixels of the ruler. The indents count from the scale's
// zero (LeftMargin); the right indent from the scale's right end
// (Width - RightMargin).
#include <vector>

namespace qm {

enum class TRulerMarker { None = 0, FollowingLines = 1, FirstLine = 2, RightIndent = 3 };

// The scale's ticks and the grid a dragged marker snaps to.
struct TRulerSteps {
    int Major = 0;
    int Minor = 0;
    int Snap = 0;
    bool operator==(const TRulerSteps&) const = default;
};

// Mode 0 pixels, 2 centimetres, anything else inches; `ppi` the screen's
// pixels per inch.
TRulerSteps RulerSteps(int scaleMode, int ppi);

// What a mouse step raises, in order: a marker moved to `X` (the drag's
// previous report was `Previous`, -1 at the start of a drag), or the drag
// ended (Change).
struct TRulerEvent {
    enum Kind { MarkerMove, Change };
    Kind kind = MarkerMove;
    int X = 0;
    int Previous = 0;
    bool operator==(const TRulerEvent&) const = default;
};

// The height the ruler's rows are laid out for: the following-lines
// marker's lower part (y > 25) drags both left markers.
inline constexpr int kRulerHeight = 33;

class TRulerModel {
public:
    // Indent of the following lines from the scale's zero (StartIndent + offset).
    int HangPos = 0;
    // Indent of the first line from the scale's zero.
    int StartIndent = 0;
    // Distance of the right-indent marker from the scale's right end.
    int RightIndent = 0;
    // x of the scale's zero, and the width kept free at the right end.
    int LeftMargin = 10;
    int RightMargin = 10;
    int ScaleMode = 0;
    int PixelsPerInch = 96;
    // The ruler's size.
    int Width = 0;
    int Height = kRulerHeight;
    // The last x a drag reported; -1 at the start of a drag.
    int LastPosition = 0;

    // start: the first line's indent; offset: the following lines' from it.
    void SetIndents(int start, int offset, int right);
    int GetLeftIndent() const { return StartIndent; }
    int GetFirstIndent() const { return HangPos - StartIndent; }
    int GetRightIndent() const { return RightIndent; }

    int MarkerX(TRulerMarker marker) const;
    TRulerSteps Steps() const { return RulerSteps(ScaleMode, PixelsPerInch); }
    // The marker at (x, y), in the order following lines, first line, right indent.
    TRulerMarker HitTest(int x, int y) const;
    // Where a marker dragged to x lands: on the scale, at the first grid
    // point past x.
    int Snap(int x) const;

    bool Dragging() const { return dragMarker_ != TRulerMarker::None; }
    bool MoveBoth() const { return moveBoth_; }
    TRulerMarker DragMarker() const { return dragMarker_; }

    // A left press at (x, y): starts a drag when it hits a marker.
    std::vector<TRulerEvent> MouseDown(int x, int y);
    // The mouse at x during a drag: moves the dragged marker.
    std::vector<TRulerEvent> MouseMove(int x);
    // The left release, or the mouse lost to the ruler: the drag ends.
    std::vector<TRulerEvent> MouseUp();

private:
    TRulerMarker dragMarker_ = TRulerMarker::None;
    bool moveBoth_ = false;
};

}  // namespace qm
