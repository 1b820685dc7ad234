// Windows-1252 <-> Unicode. The 0x80-0x9F row is where a Latin-1 shortcut
// goes wrong, so it is checked code by code against the published code page.
#include "util/cp1252.h"

#include <gtest/gtest.h>

#include <string>

using namespace qm;

namespace {

// The 0x80-0x9F row of Windows-1252. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
constexpr char32_t kRow80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t Expected(int b) { return (b >= 0x80 && b <= 0x9F) ? kRow80[b - 0x80] : static_cast<char32_t>(b); }

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
    return s;
}

TEST(Cp1252, EveryByteMapsToItsCodePointAndBack) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(Cp1252ToCodePoint(static_cast<unsigned char>(b)), Expected(b));
        EXPECT_EQ(static_cast<unsigned char>(CodePointToCp1252(Expected(b))), b);
    }
}

TEST(Cp1252, RowEightyKnownValues) {
    EXPECT_EQ(Cp1252ToCodePoint(0x80), U'\u20AC');  // euro sign
    EXPECT_EQ(Cp1252ToCodePoint(0x9F), U'\u0178');  // Y with diaeresis
    EXPECT_EQ(Cp1252ToCodePoint(0x85), U'\u2026');  // ellipsis
    EXPECT_EQ(Cp1252ToCodePoint(0x99), U'\u2122');  // trade mark
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(Cp1252ToCodePoint(b), char32_t(b));
}

TEST(Cp1252, CodePointsWithoutAByteBecomeQuestionMark) {
    // C1 controls that Windows-1252 replaced with printable characters have no byte.
    const char32_t lost[] = {0x0080, 0x0082, 0x0085, 0x009F, 0x0100,  0x0131,  0x2028,
                             0x20AD, 0x4E2D, 0xFFFD, 0xFEFF, 0x1F600, 0x10FFFF};
    for (char32_t cp : lost) EXPECT_EQ(CodePointToCp1252(cp), '?') << std::hex << unsigned(cp);
    // Out of the Unicode range altogether.
    EXPECT_EQ(CodePointToCp1252(0x110000), '?');
    EXPECT_EQ(CodePointToCp1252(0xFFFFFFFFu), '?');
}

TEST(Cp1252, Utf8KnownEncodings) {
    EXPECT_EQ(Cp1252ToUtf8("abc"), "abc");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(Cp1252ToUtf8("\xFF"), "\xC3\xBF");
    EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));  // NUL is kept
    EXPECT_EQ(Cp1252ToUtf8(""), "");

    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"
                           "5"),
              "\x80"
              "5");
    EXPECT_EQ(Utf8ToCp1252("\xC5\xB8"), "\x9F");
    EXPECT_EQ(Utf8ToCp1252("na\xC3\xAFve"), "na\xEFve");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x9Cq\xE2\x80\x9D"), "\x93q\x94");  // curly quotes
}

TEST(Cp1252, AllBytesRoundTripThroughUtf8AndUtf16) {
    const std::string all = AllBytes();
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToCp1252(utf8), all);

    const std::u16string utf16 = Cp1252ToUtf16(all);
    ASSERT_EQ(utf16.size(), 256u);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(char32_t(utf16[b]), Expected(b)) << b;
    EXPECT_EQ(Utf16ToCp1252(utf16), all);
}

TEST(Cp1252, Utf8CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    EXPECT_EQ(Utf8ToCp1252("a\xC4\x80z"), "a?z");               // U+0100, 2 bytes
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD\xE6\x96\x87"), "??");  // two CJK characters
    EXPECT_EQ(Utf8ToCp1252("x\xF0\x9F\x98\x80y"), "x?y");       // U+1F600, 4 bytes
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");                   // U+0080 has no byte
    EXPECT_EQ(Utf8ToCp1252("\xC2\x81"), "\x81");                // U+0081 is byte 0x81
}

