#pragma once
// Small system services: temporary folder, file listing, case-insensitive file
// look-up.
#include <memory>
#include <string>
#include <string_view>

#include "util/qorstring.h"

namespace qm {

// The system's temporary folder with a trailing separator; empty on failure.
std::string GetTempFolder();

// Names (no folder) of the regular files in `folder` matching `mask` ("*" and
// "?" wildcards, ASCII case-insensitive), sorted by CompareText. Empty when the
// folder is missing or nothing matches.
void ListFiles(std::string_view folder, StringList& list, std::string_view mask);

// True when `mask` matches `name`; "*" any run, "?" one byte, ASCII
// case-insensitive. "*.*" matches every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);

// The path of `name` inside `folder` when it exists there as a file: first
// exactly, then by a case-insensitive match of the file name in that folder.
// Empty when not found. `folder` may be empty (the current folder).
std::string FindFileInFolder(std::string_view folder, std::string_view name);

// The folder `path` names, each of its parts matched without regard to ASCII
// case where no exact match exists, as Windows and wine find folders. A
// relative path counts from the current folder. Empty when there is no such
// folder (and for a drive letter where there are no drives).
std::string FindFolderAnyCase(std::string_view path);

// Folder listings kept for one run of look-ups (a build): a folder is listed
// once, at the first look-up in it, and every later look-up there is a hash
// look-up, the file system being asked only about names the listing holds.
// A file added to a folder after it was listed is not seen (but for a name
// with a folder part, under its exact name), so keep a cache for one run and
// drop it: the next run sees the folder as it is then.
class TFolderCache {
public:
    TFolderCache();
    ~TFolderCache();
    TFolderCache(const TFolderCache&) = delete;
    TFolderCache& operator=(const TFolderCache&) = delete;

    // What FindFileInFolder(folder, name) gives, with this cache's listings.
    std::string FindFile(std::string_view folder, std::string_view name);
    // What FindFolderAnyCase(path) gives, found once per path.
    std::string FindFolder(std::string_view path);
    // How many folders have been listed (for tests and benchmarks).
    int ListedFolders() const;

    struct Listings;

private:
    std::unique_ptr<Listings> listings_;
};

}  // namespace qm
