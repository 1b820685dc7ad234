#include "dialogs/dialogfactory.h"

#include <QCoreApplication>

#include "dialogs/importcommand.h"
#include "dialogs/macroedit.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/qmdialog.h"

namespace qm {

TDialogFactory::TDialogFactory(UiServices& ui, std::string programFolder)
    : ui_(ui), programFolder_(std::move(programFolder)) {
    if (programFolder_.empty()) programFolder_ = ToCp1252(QCoreApplication::applicationDirPath());
}

QWidget* TDialogFactory::Parent() const { return ui_.ParentWidget(); }

bool TDialogFactory::Run(QmDialog& dialog) {
    dialog.Activate();
    ui_.RunDialog(dialog);
    return dialog.Accepted();
}

std::optional<TImportRequest> TDialogFactory::ChooseImportFile() { return qm::ChooseImportFile(ui_); }

std::optional<std::string> TDialogFactory::RunMacroBuilder(const TMacros& macros, const std::string& preset,
                                                           QWidget* owner) {
    TfrmMacroEdit dialog(*this, macros, owner ? owner : Parent());
    if (!preset.empty()) dialog.SetExpression(preset);
    if (!Run(dialog)) return std::nullopt;
    return dialog.Expression();
}

}  // namespace qm
