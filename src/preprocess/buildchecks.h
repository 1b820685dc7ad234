#pragma once
// What the build checks before it writes anything: every name that becomes a
// file, and every text that goes on a line of the help project or of a topic
// file's footnotes. Each check raises qm::Error with the text to show for the
// first problem it finds.
#include <array>
#include <string>
#include <string_view>

#include "model/project.h"
#include "preprocess/checksettings.h"

namespace qm {

// True when `name` can name a file on Windows as well as here: not empty,
// not "." or "..", no control character and none of \ / : * ? " < > |, and
// not a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9; any case, with or
// without an extension).
bool IsPortableFileName(std::string_view name);

// True when `text` holds a character below 0x20 other than tab, which would
// end or break the line it is written on.
bool HoldsControlCharacter(std::string_view text);

// Raises qm::Error for the first module whose name cannot be a file name in
// the work folder (see IsPortableFileName).
void CheckModuleFileNames(const TProject& project);

// Raises qm::Error for the first text the help project or a topic file's
// footnotes would carry on a line that holds a control character: the
// project's title, copyright, citation, help and contents file names, image
// folders and build tags; each window's name, caption and macros; each
// module's title, keywords, entry macros, window, browse string and build
// tag. The message names the field and the window or module.
void CheckLineTexts(const TProject& project);

// Raises qm::Error when the help file or the contents file name is not a
// plain file name (a folder part, "..", a drive, or a name Windows cannot
// store), so the build writes and deletes beside the project only. Empty
// names are allowed (the compiler then names the help file after the project).
void CheckOutputFileNames(const TProject& project);

// All of the above: what WriteProjectFile and WriteTopicFiles run first.
void CheckProjectForBuild(const TProject& project);

// What a build of the project as it stands would report, found without
// writing anything: what stops it before the checks, and the findings of
// each check, as errors and as warnings, with `checks` as the build uses them.
struct TBuildForecast {
    std::string Refusal;  // CheckProjectForBuild's message, or empty
    std::array<int, TCheckSettings::kChecks> Errors{};
    std::array<int, TCheckSettings::kChecks> Warnings{};

    int ErrorsOf(int check) const { return check >= 1 && check <= TCheckSettings::kChecks ? Errors[check - 1] : 0; }
    int WarningsOf(int check) const { return check >= 1 && check <= TCheckSettings::kChecks ? Warnings[check - 1] : 0; }
};

// Runs the build's checks and tag passes over every module, as
// WriteTopicFiles does, but writes no file. When CheckProjectForBuild refuses
// the project, only the refusal is given.
TBuildForecast ForecastBuild(const TProject& project, const TCheckSettings& checks);

// The help file's index (.gid) that the build deletes before it compiles:
// beside the project file, named after the help file (after the project when
// the help file name is empty). Raises what CheckOutputFileNames raises; ""
// when the project has no file yet.
std::string HelpIndexPath(const TProject& project);

}  // namespace qm
