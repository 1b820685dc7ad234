// The steps of the RTF import: footnotes, anchors, brackets, pages, codes and
// hotspots, and the records made from the pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/importobjects.h"
#include "import/importrtf.h"
#include "preprocess/buildchecks.h"
#include "preprocess/tagtext.h"
#include "richtext/richdoc.h"
#include "test_import_util.h"
#include "util/errors.h"
#include "util/fileio.h"

namespace qm {
namespace {

using qmtest::TagsOf;

// ---------------------------------------------------------------------------
// Footnotes

struct ValueCase {
    const char* contents;  // after "\footnote"
    char mark;
    const char* value;
};

class FootnoteValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(FootnoteValueTest, ReadsTheValue) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(FootnoteValue(c.contents, c.mark), c.value) << c.contents;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FootnoteValueTest,
    ::testing::Values(
        // Hand-written help RTF and what the build writes.
        ValueCase{" Intro", '#', "Intro"}, ValueCase{" Keyboard;Keys", 'K', "Keyboard;Keys"},
        // Word repeats the mark in a group of its own, or as plain text.
        ValueCase{" \\pard\\plain \\s245 \\f3\\fs20 {\\fs16\\up6 K} printing and print preview", 'K',
                  "printing and print preview"},
        ValueCase{" \\pard\\plain \\sl240 \\f3\\fs20\\lang1033 # HID_FILE_PRINT", '#', "HID_FILE_PRINT"},
        ValueCase{" \\pard\\plain {\\cs16\\super $}Title", '$', "Title"},
        // A line end and a paragraph mark inside the footnote do not count.
        ValueCase{" \\pard {\\fs16\\up6 #} AFX_HIDP_default\r\n\\par ", '#', "AFX_HIDP_default"},
        // Formatting inside the value keeps all of its text.
        ValueCase{" {\\up6 K} alpha;{\\b beta}", 'K', "alpha;beta"},
        // The mark only goes when it stands alone: "Keyboard" keeps its K.
        ValueCase{" Keyboard", 'K', "Keyboard"}, ValueCase{" \\{x\\}", '$', "{x}"}, ValueCase{"", '#', ""}));

TEST(ExtractFootnotes, FillsOneRecordPerPageAndRemovesTheFootnotes) {
    std::string text =
        "{\\rtf1 {\\fs16\\up6 #{\\footnote \\pard {\\fs16\\up6 #} One}}{\\fs16\\up6 ${\\footnote {\\fs16\\up6 $} "
        "First}}Body one\\par\\page #{\\footnote Two}K{\\footnote a;b}K{\\footnote c}+{\\footnote seq:2}"
        "!{\\footnote M()}*{\\footnote tag}>{\\footnote win}A{\\footnote ak}Body two\\par}";
    TFootnotesList notes;
    EXPECT_EQ(ExtractFootnotes(text, notes), 2);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].ID, "One");
    EXPECT_EQ(notes[0].Title, "First");
    EXPECT_EQ(notes[1].ID, "Two");
    // A second K footnote adds to the keywords.
    EXPECT_EQ(notes[1].Keywords, "a;b;c");
    EXPECT_EQ(notes[1].Browse, "seq:2");
    EXPECT_EQ(notes[1].Macros, "M()");
    EXPECT_EQ(notes[1].BuildTags, "tag");
    EXPECT_EQ(notes[1].Window, "win");
    EXPECT_EQ(notes[1].AKeywords, "ak");
    EXPECT_EQ(text, "{\\rtf1 {\\fs16\\up6 }{\\fs16\\up6 }Body one\\par\\page Body two\\par}");
}

TEST(ExtractFootnotes, FindsTheMarkInItsOwnGroupAndAcrossALineBreak) {
    // {\super #}{\footnote ...} and "#" CR LF "{\footnote": both name the page.
    std::string text = "{\\rtf1 {\\super #}{\\footnote {\\super #} A}x\\page #\r\n{\\footnote B}y}";
    TFootnotesList notes;
    ExtractFootnotes(text, notes);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].ID, "A");
    EXPECT_EQ(notes[1].ID, "B");
    EXPECT_EQ(text, "{\\rtf1 {\\super }x\\page \r\ny}");
}

