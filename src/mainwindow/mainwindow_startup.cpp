// The main window's start-up and shutdown: the global objects made and
// loaded in order, the project opened, and everything stored at close.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFontDatabase>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QThread>
#include <QToolButton>
#include <QTreeWidget>

#include "dialogs/dialogfactory.h"
#include "dialogs/replaceform.h"
#include "editor/richtext2.h"
#include "editor/ruler.h"
#include "editor/spellcheckdlg.h"
#include "editor/vlist.h"
#include "mainwindow/aboutcommands.h"
#include "mainwindow/authoringcommands.h"
#include "mainwindow/buildcommands.h"
#include "mainwindow/charformatcommands.h"
#include "mainwindow/editcommands.h"
#include "mainwindow/editorframecommands.h"
#include "mainwindow/exportcommands.h"
#include "mainwindow/findcommands.h"
#include "mainwindow/formatcommands.h"
#include "mainwindow/helpcommands.h"
#include "mainwindow/imagecommands.h"
#include "mainwindow/importcommands.h"
#include "mainwindow/mainwindow.h"
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
#include "mainwindow/windowplacement.h"
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

namespace {

// `name` inside `folder`, joined with the separator the folder already uses
// ("/" when it has none), so the path works for the toolkit as it is.
std::string InFolder(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (folder.back() == '/' || folder.back() == '\\') return folder + std::string(name);
    const char sep = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos ? '\\' : '/';
    return folder + sep + std::string(name);
}

// The screens' available areas, where stored rectangles must come to lie.
QList<QRect> ScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    return areas;
}

}  // namespace

void TfrmMain::sleepMs(int ms) const {
    const double scaled = ms * (env_.WaitScale < 0 ? 0 : env_.WaitScale);
    if (scaled >= 1) QThread::msleep(static_cast<unsigned long>(scaled));
}

// --- start-up ---------------------------------------------------------------------

bool TfrmMain::Startup(const QStringList& args) {
    splash_ = std::make_unique<TSplashThread>(this, env_.WaitScale);
    // No box may show behind the splash, where it looks like a hang: the
    // splash goes first, and once the window can show, the box sits on it.
    ui_.SetBeforeModal([this] {
        if (splash_) splash_->Hide();
        if (options_ && !isVisible()) show();
    });
    struct ModalHookReset {
        UiServices& ui;
        ~ModalHookReset() { ui.SetBeforeModal(nullptr); }
    } resetHook{ui_};
    auto status = [this](const char* text) {
        splash_->SetStatus(QString::fromLatin1(text));
        splashHistory_ << QString::fromLatin1(text);
    };
    status("Initializing application...");
    sleepMs(35);
    if (QScreen* screen = QGuiApplication::primaryScreen()) dockWidth_ = screen->geometry().width() * 25 / 100;
    ui_.SetHelpFile(FromCp1252(InFolder(DataFolder(), "Quillmark.hlp")));
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
        userToolsMenu_.reset();
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
    const std::vector<std::string> settingsProblems = env_.Settings->TakeReadProblems();
    ApplyDefaultFont();
    status("Loading dictionaries...");
    LoadDictionaries();
    styleCombo_->FillList(*styles_);
    RestoreLayout();

    // The project: the command line's, else the last one, else a new one. A
    // project that fails to open leaves a new project, never one without topics.
    bool opened = false;
    if (!args.isEmpty()) {
        const std::string file = ToCp1252(args.first());
        if (FileExists(file)) opened = projectCommands_->OpenProjectFile(file);
    } else if (options_->StartOpenLast) {
        status("Opening last project...");
        sleepMs(35);
        if (!options_->LastProject.empty() && FileExists(options_->LastProject))
            opened = projectCommands_->OpenProjectFile(options_->LastProject);
        // A last project that is gone or unreadable is not tried again at every start.
        if (!opened) options_->LastProject.clear();
    }
    if (!opened) projectCommands_->CloseProject();

    status("Quillmark starting...");
    show();
    repaint();
    splash_->Wait();
    splash_.reset();
    repaint();
    // A pane without a dock site floats at its stored rectangle; one left on
    // a monitor that is gone comes onto the nearest screen there is.
    auto floatAt = [](QDockWidget* pane, const TScreenRect& r) {
        pane->setFloating(true);
        if (r.Right > r.Left && r.Bottom > r.Top)
            pane->setGeometry(FitToScreens(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), ScreenAreas()));
    };
    if (options_->ExplorerPane.empty()) floatAt(pnlProject, options_->ExplorerRect);
    if (options_->MessagesPane.empty()) floatAt(pnlMessages, options_->MessagesRect);
    // The docked panes' sites open as a drop on them would.
    OpenDockSite(pnlProject);
    OpenDockSite(pnlMessages);
    TheEditor->setFocus();
    started_ = true;
    actions_->UpdateNow();
    // Never a box here: the user reads them in the window, once.
    ShowSettingsProblems(settingsProblems);
    return true;
}

