// What the build refuses before it writes anything: texts that would add or
// break lines of the help project or of a topic file, help and contents file
// names that would lead the build's writes and deletes out of the project's
// folder, and module names that Windows cannot store.
#include "preprocess/buildchecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "preprocess/outputlog.h"
#include "preprocess/projectwriter.h"
#include "preprocess/topicwriter.h"
#include "support/scratchdir.h"
#include "util/errors.h"
#include "util/fileio.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

using Mutation = std::function<void(TProject&)>;

// A small project with a module, a popup and two windows, as the model holds it.
void FillProject(TProject& p) {
    p.SetTitle("Guide");
    p.SetHlpFile("Guide.hlp");
    TTopicNode& intro = p.Topics.AddNew();
    intro.SetName("Intro");
    intro.SetTitle("Welcome");
    intro.IsContents = true;
    intro.ContextId = 5;
    intro.Text = "{\\rtf1\\viewkind4 Hello\\par}";
    TTopicNode& def = p.Topics.AddNew();
    def.SetName("Def");
    def.Kind = TopicKind::Popup;
    def.Text = "{\\rtf1 A term.}";
    p.Windows.Add().SetName("main");
    p.Windows.Add().SetName("proc4");
}

// The project after a trip through the project file, as a crafted .qpf
// would be opened: the file keeps CR and LF inside its fields.
std::unique_ptr<TProject> Crafted(const Mutation& craft) {
    TProject made;
    FillProject(made);
    craft(made);
    auto p = std::make_unique<TProject>();
    p->LoadFromBytes(made.SaveToBytes(), "Crafted.qpf");
    return p;
}

// A project folder, a work folder and a folder beside them that the build
// must never write to.
class BuildFolders : public ::testing::Test {
protected:
    BuildFolders() {
        for (const char* f : {"proj", "work", "outside"}) fs::create_directory(dir.path() / f);
        qmtest::WriteRaw(dir.file("outside/victim"), "keep me");
    }

    // The messages of WriteProjectFile and WriteTopicFiles ("" when one wrote).
    std::pair<std::string, std::string> Build(TProject& p) {
        p.FileName = dir.file("proj/Guide.qpf");
        std::pair<std::string, std::string> messages;
        try {
            WriteProjectFile(p, dir.file("proj"), dir.file("work"));
        } catch (const Error& e) {
            messages.first = e.what();
        }
        TOutputLog log;
        try {
            WriteTopicFiles(p, dir.file("work"), log);
        } catch (const Error& e) {
            messages.second = e.what();
        }
        return messages;
    }

    void ExpectNothingWritten() {
        EXPECT_TRUE(fs::is_empty(dir.path() / "proj"));
        EXPECT_TRUE(fs::is_empty(dir.path() / "work"));
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"outside", "proj", "work"}));
        EXPECT_EQ(qmtest::ReadRaw(dir.file("outside/victim")), "keep me");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "outside"), fs::directory_iterator()), 1);
    }

    qmtest::ScratchDir dir;
};

struct LineRow {
    const char* name;
    Mutation craft;
    std::string message;
};

std::string LineMessage(const std::string& field, const std::string& owner) {
    return "The " + field + " of " + owner + " cannot hold a line break or other control character.";
}

