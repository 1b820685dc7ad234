#pragma once
// Moving through the modules of the open list, following links, and the
// navigation history.
#include <string>

#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TCustomRichText2;

class TNavigationCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    // The steps through the list, in the order of the editor bar's buttons.
    enum Step { First = 0, Previous = 1, Next = 2, Last = 3 };
    // Opens the first, previous, next or last module of the open page's list.
    void NavigateTo(Step step);

    // The target of the topic or popup link at `pos` of the editor's text
    // (FindLinkAt); false when `pos` is on no link.
    static bool LinkAt(const TCustomRichText2& editor, int pos, std::string& name);
    // Opens the module that the link at `pos` names; a name that is no
    // module's gives the invalid-link message. False (and nothing done) when
    // `pos` is on no link.
    bool FollowLinkAt(int pos);
    // Follow Link: the link at the caret; nothing outside a link.
    void actFollowLinkExecute();

    QAction* actNavToFirst = nullptr;
    QAction* actNavToPrev = nullptr;
    QAction* actNavToNext = nullptr;
    QAction* actNavToLast = nullptr;
    QAction* actHistClear = nullptr;
    QAction* actHistBack = nullptr;
    QAction* actHistForward = nullptr;
    QAction* actToggleHistory = nullptr;
    QAction* actFollowLink = nullptr;
};

}  // namespace qm
