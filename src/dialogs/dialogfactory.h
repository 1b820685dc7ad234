#pragma once
// The one maker of the authoring dialogs. Each dialog is made for one use
// with the main window as parent, preset, run through the UI services (so a
// test answers the real dialog), read back only when accepted, and freed.
// The main window owns one factory; dialogs that open other dialogs get them
// from it too.
#include <optional>
#include <string>

#include "dialogs/exportchoice.h"
#include "dialogs/tagdialogs.h"
#include "import/import.h"
#include "model/usertools.h"

class QWidget;

namespace qm {

class QmDialog;
class TMacros;
class TProject;
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

private:
    UiServices& ui_;
    std::string programFolder_;
};

}  // namespace qm
