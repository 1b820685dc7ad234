// The build's work folder belongs to the current user alone, and emptying it
// removes plain files only, never through a link.
#include "util/workfolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "util/errors.h"
#include "util/scratch_dir.h"

using namespace qm;
using qmtest::ScratchDir;
using qmtest::WriteRaw;
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// Each user has a temporary folder of their own there, so the name needs no
// user id. Symbolic links, owners and permission bits are left to the system.
const std::string kUserFolder = "Quillmark";
constexpr char kSep = '\\';
#define SKIP_ON_WINDOWS(what) GTEST_SKIP() << what << " are not checked on Windows"
#else
const std::string kUserFolder = "Quillmark-" + std::to_string(geteuid());
constexpr char kSep = '/';
#define SKIP_ON_WINDOWS(what)

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}
#endif

std::string Base(const ScratchDir& d) { return d.str() + "/"; }
std::string Expected(const ScratchDir& d) { return Base(d) + kUserFolder + kSep; }
std::string Bare(const std::string& p) { return p.substr(0, p.size() - 1); }

}  // namespace

TEST(WorkFolder, PathIsPerUserInsideTheTemporaryFolder) {
    const std::string temp = kSep == '/' ? "/var/tmp" : "C:\\Temp";
    EXPECT_EQ(WorkFolderPath(temp + kSep), temp + kSep + kUserFolder + kSep);
    EXPECT_EQ(WorkFolderPath(temp), temp + kSep + kUserFolder + kSep);
    EXPECT_EQ(WorkFolderPath(""), "");
    EXPECT_THROW(PrepareWorkFolder(""), Error);
}

TEST(WorkFolder, IsCreatedPrivate) {
    ScratchDir d;
#ifdef _WIN32
    const std::string path = PrepareWorkFolder(Base(d));
#else
    const mode_t oldMask = umask(0);  // a permissive umask must not widen it
    const std::string path = PrepareWorkFolder(Base(d));
    umask(oldMask);
    EXPECT_EQ(ModeOf(Bare(path)), 0700u);
#endif
    EXPECT_EQ(path, Expected(d));
    EXPECT_TRUE(fs::is_directory(path));
    // A second call accepts the folder it made.
    EXPECT_EQ(PrepareWorkFolder(Base(d)), path);
}

TEST(WorkFolder, AnOpenFolderOfOursIsMadePrivate) {
    SKIP_ON_WINDOWS("Permission bits");
#ifndef _WIN32
    ScratchDir d;
    const std::string bare = Bare(Expected(d));
    ASSERT_EQ(mkdir(bare.c_str(), 0700), 0);
    ASSERT_EQ(chmod(bare.c_str(), 0777), 0);
    PrepareWorkFolder(Base(d));
    EXPECT_EQ(ModeOf(bare), 0700u);
#endif
}

TEST(WorkFolder, ALinkInItsPlaceIsRefused) {
    SKIP_ON_WINDOWS("Symbolic links");
#ifndef _WIN32
    ScratchDir d;
    const std::string bare = Bare(Expected(d));
    // A link planted by someone else, pointing at a folder they control.
    ASSERT_EQ(mkdir(d.file("elsewhere").c_str(), 0777), 0);
    ASSERT_EQ(chmod(d.file("elsewhere").c_str(), 0777), 0);
    ASSERT_EQ(symlink(d.file("elsewhere").c_str(), bare.c_str()), 0);
    try {
        PrepareWorkFolder(Base(d));
        ADD_FAILURE() << "a symbolic link was accepted as the work folder";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("symbolic link"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ModeOf(d.file("elsewhere")), 0777u) << "the link's target was changed";
#endif
}

TEST(WorkFolder, AFileInItsPlaceIsRefused) {
    ScratchDir d;
    WriteRaw(Bare(Expected(d)), "x");
    EXPECT_THROW(PrepareWorkFolder(Base(d)), Error);
    EXPECT_EQ(qmtest::ReadRaw(Bare(Expected(d))), "x");
}

TEST(WorkFolder, AFolderOfAnotherUserIsRefused) {
    SKIP_ON_WINDOWS("Owners");
#ifndef _WIN32
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give a folder to another user";
    ScratchDir d;
    const std::string bare = Bare(Expected(d));
    ASSERT_EQ(mkdir(bare.c_str(), 0700), 0);
    ASSERT_EQ(chown(bare.c_str(), 65534, 65534), 0);
    try {
        PrepareWorkFolder(Base(d));
        ADD_FAILURE() << "another user's folder was accepted";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("another user"), std::string::npos) << e.what();
    }
    WriteRaw(bare + "/theirs.rtf", "x");
    EXPECT_EQ(EmptyWorkFolder(bare + "/"), 0);
    EXPECT_TRUE(fs::exists(bare + "/theirs.rtf"));
#endif
}

