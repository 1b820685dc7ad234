// The topic and popup lists, the combo boxes and the one routine that opens
// a module.
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextBlock>
#include <algorithm>
#include <cstring>
#include <optional>

#include "editor/richtext2.h"
#include "editor/ruler.h"
#include "mainwindow/charformatcommands.h"
#include "mainwindow/formatcommands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/modulecommands.h"
#include "mainwindow/projectcommands.h"
#include "mainwindow/topiccommands.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"
#include "widgets/dialoghelpers.h"
#include "widgets/icons.h"
#include "widgets/statusbar.h"

namespace qm {

// --- the list adapter ---------------------------------------------------------

int TTopicListAdapter::Count() const { return List->count(); }

TNodeId TTopicListAdapter::ItemNode(int i) const { return List->item(i)->data(Qt::UserRole).toULongLong(); }

void TTopicListAdapter::SetItemNode(int i, const TNodeId& h) {
    QListWidgetItem* item = List->item(i);
    item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(h));
    const TTopicNode* node = Find(h);
    item->setText(node ? FromCp1252(node->GetName()) : QString());
}

std::int32_t TTopicListAdapter::ContextIdOf(const TNodeId& h) const {
    const TTopicNode* node = Find(h);
    return node ? node->ContextId : 0;
}

std::string_view TTopicListAdapter::NameOf(const TNodeId& h) const {
    const TTopicNode* node = Find(h);
    if (!node) return {};
    const char* p = node->Name.data();
    return std::string_view(p, strnlen(p, node->Name.width));
}

void TTopicListAdapter::Repaint() { List->viewport()->update(); }

// --- the explorer's pages and lists, for the handlers ------------------------------------

QListWidget* TfrmMain::ListOf(ExplorerPage page) const { return page == ExplorerPage::Popups ? lstPopups : lstTopics; }

ExplorerPage TfrmMain::ActivePage() const {
    return tbsProject->currentIndex() == 1 ? ExplorerPage::Popups : ExplorerPage::Topics;
}

void TfrmMain::ShowPage(ExplorerPage page) { tbsProject->setCurrentIndex(static_cast<int>(page)); }

int TfrmMain::ListCount(ExplorerPage page) const { return ListOf(page)->count(); }

int TfrmMain::ListRow(ExplorerPage page) const { return ListOf(page)->currentRow(); }

void TfrmMain::SetListRow(ExplorerPage page, int row) { ListOf(page)->setCurrentRow(row); }

bool TfrmMain::ListFocused(ExplorerPage page) const { return ListOf(page)->hasFocus(); }

TNodeId TfrmMain::SelectedNode(ExplorerPage page) const {
    QListWidgetItem* item = ListOf(page)->currentItem();
    return item ? item->data(Qt::UserRole).toULongLong() : 0;
}

TNodeId TfrmMain::NodeAt(ExplorerPage page, int row) const {
    QListWidgetItem* item = ListOf(page)->item(row);
    return item ? item->data(Qt::UserRole).toULongLong() : 0;
}

void TfrmMain::SelectNode(TNodeId id) {
    const TTopicNode* node = id ? project_->Topics.FindById(id) : nullptr;
    if (node) SelectListRow(node->IsPopup() ? lstPopups : lstTopics, id);
}

void TfrmMain::OpenSelected(ExplorerPage page) { OpenSelectedItem(ListOf(page)); }

void TfrmMain::RefillLists() {
    const QSignalBlocker b1(lstTopics), b2(lstPopups), b3(cboTopics), b4(cboPopups);
    FillLists();
}

void TfrmMain::SortListsByName() {
    topicsView_->SortByName(false);
    popupsView_->SortByName(false);
}

void TfrmMain::RepaintLists() {
    lstTopics->viewport()->update();
    lstPopups->viewport()->update();
}

