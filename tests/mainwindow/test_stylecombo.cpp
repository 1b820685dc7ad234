// The style box: item i is style i + 1, drawn 40 high in its font at 16
// points at most with its own size beside it; the drop-down list is as wide
// as the widest name + 95 (95 with no styles), also once it opens.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QSet>

#include "editor/qtfont.h"
#include "mainwindow/stylecombo.h"
#include "model/styles.h"
#include "support/qtapp.h"

namespace qm {
namespace {

class StyleComboTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

TStyle Style(const char* name, int size, int type = 0, int alignment = 0) {
    TStyle s;
    s.SetAll(name, static_cast<std::uint8_t>(type), "DejaVu Sans", size, kFontBold, 0x0000FF, 0, 0, 0,
             static_cast<std::uint8_t>(alignment), 0, 0, false);
    return s;
}

TEST_F(StyleComboTest, WithNoStylesTheListIs95Wide) {
    QComboBox box;
    TStyleCombo combo(&box);
    combo.FillList(TStyles{});
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(combo.DropDownWidth(), 95);
    EXPECT_EQ(box.view()->minimumWidth(), 95);
}

TEST_F(StyleComboTest, ItemsKeepTheirStyleAndTheListTheWidestName) {
    TStyles styles;
    styles.Add(Style("Small", 8));
    styles.Add(Style("AVeryLongHeadingName", 24, 1, 2));
    QComboBox box;
    TStyleCombo combo(&box);
    combo.FillList(styles);
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(1), QStringLiteral("AVeryLongHeadingName"));
    // A 24-point style shows at 16 points but says "24 pt".
    const QFont listed = box.itemData(1, StyleFontRole).value<QFont>();
    EXPECT_EQ(listed.pointSize(), 16);
    EXPECT_TRUE(listed.bold());
    EXPECT_EQ(box.itemData(1, StyleSizeRole).toInt(), 24);
    EXPECT_EQ(box.itemData(1, StyleTypeRole).toInt(), 1);
    EXPECT_EQ(box.itemData(1, StyleAlignmentRole).toInt(), 2);
    EXPECT_EQ(box.itemData(0, StyleColorRole).value<QColor>(), QColor(255, 0, 0));

    TFontInfo at16 = styles.GetStyle(2)->Font;
    at16.Size = 16;
    const int widest = QFontMetrics(ToQFont(at16)).horizontalAdvance(QStringLiteral("AVeryLongHeadingName"));
    EXPECT_EQ(combo.DropDownWidth(), widest + 95);
    // At 24 points the name would be wider: the cap is what is measured.
    TFontInfo at24 = at16;
    at24.Size = 24;
    EXPECT_LT(combo.DropDownWidth(),
              QFontMetrics(ToQFont(at24)).horizontalAdvance(QStringLiteral("AVeryLongHeadingName")) + 95);
    EXPECT_EQ(box.view()->sizeHintForRow(0), kStyleItemHeight);
}

TEST_F(StyleComboTest, TheOpenListIsAsWideAsItsNames) {
    TStyles styles;
    styles.Add(Style("AVeryLongHeadingNameIndeed", 24));
    QComboBox box;
    box.setMinimumWidth(125);
    box.resize(125, box.sizeHint().height());
    TStyleCombo combo(&box);
    combo.FillList(styles);
    box.show();
    box.showPopup();
    QApplication::processEvents();
    EXPECT_GE(box.view()->width(), combo.DropDownWidth() - 4);
    EXPECT_GT(combo.DropDownWidth(), 125);
    box.hidePopup();
}

TEST_F(StyleComboTest, TheClosedBoxShowsTheChosenStyle) {
    TStyles styles;
    styles.Add(Style("Normal", 8));
    QComboBox box;
    TStyleCombo combo(&box);
    combo.FillList(styles);
    box.resize(125, 24);
    box.setCurrentIndex(-1);
    const QImage empty = box.grab().toImage();
    box.setCurrentIndex(0);
    const QImage chosen = box.grab().toImage();
    // The glyph and the name are drawn right of the frame.
    int differing = 0;
    for (int y = 0; y < chosen.height(); ++y)
        for (int x = 0; x < chosen.width() / 2; ++x)
            if (chosen.pixel(x, y) != empty.pixel(x, y)) ++differing;
    EXPECT_GT(differing, 20);
}

TEST_F(StyleComboTest, GoingAwayGivesTheBoxItsPlainDrawingBack) {
    QComboBox box;
    auto* plain = box.itemDelegate();
    {
        TStyleCombo combo(&box);
        EXPECT_NE(box.itemDelegate(), plain);
    }
    box.addItem(QStringLiteral("x"));
    EXPECT_LT(box.view()->sizeHintForRow(0), kStyleItemHeight);
}

}  // namespace
}  // namespace qm
