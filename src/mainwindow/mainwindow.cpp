// The main window's construction, start-up, shutdown, panes and command state.
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstring>

#include "dialogs/dialogfactory.h"
#include "dialogs/findform.h"
#include "editor/gutter.h"
#include "editor/richtext2.h"
#include "editor/ruler.h"
#include "editor/vlist.h"
#include "mainwindow/aboutcommands.h"
#include "mainwindow/authoringcommands.h"
#include "mainwindow/buildcommands.h"
#include "mainwindow/charformatcommands.h"
#include "mainwindow/charpane.h"
#include "mainwindow/editcommands.h"
#include "mainwindow/editorframecommands.h"
#include "mainwindow/exportcommands.h"
#include "mainwindow/findcommands.h"
#include "mainwindow/formatcommands.h"
#include "mainwindow/helpcommands.h"
#include "mainwindow/imagecommands.h"
#include "mainwindow/importcommands.h"
#include "mainwindow/menulayout.h"
#include "mainwindow/modulecommands.h"
#include "mainwindow/navigationcommands.h"
#include "mainwindow/printcommands.h"
#include "mainwindow/progresswindow.h"
#include "mainwindow/projectcommands.h"
#include "mainwindow/rtfoutputcommands.h"
#include "mainwindow/settingscommands.h"
#include "mainwindow/spellcommands.h"
#include "mainwindow/splash.h"
#include "mainwindow/stylecombo.h"
#include "mainwindow/tagcommands.h"
#include "mainwindow/topiccommands.h"
#include "mainwindow/topicsviewdelegate.h"
#include "mainwindow/transfercommands.h"
#include "mainwindow/usertoolsmenu.h"
#include "mainwindow/viewcommands.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "spell/spellengine.h"
#include "util/fileio.h"
#include "util/settingsstore.h"
#include "widgets/actiontable.h"
#include "widgets/commandbar.h"
#include "widgets/commandguard.h"
#include "widgets/icons.h"
#include "widgets/mrumenu.h"
#include "widgets/statusbar.h"

namespace qm {

// --- construction ---------------------------------------------------------------

TfrmMain::TfrmMain(TMainWindowEnv env, QWidget* parent) : QMainWindow(parent), env_(std::move(env)), ui_(*env_.Ui) {
    dialogs_ = std::make_unique<TDialogFactory>(ui_, DataFolder());
    projectCommands_ = std::make_unique<TProjectCommands>(*this);
    moduleCommands_ = std::make_unique<TModuleCommands>(*this);
    navigationCommands_ = std::make_unique<TNavigationCommands>(*this);
    viewCommands_ = std::make_unique<TViewCommands>(*this);
    buildCommands_ = std::make_unique<TBuildCommands>(*this, env_.TempFolder);
    importCommands_ = std::make_unique<TImportCommands>(*this, *projectCommands_);
    spellCommands_ = std::make_unique<TSpellCommands>(*this);
    findCommands_ = std::make_unique<TFindCommands>(*this);
    topicCommands_ = std::make_unique<TTopicCommands>(*this, *moduleCommands_);
    exportCommands_ = std::make_unique<TExportCommands>(*this);
    settingsCommands_ = std::make_unique<TSettingsCommands>(*this);
    handlers_ = {projectCommands_.get(), moduleCommands_.get(), navigationCommands_.get(), viewCommands_.get(),
                 buildCommands_.get(),   importCommands_.get(), spellCommands_.get(),      findCommands_.get()};
    editorFrameCommands_ = std::make_unique<TEditorFrameCommands>(*this);
    rtfOutputCommands_ = std::make_unique<TRtfOutputCommands>(*this, *viewCommands_);
    helpCommands_ = std::make_unique<THelpCommands>(*this);
    handlers_.insert(handlers_.end(), {editorFrameCommands_.get(), rtfOutputCommands_.get(), helpCommands_.get()});
    handlers_.insert(handlers_.end(), {topicCommands_.get(), exportCommands_.get(), settingsCommands_.get()});
    authoringCommands_ = std::make_unique<TAuthoringCommands>(*this);
    handlers_.push_back(authoringCommands_.get());
    tagCommands_ = std::make_unique<TTagCommands>(*this);
    handlers_.push_back(tagCommands_.get());
    formatCommands_ = std::make_unique<TFormatCommands>(*this);
    handlers_.push_back(formatCommands_.get());
    imageCommands_ = std::make_unique<TImageCommands>(*this, *tagCommands_, env_.ProgramFolder, env_.TempFolder);
    aboutCommands_ = std::make_unique<TAboutCommands>(*this);
    handlers_.insert(handlers_.end(), {imageCommands_.get(), aboutCommands_.get()});
    editCommands_ = std::make_unique<TEditCommands>(*this, *topicCommands_);
    printCommands_ = std::make_unique<TPrintCommands>(*this);
    transferCommands_ = std::make_unique<TTransferCommands>(*this);
    charFormatCommands_ = std::make_unique<TCharFormatCommands>(*this);
    handlers_.insert(handlers_.end(),
                     {editCommands_.get(), printCommands_.get(), transferCommands_.get(), charFormatCommands_.get()});
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QmIcon(QStringLiteral("quillmark")));
    setWindowTitle(QStringLiteral("Quillmark"));
    // Fits a screen 1280 pixels wide with its frame.
    resize(1200, 760);
    CreateWidgets();
    CreateActions();
}

