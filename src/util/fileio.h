#pragma once
// Whole-file reading and atomic writing. Paths are Windows-1252 strings as the
// model holds them; "\" and "/" are both separators.
#include <filesystem>
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

// Writes `data` to a temporary file in the target's folder, flushes it to disk,
// then renames it over `path`. On any failure the old file is untouched, the
// temporary file is removed and EFileAccess in its write form is thrown.
void WriteFileAtomic(std::string_view path, std::string_view data);

}  // namespace qm
