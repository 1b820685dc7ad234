#pragma once
// The system's own errors. Every failure that a command reports to the user is
// a qm::Error (or derived) whose what() is the exact text to show.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The steps of an atomic save, in order. An error of the writer tells which
// one failed; the message shown stays the one of its error code.
enum class SaveStep : std::uint8_t { None, Create, Write, Flush, Close, Rename, FlushFolder };

// "creating the temporary file", "writing", ...: the step in words, for logs
// and test output.
std::string_view SaveStepName(SaveStep step);

// A file could not be opened, read or written.
class EFileAccess : public Error {
public:
    EFileAccess(const std::string& message, int code, SaveStep step = SaveStep::None)
        : Error(message), code_(code), step_(step) {}
    // The Windows-style error code the message was chosen from.
    int code() const noexcept { return code_; }
    // The step of a save that failed; None for reads and for checks made
    // before a save begins.
    SaveStep step() const noexcept { return step_; }

private:
    int code_;
    SaveStep step_;
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
inline constexpr int IsAFolder = 267;  // the name is a folder's, not a file's
}  // namespace winerr

// Messages quote at most this many characters of a value taken from input.
inline constexpr std::size_t kMaxQuotedChars = 200;

// A value from input (a file line, a name, a number's text) as a message
// quotes it: whole when short, else its first kMaxQuotedChars characters
// followed by "...". Every message that shows input goes through it, so a
// huge line cannot become a huge message box.
std::string QuoteInput(std::string_view value);

// A file is larger than its reader takes. The limit keeps a reader's memory
// bounded; the message names it.
class EFileTooLarge : public Error {
public:
    EFileTooLarge(const std::string& message, std::uintmax_t limit) : Error(message), limit_(limit) {}
    std::uintmax_t limit() const noexcept { return limit_; }

private:
    std::uintmax_t limit_;
};

// "Cannot open <name> - The file is too large (the limit is 256 MB)." for a
// limit of 256 MB (limits are whole megabytes of 1024 * 1024 bytes).
EFileTooLarge CreateFileTooLargeError(const std::string& name, std::uintmax_t limit);

// Builds (does not throw) the file-access error for `name` (quoted through
// QuoteInput). `access` chooses "access " (reading) over "write to "
// (writing). The code is passed in so nothing can change it between the
// failing call and the message.
EFileAccess CreateFileAccessError(const std::string& name, bool access, int code, SaveStep step = SaveStep::None);

// Maps an errno value from an operation on `path` to the Windows code used by
// CreateFileAccessError. `path` (native) decides ENOENT: 2 when its parent
// folder exists, else 3. Unknown errno values give 0 (the generic text).
int WinCodeFromErrno(int err, const std::string& nativePath);

}  // namespace qm
