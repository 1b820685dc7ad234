#include "util/fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "util/cp1252.h"
#include "util/errors.h"

#ifdef _WIN32
#include <windows.h>

#include <random>
#else
#include <fcntl.h>
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

#ifndef _WIN32
namespace {
// Closes a descriptor on scope exit.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

[[noreturn]] void Fail(std::string_view path, bool access, int err, const fs::path& native) {
    throw CreateFileAccessError(std::string(path), access, WinCodeFromErrno(err, native.string()));
}

std::string ReadRegularFile(std::string_view path, bool followLinks, std::size_t maxBytes) {
    const fs::path native = ToFsPath(path);
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
    ::fcntl(f.fd, F_SETFL, ::fcntl(f.fd, F_GETFL) & ~O_NONBLOCK);
    // Read straight into the result; a file that grows or shrinks meanwhile
    // still reads whole.
    std::string data;
    std::size_t used = 0;
    std::size_t want = S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 1 << 16;
    while (used < maxBytes) {
        want = std::min(want, maxBytes - used);
        if (data.size() < used + want) data.resize(used + want);
        const ssize_t n = ::read(f.fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(path, true, errno, native);
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
        want = 1 << 16;
    }
    data.resize(used);
    return data;
}
}  // namespace

std::string ReadWholeFile(std::string_view path) {
    return ReadRegularFile(path, true, std::numeric_limits<std::size_t>::max());
}

std::string ReadWholeFileNoFollow(std::string_view path, std::size_t maxBytes) {
    return ReadRegularFile(path, false, maxBytes);
}

void WriteFileAtomic(std::string_view path, std::string_view data, LinkAtTarget link) {
    fs::path native = ToFsPath(path);
    if (native.filename().empty()) Fail(path, false, EISDIR, native);
    // Saving through a symbolic link replaces the file it points to, not the
    // link, so the file the user meant gets the new content. Where a link may
    // have been planted, the rename replaces the link itself instead.
    if (link == LinkAtTarget::Follow) {
        std::error_code ec;
        if (fs::is_symlink(native, ec)) {
            fs::path real = fs::weakly_canonical(native, ec);
            if (!ec && !real.filename().empty()) native = real;
        }
    }
    fs::path folder = native.parent_path();
    if (folder.empty()) folder = ".";
    // An existing file that may not be written is refused, as opening it for
    // writing would be: the rename alone would replace a read-only file.
    struct stat cur {};
    const auto statTarget = [&](struct stat& st) {
        return link == LinkAtTarget::Follow ? ::stat(native.c_str(), &st) : ::lstat(native.c_str(), &st);
    };
    if (statTarget(cur) == 0 && S_ISREG(cur.st_mode)) {
        if ((cur.st_mode & 0222) == 0) Fail(path, false, EACCES, native);
        if (::access(native.c_str(), W_OK) != 0) Fail(path, false, errno, native);
    }
    // The temporary name adds 8 bytes to the target's; cut the target's part
    // (at a character boundary) so a name near the folder's limit still saves.
    std::string base = native.filename().string();
    std::size_t keep = std::min<std::size_t>(base.size(), 200);
    while (keep > 0 && keep < base.size() && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
    std::string tmpName = ".";
    tmpName.append(base, 0, keep);
    tmpName += ".XXXXXX";
    std::string tmpl = (folder / tmpName).string();

    Fd f;
    f.fd = ::mkstemp(tmpl.data());
    if (f.fd < 0) Fail(path, false, errno, native);
    auto failAndClean = [&](int err) {
        ::close(f.fd);
        f.fd = -1;
        ::unlink(tmpl.c_str());
        Fail(path, false, err, native);
    };

    // Keep the mode of the file being replaced; a new file gets the usual one.
    struct stat st {};
    mode_t mode = 0666;
    if (statTarget(st) == 0 && S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(f.fd, mode) != 0) failAndClean(errno);

    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(f.fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            failAndClean(errno);
        }
        if (n == 0) failAndClean(ENOSPC);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(f.fd) != 0) failAndClean(errno);
    const int fd = f.fd;
    f.fd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        Fail(path, false, err, native);
    }
    if (::rename(tmpl.c_str(), native.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        Fail(path, false, err, native);
    }
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
// Closes a handle on scope exit.
struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
};

// Windows' own error codes are the ones the messages are chosen from.
[[noreturn]] void FailWin(std::string_view path, bool access, DWORD code) {
    throw CreateFileAccessError(std::string(path), access, static_cast<int>(code));
}
}  // namespace

