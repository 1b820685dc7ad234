#pragma once
// The commands that open the authoring editors which work beside the
// project rather than on one module: the contents file editor.
#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TAuthoringCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* actContentsEdit = nullptr;

    // The contents file editor over the open project; the project's
    // modified flag stays as it was.
    void actContentsEditExecute();
};

}  // namespace qm
