#include "mainwindow/modulecommands.h"

#include <QAction>

#include "mainwindow/maincontext.h"
#include "model/project.h"
#include "widgets/actiontable.h"

namespace qm {

void TModuleCommands::CreateActions(ActionTable& table) {
    actSetEditing = table.Add({"actSetEditing", "Editing", "", "Editing|Marks the module as being edited.", "",
                               [this] { actSetEditingExecute(); }, true});
    actSetDone = table.Add(
        {"actSetDone", "Done", "", "Done|Marks the module as done.", "", [this] { actSetDoneExecute(); }, true});
    actSetContents =
        table.Add({"actSetContents", "Set as contents page", "",
                   "Set As Contents Page|Makes the topic the contents page.", "", [this] { actSetContentsExecute(); }});
}

void TModuleCommands::UpdateActions() {
    const ExplorerPage page = ctx_.ActivePage();
    const bool topicsPage = page == ExplorerPage::Topics;
    actSetContents->setEnabled(topicsPage && ctx_.ListRow(ExplorerPage::Topics) >= 0);
    const TTopicNode* selected = ctx_.Project().Topics.FindById(ctx_.SelectedNode(page));
    actSetEditing->setEnabled(selected != nullptr);
    actSetDone->setEnabled(selected != nullptr);
    actSetEditing->setChecked(selected && selected->State == TopicState::Edit);
    actSetDone->setChecked(selected && selected->State == TopicState::Done);
}

void TModuleCommands::SetState(TopicState state) {
    TTopicNode* node = ctx_.Project().Topics.FindById(ctx_.SelectedNode(ctx_.ActivePage()));
    if (!node) return;
    node->State = state;
    ctx_.RepaintLists();
    ctx_.Actions().RequestUpdate();
}

void TModuleCommands::SetContents() {
    if (ctx_.ActivePage() != ExplorerPage::Topics) return;
    TProject& project = ctx_.Project();
    TTopicNode* chosen = project.Topics.FindById(ctx_.SelectedNode(ExplorerPage::Topics));
    // Without a selected topic the contents page stays where it is, so the
    // project never loses it.
    if (!chosen || !chosen->IsTopic()) return;
    if (TTopicNode* old = project.Topics.FindContents()) old->IsContents = false;
    chosen->IsContents = true;
    project.Modified = true;
    ctx_.RepaintLists();
}

void TModuleCommands::TopicButtonClick(int tag) {
    if (tag == 3) SetContents();
}

void TModuleCommands::PopupButtonClick(int) {}

}  // namespace qm
