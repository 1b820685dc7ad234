#pragma once
// The contents file editor: the window in which the author edits one
// contents (.cnt) file, its tree of entries and its header data. The project's
// topics are listed on the left, to be inserted or dragged into the tree.
// Every change goes into the window's own TCntFile and reaches the disk only
// through Save or Save As; every way out asks first when there are changes.
//
// Made by TDialogFactory::RunContentsEditor and run modally through the UI
// services (so tests answer it as "frmContentsEdit"); the entry and properties
// dialogs it opens are made for one use and run the same way.
#include <memory>
#include <optional>
#include <string>

#include <QDialog>

#include "formats/cntfile.h"

class QAction;
class QFrame;
class QMenu;
class QMenuBar;
class QMimeData;
class QSplitter;
class QToolBar;
class QToolButton;

namespace qm {

class ActionTable;
class TCntRowsModel;
class TCntTreeView;
class TDialogFactory;
class TMacros;
class TProject;
class TTopicDragList;
class UiServices;

inline constexpr int kContentsEditHelpContext = 235;

inline constexpr const char* kMsgCntSaveChanges = "Save changes to the current contents file?";
inline constexpr const char* kMsgCntDeleteItem = "Delete the selected item?";
inline constexpr const char* kMsgCntDeleteHeader =
    "WARNING:\nDeleting a header node will also delete all its child nodes and sub-header nodes.\n\n"
    "Are you sure you want to delete the selected header?";

class TfrmContentsEdit : public QDialog {
    Q_OBJECT
public:
    // Lists the project's topics. With `openProjectContents`, the project's
    // contents file is opened when the project has a file name and that file
    // exists; otherwise the window starts untitled with the project's help
    // file and title. The project and the macros are read, never changed.
    TfrmContentsEdit(TDialogFactory& factory, const TProject& project, const TMacros& macros, bool openProjectContents,
                     QWidget* parent = nullptr);
    ~TfrmContentsEdit() override;

    // Loads a contents file. When it cannot be read, an error box shows why
    // and the window is untitled and empty; false then.
    bool OpenFile(const std::string& name);
    // Writes the file under `name`; on failure an error box shows why and
    // the modified flag and the caption stay. True when it was written.
    bool SaveFile(const std::string& name);
    // The Save As dialog; the chosen name, or nullopt when cancelled.
    std::optional<std::string> ExecuteSaveDialog();
    // True when the current file may be abandoned: it has no changes, or the
    // author saved them or chose not to.
    bool QuerySave();
    // Places a new entry by the insertion rule (the tree owns it then) and
    // shows it; the caller sets the modified flag.
    void InsertItem(std::unique_ptr<TCntNode> item);

    // The name the Save As dialog proposes: the project's contents file,
    // else its project file's name with ".cnt", else "untitled.cnt".
    std::string ProposedFileName() const;
    TCntFile& ContentsFile() { return file_; }
    const TCntFile& ContentsFile() const { return file_; }
    // The selected row of lstTree (-1: none), and selecting one.
    int SelectedRow() const;
    void SelectRow(int row);
    // Applies the enabling rules now.
    void UpdateActions();
    // Handles a drop on lstTree at `row` (-1: off the rows).
    void DropOnTree(const QMimeData* data, int row);

    // --- the commands
    void actNewExecute();
    void actOpenExecute();
    void actSaveExecute();
    void actSaveAsExecute();
    void actFilePropsExecute();
    void actAddTopicExecute();
    void actAddHeaderExecute();
    void actAddMacroExecute();
    void actAddIncludeExecute();
    void actAddCommentExecute();
    void actInsertSelExecute();
    void actItemPropsExecute();
    void actMoveUpExecute();
    void actMoveDownExecute();
    void actMoveLeftExecute();
    void actMoveRightExecute();
    void actDeleteExecute();
    void actHelpExecute();

    QMenuBar* mnuMain = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuInsert = nullptr;
    QMenu* mnuTreePop = nullptr;
    QToolBar* tbCommands = nullptr;
    QSplitter* splMain = nullptr;
    TTopicDragList* lstTopics = nullptr;
    QFrame* pnlCommands = nullptr;
    TCntTreeView* lstTree = nullptr;
    QToolButton* spbMoveUp = nullptr;
    QToolButton* spbMoveDown = nullptr;
    QToolButton* spbMoveLeft = nullptr;
    QToolButton* spbMoveRight = nullptr;
    QToolButton* spbMoveDelete = nullptr;
    QToolButton* spbMoveProperties = nullptr;

    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actClose = nullptr;
    QAction* actSave = nullptr;
    QAction* actSaveAs = nullptr;
    QAction* actFileProps = nullptr;
    QAction* actExit = nullptr;
    QAction* actAddTopic = nullptr;
    QAction* actAddHeader = nullptr;
    QAction* actAddMacro = nullptr;
    QAction* actAddInclude = nullptr;
    QAction* actAddComment = nullptr;
    QAction* actInsertSel = nullptr;
    QAction* actItemProps = nullptr;
    QAction* actMoveUp = nullptr;
    QAction* actMoveDown = nullptr;
    QAction* actMoveLeft = nullptr;
    QAction* actMoveRight = nullptr;
    QAction* actDelete = nullptr;
    QAction* actHelp = nullptr;

public slots:
    // Esc, the close box and Exit: closes only when QuerySave agrees.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateWidgets();
    UiServices& Ui() const;
    // Empty and untitled: the tree, the header data, the name, the flag.
    void ClearFile();
    void SetCaption();
    // The rows again after a change of the tree, with `row` selected.
    void ShowTree(int row);
    // The topic entry of the project's topic `name` (its title and window);
    // nullptr, after telling why, when the topic is gone or a line cannot
    // hold its fields.
    std::unique_ptr<TCntNode> TopicEntry(const std::string& name);
    // Runs the entry dialog of `entry`'s kind; `isNew` presets a new topic
    // entry. True when it was accepted and copied into the entry.
    bool RunEntryDialog(TCntNode& entry, bool isNew);
    // A new entry of `kind` through its dialog, inserted by the rule.
    void AddEntry(TCntNodeKind kind);
    void Move(bool (TCntTree::*op)(int), bool sideways);
    // The folder of the project file (empty: none).
    std::string ProjectFolder() const;

    TDialogFactory& factory_;
    const TProject& project_;
    const TMacros& macros_;
    TCntFile file_;
    TCntRowsModel* rows_ = nullptr;
    ActionTable* actions_ = nullptr;
    // Set once the window may close, so the close that follows asks nothing.
    bool closing_ = false;
};

}  // namespace qm
