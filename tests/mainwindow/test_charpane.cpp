// The special-character pane: its table, the grid's cells, hover and
// painting, and in the real window the toggle, the insertion at the caret
// and the font it follows.
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <cctype>
#include <set>

#include "mainwindow/charpane.h"
#include "mainwindow_fixture.h"
#include "model/options.h"

namespace qmtest {
namespace {

TEST(SpecialCharacters, TheTableHoldsTheCharactersInItsOrder) {
    const auto& table = qm::SpecialCharacters();
    ASSERT_EQ(table.size(), 150u);
    struct Row {
        std::size_t index;
        unsigned char c;
    };
    // The starts of the ranges, and the places where the order jumps.
    for (const Row& row :
         {Row{0, 0x23}, Row{12, 0x2F}, Row{13, 0x3A}, Row{20, 0x5B}, Row{26, 0x7B}, Row{30, 0x80}, Row{31, 0x82},
          Row{35, 0x99}, Row{36, 0xA9}, Row{37, 0xAE}, Row{38, 0x86}, Row{45, 0x91}, Row{56, 0x9F}, Row{57, 0xA1},
          Row{65, 0xAA}, Row{69, 0xAF}, Row{74, 0xB4}, Row{75, 0xB5}, Row{149, 0xFF}}) {
        SCOPED_TRACE(row.index);
        EXPECT_EQ(table[row.index], row.c);
    }
    // No character twice, and none a keyboard has anyway.
    const std::set<unsigned char> distinct(table.begin(), table.end());
    EXPECT_EQ(distinct.size(), table.size());
    for (unsigned char c : table) {
        EXPECT_FALSE(std::isalnum(c) && c < 0x80) << int(c);
        EXPECT_NE(c, ' ');
        // Bytes Windows-1252 leaves unassigned.
        for (unsigned char unused : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_NE(c, unused);
    }
}

TEST(SpecialCharacters, ClicksInsertTheTagEscapesForAngleBrackets) {
    struct Row {
        const char* name;
        unsigned char c;
        std::string inserted;
    };
    for (const Row& row : {Row{"less than", '<', "&lt;"}, Row{"greater than", '>', "&rt;"},
                           Row{"e acute", 0xE9, "\xE9"}, Row{"euro", 0x80, "\x80"}, Row{"ampersand", '&', "&"}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qm::SpecCharInsertion(row.c), row.inserted);
    }
}

class SpecCharGridTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
};

TEST_F(SpecCharGridTest, CellsAreTwentyPixelsInTwoRowsOfSeventyFive) {
    qm::TSpecCharGrid grid;
    EXPECT_EQ(grid.size(), QSize(1500, 40));
    struct Row {
        QPoint at;
        int cell;
    };
    for (const Row& row : {Row{{0, 0}, 0}, Row{{19, 19}, 0}, Row{{20, 0}, 1}, Row{{1499, 0}, 74}, Row{{0, 20}, 75},
                           Row{{1499, 39}, 149}, Row{{-1, 5}, -1}, Row{{5, 40}, -1}, Row{{1500, 5}, -1}}) {
        SCOPED_TRACE(row.cell);
        EXPECT_EQ(qm::TSpecCharGrid::CellAt(row.at), row.cell);
    }
    EXPECT_EQ(qm::TSpecCharGrid::CellRect(76), QRect(20, 20, 20, 20));
}

// The cell under the mouse is the selected one, drawn in the highlight
// colour with white text; the others are white with black text.
TEST_F(SpecCharGridTest, HoverSelectsTheCellUnderTheMouse) {
    qm::TSpecCharGrid grid;
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QTest::mouseMove(&grid, qm::TSpecCharGrid::CellRect(78).center());
    EXPECT_EQ(grid.Selected(), 78);
    QTest::mouseMove(&grid, {5, 5});
    EXPECT_EQ(grid.Selected(), 0);
    QTest::mouseMove(&grid, qm::TSpecCharGrid::CellRect(149).center());
    EXPECT_EQ(grid.Selected(), 149);

    const QImage image = grid.grab().toImage();
    const QColor highlight = grid.palette().color(QPalette::Highlight);
    const QRect selected = qm::TSpecCharGrid::CellRect(149);
    const QRect other = qm::TSpecCharGrid::CellRect(148);
    EXPECT_EQ(QColor(image.pixel(selected.topLeft() + QPoint(1, 1))), highlight);
    EXPECT_EQ(QColor(image.pixel(other.topLeft() + QPoint(1, 1))), QColor(Qt::white));
    // The character: light pixels inside the selected cell, dark ones in the
    // other (the edges of a letter are smoothed into its background).
    auto has = [&](const QRect& cell, const std::function<bool(const QColor&)>& test) {
        for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
            for (int x = cell.left() + 2; x < cell.right() - 1; ++x)
                if (test(QColor(image.pixel(x, y)))) return true;
        return false;
    };
    EXPECT_TRUE(has(selected, [](const QColor& c) { return c.lightness() > 230; }));
    EXPECT_TRUE(has(other, [](const QColor& c) { return c.lightness() < 80; }));
    EXPECT_FALSE(has(other, [&](const QColor& c) { return c == highlight; }));

    // A click reports the cell it began and ended on.
    std::vector<int> clicked;
    QObject::connect(&grid, &qm::TSpecCharGrid::cellClicked, [&](int i) { clicked.push_back(i); });
    QTest::mouseClick(&grid, Qt::LeftButton, Qt::NoModifier, qm::TSpecCharGrid::CellRect(3).center());
    QTest::mousePress(&grid, Qt::LeftButton, Qt::NoModifier, qm::TSpecCharGrid::CellRect(4).center());
    QTest::mouseRelease(&grid, Qt::LeftButton, Qt::NoModifier, qm::TSpecCharGrid::CellRect(6).center());
    EXPECT_EQ(clicked, std::vector<int>{3});
}

class SpecCharsWindowTest : public MainWindowTest {
protected:
    // The topic "Chars" with "ab" in Arial and "cd" in Courier New, open.
    std::unique_ptr<qm::TfrmMain> OpenChars() {
        qm::TProject p;
        p.NewProject();
        qm::TTopicNode& node = p.Topics.AddNew();
        node.SetName("Chars");
        node.SetTitle("Chars");
        node.ContextId = 10;
        node.Text =
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Courier New;}}\r\n\\viewkind4\\uc1"
            "\\pard\\f0\\fs20 ab{\\f1 cd}\\par\r\n}";
        const std::string path = root_ + "chars.qpf";
        p.SaveToFile(path);
        auto w = Start({qm::FromCp1252(path)});
        EXPECT_TRUE(started);
        OpenRow(*w, "lstTopics", "Chars");
        return w;
    }
    static int CellOf(unsigned char c) {
        const auto& table = qm::SpecialCharacters();
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i] == c) return static_cast<int>(i);
        ADD_FAILURE() << "no cell for " << int(c);
        return 0;
    }
};

