#pragma once
// The explorer's commands on the topics and popups of the project: their
// editing state and the contents page.
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

    // The buttons of the topics' and popups' command bars, by tag.
    void TopicButtonClick(int tag);
    void PopupButtonClick(int tag);

    // Marks the selected module of the open page; nothing selected: nothing to mark.
    void SetState(TopicState state);
    // Makes the selected topic the contents page.
    void SetContents();
};

}  // namespace qm
