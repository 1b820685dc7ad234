#include "util/fileio.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

#include "util/cp1252.h"
#include "util/errors.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace qm {

fs::path ToFsPath(std::string_view path) {
#ifdef _WIN32
    const std::u16string u = Cp1252ToUtf16(path);
    return fs::path(std::wstring(u.begin(), u.end()));
#else
    std::string s = Cp1252ToUtf8(path);
    for (char& c : s)
        if (c == '\\') c = '/';
    return fs::path(s);
#endif
}

std::string FromFsPath(const fs::path& path) {
#ifdef _WIN32
    const std::wstring w = path.native();
    return Utf16ToCp1252(std::u16string(w.begin(), w.end()));
#else
    return Utf8ToCp1252(path.native());
#endif
}

bool FileExists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(ToFsPath(path), ec);
}

bool FolderExists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(ToFsPath(path), ec);
}

namespace {

SaveFaultHook& FaultHook() {
    static SaveFaultHook hook;
    return hook;
}

// The error the test hook injects into `step`, or 0.
int Injected(SaveStep step) {
    const SaveFaultHook& hook = FaultHook();
    return hook ? hook(step) : 0;
}

// Characters of the random part of a temporary name: letters and digits, as
// every file system takes them.
constexpr char kNameChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomChars = 6;
constexpr std::string_view kSavingInfix = ".saving-";
// Longest file name the folders take (bytes on POSIX, UTF-16 units on Windows).
constexpr std::size_t kMaxNameLength = 255;

// Six random name characters. The generator is seeded per thread from the
// system's entropy, the clock and a counter, so two programs or threads
// saving at once pick different names (and the create retries when not).
std::string RandomPart() {
    static std::atomic<std::uint64_t> counter{0};
    thread_local std::mt19937_64 gen([] {
        std::random_device rd;
        std::seed_seq seq{static_cast<std::uint64_t>(rd()), static_cast<std::uint64_t>(rd()),
                          static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()),
                          counter.fetch_add(1) + 1};
        return std::mt19937_64(seq);
    }());
    std::string out;
    for (std::size_t i = 0; i < kRandomChars; ++i) out += kNameChars[gen() % (sizeof(kNameChars) - 1)];
    return out;
}

bool IsNameChar(wchar_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// Whether `name` is a temporary file of the target whose prefix is `prefix`:
// the prefix and exactly the six random characters.
template <typename Str>
bool IsTemporaryOf(const Str& name, const Str& prefix) {
    if (name.size() != prefix.size() + kRandomChars || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!IsNameChar(static_cast<wchar_t>(name[i]))) return false;
    return true;
}

// The path a save of `p` writes to: a symbolic link, live or dangling, is
// followed to the file it names, so the link stays a link. Empty when the
// links form a loop.
std::filesystem::path FollowLinks(std::filesystem::path p) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(p, ec)) return p;
        const std::filesystem::path to = std::filesystem::read_symlink(p, ec);
        if (ec) return p;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return {};
}

}  // namespace

void SetSaveFaultHookForTesting(SaveFaultHook hook) { FaultHook() = std::move(hook); }

