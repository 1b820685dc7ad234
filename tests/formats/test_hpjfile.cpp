#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/hpjfile.h"
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
    // Its [MAP] holds only include directives, which split at their blank.
    ASSERT_EQ(hpj.MapIds.size(), 2u);
    EXPECT_EQ(hpj.MapIds[0], "#include");
    EXPECT_EQ(hpj.MapValues[1], "<hlp\\Pegasus.hm>");
    EXPECT_EQ(hpj.WindowCount(), 0);
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
    // The tab-separated map line is skipped.
    EXPECT_EQ(hpj.MapIds, StringList{"IDH_INTRO"});
    EXPECT_EQ(hpj.MapValues, StringList{"10"});

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
    const auto path = std::filesystem::temp_directory_path() / ("qm-hpj-big-" + std::to_string(::getpid()) + ".hpj");
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
    std::filesystem::remove(path);
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
        {"[OPTIONS]\nA=1\n[FILES]\n\na.rtf\n", empty},
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

TEST(HpjFile, FirstHeaderWinsAndSectionsEndAtBlankOrBracket) {
    const THpjFile hpj =
        ParseText("[OPTIONS]\nA=1\n[FILES]\none.rtf\n  [map]  \nX 1\nY 2 3\nZ\n\nW 4\n[FILES]\ntwo.rtf\n");
    EXPECT_EQ(hpj.Files, StringList{"one.rtf"});
    EXPECT_EQ(hpj.MapIds, (StringList{"X", "Y"}));
    EXPECT_EQ(hpj.MapValues, (StringList{"1", "2 3"}));
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

}  // namespace
}  // namespace qm
