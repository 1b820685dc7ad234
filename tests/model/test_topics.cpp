#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "model/topics.h"
#include "util/errors.h"

using qm::TopicKind;
using qm::TTopicNode;
using qm::TTopics;

namespace {

TTopicNode& Add(TTopics& t, const char* name, int id, TopicKind kind = TopicKind::Topic) {
    TTopicNode& n = t.AddNew();
    n.SetName(name);
    n.ContextId = id;
    n.Kind = kind;
    return n;
}

}  // namespace

TEST(TopicNode, NewNodeDefaults) {
    auto n = qm::NewTopicNode();
    EXPECT_EQ(n->Kind, TopicKind::Topic);
    EXPECT_EQ(n->ContextId, 0);
    EXPECT_EQ(n->State, qm::TopicState::Edit);
    EXPECT_FALSE(n->IsContents);
    EXPECT_EQ(n->GetName(), "");
    EXPECT_EQ(n->GetTitle(), "Set Topic Title...");
    EXPECT_EQ(n->GetWindow(), "main");
    EXPECT_EQ(n->GetBrowse(), "");
    EXPECT_EQ(n->GetBuildTag(), "");
    EXPECT_TRUE(n->Keywords.empty() && n->AKeywords.empty() && n->Macros.empty());
    EXPECT_TRUE(n->Bookmarks.Empty());
    EXPECT_EQ(n->Text, "");
    EXPECT_EQ(n->EditorPos, 0);  // a new topic opens with the caret at its start
}

TEST(TopicNode, FixedFieldsCutToCapacity) {
    TTopicNode n;
    struct Case {
        void (TTopicNode::*set)(std::string_view);
        std::string (TTopicNode::*get)() const;
        std::size_t cap;
    };
    const Case cases[] = {
        {&TTopicNode::SetName, &TTopicNode::GetName, 255},        {&TTopicNode::SetTitle, &TTopicNode::GetTitle, 255},
        {&TTopicNode::SetWindow, &TTopicNode::GetWindow, 8},      {&TTopicNode::SetBrowse, &TTopicNode::GetBrowse, 50},
        {&TTopicNode::SetBuildTag, &TTopicNode::GetBuildTag, 50},
    };
    for (const Case& c : cases) {
        std::string full(c.cap, 'x');
        (n.*c.set)(full + "yz");
        EXPECT_EQ((n.*c.get)(), full);
        (n.*c.set)("ab");
        EXPECT_EQ((n.*c.get)(), "ab");
        (n.*c.set)(std::string("a\0b", 3));  // read back up to the first NUL
        EXPECT_EQ((n.*c.get)(), "a");
    }
}

TEST(TopicNode, IdsAreUniqueAndNotCopied) {
    TTopicNode a;
    TTopicNode b;
    EXPECT_NE(a.Id(), b.Id());
    a.SetName("A");
    a.Keywords = {"k"};
    TTopicNode c(a);
    EXPECT_NE(c.Id(), a.Id());
    EXPECT_EQ(c.GetName(), "A");
    EXPECT_EQ(c.Keywords, a.Keywords);
    const auto idB = b.Id();
    b = a;
    EXPECT_EQ(b.Id(), idB);
    EXPECT_EQ(b.GetName(), "A");
}

TEST(Topics, GetNodeIsZeroBasedAndRangeChecked) {
    TTopics t;
    EXPECT_THROW(t.GetNode(0), qm::Error);
    Add(t, "a", 5);
    Add(t, "b", 10);
    EXPECT_EQ(t.GetNode(0).GetName(), "a");
    EXPECT_EQ(t.GetNode(1).GetName(), "b");
    EXPECT_THROW(t.GetNode(2), qm::Error);
    EXPECT_THROW(t.GetNode(-1), qm::Error);
    EXPECT_THROW(t.DeleteAt(2), qm::Error);
    EXPECT_THROW(t.DeleteAt(-1), qm::Error);
    EXPECT_EQ(t.Count(), 2);
}