#ifndef _WIN32
namespace {
// Closes a descriptor on scope exit.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

[[noreturn]] void Fail(std::string_view path, bool access, int err, const fs::path& native,
                       SaveStep step = SaveStep::None) {
    throw CreateFileAccessError(std::string(path), access, WinCodeFromErrno(err, native.string()), step);
}

// "<name>.saving-" for the target's file name, the name cut (at a character
// boundary) so that the whole temporary name stays within the folder's limit.
std::string SavingPrefix(const std::string& base) {
    std::size_t keep = std::min(base.size(), kMaxNameLength - kSavingInfix.size() - kRandomChars);
    while (keep > 0 && keep < base.size() && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
    return base.substr(0, keep) + std::string(kSavingInfix);
}

// Removes the temporary files a killed save of the same target left. A save
// in progress holds a lock on its file, so only abandoned ones go.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (!IsTemporaryOf(name, prefix)) continue;
        const fs::path p = folder / name;
        const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(p.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}
}  // namespace

namespace {
// What a reader does with a file longer than its limit.
enum class OverLimit { Refuse, Cut };

// Opens a regular file for reading and gives its size: a folder, a device or
// a FIFO is refused, and so is a file over `maxBytes` when `over` refuses it.
int OpenRegularFile(std::string_view path, const fs::path& native, bool followLinks, std::uintmax_t maxBytes,
                    OverLimit over, std::uintmax_t& size) {
    Fd f;
    // Non-blocking open, so a FIFO or device named like a project cannot hang
    // the program; only regular files are read.
    f.fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW));
    // O_NOFOLLOW fails with ELOOP on a link: refused like a file we may not read.
    if (f.fd < 0) Fail(path, true, errno == ELOOP && !followLinks ? EACCES : errno, native);
    struct stat st {};
    if (::fstat(f.fd, &st) != 0) Fail(path, true, errno, native);
    if (S_ISDIR(st.st_mode)) Fail(path, true, EISDIR, native);
    if (!S_ISREG(st.st_mode)) Fail(path, true, EACCES, native);
    size = static_cast<std::uintmax_t>(st.st_size);
    if (size > maxBytes && over == OverLimit::Refuse) throw CreateFileTooLargeError(std::string(path), maxBytes);
    ::fcntl(f.fd, F_SETFL, ::fcntl(f.fd, F_GETFL) & ~O_NONBLOCK);
    const int fd = f.fd;
    f.fd = -1;
    return fd;
}

// Up to `room` bytes of an open file; 0 at its end.
std::size_t ReadSome(int fd, char* to, std::size_t room, std::string_view path) {
    for (;;) {
        const ssize_t n = ::read(fd, to, room);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            const int err = errno;
            Fail(path, true, err, ToFsPath(path));
        }
    }
}

std::string ReadRegularFile(std::string_view path, bool followLinks, std::uintmax_t maxBytes, OverLimit over) {
    const fs::path native = ToFsPath(path);
    std::uintmax_t size = 0;
    Fd f;
    f.fd = OpenRegularFile(path, native, followLinks, maxBytes, over, size);
    // Read straight into the result, sized as the file is; a file that grows
    // or shrinks meanwhile still reads whole.
    std::string data(static_cast<std::size_t>(std::min(size, maxBytes)), '\0');
    std::size_t used = 0;
    const auto readSome = [&](char* to, std::size_t room) { return ReadSome(f.fd, to, room, path); };
    while (used < data.size()) {
        const std::size_t n = readSome(data.data() + used, data.size() - used);
        if (n == 0) break;
        used += n;
    }
    data.resize(used);
    if (used == static_cast<std::size_t>(std::min(size, maxBytes)) && used < maxBytes) {
        // What was added since the size was taken, a chunk at a time.
        char chunk[1 << 16];
        for (std::size_t n; (n = readSome(chunk, sizeof chunk)) > 0;) {
            data.append(chunk, n);
            // A file that grows while it is read stays within the limit too.
            if (data.size() > maxBytes) {
                if (over == OverLimit::Refuse) throw CreateFileTooLargeError(std::string(path), maxBytes);
                data.resize(static_cast<std::size_t>(maxBytes));
                break;
            }
        }
    }
    return data;
}
}  // namespace

std::string ReadWholeFile(std::string_view path, std::uintmax_t maxBytes) {
    return ReadRegularFile(path, true, maxBytes, OverLimit::Refuse);
}

std::string ReadWholeFileNoFollow(std::string_view path, std::size_t maxBytes) {
    return ReadRegularFile(path, false, maxBytes, OverLimit::Cut);
}

FileReader::FileReader(std::string_view path, std::uintmax_t maxBytes) : path_(path) {
    fd_ = OpenRegularFile(path, ToFsPath(path), true, maxBytes, OverLimit::Refuse, size_);
}

FileReader::~FileReader() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t FileReader::Read(char* to, std::size_t room) { return ReadSome(fd_, to, room, path_); }

