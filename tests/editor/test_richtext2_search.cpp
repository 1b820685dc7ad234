// The editor's search and replace against the Qt-free core: the same word
// test, the same hits, and Replace All giving the document the old loop of
// single replaces in the editor gives.
#include <gtest/gtest.h>

#include <QChar>
#include <QImage>
#include <QPixmap>
#include <QTextCursor>
#include <string>
#include <vector>

#include "editor/richtext2.h"
#include "search/modulesearch.h"
#include "richtext/richdoc.h"
#include "support/qtapp.h"
#include "util/cp1252.h"

namespace {

// The word test the editor had when it asked Qt: every Windows-1252
// character keeps its answer.
TEST(EditorSearch, WordCharactersKeepTheirAnswersForWindows1252) {
    for (int b = 0; b < 256; ++b) {
        const char16_t c = static_cast<char16_t>(qm::Cp1252ToCodePoint(static_cast<unsigned char>(b)));
        const bool before = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                            c == u'_' || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && QChar(c).isLetterOrNumber());
        EXPECT_EQ(qm::IsSearchWordChar(c), before) << "byte " << b;
    }
}

class EditorReplace : public ::testing::Test {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        edit = std::make_unique<qm::TRichText2>();
    }

    // The replace loop of a module text run in an editor: select each hit,
    // replace it, search on after the inserted text.
    int LoopInEditor(std::string& buffer, const std::u16string& find, int flags, const std::u16string& replace) {
        edit->SetRtfText(buffer);
        int n = 0;
        int pos = edit->FindText(std::u16string_view(find), 0, edit->GetTextLen(), flags);
        while (pos != -1) {
            ++n;
            edit->SetSelStart(pos);
            edit->SetSelLength(static_cast<int>(find.size()));
            edit->SetSelText(std::u16string_view(replace));
            pos = edit->FindText(std::u16string_view(find), pos + static_cast<int>(replace.size()), edit->GetTextLen(),
                                 flags);
        }
        buffer = edit->GetRtfText();
        return n;
    }

    std::unique_ptr<qm::TRichText2> edit;
};

std::string Body(const std::string& text) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 " + text +
           "\\par\r\n}";
}

