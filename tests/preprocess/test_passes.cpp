#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "build_fixture.h"
#include "preprocess/tagtext.h"
#include "preprocess/topicwriter.h"
#include "support/scratchdir.h"

namespace qm {
namespace {

using qmtest::BuildFixture;
using qmtest::LogLine;

struct PassCase {
    std::string in;
    std::string out;
    std::vector<LogLine> log;
};

using PassFn = std::function<void(std::string&, const TPassContext&)>;

void RunTable(const PassFn& pass, const std::vector<PassCase>& cases) {
    for (const PassCase& c : cases) {
        BuildFixture fx;
        EXPECT_EQ(fx.Run(pass, c.in), c.out) << c.in;
        EXPECT_EQ(qmtest::LogLines(fx.log), c.log) << c.in;
    }
}

const PassFn kLinks = [](std::string& t, const TPassContext& c) {
    TUnresolvedAnchorTable u;
    ConvertLinks(t, c, u);
};
const PassFn kULinks = [](std::string& t, const TPassContext& c) {
    TUnresolvedAnchorTable u;
    ConvertULinks(t, c, u);
};

TEST(ConvertLinks, TopicAndPopupLinks) {
    RunTable(
        kLinks,
        {
            {R"(<LINK TOPIC="Details">see</LINK>)", R"(\uldb see\ulnone\v Details\v0 )", {}},
            // written as typed, found without regard to case
            {R"(<link topic="details">see</link>)", R"(\uldb see\ulnone\v details\v0 )", {}},
            {R"(<LINK TOPIC="Details:sec1">x</LINK>)", R"(\uldb x\ulnone\v Details_sec1\v0 )", {}},
            {R"(<LINK TOPIC="Details:a:b">x</LINK>)", R"(\uldb x\ulnone\v Details_a:b\v0 )", {}},
            {R"(<LINK TOPIC="Details" WINDOW=proc4>x</LINK>)", R"(\uldb x\ulnone\v Details>proc4\v0 )", {}},
            {R"(<LINK TOPIC="Details" WINDOW=wide FILE=other help.hlp>x</LINK>)",
             R"(\uldb x\ulnone\v Details>wide@other help.hlp\v0 )",
             {}},
            // a link with an anchor drops its FILE= part
            {R"(<LINK TOPIC="Details:a" WINDOW=proc4 FILE=o.hlp>x</LINK>)",
             R"(\uldb x\ulnone\v Details_a>proc4\v0 )",
             {}},
            {R"(<LINK TOPIC="ext_ctx" FILE=o.hlp>x</LINK>)", R"(\uldb x\ulnone\v ext_ctx@o.hlp\v0 )", {}},
            {R"(<LINK POPUP="Def">x</LINK>)", R"(\ul x\ulnone\v Def\v0 )", {}},
            {R"(<LINK POPUP="Def:a">x</LINK>)", R"(\ul x\ulnone\v Def_a\v0 )", {}},
            {R"(<LINK POPUP="ext" FILE=o.hlp>x</LINK>)", R"(\ul x\ulnone\v ext@o.hlp\v0 )", {}},
            // popup links ignore WINDOW=
            {R"(<LINK POPUP="Def" WINDOW=nowin>x</LINK>)", R"(\ul x\ulnone\v Def\v0 )", {}},
            // the hotspot keeps its codes; a formatted tag goes whole
            {R"(<\b L\b0 INK TOPIC="Details">{\i x}</LINK>)", R"(\uldb {\i x}\ulnone\v Details\v0 )", {}},
            {R"(<LINK TOPIC="Details"><IMAGE "a.bmp"></LINK>)", R"(\uldb <IMAGE "a.bmp">\ulnone\v Details\v0 )", {}},
            // accented names survive the removal of RTF and are escaped again
            {R"(<LINK TOPIC="Caf\'e9">x</LINK>)", R"(\uldb x\ulnone\v Caf\'e9\v0 )", {}},
            {R"(<LINK TOPIC="ext\{1\}" FILE=a\\b.hlp>x</LINK>)", R"(\uldb x\ulnone\v ext\{1\}@a\\b.hlp\v0 )", {}},
            // two identical links: both replaced
            {R"(<LINK TOPIC="Details">a</LINK>-<LINK TOPIC="Details">a</LINK>)",
             R"(\uldb a\ulnone\v Details\v0 -\uldb a\ulnone\v Details\v0 )",
             {}},
        });
}

TEST(ConvertLinks, Findings) {
    RunTable(kLinks,
             {
                 {R"(<LINK TOPIC="Nowhere">x</LINK>)",
                  R"(\uldb x\ulnone\v Nowhere\v0 )",
                  {{1, R"(<LINK TOPIC="Nowhere">)", 1}}},
                 // a reported tag never reaches the help as text: an
                 // incomplete one keeps only its hotspot, an unclosed one
                 // only the text after it
                 {R"(<LINK  TOPIC="Details">x</LINK>)", "x", {{6, R"(<LINK  TOPIC="Details">)", 1}}},
                 {R"(<LINK TOPIC = "Details">x</LINK>)", "x", {{6, R"(<LINK TOPIC = "Details">)", 1}}},
                 {R"(<LINK TOPIC="Details" WINDOW=nowin>x</LINK>)",
                  R"(\uldb x\ulnone\v Details\v0 )",
                  {{8, R"(<LINK TOPIC="Details" WINDOW=nowin>)", 1}}},
                 {R"(<LINK POPUP="Details">x</LINK>)",
                  R"(\ul x\ulnone\v Details\v0 )",
                  {{4, R"(<LINK POPUP="Details">)", 1}}},
                 {R"(<LINK TOPIC="Def">x</LINK>)", R"(\uldb x\ulnone\v Def\v0 )", {{5, R"(<LINK TOPIC="Def">)", 1}}},
                 {R"(<LINK TOPIC="Details">x)", "x", {{7, R"(<LINK TOPIC="Details">)", 1}}},
                 {R"(<LINK TOPIC="Details">x</ULINK>)", "x</ULINK>", {{7, R"(<LINK TOPIC="Details">)", 1}}},
                 // three identical unclosed tags: occurrences 1, 2, 3
                 {R"(<LINK TOPIC="Def">a <LINK TOPIC="Def">b <LINK TOPIC="Def">)",
                  "a b ",
                  {{5, R"(<LINK TOPIC="Def">)", 1},
                   {7, R"(<LINK TOPIC="Def">)", 1},
                   {5, R"(<LINK TOPIC="Def">)", 2},
                   {7, R"(<LINK TOPIC="Def">)", 2},
                   {5, R"(<LINK TOPIC="Def">)", 3},
                   {7, R"(<LINK TOPIC="Def">)", 3}}},
             });
}

TEST(ConvertLinks, WindowNameIsCutAtEightCharacters) {
    BuildFixture fx;
    fx.project.Windows.Add().SetName("abcdefgh");
    EXPECT_EQ(fx.Run(kLinks, R"(<LINK TOPIC="Details" WINDOW=abcdefghij>x</LINK>)"),
              R"(\uldb x\ulnone\v Details>abcdefgh\v0 )");
    EXPECT_TRUE(fx.log.Empty());
}

TEST(ConvertLinks, AnchoredLinksGoToTheUnresolvedTable) {
    BuildFixture fx;
    TUnresolvedAnchorTable unresolved;
    std::string text =
        R"(<LINK TOPIC="Details:s1">a</LINK><LINK POPUP="ext:s2" FILE=x.hlp>b</LINK><LINK TOPIC="Details">c</LINK>)";
    ConvertLinks(text, fx.Context(*fx.intro), unresolved);
    ASSERT_EQ(unresolved.Count(), 2);
    EXPECT_EQ(unresolved.Get(0).LinkingTopic, fx.intro->Id());
    EXPECT_EQ(unresolved.Get(0).TargetTopic, fx.details->Id());
    EXPECT_EQ(unresolved.Get(0).Anchor, "s1");
    EXPECT_EQ(unresolved.Get(1).TargetTopic, 0u);
    EXPECT_EQ(unresolved.Get(1).Anchor, "s2");
}

TEST(ConvertLinks, SwitchedOffChecksAddNothing) {
    BuildFixture fx;
    for (int n = 1; n <= 9; ++n) fx.checks.SetError(n, false);
    // The link to an unknown target is converted all the same; the unclosed
    // one has no hotspot to convert, and its tag goes.
    EXPECT_EQ(fx.Run(kLinks, R"(<LINK TOPIC="Nowhere">x</LINK> <LINK TOPIC="Def">y)"),
              R"(\uldb x\ulnone\v Nowhere\v0  y)");
    EXPECT_TRUE(fx.log.Empty());
}

// A link whose target the project lacks is reported; when the check only
// warns, the build goes on, so the help must get a hotspot to the context
// string the tag names (which the compiler then reports), never the tag text.
TEST(ConvertLinks, ReportedTargetsStillBecomeHotspots) {
    struct Row {
        const char* name;
        const PassFn& pass;
        std::string in;
        std::string out;
    };
    const Row rows[] = {
        {"topic link", kLinks, R"(<LINK TOPIC="Nowhere">see</LINK>)", R"(\uldb see\ulnone\v Nowhere\v0 )"},
        {"popup link", kLinks, R"(<LINK POPUP="nowhere">term</LINK>)", R"(\ul term\ulnone\v nowhere\v0 )"},
        {"topic link with a window", kLinks, R"(<LINK TOPIC="Nowhere" WINDOW=proc4>x</LINK>)",
         R"(\uldb x\ulnone\v Nowhere>proc4\v0 )"},
        {"topic link with an anchor", kLinks, R"(<LINK TOPIC="Nowhere:part">x</LINK>)",
         R"(\uldb x\ulnone\v Nowhere_part\v0 )"},
        {"user-defined topic link", kULinks, R"(<ULINK TOPIC="Gone">x</ULINK>)", R"(\uldb x\ulnone\v %Gone\v0 )"},
        {"user-defined popup link", kULinks, R"(<ULINK POPUP="Gone">x</ULINK>)", R"(\ul x\ulnone\v %Gone\v0 )"},
        {"user-defined link to another file", kULinks, R"(<ULINK TOPIC="ext" FILE=o.hlp>x</ULINK>)",
         R"(\uldb x\ulnone\v %ext@o.hlp\v0 )"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BuildFixture fx;
        fx.checks.SetErrorType(Check::UnresolvedLink, 1);  // a warning: the build goes on
        const std::string out = fx.Run(row.pass, row.in);
        EXPECT_EQ(out, row.out);
        EXPECT_EQ(out.find("LINK"), std::string::npos);
        ASSERT_EQ(fx.log.Count(), 1);
        EXPECT_EQ(fx.log.Entry(0).Code, Check::UnresolvedLink);
        EXPECT_FALSE(fx.log.Entry(0).IsError());
    }
}

TEST(ConvertULinks, UserDefinedLinks) {
    RunTable(
        kULinks,
        {
            // the record's own name, as stored
            {R"(<ULINK TOPIC="details">x</ULINK>)", R"(\uldb x\ulnone\v %Details\v0 )", {}},
            {R"(<ULINK TOPIC="Details:a">x</ULINK>)", R"(\uldb x\ulnone\v %Details_a\v0 )", {}},
            {R"(<ulink topic="Details" window=proc4>x</ulink>)", R"(\uldb x\ulnone\v %Details>proc4\v0 )", {}},
            {R"(<ULINK TOPIC="Details" FILE=o.hlp>x</ULINK>)", R"(\uldb x\ulnone\v %Details@o.hlp\v0 )", {}},
            {R"(<ULINK POPUP="def">x</ULINK>)", R"(\ul x\ulnone\v %Def\v0 )", {}},
            {R"(<ULINK POPUP="Def:a">x</ULINK>)", R"(\ul x\ulnone\v %Def_a\v0 )", {}},
            // FILE= does not excuse an unknown target here
            {R"(<ULINK TOPIC="ext" FILE=o.hlp>x</ULINK>)",
             R"(\uldb x\ulnone\v %ext@o.hlp\v0 )",
             {{1, R"(<ULINK TOPIC="ext" FILE=o.hlp>)", 1}}},
            {R"(<ULINK  TOPIC="Details">x</ULINK>)", "x", {{6, R"(<ULINK  TOPIC="Details">)", 1}}},
            {R"(<ULINK TOPIC="Details">x</LINK>)", "x</LINK>", {{7, R"(<ULINK TOPIC="Details">)", 1}}},
            {R"(<ULINK TOPIC="Def">x</ULINK>)", R"(\uldb x\ulnone\v %Def\v0 )", {{5, R"(<ULINK TOPIC="Def">)", 1}}},
        });
}

TEST(ConvertMacros, MacroAndUserMacroHotspots) {
    RunTable(ConvertMacros,
             {
                 {R"(<MACRO JumpId("a.hlp","x")>go</MACRO>)", R"(\uldb go\ulnone\v ! JumpId("a.hlp","x")\v0 )", {}},
                 // the first "|" stands for ">", the second stays
                 {R"(<MACRO If(a|b|c)>go</MACRO>)", R"(\uldb go\ulnone\v ! If(a&rt;b|c)\v0 )", {}},
                 {R"(<UMACRO Exit()>bye</UMACRO>)", R"(\uldb bye\ulnone\v %! Exit()\v0 )", {}},
                 {R"(<macro EF("\{x\}")>e</macro>)", R"(\uldb e\ulnone\v ! EF("\{x\}")\v0 )", {}},
                 {R"(<MACRO Exit()>bye)", "bye", {{7, R"(<MACRO Exit()>)", 1}}},
                 {R"(<UMACRO Exit()>bye</MACRO>)", "bye</MACRO>", {{7, R"(<UMACRO Exit()>)", 1}}},
             });
}

TEST(ConvertButtons, Buttons) {
    RunTable(ConvertButtons, {
                                 {R"(<BTN Back()>Back</BTN>)", R"(\{button Back, Back()\})", {}},
                                 {R"(<btn Exit();Back()>{\b Go}</btn>)", R"(\{button {\b Go}, Exit();Back()\})", {}},
                                 {R"(<BTN Back()>Back)", R"(<BTN Back()>Back)", {{7, R"(<BTN Back()>)", 1}}},
                             });
}

TEST(ConvertImages, Placements) {
    RunTable(ConvertImages, {
                                {R"(<IMAGE "a.bmp">)", R"(\{bmc a.bmp\})", {}},
                                {R"(<IMAGEC "a.bmp">)", R"(\{bmc a.bmp\})", {}},
                                {R"(<IMAGEL "a.bmp">)", R"(\{bml a.bmp\})", {}},
                                {R"(<IMAGER "a.bmp">)", R"(\{bmr a.bmp\})", {}},
                                {R"(<imagel "a.bmp">)", R"(\{bml a.bmp\})", {}},  // the letter in any case
                                {R"(<imager "a.shg">)", R"(\{bmr a.shg\})", {}},
                                {R"(<IMAGE "caf\'e9.bmp">)", R"(\{bmc caf\'e9.bmp\})", {}},
                                {R"(<IMAGE "a.bmp"> and <IMAGE "a.bmp">)", R"(\{bmc a.bmp\} and \{bmc a.bmp\})", {}},
                                {R"(<IMAGE "">)", R"(<IMAGE "">)", {{6, R"(<IMAGE "">)", 1}}},
                                {R"(<IMAGE a.bmp>)", R"(<IMAGE a.bmp>)", {{6, R"(<IMAGE a.bmp>)", 1}}},
                            });
}

TEST(ConvertImages, CheckNineLooksInTheProjectFolderAndImageFolders) {
    qmtest::ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "img");
    qmtest::WriteRaw(dir.file("img/there.bmp"), "BM");
    BuildFixture fx;
    fx.project.FileName = dir.file("Guide.qpf");
    fx.project.BmRoot.push_back(dir.file("img"));
    fx.checks.SetError(Check::ImageNotFound, true);
    EXPECT_EQ(fx.Run(ConvertImages, R"(<IMAGE "there.bmp"><IMAGEL "missing.bmp">)"),
              R"(\{bmc there.bmp\}<IMAGEL "missing.bmp">)");
    EXPECT_EQ(qmtest::LogLines(fx.log), (std::vector<LogLine>{{9, R"(<IMAGEL "missing.bmp">)", 1}}));
}

TEST(ConvertSounds, Sounds) {
    RunTable(ConvertSounds, {
                                {R"(<SOUND "a.wav">)", R"(\{mci PLAY ,a.wav\})", {}},
                                {R"(<SOUND External "a.wav">)", R"(\{mci PLAY EXTERNAL ,a.wav\})", {}},
                                {R"(<SOUND External"a.wav">)", R"(\{mci PLAY ,a.wav\})", {}},
                                {R"(<SOUND>)", R"(<SOUND>)", {{6, "<SOUND>", 1}}},
                            });
}

TEST(ConvertVideos, Flags) {
    RunTable(ConvertVideos,
             {
                 {R"(<VIDEO "v.avi">)", R"(\{mci NOPLAYBAR NOMENU ,v.avi\})", {}},
                 {R"(<VIDEO External Play Repeat Menu Playbar "v.avi">)", R"(\{mci EXTERNAL REPEAT PLAY ,v.avi\})", {}},
                 {R"(<VIDEO Play Playbar "v.avi">)", R"(\{mci NOMENU PLAY ,v.avi\})", {}},
                 {R"(<VIDEO Playbar "v.avi">)", R"(\{mci NOMENU ,v.avi\})", {}},  // PLAY is not PLAYBAR
                 {R"(<VIDEO Play"v.avi">)", R"(\{mci NOPLAYBAR NOMENU ,v.avi\})", {}},
                 {R"(<VIDEO Menu>)", R"(<VIDEO Menu>)", {{6, "<VIDEO Menu>", 1}}},
             });
}

TEST(ConvertRtfTags, RawCodes) {
    RunTable(ConvertRtfTags, {
                                 // a typed "\page" is "\\page" in the body; typed doubled, "\\\\page"
                                 {R"(<RTF "\\page ">)", R"(\page )", {}},
                                 {R"(<RTF "\\\\page ">)", R"(\page )", {}},
                                 {R"(a<RTF "\{\\\\b x\}">b<RTF "\{\\\\b x\}">)", R"(a{\b x}b{\b x})", {}},
                                 {R"(<RTF "">)", R"(<RTF "">)", {{6, R"(<RTF "">)", 1}}},
                                 {R"(<RTF \\\\x>)", R"(<RTF \\\\x>)", {{6, R"(<RTF \x>)", 1}}},
                             });
}

TEST(ConvertAnchors, AnchorsBecomeFootnotesOnce) {
    BuildFixture fx;
    TAnchorTable anchors;
    std::string text = R"(a<ANCHOR "s1">b<ANCHOR "s1">c<ANCHOR "">d<anchor "caf\'e9">)";
    ConvertAnchors(text, fx.Context(*fx.intro), anchors);
    EXPECT_EQ(text, R"(a#{\footnote Intro_s1}b<ANCHOR "s1">c<ANCHOR "">d#{\footnote Intro_caf\'e9})");
    EXPECT_EQ(qmtest::LogLines(fx.log), (std::vector<LogLine>{{3, R"(<ANCHOR "s1">)", 1}, {6, R"(<ANCHOR "">)", 1}}));
    EXPECT_EQ(anchors.Names(), (StringList{"s1", "caf\xe9"}));
    EXPECT_TRUE(anchors.Exists("s1"));
    EXPECT_FALSE(anchors.Exists("S1"));
}

TEST(ConvertNoScroll, FirstPairOnly) {
    RunTable(ConvertNoScroll,
             {
                 {R"({\rtf1 \pard <NOSCROLL>Title\par\pard more</NOSCROLL>body})",
                  R"({\rtf1 \pard \keepn Title\par\ql more\par\pard body})",
                  {}},
                 {"<NOSCROLL>a</NOSCROLL>b<NOSCROLL>c</NOSCROLL>", R"(\keepn a\par\pard b<NOSCROLL>c</NOSCROLL>)", {}},
                 // only a closing tag after the opening one counts
                 {"</NOSCROLL>a<NOSCROLL>b</NOSCROLL>c", R"(</NOSCROLL>a\keepn b\par\pard c)", {}},
                 {"</NOSCROLL>a<NOSCROLL>b", "</NOSCROLL>a<NOSCROLL>b", {{7, "<NOSCROLL>", 1}}},
                 // a closing tag that starts inside the opening one is not after it
                 {"<NOSCROLL </NOSCROLL>x", "<NOSCROLL </NOSCROLL>x", {{7, "<NOSCROLL </NOSCROLL>", 1}}},
                 {"<NOSCROLL></NOSCROLL>x", R"(\keepn \par\pard x)", {}},  // right after the opening tag
                 // the entry keeps the raw tag
                 {R"(<\b NOSCROLL\b0 >x)", R"(<\b NOSCROLL\b0 >x)", {{7, R"(<\b NOSCROLL\b0 >)", 1}}},
                 {"no region", "no region", {}},
             });
}

TEST(BuildFootnotes, TopicGetsEveryFilledFootnote) {
    BuildFixture fx;
    TTopicNode& t = *fx.details;
    t.SetBuildTag("WEB");
    t.SetTitle("Caf\xe9 {menu}");
    t.Keywords = {"alpha", "beta"};
    t.AKeywords = {"a1"};
    t.Macros = {"CloseWindow(`x')"};
    t.SetWindow("proc4");
    t.SetBrowse("seq:010");
    EXPECT_EQ(BuildFootnotes(t),
              "*{\\footnote WEB}\r\n"
              "#{\\footnote Details}\r\n"
              "${\\footnote Caf\\'e9 \\{menu\\}}\r\n"
              "K{\\footnote alpha;beta;}\r\n"
              "A{\\footnote a1;}\r\n"
              "!{\\footnote CloseWindow(`x');}\r\n"
              ">{\\footnote proc4}\r\n"
              "+{\\footnote seq:010}\r\n");
}

TEST(BuildFootnotes, WindowRuleAndPopups) {
    BuildFixture fx;
    TTopicNode& t = *fx.details;
    t.SetTitle("");
    t.SetWindow("main");
    EXPECT_EQ(BuildFootnotes(t), "#{\\footnote Details}\r\n");
    t.SetWindow("Main");  // case-sensitive
    EXPECT_EQ(BuildFootnotes(t), "#{\\footnote Details}\r\n>{\\footnote Main}\r\n");
    t.SetWindow("");  // an empty window name is written too
    EXPECT_EQ(BuildFootnotes(t), "#{\\footnote Details}\r\n>{\\footnote }\r\n");

    TTopicNode& p = *fx.def;
    p.SetTitle("Popup title");
    p.Keywords = {"k"};
    p.SetWindow("proc4");
    EXPECT_EQ(BuildFootnotes(p), "#{\\footnote Def}\r\n");
    p.SetBuildTag("T");
    EXPECT_EQ(BuildFootnotes(p), "*{\\footnote T}\r\n#{\\footnote Def}\r\n");
}

TEST(PreprocessTopic, EscapesFootnotesAndPassOrder) {
    BuildFixture fx;
    fx.intro->SetTitle("");
    fx.intro->Text = R"({\rtf1\ansi{\fonttbl}\viewkind4\uc1 <LINK TOPIC="Details"><IMAGEL "a.bmp"></LINK> )"
                     R"(<MACRO If(a|b)>m</MACRO> &lt;LINK&rt; \par})";
    TAnchorTable anchors;
    TUnresolvedAnchorTable unresolved;
    EXPECT_EQ(PreprocessTopic(fx.Context(*fx.intro), anchors, unresolved),
              "{\\rtf1\\ansi{\\fonttbl}#{\\footnote Intro}\r\n"
              R"(\viewkind4\uc1 \uldb \{bml a.bmp\}\ulnone\v Details\v0  )"
              R"(\uldb m\ulnone\v ! If(a>b)\v0  <LINK> \par})");
    EXPECT_TRUE(fx.log.Empty());
}

TEST(PreprocessTopic, FootnotesAtTheStartWithoutViewkind) {
    BuildFixture fx;
    fx.def->Text = "plain";
    TAnchorTable anchors;
    TUnresolvedAnchorTable unresolved;
    EXPECT_EQ(PreprocessTopic(fx.Context(*fx.def), anchors, unresolved), "#{\\footnote Def}\r\nplain");
}

TEST(ResolveAnchors, LooksInEveryModule) {
    BuildFixture fx;
    std::vector<TAnchorTable> tables(4);
    tables[2].Add("inCafe");
    TUnresolvedAnchorTable unresolved;
    unresolved.Add(*fx.intro, fx.details, "inCafe");  // defined in another module: accepted
    unresolved.Add(*fx.intro, fx.details, "gone");
    unresolved.Add(*fx.intro, nullptr, "gone");
    unresolved.Add(*fx.def, fx.details, "gone");
    ResolveAnchors(tables, unresolved, fx.log, fx.checks);
    ASSERT_EQ(fx.log.Count(), 3);
    EXPECT_EQ(qmtest::LogLines(fx.log), (std::vector<LogLine>{{2, "gone", 1}, {2, "gone", 2}, {2, "gone", 1}}));
    EXPECT_EQ(fx.log.Entry(2).Topic, fx.def->Id());

    TOutputLog quiet;
    fx.checks.SetError(Check::UnresolvedAnchor, false);
    ResolveAnchors(tables, unresolved, quiet, fx.checks);
    EXPECT_TRUE(quiet.Empty());
}

// Image hotspots put a "<" into every link's replacement, and a stray "<" in
// the text shares its ">" with the tag after it (so the stray "<" is found as
// a tag too, whose span holds the real one). A big topic with them must be
// converted in one sweep, not tag by tag (a sweep of the whole text per tag,
// time that grows with the square of the number of tags; bench_preprocess
// measures it); whichever road runs, the bytes and the log must be those of
// replacing tag by tag.
TEST(SnapshotPasses, StrayLessThanAndImageHotspotsTakeOneSweep) {
    // `stray` goes before every LINK, ANCHOR and IMAGE tag.
    const auto body = [](const std::string& hotspot, const std::string& stray) {
        std::string b = "{\\rtf1\\ansi\\viewkind4 ";
        for (int i = 0; i < 200; ++i) {
            const std::string n = std::to_string(i);
            b += stray + "<LINK TOPIC=\"Details\">" + hotspot + n + "\"></LINK> <MACRO Exit()>" + hotspot + n +
                 "\"></MACRO> " + stray + "<ANCHOR \"a" + n + "\"> " + stray + "<IMAGE \"p" + n + ".bmp\"> xxxx";
        }
        return b;
    };
    const auto all = [](std::string& t, const TPassContext& c) {
        TUnresolvedAnchorTable u;
        TAnchorTable a;
        ConvertAnchors(t, c, a);
        ConvertLinks(t, c, u);
        ConvertImages(t, c);
        ConvertMacros(t, c);
    };
    const struct {
        const char* name;
        std::string hotspot, stray;
    } rows[] = {
        {"image hotspots", "<IMAGE \"pic", ""},
        {"stray <", "pic \"", "if a < b "},
        {"stray < and image hotspots", "<IMAGE \"pic", "if a < b "},
        {"two stray <", "<IMAGE \"pic", "a < b < c "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = body(row.hotspot, row.stray);
        BuildFixture fast, literal;
        TPassStats stats;
        TPassContext ctx = fast.Context(*fast.intro);
        ctx.Stats = &stats;
        std::string out = text;
        all(out, ctx);
        EXPECT_EQ(stats.TagByTag, 0);
        EXPECT_EQ(out, literal.Run(all, text, true));
        EXPECT_EQ(qmtest::LogLines(fast.log), qmtest::LogLines(literal.log));
        EXPECT_EQ(out.find("</LINK>"), std::string::npos);
        EXPECT_EQ(out.find("</MACRO>"), std::string::npos);
        EXPECT_EQ(out.find("<ANCHOR"), std::string::npos);
    }
}

// A tag whose span holds the rest of its group takes the rest with it only
// while no other tag has the same string: the tag-by-tag road would replace
// that string inside the group first.
TEST(SnapshotPasses, StrayLessThanBeforeACopiedTagIsReplacedTagByTag) {
    const struct {
        const char* name;
        PassFn pass;
        std::string text;
    } rows[] = {
        {"link", kLinks, R"(<LINK TOPIC="Details">hot</LINK> x < b <LINK TOPIC="Details">hot</LINK>)"},
        {"link after", kLinks, R"(< b <LINK TOPIC="Details">hot</LINK> x <LINK TOPIC="Details">hot</LINK>)"},
        {"two groups", kLinks, R"(a < b <LINK TOPIC="Def">y</LINK> c < d <LINK TOPIC="Def">y</LINK>)"},
        {"image", ConvertImages, R"(<IMAGE "a.bmp"> x < b <IMAGE "a.bmp">)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BuildFixture fast, literal;
        TPassStats stats;
        TPassContext ctx = fast.Context(*fast.intro);
        ctx.Stats = &stats;
        std::string out = row.text;
        row.pass(out, ctx);
        EXPECT_EQ(stats.TagByTag, 1);
        EXPECT_EQ(out, literal.Run(row.pass, row.text, true));
        EXPECT_EQ(qmtest::LogLines(fast.log), qmtest::LogLines(literal.log));
    }
}

// A stray "<" before a converted link shares the link's ">"; after the link
// is replaced, the piece from that "<" reads as the raw string of a later
// link, which the tag-by-tag replacement then converts there as well.
TEST(SnapshotPasses, StrayLessThanBeforeALinkIsSweptOnlyWhenHarmless) {
    const std::string later = R"(<LINK TOPIC="De\uldb f"\ulnone\v Details>proc4\v0 Q</LINK>)";
    const std::string cases[] = {
        "a < b " + std::string(R"(<LINK TOPIC="Details">x</LINK> <LINK TOPIC="Def">y</LINK>)"),
        R"(<LINK TOPIC="De<LINK TOPIC="Details" WINDOW=proc4>f"</LINK>Q</LINK> )" + later,
    };
    for (const std::string& text : cases) {
        BuildFixture fast, literal;
        EXPECT_EQ(fast.Run(kLinks, text, false), literal.Run(kLinks, text, true)) << text;
        EXPECT_EQ(qmtest::LogLines(fast.log), qmtest::LogLines(literal.log)) << text;
    }
}

// The sweep that applies a pass's replacements in one go must give exactly
// what the passes give when they replace tag after tag as written.
TEST(SnapshotPasses, SweepMatchesOneByOneReplacement) {
    std::mt19937 rng(42);
    const char* atoms[] = {R"(<LINK TOPIC="Details">)",
                           R"(<LINK TOPIC="Def">)",
                           R"(<LINK POPUP="Def:a">)",
                           "</LINK>",
                           "</LINK",
                           R"(<LINK TOPIC="Details" WINDOW=proc4>)",
                           R"(<ULINK TOPIC="Details">)",
                           "</ULINK>",
                           "<MACRO Exit()>",
                           "</MACRO>",
                           "<UMACRO x|y>",
                           "</UMACRO>",
                           "<BTN Back()>",
                           "</BTN>",
                           R"(<SOUND "a.wav">)",
                           R"(<VIDEO "v">)",
                           R"(<RTF "<x>">)",
                           R"(<RTF "\\b ">)",
                           R"(<IMAGE "a.bmp">)",
                           "<",
                           ">",
                           "x",
                           " ",
                           R"(\b )",
                           "{",
                           "}",
                           "\"",
                           R"(<LINK TOPIC=")",
                           "<LINK <LINK TOPIC=\"Def\">",
                           "&rt;",
                           "\\",
                           R"(<IMAGEL "b<.bmp">)",
                           R"(<IMAGE "">)",
                           R"(<ANCHOR "a">)",
                           R"(<ANCHOR "b">)",
                           R"(<ANCHOR "<">)",
                           "<ANCHOR <IMAGER \"c.bmp\">",
                           "a < b ",
                           "<<",
                           R"(< <IMAGE "a.bmp">)",
                           R"(< <ANCHOR "a">)",
                           R"(< <LINK TOPIC="Details">)"};
    const PassFn anchors = [](std::string& t, const TPassContext& c) {
        TAnchorTable table;
        ConvertAnchors(t, c, table);
    };
    const PassFn passes[] = {kLinks,        kULinks,        ConvertButtons, ConvertMacros, ConvertSounds,
                             ConvertVideos, ConvertRtfTags, ConvertImages,  anchors};
    for (int round = 0; round < 1500; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i) text += atoms[rng() % (sizeof atoms / sizeof *atoms)];
        for (const PassFn& pass : passes) {
            BuildFixture fast, literal;
            const std::string a = fast.Run(pass, text, false);
            const std::string b = literal.Run(pass, text, true);
            ASSERT_EQ(a, b) << text;
            ASSERT_EQ(qmtest::LogLines(fast.log), qmtest::LogLines(literal.log)) << text;
        }
    }
}

}  // namespace
}  // namespace qm