TEST_F(BuildFolders, ALineBreakInAnyTextStopsTheBuildBeforeAnythingIsWritten) {
    const std::string evil = "\r\nERRORLOG=" + dir.file("outside/victim") + "\r\nHLP=" + dir.file("outside/x.hlp");
    const std::string project = "the project";
    const std::string intro = "module \"Intro\"";
    const std::string main = "window \"main\"";
    const LineRow rows[] = {
        {"title", [&](TProject& p) { p.SetTitle("Guide" + evil); }, LineMessage("title", project)},
        {"copyright", [&](TProject& p) { p.SetCopyright("(c)" + evil); }, LineMessage("copyright", project)},
        {"citation", [&](TProject& p) { p.SetCitation("cite" + evil); }, LineMessage("citation", project)},
        {"help file", [&](TProject& p) { p.SetHlpFile("Guide.hlp" + evil); }, LineMessage("help file name", project)},
        {"contents file", [&](TProject& p) { p.SetCntFile("Guide.cnt\nx"); },
         LineMessage("contents file name", project)},
        {"image folder",
         [&](TProject& p) {
             p.BmRoot = {"img", "img2" + evil};
         },
         LineMessage("image folders", project)},
        {"build tag to include", [&](TProject& p) { p.IncludeTags = {"WEB" + evil}; },
         LineMessage("build tags to include", project)},
        {"build tag to exclude", [&](TProject& p) { p.ExcludeTags = {"X\r"}; },
         LineMessage("build tags to exclude", project)},
        {"window name", [&](TProject& p) { p.Windows.GetWindow(2).SetName("w\nHLP"); },
         LineMessage("name", "window \"w\nHLP\"")},
        {"window caption", [&](TProject& p) { p.Windows.GetWindow(1).SetCaption("Guide" + evil); },
         LineMessage("caption", main)},
        {"window macro", [&](TProject& p) { p.Windows.GetWindow(1).Macros = {"BrowseButtons()" + evil}; },
         LineMessage("macros", main)},
        {"module title", [&](TProject& p) { p.Topics.GetNode(0).SetTitle("Welcome\r\n#{\\footnote x}"); },
         LineMessage("title", intro)},
        {"keyword",
         [&](TProject& p) {
             p.Topics.GetNode(0).Keywords = {"ok", "bad\n"};
         },
         LineMessage("keywords", intro)},
        {"A-keyword", [&](TProject& p) { p.Topics.GetNode(0).AKeywords = {"a\x01"}; },
         LineMessage("A-keywords", intro)},
        {"entry macro", [&](TProject& p) { p.Topics.GetNode(0).Macros = {"Exit()\r\n"}; },
         LineMessage("entry macros", intro)},
        {"module window", [&](TProject& p) { p.Topics.GetNode(0).SetWindow("ma\nin"); }, LineMessage("window", intro)},
        {"browse string", [&](TProject& p) { p.Topics.GetNode(0).SetBrowse("seq:1\r\n"); },
         LineMessage("browse string", intro)},
        {"module build tag", [&](TProject& p) { p.Topics.GetNode(1).SetBuildTag("WEB\x1b"); },
         LineMessage("build tag", "module \"Def\"")},
        {"module name", [&](TProject& p) { p.Topics.GetNode(1).SetName("Def\r\nHLP=x.hlp"); },
         "The module name \"Def\r\nHLP=x.hlp\" cannot be used as a file name."},
    };
    for (const LineRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<TProject> p = Crafted(row.craft);
        EXPECT_EQ(Build(*p), std::make_pair(row.message, row.message));
        ExpectNothingWritten();
    }
}

TEST_F(BuildFolders, TabsAreFineOnALine) {
    std::unique_ptr<TProject> p = Crafted([](TProject& p) {
        p.SetTitle("A\tB");
        p.Windows.GetWindow(1).SetCaption("C\tD");
        p.Topics.GetNode(0).Keywords = {"k\tw"};
    });
    EXPECT_EQ(Build(*p), std::make_pair(std::string(), std::string()));
    const std::string hpj = qmtest::ReadRaw(dir.file("proj/Guide.hpj"));
    EXPECT_NE(hpj.find("\r\nTITLE=A\tB\r\n"), std::string::npos);
    EXPECT_NE(hpj.find("\r\nmain=\"C\tD\","), std::string::npos);
    EXPECT_NE(qmtest::ReadRaw(dir.file("work/Intro.rtf")).find("K{\\footnote k\tw;}\r\n"), std::string::npos);
}

TEST_F(BuildFolders, AFolderNameWithALineBreakIsNotWrittenIntoTheHelpProject) {
    TProject p;
    FillProject(p);
#ifndef _WIN32
    // Windows file names hold no control characters; there the folder name
    // is only text in the project's file name.
    fs::create_directory(dir.path() / "proj\nERRORLOG=x");
#endif
    p.FileName = dir.file("proj\nERRORLOG=x/Guide.qpf");
    try {
        WriteProjectFile(p, dir.file("proj\nERRORLOG=x"), dir.file("work"));
        ADD_FAILURE() << "written";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "The folder " + dir.file("proj\nERRORLOG=x/") +
                                             " cannot be named in the help project: its name holds a line break or "
                                             "other control character.");
    }
    p.FileName = dir.file("proj/Guide.qpf");
    EXPECT_THROW(WriteProjectFile(p, dir.file("proj"), dir.file("wo\rrk")), Error);
    EXPECT_TRUE(fs::is_empty(dir.path() / "proj"));
