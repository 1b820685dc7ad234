// The bitmap structure and its .bmp codec.
#include <gtest/gtest.h>

#include "shg/dib.h"
#include "shg/shg_support.h"

using qm::EInvalidBitmap;
using qm::TDib;
using shgtest::PutU16;
using shgtest::PutU32;

namespace {

struct BmpLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::string palette;  // as stored (3 or 4 bytes an entry)
    std::string masks;    // stored after a 40-byte header, or inside a longer one
    std::string pixels;
};

std::string MakeBmp(const BmpLayout& s) {
    std::string info;
    PutU32(info, s.headerSize);
    if (s.headerSize == 12) {
        PutU16(info, static_cast<std::uint32_t>(s.width));
        PutU16(info, static_cast<std::uint32_t>(s.height));
        PutU16(info, 1);
        PutU16(info, s.bits);
    } else {
        PutU32(info, static_cast<std::uint32_t>(s.width));
        PutU32(info, static_cast<std::uint32_t>(s.height));
        PutU16(info, 1);
        PutU16(info, s.bits);
        PutU32(info, s.compression);
        PutU32(info, static_cast<std::uint32_t>(s.pixels.size()));
        PutU32(info, 2835);
        PutU32(info, 2835);
        PutU32(info, s.colorsUsed);
        PutU32(info, 0);
        if (s.headerSize > 40) {
            info += s.masks;
            info.resize(s.headerSize, '\0');
        } else {
            info += s.masks;
        }
    }
    std::string out = "BM";
    auto off = static_cast<std::uint32_t>(14 + info.size() + s.palette.size());
    PutU32(out, off + static_cast<std::uint32_t>(s.pixels.size()));
    PutU32(out, 0);
    PutU32(out, off);
    return out + info + s.palette + s.pixels;
}

std::string Mask3(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    std::string m;
    PutU32(m, r);
    PutU32(m, g);
    PutU32(m, b);
    return m;
}

}  // namespace

TEST(Dib, BmpRoundTripKeepsEveryDepthAndFigure) {
    for (std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        TDib d = TDib::Create(13, 5, bits);
        d.XPelsPerMeter = 3780;
        d.YPelsPerMeter = 2835;
        d.ColorsImportant = bits <= 8 ? 2 : 0;
        for (std::size_t i = 0; i < d.Bits.size(); ++i) d.Bits[i] = static_cast<char>(i * 37 + bits);
        std::string bmp = d.SaveToBmp();
        EXPECT_EQ(bmp.size(), 54 + d.Palette.size() * 4 + d.ImageSize());
        EXPECT_EQ(static_cast<std::uint8_t>(bmp[28]), bits);  // bits per pixel stays as it is
        TDib back = TDib::LoadFromBmp(bmp);
        EXPECT_EQ(back, d);
    }
}

TEST(Dib, StrideAndImageSizePadRowsToFourBytes) {
    struct Case {
        int width;
        std::uint16_t bits;
        std::uint64_t stride;
    } cases[] = {{1, 1, 4}, {32, 1, 4},  {33, 1, 8},  {7, 4, 4}, {9, 4, 8},
                 {5, 8, 8}, {3, 24, 12}, {5, 24, 16}, {3, 16, 8}};
    for (const Case& c : cases) {
        TDib d = TDib::Create(c.width, 3, c.bits);
        EXPECT_EQ(d.Stride(), c.stride) << c.width << " x " << c.bits;
        EXPECT_EQ(d.ImageSize(), c.stride * 3);
    }
}

TEST(Dib, PaletteCountWrittenToTheBmp) {
    TDib full = TDib::Create(2, 2, 8);  // full table, colours used 0
    EXPECT_EQ(full.SaveToBmp().substr(46, 4), std::string("\0\0\0\0", 4));
    TDib part = full;
    part.Palette.resize(5);  // a short table must be announced
    EXPECT_EQ(part.SaveToBmp().substr(46, 4), std::string("\x05\0\0\0", 4));
    TDib back = TDib::LoadFromBmp(part.SaveToBmp());
    EXPECT_EQ(back.Palette.size(), 5u);
    EXPECT_EQ(back.Bits, part.Bits);
}

