// The hotspot list: order, deletion and hit testing.
#include <gtest/gtest.h>

#include "shg/qorshg.h"

using qm::THotspot;
using qm::THotspots;

namespace {

THotspot Rect(const std::string& id, int l, int t, int r, int b) {
    THotspot h;
    h.ID = id;
    h.Left = l;
    h.Top = t;
    h.Right = r;
    h.Bottom = b;
    return h;
}

std::string Ids(const THotspots& list) {
    std::string s;
    for (int i = 0; i < list.Count(); ++i) s += list.GetItem(i).ID;
    return s;
}

}  // namespace

TEST(Hotspots, AddAppendsAndDeleteKeepsOrder) {
    THotspots list;
    for (const char* id : {"a", "b", "c", "d"}) list.Add(Rect(id, 0, 0, 1, 1));
    EXPECT_EQ(Ids(list), "abcd");
    list.Delete(3);
    EXPECT_EQ(Ids(list), "abc");
    list.Delete(1);
    EXPECT_EQ(Ids(list), "ac");
    list.Delete(0);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.GetItem(0), qm::Error);
    EXPECT_THROW(list.Delete(0), qm::Error);
}

TEST(Hotspots, HitTestPrefersTheLastAndExcludesRightAndBottomEdges) {
    THotspots list;
    list.Add(Rect("a", 0, 0, 10, 10));
    list.Add(Rect("b", 5, 5, 15, 15));
    struct Case {
        int x, y, expected;
    } cases[] = {{0, 0, 0},   {4, 9, 0},    {7, 7, 1}, {14, 14, 1}, {10, 3, -1},
                 {3, 10, -1}, {15, 15, -1}, {9, 9, 1}, {-1, 0, -1}};
    for (const Case& c : cases) EXPECT_EQ(list.HitTest(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(Hotspots, AssignCopiesEveryField) {
    THotspot a = Rect("id", 1, 2, 3, 4);
    a.Context = "ctx";
    a.Macro = "M()";
    a.Visible = false;
    a.Kind = qm::THotspotKind::Macro;
    THotspot b;
    b.Assign(a);
    EXPECT_EQ(b, a);
}
