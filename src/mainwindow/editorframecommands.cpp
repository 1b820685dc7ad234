#include "mainwindow/editorframecommands.h"

#include <QAction>
#include <QBitmap>
#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QScopeGuard>
#include <QTextCursor>
#include <QTextDocument>

#include "mainwindow/maincontext.h"
#include "model/bookmarks.h"
#include "platform/uiservices.h"
#include "widgets/actiontable.h"

namespace qm {

void TEditorFrameCommands::CreateActions(ActionTable& table) {
    actToggleBookmark = table.Add({"actToggleBookmark", "&Toggle Bookmark", "Ctrl+F2",
                                   "Toggle Bookmark|Sets or removes a bookmark on the caret's line.", "bookmark-toggle",
                                   [this] { actToggleBookmarkExecute(); }});
    actNavToNextBookmark = table.Add({"actNavToNextBookmark", "Ne&xt Bookmark", "Alt+PgDown",
                                      "Next Bookmark|Moves the caret to the next bookmarked line.", "bookmark-next",
                                      [this] { actNavToNextBookmarkExecute(); }});
    actNavToPrevBookmark = table.Add({"actNavToPrevBookmark", "Pre&vious Bookmark", "Alt+PgUp",
                                      "Previous Bookmark|Moves the caret to the previous bookmarked line.", "bookmark-previous",
                                      [this] { actNavToPrevBookmarkExecute(); }});
    actClearBookmarks =
        table.Add({"actClearBookmarks", "&Clear Bookmarks", "", "Clear Bookmarks|Removes every bookmark of the topic.",
                   "bookmark-clear", [this] { actClearBookmarksExecute(); }});
    actStyleCopy = table.Add({"actStyleCopy", "C&opy Format", "Ctrl+Shift+C",
                              "Copy Format|Copies the selection's format onto the text selected next.", "format-copy",
                              [this] { actStyleCopyExecute(); }, true});
}

void TEditorFrameCommands::UpdateActions() {
    const bool any = !ctx_.Bookmarks().Empty();
    for (QAction* a : {actNavToNextBookmark, actNavToPrevBookmark, actClearBookmarks}) a->setEnabled(any);
}

void TEditorFrameCommands::actToggleBookmarkExecute() {
    TRichText2* editor = ctx_.Editor();
    TBookmarks& bookmarks = ctx_.Bookmarks();
    const int line = editor->GetCurrentLine();
    if (bookmarks.Contains(line)) {
        bookmarks.Remove(line);
    } else if (!bookmarks.Add(line)) {
        ctx_.Ui().Information(QString::fromLatin1(kMsgTooManyBookmarks));
        return;
    }
    ctx_.RefreshGutter();
    editor->setFocus();
}

void TEditorFrameCommands::gotoBookmark(bool next) {
    TRichText2* editor = ctx_.Editor();
    const TBookmarks& bookmarks = ctx_.Bookmarks();
    if (bookmarks.Empty()) return;
    const int line = editor->GetCurrentLine();
    editor->GotoLine(next ? bookmarks.Next(line) : bookmarks.Previous(line));
    editor->ensureCursorVisible();
    editor->setFocus();
}

void TEditorFrameCommands::actNavToNextBookmarkExecute() { gotoBookmark(true); }

void TEditorFrameCommands::actNavToPrevBookmarkExecute() { gotoBookmark(false); }

void TEditorFrameCommands::actClearBookmarksExecute() {
    ctx_.Bookmarks().Clear();
    ctx_.RefreshGutter();
    ctx_.Editor()->viewport()->update();
}

QCursor TEditorFrameCommands::FormatCopyCursor() {
    // A brush: a handle and its head, with the hot spot at the bristles' tip.
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 2, 12, 7);              // the head
    p.drawRect(6, 9, 4, 3);               // the ferrule
    p.fillRect(7, 12, 3, 12, Qt::black);  // the handle
    p.setBrush(Qt::black);
    p.drawRect(2, 1, 12, 2);  // the bristles
    p.end();
    return QCursor(picture, 8, 1);
}

void TEditorFrameCommands::actStyleCopyExecute() {
    painting_ = actStyleCopy->isChecked();
    TRichText2* editor = ctx_.Editor();
    if (painting_) {
        const TTextAttributes2& a = editor->SelAttributes;
        fontName_ = a.GetName();
        fontSize_ = a.GetSize();
        color_ = a.GetColor();
        style_ = a.GetStyle();
        editor->viewport()->setCursor(FormatCopyCursor());
    } else {
        // The editor's own cursor, as it had before.
        editor->viewport()->setCursor(Qt::IBeamCursor);
    }
}

bool TEditorFrameCommands::EditorMouseUp() {
    if (!painting_) return false;
    TRichText2* editor = ctx_.Editor();
    {
        // The four changes are one step of the editor's undo.
        QTextCursor block(editor->document());
        block.beginEditBlock();
        const auto end = qScopeGuard([&] { block.endEditBlock(); });
        TTextAttributes2& a = editor->SelAttributes;
        a.SetName(fontName_);
        a.SetSize(fontSize_);
        a.SetColor(color_);
        a.SetStyle(style_);
    }
    // Copy Format once more ends the mode.
    actStyleCopy->trigger();
    return true;
}

}  // namespace qm
