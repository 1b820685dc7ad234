#include "util/errors.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace qm {

std::string_view SaveStepName(SaveStep step) {
    switch (step) {
        case SaveStep::None: break;
        case SaveStep::Create: return "creating the temporary file";
        case SaveStep::Write: return "writing the temporary file";
        case SaveStep::Flush: return "flushing the temporary file to disk";
        case SaveStep::Close: return "closing the temporary file";
        case SaveStep::Rename: return "renaming the temporary file over the target";
        case SaveStep::FlushFolder: return "flushing the folder to disk";
    }
    return "";
}

std::string QuoteInput(std::string_view value) {
    if (value.size() <= kMaxQuotedChars) return std::string(value);
    std::string out(value.substr(0, kMaxQuotedChars));
    out += "...";
    return out;
}

EFileTooLarge CreateFileTooLargeError(const std::string& name, std::uintmax_t limit) {
    const std::string who = name.empty() ? std::string("the requested file") : QuoteInput(name);
    return EFileTooLarge(
        "Cannot open " + who + " - The file is too large (the limit is " + std::to_string(limit >> 20) + " MB).",
        limit);
}

EFileAccess CreateFileAccessError(const std::string& name, bool access, int code, SaveStep step) {
    const std::string who = name.empty() ? std::string("the requested file") : QuoteInput(name);
    const std::string plain = std::string("Cannot ") + (access ? "access " : "write to ") + who;
    const char* reason = nullptr;
    switch (code) {
        case 2: return EFileAccess("Cannot open " + who + " - The file has been deleted or moved.", code, step);
        case 19: return EFileAccess("Cannot write to " + who + " - The file is write protected.", code, step);
        case 80: return EFileAccess("Cannot write to " + who + " - The file already exists.", code, step);
        case 112: return EFileAccess("Cannot write to " + who + " - The disk is full.", code, step);
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
        case 267: reason = "It is a folder, not a file."; break;
        default: reason = "An I/O error occured."; break;
    }
    return EFileAccess(plain + " - " + reason, code, step);
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
