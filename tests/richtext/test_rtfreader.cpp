#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "richtext/richdoc.h"

namespace {

using qm::ReadRtf;

TEST(RtfReader, CharacterPropertiesFromFontAndColourTables) {
    qm::RichDocument doc = ReadRtf(
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman Times;}{\\f1\\fswiss\\fcharset238\\fprq2 Arial;}}"
        "{\\colortbl;\\red10\\green20\\blue30;}"
        "plain {\\f0\\fs21\\b\\i\\strike\\uldb\\v\\cf1\\highlight1\\cb1 all}}");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const auto runs = doc.paragraphs[0].runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, u"plain ");
    EXPECT_EQ(runs[0].format.font.face, "Arial");  // \deff1
    EXPECT_EQ(runs[0].format.font.charset, 238);
    EXPECT_EQ(runs[0].format.font.pitch, qm::FontPitch::Variable);
    EXPECT_EQ(runs[0].format.sizeHalfPoints, 24);
    const qm::CharFormat& f = runs[1].format;
    EXPECT_EQ(f.font.face, "Times");
    EXPECT_EQ(f.font.family, qm::FontFamily::Roman);
    EXPECT_EQ(f.sizeHalfPoints, 21);
    EXPECT_TRUE(f.bold && f.italic && f.strikeOut && f.hidden);
    EXPECT_EQ(f.underline, qm::Underline::Double);
    EXPECT_EQ(f.color, qm::RtfColor::Rgb(10, 20, 30));
    EXPECT_EQ(f.highlight, qm::RtfColor::Rgb(10, 20, 30));
    EXPECT_EQ(f.backColor, qm::RtfColor::Rgb(10, 20, 30));
    // The group's end restores the outer state for the paragraph mark.
    EXPECT_FALSE(doc.paragraphs[0].markFormat.bold);
}

// The reader makes each format once and takes it again for the same
// character state; a change of the font or colour table, or of the default
// font, must still show in the text read after it.
TEST(RtfReader, FormatsFollowTablesThatChangeAfterText) {
    const struct {
        const char* name;
        const char* rtf;
        std::vector<std::pair<std::u16string, std::string>> runs;  // text and font face
    } rows[] = {
        {"font table after text", "{\\rtf1 a{\\fonttbl{\\f0 Courier;}}b}", {{u"a", ""}, {u"b", "Courier"}}},
        {"default font changed",
         "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}x\\deff1 y\\plain z}",
         {{u"xy", "A"}, {u"z", "B"}}},
        {"font redefined",
         "{\\rtf1{\\fonttbl{\\f0 A;}}x{\\fonttbl{\\f1 B;}}\\f1 y\\f0 z}",
         {{u"x", "A"}, {u"y", "B"}, {u"z", "A"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const qm::RichDocument doc = ReadRtf(row.rtf);
        ASSERT_EQ(doc.paragraphs.size(), 1u);
        const auto runs = doc.paragraphs[0].runs();
        ASSERT_EQ(runs.size(), row.runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].text, row.runs[i].first) << i;
            EXPECT_EQ(runs[i].format.font.face, row.runs[i].second) << i;
        }
    }
    // A new colour table gives the same colour number another colour.
    const qm::RichDocument doc =
        ReadRtf("{\\rtf1{\\colortbl;\\red1\\green0\\blue0;}\\cf1 a{\\colortbl;\\red2\\green0\\blue0;}\\cf1 b}");
    const auto runs = doc.paragraphs[0].runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].format.color, qm::RtfColor::Rgb(1, 0, 0));
    EXPECT_EQ(runs[1].format.color, qm::RtfColor::Rgb(2, 0, 0));
}

