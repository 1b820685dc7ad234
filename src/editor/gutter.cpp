#include "editor/gutter.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "editor/richtext2.h"
#include "model/bookmarks.h"

namespace qm {

int GutterGlyphTop(int lineTop, std::optional<int> nextTop) {
    const int height = nextTop ? *nextTop - lineTop : 12;
    return lineTop + height / 2 - TGutter::GlyphHeight / 2;
}

TGutter::TGutter(TCustomRichText2& editor) : QWidget(&editor), editor_(editor) {
    setObjectName(QStringLiteral("pnlGutter"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    editor.installEventFilter(this);
    editor.viewport()->installEventFilter(this);
    auto repaint = [this] { update(); };
    connect(editor.verticalScrollBar(), &QScrollBar::valueChanged, this, repaint);
    connect(editor.document()->documentLayout(), &QAbstractTextDocumentLayout::update, this, repaint);
    connect(editor.document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, repaint);
    place();
}

void TGutter::SetBookmarks(BookmarkSource source) {
    bookmarks_ = std::move(source);
    update();
}

void TGutter::SetBookmarks(const TBookmarks* bookmarks) {
    SetBookmarks(BookmarkSource([bookmarks] { return bookmarks; }));
}

void TGutter::place() {
    const QRect view = editor_.viewport()->geometry();
    setGeometry(editor_.contentsRect().left(), view.top(), Width, view.height());
}

bool TGutter::eventFilter(QObject* watched, QEvent* e) {
    if ((watched == &editor_ || watched == editor_.viewport()) &&
        (e->type() == QEvent::Resize || e->type() == QEvent::Move))
        place();
    return QWidget::eventFilter(watched, e);
}

std::vector<TGutter::Glyph> TGutter::VisibleGlyphs() const {
    std::vector<Glyph> out;
    const TBookmarks* bookmarks = bookmarks_ ? bookmarks_() : nullptr;
    if (!bookmarks) return out;
    QTextDocument* doc = editor_.document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const int scroll = editor_.verticalScrollBar()->value();
    // The top of a block's display line `i` in the gutter's co-ordinates;
    // asking for the block's rectangle lays it out first.
    auto lineTop = [&](const QTextBlock& b, int i) -> std::optional<int> {
        layout->blockBoundingRect(b);
        const QTextLayout* tl = b.layout();
        if (!tl || i >= tl->lineCount()) return std::nullopt;
        return static_cast<int>(tl->position().y() + tl->lineAt(i).y()) - scroll;
    };
    // Only the bookmarks are visited (sorted, at most 100), from the first
    // whose paragraph reaches into the view, found by halving: the cost does
    // not grow with the length of the text nor with the bookmarks above.
    auto belowTop = [&](int i) {
        const QTextBlock b = doc->findBlockByNumber(bookmarks->GetItem(i));
        return !b.isValid() || layout->blockBoundingRect(b).bottom() - scroll > 0;
    };
    int first = 1, last = bookmarks->Count() + 1;
    while (first < last) {
        const int mid = first + (last - first) / 2;
        if (belowTop(mid))
            last = mid;
        else
            first = mid + 1;
    }
    int previous = -1;
    for (int i = first; i <= bookmarks->Count(); ++i) {
        const int line = bookmarks->GetItem(i);
        if (line == previous) continue;
        previous = line;
        const QTextBlock b = doc->findBlockByNumber(line);
        if (!b.isValid()) continue;
        const std::optional<int> top = lineTop(b, 0);
        if (!top) continue;
        if (*top >= height()) break;  // this and every later line is below the view
        std::optional<int> next = lineTop(b, 1);
        if (!next && b.next().isValid()) next = lineTop(b.next(), 0);
        const int y = GutterGlyphTop(*top, next);
        if (y + GlyphHeight <= 0 || y >= height()) continue;
        out.push_back({line, y});
    }
    return out;
}

void TGutter::Paint(QPainter& p) const {
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setPen(Qt::white);
    p.drawLine(LineX, 0, LineX, height());
    // A ribbon with a notch at its foot, in one flat colour.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(GlyphColor());
    p.setBrush(GlyphColor());
    for (const Glyph& g : VisibleGlyphs()) {
        const int x = GlyphX, y = g.top, r = GlyphX + GlyphWidth - 1, b = g.top + GlyphHeight - 1;
        p.drawPolygon(
            QPolygon({QPoint(x, y), QPoint(r, y), QPoint(r, b), QPoint(x + GlyphWidth / 2, b - 4), QPoint(x, b)}));
    }
}

void TGutter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Paint(p);
}

}  // namespace qm
