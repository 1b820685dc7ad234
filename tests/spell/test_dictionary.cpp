// The main dictionary reader, lookup and suggestion rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "spell/qdfbuilder.h"
#include "spell/qordictionary.h"
#include "support/scratchdir.h"
#include "util/errors.h"

namespace {

using qm::StringList;
using qm::TQorDictionary;

constexpr std::uint32_t kEow = 1u << 22;
constexpr std::uint32_t kLast = 1u << 23;

// One node word: letter (code page 850), first child index (-1 = none), flags.
std::uint32_t Node(unsigned char letter, int child, std::uint32_t flags) {
    return (static_cast<std::uint32_t>(letter) << 24) | (child < 0 ? 0u : static_cast<std::uint32_t>(child + 1)) |
           flags;
}

std::string DictData(const std::vector<std::uint32_t>& nodes) {
    std::string d(128, '\0');
    d[0] = '\x03';
    d[1] = '\x55';
    for (std::uint32_t v : nodes)
        for (int b = 0; b < 4; ++b) d.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
    return d;
}

TQorDictionary FromNodes(const std::vector<std::uint32_t>& nodes) {
    TQorDictionary d;
    d.LoadFromData(DictData(nodes), "test.qdf");
    return d;
}

TQorDictionary FromWords(const StringList& words) {
    TQorDictionary d;
    d.LoadFromData(qm::BuildDictionaryData(words), "words.qdf");
    return d;
}

const std::string kSmall = std::string(QM_TEST_DATA_DIR) + "/spell/small.qdf";

class DictionaryOnDisk : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.file(name); }
    void Write(const std::string& name, const std::string& data) const {
        std::ofstream(dir_.path() / name, std::ios::binary) << data;
    }
    qmtest::ScratchDir dir_{"qm_spell_"};
};

// small.qdf is written by hand: a, an, and, ant, a's, be, and "ét" whose first
// letter is stored as 0x82 in code page 850. Its header filler is not zero and
// three stray bytes follow the last node.
TEST(DictionaryFile, HandMadeFileAnswersLookups) {
    TQorDictionary d;
    d.LoadFromFile(kSmall);
    EXPECT_EQ(d.NodeCount(), 10u);
    EXPECT_EQ(d.FileName(), kSmall);

    struct Case {
        const char* word;
        bool found;
    } cases[] = {
        {"a", true},     {"an", true},    {"and", true},  {"ant", true},    {"a's", true},
        {"be", true},    {"\xE9t", true}, {"AnD", true},  {"BE", true},     {"b", false},
        {"ants", false}, {"anda", false}, {"bee", false}, {"\xC9t", false}, {"\xE9", false},
        {"c", false},    {"", false},     {"'s", false},  {"n", false},     {"a'", false},
    };
    for (const Case& c : cases) EXPECT_EQ(d.Lookup(c.word), c.found) << c.word;
}

TEST(DictionaryFile, LookupReportsDepthAndPath) {
    TQorDictionary d;
    d.LoadFromFile(kSmall);
    TQorDictionary::TPath path{};
    int depth = -1;

    EXPECT_TRUE(d.Lookup("and", depth, path));
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(path[0], 0u);
    EXPECT_EQ(path[1], 3u);
    EXPECT_EQ(path[2], 7u);

    EXPECT_TRUE(d.Lookup("a's", depth, path));
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(path[1], 4u);
    EXPECT_EQ(path[2], 9u);

    // Stops at the letter that has no match.
    EXPECT_FALSE(d.Lookup("anx", depth, path));
    EXPECT_EQ(depth, 2);
    // Stops where the tree has no children.
    EXPECT_FALSE(d.Lookup("bed", depth, path));
    EXPECT_EQ(depth, 2);
    // Matched every letter, but no word ends there.
    EXPECT_FALSE(d.Lookup("b", depth, path));
    EXPECT_EQ(depth, 1);
    EXPECT_FALSE(d.Lookup("xa", depth, path));
    EXPECT_EQ(depth, 0);
}