void WriteFileAtomic(std::string_view path, const std::function<void(const ByteSink&)>& produce, LinkAtTarget link) {
    const auto folderError = [&] { return CreateFileAccessError(std::string(path), false, winerr::IsAFolder); };
    fs::path native = ToFsPath(path);
    if (native.filename().empty()) {
        if (FolderExists(path)) throw folderError();
        Fail(path, false, EACCES, native);
    }
    // Saving through a symbolic link replaces the file it points to, not the
    // link, so the file the user meant gets the new content; a dangling link
    // gets its file made. Where a link may have been planted, the rename
    // replaces the link itself instead.
    if (link == LinkAtTarget::Follow) {
        native = FollowLinks(native);
        if (native.empty()) Fail(path, false, ELOOP, ToFsPath(path));
    }
    fs::path folder = native.parent_path();
    if (folder.empty()) folder = ".";

    struct stat cur {};
    const bool exists =
        (link == LinkAtTarget::Follow ? ::stat(native.c_str(), &cur) : ::lstat(native.c_str(), &cur)) == 0;
    if (exists && S_ISDIR(cur.st_mode)) throw folderError();
    const bool replacing = exists && S_ISREG(cur.st_mode);
    // An existing file that may not be written is refused, as opening it for
    // writing would be: the rename alone would replace a read-only file.
    if (replacing) {
        if ((cur.st_mode & 0222) == 0) Fail(path, false, EACCES, native);
        if (::access(native.c_str(), W_OK) != 0) Fail(path, false, errno, native);
    }

    const std::string prefix = SavingPrefix(native.filename().string());
    RemoveStaleTemporaries(folder, prefix);

    // Created with the usual mode (the umask applies); a replaced file's own
    // mode is set below.
    std::string tmp;
    Fd f;
    if (const int err = Injected(SaveStep::Create)) Fail(path, false, err, native, SaveStep::Create);
    for (int tries = 0; f.fd < 0; ++tries) {
        tmp = (folder / (prefix + RandomPart())).string();
        f.fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (f.fd < 0 && (errno != EEXIST || tries >= 100)) Fail(path, false, errno, native, SaveStep::Create);
    }
    // The lock tells other saves that this file is in use; a second
    // descriptor keeps it until the rename is done, past the checked close.
    ::flock(f.fd, LOCK_EX);
    Fd lock;
    lock.fd = ::fcntl(f.fd, F_DUPFD_CLOEXEC, 0);
    auto failAndClean = [&](int err, SaveStep step) {
        if (f.fd >= 0) ::close(f.fd);
        f.fd = -1;
        ::unlink(tmp.c_str());
        Fail(path, false, err, native, step);
    };

    if (replacing) {
        // Owner and group first: changing them may clear the set-id bits.
        if (cur.st_uid != ::geteuid() || cur.st_gid != ::getegid()) {
            if (::fchown(f.fd, cur.st_uid, cur.st_gid) != 0) (void)::fchown(f.fd, static_cast<uid_t>(-1), cur.st_gid);
        }
        if (::fchmod(f.fd, cur.st_mode & 07777) != 0) failAndClean(errno, SaveStep::Create);
    }

    if (const int err = Injected(SaveStep::Write)) failAndClean(err, SaveStep::Write);
    const ByteSink write = [&](std::string_view data) {
        const char* p = data.data();
        std::size_t left = data.size();
        while (left > 0) {
            const ssize_t n = ::write(f.fd, p, left);
            if (n < 0) {
                if (errno == EINTR) continue;
                failAndClean(errno, SaveStep::Write);
            }
            if (n == 0) failAndClean(ENOSPC, SaveStep::Write);
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    };
    try {
        produce(write);
    } catch (...) {
        // The bytes could not be made: nothing of them stays (a write that
        // failed has removed the file already).
        if (f.fd >= 0) {
            ::close(f.fd);
            f.fd = -1;
            ::unlink(tmp.c_str());
        }
        throw;
    }
    if (const int err = Injected(SaveStep::Flush)) failAndClean(err, SaveStep::Flush);
    if (::fsync(f.fd) != 0) failAndClean(errno, SaveStep::Flush);
    {
        const int injected = Injected(SaveStep::Close);
        const int fd = f.fd;
        f.fd = -1;
        const int err = ::close(fd) != 0 ? errno : injected;
        if (err != 0) failAndClean(err, SaveStep::Close);
    }
    if (const int err = Injected(SaveStep::Rename)) failAndClean(err, SaveStep::Rename);
    if (::rename(tmp.c_str(), native.c_str()) != 0) failAndClean(errno, SaveStep::Rename);
    // The new name must reach the disk too, or a power cut could bring the
    // old file back (or lose both). The data is in place by now, so a folder
    // that cannot be flushed is no failure of the save.
    (void)Injected(SaveStep::FlushFolder);
    Fd dir;
    dir.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0) (void)::fsync(dir.fd);
}