TEST(ExtractFootnotes, KeepsFurtherIdFootnotesAndDropsOthersWithoutOurMark) {
    std::string text = "{\\rtf1 #{\\footnote A}#{\\footnote A_x}\\chftn{\\footnote note}@{\\footnote c}t}";
    TFootnotesList notes;
    ExtractFootnotes(text, notes);
    EXPECT_EQ(notes[0].ID, "A");
    EXPECT_EQ(text, "{\\rtf1 #{\\footnote A_x}\\chftn t}");
}

TEST(ExtractFootnotes, CountsPagesByWholeControlWord) {
    // \pagebb is a paragraph property, an escaped backslash is text, and a
    // \page inside the style sheet breaks no page.
    std::string text = "{\\rtf1{\\stylesheet{\\page x;}}\\pagebb a\\\\page b\\page c}";
    TFootnotesList notes;
    EXPECT_EQ(ExtractFootnotes(text, notes), 2);
}

TEST(ConvertAnchorFootnotes, LeavesOnlyTheAnchorOfThePagesOwnName) {
    std::string text = "{\\rtf1 a#{\\footnote Intro_step_1}b#{\\footnote Alias}c\\page d#{\\footnote Intro_x}}";
    TFootnotesList notes(2);
    notes[0].ID = "Intro";
    notes[1].ID = "Other";
    ConvertAnchorFootnotes(text, notes);
    EXPECT_EQ(text, "{\\rtf1 a<ANCHOR \"step_1\">b<ANCHOR \"Alias\">c\\page d<ANCHOR \"Intro_x\">}");
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(notes[0].Anchors, (std::vector<Pair>{{"Intro_step_1", "step_1"}, {"Alias", "Alias"}}));
    EXPECT_EQ(notes[1].Anchors, (std::vector<Pair>{{"Intro_x", "Intro_x"}}));
}

TEST(ConvertAnchorFootnotes, KeepsTheGroupOfAMarkInItsOwnGroup) {
    std::string text = "{\\rtf1 {\\super #}{\\footnote {\\super #} A_x}b}";
    TFootnotesList notes(1);
    notes[0].ID = "A";
    ConvertAnchorFootnotes(text, notes);
    EXPECT_EQ(text, "{\\rtf1 {\\super <ANCHOR \"x\">}b}");
}

TEST(EscapeLiteralBrackets, EscapesTextButNotTablesOrFootnotes) {
    std::string text = "{\\rtf1{\\fonttbl{\\f0 A<B>;}}{\\*\\x <y>}1 < 2 > 0 \\'3c\\'3E \\u60 ?x{\\b <b>}}";
    EscapeLiteralBrackets(text);
    EXPECT_EQ(text, "{\\rtf1{\\fonttbl{\\f0 A<B>;}}{\\*\\x <y>}1 &lt; 2 &rt; 0 &lt;&rt; &lt;x{\\b &lt;b&rt;}}");
}

// ---------------------------------------------------------------------------
// Pages

const char* const kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";

TEST(SplitPages, HeaderIsTheRunOfControlWordsAfterViewkind) {
    const std::string text = std::string(kHeader) + "One\\par\r\n";
    EXPECT_EQ(PageHeaderLength(text), std::string(kHeader).size());
    // A run that ends at the first text character.
    EXPECT_EQ(PageHeaderLength("{\\rtf1\\viewkind4\\uc1\\b\\'e9}"), std::string("{\\rtf1\\viewkind4\\uc1\\b").size());
    EXPECT_EQ(PageHeaderLength("{\\rtf1 no header}"), 0u);
}

TEST(SplitPages, CutsAtEachPageAndDropsTheBlankAfterIt) {
    const std::string text = std::string(kHeader) + "One\\par\r\n\\page Two\\par\r\n\\page\\b Three\\par\r\n}  ";
    StringList pages;
    int count = 3;  // carried over from earlier files
    EXPECT_EQ(SplitPages(text, pages, count), 3);
    EXPECT_EQ(count, 6);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], std::string(kHeader) + "One\\par\r\n}");
    EXPECT_EQ(pages[1], std::string(kHeader) + "Two\\par\r\n}");
    EXPECT_EQ(pages[2], std::string(kHeader) + "\\b Three\\par\r\n}");
    // Each page reads as its own text.
    EXPECT_EQ(WritePlainText(ReadRtf(pages[1])), "Two");
}

