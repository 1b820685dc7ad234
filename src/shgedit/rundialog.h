#pragma once
// Runs one of Pikeral's dialogs: its enabling rules, then the modal loop
// through the UI services (so tests answer the real dialog).
#include "platform/uiservices.h"
#include "widgets/qmdialog.h"

namespace qm::shgedit {

// True when the dialog closed through OK (or Select).
inline bool RunShgDialog(QmDialog& dialog) {
    dialog.Activate();
    dialog.Ui().RunDialog(dialog);
    return dialog.Accepted();
}

}  // namespace qm::shgedit
