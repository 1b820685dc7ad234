#include "mainwindow/printcommands.h"

#include <QAction>
#include <QPrinter>

#include "mainwindow/maincontext.h"
#include "widgets/actiontable.h"

namespace qm {

TPrintCommands::TPrintCommands(TMainContext& context) : TCommandHandler(context) {}

TPrintCommands::~TPrintCommands() = default;

void TPrintCommands::CreateActions(ActionTable& table) {
    actPrint = table.Add({"actPrint", "&Print...", "Ctrl+P", "Print|Prints the open module or every module.",
                          "document-print", [this] { actPrintExecute(); }});
    actPrintSetup = table.Add({"actPrintSetup", "Print Set&up...", "", "Print Setup|Sets up the page and the printer.",
                               "page-setup", [this] { actPrintSetupExecute(); }});
}

QPrinter& TPrintCommands::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

void TPrintCommands::actPrintExecute() {}
void TPrintCommands::actPrintSetupExecute() {}

}  // namespace qm