#ifndef _WIN32
    EXPECT_TRUE(fs::is_empty(dir.path() / "proj\nERRORLOG=x"));
#endif
}

// ------------------------------------------------------------ help file names

struct OutputRow {
    const char* name;
    std::string hlp;
    std::string cnt;
    std::string message;  // "" when the build may go on
};

std::string FolderMessage(const std::string& what, const std::string& name) {
    return "The " + what + " name \"" + name + "\" must be a file name without a folder or drive.";
}

std::string UnusableMessage(const std::string& what, const std::string& name) {
    return "The " + what + " name \"" + name + "\" cannot be used as a file name.";
}

TEST_F(BuildFolders, HelpAndContentsFilesStayBesideTheProject) {
    const OutputRow rows[] = {
        {"plain names", "Guide.hlp", "Guide.cnt", ""},
        {"no names", "", "", ""},
        {"parent folder", "..\\outside\\victim", "", FolderMessage("help file", "..\\outside\\victim")},
        {"parent folder, slashes", "../outside/victim", "", FolderMessage("help file", "../outside/victim")},
        {"dot dot alone", "..", "", FolderMessage("help file", "..")},
        {"sub-folder", "sub\\Guide.hlp", "", FolderMessage("help file", "sub\\Guide.hlp")},
        {"absolute", "/etc/Guide.hlp", "", FolderMessage("help file", "/etc/Guide.hlp")},
        {"drive", "C:\\Windows\\Guide.hlp", "", FolderMessage("help file", "C:\\Windows\\Guide.hlp")},
        {"drive-relative", "C:Guide.hlp", "", FolderMessage("help file", "C:Guide.hlp")},
        {"device", "CON.hlp", "", UnusableMessage("help file", "CON.hlp")},
        {"wildcard", "Guide*.hlp", "", UnusableMessage("help file", "Guide*.hlp")},
        {"contents in a folder", "Guide.hlp", "..\\Guide.cnt", FolderMessage("contents file", "..\\Guide.cnt")},
        {"contents device", "Guide.hlp", "aux", UnusableMessage("contents file", "aux")},
    };
    for (const OutputRow& row : rows) {
        SCOPED_TRACE(row.name);
        TProject p;
        FillProject(p);
        p.SetHlpFile(row.hlp);
        p.SetCntFile(row.cnt);
        p.FileName = dir.file("proj/Guide.qpf");
        if (row.message.empty()) {
            EXPECT_NO_THROW(CheckOutputFileNames(p));
            EXPECT_EQ(HelpIndexPath(p), dir.file("proj/") + "Guide.gid");
            continue;
        }
        try {
            CheckOutputFileNames(p);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), row.message);
        }
        EXPECT_THROW(HelpIndexPath(p), Error) << "the build would delete a .gid elsewhere";
        EXPECT_EQ(Build(p), std::make_pair(row.message, row.message));
        ExpectNothingWritten();
    }
}

