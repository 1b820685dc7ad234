// Browse sequences: built from the topics' browse strings, renumbered and
// written back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/browsesequences.h"
#include "util/errors.h"

namespace {

using qm::TopicKind;

struct Sample {
    qm::TTopics topics;
    qm::TTopicNode& Add(const std::string& name, const std::string& browse, TopicKind kind = TopicKind::Topic) {
        qm::TTopicNode& n = topics.AddNew();
        n.SetName(name);
        n.SetBrowse(browse);
        n.Kind = kind;
        return n;
    }
    std::vector<std::string> Names(const qm::TBrowseSequence& s) const {
        std::vector<std::string> out;
        for (int i = 0; i < s.Count(); ++i) out.push_back(topics.FindById(s.Items(i).Topic)->GetName());
        return out;
    }
};

TEST(BrowseSequences, OneSequencePerNameInAnyCaseOrderedByNumber) {
    Sample p;
    p.Add("A", "intro:010");
    p.Add("Plain", "no colon here");
    p.Add("B", "Intro:5");
    p.Add("Pop", "intro:001", TopicKind::Popup);
    p.Add("C", "faq:2");
    qm::TBrowseSequences seqs;
    const std::vector<qm::TNodeId> available = qm::BuildSequences(p.topics, seqs);
    ASSERT_EQ(seqs.Count(), 2);
    EXPECT_EQ(seqs.Items(0).Name, "intro");  // the form met first
    EXPECT_EQ(p.Names(seqs.Items(0)), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(seqs.Items(1).Name, "faq");
    ASSERT_EQ(available.size(), 1u);  // popups never take part
    EXPECT_EQ(p.topics.FindById(available[0])->GetName(), "Plain");

    qm::WriteBrowseStrings(p.topics, seqs, available);
    EXPECT_EQ(p.topics.FindByName("B")->GetBrowse(), "intro:005");
    EXPECT_EQ(p.topics.FindByName("A")->GetBrowse(), "intro:010");
    EXPECT_EQ(p.topics.FindByName("C")->GetBrowse(), "faq:005");
    EXPECT_EQ(p.topics.FindByName("Plain")->GetBrowse(), "");
    EXPECT_EQ(p.topics.FindByName("Pop")->GetBrowse(), "intro:001");
}

TEST(BrowseSequences, NumbersThatAreNoIntegersCountAsZeroAndKeepTheirOrder) {
    struct Row {
        const char* name;
        const char* text;
        std::int32_t order;
    } rows[] = {
        {"plain", "010", 10},
        {"negative", "-3", -3},
        {"blanks", " 7 ", 7},
        {"two signs", "1-0", 0},
        {"a sign only", "-", 0},
        {"empty", "", 0},
        {"past 32 bits", "99999999999", 0},
        {"letters", "1a", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qm::ParseBrowseOrder(row.text), row.order);
    }
    // The bad numbers stay in the sequence, in project order among the zeros.
    Sample p;
    p.Add("X", "s:1-0");
    p.Add("Y", "s:5");
    p.Add("Z", "s:-");
    qm::TBrowseSequences seqs;
    EXPECT_TRUE(qm::BuildSequences(p.topics, seqs).empty());
    EXPECT_EQ(p.Names(seqs.Items(0)), (std::vector<std::string>{"X", "Z", "Y"}));
}

TEST(BrowseSequences, NumbersRunInFivesWithAtLeastThreeDigits) {
    EXPECT_EQ(qm::BrowseString("seq", 0), "seq:005");
    EXPECT_EQ(qm::BrowseString("seq", 1), "seq:010");
    EXPECT_EQ(qm::BrowseString("seq", 198), "seq:995");
    EXPECT_EQ(qm::BrowseString("seq", 199), "seq:1000");
}

TEST(BrowseSequences, AStringPastTheFieldIsRefusedBeforeAnythingChanges) {
    Sample p;
    const std::string longName(46, 'n');  // 46 + ":005" = 50 fits; two more entries still fit
    p.Add("A", "old:1");
    p.Add("B", "old:2");
    qm::TBrowseSequences seqs;
    qm::BuildSequences(p.topics, seqs);
    seqs.Items(0).Name = longName;
    EXPECT_EQ(qm::SequenceTooLong(seqs), std::nullopt);
    seqs.Items(0).Name = longName + "n";  // 47 + ":005" = 51
    EXPECT_EQ(qm::SequenceTooLong(seqs), longName + "n");
    EXPECT_THROW(qm::WriteBrowseStrings(p.topics, seqs, {}), qm::Error);
    EXPECT_EQ(p.topics.FindByName("A")->GetBrowse(), "old:1");
}

TEST(BrowseSequences, MoveAndIndexOfBehaveAsListsDo) {
    qm::TBrowseSequence s;
    for (int i = 1; i <= 4; ++i) s.Add(static_cast<qm::TNodeId>(i), 0);
    s.Move(0, 2);
    std::vector<qm::TNodeId> ids;
    for (int i = 0; i < s.Count(); ++i) ids.push_back(s.Items(i).Topic);
    EXPECT_EQ(ids, (std::vector<qm::TNodeId>{2, 3, 1, 4}));
    EXPECT_THROW(s.Move(0, 4), qm::Error);

    qm::TBrowseSequences seqs;
    seqs.Add().Name = "FAQ";
    EXPECT_EQ(seqs.IndexOf(" faq "), 0);
    EXPECT_EQ(seqs.IndexOf("fa"), -1);
}

}  // namespace
