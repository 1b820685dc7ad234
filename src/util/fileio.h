#pragma once
// Whole-file reading and atomic writing. Paths are Windows-1252 strings as the
// model holds them; "\" and "/" are both separators.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "util/binio.h"
#include "util/errors.h"

namespace qm {

// The native path for a model path: cp1252 bytes become the platform's file
// name encoding, and on POSIX "\" becomes "/". A drive prefix is kept as text.
std::filesystem::path ToFsPath(std::string_view path);
// Back from a native path to a model path (cp1252; '?' for what it can't hold).
std::string FromFsPath(const std::filesystem::path& path);

bool FileExists(std::string_view path);    // an existing regular file
bool FolderExists(std::string_view path);  // an existing folder

// No limit on the size of a file read whole.
inline constexpr std::uintmax_t kNoSizeLimit = static_cast<std::uintmax_t>(-1);

// Reads a whole file. Throws EFileAccess in its access form for `path`, and
// EFileTooLarge (before reading anything) for a file over `maxBytes`.
std::string ReadWholeFile(std::string_view path, std::uintmax_t maxBytes = kNoSizeLimit);

// Reads a regular file, refusing a symbolic link in its place (for files in a
// folder where a link could have been planted): a link raises EFileAccess in
// its access form with "Access to the file is denied.". Only the first
// `maxBytes` bytes are read; the rest of a longer file is left unread.
std::string ReadWholeFileNoFollow(std::string_view path,
                                  std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// A regular file opened for reading a piece at a time (a streaming
// BinaryReader's source), with the checks of ReadWholeFile: EFileAccess in its
// access form for `path`, and EFileTooLarge for a file over `maxBytes`, both
// raised on opening; a failed read raises EFileAccess too.
class FileReader : public ByteSource {
public:
    explicit FileReader(std::string_view path, std::uintmax_t maxBytes = kNoSizeLimit);
    ~FileReader() override;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The file's size when it was opened.
    std::uintmax_t Size() const { return size_; }
    std::size_t Read(char* to, std::size_t room) override;

private:
    std::string path_;
    std::uintmax_t size_ = 0;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// What WriteFileAtomic does with a symbolic link standing at the target.
enum class LinkAtTarget {
    Follow,   // the file it points to gets the new content (a user's own link)
    Replace,  // the link itself is replaced by the new file; its target is untouched
};

// Writes `data` to a temporary file in the target's folder, flushes it to disk,
// then renames it over `path` and flushes the folder, so that a crash or a
// power cut leaves either the old file or the new one. On any failure the old
// file is untouched, the temporary file is removed and EFileAccess in its
// write form is thrown, naming the step that failed (EFileAccess::step()).
//
// The temporary file is "<name>.saving-XXXXXX" beside the target, so that one
// left by a killed save is recognisable; every save first removes those of
// its own target that no running save holds. The new file keeps the replaced
// file's permission bits and, where the process may set them, its owner and
// group. A symbolic link, live or dangling, is saved through to its target.
// A target that is a folder is refused with a message that says so. With
// LinkAtTarget::Replace a symbolic link at the target is replaced itself.
void WriteFileAtomic(std::string_view path, std::string_view data, LinkAtTarget link = LinkAtTarget::Follow);
// The same, with the bytes made as they are written: `produce` hands them to
// the sink it is given, in order, so a large file needs no copy of itself in
// memory. An exception from `produce` removes the temporary file and passes
// on as it is; the old file stays.
void WriteFileAtomic(std::string_view path, const std::function<void(const ByteSink&)>& produce,
                     LinkAtTarget link = LinkAtTarget::Follow);

// Writes `data` as a new file at `path`: whatever non-folder entry stands
// there (a file or a symbolic link, never what a link points to) is removed
// first, and the file is created exclusively, so nothing planted there is
// written through. Returns 0, or the errno of the step that failed.
int WriteNewFile(std::string_view path, std::string_view data);

// Fault injection for tests: the hook is called before every step of a save
// (SaveStep::Create ... SaveStep::FlushFolder). A non-zero return is a system
// error number (errno on POSIX, a Windows error code on Windows) that makes
// that step fail as if the system had reported it; FlushFolder's result is
// ignored, as the new file is already in place then. An empty hook removes it.
using SaveFaultHook = std::function<int(SaveStep)>;
void SetSaveFaultHookForTesting(SaveFaultHook hook);

}  // namespace qm