void TfrmMain::ShowSettingsProblems(const std::vector<std::string>& problems) {
    if (problems.empty()) return;
    for (const std::string& p : problems) {
        auto* item = new QTreeWidgetItem(tvwQuillmark, QStringList{FromCp1252(p)});
        item->setData(0, Qt::UserRole, -1);    // no log entry behind it
        item->setIcon(0, imlMisc().Glyph(3));  // the log's warning
    }
    tsOutputs->setCurrentIndex(0);
    QString text = FromCp1252(problems.front());
    if (problems.size() > 1) text += QStringLiteral(" (%1 more in the messages pane)").arg(problems.size() - 1);
    status_->SetStatus(text);
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
            if (!EditorTextHeld()) run([this, slot] { projectCommands_->ReopenProject(slot); });
        });
    mru_->ClearMenus();
    bookmarks_ = std::make_unique<TBookmarks>();
    userTools_ = std::make_unique<TUserTools>();
    userToolsMenu_ = std::make_unique<TUserToolsMenu>(*userTools_, layout_.Menus.value(QStringLiteral("mnuTools")),
                                                      mnuToolsUserTools);
    connect(userToolsMenu_.get(), &TUserToolsMenu::toolChosen, this,
            [this](int index) { run([this, index] { UserToolMenuClick(index); }); });
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
    topicsDelegate_ =
        new TTopicsViewDelegate(*options_, rowInfo(lstTopics), imlCommands().Glyph(kContentsTopicImage), lstTopics);
    popupsDelegate_ = new TTopicsViewDelegate(*options_, rowInfo(lstPopups), QIcon(), lstPopups);
    lstTopics->setItemDelegate(topicsDelegate_);
    lstPopups->setItemDelegate(popupsDelegate_);

    history_.Clear();
    historyNavigation_ = false;
    frmFind = new TfrmFind(ui_, this);
    frmReplace = new TfrmReplace(ui_, this);
    connect(frmFind, &TfrmFind::OnFind, this, [this] { run([this] { findCommands_->FindDlgFind(); }); });
    connect(frmReplace, &TfrmReplace::OnFind, this, [this] { run([this] { findCommands_->ReplaceDlgFind(); }); });
    connect(frmReplace, &TfrmReplace::OnReplace, this, [this] { run([this] { findCommands_->ReplaceDlgReplace(); }); });
    frmVList = new TfrmVList(TheEditor);
    // The editor's window procedure; the member list hides when any menu opens.
    tagCommands_->InstallEditorProc(TheEditor, frmVList);
    tagCommands_->HideListOn(findChildren<QMenu*>());
    frmMessage = new TfrmMessage(this);
}

void TfrmMain::SetupCommandBars() {
    // Each row: a tag, a hint and a glyph of the command bars' list; a
    // row without a hint is a separator.
    struct Row {
        int tag;
        const char* hint;
        int glyph;
    };
    auto fill = [](TQorCommandBar* bar, std::initializer_list<Row> rows) {
        bar->Images = &imlCommandBars();
        for (const Row& r : rows)
            bar->AddButton(r.hint == nullptr, r.tag, r.hint ? QString::fromLatin1(r.hint) : QString(), r.glyph);
    };
    constexpr Row separator{0, nullptr, -1};
    fill(ncbTopics, {{1, "New Topic|", 0},
                     {2, "Remove Topic|", 2},
                     {3, "Set As Contents Page|", 3},
                     separator,
                     {4, "Rename Topic|", 6},
                     {5, "Renumber ID|", 5},
                     separator,
                     {6, "Topic Properties|", 4}});
    fill(ncbPopups, {{1, "New Popup|", 1},
                     {2, "Remove Popup|", 2},
                     separator,
                     {3, "Rename Popup|", 6},
                     {4, "Renumber ID|", 5},
                     separator,
                     {5, "Popup Properties|", 4}});
    ncbEditor->BarSetting = 5;
    fill(ncbEditor, {{1, "Toggle Gutter|", 7},
                     separator,
                     {2, "Add To Keywords|", 12},
                     {3, "Add To A-Keywords|", 13},
                     separator,
                     {4, "Convert To Lowercase|", 14},
                     {5, "Convert To Uppercase|", 15},
                     separator,
                     {6, "First Topic|", 8},
                     {7, "Previous Topic|", 9},
                     {8, "Next Topic|", 10},
                     {9, "Last Topic|", 11},
                     separator,
                     {10, "Toggle Bookmark|", 16},
                     {11, "Previous Bookmark|", 17},
                     {12, "Next Bookmark|", 18},
                     {13, "Delete All Bookmarks|", 19}});
    // Toggle Gutter stays down while the gutter shows.
    QToolButton* gutter = ncbEditor->Button(1);
    gutter->setCheckable(true);
    gutter->setChecked(true);

    Ruler->SetOrigin(31);
    Ruler->RightMargin = 10;
    Ruler->SetIndents(0, 0, 10);
    formatCommands_->SetParagraphIndents(0, 0, 10);
    TheEditor->SetUndoLimit(100);
    TheEditor->DefAttributes.SetColor(clWindowText);
}

