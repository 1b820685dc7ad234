#include "mainwindow/transfercommands.h"

#include "mainwindow/maincontext.h"
#include "widgets/actiontable.h"

namespace qm {

void TTransferCommands::CreateActions(ActionTable& table) {
    actImportRtf = table.Add({"actImportRtf", "&Rich Text File into Topic...", "",
                              "Import Rich Text|Replaces the open module's text by an RTF file.", "import-rtf",
                              [this] { actImportRtfExecute(); }});
    actImportText = table.Add({"actImportText", "&Text File into Topic...", "",
                               "Import Text|Replaces the open module's text by a text file.", "import-text",
                               [this] { actImportTextExecute(); }});
    actExportRtf = table.Add({"actExportRtf", "Topic as &Rich Text File...", "",
                              "Export Rich Text|Saves the open module's text as an RTF file.", "export-rtf",
                              [this] { actExportRtfExecute(); }});
}

void TTransferCommands::actImportRtfExecute() {}
void TTransferCommands::actImportTextExecute() {}
void TTransferCommands::actExportRtfExecute() {}

}  // namespace qm
