// Compressed integers, run-length and LZ77 unpacking, the context hash and the
// resolution conversion.
#include <gtest/gtest.h>

#include <random>

#include "shg/qorshg.h"
#include "shg/shg_support.h"

using qm::EInvalidShgFile;
using qm::TShg;
using qm::TShgInput;

namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s.push_back(static_cast<char>(c));
    return s;
}

}  // namespace

TEST(ShgCompressed, WordEncodingsAndBackAgain) {
    struct Case {
        std::uint32_t value;
        std::string bytes;
    } cases[] = {
        {0, Bytes({0x00})},   {1, Bytes({0x02})},  // planes 1
        {8, Bytes({0x10})},                        // 8 bits per pixel
        {127, Bytes({0xFE})}, {128, Bytes({0x01, 0x01})}, {32767, Bytes({0xFF, 0xFF})},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(TShg::WriteCompressedWord(out, c.value), static_cast<int>(c.bytes.size())) << c.value;
        EXPECT_EQ(out, c.bytes) << c.value;
        TShgInput in(out);
        EXPECT_EQ(TShg::ReadCompressedWord(in), c.value);
        EXPECT_EQ(in.remaining(), 0u);
    }
}

TEST(ShgCompressed, DwordEncodingsAndBackAgain) {
    struct Case {
        std::uint32_t value;
        std::string bytes;
    } cases[] = {
        {0, Bytes({0x00, 0x00})},
        {100, Bytes({0xC8, 0x00})},  // width 100
        {32767, Bytes({0xFE, 0xFF})},
        {32768, Bytes({0x01, 0x00, 0x01, 0x00})},
        {40000, Bytes({0x81, 0x38, 0x01, 0x00})},  // width 40000
        {0x7FFFFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(TShg::WriteCompressedDword(out, c.value), static_cast<int>(c.bytes.size())) << c.value;
        EXPECT_EQ(out, c.bytes) << c.value;
        TShgInput in(out);
        EXPECT_EQ(TShg::ReadCompressedDword(in), c.value);
        EXPECT_EQ(in.remaining(), 0u);
    }
}

TEST(ShgCompressed, TruncatedLongFormsAreInvalid) {
    for (const std::string& s : {Bytes({0x01}), Bytes({0x01, 0x00, 0x01})}) {
        TShgInput in(s);
        if (s.size() == 1)
            EXPECT_THROW(TShg::ReadCompressedWord(in), EInvalidShgFile);
        else
            EXPECT_THROW(TShg::ReadCompressedDword(in), EInvalidShgFile);
    }
}

TEST(ShgRunLength, UnpacksTheDocumentedExample) {
    std::string packed = Bytes({0x03, 0x41, 0x82, 0x42, 0x43, 0x00, 0x01, 0x44});
    std::string out;
    EXPECT_EQ(TShg::UnpackRunLength(packed, out), 6u);
    EXPECT_EQ(out, "AAABCD");
}

TEST(ShgRunLength, StopsAtTheLimitAndAppends) {
    std::string out = "x";
    // 127 repeats, then 127 repeats: the limit cuts inside the second run.
    EXPECT_EQ(TShg::UnpackRunLength(Bytes({0x7F, 0x41, 0x7F, 0x42}), out, 130), 130u);
    EXPECT_EQ(out.size(), 131u);
    EXPECT_EQ(out.substr(1, 127), std::string(127, 'A'));
    EXPECT_EQ(out.substr(128), "BBB");
}

TEST(ShgRunLength, TestPackerRoundTrips) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::string data;
        int n = static_cast<int>(rng() % 2000);
        for (int i = 0; i < n; ++i) {
            // Long runs and noise, so both control forms occur.
            char c = static_cast<char>(rng() % 4);
            int rep = (rng() % 3 == 0) ? static_cast<int>(rng() % 300) : 1;
            data.append(static_cast<std::size_t>(rep), c);
        }
        std::string out;
        TShg::UnpackRunLength(shgtest::PackRunLength(data), out);
        ASSERT_EQ(out, data) << round;
    }
}

TEST(ShgLz77, DecodesWhatTheTestEncoderPacks) {
    std::mt19937 rng(11);
    std::vector<std::string> inputs = {"", "a", "abcabcabcabcabcabcabcabc", std::string(5000, 'z')};
    std::string text;
    for (int i = 0; i < 300; ++i) text += "The quick brown fox " + std::to_string(rng() % 50) + ". ";
    inputs.push_back(text);
    std::string noise;
    for (int i = 0; i < 3000; ++i) noise.push_back(static_cast<char>(rng()));
    inputs.push_back(noise);
    for (const std::string& in : inputs) {
        std::string packed = shgtest::PackLz77(in);
        std::string out;
        EXPECT_EQ(TShg::UnpackLz77(packed, out), in.size());
        ASSERT_EQ(out, in);
    }
    // The encoder really used references on repetitive data.
    EXPECT_LT(shgtest::PackLz77(std::string(5000, 'z')).size(), 700u);
}

