#pragma once
// The commands that open the authoring editors which work beside the
// project rather than on one module (the contents file editor), and those
// that write a built text into the open module: the macro expression
// builder and the table of contents.
#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TAuthoringCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* actContentsEdit = nullptr;
    QAction* actMacroBuilder = nullptr;
    QAction* actCreateTableOfContents = nullptr;

    // The contents file editor over the open project; the project's
    // modified flag stays as it was.
    void actContentsEditExecute();
    // The built expression replaces the editor's selection.
    void actMacroBuilderExecute();
    // A link to every topic of the topic list, in its order, replaces the
    // editor's selection.
    void CreateTableOfContents();
};

}  // namespace qm
