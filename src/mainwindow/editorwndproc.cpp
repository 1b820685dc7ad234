#include "mainwindow/editorwndproc.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTextBlock>

#include "editor/richtext2.h"
#include "editor/tagtextcache.h"
#include "editor/vlist.h"
#include "mainwindow/maincontext.h"
#include "model/options.h"

namespace qm {

namespace {

// The cursor over a tag: an arrow with a small pair of angle brackets.
QCursor MakeTagCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF arrow[] = {{1, 1}, {1, 17}, {5, 13}, {8, 20}, {10, 19}, {7, 12}, {12, 12}};
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPolygon(arrow, 7);
    QPen pen(QColor(0, 90, 200), 2);
    p.setPen(pen);
    p.drawPolyline(QPolygonF({{18, 16}, {14, 20}, {18, 24}}));
    p.drawPolyline(QPolygonF({{24, 16}, {28, 20}, {24, 24}}));
    return QCursor(pixmap, 1, 1);
}

}  // namespace

TEditorWndProc::TEditorWndProc(TMainContext& context, TTagTextCache& text) : ctx_(context), text_(text) {}

TEditorWndProc::~TEditorWndProc() { Remove(); }

void TEditorWndProc::Install(TRichText2* editor, TfrmVList* list) {
    Remove();
    editor_ = editor;
    viewport_ = editor->viewport();
    list_ = list;
    tagCursor_ = MakeTagCursor();
    editor->installEventFilter(this);
    editor->viewport()->installEventFilter(this);
    editor->viewport()->setMouseTracking(true);
}

void TEditorWndProc::Remove() {
    if (editor_) editor_->removeEventFilter(this);
    if (viewport_) viewport_->removeEventFilter(this);
    editor_ = nullptr;
    viewport_ = nullptr;
}

bool TEditorWndProc::MemberListVisible() const { return list_ && list_->isVisible(); }

void TEditorWndProc::HideMemberList() {
    if (list_) list_->hide();
}

void TEditorWndProc::HideListOn(const QList<QMenu*>& menus) {
    for (QMenu* menu : menus) connect(menu, &QMenu::aboutToShow, this, [this] { HideMemberList(); });
}

void TEditorWndProc::ShowMemberList(int kind) {
    if (!editor_ || !list_) return;
    if (!list_->Fill(kind, ctx_.Project(), ctx_.Macros())) return;
    // Below the caret's character, kept on the caret's screen.
    const QRect caret = editor_->cursorRect();
    const QPoint at = editor_->viewport()->mapToGlobal(QPoint(caret.left(), caret.top() + 20));
    const QScreen* screen = editor_->screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
    const TListPlace place = PlaceMemberList(at.x(), at.y(), list_->width(), list_->height(), area.left(), area.top(),
                                             area.width(), area.height());
    list_->move(place.X, place.Y);
    list_->SelectTyped();
    list_->show();
    list_->raise();
    editor_->setFocus();
}

void TEditorWndProc::pass(QKeyEvent* e) {
    const QScopedValueRollback<bool> passing(passing_, true);
    QCoreApplication::sendEvent(editor_, e);
}

std::u16string TEditorWndProc::textBeforeCaret() const {
    const QTextCursor c = editor_->textCursor();
    const QTextBlock block = c.block();
    return block.text().left(c.position() - block.position()).toStdU16String();
}

void TEditorWndProc::insertAndStepBack(const QString& text) {
    editor_->SetSelText(text);
    editor_->SetSelStart(editor_->GetSelStart() - 1);
}

void TEditorWndProc::showIfDue(char16_t ch) {
    const int kind = ListKindAfterTyping(ch, textBeforeCaret(), ctx_.Options());
    if (kind >= 0) ShowMemberList(kind);
}

