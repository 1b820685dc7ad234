// Where imported links and macro arguments lead: context strings and aliases
// become the names of the records made for them, in every tag and macro list.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "import/importlinks.h"
#include "model/macros.h"
#include "util/fileio.h"
#include "util/textfile.h"

namespace qm {
namespace {

// Records main_index, a_b, a_b_1 and Intro; the pages' context strings
// main_index, "a.b" (renamed a_b), "a_b" (renamed a_b_1 as a_b was taken)
// and the anchor Intro_step; the aliases HIDR_MAINFRAME and STEP.
class LeadsTest : public ::testing::Test {
protected:
    LeadsTest() {
        for (const char* name : {"main_index", "a_b", "a_b_1", "Intro"}) {
            records_.push_back(std::make_unique<TTopicNode>());
            records_.back()->SetName(name);
        }
        contexts_.Add("main_index", "main_index");
        contexts_.Add("a.b", "a_b");
        contexts_.Add("a_b", "a_b_1");
        contexts_.Add("Intro", "Intro");
        contexts_.Add("Intro_step", "Intro:step");
        contexts_.Add("HIDR_MAINFRAME", "main_index");
        contexts_.Add("STEP", "Intro:step");
    }
    TContextMap contexts_;
    std::vector<std::unique_ptr<TTopicNode>> records_;
};

TEST_F(LeadsTest, MacroArgumentsThatNameATopicOfThisHelpFileAreLed) {
    const TTopicLeads leads(contexts_, records_, "Pegasus.hlp");
    const struct {
        const char* name;
        const char* macros;
        const char* led;
    } cases[] = {
        {"short jump", "JI(`',`HIDR_MAINFRAME')", "JI(`',`main_index')"},
        {"long jump, renamed page", "JumpId(\"\", \"a.b\")", "JumpId(\"\", \"a_b\")"},
        {"any case of the name", "jumpid(\"\", \"hidr_mainframe\")", "jumpid(\"\", \"main_index\")"},
        {"own file with a window", "JumpId(\"pegasus.hlp>proc\", \"HIDR_MAINFRAME\")",
         "JumpId(\"pegasus.hlp>proc\", \"main_index\")"},
        {"own file as the import escapes the window", "JI(`PEGASUS.HLP&rt;proc', `HIDR_MAINFRAME')",
         "JI(`PEGASUS.HLP&rt;proc', `main_index')"},
        {"own file in a folder", "JI(`..\\HELP\\PEGASUS.HLP', `a.b')", "JI(`..\\HELP\\PEGASUS.HLP', `a_b')"},
        {"the variable of the running file", "PI(qchPath, `HIDR_MAINFRAME')", "PI(qchPath, `main_index')"},
        {"popup to an anchor through an alias", "PopupId(`', `STEP')", "PopupId(`', `Intro_step')"},
        {"keyword links", "KLink(`printing', 0, `HIDR_MAINFRAME'):ALink(\"x\", 1, \"a.b\", \"main\")",
         "KLink(`printing', 0, `main_index'):ALink(\"x\", 1, \"a_b\", \"main\")"},
        {"programs' fallback topics",
         "ExecFile(\"notepad\", \"\", 1, \"a.b\");SE(\"x.txt\", \"\", 1, \"\", \"\", \"a.b\")",
         "ExecFile(\"notepad\", \"\", 1, \"a_b\");SE(\"x.txt\", \"\", 1, \"\", \"\", \"a_b\")"},
        {"a button's binding", "CB(\"btn\", \"&Up\", \"JI(`', `HIDR_MAINFRAME')\")",
         "CB(\"btn\", \"&Up\", \"JI(`', `main_index')\")"},
        {"both branches", "IfThenElse(IsMark(\"m\"), `JI(`',`HIDR_MAINFRAME')', `PI(`',`a.b')')",
         "IfThenElse(IsMark(\"m\"), `JI(`',`main_index')', `PI(`',`a_b')')"},
        {"two calls", "JI(`',`a.b'); JI(`',`HIDR_MAINFRAME')", "JI(`',`a_b'); JI(`',`main_index')"},
        // What must stay as written.
        {"another help file's topic", "JI(`other.hlp', `HIDR_MAINFRAME')", "JI(`other.hlp', `HIDR_MAINFRAME')"},
        {"a record's own name", "JI(`', `a_b')", "JI(`', `a_b')"},
        {"an unknown context string", "JI(`', `nowhere')", "JI(`', `nowhere')"},
        {"an argument that names no topic", "JumpId(`HIDR_MAINFRAME', `x')", "JumpId(`HIDR_MAINFRAME', `x')"},
        {"a macro without topics", "CloseWindow(`HIDR_MAINFRAME')", "CloseWindow(`HIDR_MAINFRAME')"},
        {"an unclosed call", "JI(`',`HIDR_MAINFRAME'", "JI(`',`HIDR_MAINFRAME'"},
        {"an unclosed string", "JI(`',`a.b');JI(`',`HIDR_MAINFRAME)", "JI(`',`a.b');JI(`',`HIDR_MAINFRAME)"},
        {"text that is no call", "a.b", "a.b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(leads.LeadMacros(c.macros), c.led);
    }
}

// Bindings hold macros that hold bindings: followed some levels deep, and
// no deeper however deep a file nests them.
TEST_F(LeadsTest, NestedBindingsAreFollowedToALimit) {
    const TTopicLeads leads(contexts_, records_, "");
    const auto nest = [](int levels, const char* topic) {
        std::string m;
        for (int i = 0; i < levels; ++i) m += "IF(IsMark(`m'), `";
        m += std::string("JI(`',`") + topic + "')";
        for (int i = 0; i < levels; ++i) m += "')";
        return m;
    };
    const int deepest = TTopicLeads::kMaxMacroNesting - 1;
    EXPECT_EQ(leads.LeadMacros(nest(deepest, "a.b")), nest(deepest, "a_b"));
    EXPECT_EQ(leads.LeadMacros(nest(deepest + 1, "a.b")), nest(deepest + 1, "a.b"));
    const std::string hostile = nest(100000, "a.b");
    EXPECT_EQ(leads.LeadMacros(hostile), hostile);
}

TEST_F(LeadsTest, WithoutAHelpFileNameOnlyTheRunningFileIsOwn) {
    const TTopicLeads leads(contexts_, records_, "");
    EXPECT_TRUE(leads.IsOwnHelpFile(""));
    EXPECT_TRUE(leads.IsOwnHelpFile(" qchpath "));
    EXPECT_FALSE(leads.IsOwnHelpFile("pegasus.hlp"));
    EXPECT_EQ(leads.LeadMacros("JI(`x.hlp', `a.b')"), "JI(`x.hlp', `a.b')");
}

TEST_F(LeadsTest, TagsAndEntryMacrosOfTheRecordsAreLed) {
    const TTopicLeads leads(contexts_, records_, "Pegasus.hlp");
    TTopicNode& r = *records_[3];
    r.Text =
        "{\\rtf1 \\pard <LINK TOPIC=\"HIDR_MAINFRAME\">home</LINK>, <LINK POPUP=\"a.b:term\">term</LINK>, "
        "<ULINK TOPIC=\"STEP\">step</ULINK>, <LINK TOPIC=\"HIDR_MAINFRAME\" FILE=other.hlp>there</LINK>, "
        "<LINK TOPIC=\"a_b\">kept</LINK>, <MACRO JI(`',`HIDR_MAINFRAME')>run</MACRO>, "
        "<UMACRO PI(`',`a.b')>pop</UMACRO>, <BTN JI(`',`a.b')>Go</BTN>, "
        "<LINK TOPIC=\"{\\b HIDR}_MAINFRAME\">bold</LINK>\\par}";
    r.Macros = {"JI(`',`HIDR_MAINFRAME')", "BrowseButtons()"};
    leads.LeadRecords(records_);
    EXPECT_EQ(r.Text,
              "{\\rtf1 \\pard <LINK TOPIC=\"main_index\">home</LINK>, <LINK POPUP=\"a_b:term\">term</LINK>, "
              "<ULINK TOPIC=\"Intro:step\">step</ULINK>, <LINK TOPIC=\"HIDR_MAINFRAME\" FILE=other.hlp>there</LINK>, "
              "<LINK TOPIC=\"a_b\">kept</LINK>, <MACRO JI(`',`main_index')>run</MACRO>, "
              "<UMACRO PI(`',`a_b')>pop</UMACRO>, <BTN JI(`',`a_b')>Go</BTN>, "
              "<LINK TOPIC=\"{\\b HIDR}_MAINFRAME\">bold</LINK>\\par}");
    EXPECT_EQ(r.Macros, (StringList{"JI(`',`main_index')", "BrowseButtons()"}));
    // A second run finds nothing more to do.
    const std::string once = r.Text;
    leads.LeadRecords(records_);
    EXPECT_EQ(r.Text, once);
}

// The table of macros agrees with the catalogue the program ships: every
// parameter it calls topic-ID, and every one that holds macros.
TEST(TopicMacroArgs, AgreeWithTheShippedCatalogue) {
    const std::string catalogue =
        (std::filesystem::path(QM_TEST_DATA_DIR).parent_path().parent_path() / "data" / "macros.cfg").string();
    int withTopics = 0;
    for (const std::string& line : SplitLines(ReadWholeFile(catalogue))) {
        TMacroInfo info;
        if (!ParseMacroLine(line, info)) continue;
        SCOPED_TRACE(info.Name);
        std::map<int, TMacroArgKind> expected;
        for (int k = 0; k < info.ParamCount; ++k) {
            const std::string& p = info.Params[static_cast<std::size_t>(k)];
            if (p == "topic-ID") expected.emplace(k, TMacroArgKind::Topic);
            if (p == "macro" || p == "macro1" || p == "macro2" || (p.size() > 6 && p.substr(p.size() - 6) == "-macro"))
                expected.emplace(k, TMacroArgKind::Macro);
        }
        const TMacroArgs* args = TopicMacroArgs(info.Name);
        std::map<int, TMacroArgKind> actual;
        if (args)
            for (const TMacroArg& a : args->Args) actual.emplace(a.Index, a.Kind);
        EXPECT_EQ(actual, expected);
        if (!expected.empty()) ++withTopics;
    }
    EXPECT_GE(withTopics, 15);
    // The help file the topics are in: the first argument where the
    // catalogue names one for them, none where the topic is the running
    // file's fallback.
    const struct {
        const char* name;
        int fileArg;
    } files[] = {{"JumpId", 0},        {"JI", 0},     {"PopupId", 0},  {"PI", 0}, {"UpdateWindow", 0},
                 {"ShellExecute", -1}, {"KLink", -1}, {"ExecFile", -1}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        ASSERT_NE(TopicMacroArgs(f.name), nullptr);
        EXPECT_EQ(TopicMacroArgs(f.name)->FileArg, f.fileArg);
    }
}

}  // namespace
}  // namespace qm
