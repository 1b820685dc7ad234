// The navigation history with its tool bar and drop-down menus, following
// links from the editor, and the editor's frame: the bookmark gutter, the
// text's margins, the ruler's origin, the editor's pop-up menu and the Rich
// Text Output pane.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/gutter.h"
#include "editor/richtext2.h"
#include "mainwindow/editorframe.h"
#include "mainwindow/editorframecommands.h"
#include "mainwindow/formatcommands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/navigationcommands.h"
#include "mainwindow/rtfoutputcommands.h"
#include "mainwindow/tagcommands.h"
#include "mainwindow/viewcommands.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"
#include "widgets/commandbar.h"

namespace qm {

namespace {

// The text's margins inside the viewport: 3 pixels from the gutter, which
// puts the text 35 pixels from the editor's edge with the gutter and, with a
// viewport margin of 7 without it, 10 pixels.
const QMargins kTextMargins(3, 3, 10, 3);
constexpr int kMarginWithoutGutter = 7;
constexpr int kHistoryMenuItems = 10;

}  // namespace

// --- the navigation history ----------------------------------------------------------

THistoryEntry TfrmMain::HistoryEntryOf(TNodeId id) const {
    const TTopicNode* node = id && project_ ? project_->Topics.FindById(id) : nullptr;
    return {node ? id : 0, node ? node->GetName() : std::string()};
}

QStringList TfrmMain::HistoryNames(HistoryList list) const {
    QStringList out;
    for (const THistoryEntry& e : history_.Entries(list)) {
        const TTopicNode* node = project_ ? project_->Topics.FindById(e.Id) : nullptr;
        out << FromCp1252(node ? node->GetName() : e.Name);
    }
    return out;
}

QStringList TfrmMain::BackHistory() const { return HistoryNames(HistoryList::Back); }

QStringList TfrmMain::ForwardHistory() const { return HistoryNames(HistoryList::Forward); }

void TfrmMain::ClearHistory() {
    history_.Clear();
    UpdateHistoryMenus();
    if (actions_) actions_->RequestUpdate();
}

void TfrmMain::HistoryStep(HistoryList list, int k) {
    if (EditorTextHeld()) return;
    // An empty list, or an entry a stale menu still showed: no step.
    const THistoryEntry* entry = history_.Target(list, k);
    if (!entry) return;
    const THistoryEntry target = *entry;
    const TTopicNode* node = project_->Topics.FindById(target.Id);
    if (!node) {
        ui_.Information(QStringLiteral("The module ") + FromCp1252(target.Name) +
                        QStringLiteral(" no longer exists in the project."));
        history_.Drop(list, k);
        UpdateHistoryMenus();
        actions_->RequestUpdate();
        return;
    }
    const THistoryEntry left = HistoryEntryOf(current_);
    // A step that does not open its module leaves the explorer on its page.
    const int page = tbsProject->currentIndex();
    bool opened = false;
    auto restorePage = qScopeGuard([&] {
        if (!opened) tbsProject->setCurrentIndex(page);
    });
    {
        // The open routine records nothing while the history moves; the flag
        // falls back however the open ends.
        const QScopedValueRollback<bool> navigating(historyNavigation_, true);
        QListWidget* moduleList = node->IsPopup() ? lstPopups : lstTopics;
        tbsProject->setCurrentIndex(node->IsPopup() ? 1 : 0);
        SelectListRow(moduleList, target.Id);
        QListWidgetItem* item = moduleList->currentItem();
        if (item && item->data(Qt::UserRole).toULongLong() == target.Id) opened = OpenSelectedItem(moduleList);
    }
    // The lists change only once the module is open.
    if (opened) history_.StepTo(list, k, left);
    UpdateHistoryMenus();
    actions_->RequestUpdate();
}

void TfrmMain::UpdateHistoryMenus() {
    if (!mnuHistBack || !mnuHistForward) return;
    // The menus show the modules' names of now: a renamed module keeps its
    // entry, and a removed one the name it last had.
    history_.RefreshNames([this](TNodeId id) -> std::optional<std::string> {
        const TTopicNode* node = project_ ? project_->Topics.FindById(id) : nullptr;
        if (!node) return std::nullopt;
        return node->GetName();
    });
    for (auto [menu, list] : {std::pair{mnuHistBack, HistoryList::Back}, {mnuHistForward, HistoryList::Forward}}) {
        const std::vector<THistoryEntry>& entries = history_.Entries(list);
        const QList<QAction*> items = menu->actions();
        for (int i = 0; i < items.size(); ++i) {
            QAction* item = items[i];
            const bool used = i < static_cast<int>(entries.size());
            if (used) {
                QString name = FromCp1252(entries[i].Name);
                name.replace(QLatin1Char('&'), QStringLiteral("&&"));
                item->setText(QStringLiteral("&%1  %2").arg(i).arg(name));
            }
            item->setVisible(used);
        }
    }
}

bool TfrmMain::HistoryBarShown() const { return tbHistory && !tbHistory->isHidden(); }

void TfrmMain::ShowHistoryBar(bool show) {
    if (tbHistory) tbHistory->setVisible(show);
}

void TfrmMain::CreateHistoryBar() {
    const TNavigationCommands& n = *navigationCommands_;
    // The menu layout puts the bar in its place among the others.
    tbHistory = new QToolBar(QStringLiteral("History"), this);
    tbHistory->setObjectName(QStringLiteral("tbHistory"));
    auto makeButton = [this](const char* name, QAction* action, const char* menuName, const char* itemName,
                             HistoryList list, QMenu*& menu) {
        menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(menuName));
        for (int k = 0; k < kHistoryMenuItems; ++k) {
            QAction* item = menu->addAction(QString());
            item->setObjectName(QString::fromLatin1(itemName) + QString::number(k));
            // The entry's index, never the caption: a name may hold anything.
            item->setData(k);
            item->setVisible(false);
            connect(item, &QAction::triggered, this,
                    [this, item, list] { run([this, item, list] { HistoryStep(list, item->data().toInt()); }); });
        }
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateHistoryMenus(); });
        auto* button = new QToolButton(tbHistory);
        button->setObjectName(QString::fromLatin1(name));
        button->setDefaultAction(action);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        tbHistory->addWidget(button);
        return button;
    };
    tbbHistBack =
        makeButton("tbbHistBack", n.actHistBack, "mnuPopHistBack", "mnuHistBack", HistoryList::Back, mnuHistBack);
    tbbHistForward = makeButton("tbbHistForward", n.actHistForward, "mnuPopHistForward", "mnuHistForward",
                                HistoryList::Forward, mnuHistForward);
    UpdateHistoryMenus();
}

