#pragma once
// The one maker of the authoring dialogs. Each dialog is made for one use
// with the main window as parent, preset, run through the UI services (so a
// test answers the real dialog), read back only when accepted, and freed.
// The main window owns one factory; dialogs that open other dialogs get them
// from it too.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/exportchoice.h"
#include "dialogs/paragraphdlg.h"
#include "dialogs/tagdialogs.h"
#include "import/import.h"
#include "model/styles.h"
#include "model/usertools.h"
#include "util/qorstring.h"

class QWidget;

namespace qm {

class QmDialog;
class TMacros;
class TOptions;
class TProject;
class TUserTools;
struct TOptionsRun;
struct TTopicNode;
class UiServices;

class TDialogFactory {
public:
    // `programFolder` holds the program's own files (Macros.hlp); empty: the
    // folder of the running program.
    explicit TDialogFactory(UiServices& ui, std::string programFolder = {});
    TDialogFactory(const TDialogFactory&) = delete;
    TDialogFactory& operator=(const TDialogFactory&) = delete;

    UiServices& Ui() const { return ui_; }
    // The parent of the dialogs: the window that owns boxes and dialogs.
    QWidget* Parent() const;

    // Runs a made and preset dialog: its enabling rules, then the modal loop.
    // True when it was accepted.
    bool Run(QmDialog& dialog);

    // The folder of the program's own files (never empty once made).
    const std::string& ProgramFolder() const { return programFolder_; }

    // The import dialog: which file to import and how; nullopt when cancelled.
    std::optional<TImportRequest> ChooseImportFile();

    // The macro expression builder over `macros`, preset with `preset` (empty:
    // no calls); the expression (Windows-1252) when accepted, else nullopt.
    // `owner` is the dialog's parent (null: Parent()); a dialog that opens the
    // builder passes itself.
    std::optional<std::string> RunMacroBuilder(const TMacros& macros, const std::string& preset,
                                               QWidget* owner = nullptr);

    // The insert-tag form of `kind`, preset from `preset` (see tagdialogs.h);
    // the new tag and the chosen image when accepted, else nullopt. The
    // project gives the topic, popup and window names and where the image
    // browser starts; it is read, never changed. `macros` serves the forms'
    // macro builder.
    std::optional<TTagResult> RunTagDialog(TTagKind kind, const TTagPreset& preset, const TProject& project,
                                           const TMacros& macros);

    // --- formatting ---
    // The paragraph dialog preset from `request`; the format when accepted.
    // `owner` is the dialog's parent (null: Parent()).
    std::optional<TParagraphFormat> RunParagraph(const TParagraphRequest& request, QWidget* owner = nullptr);
    // The styles dialog on `styles`, which it changes as it goes, with line
    // `selectedLine` (0-based) selected and `defaultFont` for new styles
    // (empty name: none). The selected line when closed with Apply; nullopt
    // when closed with Done (the changes to `styles` stay either way).
    std::optional<int> RunStyles(TStyles& styles, int selectedLine, const TFontInfo& defaultFont);
    // The style properties dialog on a copy of `style`, shown as `name`;
    // `editIndex` is the style's 1-based index in `styles`, -1 for a new one.
    // The edited style when accepted.
    std::optional<TStyle> RunStyleProperties(const TStyles& styles, const TStyle& style, int editIndex,
                                             const std::string& name, QWidget* owner = nullptr);
    // The reorder dialog on a copy of `styles` with line `selectedLine`
    // selected; the list in its new order when accepted.
    std::optional<TStyles> RunReorganizeStyles(const TStyles& styles, int selectedLine, QWidget* owner = nullptr);

    // --- topics and popups, the export choice, user tools ---
    // Topic Properties on `node`, a topic of `project` (whose windows it
    // lists and whose other modules the name and ID checks read); `macros`
    // serves the macro builder. True when accepted: the node then holds the
    // dialog's values. Otherwise the node is as it was.
    bool RunTopicProps(TTopicNode& node, const TProject& project, const TMacros& macros);
    // Popup Properties on `node`, a popup of `project`; as RunTopicProps.
    bool RunPopupProps(TTopicNode& node, const TProject& project);
    // Which constant files to write, the boxes ticked as `preset`; the
    // choice when accepted, else nullopt.
    std::optional<TExportChoice> RunExportChoice(const TExportChoice& preset);
    // Tool Properties preset with `tool` (empty for a new one); the path
    // and display name as typed when accepted, else nullopt.
    std::optional<TTool> RunAddTool(const TTool& tool);

    // --- the contents file editor ---
    // The contents file editor, until the author closes it. It opens the
    // project's contents file when the project names one that exists; the
    // project and the macros are read, never changed (the project's modified
    // flag included).
    void RunContentsEditor(const TProject& project, const TMacros& macros);

    // --- project and program settings ---
    // The project settings; true when OK wrote them into `project`.
    bool RunProjectOptions(TProject& project, const TMacros& macros);
    // The build-tag picker offering `tags`; the tag (trimmed) when accepted.
    std::optional<std::string> RunBuildTags(const StringList& tags, QWidget* owner = nullptr);
    // The windows editor on a copy of the project's windows; true when OK
    // put the copy back (topics of windows gone then use "main").
    bool RunWindowsEditor(TProject& project, const TMacros& macros);
    // The auto-sizer placed at (left, top) with the size (width, height),
    // pixels; the window's place and size when accepted.
    std::optional<std::array<int, 4>> RunAutoSizer(const std::array<int, 4>& rect, QWidget* owner = nullptr);
    // The browse sequence editor; true when OK wrote the topics' browse strings.
    bool RunBrowseEditor(TProject& project);
    // The renumber dialog over the project's counts; on OK the start of the
    // topics, the start of the popups and the increment.
    std::optional<std::array<std::int64_t, 3>> RunRenumberIds(const TProject& project);
    // The program options; see TOptionsRun (programoptions.h).
    bool RunOptions(TOptionsRun& run);

private:
    UiServices& ui_;
    std::string programFolder_;
};

}  // namespace qm
