#include "editor/qtfont.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(QtFont, ColoursKeepTheirStoredOrder) {
    const struct {
        std::int32_t bgr;
        QColor rgb;
    } cases[] = {
        {0x000000FF, QColor(255, 0, 0)},     {0x0000FF00, QColor(0, 255, 0)},
        {0x00FF0000, QColor(0, 0, 255)},     {0x00800000, QColor(0, 0, 128)},  // navy
        {0x00808080, QColor(128, 128, 128)}, {0x00123456, QColor(0x56, 0x34, 0x12)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorFromBgr(c.bgr), c.rgb) << std::hex << c.bgr;
        EXPECT_EQ(BgrFromColor(c.rgb), c.bgr) << std::hex << c.bgr;
    }
}

TEST(QtFont, FontsBothWays) {
    const TFontInfo info{"caf\xE9 Sans", 14, kFontBold | kFontUnderline, 0x00FF0000};
    const QFont f = ToQFont(info);
    EXPECT_EQ(f.family(), QString::fromUtf8("caf\xC3\xA9 Sans"));
    EXPECT_EQ(f.pointSize(), 14);
    EXPECT_TRUE(f.bold());
    EXPECT_FALSE(f.italic());
    EXPECT_TRUE(f.underline());
    EXPECT_FALSE(f.strikeOut());
    EXPECT_EQ(FromQFont(f, ColorFromBgr(info.Color)), info);

    for (std::uint8_t bits = 0; bits < 16; ++bits) {
        QFont g;
        ApplyFontStyle(g, bits);
        EXPECT_EQ(FontStyleBits(g), bits);
    }
    // A size no font can have still gives a usable font.
    EXPECT_EQ(ToQFont(TFontInfo{"Arial", 0, 0, 0}).pointSize(), 1);
    EXPECT_EQ(ToQFont(TFontInfo{"Arial", -5, 0, 0}).pointSize(), 1);
}

}  // namespace
}  // namespace qm
