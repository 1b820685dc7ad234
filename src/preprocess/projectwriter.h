#pragma once
// The help project writer: the .hpj file the help compiler reads, beside the
// project file.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/project.h"

namespace qm {

// Turns a path as the model holds it into the form the help compiler reads
// (used for ERRORLOG, BMROOT and the [FILES] entries).
using TPathMapper = std::function<std::string(std::string_view)>;

// The path as it is (a compiler that runs natively). The writer joins a file
// name to a folder with the folder's own separator, so a native folder gives
// a native path.
std::string MapPathAsIs(std::string_view path);
// The path as a compiler under wine sees it: an absolute POSIX path becomes
// "Z:" + the path with backslashes; any other path is kept.
std::string MapPathForWine(std::string_view path);

// Gives the RGB value (0x00BBGGRR) of a stored colour, resolving a system
// colour (high bit set, index in the low byte) to its current value.
using TColorResolver = std::function<std::uint32_t(TColorRef)>;

// Resolves system colours by the standard Windows scheme; other colours stay.
std::uint32_t ResolveStoredColor(TColorRef color);

std::string WindowFlags(const TWindowDef& window);
std::string WindowFSuffix(const TWindowDef& window);

// The text of the help project file.
std::string HelpProjectText(const TProject& project, const std::string& workFolder,
                            const TPathMapper& mapPath = MapPathAsIs,
                            const TColorResolver& resolveColor = ResolveStoredColor);

// The .hpj path: `projectFolder`, its own separator (when missing; the
// project file's when the folder has none, else "\"), and the project file's
// name with the extension "hpj": "/a/b" gives "/a/b/P.hpj", "D:\Help" gives
// "D:\Help\P.hpj".
std::string HelpProjectPath(const TProject& project, const std::string& projectFolder);

// Writes the help project file and returns its path (HelpProjectPath). Runs
// CheckProjectForBuild first and refuses a project or work folder whose name
// holds a control character: each raises qm::Error and nothing is written. A
// symbolic link standing at the .hpj path is replaced, never written through.
// Raises EFileAccess in its write form, naming the .hpj path, when the file
// cannot be written.
std::string WriteProjectFile(const TProject& project, const std::string& projectFolder, const std::string& workFolder,
                             const TPathMapper& mapPath = MapPathAsIs,
                             const TColorResolver& resolveColor = ResolveStoredColor);

}  // namespace qm
