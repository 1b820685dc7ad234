#include "util/workfolder.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "util/errors.h"
#include "util/fileio.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qm {

namespace {

#ifdef _WIN32
constexpr char kSep = '\\';
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
    std::error_code ec;
    std::filesystem::create_directories(ToFsPath(path), ec);
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
        if (entry.is_symlink(e2) || !entry.is_regular_file(e2)) continue;
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
        if (!S_ISREG(fst.st_mode)) continue;
        if (unlinkat(fd, name.c_str(), 0) == 0) ++deleted;
    }
    closedir(dir);
#endif
    return deleted;
}

}  // namespace qm
