// Whole-file reading, path conversion and the atomic writer. A failed save
// must leave the old file exactly as it was and no temporary file behind.
#include "util/fileio.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <cerrno>
#include <csignal>
#include <string>

#include "support/scratchdir.h"
#include "util/errors.h"

using namespace qm;
using qmtest::ReadRaw;
using qmtest::ScratchDir;
using qmtest::WriteRaw;

namespace {

std::string Binary() {
    std::string s;
    for (int i = 0; i < 1000; ++i) s.push_back(static_cast<char>(i * 7));
    s += std::string("\r\n\0\r", 4);
    return s;
}

// Expects `op` to throw EFileAccess with `message` and `code`.
template <typename Op>
void ExpectFileError(Op op, const std::string& message, int code) {
    try {
        op();
        ADD_FAILURE() << "no error raised; expected: " << message;
    } catch (const EFileAccess& e) {
        EXPECT_EQ(std::string(e.what()), message);
        EXPECT_EQ(e.code(), code);
    }
}

// ---------------------------------------------------------------- paths

#ifdef _WIN32
TEST(FsPath, BothSeparatorsStayAndCp1252BecomesUtf16) {
    EXPECT_EQ(ToFsPath("images\\sub\\a.bmp").wstring(), L"images\\sub\\a.bmp");
    EXPECT_EQ(ToFsPath("images/sub\\a.bmp").wstring(), L"images/sub\\a.bmp");
    EXPECT_EQ(ToFsPath("caf\xE9.qpf").wstring(), L"caf\u00E9.qpf");
    EXPECT_EQ(ToFsPath("\x80.txt").wstring(), L"\u20AC.txt");
    EXPECT_EQ(FromFsPath(std::filesystem::path(L"caf\u00E9.qpf")), "caf\xE9.qpf");
    EXPECT_EQ(FromFsPath(std::filesystem::path(L"\u4E2D.txt")), "?.txt");  // no cp1252 byte
}
#else
TEST(FsPath, BackslashesBecomeSeparatorsAndCp1252BecomesUtf8) {
    EXPECT_EQ(ToFsPath("images\\sub\\a.bmp").string(), "images/sub/a.bmp");
    EXPECT_EQ(ToFsPath("images/sub\\a.bmp").string(), "images/sub/a.bmp");
    EXPECT_EQ(ToFsPath("caf\xE9.qpf").string(), "caf\xC3\xA9.qpf");
    EXPECT_EQ(ToFsPath("\x80.txt").string(), "\xE2\x82\xAC.txt");
    EXPECT_EQ(FromFsPath(std::filesystem::path("caf\xC3\xA9.qpf")), "caf\xE9.qpf");
    EXPECT_EQ(FromFsPath(std::filesystem::path("\xE4\xB8\xAD.txt")), "?.txt");  // no cp1252 byte
}
#endif

TEST(FsPath, Cp1252NamesReachTheDisk) {
    ScratchDir dir;
    const std::string model = dir.str() + "\\caf\xE9 \x80.txt";
    WriteFileAtomic(model, "euro");
    EXPECT_EQ(ReadRaw(dir.file("caf\xC3\xA9 \xE2\x82\xAC.txt")), "euro");
    EXPECT_TRUE(FileExists(model));
    EXPECT_EQ(ReadWholeFile(model), "euro");
}

TEST(FileExists, FilesAndFolders) {
    ScratchDir dir;
    WriteRaw(dir.file("a.txt"), "x");
    std::filesystem::create_directory(dir.path() / "sub");
    EXPECT_TRUE(FileExists(dir.file("a.txt")));
    EXPECT_FALSE(FileExists(dir.file("sub")));  // a folder is not a file
    EXPECT_FALSE(FileExists(dir.file("b.txt")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FolderExists(dir.file("sub")));
    EXPECT_TRUE(FolderExists(dir.str()));
    EXPECT_FALSE(FolderExists(dir.file("a.txt")));
    EXPECT_FALSE(FolderExists(dir.file("none")));
}

// -------------------------------------------------------------- reading

TEST(ReadWholeFile, ReturnsEveryByte) {
    ScratchDir dir;
    WriteRaw(dir.file("b.bin"), Binary());
    EXPECT_EQ(ReadWholeFile(dir.file("b.bin")), Binary());
    WriteRaw(dir.file("empty"), "");
    EXPECT_EQ(ReadWholeFile(dir.file("empty")), "");
}

// A file is read into one buffer of its size: a reader that asks for more
// after the last byte makes the string grow (and copy) to about twice the
// file, which for a large project doubles the memory and the time of a load.
TEST(ReadWholeFile, ReadsIntoOneBufferOfTheFilesSize) {
    ScratchDir dir;
    for (const std::size_t size :
         {std::size_t{65535}, std::size_t{65536}, std::size_t{65537}, (std::size_t{1} << 20) + 3}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + i / 251);
        WriteRaw(dir.file("f.bin"), bytes);
        const std::string read = ReadWholeFile(dir.file("f.bin"));
        EXPECT_EQ(read, bytes);
        EXPECT_LE(read.capacity(), size + 1);  // one byte more where the end is seen by reading
    }
}

TEST(ReadWholeFile, Errors) {
    ScratchDir dir;
    const std::string missing = dir.file("missing.qpf");
    ExpectFileError([&] { ReadWholeFile(missing); },
                    "Cannot open " + missing + " - The file has been deleted or moved.", 2);
    const std::string noFolder = dir.file("gone/missing.qpf");
    ExpectFileError([&] { ReadWholeFile(noFolder); }, "Cannot access " + noFolder + " - The path was not found.", 3);
    std::filesystem::create_directory(dir.path() / "folder.qpf");
    const std::string folder = dir.file("folder.qpf");
    ExpectFileError([&] { ReadWholeFile(folder); }, "Cannot access " + folder + " - Access to the file is denied.", 5);
    WriteRaw(dir.file("plain"), "x");
    const std::string underFile = dir.file("plain/x.qpf");
    ExpectFileError([&] { ReadWholeFile(underFile); }, "Cannot access " + underFile + " - The path was not found.", 3);
}

TEST(ReadWholeFile, AFileOverTheLimitIsRefusedBeforeItIsRead) {
    ScratchDir dir;
    const std::string path = dir.file("big.bin");
    const std::uintmax_t mb = std::uintmax_t{1} << 20;
    WriteRaw(path, "x");
    std::filesystem::resize_file(path, mb);
    EXPECT_EQ(ReadWholeFile(path, mb).size(), mb);  // at the limit
    std::filesystem::resize_file(path, mb + 1);
    try {
        ReadWholeFile(path, mb);
        ADD_FAILURE() << "read past the limit";
    } catch (const EFileTooLarge& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open " + path + " - The file is too large (the limit is 1 MB).");
        EXPECT_EQ(e.limit(), mb);
    }
    // A hole of 3 GB: refused at once, without memory for it.
    std::filesystem::resize_file(path, std::uintmax_t{3} << 30);
    EXPECT_THROW(ReadWholeFile(path, std::uintmax_t{1} << 30), EFileTooLarge);
}

TEST(ReadWholeFile, MessageNamesTheModelPath) {
    ScratchDir dir;
    const std::string model = dir.str() + "\\caf\xE9.qpf";
    ExpectFileError([&] { ReadWholeFile(model); }, "Cannot open " + model + " - The file has been deleted or moved.",
                    2);
}

// -------------------------------------------------------------- writing

TEST(WriteFileAtomic, CreatesAndReplaces) {
    ScratchDir dir;
    const std::string target = dir.file("a.qpf");
    WriteFileAtomic(target, Binary());
    EXPECT_EQ(ReadRaw(target), Binary());
    WriteFileAtomic(target, "short");
    EXPECT_EQ(ReadRaw(target), "short");
    WriteFileAtomic(target, "");
    EXPECT_EQ(ReadRaw(target), "");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.qpf"});  // no temporary left over
}

TEST(WriteFileAtomic, MissingFolderFailsAndCreatesNothing) {
    ScratchDir dir;
    const std::string target = dir.file("gone/a.qpf");
    ExpectFileError([&] { WriteFileAtomic(target, "data"); },
                    "Cannot write to " + target + " - The path was not found.", 3);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(WriteFileAtomic, TargetIsAFolderFailsAndLeavesItAlone) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "a.qpf");
    WriteRaw(dir.file("a.qpf/inside.txt"), "keep");
    const std::string target = dir.file("a.qpf");
    ExpectFileError([&] { WriteFileAtomic(target, "data"); },
                    "Cannot write to " + target + " - It is a folder, not a file.", winerr::IsAFolder);
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(ReadRaw(dir.file("a.qpf/inside.txt")), "keep");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.qpf"});  // temporary removed
}