void TfrmMain::ApplyDefaultFont() {
    // The command bars are set up before the settings are read, so the
    // editor's default font is applied again once they are known.
    if (!options_->DefFont.empty()) TheEditor->DefAttributes.SetName(options_->DefFont);
    if (options_->DefFontSize > 0) TheEditor->DefAttributes.SetSize(options_->DefFontSize);
}

void TfrmMain::LoadDictionaries() {
    spell_ = std::make_unique<TQorSpellEngine>();
    spell_->DictionaryFolder = InFolder(DataFolder(), "Dictionaries");
    spell_->UserDictionaryFolder = env_.PersonalDictionaryFolder;
    spell_->WordCheck = [this](std::string_view word, bool& accepted) {
        spellCommands_->IsProjectWord(word, accepted);
    };
    spell_->SetUi(&spellCommands_->DialogUi());
    // A setting that is no name names no file: it counts as missing.
    const std::string& main = options_->Dictionary;
    if (IsDictionaryName(main) && FileExists(spell_->MainDictionaryPath(main))) {
        try {
            spell_->LoadMainDictionary(main);
        } catch (const std::exception&) {
            // Without a main dictionary the spelling commands say so when used.
        }
    }
    const std::string& user = options_->UserDictionary;
    if (IsDictionaryName(user) && !spell_->UserDictionaryFolder.empty() &&
        FileExists(spell_->UserDictionaryPath(user))) {
        try {
            spell_->LoadUserDictionary(user);
        } catch (const std::exception& e) {
            // The file is there but cannot be read: nothing is used (so
            // nothing overwrites it), and the setting stays for the next start.
            ui_.ErrorBox(FromCp1252(e.what()));
        }
    } else {
        spell_->LoadUserDictionary("");
        options_->UserDictionary.clear();
    }
    spell_->MoveDialog = options_->SpellEnsureVisible;
    spell_->StartAtCaret = !options_->SpellStartBeginning;
}

void TfrmMain::LoadMacroDefinitions() { macros_->LoadFromFile(InFolder(DataFolder(), kMacrosFileName)); }

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
    viewCommands_->RestoreToggles();
    TheEditorSelectionChange();
    TheEditor->ClearUndo();
    project_->Modified = false;
    if (lstTopics->count() > 0) lstTopics->setCurrentRow(0);
    Ruler->SetScaleMode(options_->ScaleMode);
}

void TfrmMain::LoadWindowPosition() {
    const SettingsStore& s = *env_.Settings;
    // The rectangle is one setting of four numbers, the maximised state another.
    try {
        const auto left = s.FindInteger(kWindowPositionKey, "Left");
        const auto top = s.FindInteger(kWindowPositionKey, "Top");
        const auto width = s.FindInteger(kWindowPositionKey, "Width");
        const auto height = s.FindInteger(kWindowPositionKey, "Height");
        // A rectangle left on a monitor that is gone comes onto a screen there is.
        if (left && top && width && height && *width > 0 && *height > 0)
            setGeometry(FitToScreens(QRect(*left, *top, *width, *height), ScreenAreas()));
    } catch (const std::exception&) {
        // An unreadable value: the window keeps its design position.
    }
    bool maximized = false;
    try {
        maximized = s.FindBool(kWindowPositionKey, "Maximized").value_or(false);
    } catch (const std::exception&) {
    }
    setWindowState(maximized ? Qt::WindowMaximized : Qt::WindowNoState);
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
    if (!projectCommands_->QuerySaveChanges()) return false;
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
    spellCommands_->SaveUserDictionary();
    closing_ = true;
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    // A check in progress is cancelled first; the window closes after it.
    if (spellCommands_->DeferClose()) {
        e->ignore();
        return;
    }
    bool canClose = true;
    runCommand(ui_, [&] { canClose = FormCloseQuery(); });
    if (canClose)
        e->accept();
    else
        e->ignore();
}

TfrmMain::~TfrmMain() {
    // Nothing may reach the model while it is taken apart.
    tagCommands_->RemoveEditorProc();
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
    userToolsMenu_.reset();
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
    history_.Clear();
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

}  // namespace qm
