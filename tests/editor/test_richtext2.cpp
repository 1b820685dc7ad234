#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <functional>

#include "editor/qtrichdoc.h"
#include "editor/richtext2.h"
#include "richtext/richdoc.h"
#include "support/qtapp.h"

namespace {

class RichText2 : public ::testing::Test {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        edit = std::make_unique<qm::TRichText2>();
    }
    std::unique_ptr<qm::TRichText2> edit;
};

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;}\r\n\\viewkind4\\uc1";
std::string Rtf(const std::string& body) { return kHead + body + "}"; }

// Texts in the editor's dialect: loading one and reading it back gives the
// same bytes, whatever the properties.
TEST_F(RichText2, GetRtfTextGivesBackWhatSetRtfTextLoaded) {
    const std::string texts[] = {
        Rtf("\\pard\\f0\\fs20 \\par\r\n"),
        Rtf("\\pard\\f0\\fs20 Hello \\b bold\\b0  and \\i italic\\i0  \\strike gone\\strike0\\par\r\n"),
        Rtf("\\pard\\f0\\fs20 see \\uldb Jump\\ulnone\\v Target>win@file.hlp\\v0  and \\ul pop\\ulnone\\v ctx\\v0 "
            ".\\par\r\n"),
        Rtf("\\pard\\keepn\\qc\\sb120\\sa60\\f0\\fs28 Title\\par\r\n"
            "\\pard\\fi-150\\li300\\ri45\\sl-300\\tx600\\tx1200\\fs20 a\\tab b\\line c\\page d\\par\r\n"
            "\\pard\\qr\\sl480\\slmult1 right\\par\r\n\\pard\\qj\\sl240 just\\par\r\n"),
        Rtf("\\pard{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\'b7}}\\fi-150\\li150\\f0\\fs20 one\\par\r\n"
            "two\\par\r\n\\pard plain\\par\r\n"),
        Rtf("\\pard\\f0\\fs20 caf\\'e9 \\u945?\\u-3913? \\{x\\} \\\\ <LINK TOPIC=\"a\">;=|</LINK>\\par\r\n"),
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}"
        "{\\f1\\fmodern\\fprq1\\fcharset238 Courier New;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 a\\cf1 red\\f1\\fs21\\cf0  b\\highlight2 c\\cb1 d\\highlight0\\cb0\\par\r\n}",
        Rtf("\\pard\\f0\\fs20\\v hidden mark\\par\r\n\\v0 x\\par\r\n\\par\r\n"),
    };
    for (const std::string& t : texts) {
        edit->SetRtfText(t);
        EXPECT_EQ(edit->GetRtfText(), t);
    }
}

TEST_F(RichText2, ReplacingTheWholeTextIsOneUndoStepAndLoadsAsSetRtfTextDoes) {
    const std::string before = Rtf("\\pard\\f0\\fs20 old \\b text\\b0\\par\r\n");
    struct Row {
        const char* name;
        std::string text;
    } rows[] = {
        {"formats", Rtf("\\pard\\f0\\fs20 Hello \\b bold\\b0  and \\i italic\\i0\\par\r\n")},
        {"paragraphs", Rtf("\\pard\\keepn\\qc\\sb120\\sa60\\f0\\fs28 Title\\par\r\n"
                           "\\pard\\fi-150\\li300\\tx600\\fs20 a\\tab b\\line c\\par\r\n")},
        {"bullets", Rtf("\\pard{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\'b7}}\\fi-150\\li150\\f0\\fs20 one\\par\r\n"
                        "two\\par\r\n\\pard plain\\par\r\n")},
        {"hidden text", Rtf("\\pard\\f0\\fs20 see \\uldb Jump\\ulnone\\v Target\\v0 .\\par\r\n")},
        {"plain text", "First line\r\nSecond line"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        edit->SetRtfText(r.text);
        const std::string loaded = edit->GetRtfText();
        edit->SetRtfText(before);
        edit->ReplaceRtfText(r.text);
        EXPECT_EQ(edit->GetRtfText(), loaded);
        EXPECT_EQ(edit->GetSelStart(), 0);
        ASSERT_TRUE(edit->CanUndo());
        edit->Undo();
        EXPECT_EQ(edit->GetRtfText(), before);
        EXPECT_FALSE(edit->CanUndo());
    }
}

TEST_F(RichText2, RtfTextEndsWithTheRootGroup) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 x\\par\r\n"));
    std::string rtf = edit->GetRtfText();
    ASSERT_FALSE(rtf.empty());
    EXPECT_EQ(rtf.back(), '}');
    EXPECT_EQ(rtf.find('\0'), std::string::npos);
}

