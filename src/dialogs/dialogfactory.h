#pragma once
// The one maker of the authoring dialogs. Each dialog is made for one use
// with the main window as parent, preset, run through the UI services (so a
// test answers the real dialog), read back only when accepted, and freed.
// The main window owns one factory; dialogs that open other dialogs get them
// from it too.
#include <optional>
#include <string>

#include "dialogs/tagdialogs.h"
#include "import/import.h"

class QWidget;

namespace qm {

class QmDialog;
class TMacros;
class TProject;
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

    // The contents file editor, until the author closes it. It opens the
    // project's contents file when the project names one that exists; the
    // project and the macros are read, never changed (the project's modified
    // flag included).
    void RunContentsEditor(const TProject& project, const TMacros& macros);

private:
    UiServices& ui_;
    std::string programFolder_;
};

}  // namespace qm
