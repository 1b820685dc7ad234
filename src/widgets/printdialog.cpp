#include "widgets/printdialog.h"

#include <QDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/uiservices.h"

namespace qm {

bool RunPrintDialog(UiServices& ui, QPrinter& printer) {
    QPrintDialog dialog(&printer, ui.ParentWidget());
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    return ui.RunDialog(dialog) == QDialog::Accepted;
}

}  // namespace qm
