// Reading and writing .shg files: real files written by other tools, our own
// writer's exact layout, the other picture forms and packings, and hostile input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "shg/qorshg.h"
#include "shg/shg_support.h"
#include "support/scratchdir.h"
#include "util/fileio.h"

using qm::EInvalidShgFile;
using qm::TDib;
using qm::THotspot;
using qm::THotspotKind;
using qm::TShg;

namespace {

const std::string kReal = std::string(QM_FIXTURES_DIR) + "/shg/";
const std::string kData = std::string(QM_TEST_DATA_DIR) + "/shg/";

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// One folder for the whole program, removed with its files when it ends.
std::string TempPath(const std::string& name) {
    static const qmtest::ScratchDir dir("qm_shg_test_");
    return dir.file(name);
}

THotspot Spot(const std::string& id, THotspotKind kind, bool visible, const std::string& target, int l, int t, int r,
              int b) {
    THotspot h;
    h.ID = id;
    h.Kind = kind;
    h.Visible = visible;
    (kind == THotspotKind::Macro ? h.Macro : h.Context) = target;
    h.Left = l;
    h.Top = t;
    h.Right = r;
    h.Bottom = b;
    return h;
}

// A 4-bit 8 x 4 picture at 96 dpi with every kind of hotspot, visible and not.
void MakeAllKinds(TShg& shg) {
    TDib dib = TDib::Create(8, 4, 4);
    dib.XPelsPerMeter = dib.YPelsPerMeter = 3780;
    for (std::size_t i = 0; i < dib.Bits.size(); ++i) dib.Bits[i] = static_cast<char>(i * 0x11 + 3);
    shg.Bitmap = std::make_unique<TDib>(dib);
    shg.Hotspots.Add(Spot("Pop1", THotspotKind::Popup, true, "POPUP_ONE", 0, 0, 4, 2));
    shg.Hotspots.Add(Spot("Pop2", THotspotKind::Popup, false, "POPUP_TWO", 4, 0, 8, 2));
    shg.Hotspots.Add(Spot("Jmp1", THotspotKind::Jump, true, "TOPIC_A", 0, 2, 2, 4));
    shg.Hotspots.Add(Spot("Jmp2", THotspotKind::Jump, false, "TOPIC_B", 2, 2, 4, 4));
    shg.Hotspots.Add(Spot("Mac1", THotspotKind::Macro, true, "A()", 4, 2, 6, 4));
    shg.Hotspots.Add(Spot("Mac2", THotspotKind::Macro, false, "B()", 6, 2, 8, 4));
}

std::uint32_t U32At(const std::string& s, std::size_t at) {
    auto b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + i])); };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

// Every pixel of two pictures agrees in colour.
void ExpectSamePixels(const TDib& a, const TDib& b) {
    ASSERT_EQ(a.Width, b.Width);
    ASSERT_EQ(a.Height, b.Height);
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) ASSERT_EQ(a.PixelRgb(x, y), b.PixelRgb(x, y)) << x << "," << y;
}

shgtest::PictureLayout Tiny4Bit() {
    // 4 x 2, 4 bits: rows of 4 bytes (2 used), bottom row first.
    shgtest::PictureLayout s;
    s.bits = 4;
    s.width = 4;
    s.height = 2;
    s.colorsUsed = 16;
    for (const auto& q : qm::DefaultPalette(4)) s.palette += std::string{char(q.Blue), char(q.Green), char(q.Red), 0};
    s.image = std::string("\x12\x34\0\0\x9A\xBC\0\0", 8);
    return s;
}

}  // namespace

// ---- real files ---------------------------------------------------------