TEST(Dib, PixelColoursOfEachDepth) {
    BmpLayout s;
    s.width = 2;
    s.height = 1;
    struct Case {
        std::uint16_t bits;
        std::string pixels;
        std::uint32_t left, right;
    } cases[] = {
        {1, std::string("\x40\0\0\0", 4), 0x000000, 0xFFFFFF},
        {4, std::string("\x0C\0\0\0", 4), 0x000000, 0x0000FF},
        {8, std::string("\x09\x0E\0\0", 4), 0xFF0000, 0x00FFFF},
        {16, std::string("\x00\x7C\x1F\x00", 4), 0xFF0000, 0x0000FF},
        {24, std::string("\x01\x02\x03\x04\x05\x06\0\0", 8), 0x030201, 0x060504},
        {32, std::string("\x01\x02\x03\xFF\x04\x05\x06\xFF", 8), 0x030201, 0x060504},
    };
    for (const Case& c : cases) {
        s.bits = c.bits;
        s.palette.clear();
        for (const auto& q : qm::DefaultPalette(c.bits))
            s.palette += std::string{char(q.Blue), char(q.Green), char(q.Red), 0};
        s.pixels = c.pixels;
        TDib d = TDib::LoadFromBmp(MakeBmp(s));
        EXPECT_EQ(d.PixelRgb(0, 0), c.left) << c.bits;
        EXPECT_EQ(d.PixelRgb(1, 0), c.right) << c.bits;
        EXPECT_EQ(d.PixelRgb(2, 0), 0u) << "outside";
    }
}

TEST(Dib, TopDownRowsAreStoredBottomUp) {
    BmpLayout s;
    s.width = 1;
    s.height = -2;
    s.pixels = std::string("\x01\x01\x01\0\x02\x02\x02\0", 8);  // top row first
    TDib d = TDib::LoadFromBmp(MakeBmp(s));
    EXPECT_EQ(d.Height, 2);
    EXPECT_EQ(d.PixelRgb(0, 0), 0x010101u);
    EXPECT_EQ(d.Bits.substr(0, 3), "\x02\x02\x02");
}

TEST(Dib, CoreHeaderWithThreeBytePalette) {
    BmpLayout s;
    s.headerSize = 12;
    s.width = 3;
    s.height = 1;
    s.bits = 1;
    s.palette = std::string("\x10\x20\x30\x40\x50\x60", 6);
    s.pixels = std::string("\xA0\0\0\0", 4);
    TDib d = TDib::LoadFromBmp(MakeBmp(s));
    EXPECT_EQ(d.Palette.size(), 2u);
    EXPECT_EQ(d.PixelRgb(0, 0), 0x605040u);
    EXPECT_EQ(d.PixelRgb(1, 0), 0x302010u);
}

TEST(Dib, BitFieldsBecomeTwentyFourBits) {
    // 16 bits in 5-6-5, after a 40-byte header; 32 bits in a 124-byte header.
    BmpLayout a;
    a.width = 2;
    a.height = 1;
    a.bits = 16;
    a.compression = 3;
    a.masks = Mask3(0xF800, 0x07E0, 0x001F);
    a.pixels = std::string("\x00\xF8\xE0\x07", 4);  // red, green
    TDib da = TDib::LoadFromBmp(MakeBmp(a));
    EXPECT_EQ(da.BitsPerPixel, 24);
    EXPECT_EQ(da.PixelRgb(0, 0), 0xFF0000u);
    EXPECT_EQ(da.PixelRgb(1, 0), 0x00FF00u);

    BmpLayout b;
    b.headerSize = 124;
    b.width = 1;
    b.height = 1;
    b.bits = 32;
    b.compression = 3;
    b.masks = Mask3(0x000000FF, 0x0000FF00, 0x00FF0000);  // red in the low byte
    b.pixels = std::string("\x11\x22\x33\x00", 4);
    TDib db = TDib::LoadFromBmp(MakeBmp(b));
    EXPECT_EQ(db.BitsPerPixel, 24);
    EXPECT_EQ(db.PixelRgb(0, 0), 0x112233u);
}

