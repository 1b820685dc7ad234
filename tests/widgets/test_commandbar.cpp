// The command bar: where its buttons go, the separators it paints, the
// 1-based button count that skips separators, glyphs by index, hints, the
// click that reports a tag, and more entries than the old fixed table held.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "support/icondraw.h"
#include "support/qtapp.h"
#include "widgets/commandbar.h"
#include "widgets/icons.h"

namespace qm {
namespace {

class CommandBar : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

// A bar of `size`-pixel buttons, `width` wide, filled from a pattern: "b"
// a button (tags 1, 2, ... in order), "-" a separator.
std::unique_ptr<TQorCommandBar> MakeBar(int size, int width, const std::string& pattern) {
    auto bar = std::make_unique<TQorCommandBar>(QStringLiteral("ncbTest"), size);
    bar->resize(width, 400);
    int tag = 0;
    for (char c : pattern) bar->AddButton(c == '-', c == '-' ? 0 : ++tag, QStringLiteral("Hint|"), -1);
    return bar;
}

std::vector<int> Tops(const TQorCommandBar& bar) {
    std::vector<int> tops;
    for (int n = 1; QToolButton* b = bar.GetButton(n); ++n) tops.push_back(b->y());
    return tops;
}

TEST_F(CommandBar, ButtonsStackFromTheTopAndASeparatorAddsEightPixels) {
    struct Row {
        const char* name;
        int size;
        std::string pattern;
        std::vector<int> tops;
    } rows[] = {
        {"16 px: button, separator, button", 16, "b-b", {1, 26}},
        {"15 px: button, separator, button", 15, "b-b", {1, 25}},
        {"16 px: two buttons", 16, "bb", {1, 18}},
        {"15 px: two buttons", 15, "bb", {1, 17}},
        // The topic bar of the main window.
        {"15 px: the topics' bar", 15, "bbb-bb-b", {1, 17, 33, 57, 73, 97}},
        {"a separator first (no rule; placed below the margin)", 16, "-b", {9}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto bar = MakeBar(row.size, 22, row.pattern);
        EXPECT_EQ(Tops(*bar), row.tops);
        for (int n = 1; QToolButton* b = bar->GetButton(n); ++n) EXPECT_EQ(b->size(), QSize(row.size, row.size));
        EXPECT_EQ(bar->Count(), static_cast<int>(row.pattern.size()));
    }
}

TEST_F(CommandBar, ButtonsAreCentredAndStayCentredWhenTheBarIsResized) {
    struct Row {
        int size, width, left;
    } rows[] = {{16, 22, 3}, {15, 21, 3}, {15, 30, 8}, {16, 31, 7}, {16, 16, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.size) + " px on " + std::to_string(row.width));
        auto bar = MakeBar(row.size, row.width, "b-bb");
        for (int n = 1; n <= 3; ++n) EXPECT_EQ(bar->GetButton(n)->x(), row.left);
        bar->show();
        bar->resize(row.width + 10, 400);
        for (int n = 1; n <= 3; ++n) EXPECT_EQ(bar->GetButton(n)->x(), (row.width + 10) / 2 - row.size / 2);
    }
    // Laid out at its own size, the bar shows its buttons whole.
    auto bar = MakeBar(16, 0, "bb-b");
    bar->show();
    bar->resize(bar->sizeHint());
    EXPECT_GE(bar->GetButton(1)->x(), 0);
    EXPECT_LE(bar->GetButton(1)->geometry().right(), bar->width() - 1);
    EXPECT_GE(bar->sizeHint().height(), bar->GetButton(3)->geometry().bottom() + 1);
}

TEST_F(CommandBar, GetButtonCountsButtonsFromOneAndSkipsSeparators) {
    auto bar = MakeBar(16, 22, "b-b");
    QToolButton* second = bar->GetButton(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->property("tag").toInt(), 2);  // the third entry
    EXPECT_EQ(second->y(), 26);
    EXPECT_EQ(bar->GetButton(1)->property("tag").toInt(), 1);
    EXPECT_EQ(bar->GetButton(3), nullptr);
    EXPECT_EQ(bar->GetButton(0), nullptr);
    EXPECT_EQ(bar->Button(2), second);
    EXPECT_EQ(bar->Button(7), nullptr);
}

TEST_F(CommandBar, GlyphsComeFromTheImageListByIndex) {
    struct Row {
        const char* name;
        bool images;
        int index;
        bool glyph;
    } rows[] = {
        {"index 0", true, 0, true},
        {"index 19", true, 19, true},
        {"index -1", true, -1, false},
        {"no image list", false, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TQorCommandBar bar(QStringLiteral("ncbTest"), 16);
        if (row.images) bar.Images = &imlCommandBars();
        QToolButton* b = bar.AddButton(false, 1, QStringLiteral("A|"), row.index);
        EXPECT_EQ(!b->icon().isNull(), row.glyph);
        EXPECT_TRUE(b->text().isEmpty());
        if (row.glyph) {
            EXPECT_TRUE(qmtest::DrawsAt(b->icon(), 16));
        }
    }
}

// A 16-pixel glyph on a 15-pixel button keeps its pixels: drawn at its own
// size from the corner, cut at the edge, not scaled down.
TEST_F(CommandBar, AGlyphIsDrawnAtItsOwnSize) {
    TQorCommandBar bar(QStringLiteral("ncbTest"), 15);
    bar.Images = &imlCommandBars();
    QToolButton* b = bar.AddButton(false, 1, QStringLiteral("First|"), 8);
    const QImage shot = b->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage glyph = qmtest::DrawIcon(b->icon(), 16).convertToFormat(QImage::Format_ARGB32);
    int compared = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x) {
            if (qAlpha(glyph.pixel(x, y)) != 255) continue;
            EXPECT_EQ(shot.pixel(x, y), glyph.pixel(x, y)) << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, 40);
}

TEST_F(CommandBar, TheShortHintIsTheToolTipAndTheLongOneTheStatusTip) {
    struct Row {
        const char* hint;
        const char* tip;
        const char* status;
    } rows[] = {
        {"New Topic|", "New Topic", ""},
        {"New Topic|Adds a topic.", "New Topic", "Adds a topic."},
        {"Plain", "Plain", "Plain"},
        {"", "", ""},
    };
    TQorCommandBar bar(QStringLiteral("ncbTest"), 16);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hint);
        QToolButton* b = bar.AddButton(false, 1, QString::fromLatin1(row.hint), -1);
        EXPECT_EQ(b->toolTip(), QString::fromLatin1(row.tip));
        EXPECT_EQ(b->statusTip(), QString::fromLatin1(row.status));
        EXPECT_TRUE(b->autoRaise());
    }
}