TEST(WorkFolder, AMissingParentIsAFileError) {
    ScratchDir d;
    EXPECT_THROW(PrepareWorkFolder(d.file("no/such/folder") + "/"), EFileAccess);
}

TEST(WorkFolder, EmptyingDeletesPlainFilesOnly) {
    ScratchDir d;
    const std::string work = PrepareWorkFolder(Base(d));
    WriteRaw(work + "topic1.rtf", "{\\rtf1}");
    WriteRaw(work + "hcwreport.log", "line\r\n");
    WriteRaw(work + ".hidden", "x");
    fs::create_directory(work + "sub");
    WriteRaw(work + "sub/inner.rtf", "x");
    WriteRaw(d.file("outside.txt"), "keep me");
#ifndef _WIN32
    ASSERT_EQ(symlink(d.file("outside.txt").c_str(), (work + "link.rtf").c_str()), 0);
    ASSERT_EQ(symlink(d.str().c_str(), (work + "dirlink").c_str()), 0);
#endif

    EXPECT_EQ(EmptyWorkFolder(work), 3);

    EXPECT_FALSE(fs::exists(work + "topic1.rtf"));
    EXPECT_FALSE(fs::exists(work + "hcwreport.log"));
    EXPECT_FALSE(fs::exists(work + ".hidden"));
    EXPECT_TRUE(fs::exists(work + "sub/inner.rtf"));
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(work + "link.rtf"));
#endif
    EXPECT_EQ(qmtest::ReadRaw(d.file("outside.txt")), "keep me");
    EXPECT_TRUE(fs::exists(d.file("outside.txt")));
    // The folder itself stays for the next build.
    EXPECT_TRUE(fs::is_directory(work));
}

TEST(WorkFolder, EmptyingRefusesAFolderThatIsNotPrivate) {
    SKIP_ON_WINDOWS("Symbolic links and permission bits");
#ifndef _WIN32
    ScratchDir d;
    // Reached through a link: nothing behind it is deleted.
    ASSERT_EQ(mkdir(d.file("real").c_str(), 0700), 0);
    WriteRaw(d.file("real/a.rtf"), "x");
    ASSERT_EQ(symlink(d.file("real").c_str(), d.file("link").c_str()), 0);
    EXPECT_EQ(EmptyWorkFolder(d.file("link") + "/"), 0);
    EXPECT_TRUE(fs::exists(d.file("real/a.rtf")));
    // Open to others: not ours alone, so left as it is.
    ASSERT_EQ(chmod(d.file("real").c_str(), 0777), 0);
    EXPECT_EQ(EmptyWorkFolder(d.file("real") + "/"), 0);
    EXPECT_TRUE(fs::exists(d.file("real/a.rtf")));
#endif
}

TEST(WorkFolder, EmptyingAMissingFolderIsNoError) {
    ScratchDir d;
    EXPECT_EQ(EmptyWorkFolder(d.file("missing") + "/"), 0);
    EXPECT_EQ(EmptyWorkFolder(""), 0);
}
