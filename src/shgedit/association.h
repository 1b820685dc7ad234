#pragma once
// The ".shg" file association. The install step puts a shared-mime-info
// package (application/x-shg) and pikeral.desktop into the system's data
// folders; RegisterFileType then only makes Pikeral the user's default for
// the type. A program run from a build tree, with nothing installed beside
// it, writes both files into the user's own data folder as well, with its
// absolute path in Exec. On Windows the keys go under
// HKEY_CURRENT_USER\Software\Classes.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::shgedit {

inline constexpr const char* kShgMimeType = "application/x-shg";
inline constexpr const char* kDesktopFileName = "pikeral.desktop";
inline constexpr const char* kMimePackageFileName = "pikeral.xml";

// Where the association is written. Paths are native (UTF-8 on Linux).
struct TAssociationPlaces {
    std::string ConfigHome;   // $XDG_CONFIG_HOME: mimeapps.list
    std::string DataHome;     // $XDG_DATA_HOME: applications/, mime/packages/
    std::string ProgramPath;  // the absolute path of the running program
    bool Installed = false;   // pikeral.desktop is installed beside the program
    // Runs a helper program (update-mime-database, update-desktop-database)
    // and waits for it; empty: helpers are not run.
    std::function<void(const std::string& program, const std::vector<std::string>& arguments)> RunHelper;
};

// The places of this run: the XDG folders of the environment (their
// defaults under $HOME), the program's path, and whether the program's
// prefix holds share/applications/pikeral.desktop. Helpers are run when
// found on the PATH.
TAssociationPlaces CurrentAssociationPlaces();

// The desktop entry with `exec` as its Exec line ("pikeral %f").
std::string DesktopEntry(std::string_view exec);
// The Exec line of a build-tree run: the program's path quoted as the
// desktop-entry format asks, then %f.
std::string QuotedExec(std::string_view programPath);
// The shared-mime-info package of application/x-shg.
std::string MimePackage();

// `mimeapps` (a mimeapps.list) with the line "application/x-shg=pikeral.desktop"
// of [Default Applications] set (on) or, when it names Pikeral, removed
// (off). Every other line stays as it was.
std::string EditMimeApps(std::string_view mimeapps, bool on);

// Makes Pikeral the user's default for .shg files (on) or takes back what
// on wrote (off). Nothing happens without a ConfigHome. Errors are
// swallowed; the result says whether everything was written, for tests.
bool RegisterFileType(bool on, const TAssociationPlaces& places);

}  // namespace qm::shgedit
