#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/history.h"

using qm::HistoryList;
using qm::THistory;
using qm::THistoryEntry;

namespace {

// Modules A, B, C, ... have the Ids 1, 2, 3, ...
THistoryEntry E(char name) { return {static_cast<qm::TNodeId>(name - 'A' + 1), std::string(1, name)}; }

std::string Names(const std::vector<THistoryEntry>& list) {
    std::string out;
    for (const THistoryEntry& e : list) out += e.Name;
    return out;
}

// Visits the modules in order as the open routine records them: each module
// left goes onto the back list and empties the forward list.
void Visit(THistory& h, const std::string& order) {
    for (std::size_t k = 1; k < order.size(); ++k) h.PushBack(E(order[k - 1]), true);
}

TEST(History, KeepsTheBrowsersOrder) {
    THistory h;
    Visit(h, "ABC");
    EXPECT_EQ(Names(h.Back()), "BA");  // newest first
    // Back from C opens B and puts C on the forward list.
    ASSERT_NE(h.Target(HistoryList::Back, 0), nullptr);
    EXPECT_EQ(h.Target(HistoryList::Back, 0)->Name, "B");
    h.StepTo(HistoryList::Back, 0, E('C'));
    EXPECT_EQ(Names(h.Back()), "A");
    EXPECT_EQ(Names(h.Forward()), "C");
    // Forward from B opens C again without emptying the forward list first.
    h.PushForward(E('D'));
    EXPECT_EQ(Names(h.Forward()), "DC");
    h.StepTo(HistoryList::Forward, 0, E('B'));
    EXPECT_EQ(Names(h.Back()), "BA");
    EXPECT_EQ(Names(h.Forward()), "C");
    // An ordinary visit from there empties the forward list.
    h.PushBack(E('D'), true);
    EXPECT_EQ(Names(h.Back()), "DBA");
    EXPECT_TRUE(h.Forward().empty());
}

TEST(History, ARepeatedVisitIsRecordedOnceAndKeepsTheForwardList) {
    THistory h;
    h.PushForward(E('F'));
    h.PushBack(E('A'), false);
    h.PushBack(E('A'), true);  // entry 0 already: nothing, not even the clearing
    EXPECT_EQ(Names(h.Back()), "A");
    EXPECT_EQ(Names(h.Forward()), "F");
    h.PushForward(E('F'));
    EXPECT_EQ(Names(h.Forward()), "F");
    // By Id, not by name: a module renamed since is the same module.
    h.PushBack({E('A').Id, "Renamed"}, true);
    EXPECT_EQ(Names(h.Back()), "A");
    // An entry without a module is no visit.
    h.PushBack({0, "None"}, true);
    EXPECT_EQ(Names(h.Back()), "A");
    EXPECT_EQ(Names(h.Forward()), "F");
}

TEST(History, TheLimitKeepsTheNewestEntries) {
    THistory h(2);
    Visit(h, "ABCD");  // leaves A, B and C
    EXPECT_EQ(Names(h.Back()), "CB");
    for (char c : std::string("WXYZ")) h.PushForward(E(c));
    EXPECT_EQ(Names(h.Forward()), "ZY");
    THistory wide;
    Visit(wide, "ABCDEF");
    wide.SetLimit(3);
    EXPECT_EQ(Names(wide.Back()), "EDC");
    wide.SetLimit(0);  // at least one
    EXPECT_EQ(wide.Limit(), 1);
    EXPECT_EQ(Names(wide.Back()), "E");
}

TEST(History, MenuJumpsMoveTheSkippedEntriesBothWays) {
    THistory h;
    Visit(h, "ABCDE");  // E open
    ASSERT_EQ(Names(h.Back()), "DCBA");
    // The third entry of the Back menu (B): E and the two skipped entries go
    // forward, the one nearest to B at entry 0; three entries leave the back list.
    EXPECT_EQ(h.Target(HistoryList::Back, 2)->Name, "B");
    h.StepTo(HistoryList::Back, 2, E('E'));
    EXPECT_EQ(Names(h.Back()), "A");
    EXPECT_EQ(Names(h.Forward()), "CDE");
    // The second entry of the Forward menu (D) from B: B and C go back.
    EXPECT_EQ(h.Target(HistoryList::Forward, 1)->Name, "D");
    h.StepTo(HistoryList::Forward, 1, E('B'));
    EXPECT_EQ(Names(h.Back()), "CBA");
    EXPECT_EQ(Names(h.Forward()), "E");
}

TEST(History, AnEntryPastTheEndIsNoStep) {
    THistory h;
    Visit(h, "AB");
    EXPECT_EQ(h.Target(HistoryList::Back, 1), nullptr);
    EXPECT_EQ(h.Target(HistoryList::Back, -1), nullptr);
    EXPECT_EQ(h.Target(HistoryList::Forward, 0), nullptr);
    h.StepTo(HistoryList::Back, 1, E('B'));
    h.StepTo(HistoryList::Forward, 0, E('B'));
    h.Drop(HistoryList::Back, 3);
    EXPECT_EQ(Names(h.Back()), "A");
    EXPECT_TRUE(h.Forward().empty());
}

TEST(History, AMissingModulesEntryIsDroppedAlone) {
    THistory h;
    Visit(h, "ABCD");
    h.Drop(HistoryList::Back, 1);  // B is gone
    EXPECT_EQ(Names(h.Back()), "CA");
    EXPECT_TRUE(h.Forward().empty());
}

TEST(History, NamesFollowTheirModulesAndAGoneModuleKeepsItsLastName) {
    THistory h;
    Visit(h, "ABC");
    const std::map<qm::TNodeId, std::string> now = {{E('A').Id, "Alpha"}};  // B is gone
    h.RefreshNames([&](qm::TNodeId id) -> std::optional<std::string> {
        auto it = now.find(id);
        if (it == now.end()) return std::nullopt;
        return it->second;
    });
    ASSERT_EQ(h.Back().size(), 2u);
    EXPECT_EQ(h.Back()[0].Name, "B");
    EXPECT_EQ(h.Back()[1].Name, "Alpha");
}

TEST(History, ClearEmptiesBothLists) {
    THistory h;
    Visit(h, "ABC");
    h.StepTo(HistoryList::Back, 0, E('C'));
    ASSERT_FALSE(h.Empty(HistoryList::Back));
    ASSERT_FALSE(h.Empty(HistoryList::Forward));
    h.Clear();
    EXPECT_TRUE(h.Empty(HistoryList::Back));
    EXPECT_TRUE(h.Empty(HistoryList::Forward));
}

}  // namespace
