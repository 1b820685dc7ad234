#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/hpjfile.h"
#include "support/scratchdir.h"
#include "util/errors.h"
#include "util/textfile.h"

namespace qm {
namespace {

THpjFile ParseText(const std::string& text) {
    THpjFile hpj;
    hpj.Parse(SplitLines(text));
    return hpj;
}

// The message of the qm::Error that parsing `text` raises, or "" when none.
std::string ParseError(const std::string& text) {
    THpjFile hpj;
    try {
        hpj.Parse(SplitLines(text));
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

TEST(HpjFile, ReadsRealWorldProject) {
    THpjFile hpj;
    hpj.LoadFromFile(QM_FIXTURES_DIR "/mfc-help/Pegasus.hpj");
    EXPECT_EQ(hpj.OptionKeys, (StringList{"CONTENTS", "TITLE", "COMPRESS", "WARNING"}));
    EXPECT_EQ(hpj.OptionValues, (StringList{"main_index", "PEGASUS Application Help", "true", "2"}));
    EXPECT_EQ(hpj.Files,
              (StringList{"hlp\\afxcore.rtf", "hlp\\afxprint.rtf", "hlp\\afxolecl.rtf", "hlp\\afxolesv.rtf"}));
    // Its [MAP] includes two map files: the one beside the project is read
    // (its folder named in another case), the one of the compiler's own
    // installation is missing and noted.
    ASSERT_EQ(hpj.MapIds.size(), 13u);
    EXPECT_EQ(hpj.MapIds[0], "HID_CANCEL_EDIT_CNTR");
    EXPECT_EQ(hpj.MapValues[0], "0x18000");
    EXPECT_EQ(hpj.MapIds[12], "HIDD_ABOUTBOX");
    EXPECT_EQ(hpj.MapValues[12], "0x20064");
    EXPECT_EQ(hpj.Warnings, StringList{"The map file \"C:\\MSVC20\\MFC\\include\\afxhelp.hm\" was not found: the "
                                       "context numbers it holds were not imported."});
    EXPECT_EQ(hpj.WindowCount(), 0);
    std::vector<std::string> sections;
    for (const THpjSection& section : hpj.Sections) sections.push_back(section.Name);
    EXPECT_EQ(sections, (std::vector<std::string>{"OPTIONS", "FILES", "BITMAPS", "ALIAS", "MAP"}));
    // Comment lines and blank lines inside a section do not end it.
    EXPECT_EQ(hpj.Sections[2].Lines.size(), 22u);
    EXPECT_EQ(hpj.Sections[3].Lines.front(), "HIDR_MAINFRAME = main_index");
}

TEST(HpjFile, ReadsHandWrittenProjectWithCommentsAndBlanks) {
    THpjFile hpj;
    hpj.LoadFromFile(QM_TEST_DATA_DIR "/hpj/handwritten.hpj");
    // Header in lower case with blanks around it; comment lines skipped; keys
    // and values trimmed around "="; a line without "=" skipped.
    EXPECT_EQ(hpj.OptionKeys, (StringList{"TITLE", "COPYRIGHT", "CONTENTS", "HLP"}));
    EXPECT_EQ(hpj.OptionValues,
              (StringList{"Sample Help, Second Edition", "(c) Example Authors", "Intro", "sample.hlp"}));
    // [FILES] directly under the options; indented comment skipped.
    EXPECT_EQ(hpj.Files, (StringList{"intro.rtf", "reference.rtf"}));
    // A tab separates a map line's parts as a blank does.
    EXPECT_EQ(hpj.MapIds, (StringList{"IDH_INTRO", "IDH_REF"}));
    EXPECT_EQ(hpj.MapValues, (StringList{"10", "20"}));

    ASSERT_EQ(hpj.WindowCount(), 4);
    const TWindowInfo main = hpj.GetWindow(0);
    EXPECT_EQ(main.Name, "main");
    EXPECT_EQ(main.Caption, "Help: Files, Folders, and Links");
    EXPECT_EQ(main.X, 10);
    EXPECT_EQ(main.Y, 20);
    EXPECT_EQ(main.W, 300);
    EXPECT_EQ(main.H, 400);
    EXPECT_EQ(main.State, 0);
    EXPECT_EQ(main.Rgb1, 255);
    EXPECT_EQ(main.Rgb2, 65280);
    EXPECT_EQ(main.Rest, "f2");
    const TWindowInfo proc = hpj.GetWindow(1);
    EXPECT_EQ(proc.Caption, "Steps");
    EXPECT_EQ(proc.X, -1);
    EXPECT_EQ(proc.State, 4);
    EXPECT_EQ(proc.Rgb2, 0xFFFFFF);
    EXPECT_EQ(hpj.GetWindow(2).Caption, "Note, short");
    EXPECT_EQ(hpj.GetWindow(2).W, -1);
    EXPECT_EQ(hpj.GetWindow(3).Name, "sec");
}

TEST(HpjFile, ReadsTheProjectOurBuildWrites) {
    THpjFile hpj;
    hpj.LoadFromFile(QM_TEST_DATA_DIR "/hpj/written.hpj");
    ASSERT_EQ(hpj.OptionKeys.size(), 9u);
    EXPECT_EQ(hpj.OptionKeys[0], "TITLE");
    EXPECT_EQ(hpj.OptionKeys[8], "BMROOT");
    EXPECT_EQ(hpj.OptionValues[8], "D:\\Help\\Images");
    EXPECT_EQ(hpj.Files, (StringList{"C:\\Temp\\Quillmark\\Intro.rtf", "C:\\Temp\\Quillmark\\Details.rtf"}));
    EXPECT_EQ(hpj.MapIds, (StringList{"Intro", "Details"}));
    EXPECT_EQ(hpj.MapValues, (StringList{"5", "10"}));
    // [CONFIG] sections end the windows; they are not windows.
    ASSERT_EQ(hpj.WindowCount(), 2);
    const TWindowInfo w = hpj.GetWindow(1);
    EXPECT_EQ(w.Name, "proc4");
    EXPECT_EQ(w.Caption, "Procedures, Steps");
    EXPECT_EQ(w.X, -20);
    EXPECT_EQ(w.H, 1023);
    EXPECT_EQ(w.State, 17413);
    EXPECT_EQ(w.Rgb1, 0);
    EXPECT_EQ(w.Rgb2, 8421504);
    EXPECT_EQ(w.Rest, "f3");
    EXPECT_EQ(hpj.GetWindow(0).Rgb1, 16777215);
}

struct WindowCase {
    const char* line;
    const char* name;
    const char* caption;
    int x, y, w, h, state, rgb1, rgb2;
    const char* rest;
};

TEST(HpjFile, ParsesWindowLines) {
    const int none = 0xFFFFFF;
    const std::vector<WindowCase> cases = {
        {R"(main="Help",(10,20,300,400),0,(r123),(r456),1)", "main", "Help", 10, 20, 300, 400, 0, 123, 456, "1"},
        {R"(main="Main",,0)", "main", "Main", -1, -1, -1, -1, 0, none, none, ""},
        {R"(main=,(1,2,3,4),5)", "main", "", 1, 2, 3, 4, 5, none, none, ""},
        {R"(w="a,b",(1,,,4),,(r7))", "w", "a,b", 1, -1, -1, 4, 0, 7, none, ""},
        {R"(w="x",(1,2,3,4),0,,(r9),f1)", "w", "x", 1, 2, 3, 4, 0, none, 9, "f1"},
        {R"(w="x"",(5,6,7,8))", "w", "x", 5, 6, 7, 8, 0, none, none, ""},
        {R"(w="",(5,6,7,8))", "w", "", 5, 6, 7, 8, 0, none, none, ""},
        // Short and cut-off lines leave the remaining fields absent.
        {R"(w="x",()", "w", "x", -1, -1, -1, -1, 0, none, none, ""},
        {R"(w="x",(1,2)", "w", "x", 1, 2, -1, -1, 0, none, none, ""},
        {R"(w="x",(1,2,3,4),0,(r)", "w", "x", 1, 2, 3, 4, 0, none, none, ""},
        {R"(w="x",(1,2,3,4),0,(r12)", "w", "x", 1, 2, 3, 4, 0, 12, none, ""},
        {R"(w="unclosed,(1,2,3,4))", "w", "", 1, 2, 3, 4, 0, none, none, ""},
        {"w", "", "", -1, -1, -1, -1, 0, none, none, ""},
        // A colour group without its letter still reads the whole number.
        {R"(w="x",(1,2,3,4),0,(123),(r4))", "w", "x", 1, 2, 3, 4, 0, 123, 4, ""},
        {R"(w="x",(2147483647,-2147483648,0,-0),0)", "w", "x", 2147483647, -2147483647 - 1, 0, 0, 0, none, none, ""},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.line);
        const TWindowInfo w = THpjFile::ParseWindowLine(c.line);
        EXPECT_EQ(w.Name, c.name);
        EXPECT_EQ(w.Caption, c.caption);
        EXPECT_EQ(w.X, c.x);
        EXPECT_EQ(w.Y, c.y);
        EXPECT_EQ(w.W, c.w);
        EXPECT_EQ(w.H, c.h);
        EXPECT_EQ(w.State, c.state);
        EXPECT_EQ(w.Rgb1, c.rgb1);
        EXPECT_EQ(w.Rgb2, c.rgb2);
        EXPECT_EQ(w.Rest, c.rest);
    }
}

TEST(HpjFile, BadWindowNumbersGiveTheConversionMessage) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {R"(w="x",(-,2,3,4))", "'-' is not a valid integer value"},
        {R"(w="x",(1,2,3,4),0,(r),(r1))", "'' is not a valid integer value"},
        {R"(w="x",(1,2,3,4),1-2)", "'1-2' is not a valid integer value"},
        {R"(w="x",(2147483648,2,3,4))", "'2147483648' is not a valid integer value"},
        {R"(w="x",(-2147483649,2,3,4))", "'-2147483649' is not a valid integer value"},
        {R"(w="x",(1,2,3,4),0,(r99999999999))", "'99999999999' is not a valid integer value"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ParseError(std::string("[OPTIONS]\nA=1\n[FILES]\na.rtf\n[WINDOWS]\n") + line), message);
    }
}

// A window number of a million digits: the message quotes 200 of them.
TEST(HpjFile, AHugeBadNumberIsQuotedShort) {
    const std::string digits(1000000, '7');
    EXPECT_EQ(ParseError("[OPTIONS]\nA=1\n[FILES]\na.rtf\n[WINDOWS]\nw=\"x\",(" + digits + ",2,3,4)"),
              "'" + std::string(200, '7') + "...' is not a valid integer value");
}

TEST(HpjFile, AFileOverTheLimitIsRefused) {
    const qmtest::ScratchDir dir("qm_hpj_");
    const auto path = dir.path() / "big.hpj";
    { std::ofstream(path, std::ios::binary) << "[OPTIONS]\r\nA=1\r\n[FILES]\r\na.rtf\r\n"; }
    std::filesystem::resize_file(path, THpjFile::kMaxFileBytes + 1);
    THpjFile hpj;
    try {
        hpj.LoadFromFile(path.string());
        ADD_FAILURE() << "read";
    } catch (const qm::EFileTooLarge& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open " + path.string() + " - The file is too large (the limit is 4 MB).");
    }
}

TEST(HpjFile, SectionErrors) {
    const std::string noOptions = "Invalid HelpWorkshop project file. [OPTIONS] section is missing.";
    const std::string noFiles = "Invalid HelpWorkshop project file. [FILES] section is missing.";
    const std::string empty = "Invalid HelpWorkshop project file. No files in [FILES] section.";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[FILES]\na.rtf\n", noOptions},
        {"[OPTION]\nA=1\n[FILES]\na.rtf\n", noOptions},
        {"[FILES]\na.rtf\n[OPTIONS]", noOptions},
        {"[OPTIONS]\nA=1\n", noFiles},
        {"[OPTIONS]\nA=1\n[FILES]", noFiles},
        // A blank line does not end the files section.
        {"[OPTIONS]\nA=1\n[FILES]\n\na.rtf\n", ""},
        {"[OPTIONS]\nA=1\n[FILES]\n; only a comment\n[MAP]\n", empty},
        {"", noOptions},
        // The options body may be empty as long as a line follows the header.
        {"[OPTIONS]\n\n[FILES]\na.rtf\n", ""},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseError(text), message);
    }
}

