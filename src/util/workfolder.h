#pragma once
// The build's work folder: where the topic RTF files and the compiler's
// report are written. It belongs to the current user alone, so no other
// account can plant files or links in it between the build's steps.
#include <chrono>
#include <string>
#include <string_view>

namespace qm {

// The work folder's path inside `tempFolder` (the temporary folder with its
// trailing separator, GetTempFolder): on Windows tempFolder + "Quillmark";
// elsewhere tempFolder + "Quillmark-" + the user id, since a temporary folder
// there is shared by all users. The result has a trailing separator. Empty
// when `tempFolder` is empty.
std::string WorkFolderPath(std::string_view tempFolder);

// Makes sure the work folder exists and is private, and returns its path.
// Creates it (mode 0700) when missing. An existing folder must be a real
// folder (not a symbolic link) owned by the current user; group and other
// permission bits are cleared. Throws EFileAccess when it cannot be created
// and qm::Error with the reason when it exists but is not private.
std::string PrepareWorkFolder(std::string_view tempFolder);

// Deletes the plain files and the symbolic links directly inside `folder`: a
// link is removed itself, never what it points to; sub-folders and anything
// outside the folder are not touched. The folder itself must be a private
// folder of the current user; otherwise nothing is deleted. Failures are
// ignored. Returns the number of entries deleted.
int EmptyWorkFolder(std::string_view folder);

// Makes a new folder inside `tempFolder` (with its trailing separator, as
// GetTempFolder gives it) for one hand-over of files to another program:
// `prefix` followed by a unique suffix, created private to the current user
// (mode 0700 elsewhere than Windows) and checked to be a real folder of this
// user. Returns its path with a trailing separator. Throws EFileAccess when
// it cannot be created and qm::Error with the reason when it is not private.
std::string MakePrivateFolder(std::string_view tempFolder, std::string_view prefix);

// Takes away a folder that MakePrivateFolder made: its plain files and links
// (as EmptyWorkFolder), then the folder when nothing else is left in it.
// Failures are ignored.
void RemovePrivateFolder(std::string_view folder);

// How long a build waits for another one to finish with the work folder.
inline constexpr std::chrono::milliseconds kWorkFolderLockWait{5000};

// Holds the work folder for one build: an exclusive lock that other
// processes and other TWorkFolderLock objects honour. Taking it waits up to
// `wait` for the holder to let go, then raises qm::Error saying that another
// build is running. The lock is let go when the object is destroyed (or its
// process ends, however it ends).
class TWorkFolderLock {
public:
    // `folder` is a prepared work folder (PrepareWorkFolder).
    explicit TWorkFolderLock(std::string_view folder, std::chrono::milliseconds wait = kWorkFolderLockWait);
    ~TWorkFolderLock();
    TWorkFolderLock(TWorkFolderLock&& other) noexcept;
    TWorkFolderLock& operator=(TWorkFolderLock&&) = delete;
    TWorkFolderLock(const TWorkFolderLock&) = delete;
    TWorkFolderLock& operator=(const TWorkFolderLock&) = delete;

    // The locked folder, with its trailing separator as given.
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// What a build does first: prepares the work folder in `tempFolder`
// (PrepareWorkFolder), takes its lock and empties it, so nothing of an
// earlier or failed build is left in it. Keep the result alive for the whole
// build. Raises what PrepareWorkFolder and TWorkFolderLock raise.
TWorkFolderLock BeginWorkFolderBuild(std::string_view tempFolder, std::chrono::milliseconds wait = kWorkFolderLockWait);

}  // namespace qm