// --- links and the editor's pop-up menu ------------------------------------------------

void TfrmMain::CreateNavigationPopItems() {
    // The tag commands own the editor's pop-up menu and its right click; the
    // link item joins it at the top and is enabled when that menu opens.
    QMenu* menu = tagCommands_->EditorPopMenu;
    mnuEditorPopFollowLink = new QAction(QStringLiteral("Follow Link"), menu);
    mnuEditorPopFollowLink->setObjectName(QStringLiteral("mnuEditorPopFollowLink"));
    mnuEditorPopFollowLink->setIcon(navigationCommands_->actFollowLink->icon());
    connect(mnuEditorPopFollowLink, &QAction::triggered, this,
            [this] { run([this] { navigationCommands_->actFollowLinkExecute(); }); });
    const QList<QAction*> items = menu->actions();
    QAction* first = items.isEmpty() ? nullptr : items.front();
    menu->insertAction(first, mnuEditorPopFollowLink);
    menu->insertSeparator(first);
    connect(menu, &QMenu::aboutToShow, this, [this] { EditorPopMenuPopup(); });

    // The Rich Text Output pane's menu.
    const TRtfOutputCommands& r = *rtfOutputCommands_;
    for (QAction* a : {r.actRtfUpdate, r.actRtfRefresh, r.actRtfClose, static_cast<QAction*>(nullptr),
                       r.actRtfSelectAll, r.actRtfCopy, r.actRtfCut, r.actRtfPaste, r.actRtfUndo}) {
        if (a)
            mnuPopRtf->addAction(a);
        else
            mnuPopRtf->addSeparator();
    }
    actions_->WatchMenu(mnuPopRtf);
}

QMenu* TfrmMain::EditorPopup() const { return tagCommands_->EditorPopMenu; }