TEST(Dib, RefusesWhatItCannotHold) {
    BmpLayout ok;
    ok.pixels = std::string(16, '\x05');
    std::string good = MakeBmp(ok);
    ASSERT_NO_THROW(TDib::LoadFromBmp(good));
    // Every cut inside the headers or pixels fails cleanly.
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_THROW(TDib::LoadFromBmp(std::string_view(good).substr(0, n)), EInvalidBitmap) << n;

    BmpLayout jpeg = ok;
    jpeg.compression = 4;  // a JPEG inside the file
    try {
        TDib::LoadFromBmp(MakeBmp(jpeg));
        FAIL();
    } catch (const EInvalidBitmap& e) {
        EXPECT_STREQ(e.what(), "Compressed bitmaps are not supported.");
    }
    BmpLayout bits3 = ok;
    bits3.bits = 3;
    BmpLayout wide = ok;
    wide.width = 0x7FFFFFFF;
    BmpLayout zero = ok;
    zero.height = 0;
    BmpLayout topDownRle = ok;
    topDownRle.bits = 8;
    topDownRle.compression = 1;
    topDownRle.height = -2;
    topDownRle.colorsUsed = 1;
    topDownRle.palette = std::string(4, '\0');
    BmpLayout colours = ok;
    colours.bits = 8;
    colours.colorsUsed = 0x40000000;
    for (const BmpLayout& s : {bits3, wide, zero, colours, topDownRle})
        EXPECT_THROW(TDib::LoadFromBmp(MakeBmp(s)), EInvalidBitmap);
    EXPECT_THROW(TDib::LoadFromBmp("XM" + good.substr(2)), EInvalidBitmap);
}

TEST(Dib, InvalidFiguresAreRefusedOnSave) {
    TDib d = TDib::Create(4, 4, 8);
    d.Bits.resize(3);
    EXPECT_THROW(d.SaveToBmp(), EInvalidBitmap);
    TDib e;
    EXPECT_THROW(e.SaveToBmp(), EInvalidBitmap);
    EXPECT_THROW(TDib::Create(0, 4, 8), EInvalidBitmap);
    EXPECT_THROW(TDib::Create(4, 4, 2), EInvalidBitmap);
}

TEST(Dib, RunLengthBitmapsAreUnpacked) {
    // 8 bits, 5 x 3: row 0 = run of 3 x 7 then literal 1 2; end of line;
    // row 1 = move 2 right, 1 up (to row 2 at x 2), run 2 x 9; end of bitmap.
    BmpLayout s;
    s.width = 5;
    s.height = 3;
    s.bits = 8;
    s.compression = 1;
    for (const auto& q : qm::DefaultPalette(8)) s.palette += std::string{char(q.Blue), char(q.Green), char(q.Red), 0};
    s.pixels = std::string("\x03\x07\x00\x03\x01\x02\x03\x00\x00\x00\x00\x02\x02\x01\x02\x09\x00\x01", 18);
    TDib d = TDib::LoadFromBmp(MakeBmp(s));
    EXPECT_EQ(d.BitsPerPixel, 8);
    std::string rows[3] = {"\x07\x07\x07\x01\x02", std::string("\0\0\0\0\0", 5), std::string("\0\0\x09\x09\0", 5)};
    for (int r = 0; r < 3; ++r)  // rows bottom first
        EXPECT_EQ(d.Bits.substr(static_cast<std::size_t>(r) * 8, 5), rows[r]) << r;

    // 4 bits, 6 x 1: run of 3 alternating 1 and 2, literal 3 nibbles 4 5 6.
    BmpLayout f;
    f.width = 6;
    f.height = 1;
    f.bits = 4;
    f.compression = 2;
    for (const auto& q : qm::DefaultPalette(4)) f.palette += std::string{char(q.Blue), char(q.Green), char(q.Red), 0};
    f.pixels = std::string("\x03\x12\x00\x03\x45\x60\x00\x01", 8);
    TDib g = TDib::LoadFromBmp(MakeBmp(f));
    EXPECT_EQ(g.Bits.substr(0, 3), "\x12\x14\x56");

    // A stream cut short, or runs beyond the picture, do no harm.
    f.pixels = std::string("\xFF\x11\x00\x09\x12", 5);
    TDib h = TDib::LoadFromBmp(MakeBmp(f));
    EXPECT_EQ(h.Bits.substr(0, 3), "\x11\x11\x11");
}