TEST(SplitPages, TextWithoutPageIsOnePage) {
    const std::string text = std::string(kHeader) + "Only\\par\r\n}";
    StringList pages;
    int count = 0;
    EXPECT_EQ(SplitPages(text, pages, count), 1);
    EXPECT_EQ(pages, (StringList{text}));
}

TEST(SplitPages, AnEscapedBackslashBeforePageIsText) {
    const std::string text = std::string(kHeader) + "a\\\\page b\\par\r\n}";
    StringList pages;
    int count = 0;
    EXPECT_EQ(SplitPages(text, pages, count), 1);
}

// ---------------------------------------------------------------------------
// Codes and hotspots

struct TagCase {
    const char* name;
    const char* rtf;
    const char* expected;
};

class RtfToTagsTest : public ::testing::TestWithParam<TagCase> {};

TEST_P(RtfToTagsTest, Converts) {
    std::string text = GetParam().rtf;
    RtfToTags(text);
    EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, RtfToTagsTest,
    ::testing::Values(
        // The file name is kept as written, case and digits included.
        TagCase{"Bitmap", "a \\{bmc photo1.bmp\\} b", "a <IMAGEC \"photo1.bmp\"> b"},
        TagCase{"BitmapLeftWithFolder", "\\{bml hlp\\\\scmenu.bmp\\}", "<IMAGEL \"hlp\\\\scmenu.bmp\">"},
        TagCase{"BitmapRightTransparent", "\\{bmrt Pic.BMP\\}", "<IMAGER \"Pic.BMP\">"},
        TagCase{"NotABitmap", "\\{bmx a.bmp\\}", "\\{bmx a.bmp\\}"},
        TagCase{"Button", "\\{button Close, CloseWindow(`main')\\}", "<BTN CloseWindow(`main')>Close</BTN>"},
        // Without the blank after the comma the macro keeps its first letter.
        TagCase{"ButtonNoBlank", "\\{button Go,JumpId(`a')\\}", "<BTN JumpId(`a')>Go</BTN>"},
        TagCase{"Sound", "\\{mci PLAY ,ding.wav\\}", "<SOUND \"ding.wav\">"},
        TagCase{"SoundExternal", "\\{mci PLAY EXTERNAL ,ding.wav\\}", "<SOUND External \"ding.wav\">"},
        // PLAY is a word of its own, not a part of NOPLAYBAR.
        TagCase{"VideoNoPlaybar", "\\{mci NOPLAYBAR,clip.avi\\}", "<VIDEO Menu \"clip.avi\">"},
        TagCase{"VideoAll", "\\{mci EXTERNAL NOPLAYBAR NOMENU REPEAT PLAY ,clip.AVI\\}",
                "<VIDEO External Repeat Play \"clip.AVI\">"},
        TagCase{"VideoDefaults", "\\{mci ,clip.avi\\}", "<VIDEO Menu Playbar \"clip.avi\">"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Hotspots, RtfToTagsTest,
    ::testing::Values(
        TagCase{"TopicLink", "see \\uldb Intro\\ulnone\\v Intro\\v0 now",
                "see \\ulnone <LINK TOPIC=\"Intro\">Intro</LINK>now"},
        TagCase{"PopupLink", "a \\ul term\\ulnone\\v Def\\v0 b", "a \\ulnone <LINK POPUP=\"Def\">term</LINK>b"},
        // Only % ! and * are skipped: the context may start with a digit.
        TagCase{"UserLink", "\\uldb x\\ulnone\\v %1stTopic\\v0 ", "\\ulnone <ULINK TOPIC=\"1stTopic\">x</ULINK>"},
        TagCase{"StarLink", "\\uldb x\\ulnone\\v *Topic\\v0 ", "\\ulnone <LINK TOPIC=\"Topic\">x</LINK>"},
        TagCase{"WindowThenFile", "\\uldb x\\ulnone\\v %T>win@c:\\\\h\\\\a b.hlp\\v0 ",
                "\\ulnone <ULINK TOPIC=\"T\" WINDOW=win FILE=c:\\\\h\\\\a b.hlp>x</ULINK>"},
        TagCase{"FileThenWindow", "\\uldb x\\ulnone\\v T@other.hlp>win\\v0 ",
                "\\ulnone <LINK TOPIC=\"T\" WINDOW=win FILE=other.hlp>x</LINK>"},
        TagCase{"PopupFile", "\\ul x\\ulnone\\v T@other.hlp\\v0 ",
                "\\ulnone <LINK POPUP=\"T\" FILE=other.hlp>x</LINK>"},
        // The window of a popup means nothing and is dropped.
        TagCase{"PopupWindow", "\\ul x\\ulnone\\v T>win\\v0 ", "\\ulnone <LINK POPUP=\"T\">x</LINK>"},
        // The escaped ">" of the text stands in for the window separator.
        TagCase{"EscapedWindow", "\\uldb x\\ulnone\\v T&rt;win\\v0 ", "\\ulnone <LINK TOPIC=\"T\" WINDOW=win>x</LINK>"},
        TagCase{"Macro", "\\uldb Run\\ulnone\\v !Exec(\"a&rt;b\")\\v0 ",
                "\\ulnone <MACRO Exec(\"a&rt;b\")>Run</MACRO>"},
        TagCase{"UserMacro", "\\uldb Run\\ulnone\\v %! M()\\v0 ", "\\ulnone <UMACRO M()>Run</UMACRO>"},
        // Formatting switched inside the run still holds after it.
        TagCase{"KeepsFormatting", "\\uldb a\\f1\\ulnone\\v T\\f0\\v0 b",
                "\\ulnone <LINK TOPIC=\"T\">a</LINK>\\f1\\f0 b"},
        // Hidden text that is itself underlined, as word processors write it.
        TagCase{"UnderlinedHidden", "\\uldb Go\\v T\\v0\\tab\\ulnone x",
                "\\ulnone <LINK TOPIC=\"T\">Go</LINK>\\tab\\ulnone x"},
        // The start is found before \ulnone (which holds "\ul" as text).
        TagCase{"TwoLinks", "\\uldb a\\ulnone\\v A\\v0 , \\ul b\\ulnone\\v B\\v0 .",
                "\\ulnone <LINK TOPIC=\"A\">a</LINK>, \\ulnone <LINK POPUP=\"B\">b</LINK>."},
        // Hidden text without an underlined hotspot, or a \ulw, stays.
        TagCase{"PlainHidden", "a\\v hidden\\v0 b", "a\\v hidden\\v0 b"},
        TagCase{"WholeWordOnly", "\\ulw a\\ulnone\\v T\\v0 ", "\\ulw a\\ulnone\\v T\\v0 "},
        TagCase{"HotspotText", "\\uldb 1 \\{x\\}\\ulnone\\v T\\v0 ", "\\ulnone <LINK TOPIC=\"T\">1 \\{x\\}</LINK>"},
        // An image hotspot: the bitmap pass runs first.
        TagCase{"ImageHotspot", "\\uldb \\{bmc pic.bmp\\}\\ulnone\\v T\\v0 ",
                "\\ulnone <LINK TOPIC=\"T\"><IMAGEC \"pic.bmp\"></LINK>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfToTags, AnchorContextsBecomeTopicAndAnchor) {
    TContextMap contexts;
    contexts.Add("Intro", "Intro");
    contexts.Add("Intro_step_1", "Intro:step_1");
    contexts.Add("old.name", "NewTopic1");
    std::string text =
        "\\uldb a\\ulnone\\v intro_STEP_1\\v0 \\ul b\\ulnone\\v Intro_step_1\\v0 \\uldb c\\ulnone\\v old.name\\v0 "
        "\\uldb d\\ulnone\\v Intro_step_1@x.hlp\\v0 ";
    RtfToTags(text, &contexts);
    EXPECT_EQ(TagsOf(text),
              (std::vector<std::string>{"<LINK TOPIC=\"Intro:step_1\">", "</LINK>", "<LINK POPUP=\"Intro:step_1\">",
                                        "</LINK>", "<LINK TOPIC=\"NewTopic1\">", "</LINK>",
                                        // A context in another help file is never mapped.
                                        "<LINK TOPIC=\"Intro_step_1\" FILE=x.hlp>", "</LINK>"}));
}

// ---------------------------------------------------------------------------
// Records

StringList Pages(std::size_t n) {
    StringList pages;
    for (std::size_t i = 0; i < n; ++i) pages.push_back(std::string(kHeader) + "p" + std::to_string(i) + "\\par\r\n}");
    return pages;
}

TFootnotesList Notes(const std::vector<std::string>& ids) {
    TFootnotesList notes(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) notes[i].ID = ids[i];
    return notes;
}

std::vector<std::string> Names(const std::vector<std::unique_ptr<TTopicNode>>& list) {
    std::vector<std::string> out;
    for (const auto& n : list) out.push_back(n->GetName());
    return out;
}

TEST(CreateImportedTopics, MakesNamesUnique) {
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(2, Pages(2), Notes({"Intro", "Intro"}), nullptr, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Intro", "Intro_1"}));

    TProject project;
    project.Topics.AddNew().SetName("intro");
    list.clear();
    CreateImportedTopics(2, Pages(2), Notes({"Intro", "INTRO"}), &project, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Intro_1", "INTRO_2"}));

    // Many pages of one name: each takes the next free suffix.
    list.clear();
    CreateImportedTopics(3000, Pages(3000), Notes(std::vector<std::string>(3000, "Same")), nullptr, list);
    ASSERT_EQ(list.size(), 3000u);
    EXPECT_EQ(list[1]->GetName(), "Same_1");
    EXPECT_EQ(list.back()->GetName(), "Same_2999");
}

TEST(CreateImportedTopics, EmptyNamesBecomeNewTopicNamesAndInvalidOnesKeepTheirShape) {
    TProject project;
    project.Topics.AddNew().SetName("NewTopic1");
    project.Topics.AddNew().SetName("a_b");
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(6, Pages(6), Notes({"", "..\\..\\evil", "a b", "ok", "menu-file", "Open (File/Save)"}),
                         &project, list);
    // Each character a name cannot hold becomes "_"; the name is then made
    // unique. None of them can leave a folder.
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"NewTopic2", "______evil", "a_b_1", "ok", "menu_file", "Open__File_Save_"}));
}

// Windows keeps these names for its devices: a module named so has no work
// file, and the build would refuse the whole project.
TEST(CreateImportedTopics, DeviceNamesGetAnUnderscoreAndTheirLinksFollow) {
    StringList pages = Pages(5);
    pages[4] = std::string(kHeader) + "\\uldb to nul\\ulnone\\v NUL\\v0 \\uldb to com\\ulnone\\v Com3\\v0 \\par\r\n}";
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(5, pages, Notes({"NUL", "Com3", "lpt9", "nul", "CONSOLE"}), nullptr, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"NUL_", "Com3_", "lpt9_", "nul__1", "CONSOLE"}));
    EXPECT_EQ(TagsOf(list[4]->Text), (std::vector<std::string>{"<LINK TOPIC=\"NUL_\">", "</LINK>",
                                                               "<LINK TOPIC=\"Com3_\">", "</LINK>"}));
    TProject project;
    for (auto& node : list) project.Topics.AddNode(std::move(node));
    EXPECT_NO_THROW(CheckModuleFileNames(project));
}

TEST(CreateImportedTopics, UniquenessIsTestedOnTheCutName) {
    // Cut so that the build can write "<name>.rtf" (255 bytes a file name).
    const std::string longId(300, 'a');
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(2, Pages(2), Notes({longId, longId}), nullptr, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->GetName(), std::string(251, 'a'));
    EXPECT_EQ(list[1]->GetName(), std::string(249, 'a') + "_1");
}

TEST(CreateImportedTopics, LongNamesStayUsableAsFileNames) {
    // "\xE9" takes two bytes of a file name where names are UTF-8.
    const std::vector<std::string> ids = {std::string(300, '\xE9'), std::string(300, '\xE9'),
                                          std::string(100, 'a') + std::string(200, '-')};
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(3, Pages(3), Notes(ids), nullptr, list);
    ASSERT_EQ(list.size(), 3u);
    TProject project;
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string name = list[i]->GetName();
        const auto fileBytes = [](const std::string& n) { return ToFsPath(n + ".rtf").native().size(); };
        EXPECT_LE(fileBytes(name), 255u);
        // As long as fits: one character more would not.
        const std::string base = i == 1 ? name.substr(0, name.size() - 2) : name;
        EXPECT_GT(fileBytes(base + ids[i][0] + (i == 1 ? "_1" : "")), 255u) << name.size();
        project.Topics.AddNode(std::move(list[i]));
    }
    EXPECT_NO_THROW(CheckModuleFileNames(project));
}