int WriteNewFile(std::string_view path, std::string_view data) {
    const fs::path native = ToFsPath(path);
    // unlink removes a link itself, never what it points to; a folder stays
    // and makes the exclusive create below fail.
    if (::unlink(native.c_str()) != 0 && errno != ENOENT && errno != EISDIR && errno != EPERM) return errno;
    Fd f;
    f.fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (f.fd < 0) return errno;
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(f.fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    const int fd = f.fd;
    f.fd = -1;
    return ::close(fd) != 0 ? errno : 0;
}
#else
namespace {

[[noreturn]] void FailWin(std::string_view path, bool access, DWORD code, SaveStep step = SaveStep::None) {
    throw CreateFileAccessError(std::string(path), access, static_cast<int>(code), step);
}

// "<name>.saving-" for the target's file name, cut (never inside a surrogate
// pair) so the whole temporary name stays within the folder's limit.
std::wstring SavingPrefix(const std::wstring& base) {
    std::size_t keep = std::min(base.size(), kMaxNameLength - kSavingInfix.size() - kRandomChars);
    if (keep > 0 && keep < base.size() && base[keep] >= 0xDC00 && base[keep] <= 0xDFFF) --keep;
    std::wstring prefix = base.substr(0, keep);
    for (char c : kSavingInfix) prefix += static_cast<wchar_t>(c);
    return prefix;
}

// Removes the temporary files a killed save of the same target left. A save
// in progress keeps its file open until the rename is done, so the exclusive
// open below fails for a file in use and only abandoned ones go.
void RemoveStaleTemporaries(const fs::path& folder, const std::wstring& prefix) {
    const std::wstring pattern = (folder / (prefix + L"*")).wstring();
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = fd.cFileName;
        if ((fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !IsTemporaryOf(name, prefix))
            continue;
        const HANDLE stale = ::CreateFileW((folder / name).wstring().c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (stale != INVALID_HANDLE_VALUE) ::CloseHandle(stale);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
}

// The errno value WriteNewFile reports for a Windows error code.
int ErrnoFromWinCode(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return ENOENT;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_ACCESS_DENIED: return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EBUSY;
        case ERROR_WRITE_PROTECT: return EROFS;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE: return EINVAL;
        default: return EIO;
    }
}

}  // namespace

namespace {
// Closes a handle on scope exit.
struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
};
}  // namespace

namespace {
// What a reader does with a file longer than its limit.
enum class OverLimit { Refuse, Cut };

// Opens a file on a disk for reading and gives its size (false for `sized`
// when the system cannot tell it); a file over `maxBytes` is refused when
// `over` refuses it.
HANDLE OpenRegularFile(std::string_view path, bool followLinks, std::uintmax_t maxBytes, OverLimit over,
                       LARGE_INTEGER& size, bool& sized) {
    const fs::path native = ToFsPath(path);
    Handle f;
    // Not following, a link is opened itself and refused below, so the file
    // checked is the file read.
    f.h =
        ::CreateFileW(native.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    // A folder cannot be opened this way and gives "access denied".
    if (f.h == INVALID_HANDLE_VALUE) FailWin(path, true, ::GetLastError());
    // Only files on a disk are read: a device name such as "CON" or "NUL", or
    // a pipe, could block or never end.
    if (::GetFileType(f.h) != FILE_TYPE_DISK) FailWin(path, true, ERROR_ACCESS_DENIED);
    if (!followLinks) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(f.h, &info)) FailWin(path, true, ::GetLastError());
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) FailWin(path, true, ERROR_ACCESS_DENIED);
    }
    sized = ::GetFileSizeEx(f.h, &size) && size.QuadPart >= 0;
    if (sized && static_cast<std::uintmax_t>(size.QuadPart) > maxBytes && over == OverLimit::Refuse)
        throw CreateFileTooLargeError(std::string(path), maxBytes);
    const HANDLE h = f.h;
    f.h = INVALID_HANDLE_VALUE;
    return h;
}