namespace {

QListWidget* MakeModuleList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setDragEnabled(true);
    list->setDragDropMode(QAbstractItemView::DragOnly);
    return list;
}

QHeaderView* MakeHeader(const char* name, const QString& second, QWidget* parent) {
    auto* header = new QHeaderView(Qt::Horizontal, parent);
    header->setObjectName(QString::fromLatin1(name));
    auto* model = new QStandardItemModel(0, 2, header);
    model->setHorizontalHeaderLabels({QStringLiteral("ID"), second});
    header->setModel(model);
    header->setSectionsClickable(true);
    header->resizeSection(0, 50);
    header->setStretchLastSection(true);
    header->setFixedHeight(header->fontMetrics().height() + 8);
    return header;
}

QTreeWidget* MakeTree(const char* name, QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QString::fromLatin1(name));
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(false);
    return tree;
}

}  // namespace

void TfrmMain::CreateWidgets() {
    // Editor with ruler and editor command bar.
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlEditor"));
    auto* vbox = new QVBoxLayout(central);
    vbox->setContentsMargins(0, 0, 0, 0);
    vbox->setSpacing(0);
    Ruler = new TRuler(central);
    vbox->addWidget(Ruler);
    auto* hbox = new QHBoxLayout();
    hbox->setSpacing(0);
    ncbEditor = new TQorCommandBar(QStringLiteral("ncbEditor"), 16, central);
    hbox->addWidget(ncbEditor);
    TheEditor = new TRichText2(central);
    TheEditor->setObjectName(QStringLiteral("TheEditor"));
    TheEditor->viewport()->installEventFilter(this);
    TheEditor->installEventFilter(this);
    TheEditor->setAcceptDrops(true);
    hbox->addWidget(CreateEditorFrame(central), 1);
    vbox->addLayout(hbox, 1);
    // The special characters, under the text they go into.
    pnlSpecChars = new TSpecCharPane(central);
    pnlSpecChars->hide();
    vbox->addWidget(pnlSpecChars);
    rtfUser = new TRichText2(central);
    rtfUser->setObjectName(QStringLiteral("rtfUser"));
    rtfUser->hide();
    setCentralWidget(central);

    // Project explorer.
    pnlProject = new QDockWidget(QStringLiteral("Project"), this);
    pnlProject->setObjectName(QStringLiteral("pnlProject"));
    tbsProject = new QTabWidget(pnlProject);
    tbsProject->setObjectName(QStringLiteral("tbsProject"));
    auto makePage = [&](const char* pageName, const char* listName, const char* headerName, const QString& title,
                        const char* barName, QListWidget*& list, QHeaderView*& header, TQorCommandBar*& bar) {
        auto* page = new QWidget(tbsProject);
        page->setObjectName(QString::fromLatin1(pageName));
        auto* pv = new QVBoxLayout(page);
        pv->setContentsMargins(2, 2, 2, 2);
        pv->setSpacing(0);
        header = MakeHeader(headerName, title, page);
        pv->addWidget(header);
        auto* ph = new QHBoxLayout();
        list = MakeModuleList(listName, page);
        list->installEventFilter(this);
        ph->addWidget(list, 1);
        bar = new TQorCommandBar(QString::fromLatin1(barName), 15, page);
        ph->addWidget(bar);
        pv->addLayout(ph, 1);
        tbsProject->addTab(page, title);
    };
    makePage("pnlTopics", "lstTopics", "hdrTopics", QStringLiteral("Topics"), "ncbTopics", lstTopics, hdrTopics,
             ncbTopics);
    makePage("pnlPopups", "lstPopups", "hdrPopups", QStringLiteral("Popups"), "ncbPopups", lstPopups, hdrPopups,
             ncbPopups);
    pnlProject->setWidget(tbsProject);
    // The panes dock at either side or at the bottom; the top holds the tool bars.
    constexpr Qt::DockWidgetAreas kPaneSites =
        Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea;
    pnlProject->setAllowedAreas(kPaneSites);
    addDockWidget(Qt::LeftDockWidgetArea, pnlProject);

    // Messages pane.
    pnlMessages = new QDockWidget(QStringLiteral("Messages"), this);
    pnlMessages->setObjectName(QStringLiteral("pnlMessages"));
    auto* msgs = new QWidget(pnlMessages);
    auto* mv = new QVBoxLayout(msgs);
    mv->setContentsMargins(0, 0, 0, 0);
    mv->setSpacing(0);
    tvwQuillmark = MakeTree("tvwQuillmark", msgs);
    tvwHCRTF = MakeTree("tvwHCRTF", msgs);
    lvwFind = MakeTree("lvwFind", msgs);
    lvwFind->setHeaderHidden(false);
    lvwFind->setHeaderLabels({QStringLiteral("Module"), QStringLiteral("Offset"), QStringLiteral("Length")});
    lvwFind->setUniformRowHeights(true);
    lvwFind->header()->resizeSection(0, 250);
    lvwFind->installEventFilter(this);
    tvwQuillmark->installEventFilter(this);
    mv->addWidget(tvwQuillmark, 1);
    mv->addWidget(tvwHCRTF, 1);
    mv->addWidget(lvwFind, 1);
    tsOutputs = new QTabBar(msgs);
    tsOutputs->setObjectName(QStringLiteral("tsOutputs"));
    tsOutputs->setShape(QTabBar::RoundedSouth);
    tsOutputs->addTab(QStringLiteral(" Quillmark "));
    tsOutputs->addTab(QStringLiteral("  HCRTF  "));
    tsOutputs->addTab(QStringLiteral("  Search  "));
    mv->addWidget(tsOutputs);
    pnlMessages->setWidget(msgs);
    pnlMessages->setAllowedAreas(kPaneSites);
    addDockWidget(Qt::BottomDockWidgetArea, pnlMessages);
    tsOutputsChange(0);

    mnuPopResults = new QMenu(this);
    mnuPopResults->setObjectName(QStringLiteral("mnuPopResults"));
    QAction* action1 = mnuPopResults->addAction(QStringLiteral("Save Output"));
    action1->setObjectName(QStringLiteral("mnuPopResultsAction1"));
    action1->setIcon(QmIcon(QStringLiteral("document-save-as")));
    mnuPopResults->addSeparator();
    QAction* closeResults = mnuPopResults->addAction(QStringLiteral("Close Results"));
    closeResults->setObjectName(QStringLiteral("mnuPopResultsClose"));
    closeResults->setIcon(QmIcon(QStringLiteral("pane-close")));
    closeResults->setStatusTip(QStringLiteral("Closes the results pane."));
    connect(mnuPopResults, &QMenu::aboutToShow, this, [this, action1] {
        if (frmVList) frmVList->hide();
        const bool search = tsOutputs->currentIndex() == 2;
        action1->setText(search ? QStringLiteral("Clear results") : QStringLiteral("Save Output"));
        action1->setIcon(QmIcon(search ? QStringLiteral("edit-clear") : QStringLiteral("document-save-as")));
        action1->setStatusTip(search ? QStringLiteral("Clears the search results.")
                                     : QStringLiteral("Saves the output"));
    });
    connect(action1, &QAction::triggered, this, [this] {
        run([this] {
            const int tab = tsOutputs->currentIndex();
            if (tab == 2)
                lvwFind->clear();
            else
                SaveOutput(tab);
        });
    });
    connect(closeResults, &QAction::triggered, this, [this] { run([this] { viewCommands_->ToggleMessages(); }); });
    for (QWidget* w :
         {static_cast<QWidget*>(tvwQuillmark), static_cast<QWidget*>(tvwHCRTF), static_cast<QWidget*>(lvwFind)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& p) { mnuPopResults->popup(w->mapToGlobal(p)); });
    }

    // The explorer's pop-up menu; the state items are the shared actions.
    ProjectPopMenu = new QMenu(this);
    ProjectPopMenu->setObjectName(QStringLiteral("ProjectPopMenu"));
    mnuProjPopEdit = ProjectPopMenu->addAction(QStringLiteral("Edit"));
    mnuProjPopEdit->setObjectName(QStringLiteral("mnuProjPopEdit"));
    mnuProjPopEdit->setIcon(QmIcon(QStringLiteral("accessories-text-editor")));
    connect(mnuProjPopEdit, &QAction::triggered, this, [this] {
        run([this] {
            if (ActiveList()->currentItem()) OpenSelectedItem(ActiveList());
        });
    });
    mnuProjPopSetCnt = ProjectPopMenu->addAction(QStringLiteral("&Set as contents page"));
    mnuProjPopSetCnt->setObjectName(QStringLiteral("mnuProjPopSetCnt"));
    mnuProjPopSetCnt->setIcon(imlCommands().Glyph(kContentsTopicImage));
    connect(mnuProjPopSetCnt, &QAction::triggered, this, [this] { run([this] { moduleCommands_->SetContents(); }); });
    for (QListWidget* list : {lstTopics, lstPopups}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& p) {
            if (list == lstTopics)
                lstTopicsContextPopup();
            else
                lstPopupsContextPopup();
            ProjectPopMenu->popup(list->viewport()->mapToGlobal(p));
        });
    }

    // Combo boxes.
    cboTopics = new QComboBox(this);
    cboTopics->setObjectName(QStringLiteral("cboTopics"));
    cboTopics->setMinimumContentsLength(20);
    cboPopups = new QComboBox(this);
    cboPopups->setObjectName(QStringLiteral("cboPopups"));
    cboPopups->setMinimumContentsLength(20);
    cboFonts = new QComboBox(this);
    cboFonts->setObjectName(QStringLiteral("cboFonts"));
    cboFontSize = new QComboBox(this);
    cboFontSize->setObjectName(QStringLiteral("cboFontSize"));
    cboStyles = new QComboBox(this);
    cboStyles->setObjectName(QStringLiteral("cboStyles"));
    cboStyles->setMinimumWidth(125);

    status_ = new StatusPanels(statusBar());
    statusBar()->setObjectName(QStringLiteral("sbrStatus"));

    mnuFileReopen = new QMenu(QStringLiteral("&Reopen"), this);
    mnuFileReopen->setObjectName(QStringLiteral("mnuFileReopen"));
    MruPopup = new QMenu(this);
    MruPopup->setObjectName(QStringLiteral("MruPopup"));

    // Signals of the lists, combos, header and editor.
    connect(lstTopics, &QListWidget::itemDoubleClicked, this, [this] { run([this] { lstTopicsDblClick(); }); });
    connect(lstPopups, &QListWidget::itemDoubleClicked, this, [this] { run([this] { lstPopupsDblClick(); }); });
    connect(cboTopics, qOverload<int>(&QComboBox::activated), this, [this] { run([this] { cboTopicsChange(); }); });
    connect(cboPopups, qOverload<int>(&QComboBox::activated), this, [this] { run([this] { cboPopupsChange(); }); });
    connect(hdrTopics, &QHeaderView::sectionClicked, this,
            [this](int s) { run([this, s] { hdrTopicsSectionClick(s); }); });
    connect(hdrPopups, &QHeaderView::sectionClicked, this,
            [this](int s) { run([this, s] { hdrPopupsSectionClick(s); }); });
    connect(tvwQuillmark, &QTreeWidget::itemDoubleClicked, this, [this] { run([this] { tvwQuillmarkDblClick(); }); });
    connect(lvwFind, &QTreeWidget::itemDoubleClicked, this,
            [this] { run([this] { findCommands_->lvwFindDblClick(); }); });
    connect(tsOutputs, &QTabBar::currentChanged, this, [this](int i) { tsOutputsChange(i); });
    connect(ncbTopics, &TQorCommandBar::OnButtonClick, this, [this](int t) {
        run([this, t] {
            moduleCommands_->TopicButtonClick(t);
            topicCommands_->TopicButtonClick(t);
        });
    });
    connect(ncbPopups, &TQorCommandBar::OnButtonClick, this, [this](int t) {
        run([this, t] {
            moduleCommands_->PopupButtonClick(t);
            topicCommands_->PopupButtonClick(t);
        });
    });
    connect(ncbEditor, &TQorCommandBar::OnButtonClick, this,
            [this](int t) { run([this, t] { EditorButtonClick(t); }); });
    TheEditor->OnChange = [this] { TheEditorChange(); };
    TheEditor->OnSelectionChange = [this] { TheEditorSelectionChange(); };
}