TEST(CreateImportedTopics, ContextNumbersSkipThoseOfTheProject) {
    TProject project;
    project.Topics.AddNew().ContextId = 5;
    project.Topics.AddNew().ContextId = 15;
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(3, Pages(3), Notes({"a", "b", "c"}), &project, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->ContextId, 10);
    EXPECT_EQ(list[1]->ContextId, 20);
    EXPECT_EQ(list[2]->ContextId, 25);
}

TEST(CreateImportedTopics, TakesTheFootnotes) {
    TFootnotesList notes(2);
    notes[0].ID = "A";
    notes[0].Title = std::string(300, 't');
    notes[0].Keywords = "one; two;;three";
    notes[0].AKeywords = "ak";
    notes[0].Macros = "M1();M2()";
    notes[0].Browse = "seq:010";
    notes[0].BuildTags = "DEMO";
    notes[0].Window = "proc4";
    notes[1].ID = "B";
    std::vector<std::unique_ptr<TTopicNode>> list;
    StringList pages = Pages(2);
    pages[0] = std::string(kHeader) + "\\pard\\keepn\\b Head\\par\r\n\\keepn b\\par\r\n}";
    CreateImportedTopics(2, pages, notes, nullptr, list);
    ASSERT_EQ(list.size(), 2u);
    const TTopicNode& a = *list[0];
    EXPECT_EQ(a.GetTitle(), std::string(255, 't'));
    EXPECT_EQ(a.Keywords, (StringList{"one", "two", "three"}));
    EXPECT_EQ(a.AKeywords, (StringList{"ak"}));
    EXPECT_EQ(a.Macros, (StringList{"M1()", "M2()"}));
    EXPECT_EQ(a.GetBrowse(), "seq:010");
    EXPECT_EQ(a.GetBuildTag(), "DEMO");
    EXPECT_EQ(a.GetWindow(), "proc4");
    EXPECT_TRUE(a.IsTopic());
    // Only the first \keepn goes.
    EXPECT_EQ(a.Text, std::string(kHeader) + "\\pard\\b Head\\par\r\n\\keepn b\\par\r\n}");
    // No window footnote keeps "main"; no title footnote gives no title.
    EXPECT_EQ(list[1]->GetWindow(), "main");
    EXPECT_EQ(list[1]->GetTitle(), "");
}

