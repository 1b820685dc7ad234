#pragma once
// The View menu's toggles: the panes, the ruler, the gutter, the special
// characters and the rich-text output. Each remembers its state in the options.
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

    QAction* actToggleExplorer = nullptr;
    QAction* actToggleMessages = nullptr;
    QAction* actToggleRuler = nullptr;
    QAction* actToggleGutter = nullptr;
    QAction* actToggleSpecChars = nullptr;
    QAction* actToggleRtf = nullptr;
};

}  // namespace qm
