#pragma once
// The main window of Quillmark: start-up and shutdown, the project commands,
// the topic and popup lists with the one routine that opens a module, the
// messages pane and the build command.
//
// Current module: exactly one topic or popup is open in the editor, and its
// freshest text lives in the editor, not in the node. Every reader of module
// texts (save, build) stores the editor's RTF into the node first. The
// window refers to nodes by their stable Id only, so nothing it keeps can
// outlive an open or an import.
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "import/import.h"
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
class QStandardItemModel;
class QTabBar;
class QTabWidget;
class QToolBar;
class QTreeWidget;

namespace qm {

class ActionTable;
class SettingsStore;
class StatusPanels;
class TQorCommandBar;
class TMruMenu;
class TRichText2;
class TRuler;
class TSpellEnginePlaceholder;
class TSplashThread;
class TStyleCombo;
class TTopicsViewDelegate;
class TfrmFind;
class TfrmMessage;
class TfrmReplace;
class TfrmVList;
class UiServices;

inline constexpr const char* kMsgInsufficientMemory = "Insufficient memory.";
inline constexpr const char* kMsgNoTempFolder = "Quillmark was unable to locate the Windows Temp directory.";
inline constexpr const char* kMsgMustSave = "Project must be saved before being compiled.";
inline constexpr const char* kMsgNoCompiler = "WinHelp compiler (hcrtf.exe) not found on specified path.";
inline constexpr const char* kMsgCouldNotCompile = "Could not compile file.";
inline constexpr const char* kMsgNoHelpFile = "The help file does not exist.";
inline constexpr const char* kMsgModuleGone = "The specified module no longer exists in the project.";
inline constexpr const char* kMsgInvalidLink = "Invalid link. No reference found within the project.";
inline constexpr const char* kWindowPositionKey = "Position";
inline constexpr int kHelpContextNoCompiler = 325;

// What the window needs from its surroundings.
struct TMainWindowEnv {
    UiServices* Ui = nullptr;           // required
    SettingsStore* Settings = nullptr;  // required
    std::string ProgramFolder;          // macros.cfg, Dictionaries, the help file
    std::string TempFolder;             // empty: the system's temporary folder
    double WaitScale = 1.0;             // scales the splash waits; 0 in tests
    // Test hooks: runs inside CreateObjects (may throw), and reports each
    // global object as the destructor frees it.
    std::function<void()> OnCreateObjects;
    std::function<void(const char*)> OnFree;
    // Asks which file to import and how (the import dialog in the program, a
    // script in tests); nullopt when cancelled. Unset: Import does nothing.
    // A hook because the dialogs library sits above this one.
    std::function<std::optional<TImportRequest>()> ChooseImport;
};

// The starting RTF body of a new module for the given default font.
std::string DefaultTopicText(std::string_view defFont, std::int32_t defFontSize);

// A font name as RTF text inside the font table.
std::string RtfEscapeFontName(std::string_view name);

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

class TfrmMain : public QMainWindow {
    Q_OBJECT
    friend class TMainImportUi;

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

    // --- project commands ---
    bool QuerySaveChanges();
    bool OpenProjectFile(const std::string& fileName);
    bool SaveProject();
    bool SaveProjectAs();
    // Asks to save, then resets to a new project; false when refused.
    bool CloseProject();
    void SetDefaultTopicText(TTopicNode& node) const;
    QString BuildCaption() const;

    // --- modules ---
    // Stores the editor's RTF into the current module (every reader does this first).
    void StoreCurrentModule();
    // The open routine on the selected item of lstTopics / lstPopups.
    void lstTopicsDblClick();
    void lstPopupsDblClick();
    void cboTopicsChange();
    void cboPopupsChange();
    // Opens a node (given by Id); 0 or an unknown Id shows the invalid-link message.
    void GotoModule(TNodeId id);
    void hdrTopicsSectionClick(int section);
    void hdrPopupsSectionClick(int section);
    // Drag from a list into the editor: accepted only with a selected item.
    // The explorer's pop-up menu, prepared for the list it opens on.
    void lstTopicsContextPopup();
    void lstPopupsContextPopup();
    bool CanDropFromList(const QListWidget* source) const;
    bool DropFromList(const QListWidget* source);
    // The node of lstTopics row `index` (-1: the selected row); 0 when none.
    TNodeId GetTopic(int index) const;
    TNodeId CurrentModule() const { return current_; }
    TTopicNode* CurrentNode() const;