TEST(ShgRealFiles, PictureFiguresAndPixels) {
    struct Case {
        const char* file;
        int width, height, hotspots;
        std::uint32_t whitePixels, blackPixels;  // palette entries 15 and 0
    } cases[] = {{"DCONNECT.SHG", 350, 135, 3, 2028, 3143},
                 {"FILEOPEN.SHG", 472, 247, 7, 41946, 7573},
                 {"NWSETUP.SHG", 407, 274, 0, 9987, 6502}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TShg shg;
        ASSERT_TRUE(shg.LoadFromFile(kReal + c.file));
        EXPECT_TRUE(shg.IsShg);
        EXPECT_EQ(shg.FileName, kReal + c.file);
        ASSERT_TRUE(shg.Bitmap);
        const TDib& d = *shg.Bitmap;
        EXPECT_EQ(d.Width, c.width);
        EXPECT_EQ(d.Height, c.height);
        EXPECT_EQ(d.BitsPerPixel, 4);
        EXPECT_EQ(d.Planes, 1);
        EXPECT_EQ(d.ColorsUsed, 16u);
        ASSERT_EQ(d.Palette.size(), 16u);
        EXPECT_EQ(d.PixelRgb(0, 0), 0x808080u);  // the grey frame corner
        // 96 dpi in the file.
        EXPECT_EQ(d.XPelsPerMeter, 3780);
        EXPECT_EQ(d.YPelsPerMeter, 3780);
        EXPECT_EQ(d.Bits.size(), d.ImageSize());
        EXPECT_EQ(shg.Hotspots.Count(), c.hotspots);
        std::uint32_t white = 0, black = 0;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                std::uint32_t rgb = d.PixelRgb(x, y);
                white += rgb == 0xFFFFFF;
                black += rgb == 0;
            }
        EXPECT_EQ(white, c.whitePixels);
        EXPECT_EQ(black, c.blackPixels);
        for (int i = 0; i < shg.Hotspots.Count(); ++i) {
            const THotspot& h = shg.Hotspots.GetItem(i);
            EXPECT_LT(h.Left, h.Right);
            EXPECT_LT(h.Top, h.Bottom);
            EXPECT_LE(h.Right, d.Width);
            EXPECT_LE(h.Bottom, d.Height);
        }
    }
}

TEST(ShgRealFiles, HotspotsOfDconnect) {
    TShg shg;
    shg.LoadFromFile(kReal + "DCONNECT.SHG");
    ASSERT_EQ(shg.Hotspots.Count(), 3);
    struct Expect {
        const char* id;
        const char* context;
        int l, t, r, b;
    } expect[] = {{"Disconnect 1", "HIDC_DISCONNECT_YES", 36, 96, 126, 121},
                  {"Disconnect 2", "HIDC_DISCONNECT_NO", 131, 97, 220, 121},
                  {"Disconnect 3", "HIDC_DIALOG_HELP", 226, 97, 315, 121}};
    for (int i = 0; i < 3; ++i) {
        const THotspot& h = shg.Hotspots.GetItem(i);
        EXPECT_EQ(h.ID, expect[i].id);
        EXPECT_EQ(h.Context, expect[i].context);
        EXPECT_EQ(h.Kind, THotspotKind::Popup);
        EXPECT_FALSE(h.Visible);
        EXPECT_EQ(h.Left, expect[i].l);
        EXPECT_EQ(h.Top, expect[i].t);
        EXPECT_EQ(h.Right, expect[i].r);
        EXPECT_EQ(h.Bottom, expect[i].b);
    }
}

TEST(ShgRealFiles, LoadSaveLoadKeepsHotspotsAndPixels) {
    for (const char* file : {"DCONNECT.SHG", "FILEOPEN.SHG", "NWSETUP.SHG"}) {
        SCOPED_TRACE(file);
        TShg a;
        a.LoadFromFile(kReal + file);
        std::string path = TempPath(file);
        ASSERT_TRUE(a.SaveToFile(path));
        TShg b;
        b.LoadFromFile(path);
        EXPECT_TRUE(b.Hotspots == a.Hotspots);
        EXPECT_EQ(b.Bitmap->Bits, a.Bitmap->Bits);
        EXPECT_EQ(b.Bitmap->Palette, a.Bitmap->Palette);
        EXPECT_EQ(b.Bitmap->XPelsPerMeter, 3780);
        // Written unpacked, at 96 dpi, with the real palette count.
        std::string bytes = ReadFile(path);
        EXPECT_EQ(bytes.substr(8, 6), std::string("\x06\x00\xC0\x00\xC0\x00", 6));
        // And saving again gives the same bytes.
        EXPECT_EQ(b.SaveToBytes(), bytes);
    }
}

