#include "mainwindow/navigationcommands.h"

#include <QAction>

#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "widgets/actiontable.h"

namespace qm {

void TNavigationCommands::CreateActions(ActionTable& table) {
    actNavToFirst = table.Add({"actNavToFirst", "First Topic", "", "First Topic|Opens the first module of the list.",
                               "go-first", [this] { NavigateTo(First); }});
    actNavToPrev =
        table.Add({"actNavToPrev", "Previous Topic", "", "Previous Topic|Opens the previous module of the list.",
                   "go-previous", [this] { NavigateTo(Previous); }});
    actNavToNext = table.Add({"actNavToNext", "Next Topic", "", "Next Topic|Opens the next module of the list.",
                              "go-next", [this] { NavigateTo(Next); }});
    actNavToLast = table.Add({"actNavToLast", "Last Topic", "", "Last Topic|Opens the last module of the list.",
                              "go-last", [this] { NavigateTo(Last); }});
    actHistClear = table.Add({"actHistClear", "Clear History", "", "Clear History|Clears the navigation history.", "",
                              [this] { ctx_.ClearHistory(); }});
}

void TNavigationCommands::UpdateActions() {
    const ExplorerPage page = ctx_.ActivePage();
    const int s = ctx_.ListRow(page);
    const int c = ctx_.ListCount(page);
    bool first, last, next, prev;
    if (page == ExplorerPage::Topics) {
        first = last = c > 0;
        next = s < c - 1;
        prev = s != 0 && c > 0;
    } else {
        first = last = s != -1;
        next = s != -1 && s < c - 1;
        prev = s > 0;
    }
    actNavToFirst->setEnabled(first);
    actNavToLast->setEnabled(last);
    actNavToNext->setEnabled(next);
    actNavToPrev->setEnabled(prev);
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

}  // namespace qm
