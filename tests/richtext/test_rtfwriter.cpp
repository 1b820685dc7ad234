// Reader inputs and the exact dialect text the writer must make of them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "richtext/richdoc.h"

namespace {

// The header for a document whose only font is the unnamed default.
const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 ;}}\r\n"
    "{\\colortbl ;}\r\n\\viewkind4\\uc1";

struct Case {
    const char* name;
    const char* input;
    std::string expected;  // the whole output
};

std::string Body(const std::string& body) { return kHead + body + "}"; }

const Case kCases[] = {
    {"WordHotspotGroups", "{\\rtf1 {\\uldb hot}{\\v target}more}",
     Body("\\pard\\f0\\fs24\\uldb hot\\ulnone\\v target\\v0 more\\par\r\n")},
    {"PopupHotspot", "{\\rtf1 see {\\ul pop}{\\v ctx} now}",
     Body("\\pard\\f0\\fs24 see \\ul pop\\ulnone\\v ctx\\v0  now\\par\r\n")},
    {"UnderlineAndHiddenEndTogether", "{\\rtf1 {\\ul\\v x}y}",
     Body("\\pard\\f0\\fs24\\ul\\v x\\v0\\ulnone y\\par\r\n")},
    {"EmptyDocumentKeepsTheBlank", "{\\rtf1}", Body("\\pard\\f0\\fs24 \\par\r\n")},
    {"EmptyFirstParagraphKeepsTheBlank", "{\\rtf1 \\par x\\par}", Body("\\pard\\f0\\fs24 \\par\r\nx\\par\r\n")},
    {"TagCharactersStayLiteral", "{\\rtf1 <LINK TOPIC=\"a:b\"> ;=|!%@#*&</LINK>}",
     Body("\\pard\\f0\\fs24 <LINK TOPIC=\"a:b\"> ;=|!%@#*&</LINK>\\par\r\n")},
    {"BackslashAndBracesEscaped", "{\\rtf1 \\{bmc a\\\\b.bmp\\}}",
     Body("\\pard\\f0\\fs24 \\{bmc a\\\\b.bmp\\}\\par\r\n")},
    {"HighBytesLowerCaseHex", "{\\rtf1 caf\\'E9 na\xEFve}", Body("\\pard\\f0\\fs24 caf\\'e9 na\\'efve\\par\r\n")},
    {"UnicodeInsideCp1252BecomesHex", "{\\rtf1 \\u233?t\\u8364?}", Body("\\pard\\f0\\fs24 \\'e9t\\'80\\par\r\n")},
    {"UnicodeOutsideCp1252", "{\\rtf1 a\\u945?b\\uc2\\u-3913??c}",
     Body("\\pard\\f0\\fs24 a\\u945?b\\u-3913?c\\par\r\n")},
    {"BreaksOneForOne", "{\\rtf1 a\\tab b\\line c\\page\\page d}",
     Body("\\pard\\f0\\fs24 a\\tab b\\line c\\page\\page d\\par\r\n")},
    {"ControlWordBeforeControlWordHasNoBlank", "{\\rtf1 a{\\b\\tab}b}",
     Body("\\pard\\f0\\fs24 a\\b\\tab\\b0 b\\par\r\n")},
    {"BlankTextAfterToggleGetsTwoBlanks", "{\\rtf1 {\\b a} b}", Body("\\pard\\f0\\fs24\\b a\\b0  b\\par\r\n")},
    {"KeepnAndAlignment", "{\\rtf1\\pard\\keepn\\qc Title\\par\\pard body\\par}",
     Body("\\pard\\keepn\\qc\\f0\\fs24 Title\\par\r\n\\pard body\\par\r\n")},
    {"SameParagraphFormatWritesOnePard", "{\\rtf1\\pard\\li720 a\\par b\\par}",
     Body("\\pard\\li720\\f0\\fs24 a\\par\r\nb\\par\r\n")},
    {"IndentsSpacingTabs", "{\\rtf1\\pard\\fi-360\\li720\\ri100\\sb60\\sa120\\tx1440\\tx2880 x\\par}",
     Body("\\pard\\fi-360\\li720\\ri100\\sb60\\sa120\\tx1440\\tx2880\\f0\\fs24 x\\par\r\n")},
    {"LineSpacingAtLeast", "{\\rtf1\\pard\\sl240 x\\par}", Body("\\pard\\sl240\\f0\\fs24 x\\par\r\n")},
    {"LineSpacingExactly", "{\\rtf1\\pard\\sl-300 x\\par}", Body("\\pard\\sl-300\\f0\\fs24 x\\par\r\n")},
    {"LineSpacingSingleMultipleDropped", "{\\rtf1\\pard\\sl240\\slmult1 x\\par}", Body("\\pard\\f0\\fs24 x\\par\r\n")},
    {"LineSpacingDouble", "{\\rtf1\\pard\\sl480\\slmult1 x\\par}", Body("\\pard\\sl480\\slmult1\\f0\\fs24 x\\par\r\n")},
    {"UnderlineVariantsAreSingle", "{\\rtf1 {\\ulw a}{\\uldb b}{\\uld c}d}",
     Body("\\pard\\f0\\fs24\\ul a\\uldb b\\ul c\\ulnone d\\par\r\n")},
    {"UnderlineOffIsUlnone", "{\\rtf1 \\ul a\\ul0 b}", Body("\\pard\\f0\\fs24\\ul a\\ulnone b\\par\r\n")},
    {"StrikeItalicBoldToggles", "{\\rtf1 \\b\\i\\strike a\\strike0\\i0\\b0 b}",
     Body("\\pard\\f0\\fs24\\b\\i\\strike a\\b0\\i0\\strike0 b\\par\r\n")},
    {"ParagraphMarkFormat", "{\\rtf1 {\\v hidden}\\par x\\par}",
     Body("\\pard\\f0\\fs24\\v hidden\\v0\\par\r\nx\\par\r\n")},
    {"HiddenMarkStaysHidden", "{\\rtf1 {\\v hidden\\par}x\\par}",
     Body("\\pard\\f0\\fs24\\v hidden\\par\r\n\\v0 x\\par\r\n")},
    {"LineEndsInInputIgnored", "{\\rtf1 ab\r\ncd\ref\ngh}", Body("\\pard\\f0\\fs24 abcdefgh\\par\r\n")},
    {"BackslashLineEndIsParagraph", "{\\rtf1 ab\\\r\ncd}", Body("\\pard\\f0\\fs24 ab\\par\r\ncd\\par\r\n")},
    {"UnknownDestinationsSkipped",
     "{\\rtf1{\\stylesheet{\\s1 Heading;}}{\\info{\\title T}}{\\*\\generator X;}a{\\*\\bkmkstart b}c"
     "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}}",
     Body("\\pard\\f0\\fs24 acshown\\par\r\n")},
    {"FootnoteTextStaysInline", "{\\rtf1 #{\\footnote # Intro}${\\footnote $ Title}Body\\par}",
     Body("\\pard\\f0\\fs24 ## Intro$$ TitleBody\\par\r\n")},
    {"SpecialCharacters", "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\~\\-}",
     Body("\\pard\\f0\\fs24 \\'97\\'96\\'91\\'92\\'93\\'94\\'95\\'a0\\'ad\\par\r\n")},
    {"SecondTrailingParKeepsAnEmptyParagraph", "{\\rtf1 a\\par\\par}", Body("\\pard\\f0\\fs24 a\\par\r\n\\par\r\n")},
    {"ControlBytesDropped", "{\\rtf1 a\x01\x02\tb}", Body("\\pard\\f0\\fs24 a\\tab b\\par\r\n")},
    {"TableCellsBecomeTabs", "{\\rtf1\\trowd\\cellx100\\cellx200\\pard\\intbl a\\cell b\\cell\\row after\\par}",
     Body("\\pard\\f0\\fs24 a\\tab b\\tab\\par\r\nafter\\par\r\n")},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class DialectTable : public ::testing::TestWithParam<Case> {};

TEST_P(DialectTable, WritesExactly) {
    const Case& c = GetParam();
    std::string out = qm::NormalizeRtf(c.input);
    EXPECT_EQ(out, c.expected);
    // What the writer wrote, read back and written again, is byte-identical.
    EXPECT_EQ(qm::WriteRtf(qm::ReadRtf(out)), out);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialectTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DialectTables, FontAndColourTablesRenumberedByUse) {
    const char* in =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f4\\fswiss\\fprq2\\fcharset2 Helv;}"
        "{\\f7\\fmodern\\fprq1 Courier;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\f4\\fs20 a\\cf2 red\\cf0 \\f7 b\\highlight3 c\\cb1 d}";
    std::string expected =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset2 Helv;}"
        "{\\f1\\fmodern\\fprq1\\fcharset0 Courier;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 a\\cf1 red\\f1\\cf0 b\\highlight2 c\\cb3 d\\par\r\n}";
    EXPECT_EQ(qm::NormalizeRtf(in), expected);
}

