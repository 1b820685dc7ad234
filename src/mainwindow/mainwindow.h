#pragma once
// The main window of Quillmark: construction, start-up and shutdown, the
// panes, the topic and popup lists with the one routine that opens a module,
// the messages pane, and the wiring of the command handlers' actions into
// menus and tool bars. The commands themselves live in one handler per area
// (projectcommands.h, buildcommands.h, ...), which reach the window through
// the TMainContext it implements.
//
// Current module: exactly one topic or popup is open in the editor, and its
// freshest text lives in the editor, not in the node. Every reader of module
// texts (save, build) stores the editor's RTF into the node first. The
// window refers to nodes by their stable Id only, so nothing it keeps can
// outlive an open or an import.
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/maincontext.h"
#include "mainwindow/menulayout.h"
#include "model/bookmarks.h"
#include "model/macros.h"
#include "model/mru.h"
#include "model/options.h"
#include "model/project.h"
#include "model/styles.h"
#include "model/topicsview.h"
#include "model/usertools.h"
#include "preprocess/outputlog.h"

class QAction;
class QComboBox;
class QDockWidget;
class QHeaderView;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTabBar;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace qm {

class ActionTable;
class SettingsStore;
class StatusPanels;
class TAboutCommands;
class TAuthoringCommands;
class TBuildCommands;
class TCharFormatCommands;
class TDialogFactory;
class TCommandHandler;
class TEditCommands;
class TEditorFrameCommands;
class TGutter;
class THelpCommands;
class TExportCommands;
class TFindCommands;
class TFormatCommands;
class TImageCommands;
class TImportCommands;
class TModuleCommands;
class TMruMenu;
class TNavigationCommands;
class TPrintCommands;
class TProjectCommands;
class TQorCommandBar;
class TRichText2;
class TRtfOutputCommands;
class TRuler;
class TQorSpellEngine;
class TSettingsCommands;
class TSpecCharPane;
class TSpellCommands;
class TSplashThread;
class TStyleCombo;
class TTagCommands;
class TTopicCommands;
class TTopicsViewDelegate;
class TTransferCommands;
class TUserToolsMenu;
class TViewCommands;
class TfrmFind;
class TfrmMessage;
class TfrmReplace;
class TfrmVList;
class UiServices;

inline constexpr const char* kMsgInsufficientMemory = "Insufficient memory.";
inline constexpr const char* kMsgInvalidLink = "Invalid link. No reference found within the project.";
inline constexpr const char* kWindowPositionKey = "Position";
// The height the bottom dock site opens to.
inline constexpr int kBottomDockHeight = 150;

// What the window needs from its surroundings.
struct TMainWindowEnv {
    UiServices* Ui = nullptr;           // required
    SettingsStore* Settings = nullptr;  // required
    std::string ProgramFolder;          // the programs (Pikeral beside Quillmark)
    std::string DataFolder;             // macros.cfg, Dictionaries, the help files; empty: ProgramFolder
    std::string TempFolder;             // empty: the system's temporary folder
    double WaitScale = 1.0;             // scales the splash waits; 0 in tests
    // The personal dictionaries (".dic"): the user's data folder + "/Dictionaries".
    std::string PersonalDictionaryFolder;
    // Test hooks: runs inside CreateObjects (may throw), and reports each
    // global object as the destructor frees it.
    std::function<void()> OnCreateObjects;
    std::function<void(const char*)> OnFree;
    // Test hook: runs in the open routine just before a module is loaded
    // into the editor (may throw).
    std::function<void(TNodeId)> OnLoadModule;
};

// A topic or popup list as TTopicsView sorts it: each row carries its node's Id.
struct TTopicListAdapter {
    using Handle = TNodeId;
    QListWidget* List = nullptr;
    std::function<const TTopicNode*(TNodeId)> Find;

