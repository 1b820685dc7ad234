#include "model/topicsview.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qm {
namespace {

// A list control holding node ids, with the nodes' keys beside it.
struct FakeList {
    using Handle = int;
    std::vector<int> items;
    std::map<int, std::pair<std::int32_t, std::string>> nodes;
    int repaints = 0;
    mutable int keyReads = 0;  // finding a node's key is a look-up in the real list

    int Count() const { return static_cast<int>(items.size()); }
    Handle ItemNode(int i) const { return items.at(static_cast<std::size_t>(i)); }
    void SetItemNode(int i, const Handle& h) {
        items.at(static_cast<std::size_t>(i)) = h;
        ++writes;
    }
    int writes = 0;
    std::int32_t ContextIdOf(const Handle& h) const {
        ++keyReads;
        return nodes.at(h).first;
    }
    std::string_view NameOf(const Handle& h) const {
        ++keyReads;
        return nodes.at(h).second;
    }
    void Repaint() { ++repaints; }
};

FakeList MakeList() {
    FakeList l;
    l.nodes = {{1, {30, "b"}}, {2, {10, "A"}}, {3, {-5, "a"}}, {4, {20, "\xE9t\xE9"}}, {5, {15, "B"}}};
    l.items = {1, 2, 3, 4, 5};
    return l;
}

std::vector<std::string> Names(const FakeList& l) {
    std::vector<std::string> out;
    for (int h : l.items) out.push_back(l.nodes.at(h).second);
    return out;
}

TEST(TopicsView, SortByNameIsByteWise) {
    FakeList list = MakeList();
    TTopicsView<FakeList> view(list, kContentsTopicImage);
    view.SortByName(false);  // false: ascending
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B", "a", "b", "\xE9t\xE9"}));
    view.SortByName(true);  // true: descending
    EXPECT_EQ(Names(list), (std::vector<std::string>{"\xE9t\xE9", "b", "a", "B", "A"}));
    EXPECT_EQ(list.repaints, 2);
}

TEST(TopicsView, SortById) {
    FakeList list = MakeList();
    TTopicsView<FakeList> view(list, kNoContentsImage);
    view.SortById(true);  // true: ascending
    EXPECT_EQ(list.items, (std::vector<int>{3, 2, 5, 4, 1}));
    view.SortById(false);
    EXPECT_EQ(list.items, (std::vector<int>{1, 4, 5, 2, 3}));
}

TEST(TopicsView, IndexOfNodeAndCopies) {
    FakeList list = MakeList();
    TTopicsView<FakeList> view(list, kContentsTopicImage);
    EXPECT_EQ(view.IndexOfNode(4), 3);
    EXPECT_EQ(view.IndexOfNode(99), -1);
    EXPECT_EQ(view.ContentsImage(), 47);

    EXPECT_EQ(view.CopyToList(), (std::vector<int>{1, 2, 3, 4, 5}));
    view.CopyFromList({5, 4});  // a shorter list writes only the first items
    EXPECT_EQ(list.items, (std::vector<int>{5, 4, 3, 4, 5}));

    FakeList empty;
    TTopicsView<FakeList> emptyView(empty, kNoContentsImage);
    emptyView.SortByName(false);
    EXPECT_TRUE(empty.items.empty());
    EXPECT_EQ(emptyView.IndexOfNode(1), -1);
}

// Equal keys keep their order, and each item's key is read once however
// many comparisons the sort makes (a large list sorted by comparing looked-up
// names took seconds).
TEST(TopicsView, SortsAreStableAndReadEachKeyOnce) {
    FakeList list;
    for (int h = 1; h <= 200; ++h) {
        list.nodes[h] = {h % 3, h % 2 ? "odd" : "even"};
        list.items.push_back(h);
    }
    TTopicsView<FakeList> view(list, kNoContentsImage);
    struct Row {
        const char* name;
        std::function<void()> sort;
        std::function<bool(int, int)> before;  // a strictly earlier, or tied and in the old order
    };
    const std::vector<Row> rows = {
        {"by name ascending", [&] { view.SortByName(false); },
         [&](int a, int b) { return list.nodes[a].second < list.nodes[b].second; }},
        {"by name descending", [&] { view.SortByName(true); },
         [&](int a, int b) { return list.nodes[a].second > list.nodes[b].second; }},
        {"by id ascending", [&] { view.SortById(true); },
         [&](int a, int b) { return list.nodes[a].first < list.nodes[b].first; }},
        {"by id descending", [&] { view.SortById(false); },
         [&](int a, int b) { return list.nodes[a].first > list.nodes[b].first; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<int> before = list.items;
        std::map<int, std::size_t> oldPos;
        for (std::size_t i = 0; i < before.size(); ++i) oldPos[before[i]] = i;
        list.keyReads = 0;
        row.sort();
        EXPECT_EQ(list.keyReads, 200);
        for (std::size_t i = 1; i < list.items.size(); ++i) {
            const int a = list.items[i - 1], b = list.items[i];
            const bool tied = !row.before(a, b) && !row.before(b, a);
            EXPECT_TRUE(row.before(a, b) || (tied && oldPos[a] < oldPos[b])) << "at " << i;
        }
    }
}

// A list that takes the name with the handle gets, for each row, the name
// of the node it now holds, by either sort, without a second look-up.
TEST(TopicsView, SortsHandOnEachRowsOwnName) {
    struct NamedList : FakeList {
        std::vector<std::string> texts;  // what each row shows
        using FakeList::SetItemNode;
        void SetItemNode(int i, const Handle& h, std::string_view name) {
            FakeList::SetItemNode(i, h);
            texts.at(static_cast<std::size_t>(i)) = std::string(name);
        }
    };
    NamedList list;
    static_cast<FakeList&>(list) = MakeList();
    list.texts.assign(list.items.size(), "");
    TTopicsView<NamedList> view(list, kContentsTopicImage);
    for (const bool byName : {true, false}) {
        SCOPED_TRACE(byName ? "by name" : "by id");
        list.keyReads = 0;
        byName ? view.SortByName(true) : view.SortById(true);
        EXPECT_EQ(list.keyReads, byName ? 5 : 10);
        EXPECT_EQ(list.texts, Names(list));
    }
    EXPECT_EQ(list.items, (std::vector<int>{3, 2, 5, 4, 1}));
}

// A sort that finds the rows in order leaves them as they are (the item
// strings with them) and only repaints; one that moves them writes each row.
TEST(TopicsView, ASortThatMovesNothingWritesNothing) {
    FakeList list = MakeList();
    TTopicsView<FakeList> view(list, kContentsTopicImage);
    struct Step {
        const char* name;
        std::function<void()> sort;
        int writes;
    };
    const Step steps[] = {
        {"by name, moving", [&] { view.SortByName(false); }, 5},
        {"by name again", [&] { view.SortByName(false); }, 0},
        {"by id, moving", [&] { view.SortById(true); }, 5},
        {"by id again", [&] { view.SortById(true); }, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        list.writes = 0;
        const int repaints = list.repaints;
        step.sort();
        EXPECT_EQ(list.writes, step.writes);
        EXPECT_EQ(list.repaints, repaints + 1);
    }
}

TEST(TopicsView, CompareNamesBytewise) {
    EXPECT_LT(CompareNamesBytewise("A", "a"), 0);
    EXPECT_LT(CompareNamesBytewise("z", "\x80"), 0);  // bytes compare unsigned
    EXPECT_LT(CompareNamesBytewise("ab", "abc"), 0);
    EXPECT_EQ(CompareNamesBytewise("abc", "abc"), 0);
    EXPECT_GT(CompareNamesBytewise("b", "abc"), 0);
}

}  // namespace
}  // namespace qm