TEST(RtfReader, PlainAndPardReset) {
    qm::RichDocument doc = ReadRtf("{\\rtf1\\pard\\qc\\li100\\keepn\\b\\fs40 a\\plain b\\pard c\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    const auto& p = doc.paragraphs[0];
    // Paragraph properties are those in force at \par.
    EXPECT_EQ(p.format, qm::ParaFormat());
    ASSERT_EQ(p.runs().size(), 2u);
    EXPECT_TRUE(p.runs()[0].format.bold);
    EXPECT_EQ(p.runs()[0].format.sizeHalfPoints, 40);
    EXPECT_EQ(p.runs()[1].text, u"bc");
    EXPECT_EQ(p.runs()[1].format, qm::CharFormat());
}

TEST(RtfReader, ParagraphProperties) {
    qm::RichDocument doc =
        ReadRtf("{\\rtf1\\pard\\qj\\fi-100\\li200\\ri300\\sb10\\sa20\\sl-250\\keepn\\tx100\\tqr\\tx900 x\\par}");
    const qm::ParaFormat& f = doc.paragraphs.at(0).format;
    EXPECT_EQ(f.alignment, qm::ParaAlignment::Justify);
    EXPECT_EQ(f.firstIndent, -100);
    EXPECT_EQ(f.leftIndent, 200);
    EXPECT_EQ(f.rightIndent, 300);
    EXPECT_EQ(f.spaceBefore, 10);
    EXPECT_EQ(f.spaceAfter, 20);
    EXPECT_EQ(f.lineSpacingRule, qm::LineSpacingRule::Exactly);
    EXPECT_EQ(f.lineSpacing, 250);
    EXPECT_TRUE(f.keepWithNext);
    EXPECT_EQ(f.tabs, (std::vector<int>{100, 900}));
}

TEST(RtfReader, LineSpacingRules) {
    struct {
        const char* words;
        qm::LineSpacingRule rule;
        int spacing;
    } cases[] = {
        {"\\sl0", qm::LineSpacingRule::Single, 0},
        {"\\sl300", qm::LineSpacingRule::AtLeast, 300},
        {"\\sl-300", qm::LineSpacingRule::Exactly, 300},
        {"\\sl360\\slmult1", qm::LineSpacingRule::OneAndHalf, 0},
        {"\\sl480\\slmult1", qm::LineSpacingRule::Double, 0},
        {"\\sl600\\slmult1", qm::LineSpacingRule::Multiple, 600},
        {"\\sl240\\slmult1", qm::LineSpacingRule::Single, 0},
        {"\\sl600\\slmult0", qm::LineSpacingRule::AtLeast, 600},
    };
    for (const auto& c : cases) {
        std::string rtf = std::string("{\\rtf1\\pard") + c.words + " x\\par}";
        qm::RichDocument doc = ReadRtf(rtf);
        EXPECT_EQ(doc.paragraphs[0].format.lineSpacingRule, c.rule) << c.words;
        EXPECT_EQ(doc.paragraphs[0].format.lineSpacing, c.spacing) << c.words;
        // The rule survives the writer.
        EXPECT_EQ(ReadRtf(qm::WriteRtf(doc)).paragraphs[0].format, doc.paragraphs[0].format) << c.words;
    }
}

TEST(RtfReader, AtMost32TabStops) {
    std::string rtf = "{\\rtf1\\pard";
    for (int i = 1; i <= 40; ++i) rtf += "\\tx" + std::to_string(i * 100);
    rtf += " x\\par}";
    qm::RichDocument doc = ReadRtf(rtf);
    ASSERT_EQ(doc.paragraphs[0].format.tabs.size(), 32u);
    EXPECT_EQ(doc.paragraphs[0].format.tabs.back(), 3200);
}

TEST(RtfReader, UnicodeSkipsFallbackCharacters) {
    // \uc0 has no fallback; \uc2 skips a hex escape and a control word alike;
    // a group's end stops the skipping.
    qm::RichDocument doc = ReadRtf("{\\rtf1 \\uc0\\u945 a\\uc2\\u946\\'3f\\tab b{\\uc3 \\u947 z}c}");
    EXPECT_EQ(doc.plainText(), u"\u03b1a\u03b2b\u03b3c");
}

TEST(RtfReader, ParagraphPositionsCountOneCharacterPerBreak) {
    qm::RichDocument doc = ReadRtf("{\\rtf1 ab\\par\\par {\\v h}c\\par}");
    EXPECT_EQ(doc.plainText(), u"ab\r\rhc");
    EXPECT_EQ(doc.length(), 6u);
}

TEST(RtfReader, NotRtfLoadsAsPlainText) {
    qm::RichDocument doc = qm::LoadRtfOrText("line one\r\nline\ttwo\nthree\rfour\xE9\r\n");
    EXPECT_EQ(doc.plainText(), u"line one\rline\ttwo\rthree\rfour\u00e9\r");
    EXPECT_EQ(qm::WritePlainText(doc), "line one\r\nline\ttwo\r\nthree\r\nfour\xE9\r\n");
    EXPECT_FALSE(qm::LooksLikeRtf("x{\\rtf1}"));
    EXPECT_TRUE(qm::LooksLikeRtf("{\\rtf1}"));
    EXPECT_FALSE(qm::LooksLikeRtf("\r\n{\\rtf1}"));
    // Plain text is written as the dialect like any other document.
    EXPECT_NE(qm::NormalizeRtf("a{b}\\c").find("\\pard\\f0\\fs24 a\\{b\\}\\\\c\\par\r\n}"), std::string::npos);
}

TEST(RtfReader, MalformedInputLoadsWhatCanBeRead) {
    struct {
        const char* name;
        std::string input;
        std::u16string text;
    } cases[] = {
        {"unclosed groups", "{\\rtf1 {\\b bold {\\i more", u"bold more"},
        {"stray closing braces", "{\\rtf1 a}}}} b", u"a"},
        {"closing before opening", "}}{\\rtf1 a}", u"a"},
        {"backslash at the end", "{\\rtf1 a\\", u"a"},
        {"hex escape cut short", "{\\rtf1 a\\'4", u"a\u0004"},
        {"hex escape without digits", "{\\rtf1 a\\'zz}", u"azz"},
        {"huge numbers", "{\\rtf1\\fs99999999999999999999\\li-99999999999999 \\u99999999999?a}", u"\uffffa"},
        {"font number not in table", "{\\rtf1{\\fonttbl{\\f0 A;}}\\f99 x}", u"x"},
        {"colour index not in table", "{\\rtf1{\\colortbl;}\\cf42 x}", u"x"},
        {"star on a known word", "{\\rtf1 a{\\*\\b hidden}b}", u"ab"},
        {"text after the root group", "{\\rtf1 a}trailing", u"a"},
        {"nul bytes", std::string("{\\rtf1 a\0b}", 11), u"ab"},
    };
    for (const auto& c : cases) {
        qm::RichDocument doc;
        ASSERT_NO_THROW(doc = ReadRtf(c.input)) << c.name;
        std::u16string text = doc.plainText();
        // Control characters from a cut escape are dropped, never crash.
        std::u16string printable;
        for (char16_t ch : text)
            if (ch >= 0x20 || ch == u'\r') printable += ch;
        std::u16string expected;
        for (char16_t ch : c.text)
            if (ch >= 0x20 || ch == u'\r') expected += ch;
        EXPECT_EQ(printable, expected) << c.name;
    }
}

TEST(RtfReader, BinaryDataPastTheEndIsAnError) {
    EXPECT_THROW(ReadRtf("{\\rtf1 {\\*\\blob\\bin999 abc}}"), qm::ERtfError);
    EXPECT_THROW(ReadRtf("{\\rtf1 \\bin-1 }"), qm::ERtfError);
    // Binary data inside its bounds is skipped, braces in it included.
    EXPECT_EQ(ReadRtf("{\\rtf1 a{\\*\\blob\\bin3 {}\\}b}").plainText(), u"ab");
    // The error is one of the system's errors.
    try {
        ReadRtf("{\\rtf1 \\bin10 x}");
        FAIL();
    } catch (const qm::Error& e) {
        EXPECT_NE(std::string(e.what()).find("binary data"), std::string::npos);
    }
}

TEST(RtfReader, DeepNestingNeitherCrashesNorLosesText) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 200000; ++i) rtf += "{\\b ";
    rtf += "deep";
    for (int i = 0; i < 200000; ++i) rtf += "}";
    rtf += " after}";
    qm::RichDocument doc = ReadRtf(rtf);
    EXPECT_EQ(doc.plainText(), u"deep after");
    EXPECT_TRUE(doc.paragraphs[0].runs()[0].format.bold);
    EXPECT_FALSE(doc.paragraphs[0].runs().back().format.bold);
}

