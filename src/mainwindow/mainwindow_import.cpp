// The main window's Import command: the dialog's choice is run by the core's
// import, whose progress, errors and save question the window serves.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

#include "editor/richtext2.h"
#include "import/import.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/standins.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"

namespace qm {

class TMainImportUi : public TImportUi {
public:
    explicit TMainImportUi(TfrmMain& w) : w_(w) {}
    void ShowProgress(const std::string& text) override {
        if (!w_.frmMessage) return;
        w_.frmMessage->lblMsg->setText(FromCp1252(text));
        w_.frmMessage->lblMsg->adjustSize();
        w_.frmMessage->pgbProgress->setValue(0);
        w_.frmMessage->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void SetProgress(int position, int max) override {
        if (!w_.frmMessage) return;
        w_.frmMessage->pgbProgress->setRange(0, std::max(max, 1));
        w_.frmMessage->pgbProgress->setValue(std::clamp(position, 0, std::max(max, 1)));
    }
    void HideProgress() override {
        if (w_.frmMessage) w_.frmMessage->hide();
    }
    void ShowError(const std::string& message) override { w_.ui_.ErrorBox(FromCp1252(message)); }
    bool QuerySaveChanges() override { return w_.QuerySaveChanges(); }
    void ClearResults() override {
        w_.tvwHCRTF->clear();
        w_.lvwFind->clear();
    }

private:
    TfrmMain& w_;
};

void TfrmMain::actImportExecute() {
    if (!env_.ChooseImport) return;
    const std::optional<TImportRequest> request = env_.ChooseImport();
    if (!request) return;
    // The editor holds the freshest text of the open module; the import reads
    // and may replace that node.
    StoreCurrentModule();
    const TImportTarget target{current_, tbsProject->currentIndex() == 1 ? TopicKind::Popup : TopicKind::Topic};
    TMainImportUi importUi(*this);
    TImportOutcome outcome =
        RunImport(*project_, target, *request, TheEditor->defaultCharFormat(), importUi, log_.get());
    if (!outcome.Ok) return;

    if (outcome.NewProject) {
        TNodeId open = outcome.OpenNode;
        InstallProject(std::move(outcome.NewProject));
        topicsView_->SortByName(false);
        popupsView_->SortByName(false);
        if (!project_->Topics.FindById(open)) open = GetTopic(0);
        tbsProject->setCurrentIndex(0);
        ShowImportedModule(open);
        ClearOutputs();
        HistClear();
        setWindowTitle(BuildCaption());
        return;
    }

    // Rtf or text: the node ids of the selections survive the refill.
    const TNodeId selTopic = GetTopic(-1);
    QListWidgetItem* popItem = lstPopups->currentItem();
    const TNodeId selPopup = popItem ? popItem->data(Qt::UserRole).toULongLong() : 0;
    {
        const QSignalBlocker b1(lstTopics), b2(lstPopups), b3(cboTopics), b4(cboPopups);
        // Sorted by name, as an opened project's lists are.
        FillLists();
        topicsView_->SortByName(false);
        popupsView_->SortByName(false);
        SelectListRow(lstTopics, selTopic);
        SelectListRow(lstPopups, selPopup);
    }
    // The module's text was already stored and the import rewrote it: it is
    // loaded, not stored over again.
    current_ = 0;
    ShowImportedModule(outcome.OpenNode);
}

void TfrmMain::ShowImportedModule(TNodeId id) {
    const TTopicNode* node = id ? project_->Topics.FindById(id) : nullptr;
    if (!node) return;
    QListWidget* list = node->IsPopup() ? lstPopups : lstTopics;
    {
        const QSignalBlocker b(list);
        SelectListRow(list, id);
    }
    OpenSelected(list);
}

}  // namespace qm
