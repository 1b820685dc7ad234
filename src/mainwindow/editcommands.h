#pragma once
// The Edit menu's commands on text: undo and redo, the clipboard, delete
// and select all, each on the control that has the focus (the editor, the
// Rich Text Output memo, the find boxes, the module lists), and Go to Line.
#include <QObject>

#include "mainwindow/commandhandler.h"

class QAction;
class QComboBox;

namespace qm {

class TTopicCommands;

// Go to Line's refusal, after the answer.
inline constexpr const char* kMsgGotoLineRefused = " is not a valid integer value.";

class TEditCommands : public QObject, public TCommandHandler {
    Q_OBJECT
public:
    // `topics` removes the selected module when Delete runs in a list.
    TEditCommands(TMainContext& context, TTopicCommands& topics) : TCommandHandler(context), topics_(topics) {}

    void CreateActions(ActionTable& table) override;
    // Paste while the clipboard holds text; undo, redo, cut, copy and delete
    // by the focused control (the editor, the memo, a module list), kept as
    // they were while the focus is elsewhere.
    void UpdateActions() override;

    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;
    QAction* actCut = nullptr;
    QAction* actCopy = nullptr;
    QAction* actPaste = nullptr;
    QAction* actDelete = nullptr;
    QAction* actSelectAll = nullptr;
    QAction* actGotoLine = nullptr;

    // In the memo when it has the focus (which it keeps), else in the
    // editor, which gets the focus.
    void actUndoExecute();
    // In the editor, which gets the focus.
    void actRedoExecute();
    // In the memo when it has the focus, else in the editor.
    void actCutExecute();
    void actCopyExecute();
    // Into the memo, else into the find or replace box that has the focus,
    // else into the editor.
    void actPasteExecute();
    // The memo's selection; in a module list the selected module (through
    // Remove, with its question); else the editor's selection.
    void actDeleteExecute();
    void actSelectAllExecute();
    // Asks for a line; a line of the text moves the caret to its start,
    // anything else is refused with a message. The editor gets the focus.
    void actGotoLineExecute();

private:
    bool MemoFocused() const;
    // The find form's or replace form's text box that has the focus; null
    // when none has.
    QComboBox* FocusedFindBox() const;

    TTopicCommands& topics_;
};

}  // namespace qm
