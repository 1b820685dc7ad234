// Temporary folder, file listing with masks, and the case-insensitive file
// look-up that lets "Photo.BMP" find "photo.bmp" on a case-sensitive disk.
#include "util/qorsystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/scratchdir.h"
#include "util/fileio.h"

using namespace qm;
using qmtest::ScratchDir;
using qmtest::WriteRaw;

namespace {

// Sets the variable naming the temporary folder (TMPDIR; TMP, read first, on
// Windows) for the scope and restores the previous value after.
class TmpDirEnv {
public:
    explicit TmpDirEnv(const std::string& value) {
        if (const char* v = std::getenv(kName)) old_ = v;
        Set(value.c_str());
    }
    ~TmpDirEnv() { Set(old_ ? old_->c_str() : nullptr); }

private:
#ifdef _WIN32
    static constexpr const char* kName = "TMP";
    static void Set(const char* value) { ::_putenv_s(kName, value ? value : ""); }  // "" removes it
#else
    static constexpr const char* kName = "TMPDIR";
    static void Set(const char* value) {
        if (value)
            ::setenv(kName, value, 1);
        else
            ::unsetenv(kName);
    }
#endif
    std::optional<std::string> old_;
};

// Changes the current folder for the scope.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& p) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(p);
    }
    ~CurrentDir() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

#ifdef _WIN32
#define SKIP_WHERE_CASE_IS_IGNORED() GTEST_SKIP() << "Windows file names that differ in case only name one file"
#else
#define SKIP_WHERE_CASE_IS_IGNORED()
#endif

bool EndsWithSeparator(const std::string& s) { return !s.empty() && (s.back() == '/' || s.back() == '\\'); }

// ---------------------------------------------------------- temporary folder

TEST(GetTempFolder, HasATrailingSeparatorAndExists) {
    const std::string t = GetTempFolder();
    ASSERT_FALSE(t.empty());
    EXPECT_TRUE(EndsWithSeparator(t)) << t;
    EXPECT_TRUE(FolderExists(t)) << t;
}

TEST(GetTempFolder, FollowsTheSystemSetting) {
    ScratchDir dir;
    TmpDirEnv env(dir.str());  // given without a trailing separator
    const std::string t = GetTempFolder();
    ASSERT_TRUE(EndsWithSeparator(t)) << t;
    EXPECT_EQ(std::filesystem::path(ToFsPath(t)).lexically_normal(), (dir.path() / "").lexically_normal());
    // Exactly one separator is added, never a doubled one.
    EXPECT_EQ(t.size(), dir.str().size() + 1);
}

TEST(GetTempFolder, NeverNamesAFolderThatDoesNotExist) {
    TmpDirEnv env("/nonexistent/qm-temp-folder");
    const std::string t = GetTempFolder();
    if (!t.empty()) {
        EXPECT_TRUE(EndsWithSeparator(t)) << t;
        EXPECT_TRUE(FolderExists(t)) << t;
    }
}

// --------------------------------------------------------------- masks

TEST(MatchesMask, Table) {
    struct Case {
        const char* name;
        const char* mask;
        bool expected;
    };
    const Case cases[] = {
        {"abc.txt", "*.txt", true},
        {"ABC.TXT", "*.txt", true},
        {"abc.txt", "*.TXT", true},
        {"abc.txt2", "*.txt", false},
        {"abc.tx", "*.txt", false},
        {"a.txt", "?.txt", true},
        {"ab.txt", "?.txt", false},
        {".txt", "?.txt", false},
        {"abc", "*", true},
        {"", "*", true},
        {"", "?", false},
        {"ac", "a*c", true},
        {"abxcxd", "a*c*d", true},
        {"abxcxe", "a*c*d", false},
        {"a.b.c", "*.c", true},
        {"abc", "abc", true},
        {"abd", "abc", false},
        {"abc", "ABC", true},
        {"topic1.rtf", "topic?.rtf", true},
        {"topic12.rtf", "topic?.rtf", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},  // no blow-up
        {"\xC9t\xE9.txt", "\xE9t\xE9.txt", false},                        // ASCII folding only
        {"\xE9t\xE9.TXT", "\xE9t\xE9.txt", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.expected) << "MatchesMask(\"" << c.name << "\", \"" << c.mask << "\")";
}

// ------------------------------------------------------------- listing

class ListFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* n : {"b.TXT", "A.txt", "c.dat", "C.txt", "_z.txt", "readme"}) WriteRaw(dir.file(n), "x");
        std::filesystem::create_directory(dir.path() / "d.txt");  // a folder that matches the mask
    }
    ScratchDir dir;
};