TEST(ShgRealFiles, HashesStoredInTheFileMatchTheContexts) {
    std::string bytes = ReadFile(kReal + "FILEOPEN.SHG");
    TShg shg;
    shg.LoadFromBytes(bytes);
    // The hotspot block offset sits at picture bytes 24..27.
    std::size_t block = 8 + U32At(bytes, 8 + 24);
    for (int i = 0; i < shg.Hotspots.Count(); ++i)
        EXPECT_EQ(U32At(bytes, block + 7 + 15 * static_cast<std::size_t>(i) + 11),
                  static_cast<std::uint32_t>(qm::THotspots::ContextHash(shg.Hotspots.GetItem(i).Context)))
            << shg.Hotspots.GetItem(i).Context;
}

// ---- our own writer -----------------------------------------------------

TEST(ShgWriter, AllHotspotKindsMatchTheStoredFileByteForByte) {
    TShg shg;
    MakeAllKinds(shg);
    std::string golden = ReadFile(kData + "allkinds.shg");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(shg.SaveToBytes(), golden);

    TShg back;
    back.LoadFromBytes(golden);
    EXPECT_TRUE(back.Hotspots == shg.Hotspots);
    EXPECT_EQ(back.Bitmap->Bits, shg.Bitmap->Bits);
    EXPECT_EQ(back.Bitmap->Palette, shg.Bitmap->Palette);
    EXPECT_EQ(back.Bitmap->ColorsUsed, 16u);  // the file counts its table
    EXPECT_EQ(back.Bitmap->XPelsPerMeter, 3780);
    EXPECT_EQ(back.SaveToBytes(), golden);
}

TEST(ShgWriter, LayoutOfTheHeaderRecordsAndMacroData) {
    TShg shg;
    MakeAllKinds(shg);
    std::string s = shg.SaveToBytes();
    // Header: "lp", one picture at 8; type 6, packing 0, 96 dpi twice,
    // planes 1, 4 bits, width 8, height 4, 16 colours, 0 important.
    EXPECT_EQ(s.substr(0, 8), std::string("lp\x01\x00\x08\x00\x00\x00", 8));
    EXPECT_EQ(s.substr(8, 16), std::string("\x06\x00\xC0\x00\xC0\x00\x02\x08\x10\x00\x08\x00\x20\x00\x00\x00", 16));
    // Image size 16 = 4 rows of 4 bytes.
    EXPECT_EQ(s.substr(24, 2), std::string("\x20\x00", 2));
    std::uint32_t imageOffset = U32At(s, 28);
    std::uint32_t hotspotOffset = U32At(s, 32);
    EXPECT_EQ(imageOffset, 28u + 64u);  // fields, then 16 palette entries
    EXPECT_EQ(hotspotOffset, imageOffset + 16);
    std::string block = s.substr(8 + hotspotOffset);
    EXPECT_EQ(block.substr(0, 7), std::string("\x01\x06\x00\x08\x00\x00\x00", 7));
    const char types[] = {'\xE2', '\xE6', '\xE3', '\xE7', '\xC8', '\xCC'};
    const char attrs[] = {0, 4, 0, 4, 0, 4};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(block[7 + 15 * i], types[i]) << i;
        EXPECT_EQ(block[8 + 15 * i], attrs[i]) << i;
    }
    // The macro records point into the macro data; the popup one holds the hash.
    EXPECT_EQ(U32At(block, 7 + 15 * 4 + 11), 0u);
    EXPECT_EQ(U32At(block, 7 + 15 * 5 + 11), 4u);
    EXPECT_EQ(U32At(block, 7 + 11), static_cast<std::uint32_t>(qm::THotspots::ContextHash("POPUP_ONE")));
    EXPECT_EQ(block.substr(7 + 90, 8), std::string("A()\0B()\0", 8));
    EXPECT_EQ(block.substr(7 + 90 + 8, 15), std::string("Pop1\0POPUP_ONE\0", 15));
    EXPECT_EQ(s.size(), 8 + hotspotOffset + block.size());
}

