#pragma once
// The import commands: an RTF file (with or without its footnotes) into the
// open project, a text file into the current topic, and a whole help-compiler
// project (.hpj with its RTF files) as a new project. Whatever they show or
// ask goes through TImportUi, which the main window serves and tests script.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/hpjfile.h"
#include "import/importrtf.h"
#include "model/project.h"
#include "preprocess/buildchecks.h"
#include "preprocess/checksettings.h"
#include "preprocess/outputlog.h"
#include "richtext/richdoc.h"

namespace qm {

// What the import shows and asks. Every method has a do-nothing default.
class TImportUi {
public:
    virtual ~TImportUi() = default;
    // The progress window with a text; its bar is set by SetProgress.
    virtual void ShowProgress(const std::string& text) { (void)text; }
    virtual void SetProgress(int position, int max) { (void)position, (void)max; }
    // Hidden at the end of every import, failed or not.
    virtual void HideProgress() {}
    // An error message box.
    virtual void ShowError(const std::string& message) { (void)message; }
    // The main window's save-changes question before a project replaces the
    // open one; false stops the import.
    virtual bool QuerySaveChanges() { return true; }
    // Empties the trees that point at modules (search results and the like);
    // the build log is cleared by the import itself.
    virtual void ClearResults() {}
};

// Files an import reads whole: larger ones are refused before they are read,
// so that an import's memory stays bounded (a few times the file's size).
inline constexpr std::uintmax_t kMaxImportFileBytes = std::uintmax_t{256} << 20;  // RTF and text files

// "HelpWorkshop project importation failed for the following reason:" and
// the reason, as every import failure is shown.
std::string ImportFailedMessage(std::string_view reason);

// The whole file as bytes; false when it cannot be read.
bool LoadFileToString(const std::string& name, std::string& text);

// A file named in a .hpj: relative names resolve against `folder`, "\" and
// "/" both separate, and each part matches without regard to case when no
// exact match exists. Empty when no such file exists.
std::string ResolveImportPath(std::string_view folder, std::string_view entry);

// The text of a text file: UTF-8 when it is valid UTF-8 or starts with the
// UTF-8 byte-order mark (which is dropped), else Windows-1252.
std::u16string DecodeTextFile(std::string_view bytes);

// Where the RTF import puts its records.
struct TImportTarget {
    TNodeId OpenNode = 0;                     // the module open in the editor (0: none)
    TopicKind ActiveKind = TopicKind::Topic;  // the kind of the active list page
};

struct TRtfImportResult {
    bool Ok = false;
    TNodeId OpenNode = 0;           // the record to open in the editor
    std::vector<TNodeId> Appended;  // the further records, appended in order
    StringList Notes;               // what the project could not hold
};

// Imports an RTF file. Without footnotes the whole file becomes the text of
// the open module. With footnotes its pages become records of the active
// list's kind: the first replaces the open module (a topic inherits its
// contents flag), the others are appended. Embedded pictures are written to
// the project's first image folder (else its own folder, else the file's),
// which becomes an image folder of the project. Failures are shown through
// `ui` and leave the project as it was. The build log (when given) and the
// result trees are cleared before a module is replaced.
TRtfImportResult ImportRtfFile(TProject& project, const TImportTarget& target, const std::string& name,
                               bool useFootnotes, TImportUi& ui, TOutputLog* log = nullptr);

// The RTF a text file's bytes become: decoded by DecodeTextFile, one
// paragraph a line, all in `format`. Written as it is read, so it never holds
// a document of the whole text.
std::string ImportTextToRtf(std::string_view bytes, const CharFormat& format);

// Loads a text file into the open module as its text, in `format`. False
// (after showing the message) when it fails.
bool ImportTextFile(TProject& project, TNodeId openNode, const std::string& name, const CharFormat& format,
                    TImportUi& ui);

// Turns the parsed .hpj into the project's windows, options, image folders
// and start-up macros ([CONFIG], [CONFIG-window]). Relative image folders
// count from `folder`, the .hpj's (kept as written when it is empty). What
// the project has no place for goes to `notes`. Raises qm::Error when
// CONTENTS names no topic of the project.
void ImportHpjOptions(const THpjFile& hpj, TProject& project, std::string_view folder = {},
                      TImportNotes* notes = nullptr);

// Imports a help-compiler project as a new project (no file name, modified,
// the first topic open). Topics take the numbers of [MAP] (and of its map
// files); records reached only by popup hotspots become popups; embedded
// pictures are written to the first image folder (else the .hpj's folder).
// Null after a failure, which `ui` has shown; the open project is not touched
// then. On success the build log (when given) and the result trees are
// cleared, so the caller can free the old project, and `notes` (when given)
// lists, once each, what the project could not hold.
std::unique_ptr<TProject> ImportHpjProject(const std::string& name, TImportUi& ui, TOutputLog* log = nullptr,
                                           StringList* notes = nullptr);

// The Import command after its file dialog.
enum class TImportFilter { Rtf = 0, Text = 1, Hpj = 2 };

struct TImportRequest {
    std::string FileName;
    TImportFilter Filter = TImportFilter::Rtf;
    bool UseFootnotes = true;  // the dialog's "Use footnotes"
};

struct TImportOutcome {
    bool Ok = false;
    // Hpj: the project to install in place of the open one.
    std::unique_ptr<TProject> NewProject;
    // Rtf and text: the record to (re)load into the editor.
    TNodeId OpenNode = 0;
    std::vector<TNodeId> Appended;
    // What the project could not hold, for the messages pane.
    StringList Notes;
    // Hpj with `checks` given: what a build of the new project would report
    // (its image folders and the project's folder taken as the .hpj's).
    std::optional<TBuildForecast> Forecast;
};

// Runs the import the dialog chose. A .hpj import first asks QuerySaveChanges;
// with `checks` (the build's checks as the options set them) it also says
// what a build of the new project would report.
TImportOutcome RunImport(TProject& project, const TImportTarget& target, const TImportRequest& request,
                         const CharFormat& textFormat, TImportUi& ui, TOutputLog* log = nullptr,
                         const TCheckSettings* checks = nullptr);

// The lines of the "Create Table of Contents" command, for the modules given
// in list order: one `<LINK TOPIC="name">title</LINK>` line each, CR LF ended.
std::string CreateTableOfContents(const std::vector<const TTopicNode*>& entries);

}  // namespace qm
