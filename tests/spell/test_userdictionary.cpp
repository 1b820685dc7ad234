// Personal dictionaries and dictionary names: the ".dic" text read with any
// line end and written sorted with CR LF, saves that fail without harm,
// names that cannot leave their folder, and the listing of both folders.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>
#include <string>

#include "spell/spellengine.h"
#include "spell/userdictionary.h"
#include "spell_support.h"
#include "support/scratchdir.h"
#include "util/errors.h"
#include "util/fileio.h"

namespace qmtest {
namespace {

TEST(UserWords, ReadsAnyLineEndAndWritesSortedCrLf) {
    struct Row {
        const char* name;
        std::string file;
    } rows[] = {
        {"CR LF", "zeta\r\nAlpha\r\nbeta\r\n"},
        {"LF only", "zeta\nAlpha\nbeta\n"},
        {"CR only", "zeta\rAlpha\rbeta"},
        {"mixed, blank lines and blanks", "zeta\r\n\r\n  Alpha\n\rbeta \t\r\n"},
        {"a duplicate in another case", "zeta\r\nAlpha\r\nbeta\r\nALPHA\r\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        qm::TUserWords words;
        words.SetText(r.file);
        EXPECT_EQ(words.Count(), 3u);
        EXPECT_EQ(words.Text(), "Alpha\r\nbeta\r\nzeta\r\n");
        for (const char* w : {"alpha", "ALPHA", "Beta", "zeta"}) EXPECT_TRUE(words.Contains(w)) << w;
        for (const char* w : {"zeta\r", "alph", ""}) EXPECT_FALSE(words.Contains(w)) << w;
    }
}

TEST(UserWords, OrderComparesLowerCaseBytes) {
    qm::TUserWords words;
    for (const char* w : {"b", "\xE9t\xE9", "B2", "a", "Zed", "_x", "'s"}) words.Add(w);
    EXPECT_FALSE(words.Add("ZED"));
    // Compared as lower case: "_" (0x5F) comes before "a".
    EXPECT_EQ(words.Text(), "'s\r\n_x\r\na\r\nb\r\nB2\r\nZed\r\n\xE9t\xE9\r\n");
}

TEST(UserWords, RoundTripThroughAFile) {
    ScratchDir dir;
    const std::string file = dir.file("sub/folder/mine.dic");
    qm::TUserWords words;
    words.SetText("velgrave\nquillmark\nPikeral\n");
    words.SaveToFile(file);  // creates the folders
    EXPECT_EQ(ReadRaw(file), "Pikeral\r\nquillmark\r\nvelgrave\r\n");
    qm::TUserWords back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.Text(), words.Text());
}

TEST(UserWords, AMissingOrOversizedFileLeavesTheWords) {
    ScratchDir dir;
    qm::TUserWords words;
    words.SetText("keep\r\n");
    EXPECT_THROW(words.LoadFromFile(dir.file("none.dic")), qm::EFileAccess);
    WriteRaw(dir.file("big.dic"), "");
    std::filesystem::resize_file(dir.file("big.dic"), qm::kMaxUserDictionarySize + 1);
    EXPECT_THROW(words.LoadFromFile(dir.file("big.dic")), qm::Error);
    EXPECT_EQ(words.Text(), "keep\r\n");
}

#ifdef _WIN32
// Makes every write of a save fail as a full disk does while in scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long) {
        qm::SetSaveFaultHookForTesting(
            [](qm::SaveStep step) { return step == qm::SaveStep::Write ? int{ERROR_DISK_FULL} : 0; });
    }
    ~FileSizeLimit() { qm::SetSaveFaultHookForTesting({}); }
    bool ok() const { return true; }
};
#else
// Lowers the file-size limit while in scope, so a write fails even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool ok_ = false;
};
#endif

// A save that fails reports the file and leaves the old one whole.
TEST(UserWords, AFailedSaveKeepsTheOldFile) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.file("user"));
    const std::string file = dir.file("user/mine.dic");
    const std::string old = "old\r\nwords\r\n";
    qm::TUserWords words;
    words.SetText(std::string(64 * 1024, 'w') + "\r\nnew\r\n");

    auto expectKept = [&](const char* how) {
        SCOPED_TRACE(how);
        try {
            words.SaveToFile(file);
            ADD_FAILURE() << "the save was reported as done";
        } catch (const qm::EFileAccess& e) {
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
        }
        EXPECT_EQ(ReadRaw(file), old);
        EXPECT_EQ(
            std::distance(std::filesystem::directory_iterator(dir.file("user")), std::filesystem::directory_iterator()),
            1);
    };

    WriteRaw(file, old);
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        expectKept("the disk refuses the data");
    }
    // A folder without write permission; root writes there anyway, so that
    // case is tried only where the permission holds.
    std::filesystem::permissions(dir.file("user"),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
#ifndef _WIN32
    if (::access(dir.file("user").c_str(), W_OK) != 0) expectKept("a read-only folder");
#endif
    std::filesystem::permissions(dir.file("user"), std::filesystem::perms::owner_all);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    expectKept("a read-only file");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(DictionaryNames, RefusesWhatIsNoName) {
    struct Row {
        const char* name;
        std::string value;
        bool ok;
    } rows[] = {
        {"a plain name", "english", true},
        {"blanks and dots", "my words.v2", true},
        {"empty", "", false},
        {"a slash", "a/b", false},
        {"a backslash", "a\\b", false},
        {"a parent step", "..", false},
        {"dots inside", "a..b", false},
        {"a climb", "../../etc/passwd", false},
        {"a NUL", std::string("a\0b", 3), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(qm::IsDictionaryName(r.value), r.ok);
        if (r.ok) {
            EXPECT_NO_THROW(qm::CheckDictionaryName(r.value));
        } else {
            try {
                qm::CheckDictionaryName(r.value);
                ADD_FAILURE() << "accepted";
            } catch (const qm::Error& e) {
                EXPECT_NE(std::string(e.what()).find("is not a valid dictionary name"), std::string::npos);
            }
        }
    }
}

class SpellDictionaries : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.file("prog/Dictionaries"));
        std::filesystem::create_directories(dir.file("user/Dictionaries"));
        engine.DictionaryFolder = dir.file("prog/Dictionaries");
        engine.UserDictionaryFolder = dir.file("user/Dictionaries");
        WriteRaw(dir.file("prog/Dictionaries/english.qdf"), qm::BuildDictionaryData({"the", "test"}));
    }
    ScratchDir dir;
    qm::TQorSpellEngine engine;
};