TEST_F(CommandBar, AClickReportsTheButtonsTagAndLeavesTheFocusAlone) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* bar = new TQorCommandBar(QStringLiteral("ncbTest"), 16, &window);
    layout->addWidget(edit);
    layout->addWidget(bar);
    for (int tag : {4, 9}) bar->AddButton(false, tag, QStringLiteral("Tag|"), -1);
    bar->AddButton(true, 0);
    bar->AddButton(false, 12, QStringLiteral("Tag|"), -1);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    edit->setFocus();
    QSignalSpy clicks(bar, &TQorCommandBar::OnButtonClick);
    QTest::mouseClick(bar->GetButton(2), Qt::LeftButton);
    bar->GetButton(3)->click();
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks[0][0].toInt(), 9);
    EXPECT_EQ(clicks[1][0].toInt(), 12);
    EXPECT_TRUE(edit->hasFocus());
}

// The old bar held 25 entries at most.
TEST_F(CommandBar, TakesMoreThanTwentyFiveEntries) {
    TQorCommandBar bar(QStringLiteral("ncbTest"), 16);
    bar.resize(22, 800);
    bar.Images = &imlCommandBars();
    for (int i = 1; i <= 30; ++i) {
        if (i % 10 == 0)
            EXPECT_EQ(bar.AddButton(true, 0), nullptr);
        else
            bar.AddButton(false, i, QStringLiteral("Button|"), i % 20);
    }
    EXPECT_EQ(bar.Count(), 30);
    // 27 buttons: 26 steps of 17 and two separators' 8 more.
    ASSERT_NE(bar.GetButton(27), nullptr);
    EXPECT_EQ(bar.GetButton(27)->y(), 1 + 26 * 17 + 2 * 8);
    EXPECT_EQ(bar.GetButton(28), nullptr);
    QSignalSpy clicks(&bar, &TQorCommandBar::OnButtonClick);
    bar.GetButton(27)->click();
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toInt(), 29);
    EXPECT_FALSE(bar.GetButton(27)->icon().isNull());
}

TEST_F(CommandBar, ASeparatorIsAGreyAndAWhiteLineBelowTheButtonBeforeIt) {
    struct Row {
        const char* name;
        int size, width;
    } rows[] = {{"16 px", 16, 22}, {"15 px", 15, 21}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto bar = MakeBar(row.size, row.width, "b-b");
        const int y = 1 + row.size + 3;
        EXPECT_EQ(bar->SeparatorY(2), y);
        EXPECT_EQ(bar->SeparatorY(1), -1);
        bar->resize(row.width, 60);
        const QImage shot = bar->grab().toImage();
        const int x0 = row.width / 2 - row.size / 2;
        const int x1 = row.width / 2 + row.size / 2;
        const QRgb grey = qRgb(0x80, 0x80, 0x80), white = qRgb(0xff, 0xff, 0xff);
        for (int x = x0; x < x1; ++x) {
            EXPECT_EQ(shot.pixel(x, y), grey) << x;
            EXPECT_EQ(shot.pixel(x, y + 1), white) << x;
        }
        EXPECT_NE(shot.pixel(x0 - 1, y), grey);
        EXPECT_NE(shot.pixel(x1, y), grey);
        EXPECT_NE(shot.pixel(x0, y - 1), grey);
        EXPECT_NE(shot.pixel(x0, y + 2), white);
    }
}

}  // namespace
}  // namespace qm
