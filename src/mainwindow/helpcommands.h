#pragma once
// The Help menu's commands: the program's own help at its contents and its
// index, the viewer's own help and the tutorial.
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

    // The program's help file at its contents tab, and at its index.
    void actHelpContentsExecute();
    void actHelpIndexExecute();
    // The contents of the viewer's own help.
    void actHelpOnHelpExecute();
    // The tutorial's topic of the program's help file in its window.
    void actTutorialExecute();

    QAction* actHelpContents = nullptr;
    QAction* actHelpIndex = nullptr;
    QAction* actHelpOnHelp = nullptr;
    QAction* actTutorial = nullptr;
};

}  // namespace qm