TEST_F(RichText2, ForeignRtfIsNormalisedToTheDialect) {
    edit->SetRtfText("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 {\\uldb hot}{\\v target} more\\par}");
    EXPECT_NE(edit->GetRtfText().find("\\uldb hot\\ulnone\\v target\\v0  more\\par"), std::string::npos);
}

TEST_F(RichText2, UnreadableRtfLoadsAsPlainText) {
    const std::string bad = "{\\rtf1 {\\*\\blob\\bin500 x}}";
    edit->SetRtfText(bad);
    EXPECT_EQ(edit->GetTextRange(0, -1), bad);
    edit->SetRtfText("just text\r\nsecond");
    EXPECT_EQ(edit->GetTextRange(0, -1), "just text\rsecond");
}

TEST_F(RichText2, SetSelTextIsOneUndoStep) {
    const std::string original = Rtf("\\pard\\f0\\fs20 one \\b two\\b0  three\\par\r\n");
    edit->SetRtfText(original);
    EXPECT_FALSE(edit->CanUndo());
    edit->SetSelStart(4);
    edit->SetSelLength(9);  // "two three"
    edit->SetSelText("<LINK TOPIC=\"x\">a</LINK>\r\nsecond\r\nthird");
    EXPECT_EQ(edit->GetTextRange(0, -1), "one <LINK TOPIC=\"x\">a</LINK>\rsecond\rthird");
    EXPECT_TRUE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(edit->GetRtfText(), original);
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_TRUE(edit->CanRedo());
    edit->Redo();
    EXPECT_EQ(edit->GetTextRange(0, -1), "one <LINK TOPIC=\"x\">a</LINK>\rsecond\rthird");
}

TEST_F(RichText2, SetSelTextOfControlTextKeepsWhatTheCodePageLacks) {
    const std::string original = Rtf("\\pard\\f0\\fs20 one \\b two\\b0  three\\par\r\n");
    edit->SetRtfText(original);
    edit->SetSelStart(4);
    edit->SetSelLength(3);  // "two"
    edit->SetSelText(QStringLiteral("<LINK TOPIC=\"a\u2192b\">a\u2192b</LINK>\nnext"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("one <LINK TOPIC=\"a\u2192b\">a\u2192b</LINK>\nnext three"));
    EXPECT_EQ(edit->Lines.Count(), 2);
    // Bold, as the first replaced character was.
    EXPECT_NE(edit->GetRtfText().find("one \\b <LINK"), std::string::npos) << edit->GetRtfText();
    edit->Undo();
    EXPECT_EQ(edit->GetRtfText(), original);
    EXPECT_FALSE(edit->CanUndo());
}

TEST_F(RichText2, ReplacedTextTakesTheFormatOfTheFirstReplacedCharacter) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 plain \\b bold\\b0  tail\\par\r\n"));
    edit->SetSelStart(6);
    edit->SetSelLength(4);  // "bold"
    edit->SetSelText("NEW");
    EXPECT_NE(edit->GetRtfText().find("plain \\b NEW\\b0  tail"), std::string::npos) << edit->GetRtfText();
    edit->SetSelStart(4);
    edit->SetSelLength(4);  // "n NE": a plain character first
    edit->SetSelText("xx");
    EXPECT_NE(edit->GetRtfText().find("plaixx\\b W\\b0"), std::string::npos) << edit->GetRtfText();
}

TEST_F(RichText2, PositionsCountParagraphBreaksAndHiddenText) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 ab\\par\r\n\\v hid\\v0 cd\\par\r\n"));
    EXPECT_EQ(edit->GetTextLen(), 8);
    EXPECT_EQ(edit->GetTextRange(1, 4), "b\rhi");
    EXPECT_EQ(edit->GetTextRange(6, 100), "cd");
    edit->SetSelStart(3);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->GetSelStart(), 3);
    EXPECT_EQ(edit->GetSelLength(), 5);
    EXPECT_EQ(edit->GetSelText(), "hidcd");
    char buf[4];
    EXPECT_EQ(edit->GetSelTextBuf(buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "hid");
    EXPECT_EQ(edit->GetCurrentLine(), 1);
    qm::TCaretPos pos = edit->GetCaretPos();
    EXPECT_EQ(pos.Y, 1);
    EXPECT_EQ(pos.X, 5);
    edit->GotoLine(1);
    EXPECT_EQ(edit->GetSelStart(), 3);
    EXPECT_EQ(edit->GetSelLength(), 0);
}