void TfrmMain::run(const std::function<void()>& command) { runCommand(ui_, command); }

void TfrmMain::CreateActions() {
    actions_ = new ActionTable(this, ui_, status_);
    for (TCommandHandler* h : handlers_) h->CreateActions(*actions_);
    actions_->SetUpdater([this] { updateActions(); });
    CreateMenus();
    actions_->RequestOn(lstTopics, &QListWidget::currentRowChanged);
    actions_->RequestOn(lstPopups, &QListWidget::currentRowChanged);
    actions_->RequestOn(tbsProject, &QTabWidget::currentChanged);
    actions_->RequestOn(TheEditor, &QTextEdit::selectionChanged);
    actions_->RequestOnFocusChange();
    // The pane toggles' checks follow the panes however they are moved or closed.
    for (QDockWidget* pane : {pnlProject, pnlMessages}) {
        actions_->RequestOn(pane, &QDockWidget::visibilityChanged);
        actions_->RequestOn(pane, &QDockWidget::topLevelChanged);
        actions_->RequestOn(pane, &QDockWidget::dockLocationChanged);
    }
}

void TfrmMain::CreateMenus() {
    // The parts of the menus and tool bars that are more than an action;
    // MainWindowLayout (menulayout.cpp) places them by objectName.
    CreateHistoryBar();
    tbbRemoveSelection = new QToolButton(this);
    tbbRemoveSelection->setObjectName(QStringLiteral("tbbRemoveSelection"));
    tbbRemoveSelection->setDefaultAction(topicCommands_->actRemoveTopic);
    tbbSelectionProps = new QToolButton(this);
    tbbSelectionProps->setObjectName(QStringLiteral("tbbSelectionProps"));
    tbbSelectionProps->setDefaultAction(topicCommands_->mnuProjectItemProperties);
    // The user tools follow this separator at the end of the Tools menu.
    mnuToolsUserTools = new QAction(this);
    mnuToolsUserTools->setObjectName(QStringLiteral("mnuToolsUserTools"));
    mnuToolsUserTools->setSeparator(true);
    // The boxes keep one width whatever the fonts and names they list, so
    // the tool bars' rows stay as laid out.
    for (auto [box, letters] :
         {std::pair{cboFonts, 16}, std::pair{cboFontSize, 3}, std::pair{cboTopics, 16}, std::pair{cboPopups, 16}}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(letters);
    }
    TNamedParts named;
    for (QObject* part : std::initializer_list<QObject*>{mnuFileReopen, MruPopup, charFormatCommands_->ColorPopMenu,
                                                         charFormatCommands_->tbbColors, cboStyles, cboFonts,
                                                         cboFontSize, cboTopics, cboPopups, tbHistory,
                                                         tbbRemoveSelection, tbbSelectionProps, mnuToolsUserTools})
        named.insert(part->objectName(), part);
    layout_ = BuildLayout(*this, *actions_, named, MainWindowLayout());
    for (QMenu* menu : layout_.AllMenus()) actions_->WatchMenu(menu);
    for (QToolBar* bar : layout_.ToolBars) {
        bar->setIconSize(QSize(16, 16));
        actions_->RequestOn(bar, &QToolBar::visibilityChanged);
    }

    // The pop-up menus: the explorer's, the editor's and the Rich Text Output pane's.
    const TModuleCommands& m = *moduleCommands_;
    const TTopicCommands& t = *topicCommands_;
    ProjectPopMenu->insertActions(mnuProjPopSetCnt, {m.mnuProjPopRename, m.mnuProjPopRenumber});
    ProjectPopMenu->addSeparator();
    ProjectPopMenu->addAction(m.actSetEditing);
    ProjectPopMenu->addAction(m.actSetDone);
    ProjectPopMenu->insertActions(m.mnuProjPopRename, {t.mnuProjPopNew, t.mnuProjPopRemove});
    ProjectPopMenu->insertAction(mnuProjPopSetCnt, t.mnuProjPopProperties);
    tagCommands_->CreateEditorPopMenu(this, imageCommands_->actViewImage, imageCommands_->actEditImage);
    CreateNavigationPopItems();
}

