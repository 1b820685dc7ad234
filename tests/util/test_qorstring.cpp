// String and path routines: 1-based positions, -1 for "not found", ASCII-only
// case folding, and the path/extension helpers.
#include "util/qorstring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

using namespace qm;

namespace {

struct PosCase {
    int start;
    const char* s;
    const char* sub;
    int expected;
};

// ---------------------------------------------------------------- case folding

TEST(AsciiCase, OnlyAToZChange) {
    EXPECT_EQ(AsciiLower('A'), 'a');
    EXPECT_EQ(AsciiLower('Z'), 'z');
    EXPECT_EQ(AsciiLower('a'), 'a');
    EXPECT_EQ(AsciiLower('@'), '@');        // just before 'A'
    EXPECT_EQ(AsciiLower('['), '[');        // just after 'Z'
    EXPECT_EQ(AsciiLower('\xC9'), '\xC9');  // upper-case E acute stays
    EXPECT_EQ(AsciiUpper('z'), 'Z');
    EXPECT_EQ(AsciiUpper('`'), '`');
    EXPECT_EQ(AsciiUpper('{'), '{');
    EXPECT_EQ(AsciiUpper('\xE9'), '\xE9');
    EXPECT_EQ(AsciiLowerStr("AbC\xC9_1"), "abc\xC9_1");
    EXPECT_EQ(AsciiUpperStr("aBc\xE9_1"), "ABC\xE9_1");
}

TEST(AsciiCase, SameTextIgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SameText("Topic_One", "tOPIC_oNE"));
    EXPECT_TRUE(SameText("", ""));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_FALSE(SameText("caf\xC9", "caf\xE9"));  // accented letters are not folded
}

TEST(AsciiCase, CompareTextUsesLowerCaseUnsignedBytes) {
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("abc", "ABCD"), 0);  // prefix sorts first
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    // '_' (0x5F) sorts before 'a' (0x61) in lower case, though after 'A' (0x41).
    EXPECT_LT(CompareText("_", "A"), 0);
    // Bytes above 0x7F compare as unsigned: they sort after ASCII.
    EXPECT_LT(CompareText("z", "\xE9"), 0);
    EXPECT_GT(CompareText("\x80", "a"), 0);
}

// ------------------------------------------------------------------- searching