// Invalid input may give one '?' per bad byte or per bad sequence; either way
// the text around it survives and no raw byte of the bad sequence passes through.
void ExpectReplaced(const std::string& in, const std::string& prefix, const std::string& suffix) {
    SCOPED_TRACE(testing::PrintToString(in));
    const std::string out = Utf8ToCp1252(in);
    ASSERT_GE(out.size(), prefix.size() + suffix.size() + 1);
    EXPECT_EQ(out.substr(0, prefix.size()), prefix);
    EXPECT_EQ(out.substr(out.size() - suffix.size()), suffix);
    const std::string middle = out.substr(prefix.size(), out.size() - prefix.size() - suffix.size());
    EXPECT_EQ(middle.find_first_not_of('?'), std::string::npos) << middle;
    EXPECT_FALSE(IsValidUtf8(in));
}

TEST(Cp1252, InvalidUtf8BecomesQuestionMarks) {
    ExpectReplaced(
        "a\x80"
        "b",
        "a", "b");                     // lone continuation byte
    ExpectReplaced("a\xC3", "a", "");  // truncated at the end
    ExpectReplaced(
        "a\xC3"
        "b",
        "a", "b");  // lead byte without continuation
    ExpectReplaced(
        "\xE2\x82"
        "x",
        "", "x");  // truncated 3-byte sequence
    ExpectReplaced(
        "\xC0\xAF"
        "z",
        "", "z");  // overlong "/"
    ExpectReplaced(
        "\xE0\x80\xAF"
        "z",
        "", "z");  // overlong 3-byte
    ExpectReplaced(
        "\xED\xA0\x80"
        "z",
        "", "z");  // UTF-16 surrogate in UTF-8
    ExpectReplaced(
        "\xF4\x90\x80\x80"
        "z",
        "", "z");  // above U+10FFFF
    ExpectReplaced(
        "\xFE"
        "z",
        "", "z");
    ExpectReplaced("\xFF", "", "");
    ExpectReplaced("ok\xF0\x9F\x98", "ok", "");  // truncated 4-byte
}

TEST(Cp1252, InvalidUtf8DoesNotSwallowFollowingValidCharacters) {
    // A lead byte that promises more bytes than follow must not eat the next
    // real character.
    for (const char* in : {"\xE2\xC3\xA9", "\xF0\xC3\xA9", "\xF0\x9F\xC3\xA9"}) {
        const std::string out = Utf8ToCp1252(in);
        ASSERT_GE(out.size(), 2u) << testing::PrintToString(in);
        EXPECT_EQ(out.back(), '\xE9') << testing::PrintToString(in);
        EXPECT_EQ(out.substr(0, out.size() - 1).find_first_not_of('?'), std::string::npos);
    }
}

TEST(Cp1252, IsValidUtf8) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));
    EXPECT_FALSE(IsValidUtf8("\xE9"));          // a raw cp1252 byte
    EXPECT_FALSE(IsValidUtf8("\xC1\xBF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xBF\xBF"));  // surrogate
}

TEST(Cp1252, Utf16SurrogatePairsAndLoneSurrogates) {
    EXPECT_EQ(Utf16ToCp1252(u"\u20AC"), "\x80");
    EXPECT_EQ(Utf16ToCp1252(u"a\U0001F600b"), "a?b");  // a pair is one character
    const char16_t loneHigh[] = {u'x', 0xD800, u'y', 0};
    EXPECT_EQ(Utf16ToCp1252(loneHigh), "x?y");
    const char16_t loneLow[] = {u'x', 0xDC00, u'y', 0};
    EXPECT_EQ(Utf16ToCp1252(loneLow), "x?y");
    const char16_t highAtEnd[] = {u'x', 0xDBFF, 0};
    EXPECT_EQ(Utf16ToCp1252(highAtEnd), "x?");
    const char16_t reversed[] = {0xDC00, 0xD800, u'z', 0};  // low before high is no pair
    const std::string out = Utf16ToCp1252(reversed);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), 'z');
    EXPECT_EQ(out.substr(0, out.size() - 1).find_first_not_of('?'), std::string::npos);
    EXPECT_GE(out.size(), 2u);
}

TEST(Cp1252, Utf16KnownValues) {
    EXPECT_EQ(Cp1252ToUtf16("\x80\x8A\x9F"), u"\u20AC\u0160\u0178");
    EXPECT_EQ(Utf16ToCp1252(u"\u0160\u017D\u0152"), "\x8A\x8E\x8C");
    EXPECT_EQ(Utf16ToCp1252(u"\u0100"), "?");
    EXPECT_EQ(Cp1252ToUtf16(""), u"");
}

}  // namespace
