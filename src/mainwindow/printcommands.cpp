#include "mainwindow/printcommands.h"

#include <QAction>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <vector>

#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/errors.h"
#include "util/qorstring.h"
#include "widgets/actiontable.h"
#include "widgets/printdialog.h"

namespace qm {

namespace {

// The printer could not be started (a file it cannot write, a printer gone).
[[noreturn]] void PrinterFailed(const QPrinter& printer) {
    const QString file = printer.outputFileName();
    if (!file.isEmpty()) throw Error("Cannot print to the file " + QuoteInput(ToCp1252(file)) + ".");
    throw Error("Cannot print: the printer could not be started.");
}

}  // namespace

TPrintCommands::TPrintCommands(TMainContext& context) : TCommandHandler(context) {}

TPrintCommands::~TPrintCommands() = default;

void TPrintCommands::CreateActions(ActionTable& table) {
    actPrint = table.Add({"actPrint", "&Print...", "Ctrl+P", "Print|Prints the open module or every module.",
                          "document-print", [this] { actPrintExecute(); }});
    actPrintSetup = table.Add({"actPrintSetup", "Print Set&up...", "", "Print Setup|Sets up the page and the printer.",
                               "page-setup", [this] { actPrintSetupExecute(); }});
}

QPrinter& TPrintCommands::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // A printer's own margins are its unprintable edge; text wants room
        // around it. Print Setup can change them.
        printer_->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    }
    return *printer_;
}

void TPrintCommands::actPrintExecute() {
    // Stored directly: opening the module again could switch modules and add
    // to the history.
    ctx_.StoreCurrentModule();
    QPrinter& printer = Printer();
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::Selection);
    // No page range: the pages of several modules have no common numbers.
    const QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintSelection |
        QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
    if (!RunPrintDialog(ctx_.Ui(), printer, options)) return;
    const int copies = std::max(printer.copyCount(), 1);
    const bool collate = printer.collateCopies();
    const bool selection = printer.printRange() == QPrinter::Selection;
    // The copies are made here; the printer would repeat the whole job.
    printer.setCopyCount(1);

    // What goes on paper, in order: (module, copy).
    std::vector<std::pair<const TTopicNode*, int>> runs;
    const TProject& project = ctx_.Project();
    if (selection) {
        const TTopicNode* open = ctx_.CurrentNode();
        if (!open) return;
        for (int copy = 1; copy <= copies; ++copy) runs.emplace_back(open, copy);
        printer.setDocName(FromCp1252(open->GetName()));
    } else {
        const int count = project.Topics.Count();
        if (collate) {
            for (int copy = 1; copy <= copies; ++copy)
                for (int i = 0; i < count; ++i) runs.emplace_back(&project.Topics.GetNode(i), copy);
        } else {
            for (int i = 0; i < count; ++i)
                for (int copy = 1; copy <= copies; ++copy) runs.emplace_back(&project.Topics.GetNode(i), copy);
        }
        printer.setDocName(project.FileName.empty() ? QStringLiteral("Untitled")
                                                    : FromCp1252(ExtractFileName(project.FileName)));
    }
    if (runs.empty()) return;

    TRichText2* editor = ctx_.Editor();
    TRichText2* scratch = ctx_.UserEditor();
    // Texts without fonts of their own print as the editor shows them.
    scratch->setDefaultCharFormat(editor->defaultCharFormat());
    QPainter painter;
    if (!painter.begin(&printer)) PrinterFailed(printer);
    bool printed = true;
    for (std::size_t i = 0; i < runs.size() && printed; ++i) {
        const auto& [node, copy] = runs[i];
        if (i > 0 && !printer.newPage()) {
            printed = false;
            break;
        }
        if (OnPrintModule) OnPrintModule(node->Id(), copy);
        const TCustomRichText2* source = editor;
        if (!selection) {
            scratch->SetRtfText(node->Text);
            source = scratch;
        }
        printed = source->PrintPages(painter, printer);
    }
    if (!painter.end() || !printed) PrinterFailed(printer);
}

void TPrintCommands::actPrintSetupExecute() {
    QPageSetupDialog dialog(&Printer(), ctx_.Ui().ParentWidget());
    dialog.setObjectName(QStringLiteral("dlgPageSetup"));
    ctx_.Ui().RunDialog(dialog);
}

}  // namespace qm