TEST_F(EditorReplace, ReplaceAllInRtfGivesWhatTheEditorLoopGives) {
    struct Row {
        const char* name;
        std::string rtf;
        std::u16string find, replace;
        int flags;
        int count;
    } rows[] = {
        {"GrowingReplacement", Body("aaa"), u"a", u"aa", qm::kSearchDown, 3},
        {"WholeWordsSeeTheInsertedText", Body("--"), u"-", u"x", qm::kSearchDown | qm::kSearchWholeWord, 1},
        {"AcrossABoldRun", Body("x{\\b ab}{\\i cd}e ab{\\b c}"), u"bc", u"ZZ", qm::kSearchDown, 2},
        {"ReplacementHoldsTheSearchText", Body("ab ab"), u"ab", u"xaby", qm::kSearchDown, 2},
        {"CaseIgnored", Body("Word WORD word"), u"word", u"term", qm::kSearchDown, 3},
        {"MatchCase", Body("Word WORD word"), u"word", u"term", qm::kSearchDown | qm::kSearchMatchCase, 1},
        {"DeleteByNothing", Body("a, b, c"), u", ", u"", qm::kSearchDown, 2},
        {"ParagraphsAndLineBreaks", Body("one two\\line two\\par two one"), u"two", u"2", qm::kSearchDown, 3},
        {"HiddenTextCounts", Body("{\\v hid}den hid"), u"hid", u"X", qm::kSearchDown, 2},
        {"NonCodePageCharacter", Body("a\\u945?b a"), u"\u03B1b", u"\u20AC", qm::kSearchDown, 1},
        {"NoHit", Body("nothing here"), u"missing", u"x", qm::kSearchDown, 0},
        {"EmptySearchText", Body("some text"), u"", u"x", qm::kSearchDown, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string looped = r.rtf;
        const int loopCount = LoopInEditor(looped, r.find, r.flags, r.replace);
        std::string core = r.rtf;
        const int coreCount = qm::ReplaceAllInRtf(core, r.find, r.flags, r.replace);
        EXPECT_EQ(loopCount, r.count);
        EXPECT_EQ(coreCount, r.count);
        // The same document; a text without a hit keeps its very bytes in
        // the core, where the loop writes it anew.
        EXPECT_EQ(qm::NormalizeRtf(core), looped);
        if (r.count == 0) {
            EXPECT_EQ(core, r.rtf);
        } else {
            EXPECT_EQ(core, looped);
        }
    }
}

// The open module is changed in the editor: the core's edits applied there
// give the document the core gives, and one Undo restores the text.
TEST_F(EditorReplace, ApplyEditsInTheEditorIsTheCoresEditAndOneUndo) {
    struct Row {
        const char* name;
        std::string rtf;
        std::vector<qm::TTextEdit> edits;
    } rows[] = {
        {"SeveralInOneParagraph", Body("x{\\b ab}{\\i cd}e"), {{0, 1, u"y"}, {2, 2, u"QQ"}, {5, 1, u""}}},
        {"AcrossAParagraphBreak", "{\\rtf1 \\qc one\\par \\pard\\ql{\\b two}\\par three}", {{2, 3, u"-"}}},
        {"AtAParagraphMark", "{\\rtf1 one{\\b\\par} two}", {{3, 1, u"+"}}},
        {"InsertingParagraphBreaks", "{\\rtf1 \\qc one\\par \\pard two}", {{1, 1, u"\r\n"}, {5, 0, u"x\ny"}}},
        {"BreakInsertedInBold", "{\\rtf1 {\\b one two}\\par three}", {{3, 1, u"\r"}}},
        {"JoiningBoldMarkIntoPlain", "{\\rtf1 {\\b one\\par} two\\par {\\b three}}", {{2, 3, u""}, {8, 1, u""}}},
        {"ToTheEnd", "{\\rtf1 one\\par two}", {{2, 5, u"!"}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        qm::RichDocument doc = qm::ReadRtf(r.rtf);
        qm::ApplyEdits(doc, r.edits);
        edit->SetRtfText(r.rtf);
        const std::string before = edit->GetRtfText();
        edit->ApplyEdits(r.edits);
        EXPECT_EQ(edit->GetRtfText(), qm::WriteRtf(doc));
        edit->Undo();
        EXPECT_EQ(edit->GetRtfText(), before);
        EXPECT_FALSE(edit->CanUndo());
    }
}

TEST_F(EditorReplace, SearchTextReachesTheEditorAsTyped) {
    edit->SetRtfText(Body("price \\'80 5 and a\\u945?"));
    EXPECT_EQ(edit->FindText(std::u16string_view(u"\u20AC 5"), 0, -1, qm::kFindDown), 6);
    EXPECT_EQ(edit->FindText(std::u16string_view(u"a\u03B1"), 0, -1, qm::kFindDown), 14);
    // The Windows-1252 form stays for callers that hold model text.
    EXPECT_EQ(edit->FindText(std::string_view("\x80 5"), 0, -1, qm::kFindDown), 6);
}

// An editor without the focus draws no selection: a search mark on the
// selected hit shows through it.
TEST_F(EditorReplace, MarkShowsThroughTheHiddenSelection) {
    edit->resize(300, 80);
    edit->SetRtfText(Body("some word here"));
    edit->SetSelStart(5);
    edit->SetSelLength(4);
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(edit->document());
    mark.cursor.setPosition(5);
    mark.cursor.setPosition(9, QTextCursor::KeepAnchor);
    mark.format.setBackground(QColor(255, 255, 0));
    edit->setExtraSelections({mark});
    ASSERT_FALSE(edit->hasFocus());
    const QImage shot = edit->viewport()->grab().toImage();
    int marked = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == QColor(255, 255, 0)) ++marked;
    EXPECT_GT(marked, 20);
}

}  // namespace
