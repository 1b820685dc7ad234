// What an import takes in: files over their limit are refused with a message
// that names it, values holding a NUL enter the model cut at the NUL (so a
// save and a load give the same project), quoted input stays short, and the
// text import writes what the whole-document road wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "import/import.h"
#include "model/project.h"
#include "model/projectfile.h"
#include "richtext/richdoc.h"
#include "test_import_util.h"
#include "util/errors.h"

namespace qm {
namespace {

using qmtest::ImportTempDir;
using qmtest::ScriptedUi;
using qmtest::WriteFileBytes;

const std::string kFailed = "HelpWorkshop project importation failed for the following reason:\r\n\r\n";

// A file of `size` bytes that costs no disk: a hole.
void MakeSparse(const std::string& path, std::uintmax_t size, const std::string& start = {}) {
    WriteFileBytes(path, start);
    std::filesystem::resize_file(path, size);
}

TEST(ImportLimits, FilesOverTheirLimitAreRefusedAndNamed) {
    ImportTempDir dir;
    const std::string rtf = dir.file("big.rtf");
    MakeSparse(rtf, kMaxImportFileBytes + 1, "{\\rtf1 ");
    const std::string txt = dir.file("big.txt");
    MakeSparse(txt, kMaxImportFileBytes + 1, "text");
    const std::string hpj = dir.file("big.hpj");
    MakeSparse(hpj, THpjFile::kMaxFileBytes + 1, "[OPTIONS]\r\n");
    const std::string tooLarge256 = " - The file is too large (the limit is 256 MB).";

    TProject project;
    TTopicNode& open = project.Topics.AddNew();
    open.SetName("Open");
    open.Text = "kept";
    struct Row {
        const char* name;
        TImportFilter filter;
        bool footnotes;
        std::string file;
        std::string message;
    };
    const Row rows[] = {
        {"rtf_with_footnotes", TImportFilter::Rtf, true, rtf, kFailed + "Cannot open " + rtf + tooLarge256},
        {"rtf_whole", TImportFilter::Rtf, false, rtf, kFailed + "Cannot open " + rtf + tooLarge256},
        {"text", TImportFilter::Text, false, txt, "Cannot open " + txt + tooLarge256},
        {"hpj", TImportFilter::Hpj, false, hpj, "Cannot open " + hpj + " - The file is too large (the limit is 4 MB)."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ScriptedUi ui;
        TImportRequest request{r.file, r.filter, r.footnotes};
        const TImportOutcome out = RunImport(project, {open.Id(), TopicKind::Topic}, request, CharFormat(), ui);
        EXPECT_FALSE(out.Ok);
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(ui.errors[0], r.message);
        EXPECT_EQ(project.Topics.Count(), 1);
        EXPECT_EQ(project.Topics.GetNode(0).Text, "kept");
    }
}

// An .hpj whose [FILES] RTF is over the limit: the import stops there.
TEST(ImportLimits, AProjectsRtfFileOverTheLimitStopsTheImport) {
    ImportTempDir dir;
    WriteFileBytes(dir.file("p.hpj"), "[OPTIONS]\r\nTITLE=T\r\n\r\n[FILES]\r\nbig.rtf\r\n");
    MakeSparse(dir.file("big.rtf"), kMaxImportFileBytes + 1, "{\\rtf1 ");
    ScriptedUi ui;
    EXPECT_EQ(ImportHpjProject(dir.file("p.hpj"), ui), nullptr);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0],
              kFailed + "Cannot open " + dir.file("big.rtf") + " - The file is too large (the limit is 256 MB).");
}

// A project whose values hold NULs (the .hpj's options and window, the RTF's
// footnotes as "\'00"): what the import puts in the model is what a save and
// a load give back, byte for byte.
TEST(ImportNul, ValuesAreCutAtTheNulSoASaveAndLoadGiveTheSameProject) {
    ImportTempDir dir;
    const std::string nul(1, '\0');
    WriteFileBytes(dir.file("p.hpj"), "[OPTIONS]\r\nTITLE=Ti" + nul + "tle\r\nCOPYRIGHT=(c)" + nul + "x\r\nBMROOT=img" +
                                          nul + "junk\r\nHLP=a" + nul +
                                          "b.hlp\r\n\r\n"
                                          "[FILES]\r\ntopics.rtf\r\n\r\n"
                                          "[WINDOWS]\r\nmain=\"Cap" +
                                          nul + "tion\",(1,2,3,4),0\r\n");
    WriteFileBytes(dir.file("topics.rtf"),
                   "{\\rtf1\\ansi #{\\footnote Intro\\'00x}${\\footnote Ti\\'00tle}"
                   "K{\\footnote one\\'00two;three}!{\\footnote Mac()\\'00junk}+{\\footnote seq\\'00:1}"
                   "Body\\par\\page #{\\footnote Second}Two\\par}");
    ScriptedUi ui;
    auto project = ImportHpjProject(dir.file("p.hpj"), ui);
    ASSERT_NE(project, nullptr) << (ui.errors.empty() ? "" : ui.errors[0]);

    const TTopicNode& first = project->Topics.GetNode(0);
    EXPECT_EQ(first.GetName(), "Intro");
    EXPECT_EQ(first.GetTitle(), "Ti");
    EXPECT_EQ(first.Keywords, (StringList{"one", "three"}));
    EXPECT_EQ(first.Macros, StringList{"Mac()"});
    EXPECT_EQ(first.GetBrowse(), "seq");
    EXPECT_EQ(project->GetTitle(), "Ti");
    EXPECT_EQ(project->GetCopyright(), "(c)");
    EXPECT_EQ(project->BmRoot, StringList{dir.file("img")});
    EXPECT_EQ(project->Windows.GetWindow(1).GetCaption(), "Cap");

    const std::string saved = project->SaveToBytes();
    TProject loaded;
    loaded.LoadFromBytes(saved, "p.qpf");
    EXPECT_EQ(loaded.SaveToBytes(), saved);
    EXPECT_EQ(loaded.Topics.GetNode(0).Keywords, first.Keywords);
    EXPECT_EQ(loaded.Topics.GetNode(0).Macros, first.Macros);
    EXPECT_EQ(loaded.BmRoot, project->BmRoot);
    // Nothing after a NUL reaches the file.
    EXPECT_EQ(saved.find("tle"), std::string::npos);
    EXPECT_EQ(saved.find("junk"), std::string::npos);
}

// The progress text quotes the file name of a [FILES] line: a huge line
// gives a short text.
TEST(ImportQuotes, AHugeFileNameIsQuotedShort) {
    ImportTempDir dir;
    const std::string name = std::string(300, 'n') + ".rtf";
    WriteFileBytes(dir.file("p.hpj"), "[OPTIONS]\r\nTITLE=T\r\n\r\n[FILES]\r\n" + name + "\r\n");
    ScriptedUi ui;
    EXPECT_EQ(ImportHpjProject(dir.file("p.hpj"), ui), nullptr);  // no such file
    ASSERT_EQ(ui.errors.size(), 1u);
    const std::string shown = QuoteInput(dir.file(name));
    EXPECT_EQ(shown.size(), kMaxQuotedChars + 3);
    EXPECT_EQ(ui.errors[0], kFailed + "None of the files of [FILES] was found; the first is \"" + shown + "\".");
}

TEST(ImportQuotes, TheProgressTextQuotesTheFileNameShort) {
    ImportTempDir dir;
    const std::string name = std::string(240, 'n') + ".rtf";
    WriteFileBytes(dir.file("p.hpj"), "[OPTIONS]\r\nTITLE=T\r\n\r\n[FILES]\r\n" + name + "\r\n");
    WriteFileBytes(dir.file(name), "{\\rtf1 #{\\footnote A}Text\\par}");
    ScriptedUi ui;
    ASSERT_NE(ImportHpjProject(dir.file("p.hpj"), ui), nullptr) << (ui.errors.empty() ? "" : ui.errors[0]);
    ASSERT_EQ(ui.progressTexts.size(), 2u);
    EXPECT_EQ(ui.progressTexts[1], "Importing file " + std::string(200, 'n') + "......");
}

// The text import writes its RTF as it reads: the text must be what the
// whole document gave.
TEST(ImportText, WritesWhatTheWholeDocumentGave) {
    const std::string texts[] = {
        "",
        "one line",
        "two\r\nlines\r\n",
        "cr\ronly\rand lf\n\nblank",
        "caf\xE9 {braces} \\back\\ \ttab",
        "\xEF\xBB\xBFutf-8 caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
    };
    CharFormat format;
    format.font.face = "Courier New";
    format.sizeHalfPoints = 20;
    ImportTempDir dir;
    for (const std::string& t : texts) {
        SCOPED_TRACE(t);
        WriteFileBytes(dir.file("t.txt"), t);
        TProject project;
        TTopicNode& open = project.Topics.AddNew();
        ScriptedUi ui;
        ASSERT_TRUE(ImportTextFile(project, open.Id(), dir.file("t.txt"), format, ui));
        RichDocument doc;
        doc.paragraphs.front().markFormat = format;
        doc.appendText(DecodeTextFile(t), format);
        EXPECT_EQ(open.Text, WriteRtf(doc));
    }
}

}  // namespace
}  // namespace qm
