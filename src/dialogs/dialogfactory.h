#pragma once
// The one maker of the authoring dialogs. Each dialog is made for one use
// with the main window as parent, preset, run through the UI services (so a
// test answers the real dialog), read back only when accepted, and freed.
// The main window owns one factory; dialogs that open other dialogs get them
// from it too.
#include <optional>

#include "import/import.h"

class QWidget;

namespace qm {

class QmDialog;
class UiServices;

class TDialogFactory {
public:
    explicit TDialogFactory(UiServices& ui) : ui_(ui) {}
    TDialogFactory(const TDialogFactory&) = delete;
    TDialogFactory& operator=(const TDialogFactory&) = delete;

    UiServices& Ui() const { return ui_; }
    // The parent of the dialogs: the window that owns boxes and dialogs.
    QWidget* Parent() const;

    // Runs a made and preset dialog: its enabling rules, then the modal loop.
    // True when it was accepted.
    bool Run(QmDialog& dialog);

    // The import dialog: which file to import and how; nullopt when cancelled.
    std::optional<TImportRequest> ChooseImportFile();

private:
    UiServices& ui_;
};

}  // namespace qm
