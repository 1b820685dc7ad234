#include "util/workfolder.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#ifdef _WIN32
#include <cstdio>
#include <random>
#endif

#include "util/errors.h"
#include "util/fileio.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qm {

namespace {

#ifdef _WIN32
constexpr char kSep = '\\';
// Locked (LockFileEx) while a build runs; emptying the folder skips it, and
// it is opened without delete sharing so no one can take it away meanwhile.
constexpr const wchar_t* kLockFileName = L"build.lock";
#else
constexpr char kSep = '/';

// The folder path without its trailing separator, for the system calls.
std::string Bare(std::string_view folder) {
    std::string s(folder);
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\')) s.pop_back();
    return ToFsPath(s).string();
}

// Why `st` (from lstat or fstat) is not a private folder of this user; empty
// when it is one.
std::string NotPrivateReason(const struct stat& st) {
    if (S_ISLNK(st.st_mode)) return "it is a symbolic link";
    if (!S_ISDIR(st.st_mode)) return "it is not a folder";
    if (st.st_uid != geteuid()) return "it belongs to another user";
    return {};
}
#endif

}  // namespace

std::string WorkFolderPath(std::string_view tempFolder) {
    if (tempFolder.empty()) return {};
    std::string path(tempFolder);
    if (path.back() != '/' && path.back() != '\\') path += kSep;
#ifdef _WIN32
    path += "Quillmark";
#else
    path += "Quillmark-" + std::to_string(static_cast<unsigned long>(geteuid()));
#endif
    path += kSep;
    return path;
}

std::string PrepareWorkFolder(std::string_view tempFolder) {
    const std::string path = WorkFolderPath(tempFolder);
    if (path.empty()) throw Error("The temporary folder is not known.");
#ifdef _WIN32
    // Only the last level is made: a missing temporary folder is an error, as
    // on POSIX.
    std::error_code ec;
    std::filesystem::create_directory(ToFsPath(path), ec);
    if (ec || !FolderExists(path)) throw CreateFileAccessError(path, false, winerr::PathNotFound);
    return path;
#else
    const std::string bare = Bare(path);
    if (mkdir(bare.c_str(), 0700) != 0 && errno != EEXIST)
        throw CreateFileAccessError(path, false, WinCodeFromErrno(errno, bare));
    // Check the folder through a descriptor that cannot be a link, so the
    // folder we check is the one we fix up.
    const int fd = open(bare.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    std::string reason;
    if (fd < 0) {
        if (lstat(bare.c_str(), &st) == 0) reason = NotPrivateReason(st);
        if (reason.empty()) throw CreateFileAccessError(path, true, WinCodeFromErrno(errno, bare));
    } else {
        if (fstat(fd, &st) != 0)
            reason = "its state cannot be read";
        else
            reason = NotPrivateReason(st);
        if (reason.empty() && (st.st_mode & 077) != 0 && fchmod(fd, 0700) != 0)
            reason = "its permissions cannot be made private";
        close(fd);
    }
    if (!reason.empty()) throw Error("The work folder " + QuoteInput(path) + " cannot be used: " + reason + ".");
    return path;
#endif
}

int EmptyWorkFolder(std::string_view folder) {
    if (folder.empty()) return 0;
    int deleted = 0;
#ifdef _WIN32
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ToFsPath(folder), ec)) {
        std::error_code e2;
        // remove() takes a link itself away, not its target.
        if (!entry.is_symlink(e2) && !entry.is_regular_file(e2)) continue;
        if (entry.path().filename() == kLockFileName) continue;
        if (std::filesystem::remove(entry.path(), e2)) ++deleted;
    }
#else
    const std::string bare = Bare(folder);
    const int fd = open(bare.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !NotPrivateReason(st).empty() || (st.st_mode & 077) != 0) {
        close(fd);
        return 0;
    }
    DIR* dir = fdopendir(fd);  // owns fd from here
    if (!dir) {
        close(fd);
        return 0;
    }
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat fst {};
        if (fstatat(fd, name.c_str(), &fst, AT_SYMLINK_NOFOLLOW) != 0) continue;
        // Unlinking a link removes the link only; its target stays.
        if (!S_ISREG(fst.st_mode) && !S_ISLNK(fst.st_mode)) continue;
        if (unlinkat(fd, name.c_str(), 0) == 0) ++deleted;
    }
    closedir(dir);
#endif
    return deleted;
}