TEST(HpjFile, ListsFilledBeforeAnErrorStay) {
    THpjFile hpj;
    EXPECT_THROW(hpj.Parse(SplitLines("[OPTIONS]\nTITLE=T\n")), Error);
    EXPECT_EQ(hpj.OptionKeys, StringList{"TITLE"});
}

TEST(HpjFile, FirstHeaderWinsAndSectionsEndAtBracket) {
    const THpjFile hpj =
        ParseText("[OPTIONS]\nA=1\n[FILES]\none.rtf\n  [map]  \nX 1\nY 2 3\nZ\n\nW 4\n[FILES]\ntwo.rtf\n");
    EXPECT_EQ(hpj.Files, StringList{"one.rtf"});
    EXPECT_EQ(hpj.MapIds, (StringList{"X", "Y", "W"}));
    EXPECT_EQ(hpj.MapValues, (StringList{"1", "2 3", "4"}));
    // The option key keeps its case-folded text; the value after the first "=".
    const THpjFile eq = ParseText("[Options]\nlang = a=b\n[files]\nf.rtf\n");
    EXPECT_EQ(eq.OptionKeys, StringList{"LANG"});
    EXPECT_EQ(eq.OptionValues, StringList{"a=b"});
}

TEST(HpjFile, KeepsAtMost255Windows) {
    std::string text = "[OPTIONS]\nA=1\n[FILES]\na.rtf\n[WINDOWS]\n";
    for (int i = 0; i < 300; ++i) text += "w" + std::to_string(i) + "=\"c\",(1,2,3,4)\n";
    const THpjFile hpj = ParseText(text);
    EXPECT_EQ(hpj.WindowCount(), 255);
    EXPECT_EQ(hpj.GetWindow(254).Name, "w254");
    EXPECT_THROW(hpj.GetWindow(255), Error);
    EXPECT_THROW(hpj.GetWindow(-1), Error);
}