TEST(DialectTables, FontFaceWithSpecialCharactersRoundTrips) {
    qm::RichDocument doc;
    qm::CharFormat f;
    f.font.face = "A;B{C}\\D\xE9";
    doc.appendText(u"x", f);
    std::string out = qm::WriteRtf(doc);
    EXPECT_NE(out.find("{\\f0\\fnil\\fcharset0 A\\'3bB\\{C\\}\\\\D\\'e9;}"), std::string::npos) << out;
    EXPECT_EQ(qm::ReadRtf(out).paragraphs[0].runs()[0].format.font.face, f.font.face);
}

TEST(DialectTables, BulletParagraphUsesNumberingDestination) {
    std::string out = qm::NormalizeRtf(
        "{\\rtf1\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
        "\\fi-200\\li200 item\\par\\pard plain\\par}");
    EXPECT_EQ(out, Body("\\pard{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li200\\f0\\fs24 item\\par\r\n"
                        "\\pard plain\\par\r\n"));
    qm::RichDocument doc = qm::ReadRtf(out);
    ASSERT_EQ(doc.paragraphs.size(), 2u);
    EXPECT_EQ(doc.paragraphs[0].format.numbering, qm::ParaNumbering::Bullet);
    EXPECT_EQ(doc.paragraphs[1].format.numbering, qm::ParaNumbering::None);
    EXPECT_EQ(doc.plainText(), u"item\rplain");
}