TEST(RtfReader, ReadWriteReadKeepsTextAndProperties) {
    const char* inputs[] = {
        "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern\\fprq1 Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}\\pard\\qc\\sb100 {\\b\\f1 Title}\\par"
        "\\pard\\fi-200\\li400\\tx400 \\bullet\\tab item {\\cf1\\ul red}\\line next\\page\\par"
        "{\\uldb Jump}{\\v Target>win@file.hlp}\\par\\keepn\\u1234? end}",
        "{\\rtf1 a\\par\\pard\\sl-200 b\\par\\pard\\sl360\\slmult1\\ri50 c}",
    };
    for (const char* in : inputs) {
        qm::RichDocument first = ReadRtf(in);
        qm::RichDocument second = ReadRtf(qm::WriteRtf(first));
        EXPECT_EQ(second.plainText(), first.plainText());
        EXPECT_TRUE(second == first) << qm::WriteRtf(first);
    }
}

}  // namespace

namespace {

// Inputs that once broke the round trips: control bytes in plain text, and
// empty runs between runs of one format.
TEST(RtfReader, OddInputsStillRoundTrip) {
    const std::string inputs[] = {
        std::string("{\\Rtf1 a\x01\x07 b"),
        std::string("{\\rtf1 {\\uldb hot}{\\\0\0\0}{\\uldb hot}}", 36),
        std::string("{\\rtf1 \\'01\\'07\\u1?x\\'0b\\'0c}"),
        std::string("{\\rtf1 {\\b}{\\i}{\\b}x}"),
    };
    for (const std::string& in : inputs) {
        qm::RichDocument doc = qm::LoadRtfOrText(in);
        std::string out = qm::WriteRtf(doc);
        qm::RichDocument again = ReadRtf(out);
        EXPECT_TRUE(again == doc) << out;
        EXPECT_EQ(qm::WriteRtf(again), out);
    }
    EXPECT_NE(qm::WriteRtf(ReadRtf(inputs[1])).find("\\uldb hothot\\ulnone"), std::string::npos);
}

}  // namespace

