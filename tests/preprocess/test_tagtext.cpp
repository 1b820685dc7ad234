#include <gtest/gtest.h>

#include <random>
#include <string>

#include "preprocess/tagtext.h"
#include "util/qorstring.h"

namespace qm {
namespace {

TEST(StripRtf, RemovesCodesKeepsText) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {R"(<LINK TOPIC="Intro">)", R"(<LINK TOPIC="Intro">)"},
        {R"(<\b L\b0 INK TOPIC="Intro">)", R"(<LINK TOPIC="Intro">)"},  // bold first letter
        {R"({\cf1 <IMAGE}{ "a.bmp">})", R"(<IMAGE "a.bmp">)"},
        {R"(\par\pard\plain text)", "text"},  // a run of words, one ending blank
        {R"(a\par  b)", "a b"},               // only one blank goes with the word
        {R"(\*\bkmkstart x)", "x"},           // asterisks belong to the run
        {R"(\li-360 x)", "-360 x"},           // "-" ends the run
        {"a\\", "a"},                         // lone backslash at the end
        {R"(C:\\Help)", R"(C:\Help)"},
        {R"(\{x\})", "{x}"},
        {R"(caf\'e9 )", "caf\xe9 "},
        {R"(\'E9t\'3c)", "\xe9t<"},
        {R"(\'4)", ""},     // too short for an escape: dropped as a control word
        {R"(\'zz!)", "!"},  // not hex: dropped with its run
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(StripRtf(c.in), c.out) << c.in;
}

TEST(StripRtf, ViewIsTheTextItselfOnlyWithoutCodes) {
    // Every length around the eight-byte steps of the look for codes, with
    // one code character at each place: the view is the stripped copy then,
    // and the text itself when it holds none.
    std::string buffer;
    for (std::size_t size = 1; size <= 40; ++size) {
        const std::string plain(size, 'a');
        EXPECT_EQ(StripRtfView(plain, buffer).data(), plain.data()) << size;
        for (std::size_t at = 0; at < size; ++at) {
            for (const char code : {'\\', '{', '}'}) {
                std::string text = plain;
                text[at] = code;
                SCOPED_TRACE(text);
                const std::string_view view = StripRtfView(text, buffer);
                EXPECT_NE(view.data(), text.data());
                EXPECT_EQ(view, StripRtf(text));
            }
        }
    }
}

TEST(FirstQuoted, TextBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(FirstQuoted(R"(<LINK TOPIC="Intro:a:b">)"), "Intro:a:b");
    EXPECT_EQ(FirstQuoted(R"(<IMAGE "a.bmp" "b.bmp">)"), "a.bmp");
    EXPECT_EQ(FirstQuoted(R"(<IMAGE "">)"), "");
    EXPECT_EQ(FirstQuoted(R"(<IMAGE "a.bmp>)"), "");
    EXPECT_EQ(FirstQuoted("<IMAGE>"), "");
}

TEST(FindTag, FindsTagsByNameAndPosition) {
    std::string tag;
    const std::string text = R"(x <ULINK TOPIC="a">u</ULINK> <LINK POPUP="b">l</LINK>)";
    EXPECT_EQ(FindTag(text, "LINK", 1, tag), 30);  // ULINK is not LINK
    EXPECT_EQ(tag, R"(<LINK POPUP="b">)");
    EXPECT_EQ(FindTag(text, "ULINK", 1, tag), 3);
    EXPECT_EQ(FindTag(text, "ULINK", 4, tag), -1);
    EXPECT_EQ(tag, "");
    EXPECT_EQ(FindTag(text, "/LINK", 1, tag), 47);  // "</ULINK" holds no "</LINK"
    EXPECT_EQ(FindTag(text, "link", 1, tag), 30);   // names in any case
}

TEST(FindTag, ImageFindsItsPlacedForms) {
    std::string tag;
    EXPECT_EQ(FindTag(R"(ab<imagel "x.bmp">)", "IMAGE", 1, tag), 3);
    EXPECT_EQ(tag, R"(<imagel "x.bmp">)");
    EXPECT_EQ(FindTag("<MACRO x>", "MACRO", 1, tag), 1);
    EXPECT_EQ(FindTag("<UMACRO x>", "MACRO", 1, tag), -1);
}

TEST(FindTag, FormattedTagIsFoundWithItsCodes) {
    std::string tag;
    const std::string text = R"(see {\b <L}INK TOPIC="Intro">here)";
    EXPECT_EQ(FindTag(text, "LINK", 1, tag), 9);
    EXPECT_EQ(tag, R"(<L}INK TOPIC="Intro">)");
}

TEST(FindTag, EscapedTagIsNoTag) {
    std::string tag;
    EXPECT_EQ(FindTag("&lt;LINK TOPIC=\"a\"&rt;", "LINK", 1, tag), -1);
    EXPECT_EQ(FindTag("<LINK TOPIC=\"a\"", "LINK", 1, tag), -1);  // no ">" closes it
}

TEST(FindTag, PieceRunsToTheNextGreaterThan) {
    std::string tag;
    // Both "<" share the same ">": the first one already holds "<LINK".
    EXPECT_EQ(FindTag("< a <LINK TOPIC=\"x\">", "LINK", 1, tag), 1);
    EXPECT_EQ(tag, "< a <LINK TOPIC=\"x\">");
    EXPECT_EQ(FindTag("< a <LINK TOPIC=\"x\">", "LINK", 2, tag), 5);
    // A "<" made by an escape inside the piece counts as well.
    EXPECT_EQ(FindTag(R"(<b \'3cLINK x>)", "LINK", 1, tag), 1);
}

// The definition, written out: each "<" from `start`, its piece up to the
// next ">", stripped and upper-cased, must contain "<" + name.
int NaiveFindTag(const std::string& text, const std::string& name, int start, std::string& tag) {
    tag.clear();
    const std::string pattern = "<" + AsciiUpperStr(name);
    for (std::size_t lt = text.find('<', static_cast<std::size_t>(start - 1)); lt != std::string::npos;
         lt = text.find('<', lt + 1)) {
        const std::size_t gt = text.find('>', lt);
        if (gt == std::string::npos) return -1;
        const std::string piece = text.substr(lt, gt - lt + 1);
        if (AsciiUpperStr(StripRtf(piece)).find(pattern) != std::string::npos) {
            tag = piece;
            return static_cast<int>(lt) + 1;
        }
    }
    return -1;
}

TEST(FindTag, AgreesWithTheDefinitionOnRandomText) {
    std::mt19937 rng(7);
    const char* atoms[] = {"<", ">",  "LINK", "link",   "/LINK",   "\\b ",   "\\'3c",  "{",  "}",  " ",
                           "x", "\"", "\\",   "<LINK ", "</LINK>", "<IMAGE", "IMAGEL", "<<", "\\'"};
    for (int round = 0; round < 600; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i) text += atoms[rng() % (sizeof atoms / sizeof *atoms)];
        // The groups found once serve every name's scan of the same text.
        const TTagGroups groups(text);
        for (const char* name : {"LINK", "/LINK", "IMAGE"}) {
            std::vector<TTagSpan> expect;
            std::string tag, naiveTag;
            int p = NaiveFindTag(text, name, 1, naiveTag);
            while (p > 0) {
                expect.push_back({static_cast<std::size_t>(p - 1), static_cast<std::size_t>(p - 1) + naiveTag.size()});
                ASSERT_EQ(FindTag(text, name, p, tag), p) << text;
                ASSERT_EQ(tag, naiveTag) << text;
                p = NaiveFindTag(text, name, p + 1, naiveTag);
            }
            // ScanTags lists exactly the walk from 1, one after each hit.
            const std::vector<TTagSpan> got = ScanTags(text, name);
            ASSERT_EQ(got.size(), expect.size()) << text;
            for (std::size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].begin, expect[i].begin) << text;
                EXPECT_EQ(got[i].end, expect[i].end) << text;
            }
            const std::vector<TTagSpan> fromGroups = ScanTags(groups, name);
            ASSERT_EQ(fromGroups.size(), expect.size()) << text;
            for (std::size_t i = 0; i < fromGroups.size(); ++i) {
                EXPECT_EQ(fromGroups[i].begin, expect[i].begin) << text;
                EXPECT_EQ(fromGroups[i].end, expect[i].end) << text;
            }
        }
    }
}