TEST_F(ListFilesTest, MatchesCaseInsensitivelySortedWithoutFolders) {
    StringList list = {"stale"};
    ListFiles(dir.str(), list, "*.txt");
    // Sorted without regard to case; '_' (0x5F) sorts before letters in lower case.
    EXPECT_EQ(list, (StringList{"_z.txt", "A.txt", "b.TXT", "C.txt"}));
}

TEST_F(ListFilesTest, AllFilesAndSingleCharacterMasks) {
    StringList list;
    ListFiles(dir.str(), list, "*");
    EXPECT_EQ(list, (StringList{"_z.txt", "A.txt", "b.TXT", "c.dat", "C.txt", "readme"}));
    ListFiles(dir.str(), list, "?.TXT");
    EXPECT_EQ(list, (StringList{"A.txt", "b.TXT", "C.txt"}));
    ListFiles(dir.str(), list, "*.hlp");
    EXPECT_TRUE(list.empty());
}

TEST_F(ListFilesTest, FolderWithTrailingSeparatorOrBackslashes) {
    StringList a, b;
    ListFiles(dir.str() + "/", a, "*.dat");
    ListFiles(dir.str() + "\\", b, "*.dat");
    EXPECT_EQ(a, StringList{"c.dat"});
    EXPECT_EQ(b, StringList{"c.dat"});
}

TEST_F(ListFilesTest, StarDotStarMeansEveryFileAsOnWindows) {
    StringList list;
    ListFiles(dir.str(), list, "*.*");
    EXPECT_EQ(list, (StringList{"_z.txt", "A.txt", "b.TXT", "c.dat", "C.txt", "readme"}));
}

TEST(ListFiles, NamesComeBackAsCp1252) {
    ScratchDir dir;
    WriteRaw(dir.file("caf\xC3\xA9.txt"), "x");  // UTF-8 on disk
    StringList list;
    ListFiles(dir.str(), list, "CAF?.TXT");
    EXPECT_EQ(list, StringList{"caf\xE9.txt"});
}

TEST(ListFiles, MissingFolderGivesAnEmptyList) {
    ScratchDir dir;
    StringList list = {"stale"};
    ListFiles(dir.file("nope"), list, "*");
    EXPECT_TRUE(list.empty());
    WriteRaw(dir.file("plain"), "x");
    list = {"stale"};
    ListFiles(dir.file("plain"), list, "*");  // a file is not a folder
    EXPECT_TRUE(list.empty());
}

// ------------------------------------------------------------- look-up

class FindFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteRaw(dir.file("photo.bmp"), "lower");
        WriteRaw(dir.file("Both.shg"), "upper");
        WriteRaw(dir.file("both.shg"), "lower");
        std::filesystem::create_directory(dir.path() / "pic.bmp");
    }
    ScratchDir dir;
};

// Checks that `found` names an existing file whose own name is `actual`.
void ExpectFound(const std::string& found, const std::string& actual, const std::string& content) {
    ASSERT_FALSE(found.empty()) << "not found: " << actual;
    EXPECT_TRUE(FileExists(found)) << found;
#ifdef _WIN32
    // The system itself finds a file under any case there, so the name comes
    // back as it was asked for.
    EXPECT_TRUE(SameText(ExtractFileName(found), actual)) << found;
#else
    EXPECT_EQ(ExtractFileName(found), actual);
#endif
    EXPECT_EQ(ReadWholeFile(found), content);
}

TEST_F(FindFileTest, ExactName) { ExpectFound(FindFileInFolder(dir.str(), "photo.bmp"), "photo.bmp", "lower"); }

TEST_F(FindFileTest, FallsBackToACaseInsensitiveMatch) {
    ExpectFound(FindFileInFolder(dir.str(), "Photo.BMP"), "photo.bmp", "lower");
    ExpectFound(FindFileInFolder(dir.str(), "PHOTO.bmp"), "photo.bmp", "lower");
}

