#pragma once
// The system's own errors. Every failure that a command reports to the user is
// a qm::Error (or derived) whose what() is the exact text to show.
#include <stdexcept>
#include <string>

namespace qm {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A file could not be opened, read or written.
class EFileAccess : public Error {
public:
    EFileAccess(const std::string& message, int code) : Error(message), code_(code) {}
    // The Windows-style error code the message was chosen from.
    int code() const noexcept { return code_; }

private:
    int code_;
};

// Windows error codes used in file-access messages.
namespace winerr {
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int NotEnoughMemory = 8;
inline constexpr int WriteProtect = 19;
inline constexpr int BadUnit = 20;
inline constexpr int SharingViolation = 32;
inline constexpr int HandleEof = 38;
inline constexpr int FileExists = 80;
inline constexpr int DiskFull = 112;
inline constexpr int InvalidName = 123;
}  // namespace winerr

// Builds (does not throw) the file-access error for `name`. `access` chooses
// "access " (reading) over "write to " (writing). The code is passed in so
// nothing can change it between the failing call and the message.
EFileAccess CreateFileAccessError(const std::string& name, bool access, int code);

// Maps an errno value from an operation on `path` to the Windows code used by
// CreateFileAccessError. `path` (native) decides ENOENT: 2 when its parent
// folder exists, else 3. Unknown errno values give 0 (the generic text).
int WinCodeFromErrno(int err, const std::string& nativePath);

}  // namespace qm
