// The import judged on real help sources and on the build's own output: an
// import followed by a build gives the help compiler what the sources gave it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "import/import.h"
#include "preprocess/checksettings.h"
#include "preprocess/outputlog.h"
#include "preprocess/projectwriter.h"
#include "preprocess/topicwriter.h"
#include "richtext/richdoc.h"
#include "test_import_util.h"
#include "util/textfile.h"

namespace qm {
namespace {

using qmtest::ImportTempDir;
using qmtest::ReadFileBytes;
using qmtest::ScriptedUi;
using qmtest::TagsOf;

const char* const kPegasus = QM_FIXTURES_DIR "/mfc-help/Pegasus.hpj";

std::unique_ptr<TProject> Import(const std::string& hpj) {
    ScriptedUi ui;
    auto project = ImportHpjProject(hpj, ui);
    EXPECT_TRUE(ui.errors.empty()) << (ui.errors.empty() ? "" : ui.errors[0]);
    return project;
}

const TTopicNode& Topic(const TProject& project, const std::string& name) {
    const TTopicNode* node = project.Topics.FindByName(name);
    if (!node) throw Error("no topic " + name);
    return *node;
}

// What the help compiler reads from one built topic file: its footnotes,
// non-scrolling region (\keepn), hotspots (underline, hotspot text, hidden text), bitmaps, buttons and media.
std::vector<std::string> CompilerCodes(const std::string& rtf) {
    std::vector<std::string> out;
    static const std::regex codes(
        R"((\\keepn)|([#$KA!>+*])\{\\footnote ([^}]*)\}|\\(uldb|ul) ((?:(?!\\ulnone).)*)\\ulnone\\v (.*?)\\v0|\\\{(bm[clr]|button|mci) (.*?)\\\})");
    for (auto it = std::sregex_iterator(rtf.begin(), rtf.end(), codes); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[1].matched)
            out.push_back("keepn");
        else if (m[2].matched)
            out.push_back(m[2].str() + " " + m[3].str());
        else if (m[4].matched)
            out.push_back(m[4].str() + " [" + Trim(StripRtf(m[5].str())) + "] " + m[6].str());
        else
            out.push_back(m[7].str() + " " + m[8].str());
    }
    return out;
}

struct Built {
    std::string hpjPath;
    std::string hpjText;
    std::map<std::string, std::vector<std::string>> codes;  // by topic name
    TOutputLog log;
};

// Builds the project into `dir` (project file "Guide.qpf", work folder "work").
void Build(TProject& project, const std::string& dir, Built& out) {
    project.FileName = dir + "/Guide.qpf";
    const std::string work = dir + "/work";
    std::filesystem::create_directories(work);
    TCheckSettings checks;
    checks.SetError(Check::ImageNotFound, false);  // no image files here
    WriteTopicFiles(project, work, out.log, checks);
    out.hpjPath = WriteProjectFile(project, dir, work);
    out.hpjText = ReadFileBytes(out.hpjPath);
    for (const auto& node : project.Topics)
        out.codes[node->GetName()] = CompilerCodes(ReadFileBytes(work + "/" + node->GetName() + ".rtf"));
}

// The help project without its [MAP] (context numbers are given anew).
std::string WithoutMap(const std::string& hpj) {
    StringList lines = SplitLines(hpj), kept;
    bool inMap = false;
    for (const std::string& l : lines) {
        if (l == "[MAP]")
            inMap = true;
        else if (!l.empty() && l[0] == '[')
            inMap = false;
        if (!inMap) kept.push_back(l);
    }
    return JoinLinesCrLf(kept);
}

// A table as the help compiler shows it: per row, its cells' right edges,
// then each cell's visible text ("\r" between its paragraphs) with "*" after
// each hotspot's text (a double underlined run with hidden text after it).
using SourceTable = std::vector<std::vector<std::string>>;

std::vector<SourceTable> TablesIn(const std::string& rtf) {
    std::vector<SourceTable> out;
    for (const RtfTable& table : ReadRtfTables(rtf).tables) {
        out.emplace_back();
        for (const RtfTableRow& row : table.rows) {
            std::string edges;
            for (int x : row.cellRight) edges += std::to_string(x) + " ";
            out.back().push_back({edges});
            for (const RtfTableCell& cell : row.cells) {
                std::string text;
                for (std::size_t i = 0; i < cell.paragraphs.size(); ++i) {
                    if (i > 0) text += '\r';
                    bool hot = false;
                    for (const TextRun& run : cell.paragraphs[i].runs()) {
                        if (run.format.hidden) {
                            if (hot) text += '*';
                            hot = false;
                            continue;
                        }
                        hot = run.format.underline == Underline::Double;
                        for (char16_t c : run.text) text += c < 0x80 ? static_cast<char>(c) : '?';
                    }
                }
                out.back().back().push_back(text);
            }
        }
    }
    return out;
}

// The tables of the MFC sources, file after file as [FILES] lists them.
std::vector<SourceTable> SourceTables() {
    std::vector<SourceTable> out;
    for (const char* file : {"AFXCORE.RTF", "AFXPRINT.RTF", "AFXOLECL.RTF", "AFXOLESV.RTF"})
        for (SourceTable& t : TablesIn(ReadFileBytes(std::string(QM_FIXTURES_DIR "/mfc-help/HLP/") + file)))
            out.push_back(std::move(t));
    return out;
}

// ---------------------------------------------------------------------------
// The real sources

TEST(ImportRealWorld, ProjectGivesTheTopicsOfItsSources) {
    auto project = Import(kPegasus);
    ASSERT_TRUE(project);
    EXPECT_EQ(project->GetTitle(), "PEGASUS Application Help");
    // 63 + 8 + 9 + 3 "#" footnotes in the four files; the empty page before
    // the first topic of two files and the empty ones at the end make none.
    EXPECT_EQ(project->Topics.Count(), 83);
    for (const auto& node : project->Topics) EXPECT_EQ(node->GetName().find("NewTopic"), std::string::npos);

    const TTopicNode& index = project->Topics.GetNode(0);
    EXPECT_EQ(index.GetName(), "main_index");
    EXPECT_TRUE(index.IsContents);  // CONTENTS=main_index
    // The numbers of Pegasus.hm, which the application calls its help by,
    // reach the topics through the aliases of [ALIAS].
    struct Mapped {
        const char* topic;
        std::int32_t number;
    };
    for (const Mapped& m : {Mapped{"main_index", 0x20080},        // HIDR_MAINFRAME
                            Mapped{"HIDR_DOC1TYPE", 0x20081},     // HIDR_PEGASUTYPE
                            Mapped{"HID_APP_ABOUT", 0x20064}}) {  // HIDD_ABOUTBOX
        SCOPED_TRACE(m.topic);
        EXPECT_EQ(Topic(*project, m.topic).ContextId, m.number);
    }
    EXPECT_EQ(
        TagsOf(index.Text),
        (std::vector<std::string>{"<LINK TOPIC=\"menu_file\">", "</LINK>", "<LINK TOPIC=\"menu_edit\">", "</LINK>",
                                  "<LINK TOPIC=\"menu_record\">", "</LINK>", "<LINK TOPIC=\"menu_view\">", "</LINK>",
                                  "<LINK TOPIC=\"menu_window\">", "</LINK>", "<LINK TOPIC=\"menu_help\">", "</LINK>"}));
    // "<<YourApp>> Help Index" is text, not a tag.
    EXPECT_NE(StripRtf(index.Text).find("&lt;&lt;YourApp&rt;&rt; Help Index"), std::string::npos);

    const TTopicNode& print = Topic(*project, "HID_FILE_PRINT");
    EXPECT_EQ(print.GetTitle(), "File Print command");
    EXPECT_EQ(print.Keywords, StringList{"printing and print preview"});
    EXPECT_EQ(TagsOf(print.Text), (std::vector<std::string>{"<LINK TOPIC=\"AFX_HIDD_PRINT\">", "</LINK>",
                                                            "<IMAGEC \"hlp\\fileprnt.bmp\">"}));
    EXPECT_NE(StripRtf(print.Text).find("<LINK TOPIC=\"AFX_HIDD_PRINT\">Print dialog box</LINK>"), std::string::npos);

    // The mark and "{\footnote" on two lines still name the topic.
    EXPECT_EQ(Topic(*project, "HID_EDIT_PASTE_LINK").GetTitle(), "Paste Link command");
    // A footnote whose text ends in a paragraph mark.
    EXPECT_TRUE(project->Topics.NameExists("AFX_HIDP_default"));
    EXPECT_EQ(Topic(*project, "HID_FILE_NEW").Keywords, StringList{"files: managing"});
    EXPECT_EQ(Topic(*project, "AFX_HIDW_PREVIEW_BAR").GetTitle(), "print preview toolbar");

    // Every hotspot and bitmap of the sources became a tag, those in the
    // cells of its tables too: what stays raw RTF are the rows' and cells'
    // codes. The jumps are counted in the sources themselves: each double
    // underlined group followed by its hidden text.
    int jumps = 0;
    static const std::regex jump(R"(\{[^{}]*\\uldb[^{}]*\}\{\\v[ \\][^{}]*\})");
    for (const char* file : {"AFXCORE.RTF", "AFXPRINT.RTF", "AFXOLECL.RTF", "AFXOLESV.RTF"}) {
        std::string rtf = ReadFileBytes(std::string(QM_FIXTURES_DIR "/mfc-help/HLP/") + file);
        rtf.erase(std::remove_if(rtf.begin(), rtf.end(), [](char c) { return c == '\r' || c == '\n'; }), rtf.end());
        jumps +=
            static_cast<int>(std::distance(std::sregex_iterator(rtf.begin(), rtf.end(), jump), std::sregex_iterator()));
    }
    EXPECT_EQ(jumps, 50);
    int links = 0, images = 0, left = 0, rowTags = 0;
    for (const auto& node : project->Topics)
        for (const std::string& tag : TagsOf(node->Text)) {
            links += tag.rfind("<LINK TOPIC=", 0) == 0;
            images += tag.rfind("<IMAGE", 0) == 0;
            left += tag.rfind("<IMAGEL", 0) == 0;
            if (tag.rfind("<RTF \"", 0) != 0) continue;
            rowTags += tag.find("\\\\trowd") != std::string::npos;
            for (const char* code : {"\\\\uldb", "\\\\ul ", "\\\\v", "\\\\{bm", "\\\\f"})
                EXPECT_EQ(tag.find(code), std::string::npos) << code << " in " << tag;
        }
    EXPECT_EQ(links, jumps);
    // Each row of the sources' tables begins with its definition.
    std::size_t rows = 0;
    for (const SourceTable& table : SourceTables()) rows += table.size();
    EXPECT_EQ(rows, 30u);
    EXPECT_EQ(rowTags, static_cast<int>(rows));
    EXPECT_EQ(images, 37);
    EXPECT_EQ(left, 6);
    ASSERT_EQ(project->Windows.Count(), 1);
    EXPECT_EQ(project->Windows.GetWindow(1).GetName(), "main");
}

TEST(ImportRealWorld, ImportThenBuildGivesTheSameHelpAgain) {
    // Import, build, import the build's output, build again: the compiler
    // gets the same footnotes, hotspots, bitmaps, windows and options.
    auto first = Import(kPegasus);
    ASSERT_TRUE(first);
    ImportTempDir dir1, dir2;
    Built b1, b2;
    Build(*first, dir1.str(), b1);
    auto second = Import(b1.hpjPath);
    ASSERT_TRUE(second);
    ASSERT_EQ(second->Topics.Count(), first->Topics.Count());
    Build(*second, dir2.str(), b2);
    for (const auto& [name, codes] : b1.codes) {
        ASSERT_TRUE(b2.codes.count(name)) << name;
        EXPECT_EQ(b2.codes[name], codes) << name;
    }
    // The work folder differs; everything else is the same.
    std::string t1 = WithoutMap(b1.hpjText), t2 = WithoutMap(b2.hpjText);
    ASSERT_NE(t1.find("[FILES]"), std::string::npos) << t1;
    ReplaceString(t1, dir1.str(), "DIR", true);
    ReplaceString(t2, dir2.str(), "DIR", true);
    // The first build names its own folder as the first image folder; the
    // import keeps it as one of the project's image folders.
    ReplaceString(t2, "BMROOT=DIR\r\nBMROOT=" + dir1.str() + "\r\n", "BMROOT=DIR\r\n", false);
    EXPECT_EQ(t2, t1);
    // The sources' own codes came through the first build.
    const auto& print = b1.codes.at("HID_FILE_PRINT");
    EXPECT_EQ(print,
              (std::vector<std::string>{"# HID_FILE_PRINT", "$ File Print command", "K printing and print preview;",
                                        "uldb [Print dialog box] AFX_HIDD_PRINT", "bmc hlp\\\\fileprnt.bmp"}));
    // The sources link to a topic they do not have: the build reports it and
    // still writes the hotspot, which the second import reads as the link.
    ASSERT_EQ(b1.log.Count(), 1);
    EXPECT_EQ(b1.log.Entry(0).Code, Check::UnresolvedLink);
    EXPECT_EQ(b1.log.Entry(0).Text, "<LINK TOPIC=\"menu_record\">");
    for (const auto& node : second->Topics) {
        const TTopicNode& before = Topic(*first, node->GetName());
        EXPECT_EQ(node->GetTitle(), before.GetTitle());
        EXPECT_EQ(node->Keywords, before.Keywords);
        EXPECT_EQ(node->IsContents, before.IsContents) << node->GetName();
        // The numbers go through the build's [MAP] and come back.
        EXPECT_EQ(node->ContextId, before.ContextId) << node->GetName();
        EXPECT_EQ(TagsOf(node->Text), TagsOf(before.Text)) << node->GetName();
    }
}

TEST(ImportRealWorld, TheBuiltTopicsHoldTheSourcesTables) {
    // Row by row and cell by cell, with each cell's hotspots.
    auto project = Import(kPegasus);
    ASSERT_TRUE(project);
    ImportTempDir dir;
    Built built;
    Build(*project, dir.str(), built);
    std::vector<SourceTable> tables;
    for (const auto& node : project->Topics)
        for (SourceTable& t : TablesIn(ReadFileBytes(dir.str() + "/work/" + node->GetName() + ".rtf")))
            tables.push_back(std::move(t));
    const std::vector<SourceTable> sources = SourceTables();
    ASSERT_EQ(sources.size(), 6u);
    EXPECT_EQ(tables, sources);
    // The compiler reads each cell's jump as a hotspot.
    const auto& file = built.codes.at("menu_file");
    EXPECT_NE(std::find(file.begin(), file.end(), "uldb [New] HID_FILE_NEW"), file.end());
}

// ---------------------------------------------------------------------------
// Every kind of tag through a build and back

std::string Body(const std::string& plain) { return WriteRtf(ReadPlainText(plain)); }

TEST(ImportRoundTrip, EveryTagAndPropertyComesBack) {
    TProject project;
    project.SetTitle("Round trip");
    project.SetCopyright("(c) Us");
    project.SetHlpFile("round.hlp");
    project.BmRoot = {"art"};
    TWindowDef& main = project.Windows.Add();
    main.SetName("main");
    main.SetCaption("Main window");
    TWindowDef& proc4 = project.Windows.Add();
    proc4.SetName("proc4");
    proc4.SetCaption("Steps");
    proc4.AdjustRes = 1;
    proc4.X = 10;
    proc4.Y = 20;
    proc4.W = 500;
    proc4.H = 300;
    proc4.Attributes = WindowAttributes::KeepOnTop | WindowAttributes::AutoSizeHeight;
    proc4.Buttons = WindowButtons::Back | WindowButtons::Find | WindowButtons::Browse;
    proc4.Rgb1 = 0x0000FF;
    proc4.Rgb2 = 0xC0C0C0;

    TTopicNode& intro = project.Topics.AddNew();
    intro.SetName("Intro");
    intro.ContextId = 5;
    intro.IsContents = true;
    intro.SetTitle("Introduction");
    intro.Keywords = {"start", "intro"};
    intro.AKeywords = {"a_intro"};
    intro.Macros = {"SetContents(`round.hlp', 5)", "Beep()"};
    intro.SetBrowse("main:010");
    intro.SetBuildTag("DEMO");
    intro.SetWindow("proc4");
    intro.Text = Body(
        "Welcome<ANCHOR \"top\">. <LINK TOPIC=\"Steps\">the steps</LINK>, <LINK TOPIC=\"Steps:step_1\">step "
        "one</LINK>, <LINK TOPIC=\"Steps\" WINDOW=proc4>in a window</LINK>, <LINK TOPIC=\"Other\" "
        "FILE=c:\\help\\other file.hlp>elsewhere</LINK>, <LINK POPUP=\"Def\">a term</LINK>, <LINK POPUP=\"Ext\" "
        "FILE=other.hlp>remote term</LINK>, <ULINK TOPIC=\"Steps\">quiet</ULINK>, <ULINK POPUP=\"Def\">quiet "
        "term</ULINK>.\r\n"
        "<MACRO Exec(\"a|b\")>Run</MACRO> <UMACRO Beep()>Beep</UMACRO> <BTN CloseWindow(`main')>Close</BTN>\r\n"
        "<IMAGE \"a.bmp\"> <IMAGEC \"b.bmp\"> <IMAGEL \"c.bmp\"> <IMAGER \"art\\d.bmp\"> <LINK "
        "TOPIC=\"Steps\"><IMAGE \"e.bmp\"></LINK>\r\n"
        "<SOUND \"ding.wav\"> <SOUND External \"ext.wav\"> <VIDEO External Play Repeat Menu Playbar \"clip.avi\"> "
        "<VIDEO \"plain.avi\"> 1 &lt; 2 &rt; 0");
    TTopicNode& steps = project.Topics.AddNew();
    steps.SetName("Steps");
    steps.ContextId = 10;
    steps.SetTitle("First steps");
    steps.SetBrowse("main:020");
    steps.Text = Body(
        "<NOSCROLL>First steps</NOSCROLL>\r\nStep one<ANCHOR \"step_1\"> and <LINK TOPIC=\"Intro:top\">back</LINK>.");
    TTopicNode& def = project.Topics.AddNew();
    def.SetName("Def");
    def.Kind = TopicKind::Popup;
    def.ContextId = 20;
    def.SetBuildTag("DEMO");
    def.Text = Body("A term.");

    ImportTempDir dir1, dir2;
    Built b1;
    Build(project, dir1.str(), b1);
    auto back = Import(b1.hpjPath);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->Topics.Count(), 3);

