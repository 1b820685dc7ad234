#include "dialogs/importcommand.h"

#include "dialogs/importdialog.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"

namespace qm {

std::optional<TImportRequest> ChooseImportFile(UiServices& ui) {
    TImportDlg dlg(ui.ParentWidget());
    dlg.SetFilterIndex(0);
    QObject::connect(&dlg, &TImportDlg::HelpRequested, &dlg, [&ui] { ui.ShowHelp(kImportHelpContext); });
    ui.RunDialog(dlg);
    if (!dlg.Accepted()) return std::nullopt;
    return TImportRequest{ToCp1252(dlg.FileName()), static_cast<TImportFilter>(dlg.FilterIndex()), dlg.UseFootnotes()};
}

}  // namespace qm
