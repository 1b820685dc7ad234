#pragma once
// Moving through the modules of the open list, and the navigation history.
#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TNavigationCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    // The steps through the list, in the order of the editor bar's buttons.
    enum Step { First = 0, Previous = 1, Next = 2, Last = 3 };
    // Opens the first, previous, next or last module of the open page's list.
    void NavigateTo(Step step);

    QAction* actNavToFirst = nullptr;
    QAction* actNavToPrev = nullptr;
    QAction* actNavToNext = nullptr;
    QAction* actNavToLast = nullptr;
    QAction* actHistClear = nullptr;
};

}  // namespace qm
