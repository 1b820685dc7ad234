#include "util/errors.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace qm {

EFileAccess CreateFileAccessError(const std::string& name, bool access, int code) {
    const std::string who = name.empty() ? std::string("the requested file") : name;
    const std::string plain = std::string("Cannot ") + (access ? "access " : "write to ") + who;
    const char* reason = nullptr;
    switch (code) {
        case 2: return EFileAccess("Cannot open " + who + " - The file has been deleted or moved.", code);
        case 19: return EFileAccess("Cannot write to " + who + " - The file is write protected.", code);
        case 80: return EFileAccess("Cannot write to " + who + " - The file already exists.", code);
        case 112: return EFileAccess("Cannot write to " + who + " - The disk is full.", code);
        case 3: reason = "The path was not found."; break;
        case 4: reason = "Too many opened files."; break;
        case 5: reason = "Access to the file is denied."; break;
        case 8: reason = "There is not enough memory to complete the process."; break;
        case 14: reason = "Out of memory."; break;
        case 15: reason = "The specified drive is invalid."; break;
        case 16: reason = "The directory could not be removed."; break;
        case 20: reason = "The specified device could not be found."; break;
        case 21: reason = "The device is not ready."; break;
        case 26: reason = "The storage device is not formatted for Windows operating system."; break;
        case 29: reason = "The system cannot write to the specified device."; break;
        case 30: reason = "The system cannot read from the specified device."; break;
        case 32:
        case 33: reason = "A file sharing violation occured."; break;
        case 38: reason = "Unexpected end of file found."; break;
        case 123: reason = "The filename, directory name, or volume label syntax is incorrect."; break;
        default: reason = "An I/O error occured."; break;
    }
    return EFileAccess(plain + " - " + reason, code);
}

int WinCodeFromErrno(int err, const std::string& nativePath) {
    switch (err) {
        case ENOENT: {
            std::error_code ec;
            std::filesystem::path parent = std::filesystem::path(nativePath).parent_path();
            if (parent.empty()) parent = ".";
            return std::filesystem::is_directory(parent, ec) ? winerr::FileNotFound : winerr::PathNotFound;
        }
        case ENOTDIR: return winerr::PathNotFound;
        case EMFILE:
        case ENFILE: return winerr::TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR: return winerr::AccessDenied;
        case ENOMEM: return winerr::NotEnoughMemory;
        case EROFS: return winerr::WriteProtect;
        case ENODEV:
        case ENXIO: return winerr::BadUnit;
        case EBUSY:
        case ETXTBSY: return winerr::SharingViolation;
        case EEXIST: return winerr::FileExists;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return winerr::DiskFull;
        case ENAMETOOLONG:
        case EINVAL: return winerr::InvalidName;
        default: return 0;
    }
}

}  // namespace qm