void TfrmMain::FillLists() {
    auto fill = [this](QListWidget* list, QComboBox* combo, TopicKind kind) {
        list->clear();
        combo->clear();
        std::vector<const TTopicNode*> nodes = std::as_const(*project_).Topics.NodesOfKind(kind);
        for (const TTopicNode* n : nodes) {
            // Filled before it joins the list: an item that belongs to a list
            // looks itself up among all the list's items at every change
            // until it is inserted, which made filling a long list quadratic.
            auto* item = new QListWidgetItem(FromCp1252(n->GetName()));
            item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(n->Id()));
            list->addItem(item);
        }
        nodes = std::as_const(*project_).Topics.NodesOfKindByName(kind);
        const QIcon glyph = imlCommands().Glyph(kind == TopicKind::Topic ? kGlyphTopic : kGlyphPopup);
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

void TfrmMain::ResetProject() {
    const QSignalBlocker b1(TheEditor), b2(lstTopics), b3(lstPopups), b4(cboTopics), b5(cboPopups);
    current_ = 0;
    TheEditor->Clear();
    bookmarks_->Clear();
    lstTopics->clear();
    lstPopups->clear();
    project_->NewProject();
    if (project_->Topics.Count() > 0)
        project_->Topics.GetNode(0).Text = DefaultTopicText(options_->DefFont, options_->DefFontSize);
    FillLists();
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

bool TfrmMain::OpenSelectedItem(QListWidget* list) {
    if (EditorTextHeld()) return false;
    QListWidgetItem* item = list->currentItem();
    if (!item) return false;
    TTopicNode* target = project_->Topics.FindById(item->data(Qt::UserRole).toULongLong());
    if (!target) return false;
    RemoveSearchHighlights();
    if (target == CurrentNode()) {
        // Already open: its text, caret and undo history stay as they are.
        SelectInCombo(*target);
        actions_->RequestUpdate();
        return true;
    }
    const bool wasModified = project_->Modified;
    TTopicNode* left = CurrentNode();
    if (left) {
        left->Text = TheEditor->GetRtfText();
        left->Bookmarks.Assign(*bookmarks_);
        left->EditorPos = TheEditor->GetSelStart();
    }
    bool loadStarted = false;
    try {
        // A load that throws must not leave every later edit unrecorded.
        const QScopedValueRollback<bool> loading(loadingModule_, true);
        if (env_.OnLoadModule) env_.OnLoadModule(target->Id());
        loadStarted = true;
        TheEditor->SetRtfText(target->Text);
    } catch (...) {
        // The module left stays the open one, with the text just stored.
        if (left && loadStarted) {
            const QScopedValueRollback<bool> loading(loadingModule_, true);
            TheEditor->SetRtfText(left->Text);
            TheEditor->SetSelStart(std::clamp(left->EditorPos, 0, std::max(TheEditor->GetTextLen(), 0)));
        }
        // Its row is the selected one again, so the list's commands start from it.
        if (left) SelectListRow(left->IsPopup() ? lstPopups : lstTopics, left->Id());
        project_->Modified = wasModified;
        throw;
    }
    current_ = target->Id();
    TheEditor->ClearUndo();
    bookmarks_->Assign(target->Bookmarks);
    TheEditor->SetSelStart(std::clamp(target->EditorPos, 0, std::max(TheEditor->GetTextLen(), 0)));
    SelectInCombo(*target);
    // The history records the module left only now that the open worked.
    if (left && !historyNavigation_) {
        history_.SetLimit(std::max(options_->HistoryStack, kMinHistoryStack));
        history_.PushBack({left->Id(), left->GetName()}, true);
    }
    ModuleOpened();
    TheEditorSelectionChange();
    // Loading a module never marks the project modified.
    project_->Modified = wasModified;
    actions_->RequestUpdate();
    return true;
}

void TfrmMain::ShowRenamedModule(TNodeId id) {
    const TTopicNode* node = project_->Topics.FindById(id);
    if (!node) return;
    const QString name = FromCp1252(node->GetName());
    QListWidget* list = node->IsPopup() ? lstPopups : lstTopics;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toULongLong() == id) list->item(i)->setText(name);
    // The combo box lists the names in order: the item moves to its new place.
    QComboBox* combo = node->IsPopup() ? cboPopups : cboTopics;
    const QSignalBlocker block(combo);
    const QVariant data = QVariant::fromValue<qulonglong>(id);
    const int old = combo->findData(data);
    if (old < 0) return;
    const bool wasCurrent = combo->currentIndex() == old;
    const QIcon icon = combo->itemIcon(old);
    combo->removeItem(old);
    int at = 0;
    while (at < combo->count()) {
        const TTopicNode* other = project_->Topics.FindById(combo->itemData(at).toULongLong());
        if (other && CompareText(other->GetName(), node->GetName()) > 0) break;
        ++at;
    }
    combo->insertItem(at, icon, name, data);
    combo->setCurrentIndex(wasCurrent ? at : -1);
}

// --- rows of added and removed modules --------------------------------------------------------

namespace {

// The place of `name` among a combo box's names (sorted ignoring case),
// after the equal ones, as the box is filled.
int SortedPlace(const QComboBox* combo, const TProject& project, const std::string& name) {
    int at = 0;
    while (at < combo->count()) {
        const TTopicNode* other = project.Topics.FindById(combo->itemData(at).toULongLong());
        if (other && CompareText(other->GetName(), name) > 0) break;
        ++at;
    }
    return at;
}

// The row of `node` in its combo box, or -1. The names stand sorted ignoring
// case, so the row is found by halving and then among the equal names; a box
// out of that order is searched whole.
int ComboRowOf(const QComboBox* combo, const TProject& project, const TTopicNode& node) {
    const std::string_view name = node.Name.View();
    auto nameAt = [&](int row) -> std::optional<std::string_view> {
        const TTopicNode* other = project.Topics.FindById(combo->itemData(row).toULongLong());
        if (!other) return std::nullopt;
        return other->Name.View();
    };
    int first = 0, last = combo->count();
    while (first < last) {
        const int mid = first + (last - first) / 2;
        const auto other = nameAt(mid);
        if (!other) break;
        if (CompareText(*other, name) < 0)
            first = mid + 1;
        else
            last = mid;
    }
    if (first == last)
        for (int row = first; row < combo->count(); ++row) {
            if (combo->itemData(row).toULongLong() == node.Id()) return row;
            const auto other = nameAt(row);
            if (!other || CompareText(*other, name) != 0) break;
        }
    return combo->findData(QVariant::fromValue<qulonglong>(node.Id()));
}

}  // namespace

void TfrmMain::AddModuleRow(TNodeId id) {
    const TTopicNode* node = project_->Topics.FindById(id);
    if (!node) return;
    const QVariant data = QVariant::fromValue<qulonglong>(id);
    QListWidget* list = node->IsPopup() ? lstPopups : lstTopics;
    auto* item = new QListWidgetItem(FromCp1252(node->GetName()), list);
    item->setData(Qt::UserRole, data);
    QComboBox* combo = node->IsPopup() ? cboPopups : cboTopics;
    const QSignalBlocker block(combo);
    const int current = combo->currentIndex();
    const int at = SortedPlace(combo, *project_, node->GetName());
    const QIcon glyph = imlCommands().Glyph(node->IsPopup() ? kGlyphPopup : kGlyphTopic);
    combo->insertItem(at, glyph, FromCp1252(node->GetName()), data);
    combo->setCurrentIndex(current < 0 ? -1 : (current >= at ? current + 1 : current));
}

void TfrmMain::RemoveModuleRow(TNodeId id) {
    const QVariant data = QVariant::fromValue<qulonglong>(id);
    for (QListWidget* list : {lstTopics, lstPopups}) {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->data(Qt::UserRole).toULongLong() != id) continue;
            delete list->takeItem(i);
            list->setCurrentRow(SelectAfterRemoval(i, list->count()));
            list->setFocus();
            break;
        }
    }
    for (QComboBox* combo : {cboTopics, cboPopups}) {
        const QSignalBlocker block(combo);
        const int at = combo->findData(data);
        if (at < 0) continue;
        const bool wasCurrent = combo->currentIndex() == at;
        combo->removeItem(at);
        if (wasCurrent) combo->setCurrentIndex(-1);
    }
}