TEST_F(RichText2, FindTextOptions) {
    edit->SetRtfText("Find the word, then words and WORD.\r\nword");
    struct {
        const char* text;
        int start, length, options, expected;
    } cases[] = {
        {"word", 0, -1, qm::kFindDown, 9},
        {"word", 10, -1, qm::kFindDown, 20},
        {"word", 0, -1, qm::kFindDown | qm::kFindMatchCase, 9},
        {"WORD", 0, -1, qm::kFindDown | qm::kFindMatchCase, 30},
        {"word", 10, -1, qm::kFindDown | qm::kFindWholeWord, 30},
        {"word", 31, -1, qm::kFindDown | qm::kFindWholeWord | qm::kFindMatchCase, 36},
        {"word", 0, 12, qm::kFindDown, -1},  // the range ends inside the word
        {"word", 0, 13, qm::kFindDown, 9},
        {"word", 35, -35, 0, 30},  // backwards: the last one in range
        {"word", 29, -1, 0, 20},
        // Upward with a range that runs on past the start, as the find command
        // asks (start before the caret, length the whole text): the search goes
        // back towards the beginning, never forward.
        {"word", 29, 41, 0, 20},
        {"word", 8, 41, 0, -1},
        {"WORD", 35, 41, qm::kFindMatchCase, 30},
        {"missing", 0, -1, qm::kFindDown, -1},
        {"", 0, -1, qm::kFindDown, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(edit->FindText(c.text, c.start, c.length, c.options), c.expected)
            << c.text << " " << c.start << " " << c.options;
}

// With a selection, the current line is the line where the selection begins;
// the caret position reports where it ends.
TEST_F(RichText2, CurrentLineIsTheLineOfTheSelectionStart) {
    edit->SetRtfText("one\r\ntwo\r\nthree");
    edit->SetSelStart(1);
    edit->SetSelLength(8);  // "ne\rtwo\rth"
    EXPECT_EQ(edit->GetCurrentLine(), 0);
    EXPECT_EQ(edit->GetCaretPos().Y, 2);
    EXPECT_EQ(edit->GetCaretPos().X, 1);
    edit->SetSelStart(9);
    EXPECT_EQ(edit->GetCurrentLine(), 2);
}

// A selection that begins at a paragraph mark reports the mark's own format,
// the one that SetSelText gives the text that replaces it.
TEST_F(RichText2, SelectionAttributesAtAParagraphMark) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 abc\\par\r\n\\b def\\par\r\n"));
    edit->SetSelStart(3);
    edit->SetSelLength(2);  // the mark of "abc" and "d"
    EXPECT_EQ(edit->SelAttributes.GetStyle(), 0u);
    edit->SetSelText("X");
    edit->SetSelStart(3);
    edit->SetSelLength(1);
    EXPECT_EQ(edit->SelAttributes.GetStyle(), 0u);
    EXPECT_EQ(edit->GetRtfText(), Rtf("\\pard\\f0\\fs20 abcX\\b ef\\b0\\par\r\n"));
}

TEST_F(RichText2, TabWrittenOnAParagraphWithoutTabsRaisesTheCount) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 x\\par\r\n"));
    ASSERT_EQ(edit->Paragraph.GetTabCount(), 0);
    edit->Paragraph.SetTab(3, 40);
    EXPECT_EQ(edit->Paragraph.GetTabCount(), 3);
    edit->Paragraph.SetTab(1, 20);
    EXPECT_EQ(edit->Paragraph.GetTab(1), 20);
    EXPECT_EQ(edit->Paragraph.GetTabCount(), 3);
    EXPECT_NE(edit->GetRtfText().find("\\tx0\\tx300\\tx0\\f0"), std::string::npos) << edit->GetRtfText();
}

TEST_F(RichText2, IndentsInPixelsAreStoredInTwips) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 x\\par\r\n"));
    edit->Paragraph.SetFirstIndent(10);
    EXPECT_NE(edit->GetRtfText().find("\\pard\\li150\\f0"), std::string::npos) << edit->GetRtfText();
    edit->Paragraph.SetLeftIndent(10);
    EXPECT_NE(edit->GetRtfText().find("\\pard\\fi-150\\li300\\f0"), std::string::npos) << edit->GetRtfText();
    EXPECT_EQ(edit->Paragraph.GetFirstIndent(), 10);
    EXPECT_EQ(edit->Paragraph.GetLeftIndent(), 10);
    edit->Paragraph.SetRightIndent(3);
    edit->Paragraph.SetSpaceBefore(2);
    edit->Paragraph.SetSpaceAfter(1);
    EXPECT_NE(edit->GetRtfText().find("\\ri45\\sb30\\sa15"), std::string::npos);
    // Reading divides by 15, dropping the rest.
    edit->SetRtfText(Rtf("\\pard\\li29\\ri44\\f0\\fs20 x\\par\r\n"));
    EXPECT_EQ(edit->Paragraph.GetFirstIndent(), 1);
    EXPECT_EQ(edit->Paragraph.GetRightIndent(), 2);
}