    int Count() const;
    Handle ItemNode(int i) const;
    void SetItemNode(int i, const Handle& h);
    std::int32_t ContextIdOf(const Handle& h) const;
    std::string_view NameOf(const Handle& h) const;
    void Repaint();
};

class TfrmMain : public QMainWindow, public TMainContext {
    Q_OBJECT
public:
    explicit TfrmMain(TMainWindowEnv env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The start-up sequence; false when the global objects could not be made
    // ("Insufficient memory." has then been shown and the window must close
    // without saving anything). `args` are the command-line arguments after
    // the program's name.
    bool Startup(const QStringList& args);
    bool Started() const { return started_; }
    // The close sequence: ask to save, then store placement, styles, options
    // and recent projects. False when the user refused to close.
    bool FormCloseQuery();

    // --- the command handlers ---
    TProjectCommands& ProjectCommands() const { return *projectCommands_; }
    TModuleCommands& ModuleCommands() const { return *moduleCommands_; }
    TNavigationCommands& NavigationCommands() const { return *navigationCommands_; }
    TViewCommands& ViewCommands() const { return *viewCommands_; }
    TBuildCommands& BuildCommands() const { return *buildCommands_; }
    TImportCommands& ImportCommands() const { return *importCommands_; }
    TSpellCommands& SpellCommands() const { return *spellCommands_; }
    TFormatCommands& FormatCommands() const { return *formatCommands_; }
    TFindCommands& FindCommands() const { return *findCommands_; }
    TTopicCommands& TopicCommands() const { return *topicCommands_; }
    TExportCommands& ExportCommands() const { return *exportCommands_; }
    TAuthoringCommands& AuthoringCommands() const { return *authoringCommands_; }
    TTagCommands& TagCommands() const { return *tagCommands_; }
    TSettingsCommands& SettingsCommands() const { return *settingsCommands_; }
    TImageCommands& ImageCommands() const { return *imageCommands_; }
    TEditCommands& EditCommands() const { return *editCommands_; }
    TPrintCommands& PrintCommands() const { return *printCommands_; }
    TTransferCommands& TransferCommands() const { return *transferCommands_; }
    TCharFormatCommands& CharFormatCommands() const { return *charFormatCommands_; }

    // --- modules ---
    // The open routine on the selected item of lstTopics / lstPopups.
    void lstTopicsDblClick();
    void lstPopupsDblClick();
    void cboTopicsChange();
    void cboPopupsChange();
    void hdrTopicsSectionClick(int section);
    void hdrPopupsSectionClick(int section);
    // The explorer's pop-up menu, prepared for the list it opens on.
    void lstTopicsContextPopup();
    void lstPopupsContextPopup();
    // Drag from a list into the editor: accepted only with a selected item.
    bool CanDropFromList(const QListWidget* source) const;
    bool DropFromList(const QListWidget* source);
    // The node of lstTopics row `index` (-1: the selected row); 0 when none.
    TNodeId GetTopic(int index) const;

    // --- messages pane ---
    void tsOutputsChange(int index);
    void tvwQuillmarkDblClick();
    void SaveOutput(int tab);

    // The enabling and checking rules of every handler, and the buttons that
    // mirror their actions.
    void updateActions();
    // True while a command holds the editor's text in hand (the spelling
    // dialog waits for an answer): nothing may then open, switch, remove or
    // close modules or the project.
    bool EditorTextHeld() const override;

    // --- TMainContext ---
    TProject& Project() override { return *project_; }
    TOptions& Options() override { return *options_; }
    TOutputLog& BuildLog() override { return *log_; }
    TMru& Mru() override { return *mru_; }
    TBookmarks& Bookmarks() override { return *bookmarks_; }
    TQorSpellEngine* SpellEngine() const override { return spell_.get(); }
    QMainWindow& Window() override { return *this; }
    UiServices& Ui() override { return ui_; }
    StatusPanels& Status() const override { return *status_; }
    ActionTable& Actions() const override { return *actions_; }
    TRichText2* Editor() const override { return TheEditor; }
    TRichText2* UserEditor() const override { return rtfUser; }
    TDialogFactory& Dialogs() const override { return *dialogs_; }
    TfrmMessage* ProgressForm() const override;
    void UpdateCaption() override;
    bool PaneShown(Pane pane) const override;
    void ShowPane(Pane pane, bool show) override;
    bool PaneFloating(Pane pane) const override;
    void DockPane(Pane pane, DockSite site) override;
    void ShowRuler(bool show) override;
    bool ToolBarShown(const char* name) const override;
    void ShowToolBar(const char* name, bool show) override;
    ExplorerPage ActivePage() const override;
    void ShowPage(ExplorerPage page) override;
    int ListCount(ExplorerPage page) const override;
    int ListRow(ExplorerPage page) const override;
    void SetListRow(ExplorerPage page, int row) override;
    bool ListFocused(ExplorerPage page) const override;
    TNodeId SelectedNode(ExplorerPage page) const override;
    TNodeId NodeAt(ExplorerPage page, int row) const override;
    void SelectNode(TNodeId id) override;
    void OpenSelected(ExplorerPage page) override;
    void GotoModule(TNodeId id) override;
    void StoreCurrentModule() override;
    TNodeId CurrentModule() const override { return current_; }
    TTopicNode* CurrentNode() const override;
    void ForgetCurrentModule() override { current_ = 0; }
    void RefillLists() override;
    void SortListsByName() override;
    void RepaintLists() override;
    void InstallProject(std::unique_ptr<TProject> project) override;
    void ResetProject() override;
    OutputTab CurrentOutput() const override;
    void ShowOutput(OutputTab tab) override;
    void ClearBuildLog() override;
    void ShowLogTree(int milliseconds) override;
    void ShowCompilerReport(const StringList& lines) override;
    void ClearCompilerReport() override;
    void ClearSearchResults() override;
    void ClearOutputs() override;
    void ShowImportNotes(const StringList& lines) override;
    void RemoveSearchHighlights() override;
    void ClearHistory() override;
    TStyles& Styles() override { return *styles_; }
    TRuler& RulerControl() const override { return *Ruler; }
    QComboBox* StyleBox() const override { return cboStyles; }
    TStyleCombo* StyleCombo() const override { return styleCombo_.get(); }
    void EditorSelectionChanged() override { TheEditorSelectionChange(); }
    QTreeWidget* SearchList() const override { return lvwFind; }
    TfrmFind* FindForm() const override;
    TfrmReplace* ReplaceForm() const override;
    int UpdateLinks(const std::string& oldText, const std::string& newText) override;
    void ShowRenamedModule(TNodeId id) override;
    TMacros& Macros() override { return *macros_; }
    void AddModuleRow(TNodeId id) override;
    void RemoveModuleRow(TNodeId id) override;
    // tags (mainwindow_tags.cpp)
    void AddImageFolder(const std::string& folder) override;
    bool CopyFormatOn() const override;

    // --- the other global objects and parts, for the program and its tests ---
    TUserTools& UserTools() override { return *userTools_; }
    SettingsStore& Settings() override { return *env_.Settings; }
    QComboBox* FontNameBox() const override { return cboFonts; }
    QComboBox* FontSizeBox() const override { return cboFontSize; }
    TSpecCharGrid* SpecCharGrid() const override;
    void ShowSpecChars(bool show) override;
    const QStringList& SplashHistory() const { return splashHistory_; }

    // --- navigation history, links and the editor frame (mainwindow_navigation.cpp) ---
    TEditorFrameCommands& EditorFrameCommands() const { return *editorFrameCommands_; }
    TRtfOutputCommands& RtfOutputCommands() const { return *rtfOutputCommands_; }
    THelpCommands& HelpCommands() const { return *helpCommands_; }
    const THistory& History() const override { return history_; }
    void HistoryStep(HistoryList list, int k) override;
    bool HistoryBarShown() const override;
    void ShowHistoryBar(bool show) override;
    void ShowGutter(bool show) override;
    void RefreshGutter() override;
    void ShowRtfOutput(bool show) override;
    QPlainTextEdit* RtfMemo() const override { return txtRtf; }
    // The history lists' modules by the names the menus show, newest first.
    QStringList BackHistory() const;
    QStringList ForwardHistory() const;
    // The editor's pop-up menu (EditorPopMenu).
    QMenu* EditorPopup() const;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void CreateWidgets();
    void CreateActions();
    // The menu bar and the tool bars from MainWindowLayout, and the pop-up menus.
    void CreateMenus();
    QToolBar* ToolBarNamed(const char* name) const;
    QDockWidget* PaneWidget(Pane pane) const;
    // A docked, visible pane's site opens to its size: the dock width at a
    // side, kBottomDockHeight at the bottom.
    void OpenDockSite(QDockWidget* pane);
    // A user tool of the Tools menu was chosen (0-based).
    void UserToolMenuClick(int index);
    void CreateObjects();
    void SetupCommandBars();
    void RestoreLayout();
    void LoadWindowPosition();
    void SaveWindowPosition();
    void LoadMacroDefinitions();
    void LoadDictionaries();
    // Where macros.cfg, the dictionaries and the help files are.
    const std::string& DataFolder() const { return env_.DataFolder.empty() ? env_.ProgramFolder : env_.DataFolder; }
    // What the settings store could not understand, told once the window
    // shows: a row each in the messages pane, the first in the status bar.
    void ShowSettingsProblems(const std::vector<std::string>& problems);
    // The commands EditorTextHeld() disables.
    QList<QAction*> ModuleActions() const;
    void ApplyDefaultFont();

    QListWidget* ListOf(ExplorerPage page) const;
    void FillLists();
    // The open routine; true when the list's module is the open one after it.
    bool OpenSelectedItem(QListWidget* list);
    void SelectInCombo(const TTopicNode& node);
    void SelectListRow(QListWidget* list, TNodeId id);
    void EditorButtonClick(int tag);
    void TheEditorChange();
    void TheEditorSelectionChange();
    QListWidget* ActiveList() const;
    void run(const std::function<void()>& command);
    // --- navigation history, links and the editor frame (mainwindow_navigation.cpp) ---
    // The splitter of the editor and the Rich Text Output pane, with the
    // gutter in the editor's margin; TheEditor goes into it.
    QWidget* CreateEditorFrame(QWidget* parent);
    void CreateHistoryBar();
    // The link item of the editor's pop-up menu and the Rich Text Output
    // pane's menu.
    void CreateNavigationPopItems();
    void EditorPopMenuPopup();
    // The events of the editor's viewport this area handles; true when one
    // was used up.
    bool NavigationViewportEvent(QEvent* e);
    void UpdateHistoryMenus();
    void UpdateEditorMargins();
    void RefillRtfOutput();
    // After the open routine has loaded a module: the pane, gutter and menus.
    void ModuleOpened();
    THistoryEntry HistoryEntryOf(TNodeId id) const;
    QStringList HistoryNames(HistoryList list) const;
    void sleepMs(int ms) const;

    TMainWindowEnv env_;
    UiServices& ui_;
    bool started_ = false;
    bool closing_ = false;

    // the global objects
    std::unique_ptr<TProject> project_;
    std::unique_ptr<TOptions> options_;
    std::unique_ptr<TOutputLog> log_;
    std::unique_ptr<TMacros> macros_;
    std::unique_ptr<TStyles> styles_;
    std::unique_ptr<TMru> mru_;
    std::unique_ptr<TBookmarks> bookmarks_;
    std::unique_ptr<TUserTools> userTools_;
    std::unique_ptr<TUserToolsMenu> userToolsMenu_;  // goes before userTools_
    std::unique_ptr<TStyleCombo> styleCombo_;
    std::unique_ptr<TTopicListAdapter> topicsAdapter_;
    std::unique_ptr<TTopicListAdapter> popupsAdapter_;
    std::unique_ptr<TTopicsView<TTopicListAdapter>> topicsView_;
    std::unique_ptr<TTopicsView<TTopicListAdapter>> popupsView_;
    std::unique_ptr<TQorSpellEngine> spell_;
    std::unique_ptr<TSplashThread> splash_;
    QStringList splashHistory_;
    THistory history_;
    bool historyNavigation_ = false;
    bool formatPainter_[2] = {false, false};
    int dockWidth_ = 0;
    TNodeId current_ = 0;
    bool sortTopicsById_ = false, sortTopicsByName_ = false;
    bool sortPopupsById_ = false, sortPopupsByName_ = false;
    bool loadingModule_ = false;

    std::unique_ptr<TDialogFactory> dialogs_;
    // the command handlers, in the order their actions are made
    std::unique_ptr<TProjectCommands> projectCommands_;
    std::unique_ptr<TModuleCommands> moduleCommands_;
    std::unique_ptr<TNavigationCommands> navigationCommands_;
    std::unique_ptr<TViewCommands> viewCommands_;
    std::unique_ptr<TBuildCommands> buildCommands_;
    std::unique_ptr<TImportCommands> importCommands_;
    std::unique_ptr<TSpellCommands> spellCommands_;
    std::unique_ptr<TEditorFrameCommands> editorFrameCommands_;
    std::unique_ptr<TRtfOutputCommands> rtfOutputCommands_;
    std::unique_ptr<THelpCommands> helpCommands_;
    std::unique_ptr<TFormatCommands> formatCommands_;
    std::unique_ptr<TFindCommands> findCommands_;
    std::unique_ptr<TTopicCommands> topicCommands_;
    std::unique_ptr<TExportCommands> exportCommands_;
    std::unique_ptr<TAuthoringCommands> authoringCommands_;
    std::unique_ptr<TTagCommands> tagCommands_;
    std::unique_ptr<TSettingsCommands> settingsCommands_;
    std::unique_ptr<TImageCommands> imageCommands_;
    std::unique_ptr<TAboutCommands> aboutCommands_;
    std::unique_ptr<TEditCommands> editCommands_;
    std::unique_ptr<TPrintCommands> printCommands_;
    std::unique_ptr<TTransferCommands> transferCommands_;
    std::unique_ptr<TCharFormatCommands> charFormatCommands_;
    std::vector<TCommandHandler*> handlers_;

    // widgets, named as the components they stand for
    ActionTable* actions_ = nullptr;
    StatusPanels* status_ = nullptr;
    TRichText2* TheEditor = nullptr;
    TRichText2* rtfUser = nullptr;
    TRuler* Ruler = nullptr;
    TSpecCharPane* pnlSpecChars = nullptr;
    QDockWidget* pnlProject = nullptr;
    QTabWidget* tbsProject = nullptr;
    QListWidget* lstTopics = nullptr;
    QListWidget* lstPopups = nullptr;
    QHeaderView* hdrTopics = nullptr;
    QHeaderView* hdrPopups = nullptr;
    QComboBox* cboTopics = nullptr;
    QComboBox* cboPopups = nullptr;
    QComboBox* cboFonts = nullptr;
    QComboBox* cboFontSize = nullptr;
    QComboBox* cboStyles = nullptr;
    QDockWidget* pnlMessages = nullptr;
    QTabBar* tsOutputs = nullptr;
    QTreeWidget* tvwQuillmark = nullptr;
    QTreeWidget* tvwHCRTF = nullptr;
    QTreeWidget* lvwFind = nullptr;
    QMenu* mnuPopResults = nullptr;
    QMenu* ProjectPopMenu = nullptr;
    QAction* mnuProjPopEdit = nullptr;
    QAction* mnuProjPopSetCnt = nullptr;
    QMenu* mnuFileReopen = nullptr;
    TBuiltLayout layout_;
    QToolButton* tbbRemoveSelection = nullptr;
    QToolButton* tbbSelectionProps = nullptr;
    QAction* mnuToolsUserTools = nullptr;
    QMenu* MruPopup = nullptr;
    TMruMenu* mruFileMenu_ = nullptr;
    QPointer<TTopicsViewDelegate> topicsDelegate_;
    QPointer<TTopicsViewDelegate> popupsDelegate_;
    TMruMenu* mruPopupMenu_ = nullptr;
    TQorCommandBar* ncbTopics = nullptr;
    TQorCommandBar* ncbPopups = nullptr;
    TQorCommandBar* ncbEditor = nullptr;
    QPointer<TfrmFind> frmFind;
    QPointer<TfrmReplace> frmReplace;
    QPointer<TfrmVList> frmVList;
    QPointer<TfrmMessage> frmMessage;

    // navigation history, links and the editor frame
    TGutter* pnlGutter = nullptr;
    QSplitter* splRtf = nullptr;
    QWidget* pnlRtf = nullptr;
    QWidget* pbRtf = nullptr;
    QPlainTextEdit* txtRtf = nullptr;
    QMenu* mnuPopRtf = nullptr;
    QToolBar* tbHistory = nullptr;
    QToolButton* tbbHistBack = nullptr;
    QToolButton* tbbHistForward = nullptr;
    QMenu* mnuHistBack = nullptr;
    QMenu* mnuHistForward = nullptr;
    QAction* mnuEditorPopFollowLink = nullptr;
};

}  // namespace qm
