#include <gtest/gtest.h>

#include "model/helpwindows.h"
#include "model_test_util.h"
#include "util/errors.h"

using qm::TWindows;

TEST(Windows, AddGivesCentredDefaults) {
    qmtest::ScopedScreen screen(1024, 768);
    TWindows list;
    qm::TWindowDef& w = list.Add();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(w.GetName(), "");
    EXPECT_EQ(w.GetCaption(), "");
    EXPECT_EQ(w.Attributes, 0);
    EXPECT_TRUE(w.Macros.empty());
    EXPECT_EQ(w.AdjustRes, 0);
    EXPECT_EQ(w.X, 212);
    EXPECT_EQ(w.Y, 144);
    EXPECT_EQ(w.W, 600);
    EXPECT_EQ(w.H, 480);
    EXPECT_EQ(w.Buttons, 51);
    EXPECT_FALSE(w.NoDefaultButtons);
    EXPECT_EQ(w.Rgb1, 0xFFFFFFu);
    EXPECT_EQ(w.Rgb2, 0xFFFFFFu);
}

TEST(Windows, PositionFollowsTheScreen) {
    struct Case {
        int w, h, x, y;
    };
    const Case cases[] = {{1920, 1080, 660, 300}, {1025, 769, 212, 144}, {0, 0, -300, -240}};
    for (const Case& c : cases) {
        qmtest::ScopedScreen screen(c.w, c.h);
        TWindows list;
        const qm::TWindowDef& w = list.Add();
        EXPECT_EQ(w.X, c.x) << c.w;
        EXPECT_EQ(w.Y, c.y) << c.h;
    }
}

TEST(Windows, TextFieldsAreCutToCapacity) {
    TWindows list;
    qm::TWindowDef& w = list.Add();
    w.SetName("verylongname");
    w.SetCaption(std::string(60, 'c'));
    EXPECT_EQ(w.GetName(), "verylong");
    EXPECT_EQ(w.GetCaption(), std::string(50, 'c'));
    w.SetName("ab");
    EXPECT_EQ(w.GetName(), "ab");  // the setter zero-fills the rest
}

TEST(Windows, IndexingIsOneBased) {
    TWindows list;
    EXPECT_THROW(list.GetWindow(1), qm::Error);
    EXPECT_THROW(list.GetWindow(0), qm::Error);
    list.Add().SetName("one");
    list.Add().SetName("two");
    EXPECT_EQ(list.GetWindow(1).GetName(), "one");
    EXPECT_EQ(list.GetWindow(2).GetName(), "two");
    EXPECT_EQ(list.GetWindow(0).GetName(), "one");  // below 2 gives window 1
    EXPECT_EQ(list.GetWindow(-7).GetName(), "one");
    EXPECT_THROW(list.GetWindow(3), qm::Error);
}

TEST(Windows, DeleteMovesLaterWindowsUpAndChecksRange) {
    TWindows list;
    for (const char* n : {"w1", "w2", "w3"}) list.Add().SetName(n);
    EXPECT_THROW(list.Delete(0), qm::Error);
    EXPECT_THROW(list.Delete(4), qm::Error);
    EXPECT_EQ(list.Count(), 3);
    list.Delete(1);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetWindow(1).GetName(), "w2");
    EXPECT_EQ(list.GetWindow(2).GetName(), "w3");
    list.Delete(2);
    list.Delete(1);
    EXPECT_TRUE(list.Empty());
    EXPECT_THROW(list.Delete(1), qm::Error);
}

TEST(Windows, NameExistsIgnoresAsciiCaseOnly) {
    TWindows list;
    list.Add().SetName("main");
    list.Add().SetName("caf\xE9");
    EXPECT_TRUE(list.NameExists("MAIN"));
    EXPECT_TRUE(list.NameExists("CAF\xE9"));
    EXPECT_FALSE(list.NameExists("CAF\xC9"));  // accented letters are not folded
    EXPECT_FALSE(list.NameExists("mai"));
}

TEST(Windows, AssignMakesIndependentCopies) {
    TWindows src;
    qm::TWindowDef& a = src.Add();
    a.SetName("a");
    a.Macros = {"m1", "m2"};
    src.Add().SetName("b");
    TWindows dst;
    dst.Add().SetName("old");
    dst.Assign(src);
    ASSERT_EQ(dst.Count(), 2);
    EXPECT_EQ(dst.GetWindow(1), src.GetWindow(1));
    dst.GetWindow(1).Macros[0] = "changed";
    dst.GetWindow(2).SetName("bb");
    EXPECT_EQ(src.GetWindow(1).Macros[0], "m1");
    EXPECT_EQ(src.GetWindow(2).GetName(), "b");
    dst.Assign(dst);  // self-assignment keeps the list
    EXPECT_EQ(dst.Count(), 2);

    TWindows copy(src);
    copy.GetWindow(1).Macros.push_back("m3");
    EXPECT_EQ(src.GetWindow(1).Macros.size(), 2u);
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(src.Count(), 2);
}
