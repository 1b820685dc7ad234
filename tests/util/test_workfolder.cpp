// The build's work folder belongs to the current user alone, and emptying it
// removes plain files only, never through a link.
#include "util/workfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "util/errors.h"
#include "util/scratch_dir.h"

using namespace qm;
using qmtest::ScratchDir;
using qmtest::WriteRaw;
namespace fs = std::filesystem;

namespace {

std::string Base(const ScratchDir& d) { return d.str() + "/"; }
std::string Expected(const ScratchDir& d) { return Base(d) + "Quillmark-" + std::to_string(geteuid()) + "/"; }
std::string Bare(const std::string& p) { return p.substr(0, p.size() - 1); }

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

}  // namespace

TEST(WorkFolder, PathIsPerUserInsideTheTemporaryFolder) {
    EXPECT_EQ(WorkFolderPath("/var/tmp/"), "/var/tmp/Quillmark-" + std::to_string(geteuid()) + "/");
    EXPECT_EQ(WorkFolderPath("/var/tmp"), "/var/tmp/Quillmark-" + std::to_string(geteuid()) + "/");
    EXPECT_EQ(WorkFolderPath(""), "");
    EXPECT_THROW(PrepareWorkFolder(""), Error);
}

TEST(WorkFolder, IsCreatedPrivate) {
    ScratchDir d;
    const mode_t oldMask = umask(0);  // a permissive umask must not widen it
    const std::string path = PrepareWorkFolder(Base(d));
    umask(oldMask);
    EXPECT_EQ(path, Expected(d));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(ModeOf(Bare(path)), 0700u);
    // A second call accepts the folder it made.
    EXPECT_EQ(PrepareWorkFolder(Base(d)), path);
}

TEST(WorkFolder, AnOpenFolderOfOursIsMadePrivate) {
    ScratchDir d;
    const std::string bare = Bare(Expected(d));
    ASSERT_EQ(mkdir(bare.c_str(), 0700), 0);
    ASSERT_EQ(chmod(bare.c_str(), 0777), 0);
    PrepareWorkFolder(Base(d));
    EXPECT_EQ(ModeOf(bare), 0700u);
}

TEST(WorkFolder, ALinkOrAFileInItsPlaceIsRefused) {
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

    ScratchDir d2;
    WriteRaw(Bare(Expected(d2)), "x");
    EXPECT_THROW(PrepareWorkFolder(Base(d2)), Error);
}

TEST(WorkFolder, AFolderOfAnotherUserIsRefused) {
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
    ASSERT_EQ(symlink(d.file("outside.txt").c_str(), (work + "link.rtf").c_str()), 0);
    ASSERT_EQ(symlink(d.str().c_str(), (work + "dirlink").c_str()), 0);

    EXPECT_EQ(EmptyWorkFolder(work), 3);

    EXPECT_FALSE(fs::exists(work + "topic1.rtf"));
    EXPECT_FALSE(fs::exists(work + "hcwreport.log"));
    EXPECT_FALSE(fs::exists(work + ".hidden"));
    EXPECT_TRUE(fs::exists(work + "sub/inner.rtf"));
    EXPECT_TRUE(fs::is_symlink(work + "link.rtf"));
    EXPECT_EQ(qmtest::ReadRaw(d.file("outside.txt")), "keep me");
    EXPECT_TRUE(fs::exists(d.file("outside.txt")));
    // The folder itself stays for the next build.
    EXPECT_TRUE(fs::is_directory(work));
}

TEST(WorkFolder, EmptyingRefusesAFolderThatIsNotPrivate) {
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
    // A missing folder or an empty name is not an error.
    EXPECT_EQ(EmptyWorkFolder(d.file("missing") + "/"), 0);
    EXPECT_EQ(EmptyWorkFolder(""), 0);
}