TEST(Topics, NextFreeContextId) {
    struct Case {
        std::vector<int> used;
        int inc;
        int expected;
    };
    const Case cases[] = {
        {{5, 10, 20}, 5, 15}, {{7, 14}, 7, 21}, {{}, 5, 5}, {{10, 15}, 5, 5},  // a gap is filled first
        {{1, 2}, 0, 3},                                                        // below 1 counts as 1
        {{1}, -4, 2},
    };
    for (const Case& c : cases) {
        TTopics t;
        for (int id : c.used) Add(t, "n", id);
        EXPECT_EQ(t.NextFreeContextId(c.inc), c.expected) << "increment " << c.inc;
    }
}

TEST(Topics, NextFreeContextIdStaysInRange) {
    TTopics t;
    Add(t, "a", 2147483647);
    EXPECT_EQ(t.NextFreeContextId(2147483647), 2147483647);  // ends; cannot go past int32
}

TEST(Topics, NewNamesShareOneNameSpace) {
    TTopics t;
    Add(t, "NewTopic1", 5);
    Add(t, "newtopic2", 10);
    EXPECT_EQ(t.NewTopicName(), "NewTopic3");
    EXPECT_EQ(t.NewPopupName(), "NewPopup1");
    TTopics u;
    Add(u, "newtopic1", 5, TopicKind::Popup);
    EXPECT_EQ(u.NewTopicName(), "NewTopic2");
}

TEST(Topics, NameLookupsIgnoreAsciiCaseOnly) {
    TTopics t;
    Add(t, "Contents", 5).IsContents = true;
    Add(t, "caf\xE9", 10);
    EXPECT_TRUE(t.NameExists("CONTENTS"));
    EXPECT_EQ(t.FindByName("contents"), &t.GetNode(0));
    EXPECT_EQ(t.FindByName("CAF\xE9"), &t.GetNode(1));
    EXPECT_EQ(t.FindByName("CAF\xC9"), nullptr);
    EXPECT_FALSE(t.NameExists("Content"));
    EXPECT_EQ(t.FindContents(), &t.GetNode(0));
    EXPECT_TRUE(t.ContextIdExists(10));
    EXPECT_FALSE(t.ContextIdExists(15));
}

TEST(Topics, CountsAndEnumerationByKind) {
    TTopics t;
    Add(t, "t1", 5);
    Add(t, "p1", 10, TopicKind::Popup);
    Add(t, "t2", 15);
    Add(t, "p2", 20, TopicKind::Popup);
    EXPECT_EQ(t.TopicCount(), 2);
    EXPECT_EQ(t.PopupCount(), 2);
    auto topics = t.NodesOfKind(TopicKind::Topic);
    auto popups = std::as_const(t).NodesOfKind(TopicKind::Popup);
    ASSERT_EQ(topics.size(), 2u);
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(topics[0]->GetName(), "t1");
    EXPECT_EQ(topics[1]->GetName(), "t2");
    EXPECT_EQ(popups[0]->GetName(), "p1");
    EXPECT_EQ(popups[1]->GetName(), "p2");
}

TEST(Topics, FindByIdFollowsTheNodeAndForgetsDeletedOnes) {
    TTopics t;
    const auto idA = Add(t, "a", 5).Id();
    const auto idB = Add(t, "b", 10).Id();
    const auto idC = Add(t, "c", 15).Id();
    EXPECT_EQ(t.FindById(idB)->GetName(), "b");
    t.DeleteAt(0);
    EXPECT_EQ(t.FindById(idA), nullptr);
    EXPECT_EQ(t.FindById(idC)->GetName(), "c");  // still found after the shift
    EXPECT_EQ(t.IndexOfId(idC), 1);
    t.Clear();
    EXPECT_EQ(t.FindById(idB), nullptr);
    EXPECT_EQ(t.Count(), 0);
}