void TfrmMain::SelectInCombo(const TTopicNode& node) {
    QComboBox* mine = node.IsPopup() ? cboPopups : cboTopics;
    QComboBox* other = node.IsPopup() ? cboTopics : cboPopups;
    const QSignalBlocker b1(mine), b2(other);
    // Every open selects its module here: a search through the whole box
    // made a walk over all modules quadratic.
    mine->setCurrentIndex(ComboRowOf(mine, *project_, node));
    other->setCurrentIndex(-1);
}

void TfrmMain::SelectListRow(QListWidget* list, TNodeId id) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toULongLong() == id) {
            list->setCurrentRow(i);
            return;
        }
}

void TfrmMain::lstTopicsDblClick() { OpenSelectedItem(lstTopics); }
void TfrmMain::lstPopupsDblClick() { OpenSelectedItem(lstPopups); }

void TfrmMain::cboTopicsChange() {
    if (cboTopics->currentIndex() < 0) return;
    cboPopups->setCurrentIndex(-1);
    SelectListRow(lstTopics, cboTopics->currentData().toULongLong());
    OpenSelectedItem(lstTopics);
    tbsProject->setCurrentIndex(0);
    TheEditor->setFocus();
}

void TfrmMain::cboPopupsChange() {
    if (cboPopups->currentIndex() < 0) return;
    cboTopics->setCurrentIndex(-1);
    SelectListRow(lstPopups, cboPopups->currentData().toULongLong());
    OpenSelectedItem(lstPopups);
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
        OpenSelectedItem(lstTopics);
        return;
    }
    index = popupsView_->IndexOfNode(id);
    if (index >= 0) {
        tbsProject->setCurrentIndex(1);
        lstPopups->setCurrentRow(index);
        OpenSelectedItem(lstPopups);
    }
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
    QAction* editing = moduleCommands_->actSetEditing;
    QAction* done = moduleCommands_->actSetDone;
    mnuProjPopEdit->setText(QStringLiteral("Ed&it Topic"));
    for (QAction* a : {mnuProjPopEdit, mnuProjPopSetCnt, editing, done, moduleCommands_->mnuProjPopRename,
                       moduleCommands_->mnuProjPopRenumber})
        a->setEnabled(true);
    const TTopicNode* node = project_->Topics.FindById(GetTopic(-1));
    editing->setChecked(node && node->State == TopicState::Edit);
    done->setChecked(node && node->State == TopicState::Done);
    topicCommands_->PrepareExplorerMenu(ExplorerPage::Topics, node != nullptr);
}

void TfrmMain::lstPopupsContextPopup() {
    QAction* editing = moduleCommands_->actSetEditing;
    QAction* done = moduleCommands_->actSetDone;
    mnuProjPopEdit->setText(QStringLiteral("Ed&it Popup"));
    mnuProjPopSetCnt->setEnabled(false);
    QListWidgetItem* item = lstPopups->currentItem();
    // A node no longer in the project offers nothing to act on.
    const TTopicNode* node = item ? project_->Topics.FindById(item->data(Qt::UserRole).toULongLong()) : nullptr;
    for (QAction* a :
         {mnuProjPopEdit, editing, done, moduleCommands_->mnuProjPopRename, moduleCommands_->mnuProjPopRenumber})
        a->setEnabled(node != nullptr);
    editing->setChecked(node && node->State == TopicState::Edit);
    done->setChecked(node && node->State == TopicState::Done);
    topicCommands_->PrepareExplorerMenu(ExplorerPage::Popups, node != nullptr);
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
    formatCommands_->MatchStyleToSelection();
    charFormatCommands_->EditorSelectionChange();
}

}  // namespace qm
