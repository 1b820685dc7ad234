#pragma once
// The Import command: the import dialog's choice is run by the core's import,
// whose progress, errors and save question the window serves.
#include "mainwindow/commandhandler.h"
#include "model/topics.h"
#include "preprocess/buildchecks.h"
#include "util/qorstring.h"

class QAction;

namespace qm {

// The lines the messages pane shows after a project import about its first
// build: per check, how many findings it will report, and for the errors,
// where in the options the check is made a warning.
StringList BuildForecastNotes(const TBuildForecast& forecast);

class TProjectCommands;

class TImportCommands : public TCommandHandler {
public:
    // The save question of an .hpj import is the project commands' own.
    TImportCommands(TMainContext& context, TProjectCommands& project) : TCommandHandler(context), project_(project) {}

    void CreateActions(ActionTable& table) override;

    QAction* actImport = nullptr;

    // The chosen RTF or text file into the open module, or a HelpWorkshop
    // project in place of the open one.
    void actImportExecute();

private:
    // Selects the imported module on its list and opens it.
    void ShowImportedModule(TNodeId id);

    TProjectCommands& project_;
};

}  // namespace qm