QToolBar* TfrmMain::ToolBarNamed(const char* name) const { return layout_.ToolBars.value(QString::fromLatin1(name)); }

bool TfrmMain::ToolBarShown(const char* name) const {
    const QToolBar* bar = ToolBarNamed(name);
    return bar && !bar->isHidden();
}

void TfrmMain::ShowToolBar(const char* name, bool show) {
    if (QToolBar* bar = ToolBarNamed(name)) bar->setVisible(show);
}

void TfrmMain::UserToolMenuClick(int index) {
    if (!userTools_ || index < 0 || index >= userTools_->Count()) return;
    // As the shell opens a document: a tool that cannot start says nothing.
    ui_.Shell().Open(userTools_->GetTool(index).Path);
}

// --- command state --------------------------------------------------------------------

QListWidget* TfrmMain::ActiveList() const { return tbsProject->currentIndex() == 1 ? lstPopups : lstTopics; }

QList<QAction*> TfrmMain::ModuleActions() const {
    const TProjectCommands& p = *projectCommands_;
    const TNavigationCommands& n = *navigationCommands_;
    return {p.actNew,
            p.actOpen,
            p.actClose,
            importCommands_->actImport,
            topicCommands_->actAddTopic,
            topicCommands_->actAddPopup,
            topicCommands_->actRemoveTopic,
            topicCommands_->actTopicProps,
            topicCommands_->actPopupProps,
            topicCommands_->mnuProjectItemProperties,
            n.actNavToFirst,
            n.actNavToPrev,
            n.actNavToNext,
            n.actNavToLast,
            n.actHistBack,
            n.actHistForward,
            n.actFollowLink,
            mnuFileReopen->menuAction(),
            spellCommands_->actCheckSpell,
            spellCommands_->actCheckSpellAll};
}

