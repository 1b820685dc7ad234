#pragma once
// The project commands: New, Open, Save, Save As, Close, Exit and the recent
// projects, with the save question every one of them asks first.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TProject;
class TTopicNode;

// The starting RTF body of a new module for the given default font.
std::string DefaultTopicText(std::string_view defFont, std::int32_t defFontSize);

// A font name as RTF text inside the font table.
std::string RtfEscapeFontName(std::string_view name);

class TProjectCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    // Asks "Save changes to project ...?" when the project is modified; false
    // when the user cancelled or the save failed (the caller then stops).
    bool QuerySaveChanges();
    // Opens a project file in place of the open one; false (with the error
    // shown) when it cannot be read.
    bool OpenProjectFile(const std::string& fileName);
    bool SaveProject();
    bool SaveProjectAs();
    // Asks to save, then resets to a new project; false when refused.
    bool CloseProject();
    // A recent project chosen from one of the two menus.
    void ReopenProject(int slot);
    // The body every new module starts with.
    void SetDefaultTopicText(TTopicNode& node) const;
    // A file without topics gets the contents topic a new project has.
    void EnsureContentsTopic(TProject& project) const;
    QString BuildCaption() const;

    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actSave = nullptr;
    QAction* actSaveAs = nullptr;
    QAction* actClose = nullptr;
    QAction* actExit = nullptr;

    void actNewExecute() { CloseProject(); }
    void actOpenExecute();
    void actSaveExecute();
    void actSaveAsExecute() { SaveProjectAs(); }
    void actCloseExecute() { CloseProject(); }
    void actExitExecute();

private:
    // Forgets the open project and starts a new one, opening its first topic.
    void ResetToNewProject();
    // After a project has been installed: the first topic open, outputs and
    // history cleared, the project unmodified.
    void ShowFreshProject();
};

}  // namespace qm