#ifdef _WIN32
// Windows has no per-process file-size limit: the save's test hook fails the
// write as a full disk would.
class FailingWrites {
public:
    explicit FailingWrites(std::size_t) {
        SetSaveFaultHookForTesting([](SaveStep step) { return step == SaveStep::Write ? winerr::DiskFull : 0; });
    }
    ~FailingWrites() { SetSaveFaultHookForTesting({}); }
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;
    bool ok() const { return true; }
};
#else
// Lowers the file-size limit for the current process while in scope, so that
// writing beyond it fails even for root. SIGXFSZ is ignored so the write
// reports EFBIG instead of killing the test.
class FailingWrites {
public:
    explicit FailingWrites(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FailingWrites() {
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

TEST(WriteFileAtomic, FailedWriteKeepsTheOldFileAndRemovesTheTemporary) {
    ScratchDir dir;
    const std::string target = dir.file("a.qpf");
    const std::string old = "old project file contents";
    WriteRaw(target, old);
    const std::string big(64 * 1024, 'n');
    bool threw = false;
    {
        FailingWrites limit(4096);
        ASSERT_TRUE(limit.ok());
        try {
            WriteFileAtomic(target, big);
        } catch (const EFileAccess& e) {
            threw = true;
            EXPECT_EQ(std::string(e.what()).rfind("Cannot write to " + target + " - ", 0), 0u) << e.what();
        }
    }
    EXPECT_TRUE(threw) << "a write beyond the file-size limit was reported as success";
    EXPECT_EQ(ReadRaw(target), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.qpf"});
}

TEST(WriteFileAtomic, BareNameGoesToTheCurrentFolder) {
    ScratchDir dir;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    try {
        WriteFileAtomic("bare.qpf", "here");
        EXPECT_EQ(ReadWholeFile("bare.qpf"), "here");
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    std::filesystem::current_path(old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"bare.qpf"});
}

TEST(WriteFileAtomic, TrailingSeparatorNamesNoFile) {
    ScratchDir dir;
    const std::string target = dir.str() + "/";
    ExpectFileError([&] { WriteFileAtomic(target, "x"); },
                    "Cannot write to " + target + " - It is a folder, not a file.", winerr::IsAFolder);
    EXPECT_TRUE(dir.entries().empty());
    const std::string missing = dir.str() + "/gone/";
    ExpectFileError([&] { WriteFileAtomic(missing, "x"); },
                    "Cannot write to " + missing + " - Access to the file is denied.", 5);
    EXPECT_TRUE(dir.entries().empty());
}

// The temporary file's name must not be longer than any name the folder
// accepts: a target whose own name is near the limit still saves.
TEST(WriteFileAtomic, TargetNameNearTheLengthLimit) {
    ScratchDir dir;
    for (std::size_t len : {std::size_t{200}, std::size_t{247}, std::size_t{255}}) {
        const std::string name = std::string(len - 4, 'n') + ".qpf";
        const std::string target = dir.file(name);
        try {
            WriteFileAtomic(target, "first");
            WriteFileAtomic(target, "second");
            EXPECT_EQ(ReadRaw(target), "second") << len;
        } catch (const std::exception& e) {
            ADD_FAILURE() << len << " bytes: " << e.what();
        }
        EXPECT_EQ(dir.entries(), std::vector<std::string>{name}) << len;
        std::filesystem::remove(target);
    }
}

// A file marked read-only is refused as the system refuses to open it for
// writing, for every user: the rename must not slip past the protection.
TEST(WriteFileAtomic, ReadOnlyTargetIsRefusedAndKept) {
    ScratchDir dir;
    const std::string target = dir.file("locked.qpf");
    WriteRaw(target, "protected");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
    ExpectFileError([&] { WriteFileAtomic(target, "new"); },
                    "Cannot write to " + target + " - Access to the file is denied.", 5);
    EXPECT_EQ(ReadRaw(target), "protected");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"locked.qpf"});
}

TEST(WriteFileAtomic, KeepsNoTemporaryAfterManyWrites) {
    ScratchDir dir;
    for (int i = 0; i < 20; ++i) WriteFileAtomic(dir.file("x.txt"), std::to_string(i));
    EXPECT_EQ(ReadRaw(dir.file("x.txt")), "19");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"x.txt"});
}

}  // namespace

