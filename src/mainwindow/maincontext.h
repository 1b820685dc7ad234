#pragma once
// What the command handlers reach of the main window: the global objects,
// the editor, the module lists with the one routine that opens a module, the
// messages pane, the UI services and the status bar. The window implements
// it; a handler holds nothing of the window but this.
//
// Lists name their rows by the nodes' stable ids, so nothing a handler keeps
// can outlive an open, an import or a removal.
#include <memory>
#include <string>

#include "model/history.h"
#include "model/topics.h"
#include "util/qorstring.h"

class QComboBox;
class QMainWindow;
class QPlainTextEdit;
class QTreeWidget;

namespace qm {

class ActionTable;
class StatusPanels;
class TBookmarks;
class TDialogFactory;
class TMacros;
class TMru;
class TOptions;
class TOutputLog;
class TProject;
class TQorSpellEngine;
class TRichText2;
class TRuler;
class TSpecCharGrid;
class TStyleCombo;
class TStyles;
class TfrmFind;
class TfrmMessage;
class TfrmReplace;
class SettingsStore;
class TUserTools;
class UiServices;

inline constexpr const char* kMsgModuleGone = "The specified module no longer exists in the project.";

// The pages of the project explorer, in tab order.
enum class ExplorerPage { Topics = 0, Popups = 1 };

// The tabs of the messages pane, in tab order.
enum class OutputTab { Quillmark = 0, Compiler = 1, Search = 2 };

// The window's panes.
enum class Pane { Explorer, Messages };

// The window's dock sites for the panes, as the options name them
// ("pnlLeftDock", "pnlRightDock", "pnlBottomDock").
enum class DockSite { Left, Right, Bottom };

class TMainContext {
public:
    virtual ~TMainContext() = default;

    // --- the global objects ---
    virtual TProject& Project() = 0;
    virtual TOptions& Options() = 0;
    virtual TOutputLog& BuildLog() = 0;
    virtual TMru& Mru() = 0;
    virtual TBookmarks& Bookmarks() = 0;
    // The macro catalogue, for the dialogs that build macros.
    virtual TMacros& Macros() = 0;
    // The spell engine; null until start-up has made it.
    virtual TQorSpellEngine* SpellEngine() const = 0;

    // --- the parts ---
    virtual QMainWindow& Window() = 0;
    virtual UiServices& Ui() = 0;
    virtual StatusPanels& Status() const = 0;
    virtual ActionTable& Actions() const = 0;
    virtual TRichText2* Editor() const = 0;
    // The hidden second editor (rtfUser): the scratch buffer in which other
    // modules' texts are loaded, e.g. to print them.
    virtual TRichText2* UserEditor() const = 0;
    // Makes, presets and runs the authoring dialogs.
    virtual TDialogFactory& Dialogs() const = 0;
    // The progress window of long operations; may be null during shutdown.
    virtual TfrmMessage* ProgressForm() const = 0;
    // "Quillmark 1.51 - <file name>" for the window's title.
    virtual void UpdateCaption() = 0;
    // Shows or hides a pane; the options remember it for the next start.
    virtual bool PaneShown(Pane pane) const = 0;
    // Showing a docked pane opens its site to the dock width at a side, or
    // to 150 pixels at the bottom.
    virtual void ShowPane(Pane pane, bool show) = 0;
    // True while the pane floats outside the window.
    virtual bool PaneFloating(Pane pane) const = 0;
    // Docks the pane into a site of the window; its visibility stays.
    virtual void DockPane(Pane pane, DockSite site) = 0;
    virtual void ShowRuler(bool show) = 0;
    // The top tool bars by objectName ("tbStandard", ...); shown or not is
    // not remembered. A name that is no tool bar counts as hidden.
    virtual bool ToolBarShown(const char* name) const = 0;
    virtual void ShowToolBar(const char* name, bool show) = 0;

    // --- the module lists and the current module ---
    virtual ExplorerPage ActivePage() const = 0;
    virtual void ShowPage(ExplorerPage page) = 0;
    // Rows of a page's list, its selected row (-1: none), and selecting one.
    virtual int ListCount(ExplorerPage page) const = 0;
    virtual int ListRow(ExplorerPage page) const = 0;
    virtual void SetListRow(ExplorerPage page, int row) = 0;
    // True while the list of `page` has the keyboard focus.
    virtual bool ListFocused(ExplorerPage page) const = 0;
    // The node of a page's selected row, or of row `row`; 0 when none.
    virtual TNodeId SelectedNode(ExplorerPage page) const = 0;
    virtual TNodeId NodeAt(ExplorerPage page, int row) const = 0;
    // Selects the node's row on its list without opening it.
    virtual void SelectNode(TNodeId id) = 0;
    // The open routine on a page's selected row: stores the editor into the
    // current module, then loads the chosen one.
    virtual void OpenSelected(ExplorerPage page) = 0;
    // Opens a node; 0 or an unknown id shows the invalid-link message.
    virtual void GotoModule(TNodeId id) = 0;
    // Every reader of module texts stores the editor first.
    virtual void StoreCurrentModule() = 0;
    virtual TNodeId CurrentModule() const = 0;
    virtual TTopicNode* CurrentNode() const = 0;
    // Forgets the open module without storing it (its node was replaced).
    virtual void ForgetCurrentModule() = 0;
    // Fills both lists and combo boxes from the project (lists unsorted).
    virtual void RefillLists() = 0;
    // Sorts both lists by name, ascending.
    virtual void SortListsByName() = 0;
    virtual void RepaintLists() = 0;
    // Replaces the project: the old one goes only after nothing can reach it.
    virtual void InstallProject(std::unique_ptr<TProject> project) = 0;
    // Starts the open project over as a new one, the editor and lists with it.
    virtual void ResetProject() = 0;