TEST(DictionaryFile, InvalidFilesAreRefusedWithTheMessage) {
    std::string good = DictData({Node('a', -1, kEow | kLast)});
    std::string badMagic = good;
    badMagic[1] = '\x56';
    std::string swapped = good;
    std::swap(swapped[0], swapped[1]);
    const std::string cases[] = {
        "",
        std::string(127, '\0').replace(0, 2, "\x03\x55"),  // one byte short of a header
        badMagic,
        swapped,
    };
    for (const std::string& data : cases) {
        TQorDictionary d;
        try {
            d.LoadFromData(data, "bad.qdf");
            ADD_FAILURE() << "accepted " << data.size() << " bytes";
        } catch (const qm::EInvalidDictionary& e) {
            EXPECT_STREQ(e.what(), "This file is not a valid Velgrave Dictionary File.");
        }
        EXPECT_EQ(d.NodeCount(), 0u);
    }
}

TEST(DictionaryFile, BareHeaderIsAnEmptyDictionary) {
    TQorDictionary d;
    d.LoadFromData(DictData({}), "empty.qdf");
    EXPECT_EQ(d.NodeCount(), 0u);
    EXPECT_FALSE(d.Lookup("a"));
    StringList list;
    EXPECT_FALSE(d.IsWord("ab", &list));
    EXPECT_TRUE(list.empty());
}

TEST_F(DictionaryOnDisk, MissingFileIsAFileErrorAndKeepsTheLoadedWords) {
    TQorDictionary d;
    d.LoadFromFile(kSmall);
    EXPECT_THROW(d.LoadFromFile(Path("none.qdf")), qm::EFileAccess);
    EXPECT_TRUE(d.Lookup("and"));
    EXPECT_EQ(d.FileName(), kSmall);

    Write("bad.qdf", std::string(200, 'x'));
    EXPECT_THROW(d.LoadFromFile(Path("bad.qdf")), qm::EInvalidDictionary);
    EXPECT_TRUE(d.Lookup("and"));
    EXPECT_EQ(d.FileName(), kSmall);
}

TEST_F(DictionaryOnDisk, FilesAbove64MegabytesAreRefused) {
    const std::string header = DictData({Node('a', -1, kEow | kLast)});
    Write("big.qdf", header);
    std::filesystem::resize_file(dir_.path() / "big.qdf", TQorDictionary::MaxFileSize + 1);
    TQorDictionary d;
    // It says it is too large, not that it is no dictionary.
    try {
        d.LoadFromFile(Path("big.qdf"));
        ADD_FAILURE() << "an oversized dictionary was read";
    } catch (const qm::EFileTooLarge& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open " + Path("big.qdf") + " - The file is too large (the limit is 64 MB).");
    }
    EXPECT_EQ(d.NodeCount(), 0u);
    EXPECT_THROW(d.LoadFromData(std::string(TQorDictionary::MaxFileSize + 1, '\0'), "mem.qdf"), qm::EFileTooLarge);

    // Exactly 64 MB is still a dictionary.
    std::filesystem::resize_file(dir_.path() / "big.qdf", TQorDictionary::MaxFileSize);
    d.LoadFromFile(Path("big.qdf"));
    EXPECT_EQ(d.NodeCount(), (TQorDictionary::MaxFileSize - 128) / 4);
    EXPECT_TRUE(d.Lookup("a"));
}

TEST(DictionaryFile, ClearDropsWordsAndName) {
    TQorDictionary d;
    d.LoadFromFile(kSmall);
    d.Clear();
    EXPECT_EQ(d.NodeCount(), 0u);
    EXPECT_EQ(d.FileName(), "");
    EXPECT_FALSE(d.Lookup("and"));
}

// Indexes and rows that lead outside the node list mean "not found".
TEST(DictionaryHostile, IndexesOutOfRangeAreNotFound) {
    // 'a' points past the end, 'b' one past the last node, 'c' at the last
    // node whose row then runs off the end without a last-sibling bit.
    const TQorDictionary d = FromNodes({
        Node('a', 1000, kEow),
        Node('b', 4, kEow),
        Node('c', 3, kEow | kLast),
        Node('x', -1, kEow),
    });
    EXPECT_TRUE(d.Lookup("a"));
    EXPECT_FALSE(d.Lookup("ab"));
    EXPECT_FALSE(d.Lookup("ba"));
    EXPECT_TRUE(d.Lookup("cx"));
    EXPECT_FALSE(d.Lookup("cy"));

    // The largest child field the format holds.
    const TQorDictionary e = FromNodes({Node('a', 0x7FFFE, kEow | kLast)});
    EXPECT_TRUE(e.Lookup("a"));
    EXPECT_FALSE(e.Lookup("aa"));
}

