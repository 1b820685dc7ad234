#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "build_fixture.h"
#include "preprocess/projectwriter.h"
#include "preprocess/tagtext.h"
#include "preprocess/topicwriter.h"
#include "support/scratchdir.h"
#include "util/cp1252.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/textfile.h"

namespace qm {
namespace {

using qmtest::LogLine;

// A project of three topics and a popup, built into a scratch work folder.
// The help project names the work folder the way a Windows machine would.
class EndToEnd : public ::testing::Test {
protected:
    EndToEnd() {
        work = dir.file("work");
        std::filesystem::create_directory(work);
        TProject& p = fx.project;
        p.SetTitle("Guide");
        p.SetHlpFile("Guide.hlp");
        p.CompressMode = CompressMode::Maximum;
        p.BmRoot = {"D:\\Help\\img"};
        p.IncludeTags = {"WEB"};

        TWindowDef& main = p.Windows.GetWindow(1);
        main.SetCaption("Guide");
        main.X = 10;
        main.Y = 20;
        TWindowDef& proc4 = p.Windows.GetWindow(2);
        proc4.SetCaption("Procedures");
        proc4.Attributes = WindowAttributes::Maximize | WindowAttributes::KeepOnTop | WindowAttributes::AutoSizeHeight;
        proc4.AdjustRes = 1;
        proc4.X = 0;
        proc4.Y = 0;
        proc4.W = 512;
        proc4.H = 1023;
        proc4.Buttons = WindowButtons::Contents | WindowButtons::Back;
        proc4.Rgb1 = 0x00FF00;
        proc4.Rgb2 = 0x80000005;  // the system's window colour
        proc4.Macros = {"CloseWindow(`main')"};
        TWindowDef& wide = p.Windows.GetWindow(3);
        wide.AdjustRes = 1;
        wide.X = 1;
        wide.Y = 2;
        wide.W = 3;
        wide.H = 4;
        wide.Buttons = 0;
        wide.Rgb1 = 255;
        wide.Rgb2 = 0;

        fx.intro->SetTitle("Welcome page");
        fx.intro->Text =
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n"
            R"(\viewkind4\uc1\pard\f0\fs20 <NOSCROLL>Welcome\par\pard </NOSCROLL>See )"
            R"(<LINK TOPIC="Details:part2">details</LINK>, <LINK POPUP="Def">a term</LINK> and )"
            R"(<LINK TOPIC="Nowhere">x</LINK>.\par <BTN Contents()>Home</BTN> <BTN Back()>\par })"
            "\r\n";
        fx.details->SetTitle("Details");
        fx.details->Keywords = {"details", "part"};
        fx.details->SetWindow("proc4");
        fx.details->Text = R"({\rtf1\ansi\viewkind4 <ANCHOR "part2">Part two <ANCHOR "part2"> )"
                           R"(<LINK TOPIC="Intro:gone">back</LINK> <LINK TOPIC="Intro:gone">back</LINK>\par})";
        TTopicNode& cafe = fx.project.Topics.GetNode(2);
        cafe.SetTitle("Caf\xe9");
        cafe.Text = R"({\rtf1 <IMAGEL "pic.bmp"> caf\'e9 <SOUND "s.wav">})";
        fx.def->SetTitle("ignored for popups");
        fx.def->Text = R"({\rtf1\viewkind4 A <ULINK TOPIC="intro">term</ULINK>.})";

        fx.checks.SetErrorType(Check::UnclosedTag, 1);  // unclosed tags only warn
    }

    std::string MapToWindows(std::string_view path) const {
        std::string s(path);
        if (s.compare(0, work.size(), work) == 0) s = "C:\\Temp\\Quillmark" + s.substr(work.size());
        for (char& c : s)
            if (c == '/') c = '\\';
        return s;
    }

