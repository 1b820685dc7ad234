// The atomic writer under failure: every step can fail (through the test
// hook) and each failure leaves the old file and the folder as they were; a
// killed save's temporary file is recognisable and goes with the next save;
// the new file keeps what it replaces (mode, owner, the link it was saved
// through).
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "support/scratchdir.h"
#include "util/errors.h"
#include "util/fileio.h"

using namespace qm;
using qmtest::ReadRaw;
using qmtest::ScratchDir;
using qmtest::WriteRaw;
namespace fs = std::filesystem;

namespace {

// Installs a save hook for the scope of a test.
class HookScope {
public:
    explicit HookScope(SaveFaultHook hook) { SetSaveFaultHookForTesting(std::move(hook)); }
    ~HookScope() { SetSaveFaultHookForTesting({}); }
    HookScope(const HookScope&) = delete;
    HookScope& operator=(const HookScope&) = delete;
};

#ifdef _WIN32
// The hook's errors are Windows error codes there.
constexpr int kDenied = ERROR_ACCESS_DENIED;
constexpr int kIoError = ERROR_IO_DEVICE;
constexpr int kDiskFull = ERROR_DISK_FULL;
constexpr int kBusy = ERROR_SHARING_VIOLATION;
#define SKIP_ON_WINDOWS(what) GTEST_SKIP() << what << " do not exist on Windows"
#else
constexpr int kDenied = EACCES;
constexpr int kIoError = EIO;
constexpr int kDiskFull = ENOSPC;
constexpr int kBusy = EBUSY;
#define SKIP_ON_WINDOWS(what)

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}
#endif

// ------------------------------------------------------ temporary names

TEST(SaveTemporary, IsNamedAfterTheTargetWhileTheSaveRuns) {
    ScratchDir dir;
    const std::string target = dir.file("Help Project.qpf");
    std::vector<std::string> seen;
    {
        HookScope hook([&](SaveStep step) {
            if (step == SaveStep::Write) seen = dir.entries();
            return 0;
        });
        WriteFileAtomic(target, "data");
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(std::regex_match(seen[0], std::regex(R"(Help Project\.qpf\.saving-[A-Za-z0-9]{6})"))) << seen[0];
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Help Project.qpf"});
}

TEST(SaveTemporary, LongTargetNamesAreCutSoTheTemporaryNameFits) {
    ScratchDir dir;
    const std::string name = std::string(251, 'n') + ".qpf";  // 255 bytes
    std::vector<std::string> seen;
    {
        HookScope hook([&](SaveStep step) {
            if (step == SaveStep::Write) seen = dir.entries();
            return 0;
        });
        WriteFileAtomic(dir.file(name), "x");
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].size(), 255u);
    EXPECT_EQ(seen[0].substr(0, 241), name.substr(0, 241));
    EXPECT_EQ(seen[0].substr(241, 8), ".saving-");
}

// A killed save leaves "<name>.saving-XXXXXX"; the next save of the same
// target removes it, and nothing else.
TEST(SaveTemporary, StaleOnesOfTheSameTargetGoBeforeTheNextSave) {
    ScratchDir dir;
    const std::string target = dir.file("a.qpf");
    WriteRaw(target, "old");
    struct Entry {
        const char* name;
        bool removed;
    };
    const Entry entries[] = {
        {"a.qpf.saving-Ab12Cd", true},   {"a.qpf.saving-zzzzzz", true},
        {"b.qpf.saving-Ab12Cd", false},   // another target's
        {"a.qpf.saving-short", false},    // not six characters
        {"a.qpf.saving-Ab12Cd7", false},  // seven
        {"a.qpf.saving-Ab_2Cd", false},   // not a name character
        {"xa.qpf.saving-Ab12Cd", false},  // a longer name's
        {"a.qpf.saving-folder", false},
    };
    for (const Entry& e : entries) {
        if (std::string(e.name) == "a.qpf.saving-folder")
            fs::create_directory(dir.path() / e.name);
        else
            WriteRaw(dir.file(e.name), std::string(4096, 's'));
    }
    WriteFileAtomic(target, "new");
    EXPECT_EQ(ReadRaw(target), "new");
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(!fs::exists(dir.path() / e.name), e.removed);
    }
}