bool TfrmMain::EditorTextHeld() const { return spellCommands_->Waiting(); }

void TfrmMain::updateActions() {
    if (!project_) return;
    // The handlers' own rules apply to these first; while the editor's text
    // is held, none of them may run at all.
    const QList<QAction*> held = ModuleActions();
    for (QAction* a : held) a->setEnabled(true);
    for (TCommandHandler* h : handlers_) h->UpdateActions();
    if (EditorTextHeld())
        for (QAction* a : held) a->setEnabled(false);
    // The editor bar's navigation buttons follow their actions.
    const TNavigationCommands& n = *navigationCommands_;
    const TEditorFrameCommands& ef = *editorFrameCommands_;
    for (auto [tag, action] : {std::pair{6, n.actNavToFirst},
                               {7, n.actNavToPrev},
                               {8, n.actNavToNext},
                               {9, n.actNavToLast},
                               {11, ef.actNavToPrevBookmark},
                               {12, ef.actNavToNextBookmark},
                               {13, ef.actClearBookmarks},
                               {2, topicCommands_->actAddToKeywords},
                               {3, topicCommands_->actAddToAKeywords},
                               {4, charFormatCommands_->actConvertLower},
                               {5, charFormatCommands_->actConvertUpper}})
        if (QToolButton* b = ncbEditor->Button(tag)) b->setEnabled(action->isEnabled());
}

