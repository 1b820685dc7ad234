#pragma once
// The project and program settings commands: the windows editor, the
// project options, the browse sequence editor, the renumbering of every
// context ID, and the program options with what follows them.
#include <functional>
#include <optional>

#include "mainwindow/commandhandler.h"
#include "model/usertools.h"

class QAction;
class QWidget;

namespace qm {

struct TOptionsRun;

class TSettingsCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* actWinEdit = nullptr;
    QAction* actProjectOptions = nullptr;
    QAction* actBrowseEdit = nullptr;
    QAction* actRenumberIDs = nullptr;
    QAction* actOptions = nullptr;

    void actWinEditExecute();
    void actProjectOptionsExecute();
    void actBrowseEditExecute();
    void actRenumberIDsExecute();
    void actOptionsExecute();

private:
    // The tool properties dialog for the options' Add and Edit.
    std::function<std::optional<TTool>(const TTool&, QWidget*)> ToolEditor();
    // After the options closed: the dictionaries, then (after OK) the rest.
    void ApplyDictionaries(const TOptionsRun& run);
    void ApplyOptions(const TOptionsRun& run);
};

}  // namespace qm
