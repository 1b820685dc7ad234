#include "widgets/printdialog.h"

#include <QDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/uiservices.h"

namespace qm {

namespace {

bool Run(UiServices& ui, QPrinter& printer, const QAbstractPrintDialog::PrintDialogOptions* options) {
    QPrintDialog dialog(&printer, ui.ParentWidget());
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    if (options) dialog.setOptions(*options);
    return ui.RunDialog(dialog) == QDialog::Accepted;
}

}  // namespace

bool RunPrintDialog(UiServices& ui, QPrinter& printer) { return Run(ui, printer, nullptr); }

bool RunPrintDialog(UiServices& ui, QPrinter& printer, QAbstractPrintDialog::PrintDialogOptions options) {
    return Run(ui, printer, &options);
}

}  // namespace qm