void TfrmMain::EditorButtonClick(int tag) {
    const TEditorFrameCommands& ef = *editorFrameCommands_;
    if (tag == 1)
        viewCommands_->actToggleGutter->trigger();
    else if (tag >= 6 && tag <= 9)
        navigationCommands_->NavigateTo(static_cast<TNavigationCommands::Step>(tag - 6));
    else if (tag >= 10 && tag <= 13) {
        QAction* const bookmarkCommands[] = {ef.actToggleBookmark, ef.actNavToPrevBookmark, ef.actNavToNextBookmark,
                                             ef.actClearBookmarks};
        bookmarkCommands[tag - 10]->trigger();
    }
    topicCommands_->EditorButtonClick(tag);
    charFormatCommands_->EditorButtonClick(tag);
}

// --- panes ---------------------------------------------------------------------------

TfrmMessage* TfrmMain::ProgressForm() const { return frmMessage; }

void TfrmMain::UpdateCaption() { setWindowTitle(projectCommands_->BuildCaption()); }

QDockWidget* TfrmMain::PaneWidget(Pane pane) const { return pane == Pane::Explorer ? pnlProject : pnlMessages; }

bool TfrmMain::PaneShown(Pane pane) const { return !PaneWidget(pane)->isHidden(); }

bool TfrmMain::PaneFloating(Pane pane) const { return PaneWidget(pane)->isFloating(); }