TEST(Topics, DeleteNodeAndContains) {
    TTopics t;
    TTopicNode& a = Add(t, "a", 5);
    TTopicNode& b = Add(t, "b", 10);
    EXPECT_TRUE(t.Contains(&a));
    TTopicNode stranger;
    EXPECT_FALSE(t.Contains(&stranger));
    EXPECT_FALSE(t.Contains(nullptr));
    EXPECT_THROW(t.DeleteNode(&stranger), qm::Error);
    EXPECT_THROW(t.DeleteNode(nullptr), qm::Error);
    t.DeleteNode(&a);
    ASSERT_EQ(t.Count(), 1);
    EXPECT_EQ(&t.GetNode(0), &b);
}

TEST(Topics, ReplaceNodeKeepsThePosition) {
    TTopics t;
    Add(t, "a", 5);
    TTopicNode& b = Add(t, "b", 10);
    Add(t, "c", 15);
    const auto oldId = b.Id();
    auto fresh = qm::NewTopicNode();
    fresh->SetName("B2");
    TTopicNode* freshPtr = fresh.get();
    EXPECT_EQ(&t.ReplaceNode(&b, std::move(fresh)), freshPtr);
    ASSERT_EQ(t.Count(), 3);
    EXPECT_EQ(t.GetNode(1).GetName(), "B2");
    EXPECT_EQ(t.GetNode(2).GetName(), "c");
    EXPECT_EQ(t.FindById(oldId), nullptr);

    TTopicNode stranger;
    EXPECT_THROW(t.ReplaceNode(&stranger, qm::NewTopicNode()), qm::Error);
    EXPECT_THROW(t.ReplaceNode(&t.GetNode(0), nullptr), qm::Error);
    EXPECT_EQ(t.GetNode(0).GetName(), "a");
    EXPECT_THROW(t.AddNode(nullptr), qm::Error);
}

TEST(Topics, AddNodeTakesOwnershipAndIterationFollowsListOrder) {
    TTopics t;
    Add(t, "first", 5);
    auto n = qm::NewTopicNode();
    n->SetName("second");
    t.AddNode(std::move(n));
    std::vector<std::string> names;
    for (const auto& node : t) names.push_back(node->GetName());
    EXPECT_EQ(names, (std::vector<std::string>{"first", "second"}));
    qm::TTopics::DisposeNode(nullptr);  // nothing for none
}

namespace {

// What FindById and IndexOfId must answer, found the slow way: a walk over
// the list.
int ScanForId(const TTopics& t, qm::TNodeId id) {
    int i = 0;
    for (const auto& node : t) {
        if (node->Id() == id) return i;
        ++i;
    }
    return -1;
}

// Every id ever handed out, present or gone, answers as the walk does.
void ExpectIndexMatchesScan(const TTopics& t, const std::vector<qm::TNodeId>& seen) {
    for (qm::TNodeId id : seen) {
        const int at = ScanForId(t, id);
        EXPECT_EQ(t.IndexOfId(id), at) << "id " << id;
        const TTopicNode* found = t.FindById(id);
        EXPECT_EQ(found, at < 0 ? nullptr : &t.GetNode(at)) << "id " << id;
    }
}

}  // namespace

