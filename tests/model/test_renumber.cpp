// Renumbering every context ID: the suggestion for the second group and the
// two series the topics and popups get.
#include <gtest/gtest.h>

#include <vector>

#include "model/renumber.h"
#include "util/errors.h"

namespace {

using qm::TopicKind;

// Topics and popups interleaved, as a project keeps them in creation order.
qm::TTopics Mixed(int topics, int popups) {
    qm::TTopics t;
    for (int i = 0; i < topics || i < popups; ++i) {
        if (i < topics) t.AddNew().ContextId = 7;
        if (i < popups) {
            qm::TTopicNode& p = t.AddNew();
            p.Kind = TopicKind::Popup;
            p.ContextId = 7;
        }
    }
    return t;
}

std::vector<int> Ids(const qm::TTopics& t, TopicKind kind) {
    std::vector<int> out;
    for (const auto& n : t)
        if (n->Kind == kind) out.push_back(n->ContextId);
    return out;
}

TEST(Renumber, SuggestionIsTheLastIdOfTheFirstGroupPlusOne) {
    struct Row {
        const char* name;
        int count;
        std::int64_t inc, first, expected;
    } rows[] = {
        {"ten topics from 5 by 1", 10, 1, 5, 15},
        {"ten topics from 5 by 5", 10, 5, 5, 51},
        {"three topics from 100 by 1", 3, 1, 100, 103},
        {"no topics: below the first start", 0, 10, 5, -4},
        {"a seven-digit suggestion", 200, 9999, 999999, 200 * 9999LL + 999999 - 9998},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qm::SuggestSecondStart(row.count, row.inc, row.first), row.expected);
    }
}

TEST(Renumber, TopicsAndPopupsGetTwoSeriesInListOrder) {
    qm::TTopics t = Mixed(10, 4);
    qm::RenumberContextIds(t, 5, 51, 5);
    EXPECT_EQ(Ids(t, TopicKind::Topic), (std::vector<int>{5, 10, 15, 20, 25, 30, 35, 40, 45, 50}));
    EXPECT_EQ(Ids(t, TopicKind::Popup), (std::vector<int>{51, 56, 61, 66}));

    // Popups first: the popups take the low series.
    qm::RenumberContextIds(t, 100, 1, 3);
    EXPECT_EQ(Ids(t, TopicKind::Popup), (std::vector<int>{1, 4, 7, 10}));
    EXPECT_EQ(Ids(t, TopicKind::Topic).front(), 100);
    EXPECT_EQ(Ids(t, TopicKind::Topic).back(), 127);
}

TEST(Renumber, RefusesWhatWouldNotFitAndChangesNothing) {
    qm::TTopics t = Mixed(3, 2);
    EXPECT_THROW(qm::RenumberContextIds(t, 5, 20, 0), qm::Error);
    // The third topic would pass the largest 32-bit ID.
    EXPECT_THROW(qm::RenumberContextIds(t, 2147483647LL - 10, 5, 9), qm::Error);
    EXPECT_EQ(Ids(t, TopicKind::Topic), (std::vector<int>{7, 7, 7}));
    EXPECT_EQ(Ids(t, TopicKind::Popup), (std::vector<int>{7, 7}));
}

}  // namespace
