#pragma once
// Printing: the open module or every module, and the page set-up of the
// printer that Print uses.
#include <memory>

#include "mainwindow/commandhandler.h"

class QAction;
class QPrinter;

namespace qm {

class TPrintCommands : public TCommandHandler {
public:
    explicit TPrintCommands(TMainContext& context);
    ~TPrintCommands() override;

    void CreateActions(ActionTable& table) override;

    QAction* actPrint = nullptr;
    QAction* actPrintSetup = nullptr;

    void actPrintExecute();
    void actPrintSetupExecute();

    // The printer Print and Print Setup share.
    QPrinter& Printer();

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace qm