void TfrmMain::DockPane(Pane pane, DockSite site) {
    QDockWidget* dock = PaneWidget(pane);
    const Qt::DockWidgetArea area = site == DockSite::Left    ? Qt::LeftDockWidgetArea
                                    : site == DockSite::Right ? Qt::RightDockWidgetArea
                                                              : Qt::BottomDockWidgetArea;
    const bool hidden = dock->isHidden();
    addDockWidget(area, dock);
    dock->setFloating(false);
    if (hidden)
        dock->hide();
    else
        OpenDockSite(dock);  // as a drop on the site
}

void TfrmMain::OpenDockSite(QDockWidget* pane) {
    if (pane->isHidden() || pane->isFloating()) return;
    switch (dockWidgetArea(pane)) {
        case Qt::LeftDockWidgetArea:
        case Qt::RightDockWidgetArea:
            if (dockWidth_ > 0) resizeDocks({pane}, {dockWidth_}, Qt::Horizontal);
            break;
        case Qt::BottomDockWidgetArea: resizeDocks({pane}, {kBottomDockHeight}, Qt::Vertical); break;
        default: break;
    }
}

void TfrmMain::ShowPane(Pane pane, bool show) {
    // A pane that comes back opens its site; one already shown keeps the size the user gave it.
    const bool reopened = show && PaneWidget(pane)->isHidden();
    PaneWidget(pane)->setVisible(show);
    if (reopened) OpenDockSite(PaneWidget(pane));
    if (!options_) return;
    if (pane == Pane::Explorer)
        options_->ShowProject = show;
    else
        options_->ShowMessages = show;
}

void TfrmMain::ShowRuler(bool show) { Ruler->setVisible(show); }

TSpecCharGrid* TfrmMain::SpecCharGrid() const { return pnlSpecChars->Grid(); }

void TfrmMain::ShowSpecChars(bool show) {
    pnlSpecChars->setVisible(show);
    if (options_) options_->ShowSpecChars = show;
    TheEditor->viewport()->update();
    pnlGutter->update();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* e) {
    if (watched == TheEditor->viewport()) {
        if (NavigationViewportEvent(e)) return true;
        if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
            auto* d = static_cast<QDragMoveEvent*>(e);
            auto* source = qobject_cast<QListWidget*>(d->source());
            if (source == lstTopics || source == lstPopups) {
                if (CanDropFromList(source)) {
                    const QTextCursor c = TheEditor->cursorForPosition(d->position().toPoint());
                    TheEditor->SetSelStart(c.position());
                    TheEditor->setFocus();
                    d->acceptProposedAction();
                } else {
                    d->ignore();
                }
                return true;
            }
        } else if (e->type() == QEvent::Drop) {
            auto* d = static_cast<QDropEvent*>(e);
            auto* source = qobject_cast<QListWidget*>(d->source());
            if (source == lstTopics || source == lstPopups) {
                run([this, source] { DropFromList(source); });
                d->acceptProposedAction();
                return true;
            }
        }
    } else if ((watched == lstTopics || watched == lstPopups) && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            auto* list = static_cast<QListWidget*>(watched);
            if (list->currentItem()) run([this, list] { OpenSelectedItem(list); });
            return true;
        }
        if (k->key() == Qt::Key_Delete && k->modifiers() == Qt::NoModifier) {
            const ExplorerPage page = watched == lstPopups ? ExplorerPage::Popups : ExplorerPage::Topics;
            run([this, page] { topicCommands_->ListDeleteKey(page); });
            return true;
        }
    } else if ((watched == tvwQuillmark || watched == lvwFind) && e->type() == QEvent::FocusOut) {
        RemoveSearchHighlights();
    } else if (watched == TheEditor && e->type() == QEvent::FocusIn) {
        // The editor draws its own selection again: a search mark has done its work.
        RemoveSearchHighlights();
    }
    return QMainWindow::eventFilter(watched, e);
}

}  // namespace qm