TEST(EscapeRtf, EscapesSpecialAndHighBytes) {
    EXPECT_EQ(EscapeRtf("plain Text_1"), "plain Text_1");
    EXPECT_EQ(EscapeRtf(R"(a\b{c}d)"), R"(a\\b\{c\}d)");
    EXPECT_EQ(EscapeRtf("Caf\xe9\x80"), R"(Caf\'e9\'80)");
}

TEST(ReplaceAllFrom, BehavesLikeReplaceString) {
    struct Case {
        std::string s, oldText, newText;
        std::size_t from;
    } cases[] = {
        {"aaaa", "aa", "a", 0},   {"abcabc", "abc", "xabcx", 0},  // new text holding the old one does not loop
        {"abcabc", "abc", "", 1}, {"\\\\\\", "\\\\", "\\", 0},   {"none", "x", "y", 0}, {"ab", "", "y", 0},
    };
    for (const Case& c : cases) {
        std::string expect = c.s;
        ReplaceString(expect, c.oldText, c.newText, true, static_cast<int>(c.from) + 1);
        std::string got = c.s;
        ReplaceAllFrom(got, c.oldText, c.newText, c.from);
        EXPECT_EQ(got, expect) << c.s << " / " << c.oldText;
    }
}

}  // namespace
}  // namespace qm