TEST_F(RichText2, NumberingAndLineSpacing) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 x\\par\r\n"));
    edit->Paragraph.SetNumbering(qm::TNumberingStyle::nsBullet);
    EXPECT_EQ(edit->Paragraph.GetNumbering(), qm::TNumberingStyle::nsBullet);
    EXPECT_EQ(edit->Paragraph.GetFirstIndent(), 10);
    EXPECT_NE(edit->GetRtfText().find("\\pard{\\*\\pn\\pnlvlblt"), std::string::npos);
    edit->Paragraph.SetNumbering(qm::TNumberingStyle::nsNone);
    EXPECT_EQ(edit->Paragraph.GetFirstIndent(), 0);
    EXPECT_EQ(edit->Paragraph.GetNumbering(), qm::TNumberingStyle::nsNone);
    edit->Paragraph.SetLineSpacingRule(4);
    edit->Paragraph.SetLineSpacing(20);
    EXPECT_EQ(edit->Paragraph.GetLineSpacing(), 20);
    EXPECT_NE(edit->GetRtfText().find("\\sl-300\\f0"), std::string::npos);
    edit->Paragraph.SetLineSpacingRule(3);  // keeps the spacing
    EXPECT_NE(edit->GetRtfText().find("\\sl300\\f0"), std::string::npos);
    edit->Paragraph.SetAlignment(qm::TAlignment::taCenter);
    EXPECT_EQ(edit->Paragraph.GetAlignment(), qm::TAlignment::taCenter);
    edit->Paragraph.SetAlignment(qm::TAlignment::taRightJustify);
    EXPECT_NE(edit->GetRtfText().find("\\pard\\qr"), std::string::npos);
    edit->setLayoutDirection(Qt::RightToLeft);
    edit->Paragraph.SetAlignment(qm::TAlignment::taRightJustify);
    EXPECT_EQ(edit->Paragraph.GetAlignment(), qm::TAlignment::taLeftJustify);
}

