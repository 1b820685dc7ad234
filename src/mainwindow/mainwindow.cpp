// The main window's construction, start-up, shutdown and command state.
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

#include "editor/richtext2.h"
#include "mainwindow/splash.h"
#include "mainwindow/standins.h"
#include "mainwindow/topicsviewdelegate.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/fileio.h"
#include "util/settingsstore.h"
#include "widgets/actiontable.h"
#include "widgets/commandguard.h"
#include "widgets/mrumenu.h"
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

// --- construction ---------------------------------------------------------------

TfrmMain::TfrmMain(TMainWindowEnv env, QWidget* parent) : QMainWindow(parent), env_(std::move(env)), ui_(*env_.Ui) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillmark"));
    resize(1000, 700);
    CreateWidgets();
    CreateActions();
}

namespace {

// `name` inside `folder`, joined with the separator the folder already uses
// ("/" when it has none), so the path works for the toolkit as it is.
std::string InFolder(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (folder.back() == '/' || folder.back() == '\\') return folder + std::string(name);
    const char sep = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos ? '\\' : '/';
    return folder + sep + std::string(name);
}

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
    TheEditor->setAcceptDrops(true);
    hbox->addWidget(TheEditor, 1);
    vbox->addLayout(hbox, 1);
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
    addDockWidget(Qt::BottomDockWidgetArea, pnlMessages);
    tsOutputsChange(0);

