// The dictionary writer: its bytes, and write -> read giving back exactly the words.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "spell/qdfbuilder.h"
#include "spell/qordictionary.h"
#include "support/scratchdir.h"
#include "util/errors.h"

namespace {

using qm::StringList;
using qm::TQorDictionary;

std::string Header() {
    std::string h(128, '\0');
    h[0] = '\x03';
    h[1] = '\x55';
    return h;
}

TEST(DictionaryWriter, WritesTheNodeLayout) {
    // 'a': first child at node 1 (field 2), end of word, last of its row.
    EXPECT_EQ(qm::BuildDictionaryData({"ab", "a"}), Header() + std::string("\x02\x00\xC0\x61\x00\x00\xC0\x62", 8));
    // Letters are stored in code page 850: e-acute 0xE9 is 0x82 there.
    EXPECT_EQ(qm::BuildDictionaryData({"\xE9"}), Header() + std::string("\x00\x00\xC0\x82", 4));
    EXPECT_EQ(qm::BuildDictionaryData({}), Header());
    // Capitals are folded and duplicates dropped.
    EXPECT_EQ(qm::BuildDictionaryData({"AB", "ab", "A", "a"}), qm::BuildDictionaryData({"ab", "a"}));
}

TEST(DictionaryWriter, RefusesWordsALookupCannotFind) {
    struct Case {
        std::string word;
        bool storable;
    } cases[] = {
        {"'", true},
        {"A", true},
        {std::string(79, 'z'), true},
        {"\xE0\xF6\xF9\xFD", true},
        {"it's", true},
        {"", false},
        {"a b", false},
        {"a1", false},
        {"a-b", false},
        {std::string(80, 'a'), false},
        {"\xC9t\xE9", false},
        {"\xF7", false},
        {"\xF8", false},
        {"\xFF", false},
        {"na\xEFve\r", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qm::IsStorableWord(c.word), c.storable) << c.word;
        if (!c.storable) {
            EXPECT_THROW(qm::BuildDictionaryData({"ok", c.word}), qm::Error) << c.word;
        }
    }
}

TEST(DictionaryWriter, ReadsWordListsInEitherEncoding) {
    StringList words, skipped = {"stale"};
    // UTF-8, with every kind of line end, blank lines and blanks around words.
    qm::ReadWordList(
        "caf\xC3\xA9\r\nna\xC3\xAFve\n\n  dog's \r\rx1\n\xC3\x85ngstr\xC3\xB6m\nA\xE2\x82\xAC\nk\xC5\x9F\n", words,
        skipped);
    EXPECT_EQ(words, StringList({"caf\xE9", "na\xEFve", "dog's"}));
    // Digits, a capital A-ring, the euro sign, and a letter Windows-1252 lacks.
    EXPECT_EQ(skipped, StringList({"x1", "\xC5ngstr\xF6m", "A\x80", "k?"}));

    // Not valid UTF-8: taken as Windows-1252.
    qm::ReadWordList("caf\xE9\nna\xEFve", words, skipped);
    EXPECT_EQ(words, StringList({"caf\xE9", "na\xEFve"}));
    EXPECT_TRUE(skipped.empty());
}

TEST(DictionaryWriter, LeavesOutPiecesOfContractionsThatAreNoWords) {
    StringList words, skipped;
    // "NT", "LL" and "ISN" fold to pieces of "don't", "we'll" and "isn't";
    // "re" and "ve" stand in the list as words of their own (lower case),
    // and "Brien" is no piece of a contraction.
    qm::ReadWordList("NT\ndon't\nwe'll\nLL\nRe\nre\nDon\ndon\nisn't\nISN\nO'Brien\nBrien\nVE\nve\nwe've\n", words,
                     skipped);
    EXPECT_EQ(words, StringList({"don't", "we'll", "Re", "re", "Don", "don", "isn't", "O'Brien", "Brien", "VE", "ve",
                                 "we've"}));
    EXPECT_EQ(skipped, StringList({"NT", "LL", "ISN"}));

    // Without the contractions they are pieces of, such words stay.
    qm::ReadWordList("NT\nLL\nit\n", words, skipped);
    EXPECT_EQ(words, StringList({"NT", "LL", "it"}));
    EXPECT_TRUE(skipped.empty());
}

// Every string over a small alphabet up to five letters: found exactly when
// it is one of the written words (folded to lower case).
TEST(DictionaryWriter, ReadBackFindsTheWordsAndNoOthers) {
    const StringList words = {"a",
                              "ab",
                              "aba",
                              "b'",
                              "\xE9",
                              "\xE9"
                              "a",
                              "a'b'",
                              "ba",
                              "BAB",
                              "ab",
                              "'a",
                              "bbbbb"};
    std::set<std::string> expected;
    for (const std::string& w : words) expected.insert(qm::AsciiLowerStr(w));

    TQorDictionary d;
    d.LoadFromData(qm::BuildDictionaryData(words), "small.qdf");
    EXPECT_EQ(d.NodeCount(), qm::DictionaryNodeCount(words));

    const std::string alphabet = "ab'\xE9";
    std::vector<std::string> level = {""};
    int checked = 0;
    for (int len = 1; len <= 5; ++len) {
        std::vector<std::string> next;
        for (const std::string& s : level)
            for (char c : alphabet) next.push_back(s + c);
        for (const std::string& s : next) {
            EXPECT_EQ(d.Lookup(s), expected.count(s) == 1) << s;
            ++checked;
        }
        level = std::move(next);
    }
    EXPECT_EQ(checked, 4 + 16 + 64 + 256 + 1024);
}

TEST(DictionaryWriter, LargeRandomListReadsBack) {
    std::mt19937 rng(12345);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz'\xE0\xE7\xE8\xE9\xF1\xF6\xFC";
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    std::uniform_int_distribution<int> len(1, 14);
    auto randomWord = [&] {
        std::string w(static_cast<std::size_t>(len(rng)), ' ');
        for (char& c : w) c = letters[pick(rng)];
        return w;
    };
    StringList words;
    for (int i = 0; i < 5000; ++i) words.push_back(randomWord());
    words.push_back(std::string(79, 'q'));
    const std::set<std::string> set(words.begin(), words.end());

    TQorDictionary d;
    d.LoadFromData(qm::BuildDictionaryData(words), "random.qdf");
    for (const std::string& w : words) ASSERT_TRUE(d.Lookup(w)) << w;
    for (int i = 0; i < 20000; ++i) {
        const std::string s = randomWord();
        EXPECT_EQ(d.Lookup(s), set.count(s) == 1) << s;
    }
    // Prefixes and extensions of written words.
    for (const std::string& w : words) {
        const std::string shorter = w.substr(0, w.size() - 1);
        EXPECT_EQ(d.Lookup(shorter), set.count(shorter) == 1) << shorter;
        EXPECT_EQ(d.Lookup(w + "z"), set.count(w + "z") == 1) << w;
    }
}

TEST(DictionaryWriter, RefusesMoreNodesThanChildIndexesAddress) {
    // About 7000 x 77 nodes, far beyond the 524287 that 19 bits address.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> letter('a', 'z');
    StringList words;
    for (int i = 0; i < 7000; ++i) {
        std::string w(79, ' ');
        for (char& c : w) c = static_cast<char>(letter(rng));
        words.push_back(w);
    }
    EXPECT_THROW(qm::BuildDictionaryData(words), qm::Error);
}

}  // namespace

// A word list line of a megabyte: the message quotes 200 characters of it.
TEST(DictionaryWriter, AHugeBadWordIsQuotedShort) {
    const std::string word(1 << 20, '1');
    try {
        qm::BuildDictionaryData({word});
        ADD_FAILURE() << "stored";
    } catch (const qm::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The word '" + std::string(200, '1') + "...' cannot be stored in a dictionary.");
    }
}

TEST(DictionaryWriter, WordListFilesOverTheLimitAreRefused) {
    const qmtest::ScratchDir dir("qm_wordlist_");
    const auto path = dir.path() / "words.txt";
    std::ofstream(path, std::ios::binary) << "apple\r\nbanana\r\n";
    StringList words, skipped;
    qm::ReadWordListFile(path.string(), words, skipped);
    EXPECT_EQ(words, StringList({"apple", "banana"}));
    std::filesystem::resize_file(path, qm::kMaxWordListBytes + 1);
    try {
        qm::ReadWordListFile(path.string(), words, skipped);
        ADD_FAILURE() << "read";
    } catch (const qm::EFileTooLarge& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open " + path.string() + " - The file is too large (the limit is 64 MB).");
    }
}
