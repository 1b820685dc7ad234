// The project commands and the save question.
#include "mainwindow/projectcommands.h"

#include <QMainWindow>
#include <cstdio>

#include "mainwindow/maincontext.h"
#include "model/mru.h"
#include "model/options.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/qorstring.h"
#include "widgets/actiontable.h"

namespace qm {

namespace {
constexpr const char* kProjectFilter = "Quillmark project files (*.qpf)";
constexpr const char* kCrLf = "\r\n";
}  // namespace

std::string RtfEscapeFontName(std::string_view name) {
    std::string out;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += ch;
        } else if (c >= 0x80) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\'%02x", c);
            out += buf;
        } else if (c >= 0x20 && c != ';') {
            // A ";" would end the font-table entry; control bytes have no place in a name.
            out += ch;
        }
    }
    return out;
}

std::string DefaultTopicText(std::string_view defFont, std::int32_t defFontSize) {
    std::string s = "{\\rtf1\\ansi\\ansicpg1252\\deff1\\deflang3084{\\fonttbl{\\f0\\fnil MS Sans Serif;}";
    s += kCrLf;
    const std::string size = std::to_string(defFontSize * 2);
    if (AsciiLowerStr(defFont) != "ms sans serif") {
        s += "{\\f1\\fnil " + RtfEscapeFontName(defFont) + ";}}";
        s += kCrLf;
        s += "{\\colortbl ;\\red0\\green0\\blue0;}";
        s += kCrLf;
        s += "\\viewkind4\\uc1\\pard\\cf1\\lang3084\\f1\\fs" + size + "\\par";
    } else {
        s += "}";
        s += kCrLf;
        s += "{\\colortbl ;\\red0\\green0\\blue0;}";
        s += kCrLf;
        s += "\\viewkind4\\uc1\\pard\\cf1\\lang3084\\f0\\fs" + size + "\\par";
    }
    s += kCrLf;
    s += "}";
    return s;
}

void TProjectCommands::CreateActions(ActionTable& table) {
    actNew = table.Add({"actNew", "&New", "Ctrl+N", "New Project|Creates a new project.", "document-new",
                        [this] { actNewExecute(); }});
    actOpen = table.Add({"actOpen", "&Open...", "Ctrl+O", "Open Project|Opens an existing project.", "document-open",
                         [this] { actOpenExecute(); }});
    actSave = table.Add({"actSave", "&Save", "Ctrl+S", "Save Project|Saves the project.", "document-save",
                         [this] { actSaveExecute(); }});
    actSaveAs = table.Add({"actSaveAs", "Save &As...", "", "Save Project As|Saves the project under a new name.",
                           "document-save-as", [this] { actSaveAsExecute(); }});
    actClose = table.Add({"actClose", "&Close", "", "Close Project|Closes the project.", "document-close",
                          [this] { actCloseExecute(); }});
    actExit = table.Add(
        {"actExit", "E&xit", "Alt+F4", "Exit|Quits the program.", "system-log-out", [this] { actExitExecute(); }});
}

void TProjectCommands::actOpenExecute() {
    if (!QuerySaveChanges()) return;
    FileDialogRequest req;
    req.caption = QStringLiteral("Open");
    req.filter = QString::fromLatin1(kProjectFilter);
    req.folder = FromCp1252(ctx_.Options().LastOpenDir);
    req.defaultSuffix = QStringLiteral("qpf");
    const std::optional<QString> file = ctx_.Ui().OpenFileName(req);
    if (!file) return;
    const std::string name = ToCp1252(*file);
    OpenProjectFile(name);
    ctx_.Options().LastOpenDir = ExtractFilePath(name);
}

void TProjectCommands::actSaveExecute() {
    ctx_.RemoveSearchHighlights();
    SaveProject();
}

void TProjectCommands::actExitExecute() { ctx_.Window().close(); }

void TProjectCommands::ReopenProject(int slot) {
    if (QuerySaveChanges()) OpenProjectFile(ctx_.Mru().GetItem(slot));
}

void TProjectCommands::SetDefaultTopicText(TTopicNode& node) const {
    node.Text = DefaultTopicText(ctx_.Options().DefFont, ctx_.Options().DefFontSize);
}

QString TProjectCommands::BuildCaption() const {
    const std::string& file = ctx_.Project().FileName;
    const QString name = file.empty() ? QStringLiteral("[Untitled]") : FromCp1252(ExtractFileName(file));
    return QStringLiteral("Quillmark 1.51 - ") + name;
}

// --- the save question and saving -----------------------------------------------------