TEST_F(FindFileTest, ExactMatchWinsOverOtherCases) {
    SKIP_WHERE_CASE_IS_IGNORED();
    ExpectFound(FindFileInFolder(dir.str(), "Both.shg"), "Both.shg", "upper");
    ExpectFound(FindFileInFolder(dir.str(), "both.shg"), "both.shg", "lower");
}

TEST_F(FindFileTest, FolderGivenWithBackslashOrTrailingSeparator) {
    ExpectFound(FindFileInFolder(dir.str() + "\\", "Photo.BMP"), "photo.bmp", "lower");
    ExpectFound(FindFileInFolder(dir.str() + "/", "photo.bmp"), "photo.bmp", "lower");
}

TEST_F(FindFileTest, NotFound) {
    EXPECT_EQ(FindFileInFolder(dir.str(), "other.bmp"), "");
    EXPECT_EQ(FindFileInFolder(dir.str(), "pic.bmp"), "");  // a folder is not a file
    EXPECT_EQ(FindFileInFolder(dir.str(), "PIC.BMP"), "");
    EXPECT_EQ(FindFileInFolder(dir.file("missing"), "photo.bmp"), "");
    EXPECT_EQ(FindFileInFolder(dir.str(), "photo.bm"), "");  // no partial match
}

TEST(FindFileInFolder, PrefersTheFileOverFoldersOfTheSameNameInOtherCases) {
    SKIP_WHERE_CASE_IS_IGNORED();
    ScratchDir dir;
    // Several folders whose names differ from the file's only in case; the
    // order the disk lists them in must not matter.
    for (const char* d : {"IMG.BMP", "Img.bmp", "iMG.bmp", "IMG.bmp", "img.BMP", "ImG.BmP", "iMg.bMp", "Img.Bmp"})
        std::filesystem::create_directory(dir.path() / d);
    WriteRaw(dir.file("img.bmp"), "file");
    ExpectFound(FindFileInFolder(dir.str(), "IMG.bmp"), "img.bmp", "file");  // exact name is a folder
    ExpectFound(FindFileInFolder(dir.str(), "imG.bmP"), "img.bmp", "file");
}

TEST(FindFileInFolder, NameWithASubFolder) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "images");
    WriteRaw(dir.file("images/photo.bmp"), "sub");
    ExpectFound(FindFileInFolder(dir.str(), "images\\PHOTO.BMP"), "photo.bmp", "sub");
    ExpectFound(FindFileInFolder(dir.str(), "images/photo.bmp"), "photo.bmp", "sub");
    EXPECT_EQ(FindFileInFolder(dir.str(), "images\\other.bmp"), "");
    EXPECT_EQ(FindFileInFolder(dir.str(), "images"), "");  // the folder itself is no file
}

TEST(FindFileInFolder, Cp1252Names) {
    ScratchDir dir;
    WriteRaw(dir.file("caf\xC3\xA9.bmp"), "cafe");
    ExpectFound(FindFileInFolder(dir.str(), "Caf\xE9.BMP"), "caf\xE9.bmp", "cafe");
}

TEST_F(FindFileTest, EmptyFolderMeansTheCurrentFolder) {
    CurrentDir cd(dir.path());
    ExpectFound(FindFileInFolder("", "PHOTO.BMP"), "photo.bmp", "lower");
}

// ------------------------------------------------------------- the folder cache

