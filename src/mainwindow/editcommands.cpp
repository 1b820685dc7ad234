#include "mainwindow/editcommands.h"

#include <QAction>

#include "mainwindow/maincontext.h"
#include "widgets/actiontable.h"

namespace qm {

void TEditCommands::CreateActions(ActionTable& table) {
    actUndo = table.Add({"actUndo", "&Undo", "Ctrl+Z", "Undo|Undoes the last change.", "edit-undo",
                         [this] { actUndoExecute(); }});
    actRedo = table.Add({"actRedo", "&Redo", "Ctrl+Y", "Redo|Redoes the change last undone.", "edit-redo",
                         [this] { actRedoExecute(); }});
    actCut = table.Add({"actCut", "Cu&t", "Ctrl+X", "Cut|Moves the selection to the clipboard.", "edit-cut",
                        [this] { actCutExecute(); }});
    actCopy = table.Add({"actCopy", "&Copy", "Ctrl+C", "Copy|Copies the selection to the clipboard.", "edit-copy",
                         [this] { actCopyExecute(); }});
    actPaste = table.Add({"actPaste", "&Paste", "Ctrl+V", "Paste|Inserts the clipboard's text.", "edit-paste",
                          [this] { actPasteExecute(); }});
    actDelete = table.Add({"actDelete", "&Delete", "Del", "Delete|Deletes the selection.", "edit-delete",
                           [this] { actDeleteExecute(); }});
    actSelectAll = table.Add({"actSelectAll", "Select &All", "Ctrl+A", "Select All|Selects the whole text.",
                              "edit-select-all", [this] { actSelectAllExecute(); }});
    actGotoLine = table.Add({"actGotoLine", "&Go to Line...", "Ctrl+G", "Go to Line|Moves the caret to a line.",
                             "go-jump", [this] { actGotoLineExecute(); }});
}

void TEditCommands::UpdateActions() {}

void TEditCommands::actUndoExecute() {}
void TEditCommands::actRedoExecute() {}
void TEditCommands::actCutExecute() {}
void TEditCommands::actCopyExecute() {}
void TEditCommands::actPasteExecute() {}
void TEditCommands::actDeleteExecute() {}
void TEditCommands::actSelectAllExecute() {}
void TEditCommands::actGotoLineExecute() {}

}  // namespace qm
