#pragma once
// The View menu's toggles: the panes, the ruler, the gutter, the special
// characters and the rich-text output, each remembered in the options; the
// tool-bar toggles, which are not remembered; and Dock All.
#include <utility>
#include <vector>

#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TViewCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    // Sets each toggle from the options: as a click would, so what it
    // switches follows.
    void RestoreToggles();

    void ToggleExplorer();
    void ToggleMessages();
    // A pane that floats or is hidden goes back to its home site (the
    // project explorer left, the messages at the bottom) and shows; a
    // visible docked pane stays where it is.
    void actDockAllExecute();

    QAction* actToggleExplorer = nullptr;
    QAction* actToggleMessages = nullptr;
    QAction* actToggleRuler = nullptr;
    QAction* actToggleGutter = nullptr;
    QAction* actToggleSpecChars = nullptr;
    QAction* actToggleRtf = nullptr;
    QAction* actDockAll = nullptr;
    // One per top tool bar but the history bar (the navigation commands'
    // actToggleHistory): tbStandard, tbFormat, tbView, tbBuild, tbTopics,
    // tbTools, tbTags, tbProject.
    QAction* actToggleStandard = nullptr;
    QAction* actToggleFormat = nullptr;
    QAction* actToggleView = nullptr;
    QAction* actToggleBuild = nullptr;
    QAction* actToggleTopics = nullptr;
    QAction* actToggleTools = nullptr;
    QAction* actToggleTags = nullptr;
    QAction* actToggleProject = nullptr;

private:
    // Each tool-bar toggle with the objectName of its bar.
    std::vector<std::pair<QAction*, const char*>> barToggles_;
};

}  // namespace qm