// The spacing shows in the layout: lines grow with the rule and take their
// single height again when single spacing comes back after another rule.
TEST_F(RichText2, LineSpacingSetsTheHeightOfTheLines) {
    edit->SetRtfText(
        Rtf("\\pard\\f0\\fs20 a\\line b\\line c\\par\r\n\\pard\\sl480\\slmult1 d\\line e\\line f\\par\r\n"));
    edit->document()->setTextWidth(300);  // a hidden editor lays out only at a width
    QAbstractTextDocumentLayout* layout = edit->document()->documentLayout();
    auto height = [&](int block) {
        return layout->blockBoundingRect(edit->document()->findBlockByNumber(block)).height();
    };
    const double single = height(0);
    ASSERT_GT(single, 0);
    // Of three lines the first two are spaced; the last keeps its own height.
    auto spaced = [&](double factor) { return single / 3 * (2 * factor + 1); };
    EXPECT_NEAR(height(1), spaced(2.0), 1.0);  // loaded double
    struct Row {
        int rule;
        double factor;
    } rows[] = {{2, 2.0}, {1, 1.5}, {0, 1.0}, {2, 2.0}, {0, 1.0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        edit->Paragraph.SetLineSpacingRule(row.rule);
        EXPECT_NEAR(height(0), spaced(row.factor), 1.0);
    }
    EXPECT_DOUBLE_EQ(height(0), single);
    EXPECT_NE(edit->GetRtfText().find("\\pard\\f0\\fs20 a\\line"), std::string::npos);
}

TEST_F(RichText2, ParagraphAssignCopiesExactlyTheSourceTabs) {
    qm::TRichText2 source;
    source.SetRtfText(Rtf("\\pard\\qc\\fi-150\\li450\\ri30\\tx150\\tx300\\f0\\fs20 s\\par\r\n"));
    edit->SetRtfText(Rtf("\\pard\\tx15\\tx30\\tx45\\tx60\\tx75\\f0\\fs20 t\\par\r\n"));
    edit->Paragraph.Assign(source.Paragraph);
    EXPECT_EQ(edit->Paragraph.GetTabCount(), 2);
    EXPECT_EQ(edit->Paragraph.GetTab(0), 10);
    EXPECT_EQ(edit->Paragraph.GetTab(1), 20);
    // The copy equals the source, first indent included.
    EXPECT_EQ(edit->GetRtfText(), Rtf("\\pard\\qc\\fi-150\\li450\\ri30\\tx150\\tx300\\f0\\fs20 t\\par\r\n"));
}

TEST_F(RichText2, SelectionAttributes) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 abc def\\par\r\n"));
    EXPECT_EQ(edit->SelAttributes.GetColor(), qm::clWindowText);
    EXPECT_EQ(edit->SelAttributes.GetSize(), 10);
    EXPECT_EQ(edit->SelAttributes.GetName(), "Arial");
    edit->SetSelStart(4);
    edit->SetSelLength(3);
    edit->SelAttributes.SetStyle(qm::fsBold | qm::fsUnderline);
    edit->SelAttributes.SetColor(0x0000FF);  // red as the platform stores it
    edit->SelAttributes.SetSize(14);
    edit->SelAttributes.SetBackColor(0xFF0000);
    EXPECT_EQ(edit->SelAttributes.GetStyle(), qm::fsBold | qm::fsUnderline);
    EXPECT_EQ(edit->SelAttributes.GetColor(), 0x0000FFu);
    EXPECT_EQ(edit->GetRtfText(),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
              "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
              "\\viewkind4\\uc1\\pard\\f0\\fs20 abc \\fs28\\cf1\\highlight2\\b\\ul "
              "def\\fs20\\cf0\\highlight0\\b0\\ulnone\\par\r\n}");
    // A double underline stays double when the style keeps underline on.
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20\\uldb link\\ulnone\\par\r\n"));
    edit->SetSelStart(0);
    edit->SetSelLength(4);
    edit->SelAttributes.SetStyle(qm::fsUnderline | qm::fsItalic);
    EXPECT_NE(edit->GetRtfText().find("\\i\\uldb link"), std::string::npos) << edit->GetRtfText();
    edit->SelAttributes.SetColor(qm::clWindowText);
    EXPECT_EQ(edit->SelAttributes.GetColor(), qm::clWindowText);
}

TEST_F(RichText2, AttributesAssignBetweenControls) {
    qm::TRichText2 other;
    other.SetRtfText(Rtf("\\pard\\f0\\fs20 x\\par\r\n"));
    other.SetSelStart(0);
    other.SetSelLength(1);
    other.SelAttributes.SetName("Courier New");
    other.SelAttributes.SetStyle(qm::fsItalic);
    other.SelAttributes.SetPitch(qm::TFontPitch::fpFixed);
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 y\\par\r\n"));
    edit->SetSelStart(0);
    edit->SetSelLength(1);
    edit->SelAttributes.Assign(other.SelAttributes);
    qm::TFontSpec spec;
    edit->SelAttributes.AssignTo(spec);
    EXPECT_EQ(spec.Name, "Courier New");
    EXPECT_EQ(spec.Style, unsigned(qm::fsItalic));
    EXPECT_EQ(spec.Size, 10);
    EXPECT_EQ(spec.Pitch, qm::TFontPitch::fpFixed);
}

TEST_F(RichText2, DefaultAttributesFormatPlainText) {
    edit->DefAttributes.SetName("Courier New");
    edit->DefAttributes.SetSize(9);
    edit->SetPlainText(true);
    edit->SetRtfText("a{b}\r\nc");
    EXPECT_EQ(edit->GetRtfText(), "a{b}\r\nc");
    edit->SetPlainText(false);
    EXPECT_EQ(edit->GetRtfText(),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}\r\n"
              "{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs18 a\\{b\\}\\par\r\nc\\par\r\n}");
}

