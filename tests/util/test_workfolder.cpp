// The build's work folder belongs to the current user alone, emptying it
// removes plain files and links only, never through a link, and one build at
// a time holds it.
#include "util/workfolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/scratchdir.h"
#include "util/child_process.h"
#include "util/errors.h"

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
// The lock there is a file in the folder.
const std::vector<std::string> kLockedFolderEntries = {"build.lock"};
#define SKIP_ON_WINDOWS(what) GTEST_SKIP() << what << " are not checked on Windows"
#else
const std::string kUserFolder = "Quillmark-" + std::to_string(geteuid());
constexpr char kSep = '/';
const std::vector<std::string> kLockedFolderEntries;
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

// The names in `folder`, sorted.
std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(qmtest::NativePath(folder)))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

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

#ifndef _WIN32
    EXPECT_EQ(EmptyWorkFolder(work), 5);
#else
    EXPECT_EQ(EmptyWorkFolder(work), 3);
#endif

    EXPECT_FALSE(fs::exists(work + "topic1.rtf"));
    EXPECT_FALSE(fs::exists(work + "hcwreport.log"));
    EXPECT_FALSE(fs::exists(work + ".hidden"));
    EXPECT_TRUE(fs::exists(work + "sub/inner.rtf"));
#ifndef _WIN32
    // Planted links go, so the next build cannot write through them; what
    // they point to stays.
    EXPECT_FALSE(fs::is_symlink(work + "link.rtf"));
    EXPECT_FALSE(fs::is_symlink(work + "dirlink"));
#endif
    EXPECT_EQ(qmtest::ReadRaw(d.file("outside.txt")), "keep me");
    EXPECT_TRUE(fs::exists(d.file("outside.txt")));
    EXPECT_TRUE(fs::is_directory(d.str()));
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

// ------------------------------------------------------------------ hand-over folders

TEST(PrivateFolder, EachCallMakesANewPrivateFolder) {
    ScratchDir d;
    const std::string a = MakePrivateFolder(Base(d), "handoff-");
    const std::string b = MakePrivateFolder(Base(d), "handoff-");
    EXPECT_NE(a, b);
    for (const std::string& f : {a, b}) {
        SCOPED_TRACE(f);
        ASSERT_EQ(f.back(), kSep);
        EXPECT_EQ(f.rfind(Base(d) + "handoff-", 0), 0u);
        EXPECT_TRUE(fs::is_directory(qmtest::NativePath(f)));
        EXPECT_TRUE(EntriesOf(f).empty());
#ifndef _WIN32
        EXPECT_EQ(ModeOf(Bare(f)), 0700u);
#endif
    }
}

TEST(PrivateFolder, AMissingTemporaryFolderIsAFileError) {
    ScratchDir d;
    EXPECT_THROW(MakePrivateFolder(d.file("no/such") + "/", "handoff-"), EFileAccess);
    EXPECT_THROW(MakePrivateFolder("", "handoff-"), Error);
}

TEST(PrivateFolder, RemovingTakesItsFilesAndTheFolderButNoMore) {
    ScratchDir d;
    WriteRaw(d.file("outside.txt"), "keep me");
    const std::string f = MakePrivateFolder(Base(d), "handoff-");
    WriteRaw(f + "~QorTopics.dat", "A\r\n");
#ifndef _WIN32
    ASSERT_EQ(symlink(d.file("outside.txt").c_str(), (f + "~QorPopups.dat").c_str()), 0);
#endif
    RemovePrivateFolder(f);
    EXPECT_FALSE(fs::exists(qmtest::NativePath(Bare(f))));
    EXPECT_EQ(qmtest::ReadRaw(d.file("outside.txt")), "keep me");

    // A sub-folder someone put there keeps the folder.
    const std::string g = MakePrivateFolder(Base(d), "handoff-");
    fs::create_directory(qmtest::NativePath(g + "sub"));
    WriteRaw(g + "a.dat", "x");
    RemovePrivateFolder(g);
    EXPECT_EQ(EntriesOf(g), std::vector<std::string>{"sub"});
}

// ------------------------------------------------------------------ the lock

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kShortWait{150};

// The message a second taker gets, or "" when it got the lock.
std::string TryTake(const std::string& work, milliseconds wait) {
    try {
        TWorkFolderLock lock(work, wait);
        return {};
    } catch (const Error& e) {
        return e.what();
    }
}

}  // namespace

TEST(WorkFolderLock, ASecondTakerWaitsThenFails) {
    ScratchDir d;
    const std::string work = PrepareWorkFolder(Base(d));
    std::string second;
    std::chrono::steady_clock::duration waited{};
    {
        TWorkFolderLock first(work, kShortWait);
        EXPECT_EQ(first.Folder(), work);
        std::thread other([&] {
            const auto start = std::chrono::steady_clock::now();
            second = TryTake(work, kShortWait);
            waited = std::chrono::steady_clock::now() - start;
        });
        other.join();
    }
    EXPECT_EQ(second, "Another build is running in the work folder " + work +
                          ". Wait until it has finished, then build again.");
    EXPECT_GE(waited, kShortWait) << "the second taker gave up without waiting";
    // Let go: the next build gets it at once.
    EXPECT_EQ(TryTake(work, milliseconds(0)), "");
}

