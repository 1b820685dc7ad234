// The picture as the canvas draws it: every bit depth, widths that pad their
// rows, the top row coming from the last stored row, and palette indexes
// beyond the palette shown black.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <string>

#include "shg/dib.h"
#include "shgedit/dibimage.h"

namespace qmtest {
namespace {

using qm::TDib;

// A bitmap whose bytes all differ from their neighbours, so a wrong row,
// column or byte order shows.
TDib Pattern(int width, int height, std::uint16_t bits) {
    TDib dib = TDib::Create(width, height, bits);
    for (std::size_t i = 0; i < dib.Bits.size(); ++i) dib.Bits[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return dib;
}

TEST(DibToImage, EveryPixelHasTheBitmapsColour) {
    struct Row {
        const char* name;
        int width, height;
        std::uint16_t bits;
        int paletteSize;  // -1: the default palette
    } rows[] = {
        {"1 bit, 13 wide", 13, 5, 1, -1},
        {"4 bits, odd width", 7, 4, 4, -1},
        {"4 bits, short palette", 9, 3, 4, 5},
        {"8 bits", 6, 5, 8, -1},
        {"8 bits, short palette", 5, 4, 8, 20},
        {"16 bits, odd width", 5, 3, 16, -1},
        {"24 bits, padded rows", 7, 6, 24, -1},
        {"24 bits, one pixel", 1, 1, 24, -1},
        {"32 bits", 4, 3, 32, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TDib dib = Pattern(row.width, row.height, row.bits);
        if (row.paletteSize >= 0) dib.Palette.resize(static_cast<std::size_t>(row.paletteSize));
        const QImage image = qm::shgedit::DibToImage(dib);
        ASSERT_EQ(image.size(), QSize(row.width, row.height));
        ASSERT_EQ(image.format(), QImage::Format_RGB32);
        for (int y = 0; y < row.height; ++y)
            for (int x = 0; x < row.width; ++x)
                ASSERT_EQ(image.pixel(x, y), 0xFF000000u | dib.PixelRgb(x, y)) << "at " << x << ", " << y;
    }
}

TEST(DibToImage, TopRowIsTheLastStoredRow) {
    TDib dib = TDib::Create(2, 2, 24);
    // Stored bottom row first, blue, green, red: the bottom row is red, the top one blue.
    const std::string bottom = std::string("\x00\x00\xFF\x00\x00\xFF", 6) + std::string(2, '\0');
    const std::string top = std::string("\xFF\x00\x00\xFF\x00\x00", 6) + std::string(2, '\0');
    dib.Bits = bottom + top;
    const QImage image = qm::shgedit::DibToImage(dib);
    EXPECT_EQ(image.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(1, 0), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(0, 1), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(1, 1), 0xFFFF0000u);
}

TEST(DibToImage, PixelsThatDoNotFitTheFiguresGiveNoOrABlankPicture) {
    TDib shortBits = Pattern(4, 4, 24);
    shortBits.Bits.pop_back();
    EXPECT_TRUE(qm::shgedit::DibToImage(shortBits).isNull());

    TDib noSize = Pattern(4, 4, 24);
    noSize.Width = 0;
    EXPECT_TRUE(qm::shgedit::DibToImage(noSize).isNull());

    // More bytes than the figures say: the model reads no pixel of them.
    TDib longBits = Pattern(3, 2, 24);
    longBits.Bits += "extra";
    const QImage image = qm::shgedit::DibToImage(longBits);
    ASSERT_EQ(image.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(image.pixel(x, y), 0xFF000000u);
}

}  // namespace
}  // namespace qmtest
