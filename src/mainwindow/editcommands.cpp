#include "mainwindow/editcommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <optional>

#include "dialogs/findform.h"
#include "dialogs/replaceform.h"
#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "mainwindow/topiccommands.h"
#include "platform/uiservices.h"
#include "util/errors.h"
#include "widgets/actiontable.h"

namespace qm {

namespace {

// An answer as a message quotes it: a long one is cut (QuoteInput's rule),
// and what Windows-1252 cannot hold is kept as typed.
QString QuotedAnswer(const QString& answer) {
    const auto limit = static_cast<qsizetype>(kMaxQuotedChars);
    return answer.size() <= limit ? answer : answer.left(limit) + QStringLiteral("...");
}

// The line an answer names: a whole number from 1 to `lineCount` (blanks
// around it allowed); nullopt for anything else.
std::optional<int> ParseLineNumber(const QString& answer, int lineCount) {
    const QString digits = answer.trimmed();
    if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    const int line = digits.toInt();
    if (line < 1 || line > lineCount) return std::nullopt;
    return line;
}

}  // namespace

void TEditCommands::CreateActions(ActionTable& table) {
    actUndo = table.Add(
        {"actUndo", "&Undo", "Ctrl+Z", "Undo|Undoes the last change.", "edit-undo", [this] { actUndoExecute(); }});
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
    // What these commands' states are made of.
    table.RequestOn(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    if (TRichText2* editor = ctx_.Editor()) {
        table.RequestOn(editor, &QTextEdit::undoAvailable);
        table.RequestOn(editor, &QTextEdit::redoAvailable);
    }
    if (QPlainTextEdit* memo = ctx_.RtfMemo()) {
        table.RequestOn(memo, &QPlainTextEdit::selectionChanged);
        table.RequestOn(memo, &QPlainTextEdit::undoAvailable);
    }
}

bool TEditCommands::MemoFocused() const {
    const QPlainTextEdit* memo = ctx_.RtfMemo();
    return memo && memo->hasFocus();
}

QComboBox* TEditCommands::FocusedFindBox() const {
    const QWidget* focus = QApplication::focusWidget();
    if (!focus) return nullptr;
    QComboBox* boxes[] = {ctx_.FindForm() ? ctx_.FindForm()->cboFind : nullptr,
                          ctx_.ReplaceForm() ? ctx_.ReplaceForm()->cboFind : nullptr,
                          ctx_.ReplaceForm() ? ctx_.ReplaceForm()->cboReplace : nullptr};
    for (QComboBox* box : boxes)
        if (box && box->lineEdit() && (focus == box || box->isAncestorOf(focus))) return box;
    return nullptr;
}

void TEditCommands::UpdateActions() {
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    actPaste->setEnabled(clip && clip->hasText());

    const TRichText2* editor = ctx_.Editor();
    const QPlainTextEdit* memo = ctx_.RtfMemo();
    if (editor && editor->hasFocus()) {
        const bool selected = editor->textCursor().hasSelection();
        actUndo->setEnabled(editor->CanUndo());
        actRedo->setEnabled(editor->CanRedo());
        actCut->setEnabled(selected);
        actCopy->setEnabled(selected);
        actDelete->setEnabled(selected);
    } else if (memo && memo->hasFocus()) {
        const bool selected = memo->textCursor().hasSelection();
        actUndo->setEnabled(memo->document()->isUndoAvailable());
        actRedo->setEnabled(false);
        actCut->setEnabled(selected);
        actCopy->setEnabled(selected);
        actDelete->setEnabled(selected);
    } else if (ctx_.ListFocused(ExplorerPage::Topics)) {
        actDelete->setEnabled(true);
    } else if (ctx_.ListFocused(ExplorerPage::Popups)) {
        actDelete->setEnabled(ctx_.ListCount(ExplorerPage::Popups) > 0);
    }
}

void TEditCommands::actUndoExecute() {
    if (MemoFocused()) {
        ctx_.RtfMemo()->undo();
        return;
    }
    ctx_.Editor()->Undo();
    ctx_.Editor()->setFocus();
}

void TEditCommands::actRedoExecute() {
    ctx_.Editor()->Redo();
    ctx_.Editor()->setFocus();
}

void TEditCommands::actCutExecute() {
    if (MemoFocused())
        ctx_.RtfMemo()->cut();
    else
        ctx_.Editor()->cut();
}

void TEditCommands::actCopyExecute() {
    if (MemoFocused())
        ctx_.RtfMemo()->copy();
    else
        ctx_.Editor()->copy();
}

void TEditCommands::actPasteExecute() {
    if (MemoFocused()) {
        ctx_.RtfMemo()->paste();
    } else if (QComboBox* box = FocusedFindBox()) {
        box->lineEdit()->paste();
    } else {
        ctx_.Editor()->paste();
    }
}

void TEditCommands::actDeleteExecute() {
    if (MemoFocused()) {
        ctx_.RtfMemo()->textCursor().removeSelectedText();
        return;
    }
    // The Delete key in a list comes here through the shortcut, which takes
    // the key press away from the list; a press sent to the list itself is
    // the list's own (TfrmMain::eventFilter). Either way Remove runs once.
    for (ExplorerPage page : {ExplorerPage::Topics, ExplorerPage::Popups}) {
        if (ctx_.ListFocused(page)) {
            topics_.ListDeleteKey(page);
            return;
        }
    }
    TRichText2* editor = ctx_.Editor();
    QTextCursor c = editor->textCursor();
    if (!c.hasSelection()) return;
    c.removeSelectedText();
    editor->setTextCursor(c);
}

void TEditCommands::actSelectAllExecute() {
    if (MemoFocused())
        ctx_.RtfMemo()->selectAll();
    else
        ctx_.Editor()->selectAll();
}

void TEditCommands::actGotoLineExecute() {
    TRichText2* editor = ctx_.Editor();
    // A text always has its first line, even an empty one.
    const int lines = std::max(editor->Lines.Count(), 1);
    const std::optional<QString> answer =
        ctx_.Ui().InputText(QStringLiteral("Line"), QStringLiteral("Line index (1 - %1) :").arg(lines),
                            QString::number(editor->GetCaretPos().Y + 1));
    if (answer && !answer->isEmpty()) {
        if (const std::optional<int> line = ParseLineNumber(*answer, lines))
            editor->GotoLine(*line - 1);
        else
            ctx_.Ui().Information(QuotedAnswer(*answer) + QString::fromLatin1(kMsgGotoLineRefused));
    }
    editor->setFocus();
}

}  // namespace qm
