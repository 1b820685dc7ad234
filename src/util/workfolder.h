#pragma once
// The build's work folder: where the topic RTF files and the compiler's
// report are written. It belongs to the current user alone, so no other
// account can plant files or links in it between the build's steps.
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

// Deletes the plain files directly inside `folder`: no sub-folder, no
// symbolic link (neither the link nor its target) and nothing outside the
// folder is touched. The folder itself must be a private folder of the
// current user; otherwise nothing is deleted. Failures are ignored. Returns
// the number of files deleted.
int EmptyWorkFolder(std::string_view folder);

}  // namespace qm