// Handing the pages over makes the same records, page texts moved in.
TEST(CreateImportedTopics, PagesHandedOverMakeTheSameRecords) {
    StringList pages = Pages(3);
    pages[1] = std::string(kHeader) + "\\pard\\keepn\\b Head\\par\r\n\\uldb see\\ulnone\\v c\\v0 \\par\r\n}";
    const TFootnotesList notes = Notes({"a", "b", "c"});
    std::vector<std::unique_ptr<TTopicNode>> copied, moved;
    CreateImportedTopics(3, pages, notes, nullptr, copied);
    StringList handed = pages;
    CreateImportedTopics(3, std::move(handed), notes, nullptr, moved);
    EXPECT_TRUE(handed.empty());
    ASSERT_EQ(moved.size(), copied.size());
    for (std::size_t i = 0; i < moved.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(moved[i]->GetName(), copied[i]->GetName());
        EXPECT_EQ(moved[i]->ContextId, copied[i]->ContextId);
        EXPECT_EQ(moved[i]->Text, copied[i]->Text);
    }
    EXPECT_NE(moved[1]->Text.find("<LINK TOPIC=\"c\">see</LINK>"), std::string::npos);
}

TEST(ConvertNoScrollRegion, WrapsTheLeadingParagraphsThatKeepWithTheNext) {
    const std::string head = "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}\r\n\\viewkind4\\uc1";
    struct Case {
        std::string in;
        std::string out;  // empty: no region
    };
    const std::vector<Case> cases = {
        // Two keepn paragraphs (the second with a format of its own), then text.
        {head + "\\pard\\keepn\\f0 T1\\par\r\n\\par\r\n\\pard\\keepn\\qc T2\\par\r\n\\pard B\\par\r\n}",
         head + "\\pard\\f0 <NOSCROLL>T1\\par\r\n\\par\r\n\\pard\\qc T2</NOSCROLL>\r\n\\pard B\\par\r\n}"},
        {head + "\\pard\\keepn\\f0 T\\par\r\n\\pard B\\par\r\n}",
         head + "\\pard\\f0 <NOSCROLL>T</NOSCROLL>\r\n\\pard B\\par\r\n}"},
        // The whole page keeps with the next.
        {head + "\\pard\\keepn\\f0 T\\par\r\n}", head + "\\pard\\f0 <NOSCROLL>T</NOSCROLL>\r\n}"},
        // No keepn in the first paragraph, or a keepn paragraph further down.
        {head + "\\pard\\f0 T\\par\r\n\\pard\\keepn B\\par\r\n}", ""},
        {"{\\rtf1 \\keepn x\\par}", ""},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(ConvertNoScrollRegion(text), !c.out.empty()) << c.in;
        EXPECT_EQ(text, c.out.empty() ? c.in : c.out);
    }
}

