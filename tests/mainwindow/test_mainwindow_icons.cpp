// The main window's pictures come from the compiled-in set: every command
// has an icon that draws offscreen (where Qt knows no icon theme), the
// command bars show their glyphs where the window places them, and the
// lists, the explorer's pop-up menu and the window itself show theirs.
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "mainwindow_fixture.h"
#include "support/icondraw.h"
#include "widgets/actiontable.h"
#include "widgets/commandbar.h"
#include "widgets/icons.h"

namespace qmtest {
namespace {

// Whether two icons draw the same picture at 16 pixels.
bool SamePicture(const QIcon& a, const QIcon& b) { return !a.isNull() && DrawIcon(a, 16) == DrawIcon(b, 16); }

TEST_F(MainWindowTest, EveryCommandHasAnIconThatDrawsWithoutATheme) {
    auto w = Start();
    ASSERT_TRUE(started);
    const QList<QAction*>& actions = w->Actions().Actions();
    ASSERT_GT(actions.size(), 100);
    for (QAction* a : actions) {
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_TRUE(DrawsAt(a->icon(), 16));
    }
    // The pop-up menus' own items that run commands.
    for (const char* name :
         {"mnuProjPopEdit", "mnuProjPopSetCnt", "mnuPopResultsAction1", "mnuPopResultsClose", "mnuEditorPopEditTag",
          "mnuEditorPopViewImage", "mnuEditorPopEditImage", "mnuEditorPopFollowLink"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(DrawsAt(Act(*w, name)->icon(), 16));
    }
    // An item that runs a command shows that command's picture.
    EXPECT_TRUE(SamePicture(Act(*w, "mnuEditorPopEditTag")->icon(), Act(*w, "actEditTag")->icon()));
    EXPECT_TRUE(SamePicture(Act(*w, "mnuEditorPopFollowLink")->icon(), Act(*w, "actFollowLink")->icon()));
}

// The three bars as the window fills them: each button's tag, glyph and
// top, in order.
TEST_F(MainWindowTest, TheCommandBarsShowTheirGlyphsInPlace) {
    struct Button {
        int tag, glyph, top;
    };
    struct Row {
        const char* bar;
        int size;
        std::vector<Button> buttons;
    } rows[] = {
        {"ncbTopics", 15, {{1, 0, 1}, {2, 2, 17}, {3, 3, 33}, {4, 6, 57}, {5, 5, 73}, {6, 4, 97}}},
        {"ncbPopups", 15, {{1, 1, 1}, {2, 2, 17}, {3, 6, 41}, {4, 5, 57}, {5, 4, 81}}},
        {"ncbEditor",
         16,
         {{1, 7, 1},
          {2, 12, 26},
          {3, 13, 43},
          {4, 14, 68},
          {5, 15, 85},
          {6, 8, 110},
          {7, 9, 127},
          {8, 10, 144},
          {9, 11, 161},
          {10, 16, 186},
          {11, 17, 203},
          {12, 18, 220},
          {13, 19, 237}}},
    };
    auto w = Start();
    ASSERT_TRUE(started);
    w->resize(1000, 700);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bar);
        auto* bar = Child<qm::TQorCommandBar>(*w, row.bar);
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(bar->GetButton(static_cast<int>(row.buttons.size()) + 1), nullptr);
        for (std::size_t i = 0; i < row.buttons.size(); ++i) {
            const Button& want = row.buttons[i];
            SCOPED_TRACE(want.tag);
            QToolButton* b = bar->GetButton(static_cast<int>(i) + 1);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->property("tag").toInt(), want.tag);
            EXPECT_TRUE(SamePicture(b->icon(), qm::imlCommandBars().Glyph(want.glyph)));
            EXPECT_EQ(b->y(), want.top);
            EXPECT_EQ(b->size(), QSize(row.size, row.size));
            // The bar is wide enough for its buttons, and they sit in its middle.
            EXPECT_GE(b->x(), 0);
            EXPECT_LE(b->geometry().right(), bar->width() - 1);
            EXPECT_EQ(b->x(), bar->width() / 2 - row.size / 2);
        }
    }
    EXPECT_TRUE(Child<qm::TQorCommandBar>(*w, "ncbEditor")->Button(1)->isCheckable());
}

TEST_F(MainWindowTest, TheListsAndTheExplorerMenuShowTheirGlyphs) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    ASSERT_TRUE(started);
    const qm::TImageList& commands = qm::imlCommands();
    auto* topics = Child<QComboBox>(*w, "cboTopics");
    auto* popups = Child<QComboBox>(*w, "cboPopups");
    ASSERT_GT(topics->count(), 0);
    ASSERT_GT(popups->count(), 0);
    for (int i = 0; i < topics->count(); ++i)
        EXPECT_TRUE(SamePicture(topics->itemIcon(i), commands.Glyph(qm::kGlyphTopic))) << i;
    for (int i = 0; i < popups->count(); ++i)
        EXPECT_TRUE(SamePicture(popups->itemIcon(i), commands.Glyph(qm::kGlyphPopup))) << i;
    EXPECT_FALSE(SamePicture(commands.Glyph(qm::kGlyphTopic), commands.Glyph(qm::kGlyphPopup)));

    QAction* newItem = Act(*w, "mnuProjPopNew");
    w->lstTopicsContextPopup();
    EXPECT_TRUE(SamePicture(newItem->icon(), commands.Glyph(qm::kGlyphNewTopic)));
    w->lstPopupsContextPopup();
    EXPECT_TRUE(SamePicture(newItem->icon(), commands.Glyph(qm::kGlyphNewPopup)));
    w->lstTopicsContextPopup();
    EXPECT_TRUE(SamePicture(newItem->icon(), commands.Glyph(qm::kGlyphNewTopic)));
}

TEST_F(MainWindowTest, TheWindowShowsTheProgramsIcon) {
    auto w = Start();
    ASSERT_TRUE(started);
    EXPECT_TRUE(SamePicture(w->windowIcon(), qm::QmIcon(QStringLiteral("quillmark"))));
}

}  // namespace
}  // namespace qmtest