namespace {

TEST(RtfReader, SectionEndsAParagraphOnlyWhenItHoldsText) {
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\par\\sect\\sectd b\\sect}").plainText(), u"a\rb");
    // A control byte opens a run that stays empty.
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\par\x01\\sect b}").plainText(), u"a\rb");
}

}  // namespace

// The text-only reading gives the characters and paragraphs of the full
// reading, for hand-made edge cases, the fuzz seeds and other tools' files.
TEST(RtfReader, PlainTextReadingAgreesWithTheDocument) {
    std::vector<std::pair<std::string, std::string>> inputs = {
        {"Empty", "{\\rtf1}"},
        {"TrailingPar", "{\\rtf1 a\\par}"},
        {"TwoTrailingPars", "{\\rtf1 a\\par\\par}"},
        {"OnlySkippedText", "{\\rtf1 a\\par \\'01}"},
        {"SectAfterText", "{\\rtf1 a\\sect b\\par\\sect c}"},
        {"UnicodeFallbacks", "{\\rtf1\\uc2 x\\u945??y\\u-3913?z}"},
        {"HiddenAndGroups", "{\\rtf1 {\\v hid}{\\b bold\\par}\\tab\\line\\page end}"},
        {"TablesAndFonts", "{\\rtf1{\\fonttbl{\\f0 A;}}\\trowd a\\cell b\\cell\\row c}"},
        {"TextAfterTheRootGroup", "{\\rtf1 in} out"},
    };
    namespace fs = std::filesystem;
    for (const char* folder : {QM_TEST_DATA_DIR "/../../fuzz/corpus/rtf", QM_FIXTURES_DIR "/mfc-help/HLP"}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::ifstream f(entry.path(), std::ios::binary);
            inputs.emplace_back(entry.path().filename().string(),
                                std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()));
        }
    }
    EXPECT_GT(inputs.size(), 15u);
    for (const auto& [name, rtf] : inputs) {
        SCOPED_TRACE(name);
        try {
            const std::u16string expected = qm::ReadRtf(rtf).plainText();
            EXPECT_EQ(qm::ReadRtfPlainText(rtf), expected);
        } catch (const qm::ERtfError&) {
            EXPECT_THROW(qm::ReadRtfPlainText(rtf), qm::ERtfError);
        }
    }
}