    qmtest::ScratchDir dir;
    std::string work;
    qmtest::BuildFixture fx;
};

TEST_F(EndToEnd, HelpProjectAndTopicFiles) {
    const std::string hpj =
        WriteProjectFile(fx.project, dir.str(), work, [this](std::string_view p) { return MapToWindows(p); });
    WriteTopicFiles(fx.project, work, fx.log, fx.checks);

    EXPECT_EQ(ReadWholeFile(hpj),
              "[OPTIONS]\r\n"
              "TITLE=Guide\r\n"
              "COMPRESS=12\r\n"
              "CONTENTS=Intro\r\n"
              "REPORT=YES\r\n"
              "HLP=Guide.hlp\r\n"
              "ERRORLOG=C:\\Temp\\Quillmark\\hcwreport.log\r\n"
              "BMROOT=D:\\Help\r\n"
              "BMROOT=D:\\Help\\img\r\n"
              "\r\n"
              "[FILES]\r\n"
              "C:\\Temp\\Quillmark\\Intro.rtf\r\n"
              "C:\\Temp\\Quillmark\\Details.rtf\r\n"
              "C:\\Temp\\Quillmark\\Caf\xe9.rtf\r\n"
              "C:\\Temp\\Quillmark\\Def.rtf\r\n"
              "\r\n"
              "[WINDOWS]\r\n"
              "main=\"Guide\",(10,20,600,480),27652,(r16777215),(r16777215),f4\r\n"
              "proc4=\"Procedures\",(0,0,512,1023),17413,(r16777215),(r65280),f3\r\n"
              "wide=\"\",(1,2,3,4),4,(r0),(r255)\r\n"
              "\r\n"
              "[CONFIG-proc4]\r\n"
              "CloseWindow(`main')\r\n"
              "\r\n"
              "[MAP]\r\n"
              "Intro 5\r\n"
              "Details 10\r\n"
              "Caf\xe9 15\r\n"
              "Def 20\r\n"
              "\r\n"
              "[INCLUDE]\r\n"
              "WEB\r\n"
              "\r\n"
              "[EXCLUDE]\r\n");

    // Files land in the work folder only, an accented name as UTF-8.
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"Guide.hpj", "work"}));
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(work)) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Caf\xc3\xa9.rtf", "Def.rtf", "Details.rtf", "Intro.rtf"}));

    EXPECT_EQ(qmtest::ReadRaw(work + "/Intro.rtf"),
              "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n"
              "#{\\footnote Intro}\r\n"
              "${\\footnote Welcome page}\r\n"
              R"(\viewkind4\uc1\pard\f0\fs20 \keepn Welcome\par\ql \par\pard See )"
              R"(\uldb details\ulnone\v Details_part2\v0 , \ul a term\ulnone\v Def\v0  and )"
              R"(\uldb x\ulnone\v Nowhere\v0 .\par \{button Home, Contents()\} <BTN Back()>\par })"
              "\r\n");
    EXPECT_EQ(qmtest::ReadRaw(work + "/Details.rtf"),
              "{\\rtf1\\ansi"
              "#{\\footnote Details}\r\n"
              "${\\footnote Details}\r\n"
              "K{\\footnote details;part;}\r\n"
              ">{\\footnote proc4}\r\n"
              R"(\viewkind4 #{\footnote Details_part2}Part two <ANCHOR "part2"> )"
              R"(\uldb back\ulnone\v Intro_gone\v0  \uldb back\ulnone\v Intro_gone\v0 \par})");
    EXPECT_EQ(qmtest::ReadRaw(work + "/Caf\xc3\xa9.rtf"),
              "#{\\footnote Caf\\'e9}\r\n"
              "${\\footnote Caf\\'e9}\r\n"
              R"({\rtf1 \{bml pic.bmp\} caf\'e9 \{mci PLAY ,s.wav\}})");
    EXPECT_EQ(qmtest::ReadRaw(work + "/Def.rtf"),
              "{\\rtf1#{\\footnote Def}\r\n"
              R"(\viewkind4 A \uldb term\ulnone\v %Intro\v0 .})");

    EXPECT_EQ(qmtest::LogLines(fx.log), (std::vector<LogLine>{
                                            {1, R"(<LINK TOPIC="Nowhere">)", 1},
                                            {7, "<BTN Back()>", 1},
                                            {3, R"(<ANCHOR "part2">)", 1},
                                            {2, "gone", 1},
                                            {2, "gone", 2},
                                        }));
    EXPECT_EQ(fx.log.Entry(0).Topic, fx.intro->Id());
    EXPECT_EQ(fx.log.Entry(3).Topic, fx.details->Id());
    const std::vector<TLogRow> rows = fx.log.ShowLog(3);
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[4].Text, "4 errors, 1 warnings.");
    EXPECT_EQ(rows[6], (TLogRow{"Error   : Unresolved topic link in module Intro.", 2, 0}));
    EXPECT_EQ(rows[7], (TLogRow{"Warning : Unclosed tag in module Intro.", 3, 1}));
    EXPECT_EQ(rows[10], (TLogRow{"Error   : Unresolved anchor in module Details.", 2, 4}));
}