    const TTopicNode& i2 = Topic(*back, "Intro");
    EXPECT_EQ(TagsOf(i2.Text), (std::vector<std::string>{
                                   "<ANCHOR \"top\">", "<LINK TOPIC=\"Steps\">", "</LINK>",
                                   "<LINK TOPIC=\"Steps:step_1\">", "</LINK>", "<LINK TOPIC=\"Steps\" WINDOW=proc4>",
                                   "</LINK>", "<LINK TOPIC=\"Other\" FILE=c:\\help\\other file.hlp>", "</LINK>",
                                   "<LINK POPUP=\"Def\">", "</LINK>", "<LINK POPUP=\"Ext\" FILE=other.hlp>", "</LINK>",
                                   "<ULINK TOPIC=\"Steps\">", "</ULINK>", "<ULINK POPUP=\"Def\">", "</ULINK>",
                                   // "|" stands for ">" in a macro; the import writes it escaped.
                                   "<MACRO Exec(\"a&rt;b\")>", "</MACRO>", "<UMACRO Beep()>", "</UMACRO>",
                                   "<BTN CloseWindow(`main')>", "</BTN>",
                                   // A plain IMAGE is built as an in-line bitmap, as IMAGEC is.
                                   "<IMAGEC \"a.bmp\">", "<IMAGEC \"b.bmp\">", "<IMAGEL \"c.bmp\">",
                                   "<IMAGER \"art\\d.bmp\">", "<LINK TOPIC=\"Steps\">", "<IMAGEC \"e.bmp\">", "</LINK>",
                                   "<SOUND \"ding.wav\">", "<SOUND External \"ext.wav\">",
                                   "<VIDEO External Repeat Play Menu Playbar \"clip.avi\">", "<VIDEO \"plain.avi\">"}));
    EXPECT_NE(StripRtf(i2.Text).find("1 &lt; 2 &rt; 0"), std::string::npos);
    EXPECT_NE(StripRtf(i2.Text).find(">the steps</LINK>"), std::string::npos);
    EXPECT_EQ(i2.GetTitle(), "Introduction");
    EXPECT_EQ(i2.Keywords, intro.Keywords);
    EXPECT_EQ(i2.AKeywords, intro.AKeywords);
    EXPECT_EQ(i2.Macros, intro.Macros);
    EXPECT_EQ(i2.GetBrowse(), "main:010");
    EXPECT_EQ(i2.GetBuildTag(), "DEMO");
    EXPECT_EQ(i2.GetWindow(), "proc4");
    EXPECT_TRUE(i2.IsContents);
    const TTopicNode& s2 = Topic(*back, "Steps");
    EXPECT_EQ(TagsOf(s2.Text), (std::vector<std::string>{"<NOSCROLL>", "</NOSCROLL>", "<ANCHOR \"step_1\">",
                                                         "<LINK TOPIC=\"Intro:top\">", "</LINK>"}));
    EXPECT_EQ(WritePlainText(ReadRtf(s2.Text)).substr(0, 42), "<NOSCROLL>First steps</NOSCROLL>\r\nStep one");
    EXPECT_EQ(s2.GetTitle(), "First steps");
    EXPECT_EQ(s2.GetWindow(), "main");
    const TTopicNode& d2 = Topic(*back, "Def");
    // Only popup hotspots lead to it: it comes back as a popup.
    EXPECT_TRUE(d2.IsPopup());
    EXPECT_EQ(d2.GetBuildTag(), "DEMO");
    EXPECT_EQ(d2.GetTitle(), "");
    EXPECT_EQ(back->GetTitle(), "Round trip");
    EXPECT_EQ(back->GetCopyright(), "(c) Us");
    EXPECT_EQ(back->GetHlpFile(), "round.hlp");