// The cache answers every look-up as the uncached one does: the layouts of
// the tests above, each name asked twice (the second from the listing).
TEST(FolderCache, FindsWhatTheUncachedLookUpFinds) {
    SKIP_WHERE_CASE_IS_IGNORED();
    ScratchDir dir;
    namespace fs = std::filesystem;
    WriteRaw(dir.file("photo.bmp"), "lower");
    WriteRaw(dir.file("Both.shg"), "upper");
    WriteRaw(dir.file("both.shg"), "lower");
    fs::create_directory(dir.path() / "pic.bmp");
    fs::create_directory(dir.path() / "images");
    WriteRaw(dir.file("images/photo.bmp"), "sub");
    WriteRaw(dir.file("caf\xC3\xA9.bmp"), "cafe");
    for (const char* d : {"IMG.BMP", "Img.bmp", "iMG.bmp"}) fs::create_directory(dir.path() / d);
    WriteRaw(dir.file("img.bmp"), "file");
    const std::vector<std::string> names = {
        "photo.bmp",         "Photo.BMP",         "PHOTO.bmp",        "Both.shg",          "both.shg", "BOTH.SHG",
        "other.bmp",         "pic.bmp",           "PIC.BMP",          "photo.bm",          "IMG.bmp",  "imG.bmP",
        "Caf\xE9.BMP",       "images\\PHOTO.BMP", "IMAGES/photo.bmp", "images\\other.bmp", "images",   "",
        "missing\\photo.bmp"};
    TFolderCache cache;
    for (int pass = 1; pass <= 2; ++pass)
        for (const std::string& name : names)
            for (const std::string& folder : {dir.str(), dir.str() + "\\", dir.file("missing")}) {
                SCOPED_TRACE("pass " + std::to_string(pass) + ": " + folder + " + " + name);
                EXPECT_EQ(cache.FindFile(folder, name), FindFileInFolder(folder, name));
            }
}

// Windows-made projects name their files in another case than the disk
// holds them: each folder is listed once however many names are looked up in
// it, and a file added after the listing is found by the next cache (the
// next build), in any case.
TEST(FolderCache, ListsEachFolderOnceAndANewCacheSeesNewFiles) {
    SKIP_WHERE_CASE_IS_IGNORED();
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "art");
    for (int i = 0; i < 50; ++i) WriteRaw(dir.file("art/pic" + std::to_string(i) + ".bmp"), "BM");
    const std::string art = dir.file("art");
    TFolderCache build1;
    for (int i = 0; i < 50; ++i) {
        const std::string number = std::to_string(i);
        ExpectFound(build1.FindFile(art, "PIC" + number + ".BMP"), "pic" + number + ".bmp", "BM");
        ExpectFound(build1.FindFile(art, "pic" + number + ".bmp"), "pic" + number + ".bmp", "BM");
        ExpectFound(build1.FindFile(dir.str(), "art\\Pic" + number + ".bmp"), "pic" + number + ".bmp", "BM");
    }
    EXPECT_EQ(build1.FindFile(art, "NONE.BMP"), "");
    EXPECT_EQ(build1.ListedFolders(), 1);  // "art" only: its own name was found as written

    WriteRaw(dir.file("art/late.bmp"), "late");
    EXPECT_EQ(build1.FindFile(art, "LATE.BMP"), "");  // this run's listing is kept
    EXPECT_EQ(build1.FindFile(art, "late.bmp"), "");
    TFolderCache build2;
    ExpectFound(build2.FindFile(art, "LATE.BMP"), "late.bmp", "late");
    ExpectFound(build2.FindFile(art, "late.bmp"), "late.bmp", "late");
}

}  // namespace

namespace qm {
namespace {

// Folders as Windows and wine find them: each part in any case.
TEST(FindFolderAnyCase, MatchesEachPartWithoutRegardToCase) {
    SKIP_WHERE_CASE_IS_IGNORED();
    qmtest::ScratchDir dir;
    std::filesystem::create_directories(dir.path() / "Help" / "Bitmaps");
    qmtest::WriteRaw(dir.file("Help/file.bmp"), "BM");
    const std::string bitmaps = dir.str() + "/Help/Bitmaps";
    const struct {
        const char* name;
        std::string path;
        std::string found;
    } cases[] = {
        {"as written", bitmaps, bitmaps},
        {"the last part in another case", dir.str() + "/Help/BITMAPS", bitmaps},
        {"every part below the scratch folder", dir.str() + "/help/bitmaps/", bitmaps},
        {"backslashes keep their place", dir.str() + "\\HELP\\bitmaps", dir.str() + "\\Help\\Bitmaps"},
        {"a parent part", dir.str() + "/HELP/Bitmaps/../bitmaps", bitmaps + "/../Bitmaps"},
        {"a missing part", dir.str() + "/Help/Icons", ""},
        {"a file is not a folder", dir.str() + "/help/FILE.BMP", ""},
        {"a drive where there are none", "C:\\Help", ""},
        {"nothing", "", ""},
    };
    TFolderCache cache;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindFolderAnyCase(c.path), c.found);
        EXPECT_EQ(cache.FindFolder(c.path), c.found);
    }
}

}  // namespace
}  // namespace qm