TEST_F(RichText2, LinesAreParagraphs) {
    edit->SetRtfText("one\r\ntwo\r\nthree");
    qm::TRichEditStrings& lines = edit->Lines;
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(1), "two");
    lines.Put(1, "TWO");
    lines.Insert(0, "zero");
    lines.Insert(4, "four");  // after the last line
    lines.Delete(1);          // "one"
    EXPECT_EQ(lines.GetTextStr(), "zero\r\nTWO\r\nthree\r\nfour\r\n");
    lines.Delete(3);  // the last line with the break before it
    EXPECT_EQ(edit->GetTextRange(0, -1), "zero\rTWO\rthree");
    lines.Insert(9, "nothing");  // neither line 9 nor 8 exists
    EXPECT_EQ(lines.Count(), 3);
    // An empty last line is not counted.
    edit->SetRtfText("a\r\n");
    EXPECT_EQ(lines.Count(), 1);
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
    qm::StringList more = {"x", "y"};
    int selectionChanges = 0;
    edit->OnSelectionChange = [&] { ++selectionChanges; };
    lines.AddStrings(more);
    EXPECT_EQ(selectionChanges, 0);
    EXPECT_EQ(lines.GetTextStr(), "x\r\ny\r\n");
}

TEST_F(RichText2, LinesLoadAndSaveFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string name = dir.filePath("topic.rtf").toStdString();
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 saved \\b text\\b0\\par\r\n"));
    edit->Lines.SaveToFile(name);
    qm::TRichText2 other;
    other.Lines.LoadFromFile(name);
    EXPECT_EQ(other.GetRtfText(), edit->GetRtfText());
    EXPECT_EQ(other.MaxLength(), 2147483632);
    EXPECT_THROW(other.Lines.LoadFromFile(dir.filePath("missing.rtf").toStdString()), qm::EFileAccess);
}

TEST_F(RichText2, Notifications) {
    int changes = 0, selections = 0;
    edit->OnChange = [&] { ++changes; };
    edit->OnSelectionChange = [&] { ++selections; };
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 abc\\par\r\n"));
    int afterLoad = changes;
    EXPECT_GT(afterLoad, 0);
    edit->SetSelStart(2);
    EXPECT_GT(selections, 0);
    int sel = selections;
    edit->SetSelStart(2);  // no change, no notification
    EXPECT_EQ(selections, sel);
    edit->SetSelText("x");
    EXPECT_GT(changes, afterLoad);
    int before = changes;
    edit->Lines.SetTextStr("quiet");
    EXPECT_EQ(changes, before);
    EXPECT_EQ(edit->GetTextRange(0, -1), "quiet");
}

TEST_F(RichText2, ModifiedAndClear) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 abc\\par\r\n"));
    EXPECT_FALSE(edit->GetModified());
    edit->SetSelStart(3);
    edit->SetSelText("d");
    EXPECT_TRUE(edit->GetModified());
    edit->Clear();
    EXPECT_FALSE(edit->GetModified());
    EXPECT_EQ(edit->GetTextLen(), 0);
}

TEST_F(RichText2, UndoLimitIsKeptAndZeroSwitchesUndoOff) {
    edit->SetUndoLimit(0);
    EXPECT_EQ(edit->UndoLimit(), 0);
    edit->SetSelText("abc");
    EXPECT_FALSE(edit->CanUndo());
    edit->SetUndoLimit(50);
    EXPECT_EQ(edit->UndoLimit(), 50);
    edit->SetSelText("d");
    EXPECT_TRUE(edit->CanUndo());
    edit->ClearUndo();
    EXPECT_FALSE(edit->CanUndo());
    // A load keeps the setting.
    edit->SetUndoLimit(0);
    edit->SetRtfText("x");
    edit->SetSelText("y");
    EXPECT_FALSE(edit->CanUndo());
}

TEST_F(RichText2, CopyAndPasteKeepHiddenTextAndDoubleUnderline) {
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 go \\uldb there\\ulnone\\v Topic\\v0  now\\par\r\n"));
    edit->SetSelStart(3);
    edit->SetSelLength(10);
    edit->copy();
    qm::TRichText2 other;
    other.SetRtfText(Rtf("\\pard\\f0\\fs20 [] \\par\r\n"));
    other.SetSelStart(1);
    other.paste();
    EXPECT_NE(other.GetRtfText().find("[\\uldb there\\ulnone\\v Topic\\v0 ]"), std::string::npos) << other.GetRtfText();
}

TEST_F(RichText2, PrintsWithATitle) {
    QTemporaryDir dir;
    QString file = dir.filePath("out.pdf");
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 printed\\par\r\n"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    edit->PageRect = QRect(50, 50, 500, 700);
    EXPECT_TRUE(edit->PrintTo(printer, "My topic"));
    EXPECT_EQ(printer.docName(), "My topic");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");

    printer.setOutputFileName(dir.filePath("no folder/out.pdf"));
    EXPECT_FALSE(edit->PrintTo(printer, "My topic"));
}