TEST(ReadWholeFile, FifoIsRefusedWithoutBlocking) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no named pipes in the file system";
#else
    ScratchDir dir;
    const std::string fifo = dir.file("pipe.qpf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // With no writer, a blocking open would never return.
    ExpectFileError([&] { ReadWholeFile(fifo); }, "Cannot access " + fifo + " - Access to the file is denied.", 5);
#endif
}

#ifdef _WIN32
// A device name is valid in any folder there; NUL would read as an empty
// file, CON would wait for typing.
TEST(ReadWholeFile, DeviceNamesAreRefused) {
    ScratchDir dir;
    for (const char* device : {"NUL", "nul.qpf"}) {
        const std::string name = dir.file(device);
        ExpectFileError([&] { ReadWholeFile(name); }, "Cannot access " + name + " - Access to the file is denied.", 5);
    }
}
#endif

TEST(WriteFileAtomic, SavingThroughALinkReplacesTheLinkedFile) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.path() / "real");
    const std::string real = dir.file("real/a.qpf");
    WriteRaw(real, "old");
    QM_SYMLINK_OR_SKIP(dir.path() / "real" / "a.qpf", dir.path() / "link.qpf");
    WriteFileAtomic(dir.file("link.qpf"), "new");
    EXPECT_EQ(ReadRaw(real), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.qpf"));
    EXPECT_EQ(ReadRaw(dir.file("link.qpf")), "new");
}

