// Project commands, the topic and popup lists and the one routine that opens
// a module.
#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

#include "editor/richtext2.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/standins.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"
#include "widgets/statusbar.h"

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

void TfrmMain::SetDefaultTopicText(TTopicNode& node) const {
    node.Text = DefaultTopicText(options_->DefFont, options_->DefFontSize);
}

QString TfrmMain::BuildCaption() const {
    const std::string& file = project_->FileName;
    const QString name = file.empty() ? QStringLiteral("[Untitled]") : FromCp1252(ExtractFileName(file));
    return QStringLiteral("Quillmark 1.51 - ") + name;
}

// --- the save question and saving -----------------------------------------------------

bool TfrmMain::QuerySaveChanges() {
    if (!project_->Modified) return true;
    const QString name =
        project_->FileName.empty() ? QStringLiteral("Untitled") : FromCp1252(ExtractFileName(project_->FileName));
    switch (ui_.Message(MsgKind::Confirmation, QStringLiteral("Save changes to project ") + name + QStringLiteral("?"),
                        MsgButtons::YesNoCancel)) {
        case MsgResult::Yes: return SaveProject();
        case MsgResult::No: return true;
        default: return false;
    }
}

bool TfrmMain::SaveProject() {
    if (project_->FileName.empty()) return SaveProjectAs();
    StoreCurrentModule();
    try {
        project_->SaveToFile(project_->FileName);
    } catch (const std::exception& e) {
        // The caller (New, Open, Close, Reopen) must stop: nothing is discarded.
        ui_.ErrorBox(QString::fromStdString(e.what()));
        return false;
    }
    project_->Modified = false;
    options_->LastProject = project_->FileName;
    return true;
}

bool TfrmMain::SaveProjectAs() {
    FileDialogRequest req;
    req.caption = QStringLiteral("Save As");
    req.filter = QString::fromLatin1(kProjectFilter);
    req.folder = FromCp1252(options_->LastSaveDir);
    req.fileName = FromCp1252(ExtractFileName(project_->FileName));
    req.defaultSuffix = QStringLiteral("qpf");
    req.confirmOverwrite = true;
    const std::optional<QString> chosen = ui_.SaveFileName(req);
    if (!chosen) return false;
    const std::string name = ToCp1252(*chosen);
    StoreCurrentModule();
    try {
        project_->SaveToFile(name);
    } catch (const std::exception& e) {
        ui_.ErrorBox(QString::fromStdString(e.what()));
        return false;
    }
    project_->Modified = false;
    options_->LastProject = name;
    mru_->Add(name);
    setWindowTitle(BuildCaption());
    options_->LastSaveDir = ExtractFilePath(name);
    return true;
}

// --- opening and resetting ---------------------------------------------------------------

void TfrmMain::EnsureContentsTopic(TProject& project) const {
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

void TfrmMain::FillLists() {
    auto fill = [this](QListWidget* list, QComboBox* combo, TopicKind kind) {
        list->clear();
        combo->clear();
        std::vector<const TTopicNode*> nodes = std::as_const(*project_).Topics.NodesOfKind(kind);
        for (const TTopicNode* n : nodes) {
            auto* item = new QListWidgetItem(FromCp1252(n->GetName()), list);
            item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(n->Id()));
        }
        std::stable_sort(nodes.begin(), nodes.end(), [](const TTopicNode* a, const TTopicNode* b) {
            return CompareText(a->GetName(), b->GetName()) < 0;
        });
        const QIcon glyph =
            style()->standardIcon(kind == TopicKind::Topic ? QStyle::SP_FileIcon : QStyle::SP_MessageBoxInformation);
        for (const TTopicNode* n : nodes)
            combo->addItem(glyph, FromCp1252(n->GetName()), QVariant::fromValue<qulonglong>(n->Id()));
        combo->setCurrentIndex(-1);
    };
    fill(lstTopics, cboTopics, TopicKind::Topic);
    fill(lstPopups, cboPopups, TopicKind::Popup);
}

