#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/macros.h"
#include "model/options.h"
#include "model/project.h"
#include "preprocess/edittags.h"
#include "util/cp1252.h"

namespace qm {
namespace {

// ============================================================================
// Tag at a place, tag editing and the member list
// ============================================================================

std::u16string U(std::string_view cp1252) { return Cp1252ToUtf16(cp1252); }

// The place of the first `marker` in `text`, for rows that name a place by
// the text at it.
int At(std::string_view text, std::string_view marker) { return static_cast<int>(text.find(marker)); }

struct ParseRow {
    const char* name;
    std::string text;
    int p;
    StringList parts;  // empty: not in a tag
    std::string inner = {};
    int startBegin = -1, startEnd = -1, endBegin = -1, endEnd = -1;
};

void CheckParse(const ParseRow& row, const TTagInfo& info) {
    EXPECT_EQ(info.Parts, row.parts);
    EXPECT_EQ(info.Count, static_cast<int>(row.parts.size()));
    if (row.parts.empty()) {
        // The empty result carries nothing of a half-found tag.
        EXPECT_EQ(info.StartTagBegin, -1);
        EXPECT_EQ(info.StartTagEnd, -1);
        EXPECT_EQ(info.EndTagBegin, -1);
        EXPECT_EQ(info.EndTagEnd, -1);
        EXPECT_EQ(info.InnerText, "");
        return;
    }
    EXPECT_EQ(info.InnerText, row.inner);
    EXPECT_EQ(info.StartTagBegin, row.startBegin);
    EXPECT_EQ(info.StartTagEnd, row.startEnd);
    EXPECT_EQ(info.EndTagBegin, row.endBegin);
    EXPECT_EQ(info.EndTagEnd, row.endEnd);
}

TEST(ParseTagAt, ThePartsOfTheTagAtAPlace) {
    const std::string link = R"(x <LINK TOPIC="Beta:anc:two" WINDOW=second FILE=my help.hlp>see Beta</LINK> y)";
    const StringList linkParts = {"LINK", "TOPIC", "Beta:anc:two", "WINDOW", "second", "FILE", "my help.hlp"};
    const int linkEnd = At(link, ">see");
    const int endTag = At(link, "</LINK>");
    const std::string image = R"(a<IMAGE "pic.bmp">b)";
    const ParseRow rows[] = {
        {"on the hotspot", link, At(link, "ee Beta"), linkParts, "see Beta", 2, linkEnd, endTag, endTag + 6},
        {"inside the end tag", link, endTag + 3, linkParts, "see Beta", 2, linkEnd, endTag, endTag + 6},
        {"on the end tag's >", link, endTag + 6, linkParts, "see Beta", 2, linkEnd, endTag, endTag + 6},
        {"just before the <", link, 2, linkParts, "see Beta", 2, linkEnd, endTag, endTag + 6},
        {"before the tag", link, 1, {}},
        {"after the end tag", link, endTag + 7, {}},
        {"single tag from < to >", image, 1, {"IMAGE", "pic.bmp"}, "", 1, 17},
        {"single tag on its >", image, 17, {"IMAGE", "pic.bmp"}, "", 1, 17},
        {"just after a single tag's >", image, 18, {}},
        {"two blanks before TOPIC: no keyword", R"(<LINK  TOPIC="a">x</LINK>)", 3, {"LINK"}, "x", 0, 16, 18, 24},
        {"lower case", R"(<link topic="intro">x</link>)", 1, {"LINK", "TOPIC", "intro"}, "x", 0, 19, 21, 27},
        {"user-defined popup link",
         R"(<ULINK POPUP="Note" FILE=x.hlp>n</ULINK>)",
         1,
         {"ULINK", "POPUP", "Note", "FILE", "x.hlp"},
         "n",
         0,
         30,
         32,
         39},
        {"a topic named like WINDOW= gives no window",
         R"(<LINK TOPIC="MainWindowHelp">m</LINK>)",
         1,
         {"LINK", "TOPIC", "MainWindowHelp"},
         "m",
         0,
         28,
         30,
         36},
        {"WINDOW= inside the value gives no window",
         R"(<LINK TOPIC="a WINDOW=b">m</LINK>)",
         1,
         {"LINK", "TOPIC", "a WINDOW=b"},
         "m",
         0,
         24,
         26,
         32},
        {"WINDOW= after FILE= is part of the file",
         R"(<LINK TOPIC="a" FILE=h.hlp WINDOW=w>m</LINK>)",
         1,
         {"LINK", "TOPIC", "a", "FILE", "h.hlp WINDOW=w"},
         "m",
         0,
         35,
         37,
         43},
        {"a window runs over letters, digits and _",
         R"(<LINK TOPIC="a" window=w_2.x>m</LINK>)",
         1,
         {"LINK", "TOPIC", "a", "WINDOW", "w_2"},
         "m",
         0,
         28,
         30,
         36},
        {"macro",
         R"(<MACRO JumpId("a.hlp", "b")>go</MACRO>)",
         1,
         {"MACRO", R"(JumpId("a.hlp", "b"))"},
         "go",
         0,
         27,
         30,
         37},
        {"user-defined macro", R"(<UMACRO About()>go</UMACRO>)", 1, {"UMACRO", "About()"}, "go", 0, 15, 18, 26},
        {"empty macro", R"(<MACRO >go</MACRO>)", 1, {"MACRO", ""}, "go", 0, 7, 10, 17},
        {"button", R"(<BTN About()>Caption</BTN>)", 20, {"BTN", "About()"}, "Caption", 0, 12, 20, 25},
        {"video flags in their order",
         R"(<VIDEO Playbar External Play "v.avi">)",
         0,
         {"VIDEO", "EXTERNAL", "PLAY", "PLAYBAR", "v.avi"},
         "",
         0,
         36},
        {"sound: the file is no flag",
         R"(<SOUND Play External "s.wav">)",
         0,
         {"SOUND", "EXTERNAL", "PLAY", "s.wav"},
         "",
         0,
         28},
        {"a flag needs blanks on both sides", R"(<VIDEO Play"v.avi">)", 0, {"VIDEO", "v.avi"}, "", 0, 18},
        {"anchor", R"(<ANCHOR "here">)", 3, {"ANCHOR", "here"}, "", 0, 14},
        {"raw RTF", R"(<RTF "\\par">)", 3, {"RTF", R"(\\par)"}, "", 0, 12},
        {"no name blank: the name takes the >", "a<NOSCROLL>b", 2, {"NOSCROLL>"}, "", 1, 10},
        {"end tag of a single name", "<NOSCROLL>b</NOSCROLL>", 14, {"NOSCROLL>"}, "b", 0, 9, 11, 21},
        {"image hotspot: the inner image",
         R"(<LINK TOPIC="a"><IMAGE "b.bmp"></LINK>)",
         20,
         {"IMAGE", "b.bmp"},
         "",
         16,
         30},
        {"image hotspot: the link",
         R"(<LINK TOPIC="a"><IMAGE "b.bmp"></LINK>)",
         3,
         {"LINK", "TOPIC", "a"},
         R"(<IMAGE "b.bmp">)",
         0,
         15,
         31,
         37},
        {"a paired tag without its end tag", R"(<LINK TOPIC="a">x)", 3, {}},
        {"an end tag past the first one", R"(<LINK TOPIC="a">x</LINK> y </LINK>)", 31, {}},
        {"an end tag with no start tag", "text </LINK>", 8, {}},
        // A start tag without its ">" before the next "<" or the end.
        {"typed image without >", R"(<IMAGE "a.bmp" and more text)", 3, {}},
        {"typed image before another tag", R"(<IMAGE "a.bmp" <ANCHOR "x">)", 3, {}},
        {"the later tag is still a tag", R"(<IMAGE "a.bmp" <ANCHOR "x">)", 20, {"ANCHOR", "x"}, "", 15, 26},
        {"an end tag without >", "<BTN x>c</BTN", 10, {}},
        // Every read stays inside the text.
        {"the end of the text", R"(ab<ANCHOR "x">)", 14, {}},
        {"past the end", R"(ab<ANCHOR "x">)", 99, {}},
        {"a negative place", R"(<ANCHOR "x">)", -1, {}},
        {"an empty text", "", 0, {}},
        {"a lone <", "<", 0, {}},
        {"a lone </", "</", 1, {}},
        {"<>", "<>", 0, {">"}, "", 0, 1},
        {"</> stands for itself", "</>", 1, {"/>"}, "", 0, 2, 0, 2},
        {"a short link", "<LINK>x</LINK>", 2, {"LINK>"}, "", 0, 5},
        {"a link cut before the keyword", "<LINK T>x</LINK>", 2, {"LINK"}, "x", 0, 7, 9, 15},
        {"a macro shorter than its name", "<MACRO>x</MACRO>", 2, {"MACRO>"}, "", 0, 6},
        {"an unquoted anchor", "<ANCHOR here>", 2, {"ANCHOR", ""}, "", 0, 12},
        {"one quote only", R"(<IMAGE "a.bmp>)", 2, {"IMAGE", ""}, "", 0, 13},
        {"a link value with one quote",
         R"(<LINK TOPIC="a WINDOW=w>x</LINK>)",
         2,
         {"LINK", "TOPIC", "", "WINDOW", "w"},
         "x",
         0,
         23,
         25,
         31},
    };
    for (const ParseRow& row : rows) {
        SCOPED_TRACE(row.name);
        CheckParse(row, ParseTagAt(TTagText(U(row.text)), row.p));
    }
}

TEST(ParseTagAt, PartsKeepOneByteForEachUnit) {
    // "→" has no Windows-1252 byte; the inner text keeps its length.
    const TTagText text(u"<LINK TOPIC=\"a\">a\u2192b</LINK>");
    const TTagInfo info = ParseTagAt(text, 17);
    EXPECT_EQ(info.InnerText, "a?b");
    EXPECT_EQ(info.EndTagBegin, 19);
    // A character outside the basic plane takes two units and two bytes.
    const TTagText wide(u"<ANCHOR \"\U0001F600\">");
    EXPECT_EQ(ParseTagAt(wide, 2).Parts.at(1), "??");
}

TEST(ParseTagAt, TagsAcrossParagraphs) {
    // The paragraph separator is one unit like any other.
    const TTagText text(u"<LINK TOPIC=\"a\">one\u2029two</LINK>");
    const TTagInfo info = ParseTagAt(text, 21);
    EXPECT_EQ(info.Name(), "LINK");
    EXPECT_EQ(info.InnerText, "one?two");
}

TEST(ParseTagAt, LongProseFindsTheTagBehindIt) {
    // The look-up of the "<" before a place, not a scan back through the prose.
    std::u16string prose(200000, u'x');
    const TTagText text(u"<MACRO About()>" + prose + u"</MACRO>" + prose);
    EXPECT_EQ(ParseTagAt(text, 100000).Name(), "MACRO");
    EXPECT_EQ(ParseTagAt(text, 300000).Count, 0);
    EXPECT_EQ(text.OpenAtOrBefore(300000), 200015);
    EXPECT_EQ(text.OpenAtOrAfter(200016), -1);
}

TEST(EditKindOf, WhichTagsAreEditable) {
    struct Row {
        const char* name;
        const char* text;
        TTagEditKind kind;
    } rows[] = {
        {"topic link", R"(<LINK TOPIC="a">x</LINK>)", TTagEditKind::TopicLink},
        {"user topic link", R"(<ULINK TOPIC="a">x</ULINK>)", TTagEditKind::TopicLink},
        {"popup link", R"(<LINK POPUP="a">x</LINK>)", TTagEditKind::PopupLink},
        {"two blanks", R"(<LINK  TOPIC="a">x</LINK>)", TTagEditKind::None},
        {"anchor", R"(<ANCHOR "a">)", TTagEditKind::Anchor},
        {"macro", R"(<MACRO a()>x</MACRO>)", TTagEditKind::Macro},
        {"user macro", R"(<UMACRO a()>x</UMACRO>)", TTagEditKind::Macro},
        {"button", R"(<BTN a()>x</BTN>)", TTagEditKind::Button},
        {"rtf", R"(<RTF "\b">)", TTagEditKind::Rtf},
        {"sound", R"(<SOUND "a.wav">)", TTagEditKind::Sound},
        {"video", R"(<VIDEO Play "a.avi">)", TTagEditKind::Video},
        {"image", R"(<IMAGE "a.bmp">)", TTagEditKind::Image},
        {"image right", R"(<imager "a.bmp">)", TTagEditKind::Image},
        {"no scroll", "<NOSCROLL>x</NOSCROLL>", TTagEditKind::None},
        {"unknown", R"(<FOO "a">)", TTagEditKind::None},
        {"prose", "no tag", TTagEditKind::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EditKindOf(ParseTagAt(TTagText(U(row.text)), 2)), row.kind);
    }
}

TEST(EditKindOf, TheImageItemsOfTheMenu) {
    struct Row {
        const char* name;
        const char* text;
        bool image;
        bool editable;
    } rows[] = {
        {"bitmap", R"(<IMAGE "a.bmp">)", true, true},
        {"hypergraphic, upper case", R"(<IMAGEL "C:\Pics\A.SHG">)", true, true},
        {"metafile", R"(<IMAGEC "a.wmf">)", true, false},
        {"no extension", R"(<IMAGER "a">)", true, false},
        {"a dotted folder is no extension", R"(<IMAGE "pics.bmp\a">)", true, false},
        {"an anchor", R"(<ANCHOR "a.bmp">)", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TTagInfo info = ParseTagAt(TTagText(U(row.text)), 2);
        EXPECT_EQ(IsImageTag(info), row.image);
        EXPECT_EQ(IsEditableImageTag(info), row.editable);
    }
}

TEST(SpliceFor, ReplacesOnlyWhatChanged) {
    struct Row {
        const char* name;
        std::u16string old;
        std::string now;
        bool same;
        int from = 0;
        int length = 0;
        std::u16string insert = {};
    } rows[] = {
        {"unchanged", u"<LINK TOPIC=\"a\">x</LINK>", "<LINK TOPIC=\"a\">x</LINK>", true},
        {"unchanged with an arrow", u"<LINK TOPIC=\"a\">a\u2192b</LINK>", "<LINK TOPIC=\"a\">a?b</LINK>", true},
        {"new topic, the arrow stays", u"<LINK TOPIC=\"a\">a\u2192b</LINK>", "<LINK TOPIC=\"bc\">a?b</LINK>", false, 13,
         1, u"bc"},
        {"a window added", u"<LINK TOPIC=\"a\">x</LINK>", "<LINK TOPIC=\"a\" WINDOW=w>x</LINK>", false, 15, 0,
         u" WINDOW=w"},
        {"all new", u"abc", "xyz", false, 0, 3, u"xyz"},
        {"shorter", u"<IMAGEL \"a\">", "<IMAGE \"a\">", false, 6, 1, u""},
        {"a pair is never split", u"<A \"\U0001F600\">", "<A \"?x\">", false, 4, 2, u"?x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto splice = SpliceFor(row.old, row.now);
        ASSERT_EQ(!splice, row.same);
        if (!splice) continue;
        EXPECT_EQ(splice->From, row.from);
        EXPECT_EQ(splice->Length, row.length);
        EXPECT_EQ(splice->Insert, row.insert);
        // Applied, the splice gives the new text's characters.
        std::u16string applied = row.old;
        applied.replace(static_cast<std::size_t>(splice->From), static_cast<std::size_t>(splice->Length),
                        splice->Insert);
        EXPECT_EQ(ToCp1252Units(applied), row.now);
    }
}

TEST(WithOriginal, GivesBackWhatTheCodePageLacks) {
    EXPECT_EQ(WithOriginal("<LINK TOPIC=\"t\">a?b</LINK>", u"a\u2192b"), u"<LINK TOPIC=\"t\">a\u2192b</LINK>");
    // The last place: the hotspot, not a topic of the same name.
    EXPECT_EQ(WithOriginal("<LINK TOPIC=\"a?b\">a?b</LINK>", u"a\u2192b"), u"<LINK TOPIC=\"a?b\">a\u2192b</LINK>");
    EXPECT_EQ(WithOriginal("<BTN x()>changed</BTN>", u"a\u2192b"), u"<BTN x()>changed</BTN>");
    EXPECT_EQ(WithOriginal("<SOUND \"\">", u""), u"<SOUND \"\">");
}

TEST(DirectInsert, TheTagsWrittenAroundTheSelection) {
    struct Row {
        const char* name;
        TInsertTag kind;
        std::u16string sel;
        std::u16string text;
        int selStart;
        int selLength;
    } rows[] = {
        {"topic link", TInsertTag::TopicLink, u"Overview", u"<LINK TOPIC=\"Overview\">Overview</LINK>", 13, 8},
        {"popup link", TInsertTag::PopupLink, u"", u"<LINK POPUP=\"\"></LINK>", 13, 0},
        {"no scroll", TInsertTag::NoScroll, u"abc", u"<NOSCROLL>abc</NOSCROLL>", 10, 0},
        {"anchor", TInsertTag::Anchor, u"here", u"<ANCHOR \"here\">", 15, 0},
        {"empty anchor", TInsertTag::Anchor, u"", u"<ANCHOR \"\">", 9, 0},
        {"macro", TInsertTag::Macro, u"go", u"<MACRO >go</MACRO>", 7, 0},
        {"image", TInsertTag::Image, u"a.bmp", u"<IMAGE \"a.bmp\">", 8, 5},
        {"button", TInsertTag::Button, u"OK", u"<BTN >OK</BTN>", 5, 0},
        {"sound", TInsertTag::Sound, u"", u"<SOUND \"\">", 8, 0},
        {"video", TInsertTag::Video, u"", u"<VIDEO \"\">", 8, 0},
        {"rtf", TInsertTag::Rtf, u"", u"<RTF \"\">", 6, 0},
        {"start tag", TInsertTag::StartTag, u"", u"<>", 1, 0},
        {"start tag around", TInsertTag::StartTag, u"B", u"<B>", 3, 0},
        {"end tag", TInsertTag::EndTag, u"", u"</>", 2, 0},
        {"end tag around", TInsertTag::EndTag, u"B", u"</B>", 4, 0},
        {"an arrow stays", TInsertTag::TopicLink, u"a\u2192b", u"<LINK TOPIC=\"a\u2192b\">a\u2192b</LINK>", 13, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TDirectInsert d = DirectInsert(row.kind, row.sel);
        EXPECT_EQ(d.Text, row.text);
        EXPECT_EQ(d.SelStart, row.selStart);
        EXPECT_EQ(d.SelLength, row.selLength);
    }
}

TEST(TypedWord, StopsAtTheStartCharacterOrTheLine) {
    struct Row {
        const char* name;
        std::u16string text;
        int p;
        char16_t c;
        std::u16string word;
        int start;
    } rows[] = {
        {"after <", u"x <LI", 5, u'<', u"LI", 3},
        {"< at index 0", u"<LI", 3, u'<', u"LI", 1},
        {"none on the line", u"<A>\u2029prose", 9, u'<', u"prose", -1},
        {"a line break stops", u"<A\u2028bc", 5, u'<', u"bc", -1},
        {"carriage return stops", u"<A\rbc", 5, u'<', u"bc", -1},
        {"quote", u"TOPIC=\"in", 9, u'"', u"in", 7},
        {"right after the start", u"TOPIC=\"", 7, u'"', u"", 7},
        {"blank", u"<MACRO Ab", 9, u' ', u"Ab", 7},
        {"at the start of the text", u"abc", 0, u'<', u"", -1},
        {"past the end", u"<ab", 9, u'<', u"ab", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(GetTypedWord(row.text, row.p, row.c), row.word);
        EXPECT_EQ(WordStartBefore(row.text, row.p, row.c), row.start);
    }
}

TEST(ListKindAfterTyping, TheListsTypingOpens) {
    TOptions all;
    all.EnableTagInsight = all.PopupTags = all.PopupTopics = all.PopupPopups = all.PopupWindows = all.PopupMacros =
        true;
    TOptions off = all;
    off.EnableTagInsight = false;
    TOptions noTopics = all;
    noTopics.PopupTopics = false;
    struct Row {
        const char* name;
        char16_t ch;
        std::u16string before;
        const TOptions& options;
        int kind;
    } rows[] = {
        {"<", u'<', u"a<", all, lkTags},
        {"< without insight", u'<', u"a<", off, -1},
        {"topic quote", u'"', u"<LINK topic=\"", all, lkTopics},
        {"topic quote, topics off", u'"', u"<LINK TOPIC=\"", noTopics, -1},
        {"popup quote", u'"', u"<LINK POPUP=\"", all, lkPopups},
        {"other quote", u'"', u"<IMAGE \"", all, -1},
        {"window", u'=', u"x\" WINDOW=", all, lkWindows},
        {"other =", u'=', u"<LINK TOPIC=", all, -1},
        {"macro", u' ', u"<macro ", all, lkMacros},
        {"button", u' ', u"<BTN ", all, lkMacros},
        {"other blank", u' ', u"<IMAGE ", all, -1},
        {"short text", u'"', u"\"", all, -1},
        {"letter", u'a', u"<MACRO a", all, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ListKindAfterTyping(row.ch, row.before, row.options), row.kind);
    }
}

TEST(ListKindForPlace, TheListThatFitsTheCaret) {
    struct Row {
        const char* name;
        std::u16string line;
        int kind;
        int start;  // AcceptStart for that kind
    } rows[] = {
        {"in a topic value", u"<LINK TOPIC=\"in", lkTopics, 13},
        {"in an empty topic value", u"<LINK TOPIC=\"", lkTopics, 13},
        {"in a popup value", u"<LINK popup=\"No", lkPopups, 13},
        {"after WINDOW=", u"<LINK TOPIC=\"a\" WINDOW=ma", lkWindows, 23},
        {"after <MACRO", u"<MACRO Ab", lkMacros, 7},
        {"after <BTN", u"<BTN ", lkMacros, 5},
        {"after a closed value", u"<LINK TOPIC=\"a\"", lkAll, 15},
        {"after <", u"x <LI", lkAll, 3},
        {"prose after a link", u"<LINK TOPIC=\"a\">x</LINK> see Be", lkAll, 31},
        {"a blank since <", u"<LINK TOP", lkAll, 9},
        // Past the tag's ">" the value is behind the caret: nothing before it
        // may be overwritten.
        {"prose after a windowed link", u"<LINK TOPIC=\"a\" WINDOW=main>x</LINK> see", lkAll, 40},
        {"a hotspot after a window", u"<LINK TOPIC=\"a\" WINDOW=main>se", lkAll, 30},
        {"a blank after the window", u"<LINK TOPIC=\"a\" WINDOW=main FI", lkAll, 30},
        {"a macro hotspot", u"<MACRO About()>Cl", lkAll, 17},
        {"no < on the line", u"prose", lkAll, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int p = static_cast<int>(row.line.size());
        EXPECT_EQ(ListKindForPlace(row.line, p), row.kind);
        EXPECT_EQ(AcceptStart(row.line, p, row.kind), row.start);
    }
}

TEST(AcceptStart, AcceptingStaysOnTheLine) {
    // The item replaces from after the start character to the caret, or goes
    // in at the caret; never across a line end.
    EXPECT_EQ(AcceptStart(u"<LI", 3, lkTags), 1);
    EXPECT_EQ(AcceptStart(u"x <LINK TOPIC=\"a\">", 18, lkTags), 18);  // a ">" since the "<"
    EXPECT_EQ(AcceptStart(u"<A>\u2029pro", 7, lkAll), 7);
    EXPECT_EQ(AcceptStart(u"x=\u2029ma", 5, lkWindows), 5);
    EXPECT_EQ(AcceptStart(u"TOPIC=\"a b", 10, lkTopics), 7);
    EXPECT_EQ(AcceptStart(u"abc", 99, lkMacros), 3);
}

TEST(TypedPrefix, WhatNarrowsTheList) {
    EXPECT_EQ(TypedPrefix(u"<LINK TOPIC=\"in", 15, lkTopics), "in");
    EXPECT_EQ(TypedPrefix(u"<LINK TOPIC=\"in\"", 15, lkTopics), "in");  // before the closing quote
    EXPECT_EQ(TypedPrefix(u"<MACRO  Ju ", 11, lkMacros), "");
    EXPECT_EQ(TypedPrefix(u"x < li", 6, lkTags), "li");
    EXPECT_EQ(TypedPrefix(u"=a\u00e9", 3, lkWindows), "a\xe9");
}

class MemberItemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        project.NewProject();  // topic Contents, window main
        for (const char* name : {"beta", "Alpha", "alpha2", "Beta"}) project.Topics.AddNew().SetName(name);
        TTopicNode& popup = project.Topics.AddNew();
        popup.Kind = TopicKind::Popup;
        popup.SetName("Note");
        project.Windows.Add().SetName("Aside");
        macros.LoadFromText("1,Jump(%1)|1,x\n2,About()|0\n");
    }
    static std::vector<std::string> Names(const std::vector<TMemberItem>& items) {
        std::vector<std::string> out;
        for (const TMemberItem& i : items) out.push_back(i.Name);
        return out;
    }
    TProject project;
    TMacros macros;
};

TEST_F(MemberItemsTest, SortedStablyIgnoringCase) {
    const auto topics = MemberItems(lkTopics, project, macros);
    // "beta" came before "Beta" in the project and stays before it.
    EXPECT_EQ(Names(topics), (std::vector<std::string>{"Alpha", "alpha2", "beta", "Beta", "Contents"}));
    for (const TMemberItem& item : topics) EXPECT_EQ(item.Image, 2);
    EXPECT_EQ(MemberItems(lkPopups, project, macros), (std::vector<TMemberItem>{{"Note", 3}}));
    EXPECT_EQ(MemberItems(lkWindows, project, macros), (std::vector<TMemberItem>{{"Aside", 1}, {"main", 1}}));
    EXPECT_EQ(MemberItems(lkMacros, project, macros), (std::vector<TMemberItem>{{"About", 4}, {"Jump", 4}}));
    EXPECT_TRUE(MemberItems(9, project, macros).empty());
}

TEST_F(MemberItemsTest, TagsAsListedAndTheCombinedList) {
    const auto tags = Names(MemberItems(lkTags, project, macros));
    ASSERT_EQ(tags.size(), 17u);
    EXPECT_EQ(tags.front(), "ANCHOR");
    EXPECT_EQ(tags[11], "/BTN");  // as listed, not sorted
    const auto all = MemberItems(lkAll, project, macros);
    EXPECT_EQ(all.size(), 17u + 5 + 1 + 2 + 2);
    for (std::size_t i = 1; i < all.size(); ++i) EXPECT_LE(CompareText(all[i - 1].Name, all[i].Name), 0);
    // Each item keeps the glyph of its kind.
    auto imageOf = [&](const char* name) {
        for (const TMemberItem& i : all)
            if (i.Name == name) return i.Image;
        return -1;
    };
    EXPECT_EQ(imageOf("LINK"), 0);
    EXPECT_EQ(imageOf("main"), 1);
    EXPECT_EQ(imageOf("Contents"), 2);
    EXPECT_EQ(imageOf("Note"), 3);
    EXPECT_EQ(imageOf("Jump"), 4);
}

TEST_F(MemberItemsTest, PrefixSearchFromTheTop) {
    const auto topics = MemberItems(lkTopics, project, macros);
    EXPECT_EQ(FindPrefix(topics, "AL"), 0);
    EXPECT_EQ(FindPrefix(topics, "alpha2"), 1);
    EXPECT_EQ(FindPrefix(topics, "be"), 2);
    EXPECT_EQ(FindPrefix(topics, ""), 0);
    EXPECT_EQ(FindPrefix(topics, "x"), -1);
    EXPECT_EQ(FindPrefix(topics, "Contentsx"), -1);
    EXPECT_EQ(FindPrefix({}, ""), -1);
}

TEST(PlaceMemberList, KeepsTheListOnTheScreen) {
    struct Row {
        const char* name;
        int x, y;
        TListPlace place;
    } rows[] = {
        {"fits", 100, 100, {100, 100}},
        {"right edge", 1100, 100, {1280 - 278 - 40, 100}},
        {"just fits", 1280 - 279, 800 - 97, {1280 - 279, 800 - 97}},
        {"touches the edge", 1280 - 278, 100, {1280 - 278 - 40, 100}},
        {"bottom edge", 100, 750, {100, 800 - 96 - 80}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PlaceMemberList(row.x, row.y, 278, 96, 0, 0, 1280, 800), row.place);
    }
    // A second screen to the right counts from its own edge.
    EXPECT_EQ(PlaceMemberList(1280 + 1100, 10, 278, 96, 1280, 0, 1280, 800), (TListPlace{1280 + 962, 10}));
}

TEST(HotCursorFor, TheCursorOverTheEditor) {
    TOptions on;
    on.HotCursor = true;
    on.ShowGutter = true;
    on.DblClickFollowsLink = true;
    TOptions noFollow = on;
    noFollow.DblClickFollowsLink = false;
    TOptions off = on;
    off.HotCursor = false;
    const TTagText text(u"see <LINK TOPIC=\"a\">x</LINK> and <IMAGE \"p.bmp\"> end");
    struct Row {
        const char* name;
        THotCursorState state;
        const TOptions& options;
        int index;
        THotCursor cursor;
    } rows[] = {
        {"prose", {false, false, 100}, on, 1, THotCursor::Default},
        {"link", {false, false, 100}, on, 21, THotCursor::Hand},
        {"link without following", {false, false, 100}, noFollow, 21, THotCursor::Tag},
        {"image", {false, false, 100}, on, 40, THotCursor::Tag},
        {"gutter", {false, false, 31}, on, 21, THotCursor::Pointer},
        {"right of the gutter", {false, false, 32}, on, 1, THotCursor::Default},
        {"no character", {false, false, 100}, on, -1, THotCursor::Default},
        {"option off", {false, false, 100}, off, 21, THotCursor::Unchanged},
        {"format painter", {true, false, 100}, on, 21, THotCursor::Unchanged},
        {"left button held", {false, true, 100}, on, 21, THotCursor::Unchanged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        int parses = 0;
        const THotCursor cursor = HotCursorFor(row.state, row.options, [&] {
            ++parses;
            return row.index < 0 ? TTagInfo() : ParseTagAt(text, row.index);
        });
        EXPECT_EQ(cursor, row.cursor);
        // The tag is looked at only when the cursor depends on it.
        const bool needed = row.cursor != THotCursor::Unchanged && row.cursor != THotCursor::Pointer;
        EXPECT_EQ(parses, needed ? 1 : 0);
    }
}

// ============================================================================

}  // namespace
}  // namespace qm

namespace {

// ============================================================================
// Link following
// ============================================================================

struct LinkCase {
    const char* name;
    std::u16string text;
    int caret;
    const char* target;  // nullptr: no link found
};

class FindLinkAtTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(FindLinkAtTest, FindsTheTargetOrNone) {
    const LinkCase& c = GetParam();
    std::string name = "untouched";
    const bool found = qm::FindLinkAt(c.text, c.caret, name);
    if (c.target) {
        EXPECT_TRUE(found);
        EXPECT_EQ(name, c.target);
    } else {
        EXPECT_FALSE(found);
        EXPECT_EQ(name, "untouched");
    }
}

const std::u16string kIntro = u"<LINK TOPIC=\"Intro:sec\">see</LINK>";  // 34 characters, end tag at 27
const std::u16string kAround = u"see <LINK TOPIC=\"B\">b</LINK> after";

INSTANTIATE_TEST_SUITE_P(
    Links, FindLinkAtTest,
    ::testing::Values(
        LinkCase{"OnTheStartTagsBracket", kIntro, 0, "Intro"}, LinkCase{"InTheQuotedValue", kIntro, 13, "Intro"},
        LinkCase{"OnTheLastHotspotCharacter", kIntro, 26, "Intro"},
        LinkCase{"OnTheEndTagsBracket", kIntro, 27, nullptr},
        LinkCase{"OnTheEndTagsLastCharacter", kIntro, 33, nullptr}, LinkCase{"AtTheEndOfTheText", kIntro, 34, nullptr},
        LinkCase{"PastTheEnd", kIntro, 1000, nullptr}, LinkCase{"BeforeTheStart", kIntro, -1, nullptr},
        LinkCase{"EmptyText", u"", 0, nullptr}, LinkCase{"TextBeforeTheLink", kAround, 2, nullptr},
        LinkCase{"JustBeforeTheStartTag", kAround, 4, "B"}, LinkCase{"TextAfterTheLink", kAround, 30, nullptr},
        LinkCase{"UlinkPopup", u"<ULINK POPUP=\"Def1\">word</ULINK>", 21, "Def1"},
        LinkCase{"LowerCaseTags", u"<link topic=\"alpha\">x</link>", 18, "alpha"},
        LinkCase{"ImageHotspot", u"<LINK TOPIC=\"A\"><IMAGE \"x.bmp\"></LINK>", 2, nullptr},
        LinkCase{"BitmapAfterALinkStart", u"<LINK TOPIC=\"A\"><BITMAP x.bmp></LINK>", 2, "A"},
        LinkCase{"DoubleBlank", u"<LINK  TOPIC=\"A\">x</LINK>", 3, nullptr},
        LinkCase{"UlinkClosedAsLink", u"<ULINK TOPIC=\"A\">x</LINK>", 3, nullptr},
        LinkCase{"ValueRunningPastTheEndTag", u"<LINK TOPIC=\"A>x</LINK>\"", 3, nullptr},
        LinkCase{"NoQuoteBeforeTheValue", u"<LINK TOPIC=A>xxxxx</LINK>", 3, nullptr},
        LinkCase{"AnchorAfterTheFirstColonOnly", u"<LINK TOPIC=\"T:a:b\">x</LINK>", 3, "T"},
        LinkCase{"NonAsciiName", u"<LINK TOPIC=\"Caf\u00e9\">x</LINK>", 3, "Caf\xe9"},
        // Bounded reads: the tests of 6, 7 and 8 characters near the end.
        LinkCase{"FiveCharactersLeftForLink", u"<LINK", 0, nullptr},
        LinkCase{"SixCharactersLeftForUlink", u"<ULINK", 0, nullptr},
        LinkCase{"SevenCharactersLeftForBitmap", u"<BITMAP", 0, nullptr},
        LinkCase{"StartTagAtTheEnd", u"<LINK ", 1, nullptr},
        LinkCase{"EndTagCutShort", u"<LINK TOPIC=\"A\">x</LINK", 3, nullptr},
        LinkCase{"UlinkEndTagCutShort", u"<ULINK POPUP=\"A\">x</ULINK", 3, nullptr},
        LinkCase{"ValueOpenAtTheEnd", u"<LINK TOPIC=\"", 3, nullptr}),
    [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

}  // namespace