TEST(ShgLz77, HandDecodedStream) {
    // flags 0b00000110: literal 'a', reference (distance 1, length 3),
    // reference (distance 4, length 4), then literal 'b'.
    std::string packed = Bytes({0x06, 'a', 0x00, 0x00, 0x03, 0x10, 'b'});
    std::string out;
    TShg::UnpackLz77(packed, out);
    EXPECT_EQ(out, "aaaaaaaab");
}

TEST(ShgLz77, BadReferencesAreInvalid) {
    // A reference before the first byte, and a reference cut short.
    EXPECT_THROW(
        {
            std::string o;
            TShg::UnpackLz77(Bytes({0x01, 0x00, 0x00}), o);
        },
        EInvalidShgFile);
    EXPECT_THROW(
        {
            std::string o;
            TShg::UnpackLz77(Bytes({0x02, 'a', 0x00}), o);
        },
        EInvalidShgFile);
}

TEST(ShgLz77, StopsAtTheLimit) {
    std::string packed = shgtest::PackLz77(std::string(1000, 'q'));
    std::string out;
    EXPECT_EQ(TShg::UnpackLz77(packed, out, 10), 10u);
    EXPECT_EQ(out, std::string(10, 'q'));
}

TEST(ShgContextHash, DocumentedAndRealValues) {
    using qm::THotspots;
    EXPECT_EQ(THotspots::ContextHash("abc"), 32226);
    EXPECT_EQ(THotspots::ContextHash("ABC"), 32226);
    EXPECT_EQ(THotspots::ContextHash(""), 0);
    // Hashes stored by the help tools in the real files of the fixtures.
    EXPECT_EQ(static_cast<std::uint32_t>(THotspots::ContextHash("HIDC_DISCONNECT_YES")), 0x8915A457u);
    EXPECT_EQ(static_cast<std::uint32_t>(THotspots::ContextHash("HIDC_DISCONNECT_NO")), 0x62719CCDu);
    EXPECT_EQ(static_cast<std::uint32_t>(THotspots::ContextHash("HIDC_DIALOG_HELP")), 0xBCDADDB5u);
    EXPECT_EQ(static_cast<std::uint32_t>(THotspots::ContextHash("HIDC_OPEN_DIRECTORIES")), 0xBB865FFDu);
    EXPECT_EQ(THotspots::ContextHash("hidc_dialog_help"), THotspots::ContextHash("HIDC_DIALOG_HELP"));
}

TEST(ShgContextHash, SingleCharactersGiveTheirTableValue) {
    struct Case {
        int c;
        std::int32_t v;
    } cases[] = {{0x01, 209},  {' ', 240}, {'!', 11},    {'.', 12},   {'/', 255}, {'0', 10}, {'1', 1},
                 {'9', 9},     {':', 10},  {'@', 16},    {'A', 17},   {'z', 42},  {'[', 11}, {'\\', 12},
                 {']', 13},    {'^', 14},  {'_', 13},    {'`', 16},   {'{', 43},  {'~', 46}, {0x7F, 47},
                 {0x80, 0x50}, {0xB4, 11}, {0xB5, 0x85}, {0xFF, 0xCF}};
    for (const Case& c : cases) {
        std::string s(1, static_cast<char>(c.c));
        EXPECT_EQ(qm::THotspots::ContextHash(s), c.v) << "char " << c.c;
    }
}

TEST(ShgContextHash, HighBytesAreNotSignExtended) {
    // 0xFF counts 207; sign extension would make it negative.
    EXPECT_EQ(qm::THotspots::ContextHash("\xFF\xFF"), 207 * 43 + 207);
}

TEST(ShgResolution, PixelsPerMetreAndDotsPerInch) {
    struct Case {
        std::int32_t ppm;
        std::int32_t dpi;
    } cases[] = {{3780, 96}, {3779, 96}, {2835, 72}, {11811, 300}, {0, 0}, {-5, 0}};
    for (const Case& c : cases) EXPECT_EQ(qm::PelsPerMeterToDpi(c.ppm), c.dpi) << c.ppm;
    EXPECT_EQ(qm::DpiToPelsPerMeter(96), 3780);
    EXPECT_EQ(qm::DpiToPelsPerMeter(72), 2835);
    EXPECT_EQ(qm::DpiToPelsPerMeter(0), 0);
    EXPECT_EQ(qm::DpiToPelsPerMeter(0x7FFFFFFF), 0x7FFFFFFF);
    // Every dpi value survives the trip through pixels per metre.
    for (std::uint32_t dpi = 1; dpi < 2400; ++dpi)
        ASSERT_EQ(qm::PelsPerMeterToDpi(qm::DpiToPelsPerMeter(dpi)), static_cast<std::int32_t>(dpi));
}