TEST(HpjFile, SkipsAUtf8MarkBeforeTheFirstHeader) {
    THpjFile hpj;
    hpj.LoadFromFile(QM_TEST_DATA_DIR "/hpj/utf8mark.hpj");
    EXPECT_EQ(hpj.OptionValues, StringList{"Marked"});
    EXPECT_EQ(hpj.Files, StringList{"a.rtf"});
}

TEST(HpjFile, UnreadableFileRaisesAccessError) {
    THpjFile hpj;
    const std::string name = QM_TEST_DATA_DIR "/hpj/does-not-exist.hpj";
    try {
        hpj.LoadFromFile(name);
        FAIL() << "no error";
    } catch (const EFileAccess& e) {
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
}

// Real projects put comment blocks and blank lines inside their sections.
TEST(HpjFile, BlankAndCommentLinesDoNotEndASection) {
    struct Row {
        const char* name;
        const char* text;
        StringList files;
        StringList keys;
    };
    const std::vector<Row> rows = {
        {"CommentBlockInFiles",
         "[OPTIONS]\nTITLE=T\n[FILES]\n; the topics\n; of the guide\nintro.rtf\n\nmore.rtf\n",
         {"intro.rtf", "more.rtf"},
         {"TITLE"}},
        {"BlankLinesInOptions",
         "[OPTIONS]\nTITLE=T\n\n  ; indented comment\n\nCONTENTS=Intro\n[FILES]\na.rtf\n",
         {"a.rtf"},
         {"TITLE", "CONTENTS"}},
        {"CommentBeforeFirstFile",
         "[OPTIONS]\nTITLE=T\n[FILES]\n\n;;;;\n\n   a.rtf   \n[MAP]\nX 1\n",
         {"a.rtf"},
         {"TITLE"}},
        {"SectionEndsAtNextHeaderOnly",
         "[FILES]\na.rtf\n\n\n[OPTIONS]\n\nTITLE=T\n\n[WINDOWS]\nmain=\"M\"\n",
         {"a.rtf"},
         {"TITLE"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const THpjFile hpj = ParseText(row.text);
        EXPECT_EQ(hpj.Files, row.files);
        EXPECT_EQ(hpj.OptionKeys, row.keys);
    }
}

TEST(HpjFile, ReadsTheMapFormsRealProjectsUse) {
    struct Row {
        const char* name;
        const char* line;
        const char* id;  // nullptr: not a map line
        const char* value;
    };
    const std::vector<Row> rows = {
        {"Blank", "IDH_A 10", "IDH_A", "10"},
        {"Tab", "IDH_A\t10", "IDH_A", "10"},
        {"BlanksAndTabs", "  IDH_A \t  0x1F  ", "IDH_A", "0x1F"},
        {"Equals", "IDH_A=10", "IDH_A", "10"},
        {"EqualsWithBlanks", "IDH_A = 10", "IDH_A", "10"},
        {"Define", "#define IDH_A 0x18000", "IDH_A", "0x18000"},
        {"DefineWithTabs", "#define\tIDH_A\t\t12", "IDH_A", "12"},
        {"DefineApart", "#  define IDH_A 12", "IDH_A", "12"},
        {"TrailingComment", "IDH_A 12 // the first", "IDH_A", "12"},
        {"TrailingSemicolon", "IDH_A 12 ; the first", "IDH_A", "12"},
        {"DefineWithoutValue", "#define GUARD_H", nullptr, nullptr},
        {"OtherDirective", "#ifndef GUARD_H", nullptr, nullptr},
        {"NameOnly", "IDH_A", nullptr, nullptr},
        {"CommentLine", "// IDH_A 12", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string id, value;
        EXPECT_EQ(THpjFile::ParseMapLine(row.line, id, value), row.id != nullptr);
        if (!row.id) continue;
        EXPECT_EQ(id, row.id);
        EXPECT_EQ(value, row.value);
    }
    // Block comments, also over several lines, hold no entries.
    const THpjFile hpj = ParseText(
        "[OPTIONS]\nA=1\n[FILES]\na.rtf\n[MAP]\nX 1 /* one */\n/* Y 2\nZ 3 */ W 4\n#ifdef WIN\nV=5\n#endif\n");
    EXPECT_EQ(hpj.MapIds, (StringList{"X", "W", "V"}));
    EXPECT_EQ(hpj.MapValues, (StringList{"1", "4", "5"}));
}

// A scratch folder with a project file and its map files.
class HpjIncludeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() / ("qm-hpj-inc-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& text) {
        const auto p = dir_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    THpjFile Load(const std::string& map) {
        THpjFile hpj;
        hpj.LoadFromFile(Write("p.hpj", "[OPTIONS]\r\nTITLE=T\r\n[FILES]\r\na.rtf\r\n[MAP]\r\n" + map));
        return hpj;
    }
    std::filesystem::path dir_;
};

TEST_F(HpjIncludeTest, ReadsIncludedMapFilesInPlace) {
    Write("Help/Ids.HM", "// generated\r\n#define IDH_ONE 0x10\r\nIDH_TWO 0x20\r\n#include \"more.h\"\r\n");
    Write("Help/more.h", "IDH_FOUR 4\n");
    const THpjFile hpj = Load("IDH_ZERO 0\r\n#include <help\\ids.hm>\r\nIDH_THREE=3\r\n");
    // The include's entries stand where the include does; the nested one is
    // found beside the file that names it.
    EXPECT_EQ(hpj.MapIds, (StringList{"IDH_ZERO", "IDH_ONE", "IDH_TWO", "IDH_FOUR", "IDH_THREE"}));
    EXPECT_EQ(hpj.MapValues, (StringList{"0", "0x10", "0x20", "4", "3"}));
    EXPECT_TRUE(hpj.Warnings.empty());
}

TEST_F(HpjIncludeTest, MissingIncludeIsOneWarningNotAFailure) {
    const THpjFile hpj = Load("#include <none.h>\r\nIDH_A 1\r\n");
    EXPECT_EQ(hpj.MapIds, StringList{"IDH_A"});
    EXPECT_EQ(hpj.Warnings,
              StringList{"The map file \"none.h\" was not found: the context numbers it holds were not imported."});
    EXPECT_EQ(hpj.Files, StringList{"a.rtf"});
}

TEST_F(HpjIncludeTest, RelativeIncludesCountFromTheProjectsFolderNotTheWorkingFolder) {
    // A map file of that name in the working folder must not be read.
    const auto elsewhere = dir_ / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    std::ofstream(elsewhere / "ids.h") << "IDH_WRONG 1\n";
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);
    const THpjFile hpj = Load("#include \"ids.h\"\r\n");
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(hpj.MapIds.empty());
    EXPECT_EQ(hpj.Warnings.size(), 1u);
}

TEST_F(HpjIncludeTest, EachFileIsReadOnceAndCyclesEnd) {
    Write("a.h", "IDH_A 1\n#include \"a.h\"\n#include \"b.h\"\n");
    Write("b.h", "IDH_B 2\n#include \"A.H\"\n#include \"p.hpj\"\n");
    const THpjFile hpj = Load("#include <a.h>\r\n#include <b.h>\r\n#include <a.h>\r\n");
    EXPECT_EQ(hpj.MapIds, (StringList{"IDH_A", "IDH_B"}));
    EXPECT_TRUE(hpj.Warnings.empty());
}

TEST_F(HpjIncludeTest, AnIncludeOverTheLimitIsAWarning) {
    const std::string big = Write("big.h", "IDH_A 1\n");
    std::filesystem::resize_file(big, THpjFile::kMaxFileBytes + 1);
    const THpjFile hpj = Load("#include <big.h>\r\nIDH_B 2\r\n");
    EXPECT_EQ(hpj.MapIds, StringList{"IDH_B"});
    ASSERT_EQ(hpj.Warnings.size(), 1u);
    EXPECT_NE(hpj.Warnings[0].find("could not be read: Cannot open"), std::string::npos) << hpj.Warnings[0];
    EXPECT_NE(hpj.Warnings[0].find("the limit is 4 MB"), std::string::npos) << hpj.Warnings[0];
}

// An include that names no regular file is never opened, so neither a pipe
// nor a device can hold the import up or feed it, and the message says what
// is wrong with it.
TEST_F(HpjIncludeTest, AnIncludeOfAFolderDeviceOrPipeIsRefusedAsNoRegularFile) {
#ifdef _WIN32
    GTEST_SKIP() << "no pipes in the file system and no /dev/null there";
#else
    const std::string pipe = (dir_ / "ids.pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directories(dir_ / "ids.dir");
    const struct {
        const char* name;
        std::string include;
    } cases[] = {
        {"a pipe beside the project", "ids.pipe"},
        {"the same pipe by its full name", pipe},
        {"a folder", "ids.dir"},
        {"a device", "/dev/null"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const THpjFile hpj = Load("IDH_A 1\r\n#include <" + c.include + ">\r\nIDH_B 2\r\n");
        EXPECT_EQ(hpj.MapIds, (StringList{"IDH_A", "IDH_B"}));
        ASSERT_EQ(hpj.Warnings.size(), 1u);
        EXPECT_EQ(hpj.Warnings[0], "The map file \"" + c.include +
                                       "\" is not a regular file: it was not read, and the context numbers it "
                                       "would give were not imported.");
    }
#endif
}

// The compiler reads a map file from anywhere; so does the import, but each
// one from outside the project's folder is named in the notes by its full
// name, however the include reached it.
TEST_F(HpjIncludeTest, IncludesFromOutsideTheProjectsFolderAreListedByTheirFullNames) {
    std::filesystem::create_directories(dir_ / "proj" / "sub");
    const std::string outside = Write("shared/ids.h", "IDH_OUT 7\n");
    Write("shared/more.h", "IDH_MORE 8\n");
    Write("proj/sub/inside.h", "IDH_IN 9\n#include \"../../shared/more.h\"\n");
    std::error_code linkError;  // Windows lets few users make links
    std::filesystem::create_symlink(dir_ / "shared" / "ids.h", dir_ / "proj" / "link.h", linkError);
    const std::string full = std::filesystem::weakly_canonical(outside).string();
    const std::string more = std::filesystem::weakly_canonical(dir_ / "shared" / "more.h").string();

    const struct {
        const char* name;
        std::string include;
        StringList ids;
        StringList warnings;
    } cases[] = {
        {"by its full name", outside, {"IDH_OUT"}, {full}},
        {"named from the project's folder", "..\\shared\\ids.h", {"IDH_OUT"}, {full}},
        {"through a link in the project's folder", "link.h", {"IDH_OUT"}, {full}},
        {"one inside, which includes one outside", "sub\\inside.h", {"IDH_IN", "IDH_MORE"}, {more}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (linkError && c.include == "link.h") continue;
        THpjFile hpj;
        hpj.LoadFromFile(Write(
            "proj/p.hpj", "[OPTIONS]\r\nTITLE=T\r\n[FILES]\r\na.rtf\r\n[MAP]\r\n#include <" + c.include + ">\r\n"));
        EXPECT_EQ(hpj.MapIds, c.ids);
        StringList expected;
        for (const std::string& name : c.warnings)
            expected.push_back("The map file \"" + name +
                               "\" lies outside the project's folder: the context numbers it holds were read from it.");
        EXPECT_EQ(hpj.Warnings, expected);
    }
}

// Window lines as the help compiler of Windows 3.1 wrote them: no caption,
// colours as red, green and blue, fields left empty.
TEST(HpjFile, ReadsColourTriplesAndEmptyFields) {
    const int none = 0xFFFFFF;
    const std::vector<WindowCase> cases = {
        {"main=,(0,0,1023,1023),1,(255,255,255),(192,192,192),0", "main", "", 0, 0, 1023, 1023, 1, 0xFFFFFF, 0xC0C0C0,
         "0"},
        {"sec=\"S\",(,,500,),0,(0,0,255),(255,128,0)", "sec", "S", -1, -1, 500, -1, 0, 0xFF0000, 0x0080FF, ""},
        // A triple with an empty field gives no colour.
        {"w=,(1,2,3,4),0,(255,,),(,,)", "w", "", 1, 2, 3, 4, 0, none, none, ""},
        // Fields beyond a byte are held to one.
        {"w=,(1,2,3,4),0,(300,0,0)", "w", "", 1, 2, 3, 4, 0, 0xFF, none, ""},
        // The help compiler's own form still reads as before.
        {"w=,(1,2,3,4),0,(r123),(r456),f1", "w", "", 1, 2, 3, 4, 0, 123, 456, "f1"},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.line);
        const TWindowInfo w = THpjFile::ParseWindowLine(c.line);
        EXPECT_EQ(w.Name, c.name);
        EXPECT_EQ(w.Caption, c.caption);
        EXPECT_EQ(w.X, c.x);
        EXPECT_EQ(w.Y, c.y);
        EXPECT_EQ(w.W, c.w);
        EXPECT_EQ(w.H, c.h);
        EXPECT_EQ(w.State, c.state);
        EXPECT_EQ(w.Rgb1, c.rgb1);
        EXPECT_EQ(w.Rgb2, c.rgb2);
        EXPECT_EQ(w.Rest, c.rest);
    }
    EXPECT_EQ(ParseError("[OPTIONS]\nA=1\n[FILES]\na.rtf\n[WINDOWS]\nw=,(1,2,3,4),0,(-,0,0)"),
              "'-' is not a valid integer value");
}

}  // namespace
}  // namespace qm