void TfrmMain::EditorPopMenuPopup() {
    std::string name;
    mnuEditorPopFollowLink->setEnabled(TNavigationCommands::LinkAt(*TheEditor, TheEditor->GetSelStart(), name));
}

bool TfrmMain::NavigationViewportEvent(QEvent* e) {
    switch (e->type()) {
        case QEvent::MouseButtonDblClick: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() != Qt::LeftButton || !options_ || !options_->DblClickFollowsLink) return false;
            const int pos = TheEditor->cursorForPosition(m->position().toPoint()).position();
            // Off a link the editor selects the word, as for any double-click.
            bool followed = false;
            run([&] { followed = navigationCommands_->FollowLinkAt(pos); });
            return followed;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && editorFrameCommands_->FormatPainting())
                run([this] { editorFrameCommands_->EditorMouseUp(); });
            return false;
        default: return false;
    }
}

// --- the editor frame ------------------------------------------------------------------------

QWidget* TfrmMain::CreateEditorFrame(QWidget* parent) {
    auto* splitter = new TClickSplitter(Qt::Vertical, parent);
    splitter->setObjectName(QStringLiteral("splRtf"));
    splRtf = splitter;
    splitter->addWidget(TheEditor);
    TheEditor->SetTextMargins(kTextMargins);
    pnlGutter = new TGutter(*TheEditor);
    pnlGutter->SetBookmarks(TGutter::BookmarkSource([this] { return bookmarks_.get(); }));
    pnlGutter->hide();

    pnlRtf = new QWidget(splitter);
    pnlRtf->setObjectName(QStringLiteral("pnlRtf"));
    auto* box = new QVBoxLayout(pnlRtf);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    pbRtf = new TRtfHeader(pnlRtf);
    box->addWidget(pbRtf);
    txtRtf = new QPlainTextEdit(pnlRtf);
    txtRtf->setObjectName(QStringLiteral("txtRtf"));
    box->addWidget(txtRtf, 1);
    splitter->addWidget(pnlRtf);
    splitter->setCollapsible(0, false);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    pnlRtf->hide();
    mnuPopRtf = new QMenu(this);
    mnuPopRtf->setObjectName(QStringLiteral("mnuPopRtf"));
    // Opening the pane's menu gives the memo the focus.
    connect(mnuPopRtf, &QMenu::aboutToShow, this, [this] { txtRtf->setFocus(); });
    for (QWidget* w : {static_cast<QWidget*>(txtRtf), pbRtf}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& p) { mnuPopRtf->popup(w->mapToGlobal(p)); });
    }
    connect(splitter, &TClickSplitter::handleClicked, this,
            [this] { run([this] { viewCommands_->actToggleRtf->trigger(); }); });
    UpdateEditorMargins();
    return splitter;
}

void TfrmMain::UpdateEditorMargins() {
    TheEditor->SetLeftViewportMargin(pnlGutter->isHidden() ? kMarginWithoutGutter : TGutter::Width);
}

void TfrmMain::ShowGutter(bool show) {
    if (options_) options_->ShowGutter = show;
    pnlGutter->setVisible(show);
    UpdateEditorMargins();
    viewCommands_->actToggleGutter->setChecked(show);
    if (QToolButton* b = ncbEditor->Button(1)) b->setChecked(show);
    // The text moved under the ruler: its zero follows now, not at the next layout.
    formatCommands_->UpdateRulerOrigin();
    TheEditor->viewport()->update();
}

void TfrmMain::RefreshGutter() {
    pnlGutter->update();
    TheEditor->viewport()->update();
    if (actions_) actions_->RequestUpdate();
}

void TfrmMain::RefillRtfOutput() { txtRtf->setPlainText(FromCp1252(TheEditor->GetRtfText())); }

void TfrmMain::ShowRtfOutput(bool show) {
    if (show) RefillRtfOutput();
    pnlRtf->setVisible(show);
    if (options_) options_->ShowRtf = show;
}

void TfrmMain::ModuleOpened() {
    if (!pnlRtf->isHidden()) RefillRtfOutput();
    TheEditor->viewport()->update();
    pnlGutter->update();
    UpdateHistoryMenus();
}

}  // namespace qm