// Up to `room` bytes of an open file; 0 at its end.
std::size_t ReadSome(HANDLE h, char* to, std::size_t room, std::string_view path) {
    DWORD n = 0;
    if (!::ReadFile(h, to, static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30)), &n, nullptr))
        FailWin(path, true, ::GetLastError());
    return static_cast<std::size_t>(n);
}

std::string ReadRegularFile(std::string_view path, bool followLinks, std::uintmax_t maxBytes, OverLimit over) {
    LARGE_INTEGER size{};
    bool sized = false;
    Handle f;
    f.h = OpenRegularFile(path, followLinks, maxBytes, over, size, sized);
    const auto readSome = [&](char* to, std::size_t room) { return ReadSome(f.h, to, room, path); };
    const auto overLimit = [&](std::string& data) {
        if (over == OverLimit::Refuse) throw CreateFileTooLargeError(std::string(path), maxBytes);
        data.resize(static_cast<std::size_t>(maxBytes));
    };
    // Read straight into the result, sized as the file is (one byte more to
    // see the end), so the buffer never grows past the file.
    std::string data;
    std::size_t used = 0;
    if (sized && size.QuadPart > 0) {
        const std::size_t buffer =
            static_cast<std::size_t>(std::min(static_cast<std::uintmax_t>(size.QuadPart), maxBytes)) + 1;
        data.resize(buffer);
        for (std::size_t n; used < buffer && (n = readSome(data.data() + used, buffer - used)) > 0;) used += n;
        data.resize(used);
        if (used > maxBytes) {
            overLimit(data);
            return data;
        }
        if (used < buffer) return data;  // the end was seen
    }
    // A file whose size is unknown, or one that grows while it is read, a
    // chunk at a time, within the limit.
    char chunk[1 << 16];
    for (std::size_t n; (n = readSome(chunk, sizeof chunk)) > 0;) {
        data.append(chunk, n);
        if (data.size() > maxBytes) {
            overLimit(data);
            break;
        }
    }
    return data;
}
}  // namespace

std::string ReadWholeFile(std::string_view path, std::uintmax_t maxBytes) {
    return ReadRegularFile(path, true, maxBytes, OverLimit::Refuse);
}

std::string ReadWholeFileNoFollow(std::string_view path, std::size_t maxBytes) {
    return ReadRegularFile(path, false, maxBytes, OverLimit::Cut);
}

int WriteNewFile(std::string_view path, std::string_view data) {
    const fs::path native = ToFsPath(path);
    // DeleteFileW removes a link itself, never what it points to; a folder
    // stays and makes the exclusive create below fail.
    if (!::DeleteFileW(native.c_str())) {
        const DWORD err = ::GetLastError();
        if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND && err != ERROR_ACCESS_DENIED)
            return ErrnoFromWinCode(err);
    }
    Handle f;
    f.h = ::CreateFileW(native.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (f.h == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        std::error_code ec;
        return fs::is_directory(fs::symlink_status(native, ec)) ? EEXIST : ErrnoFromWinCode(err);
    }
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD done = 0;
        if (!::WriteFile(f.h, p, chunk, &done, nullptr)) return ErrnoFromWinCode(::GetLastError());
        if (done == 0) return ENOSPC;
        p += done;
        left -= done;
    }
    const HANDLE h = f.h;
    f.h = INVALID_HANDLE_VALUE;
    return ::CloseHandle(h) ? 0 : ErrnoFromWinCode(::GetLastError());
}

FileReader::FileReader(std::string_view path, std::uintmax_t maxBytes) : path_(path) {
    LARGE_INTEGER size{};
    bool sized = false;
    handle_ = OpenRegularFile(path, true, maxBytes, OverLimit::Refuse, size, sized);
    if (!sized) {
        ::CloseHandle(static_cast<HANDLE>(handle_));
        FailWin(path, true, ERROR_ACCESS_DENIED);
    }
    size_ = static_cast<std::uintmax_t>(size.QuadPart);
}

FileReader::~FileReader() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(static_cast<HANDLE>(handle_));
}

std::size_t FileReader::Read(char* to, std::size_t room) {
    return ReadSome(static_cast<HANDLE>(handle_), to, room, path_);
}

