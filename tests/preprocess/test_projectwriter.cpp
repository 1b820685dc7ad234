#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "preprocess/projectwriter.h"
#include "preprocess/topicwriter.h"
#include "support/scratchdir.h"
#include "util/errors.h"
#include "util/textfile.h"

namespace qm {
namespace {

TWindowDef Window(std::uint8_t attributes, std::uint8_t buttons, std::uint8_t adjustRes) {
    TWindowDef w;
    w.Attributes = attributes;
    w.Buttons = buttons;
    w.AdjustRes = adjustRes;
    return w;
}

TEST(WindowLine, FlagsAndSuffix) {
    using namespace WindowAttributes;
    using namespace WindowButtons;
    struct Case {
        TWindowDef w;
        const char* flags;
        const char* suffix;
    } cases[] = {
        {Window(0, 51, 0), "27652", ",f4"},  // a new window
        {Window(Maximize | KeepOnTop | AutoSizeHeight, Contents | Back, 1), "17413", ",f3"},
        {Window(0, 0, 1), "4", ""},
        {Window(0, 255, 1), "65284", ""},
        {Window(0, Options, 1), "260", ""},
        {Window(0, Browse, 1), "516", ""},
        {Window(0, HelpTopics, 1), "4100", ""},
        {Window(0, Find, 1), "32772", ""},
        {Window(KeepOnTop, 0, 1), "4", ",f1"},
        {Window(AutoSizeHeight, 0, 1), "4", ",f2"},
        {Window(KeepOnTop | AutoSizeHeight, 0, 0), "4", ",f7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowFlags(c.w), c.flags) << int(c.w.Attributes) << "/" << int(c.w.Buttons);
        EXPECT_EQ(WindowFSuffix(c.w), c.suffix) << int(c.w.Attributes) << "/" << int(c.w.Buttons);
    }
    TWindowDef noDefaults = Window(0, 51, 0);
    noDefaults.NoDefaultButtons = true;
    EXPECT_EQ(WindowFlags(noDefaults), "27652");
}

TEST(PathMapping, WineAndAsIs) {
    EXPECT_EQ(MapPathForWine("/tmp/Quillmark\\Intro.rtf"), "Z:\\tmp\\Quillmark\\Intro.rtf");
    EXPECT_EQ(MapPathForWine("/home/a b/Help"), "Z:\\home\\a b\\Help");
    EXPECT_EQ(MapPathForWine("D:\\Help"), "D:\\Help");
    EXPECT_EQ(MapPathForWine(""), "");
    EXPECT_EQ(MapPathAsIs("/tmp/x\\y"), "/tmp/x\\y");
}

TEST(StoredColors, SystemColoursAreResolved) {
    EXPECT_EQ(ResolveStoredColor(0x00FF8000u), 0x00FF8000u);
    EXPECT_EQ(ResolveStoredColor(0x80000005u), 0x00FFFFFFu);  // window
    EXPECT_EQ(ResolveStoredColor(0xFF000008u), 0x00000000u);  // window text
    EXPECT_EQ(ResolveStoredColor(0x8000000Fu), 0x00C8D0D4u);  // button face
}

std::string Options(const TProject& p) {
    const StringList lines = SplitLines(HelpProjectText(p, "C:\\Temp\\Quillmark"));
    std::string out;
    for (const std::string& l : lines) {
        if (l.empty()) break;
        out += l + "\n";
    }
    return out;
}

TEST(HelpProjectText, Compression) {
    struct Case {
        std::uint8_t mode;
        std::int32_t flags;
        const char* lines;
    } cases[] = {
        {0, 0, "COMPRESS=NO\n"},
        {0, 14, "COMPRESS=NO\n"},
        {1, 0, "COMPRESS=12\n"},
        {2, 4 + 2 + 64, "COMPRESS=6\nOLDKEYPHRASE=YES\n"},
        {2, 8, "COMPRESS=8\nOLDKEYPHRASE=NO\n"},
        {2, 64, "COMPRESS=0\nOLDKEYPHRASE=NO\n"},
        {2, 2, "COMPRESS=2\nOLDKEYPHRASE=NO\n"},
        {2, 1 + 16 + 32, "COMPRESS=0\nOLDKEYPHRASE=NO\n"},
        {7, 4 + 8, "COMPRESS=12\nOLDKEYPHRASE=NO\n"},
    };
    for (const Case& c : cases) {
        TProject p;
        p.FileName = "D:\\Help\\Guide.qpf";
        p.CompressMode = c.mode;
        p.CompressFlags = c.flags;
        EXPECT_EQ(Options(p), std::string("[OPTIONS]\nTITLE=\n") + c.lines +
                                  "REPORT=YES\nERRORLOG=C:\\Temp\\Quillmark\\hcwreport.log\nBMROOT=D:\\Help\n")
            << int(c.mode) << "/" << c.flags;
    }
}

TEST(HelpProjectText, OptionalLinesAndNoContentsTopic) {
    TProject p;
    p.FileName = "D:\\Help\\Guide.qpf";
    p.SetTitle("My Help");
    p.SetCopyright("(c) Me");
    p.SetCitation("Cite me");
    p.SetHlpFile("Guide.hlp");
    p.SetCntFile("Guide.cnt");
    // No topic carries the contents flag: the line is left out, nothing fails.
    p.Topics.AddNew().SetName("First");
    EXPECT_EQ(Options(p),
              "[OPTIONS]\nTITLE=My Help\nCOPYRIGHT=(c) Me\nCITATION=Cite me\nCOMPRESS=NO\nREPORT=YES\n"
              "HLP=Guide.hlp\nCNT=Guide.cnt\nERRORLOG=C:\\Temp\\Quillmark\\hcwreport.log\nBMROOT=D:\\Help\n");
}

TEST(HelpProjectText, FirstWindowMacrosGoUnderConfig) {
    TProject p;
    p.FileName = "D:\\Help\\Guide.qpf";
    TTopicNode& t = p.Topics.AddNew();
    t.SetName("Intro");
    t.IsContents = true;
    t.ContextId = 5;
    TWindowDef& w = p.Windows.Add();
    w.SetName("special");
    w.X = -5;
    w.Y = 0;
    w.Macros = {"BrowseButtons()", "CB(`x',`y',`z')"};
    EXPECT_EQ(HelpProjectText(p, "C:\\Temp\\Quillmark\\"),
              "[OPTIONS]\r\nTITLE=\r\nCOMPRESS=NO\r\nCONTENTS=Intro\r\nREPORT=YES\r\n"
              "ERRORLOG=C:\\Temp\\Quillmark\\hcwreport.log\r\nBMROOT=D:\\Help\r\n\r\n"
              "[FILES]\r\nC:\\Temp\\Quillmark\\Intro.rtf\r\n\r\n"
              "[WINDOWS]\r\nspecial=\"\",(-5,0,600,480),27652,(r16777215),(r16777215),f4\r\n\r\n"
              "[CONFIG]\r\nBrowseButtons()\r\nCB(`x',`y',`z')\r\n\r\n"
              "[MAP]\r\nIntro 5\r\n\r\n"
              "[INCLUDE]\r\n\r\n[EXCLUDE]\r\n");
}

// A compiler that runs natively gets native paths; one under wine gets the
// paths it always got.
TEST(HelpProjectText, PathsJoinWithTheFoldersOwnSeparator) {
    struct Row {
        const char* name;
        const char* work;
        TPathMapper map;
        const char* errorLog;
        const char* file;
    };
    const Row rows[] = {
        {"posix folder, native", "/tmp/Quillmark-0", MapPathAsIs, "/tmp/Quillmark-0/hcwreport.log",
         "/tmp/Quillmark-0/Intro.rtf"},
        {"posix folder with separator, native", "/tmp/Quillmark-0/", MapPathAsIs, "/tmp/Quillmark-0/hcwreport.log",
         "/tmp/Quillmark-0/Intro.rtf"},
        {"posix folder, wine", "/tmp/Quillmark-0", MapPathForWine, "Z:\\tmp\\Quillmark-0\\hcwreport.log",
         "Z:\\tmp\\Quillmark-0\\Intro.rtf"},
        {"windows folder, native", "C:\\Temp\\Quillmark", MapPathAsIs, "C:\\Temp\\Quillmark\\hcwreport.log",
         "C:\\Temp\\Quillmark\\Intro.rtf"},
        {"windows folder, wine", "C:\\Temp\\Quillmark", MapPathForWine, "C:\\Temp\\Quillmark\\hcwreport.log",
         "C:\\Temp\\Quillmark\\Intro.rtf"},
        {"mixed folder takes its last separator", "C:/Temp\\Quillmark", MapPathAsIs,
         "C:/Temp\\Quillmark\\hcwreport.log", "C:/Temp\\Quillmark\\Intro.rtf"},
        {"bare folder", "work", MapPathAsIs, "work\\hcwreport.log", "work\\Intro.rtf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TProject p;
        p.FileName = "/home/ann/Help/Guide.qpf";
        p.Topics.AddNew().SetName("Intro");
        const StringList lines = SplitLines(HelpProjectText(p, row.work, row.map));
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("ERRORLOG=") + row.errorLog), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string(row.file)), lines.end());
    }
}

TEST(HelpProjectText, WinePaths) {
    TProject p;
    p.FileName = "/home/ann/Help/Guide.qpf";
    p.BmRoot = {"/home/ann/Help/img"};
    p.Topics.AddNew().SetName("Intro");
    const std::string text = HelpProjectText(p, "/tmp/Quillmark", MapPathForWine);
    EXPECT_NE(text.find("\r\nERRORLOG=Z:\\tmp\\Quillmark\\hcwreport.log\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nBMROOT=Z:\\home\\ann\\Help\r\nBMROOT=Z:\\home\\ann\\Help\\img\r\n"), std::string::npos);
    EXPECT_NE(text.find("[FILES]\r\nZ:\\tmp\\Quillmark\\Intro.rtf\r\n"), std::string::npos);
}

// The name is joined to the folder with the folder's own separator, so a
// POSIX project gets a POSIX path and a Windows one keeps its backslashes.
TEST(HelpProjectPath, UsesTheProjectsOwnSeparators) {
    struct Row {
        const char* name;
        const char* projectFile;
        const char* folder;
        const char* expected;
    } rows[] = {
        {"windows folder", "D:\\Help\\Guide.qpf", "D:\\Help", "D:\\Help\\Guide.hpj"},
        {"windows folder with its separator", "D:\\Help\\Guide.qpf", "D:\\Help\\", "D:\\Help\\Guide.hpj"},
        {"posix folder", "/home/ann/Help/Guide.qpf", "/home/ann/Help", "/home/ann/Help/Guide.hpj"},
        {"posix folder with its separator", "/home/ann/Help/Guide.qpf", "/home/ann/Help/", "/home/ann/Help/Guide.hpj"},
        {"the root", "/Guide.qpf", "/", "/Guide.hpj"},
        {"mixed folder: its last separator", "C:\\x/y/Guide.qpf", "C:\\x/y", "C:\\x/y/Guide.hpj"},
        {"a folder without a separator: the project file's", "/home/ann/Guide.qpf", "Help", "Help/Guide.hpj"},
        {"neither has one", "Guide.qpf", "Help", "Help\\Guide.hpj"},
        {"no folder", "Guide.qpf", "", "Guide.hpj"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TProject p;
        p.FileName = row.projectFile;
        EXPECT_EQ(HelpProjectPath(p, row.folder), row.expected);
    }
}

TEST(WriteProjectFile, WritesBesideTheProjectAndReturnsItsNativeName) {
    qmtest::ScratchDir dir;
    TProject p;
    p.FileName = dir.file("Guide.qpf");
    const std::string path = WriteProjectFile(p, dir.str(), "C:\\Temp\\Quillmark");
    // The returned name is the file's own: the compiler and the messages use it.
    EXPECT_EQ(path, dir.file("Guide.hpj"));
    EXPECT_EQ(qmtest::ReadRaw(path), HelpProjectText(p, "C:\\Temp\\Quillmark"));
}

TEST(WriteProjectFile, FailureNamesTheHelpProject) {
    qmtest::ScratchDir dir;
    TProject p;
    p.FileName = "D:\\Help\\Guide.qpf";
    const std::string folder = dir.file("missing");
    try {
        WriteProjectFile(p, folder, "C:\\Temp\\Quillmark");
        FAIL() << "no error";
    } catch (const EFileAccess& e) {
        EXPECT_NE(std::string(e.what()).find(HelpProjectPath(p, folder)), std::string::npos) << e.what();
    }
}

TEST(ModuleNames, UnusableNamesStopTheBuildBeforeAnyFile) {
    // The last ones build here but not on Windows, or would break the
    // [FILES] line they go on.
    for (const char* bad : {"", ".", "..", "a\\b", "..\\evil", "a/b", "C:x", "CON", "lpt1.x", "a*b", "a|b", "a\nb"}) {
        qmtest::ScratchDir dir;
        std::filesystem::create_directory(dir.path() / "work");
        TProject p;
        p.FileName = "D:\\Help\\Guide.qpf";
        p.Topics.AddNew().SetName("Fine");
        p.Topics.AddNew().SetName(bad);
        const std::string expected = std::string("The module name \"") + bad + "\" cannot be used as a file name.";
        try {
            WriteProjectFile(p, dir.str(), dir.file("work"));
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), expected);
        }
        TOutputLog log;
        try {
            WriteTopicFiles(p, dir.file("work"), log);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), expected);
        }
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"work"})) << bad;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "work")) << bad;
    }
    TProject ok;
    ok.Topics.AddNew().SetName("a.b c");
    EXPECT_NO_THROW(CheckModuleFileNames(ok));
}

