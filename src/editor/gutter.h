#pragma once
// The bookmark gutter beside the topic editor: a strip 32 pixels wide in the
// editor's left viewport margin, in the button-face colour with a white line
// at x 30, and a bookmark glyph beside each bookmarked line. A line is a
// paragraph, as everywhere in the editor; its glyph sits beside the
// paragraph's first display line. Only the glyphs of lines in view are drawn.
#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace qm {

class TBookmarks;
class TCustomRichText2;

// The top of the glyph (14 pixels high) beside a line whose top is `lineTop`:
// centred on the line's height, which is `nextTop` - `lineTop` (the next
// display line's top), or 12 for the text's last line (no `nextTop`).
int GutterGlyphTop(int lineTop, std::optional<int> nextTop);

class TGutter : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 32;
    static constexpr int LineX = 30;
    static constexpr int GlyphX = 7;
    static constexpr int GlyphWidth = 12;
    static constexpr int GlyphHeight = 14;
    // The glyph's colour, which nothing else in the gutter has.
    static QColor GlyphColor() { return QColor(0x1f, 0x4e, 0x9c); }

    // A child of `editor`, kept in its left viewport margin; it repaints when
    // the editor scrolls, resizes or lays its text out again. The editor
    // must leave Width pixels of viewport margin for it.
    explicit TGutter(TCustomRichText2& editor);

    // Where the list whose lines carry a glyph is found at each paint (its
    // owner may replace it); none, or a source giving null: no glyphs.
    using BookmarkSource = std::function<const TBookmarks*()>;
    void SetBookmarks(BookmarkSource source);
    void SetBookmarks(const TBookmarks* bookmarks);

    struct Glyph {
        int line;
        int top;
    };
    // The glyphs in view, in line order, in the gutter's co-ordinates.
    std::vector<Glyph> VisibleGlyphs() const;
    // Paints the gutter as paintEvent does.
    void Paint(QPainter& p) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void place();

    TCustomRichText2& editor_;
    BookmarkSource bookmarks_;
};

}  // namespace qm
