#include "mainwindow/transfercommands.h"

#include <optional>
#include <string>

#include "editor/richtext2.h"
#include "import/import.h"
#include "mainwindow/maincontext.h"
#include "model/options.h"
#include "model/project.h"
#include "model/projectfile.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "widgets/actiontable.h"
#include "widgets/dialoghelpers.h"
#include "widgets/statusbar.h"

namespace qm {

namespace {

const char* const kRtfFilter = "Rich text files (*.rtf)|*.rtf";
const char* const kTextFilter = "Text files (*.txt)|*.txt";

FileDialogRequest FileRequest(const char* caption, const char* filter, const char* suffix) {
    FileDialogRequest request;
    request.caption = QString::fromLatin1(caption);
    request.filter = WindowsFilterToQt(QString::fromLatin1(filter));
    request.defaultSuffix = QString::fromLatin1(suffix);
    return request;
}

}  // namespace

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

void TTransferCommands::ReplaceEditorText(const std::string& rtf) {
    TRichText2* editor = ctx_.Editor();
    editor->ReplaceRtfText(rtf);
    ctx_.Project().Modified = true;
    // The Rich Text Output pane shows the new text, as after an open.
    if (ctx_.Options().ShowRtf) ctx_.ShowRtfOutput(true);
    ctx_.RefreshGutter();
    editor->setFocus();
}

void TTransferCommands::actImportRtfExecute() {
    const std::optional<QString> file = ctx_.Ui().OpenFileName(FileRequest("Import Rich Text File", kRtfFilter, "rtf"));
    if (!file) return;
    // Read whole before anything changes; a refusal names the file.
    ReplaceEditorText(ReadWholeFile(ToCp1252(*file), kMaxImportFileBytes));
}

void TTransferCommands::actImportTextExecute() {
    const std::optional<QString> file = ctx_.Ui().OpenFileName(FileRequest("Import Text File", kTextFilter, "txt"));
    if (!file) return;
    const std::string name = ToCp1252(*file);
    const std::string rtf =
        ImportTextToRtf(ReadWholeFile(name, kMaxImportFileBytes), ctx_.Editor()->defaultCharFormat());
    if (rtf.size() > projectfile::MaxModuleTextBytes)
        throw Error("The file " + QuoteInput(name) + " is too large to import: its text would pass the limit of " +
                    std::to_string(projectfile::MaxModuleTextBytes >> 20) + " MB of a module.");
    ReplaceEditorText(rtf);
}

void TTransferCommands::actExportRtfExecute() {
    FileDialogRequest request = FileRequest("Export Rich Text File", kRtfFilter, "rtf");
    request.confirmOverwrite = true;
    const std::optional<QString> file = ctx_.Ui().SaveFileName(request);
    if (!file) return;
    WriteFileAtomic(ToCp1252(*file), ctx_.Editor()->GetRtfText());
    ctx_.Status().SetStatus(QString::fromLatin1(kMsgTopicExported));
}

}  // namespace qm
