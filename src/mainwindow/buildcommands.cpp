// The build command and the help file's viewing commands.
#include "mainwindow/buildcommands.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMainWindow>
#include <filesystem>

#include "editor/richtext2.h"
#include "formats/idconstants.h"
#include "mainwindow/maincontext.h"
#include "model/options.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "preprocess/buildchecks.h"
#include "preprocess/checksettings.h"
#include "preprocess/compilerreport.h"
#include "preprocess/outputlog.h"
#include "preprocess/projectwriter.h"
#include "preprocess/topicwriter.h"
#include "util/externalprograms.h"
#include "util/fileio.h"
#include "util/qorsystem.h"
#include "util/textfile.h"
#include "util/workfolder.h"
#include "widgets/actiontable.h"
#include "widgets/busycursor.h"
#include "widgets/statusbar.h"

namespace qm {

void TBuildCommands::CreateActions(ActionTable& table) {
    actCompile = table.Add({"actCompile", "B&uild...", "F5", "Build Help File|Builds the help file.", "build",
                            [this] { actCompileExecute(); }});
    actView = table.Add({"actView", "&View Help File", "", "View Help File|Opens the built help file.", "help-file",
                         [this] { actViewExecute(); }});
    actViewCurTopic = table.Add({"actViewCurTopic", "View &Current Topic", "",
                                 "View Current Topic|Shows the current topic in the help file.", "help-topic",
                                 [this] { actViewCurTopicExecute(); }});
}

namespace {

// What the compiler tab shows for a run that left no report: that it left
// none, and the end of what the compiler wrote on its error output.
StringList NoReportLines(const CompilerResult& result) {
    StringList lines;
    lines.push_back(result.exitCode == -1
                        ? std::string("The compiler stopped abnormally and wrote no report.")
                        : "The compiler ended with exit code " + std::to_string(result.exitCode) +
                              " and wrote no report.");
    std::string_view rest = result.errorOutput;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (!line.empty()) lines.emplace_back(line);
    }
    return lines;
}

// Restores the project's modified flag on every way out of the build.
class ModifiedKeeper {
public:
    explicit ModifiedKeeper(TMainContext& ctx) : ctx_(ctx), was_(ctx.Project().Modified) {}
    ~ModifiedKeeper() {
        if (!was_) ctx_.Project().Modified = false;
    }

private:
    TMainContext& ctx_;
    bool was_;
};

// The project's folder keeps the separator it was given ("\" or "/"). The
// compiler may write the name in another case (through wine it writes
// capitals), so an existing file is found whatever its case.
std::string HelpFilePath(const TProject& project, std::string_view ext) {
    std::string name = project.GetHlpFile();
    if (!ext.empty()) ChangeExtension(name, ext);
    const std::string folder = ExtractFilePath(project.FileName);
    const std::string found = name.empty() ? std::string() : FindFileInFolder(folder, name);
    return found.empty() ? folder + name : found;
}

// A folder without its trailing separator: the writers add their own.
std::string WithoutTrailingSeparator(std::string folder) {
    if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

std::string ProjectFolder(const TProject& project) {
    return WithoutTrailingSeparator(ExtractFilePath(project.FileName));
}

}  // namespace

// The temporary folder with its trailing separator; empty when unknown.
std::string TBuildCommands::TempRoot() const {
    if (tempFolder_.empty()) return GetTempFolder();
    std::string temp = tempFolder_;
    if (temp.back() != '/' && temp.back() != '\\')
        temp += static_cast<char>(std::filesystem::path::preferred_separator);
    return temp;
}

std::string TBuildCommands::WorkFolder() const {
    const std::string temp = TempRoot();
    return temp.empty() ? std::string() : WorkFolderPath(temp);
}

void TBuildCommands::actCompileExecute() {
    BusyCursor busy;
    ModifiedKeeper keep(ctx_);
    ctx_.RemoveSearchHighlights();
    UiServices& ui = ctx_.Ui();
    TProject& project = ctx_.Project();
    const TOptions& options = ctx_.Options();
    TOutputLog& log = ctx_.BuildLog();
    StatusPanels& status = ctx_.Status();
    ui.Viewer().Quit();

    const std::string temp = TempRoot();
    if (temp.empty()) {
        ui.ErrorBox(QString::fromLatin1(kMsgNoTempFolder));
        return;
    }
    // One build at a time in the work folder, which starts empty; the lock
    // holds until the command returns, report and clean-up included.
    TWorkFolderLock lock = BeginWorkFolderBuild(temp);
    const std::string work = lock.Folder();
    if (project.FileName.empty()) {
        ui.Information(QString::fromLatin1(kMsgMustSave));
        return;
    }
    const std::string compiler = CompilerFile(options.CompilerPath);
    const CompilerAvailability availability = ui.Compiler().Availability(compiler);
    if (availability == CompilerAvailability::Missing) {
        ui.Warning(QString::fromLatin1(kMsgNoCompiler));
        ui.ShowHelp(kHelpContextNoCompiler);
        return;
    }
    if (availability == CompilerAvailability::NoWine) {
        ui.Warning(QString::fromLatin1(kMsgCompilerNeedsWine));
        return;
    }
    ctx_.StoreCurrentModule();
    try {
        if (options.SaveBeforeCompile) project.SaveToFile(project.FileName);
        status.SetStatus(QStringLiteral("Preprocessing modules..."));
        ctx_.ClearBuildLog();
        const std::string projectFolder = ProjectFolder(project);
        const TPathMapper mapPath =
            availability == CompilerAvailability::ThroughWine ? TPathMapper(MapPathForWine) : TPathMapper(MapPathAsIs);
        const std::string workFolder = WithoutTrailingSeparator(work);
        const std::string hpj = WriteProjectFile(project, projectFolder, workFolder, mapPath);
        const TCheckSettings checks = CheckSettingsFrom(options);
        QElapsedTimer timer;
        timer.start();
        WriteTopicFiles(project, workFolder, log, checks);
        const int elapsed = static_cast<int>(timer.elapsed());
        if (!ctx_.PaneShown(Pane::Messages)) ctx_.ShowPane(Pane::Messages, true);
        if (ctx_.CurrentOutput() == OutputTab::Search) ctx_.ShowOutput(OutputTab::Quillmark);
        ctx_.Window().repaint();
        ctx_.ShowLogTree(elapsed);
        if (log.ErrorCount() > 0) {
            // The old report would read as this build's: it goes, and the
            // log that says why the build stopped comes to the front.
            ctx_.ClearCompilerReport();
            ctx_.ShowOutput(OutputTab::Quillmark);
            status.SetStatus(QString::fromLatin1(kMsgCouldNotCompile));
            return;
        }
        std::error_code ec;
        const std::string gid = HelpIndexPath(project);
        const std::string existingGid = FindFileInFolder(ExtractFilePath(gid), ExtractFileName(gid));
        std::filesystem::remove(ToFsPath(existingGid.empty() ? gid : existingGid), ec);

        CompilerCall call;
        call.compilerFile = compiler;
        call.switches = CompilerSwitches(options.AcViewCnt, options.AcDoNothing, options.AcViewCurrent);
        call.projectFile = hpj;
        call.workingFolder = ExtractFilePath(hpj);
        status.SetStatus(QStringLiteral("Compiling help file..."));
        const CompilerResult result = ui.Compiler().Run(call);
        if (!result.started) {
            status.SetStatus(QString::fromLatin1(kMsgCouldNotCompile));
            ClearTempFolder();
            ui.ErrorBox(QString::fromLatin1(kMsgCouldNotCompile) + QLatin1Char('\n') + FromCp1252(result.failure));
            return;
        }
        // The exit code and the report decide: a refused compile must not
        // look like a good one.
        const std::optional<std::string> report = ReadReport();
        const bool compiled = result.exitCode == 0 && report && !CompilerReportHasErrors(*report);
        if (report)
            ctx_.ShowCompilerReport(CompilerReportLines(*report));
        else
            ctx_.ShowCompilerReport(NoReportLines(result));
        if (!compiled) {
            ctx_.ShowOutput(OutputTab::Compiler);
            status.SetStatus(QString::fromLatin1(kMsgCouldNotCompile));
            if (!report && result.exitCode != 0 && availability == CompilerAvailability::ThroughWine)
                ui.Warning(QString::fromLatin1(kMsgWineCannotRunCompiler));
        } else {
            if (options.AcViewCurrent) {
                const TTopicNode* node = ctx_.CurrentNode();
                ui.Viewer().ShowContext(HelpFilePath(project, "hlp"), node ? node->ContextId : 0);
            }
            status.SetReady();
        }
        if (project.MakeCppInclude) WriteCIdHeader(project);
        if (project.MakeVbInclude) ExportVbConstants(project);
        if (project.MakePascalInclude) WritePascalIdUnit(project);
        ClearTempFolder();
    } catch (...) {
        status.SetReady();
        ClearTempFolder();
        throw;  // the command guard shows it
    }
}

std::optional<std::string> TBuildCommands::ReadReport() const {
    const std::string work = WorkFolder();
    if (work.empty()) return std::nullopt;
    try {
        return ReadCompilerReport(work);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void TBuildCommands::LoadCompilerReport() {
    // No report: the tree keeps what it shows.
    if (const std::optional<std::string> report = ReadReport()) ctx_.ShowCompilerReport(CompilerReportLines(*report));
}

void TBuildCommands::ClearTempFolder() {
    const std::string work = WorkFolder();
    if (!work.empty()) EmptyWorkFolder(work);
}

void TBuildCommands::actViewExecute() {
    UiServices& ui = ctx_.Ui();
    const TProject& project = ctx_.Project();
    const std::string hlp = HelpFilePath(project, "");
    if (project.FileName.empty() || project.GetHlpFile().empty() || !FileExists(hlp)) {
        ui.Information(QString::fromLatin1(kMsgNoHelpFile));
        return;
    }
    // The viewer, as for the current topic, so both say the same when none can run.
    ui.Viewer().ShowContents(hlp);
}

void TBuildCommands::actViewCurTopicExecute() {
    UiServices& ui = ctx_.Ui();
    const TProject& project = ctx_.Project();
    const std::string hlp = HelpFilePath(project, "");
    if (project.FileName.empty() || project.GetHlpFile().empty() || !FileExists(hlp)) {
        ui.Information(QString::fromLatin1(kMsgNoHelpFile));
        return;
    }
    const TTopicNode* node = ctx_.CurrentNode();
    ui.Viewer().ShowContext(HelpFilePath(project, "hlp"), node ? node->ContextId : 0);
}

}  // namespace qm