// A name that is no name never reaches a path: not even a dictionary that
// exists where it points is read.
TEST_F(SpellDictionaries, BadNamesAreRefusedAndChangeNothing) {
    WriteRaw(dir.file("prog/evil.qdf"), qm::BuildDictionaryData({"evil"}));
    WriteRaw(dir.file("user/evil.dic"), "evil\r\n");
    engine.LoadMainDictionary("english");
    WriteRaw(dir.file("user/Dictionaries/mine.dic"), "mine\r\n");
    engine.LoadUserDictionary("mine");
    for (const char* name : {"../evil", "..\\evil", "sub/x", "a..b"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(engine.LoadMainDictionary(name), qm::Error);
        EXPECT_THROW(engine.LoadUserDictionary(name), qm::Error);
        EXPECT_EQ(engine.MainDictionaryName(), "english");
        EXPECT_TRUE(engine.Dictionary()->Lookup("test"));
        EXPECT_FALSE(engine.Dictionary()->Lookup("evil"));
        EXPECT_EQ(engine.UserDictionaryName(), "mine");
        EXPECT_TRUE(engine.UserWords()->Contains("mine"));
    }
}

TEST_F(SpellDictionaries, AFailedLoadKeepsWhatWasLoaded) {
    engine.LoadMainDictionary("english");
    WriteRaw(dir.file("prog/Dictionaries/broken.qdf"), "not a dictionary");
    EXPECT_THROW(engine.LoadMainDictionary("broken"), qm::EInvalidDictionary);
    EXPECT_THROW(engine.LoadMainDictionary("missing"), qm::EFileAccess);
    EXPECT_EQ(engine.MainDictionaryName(), "english");
    EXPECT_TRUE(engine.HasMainDictionary());

    WriteRaw(dir.file("user/Dictionaries/mine.dic"), "mine\r\n");
    engine.LoadUserDictionary("mine");
    EXPECT_THROW(engine.LoadUserDictionary("missing"), qm::EFileAccess);
    EXPECT_EQ(engine.UserDictionaryName(), "mine");
}

TEST_F(SpellDictionaries, TheDestructorSavesNothingAndTheFirstSaveMakesTheFolder) {
    const std::string file = dir.file("user/Dictionaries/mine.dic");
    WriteRaw(file, "Velgrave\n");
    {
        qm::TQorSpellEngine checker;
        ScriptedSpellUi ui;
        checker.SetUi(&ui);
        LoadKnownWords(checker, dir.file("prog/Dictionaries"));
        checker.UserDictionaryFolder = dir.file("user/Dictionaries");
        checker.LoadUserDictionary("mine");
        qm::TStringSpellTarget target("wrld");
        ui.Expect("wrld", qm::TSpellAction::Add);
        checker.CheckControl(target);
        EXPECT_TRUE(checker.UserDictionaryModified());
    }
    EXPECT_EQ(ReadRaw(file), "Velgrave\n");

    engine.LoadUserDictionary("mine");
    std::filesystem::remove_all(dir.file("user/Dictionaries"));
    engine.SaveUserDictionary();
    EXPECT_EQ(ReadRaw(file), "Velgrave\r\n");
    EXPECT_FALSE(engine.UserDictionaryModified());
}

TEST_F(SpellDictionaries, ListsEachKindFromItsFolder) {
    WriteRaw(dir.file("prog/Dictionaries/Other.QDF"), "x");
    WriteRaw(dir.file("prog/Dictionaries/notes.txt"), "x");
    WriteRaw(dir.file("prog/Dictionaries/stray.dic"), "x");
    WriteRaw(dir.file("user/Dictionaries/mine.dic"), "x");
    WriteRaw(dir.file("user/Dictionaries/a..b.dic"), "x");
    WriteRaw(dir.file("user/Dictionaries/stray.qdf"), "x");
    EXPECT_EQ(engine.ListDictionaries("*.qdf"), (qm::StringList{"english", "Other"}));
    EXPECT_EQ(engine.ListDictionaries("*.dic"), (qm::StringList{"mine"}));
    engine.UserDictionaryFolder.clear();
    EXPECT_TRUE(engine.ListDictionaries("*.dic").empty());
}

}  // namespace
}  // namespace qmtest