    mnuPopResults = new QMenu(this);
    mnuPopResults->setObjectName(QStringLiteral("mnuPopResults"));
    QAction* action1 = mnuPopResults->addAction(QStringLiteral("Save Output"));
    action1->setObjectName(QStringLiteral("mnuPopResultsAction1"));
    mnuPopResults->addSeparator();
    QAction* closeResults = mnuPopResults->addAction(QStringLiteral("Close Results"));
    closeResults->setObjectName(QStringLiteral("mnuPopResultsClose"));
    closeResults->setStatusTip(QStringLiteral("Closes the results pane."));
    connect(mnuPopResults, &QMenu::aboutToShow, this, [this, action1] {
        if (frmVList) frmVList->hide();
        const bool search = tsOutputs->currentIndex() == 2;
        action1->setText(search ? QStringLiteral("Clear results") : QStringLiteral("Save Output"));
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
    connect(closeResults, &QAction::triggered, this, [this] { run([this] { ToggleMessages(); }); });
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
    connect(mnuProjPopEdit, &QAction::triggered, this, [this] {
        run([this] {
            if (ActiveList()->currentItem()) OpenSelected(ActiveList());
        });
    });
    mnuProjPopSetCnt = ProjectPopMenu->addAction(QStringLiteral("&Set as contents page"));
    mnuProjPopSetCnt->setObjectName(QStringLiteral("mnuProjPopSetCnt"));
    connect(mnuProjPopSetCnt, &QAction::triggered, this, [this] { run([this] { SetContents(); }); });
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
    connect(tsOutputs, &QTabBar::currentChanged, this, [this](int i) { tsOutputsChange(i); });
    connect(ncbTopics, &TQorCommandBar::buttonClicked, this,
            [this](int t) { run([this, t] { TopicButtonClick(t); }); });
    connect(ncbPopups, &TQorCommandBar::buttonClicked, this,
            [this](int t) { run([this, t] { PopupButtonClick(t); }); });
    connect(ncbEditor, &TQorCommandBar::buttonClicked, this,
            [this](int t) { run([this, t] { EditorButtonClick(t); }); });
    TheEditor->OnChange = [this] { TheEditorChange(); };
    TheEditor->OnSelectionChange = [this] { TheEditorSelectionChange(); };
}

void TfrmMain::run(const std::function<void()>& command) { runCommand(ui_, command); }

void TfrmMain::CreateActions() {
    actions_ = new ActionTable(this, ui_, status_);
    auto slot = [this](void (TfrmMain::*f)()) { return [this, f] { (this->*f)(); }; };
    actions_->Add(std::vector<ActionSpec>{
        {"actNew", "&New", "Ctrl+N", "New Project|Creates a new project.", "document-new", [this] { CloseProject(); }},
        {"actOpen", "&Open...", "Ctrl+O", "Open Project|Opens an existing project.", "document-open",
         [this] {
             if (!QuerySaveChanges()) return;
             FileDialogRequest req;
             req.caption = QStringLiteral("Open");
             req.filter = QStringLiteral("Quillmark project files (*.qpf)");
             req.folder = FromCp1252(options_->LastOpenDir);
             req.defaultSuffix = QStringLiteral("qpf");
             const std::optional<QString> file = ui_.OpenFileName(req);
             if (!file) return;
             const std::string name = ToCp1252(*file);
             OpenProjectFile(name);
             options_->LastOpenDir = ExtractFilePath(name);
         }},
        {"actSave", "&Save", "Ctrl+S", "Save Project|Saves the project.", "document-save",
         [this] {
             RemoveSearchHighlights();
             SaveProject();
         }},
        {"actSaveAs", "Save &As...", "", "Save Project As|Saves the project under a new name.", "document-save-as",
         [this] { SaveProjectAs(); }},
        {"actClose", "&Close", "", "Close Project|Closes the project.", "", [this] { CloseProject(); }},
        {"actExit", "E&xit", "Alt+F4", "Exit|Quits the program.", "application-exit", [this] { close(); }},
        {"actCompile", "Build...", "F5", "Build Help File|Builds the help file.", "system-run",
         slot(&TfrmMain::actCompileExecute)},
        {"actImport", "&Import...", "", "Import|Imports an RTF file, a text file or a HelpWorkshop project.", "",
         slot(&TfrmMain::actImportExecute)},
        {"actView", "View Help File", "", "View Help File|Opens the built help file.", "help-contents",
         slot(&TfrmMain::actViewExecute)},
        {"actViewCurTopic", "View Current Topic", "", "View Current Topic|Shows the current topic in the help file.",
         "", slot(&TfrmMain::actViewCurTopicExecute)},
        {"actNavToFirst", "First Topic", "", "First Topic|Opens the first module of the list.", "go-first",
         [this] { NavigateTo(0); }},
        {"actNavToPrev", "Previous Topic", "", "Previous Topic|Opens the previous module of the list.", "go-previous",
         [this] { NavigateTo(1); }},
        {"actNavToNext", "Next Topic", "", "Next Topic|Opens the next module of the list.", "go-next",
         [this] { NavigateTo(2); }},
        {"actNavToLast", "Last Topic", "", "Last Topic|Opens the last module of the list.", "go-last",
         [this] { NavigateTo(3); }},
        {"actSetEditing", "Editing", "", "Editing|Marks the module as being edited.", "",
         [this] { SetState(TopicState::Edit); }, true},
        {"actSetDone", "Done", "", "Done|Marks the module as done.", "", [this] { SetState(TopicState::Done); }, true},
        {"actSetContents", "Set as contents page", "", "Set As Contents Page|Makes the topic the contents page.", "",
         [this] { SetContents(); }},
        {"actToggleExplorer", "Project Explorer", "F2", "Project Explorer|Shows or hides the project explorer.", "",
         [this] { ToggleExplorer(); }, true},
        {"actToggleMessages", "Messages", "Shift+F2", "Messages|Shows or hides the messages pane.", "",
         [this] { ToggleMessages(); }, true},
        {"actToggleRuler", "Ruler", "", "Ruler|Shows or hides the ruler.", "",
         [this] {
             QAction* a = actions_->Get(QStringLiteral("actToggleRuler"));
             Ruler->setVisible(a->isChecked());
             options_->ShowRuler = a->isChecked();
         },
         true},
        {"actToggleGutter", "Gutter", "", "Gutter|Shows or hides the bookmark gutter.", "",
         [this] { options_->ShowGutter = actions_->Get(QStringLiteral("actToggleGutter"))->isChecked(); }, true},
        {"actToggleSpecChars", "Special Characters", "", "Special Characters|Shows or hides the special characters.",
         "", [this] { options_->ShowSpecChars = actions_->Get(QStringLiteral("actToggleSpecChars"))->isChecked(); },
         true},
        {"actToggleRtf", "Rich Text Output", "", "Rich Text Output|Shows or hides the rich-text output.", "",
         [this] { options_->ShowRtf = actions_->Get(QStringLiteral("actToggleRtf"))->isChecked(); }, true},
        {"actHistClear", "Clear History", "", "Clear History|Clears the navigation history.", "",
         [this] { HistClear(); }},
    });
    actions_->SetUpdater([this] { updateActions(); });

    // Menus and tool bars.
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    for (const char* n : {"actNew", "actOpen"}) file->addAction(actions_->Get(QString::fromLatin1(n)));
    file->addMenu(mnuFileReopen);
    for (const char* n : {"actSave", "actSaveAs", "actClose"}) file->addAction(actions_->Get(QString::fromLatin1(n)));
    file->addSeparator();
    file->addAction(actions_->Get(QStringLiteral("actImport")));
    file->addSeparator();
    file->addAction(actions_->Get(QStringLiteral("actExit")));
    QMenu* project = menuBar()->addMenu(QStringLiteral("&Project"));
    project->setObjectName(QStringLiteral("mnuProject"));
    for (const char* n : {"actCompile", "actView", "actViewCurTopic"})
        project->addAction(actions_->Get(QString::fromLatin1(n)));
    project->addSeparator();
    for (const char* n : {"actSetContents", "actSetEditing", "actSetDone"})
        project->addAction(actions_->Get(QString::fromLatin1(n)));
    QMenu* nav = menuBar()->addMenu(QStringLiteral("&Navigate"));
    nav->setObjectName(QStringLiteral("mnuNavigate"));
    for (const char* n : {"actNavToFirst", "actNavToPrev", "actNavToNext", "actNavToLast", "actHistClear"})
        nav->addAction(actions_->Get(QString::fromLatin1(n)));
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    for (const char* n : {"actToggleExplorer", "actToggleMessages", "actToggleRuler", "actToggleGutter",
                          "actToggleSpecChars", "actToggleRtf"})
        view->addAction(actions_->Get(QString::fromLatin1(n)));
    for (QMenu* m : {file, project, nav, view, mnuFileReopen}) actions_->WatchMenu(m);
    ProjectPopMenu->addSeparator();
    ProjectPopMenu->addAction(actions_->Get(QStringLiteral("actSetEditing")));
    ProjectPopMenu->addAction(actions_->Get(QStringLiteral("actSetDone")));

    QToolBar* standard = addToolBar(QStringLiteral("Standard"));
    standard->setObjectName(QStringLiteral("tbStandard"));
    for (const char* n : {"actNew", "actOpen", "actSave"}) standard->addAction(actions_->Get(QString::fromLatin1(n)));
    QToolBar* build = addToolBar(QStringLiteral("Build"));
    build->setObjectName(QStringLiteral("tbBuild"));
    for (const char* n : {"actCompile", "actView", "actViewCurTopic"})
        build->addAction(actions_->Get(QString::fromLatin1(n)));
    QToolBar* topics = addToolBar(QStringLiteral("Topics"));
    topics->setObjectName(QStringLiteral("tbTopics"));
    topics->addWidget(cboTopics);
    topics->addWidget(cboPopups);
    QToolBar* format = addToolBar(QStringLiteral("Format"));
    format->setObjectName(QStringLiteral("tbFormat"));
    format->addWidget(cboStyles);
    format->addWidget(cboFonts);
    format->addWidget(cboFontSize);

    actions_->RequestOn(lstTopics, &QListWidget::currentRowChanged);
    actions_->RequestOn(lstPopups, &QListWidget::currentRowChanged);
    actions_->RequestOn(tbsProject, &QTabWidget::currentChanged);
    actions_->RequestOn(TheEditor, &QTextEdit::selectionChanged);
    actions_->RequestOnFocusChange();
}

void TfrmMain::sleepMs(int ms) const {
    const double scaled = ms * (env_.WaitScale < 0 ? 0 : env_.WaitScale);
    if (scaled >= 1) QThread::msleep(static_cast<unsigned long>(scaled));
}

// --- start-up ---------------------------------------------------------------------

bool TfrmMain::Startup(const QStringList& args) {
    splash_ = std::make_unique<TSplashThread>(this, env_.WaitScale);
    auto status = [this](const char* text) {
        splash_->SetStatus(QString::fromLatin1(text));
        splashHistory_ << QString::fromLatin1(text);
    };
    status("Initializing application...");
    sleepMs(35);
    if (QScreen* screen = QGuiApplication::primaryScreen()) dockWidth_ = screen->geometry().width() * 25 / 100;
    ui_.SetHelpFile(FromCp1252(InFolder(env_.ProgramFolder, "Quillmark.hlp")));
    cboFonts->addItems(QFontDatabase::families());  // already sorted
    formatPainter_[0] = formatPainter_[1] = false;
    try {
        CreateObjects();
    } catch (...) {
        // Nothing half-made survives, and nothing is saved at close: the
        // user's stored settings must not be overwritten by empty ones.
        delete mruPopupMenu_;
        delete mruFileMenu_;
        mruPopupMenu_ = mruFileMenu_ = nullptr;
        for (QListWidget* list : {lstTopics, lstPopups}) list->setItemDelegate(new QStyledItemDelegate(list));
        delete topicsDelegate_.data();
        delete popupsDelegate_.data();
        project_.reset();
        options_.reset();
        log_.reset();
        macros_.reset();
        styles_.reset();
        mru_.reset();
        bookmarks_.reset();
        userTools_.reset();
        styleCombo_.reset();
        topicsView_.reset();
        popupsView_.reset();
        splash_.reset();
        ui_.ErrorBox(QString::fromLatin1(kMsgInsufficientMemory));
        return false;
    }
    status("Initializing environment...");
    sleepMs(35);
    SetupCommandBars();
    LoadMacroDefinitions();
    status("Loading settings...");
    sleepMs(35);
    LoadWindowPosition();
    options_->LoadFromRegistry(*env_.Settings);
    userTools_->LoadFromRegistry(*env_.Settings);
    mru_->LoadFromRegistry(*env_.Settings);
    styles_->LoadFromRegistry(*env_.Settings);
    ApplyDefaultFont();
    status("Loading dictionaries...");
    spell_ = std::make_unique<TSpellEnginePlaceholder>();
    spell_->DictionaryFolder = InFolder(env_.ProgramFolder, "Dictionaries");
    if (!options_->Dictionary.empty() && FileExists(InFolder(spell_->DictionaryFolder, options_->Dictionary + ".qdf")))
        spell_->LoadMainDictionary(options_->Dictionary);
    if (!options_->UserDictionary.empty() &&
        FileExists(InFolder(spell_->DictionaryFolder, options_->UserDictionary + ".dic"))) {
        spell_->LoadUserDictionary(options_->UserDictionary);
    } else {
        spell_->LoadUserDictionary("");
        options_->UserDictionary.clear();
    }
    spell_->MoveDialog = options_->SpellEnsureVisible;
    spell_->StartAtCaret = !options_->SpellStartBeginning;
    styleCombo_->FillList(styles_->Names());
    RestoreLayout();

    // The project: the command line's, else the last one, else a new one. A
    // project that fails to open leaves a new project, never one without topics.
    bool opened = false;
    if (!args.isEmpty()) {
        const std::string file = ToCp1252(args.first());
        if (FileExists(file)) opened = OpenProjectFile(file);
    } else if (options_->StartOpenLast) {
        status("Opening last project...");
        sleepMs(35);
        if (!options_->LastProject.empty() && FileExists(options_->LastProject))
            opened = OpenProjectFile(options_->LastProject);
        // A last project that is gone or unreadable is not tried again at every start.
        if (!opened) options_->LastProject.clear();
    }
    if (!opened) CloseProject();

    status("Quillmark starting...");
    show();
    repaint();
    splash_->Wait();
    splash_.reset();
    repaint();
    if (options_->ExplorerPane.empty()) {
        const TScreenRect& r = options_->ExplorerRect;
        pnlProject->setFloating(true);
        if (r.Right > r.Left && r.Bottom > r.Top)
            pnlProject->setGeometry(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    }
    if (options_->MessagesPane.empty()) {
        const TScreenRect& r = options_->MessagesRect;
        pnlMessages->setFloating(true);
        if (r.Right > r.Left && r.Bottom > r.Top)
            pnlMessages->setGeometry(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    }
    resizeDocks({pnlMessages}, {140}, Qt::Vertical);
    TheEditor->setFocus();
    started_ = true;
    actions_->UpdateNow();
    return true;
}

void TfrmMain::CreateObjects() {
    project_ = std::make_unique<TProject>();
    project_->Modified = false;
    options_ = std::make_unique<TOptions>();
    if (env_.OnCreateObjects) env_.OnCreateObjects();
    log_ = std::make_unique<TOutputLog>();
    macros_ = std::make_unique<TMacros>();
    styles_ = std::make_unique<TStyles>();
    mru_ = std::make_unique<TMru>();
    mruPopupMenu_ = new TMruMenu(*mru_, MruPopup, this);
    mruFileMenu_ = new TMruMenu(*mru_, mnuFileReopen, this);
    for (TMruMenu* m : {mruPopupMenu_, mruFileMenu_})
        connect(m, &TMruMenu::projectChosen, this, [this](int slot, const QString&) {
            run([this, slot] {
                if (QuerySaveChanges()) OpenProjectFile(mru_->GetItem(slot));
            });
        });
    mru_->ClearMenus();
    bookmarks_ = std::make_unique<TBookmarks>();
    userTools_ = std::make_unique<TUserTools>();
    styleCombo_ = std::make_unique<TStyleCombo>(cboStyles);

    auto find = [this](TNodeId id) -> const TTopicNode* { return project_ ? project_->Topics.FindById(id) : nullptr; };
    topicsAdapter_ = std::make_unique<TTopicListAdapter>(TTopicListAdapter{lstTopics, find});
    popupsAdapter_ = std::make_unique<TTopicListAdapter>(TTopicListAdapter{lstPopups, find});
    topicsView_ = std::make_unique<TTopicsView<TTopicListAdapter>>(*topicsAdapter_, kContentsTopicImage);
    popupsView_ = std::make_unique<TTopicsView<TTopicListAdapter>>(*popupsAdapter_, kNoContentsImage);
    auto rowInfo = [this](QListWidget* list) {
        return [this, list](const QModelIndex& index) -> std::optional<TTopicRowInfo> {
            QListWidgetItem* item = list->item(index.row());
            const TTopicNode* node =
                item && project_ ? project_->Topics.FindById(item->data(Qt::UserRole).toULongLong()) : nullptr;
            if (!node) return std::nullopt;
            return TTopicRowInfo{node->ContextId, node->GetName(), node->IsContents, static_cast<int>(node->State)};
        };
    };
    QPixmap contents(16, 16);
    contents.fill(QColor(0, 128, 0));
    topicsDelegate_ = new TTopicsViewDelegate(*options_, rowInfo(lstTopics), QIcon(contents), lstTopics);
    popupsDelegate_ = new TTopicsViewDelegate(*options_, rowInfo(lstPopups), QIcon(), lstPopups);
    lstTopics->setItemDelegate(topicsDelegate_);
    lstPopups->setItemDelegate(popupsDelegate_);

    histBack_.clear();
    histFwd_.clear();
    historyNavigation_ = false;
    frmFind = new TfrmFind(this);
    frmReplace = new TfrmReplace(this);
    frmVList = new TfrmVList(TheEditor);
    frmMessage = new TfrmMessage(this);
    // Hidden until the image preview and the about command use them.
    (new TfrmImgView(this))->hide();
    (new TfrmAbout(this))->hide();
}

void TfrmMain::SetupCommandBars() {
    ncbTopics->AddButton(1, QStringLiteral("New Topic|"), 0);
    ncbTopics->AddButton(2, QStringLiteral("Remove Topic|"), 2);
    ncbTopics->AddButton(3, QStringLiteral("Set As Contents Page|"), 3);
    ncbTopics->AddSeparator();
    ncbTopics->AddButton(4, QStringLiteral("Rename Topic|"), 6);
    ncbTopics->AddButton(5, QStringLiteral("Renumber ID|"), 5);
    ncbTopics->AddSeparator();
    ncbTopics->AddButton(6, QStringLiteral("Topic Properties|"), 4);

    ncbPopups->AddButton(1, QStringLiteral("New Popup|"), 1);
    ncbPopups->AddButton(2, QStringLiteral("Remove Popup|"), 2);
    ncbPopups->AddSeparator();
    ncbPopups->AddButton(3, QStringLiteral("Rename Popup|"), 6);
    ncbPopups->AddButton(4, QStringLiteral("Renumber ID|"), 5);
    ncbPopups->AddSeparator();
    ncbPopups->AddButton(5, QStringLiteral("Popup Properties|"), 4);

    ncbEditor->BarSetting = 5;
    QToolButton* gutter = ncbEditor->AddButton(1, QStringLiteral("Toggle Gutter|"), 7);
    gutter->setCheckable(true);
    gutter->setChecked(true);
    ncbEditor->AddSeparator();
    ncbEditor->AddButton(2, QStringLiteral("Add To Keywords|"), 12);
    ncbEditor->AddButton(3, QStringLiteral("Add To A-Keywords|"), 13);
    ncbEditor->AddSeparator();
    ncbEditor->AddButton(4, QStringLiteral("Convert To Lowercase|"), 14);
    ncbEditor->AddButton(5, QStringLiteral("Convert To Uppercase|"), 15);
    ncbEditor->AddSeparator();
    ncbEditor->AddButton(6, QStringLiteral("First Topic|"), 8);
    ncbEditor->AddButton(7, QStringLiteral("Previous Topic|"), 9);
    ncbEditor->AddButton(8, QStringLiteral("Next Topic|"), 10);
    ncbEditor->AddButton(9, QStringLiteral("Last Topic|"), 11);
    ncbEditor->AddSeparator();
    ncbEditor->AddButton(10, QStringLiteral("Toggle Bookmark|"), 16);
    ncbEditor->AddButton(11, QStringLiteral("Previous Bookmark|"), 17);
    ncbEditor->AddButton(12, QStringLiteral("Next Bookmark|"), 18);
    ncbEditor->AddButton(13, QStringLiteral("Delete All Bookmarks|"), 19);

    Ruler->SetOrigin(31);
    Ruler->RightMargin = 10;
    Ruler->SetIndents(0, 0, 10);
    TheEditor->SetUndoLimit(100);
    TheEditor->DefAttributes.SetColor(clWindowText);
}

void TfrmMain::ApplyDefaultFont() {
    // The command bars are set up before the settings are read, so the
    // editor's default font is applied again once they are known.
    if (!options_->DefFont.empty()) TheEditor->DefAttributes.SetName(options_->DefFont);
    if (options_->DefFontSize > 0) TheEditor->DefAttributes.SetSize(options_->DefFontSize);
}

void TfrmMain::LoadMacroDefinitions() { macros_->LoadFromFile(InFolder(env_.ProgramFolder, kMacrosFileName)); }

void TfrmMain::RestoreLayout() {
    auto dock = [this](QDockWidget* pane, const std::string& site) {
        if (SameText(site, "pnlLeftDock"))
            addDockWidget(Qt::LeftDockWidgetArea, pane);
        else if (SameText(site, "pnlRightDock"))
            addDockWidget(Qt::RightDockWidgetArea, pane);
        else if (SameText(site, "pnlBottomDock"))
            addDockWidget(Qt::BottomDockWidgetArea, pane);
    };
    pnlMessages->resize(400, 200);
    pnlProject->resize(315, 300);
    dock(pnlProject, options_->ExplorerPane);
    dock(pnlMessages, options_->MessagesPane);
    pnlProject->setVisible(options_->ShowProject);
    pnlMessages->setVisible(options_->ShowMessages);
    // The toggles flip their state, so each starts opposite to its setting.
    for (const auto& [name, on] :
         {std::pair{"actToggleSpecChars", options_->ShowSpecChars}, std::pair{"actToggleGutter", options_->ShowGutter},
          std::pair{"actToggleRuler", options_->ShowRuler}, std::pair{"actToggleRtf", options_->ShowRtf}}) {
        QAction* a = actions_->Get(QString::fromLatin1(name));
        a->setChecked(!on);
        a->trigger();
    }
    TheEditorSelectionChange();
    TheEditor->ClearUndo();
    project_->Modified = false;
    if (lstTopics->count() > 0) lstTopics->setCurrentRow(0);
    Ruler->SetScaleMode(options_->ScaleMode);
}

void TfrmMain::LoadWindowPosition() {
    try {
        const SettingsStore& s = *env_.Settings;
        const int left = s.ReadInteger(kWindowPositionKey, "Left");
        const int top = s.ReadInteger(kWindowPositionKey, "Top");
        const int width = s.ReadInteger(kWindowPositionKey, "Width");
        const int height = s.ReadInteger(kWindowPositionKey, "Height");
        const bool maximized = s.ReadBool(kWindowPositionKey, "Maximized");
        if (width > 0 && height > 0) setGeometry(left, top, width, height);
        setWindowState(maximized ? Qt::WindowMaximized : Qt::WindowNoState);
    } catch (const std::exception&) {
        // First run or an unreadable value: the window keeps its design position.
    }
}

void TfrmMain::SaveWindowPosition() {
    try {
        SettingsStore& s = *env_.Settings;
        const bool maximized = isMaximized();
        const QRect r = maximized ? normalGeometry() : geometry();
        s.WriteInteger(kWindowPositionKey, "Left", r.left());
        s.WriteInteger(kWindowPositionKey, "Top", r.top());
        s.WriteInteger(kWindowPositionKey, "Width", r.width());
        s.WriteInteger(kWindowPositionKey, "Height", r.height());
        s.WriteBool(kWindowPositionKey, "Maximized", maximized);
    } catch (const std::exception&) {
    }
}

// --- shutdown -----------------------------------------------------------------------

bool TfrmMain::FormCloseQuery() {
    if (!started_ || closing_) return true;
    if (!QuerySaveChanges()) return false;
    SaveWindowPosition();
    // The panes' places go into the options so the next start restores them.
    auto site = [this](QDockWidget* pane) -> std::string {
        if (pane->isFloating()) return {};
        switch (dockWidgetArea(pane)) {
            case Qt::LeftDockWidgetArea: return "pnlLeftDock";
            case Qt::RightDockWidgetArea: return "pnlRightDock";
            case Qt::BottomDockWidgetArea: return "pnlBottomDock";
            default: return "pnlLeftDock";
        }
    };
    auto rect = [](QDockWidget* pane) {
        const QRect g = pane->geometry();
        return TScreenRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    };
    options_->ExplorerPane = site(pnlProject);
    options_->MessagesPane = site(pnlMessages);
    if (pnlProject->isFloating()) options_->ExplorerRect = rect(pnlProject);
    if (pnlMessages->isFloating()) options_->MessagesRect = rect(pnlMessages);
    options_->ShowProject = !pnlProject->isHidden();
    options_->ShowMessages = !pnlMessages->isHidden();
    styles_->SaveToRegistry(*env_.Settings);
    options_->SaveToRegistry(*env_.Settings);
    mru_->SaveToRegistry(*env_.Settings);
    closing_ = true;
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    bool canClose = true;
    runCommand(ui_, [&] { canClose = FormCloseQuery(); });
    if (canClose)
        e->accept();
    else
        e->ignore();
}

TfrmMain::~TfrmMain() {
    // Nothing may reach the model while it is taken apart.
    TheEditor->OnChange = nullptr;
    TheEditor->OnSelectionChange = nullptr;
    actions_->SetUpdater(nullptr);
    // The delegates read the options, which go before the lists do.
    lstTopics->setItemDelegate(nullptr);
    lstPopups->setItemDelegate(nullptr);
    delete topicsDelegate_.data();
    delete popupsDelegate_.data();
    tvwQuillmark->removeEventFilter(this);
    lstTopics->removeEventFilter(this);
    lstPopups->removeEventFilter(this);
    TheEditor->viewport()->removeEventFilter(this);
    splash_.reset();
    auto freed = [this](const char* what) {
        if (env_.OnFree) env_.OnFree(what);
    };
    bookmarks_.reset();
    freed("Bookmarks");
    userTools_.reset();
    freed("UserTools");
    styleCombo_.reset();
    freed("StyleCombo");
    topicsView_.reset();
    popupsView_.reset();
    topicsAdapter_.reset();
    popupsAdapter_.reset();
    freed("TopicsViews");
    delete mruPopupMenu_;
    delete mruFileMenu_;
    mru_.reset();
    freed("Mru");
    histBack_.clear();
    histFwd_.clear();
    freed("History");
    current_ = 0;
    project_.reset();
    freed("Project");
    styles_.reset();
    freed("Styles");
    log_.reset();
    freed("BuildLog");
    macros_.reset();
    freed("Macros");
    options_.reset();
    freed("Options");
    delete frmVList.data();
    freed("frmVList");
    delete frmFind.data();
    freed("frmFind");
    delete frmReplace.data();
    freed("frmReplace");
    delete frmMessage.data();
    freed("frmMessage");
    spell_.reset();
    freed("SpellEngine");
}

// --- command state --------------------------------------------------------------------

QListWidget* TfrmMain::ActiveList() const { return tbsProject->currentIndex() == 1 ? lstPopups : lstTopics; }

void TfrmMain::updateActions() {
    if (!project_) return;
    auto act = [this](const char* name) { return actions_->Get(QString::fromLatin1(name)); };
    act("actToggleExplorer")->setChecked(!pnlProject->isHidden());
    act("actToggleMessages")->setChecked(!pnlMessages->isHidden());
    const bool topicsPage = tbsProject->currentIndex() != 1;
    act("actSetContents")->setEnabled(topicsPage && lstTopics->currentRow() >= 0);

    QListWidget* list = ActiveList();
    const int s = list->currentRow();
    const int c = list->count();
    bool first, last, next, prev;
    if (topicsPage) {
        first = last = c > 0;
        next = s < c - 1;
        prev = s != 0 && c > 0;
    } else {
        first = last = s != -1;
        next = s != -1 && s < c - 1;
        prev = s > 0;
    }
    act("actNavToFirst")->setEnabled(first);
    act("actNavToLast")->setEnabled(last);
    act("actNavToNext")->setEnabled(next);
    act("actNavToPrev")->setEnabled(prev);
    for (auto [tag, on] : {std::pair{6, first}, {7, prev}, {8, next}, {9, last}})
        if (QToolButton* b = ncbEditor->Button(tag)) b->setEnabled(on);

    const TTopicNode* selected = nullptr;
    if (QListWidgetItem* item = list->currentItem())
        selected = project_->Topics.FindById(item->data(Qt::UserRole).toULongLong());
    act("actSetEditing")->setEnabled(selected != nullptr);
    act("actSetDone")->setEnabled(selected != nullptr);
    act("actSetEditing")->setChecked(selected && selected->State == TopicState::Edit);
    act("actSetDone")->setChecked(selected && selected->State == TopicState::Done);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* e) {
    if (watched == TheEditor->viewport()) {
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
            if (list->currentItem()) run([this, list] { OpenSelected(list); });
            return true;
        }
    } else if (watched == tvwQuillmark && e->type() == QEvent::FocusOut) {
        RemoveSearchHighlights();
    }
    return QMainWindow::eventFilter(watched, e);
}

}  // namespace qm
