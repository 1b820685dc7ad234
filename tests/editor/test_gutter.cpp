#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "editor/gutter.h"
#include "editor/richtext2.h"
#include "model/bookmarks.h"
#include "support/qtapp.h"

namespace {

using qm::GutterGlyphTop;
using qm::TGutter;

TEST(GutterGlyphTop, CentresTheGlyphOnTheLine) {
    struct Row {
        const char* name;
        int top;
        std::optional<int> next;
        int expected;
    } rows[] = {
        {"a line 16 high", 100, 116, 101},
        {"the last line counts 12 high", 100, std::nullopt, 99},
        {"an odd height rounds down", 100, 117, 101},
        {"a tall first display line", 100, 130, 108},
        {"a line partly above the view", -10, 6, -9},
        {"half of a negative height truncates towards zero", 0, -3, -8},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(GutterGlyphTop(r.top, r.next), r.expected);
    }
}

// An editor with the gutter in its margin, shown offscreen.
class GutterTest : public ::testing::Test {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        edit = std::make_unique<qm::TRichText2>();
        edit->resize(300, 200);
        edit->SetLeftViewportMargin(TGutter::Width);
        gutter = new TGutter(*edit);
        gutter->SetBookmarks(&bookmarks);
    }
    void Show(const std::string& rtf) {
        edit->SetRtfText(rtf);
        edit->show();
        QApplication::processEvents();
    }
    static std::string Lines(int n, const std::string& longLine = {}) {
        std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\pard\\f0\\fs20 ";
        for (int i = 0; i < n; ++i)
            rtf += (i == 2 && !longLine.empty() ? longLine : "line " + std::to_string(i)) + "\\par\r\n";
        return rtf + "}";
    }
    // The top of display line `i` of paragraph `line`, in the viewport's
    // (and the gutter's) co-ordinates.
    int LineTop(int line, int i = 0) const {
        QTextBlock b = edit->document()->findBlockByNumber(line);
        edit->document()->documentLayout()->blockBoundingRect(b);
        return int(b.layout()->position().y() + b.layout()->lineAt(i).y()) - edit->verticalScrollBar()->value();
    }
    // The rows of the gutter's picture that hold the glyph's colour.
    std::set<int> GlyphRows() const {
        const QImage shot = gutter->grab().toImage();
        std::set<int> rows;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (QColor(shot.pixel(x, y)) == TGutter::GlyphColor()) rows.insert(y);
        return rows;
    }

    std::unique_ptr<qm::TRichText2> edit;
    TGutter* gutter = nullptr;
    qm::TBookmarks bookmarks;
};

TEST_F(GutterTest, SitsInTheMarginAndDrawsAGlyphBesideEachBookmarkedLineOnly) {
    bookmarks.Add(1);
    bookmarks.Add(4);
    Show(Lines(30));
    EXPECT_EQ(gutter->objectName(), "pnlGutter");
    EXPECT_EQ(gutter->width(), 32);
    EXPECT_EQ(gutter->geometry().top(), edit->viewport()->geometry().top());
    EXPECT_EQ(gutter->height(), edit->viewport()->height());
    EXPECT_EQ(gutter->geometry().right() + 1, edit->viewport()->geometry().left());

    const auto glyphs = gutter->VisibleGlyphs();
    ASSERT_EQ(glyphs.size(), 2u);
    std::set<int> expected;
    for (const auto& g : glyphs) {
        SCOPED_TRACE(g.line);
        EXPECT_EQ(g.top, GutterGlyphTop(LineTop(g.line), LineTop(g.line + 1)));
        for (int y = g.top; y < g.top + TGutter::GlyphHeight; ++y) expected.insert(y);
    }
    EXPECT_EQ(glyphs[0].line, 1);
    EXPECT_EQ(glyphs[1].line, 4);
    EXPECT_EQ(GlyphRows(), expected);

    // The white line at x 30 down the whole strip, the button face elsewhere.
    const QImage shot = gutter->grab().toImage();
    for (int y : {0, shot.height() / 2, shot.height() - 1}) {
        EXPECT_EQ(QColor(shot.pixel(TGutter::LineX, y)), QColor(Qt::white)) << y;
        EXPECT_EQ(QColor(shot.pixel(2, y)), gutter->palette().color(QPalette::Button)) << y;
    }
}

TEST_F(GutterTest, FollowsTheScrollAndLeavesOutLinesOutOfView) {
    bookmarks.Add(1);
    bookmarks.Add(12);
    bookmarks.Add(29);  // the last line
    Show(Lines(30));
    edit->verticalScrollBar()->setValue(LineTop(6));
    QApplication::processEvents();
    std::set<int> lines;
    for (const auto& g : gutter->VisibleGlyphs()) {
        lines.insert(g.line);
        if (g.line == 12) {
            EXPECT_EQ(g.top, GutterGlyphTop(LineTop(12), LineTop(13)));
        }
    }
    EXPECT_EQ(lines, (std::set<int>{12}));
    // At the end, the last line's glyph is centred on a height of 12.
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
    QApplication::processEvents();
    const auto glyphs = gutter->VisibleGlyphs();
    ASSERT_FALSE(glyphs.empty());
    EXPECT_EQ(glyphs.back().line, 29);
    EXPECT_EQ(glyphs.back().top, GutterGlyphTop(LineTop(29), std::nullopt));
    EXPECT_FALSE(GlyphRows().empty());
}

TEST_F(GutterTest, AWrappedParagraphsGlyphSitsBesideItsFirstDisplayLine) {
    bookmarks.Add(2);
    std::string words;
    for (int i = 0; i < 60; ++i) words += "word ";
    Show(Lines(5, words));
    QTextBlock b = edit->document()->findBlockByNumber(2);
    ASSERT_GT(b.layout()->lineCount(), 1);
    const auto glyphs = gutter->VisibleGlyphs();
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0].top, GutterGlyphTop(LineTop(2, 0), LineTop(2, 1)));
    EXPECT_LT(glyphs[0].top + TGutter::GlyphHeight, LineTop(3));
}

TEST_F(GutterTest, NoListAndBookmarksPastTheTextDrawNothing) {
    bookmarks.Add(50);  // the text has 5 lines
    Show(Lines(5));
    EXPECT_TRUE(gutter->VisibleGlyphs().empty());
    gutter->SetBookmarks(qm::TGutter::BookmarkSource([] { return static_cast<const qm::TBookmarks*>(nullptr); }));
    bookmarks.Add(1);
    EXPECT_TRUE(gutter->VisibleGlyphs().empty());
    EXPECT_TRUE(GlyphRows().empty());
}

}  // namespace
