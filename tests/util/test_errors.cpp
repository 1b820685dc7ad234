// File-access messages by Windows error code, and the errno mapping behind them.
#include "util/errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "support/scratchdir.h"

using namespace qm;

namespace {

TEST(FileAccessError, IsASystemError) {
    const EFileAccess e = CreateFileAccessError("x.qpf", true, 5);
    const Error& base = e;
    EXPECT_STREQ(base.what(), "Cannot access x.qpf - Access to the file is denied.");
    EXPECT_EQ(e.code(), 5);
}

// The reason of every code, for the codes whose verb follows the access flag.
struct Reason {
    int code;
    const char* text;
};
const Reason kReasons[] = {
    {3, " - The path was not found."},
    {4, " - Too many opened files."},
    {5, " - Access to the file is denied."},
    {8, " - There is not enough memory to complete the process."},
    {14, " - Out of memory."},
    {15, " - The specified drive is invalid."},
    {16, " - The directory could not be removed."},
    {20, " - The specified device could not be found."},
    {21, " - The device is not ready."},
    {26, " - The storage device is not formatted for Windows operating system."},
    {29, " - The system cannot write to the specified device."},
    {30, " - The system cannot read from the specified device."},
    {32, " - A file sharing violation occured."},
    {33, " - A file sharing violation occured."},
    {38, " - Unexpected end of file found."},
    {123, " - The filename, directory name, or volume label syntax is incorrect."},
    // Anything else.
    {0, " - An I/O error occured."},
    {1, " - An I/O error occured."},
    {6, " - An I/O error occured."},
    {17, " - An I/O error occured."},
    {999, " - An I/O error occured."},
    {-1, " - An I/O error occured."},
};

TEST(FileAccessError, EveryCodeInBothForms) {
    for (const auto& r : kReasons) {
        SCOPED_TRACE(r.code);
        const EFileAccess read = CreateFileAccessError("C:\\Help\\a.qpf", true, r.code);
        EXPECT_EQ(std::string(read.what()), std::string("Cannot access C:\\Help\\a.qpf") + r.text);
        EXPECT_EQ(read.code(), r.code);
        const EFileAccess write = CreateFileAccessError("C:\\Help\\a.qpf", false, r.code);
        EXPECT_EQ(std::string(write.what()), std::string("Cannot write to C:\\Help\\a.qpf") + r.text);
        EXPECT_EQ(write.code(), r.code);
    }
}

TEST(FileAccessError, CodesWithAFixedVerbIgnoreTheAccessFlag) {
    const Reason fixed[] = {
        {2, "Cannot open a.qpf - The file has been deleted or moved."},
        {19, "Cannot write to a.qpf - The file is write protected."},
        {80, "Cannot write to a.qpf - The file already exists."},
        {112, "Cannot write to a.qpf - The disk is full."},
    };
    for (const auto& f : fixed) {
        SCOPED_TRACE(f.code);
        EXPECT_STREQ(CreateFileAccessError("a.qpf", true, f.code).what(), f.text);
        EXPECT_STREQ(CreateFileAccessError("a.qpf", false, f.code).what(), f.text);
    }
}

TEST(FileAccessError, EmptyNameIsTheRequestedFile) {
    EXPECT_STREQ(CreateFileAccessError("", true, 5).what(),
                 "Cannot access the requested file - Access to the file is denied.");
    EXPECT_STREQ(CreateFileAccessError("", false, 38).what(),
                 "Cannot write to the requested file - Unexpected end of file found.");
    EXPECT_STREQ(CreateFileAccessError("", true, 2).what(),
                 "Cannot open the requested file - The file has been deleted or moved.");
    EXPECT_STREQ(CreateFileAccessError("", true, 112).what(), "Cannot write to the requested file - The disk is full.");
}

TEST(FileAccessError, NamedConstantsMatchTheWindowsCodes) {
    EXPECT_EQ(winerr::FileNotFound, 2);
    EXPECT_EQ(winerr::PathNotFound, 3);
    EXPECT_EQ(winerr::HandleEof, 38);
    EXPECT_EQ(winerr::DiskFull, 112);
    EXPECT_EQ(winerr::InvalidName, 123);
}

TEST(WinCodeFromErrno, Table) {
    qmtest::ScratchDir dir;
    const std::string inExisting = dir.file("missing.qpf");
    struct Case {
        int err;
        int expected;
    };
    const Case cases[] = {
        {ENOTDIR, 3},        {EMFILE, 4},   {ENFILE, 4}, {EACCES, 5}, {EPERM, 5},    {EISDIR, 5},  {ENOMEM, 8},
        {EROFS, 19},         {ENODEV, 20},  {ENXIO, 20}, {EBUSY, 32}, {ETXTBSY, 32}, {EEXIST, 80}, {ENOSPC, 112},
#ifdef EDQUOT  // Windows' C library has no disk quota error
        {EDQUOT, 112},
#endif
        {ENAMETOOLONG, 123}, {EINVAL, 123}, {EIO, 0},    {EFBIG, 0},  {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(WinCodeFromErrno(c.err, inExisting), c.expected) << "errno " << c.err;
}

TEST(WinCodeFromErrno, NotFoundDependsOnTheParentFolder) {
    qmtest::ScratchDir dir;
    EXPECT_EQ(WinCodeFromErrno(ENOENT, dir.file("missing.qpf")), 2);
    EXPECT_EQ(WinCodeFromErrno(ENOENT, dir.file("no/such/folder/x.qpf")), 3);
    EXPECT_EQ(WinCodeFromErrno(ENOENT, dir.file("nofolder/x.qpf")), 3);
    // A parent that is a file, not a folder, does not count as existing.
    qmtest::WriteRaw(dir.file("plain"), "x");
    EXPECT_EQ(WinCodeFromErrno(ENOENT, dir.file("plain/x.qpf")), 3);
    // A bare name lives in the current folder, which exists.
    EXPECT_EQ(WinCodeFromErrno(ENOENT, "surely-not-here.qpf"), 2);
}

TEST(WinCodeFromErrno, FeedsTheMessage) {
    qmtest::ScratchDir dir;
    const std::string path = dir.file("gone/a.qpf");
    const EFileAccess e = CreateFileAccessError(path, true, WinCodeFromErrno(ENOENT, path));
    EXPECT_EQ(std::string(e.what()), "Cannot access " + path + " - The path was not found.");
}

}  // namespace

namespace {

// Input quoted in a message: whole up to the limit, else cut with "...".
TEST(QuoteInput, CutsLongValuesAt200Characters) {
    struct Row {
        const char* name;
        std::string value;
        std::string shown;
    };
    const Row rows[] = {
        {"empty", "", ""},
        {"short", "abc", "abc"},
        {"exactly_200", std::string(200, 'x'), std::string(200, 'x')},
        {"201", std::string(201, 'x'), std::string(200, 'x') + "..."},
        {"huge_line", std::string(1 << 20, 'y') + "tail", std::string(200, 'y') + "..."},
        {"nul_kept_inside", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(QuoteInput(r.value), r.shown);
    }
}

TEST(QuoteInput, FileMessagesQuoteTheNameShort) {
    const std::string name = std::string(250, 'n') + ".qpf";
    const std::string shown = std::string(200, 'n') + "...";
    EXPECT_EQ(std::string(CreateFileAccessError(name, true, 5).what()),
              "Cannot access " + shown + " - Access to the file is denied.");
    EXPECT_EQ(std::string(CreateFileAccessError(name, false, 2).what()),
              "Cannot open " + shown + " - The file has been deleted or moved.");
    EXPECT_EQ(std::string(CreateFileTooLargeError(name, 4u << 20).what()),
              "Cannot open " + shown + " - The file is too large (the limit is 4 MB).");
}

TEST(FileTooLargeError, NamesTheLimitInMegabytes) {
    const EFileTooLarge e = CreateFileTooLargeError("C:\\Help\\big.rtf", std::uintmax_t{256} << 20);
    const Error& base = e;
    EXPECT_STREQ(base.what(), "Cannot open C:\\Help\\big.rtf - The file is too large (the limit is 256 MB).");
    EXPECT_EQ(e.limit(), std::uintmax_t{256} << 20);
}

TEST(FileAccessError, AFolderSaysSo) {
    EXPECT_STREQ(CreateFileAccessError("C:\\Help", false, winerr::IsAFolder).what(),
                 "Cannot write to C:\\Help - It is a folder, not a file.");
}

}  // namespace
