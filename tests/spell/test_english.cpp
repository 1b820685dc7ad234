// The English main dictionary that the build makes from the wamerican word list
// and places in "Dictionaries" beside the programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "spell/qordictionary.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using qm::StringList;

std::filesystem::path EnglishDictionaryPath() {
#ifdef _WIN32
    wchar_t buf[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return {};
    const std::filesystem::path exe(std::wstring(buf, n));
#else
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
#endif
    return exe.parent_path() / "Dictionaries" / "english.qdf";
}

class EnglishDictionary : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path path = EnglishDictionaryPath();
        if (path.empty() || !std::filesystem::exists(path)) GTEST_SKIP() << "english.qdf not built";
        dict_.LoadFromFile(path.string());
    }
    bool Offers(const std::string& word, const std::string& suggestion) {
        StringList list;
        EXPECT_FALSE(dict_.IsWord(word, &list)) << word;
        return std::find(list.begin(), list.end(), suggestion) != list.end();
    }
    qm::TQorDictionary dict_;
};

TEST_F(EnglishDictionary, KnowsCommonWords) {
    for (const char* w : {"the", "hello", "World", "receive", "dictionary", "dog's", "caf\xE9", "z\xFCrich"})
        EXPECT_TRUE(dict_.Lookup(w)) << w;
    for (const char* w : {"recieve", "helo", "dictionnary", "thecat", "qqq", "caf\xC9"})
        EXPECT_FALSE(dict_.Lookup(w)) << w;
}

TEST_F(EnglishDictionary, SuggestsCorrections) {
    EXPECT_TRUE(Offers("recieve", "receive"));         // neighbours exchanged
    EXPECT_TRUE(Offers("helo", "hello"));              // letter inserted
    EXPECT_TRUE(Offers("dictionnary", "dictionary"));  // letter deleted
    EXPECT_TRUE(Offers("wurld", "world"));             // letter replaced

    StringList list;
    dict_.Suggest("thecat", list);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front(), "the cat");
}

TEST_F(EnglishDictionary, ContractionsWithoutTheirApostropheGetNoFragments) {
    // "NT" of the word list folds to "nt"; kept, it made "dont" a split
    // into "do nt". No piece of a contraction is a word of its own.
    for (const char* piece : {"nt", "ll", "ve", "isn", "doesn", "didn"}) EXPECT_FALSE(dict_.Lookup(piece)) << piece;
    struct Row {
        const char* typed;
        const char* contraction;
    } rows[] = {
        {"dont", "don't"},       {"doesnt", "doesn't"},   {"isnt", "isn't"},     {"wasnt", "wasn't"},
        {"couldnt", "couldn't"}, {"wouldnt", "wouldn't"}, {"havent", "haven't"}, {"hasnt", "hasn't"},
        {"arent", "aren't"},     {"werent", "weren't"},   {"didnt", "didn't"},   {"youre", "you're"},
        {"theyre", "they're"},   {"youll", "you'll"},     {"weve", "we've"},     {"shouldnt", "shouldn't"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        StringList list;
        EXPECT_FALSE(dict_.IsWord(row.typed, &list));
        for (const std::string& s : list) {
            const std::size_t blank = s.find(' ');
            if (blank == std::string::npos) continue;
            for (const std::string& half : {s.substr(0, blank), s.substr(blank + 1)})
                EXPECT_TRUE(half != "nt" && half != "ll" && half != "ve") << s;
        }
        // The corrections try the letters a to z only, never an apostrophe.
        EXPECT_EQ(std::count(list.begin(), list.end(), row.contraction), 0);
    }
    // Real words are offered instead, in the order the rules find them.
    StringList list;
    EXPECT_FALSE(dict_.IsWord("dont", &list));
    const auto done = std::find(list.begin(), list.end(), "done");
    const auto dot = std::find(list.begin(), list.end(), "dot");
    ASSERT_NE(done, list.end());
    ASSERT_NE(dot, list.end());
    EXPECT_LT(dot, done);  // a letter deleted before a letter replaced
    EXPECT_EQ(std::count(list.begin(), list.end(), "do nt"), 0);
}

}  // namespace