TEST(DialectTables, DocumentBuiltInCodeWritesItsFormats) {
    qm::RichDocument doc;
    qm::CharFormat plain;
    plain.font = {"Arial", 0, qm::FontPitch::Variable, qm::FontFamily::Swiss};
    plain.sizeHalfPoints = 20;
    qm::CharFormat link = plain;
    link.underline = qm::Underline::Double;
    link.color = qm::RtfColor::Rgb(0, 128, 0);
    qm::CharFormat hidden = plain;
    hidden.hidden = true;
    doc.paragraphs[0].format.alignment = qm::ParaAlignment::Right;
    doc.paragraphs[0].format.tabs = {720};
    doc.appendText(u"Go ", plain);
    doc.appendText(u"there", link);
    doc.appendText(u"Topic", hidden);
    doc.appendText(u"\r\nnext", plain);
    EXPECT_EQ(qm::WriteRtf(doc),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
              "{\\colortbl ;\\red0\\green128\\blue0;}\r\n"
              "\\viewkind4\\uc1\\pard\\qr\\tx720\\f0\\fs20 Go \\cf1\\uldb there\\cf0\\ulnone\\v Topic\\v0\\par\r\n"
              "next\\par\r\n}");
}

TEST(DialectTables, LineEndsInsideRunsAreNeverWritten) {
    qm::RichDocument doc;
    doc.paragraphs[0].append(u"a\rb\nc", qm::CharFormat());
    std::string out = qm::WriteRtf(doc);
    EXPECT_EQ(out, Body("\\pard\\f0\\fs24 abc\\par\r\n"));
}

}  // namespace