    // --- the messages pane ---
    virtual OutputTab CurrentOutput() const = 0;
    virtual void ShowOutput(OutputTab tab) = 0;
    // Empties the log and its tree.
    virtual void ClearBuildLog() = 0;
    // Shows the build log in its tree with the time the build took.
    virtual void ShowLogTree(int milliseconds) = 0;
    // The compiler's report in its tree, one row a line.
    virtual void ShowCompilerReport(const StringList& lines) = 0;
    virtual void ClearCompilerReport() = 0;
    virtual void ClearSearchResults() = 0;
    // The build log, the compiler's report and the search results.
    virtual void ClearOutputs() = 0;
    // What an import could not bring in, one row a line in the build log's
    // tree (rows that lead nowhere).
    virtual void ShowImportNotes(const StringList& lines) = 0;
    virtual void RemoveSearchHighlights() = 0;
    // The search results (lvwFind): columns module, offset, length; each hit
    // row carries its node's Id.
    virtual QTreeWidget* SearchList() const = 0;

    // --- find and replace ---
    // The modeless forms, made once at start-up; null before and after.
    virtual TfrmFind* FindForm() const = 0;
    virtual TfrmReplace* ReplaceForm() const = 0;
    // Replaces `oldText` by `newText` in the text of every module (a
    // rename's link update: `="old"` by `="new"`); the number of links changed.
    virtual int UpdateLinks(const std::string& oldText, const std::string& newText) = 0;
    // The node's new name shows in its list row and in the sorted combo box.
    virtual void ShowRenamedModule(TNodeId id) = 0;

    // --- navigation ---
    virtual void ClearHistory() = 0;

    // --- the navigation history and the editor frame ---
    virtual const THistory& History() const = 0;
    // Opens the module of entry `k` of a history list (entry 0: Back or
    // Forward); the lists change only once it is open. A module that is gone
    // is reported and its entry dropped.
    virtual void HistoryStep(HistoryList list, int k) = 0;
    virtual bool HistoryBarShown() const = 0;
    virtual void ShowHistoryBar(bool show) = 0;
    // Shows or hides the bookmark gutter, with the text's margin, the ruler's
    // origin and the editor bar's gutter button; the options remember it.
    virtual void ShowGutter(bool show) = 0;
    // Repaints the gutter and the bookmark commands' state after a change.
    virtual void RefreshGutter() = 0;
    // Shows the Rich Text Output pane filled with the editor's RTF, or hides
    // it; the options remember it.
    virtual void ShowRtfOutput(bool show) = 0;
    virtual QPlainTextEdit* RtfMemo() const = 0;

    // --- formatting ---
    virtual TStyles& Styles() = 0;
    virtual TRuler& RulerControl() const = 0;
    // The format tool bar's style box, and the object that draws it (null
    // until start-up has made it).
    virtual QComboBox* StyleBox() const = 0;
    virtual TStyleCombo* StyleCombo() const = 0;
    // The editor's selection-change handler: ruler, style box, caret position.
    virtual void EditorSelectionChanged() = 0;

    // --- adding and removing modules ---
    // True while a command holds the editor's text in hand (the spelling
    // dialog waits): nothing may then add, remove or rename a module.
    virtual bool EditorTextHeld() const = 0;
    // A new node's row goes at the end of its list and its name into the
    // combo box of its kind, at its sorted place.
    virtual void AddModuleRow(TNodeId id) = 0;
    // The node's row leaves its list, whose row at the same place (else its
    // last) becomes selected and which gets the focus; its name leaves the
    // combo box. The node itself stays in the project.
    virtual void RemoveModuleRow(TNodeId id) = 0;

    // --- tags ---
    // Adds an image's folder to the project's image folders unless it is
    // empty, one of them or the project file's own folder. Folders are
    // compared and stored without a trailing separator, ignoring case.
    virtual void AddImageFolder(const std::string& folder) = 0;
    // True while Copy Format waits for the mouse-up that applies it.
    virtual bool CopyFormatOn() const = 0;

    // --- settings (the project and program settings commands) ---
    virtual TUserTools& UserTools() = 0;
    // The store the options and the tools are saved to.
    virtual SettingsStore& Settings() = 0;
    // The format bar's font-name and font-size boxes.
    virtual QComboBox* FontNameBox() const = 0;
    virtual QComboBox* FontSizeBox() const = 0;

    // --- the special characters ---
    // The grid of the special-character pane (sgSpecChars).
    virtual TSpecCharGrid* SpecCharGrid() const = 0;
    // Shows or hides the pane; the options remember it.
    virtual void ShowSpecChars(bool show) = 0;
};

}  // namespace qm