// A temporary file that a running save holds (its lock is taken; on Windows
// it is open) is not stale: a second save of the same target leaves it alone.
TEST(SaveTemporary, OneHeldByARunningSaveIsKept) {
    ScratchDir dir;
    const std::string busy = dir.file("a.qpf.saving-Busy00");
    WriteRaw(busy, "in progress");
#ifdef _WIN32
    // Opened as a save opens its temporary file.
    const HANDLE held = ::CreateFileW(qmtest::NativePath(busy).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    WriteFileAtomic(dir.file("a.qpf"), "new");
    EXPECT_TRUE(fs::exists(busy));
    ::CloseHandle(held);
#else
    const int fd = ::open(busy.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    WriteFileAtomic(dir.file("a.qpf"), "new");
    EXPECT_TRUE(fs::exists(busy));
    ::close(fd);
#endif
    WriteFileAtomic(dir.file("a.qpf"), "newer");
    EXPECT_FALSE(fs::exists(busy));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.qpf"});
}

// The temporary file stays the running save's between the checked close and
// the rename: a second save of the same target meanwhile leaves it alone, and
// the first one still completes.
TEST(SaveTemporary, OneClosedButNotYetRenamedIsKept) {
    ScratchDir dir;
    const std::string target = dir.file("a.qpf");
    bool nested = false;
    {
        HookScope hook([&](SaveStep step) {
            if (step == SaveStep::Rename && !nested) {
                nested = true;
                WriteFileAtomic(target, "second");
            }
            return 0;
        });
        EXPECT_NO_THROW(WriteFileAtomic(target, "first"));
    }
    EXPECT_TRUE(nested);
    EXPECT_EQ(ReadRaw(target), "first");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.qpf"});
}

// ------------------------------------------------------ fault injection

TEST(SaveSteps, RunInOrderWithTheFolderFlushedAfterTheRename) {
    ScratchDir dir;
    std::vector<SaveStep> steps;
    HookScope hook([&](SaveStep step) {
        steps.push_back(step);
        return 0;
    });
    WriteFileAtomic(dir.file("a.qpf"), "data");
    const std::vector<SaveStep> expected = {SaveStep::Create, SaveStep::Write,  SaveStep::Flush,
                                            SaveStep::Close,  SaveStep::Rename, SaveStep::FlushFolder};
    EXPECT_EQ(steps, expected);
}

struct StepFault {
    const char* name;
    SaveStep step;
    int err;
    const char* reason;  // what the message says after the file name
};

const StepFault kStepFaults[] = {
    {"create_denied", SaveStep::Create, kDenied, " - Access to the file is denied."},
    {"create_io", SaveStep::Create, kIoError, " - An I/O error occured."},
    {"write_disk_full", SaveStep::Write, kDiskFull, " - The disk is full."},
    {"write_io", SaveStep::Write, kIoError, " - An I/O error occured."},
    {"flush_io", SaveStep::Flush, kIoError, " - An I/O error occured."},
    {"flush_disk_full", SaveStep::Flush, kDiskFull, " - The disk is full."},
#ifndef _WIN32
    // Windows codes reach the message as they are; errno values are mapped.
    {"flush_quota", SaveStep::Flush, EDQUOT, " - The disk is full."},
#endif
    {"close_io", SaveStep::Close, kIoError, " - An I/O error occured."},
    {"rename_busy", SaveStep::Rename, kBusy, " - A file sharing violation occured."},
    {"rename_io", SaveStep::Rename, kIoError, " - An I/O error occured."},
};

void PrintTo(const StepFault& f, std::ostream* os) { *os << f.name; }

class SaveStepFault : public ::testing::TestWithParam<StepFault> {};

// Each step that fails leaves the old file and the folder exactly as they
// were, and the error names the step.
TEST_P(SaveStepFault, KeepsTheOldFileAndTheFolder) {
    const StepFault& f = GetParam();
    ScratchDir dir;
    const std::string target = dir.file("a.qpf");
    WriteRaw(target, "old project");
#ifndef _WIN32
    ::chmod(target.c_str(), 0640);
#endif
    WriteRaw(dir.file("other.txt"), "neighbour");
    const auto before = dir.entries();
    HookScope hook([&](SaveStep step) { return step == f.step ? f.err : 0; });
    try {
        WriteFileAtomic(target, std::string(100000, 'n'));
        ADD_FAILURE() << "the failed step was reported as success";
    } catch (const EFileAccess& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write to " + target + f.reason);
        EXPECT_EQ(e.step(), f.step) << SaveStepName(e.step());
    }
    EXPECT_EQ(ReadRaw(target), "old project");
#ifndef _WIN32
    EXPECT_EQ(ModeOf(target), 0640u);
#endif
    EXPECT_EQ(dir.entries(), before);
}

// Without an old file, a failed save creates nothing.
TEST_P(SaveStepFault, CreatesNothingForANewFile) {
    const StepFault& f = GetParam();
    ScratchDir dir;
    HookScope hook([&](SaveStep step) { return step == f.step ? f.err : 0; });
    EXPECT_THROW(WriteFileAtomic(dir.file("new.qpf"), "data"), EFileAccess);
    EXPECT_TRUE(dir.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryStep, SaveStepFault, ::testing::ValuesIn(kStepFaults),
                         [](const ::testing::TestParamInfo<StepFault>& info) { return std::string(info.param.name); });

TEST(SaveSteps, AFolderThatCannotBeFlushedFailsNothing) {
    ScratchDir dir;
    HookScope hook([](SaveStep step) { return step == SaveStep::FlushFolder ? kIoError : 0; });
    WriteFileAtomic(dir.file("a.qpf"), "data");
    EXPECT_EQ(ReadRaw(dir.file("a.qpf")), "data");
}

// ------------------------------------------------ what a save carries over

TEST(SaveKeeps, ThePermissionBitsOfTheReplacedFile) {
    SKIP_ON_WINDOWS("POSIX permission bits");
#ifndef _WIN32
    ScratchDir dir;
    const std::string target = dir.file("a.qpf");
    for (mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0644}, mode_t{0660}, mode_t{0604}, mode_t{0777}}) {
        SCOPED_TRACE(mode);
        WriteRaw(target, "old");
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        WriteFileAtomic(target, "new");
        EXPECT_EQ(ModeOf(target), mode);
        EXPECT_EQ(ReadRaw(target), "new");
    }
#endif
}

TEST(SaveKeeps, TheUsualModeForANewFile) {
    SKIP_ON_WINDOWS("The umask and POSIX permission bits");
#ifndef _WIN32
    ScratchDir dir;
    const mode_t mask = ::umask(022);
    WriteFileAtomic(dir.file("new.qpf"), "x");
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.file("new.qpf")), 0644u);
#endif
}