bool TEditorWndProc::keyTable(QKeyEvent* e, bool& passed) {
    if (!MemberListVisible()) return false;
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Accepted, and no line break.
            list_->AcceptItem();
            HideMemberList();
            return true;
        case Qt::Key_Space: {
            const int kind = list_->ListKind();
            list_->AcceptItem();
            HideMemberList();
            // Inside quotes the name is complete; elsewhere the blank is
            // typed and may open the next list ("<MACRO ").
            if (kind != lkTopics && kind != lkPopups) characterSteps(e, false);
            return true;
        }
        case Qt::Key_Escape: HideMemberList(); return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_End:
        case Qt::Key_Home:
        case Qt::Key_Up:
        case Qt::Key_Down: QCoreApplication::sendEvent(list_->lstVList, e); return true;
        case Qt::Key_Delete:
            HideMemberList();
            pass(e);
            passed = true;
            return false;
        default: return false;
    }
}

void TEditorWndProc::characterSteps(QKeyEvent* e, bool passed) {
    const QString typed = e->text();
    if (MemberListVisible()) {
        if (!passed) pass(e);
        passed = true;
        list_->Narrow();
    }
    if (typed.size() != 1) {
        if (!passed) pass(e);
        return;
    }
    const TOptions& options = ctx_.Options();
    const char16_t ch = typed.front().unicode();
    switch (ch) {
        case u'<':
        case u'"': {
            // A selection typed over comes back inside the pair.
            const QString sel = passed ? QString() : editor_->textCursor().selectedText();
            if (!passed) pass(e);
            if (ch == u'<' ? options.AddClosingBrackets : options.AddClosingQuotes)
                insertAndStepBack(sel + QChar(ch == u'<' ? u'>' : u'"'));
            showIfDue(ch);
            break;
        }
        case u'>':
            if (!passed) pass(e);
            HideMemberList();
            break;
        case u'=':
            if (!passed) pass(e);
            showIfDue(ch);
            break;
        case u' ':
            if (e->modifiers() & Qt::ControlModifier) break;
            if (!passed) pass(e);
            showIfDue(ch);
            break;
        default:
            if (!passed) pass(e);
            break;
    }
}

void TEditorWndProc::mouseMove(QMouseEvent* e) {
    const QPoint inViewport = e->position().toPoint();
    const THotCursorState state{ctx_.CopyFormatOn(), (e->buttons() & Qt::LeftButton) != 0,
                                editor_->viewport()->mapTo(editor_, inViewport).x()};
    const THotCursor wanted = HotCursorFor(state, ctx_.Options(), [&] {
        // The character under the mouse: the one whose cell holds the point.
        const QTextCursor c = editor_->cursorForPosition(inViewport);
        int index = c.position();
        if (index > 0 && inViewport.x() < editor_->cursorRect(c).left()) --index;
        return ParseTagAt(text_.Text(), index);
    });
    if (wanted == THotCursor::Unchanged) return;
    // Set only on a change: the rule runs on every move.
    const Qt::CursorShape shape = wanted == THotCursor::Pointer ? Qt::ArrowCursor
                                  : wanted == THotCursor::Hand  ? Qt::PointingHandCursor
                                  : wanted == THotCursor::Tag   ? Qt::BitmapCursor
                                                                : Qt::IBeamCursor;
    QWidget* viewport = editor_->viewport();
    if (wanted == cursor_ && viewport->cursor().shape() == shape) return;
    cursor_ = wanted;
    if (wanted == THotCursor::Tag)
        viewport->setCursor(tagCursor_);
    else
        viewport->setCursor(shape);
}

bool TEditorWndProc::eventFilter(QObject* watched, QEvent* e) {
    if (passing_ || !editor_) return QObject::eventFilter(watched, e);
    if (watched == editor_) {
        switch (e->type()) {
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(e);
                bool passed = false;
                if (keyTable(key, passed)) return true;
                if (key->text().isEmpty()) {
                    if (passed) return true;
                    return QObject::eventFilter(watched, e);
                }
                characterSteps(key, passed);
                return true;
            }
            case QEvent::FocusOut: HideMemberList(); break;
            default: break;
        }
    } else if (watched == viewport_) {
        switch (e->type()) {
            case QEvent::MouseButtonPress: HideMemberList(); break;
            case QEvent::MouseMove: mouseMove(static_cast<QMouseEvent*>(e)); break;
            default: break;
        }
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace qm