std::string ReadWholeFile(std::string_view path) {
    const fs::path native = ToFsPath(path);
    Handle f;
    f.h = ::CreateFileW(native.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A folder cannot be opened this way and gives "access denied".
    if (f.h == INVALID_HANDLE_VALUE) FailWin(path, true, ::GetLastError());
    // Only files on a disk are read: a device name such as "CON" or "NUL", or
    // a pipe, could block or never end.
    if (::GetFileType(f.h) != FILE_TYPE_DISK) FailWin(path, true, ERROR_ACCESS_DENIED);
    LARGE_INTEGER size{};
    std::size_t want = ::GetFileSizeEx(f.h, &size) && size.QuadPart > 0 ? static_cast<std::size_t>(size.QuadPart) + 1
                                                                        : std::size_t{1} << 16;
    // Read straight into the result; a file that grows or shrinks meanwhile
    // still reads whole.
    std::string data;
    std::size_t used = 0;
    for (;;) {
        if (data.size() < used + want) data.resize(used + want);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - used, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(f.h, data.data() + used, chunk, &n, nullptr)) FailWin(path, true, ::GetLastError());
        if (n == 0) break;
        used += n;
        want = std::size_t{1} << 16;
    }
    data.resize(used);
    return data;
}

std::string ReadWholeFileNoFollow(std::string_view path, std::size_t maxBytes) {
    const fs::path native = ToFsPath(path);
    std::error_code ec;
    if (fs::is_symlink(native, ec)) throw CreateFileAccessError(std::string(path), true, winerr::AccessDenied);
    std::string data = ReadWholeFile(path);
    if (data.size() > maxBytes) data.resize(maxBytes);
    return data;
}

int WriteNewFile(std::string_view path, std::string_view data) {
    const fs::path native = ToFsPath(path);
    std::error_code ec;
    if (fs::is_symlink(native, ec) || fs::is_regular_file(native, ec)) fs::remove(native, ec);
    if (fs::exists(native, ec)) return EEXIST;
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    if (!out) return EACCES;
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    return out ? 0 : ENOSPC;
}

void WriteFileAtomic(std::string_view path, std::string_view data, LinkAtTarget) {
    const fs::path native = ToFsPath(path);
    if (native.filename().empty()) FailWin(path, false, ERROR_ACCESS_DENIED);
    fs::path folder = native.parent_path();
    if (folder.empty()) folder = L".";
    // A folder, or a file marked read-only, is refused as opening it for
    // writing would be: the rename alone would replace a read-only file.
    const DWORD attrs = ::GetFileAttributesW(native.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        FailWin(path, false, ERROR_ACCESS_DENIED);

    // "." + the target's name + "." + six random letters; the target's part
    // is cut (never inside a surrogate pair) so a name near the 255-unit limit
    // still saves.
    const std::wstring base = native.filename().wstring();
    std::size_t keep = std::min<std::size_t>(base.size(), 200);
    if (keep > 0 && keep < base.size() && base[keep] >= 0xDC00 && base[keep] <= 0xDFFF) --keep;
    std::random_device rd;
    std::wstring tmp;
    Handle f;
    for (int tries = 0; f.h == INVALID_HANDLE_VALUE; ++tries) {
        std::wstring name = L"." + base.substr(0, keep) + L".";
        for (int i = 0; i < 6; ++i) name += static_cast<wchar_t>(L'a' + rd() % 26);
        tmp = (folder / name).wstring();
        f.h = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f.h == INVALID_HANDLE_VALUE) {
            const DWORD err = ::GetLastError();
            if ((err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) || tries >= 100) FailWin(path, false, err);
        }
    }
    auto failAndClean = [&](DWORD err) {
        if (f.h != INVALID_HANDLE_VALUE) ::CloseHandle(f.h);
        f.h = INVALID_HANDLE_VALUE;
        ::DeleteFileW(tmp.c_str());
        FailWin(path, false, err);
    };

    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD done = 0;
        if (!::WriteFile(f.h, p, chunk, &done, nullptr)) failAndClean(::GetLastError());
        if (done == 0) failAndClean(ERROR_DISK_FULL);
        p += done;
        left -= done;
    }
    if (!::FlushFileBuffers(f.h)) failAndClean(::GetLastError());
    const HANDLE h = f.h;
    f.h = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(h)) failAndClean(::GetLastError());
    // Write-through: the call returns once the new name is on the disk.
    if (!::MoveFileExW(tmp.c_str(), native.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failAndClean(::GetLastError());
}
#endif

}  // namespace qm
