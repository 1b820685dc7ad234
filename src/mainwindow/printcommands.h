#pragma once
// Printing: the open module or every module, and the page set-up of the
// printer that Print uses.
#include <functional>
#include <memory>

#include "mainwindow/commandhandler.h"
#include "model/topics.h"

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

    // The print dialog with 1 copy and the selection chosen. The selection
    // prints the open module, every other range every module in the
    // project's order; the copies and their collation are made here, all
    // as one job, each module from a new page.
    void actPrintExecute();
    // The page set-up dialog on Printer(): what it sets holds for the next
    // Print.
    void actPrintSetupExecute();

    // The printer Print and Print Setup share; its margins start at 2 cm.
    QPrinter& Printer();

    // Test hook: runs as each module is printed, with its node and the copy
    // (1-based) it belongs to.
    std::function<void(TNodeId module, int copy)> OnPrintModule;

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace qm