TEST(PosFrom, Table) {
    const PosCase cases[] = {
        {1, "abc", "cde", -1},                            // partial match at the end is no hit
        {3, "abcabc", "abc", 4}, {7, "abcabc", "c", -1},  // start beyond the length
        {6, "abcabc", "c", 6},                            // start at the last character
        {1, "abcabc", "abc", 1}, {4, "abcabc", "abc", 4}, {5, "abcabc", "abc", -1},
        {0, "abc", "a", 1},  // start below 1 counts as 1
        {-5, "abc", "b", 2},     {1, "", "a", -1},        {1, "abc", "", -1},
        {1, "", "", -1},         {1, "abc", "abcd", -1},  {1, "aaa", "aa", 1},
        {2, "aaa", "aa", 2},     {1, "Hello", "LL", -1},  // case-sensitive
        {1, "Hello", "ll", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PosFrom(c.start, c.s, c.sub), c.expected)
            << "PosFrom(" << c.start << ", \"" << c.s << "\", \"" << c.sub << "\")";
}

TEST(TextPosFrom, Table) {
    const PosCase cases[] = {
        {1, "Hello", "LL", 3},      {1, "HELLO", "ll", 3}, {4, "Hello", "LL", -1},
        {1, "caf\xC9", "\xE9", -1},  // letters outside A-Z are compared as they are
        {1, "caf\xE9", "\xE9", 4},  {1, "", "a", -1},      {1, "abc", "", -1},
        {9, "abc", "a", -1},        {0, "ABCabc", "c", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextPosFrom(c.start, c.s, c.sub), c.expected)
            << "TextPosFrom(" << c.start << ", \"" << c.s << "\", \"" << c.sub << "\")";
}

TEST(LastPosFrom, Table) {
    const PosCase cases[] = {
        {6, "abcabc", "abc", 4}, {3, "abcabc", "abc", 1},   {0, "abcabc", "abc", -1},  // start below 1
        {-1, "abcabc", "a", -1}, {4, "abcabc", "abc", 4},    // the occurrence may start exactly at Start
        {5, "abcabc", "abc", 4}, {100, "abcabc", "abc", 4},  // a start beyond the end finds the last one
        {6, "abcabc", "c", 6},   {5, "abcabc", "c", 3},     {1, "abcabc", "abc", 1},  {1, "abcabc", "bc", -1},
        {6, "abcabc", "", -1},   {6, "", "a", -1},          {6, "abcabc", "ABC", -1},  // case-sensitive
        {3, "aaa", "aa", 2},     {3, "ab", "abc", -1},  // never a partial match past the end
    };
    for (const auto& c : cases)
        EXPECT_EQ(LastPosFrom(c.start, c.s, c.sub), c.expected)
            << "LastPosFrom(" << c.start << ", \"" << c.s << "\", \"" << c.sub << "\")";
}

// ----------------------------------------------------------------- predicates

TEST(IsValidName, Table) {
    struct Case {
        std::string s;
        bool expected;
    };
    const Case cases[] = {
        {"Topic_1", true},
        {"TOPIC", true},
        {"caf\xE9", true},  // e acute, byte 233
        {"_", true},
        {"0123456789", true},
        {"\xE0\xF6\xF9\xFD", true},  // 224, 246, 249, 253: the edges of the accented ranges
        {"", false},
        {"my topic", false},
        {"a-b", false},
        {"x.y", false},
        {"price$", false},
        {"caf\xC9", false},  // upper-case accented letters (192-222) do not pass
        {"\xC0", false},
        {"\xDE", false},
        {"\xDF", false},  // 223
        {"\xF7", false},  // 247
        {"\xF8", false},  // 248
        {"\xFE", false},  // 254
        {"\xFF", false},  // 255
        {std::string("a\0b", 3), false},
        {"a\tb", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidName(c.s), c.expected) << "IsValidName(\"" << c.s << "\")";
}

TEST(IsNumeric, Table) {
    struct Case {
        const char* s;
        bool expected;
    };
    const Case cases[] = {
        {"", false},   {"12-3", true}, {"-", true},   {"0", true},    {"1-2", true},
        {"123", true}, {"12a", false}, {" 1", false}, {"1.5", false}, {"+1", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNumeric(c.s), c.expected) << "IsNumeric(\"" << c.s << "\")";
}

// ------------------------------------------------------------------ substrings

TEST(Substrings, LeftStr) {
    EXPECT_EQ(LeftStr("abc", 4), "");  // more than the length gives nothing
    EXPECT_EQ(LeftStr("abc", 3), "abc");
    EXPECT_EQ(LeftStr("abc", 2), "ab");
    EXPECT_EQ(LeftStr("abc", 0), "");
    EXPECT_EQ(LeftStr("", 0), "");
    EXPECT_EQ(LeftStr("", 1), "");
    EXPECT_EQ(LeftStr("abc", -1), "");
}

TEST(Substrings, RightStr) {
    EXPECT_EQ(RightStr("abc", 5), "abc");  // more than the length gives all
    EXPECT_EQ(RightStr("abc", 3), "abc");
    EXPECT_EQ(RightStr("abc", 2), "bc");
    EXPECT_EQ(RightStr("abc", 0), "");
    EXPECT_EQ(RightStr("", 3), "");
    EXPECT_EQ(RightStr("abc", -1), "");
}

TEST(Substrings, MidStr) {
    EXPECT_EQ(MidStr("abcdef", 2, 3), "bcd");
    EXPECT_EQ(MidStr("abcdef", 1, 6), "abcdef");
    EXPECT_EQ(MidStr("abcdef", 5, 10), "ef");  // cut at the end
    EXPECT_EQ(MidStr("abcdef", 6, 1), "f");
    EXPECT_EQ(MidStr("abcdef", 7, 1), "");
    EXPECT_EQ(MidStr("abcdef", 100, 1), "");
    EXPECT_EQ(MidStr("abcdef", 2, 0), "");
    EXPECT_EQ(MidStr("abcdef", 2, -3), "");
    EXPECT_EQ(MidStr("", 1, 3), "");
}

// ------------------------------------------------------------------- replacing

TEST(ReplaceString, Table) {
    struct Case {
        const char* s;
        const char* oldText;
        const char* newText;
        bool all;
        int start;
        const char* expected;
    };
    const Case cases[] = {
        {"aXa", "a", "aa", true, 1, "aaXaa"},  // new contains old: no loop
        {"aaa", "a", "ba", true, 1, "bababa"},
        {"abcabc", "b", "", true, 1, "acac"},
        {"aaaa", "aa", "", true, 1, ""},           // resumes where the removed text was
        {"abcabc", "b", "X", false, 1, "aXcabc"},  // first only
        {"abcabc", "b", "X", true, 3, "abcaXc"},   // nothing before Start changes
        {"abcabc", "b", "X", false, 3, "abcaXc"},
        {"abcabc", "b", "X", true, 7, "abcabc"},  // Start beyond the text
        {"ABab", "a", "x", true, 1, "ABxb"},      // case-sensitive
        {"abc", "", "X", true, 1, "abc"},         // empty Old changes nothing
        {"", "a", "X", true, 1, ""},
        {"hello world", "o", "0", true, 1, "hell0 w0rld"},
        {"<b>x</b>", "<b>", "", true, 1, "x</b>"},
        {"xx", "x", "xyx", true, 1, "xyxxyx"},
    };
    for (const auto& c : cases) {
        std::string s = c.s;
        ReplaceString(s, c.oldText, c.newText, c.all, c.start);
        EXPECT_EQ(s, c.expected) << "ReplaceString(\"" << c.s << "\", \"" << c.oldText << "\", \"" << c.newText
                                 << "\", " << c.all << ", " << c.start << ")";
    }
}

TEST(ReplaceString, StartDefaultsToOne) {
    std::string s = "a-a-a";
    ReplaceString(s, "-", "+", true);
    EXPECT_EQ(s, "a+a+a");
}

// ------------------------------------------------------------- CopyToCharArray

TEST(CopyToCharArray, ZeroFillsThenCopiesAndNeverWritesPastSize) {
    char buf[12];
    std::memset(buf, '#', sizeof buf);
    CopyToCharArray("abc", buf, 8);
    EXPECT_EQ(std::string(buf, 8), std::string("abc\0\0\0\0\0", 8));
    EXPECT_EQ(std::string(buf + 8, 4), "####");  // beyond Size untouched
}

TEST(CopyToCharArray, LongerTextIsCutToSize) {
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    CopyToCharArray("abcdefghij", buf, 5);
    EXPECT_EQ(std::string(buf, 5), "abcde");  // exactly Size bytes, no terminator
    EXPECT_EQ(std::string(buf + 5, 3), "###");
}

TEST(CopyToCharArray, EmptyTextClearsTheField) {
    char buf[4];
    std::memset(buf, 'x', sizeof buf);
    CopyToCharArray("", buf, 4);
    EXPECT_EQ(std::string(buf, 4), std::string(4, '\0'));
}

TEST(CopyToCharArray, NullViewClearsTheField) {
    char buf[3] = {'x', 'y', 'z'};
    CopyToCharArray(std::string_view(), buf, 3);
    EXPECT_EQ(std::string(buf, 3), std::string(3, '\0'));
}

TEST(CopyToCharArray, SizeZeroTouchesNothing) {
    char buf[2] = {'p', 'q'};
    CopyToCharArray("abc", buf, 0);
    EXPECT_EQ(buf[0], 'p');
    EXPECT_EQ(buf[1], 'q');
}

// ------------------------------------------------------------------ path parts

TEST(IncludeBackslash, Table) {
    EXPECT_EQ(IncludeBackslash(""), "");
    EXPECT_EQ(IncludeBackslash("C:\\dir"), "C:\\dir\\");
    EXPECT_EQ(IncludeBackslash("C:\\dir\\"), "C:\\dir\\");
    EXPECT_EQ(IncludeBackslash("\\"), "\\");
    EXPECT_EQ(IncludeBackslash("images"), "images\\");
    EXPECT_EQ(IncludeBackslash("/home/ann/help/"), "/home/ann/help/");
}

TEST(Extensions, ExtractExtension) {
    struct Case {
        const char* s;
        const char* expected;
    };
    const Case cases[] = {
        {"readme", ""},
        {"file.txt", "txt"},
        {"archive.tar.gz", "gz"},
        {"file.", ""},
        {"C:\\my.dir\\file", ""},  // the dot is in a folder name
        {"C:\\my.dir\\file.rtf", "rtf"},
        {"my.dir/file", ""},
        {"my.dir/file.hpj", "hpj"},
        {"a.b:file", ""},  // ":" separates as well
        {"C:\\dir.x\\sub/file", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractExtension(c.s), c.expected) << "ExtractExtension(\"" << c.s << "\")";
}

TEST(Extensions, ChangeExtension) {
    struct Case {
        const char* s;
        const char* ext;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\my.dir\\file", "hlp", "C:\\my.dir\\file.hlp"},  // not C:\my.hlp
        {"file", "hlp", "file.hlp"},
        {"help.qpf", "hlp", "help.hlp"},
        {"a.b.qpf", "cnt", "a.b.cnt"},
        {"C:\\my.dir\\file.qpf", "hpj", "C:\\my.dir\\file.hpj"},
        {"my.dir/file", "hlp", "my.dir/file.hlp"},
        {"my.dir/file.qpf", "hlp", "my.dir/file.hlp"},
        {"x.y:file", "hlp", "x.y:file.hlp"},
        {"file.", "hlp", "file.hlp"},
    };
    for (const auto& c : cases) {
        std::string s = c.s;
        ChangeExtension(s, c.ext);
        EXPECT_EQ(s, c.expected) << "ChangeExtension(\"" << c.s << "\", \"" << c.ext << "\")";
    }
}

TEST(Extensions, RemoveExtension) {
    struct Case {
        const char* s;
        const char* expected;
    };
    const Case cases[] = {
        {"readme", "readme"},
        {"readme.txt", "readme"},
        {"a.b.c", "a.b"},
        {"file.", "file"},
        {"C:\\my.dir\\file", "C:\\my.dir\\file"},
        {"C:\\my.dir\\file.qpf", "C:\\my.dir\\file"},
        {"my.dir/file", "my.dir/file"},
        {"a.b:file", "a.b:file"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RemoveExtension(c.s), c.expected) << "RemoveExtension(\"" << c.s << "\")";
}

TEST(PathParts, ExtractFileNameAndPath) {
    struct Case {
        const char* s;
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\dir\\file.txt", "file.txt", "C:\\dir\\"},
        {"C:file.txt", "file.txt", "C:"},
        {"file.txt", "file.txt", ""},
        {"a/b\\c", "c", "a/b\\"},
        {"a\\b/c", "c", "a\\b/"},
        {"dir\\", "", "dir\\"},
        {"/usr/share/x.bmp", "x.bmp", "/usr/share/"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileName(c.s), c.name) << "ExtractFileName(\"" << c.s << "\")";
        EXPECT_EQ(ExtractFilePath(c.s), c.path) << "ExtractFilePath(\"" << c.s << "\")";
        // The two parts always put the text back together.
        EXPECT_EQ(ExtractFilePath(c.s) + ExtractFileName(c.s), c.s);
    }
}

// ------------------------------------------------------------------- splitting

TEST(SplitToStrings, Table) {
    struct Case {
        std::string s;
        char sep;
        StringList expected;
    };
    const Case cases[] = {
        {"a;b;c", ';', {"a", "b", "c"}},
        {"a;b", ';', {"a", "b"}},
        {"a;b;", ';', {"a", "b"}},       // the final ";" only ends the text
        {"a;;b;", ';', {"a", "", "b"}},  // empty piece between two separators
        {";", ';', {}},                  // a lone semicolon gives nothing
        {"", ';', {}},
        {"x", ';', {"x"}},
        {";a", ';', {"", "a"}},
        {"a;;", ';', {"a", ""}},  // empty last piece after a separator stays
        {"x", ',', {"x"}},
        {"a,b", ',', {"a", "b"}},
        {"a,b;", ',', {"a", "b"}},  // ";" is the end mark whatever the separator
        {"a;b", ',', {"a;b"}},      // a semicolon inside is not a comma
        {"a,,b", ',', {"a", "", "b"}},
        {"a,", ',', {"a", ""}},
        {"a,,", ',', {"a", "", ""}},
        {";;", ';', {"", ""}},
        {"k1 k2", ' ', {"k1", "k2"}},
    };
    for (const auto& c : cases) {
        StringList out;
        SplitToStrings(c.s, c.sep, out);
        EXPECT_EQ(out, c.expected) << "SplitToStrings(\"" << c.s << "\", '" << c.sep << "')";
    }
}

TEST(SplitToStrings, EmptiesTheListFirst) {
    StringList out = {"old", "entries"};
    SplitToStrings("n", ';', out);
    EXPECT_EQ(out, StringList{"n"});
    SplitToStrings("", ';', out);
    EXPECT_TRUE(out.empty());
}

// ------------------------------------------------------------------------ Trim

TEST(Trim, RemovesBlanksAndControlsAtBothEndsOnly) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim("\x01x\x20"), "x");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim("none"), "none");
    // Bytes above 0x7F are text, not blanks (a signed-char comparison would eat them).
    EXPECT_EQ(Trim("\xA0x\xE9"), "\xA0x\xE9");
    EXPECT_EQ(Trim(std::string(" \0a\0 ", 5)), "a");
}

// ----------------------------------------------------------------- GroupDigits

TEST(GroupDigits, Table) {
    struct Case {
        const char* name;
        const char* text;
        const char* separator;
        const char* expected;
    };
    const Case cases[] = {
        {"1 bit: 2 colours", "2", " ", "2"},
        {"24 bits: 2^24 colours", "16777216", " ", "16 777 216"},
        {"32 bits: 2^32 colours", "4294967296", " ", "4 294 967 296"},
        {"three digits take no separator", "256", " ", "256"},
        {"four digits", "1000", " ", "1 000"},
        {"six digits", "123456", " ", "123 456"},
        {"empty", "", " ", ""},
        {"a visible separator never leads", "256", ",", "256"},
        {"a visible separator between groups", "1234567", ",", "1,234,567"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GroupDigits(c.text, c.separator), c.expected);
    }
}

}  // namespace

// The order of a plain stable sort of the keys, whatever their lengths, their
// shared beginnings (past the 8 bytes read at once among them) and their
// bytes (unsigned, NULs too); equal keys keep their order.
TEST(StableByteOrder, OrdersAsAStableSortOfTheKeys) {
    const std::vector<std::string> texts = {"beta",
                                            "Beta",
                                            "",
                                            "alpha",
                                            "alphabet",
                                            "alphabetical",
                                            "alphabetic",
                                            "alphabet",
                                            "\xE9t\xE9",
                                            "z",
                                            "\x80",
                                            "ab",
                                            std::string("ab\0", 3),
                                            std::string("ab\0c", 4),
                                            "abcdefgh",
                                            "abcdefg",
                                            "abcdefghi",
                                            "abcdefgh",
                                            "",
                                            "ALPHA"};
    std::vector<std::string_view> keys(texts.begin(), texts.end());
    std::vector<std::size_t> expected(keys.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    EXPECT_EQ(qm::StableByteOrder(keys), expected);
    EXPECT_TRUE(qm::StableByteOrder({}).empty());
}

// A map keyed by names finds them in any ASCII case, without a copy, and
// keeps names apart that differ in more than case.
TEST(FoldedText, AMapFindsANameInAnyCase) {
    std::unordered_map<std::string, int, qm::FoldedTextHash, qm::FoldedTextEqual> names;
    names.emplace("Intro_Topic", 1);
    names.emplace("caf\xE9", 2);
    EXPECT_EQ(qm::FoldedTextHash{}("INTRO_topic"), qm::FoldedTextHash{}("Intro_Topic"));
    const std::string_view asked = "intro_TOPIC";
    ASSERT_NE(names.find(asked), names.end());
    EXPECT_EQ(names.find(asked)->second, 1);
    EXPECT_NE(names.find(std::string_view("caf\xE9")), names.end());
    // Only ASCII letters fold.
    EXPECT_EQ(names.find(std::string_view("CAF\xC9")), names.end());
    EXPECT_EQ(names.find(std::string_view("Intro_Topics")), names.end());
}