bool TProjectCommands::QuerySaveChanges() {
    TProject& project = ctx_.Project();
    if (!project.Modified) return true;
    const QString name =
        project.FileName.empty() ? QStringLiteral("Untitled") : FromCp1252(ExtractFileName(project.FileName));
    switch (ctx_.Ui().Message(MsgKind::Confirmation,
                              QStringLiteral("Save changes to project ") + name + QStringLiteral("?"),
                              MsgButtons::YesNoCancel)) {
        case MsgResult::Yes: return SaveProject();
        case MsgResult::No: return true;
        default: return false;
    }
}

bool TProjectCommands::SaveProject() {
    TProject& project = ctx_.Project();
    if (project.FileName.empty()) return SaveProjectAs();
    ctx_.StoreCurrentModule();
    try {
        project.SaveToFile(project.FileName);
    } catch (const std::exception& e) {
        // The caller (New, Open, Close, Reopen) must stop: nothing is discarded.
        ctx_.Ui().ErrorBox(FromCp1252(e.what()));
        return false;
    }
    project.Modified = false;
    ctx_.Options().LastProject = project.FileName;
    return true;
}

bool TProjectCommands::SaveProjectAs() {
    TProject& project = ctx_.Project();
    TOptions& options = ctx_.Options();
    FileDialogRequest req;
    req.caption = QStringLiteral("Save As");
    req.filter = QString::fromLatin1(kProjectFilter);
    req.folder = FromCp1252(options.LastSaveDir);
    req.fileName = FromCp1252(ExtractFileName(project.FileName));
    req.defaultSuffix = QStringLiteral("qpf");
    req.confirmOverwrite = true;
    const std::optional<QString> chosen = ctx_.Ui().SaveFileName(req);
    if (!chosen) return false;
    const std::string name = ToCp1252(*chosen);
    ctx_.StoreCurrentModule();
    try {
        project.SaveToFile(name);
    } catch (const std::exception& e) {
        ctx_.Ui().ErrorBox(FromCp1252(e.what()));
        return false;
    }
    project.Modified = false;
    options.LastProject = name;
    ctx_.Mru().Add(name);
    ctx_.UpdateCaption();
    options.LastSaveDir = ExtractFilePath(name);
    return true;
}

// --- opening and resetting ---------------------------------------------------------------

void TProjectCommands::EnsureContentsTopic(TProject& project) const {
    if (project.Topics.TopicCount() > 0) return;
    // A file without topics gets the contents topic a new project has, so
    // there is always a topic to open.
    TTopicNode& node = project.Topics.AddNew();
    node.Kind = TopicKind::Topic;
    node.SetName(project.Topics.NameExists("Contents") ? project.Topics.NewTopicName() : "Contents");
    node.SetTitle("Contents Page");
    node.ContextId = project.Topics.ContextIdExists(5) ? project.Topics.NextFreeContextId(5) : 5;
    node.IsContents = true;
    SetDefaultTopicText(node);
}

bool TProjectCommands::OpenProjectFile(const std::string& fileName) {
    auto fresh = std::make_unique<TProject>();
    try {
        fresh->LoadFromFile(fileName);
    } catch (const std::exception& e) {
        ctx_.Mru().Remove(fileName);
        ctx_.Ui().ErrorBox(FromCp1252(e.what()));
        return false;
    }
    fresh->FileName = fileName;
    EnsureContentsTopic(*fresh);
    ctx_.InstallProject(std::move(fresh));
    ctx_.Options().LastProject = fileName;
    ctx_.SortListsByName();
    ctx_.ShowPage(ExplorerPage::Topics);
    ctx_.SetListRow(ExplorerPage::Topics, 0);
    ctx_.OpenSelected(ExplorerPage::Topics);
    ctx_.Mru().Add(fileName);
    ShowFreshProject();
    return true;
}

void TProjectCommands::ResetToNewProject() {
    ctx_.ResetProject();
    ctx_.ShowPage(ExplorerPage::Topics);
    ctx_.SetListRow(ExplorerPage::Topics, 0);
    ctx_.OpenSelected(ExplorerPage::Topics);
    ShowFreshProject();
}

void TProjectCommands::ShowFreshProject() {
    ctx_.Project().Modified = false;
    ctx_.ClearOutputs();
    ctx_.UpdateCaption();
    ctx_.ClearHistory();
}

bool TProjectCommands::CloseProject() {
    if (!QuerySaveChanges()) return false;
    ResetToNewProject();
    return true;
}

}  // namespace qm