TEST_F(EndToEnd, BuildingLeavesTheProjectUntouched) {
    const std::string before = fx.intro->Text;
    WriteTopicFiles(fx.project, work, fx.log, fx.checks);
    EXPECT_EQ(fx.intro->Text, before);
}

TEST_F(EndToEnd, WriteFailureNamesTheWorkFolder) {
    const std::string missing = dir.file("nowhere");
    try {
        WriteTopicFiles(fx.project, missing, fx.log, fx.checks);
        FAIL() << "no error";
    } catch (const EFileAccess& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write to " + missing + " - The path was not found.");
    }
    // Anchors are not resolved once a write failed.
    for (const TError& e : fx.log.Entries()) EXPECT_NE(e.Code, Check::UnresolvedAnchor);
}

// A link planted where the build writes (the help project beside the
// project file, a topic file in the work folder) is replaced by the build's
// own file; what it points to is never written, and nothing appears outside
// the two folders.
TEST_F(EndToEnd, PlantedLinksAreNeverWrittenThrough) {
    qmtest::ScratchDir outside;
    qmtest::WriteRaw(outside.file("profile"), "keep me");
    qmtest::WriteRaw(outside.file("notes"), "keep me too");
    namespace fs = std::filesystem;
    QM_SYMLINK_OR_SKIP(outside.file("profile"), dir.file("Guide.hpj"));
    QM_SYMLINK_OR_SKIP(outside.file("notes"), work + "/Intro.rtf");
    QM_SYMLINK_OR_SKIP(outside.file("new"), work + "/Details.rtf");  // would create a file out there

    const std::string hpj = WriteProjectFile(fx.project, dir.str(), work);
    WriteTopicFiles(fx.project, work, fx.log, fx.checks);

    EXPECT_EQ(qmtest::ReadRaw(outside.file("profile")), "keep me");
    EXPECT_EQ(qmtest::ReadRaw(outside.file("notes")), "keep me too");
    EXPECT_EQ(outside.entries(), (std::vector<std::string>{"notes", "profile"}));
    for (const std::string& written : {dir.file("Guide.hpj"), work + "/Intro.rtf", work + "/Details.rtf"}) {
        SCOPED_TRACE(written);
        EXPECT_FALSE(fs::is_symlink(written));
        EXPECT_TRUE(fs::is_regular_file(written));
    }
    EXPECT_EQ(ReadWholeFile(hpj).compare(0, 9, "[OPTIONS]"), 0);
    EXPECT_NE(qmtest::ReadRaw(work + "/Intro.rtf").find("#{\\footnote Intro}"), std::string::npos);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"Guide.hpj", "work"}));
}

// Sets the process's current folder for one test and puts it back.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(old_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path old_;
};

// The compiler takes BMROOT=Bitmaps from the help project's folder; the
// build's image check must too, whatever folder Quillmark was started from.
TEST(ImageCheck, RelativeImageFoldersCountFromTheProjectFolder) {
    qmtest::ScratchDir dir;
    namespace fs = std::filesystem;
    for (const char* f : {"proj/Bitmaps", "work", "elsewhere/Bitmaps"}) fs::create_directories(dir.path() / f);
    qmtest::WriteRaw(dir.file("proj/Bitmaps/pic.bmp"), "BM");
    qmtest::WriteRaw(dir.file("elsewhere/Bitmaps/decoy.bmp"), "BM");
    TProject p;
    p.FileName = dir.file("proj/Guide.qpf");
    p.BmRoot = {"Bitmaps"};
    TTopicNode& intro = p.Topics.AddNew();
    intro.SetName("Intro");
    intro.SetTitle("Intro");
    intro.Text = R"({\rtf1\viewkind4 <IMAGE "pic.bmp"> <IMAGE "decoy.bmp">})";
    TOutputLog log;
    {
        CurrentFolder cd(dir.path() / "elsewhere");
        WriteTopicFiles(p, dir.file("work"), log);  // every check on, image check included
    }
    EXPECT_EQ(qmtest::LogLines(log), (std::vector<LogLine>{{Check::ImageNotFound, R"(<IMAGE "decoy.bmp">)", 1}}));
    EXPECT_EQ(qmtest::ReadRaw(dir.file("work/Intro.rtf")),
              "{\\rtf1#{\\footnote Intro}\r\n${\\footnote Intro}\r\n"
              R"(\viewkind4 \{bmc pic.bmp\} <IMAGE "decoy.bmp">})");
}

