#pragma once
// The editor frame's commands: the bookmarks of the open topic (the gutter
// shows them) and Copy Format, the format painter.
#include <string>

#include "editor/richtext2.h"
#include "mainwindow/commandhandler.h"

class QAction;
class QCursor;

namespace qm {

inline constexpr const char* kMsgTooManyBookmarks = "A topic can hold at most 100 bookmarks.";

class TEditorFrameCommands : public TCommandHandler {
public:
    using TCommandHandler::TCommandHandler;

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    // The caret's line loses its bookmark, or gets one; a full list refuses
    // it with a message.
    void actToggleBookmarkExecute();
    // The caret to the start of the next (previous) bookmarked line, wrapping
    // round; nothing without bookmarks.
    void actNavToNextBookmarkExecute();
    void actNavToPrevBookmarkExecute();
    void actClearBookmarksExecute();
    // Copy Format: its check is the mode. On, the selection's font name,
    // size, colour and style are remembered and the editor shows the
    // format-copy cursor; off, the editor's own cursor.
    void actStyleCopyExecute();
    bool FormatPainting() const { return painting_; }
    // The mouse was released in the editor: while painting, the remembered
    // format goes onto the selection and the mode ends. True when it did.
    bool EditorMouseUp();

    // The cursor of the format painter.
    static QCursor FormatCopyCursor();

    QAction* actToggleBookmark = nullptr;
    QAction* actNavToNextBookmark = nullptr;
    QAction* actNavToPrevBookmark = nullptr;
    QAction* actClearBookmarks = nullptr;
    QAction* actStyleCopy = nullptr;

private:
    void gotoBookmark(bool next);

    bool painting_ = false;
    std::string fontName_;
    int fontSize_ = 0;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
};

}  // namespace qm
