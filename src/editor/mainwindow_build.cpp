// The build command and the messages pane.
#include <QDockWidget>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <filesystem>

#include "editor/actiontable.h"
#include "editor/busycursor.h"
#include "editor/mainwindow.h"
#include "editor/qtrichdoc.h"
#include "editor/richtext2.h"
#include "editor/statusbar.h"
#include "formats/idconstants.h"
#include "platform/uiservices.h"
#include "preprocess/checksettings.h"
#include "preprocess/compilerreport.h"
#include "preprocess/projectwriter.h"
#include "preprocess/topicwriter.h"
#include "util/externalprograms.h"
#include "util/fileio.h"
#include "util/qorsystem.h"
#include "util/textfile.h"
#include "util/workfolder.h"

namespace qm {

namespace {

// Restores the project's modified flag on every way out of the build.
class ModifiedKeeper {
public:
    explicit ModifiedKeeper(std::function<TProject*()> project)
        : project_(std::move(project)), was_(project_() && project_()->Modified) {}
    ~ModifiedKeeper() {
        if (!was_)
            if (TProject* p = project_()) p->Modified = false;
    }

private:
    std::function<TProject*()> project_;
    bool was_;
};

// The project's folder keeps the separator it was given ("\" or "/").
std::string HelpFilePath(const TProject& project, std::string_view ext) {
    std::string path = ExtractFilePath(project.FileName) + project.GetHlpFile();
    if (!ext.empty()) ChangeExtension(path, ext);
    return path;
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
std::string TfrmMain::TempRoot() const {
    if (env_.TempFolder.empty()) return GetTempFolder();
    std::string temp = env_.TempFolder;
    if (temp.back() != '/' && temp.back() != '\\')
        temp += static_cast<char>(std::filesystem::path::preferred_separator);
    return temp;
}

std::string TfrmMain::WorkFolder() const {
    const std::string temp = TempRoot();
    return temp.empty() ? std::string() : WorkFolderPath(temp);
}

void TfrmMain::actCompileExecute() {
    BusyCursor busy;
    ModifiedKeeper keep([this] { return project_.get(); });
    RemoveSearchHighlights();
    ui_.Viewer().Quit();

    const std::string temp = TempRoot();
    if (temp.empty()) {
        ui_.ErrorBox(QString::fromLatin1(kMsgNoTempFolder));
        return;
    }
    const std::string work = PrepareWorkFolder(temp);
    if (project_->FileName.empty()) {
        ui_.Information(QString::fromLatin1(kMsgMustSave));
        return;
    }
    const std::string compiler = CompilerFile(options_->CompilerPath);
    const CompilerAvailability availability = ui_.Compiler().Availability(compiler);
    if (availability == CompilerAvailability::Missing) {
        ui_.Warning(QString::fromLatin1(kMsgNoCompiler));
        ui_.ShowHelp(kHelpContextNoCompiler);
        return;
    }
    if (availability == CompilerAvailability::NoWine) {
        ui_.Warning(QString::fromLatin1(kMsgCompilerNeedsWine));
        return;
    }
    StoreCurrentModule();
    try {
        if (options_->SaveBeforeCompile) project_->SaveToFile(project_->FileName);
        status_->SetStatus(QStringLiteral("Preprocessing modules..."));
        ClearBuildLog();
        const std::string projectFolder = ProjectFolder(*project_);
        const TPathMapper mapPath =
            availability == CompilerAvailability::ThroughWine ? TPathMapper(MapPathForWine) : TPathMapper(MapPathAsIs);
        const std::string workFolder = WithoutTrailingSeparator(work);
        WriteProjectFile(*project_, projectFolder, workFolder, mapPath);
        // The file just written, named with the project file's own separators.
        std::string hpj = project_->FileName;
        ChangeExtension(hpj, "hpj");
        const TCheckSettings checks = CheckSettingsFrom(*options_);
        QElapsedTimer timer;
        timer.start();
        WriteTopicFiles(*project_, workFolder, *log_, checks);
        const int elapsed = static_cast<int>(timer.elapsed());
        if (pnlMessages->isHidden()) ToggleMessages();
        if (tsOutputs->currentIndex() == 2) tsOutputs->setCurrentIndex(0);
        repaint();
        ShowLogTree(elapsed);
        if (log_->ErrorCount() > 0) {
            status_->SetStatus(QString::fromLatin1(kMsgCouldNotCompile));
            return;
        }
        std::error_code ec;
        std::filesystem::remove(ToFsPath(HelpFilePath(*project_, "gid")), ec);

        CompilerCall call;
        call.compilerFile = compiler;
        call.switches = CompilerSwitches(options_->AcViewCnt, options_->AcDoNothing, options_->AcViewCurrent);
        call.projectFile = hpj;
        call.workingFolder = ExtractFilePath(hpj);
        status_->SetStatus(QStringLiteral("Compiling help file..."));
        const CompilerResult result = ui_.Compiler().Run(call);
        if (!result.started) {
            status_->SetStatus(QString::fromLatin1(kMsgCouldNotCompile));
            ClearTempFolder();
            ui_.ErrorBox(QString::fromLatin1(kMsgCouldNotCompile) + QLatin1Char('\n') +
                         QString::fromStdString(result.failure));
            return;
        }
        if (options_->AcViewCurrent) {
            const TTopicNode* node = CurrentNode();
            ui_.Viewer().ShowContext(HelpFilePath(*project_, "hlp"), node ? node->ContextId : 0);
        }
        status_->SetReady();
        if (project_->MakeCppInclude) WriteCIdHeader(*project_);
        if (project_->MakeVbInclude) ExportVbConstants(*project_);
        if (project_->MakePascalInclude) WritePascalIdUnit(*project_);
        LoadCompilerReport();
        ClearTempFolder();
    } catch (...) {
        status_->SetReady();
        ClearTempFolder();
        throw;  // the command guard shows it
    }
}

void TfrmMain::LoadCompilerReport() {
    const std::string work = WorkFolder();
    if (work.empty()) return;
    std::string report;
    try {
        report = ReadWholeFile(work + "hcwreport.log");  // the work folder ends with its separator
    } catch (const std::exception&) {
        return;  // no report: the tree keeps what it shows
    }
    tvwHCRTF->clear();
    for (const std::string& line : CompilerReportLines(report))
        new QTreeWidgetItem(tvwHCRTF, QStringList{FromCp1252(line)});
}

void TfrmMain::ClearTempFolder() {
    const std::string work = WorkFolder();
    if (!work.empty()) EmptyWorkFolder(work);
}

void TfrmMain::actViewExecute() {
    const std::string hlp = HelpFilePath(*project_, "");
    if (project_->FileName.empty() || project_->GetHlpFile().empty() || !FileExists(hlp)) {
        ui_.Information(QString::fromLatin1(kMsgNoHelpFile));
        return;
    }
    const LaunchResult r = ui_.Shell().Open(hlp);
    if (!r.ok) ui_.ErrorBox(QString::fromStdString(r.failure));
}

void TfrmMain::actViewCurTopicExecute() {
    const std::string hlp = HelpFilePath(*project_, "");
    if (project_->FileName.empty() || project_->GetHlpFile().empty() || !FileExists(hlp)) {
        ui_.Information(QString::fromLatin1(kMsgNoHelpFile));
        return;
    }
    const TTopicNode* node = CurrentNode();
    ui_.Viewer().ShowContext(HelpFilePath(*project_, "hlp"), node ? node->ContextId : 0);
}

// --- messages pane ------------------------------------------------------------------------------

void TfrmMain::ClearBuildLog() {
    // The tree's rows name log entries by index, so they go with the log.
    if (log_) log_->Clear();
    tvwQuillmark->clear();
}

void TfrmMain::ShowLogTree(int milliseconds) {
    tvwQuillmark->clear();
    for (const TLogRow& row : log_->ShowLog(milliseconds)) {
        auto* item = new QTreeWidgetItem(tvwQuillmark, QStringList{FromCp1252(row.Text)});
        item->setData(0, Qt::UserRole, row.Entry);
        if (row.ImageIndex == 2)
            item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxCritical));
        else if (row.ImageIndex == 3)
            item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
}

void TfrmMain::tsOutputsChange(int index) {
    tvwQuillmark->setVisible(index == 0);
    tvwHCRTF->setVisible(index == 1);
    lvwFind->setVisible(index == 2);
}

void TfrmMain::tvwQuillmarkDblClick() {
    QTreeWidgetItem* item = tvwQuillmark->currentItem();
    if (!item) return;
    RemoveSearchHighlights();
    const int entry = item->data(0, Qt::UserRole).toInt();
    if (entry < 0 || entry >= log_->Count()) return;
    const TError error = log_->Entry(entry);
    const TTopicNode* node = project_->Topics.FindById(error.Topic);
    if (!node) {
        ui_.Information(QString::fromLatin1(kMsgModuleGone));
        return;
    }
    QListWidget* list = node->IsPopup() ? lstPopups : lstTopics;
    tbsProject->setCurrentIndex(node->IsPopup() ? 1 : 0);
    SelectListRow(list, node->Id());
    OpenSelected(list);

    int pos = -1;
    const int length = TheEditor->GetTextLen();
    for (int i = 0; i < error.Occurrence; ++i) {
        pos = TheEditor->FindText(error.Text, pos + 1, length - (pos + 1), kFindDown);
        if (pos == -1) break;
    }
    if (pos == -1) return;
    // The marking is an extra selection: it never touches the text, the
    // modified flag or the undo history, so it cannot reach a save or build.
    const QTextBlock block = TheEditor->document()->findBlock(pos);
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(block);
    mark.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    mark.format.setBackground(QColor(255, 0, 0));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    TheEditor->setExtraSelections({mark});
    TheEditor->SetSelStart(block.position());
    TheEditor->SetSelLength(0);
    tvwQuillmark->setFocus();
}

void TfrmMain::RemoveSearchHighlights() {
    if (TheEditor) TheEditor->setExtraSelections({});
}

void TfrmMain::SaveOutput(int tab) {
    QTreeWidget* tree = tab == 1 ? tvwHCRTF : tvwQuillmark;
    FileDialogRequest req;
    req.caption = QStringLiteral("Save Output");
    req.filter = QStringLiteral("Text files (*.txt)");
    req.fileName = tab == 1 ? QStringLiteral("HCRTFLog.txt") : QStringLiteral("QuillmarkLog.txt");
    req.defaultSuffix = QStringLiteral("txt");
    req.confirmOverwrite = true;
    const std::optional<QString> chosen = ui_.SaveFileName(req);
    if (!chosen) return;
    std::string text;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        text += ToCp1252(item->text(0));
        text += "\r\n";
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) walk(tree->topLevelItem(i));
    try {
        WriteFileAtomic(ToCp1252(*chosen), text);
    } catch (const std::exception& e) {
        ui_.ErrorBox(QString::fromStdString(e.what()));
    }
}

void TfrmMain::ToggleMessages() {
    const bool show = pnlMessages->isHidden();
    pnlMessages->setVisible(show);
    if (options_) options_->ShowMessages = show;
    actions_->Get(QStringLiteral("actToggleMessages"))->setChecked(show);
}

void TfrmMain::ToggleExplorer() {
    const bool show = pnlProject->isHidden();
    pnlProject->setVisible(show);
    if (options_) options_->ShowProject = show;
    actions_->Get(QStringLiteral("actToggleExplorer"))->setChecked(show);
}

}  // namespace qm