// A name the model holds but whose work file ("<name>.rtf") the file system
// cannot: the message names the module instead of the work folder.
TEST(ModuleNames, NamesTooLongForAFileNameAreNamed) {
    struct Row {
        const char* name;
        std::string module;
        bool fits;
    };
    const Row rows[] = {
        {"ascii_251", std::string(251, 'a'), true},        // 255 bytes with ".rtf"
        {"ascii_252", std::string(252, 'a'), false},       // 256
        {"ascii_255", std::string(255, 'a'), false},       // the field's full width
        {"accented_125", std::string(125, '\xE9'), true},  // two UTF-8 bytes each: 254
#ifndef _WIN32
        // Windows counts UTF-16 units, one per letter, so the name fits there
        // (but wine's host folder would refuse the file).
        {"accented_126", std::string(126, '\xE9'), false},  // 256
#endif
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        qmtest::ScratchDir dir;
        std::filesystem::create_directory(dir.path() / "work");
        TProject p;
        p.FileName = "D:\\Help\\Guide.qpf";
        p.Topics.AddNew().SetName(r.module);
        ASSERT_EQ(p.Topics.GetNode(0).GetName(), r.module);
        TOutputLog log;
        if (r.fits) {
            EXPECT_NO_THROW(WriteTopicFiles(p, dir.file("work"), log));
            continue;
        }
        try {
            WriteTopicFiles(p, dir.file("work"), log);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "The module name \"" + QuoteInput(r.module) + "\" is too long to be used as a file name.");
            EXPECT_EQ(std::string(e.what()).find(dir.str()), std::string::npos) << "names the work folder";
        }
        EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "work"));
    }
}

// A module name quoted in a message is cut at 200 characters.
TEST(ModuleNames, LongNamesAreQuotedShort) {
    TProject p;
    p.Topics.AddNew().SetName(std::string(250, 'x') + "\\");
    try {
        CheckModuleFileNames(p);
        FAIL() << "accepted";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The module name \"" + std::string(200, 'x') + "...\" cannot be used as a file name.");
    }
}

}  // namespace
}  // namespace qm
