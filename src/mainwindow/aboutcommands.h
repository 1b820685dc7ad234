#pragma once
// Help > About: the about box, made for one showing.
#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TAboutCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* mnuHelpAbout = nullptr;

    void mnuHelpAboutClick();
};

}  // namespace qm
