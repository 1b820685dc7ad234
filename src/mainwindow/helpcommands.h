#pragma once
// The Help menu's commands on help files other than the program's own
// contents and index: the viewer's own help and the tutorial.
#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

// The help viewer's own help file, found by the viewer in its own folders.
inline constexpr const char* kHelpOnHelpFile = "Winhlp32.hlp";
// The tutorial: a topic of the program's help file in a window of its own.
inline constexpr int kTutorialContext = 295;
inline constexpr const char* kTutorialWindow = "wnTutor";

class THelpCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    // The contents of the viewer's own help.
    void actHelpOnHelpExecute();
    // The tutorial's topic of the program's help file in its window.
    void actTutorialExecute();

    QAction* actHelpOnHelp = nullptr;
    QAction* actTutorial = nullptr;
};

}  // namespace qm