TEST(ShgWriter, NoHotspotsAnd24BitsHaveNoBlockAndNoPalette) {
    TShg shg;
    TDib dib = TDib::Create(3, 2, 24);
    dib.Bits[0] = 'x';
    shg.Bitmap = std::make_unique<TDib>(dib);
    std::string s = shg.SaveToBytes();
    // Colours used 0, hotspot size 0, image offset = the header itself,
    // hotspot offset 0, nothing after the pixels.
    EXPECT_EQ(s.substr(8 + 12, 2), std::string("\x00\x00", 2));
    EXPECT_EQ(s.substr(8 + 18, 2), std::string("\x00\x00", 2));
    EXPECT_EQ(U32At(s, 28), 28u);
    EXPECT_EQ(U32At(s, 32), 0u);
    EXPECT_EQ(s.size(), 8 + 28 + dib.ImageSize());
    TShg back;
    back.Hotspots.Add(THotspot{});  // replaced by the file's (empty) list
    back.LoadFromBytes(s);
    EXPECT_EQ(back.Hotspots.Count(), 0);
    EXPECT_EQ(*back.Bitmap, dib);
}

TEST(ShgWriter, PaletteCountIsAlwaysTheRealNumberOfEntries) {
    // A bitmap whose header says "0 = full table", and one with no table at all.
    TDib full = TDib::Create(2, 2, 8);
    full.ColorsUsed = 0;
    TDib none = TDib::Create(2, 2, 1);
    none.Palette.clear();
    struct Case {
        TDib dib;
        std::string colorsField;
        std::size_t entries;
    } cases[] = {{full, std::string("\x00\x02", 2), 256}, {none, std::string("\x04\x00", 2), 2}};
    for (Case& c : cases) {
        TShg shg;
        shg.Bitmap = std::make_unique<TDib>(c.dib);
        std::string s = shg.SaveToBytes();
        EXPECT_EQ(s.substr(8 + 12, 2), c.colorsField);
        TShg back;
        back.LoadFromBytes(s);
        EXPECT_EQ(back.Bitmap->Palette.size(), c.entries);
        EXPECT_EQ(back.Bitmap->Bits, c.dib.Bits);
    }
}

TEST(ShgWriter, ResolutionIsWrittenInDotsPerInch) {
    TDib dib = TDib::Create(1, 1, 24);
    dib.XPelsPerMeter = 11811;  // 300 dpi
    dib.YPelsPerMeter = 0;      // none
    TShg shg;
    shg.Bitmap = std::make_unique<TDib>(dib);
    std::string s = shg.SaveToBytes();
    EXPECT_EQ(s.substr(10, 4), std::string("\x58\x02\x00\x00", 4));
    TShg back;
    back.LoadFromBytes(s);
    EXPECT_EQ(back.Bitmap->XPelsPerMeter, 11811);
    EXPECT_EQ(back.Bitmap->YPelsPerMeter, 0);
}

TEST(ShgWriter, LongStringsSurviveWhole) {
    TShg shg;
    shg.Bitmap = std::make_unique<TDib>(TDib::Create(4, 4, 1));
    std::string longId(300, 'i');
    std::string longMacro;
    for (int i = 0; i < 400; ++i) longMacro += "ExecFile(`notepad.exe', `x" + std::to_string(i) + "');";
    std::string longContext(1000, 'C');
    shg.Hotspots.Add(Spot(longId, THotspotKind::Macro, true, longMacro, 0, 0, 2, 2));
    shg.Hotspots.Add(Spot("j", THotspotKind::Jump, true, longContext, 2, 2, 4, 4));
    TShg back;
    back.LoadFromBytes(shg.SaveToBytes());
    ASSERT_EQ(back.Hotspots.Count(), 2);
    EXPECT_EQ(back.Hotspots.GetItem(0).ID, longId);
    EXPECT_EQ(back.Hotspots.GetItem(0).Macro, longMacro);
    EXPECT_EQ(back.Hotspots.GetItem(1).Context, longContext);
}