void WriteFileAtomic(std::string_view path, const std::function<void(const ByteSink&)>& produce, LinkAtTarget link) {
    fs::path native = ToFsPath(path);
    if (native.filename().empty()) FailWin(path, false, FolderExists(path) ? winerr::IsAFolder : winerr::AccessDenied);
    if (link == LinkAtTarget::Follow) {
        native = FollowLinks(native);
        if (native.empty()) FailWin(path, false, ERROR_CANT_RESOLVE_FILENAME);
    }
    fs::path folder = native.parent_path();
    if (folder.empty()) folder = L".";

    const DWORD attrs = ::GetFileAttributesW(native.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES) {
        if (attrs & FILE_ATTRIBUTE_DIRECTORY) FailWin(path, false, winerr::IsAFolder);
        // The replace would succeed where opening the file for writing fails.
        if (attrs & FILE_ATTRIBUTE_READONLY) FailWin(path, false, winerr::AccessDenied);
    }

    const std::wstring prefix = SavingPrefix(native.filename().wstring());
    RemoveStaleTemporaries(folder, prefix);

    if (const int err = Injected(SaveStep::Create)) FailWin(path, false, static_cast<DWORD>(err), SaveStep::Create);
    std::wstring tmp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int tries = 0; h == INVALID_HANDLE_VALUE; ++tries) {
        const std::string random = RandomPart();
        tmp = (folder / (prefix + std::wstring(random.begin(), random.end()))).wstring();
        // Open while this save runs, so no other save takes the file for an
        // abandoned one; delete sharing lets the rename through.
        h = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD err = ::GetLastError();
            if ((err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) || tries >= 100)
                FailWin(path, false, err, SaveStep::Create);
        }
    }
    // A second handle keeps the file in use until the rename is done, past
    // the checked close.
    Handle hold;
    ::DuplicateHandle(::GetCurrentProcess(), h, ::GetCurrentProcess(), &hold.h, 0, FALSE, DUPLICATE_SAME_ACCESS);
    auto failAndClean = [&](DWORD err, SaveStep step) {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
        ::DeleteFileW(tmp.c_str());
        FailWin(path, false, err, step);
    };

    if (const int err = Injected(SaveStep::Write)) failAndClean(static_cast<DWORD>(err), SaveStep::Write);
    const ByteSink write = [&](std::string_view data) {
        const char* p = data.data();
        std::size_t left = data.size();
        while (left > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
            DWORD done = 0;
            if (!::WriteFile(h, p, chunk, &done, nullptr)) failAndClean(::GetLastError(), SaveStep::Write);
            if (done == 0) failAndClean(ERROR_DISK_FULL, SaveStep::Write);
            p += done;
            left -= done;
        }
    };
    try {
        produce(write);
    } catch (...) {
        // The bytes could not be made: nothing of them stays (a write that
        // failed has removed the file already).
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            h = INVALID_HANDLE_VALUE;
            ::DeleteFileW(tmp.c_str());
        }
        throw;
    }
    if (const int err = Injected(SaveStep::Flush)) failAndClean(static_cast<DWORD>(err), SaveStep::Flush);
    if (!::FlushFileBuffers(h)) failAndClean(::GetLastError(), SaveStep::Flush);
    {
        const int injected = Injected(SaveStep::Close);
        const HANDLE closing = h;
        h = INVALID_HANDLE_VALUE;
        const DWORD err = ::CloseHandle(closing) ? static_cast<DWORD>(injected) : ::GetLastError();
        if (err != 0) failAndClean(err, SaveStep::Close);
    }
    if (const int err = Injected(SaveStep::Rename)) failAndClean(static_cast<DWORD>(err), SaveStep::Rename);
    // Write-through: the call returns once the new name is on the disk, which
    // flushes the folder's entry as the POSIX branch does by hand.
    if (!::MoveFileExW(tmp.c_str(), native.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failAndClean(::GetLastError(), SaveStep::Rename);
    (void)Injected(SaveStep::FlushFolder);
}
#endif

void WriteFileAtomic(std::string_view path, std::string_view data, LinkAtTarget link) {
    WriteFileAtomic(
        path, [data](const ByteSink& write) { write(data); }, link);
}

}  // namespace qm
