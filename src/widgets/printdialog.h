#pragma once
// The print dialog, run through the UI services like every modal dialog.
class QPrinter;

namespace qm {

class UiServices;

// Shows the print dialog (objectName "dlgPrint", parent ui.ParentWidget()) for
// `printer`; true when the user chose to print.
bool RunPrintDialog(UiServices& ui, QPrinter& printer);

}  // namespace qm