TEST(SaveKeeps, TheOwnerAndGroupWhereTheProcessMaySetThem) {
    SKIP_ON_WINDOWS("POSIX owners and groups");
#ifndef _WIN32
    if (::geteuid() != 0) GTEST_SKIP() << "only a privileged process may give a file away";
    ScratchDir dir;
    const std::string target = dir.file("a.qpf");
    WriteRaw(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 4242, 4343), 0);
    ASSERT_EQ(::chmod(target.c_str(), 02750), 0);  // set-group-id survives the change of owner
    WriteFileAtomic(target, "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4242u);
    EXPECT_EQ(st.st_gid, 4343u);
    EXPECT_EQ(st.st_mode & 07777, 02750u);
#endif
}

struct LinkCase {
    const char* name;
    const char* linkTarget;  // as stored in the link, relative to the scratch folder
    const char* file;        // the file the save must write, relative to the scratch folder
    bool fileExists;
};

const LinkCase kLinkCases[] = {
    {"live_relative", "real/a.qpf", "real/a.qpf", true},
    {"dangling_relative", "real/a.qpf", "real/a.qpf", false},
    {"dangling_absolute", "", "real/b.qpf", false},  // the absolute path is made in the test
    {"dangling_chain", "chain.qpf", "real/c.qpf", false},
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

class SaveThroughLink : public ::testing::TestWithParam<LinkCase> {};

// The link stays a link and its file gets the data, whether it existed
// before or not.
TEST_P(SaveThroughLink, WritesTheLinkedFile) {
    const LinkCase& c = GetParam();
    ScratchDir dir;
    fs::create_directory(dir.path() / "real");
    if (c.fileExists) WriteRaw(dir.file(c.file), "old");
    fs::path to = c.linkTarget;
    if (to.empty()) to = dir.path() / c.file;
    if (std::string(c.name) == "dangling_chain") {
        QM_SYMLINK_OR_SKIP("real/c.qpf", dir.path() / "chain.qpf");  // link -> chain -> real/c.qpf
    }
    QM_SYMLINK_OR_SKIP(to, dir.path() / "link.qpf");
    WriteFileAtomic(dir.file("link.qpf"), "new");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.qpf"));
    EXPECT_EQ(ReadRaw(dir.file(c.file)), "new");
    EXPECT_EQ(ReadRaw(dir.file("link.qpf")), "new");
}

INSTANTIATE_TEST_SUITE_P(Links, SaveThroughLink, ::testing::ValuesIn(kLinkCases),
                         [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST(SaveThroughLinks, ALoopIsRefusedAndChangesNothing) {
    ScratchDir dir;
    QM_SYMLINK_OR_SKIP("b.qpf", dir.path() / "a.qpf");
    QM_SYMLINK_OR_SKIP("a.qpf", dir.path() / "b.qpf");
    EXPECT_THROW(WriteFileAtomic(dir.file("a.qpf"), "x"), EFileAccess);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "a.qpf"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "b.qpf"));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.qpf", "b.qpf"}));
}

TEST(SaveThroughLinks, ALinkToAFolderSaysItIsAFolder) {
    ScratchDir dir;
    fs::create_directory(dir.path() / "sub");
    QM_SYMLINK_OR_SKIP("sub", dir.path() / "a.qpf");
    const std::string target = dir.file("a.qpf");
    try {
        WriteFileAtomic(target, "x");
        ADD_FAILURE() << "saved over a folder";
    } catch (const EFileAccess& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write to " + target + " - It is a folder, not a file.");
    }
    EXPECT_TRUE(fs::is_symlink(dir.path() / "a.qpf"));
}

}  // namespace