void TfrmMain::InstallProject(std::unique_ptr<TProject> project) {
    // The old project goes only after the editor and lists can no longer
    // reach it: no current module, no signals, no bookmarks of the old one.
    const QSignalBlocker b1(TheEditor), b2(lstTopics), b3(lstPopups), b4(cboTopics), b5(cboPopups);
    current_ = 0;
    bookmarks_->Clear();
    lstTopics->clear();
    lstPopups->clear();
    project_ = std::move(project);
    FillLists();
}

bool TfrmMain::OpenProjectFile(const std::string& fileName) {
    auto fresh = std::make_unique<TProject>();
    try {
        fresh->LoadFromFile(fileName);
    } catch (const std::exception& e) {
        mru_->Remove(fileName);
        ui_.ErrorBox(QString::fromStdString(e.what()));
        return false;
    }
    fresh->FileName = fileName;
    EnsureContentsTopic(*fresh);
    InstallProject(std::move(fresh));
    options_->LastProject = fileName;
    topicsView_->SortByName(false);
    popupsView_->SortByName(false);
    tbsProject->setCurrentIndex(0);
    lstTopics->setCurrentRow(0);
    OpenSelected(lstTopics);
    mru_->Add(fileName);
    project_->Modified = false;
    ClearOutputs();
    setWindowTitle(BuildCaption());
    HistClear();
    return true;
}

void TfrmMain::ResetToNewProject() {
    {
        const QSignalBlocker b1(TheEditor), b2(lstTopics), b3(lstPopups), b4(cboTopics), b5(cboPopups);
        current_ = 0;
        TheEditor->Clear();
        bookmarks_->Clear();
        lstTopics->clear();
        lstPopups->clear();
        project_->NewProject();
        if (project_->Topics.Count() > 0) SetDefaultTopicText(project_->Topics.GetNode(0));
        FillLists();
    }
    tbsProject->setCurrentIndex(0);
    lstTopics->setCurrentRow(0);
    OpenSelected(lstTopics);
    project_->Modified = false;
    ClearOutputs();
    setWindowTitle(BuildCaption());
    HistClear();
}

bool TfrmMain::CloseProject() {
    if (!QuerySaveChanges()) return false;
    ResetToNewProject();
    return true;
}

void TfrmMain::ClearOutputs() {
    ClearBuildLog();
    tvwHCRTF->clear();
    lvwFind->clear();
}

void TfrmMain::HistClear() {
    histBack_.clear();
    histFwd_.clear();
}

// --- the current module ---------------------------------------------------------------------

TTopicNode* TfrmMain::CurrentNode() const {
    return current_ && project_ ? project_->Topics.FindById(current_) : nullptr;
}

void TfrmMain::StoreCurrentModule() {
    if (TTopicNode* node = CurrentNode()) node->Text = TheEditor->GetRtfText();
}

TNodeId TfrmMain::GetTopic(int index) const {
    QListWidgetItem* item = index < 0 ? lstTopics->currentItem() : lstTopics->item(index);
    return item ? item->data(Qt::UserRole).toULongLong() : 0;
}

void TfrmMain::OpenSelected(QListWidget* list) {
    QListWidgetItem* item = list->currentItem();
    if (!item) return;
    TTopicNode* target = project_->Topics.FindById(item->data(Qt::UserRole).toULongLong());
    if (!target) return;
    const bool wasModified = project_->Modified;
    RemoveSearchHighlights();
    if (TTopicNode* cur = CurrentNode()) {
        // Opening the module that is already open is no step of the history.
        if (!historyNavigation_ && cur != target) {
            histBack_.prepend(FromCp1252(cur->GetName()));
            const int limit = std::max(options_->HistoryStack, kMinHistoryStack);
            while (histBack_.size() > limit) histBack_.removeLast();
            histFwd_.clear();
        }
        cur->Text = TheEditor->GetRtfText();
        cur->Bookmarks.Assign(*bookmarks_);
        cur->EditorPos = TheEditor->GetSelStart();
    }
    current_ = target->Id();
    loadingModule_ = true;
    TheEditor->SetRtfText(target->Text);
    loadingModule_ = false;
    TheEditor->ClearUndo();
    bookmarks_->Assign(target->Bookmarks);
    TheEditor->SetSelStart(std::clamp(target->EditorPos, 0, std::max(TheEditor->GetTextLen(), 0)));
    SelectInCombo(*target);
    TheEditor->viewport()->update();
    TheEditorSelectionChange();
    // Loading a module never marks the project modified.
    project_->Modified = wasModified;
    actions_->RequestUpdate();
}