// The page objects of a PDF file, not its page tree.
int PdfPages(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
}

// Several texts on one painter make one job: each starts where the caller
// put a new page, a long one goes on over pages of its own.
TEST_F(RichText2, SeveralTextsPrintAsOneJob) {
    QTemporaryDir dir;
    std::string lines;
    for (int i = 0; i < 150; ++i) lines += "line " + std::to_string(i) + "\\par\r\n";
    qm::TRichText2 longText;
    longText.SetRtfText(Rtf("\\pard\\f0\\fs20 " + lines));
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 short\\par\r\n"));
    auto print = [&](const QString& file, std::initializer_list<const qm::TRichText2*> texts) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        QPainter painter(&printer);
        bool first = true;
        for (const qm::TRichText2* t : texts) {
            if (!first) printer.newPage();
            first = false;
            EXPECT_TRUE(t->PrintPages(painter, printer));
        }
        painter.end();
        return PdfPages(file);
    };
    const int longPages = print(dir.filePath("long.pdf"), {&longText});
    EXPECT_GT(longPages, 1);
    EXPECT_EQ(print(dir.filePath("short.pdf"), {edit.get()}), 1);
    EXPECT_EQ(print(dir.filePath("all.pdf"), {edit.get(), &longText, edit.get()}), longPages + 2);
}

TEST_F(RichText2, ResizeRequestReportsTheContentHeight) {
    int lastHeight = -1;
    edit->OnResizeRequest = [&](const QRect& r) { lastHeight = r.height(); };
    edit->SetRtfText("one");
    int one = lastHeight;
    edit->SetRtfText("one\r\ntwo\r\nthree\r\nfour");
    EXPECT_GT(lastHeight, one);
}

// Spell Check All loads module after module with the layout held; whatever
// ends the hold, the text is laid out for the view's width, the caret in view.
TEST_F(RichText2, AHeldLayoutLaysOutNothingUntilReleased) {
    std::string body;
    for (int i = 0; i < 120; ++i) body += "a paragraph long enough to wrap once or twice in a narrow window\\par ";
    body += "last";
    struct Row {
        const char* name;
        std::function<void()> release;
    } rows[] = {
        {"released", [&] { edit->ReleaseLayout(); }},
        {"painted", [&] { edit->grab(); }},
        {"resized, then released",
         [&] {
             edit->resize(300, 250);
             edit->ReleaseLayout();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        edit = std::make_unique<qm::TRichText2>();
        edit->resize(400, 300);
        edit->show();
        int requested = -1;
        edit->OnResizeRequest = [&](const QRect& r) { requested = r.height(); };
        edit->HoldLayout();
        edit->SetRtfText(Rtf("\\pard first\\par"));
        edit->SetRtfText(Rtf("\\pard " + body + "\\par"));
        edit->SetSelStart(edit->GetTextLen() - 2);
        ASSERT_TRUE(edit->LayoutHeld());
        QTextDocument* doc = edit->document();
        int laid = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) laid += b.layout()->lineCount() > 0 ? 1 : 0;
        EXPECT_EQ(laid, 0);
        EXPECT_EQ(requested, -1);

        row.release();
        EXPECT_FALSE(edit->LayoutHeld());
        const QTextBlock caret = doc->findBlock(edit->GetSelStart());
        EXPECT_GT(caret.layout()->lineCount(), 0);
        EXPECT_EQ(doc->pageSize().width(), edit->viewport()->width());
        EXPECT_TRUE(edit->viewport()->rect().contains(edit->cursorRect()));
        EXPECT_GT(requested, 300);
        // Loads lay out again.
        edit->SetRtfText(Rtf("\\pard one\\par two\\par"));
        EXPECT_GT(doc->firstBlock().layout()->lineCount(), 0);
    }
}

// The control works the same when it is never shown: the scratch editor.
TEST_F(RichText2, HiddenControlServesConversions) {
    qm::TRichText2 scratch;
    ASSERT_FALSE(scratch.isVisible());
    scratch.SetRtfText("{\\rtf1 {\\ul pop}{\\v ctx}\\page next}");
    EXPECT_EQ(scratch.GetRtfText(), qm::NormalizeRtf("{\\rtf1 {\\ul pop}{\\v ctx}\\page next}"));
    EXPECT_EQ(scratch.FindText("next", 0, -1, qm::kFindDown), 7);
}

TEST(QtRichDoc, DocumentSurvivesTheQtDocument) {
    qmtest::EnsureQtApp();
    qm::RichDocument doc = qm::ReadRtf(
        "{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset2 Symbol;}}{\\colortbl;\\red1\\green2\\blue3;}"
        "\\pard\\qj\\fi-20\\li40\\sl600\\slmult1\\keepn\\tx1\\tx2 \\f0\\fs19\\cf1\\v\\ul x\\line y\\par"
        "\\pard{\\*\\pn\\pnlvlblt} b1\\par b2\\par\\pard\\sl-15 end}");
    QTextDocument q;
    qm::SetQtDocument(q, doc);
    EXPECT_TRUE(qm::GetQtDocument(q) == doc);
    EXPECT_EQ(q.characterCount() - 1, int(doc.length()));
}

}  // namespace