    // --- messages pane ---
    void tsOutputsChange(int index);
    void tvwQuillmarkDblClick();
    void RemoveSearchHighlights();
    void SaveOutput(int tab);
    void ClearBuildLog();

    // --- build ---
    void actCompileExecute();
    void actViewExecute();
    void actViewCurTopicExecute();
    // The Import command: the chosen RTF or text file into the open module,
    // or a HelpWorkshop project in place of the open one.
    void actImportExecute();
    void LoadCompilerReport();
    void ClearTempFolder();
    // The work folder of this user (prepared on use by the build).
    std::string WorkFolder() const;
    std::string TempRoot() const;

    void updateActions();

    // --- the global objects and parts, for the program and its tests ---
    TProject& Project() { return *project_; }
    TOptions& Options() { return *options_; }
    TStyles& Styles() { return *styles_; }
    TMacros& Macros() { return *macros_; }
    TUserTools& UserTools() { return *userTools_; }
    TMru& Mru() { return *mru_; }
    TOutputLog& BuildLog() { return *log_; }
    TBookmarks& Bookmarks() { return *bookmarks_; }
    TSpellEnginePlaceholder* SpellEngine() { return spell_.get(); }
    TRichText2* Editor() const { return TheEditor; }
    StatusPanels& Status() const { return *status_; }
    ActionTable& Actions() const { return *actions_; }
    const QStringList& SplashHistory() const { return splashHistory_; }
    const QStringList& BackHistory() const { return histBack_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void CreateWidgets();
    void CreateActions();
    void CreateObjects();
    void SetupCommandBars();
    void RestoreLayout();
    void LoadWindowPosition();
    void SaveWindowPosition();
    void LoadMacroDefinitions();
    void ApplyDefaultFont();

    void FillLists();
    void OpenSelected(QListWidget* list);
    void SelectInCombo(const TTopicNode& node);
    void SelectListRow(QListWidget* list, TNodeId id);
    void ResetToNewProject();
    void EnsureContentsTopic(TProject& project) const;
    void InstallProject(std::unique_ptr<TProject> project);
    void ClearOutputs();
    void ShowImportedModule(TNodeId id);
    void ShowLogTree(int milliseconds);
    void NavigateTo(int which);
    void SetState(TopicState state);
    void SetContents();
    void TopicButtonClick(int tag);
    void PopupButtonClick(int tag);
    void EditorButtonClick(int tag);
    void TheEditorChange();
    void TheEditorSelectionChange();
    void ToggleMessages();
    void ToggleExplorer();
    void HistClear();
    QListWidget* ActiveList() const;
    void run(const std::function<void()>& command);
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
    std::unique_ptr<TStyleCombo> styleCombo_;
    std::unique_ptr<TTopicListAdapter> topicsAdapter_;
    std::unique_ptr<TTopicListAdapter> popupsAdapter_;
    std::unique_ptr<TTopicsView<TTopicListAdapter>> topicsView_;
    std::unique_ptr<TTopicsView<TTopicListAdapter>> popupsView_;
    std::unique_ptr<TSpellEnginePlaceholder> spell_;
    std::unique_ptr<TSplashThread> splash_;
    QStringList splashHistory_;
    QStringList histBack_;
    QStringList histFwd_;
    bool historyNavigation_ = false;
    bool formatPainter_[2] = {false, false};
    int dockWidth_ = 0;
    TNodeId current_ = 0;
    bool sortTopicsById_ = false, sortTopicsByName_ = false;
    bool sortPopupsById_ = false, sortPopupsByName_ = false;
    bool loadingModule_ = false;

    // widgets, named as the components they stand for
    ActionTable* actions_ = nullptr;
    StatusPanels* status_ = nullptr;
    TRichText2* TheEditor = nullptr;
    TRichText2* rtfUser = nullptr;
    TRuler* Ruler = nullptr;
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
};

}  // namespace qm