// ------------------------------------------------- files a link could be planted at

TEST(ReadWholeFileNoFollow, ReadsAFileAndRefusesALink) {
    ScratchDir dir;
    WriteRaw(dir.file("report.log"), Binary());
    EXPECT_EQ(ReadWholeFileNoFollow(dir.file("report.log")), Binary());
    const std::string missing = dir.file("missing.log");
    ExpectFileError([&] { ReadWholeFileNoFollow(missing); },
                    "Cannot open " + missing + " - The file has been deleted or moved.", 2);
    WriteRaw(dir.file("secret"), "not for the build");
    QM_SYMLINK_OR_SKIP(dir.path() / "secret", dir.path() / "planted.log");
    const std::string planted = dir.file("planted.log");
    ExpectFileError([&] { ReadWholeFileNoFollow(planted); },
                    "Cannot access " + planted + " - Access to the file is denied.", 5);
    // The plain reader still follows a link the user made.
    EXPECT_EQ(ReadWholeFile(planted), "not for the build");
}

TEST(ReadWholeFileNoFollow, ReadsNoMoreThanTheLimit) {
    ScratchDir dir;
    const std::string big(200000, 'x');
    WriteRaw(dir.file("big.log"), big);
    struct Row {
        const char* name;
        std::size_t limit;
        std::size_t expected;
    };
    for (const Row& row :
         {Row{"under the size", 1000, 1000}, Row{"zero", 0, 0}, Row{"exactly the size", 200000, 200000},
          Row{"over the size", 300000, 200000}, Row{"between reads", 70000, 70000}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadWholeFileNoFollow(dir.file("big.log"), row.limit), big.substr(0, row.expected));
    }
}

TEST(WriteFileAtomic, ReplacingALinkLeavesItsTargetAlone) {
    ScratchDir dir;
    WriteRaw(dir.file("victim"), "keep me");
    // Nor is a read-only target a reason to fail.
    std::filesystem::permissions(dir.file("victim"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
    QM_SYMLINK_OR_SKIP(dir.path() / "victim", dir.path() / "Guide.hpj");
    WriteFileAtomic(dir.file("Guide.hpj"), "[OPTIONS]\r\n", LinkAtTarget::Replace);
    EXPECT_EQ(ReadRaw(dir.file("victim")), "keep me");
    EXPECT_FALSE(std::filesystem::is_symlink(dir.path() / "Guide.hpj"));
    EXPECT_EQ(ReadRaw(dir.file("Guide.hpj")), "[OPTIONS]\r\n");
    // A plain file at the target is replaced as before.
    WriteFileAtomic(dir.file("Guide.hpj"), "second", LinkAtTarget::Replace);
    EXPECT_EQ(ReadRaw(dir.file("Guide.hpj")), "second");
}

TEST(WriteNewFile, NeverWritesThroughWhatStandsAtThePath) {
    ScratchDir dir;
    WriteRaw(dir.file("victim"), "keep me");
    std::filesystem::create_directory(dir.path() / "folder.rtf");
    // Where links cannot be made (Windows here), their rows are left out.
    const bool links = qmtest::TryMakeSymlink(dir.path() / "victim", dir.path() / "link.rtf") &&
                       qmtest::TryMakeSymlink(dir.path() / "nowhere", dir.path() / "dangling.rtf");
#ifndef _WIN32
    ASSERT_TRUE(links);
#endif
    WriteRaw(dir.file("old.rtf"), "old text that is longer");
    struct Row {
        const char* name;
        const char* file;
        int result;
        bool link = false;
    };
    for (const Row& row : {Row{"new file", "new.rtf", 0}, Row{"old file", "old.rtf", 0},
                           Row{"link to a file", "link.rtf", 0, true}, Row{"dangling link", "dangling.rtf", 0, true},
                           Row{"folder", "folder.rtf", EEXIST}, Row{"missing folder", "gone/x.rtf", ENOENT}}) {
        SCOPED_TRACE(row.name);
        if (row.link && !links) continue;
        EXPECT_EQ(WriteNewFile(dir.file(row.file), "{\\rtf1}"), row.result);
        if (row.result == 0) {
            EXPECT_FALSE(std::filesystem::is_symlink(dir.path() / row.file));
            EXPECT_EQ(ReadRaw(dir.file(row.file)), "{\\rtf1}");
        }
    }
    EXPECT_EQ(ReadRaw(dir.file("victim")), "keep me");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "nowhere"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.rtf"));
}