// A build lists each image folder once for all its images, so a project made
// on Windows (tags in another case than the files) builds fast; the listing
// dies with the build, so an image added before the next build is found.
TEST(ImageCheck, CaseMismatchedImagesAreFoundAndANewFileByTheNextBuild) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names that differ in case only name one file";
#endif
    qmtest::ScratchDir dir;
    namespace fs = std::filesystem;
    for (const char* f : {"proj/Bitmaps", "work"}) fs::create_directories(dir.path() / f);
    for (int i = 0; i < 20; ++i) qmtest::WriteRaw(dir.file("proj/Bitmaps/pic" + std::to_string(i) + ".bmp"), "BM");
    TProject p;
    p.FileName = dir.file("proj/Guide.qpf");
    p.BmRoot = {"Bitmaps"};
    TTopicNode& intro = p.Topics.AddNew();
    intro.SetName("Intro");
    intro.SetTitle("Intro");
    intro.Text = "{\\rtf1\\viewkind4 <IMAGE \"LATE.BMP\">";
    for (int i = 0; i < 20; ++i) intro.Text += " <IMAGE \"PIC" + std::to_string(i) + ".BMP\">";
    intro.Text += "}";
    const auto build = [&] {
        TOutputLog log;
        WriteTopicFiles(p, dir.file("work"), log);
        return qmtest::LogLines(log);
    };
    EXPECT_EQ(build(), (std::vector<LogLine>{{Check::ImageNotFound, R"(<IMAGE "LATE.BMP">)", 1}}));
    qmtest::WriteRaw(dir.file("proj/Bitmaps/late.bmp"), "BM");
    EXPECT_EQ(build(), (std::vector<LogLine>{}));
    EXPECT_NE(qmtest::ReadRaw(dir.file("work/Intro.rtf")).find(R"(\{bmc LATE.BMP\} \{bmc PIC0.BMP\})"),
              std::string::npos);
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

// The image check searches exactly the folders the written help project
// gives the compiler: the project's folder and each image folder, in any
// case, and a picture named with a folder also by its file name alone.
TEST(ImageCheck, SearchesTheFoldersOfTheHelpProjectAsTheCompilerDoes) {
    qmtest::ScratchDir dir;
    namespace fs = std::filesystem;
    for (const char* f : {"proj/Art", "Shared", "other", "work"}) fs::create_directories(dir.path() / f);
    qmtest::WriteRaw(dir.file("other/x.bmp"), "BM");
    qmtest::WriteRaw(dir.file("proj/Beside.BMP"), "BM");  // beside the .hpj
    qmtest::WriteRaw(dir.file("proj/Art/Pic.bmp"), "BM");
    qmtest::WriteRaw(dir.file("Shared/Deep.bmp"), "BM");
    TProject p;
    p.FileName = dir.file("proj/Guide.qpf");
    p.BmRoot = {"art", "", dir.file("SHARED")};
    TTopicNode& intro = p.Topics.AddNew();
    intro.SetName("Intro");
    const struct {
        const char* name;
        const char* file;
        bool found;
    } cases[] = {
        {"beside the help project", "beside.bmp", true},
        {"in a relative image folder of another case", "PIC.BMP", true},
        {"in a full image folder of another case", "deep.bmp", true},
        {"named with a folder, found by its name", "hlp\\beside.bmp", true},
        {"named with an image folder's path", "old\\art\\pic.bmp", true},
        {"named from the project's folder", "..\\other\\x.bmp", true},
        {"in a folder that no image folder names", "x.bmp", false},
        {"nowhere", "gone.bmp", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        intro.Text = std::string("{\\rtf1\\viewkind4 <IMAGE \"") + EscapeRtf(c.file) + "\">}";
        TOutputLog log;
        WriteTopicFiles(p, dir.file("work"), log);
        EXPECT_EQ(log.Entries().empty(), c.found);
        EXPECT_EQ(ForecastBuild(p, TCheckSettings()).ErrorsOf(Check::ImageNotFound), c.found ? 0 : 1);
    }
    // Those folders are the help project's BMROOT lines; an empty entry names none.
    const StringList lines = SplitLines(HelpProjectText(p, dir.file("work")));
    StringList bmroot;
    for (const std::string& line : lines)
        if (line.rfind("BMROOT=", 0) == 0) bmroot.push_back(line.substr(7));
    EXPECT_EQ(bmroot, (StringList{dir.file("proj"), "art", dir.file("SHARED")}));
}

}  // namespace
}  // namespace qm
