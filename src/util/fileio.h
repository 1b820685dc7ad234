#pragma once
// Whole-file reading and atomic writing. Paths are Windows-1252 strings as the
// model holds them; "\" and "/" are both separators.
#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

namespace qm {

// The native path for a model path: cp1252 bytes become the platform's file
// name encoding, and on POSIX "\" becomes "/". A drive prefix is kept as text.
std::filesystem::path ToFsPath(std::string_view path);
// Back from a native path to a model path (cp1252; '?' for what it can't hold).
std::string FromFsPath(const std::filesystem::path& path);

bool FileExists(std::string_view path);    // an existing regular file
bool FolderExists(std::string_view path);  // an existing folder

// Reads a whole file. Throws EFileAccess in its access form for `path`.
std::string ReadWholeFile(std::string_view path);

// Reads a regular file, refusing a symbolic link in its place (for files in a
// folder where a link could have been planted): a link raises EFileAccess in
// its access form with "Access to the file is denied.". Only the first
// `maxBytes` bytes are read; the rest of a longer file is left unread.
std::string ReadWholeFileNoFollow(std::string_view path,
                                  std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// What WriteFileAtomic does with a symbolic link standing at the target.
enum class LinkAtTarget {
    Follow,   // the file it points to gets the new content (a user's own link)
    Replace,  // the link itself is replaced by the new file; its target is untouched
};

// Writes `data` to a temporary file in the target's folder, flushes it to disk,
// then renames it over `path`. On any failure the old file is untouched, the
// temporary file is removed and EFileAccess in its write form is thrown.
void WriteFileAtomic(std::string_view path, std::string_view data, LinkAtTarget link = LinkAtTarget::Follow);

// Writes `data` as a new file at `path`: whatever non-folder entry stands
// there (a file or a symbolic link, never what a link points to) is removed
// first, and the file is created exclusively, so nothing planted there is
// written through. Returns 0, or the errno of the step that failed.
int WriteNewFile(std::string_view path, std::string_view data);

}  // namespace qm
