// What a help project's file says beyond its topics: context numbers, image
// folders, start-up macros, compression, popups, and the notes on what the
// project could not hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formats/hpjfile.h"
#include "import/import.h"
#include "model/project.h"
#include "preprocess/buildchecks.h"
#include "preprocess/outputlog.h"
#include "preprocess/topicwriter.h"
#include "test_import_util.h"
#include "util/qorstring.h"
#include "util/textfile.h"

namespace qm {
namespace {

using qmtest::ImportTempDir;
using qmtest::ScriptedUi;
using qmtest::TagsOf;
using qmtest::WriteFileBytes;

THpjFile Hpj(const std::string& text) {
    THpjFile hpj;
    hpj.Parse(SplitLines(text));
    return hpj;
}

const TTopicNode* Find(const TProject& project, const std::string& name) { return project.Topics.FindByName(name); }

bool HasNote(const StringList& notes, const std::string& part) {
    for (const std::string& n : notes)
        if (n.find(part) != std::string::npos) return true;
    return false;
}

std::string NotesText(const StringList& notes) {
    std::string out;
    for (const std::string& n : notes) out += n + "\n";
    return out;
}

TEST(ImportHpjOptions, CompressValuesMapToTheNearestCompression) {
    struct Row {
        const char* value;
        std::uint8_t mode;
        std::int32_t flags;
        bool noted;
    };
    const std::vector<Row> rows = {
        {"0", CompressMode::None, 0, false},
        {"NO", CompressMode::None, 0, false},
        {"false", CompressMode::None, 0, false},
        {"1", CompressMode::Maximum, 0, false},
        {"YES", CompressMode::Maximum, 0, false},
        {"True", CompressMode::Maximum, 0, false},
        {"HIGH", CompressMode::Maximum, 0, false},
        {"12 Hall Zeck", CompressMode::Maximum, 0, false},
        {"MEDIUM", CompressMode::Custom, CompressFlags::Zeck, false},
        {"8 Zeck", CompressMode::Custom, CompressFlags::Zeck, false},
        {"PHRASE", CompressMode::Custom, CompressFlags::Phrase, false},
        // Unknown: the default stays and the import says so.
        {"LOW", CompressMode::None, 0, true},
        {"7", CompressMode::None, 0, true},
        {"", CompressMode::None, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        TProject project;
        project.Topics.AddNew().SetName("a");
        TImportNotes notes;
        ImportHpjOptions(Hpj(std::string("[OPTIONS]\nCOMPRESS=") + row.value + "\n[FILES]\nx.rtf\n"), project, "",
                         &notes);
        const TProject fresh;
        EXPECT_EQ(project.CompressMode, row.noted ? fresh.CompressMode : row.mode);
        EXPECT_EQ(project.CompressFlags, row.noted ? fresh.CompressFlags : row.flags);
        EXPECT_EQ(HasNote(notes.Lines(), "COMPRESS"), row.noted) << NotesText(notes.Lines());
    }
}

TEST(ImportHpjOptions, ConfigMacrosBecomeTheWindowsStartUpMacros) {
    TProject project;
    project.Topics.AddNew().SetName("a");
    TImportNotes notes;
    ImportHpjOptions(Hpj("[OPTIONS]\nTITLE=t\n[FILES]\nx.rtf\n[WINDOWS]\nmain=\"M\"\nproc4=\"P\"\n"
                         "[CONFIG]\nBrowseButtons()\n; a comment\n\nCreateButton(`b',`&B',`JI(`',`x')')\n"
                         "[CONFIG-proc4]\nBrowseButtons()\n[CONFIG-nowhere]\nX()\n[CONFIG]\nRR(`a.dll',`F',`U')\n"),
                     project, "", &notes);
    ASSERT_EQ(project.Windows.Count(), 2);
    EXPECT_EQ(project.Windows.GetWindow(1).Macros,
              (StringList{"BrowseButtons()", "CreateButton(`b',`&B',`JI(`',`x')')", "RR(`a.dll',`F',`U')"}));
    EXPECT_EQ(project.Windows.GetWindow(2).Macros, StringList{"BrowseButtons()"});
    EXPECT_TRUE(HasNote(notes.Lines(), "[CONFIG-NOWHERE]")) << NotesText(notes.Lines());
}

TEST(ImportHpjOptions, BmrootListsCountFromTheProjectsFolder) {
    ImportTempDir dir;
    std::filesystem::create_directories(dir.file("Bitmaps"));
    std::filesystem::create_directories(dir.file("shg"));
    // Folders of those names in the working folder must not be taken.
    ImportTempDir elsewhere;
    std::filesystem::create_directories(elsewhere.file("bitmaps"));
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.str());
    TProject project;
    project.Topics.AddNew().SetName("a");
    ImportHpjOptions(Hpj("[OPTIONS]\nBMROOT=BITMAPS, SHG ,\nBMROOT=/abs/art\n[FILES]\nx.rtf\n"), project,
                     dir.str() + "/");
    std::filesystem::current_path(cwd);
    StringList expected{dir.str() + "/Bitmaps", dir.str() + "/shg", "/abs/art"};
#ifdef _WIN32
    // The disk ignores case there, so the folder keeps the case it was written in.
    for (std::string& folder : project.BmRoot) folder = qm::AsciiLowerStr(folder);
    for (std::string& folder : expected) folder = qm::AsciiLowerStr(folder);
#endif
    EXPECT_EQ(project.BmRoot, expected);
}

// The build writes the help file beside the project and refuses a name with
// a folder; the import keeps the file name alone and says so when the
// folder was not the project's own.
TEST(ImportHpjOptions, HelpAndContentsFilesKeepTheirNamesAlone) {
    ImportTempDir dir;
    std::filesystem::create_directories(dir.file("Out"));
    const struct {
        const char* name;
        std::string option;
        std::string hlp;
        std::string cnt;
        const char* note;  // a part of the one note, or "" for none
    } cases[] = {
        {"a name alone", "HLP=help.hlp", "help.hlp", "", ""},
        {"the project's own folder", "HLP=.\\help.hlp", "help.hlp", "", ""},
        {"that folder by its full name", "HLP=" + dir.str() + "/help.hlp", "help.hlp", "", ""},
        {"that folder through a subfolder", "HLP=out\\..\\help.hlp", "help.hlp", "", ""},
        {"a subfolder", "HLP=Out\\help.hlp", "help.hlp", "",
         "The help file \"Out\\help.hlp\" of HLP is now \"help.hlp\": the build writes the help file beside the "
         "project, not in \"Out\\\"."},
        {"a folder above", "HLP=..\\bin\\app.hlp", "app.hlp", "", "not in \"..\\bin\\\""},
        {"a drive", "HLP=C:\\HELP\\APP.HLP", "APP.HLP", "", "\"C:\\HELP\\APP.HLP\" of HLP is now \"APP.HLP\""},
        {"a folder and no name", "HLP=..\\", "", "", "names no file"},
        {"a contents file elsewhere", "CNT=..\\cnt\\app.cnt", "", "app.cnt",
         "The contents file \"..\\cnt\\app.cnt\" of CNT is now \"app.cnt\": the help file looks for it beside "
         "itself, in the project's folder, not in \"..\\cnt\\\"."},
        {"a contents file beside the project", "CNT=.\\app.cnt", "", "app.cnt", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TProject project;
        project.Topics.AddNew().SetName("a");
        TImportNotes notes;
        ImportHpjOptions(Hpj("[OPTIONS]\n" + c.option + "\n[FILES]\nx.rtf\n"), project, dir.str() + "/", &notes);
        EXPECT_EQ(project.GetHlpFile(), c.hlp);
        EXPECT_EQ(project.GetCntFile(), c.cnt);
        if (*c.note) {
            ASSERT_EQ(notes.Lines().size(), 1u) << NotesText(notes.Lines());
            EXPECT_NE(notes.Lines()[0].find(c.note), std::string::npos) << notes.Lines()[0];
        } else {
            EXPECT_TRUE(notes.Empty()) << NotesText(notes.Lines());
        }
        // The build takes the names now.
        EXPECT_NO_THROW(CheckOutputFileNames(project));
    }
}

// A folder with a drive or on a share names one place wherever the project
// is: it is kept as written, and noted when it is not there.
TEST(ImportHpjOptions, ImageFoldersWithADriveOrAShareAreKeptAsWritten) {
    ImportTempDir dir;
    std::filesystem::create_directories(dir.file("art"));
    TProject project;
    project.Topics.AddNew().SetName("a");
    TImportNotes notes;
    ImportHpjOptions(
        Hpj("[OPTIONS]\nBMROOT=C:\\HELP, f:\\hlpbrz\\hb_bmaps\\\nBMROOT=\\\\server\\share,art,D:\\\n[FILES]\nx.rtf\n"),
        project, dir.str() + "/", &notes);
    EXPECT_EQ(project.BmRoot,
              (StringList{"C:\\HELP", "f:\\hlpbrz\\hb_bmaps", "\\\\server\\share", dir.str() + "/art", "D:\\"}));
    StringList expected;
    for (const char* folder : {"C:\\HELP", "f:\\hlpbrz\\hb_bmaps\\", "\\\\server\\share", "D:\\"}) {
#ifdef _WIN32
        if (FolderExists(folder)) continue;
#endif
        expected.push_back("The image folder \"" + std::string(folder) +
                           "\" of BMROOT does not exist here: it is kept as written, and the build finds no picture "
                           "in it until it does.");
    }
    EXPECT_EQ(notes.Lines(), expected);
}

TEST(ImportHpjOptions, WhatTheProjectCannotHoldIsNotedOnce) {
    TProject project;
    project.Topics.AddNew().SetName("a");
    TImportNotes notes;
    ImportHpjOptions(Hpj("[OPTIONS]\nLCID=0x409 0x0 0x0\nCHARSET=0\nTITLE=t\nLCID=0x409 0x0 0x0\n[FILES]\nx.rtf\n"
                         "[BAGGAGE]\ndata.bin\n[ALIAS]\nx=a\n[BUILDTAGS]\n\n"),
                     project, "", &notes);
    const StringList& lines = notes.Lines();
    EXPECT_TRUE(HasNote(lines, "\"LCID=0x409 0x0 0x0\"")) << NotesText(lines);
    EXPECT_TRUE(HasNote(lines, "\"CHARSET=0\"")) << NotesText(lines);
    EXPECT_TRUE(HasNote(lines, "[BAGGAGE] section (1 line)")) << NotesText(lines);
    EXPECT_FALSE(HasNote(lines, "TITLE")) << NotesText(lines);
    // An empty section drops nothing.
    EXPECT_FALSE(HasNote(lines, "BUILDTAGS")) << NotesText(lines);
    // [ALIAS] is read by the project import, which notes it there.
    EXPECT_EQ(lines.size(), 3u) << NotesText(lines);
}

// ---------------------------------------------------------------------------
// Whole projects

class HpjProjectTest : public ::testing::Test {
protected:
    std::unique_ptr<TProject> Import(const std::string& hpj) {
        WriteFileBytes(dir_.file("help.hpj"), hpj);
        ScriptedUi ui;
        auto project = ImportHpjProject(dir_.file("help.hpj"), ui, nullptr, &notes_);
        EXPECT_TRUE(ui.errors.empty()) << (ui.errors.empty() ? "" : ui.errors[0]);
        return project;
    }
    ImportTempDir dir_;
    StringList notes_;
};

TEST_F(HpjProjectTest, TopicsKeepTheNumbersOfTheMap) {
    WriteFileBytes(dir_.file("ids.h"),
                   "// ids\r\n#define IDH_MAIN 0x10\r\n#define IDH_SAVE 200\r\n#define IDH_OPEN 300\r\n"
                   "#define IDH_MAIN 999\r\n");
    WriteFileBytes(dir_.file("a.rtf"),
                   "{\\rtf1 #{\\footnote IDH_MAIN}a\\par\\page #{\\footnote idh_save}b\\par\\page "
                   "#{\\footnote other}c\\par\\page #{\\footnote IDH-OPEN}d\\par\\page #{\\footnote twin}e\\par}");
    auto project = Import(
        "[OPTIONS]\nTITLE=t\n[FILES]\na.rtf\n[MAP]\n#include <ids.h>\nIDH-OPEN=0x2A\ntwin\t200\n"
        "#include \"nowhere.h\"\n");
    ASSERT_TRUE(project);
    // A context string mapped twice takes its first number; case does not
    // matter; one already taken goes to the numbering and is noted.
    EXPECT_EQ(Find(*project, "IDH_MAIN")->ContextId, 0x10);
    EXPECT_EQ(Find(*project, "idh_save")->ContextId, 200);
    EXPECT_EQ(Find(*project, "IDH_OPEN")->ContextId, 42);
    const std::int32_t other = Find(*project, "other")->ContextId;
    const std::int32_t twin = Find(*project, "twin")->ContextId;
    for (std::int32_t n : {other, twin}) {
        EXPECT_EQ(n % 5, 0);
        EXPECT_TRUE(n != 0x10 && n != 200 && n != 42) << n;
    }
    EXPECT_NE(other, twin);
    EXPECT_TRUE(HasNote(notes_, "\"twin\" did not keep its [MAP] number 200")) << NotesText(notes_);
    // The missing map file is one note, not a failure.
    EXPECT_TRUE(HasNote(notes_, "\"nowhere.h\" was not found")) << NotesText(notes_);
}

TEST_F(HpjProjectTest, RecordsReachedOnlyByPopupsArePopups) {
    WriteFileBytes(dir_.file("a.rtf"),
                   "{\\rtf1 #{\\footnote main}{\\ul Def}{\\v def}, {\\ul Both}{\\v both}, {\\uldb Both}{\\v both}, "
                   "{\\ul Kw}{\\v kw}, {\\ul Seq}{\\v seq}, {\\ul Start}{\\v main}\\par"
                   "\\page #{\\footnote def}d\\par\\page #{\\footnote both}b\\par"
                   "\\page #{\\footnote kw}K{\\footnote word}k\\par\\page #{\\footnote seq}+{\\footnote s:1}s\\par"
                   "\\page #{\\footnote lonely}l\\par}");
    auto project = Import("[OPTIONS]\nCONTENTS=main\n[FILES]\na.rtf\n");
    ASSERT_TRUE(project);
    struct Row {
        const char* name;
        bool popup;
    };
    for (const Row& row : {Row{"main", false}, Row{"def", true}, Row{"both", false}, Row{"kw", false},
                           Row{"seq", false}, Row{"lonely", false}}) {
        SCOPED_TRACE(row.name);
        const TTopicNode* node = Find(*project, row.name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->IsPopup(), row.popup);
    }
    EXPECT_TRUE(Find(*project, "main")->IsContents);
}

TEST_F(HpjProjectTest, MissingFilesAndDroppedSectionsAreNoted) {
    WriteFileBytes(dir_.file("a.rtf"), "{\\rtf1 #{\\footnote a}a\\par}");
    auto project =
        Import("[OPTIONS]\nTITLE=t\n[FILES]\n; the files\n\na.rtf\ngone.rtf\n[ALIAS]\nold = a\n[BAGGAGE]\nx.dat\n");
    ASSERT_TRUE(project);
    EXPECT_EQ(project->Topics.Count(), 1);
    EXPECT_TRUE(HasNote(notes_, "gone.rtf\" of [FILES] was not found")) << NotesText(notes_);
    EXPECT_TRUE(HasNote(notes_, "The alias of [ALIAS] was resolved")) << NotesText(notes_);
    EXPECT_TRUE(HasNote(notes_, "[BAGGAGE] section")) << NotesText(notes_);
    // Once each.
    for (std::size_t i = 0; i < notes_.size(); ++i)
        for (std::size_t j = i + 1; j < notes_.size(); ++j) EXPECT_NE(notes_[i], notes_[j]);
}

// An alias of [ALIAS] names a topic through another context string: every
// link, popup, macro argument and number that names it reaches the topic
// itself, whatever made the tag; a loop of aliases is refused with a note.
TEST_F(HpjProjectTest, AliasesAreFollowedToTheirTopics) {
    WriteFileBytes(dir_.file("a.rtf"),
                   R"({\rtf1\ansi #{\footnote main}!{\footnote JI(`',`START')})"
                   R"({\uldb Go back}{\v HOME}, {\ul Def}{\v GLOSS}, {\uldb Round}{\v LOOP1}, )"
                   R"({\ul Run}{\v !JI(`',`START')}, \{button Go, JI(`',`HOME')\}\par )"
                   R"(\trowd\cellx2000\pard\intbl {\uldb In a table}{\v HOME}\cell\row )"
                   R"(\pard After.\par)"
                   R"(\page #{\footnote def}A term.\par\page #{\footnote term}The term page.\par})");
    auto project = Import(
        "[OPTIONS]\nCONTENTS=HOME\nHLP=guide.hlp\n[FILES]\na.rtf\n[MAP]\nHOME 10\nSHORTCUT 30\n"
        "[ALIAS]\nHOME = START\nSTART = main\nSHORTCUT = main\nLOOP1 = LOOP2\nLOOP2 = loop1\nLOST = nowhere\n"
        "term = main\nGLOSS = def\n[CONFIG]\nJI(`guide.hlp',`HOME')\n");
    ASSERT_TRUE(project);
    const TTopicNode* main = Find(*project, "main");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->IsContents);
    // The number the application asks for under the alias.
    EXPECT_EQ(main->ContextId, 10);
    std::vector<std::string> tags;
    for (const std::string& tag : TagsOf(main->Text))
        if (tag.rfind("<RTF", 0) != 0) tags.push_back(tag);
    EXPECT_EQ(tags, (std::vector<std::string>{"<LINK TOPIC=\"main\">", "</LINK>", "<LINK POPUP=\"def\">", "</LINK>",
                                              "<LINK TOPIC=\"LOOP1\">", "</LINK>", "<MACRO JI(`',`main')>", "</MACRO>",
                                              "<BTN JI(`',`main')>", "</BTN>", "<LINK TOPIC=\"main\">",
                                              "</LINK>"}));
    EXPECT_EQ(main->Macros, StringList{"JI(`',`main')"});
    EXPECT_EQ(project->Windows.GetWindow(1).Macros, StringList{"JI(`guide.hlp',`main')"});
    // Reached by a popup through its alias only: a popup.
    EXPECT_TRUE(Find(*project, "def")->IsPopup());

    // The jump in the table's cell is a tag like the others. What the build
    // gives the compiler names the topics, that jump included.
    project->FileName = dir_.file("help.qpf");
    std::filesystem::create_directories(dir_.file("work"));
    TOutputLog log;
    WriteTopicFiles(*project, dir_.file("work"), log);
    const std::string built = qmtest::ReadFileBytes(dir_.file("work/main.rtf"));
    for (const char* alias : {"HOME", "START", "GLOSS"}) EXPECT_EQ(built.find(alias), std::string::npos) << alias;
    EXPECT_NE(built.find("In a table"), std::string::npos);
    // Only the loop is left without a topic.
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].Text, "<LINK TOPIC=\"LOOP1\">");