TEST(WorkFolderLock, ASecondTakerGetsItWhenTheFirstLetsGoInTime) {
    ScratchDir d;
    const std::string work = PrepareWorkFolder(Base(d));
    auto first = std::make_unique<TWorkFolderLock>(work, kShortWait);
    std::string second = "not run";
    std::thread other([&] { second = TryTake(work, milliseconds(600000)); });
    std::this_thread::sleep_for(milliseconds(50));
    first.reset();
    other.join();
    EXPECT_EQ(second, "");
}

#ifdef _WIN32
// The other instance: takes the lock, says so, holds it until told.
const int kHoldLockRole = qmtest::RegisterChildRole("hold-work-folder-lock", [](const std::string& work) {
    TWorkFolderLock lock(work, milliseconds(0));
    qmtest::TellParentReady();
    qmtest::WaitForParent();
    return 0;
});
#endif

TEST(WorkFolderLock, HoldsAgainstAnotherProcess) {
    ScratchDir d;
    const std::string work = PrepareWorkFolder(Base(d));
#ifdef _WIN32
    qmtest::ChildProcess child("hold-work-folder-lock", work);
    ASSERT_TRUE(child.WaitReady(60000)) << "the other process did not take the lock";
    EXPECT_NE(TryTake(work, kShortWait).find("Another build is running"), std::string::npos);
    child.Release();
    EXPECT_EQ(child.Wait(), 0u);
#else
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other instance: takes the lock, says so, holds it until told.
        int code = 0;
        try {
            TWorkFolderLock lock(work, milliseconds(0));
            char c = 'r';
            if (write(ready[1], &c, 1) != 1) code = 2;
            if (read(release[0], &c, 1) != 1) code = 3;
        } catch (...) {
            code = 1;
        }
        _exit(code);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_NE(TryTake(work, kShortWait).find("Another build is running"), std::string::npos);
    c = 'g';
    ASSERT_EQ(write(release[1], &c, 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
#endif
    EXPECT_EQ(TryTake(work, milliseconds(0)), "");
}

TEST(WorkFolderLock, EmptyingKeepsTheLock) {
    ScratchDir d;
    const std::string work = PrepareWorkFolder(Base(d));
    TWorkFolderLock lock(work, milliseconds(0));
    WriteRaw(work + "Intro.rtf", "x");
    EXPECT_EQ(EmptyWorkFolder(work), 1);
    EXPECT_NE(TryTake(work, milliseconds(0)), "");
}

#ifdef _WIN32
// A virus scanner or an indexer that opens the lock file for a moment is no
// second build.
TEST(WorkFolderLock, AnotherProgramReadingTheLockFileIsNoBuild) {
    ScratchDir d;
    const std::string work = PrepareWorkFolder(Base(d));
    { TWorkFolderLock made(work, milliseconds(0)); }
    const HANDLE reader = CreateFileW(qmtest::NativePath(work + "build.lock").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(TryTake(work, milliseconds(0)), "");
    CloseHandle(reader);
}
#endif

TEST(WorkFolderLock, AFolderThatIsNotThereIsAFileError) {
    ScratchDir d;
    EXPECT_THROW(TWorkFolderLock(d.file("missing") + "/", milliseconds(0)), EFileAccess);
}

TEST(BeginWorkFolderBuild, StartsFromAnEmptyLockedFolder) {
    ScratchDir d;
    const std::string work = PrepareWorkFolder(Base(d));
    // What a failed build left, and a link planted for the next one.
    WriteRaw(work + "Old.rtf", "stale");
    WriteRaw(work + "hcwreport.log", "HC5011: Error: stale\r\n");
    WriteRaw(d.file("victim"), "keep me");
#ifdef _WIN32
    // Where no link can be made, a file stands in its place.
    if (!qmtest::TryMakeSymlink(d.file("victim"), work + "Intro.rtf")) WriteRaw(work + "Intro.rtf", "planted");
#else
    ASSERT_EQ(symlink(d.file("victim").c_str(), (work + "Intro.rtf").c_str()), 0);
#endif
    {
        TWorkFolderLock build = BeginWorkFolderBuild(Base(d), milliseconds(0));
        EXPECT_EQ(build.Folder(), work);
        EXPECT_EQ(EntriesOf(work), kLockedFolderEntries);
        EXPECT_EQ(qmtest::ReadRaw(d.file("victim")), "keep me");
        // A second build meanwhile is refused and empties nothing.
        WriteRaw(work + "Intro.rtf", "this build's");
        EXPECT_THROW(BeginWorkFolderBuild(Base(d), milliseconds(0)), Error);
        EXPECT_EQ(qmtest::ReadRaw(work + "Intro.rtf"), "this build's");
    }
    EXPECT_NO_THROW(BeginWorkFolderBuild(Base(d), milliseconds(0)));
}
