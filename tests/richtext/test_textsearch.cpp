// The one text matcher: positions, options, overlapping hits and the hits of
// a Replace All, whose searches resume after the inserted text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "richtext/textsearch.h"

namespace {

using qm::kSearchDown;
using qm::kSearchMatchCase;
using qm::kSearchWholeWord;

TEST(TextSearch, FindInTextTable) {
    // 0         1         2         3
    // 0123456789012345678901234567890123456
    // Find the word, then words and WORD.\rword
    const std::u16string text = u"Find the word, then words and WORD.\rword";
    struct Row {
        const char* name;
        std::u16string needle;
        int start, length, options, expected;
    } rows[] = {
        {"DownFromStart", u"word", 0, -1, kSearchDown, 9},
        {"DownAfterFirst", u"word", 10, -1, kSearchDown, 20},
        {"MatchCaseLower", u"word", 0, -1, kSearchDown | kSearchMatchCase, 9},
        {"MatchCaseUpper", u"WORD", 0, -1, kSearchDown | kSearchMatchCase, 30},
        {"WholeWordSkipsWords", u"word", 10, -1, kSearchDown | kSearchWholeWord, 30},
        {"WholeWordAfterParagraphBreak", u"word", 31, -1, kSearchDown | kSearchWholeWord | kSearchMatchCase, 36},
        {"RangeEndsInsideTheWord", u"word", 0, 12, kSearchDown, -1},
        {"RangeHoldsTheWord", u"word", 0, 13, kSearchDown, 9},
        {"UpLastInRange", u"word", 35, -35, 0, 30},
        {"UpNearestBeforeStart", u"word", 29, -1, 0, 20},
        {"UpRangePastStartReachesBack", u"word", 29, 41, 0, 20},
        {"UpHitEndingAtStartCounts", u"word", 24, 41, 0, 20},
        {"UpNothingBefore", u"word", 8, 41, 0, -1},
        {"UpMatchCase", u"WORD", 35, 41, kSearchMatchCase, 30},
        {"Missing", u"missing", 0, -1, kSearchDown, -1},
        {"EmptyNeedle", u"", 0, -1, kSearchDown, -1},
        {"StartPastEnd", u"word", 100, -1, kSearchDown, -1},
        {"NegativeStartDown", u"Find", -5, -1, kSearchDown, 0},
        {"HugeLengthNoOverflow", u"word", 10, 2147483647, kSearchDown, 20},
        {"ParagraphBreakInNeedle", u".\rword", 0, -1, kSearchDown, 34},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(qm::FindInText(text, r.needle, r.start, r.length, r.options), r.expected);
    }
}

TEST(TextSearch, OverlappingHitsEachOneAfterTheStartOfTheLast) {
    EXPECT_EQ(qm::FindAllHits(u"aaaa", u"aa", 0), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(qm::FindAllHits(u"abab", u"ab", 0), (std::vector<int>{0, 2}));
    EXPECT_EQ(qm::FindAllHits(u"a", u"aa", 0), std::vector<int>{});
    EXPECT_EQ(qm::FindAllHits(u"aaaa", u"", 0), std::vector<int>{});
}

TEST(TextSearch, FindAllHitsOptions) {
    // The caller folds the text when the search ignores case; the needle is folded here.
    const std::u16string text = u"Word word WORD sword words";
    EXPECT_EQ(qm::FindAllHits(qm::FoldSearchText(text), u"WoRd", 0), (std::vector<int>{0, 5, 10, 16, 21}));
    EXPECT_EQ(qm::FindAllHits(text, u"word", kSearchMatchCase), (std::vector<int>{5, 16, 21}));
    EXPECT_EQ(qm::FindAllHits(qm::FoldSearchText(text), u"word", kSearchWholeWord), (std::vector<int>{0, 5, 10}));
    EXPECT_EQ(qm::FindAllHits(text, u"word", kSearchWholeWord | kSearchMatchCase), (std::vector<int>{5}));
}

TEST(TextSearch, FindAllHitsAgreesWithFindInText) {
    // The module search and the editor's search give the same hits.
    const std::u16string text =
        u"x_ab ab-ab\rAB\x0B"
        u"ab\xE9"
        u"ab \u00C9ab";
    for (int options : {0, kSearchWholeWord, kSearchMatchCase, kSearchWholeWord | kSearchMatchCase}) {
        SCOPED_TRACE(options);
        std::vector<int> expected;
        for (int p = qm::FindInText(text, u"ab", 0, -1, options | kSearchDown); p != -1;
             p = qm::FindInText(text, u"ab", p + 1, -1, options | kSearchDown))
            expected.push_back(p);
        const std::u16string searched = qm::SearchNeedsFolding(options) ? qm::FoldSearchText(text) : text;
        EXPECT_EQ(qm::FindAllHits(searched, u"ab", options), expected);
    }
}

TEST(TextSearch, WordCharacters) {
    struct Row {
        const char* name;
        char16_t c;
        bool word;
    } rows[] = {
        {"Digit", u'7', true},           {"Underscore", u'_', true},   {"Hyphen", u'-', false},
        {"Blank", u' ', false},          {"Quote", u'"', false},       {"ParagraphBreak", u'\r', false},
        {"AGrave", 0xC0, true},          {"Times", 0xD7, false},       {"Divide", 0xF7, false},
        {"YDiaeresis", 0xFF, true},      {"Ordinal", 0xAA, false},     {"Micro", 0xB5, false},
        {"NoBreakSpace", 0xA0, false},   {"OE", 0x152, true},          {"SCaron", 0x161, true},
        {"YDiaeresisCap", 0x178, true},  {"FHook", 0x192, true},       {"Circumflex", 0x2C6, true},
        {"SmallTilde", 0x2DC, false},    {"Euro", 0x20AC, false},      {"Ellipsis", 0x2026, false},
        {"Dash", 0x2014, false},         {"TradeMark", 0x2122, false}, {"GreekAlpha", 0x3B1, true},
        {"GreekQuestion", 0x37E, false}, {"CyrillicZhe", 0x436, true}, {"CJK", 0x4E00, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(qm::IsSearchWordChar(r.c), r.word);
    }
}

TEST(TextSearch, ReplaceAllHitsResumeAfterTheInsertedText) {
    struct Row {
        const char* name;
        std::u16string text, needle, replacement;
        int options;
        std::vector<int> expected;
    } rows[] = {
        {"GrowingReplacement", u"aaa", u"a", u"aa", 0, {0, 1, 2}},
        {"NoOverlapAsFindHas", u"aaaa", u"aa", u"b", 0, {0, 2}},
        // "--" -> "x-": the second "-" follows the inserted "x", a word character.
        {"WholeWordSeesTheInsertedText", u"--", u"-", u"x", kSearchWholeWord, {0}},
        // Replacing by nothing: the second "-" follows what stood before the first.
        {"WholeWordAfterDeletion", u" --", u"-", u"", kSearchWholeWord, {1, 2}},
        {"WholeWordAfterDeletionAtStart", u"--", u"-", u"", kSearchWholeWord, {0, 1}},
        {"WholeWordNotAfterAWord", u"x--", u"-", u"", kSearchWholeWord, {2}},
        {"ReplacementHoldsTheNeedle", u"ab ab", u"ab", u"xaby", 0, {0, 3}},
        {"CaseIgnored", u"Ab aB", u"ab", u"c", 0, {0, 3}},
        {"NoHit", u"abc", u"x", u"y", 0, {}},
        {"EmptyNeedle", u"abc", u"", u"y", 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::u16string searched = qm::SearchNeedsFolding(r.options) ? qm::FoldSearchText(r.text) : r.text;
        EXPECT_EQ(qm::ReplaceAllHits(searched, r.needle, r.options, r.replacement), r.expected);
    }
}

}  // namespace