#include <QTest>

namespace {

TEST_F(RichText2, MaxLengthLimitsTypingButNotTheProgram) {
    edit->SetRtfText("abc");
    edit->DoSetMaxLength(5);
    edit->SetSelStart(3);
    QTest::keyClicks(edit.get(), "defg");
    EXPECT_EQ(edit->GetTextRange(0, -1), "abcde");
    edit->SetSelText("more");  // the program may go beyond it
    EXPECT_EQ(edit->GetTextLen(), 9);
    edit->DoSetMaxLength(0);
    QTest::keyClicks(edit.get(), "x");
    EXPECT_EQ(edit->GetTextLen(), 10);
}

// Double-underlined text gets a second line that single underline has not.
TEST_F(RichText2, DoubleUnderlineIsDrawnWithTwoLines) {
    auto inkRows = [&](const std::string& rtf) {
        edit->SetRtfText(rtf);
        edit->resize(300, 100);
        edit->show();
        QApplication::processEvents();
        QImage img = edit->viewport()->grab().toImage();
        edit->hide();
        int rows = 0;
        for (int y = 0; y < img.height(); ++y) {
            int dark = 0;
            for (int x = 0; x < img.width(); ++x) dark += qGray(img.pixel(x, y)) < 128;
            rows += dark > 30;  // a line under the whole word, not letters
        }
        return rows;
    };
    int single = inkRows(Rtf("\\pard\\f0\\fs24\\ul MMMMMMMM\\ulnone\\par\r\n"));
    int dbl = inkRows(Rtf("\\pard\\f0\\fs24\\uldb MMMMMMMM\\ulnone\\par\r\n"));
    EXPECT_GT(dbl, single);
}

}  // namespace

#include "util/fileio.h"

namespace {

// Real help RTF goes through the control unchanged: what it gives back is
// exactly what the core makes of the file.
TEST_F(RichText2, RealHelpFilesPassThroughTheControl) {
    for (const char* name : {"AFXCORE.RTF", "AFXOLECL.RTF", "AFXOLESV.RTF", "AFXPRINT.RTF"}) {
        std::string src = qm::ReadWholeFile(std::string(QM_FIXTURES_DIR) + "/mfc-help/HLP/" + name);
        edit->SetRtfText(src);
        EXPECT_EQ(edit->GetRtfText(), qm::NormalizeRtf(src)) << name;
    }
}

// The text's margins stay over every load, cost no undo step and no change
// notification, and never reach the RTF.
TEST_F(RichText2, TextMarginsSurviveEveryLoadAndAreNoEdit) {
    const std::string text = Rtf("\\pard\\f0\\fs20 x\\par\r\n");
    edit->SetRtfText(text);
    int changes = 0;
    edit->OnChange = [&] { ++changes; };
    edit->SetTextMargins(QMargins(3, 4, 10, 5));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(edit->CanUndo());
    auto margins = [&] {
        const QTextFrameFormat f = edit->document()->rootFrame()->frameFormat();
        return QMargins(int(f.leftMargin()), int(f.topMargin()), int(f.rightMargin()), int(f.bottomMargin()));
    };
    EXPECT_EQ(margins(), QMargins(3, 4, 10, 5));
    edit->SetRtfText(Rtf("\\pard\\f0\\fs20 other\\par\r\n"));
    EXPECT_EQ(margins(), QMargins(3, 4, 10, 5));
    edit->Clear();
    EXPECT_EQ(margins(), QMargins(3, 4, 10, 5));
    edit->SetRtfText(text);
    EXPECT_EQ(edit->GetRtfText(), text);

    edit->SetLeftViewportMargin(32);
    EXPECT_EQ(edit->LeftViewportMargin(), 32);
    EXPECT_EQ(edit->viewport()->geometry().left(), edit->contentsRect().left() + 32);
}

}  // namespace
