// The ruler's rules without a display: the scale's steps, the marker
// places and the hit test, the snap, the drags and their limits, and the
// events a drag raises, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/rulermodel.h"

namespace qm {
namespace {

// The main window's ruler: 500 wide, zero at 31, 10 kept free at the right.
TRulerModel MainRuler(int start = 0, int offset = 0, int right = 10) {
    TRulerModel m;
    m.Width = 500;
    m.Height = kRulerHeight;
    m.LeftMargin = 31;
    m.RightMargin = 10;
    m.SetIndents(start, offset, right);
    return m;
}

std::string Describe(const std::vector<TRulerEvent>& events) {
    std::string s;
    for (const TRulerEvent& e : events) {
        if (!s.empty()) s += " ";
        s += e.kind == TRulerEvent::MarkerMove ? "move(" + std::to_string(e.X) + "," + std::to_string(e.Previous) + ")"
                                               : "change(" + std::to_string(e.X) + ")";
    }
    return s;
}

TEST(RulerSteps, FollowTheModeAndTheScreen) {
    struct Row {
        const char* name;
        int mode;
        int ppi;
        TRulerSteps expected;
    };
    for (const Row& row : {
             Row{"pixels", 0, 96, {20, 10, 10}},
             Row{"inches at 96", 1, 96, {96, 12, 12}},
             Row{"centimetres at 96: round(37.8) = 38", 2, 96, {38, 19, 19}},
             Row{"pixels ignore the screen", 0, 120, {20, 10, 10}},
             Row{"inches at 120", 1, 120, {120, 15, 15}},
             Row{"centimetres at 120: round(47.24) = 47", 2, 120, {47, 23, 23}},
             Row{"another mode counts as inches", 7, 96, {96, 12, 12}},
         }) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(RulerSteps(row.mode, row.ppi), row.expected);
    }
}

TEST(RulerModel, GettersFollowTheIndents) {
    // A hanging indent: first line at 20, the others 30 further in.
    const TRulerModel m = MainRuler(20, 30, 15);
    EXPECT_EQ(m.HangPos, 50);
    EXPECT_EQ(m.GetLeftIndent(), 20);   // the first line
    EXPECT_EQ(m.GetFirstIndent(), 30);  // the offset
    EXPECT_EQ(m.GetRightIndent(), 15);
    EXPECT_EQ(m.MarkerX(TRulerMarker::FirstLine), 51);
    EXPECT_EQ(m.MarkerX(TRulerMarker::FollowingLines), 81);
    EXPECT_EQ(m.MarkerX(TRulerMarker::RightIndent), 475);
}

TEST(RulerModel, HitTestFindsEachMarkerInItsRows) {
    struct Row {
        const char* name;
        int start, offset;
        int x, y;
        TRulerMarker expected;
    };
    // mid = 16: the first-line marker answers at y <= 13, the lower ones at
    // y >= 19 (right: y >= 13); the right marker stands at 500 - 10 - 10.
    for (const Row& row : {
             Row{"first line, above the strip", 20, 30, 51, 8, TRulerMarker::FirstLine},
             Row{"first line, 4 to the right", 20, 30, 55, 13, TRulerMarker::FirstLine},
             Row{"5 to the right is outside", 20, 30, 56, 8, TRulerMarker::None},
             Row{"first line's column, on the strip", 20, 30, 51, 16, TRulerMarker::None},
             Row{"following lines, below the strip", 20, 30, 81, 20, TRulerMarker::FollowingLines},
             Row{"following lines, 4 to the left", 20, 30, 77, 30, TRulerMarker::FollowingLines},
             Row{"right indent, on the strip's lower half", 20, 30, 480, 13, TRulerMarker::RightIndent},
             Row{"right indent, below", 20, 30, 476, 28, TRulerMarker::RightIndent},
             Row{"right indent's column, high up", 20, 30, 480, 12, TRulerMarker::None},
             Row{"both left markers on one spot: the lower one wins below", 0, 0, 31, 25, TRulerMarker::FollowingLines},
             Row{"both left markers on one spot: the upper one above", 0, 0, 31, 5, TRulerMarker::FirstLine},
         }) {
        SCOPED_TRACE(row.name);
        const TRulerModel m = MainRuler(row.start, row.offset);
        EXPECT_EQ(m.HitTest(row.x, row.y), row.expected);
    }
}

TEST(RulerModel, SnapGoesToTheNextGridPointOnTheScale) {
    struct Row {
        const char* name;
        int mode;
        int x;
        int expected;
    };
    for (const Row& row : {
             Row{"left of the zero", 0, 5, 31},
             Row{"on the zero goes to the first point", 0, 31, 41},
             Row{"between points", 0, 36, 41},
             Row{"on a grid line goes to the next", 0, 41, 51},
             Row{"past the end", 0, 600, 490},
             Row{"the last point past the end stays on the scale", 0, 485, 490},
             Row{"inches: eighths of 96", 1, 40, 43},
             Row{"centimetres: halves of 38", 2, 40, 50},
         }) {
        SCOPED_TRACE(row.name);
        TRulerModel m = MainRuler();
        m.ScaleMode = row.mode;
        EXPECT_EQ(m.Snap(row.x), row.expected);
    }
}

// One drag: press on a marker, move to each x, release.
struct Drag {
    const char* name;
    int start, offset, right;  // the indents before
    int pressX, pressY;
    std::vector<int> moves;
    int startAfter, offsetAfter, rightAfter;
};

TEST(RulerModel, DragsSetTheIndentsWithinTheirLimits) {
    for (const Drag& d : {
             // The first-line marker has no limit against the others.
             Drag{"first line to 36 sets 10", 0, 0, 10, 31, 8, {36}, 10, -10, 10},
             Drag{"first line to 41 (a grid line) sets 20", 0, 0, 10, 31, 8, {41}, 20, -20, 10},
             Drag{"first line past the right marker", 0, 0, 10, 31, 8, {470}, 440, -440, 10},
             // The following-lines marker alone keeps 35 from the right marker.
             Drag{"following lines alone", 0, 0, 10, 31, 20, {61}, 0, 40, 10},
             Drag{"following lines stop 35 before the right marker", 0, 0, 10, 31, 20, {480}, 0, 414, 10},
             // The right marker keeps 35 from the following-lines marker.
             Drag{"right marker inward", 0, 0, 10, 480, 22, {440}, 0, 0, 49},
             Drag{"right marker stops 35 after the following lines", 0, 100, 10, 480, 22, {100}, 0, 100, 324},
             // Fault 6: snapping past the scale's end gave x 491 and a right indent of -1.
             Drag{"right marker to the end: indent 0, never -1", 0, 0, 10, 480, 22, {485}, 0, 0, 0},
             Drag{"right marker far past the end", 0, 0, 10, 480, 22, {900}, 0, 0, 0},
             Drag{"first line never past the end", 0, 0, 10, 31, 8, {495}, 459, -459, 10},
             // The lower part (y > 25) of the following-lines marker drags both.
             Drag{"both left markers move together", 0, 20, 10, 51, 28, {91}, 50, 20, 10},
             Drag{"both dragged left keep their distance", 0, 20, 10, 51, 28, {0}, 0, 20, 10},
             Drag{"both: a first line further in stays in", 40, -20, 10, 51, 28, {0}, 20, -20, 10},
             Drag{"the upper part moves the following lines alone", 0, 20, 10, 51, 24, {91}, 0, 70, 10},
         }) {
        SCOPED_TRACE(d.name);
        TRulerModel m = MainRuler(d.start, d.offset, d.right);
        ASSERT_FALSE(m.MouseDown(d.pressX, d.pressY).empty());
        for (int x : d.moves) m.MouseMove(x);
        m.MouseUp();
        EXPECT_FALSE(m.Dragging());
        EXPECT_FALSE(m.MoveBoth());
        EXPECT_EQ(m.GetLeftIndent(), d.startAfter);
        EXPECT_EQ(m.GetFirstIndent(), d.offsetAfter);
        EXPECT_EQ(m.GetRightIndent(), d.rightAfter);
        EXPECT_GE(m.GetRightIndent(), 0);
        EXPECT_LE(m.MarkerX(TRulerMarker::FirstLine), m.Width - m.RightMargin);
    }
}

TEST(RulerModel, ADragRaisesItsEventsInOrder) {
    TRulerModel m = MainRuler();
    // The press reports the marker's place; the drag's previous report is -1.
    EXPECT_EQ(Describe(m.MouseDown(31, 8)), "move(31,-1)");
    EXPECT_TRUE(m.Dragging());
    EXPECT_EQ(m.DragMarker(), TRulerMarker::FirstLine);
    EXPECT_EQ(m.LastPosition, 31);
    EXPECT_EQ(Describe(m.MouseMove(36)), "move(41,31)");
    EXPECT_EQ(Describe(m.MouseMove(45)), "move(51,41)");
    EXPECT_EQ(m.LastPosition, 51);
    EXPECT_EQ(Describe(m.MouseUp()), "change(51)");
    EXPECT_FALSE(m.Dragging());
    // Nothing more once the drag has ended.
    EXPECT_EQ(Describe(m.MouseMove(80)), "");
    EXPECT_EQ(Describe(m.MouseUp()), "");
    EXPECT_EQ(m.GetLeftIndent(), 20);
}

TEST(RulerModel, APressBesideTheMarkersStartsNothing) {
    TRulerModel m = MainRuler();
    EXPECT_EQ(Describe(m.MouseDown(200, 8)), "");
    EXPECT_FALSE(m.Dragging());
    EXPECT_EQ(Describe(m.MouseMove(250)), "");
    EXPECT_EQ(m.GetLeftIndent(), 0);
}

}  // namespace
}  // namespace qm
