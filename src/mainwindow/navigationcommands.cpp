#include "mainwindow/navigationcommands.h"

#include <QAction>

#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "model/project.h"
#include "preprocess/edittags.h"
#include "widgets/actiontable.h"

namespace qm {

void TNavigationCommands::CreateActions(ActionTable& table) {
    actNavToFirst = table.Add({"actNavToFirst", "&First Topic", "", "First Topic|Opens the first module of the list.",
                               "go-top", [this] { NavigateTo(First); }});
    actNavToPrev =
        table.Add({"actNavToPrev", "&Previous Topic", "", "Previous Topic|Opens the previous module of the list.",
                   "go-up", [this] { NavigateTo(Previous); }});
    actNavToNext = table.Add({"actNavToNext", "&Next Topic", "", "Next Topic|Opens the next module of the list.",
                              "go-down", [this] { NavigateTo(Next); }});
    actNavToLast = table.Add({"actNavToLast", "&Last Topic", "", "Last Topic|Opens the last module of the list.",
                              "go-bottom", [this] { NavigateTo(Last); }});
    actHistClear = table.Add({"actHistClear", "Clear &History", "", "Clear History|Clears the navigation history.", "edit-clear",
                              [this] { ctx_.ClearHistory(); }});
    actHistBack = table.Add({"actHistBack", "&Back", "Alt+Left", "Back|Opens the module visited before this one.", "go-previous",
                             [this] { ctx_.HistoryStep(HistoryList::Back, 0); }});
    actHistForward =
        table.Add({"actHistForward", "F&orward", "Alt+Right", "Forward|Opens the module left by going back.", "go-next",
                   [this] { ctx_.HistoryStep(HistoryList::Forward, 0); }});
    actToggleHistory = table.Add({"actToggleHistory", "&History", "", "History|Shows or hides the history tool bar.",
                                  "view-toolbar", [this] { ctx_.ShowHistoryBar(actToggleHistory->isChecked()); }, true});
    actFollowLink = table.Add({"actFollowLink", "Follow Lin&k", "F12",
                               "Follow Link|Opens the topic or popup that the link at the caret names.", "link-follow",
                               [this] { actFollowLinkExecute(); }});
}

void TNavigationCommands::UpdateActions() {
    const ExplorerPage page = ctx_.ActivePage();
    const int s = ctx_.ListRow(page);
    const int c = ctx_.ListCount(page);
    // The same on both pages: each step starts from a selected row, and
    // Previous needs a row before it (with none selected there is none).
    const bool selected = s >= 0 && s < c;
    actNavToFirst->setEnabled(selected);
    actNavToLast->setEnabled(selected);
    actNavToNext->setEnabled(selected && s < c - 1);
    actNavToPrev->setEnabled(selected && s > 0);
    // An empty list offers no step.
    actHistBack->setEnabled(!ctx_.History().Empty(HistoryList::Back));
    actHistForward->setEnabled(!ctx_.History().Empty(HistoryList::Forward));
    actToggleHistory->setChecked(ctx_.HistoryBarShown());
}

void TNavigationCommands::NavigateTo(Step step) {
    const ExplorerPage page = ctx_.ActivePage();
    const int c = ctx_.ListCount(page);
    if (c == 0) return;
    const int s = ctx_.ListRow(page);
    int target = 0;
    switch (step) {
        case First: target = 0; break;
        case Previous: target = s - 1; break;
        case Next: target = s + 1; break;
        case Last: target = c - 1; break;
    }
    if (target < 0 || target >= c) return;
    ctx_.SetListRow(page, target);
    ctx_.OpenSelected(page);
    ctx_.Editor()->setFocus();
}

bool TNavigationCommands::LinkAt(const TCustomRichText2& editor, int pos, std::string& name) {
    return FindLinkAt(editor.toPlainText().toStdU16String(), pos, name);
}

bool TNavigationCommands::FollowLinkAt(int pos) {
    std::string name;
    if (!LinkAt(*ctx_.Editor(), pos, name)) return false;
    const TTopicNode* node = ctx_.Project().Topics.FindByName(name);
    ctx_.GotoModule(node ? node->Id() : 0);
    return true;
}

void TNavigationCommands::actFollowLinkExecute() { FollowLinkAt(ctx_.Editor()->GetSelStart()); }

}  // namespace qm