TEST_F(SpecCharsWindowTest, TheToggleShowsThePaneAndRemembersIt) {
    auto w = OpenChars();
    QAction* toggle = Act(*w, "actToggleSpecChars");
    EXPECT_EQ(toggle->shortcut(), QKeySequence(QStringLiteral("Shift+F5")));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    auto* pane = Child<QWidget>(*w, "pnlSpecChars");
    EXPECT_FALSE(pane->isVisible());
    toggle->trigger();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(w->Options().ShowSpecChars);
    toggle->trigger();
    EXPECT_FALSE(pane->isVisible());
    EXPECT_FALSE(w->Options().ShowSpecChars);
    // The next start shows it as it was left.
    toggle->trigger();
    ASSERT_TRUE(w->FormCloseQuery());
    w.reset();
    auto again = OpenChars();
    again->show();
    EXPECT_TRUE(Act(*again, "actToggleSpecChars")->isChecked());
    EXPECT_TRUE(Child<QWidget>(*again, "pnlSpecChars")->isVisible());
}

// A click puts the character in at the caret, the angle brackets as the
// tag language's escapes; the editor keeps the focus.
TEST_F(SpecCharsWindowTest, AClickInsertsTheCharacterAtTheCaret) {
    auto w = OpenChars();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    Act(*w, "actToggleSpecChars")->trigger();
    auto* grid = Child<qm::TSpecCharGrid>(*w, "sgSpecChars");
    struct Row {
        const char* name;
        unsigned char c;
        std::string text;  // of the topic afterwards, Windows-1252
    };
    std::string text = "abcd";
    int caret = 2;
    for (const Row& row : {Row{"less than", '<', "&lt;"}, Row{"greater than", '>', "&rt;"},
                           Row{"e acute", 0xE9, "\xE9"}, Row{"euro", 0x80, "\x80"}}) {
        SCOPED_TRACE(row.name);
        w->Editor()->SetSelStart(caret);
        const QRect cell = qm::TSpecCharGrid::CellRect(CellOf(row.c));
        QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, cell.center());
        text.insert(static_cast<std::size_t>(caret), row.text);
        caret += static_cast<int>(row.text.size());
        EXPECT_EQ(w->Editor()->GetTextRange(0, -1), text);
        EXPECT_EQ(w->Editor()->GetSelStart(), caret);
        EXPECT_EQ(QApplication::focusWidget(), w->Editor());
    }
    // The model's text holds the characters as Windows-1252.
    w->StoreCurrentModule();
    const std::string& stored = w->CurrentNode()->Text;
    EXPECT_NE(stored.find("&lt;&rt;"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\\'e9\\'80"), std::string::npos) << stored;
    EXPECT_TRUE(w->Project().Modified);
    w->Project().Modified = false;
}

// The grid draws in the face of the text at the caret, and scrolls sideways
// in a window narrower than its 1500 pixels.
TEST_F(SpecCharsWindowTest, TheGridFollowsTheSelectionsFontAndScrollsInANarrowWindow) {
    auto w = OpenChars();
    w->resize(1000, 700);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Act(*w, "actToggleSpecChars")->trigger();
    QApplication::processEvents();
    auto* grid = Child<qm::TSpecCharGrid>(*w, "sgSpecChars");
    w->Editor()->SetSelStart(1);
    EXPECT_EQ(grid->FontName(), QStringLiteral("Arial"));
    w->Editor()->SetSelStart(3);
    EXPECT_EQ(grid->FontName(), QStringLiteral("Courier New"));

    auto* pane = Child<qm::TSpecCharPane>(*w, "pnlSpecChars");
    EXPECT_GT(pane->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(pane->viewport()->height(), 40);
    // Scrolled to its end, the last cell shows.
    pane->horizontalScrollBar()->setValue(pane->horizontalScrollBar()->maximum());
    const QPoint last = grid->mapTo(pane->viewport(), qm::TSpecCharGrid::CellRect(149).bottomRight());
    EXPECT_EQ(last.x(), pane->viewport()->width() - 1);
}

}  // namespace
}  // namespace qmtest
