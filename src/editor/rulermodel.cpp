#include "editor/rulermodel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qm {

namespace {

// The nearest integer, a tie going to the even one.
int RoundHalfEven(double v) {
    const double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5) return static_cast<int>(2.0 * std::round(v / 2.0));
    return static_cast<int>(r);
}

// The markers sit 35 pixels apart at the least.
constexpr int kMarkerGap = 35;
// Half the width a marker answers to.
constexpr int kHitHalfWidth = 4;
// Below this row the following-lines marker drags both left markers.
constexpr int kMoveBothRow = 25;

}  // namespace

TRulerSteps RulerSteps(int scaleMode, int ppi) {
    if (ppi <= 0) ppi = 96;
    if (scaleMode == 0) return {20, 10, 10};
    if (scaleMode == 2) {
        const int cm = std::max(RoundHalfEven(ppi / 2.54), 2);
        return {cm, cm / 2, cm / 2};
    }
    return {ppi, std::max(ppi / 8, 1), std::max(ppi / 8, 1)};
}

void TRulerModel::SetIndents(int start, int offset, int right) {
    HangPos = start + offset;
    StartIndent = start;
    RightIndent = right;
}

int TRulerModel::MarkerX(TRulerMarker marker) const {
    switch (marker) {
        case TRulerMarker::FollowingLines: return LeftMargin + HangPos;
        case TRulerMarker::FirstLine: return LeftMargin + StartIndent;
        case TRulerMarker::RightIndent: return Width - RightMargin - RightIndent;
        case TRulerMarker::None: break;
    }
    return -1;
}

TRulerMarker TRulerModel::HitTest(int x, int y) const {
    const int mid = Height / 2;
    auto near = [&](TRulerMarker m) { return std::abs(x - MarkerX(m)) <= kHitHalfWidth; };
    if (near(TRulerMarker::FollowingLines) && y >= mid + 3) return TRulerMarker::FollowingLines;
    if (near(TRulerMarker::FirstLine) && y <= mid - 3) return TRulerMarker::FirstLine;
    if (near(TRulerMarker::RightIndent) && y >= mid - 3) return TRulerMarker::RightIndent;
    return TRulerMarker::None;
}

int TRulerModel::Snap(int x) const {
    const int right = Width - RightMargin;
    if (x < LeftMargin) return LeftMargin;
    if (x > right) return right;
    const int step = std::max(Steps().Snap, 1);
    // The first grid point past x (a point on a grid line goes to the next),
    // never past the scale's end.
    const int k = (x - LeftMargin) / step + 1;
    return std::min(LeftMargin + k * step, right);
}

std::vector<TRulerEvent> TRulerModel::MouseDown(int x, int y) {
    if (Dragging()) return {};
    const TRulerMarker hit = HitTest(x, y);
    if (hit == TRulerMarker::None) return {};
    dragMarker_ = hit;
    moveBoth_ = hit == TRulerMarker::FollowingLines && y > kMoveBothRow;
    LastPosition = -1;
    const int at = MarkerX(hit);
    std::vector<TRulerEvent> events{{TRulerEvent::MarkerMove, at, LastPosition}};
    LastPosition = at;
    return events;
}

std::vector<TRulerEvent> TRulerModel::MouseMove(int x) {
    if (!Dragging()) return {};
    const int right = Width - RightMargin;
    int position = Snap(x);
    switch (dragMarker_) {
        case TRulerMarker::RightIndent:
            position = std::max(position, LeftMargin + HangPos + kMarkerGap);
            RightIndent = std::max(right - position, 0);
            break;
        case TRulerMarker::FirstLine: StartIndent = position - LeftMargin; break;
        case TRulerMarker::FollowingLines:
            position = std::min(position, right - RightIndent - kMarkerGap);
            if (!moveBoth_) {
                HangPos = position - LeftMargin;
            } else {
                const int d = HangPos - StartIndent;
                if (right < position - d) position = right - std::abs(d);
                if (position - d - LeftMargin > 0) {
                    HangPos = position - LeftMargin;
                    StartIndent = position - LeftMargin - d;
                } else {
                    StartIndent = 0;
                    HangPos = d;
                }
            }
            break;
        case TRulerMarker::None: return {};
    }
    const int at = MarkerX(dragMarker_);
    std::vector<TRulerEvent> events{{TRulerEvent::MarkerMove, at, LastPosition}};
    LastPosition = at;
    return events;
}

std::vector<TRulerEvent> TRulerModel::MouseUp() {
    std::vector<TRulerEvent> events;
    if (Dragging()) {
        const int previous = LastPosition;
        LastPosition = MarkerX(dragMarker_);
        events.push_back({TRulerEvent::Change, LastPosition, previous});
    }
    dragMarker_ = TRulerMarker::None;
    moveBoth_ = false;
    return events;
}

}  // namespace qm