TEST(ShgWriter, RectanglesAreNormalisedAndClamped) {
    TShg shg;
    shg.Bitmap = std::make_unique<TDib>(TDib::Create(4, 4, 1));
    shg.Hotspots.Add(Spot("back", THotspotKind::Popup, true, "P", 30, 40, 10, 5));
    shg.Hotspots.Add(Spot("neg", THotspotKind::Popup, true, "P", -5, -7, 3, 70000));
    TShg back;
    back.LoadFromBytes(shg.SaveToBytes());
    const THotspot& a = back.Hotspots.GetItem(0);
    EXPECT_EQ((std::vector<int>{a.Left, a.Top, a.Right, a.Bottom}), (std::vector<int>{10, 5, 30, 40}));
    const THotspot& b = back.Hotspots.GetItem(1);
    EXPECT_EQ((std::vector<int>{b.Left, b.Top, b.Right, b.Bottom}), (std::vector<int>{0, 0, 3, 65535}));
}

TEST(ShgWriter, RefusesWithoutAPictureOrWithInconsistentPixels) {
    TShg shg;
    EXPECT_THROW(shg.SaveToBytes(), qm::Error);
    TDib dib = TDib::Create(4, 4, 8);
    dib.Bits.pop_back();
    shg.Bitmap = std::make_unique<TDib>(dib);
    EXPECT_THROW(shg.SaveToBytes(), qm::Error);
}

TEST(ShgWriter, SaveToFileReplacesTheFileAndFailsClearly) {
    TShg shg;
    MakeAllKinds(shg);
    std::string path = TempPath("saved.shg");
    { std::ofstream(path, std::ios::binary) << "old contents that are longer than nothing"; }
    ASSERT_TRUE(shg.SaveToFile(path));
    EXPECT_EQ(ReadFile(path), shg.SaveToBytes());
    EXPECT_THROW(shg.SaveToFile(TempPath("no-such-folder") + "/x/y.shg"), qm::EFileAccess);
}

// ---- other forms written by other tools ---------------------------------

TEST(ShgReader, AcceptsTheEditorMagicAndAPictureAfterAnOffsetTable) {
    shgtest::PictureLayout s = Tiny4Bit();
    s.magic = 0x506C;  // "lP"
    s.pictureCount = 2;
    s.gap = std::string(5, '\xEE');
    TShg shg;
    shg.LoadFromBytes(shgtest::BuildShg(s));
    ASSERT_TRUE(shg.Bitmap);
    // Bottom row first in the file: the top row is "9A BC".
    EXPECT_EQ(shg.Bitmap->PixelValue(0, 0), 9u);
    EXPECT_EQ(shg.Bitmap->PixelValue(3, 0), 0xCu);
    EXPECT_EQ(shg.Bitmap->PixelValue(1, 1), 2u);
}

TEST(ShgReader, FullPaletteWhenColoursUsedIsZero) {
    shgtest::PictureLayout s = Tiny4Bit();
    s.colorsUsed = 0;  // the 16 entries are still stored
    TShg shg;
    shg.LoadFromBytes(shgtest::BuildShg(s));
    EXPECT_EQ(shg.Bitmap->Palette.size(), 16u);
    EXPECT_EQ(shg.Bitmap->PixelRgb(3, 0), 0x0000FFu);  // entry 12: blue
}

