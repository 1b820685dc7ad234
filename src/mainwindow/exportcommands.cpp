#include "mainwindow/exportcommands.h"

#include <QAction>
#include <QString>

#include "dialogs/dialogfactory.h"
#include "formats/idconstants.h"
#include "mainwindow/maincontext.h"
#include "model/project.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"

namespace qm {

void TExportCommands::CreateActions(ActionTable& table) {
    actExportIdConstants = table.Add(
        {"actExportIdConstants", "&Help Context ID Constants", "",
         "Export Help Context ID Constants|Writes the context IDs as constants for C, Visual Basic and Pascal.", "export-constants",
         [this] { actExportIdConstantsExecute(); }});
}

void TExportCommands::actExportIdConstantsExecute() {
    const TProject& project = ctx_.Project();
    UiServices& ui = ctx_.Ui();
    if (project.FileName.empty()) {
        ui.Information(QString::fromLatin1(kMsgExportMustSave));
        return;
    }
    const std::optional<TExportChoice> choice =
        ctx_.Dialogs().RunExportChoice({project.MakeCppInclude, project.MakeVbInclude, project.MakePascalInclude});
    if (!choice) return;
    if (choice->Cpp) WriteCIdHeader(project);
    if (choice->Vb) ExportVbConstants(project);
    if (choice->Pascal) WritePascalIdUnit(project);
    ui.Information(QString::fromLatin1(kMsgExported));
}

}  // namespace qm