void TfrmMain::SelectInCombo(const TTopicNode& node) {
    QComboBox* mine = node.IsPopup() ? cboPopups : cboTopics;
    QComboBox* other = node.IsPopup() ? cboTopics : cboPopups;
    const QSignalBlocker b1(mine), b2(other);
    mine->setCurrentIndex(mine->findData(QVariant::fromValue<qulonglong>(node.Id())));
    other->setCurrentIndex(-1);
}

void TfrmMain::SelectListRow(QListWidget* list, TNodeId id) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toULongLong() == id) {
            list->setCurrentRow(i);
            return;
        }
}

void TfrmMain::lstTopicsDblClick() { OpenSelected(lstTopics); }
void TfrmMain::lstPopupsDblClick() { OpenSelected(lstPopups); }

void TfrmMain::cboTopicsChange() {
    if (cboTopics->currentIndex() < 0) return;
    cboPopups->setCurrentIndex(-1);
    SelectListRow(lstTopics, cboTopics->currentData().toULongLong());
    OpenSelected(lstTopics);
    tbsProject->setCurrentIndex(0);
    TheEditor->setFocus();
}

void TfrmMain::cboPopupsChange() {
    if (cboPopups->currentIndex() < 0) return;
    cboTopics->setCurrentIndex(-1);
    SelectListRow(lstPopups, cboPopups->currentData().toULongLong());
    OpenSelected(lstPopups);
    tbsProject->setCurrentIndex(1);
    TheEditor->setFocus();
}

void TfrmMain::GotoModule(TNodeId id) {
    const TTopicNode* node = id ? project_->Topics.FindById(id) : nullptr;
    if (!node) {
        ui_.Information(QString::fromLatin1(kMsgInvalidLink));
        return;
    }
    int index = topicsView_->IndexOfNode(id);
    if (index >= 0) {
        tbsProject->setCurrentIndex(0);
        lstTopics->setCurrentRow(index);
        OpenSelected(lstTopics);
        return;
    }
    index = popupsView_->IndexOfNode(id);
    if (index >= 0) {
        tbsProject->setCurrentIndex(1);
        lstPopups->setCurrentRow(index);
        OpenSelected(lstPopups);
    }
}

void TfrmMain::NavigateTo(int which) {
    QListWidget* list = ActiveList();
    const int c = list->count();
    if (c == 0) return;
    const int s = list->currentRow();
    int target = 0;
    switch (which) {
        case 0: target = 0; break;
        case 1: target = s - 1; break;
        case 2: target = s + 1; break;
        default: target = c - 1; break;
    }
    if (target < 0 || target >= c) return;
    list->setCurrentRow(target);
    OpenSelected(list);
    TheEditor->setFocus();
}

void TfrmMain::hdrTopicsSectionClick(int section) {
    if (section == 0) {
        sortTopicsById_ = !sortTopicsById_;
        topicsView_->SortById(sortTopicsById_);
    } else if (section == 1) {
        sortTopicsByName_ = !sortTopicsByName_;
        topicsView_->SortByName(sortTopicsByName_);
    }
}

void TfrmMain::hdrPopupsSectionClick(int section) {
    if (section == 0) {
        sortPopupsById_ = !sortPopupsById_;
        popupsView_->SortById(sortPopupsById_);
    } else if (section == 1) {
        sortPopupsByName_ = !sortPopupsByName_;
        popupsView_->SortByName(sortPopupsByName_);
    }
}

void TfrmMain::lstTopicsContextPopup() {
    QAction* editing = actions_->Get(QStringLiteral("actSetEditing"));
    QAction* done = actions_->Get(QStringLiteral("actSetDone"));
    mnuProjPopEdit->setText(QStringLiteral("Ed&it Topic"));
    for (QAction* a : {mnuProjPopEdit, mnuProjPopSetCnt, editing, done}) a->setEnabled(true);
    const TTopicNode* node = project_->Topics.FindById(GetTopic(-1));
    editing->setChecked(node && node->State == TopicState::Edit);
    done->setChecked(node && node->State == TopicState::Done);
}

