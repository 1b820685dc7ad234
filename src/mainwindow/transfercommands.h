#pragma once
// The open module's text from an RTF or a text file, and to an RTF file.
#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TTransferCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;

    QAction* actImportRtf = nullptr;
    QAction* actImportText = nullptr;
    QAction* actExportRtf = nullptr;

    void actImportRtfExecute();
    void actImportTextExecute();
    void actExportRtfExecute();
};

}  // namespace qm
