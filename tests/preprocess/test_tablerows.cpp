// A table as the editor holds it (paragraphs between the tags of its row and
// cell codes) built into the help compiler's table, also after the edits an
// author makes in its cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_fixture.h"
#include "preprocess/tablerows.h"
#include "richtext/richdoc.h"

namespace qm {
namespace {

// The tags of a two-column row as the import writes them.
const std::string kRow = "<RTF \"\\\\trowd\\\\trgaph108\\\\cellx1000\\\\cellx2000 \">";
const std::string kCell = "<RTF \"\\\\cell \">";
const std::string kLast = "<RTF \"\\\\cell \\\\row \">";

// The editor's RTF of the lines, one paragraph each; a line that starts with
// "|" is centred.
std::string EditorText(const std::vector<std::string>& lines) {
    RichDocument doc;
    doc.paragraphs.clear();
    CharFormat format;
    format.font.face = "Arial";
    for (const std::string& line : lines) {
        Paragraph p;
        std::string text = line;
        if (!text.empty() && text[0] == '|') {
            p.format.alignment = ParaAlignment::Center;
            text.erase(0, 1);
        }
        p.append(std::u16string(text.begin(), text.end()), format);
        p.markFormat = format;
        doc.paragraphs.push_back(std::move(p));
    }
    return WriteRtf(doc);
}

// The visible characters of a table cell, "\r" between its paragraphs.
std::string CellText(const RtfTableCell& cell) {
    std::string out;
    for (std::size_t i = 0; i < cell.paragraphs.size(); ++i) {
        if (i > 0) out += '\r';
        for (const TextRun& run : cell.paragraphs[i].runs())
            if (!run.format.hidden)
                for (char16_t c : run.text) out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

using Tables = std::vector<std::vector<std::vector<std::string>>>;  // tables, rows, cells

Tables TablesOf(const std::string& rtf) {
    Tables out;
    for (const RtfTable& table : ReadRtfTables(rtf).tables) {
        out.emplace_back();
        for (const RtfTableRow& row : table.rows) {
            EXPECT_EQ(row.cellRight, (std::vector<int>{1000, 2000}));
            out.back().emplace_back();
            for (const RtfTableCell& cell : row.cells) out.back().back().push_back(CellText(cell));
        }
    }
    return out;
}

// The paragraphs outside the tables.
std::vector<std::string> Outside(const std::string& rtf) {
    std::vector<std::string> out;
    for (const Paragraph& p : ReadRtfTables(rtf).paragraphs)
        out.push_back(std::string(p.text().begin(), p.text().end()));
    return out;
}

class TableRowsTest : public ::testing::Test, public qmtest::BuildFixture {
protected:
    // The module's file as the build writes it, without the footnotes that
    // it puts between the colour table and "\viewkind4" (the reader would
    // read their text as the first paragraph's).
    std::string Build(const std::vector<std::string>& lines) {
        intro->Text = EditorText(lines);
        TAnchorTable anchors;
        TUnresolvedAnchorTable unresolved;
        std::string built = PreprocessTopic(Context(*intro), anchors, unresolved);
        const std::size_t from = built.find("\r\n", built.find("{\\colortbl")) + 2;
        const std::size_t to = built.find("\\viewkind4");
        EXPECT_NE(built.substr(from, to - from).find("#{\\footnote Intro}"), std::string::npos) << built;
        return built.erase(from, to - from);
    }
};

struct EditCase {
    const char* name;
    std::vector<std::string> lines;  // the editor's paragraphs
    Tables tables;                   // what the build's output holds
    std::vector<std::string> outside;
};

TEST_F(TableRowsTest, TheEditorsParagraphsBuildBackIntoTheTable) {
    const std::vector<EditCase> cases = {
        {"AsImported",
         {"Before", kRow, "a" + kCell, "b" + kLast, kRow, "c" + kCell, "d" + kLast, "After"},
         {{{"a", "b"}, {"c", "d"}}},
         {"Before", "After"}},
        {"TableEndsTheTopic", {"Before", kRow, "a" + kCell, "b" + kLast}, {{{"a", "b"}}}, {"Before"}},
        {"EnterInACell", {kRow, "a" + kCell, "b one", "b two" + kLast, "After"}, {{{"a", "b one\rb two"}}}, {"After"}},
        {"EnterBeforeACellsEnd", {kRow, "a", kCell, "b" + kLast, "After"}, {{{"a\r", "b"}}}, {"After"}},
        {"EnterAfterACellsEnd", {kRow, "a" + kCell, "", "b" + kLast, "After"}, {{{"a", "\rb"}}}, {"After"}},
        {"EnterAfterARowsEnd",
         {kRow, "a" + kCell, "b" + kLast, "", kRow, "c" + kCell, "d" + kLast},
         {{{"a", "b"}}, {{"c", "d"}}},
         {""}},
        {"TextTypedAfterARowsEnd",
         {kRow, "a" + kCell, "b" + kLast + "tail", "After"},
         {{{"a", "b"}}},
         {"tail", "After"}},
        {"TextTypedAfterARowsDefinition", {kRow + "x", "a" + kCell, "b" + kLast}, {{{"x\ra", "b"}}}, {}},
        {"CentredCellsAndTheParagraphAfter", {kRow, "|a" + kCell, "|b" + kLast, "|After"}, {{{"a", "b"}}}, {"After"}},
        {"RowsEndDeleted", {kRow, "a" + kCell, "b" + kCell, "After"}, {{{"a", "b"}}}, {"After"}},
        {"RowsEndDeletedBeforeAllItsCells",
         {kRow, "a" + kCell, kRow, "c" + kCell, "d" + kLast, "After"},
         {{{"a"}, {"c", "d"}}},
         {"After"}},
        {"WholeTableInOneTag",
         {"Before", "<RTF \"{\\\\trowd\\\\cellx1000\\\\cellx2000\\\\pard\\\\intbl a\\\\cell b\\\\cell\\\\row}\">",
          "After"},
         {{{"a", "b"}}},
         {"Before", "After"}},
        {"LinkInACell",
         {kRow, "<LINK TOPIC=\"Details\">go</LINK>" + kCell, "<LINK POPUP=\"Def\">term</LINK>" + kLast},
         {{{"go", "term"}}},
         {}},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string built = Build(c.lines);
        EXPECT_EQ(TablesOf(built), c.tables) << built;
        EXPECT_EQ(Outside(built), c.outside) << built;
    }
}

TEST_F(TableRowsTest, CellsKeepTheirFormatAndHotspots) {
    const std::string built = Build(
        {kRow, "|<LINK TOPIC=\"Details\">go</LINK>" + kCell, "<LINK POPUP=\"Def\">term</LINK>" + kLast, "|After"});
    const RtfTablesAndText read = ReadRtfTables(built);
    const std::vector<RtfTable>& tables = read.tables;
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0].rows.size(), 1u);
    ASSERT_EQ(tables[0].rows[0].cells.size(), 2u);
    EXPECT_EQ(tables[0].rows[0].cells[0].paragraphs.at(0).format.alignment, ParaAlignment::Center);
    EXPECT_EQ(tables[0].rows[0].cells[1].paragraphs.at(0).format.alignment, ParaAlignment::Left);
    // The hotspots as the help compiler reads them.
    EXPECT_NE(built.find("\\uldb go\\ulnone\\v Details\\v0 \\cell "), std::string::npos) << built;
    EXPECT_NE(built.find("\\ul term\\ulnone\\v Def\\v0 \\cell \\row "), std::string::npos) << built;
    ASSERT_EQ(read.paragraphs.size(), 1u);
    EXPECT_EQ(read.paragraphs[0].text(), u"After");
    EXPECT_EQ(read.paragraphs[0].format.alignment, ParaAlignment::Center);
    EXPECT_TRUE(log.Entries().empty());
}

TEST(AssembleTableRows, TextsWithoutATablesTagsStayAsTheyAre) {
    for (const std::string& text :
         {EditorText({"Plain text", "the cells of a table"}), EditorText({"<RTF \"\\\\page \">", "\\\\row in text"}),
          EditorText({"<LINK TOPIC=\"\\\\cell\">x</LINK>"})}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(AssembleTableRows(text).has_value());
    }
}

}  // namespace
}  // namespace qm
