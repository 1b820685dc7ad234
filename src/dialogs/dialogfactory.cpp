#include "dialogs/dialogfactory.h"

#include "dialogs/importcommand.h"
#include "platform/uiservices.h"
#include "widgets/qmdialog.h"

namespace qm {

QWidget* TDialogFactory::Parent() const { return ui_.ParentWidget(); }

bool TDialogFactory::Run(QmDialog& dialog) {
    dialog.Activate();
    ui_.RunDialog(dialog);
    return dialog.Accepted();
}

std::optional<TImportRequest> TDialogFactory::ChooseImportFile() { return qm::ChooseImportFile(ui_); }

}  // namespace qm
