#pragma once
// The open module's text from an RTF or a text file, and to an RTF file.
#include <string>

#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

inline constexpr const char* kMsgTopicExported = "Topic exported sucessfully to rtf file.";

class TTransferCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* actImportRtf = nullptr;
    QAction* actImportText = nullptr;
    QAction* actExportRtf = nullptr;

    // The chosen file's text replaces the editor's as one undoable step and
    // the project counts as modified. A file that cannot be read, or that is
    // too large, is refused with a message naming it; nothing changes then.
    void actImportRtfExecute();
    // The same for a text file: UTF-8 when it is valid UTF-8, else
    // Windows-1252, one paragraph a line in the editor's default format.
    void actImportTextExecute();
    // The editor's RTF to the chosen file, saved whole or not at all; the
    // status bar says so only after it is saved.
    void actExportRtfExecute();

private:
    // The editor's whole text becomes `rtf`, one Undo bringing the old back.
    void ReplaceEditorText(const std::string& rtf);
};

}  // namespace qm