TEST(ShgReader, EveryPackingGivesTheSamePixels) {
    // 8 bits, 40 x 30, with runs and noise.
    shgtest::PictureLayout s;
    s.bits = 8;
    s.width = 40;
    s.height = 30;
    s.colorsUsed = 256;
    for (const auto& q : qm::DefaultPalette(8)) s.palette += std::string{char(q.Blue), char(q.Green), char(q.Red), 0};
    std::mt19937 rng(3);
    std::string pixels;
    for (int i = 0; i < 40 * 30; ++i) pixels.push_back(static_cast<char>(i % 97 < 50 ? 7 : rng() % 5));
    std::string forms[4] = {pixels, shgtest::PackRunLength(pixels), shgtest::PackLz77(pixels),
                            shgtest::PackLz77(shgtest::PackRunLength(pixels))};
    for (std::uint8_t packing = 0; packing < 4; ++packing) {
        SCOPED_TRACE(int(packing));
        s.packing = packing;
        s.image = forms[packing];
        s.hotspots =
            shgtest::HotspotBlock(1, 0, std::string("\xE3\x00\x00\x01\x00\x02\x00\x03\x00\x04\x00\0\0\0\0id\0T\0", 20));
        TShg shg;
        shg.LoadFromBytes(shgtest::BuildShg(s));
        EXPECT_EQ(shg.Bitmap->Bits, pixels);
        ASSERT_EQ(shg.Hotspots.Count(), 1);
        EXPECT_EQ(shg.Hotspots.GetItem(0).Context, "T");
        EXPECT_EQ(shg.Hotspots.GetItem(0).Right, 4);
    }
    EXPECT_LT(forms[2].size(), pixels.size());
    EXPECT_LT(forms[3].size(), forms[1].size() + 20);
}

TEST(ShgReader, DeviceDependentBitmapGetsDefaultPaletteAndRepaddedRows) {
    // 4 bits, 6 x 2: rows of 3 bytes padded to 4 (2-byte alignment), top row
    // first, no palette stored.
    shgtest::PictureLayout s;
    s.type = 5;
    s.bits = 4;
    s.width = 6;
    s.height = 2;
    s.colorsUsed = 16;
    s.planes = 1;
    s.image = std::string("\x01\x23\x45\x00\xFE\xDC\xBA\x00", 8);
    s.packing = 1;
    s.image = shgtest::PackRunLength(s.image);
    TShg shg;
    shg.LoadFromBytes(shgtest::BuildShg(s));
    const TDib& d = *shg.Bitmap;
    EXPECT_EQ(d.Palette, qm::DefaultPalette(4));
    EXPECT_EQ(d.Stride(), 4u);
    EXPECT_EQ(d.PixelValue(0, 0), 0u);
    EXPECT_EQ(d.PixelValue(5, 0), 5u);
    EXPECT_EQ(d.PixelValue(0, 1), 0xFu);
    EXPECT_EQ(d.PixelValue(5, 1), 0xAu);
    EXPECT_EQ(d.PixelRgb(5, 1), 0x00FF00u);  // entry 10: green
    // Saved back as a device-independent picture it reads the same.
    TShg again;
    again.LoadFromBytes(shg.SaveToBytes());
    ExpectSamePixels(*again.Bitmap, d);
}

TEST(ShgReader, DeviceDependentPlanesAreKept) {
    shgtest::PictureLayout s;
    s.type = 5;
    s.bits = 1;
    s.planes = 3;
    s.width = 16;
    s.height = 1;
    s.image = "\xF0\x0F";
    TShg shg;
    shg.LoadFromBytes(shgtest::BuildShg(s));
    EXPECT_EQ(shg.Bitmap->Planes, 3);
    EXPECT_EQ(shg.Bitmap->PixelRgb(0, 0), 0xFFFFFFu);
    EXPECT_EQ(shg.Bitmap->PixelRgb(4, 0), 0u);
}

