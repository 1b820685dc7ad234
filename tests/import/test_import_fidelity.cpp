// What real help sources hold and the import must bring in whole: hotspots
// in their many looks, context strings that are not names, repeated
// keywords, embedded pictures and tables.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "import/importobjects.h"
#include "import/importrtf.h"
#include "preprocess/tagtext.h"
#include "richtext/richdoc.h"
#include "test_import_util.h"

namespace qm {
namespace {

using qmtest::ImportTempDir;
using qmtest::ReadFileBytes;
using qmtest::TagsOf;

const std::string kStart = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\plain\\f0\\fs20 ";

struct Imported {
    std::vector<std::unique_ptr<TTopicNode>> records;
    TImportNotes notes;
};

// Imports a whole file (its body given) as the import of a help project does.
void ImportBody(const std::string& body, Imported& out, TPictureSink* pictures = nullptr) {
    StringList pages;
    int count = 0;
    TFootnotesList footnotes;
    ParseRtfFile(kStart + body + "}", pages, count, footnotes, {}, pictures, &out.notes);
    TTopicImportExtras extras;
    extras.Notes = &out.notes;
    CreateImportedTopics(count, pages, footnotes, nullptr, out.records, &extras);
}

// The text of a record as the editor shows it, paragraphs on lines of their own.
std::string Plain(const TTopicNode& node) { return WritePlainText(ReadRtf(node.Text)); }

// Topic "A" holds the hotspot; the others are its targets.
const std::string kTargets = "\\page #{\\footnote B}Target B\\par\\page #{\\footnote menu-file}File menu\\par";

struct HotspotRow {
    const char* name;
    const char* body;               // the text of topic A
    std::vector<std::string> tags;  // the tags of topic A
    const char* plain;              // topic A as the editor shows it (nullptr: not checked)
};

TEST(ImportHotspots, EveryLookOfAHotspotBecomesItsTag) {
    const std::vector<HotspotRow> rows = {
        {"StrikeIsAJump",
         "See {\\strike Go there}{\\v B} now.\\par",
         {"<LINK TOPIC=\"B\">", "</LINK>"},
         "See <LINK TOPIC=\"B\">Go there</LINK> now."},
        {"StrikeWithMacro", "{\\strike Run it}{\\v !Exit()}\\par", {"<MACRO Exit()>", "</MACRO>"}, nullptr},
        {"StrikeIntoAWindow",
         "{\\strike Go}{\\v B>proc4}\\par",
         {"<LINK TOPIC=\"B\" WINDOW=proc4>", "</LINK>"},
         nullptr},
        {"SingleUnderlineWithMacro",
         "{\\ul See also}{\\v !AL(`x',0)}\\par",
         {"<MACRO AL(`x',0)>", "</MACRO>"},
         "<MACRO AL(`x',0)>See also</MACRO>"},
        {"UserMacroAfterUnderline", "{\\ul Run}{\\v %!Exit()}\\par", {"<UMACRO Exit()>", "</UMACRO>"}, nullptr},
        // Word starts the underline before the paragraph mark.
        {"ParagraphMarkInTheRun",
         "Intro{\\uldb \\par Edit a file}{\\v B}\\par",
         {"<LINK TOPIC=\"B\">", "</LINK>"},
         "Intro\r\n<LINK TOPIC=\"B\">Edit a file</LINK>"},
        {"ParagraphMarkInAPopupRun",
         "One{\\ul \\par\\par Term}{\\v B}\\par",
         {"<LINK POPUP=\"B\">", "</LINK>"},
         "One\r\n\r\n<LINK POPUP=\"B\">Term</LINK>"},
        // The hidden text carries its own underline.
        {"UnderlinedHiddenText",
         "{\\uldb Model}{\\v\\ul B}\\par",
         {"<LINK TOPIC=\"B\">", "</LINK>"},
         "<LINK TOPIC=\"B\">Model</LINK>"},
        {"DoubleUnderlinedHiddenText",
         "{\\ul Term}{\\v\\uldb B} and more\\par",
         {"<LINK POPUP=\"B\">", "</LINK>"},
         "<LINK POPUP=\"B\">Term</LINK> and more"},
        // A link to a context string that is no name follows its record.
        {"ContextWithDash", "{\\uldb File}{\\v menu-file}\\par", {"<LINK TOPIC=\"menu_file\">", "</LINK>"}, nullptr},
        {"StruckContextWithDash",
         "{\\strike File}{\\v MENU-FILE}\\par",
         {"<LINK TOPIC=\"menu_file\">", "</LINK>"},
         nullptr},
    };
    for (const HotspotRow& row : rows) {
        SCOPED_TRACE(row.name);
        Imported in;
        ImportBody(std::string("#{\\footnote A}") + row.body + kTargets, in);
        ASSERT_EQ(in.records.size(), 3u);
        EXPECT_EQ(in.records[0]->GetName(), "A");
        EXPECT_EQ(in.records[2]->GetName(), "menu_file");
        EXPECT_EQ(TagsOf(in.records[0]->Text), row.tags);
        // No code of the source is left over as text or hidden text.
        const std::string text = in.records[0]->Text;
        EXPECT_EQ(text.find("\\strike "), std::string::npos) << text;
        EXPECT_EQ(text.find("\\v "), std::string::npos) << text;
        if (row.plain) {
            EXPECT_EQ(Plain(*in.records[0]), row.plain);
        }
    }
}

TEST(ImportRecords, ContextStringsKeepTheirShape) {
    Imported in;
    ImportBody(
        "#{\\footnote Open (File/Save)}{\\uldb a}{\\v open a-b}\\par\\page #{\\footnote open a-b}x\\par"
        "\\page #{\\footnote open_a_b}y\\par",
        in);
    ASSERT_EQ(in.records.size(), 3u);
    EXPECT_EQ(in.records[0]->GetName(), "Open__File_Save_");
    EXPECT_EQ(in.records[1]->GetName(), "open_a_b");
    // The same name once its characters are replaced: made unique.
    EXPECT_EQ(in.records[2]->GetName(), "open_a_b_1");
    EXPECT_EQ(TagsOf(in.records[0]->Text), (std::vector<std::string>{"<LINK TOPIC=\"open_a_b\">", "</LINK>"}));
}

TEST(ImportRecords, AKeywordOfSeveralFootnotesIsKeptOnce) {
    Imported in;
    ImportBody(
        "#{\\footnote A}K{\\footnote files;saving}K{\\footnote Saving;printing}A{\\footnote x;y}A{\\footnote y}a\\par",
        in);
    ASSERT_EQ(in.records.size(), 1u);
    EXPECT_EQ(in.records[0]->Keywords, (StringList{"files", "saving", "printing"}));
    EXPECT_EQ(in.records[0]->AKeywords, (StringList{"x", "y"}));
}

TEST(ImportRecords, TransparentBitmapsAreNoted) {
    Imported in;
    ImportBody("#{\\footnote A}\\{bmct logo.bmp\\} and \\{bmc plain.bmp\\}\\par", in);
    ASSERT_EQ(in.records.size(), 1u);
    EXPECT_EQ(TagsOf(in.records[0]->Text),
              (std::vector<std::string>{"<IMAGEC \"logo.bmp\">", "<IMAGEC \"plain.bmp\">"}));
    ASSERT_EQ(in.notes.Lines().size(), 1u);
    EXPECT_NE(in.notes.Lines()[0].find("\"logo.bmp\""), std::string::npos) << in.notes.Lines()[0];
}

// ---------------------------------------------------------------------------
// Embedded pictures

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(unsigned v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

// A device-independent bitmap of 2 x 1 pixels, 24 bits each.
std::string TinyDib() {
    std::string d =
        Le32(40) + Le32(2) + Le32(1) + Le16(1) + Le16(24) + Le32(0) + Le32(8) + Le32(0) + Le32(0) + Le32(0) + Le32(0);
    d += std::string("\x00\x00\xFF\xFF\xFF\xFF\x00\x00", 8);  // red, white, row padding
    return d;
}

// A metafile that sets its window to 200 x 100 and ends.
std::string TinyMetafile() {
    std::string records = Le32(5) + Le16(0x020C) + Le16(100) + Le16(200);  // SetWindowExt
    records += Le32(3) + Le16(0);                                          // the end
    const unsigned words = (18 + static_cast<unsigned>(records.size())) / 2;
    return Le16(1) + Le16(9) + Le16(0x300) + Le32(words) + Le16(0) + Le32(5) + Le16(0) + records;
}

TEST(ImportPictures, EmbeddedPicturesBecomeImageFilesAndTags) {
    ImportTempDir dir;
    qmtest::WriteFileBytes(dir.file("A1.bmp"), "taken");  // never overwritten
    Imported in;
    TPictureFolder folder(dir.str(), &in.notes);
    ImportBody("#{\\footnote A}Before {\\pict\\dibitmap0\\picw2\\pich1\\picwgoal30\\pichgoal15\r\n" + Hex(TinyDib()) +
                   "} after.\\par{\\*\\shppict{\\pict\\wmetafile8\\picwgoal3000\\pichgoal1500 " + Hex(TinyMetafile()) +
                   "}}{\\nonshppict{\\pict\\wmetafile8 00}}\\par\\page #{\\footnote B}{\\pict\\pngblip 89504e47}\\par",
               in, &folder);
    ASSERT_EQ(in.records.size(), 2u);
    EXPECT_EQ(TagsOf(in.records[0]->Text), (std::vector<std::string>{"<IMAGE \"A2.bmp\">", "<IMAGE \"A3.wmf\">"}));
    EXPECT_EQ(Plain(*in.records[0]).substr(0, 30), "Before <IMAGE \"A2.bmp\"> after.");
    EXPECT_TRUE(folder.Used());
    EXPECT_EQ(ReadFileBytes(dir.file("A1.bmp")), "taken");

    // The bitmap file: its header, then the bitmap as the RTF held it.
    const std::string bmp = ReadFileBytes(dir.file("A2.bmp"));
    ASSERT_EQ(bmp.size(), 14u + 48u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.substr(2, 4), Le32(62));
    EXPECT_EQ(bmp.substr(10, 4), Le32(54));  // the bits follow the header
    EXPECT_EQ(bmp.substr(14), TinyDib());

    // The metafile gets the placeable header that gives it its size.
    const std::string wmf = ReadFileBytes(dir.file("A3.wmf"));
    ASSERT_EQ(wmf.size(), 22u + TinyMetafile().size());
    EXPECT_EQ(wmf.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));
    EXPECT_EQ(wmf.substr(10, 4), Le16(200) + Le16(100));  // right, bottom
    EXPECT_EQ(wmf.substr(22), TinyMetafile());

    // A picture the help compiler cannot show is left out, and said so.
    EXPECT_TRUE(TagsOf(in.records[1]->Text).empty());
    EXPECT_EQ(in.records[1]->Text.find("89504e47"), std::string::npos);
    ASSERT_EQ(in.notes.Lines().size(), 1u);
    EXPECT_NE(in.notes.Lines()[0].find("a PNG picture"), std::string::npos) << in.notes.Lines()[0];
    EXPECT_NE(in.notes.Lines()[0].find("\"B\""), std::string::npos) << in.notes.Lines()[0];

    // A failed import takes its files back.
    folder.Discard();
    EXPECT_FALSE(FileExists(dir.file("A2.bmp")));
    EXPECT_TRUE(FileExists(dir.file("A1.bmp")));
}

// ---------------------------------------------------------------------------
// Tables

struct TableRow {
    const char* name;
    const char* body;   // topic A, then the targets
    const char* plain;  // topic A as the editor shows it
};

TEST(ImportTables, EachCellIsTextBetweenTheTagsOfItsRowsCodes) {
    // Each row: its definition in a paragraph of its own; each cell a
    // paragraph (or more) ending in its end, the last with the row's end;
    // hotspots, pictures and text of the cells converted as anywhere else.
    const std::vector<TableRow> rows = {
        {"RoboHelpRows",
         "Before\\par\r\n\\trowd \\trgaph108\\trleft-108 \\cellx1302\\cellx8622\\pard \\sl240\\intbl {\\f0\\uldb New}"
         "{\\v\\f0 B}{\\f0\\uldb \\cell }{\\f0 Creates a {\\ul term}{\\v B}.}{\\f0 \\cell }\\pard \\intbl {\\f0 \\row }"
         "\\trowd \\trgaph108\\trleft-108 \\cellx1302\\cellx8622\\pard \\sl240\\intbl {\\f0 \\{bmc tool.bmp\\} Tool}"
         "{\\f0 \\cell }{\\f0 Runs {\\uldb it}{\\v !Exit()}.}{\\f0 \\cell }\\pard \\intbl {\\f0 \\row }\\pard "
         "after\\par",
         "Before\r\n"
         "<RTF \"\\\\trowd\\\\trgaph108\\\\trleft-108\\\\cellx1302\\\\cellx8622 \">\r\n"
         "<LINK TOPIC=\"B\">New</LINK><RTF \"\\\\cell \">\r\n"
         "Creates a <LINK POPUP=\"B\">term</LINK>.<RTF \"\\\\cell \\\\row \">\r\n"
         "<RTF \"\\\\trowd\\\\trgaph108\\\\trleft-108\\\\cellx1302\\\\cellx8622 \">\r\n"
         "<IMAGEC \"tool.bmp\"> Tool<RTF \"\\\\cell \">\r\n"
         "Runs <MACRO Exit()>it</MACRO>.<RTF \"\\\\cell \\\\row \">\r\n"
         "after"},
        {"WordRepeatsTheDefinitionBeforeTheRowsEnd",
         "\\trowd\\trgaph108\\clbrdrt\\brdrs\\brdrw10\\brdrcf2 \\cellx1000\\cellx2000\\pard\\plain\\intbl\\f0\\fs20 "
         "{one}{\\cell }{\\uldb two}{\\v B}{\\cell }\\pard\\plain\\intbl {\\trowd\\trgaph108\\clbrdrt\\brdrs\\brdrw10 "
         "\\cellx1000\\cellx2000\\row }\\pard\\plain\\f0\\fs20 after\\par",
         "<RTF \"\\\\trowd\\\\trgaph108\\\\clbrdrt\\\\brdrs\\\\brdrw10\\\\cellx1000\\\\cellx2000 \">\r\n"
         "one<RTF \"\\\\cell \">\r\n"
         "<LINK TOPIC=\"B\">two</LINK><RTF \"\\\\cell \\\\row \">\r\n"
         "after"},
        {"DefinitionOnlyAfterTheCells",
         "Before\\par\\pard\\intbl one\\cell two\\cell\\trowd\\trgaph108\\cellx1000\\cellx2000\\row\\pard after\\par",
         "Before\r\n"
         "<RTF \"\\\\trowd\\\\trgaph108\\\\cellx1000\\\\cellx2000 \">\r\n"
         "one<RTF \"\\\\cell \">\r\n"
         "two<RTF \"\\\\cell \\\\row \">\r\n"
         "after"},
        {"RowWithoutADefinitionTakesTheOneBefore",
         "\\trowd\\trgaph108\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\pard\\intbl\\row "
         "\\pard\\intbl c\\cell d\\cell\\pard\\intbl\\row\\pard after\\par",
         "<RTF \"\\\\trowd\\\\trgaph108\\\\cellx1000\\\\cellx2000 \">\r\n"
         "a<RTF \"\\\\cell \">\r\n"
         "b<RTF \"\\\\cell \\\\row \">\r\n"
         "<RTF \"\\\\trowd\\\\trgaph108\\\\cellx1000\\\\cellx2000 \">\r\n"
         "c<RTF \"\\\\cell \">\r\n"
         "d<RTF \"\\\\cell \\\\row \">\r\n"
         "after"},
        {"CellOfTwoParagraphsAtTheTopicsEnd",
         "Before\\par\\trowd\\trgaph108\\cellx1000\\cellx2000\\pard\\intbl a\\cell first\\par second\\cell\\row",
         "Before\r\n"
         "<RTF \"\\\\trowd\\\\trgaph108\\\\cellx1000\\\\cellx2000 \">\r\n"
         "a<RTF \"\\\\cell \">\r\n"
         "first\r\n"
         "second<RTF \"\\\\cell \\\\row \">"},
    };
    for (const TableRow& row : rows) {
        SCOPED_TRACE(row.name);
        Imported in;
        ImportBody(std::string("#{\\footnote A}") + row.body + kTargets, in);
        ASSERT_EQ(in.records.size(), 3u);
        EXPECT_EQ(Plain(*in.records[0]), row.plain);
        EXPECT_TRUE(in.notes.Empty()) << in.notes.Lines()[0];
    }
}

TEST(ImportTables, ATableWithinATableStaysWholeAndWhatItHoldsIsNoted) {
    Imported in;
    ImportBody(
        "#{\\footnote A}\\trowd\\cellx2000\\cellx4000\\pard\\intbl {\\uldb Outer}{\\v B}\\cell "
        "\\pard\\intbl\\itap2 {\\ul inner}{\\v B}\\nestcell \\{bmc art.bmp\\}\\nestcell "
        "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\cell\\row "
        "\\pard after\\par" +
            kTargets,
        in);
    ASSERT_EQ(in.records.size(), 3u);
    const std::vector<std::string> tags = TagsOf(in.records[0]->Text);
    ASSERT_EQ(tags.size(), 1u) << in.records[0]->Text;
    EXPECT_NE(tags[0].find("\\\\nestcell"), std::string::npos) << tags[0];
    EXPECT_NE(tags[0].find("{\\\\v B}"), std::string::npos) << tags[0];
    EXPECT_EQ(Plain(*in.records[0]).substr(Plain(*in.records[0]).size() - 5), "after");
    const std::string where = "The topic \"A\" keeps a table within a table as raw RTF: its ";
    EXPECT_EQ(in.notes.Lines(),
              (StringList{where + "jump \"Outer\" to \"B\" is no tag.", where + "popup \"inner\" to \"B\" is no tag.",
                          where + "picture \"art.bmp\" is no tag."}));
}

TEST(ImportTables, HotspotsWhoseTextIsLeftOutAreNoted) {
    struct Row {
        const char* name;
        const char* group;
        StringList notes;
    };
    const std::string of = " of the topic \"A\" was left out: it stands in ";
    const std::vector<Row> rows = {
        {"TextBoxOfAShape",
         "{\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn fFilled}{\\sv 0}}{\\shptxt \\pard {\\uldb Go}{\\v B} and "
         "\\{bml pic.bmp\\}\\par}}}",
         {"The jump \"Go\" to \"B\"" + of + "a shape, whose text the import does not keep.",
          "The picture \"pic.bmp\"" + of + "a shape, whose text the import does not keep."}},
        {"DrawingObject",
         "{\\*\\do\\dobxcolumn{\\dptxbxtext \\pard {\\ul term}{\\v B}\\par}}",
         {"The popup \"term\" to \"B\"" + of + "a drawing object, whose text the import does not keep."}},
        {"FieldInstruction",
         "{\\field{\\*\\fldinst {\\strike Run}{\\v !Exit()}}{\\fldrslt shown}}",
         {"The macro hotspot \"Run\" running \"Exit()\"" + of +
          "a field's instruction, whose text the import does not keep."}},
        // A field's result is text: its hotspot becomes a tag.
        {"FieldResult", "{\\field{\\*\\fldinst SYMBOL}{\\fldrslt {\\uldb Go}{\\v B}}}", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Imported in;
        ImportBody(std::string("#{\\footnote A}Text ") + row.group + " more\\par" + kTargets, in);
        ASSERT_EQ(in.records.size(), 3u);
        EXPECT_EQ(in.notes.Lines(), row.notes);
    }
}

TEST(ImportTables, RawRtfTagEscapesWhatATagCannotHold) {
    EXPECT_EQ(RawRtfTag("{\\b \"a\" <b>\r\n}"), "<RTF \"{\\\\b \\\\'22a\\\\'22 &lt;b&rt;}\">");
    // A control word cut off by a line break keeps its delimiter.
    EXPECT_EQ(RawRtfTag("\\cell\r\ntext"), "<RTF \"\\\\cell text\">");
}

}  // namespace
}  // namespace qm