std::string MakePrivateFolder(std::string_view tempFolder, std::string_view prefix) {
    if (tempFolder.empty()) throw Error("The temporary folder is not known.");
    std::string base(tempFolder);
    if (base.back() != '/' && base.back() != '\\') base += kSep;
    base += prefix;
#ifdef _WIN32
    // A user's temporary folder is the user's own on Windows; only the name
    // has to be new.
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[9];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const std::string path = base + suffix;
        std::error_code ec;
        if (std::filesystem::create_directory(ToFsPath(path), ec)) return path + kSep;
        if (ec && ec != std::errc::file_exists) throw CreateFileAccessError(path, false, winerr::PathNotFound);
    }
    throw CreateFileAccessError(base, false, winerr::PathNotFound);
#else
    std::string native = ToFsPath(base).string() + "XXXXXX";
    // mkdtemp makes a new folder of this user with mode 0700, or fails.
    if (!mkdtemp(native.data())) throw CreateFileAccessError(base, false, WinCodeFromErrno(errno, native));
    const std::string path = FromFsPath(native) + kSep;
    const int fd = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    std::string reason;
    if (fd < 0 || fstat(fd, &st) != 0)
        reason = "its state cannot be read";
    else
        reason = NotPrivateReason(st);
    if (reason.empty() && (st.st_mode & 077) != 0) reason = "others may use it";
    if (fd >= 0) close(fd);
    if (!reason.empty()) throw Error("The folder " + QuoteInput(path) + " cannot be used: " + reason + ".");
    return path;
#endif
}

void RemovePrivateFolder(std::string_view folder) {
    if (folder.empty()) return;
    EmptyWorkFolder(folder);
    std::string bare(folder);
    while (bare.size() > 1 && (bare.back() == '/' || bare.back() == '\\')) bare.pop_back();
    std::error_code ec;
    // Only an empty folder goes: anything else put there stays.
    if (std::filesystem::is_directory(std::filesystem::symlink_status(ToFsPath(bare), ec)))
        std::filesystem::remove(ToFsPath(bare), ec);
}

namespace {

std::string AnotherBuildMessage(std::string_view folder) {
    return "Another build is running in the work folder " + std::string(folder) +
           ". Wait until it has finished, then build again.";
}

constexpr std::chrono::milliseconds kLockPoll{20};

}  // namespace

TWorkFolderLock::TWorkFolderLock(std::string_view folder, std::chrono::milliseconds wait) : folder_(folder) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
#ifdef _WIN32
    const std::filesystem::path lockPath = ToFsPath(folder) / kLockFileName;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (;;) {
        if (h == INVALID_HANDLE_VALUE) {
            // Reading and writing stay shared, so a virus scanner or an
            // indexer that opens the file for a moment is no second build:
            // the lock decides. One that holds it without sharing is waited for.
            h = CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h == INVALID_HANDLE_VALUE) {
                const DWORD err = GetLastError();
                if (err != ERROR_SHARING_VIOLATION || std::chrono::steady_clock::now() >= deadline)
                    throw CreateFileAccessError(folder_, false, static_cast<int>(err));
                std::this_thread::sleep_for(kLockPoll);
                continue;
            }
        }
        OVERLAPPED whole{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) {
            handle_ = h;
            return;
        }
        const DWORD err = GetLastError();
        if (err != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(h);
            if (err != ERROR_LOCK_VIOLATION) throw CreateFileAccessError(folder_, false, static_cast<int>(err));
            throw Error(AnotherBuildMessage(folder_));
        }
        std::this_thread::sleep_for(kLockPoll);
    }
#else
    // The lock is taken on the folder itself, so there is no lock file that
    // emptying the folder could take away from under a running build.
    const std::string bare = Bare(folder);
    fd_ = open(bare.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) throw CreateFileAccessError(folder_, true, WinCodeFromErrno(errno, bare));
    for (;;) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            close(fd_);
            fd_ = -1;
            if (err != EWOULDBLOCK) throw CreateFileAccessError(folder_, true, WinCodeFromErrno(err, bare));
            throw Error(AnotherBuildMessage(folder_));
        }
        std::this_thread::sleep_for(kLockPoll);
    }
#endif
}

TWorkFolderLock::TWorkFolderLock(TWorkFolderLock&& other) noexcept : folder_(std::move(other.folder_)) {
#ifdef _WIN32
    handle_ = other.handle_;
    other.handle_ = nullptr;
#else
    fd_ = other.fd_;
    other.fd_ = -1;
#endif
}

TWorkFolderLock::~TWorkFolderLock() {
#ifdef _WIN32
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));  // closing the handle lets the lock go
#else
    if (fd_ >= 0) close(fd_);  // closing the last descriptor lets the lock go
#endif
}

TWorkFolderLock BeginWorkFolderBuild(std::string_view tempFolder, std::chrono::milliseconds wait) {
    TWorkFolderLock lock(PrepareWorkFolder(tempFolder), wait);
    EmptyWorkFolder(lock.Folder());
    return lock;
}

}  // namespace qm
