// The facts of the dialect that the build and the import rely on, checked on
// real help RTF written by other tools and on a document that uses every
// property.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "richtext/richdoc.h"
#include "util/fileio.h"

namespace {

std::string Fixture(const char* name) {
    return qm::ReadWholeFile(std::string(QM_FIXTURES_DIR) + "/mfc-help/HLP/" + name);
}

std::size_t Count(const std::string& s, const std::string& sub) {
    std::size_t n = 0;
    for (std::size_t p = s.find(sub); p != std::string::npos; p = s.find(sub, p + 1)) ++n;
    return n;
}

// Every control word of the text, in order, with what follows it.
struct Word {
    std::string name;
    std::size_t end;  // index after the word (and its parameter)
};
std::vector<Word> Words(const std::string& s) {
    std::vector<Word> words;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') continue;
        std::size_t j = i + 1;
        if (j < s.size() && !std::isalpha(static_cast<unsigned char>(s[j]))) {
            ++i;  // control symbol
            continue;
        }
        while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
        std::string name = s.substr(i + 1, j - i - 1);
        if (j < s.size() && s[j] == '-') ++j;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
        words.push_back({name, j});
        i = j - 1;
    }
    return words;
}

void ExpectDialect(const std::string& out) {
    SCOPED_TRACE(out.substr(0, 200));
    ASSERT_EQ(out.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u);
    EXPECT_EQ(Count(out, "\\viewkind4\\uc1"), 1u);
    EXPECT_EQ(Count(out, "\\viewkind4"), 1u);
    EXPECT_EQ(out.back(), '}');
    std::size_t body = out.find("\\viewkind4\\uc1\\pard");
    ASSERT_NE(body, std::string::npos);
    // Header: font table, CR LF, colour table, CR LF.
    std::size_t colors = out.find("}\r\n{\\colortbl ");
    ASSERT_NE(colors, std::string::npos);
    EXPECT_EQ(out.find("\r\n"), colors + 1);
    EXPECT_EQ(out.find("\r\n", colors + 3), body - 2);
    // CR LF in the body only after \par.
    for (std::size_t p = out.find("\r\n", body); p != std::string::npos; p = out.find("\r\n", p + 2))
        EXPECT_EQ(out.compare(p - 4, 4, "\\par"), 0) << "line end at " << p;
    // No groups in the body but the numbering destination.
    std::string rest = out.substr(body);
    std::size_t groups = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '\\') {
            ++i;
            continue;
        }
        if (rest[i] == '{') ++groups;
    }
    EXPECT_EQ(groups, Count(rest, "{\\*\\pn\\pnlvlblt") * 2);
    // Word rules.
    bool first = true;
    for (const Word& w : Words(rest)) {
        if (w.name.rfind("ul", 0) == 0) {
            EXPECT_TRUE(w.name == "ul" || w.name == "uldb" || w.name == "ulnone") << w.name;
        }
        if (w.name.rfind("pard", 0) == 0) {
            EXPECT_EQ(w.name, "pard");
        }
        if (w.name.rfind("page", 0) == 0) {
            EXPECT_EQ(w.name, "page");
        }
        if (w.name == "u") continue;  // \uN? carries its own fallback
        ASSERT_LT(w.end, rest.size());
        char next = rest[w.end];
        if (next == ' ') {
            // One blank and then text (or the first paragraph's blank).
            ASSERT_LT(w.end + 1, rest.size());
            char after = rest[w.end + 1];
            if (after == '\\') {
                std::size_t start = w.end + 1;
                bool symbol = start + 1 < rest.size() && !std::isalpha(static_cast<unsigned char>(rest[start + 1]));
                EXPECT_TRUE(symbol || first) << "blank between control words after \\" << w.name;
            }
        } else {
            EXPECT_TRUE(next == '\\' || next == '\r' || next == '{' || next == '}') << "\\" << w.name;
        }
        if (next == ' ' || next == '\r') first = false;
    }
    // \ulnone\v is never split, and hidden text ends before the underline does.
    EXPECT_EQ(Count(out, "\\ulnone\\v0"), 0u);
}