TEST(HelpIndexPath, IsBesideTheProjectUnderTheHelpFilesName) {
    struct Row {
        const char* name;
        const char* project;
        const char* hlp;
        const char* gid;
    };
    const Row rows[] = {
        {"windows folder", "D:\\Help\\Guide.qpf", "Manual.hlp", "D:\\Help\\Manual.gid"},
        {"posix folder", "/home/ann/Help/Guide.qpf", "Manual.HLP", "/home/ann/Help/Manual.gid"},
        {"no extension", "/home/ann/Guide.qpf", "Manual", "/home/ann/Manual.gid"},
        {"no help file name", "/home/ann/Guide.qpf", "", "/home/ann/Guide.gid"},
        {"no project file", "", "Manual.hlp", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TProject p;
        p.FileName = row.project;
        p.SetHlpFile(row.hlp);
        EXPECT_EQ(HelpIndexPath(p), row.gid);
    }
}

// ---------------------------------------------------------------- file names

TEST(PortableFileName, RefusesWhatWindowsCannotStore) {
    struct Row {
        const char* name;
        std::string file;
        bool portable;
    };
    const Row rows[] = {
        {"plain", "Intro", true},
        {"blank and dot", "a.b c", true},
        {"accented", "Caf\xe9", true},
        {"longer than a device", "CONSOLE", true},
        {"device prefix", "Conference", true},
        {"COM10", "COM10", true},
        {"COM0", "COM0", true},
        {"NULL", "NULL", true},
        {"empty", "", false},
        {"dot", ".", false},
        {"dot dot", "..", false},
        {"CON", "CON", false},
        {"con lower case", "con", false},
        {"PRN", "Prn", false},
        {"AUX with extension", "AUX.rtf", false},
        {"NUL with two extensions", "nul.tar.gz", false},
        {"COM1", "COM1", false},
        {"com9 with extension", "com9.txt", false},
        {"LPT1", "LPT1", false},
        {"lpt9", "lpt9", false},
        {"COM superscript one", "COM\xb9", false},
        {"device with trailing blank", "CON .txt", false},
        {"star", "a*b", false},
        {"question mark", "a?b", false},
        {"double quote", "a\"b", false},
        {"less than", "a<b", false},
        {"greater than", "a>b", false},
        {"bar", "a|b", false},
        {"backslash", "a\\b", false},
        {"slash", "a/b", false},
        {"colon", "C:x", false},
        {"tab", "a\tb", false},
        {"line feed", "a\nb", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsPortableFileName(row.file), row.portable);
        TProject p;
        p.Topics.AddNew().SetName("Fine");
        p.Topics.AddNew().SetName(row.file);
        if (row.portable) {
            EXPECT_NO_THROW(CheckModuleFileNames(p));
        } else {
            try {
                CheckModuleFileNames(p);
                ADD_FAILURE() << "accepted";
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), "The module name \"" + row.file + "\" cannot be used as a file name.");
            }
        }
    }
}

TEST(ControlCharacters, AllButTabBreakALine) {
    EXPECT_FALSE(HoldsControlCharacter(""));
    EXPECT_FALSE(HoldsControlCharacter("a\tb \x7f\x80\xff"));
    for (int c = 0; c < 0x20; ++c) {
        if (c == '\t') continue;
        EXPECT_TRUE(HoldsControlCharacter(std::string("a") + static_cast<char>(c))) << c;
    }
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

// What a build would report, counted without a file written: each check's
// findings by their rank in the options, or what stops the build first.
TEST(ForecastBuild, CountsEachChecksFindingsAsTheBuildRanksThem) {
    qmtest::ScratchDir dir;
    TProject p;
    p.FileName = dir.file("Guide.qpf");
    TTopicNode& intro = p.Topics.AddNew();
    intro.SetName("Intro");
    intro.IsContents = true;
    TTopicNode& other = p.Topics.AddNew();
    other.SetName("Other");
    other.Text =
        "{\\rtf1\\viewkind4 <LINK TOPIC=\"gone\">a</LINK> <LINK TOPIC=\"lost\">b</LINK> "
        "<LINK POPUP=\"Intro\">c</LINK> <LINK TOPIC=\"Intro:nowhere\">d</LINK> <BTN Back()>open}";
    TCheckSettings checks;
    checks.SetErrorType(Check::TopicInPopupLink, 1);
    checks.SetError(Check::UnclosedTag, false);

    const TBuildForecast f = ForecastBuild(p, checks);
    EXPECT_TRUE(f.Refusal.empty()) << f.Refusal;
    std::array<int, TCheckSettings::kChecks> errors{}, warnings{};
    errors[Check::UnresolvedLink - 1] = 2;
    errors[Check::UnresolvedAnchor - 1] = 1;
    warnings[Check::TopicInPopupLink - 1] = 1;
    EXPECT_EQ(f.Errors, errors);
    EXPECT_EQ(f.Warnings, warnings);
    // Nothing was written beside the project.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 0);

    // The same as a build's log.
    fs::create_directories(dir.path() / "work");
    TOutputLog log;
    WriteTopicFiles(p, dir.file("work"), log, checks);
    EXPECT_EQ(log.ErrorCount(), 3);
    EXPECT_EQ(log.WarningCount(), 1);

    TTopicNode& device = p.Topics.AddNew();
    device.SetName("CON");
    const TBuildForecast refused = ForecastBuild(p, checks);
    EXPECT_EQ(refused.Refusal, "The module name \"CON\" cannot be used as a file name.");
    EXPECT_EQ(refused.Errors, (std::array<int, TCheckSettings::kChecks>{}));
}

}  // namespace
}  // namespace qm