TEST(DictionaryHostile, TopRowWithoutEndIsScannedSafely) {
    const TQorDictionary d = FromNodes({Node('a', -1, kEow), Node('b', -1, kEow)});
    EXPECT_TRUE(d.Lookup("b"));
    EXPECT_FALSE(d.Lookup("c"));
}

TEST(DictionaryHostile, WordsLongerThanThePathAreNotFound) {
    // A node that is its own child: every run of a's walks the tree forever.
    const TQorDictionary d = FromNodes({Node('a', 0, kEow | kLast)});
    TQorDictionary::TPath path{};
    int depth = 0;
    EXPECT_TRUE(d.Lookup(std::string(79, 'a'), depth, path));
    EXPECT_EQ(depth, 79);
    EXPECT_EQ(path[78], 0u);
    EXPECT_FALSE(d.Lookup(std::string(80, 'a'), depth, path));
    EXPECT_EQ(depth, 0);
    EXPECT_FALSE(d.Lookup(std::string(5000, 'a')));

    // Candidates one letter longer than the path are never found: 76 splits,
    // then only the word itself (a letter replaced by itself).
    StringList list;
    d.Suggest(std::string(79, 'a'), list);
    ASSERT_EQ(list.size(), 77u);
    EXPECT_EQ(list.front(), "aa " + std::string(77, 'a'));
    EXPECT_EQ(list.back(), std::string(79, 'a'));
}

TEST(DictionaryHostile, WordsLongerThanAnyWordGetWhatTheRulesCanReach) {
    // A word a letter too long loses one by deletion; a word twice the
    // longest splits in two; anything longer can reach no word at all.
    const std::string a79(79, 'a');
    const std::string b79(79, 'b');
    const TQorDictionary d = FromWords({a79, b79});
    struct Row {
        std::string typed;
        StringList expected;
    } rows[] = {
        {std::string(80, 'a'), {a79}},
        {a79 + b79, {a79 + " " + b79}},
        {a79 + "b" + b79, {}},
        {std::string(5000, 'a'), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.size());
        StringList list = {"stale"};
        d.Suggest(row.typed, list);
        EXPECT_EQ(list, row.expected);
    }
}

TEST(DictionaryHostile, ATreeWhereEveryStringIsAWordGivesEachCandidateOnce) {
    // Every letter's children are the top row again: every string of a-z is
    // a word, so every candidate of every rule is found.
    std::vector<std::uint32_t> nodes;
    for (char c = 'a'; c <= 'z'; ++c) nodes.push_back(Node(static_cast<unsigned char>(c), 0, kEow));
    nodes.back() |= kLast;
    const TQorDictionary d = FromNodes(nodes);
    StringList list;
    d.Suggest("spelling", list);
    // 5 splits; the 9 x 25 + 1 strings one letter longer (rules 2 to 4 give
    // each once); no deletions, for ten were found; the 8 x 25 + 1 strings
    // with one letter replaced; 6 exchanges ("ll" exchanged is the word).
    ASSERT_EQ(list.size(), 5u + 226u + 201u + 6u);
    EXPECT_EQ(list.front(), "sp elling");
    EXPECT_EQ(list[5], "aspelling");
    EXPECT_EQ(list.back(), "spellign");
    StringList sorted = list;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_EQ(std::count_if(list.begin(), list.end(), [](const std::string& s) { return s.size() == 7; }), 0);
}

TEST(DictionaryHostile, RowsAreScannedNoFurtherThanOneNodePerLetter) {
    // 300 nodes in the top row without a last-sibling bit; the letter 'z'
    // only at node 299.
    std::vector<std::uint32_t> nodes(300, Node('q', -1, 0));
    nodes[255] = Node('y', -1, kEow);
    nodes[299] = Node('z', -1, kEow);
    const TQorDictionary d = FromNodes(nodes);
    EXPECT_TRUE(d.Lookup("y"));
    EXPECT_FALSE(d.Lookup("z"));
}