void TfrmMain::lstPopupsContextPopup() {
    QAction* editing = actions_->Get(QStringLiteral("actSetEditing"));
    QAction* done = actions_->Get(QStringLiteral("actSetDone"));
    mnuProjPopEdit->setText(QStringLiteral("Ed&it Popup"));
    mnuProjPopSetCnt->setEnabled(false);
    QListWidgetItem* item = lstPopups->currentItem();
    // A node no longer in the project offers nothing to act on.
    const TTopicNode* node = item ? project_->Topics.FindById(item->data(Qt::UserRole).toULongLong()) : nullptr;
    for (QAction* a : {mnuProjPopEdit, editing, done}) a->setEnabled(node != nullptr);
    editing->setChecked(node && node->State == TopicState::Edit);
    done->setChecked(node && node->State == TopicState::Done);
}

bool TfrmMain::CanDropFromList(const QListWidget* source) const {
    return (source == lstTopics || source == lstPopups) && source->currentItem() != nullptr;
}

bool TfrmMain::DropFromList(const QListWidget* source) {
    if (!CanDropFromList(source)) return false;
    const TTopicNode* node = project_->Topics.FindById(source->currentItem()->data(Qt::UserRole).toULongLong());
    if (!node) return false;
    const std::string title = node->GetTitle();
    const std::string tag = std::string(source == lstTopics ? "<LINK TOPIC=" : "<LINK POPUP=") + "\"" +
                            node->GetName() + "\">" + title + "</LINK>";
    TheEditor->SetSelText(tag);
    const int caret = TheEditor->GetSelStart();
    TheEditor->SetSelStart(caret - 7 - static_cast<int>(title.size()));
    TheEditor->SetSelLength(static_cast<int>(title.size()));
    TheEditor->setFocus();
    return true;
}

void TfrmMain::SetState(TopicState state) {
    QListWidget* list = ActiveList();
    QListWidgetItem* item = list->currentItem();
    TTopicNode* node = item ? project_->Topics.FindById(item->data(Qt::UserRole).toULongLong()) : nullptr;
    // Nothing selected: nothing to mark.
    if (!node) return;
    node->State = state;
    lstTopics->viewport()->update();
    lstPopups->viewport()->update();
    actions_->RequestUpdate();
}

void TfrmMain::SetContents() {
    if (tbsProject->currentIndex() != 0) return;
    TTopicNode* chosen = project_->Topics.FindById(GetTopic(-1));
    // Without a selected topic the contents page stays where it is, so the
    // project never loses it.
    if (!chosen || !chosen->IsTopic()) return;
    if (TTopicNode* old = project_->Topics.FindContents()) old->IsContents = false;
    chosen->IsContents = true;
    project_->Modified = true;
    lstTopics->viewport()->update();
}

void TfrmMain::TopicButtonClick(int tag) {
    if (tag == 3) SetContents();
}

void TfrmMain::PopupButtonClick(int) {}

void TfrmMain::EditorButtonClick(int tag) {
    if (tag >= 6 && tag <= 9) NavigateTo(tag - 6);
}

// --- editor events ----------------------------------------------------------------------------

void TfrmMain::TheEditorChange() {
    if (loadingModule_ || !project_) return;
    bookmarks_->TruncateAfter(TheEditor->Lines.Count() - 1);
    project_->Modified = true;
}

void TfrmMain::TheEditorSelectionChange() {
    if (!project_) return;
    const QTextCursor c = TheEditor->textCursor();
    const int start = std::min(c.position(), c.anchor());
    const QTextBlock block = TheEditor->document()->findBlock(start);
    status_->SetCaret(block.blockNumber() + 1, start - block.position() + 1);
    Ruler->SetIndents(TheEditor->Paragraph.GetFirstIndent(), TheEditor->Paragraph.GetLeftIndent(),
                      TheEditor->Paragraph.GetRightIndent());
}

}  // namespace qm
