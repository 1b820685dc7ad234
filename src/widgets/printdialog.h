#pragma once
// The print dialog, run through the UI services like every modal dialog.
#include <QAbstractPrintDialog>

class QPrinter;

namespace qm {

class UiServices;

// Shows the print dialog (objectName "dlgPrint", parent ui.ParentWidget()) for
// `printer`; true when the user chose to print. The dialog shows what the
// printer holds, and the printer holds the choices afterwards.
bool RunPrintDialog(UiServices& ui, QPrinter& printer);
// The same with the dialog's options (which ranges it offers, ...) set to
// `options`.
bool RunPrintDialog(UiServices& ui, QPrinter& printer, QAbstractPrintDialog::PrintDialogOptions options);

}  // namespace qm