TEST(DialectFacts, RealHelpFilesLoadAndKeepTheirContent) {
    struct {
        const char* file;
        std::size_t pages;
        const char* text;
        const char* rtf;
    } cases[] = {
        {"AFXCORE.RTF", 63, "# HID_FILE_NEW", "\\uldb "},
        {"AFXOLECL.RTF", 9, "# HID_EDIT_PASTE_LINK", "\\ulnone\\v "},
        {"AFXOLESV.RTF", 3, "# HID_FILE_UPDATE", "\\page"},
        {"AFXPRINT.RTF", 8, "# HID_FILE_PRINT",
         "\\uldb Print dialog box\\f1\\ulnone\\v AFX_HIDD_PRINT\\f0\\v0 , where"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string src = Fixture(c.file);
        qm::RichDocument doc;
        ASSERT_NO_THROW(doc = qm::ReadRtf(src));
        std::u16string text = doc.plainText();
        std::size_t pages = 0;
        for (char16_t ch : text) pages += ch == qm::kPageBreakChar;
        EXPECT_EQ(pages, c.pages);
        // Footnote marks and texts stay in the paragraph text.
        std::string plain = qm::WritePlainText(doc);
        EXPECT_NE(plain.find(c.text), std::string::npos);
        EXPECT_EQ(Count(plain, "K printing and print preview") > 0, std::string(c.file) == "AFXPRINT.RTF");
        std::string out = qm::WriteRtf(doc);
        EXPECT_NE(out.find(c.rtf), std::string::npos);
        EXPECT_EQ(Count(out, "\\page"), c.pages);
        ExpectDialect(out);
        // Both round trips.
        qm::RichDocument again = qm::ReadRtf(out);
        EXPECT_TRUE(again == doc);
        EXPECT_EQ(qm::WriteRtf(again), out);
    }
}

TEST(DialectFacts, BitmapAndButtonCodesSurviveForTheImport) {
    std::string out = qm::WriteRtf(qm::ReadRtf(Fixture("AFXPRINT.RTF")));
    EXPECT_NE(out.find("\\{bmc hlp\\\\fileprnt.bmp\\}"), std::string::npos);
}

TEST(DialectFacts, EveryPropertyStillWritesTheDialect) {
    qm::RichDocument doc;
    doc.paragraphs.clear();
    for (int i = 0; i < 40; ++i) {
        qm::Paragraph p;
        p.format.alignment = static_cast<qm::ParaAlignment>(i % 4);
        p.format.numbering = i % 5 == 0 ? qm::ParaNumbering::Bullet : qm::ParaNumbering::None;
        p.format.firstIndent = (i % 3) * -100;
        p.format.leftIndent = (i % 7) * 100;
        p.format.keepWithNext = i % 2;
        p.format.lineSpacingRule = static_cast<qm::LineSpacingRule>(i % 6);
        p.format.lineSpacing = i % 6 >= 3 ? 300 : 0;
        if (i % 4 == 1) p.format.tabs = {100, 200};
        for (int r = 0; r < 6; ++r) {
            qm::CharFormat f;
            f.font.face = r % 2 ? "Arial" : "Courier";
            f.bold = (i + r) % 2;
            f.italic = (i + r) % 3 == 0;
            f.underline = static_cast<qm::Underline>((i + r) % 3);
            f.hidden = (i * r) % 4 == 1;
            f.strikeOut = r == 5;
            if (r == 3) f.color = qm::RtfColor::Rgb(1, 2, 3);
            std::u16string t = r == 0 && i % 3 == 0 ? u"\t\u0416 x" : u" <A|B> {c}\\";
            p.append(t, f);
        }
        p.markFormat = p.runs().back().format;
        doc.paragraphs.push_back(p);
    }
    std::string out = qm::WriteRtf(doc);
    ExpectDialect(out);
    qm::RichDocument back = qm::ReadRtf(out);
    back.normalize();
    qm::RichDocument expected = doc;
    expected.normalize();
    EXPECT_TRUE(back == expected);
    EXPECT_EQ(qm::WriteRtf(back), out);
}

}  // namespace