    const StringList expected = {
        "The alias \"LOOP1 = LOOP2\" of [ALIAS] was not resolved: its chain \"LOOP1 = LOOP2 = loop1\" comes back on "
        "itself, so what names \"LOOP1\" leads to no topic.",
        "The alias \"LOOP2 = loop1\" of [ALIAS] was not resolved: its chain \"LOOP2 = loop1 = LOOP2\" comes back on "
        "itself, so what names \"LOOP2\" leads to no topic.",
        "The [MAP] number 30 of the alias \"SHORTCUT\" was not kept: its topic \"main\" has the number 10, and a "
        "topic holds one.",
        "The alias \"LOST = nowhere\" of [ALIAS] leads to \"nowhere\", which no topic of the project has.",
        "The alias \"term = main\" of [ALIAS] was not used: a topic has \"term\" as its own context string.",
        "The 5 aliases of [ALIAS] were resolved: the links, popups, macros and [MAP] numbers that named an alias now "
        "name its topic.",
    };
    for (const std::string& line : expected)
        EXPECT_TRUE(HasNote(notes_, line)) << line << "\nin\n" << NotesText(notes_);
}

// The compiler found these pictures from the .hpj's folder; the project
// finds them from its image folders, wherever it is saved.
TEST_F(HpjProjectTest, PicturesFoundBesideTheSourcesStayFoundWhereverTheProjectIsSaved) {
    WriteFileBytes(dir_.file("Pics/One.BMP"), "BM");
    WriteFileBytes(dir_.file("two.bmp"), "BM");
    WriteFileBytes(dir_.file("a.rtf"),
                   "{\\rtf1 #{\\footnote main}\\{bmc pics\\\\one.bmp\\} \\{bml Two.bmp\\} \\{bmr gone.bmp\\}\\par}");
    auto project = Import("[OPTIONS]\nTITLE=t\n[FILES]\na.rtf\n");
    ASSERT_TRUE(project);
    StringList expected{dir_.file("Pics"), dir_.str()};
#ifdef _WIN32
    // The disk ignores case there, so a folder keeps the case it was asked in.
    for (std::string& folder : project->BmRoot) folder = AsciiLowerStr(folder);
    for (std::string& folder : expected) folder = AsciiLowerStr(folder);
#endif
    EXPECT_EQ(project->BmRoot, expected);
    ImportTempDir elsewhere;
    project->FileName = elsewhere.file("moved.qpf");
    const TBuildForecast forecast = ForecastBuild(*project, TCheckSettings());
    EXPECT_EQ(forecast.ErrorsOf(Check::ImageNotFound), 1);  // gone.bmp, which nobody has
}

TEST_F(HpjProjectTest, PicturesGoToTheFirstImageFolder) {
    std::filesystem::create_directories(dir_.file("art"));
    // A 1 x 1 bitmap of one bit per pixel, as a device-independent bitmap.
    const std::string dib =
        "28000000010000000100000001000100000000000400000000000000000000000000000000000000"
        "00000000ffffff0080000000";
    WriteFileBytes(dir_.file("a.rtf"), "{\\rtf1 #{\\footnote Pic-Topic}{\\pict\\dibitmap " + dib + "}\\par}");
    auto project = Import("[OPTIONS]\nBMROOT=none,art\n[FILES]\na.rtf\n");
    ASSERT_TRUE(project);
    const TTopicNode* node = Find(*project, "Pic_Topic");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(TagsOf(node->Text), std::vector<std::string>{"<IMAGE \"Pic_Topic1.bmp\">"});
    EXPECT_TRUE(FileExists(dir_.file("art/Pic_Topic1.bmp")));
    EXPECT_TRUE(project->IsBmRootFolder(dir_.file("art")));
}

}  // namespace
}  // namespace qm
