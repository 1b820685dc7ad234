#pragma once
// The File menu's Export commands: the context-ID constant files.
#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

inline constexpr const char* kMsgExportMustSave = "Project must be saved in order to export help ID constants.";
inline constexpr const char* kMsgExported = "Include file(s) exported successfully to the project folder.";

class TExportCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* actExportIdConstants = nullptr;

    // Asks which constant files to write (preset from the project's three
    // switches) and writes them beside the project file, C, Visual Basic,
    // then Pascal. The switches and the modified flag stay as they were. A
    // file that cannot be written ends the command with its error, before
    // the success message and the files after it.
    void actExportIdConstantsExecute();
};

}  // namespace qm
