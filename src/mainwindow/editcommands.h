#pragma once
// The Edit menu's commands on text: undo and redo, the clipboard, delete
// and select all, each on the control that has the focus (the editor, the
// Rich Text Output memo, the find boxes, the module lists), and Go to Line.
#include <QObject>

#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TEditCommands : public QObject, public TCommandHandler {
    Q_OBJECT
public:
    explicit TEditCommands(TMainContext& context) : TCommandHandler(context) {}

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;
    QAction* actCut = nullptr;
    QAction* actCopy = nullptr;
    QAction* actPaste = nullptr;
    QAction* actDelete = nullptr;
    QAction* actSelectAll = nullptr;
    QAction* actGotoLine = nullptr;

    void actUndoExecute();
    void actRedoExecute();
    void actCutExecute();
    void actCopyExecute();
    void actPasteExecute();
    void actDeleteExecute();
    void actSelectAllExecute();
    void actGotoLineExecute();
};

}  // namespace qm