// The id index follows each change of the list: a table of operations, each
// checked against a walk over the list for every id seen so far (the deleted
// and replaced ones included, which must be forgotten).
TEST(Topics, IdIndexStaysInStepWithEveryChange) {
    struct Step {
        const char* name;
        std::function<void(TTopics&, std::vector<qm::TNodeId>&)> apply;
    };
    const auto addNamed = [](TTopics& t, std::vector<qm::TNodeId>& seen, const char* name) {
        seen.push_back(Add(t, name, static_cast<int>(seen.size()) * 5).Id());
    };
    const std::vector<Step> steps = {
        {"add five",
         [&](TTopics& t, auto& seen) {
             for (const char* n : {"a", "b", "c", "d", "e"}) addNamed(t, seen, n);
         }},
        {"append an owned node",
         [](TTopics& t, auto& seen) {
             auto n = qm::NewTopicNode();
             seen.push_back(n->Id());
             t.AddNode(std::move(n));
         }},
        {"delete the first", [](TTopics& t, auto&) { t.DeleteAt(0); }},
        {"delete in the middle by node", [](TTopics& t, auto&) { t.DeleteNode(&t.GetNode(2)); }},
        {"delete the last", [](TTopics& t, auto&) { t.DeleteAt(t.Count() - 1); }},
        {"replace in the middle",
         [](TTopics& t, auto& seen) {
             auto n = qm::NewTopicNode();
             seen.push_back(n->Id());
             t.ReplaceNode(&t.GetNode(1), std::move(n));
         }},
        {"replace refused leaves the index",
         [](TTopics& t, auto&) {
             TTopicNode stranger;
             EXPECT_THROW(t.ReplaceNode(&stranger, qm::NewTopicNode()), qm::Error);
             EXPECT_THROW(t.AddNode(nullptr), qm::Error);
         }},
        {"assign a node's fields keeps its id", [](TTopics& t, auto&) { t.GetNode(0) = t.GetNode(1); }},
        {"add after deletions", [&](TTopics& t, auto& seen) { addNamed(t, seen, "f"); }},
        {"move the list out and back",
         [](TTopics& t, auto&) {
             TTopics other = std::move(t);
             t = std::move(other);
         }},
        {"clear", [](TTopics& t, auto&) { t.Clear(); }},
        {"add after clearing", [&](TTopics& t, auto& seen) { addNamed(t, seen, "g"); }},
    };
    TTopics t;
    std::vector<qm::TNodeId> seen;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.apply(t, seen);
        ExpectIndexMatchesScan(t, seen);
    }
    EXPECT_EQ(t.Count(), 1);
}

namespace {

// What FindByName must answer, found the slow way.
const TTopicNode* ScanForName(const TTopics& t, std::string_view name) {
    for (const auto& node : t)
        if (qm::SameText(node->Name.View(), name)) return node.get();
    return nullptr;
}

}  // namespace

// The list's own name index follows every change of the list and of its
// nodes' names: a table of steps, each checked against a walk for every
// name used so far, in three cases, found or not. Two nodes of one name
// (which a file can hold) keep the first one found until it goes.
TEST(Topics, NameLookupsStayTrueThroughEveryChange) {
    struct Step {
        const char* name;
        std::function<void(TTopics&)> apply;
    };
    const std::vector<Step> steps = {
        {"add",
         [](TTopics& t) {
             for (const char* n : {"Alpha", "Beta", "Gamma", "caf\xE9"}) Add(t, n, 5);
         }},
        {"rename", [](TTopics& t) { t.GetNode(1).SetName("Delta"); }},
        {"rename to another case", [](TTopics& t) { t.GetNode(1).SetName("DELTA"); }},
        {"rename to a name in use", [](TTopics& t) { t.GetNode(3).SetName("alpha"); }},
        {"remove the first of the two", [](TTopics& t) { t.DeleteAt(0); }},
        {"append a second of a name", [](TTopics& t) { Add(t, "gamma", 10); }},
        {"rename the first of the two away", [](TTopics& t) { t.GetNode(1).SetName("Epsilon"); }},
        {"assign a node's fields", [](TTopics& t) { t.GetNode(0) = t.GetNode(2); }},
        {"assign over a node of another list",
         [](TTopics& t) {
             TTopicNode stranger;
             stranger.SetName("Stranger");
             t.GetNode(1) = stranger;
             stranger.SetName("Zeta");  // the copy is not the list's: nothing follows
         }},
        {"replace",
         [](TTopics& t) {
             auto n = qm::NewTopicNode();
             n->SetName("Eta");
             t.ReplaceNode(&t.GetNode(2), std::move(n));
         }},
        {"replace by a name in use",
         [](TTopics& t) {
             auto n = qm::NewTopicNode();
             n->SetName("EPSILON");
             t.ReplaceNode(&t.GetNode(3), std::move(n));
         }},
        {"set the raw name field",
         [](TTopics& t) {
             std::string field(qm::TNodeName::width, '\0');
             field.replace(0, 5, "Theta");
             field[100] = 'x';  // after the NUL: kept, but no part of the name
             t.GetNode(0).SetNameField(field.data());
         }},
        {"remove by node", [](TTopics& t) { t.DeleteNode(&t.GetNode(1)); }},
        {"move the list out and back",
         [](TTopics& t) {
             TTopics other = std::move(t);
             other.GetNode(0).SetName("Iota");  // renamed while in the other list
             t = std::move(other);
         }},
        {"rename after the move", [](TTopics& t) { t.GetNode(0).SetName("Kappa"); }},
        {"clear", [](TTopics& t) { t.Clear(); }},
        {"add after clearing", [](TTopics& t) { Add(t, "Alpha", 15); }},
    };
    const std::vector<std::string> names = {"Alpha", "Beta",  "Gamma",  "caf\xE9", "Delta",    "Epsilon",
                                            "Eta",   "Theta", "Iota",   "Kappa",   "Stranger", "Zeta",
                                            "",      "x",     "Thetax", "CAF\xC9", "NewTopic1"};
    TTopics t;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.apply(t);
        for (const std::string& name : names) {
            for (const std::string& asked : {name, qm::AsciiUpperStr(name), qm::AsciiLowerStr(name)}) {
                EXPECT_EQ(t.FindByName(asked), ScanForName(t, asked)) << asked;
                EXPECT_EQ(t.NameExists(asked), ScanForName(t, asked) != nullptr) << asked;
            }
        }
    }
    EXPECT_EQ(t.FindByName("ALPHA"), &t.GetNode(0));
}

