#include "mainwindow/importcommands.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "dialogs/dialogfactory.h"
#include "dialogs/programoptions.h"
#include "editor/richtext2.h"
#include "import/import.h"
#include "mainwindow/maincontext.h"
#include "mainwindow/progresswindow.h"
#include "mainwindow/projectcommands.h"
#include "model/options.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "preprocess/checksettings.h"
#include "widgets/actiontable.h"

namespace qm {

namespace {

// The import's progress in the progress window, its errors in boxes.
class TMainImportUi : public TImportUi {
public:
    TMainImportUi(TMainContext& ctx, TProjectCommands& project) : ctx_(ctx), project_(project) {}
    void ShowProgress(const std::string& text) override {
        TfrmMessage* form = ctx_.ProgressForm();
        if (!form) return;
        form->lblMsg->setText(FromCp1252(text));
        form->lblMsg->adjustSize();
        form->pgbProgress->setValue(0);
        form->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void SetProgress(int position, int max) override {
        TfrmMessage* form = ctx_.ProgressForm();
        if (!form) return;
        form->pgbProgress->setRange(0, std::max(max, 1));
        form->pgbProgress->setValue(std::clamp(position, 0, std::max(max, 1)));
    }
    void HideProgress() override {
        if (TfrmMessage* form = ctx_.ProgressForm()) form->hide();
    }
    void ShowError(const std::string& message) override { ctx_.Ui().ErrorBox(FromCp1252(message)); }
    bool QuerySaveChanges() override { return project_.QuerySaveChanges(); }
    void ClearResults() override {
        ctx_.ClearCompilerReport();
        ctx_.ClearSearchResults();
    }

private:
    TMainContext& ctx_;
    TProjectCommands& project_;
};

std::string WithoutAccelerator(std::string_view caption) {
    std::string out;
    for (char c : caption)
        if (c != '&') out += c;
    return out;
}

std::string Counted(int n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

}  // namespace

StringList BuildForecastNotes(const TBuildForecast& forecast) {
    StringList out;
    if (!forecast.Refusal.empty()) {
        out.push_back("The build will stop before its checks: " + forecast.Refusal);
        return out;
    }
    for (int n = 1; n <= TCheckSettings::kChecks; ++n) {
        const std::string check = "\"" + WithoutAccelerator(BuildCheckCaption(n)) + "\"";
        if (const int errors = forecast.ErrorsOf(n); errors > 0)
            out.push_back("The build will stop on " + Counted(errors, "error") + " " + check +
                          ". To go on, mark it \"" + kWarningColumnCaption + "\" in Tools > Options, page \"" +
                          kPreprocessorPageCaption + "\".");
        if (const int warnings = forecast.WarningsOf(n); warnings > 0)
            out.push_back("The build will report " + Counted(warnings, "warning") + " " + check + " and go on.");
    }
    return out;
}

void TImportCommands::CreateActions(ActionTable& table) {
    actImport =
        table.Add({"actImport", "&Import...", "", "Import|Imports an RTF file, a text file or a HelpWorkshop project.",
                   "import", [this] { actImportExecute(); }});
}

void TImportCommands::actImportExecute() {
    const std::optional<TImportRequest> request = ctx_.Dialogs().ChooseImportFile();
    if (!request) return;
    // The editor holds the freshest text of the open module; the import reads
    // and may replace that node.
    ctx_.StoreCurrentModule();
    const TImportTarget target{ctx_.CurrentModule(),
                               ctx_.ActivePage() == ExplorerPage::Popups ? TopicKind::Popup : TopicKind::Topic};
    TMainImportUi importUi(ctx_, project_);
    // A new project's notes say what its first build will report.
    const TCheckSettings checks = CheckSettingsFrom(ctx_.Options());
    TImportOutcome outcome = RunImport(ctx_.Project(), target, *request, ctx_.Editor()->defaultCharFormat(), importUi,
                                       &ctx_.BuildLog(), &checks);
    if (!outcome.Ok) return;
    if (outcome.Forecast)
        for (std::string& line : BuildForecastNotes(*outcome.Forecast)) outcome.Notes.push_back(std::move(line));
    // What the project could not hold goes to the messages pane once the
    // import is in place.
    const auto showNotes = [this, &outcome] {
        if (outcome.Notes.empty()) return;
        if (!ctx_.PaneShown(Pane::Messages)) ctx_.ShowPane(Pane::Messages, true);
        ctx_.ShowOutput(OutputTab::Quillmark);
        ctx_.ShowImportNotes(outcome.Notes);
    };

    if (outcome.NewProject) {
        TNodeId open = outcome.OpenNode;
        ctx_.InstallProject(std::move(outcome.NewProject));
        ctx_.SortListsByName();
        if (!ctx_.Project().Topics.FindById(open)) open = ctx_.NodeAt(ExplorerPage::Topics, 0);
        ctx_.ShowPage(ExplorerPage::Topics);
        ShowImportedModule(open);
        ctx_.ClearOutputs();
        ctx_.ClearHistory();
        ctx_.UpdateCaption();
        showNotes();
        return;
    }

    if (outcome.OpenNode != 0 && outcome.OpenNode == target.OpenNode) {
        // The open module's own text was rewritten: the editor takes it as one
        // edit, so one Undo brings the old text back.
        if (const TTopicNode* node = ctx_.Project().Topics.FindById(outcome.OpenNode)) {
            ctx_.Editor()->ReplaceRtfText(node->Text);
            ctx_.StoreCurrentModule();
        }
        showNotes();
        return;
    }

    // Rtf or text: the node ids of the selections survive the refill.
    const TNodeId selTopic = ctx_.SelectedNode(ExplorerPage::Topics);
    const TNodeId selPopup = ctx_.SelectedNode(ExplorerPage::Popups);
    // Sorted by name, as an opened project's lists are.
    ctx_.RefillLists();
    ctx_.SortListsByName();
    ctx_.SelectNode(selTopic);
    ctx_.SelectNode(selPopup);
    // The module's text was already stored and the import rewrote it: it is
    // loaded, not stored over again.
    ctx_.ForgetCurrentModule();
    ShowImportedModule(outcome.OpenNode);
    showNotes();
}

void TImportCommands::ShowImportedModule(TNodeId id) {
    const TTopicNode* node = id ? ctx_.Project().Topics.FindById(id) : nullptr;
    if (!node) return;
    ctx_.SelectNode(id);
    ctx_.OpenSelected(node->IsPopup() ? ExplorerPage::Popups : ExplorerPage::Topics);
}

}  // namespace qm