TEST(DictionaryLookup, FirstCharacterMustBeAWordCharacter) {
    // The tree holds words starting with every byte; only some may begin a word.
    std::vector<std::uint32_t> nodes;
    for (int b = 1; b < 256; ++b) nodes.push_back(Node(static_cast<unsigned char>(b), -1, kEow));
    nodes.back() |= kLast;
    TQorDictionary d;
    d.LoadFromData(DictData(nodes), "all.qdf");
    for (int b = 1; b < 256; ++b) {
        const std::string ansi(1, static_cast<char>(b));
        const bool allowed = b == '\'' || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= 224 && b <= 246) ||
                             (b >= 249 && b <= 253);
        if (!allowed) {
            EXPECT_FALSE(d.Lookup(ansi)) << b;
        }
    }
    for (const char* w : {"'", "a", "z", "A", "\xE0", "\xF6", "\xF9", "\xFD"}) EXPECT_TRUE(d.Lookup(w)) << w;
    for (const char* w : {"0", "-", "\xF7", "\xF8", "\xFE", "\xFF", "\xC0", "\xDF"}) EXPECT_FALSE(d.Lookup(w)) << w;
}

TEST(DictionarySuggest, RulesRunInTheirOrder) {
    // One dictionary word for each rule, plus a second one for some.
    const TQorDictionary d =
        FromWords({"act", "bat", "cab", "cart", "cats", "chat", "cut", "hat", "scat", "at", "ca", "tac"});
    StringList list;
    EXPECT_FALSE(d.IsWord("cat", &list));
    const StringList expected = {
        "scat",                        // letter in front
        "cats",                        // letter at the end
        "chat", "cart",                // inserted, by position
        "at",   "ca",                  // deleted
        "bat",  "hat",  "cut", "cab",  // replaced
        "act",                         // neighbours exchanged
    };
    EXPECT_EQ(list, expected);
}

TEST(DictionarySuggest, SplitsComeFirst) {
    const TQorDictionary d = FromWords({"to", "see", "tosees", "t", "osee", "tos", "ee"});
    StringList list;
    d.Suggest("tosee", list);
    // "t osee" is not offered: both halves must have two letters or more.
    EXPECT_EQ(list, StringList({"to see", "tos ee", "tosees", "osee"}));
}

TEST(DictionarySuggest, DeletionsOnlyWhileFewerThanTenFound) {
    StringList nine;
    for (char c = 'a'; c < 'a' + 9; ++c) nine.push_back(std::string(1, c) + "abc");
    StringList ten = nine;
    ten.push_back("jabc");
    nine.push_back("ab");
    ten.push_back("ab");

    StringList list;
    FromWords(nine).Suggest("abc", list);
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.back(), "ab");

    FromWords(ten).Suggest("abc", list);
    EXPECT_EQ(list.size(), 10u);
    EXPECT_EQ(std::count(list.begin(), list.end(), "ab"), 0);
}

TEST(DictionarySuggest, TwoLetterWordsGetNoDeletions) {
    const TQorDictionary d = FromWords({"a", "x", "ox"});
    StringList list;
    d.Suggest("ax", list);
    EXPECT_EQ(list, StringList({"ox"}));  // by replacement; never "a" or "x"
}

TEST(DictionarySuggest, WordWithABadFirstCharacterStillGetsSuggestions) {
    const TQorDictionary d = FromWords({"ab", "cab"});
    StringList list;
    EXPECT_FALSE(d.IsWord("1ab", &list));
    EXPECT_EQ(list, StringList({"ab", "cab"}));
}

TEST(DictionarySuggest, DuplicatesAreDroppedIgnoringCase) {
    const TQorDictionary d = FromWords({"cat"});
    StringList list;
    // Replacing a letter by itself gives the word again at each position.
    d.Suggest("CAt", list);
    EXPECT_EQ(list, StringList({"cAt"}));
}

TEST(DictionarySuggest, IsWordLeavesTheListAloneForAKnownWord) {
    const TQorDictionary d = FromWords({"cat", "act"});
    StringList list = {"old"};
    EXPECT_TRUE(d.IsWord("Cat", &list));
    EXPECT_EQ(list, StringList({"old"}));
    EXPECT_FALSE(d.IsWord("cta", &list));
    EXPECT_EQ(list, StringList({"cat"}));
    EXPECT_FALSE(d.IsWord("zzz", &list));
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(d.IsWord("act"));
}

TEST(DictionarySuggest, EmptyWordGetsOnlySingleLetters) {
    const TQorDictionary d = FromWords({"i", "ox"});
    StringList list = {"stale"};
    d.Suggest("", list);
    EXPECT_EQ(list, StringList({"i"}));
}

}  // namespace