// A new name takes the first number free, and a number freed by a rename
// is free again at once.
TEST(Topics, NewNamesFollowRenames) {
    TTopics t;
    for (int i = 1; i <= 3000; ++i) Add(t, ("NewTopic" + std::to_string(i)).c_str(), 5 * i);
    EXPECT_EQ(t.NewTopicName(), "NewTopic3001");
    t.GetNode(1499).SetName("Renamed");  // NewTopic1500 is free again
    EXPECT_EQ(t.NewTopicName(), "NewTopic1500");
    EXPECT_EQ(t.NewPopupName(), "NewPopup1");
}

// The boxes' order: names ignoring ASCII case, bytes unsigned, a name before
// its longer ones, and equal names (but for case) in list order.
TEST(Topics, NodesByNameIgnoreCaseAndKeepTies) {
    TTopics t;
    const char* names[] = {"beta", "\xE9t\xE9", "Alpha", "", "ALPHA", "alphabet", "Zed", "alpha", "B"};
    for (int i = 0; i < 9; ++i) Add(t, names[i], i, i == 8 ? TopicKind::Popup : TopicKind::Topic);
    std::vector<std::string> got;
    for (const TTopicNode* n : t.NodesOfKindByName(TopicKind::Topic))
        got.push_back(n->GetName() + "/" + std::to_string(n->ContextId));
    EXPECT_EQ(got, (std::vector<std::string>{"/3", "Alpha/2", "ALPHA/4", "alpha/7", "alphabet/5", "beta/0", "Zed/6",
                                             "\xE9t\xE9/1"}));
    EXPECT_EQ(t.NodesOfKindByName(TopicKind::Popup).size(), 1u);
    EXPECT_TRUE(qm::OrderByName({}).empty());
}

// The name index finds what FindByName finds: the first node of a name, ASCII
// case folded, and nothing for a name no node has.
TEST(Topics, NameIndexAgreesWithFindByName) {
    TTopics t;
    Add(t, "Alpha", 5);
    Add(t, "ALPHA", 10);  // a second node of the same name: the first one wins
    Add(t, "caf\xE9", 15);
    Add(t, "", 20);
    const qm::TTopicNameIndex index(t);
    for (const char* name : {"alpha", "Alpha", "aLPHA", "caf\xE9", "CAF\xE9", "caf\xC9", "", "beta", "alph"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(index.Find(name), t.FindByName(name));
    }
    EXPECT_EQ(index.Find("alpha")->ContextId, 5);
    EXPECT_EQ(index.Find("CAF\xC9"), nullptr);  // only ASCII letters fold
}
