#pragma once
// The topic editor's window procedure: an event filter on the editor and its
// viewport that adds tag insight to the rich-text control. It types closing
// brackets and quotes, shows the member list when a tag, a topic, popup or
// window name or a macro is due, drives that list from the editor's keys
// (the list never takes the focus), hides it on a click, a focus loss or a
// menu, and sets the mouse cursor over tags and links.
//
// Keys: the key table runs on key(); a key it does not consume then runs the
// character steps on text(). "Passing" a key hands it to the editor itself
// at once, so the steps after it see the character typed.
#include <QCursor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "preprocess/edittags.h"

class QKeyEvent;
class QMenu;
class QMouseEvent;

namespace qm {

class TMainContext;
class TRichText2;
class TTagTextCache;
class TfrmVList;

class TEditorWndProc : public QObject {
    Q_OBJECT
public:
    TEditorWndProc(TMainContext& context, TTagTextCache& text);
    ~TEditorWndProc() override;

    // Installs the filter on `editor` and its viewport; `list` is the member
    // list the editor owns.
    void Install(TRichText2* editor, TfrmVList* list);
    // Takes the filter off again (the window's close).
    void Remove();

    // Fills the list of `kind`, places it under the caret and shows it; the
    // focus stays in the editor. Another kind shows nothing.
    void ShowMemberList(int kind);
    void HideMemberList();
    bool MemberListVisible() const;
    // Hides the list whenever one of `menus` opens.
    void HideListOn(const QList<QMenu*>& menus);

    // The cursor the hot-cursor rule last gave the viewport (Default at first).
    THotCursor HotCursor() const { return cursor_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The key table; true when the key is done with (consumed or handled).
    bool keyTable(QKeyEvent* e, bool& passed);
    // The character steps for a key with text.
    void characterSteps(QKeyEvent* e, bool passed);
    // Hands the key to the editor itself.
    void pass(QKeyEvent* e);
    // `text` at the caret, and the caret back before its last character.
    void insertAndStepBack(const QString& text);
    // The caret's line up to the caret.
    std::u16string textBeforeCaret() const;
    void showIfDue(char16_t ch);
    void mouseMove(QMouseEvent* e);

    TMainContext& ctx_;
    TTagTextCache& text_;
    QPointer<TRichText2> editor_;
    QPointer<QObject> viewport_;
    QPointer<TfrmVList> list_;
    bool passing_ = false;
    THotCursor cursor_ = THotCursor::Default;
    QCursor tagCursor_;
};

}  // namespace qm
