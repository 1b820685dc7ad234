#pragma once
// The explorer's commands on the topics and popups of the project: their
// editing state, the contents page, and their names and context IDs.
#include "mainwindow/commandhandler.h"
#include "model/topics.h"

class QAction;

namespace qm {

class TModuleCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    QAction* actSetEditing = nullptr;
    QAction* actSetDone = nullptr;
    QAction* actSetContents = nullptr;

    void actSetEditingExecute() { SetState(TopicState::Edit); }
    void actSetDoneExecute() { SetState(TopicState::Done); }
    void actSetContentsExecute() { SetContents(); }

    // Rename (F2) and Renumber ID, in the Project menu and the explorer's
    // pop-up menu (mnuProjectRenameItem is actRename's place in the menu).
    QAction* actRename = nullptr;
    QAction* mnuProjectRenumberItem = nullptr;
    QAction* mnuProjPopRename = nullptr;
    QAction* mnuProjPopRenumber = nullptr;
    void actRenameExecute() { RenameModule(true); }

    // The buttons of the topics' and popups' command bars, by tag.
    void TopicButtonClick(int tag);
    void PopupButtonClick(int tag);

    // Marks the selected module of the open page; nothing selected: nothing to mark.
    void SetState(TopicState state);
    // Makes the selected topic the contents page.
    void SetContents();
    // Asks for a new name for the selected module of the open page and,
    // when `updateLinks` is set and the options ask for it, makes the links
    // to it follow. Refusals are information boxes; nothing changes then.
    void RenameModule(bool updateLinks);
    // Asks for a new context ID for the selected module of the open page.
    void RenumberModuleId();
};

}  // namespace qm