namespace {

// A table as rows of cells' texts ("\r" between a cell's paragraphs), each
// row led by its edges.
using TableShape = std::vector<std::vector<std::string>>;

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

struct TablesCase {
    const char* name;
    const char* rtf;
    std::vector<std::string> paragraphs;  // outside tables
    std::vector<TableShape> tables;
    std::vector<std::size_t> after;  // each table's place among the paragraphs
};

TEST(RtfReaderTables, RowsCellsAndTheTextAround) {
    const std::vector<TablesCase> cases = {
        {"WordSixRows",
         "{\\rtf1 Before\\par \\trowd\\trgaph108\\cellx1302\\cellx8622\\pard\\intbl {\\uldb New}{\\v NEW}\\cell "
         "Creates.\\cell\\pard\\intbl\\row \\trowd\\cellx1302\\cellx8622\\pard\\intbl a\\cell "
         "b\\cell\\pard\\intbl\\row "
         "\\pard After\\par}",
         {"Before", "After"},
         {{{"1302 8622", "NewNEW", "Creates."}, {"1302 8622", "a", "b"}}},
         {1}},
        {"DefinitionRepeatedBeforeTheRowsEnd",
         "{\\rtf1 \\trowd\\cellx1000\\cellx2000\\pard\\plain\\intbl {one\\cell }{two\\cell }\\pard\\plain\\intbl "
         "{\\trowd\\cellx1000\\cellx3000\\row }\\pard\\plain After\\par}",
         {"After"},
         {{{"1000 3000", "one", "two"}}},
         {0}},
        {"CellOfTwoParagraphsAndARowWithoutItsOwnDefinition",
         "{\\rtf1 \\trowd\\cellx500\\cellx900\\pard\\intbl a\\cell b1\\par b2\\cell\\row "
         "\\pard\\intbl c\\cell d\\cell\\row}",
         {},
         {{{"500 900", "a", "b1\rb2"}, {"500 900", "c", "d"}}},
         {0}},
        {"AParagraphBetweenEndsTheTable",
         "{\\rtf1 \\trowd\\cellx500\\pard\\intbl a\\cell\\row\\pard Between\\par\\trowd\\cellx700\\pard\\intbl "
         "b\\cell\\row}",
         {"Between"},
         {{{"500", "a"}}, {{"700", "b"}}},
         {0, 1}},
        {"NoTable", "{\\rtf1 a\\tab b\\par c}", {"a\tb", "c"}, {}, {}},
    };
    for (const TablesCase& c : cases) {
        SCOPED_TRACE(c.name);
        const qm::RtfTablesAndText read = qm::ReadRtfTables(c.rtf);
        std::vector<std::string> paragraphs;
        for (const qm::Paragraph& p : read.paragraphs) paragraphs.push_back(Narrow(p.text()));
        EXPECT_EQ(paragraphs, c.paragraphs);
        std::vector<TableShape> tables;
        std::vector<std::size_t> after;
        for (const qm::RtfTable& t : read.tables) {
            after.push_back(t.after);
            tables.emplace_back();
            for (const qm::RtfTableRow& row : t.rows) {
                std::string edges;
                for (int x : row.cellRight) edges += (edges.empty() ? "" : " ") + std::to_string(x);
                tables.back().push_back({edges});
                for (const qm::RtfTableCell& cell : row.cells) tables.back().back().push_back(Narrow(cell.text()));
            }
        }
        EXPECT_EQ(tables, c.tables);
        EXPECT_EQ(after, c.after);
    }
}

TEST(RtfReaderTables, CellsKeepTheirFormats) {
    const qm::RtfTablesAndText read = qm::ReadRtfTables(
        "{\\rtf1 \\trowd\\cellx500\\cellx900\\pard\\qc\\intbl {\\b a}\\cell\\pard\\intbl b\\cell\\row}");
    ASSERT_EQ(read.tables.size(), 1u);
    const qm::RtfTableRow& row = read.tables[0].rows.at(0);
    ASSERT_EQ(row.cells.size(), 2u);
    const qm::Paragraph& a = row.cells[0].paragraphs.at(0);
    EXPECT_EQ(a.format.alignment, qm::ParaAlignment::Center);
    EXPECT_TRUE(a.runs().front().format.bold);
    EXPECT_EQ(row.cells[1].paragraphs.at(0).format.alignment, qm::ParaAlignment::Left);
    EXPECT_THROW(qm::ReadRtfTables("{\\rtf1 \\bin99 x}"), qm::ERtfError);
}

}  // namespace
