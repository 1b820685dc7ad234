// The 16 named colours and the colour box: the table's byte order, the
// choice by value, and a colour the table lacks surviving a read back.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QImage>
#include <QPixmap>

#include "support/qtapp.h"
#include "widgets/colorcombo.h"

namespace qm {
namespace {

TEST(NamedColors, AreTheSixteenInTheirOrderAsBgr) {
    struct Row {
        int index;
        const char* name;
        std::uint32_t value;
        QColor shown;
    };
    for (const Row& row : {
             Row{0, "Aqua", 0xFFFF00, QColor(0, 255, 255)},
             Row{1, "Black", 0x000000, QColor(0, 0, 0)},
             Row{2, "Blue", 0xFF0000, QColor(0, 0, 255)},
             Row{3, "Fuchsia", 0xFF00FF, QColor(255, 0, 255)},
             Row{4, "Gray", 0x808080, QColor(128, 128, 128)},
             Row{5, "Green", 0x008000, QColor(0, 128, 0)},
             Row{6, "Lime", 0x00FF00, QColor(0, 255, 0)},
             Row{7, "Maroon", 0x000080, QColor(128, 0, 0)},
             Row{8, "Navy", 0x800000, QColor(0, 0, 128)},
             Row{9, "Olive", 0x008080, QColor(128, 128, 0)},
             Row{10, "Purple", 0x800080, QColor(128, 0, 128)},
             Row{11, "Red", 0x0000FF, QColor(255, 0, 0)},
             Row{12, "Silver", 0xC0C0C0, QColor(192, 192, 192)},
             Row{13, "Teal", 0x808000, QColor(0, 128, 128)},
             Row{14, "White", 0xFFFFFF, QColor(255, 255, 255)},
             Row{15, "Yellow", 0x00FFFF, QColor(255, 255, 0)},
         }) {
        SCOPED_TRACE(row.name);
        const TNamedColor& c = kNamedColors[static_cast<std::size_t>(row.index)];
        EXPECT_STREQ(c.Name, row.name);
        EXPECT_EQ(c.Value, row.value);
        EXPECT_EQ(QColorFromBgr(c.Value), row.shown);
        EXPECT_EQ(BgrFromQColor(row.shown), row.value);
        EXPECT_EQ(NamedColorIndex(row.value), row.index);
    }
    EXPECT_EQ(NamedColorIndex(0x123456), -1);
}

class ColorComboTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

TEST_F(ColorComboTest, ListsTheNamesAndChoosesByValue) {
    TColorCombo box;
    ASSERT_EQ(box.count(), 16);
    EXPECT_EQ(box.itemText(2), QStringLiteral("Blue"));
    EXPECT_EQ(box.currentIndex(), -1);
    box.SetSelectedColor(0x0000FF);
    EXPECT_EQ(box.currentText(), QStringLiteral("Red"));
    EXPECT_EQ(box.GetSelectedColor(), 0x0000FFu);
    box.setCurrentIndex(8);  // the user picks Navy
    EXPECT_EQ(box.GetSelectedColor(), 0x800000u);
}

// Fault 5: with nothing chosen the box gives back the value it was given,
// never a read past its table; a colour the table lacks survives.
TEST_F(ColorComboTest, WithNothingChosenTheGivenValueComesBack) {
    TColorCombo box;
    EXPECT_EQ(box.GetSelectedColor(), 0u);  // nothing given yet
    box.SetSelectedColor(0x123456);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.GetSelectedColor(), 0x123456u);
    box.setCurrentIndex(11);
    EXPECT_EQ(box.GetSelectedColor(), 0x0000FFu);
    box.setCurrentIndex(-1);
    EXPECT_EQ(box.GetSelectedColor(), 0x123456u);
}

TEST_F(ColorComboTest, ItemsShowASwatchBesideTheName) {
    TColorCombo box;
    box.resize(160, 24);
    box.SetSelectedColor(0x0000FF);
    box.show();
    // The list's items are 18 high; the closed box shows the swatch.
    EXPECT_EQ(box.view()->sizeHintForRow(0), 18);
    const QImage shot = box.grab().toImage();
    bool red = false;
    for (int x = 0; x < shot.width() && !red; ++x) red = QColor(shot.pixel(x, shot.height() / 2)) == QColor(255, 0, 0);
    EXPECT_TRUE(red);
}

}  // namespace
}  // namespace qm