TEST(CreateImportedTopics, LinksFollowRenamedTopics) {
    StringList pages = Pages(3);
    pages[1] =
        std::string(kHeader) + "\\uldb go\\ulnone\\v menu.file\\v0 \\ul see\\ulnone\\v Open (File)\\v0 \\par\r\n}";
    // A table kept as raw RTF: its hotspot follows too.
    pages[2] = std::string(kHeader) +
               EscapeRtf(RawRtfTag("{\\trowd\\cellx99\\intbl{\\uldb x}{\\v MENU.FILE}\\cell\\row}")) + "\\par\r\n}";
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(3, pages, Notes({"menu.file", "b", "Open (File)"}), nullptr, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->GetName(), "menu_file");
    EXPECT_EQ(list[2]->GetName(), "Open__File_");
    EXPECT_EQ(TagsOf(list[1]->Text), (std::vector<std::string>{"<LINK TOPIC=\"menu_file\">", "</LINK>",
                                                               "<LINK POPUP=\"Open__File_\">", "</LINK>"}));
    EXPECT_EQ(TagsOf(list[2]->Text),
              std::vector<std::string>{
                  "<RTF \"{\\\\trowd\\\\cellx99\\\\intbl{\\\\uldb x}{\\\\v menu_file}\\\\cell\\\\row}\">"});
}

