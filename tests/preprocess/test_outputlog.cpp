#include <gtest/gtest.h>

#include "model/topics.h"
#include "preprocess/outputlog.h"

namespace qm {
namespace {

TEST(OutputLog, CountsByKindAndCountSameByCodeTextAndModule) {
    TTopicNode intro, other;
    intro.SetName("Intro");
    other.SetName("Other");
    TOutputLog log;
    log.Add(0, 7, "<LINK>", intro, 1);
    log.Add(1, 7, "<LINK>", intro, 2);
    log.Add(0, 7, "<LINK>", other, 1);
    log.Add(0, 6, "<LINK>", intro, 1);
    EXPECT_EQ(log.ErrorCount(), 3);
    EXPECT_EQ(log.WarningCount(), 1);
    EXPECT_EQ(log.CountSame(7, "<LINK>", intro), 2);
    EXPECT_EQ(log.CountSame(7, "<link>", intro), 0);  // text compared exactly
    EXPECT_EQ(log.CountSame(7, "<LINK>", other), 1);
    EXPECT_EQ(log.CountSame(6, "<LINK>", other), 0);
    EXPECT_EQ(log.Entry(2).Topic, other.Id());
    log.Clear();
    EXPECT_EQ(log.Count(), 0);
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_EQ(log.WarningCount(), 0);
    EXPECT_EQ(log.CountSame(7, "<LINK>", intro), 0);
}

TEST(OutputLog, MessagesOfTheNineChecks) {
    const char* expected[] = {
        "Unresolved topic link in module Intro.",
        "Unresolved anchor in module Intro.",
        "Duplicate anchor in module Intro.",
        "Provided topic in a popup link in module Intro.",
        "Provided popup in a topic link in module Intro.",
        "Incomplete tag in module Intro.",
        "Unclosed tag in module Intro.",
        "Undefined window type in module Intro.",
        "Image not found in module Intro.",
    };
    for (int code = 1; code <= 9; ++code) {
        TError e;
        e.Code = code;
        e.TopicName = "Intro";
        EXPECT_EQ(e.Message(), expected[code - 1]);
    }
    EXPECT_EQ(PreprocessorMessage(0), "");
    EXPECT_EQ(PreprocessorMessage(10), "");
}

TEST(OutputLog, ShowLogWithoutFindings) {
    TOutputLog log;
    const std::vector<TLogRow> rows = log.ShowLog(12);
    const std::vector<TLogRow> expected = {
        {"QUILLMARK PREPROCESSOR", -1, -1},           {"Version 1.04", -1, -1},          {std::string(45, '-'), -1, -1},
        {"Processing time: 12 milliseconds", -1, -1}, {"0 errors, 0 warnings.", -1, -1},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(log.ShowLog(-1).size(), 4u);  // no time line
    EXPECT_EQ(log.ShowLog(-1)[3].Text, "0 errors, 0 warnings.");
}

TEST(OutputLog, ShowLogRowsPointAtTheirEntries) {
    TTopicNode intro;
    intro.SetName("Intro");
    TOutputLog log;
    log.Add(1, 7, "<BTN x>", intro, 1);
    log.Add(0, 1, "<LINK TOPIC=\"x\">", intro, 1);
    const std::vector<TLogRow> rows = log.ShowLog(-1);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[3], (TLogRow{"1 errors, 1 warnings.", -1, -1}));
    EXPECT_EQ(rows[4], (TLogRow{"", -1, -1}));
    EXPECT_EQ(rows[5], (TLogRow{"Warning : Unclosed tag in module Intro.", 3, 0}));
    EXPECT_EQ(rows[6], (TLogRow{"Error   : Unresolved topic link in module Intro.", 2, 1}));
}

}  // namespace
}  // namespace qm