TEST(ShgReader, UnsupportedPictureTypesAndPackingsFailClearly) {
    shgtest::PictureLayout s = Tiny4Bit();
    s.type = 8;  // metafile
    TShg shg;
    try {
        shg.LoadFromBytes(shgtest::BuildShg(s));
        FAIL() << "metafile accepted";
    } catch (const EInvalidShgFile& e) {
        EXPECT_NE(std::string(e.what()).find("type 8"), std::string::npos) << e.what();
    }
    s = Tiny4Bit();
    s.packing = 4;
    try {
        shg.LoadFromBytes(shgtest::BuildShg(s));
        FAIL() << "packing 4 accepted";
    } catch (const EInvalidShgFile& e) {
        EXPECT_NE(std::string(e.what()).find("packing method 4"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(shg.Bitmap);
}

// ---- hostile input ------------------------------------------------------

TEST(ShgReader, WrongMagicGivesTheMessage) {
    std::string golden = ReadFile(kData + "allkinds.shg");
    golden[1] = 'q';
    TShg shg;
    try {
        shg.LoadFromBytes(golden);
        FAIL();
    } catch (const EInvalidShgFile& e) {
        EXPECT_STREQ(e.what(), "This file is not a valid segmented hypergraphic file.");
    }
}

TEST(ShgReader, FiguresThatDoNotFitAreInvalid) {
    auto withBlock = [](std::string block) {
        shgtest::PictureLayout s = Tiny4Bit();
        s.hotspots = std::move(block);
        return shgtest::BuildShg(s);
    };
    const std::string record("\xE2\x00\x00\x00\x00\x00\x00\x01\x00\x01\x00\0\0\0\0", 15);
    shgtest::PictureLayout bigImage = Tiny4Bit();
    bigImage.imageSizeOverride = 5000;
    shgtest::PictureLayout huge = Tiny4Bit();
    huge.width = 0x7FFFFFFF;
    huge.height = 0x7FFFFFFF;
    huge.packing = 3;
    shgtest::PictureLayout shortPixels = Tiny4Bit();
    shortPixels.image.resize(7);
    shgtest::PictureLayout noWidth = Tiny4Bit();
    noWidth.width = 0;
    shgtest::PictureLayout badBits = Tiny4Bit();
    badBits.bits = 3;
    shgtest::PictureLayout bigPalette = Tiny4Bit();
    bigPalette.colorsUsed = 300;
    shgtest::PictureLayout noPictures = Tiny4Bit();
    noPictures.pictureCount = 0;
    struct Case {
        const char* what;
        std::string file;
    } cases[] = {
        {"hotspot count beyond the block", withBlock(shgtest::HotspotBlock(20, 0, record + "a\0b\0"))},
        {"macro data beyond the block", withBlock(shgtest::HotspotBlock(1, 1000, record + "a\0b\0"))},
        {"string without its NUL", withBlock(shgtest::HotspotBlock(1, 0, record + "a\0b"))},
        {"missing strings", withBlock(shgtest::HotspotBlock(1, 0, record))},
        {"image size beyond the file", shgtest::BuildShg(bigImage)},
        {"huge picture from a few bytes", shgtest::BuildShg(huge)},
        {"pixels shorter than the picture", shgtest::BuildShg(shortPixels)},
        {"width 0", shgtest::BuildShg(noWidth)},
        {"3 bits per pixel", shgtest::BuildShg(badBits)},
        {"300 palette entries for 4 bits", shgtest::BuildShg(bigPalette)},
        {"no pictures", shgtest::BuildShg(noPictures)},
        {"picture offset beyond the file", std::string("lp\x01\x00\xFF\x00\x00\x00", 8)},
        {"header only", std::string("lp\x01\x00", 4)},
    };
    for (const Case& c : cases) {
        TShg shg;
        try {
            shg.LoadFromBytes(c.file);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EInvalidShgFile& e) {
            EXPECT_STREQ(e.what(), qm::kInvalidShgMessage) << c.what;
        }
    }
}

TEST(ShgReader, HotspotBlockWithSizeBeyondThePicture) {
    TShg shg;
    MakeAllKinds(shg);
    std::string s = shg.SaveToBytes();
    // Hotspot block size field (picture bytes 18..19): claim far more.
    s[8 + 18] = '\x00';
    s[8 + 19] = '\x10';
    TShg back;
    EXPECT_THROW(back.LoadFromBytes(s), EInvalidShgFile);
}

TEST(ShgReader, EveryTruncationFailsCleanly) {
    std::string golden = ReadFile(kData + "allkinds.shg");
    for (std::size_t n = 0; n < golden.size(); ++n) {
        TShg shg;
        EXPECT_THROW(shg.LoadFromBytes(std::string_view(golden).substr(0, n)), qm::Error) << n;
    }
}

TEST(ShgReader, TypeBytesAndAttributes) {
    struct Case {
        unsigned char type, attr;
        THotspotKind kind;
        bool visible;
    } cases[] = {{0xEA, 0, THotspotKind::Popup, true}, {0xEE, 4, THotspotKind::Popup, false},
                 {0xE4, 0, THotspotKind::Jump, true},  {0x00, 1, THotspotKind::Jump, false},
                 {0xCC, 0, THotspotKind::Macro, true}, {0xC8, 0x80, THotspotKind::Macro, false}};
    for (const Case& c : cases) {
        std::string rec("\x00\x00\x00\x01\x00\x02\x00\x03\x00\x04\x00\0\0\0\0", 15);
        rec[0] = static_cast<char>(c.type);
        rec[1] = static_cast<char>(c.attr);
        shgtest::PictureLayout s = Tiny4Bit();
        s.hotspots = shgtest::HotspotBlock(1, 0, rec + std::string("id\0target\0", 10));
        TShg shg;
        shg.LoadFromBytes(shgtest::BuildShg(s));
        const THotspot& h = shg.Hotspots.GetItem(0);
        EXPECT_EQ(h.Kind, c.kind) << int(c.type);
        EXPECT_EQ(h.Visible, c.visible) << int(c.attr);
        EXPECT_EQ(c.kind == THotspotKind::Macro ? h.Macro : h.Context, "target");
        EXPECT_EQ((std::vector<int>{h.Left, h.Top, h.Right, h.Bottom}), (std::vector<int>{1, 2, 4, 6}));
    }
}

TEST(ShgReader, NegativeCountsMeanNothing) {
    // A count of 0x8000 is negative in 16 signed bits; a negative macro size is not skipped.
    shgtest::PictureLayout s = Tiny4Bit();
    s.hotspots = shgtest::HotspotBlock(0x8000, 0xFFFFFFFF, "");
    TShg shg;
    shg.LoadFromBytes(shgtest::BuildShg(s));
    EXPECT_EQ(shg.Hotspots.Count(), 0);
}

// ---- files and the object's state ----------------------------------------

TEST(ShgFiles, FailedLoadLeavesTheObjectAsItWas) {
    TShg shg;
    ASSERT_TRUE(shg.LoadFromFile(kData + "allkinds.shg"));
    std::string bad = TempPath("bad.shg");
    { std::ofstream(bad, std::ios::binary) << "not a hypergraphic"; }
    EXPECT_THROW(shg.LoadFromFile(bad), EInvalidShgFile);
    EXPECT_THROW(shg.LoadFromFile(TempPath("missing.shg")), qm::EFileAccess);
    EXPECT_EQ(shg.FileName, kData + "allkinds.shg");
    EXPECT_TRUE(shg.IsShg);
    EXPECT_EQ(shg.Hotspots.Count(), 6);
    ASSERT_TRUE(shg.Bitmap);
    EXPECT_EQ(shg.Bitmap->Width, 8);
}

TEST(ShgFiles, ImportBitmapTakesThePictureAndDropsHotspots) {
    TShg shg;
    shg.LoadFromFile(kData + "allkinds.shg");
    TDib dib = TDib::Create(5, 3, 24);
    dib.Bits[0] = '\x7F';
    std::string bmp = TempPath("pic.bmp");
    dib.SaveToFile(bmp);

    std::string bad = TempPath("bad.bmp");
    { std::ofstream(bad, std::ios::binary) << "BM but nothing else"; }
    EXPECT_THROW(shg.ImportBitmap(bad), qm::Error);
    EXPECT_EQ(shg.Hotspots.Count(), 6);
    EXPECT_TRUE(shg.IsShg);
    EXPECT_EQ(shg.Bitmap->Width, 8);

    ASSERT_TRUE(shg.ImportBitmap(bmp));
    EXPECT_FALSE(shg.IsShg);
    EXPECT_EQ(shg.FileName, bmp);
    EXPECT_EQ(shg.Hotspots.Count(), 0);
    EXPECT_EQ(*shg.Bitmap, dib);
}