// ---------------------------------------------------------------------------
// The whole road for one file

TEST(ParseRtfFile, ReadsAWordStyleFile) {
    const std::string text = qmtest::ReadFileBytes(QM_TEST_DATA_DIR "/import/word.rtf");
    ASSERT_FALSE(text.empty());
    StringList pages;
    int count = 0;
    TFootnotesList notes;
    std::vector<int> progress;
    ParseRtfFile(text, pages, count, notes, [&](int p, int) { progress.push_back(p); });
    // The final \page leaves an empty page, which makes no topic.
    ASSERT_EQ(count, 3);
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(progress.back(), 75);
    EXPECT_EQ(notes[0].ID, "Intro");
    EXPECT_EQ(notes[0].Title, "Introduction <overview>");
    EXPECT_EQ(notes[0].Keywords, "start;overview");
    EXPECT_EQ(notes[0].Browse, "main:010");
    EXPECT_EQ(notes[1].ID, "Steps");
    EXPECT_EQ(notes[1].Keywords, "steps;getting started");
    EXPECT_EQ(notes[1].Window, "proc4");
    EXPECT_EQ(notes[2].ID, "Term");
    for (const std::string& page : pages) EXPECT_EQ(page.find("footnote"), std::string::npos) << page;

    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(count, pages, notes, nullptr, list);
    ASSERT_EQ(list.size(), 3u);
    // The title keeps with the next paragraph: the non-scrolling region.
    EXPECT_NE(StripRtf(list[0]->Text).find("<NOSCROLL><ANCHOR \"step_1\">Introduction</NOSCROLL>\r\nRead the"),
              std::string::npos);
    EXPECT_EQ(list[0]->Text.find("keepn"), std::string::npos);
    EXPECT_EQ(TagsOf(list[0]->Text),
              (std::vector<std::string>{"<NOSCROLL>", "<ANCHOR \"step_1\">", "</NOSCROLL>", "<LINK TOPIC=\"Steps\">",
                                        "</LINK>", "<LINK POPUP=\"Term\">", "</LINK>", "<IMAGEC \"Photo1.bmp\">"}));
    // The literal brackets of the text are escaped, not tags.
    EXPECT_NE(StripRtf(list[0]->Text).find("Values 1 &lt; 2 &rt; 0 stay text."), std::string::npos);
    EXPECT_EQ(TagsOf(list[1]->Text), (std::vector<std::string>{"<LINK TOPIC=\"Intro:step_1\">", "</LINK>",
                                                               "<BTN CloseWindow(`main')>", "</BTN>"}));
    // Later pages do not begin with the blank that followed \page.
    const std::string plain = WritePlainText(ReadRtf(list[2]->Text));
    EXPECT_EQ(plain.substr(0, 6), "A term");
}

