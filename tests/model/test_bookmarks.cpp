#include <gtest/gtest.h>

#include <vector>

#include "model/bookmarks.h"
#include "util/errors.h"

using qm::TBookmarks;

namespace {

TBookmarks Make(const std::vector<int>& lines) {
    TBookmarks b;
    for (int l : lines) EXPECT_TRUE(b.Add(l));
    return b;
}

std::vector<int> Items(const TBookmarks& b) {
    std::vector<int> out;
    for (int i = 1; i <= b.Count(); ++i) out.push_back(b.GetItem(i));
    return out;
}

}  // namespace

TEST(Bookmarks, AddKeepsAscendingOrderWithDuplicates) {
    TBookmarks b = Make({12, 3, 7});
    EXPECT_EQ(Items(b), (std::vector<int>{3, 7, 12}));
    b.Add(7);
    EXPECT_EQ(Items(b), (std::vector<int>{3, 7, 7, 12}));
    EXPECT_EQ(b.IndexOf(7), 2);  // first occurrence
    EXPECT_EQ(b.IndexOf(12), 4);
    EXPECT_EQ(b.IndexOf(5), -1);
    EXPECT_TRUE(b.Contains(3));
    EXPECT_FALSE(b.Contains(4));
}

TEST(Bookmarks, NextAndPreviousWrapAround) {
    const TBookmarks b = Make({3, 7, 12});
    struct Case {
        int from, next, previous;
    };
    const Case cases[] = {
        {3, 7, 12}, {7, 12, 3}, {12, 3, 7}, {5, 7, 3}, {10, 12, 7}, {20, 3, 12}, {1, 3, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(b.Next(c.from), c.next) << "from " << c.from;
        EXPECT_EQ(b.Previous(c.from), c.previous) << "from " << c.from;
    }
}

TEST(Bookmarks, NavigationOnDuplicatesAndEmptyList) {
    // Equal numbers are skipped: stepping always reaches another line.
    const TBookmarks dup = Make({4, 4, 9, 9});
    EXPECT_EQ(dup.Next(4), 9);
    EXPECT_EQ(dup.Next(9), 4);
    EXPECT_EQ(dup.Previous(9), 4);
    EXPECT_EQ(dup.Previous(4), 9);
    const TBookmarks same = Make({5, 5});
    EXPECT_EQ(same.Next(5), 5);
    EXPECT_EQ(same.Previous(5), 5);
    const TBookmarks single = Make({6});
    EXPECT_EQ(single.Next(6), 6);
    EXPECT_EQ(single.Previous(2), 6);
    const TBookmarks empty;
    EXPECT_EQ(empty.Next(3), -1);
    EXPECT_EQ(empty.Previous(3), -1);
}

TEST(Bookmarks, RemoveTakesFirstOccurrenceAndFreesSlot) {
    TBookmarks b = Make({3, 7, 7, 12});
    b.Remove(7);
    EXPECT_EQ(Items(b), (std::vector<int>{3, 7, 12}));
    EXPECT_EQ(b.GetItem(4), -1);
    b.Remove(99);
    EXPECT_EQ(b.Count(), 3);
}

TEST(Bookmarks, TruncateAfterDropsGreaterLines) {
    TBookmarks b = Make({3, 7, 9, 12});
    b.TruncateAfter(9);
    EXPECT_EQ(Items(b), (std::vector<int>{3, 7, 9}));
    b.TruncateAfter(8);
    EXPECT_EQ(Items(b), (std::vector<int>{3, 7}));
    EXPECT_EQ(b.GetItem(3), -1);
    b.TruncateAfter(-1);
    EXPECT_TRUE(b.Empty());
}

TEST(Bookmarks, FullListRefusesTheHundredAndFirst) {
    TBookmarks b;
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(b.Add(100 - i));
    EXPECT_FALSE(b.Add(0));
    EXPECT_EQ(b.Count(), 100);
    EXPECT_EQ(b.GetItem(1), 1);
    EXPECT_EQ(b.GetItem(100), 100);
}

TEST(Bookmarks, AssignClearAndSlotRange) {
    TBookmarks src = Make({5, 1});
    TBookmarks dst = Make({8, 9, 10});
    dst.Assign(src);
    EXPECT_EQ(Items(dst), (std::vector<int>{1, 5}));
    EXPECT_EQ(dst.GetItem(3), -1);  // the old third slot is freed
    dst.Clear();
    EXPECT_EQ(dst.Count(), 0);
    EXPECT_EQ(dst.GetItem(1), -1);
    EXPECT_THROW(dst.GetItem(0), qm::Error);
    EXPECT_THROW(dst.GetItem(101), qm::Error);
}