    // Built again, the compiler gets the same codes and the same project
    // (windows included).
    Built b2;
    Build(*back, dir2.str(), b2);
    ASSERT_FALSE(b1.codes["Steps"].empty());
    EXPECT_EQ(std::count(b1.codes["Steps"].begin(), b1.codes["Steps"].end(), "keepn"), 1);
    for (const auto& [name, codes] : b1.codes) EXPECT_EQ(b2.codes[name], codes) << name;
    std::string t1 = WithoutMap(b1.hpjText), t2 = WithoutMap(b2.hpjText);
    ASSERT_NE(t1.find("[FILES]"), std::string::npos) << t1;
    ReplaceString(t1, dir1.str(), "DIR", true);
    ReplaceString(t2, dir2.str(), "DIR", true);
    // The first build names its own folder as the first image folder; the
    // import keeps it as one of the project's image folders, and finds the
    // relative one from the folder of the help project it read.
    ReplaceString(t2, "BMROOT=DIR\r\nBMROOT=" + dir1.str() + "\r\n", "BMROOT=DIR\r\n", false);
    ReplaceString(t2, "BMROOT=" + dir1.file("art") + "\r\n", "BMROOT=art\r\n", false);
    EXPECT_EQ(t2, t1);
    // Nothing is new in the log: the popup is a popup again.
    EXPECT_EQ(b2.log.Count(), b1.log.Count());
}

}  // namespace
}  // namespace qm