TEST(ParseRtfFile, EachPageKeepsItsOwnFormatting) {
    // Page one begins with a bold title; page two with plain text, then a
    // title that keeps with the next paragraph and a centred one.
    const std::string text =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}\\pard\\plain #{\\footnote A}{\\b\\f1 Bold title}\\par "
        "Body one\\par\\page\\pard\\keepn #{\\footnote B}Second title\\par\\pard\\qc Centred\\par}";
    StringList pages;
    int count = 0;
    TFootnotesList notes;
    ParseRtfFile(text, pages, count, notes);
    ASSERT_EQ(count, 2);
    const RichDocument second = ReadRtf(pages[1]);
    ASSERT_EQ(second.paragraphs.size(), 2u);
    ASSERT_FALSE(second.paragraphs[0].runs().empty());
    EXPECT_FALSE(second.paragraphs[0].runs()[0].format.bold);
    EXPECT_EQ(second.paragraphs[0].runs()[0].format.font.face, "Arial");
    EXPECT_TRUE(second.paragraphs[0].format.keepWithNext);
    EXPECT_EQ(second.paragraphs[1].format.alignment, ParaAlignment::Center);
    std::vector<std::unique_ptr<TTopicNode>> list;
    CreateImportedTopics(count, pages, notes, nullptr, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(TagsOf(list[0]->Text), std::vector<std::string>{});
    EXPECT_EQ(WritePlainText(ReadRtf(list[1]->Text)), "<NOSCROLL>Second title</NOSCROLL>Centred");
}

TEST(ParseRtfFile, PageCountsThatDoNotMatchFail) {
    // The text after the document's closing brace is cut by its reader, but
    // it held a page with footnotes: they must not go to the wrong topics.
    StringList pages;
    int count = 0;
    TFootnotesList notes;
    try {
        ParseRtfFile("{\\rtf1 #{\\footnote A}a}\\page #{\\footnote B}b", pages, count, notes);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("could not be matched with their footnotes"), std::string::npos);
    }
    EXPECT_TRUE(pages.empty());
    EXPECT_TRUE(notes.empty());
}

TEST(ParseRtfFile, EmptyPagesBetweenTopicsMakeNone) {
    StringList pages;
    int count = 0;
    TFootnotesList notes;
    ParseRtfFile("{\\rtf1 \\page #{\\footnote A}a\\par\\page  \\par\\page #{\\footnote B}b\\page}", pages, count,
                 notes);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].ID, "A");
    EXPECT_EQ(notes[1].ID, "B");
    EXPECT_EQ(count, 2);
}

TEST(ParseRtfFile, AFileWithoutPageIsOneTopic) {
    StringList pages;
    int count = 0;
    TFootnotesList notes;
    ParseRtfFile("{\\rtf1 ${\\footnote T}body}", pages, count, notes);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(notes[0].Title, "T");
    EXPECT_EQ(WritePlainText(ReadRtf(pages[0])), "body");
}

}  // namespace
}  // namespace qm
