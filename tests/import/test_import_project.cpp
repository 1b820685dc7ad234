// The import commands: RTF files into the open project, text files, whole
// help-compiler projects, and the table of contents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/import.h"
#include "model/project.h"
#include "preprocess/outputlog.h"
#include "richtext/richdoc.h"
#include "test_import_util.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/helpunits.h"
#include "util/textfile.h"

namespace qm {
namespace {

using qmtest::ImportTempDir;
using qmtest::ScriptedUi;
using qmtest::TagsOf;
using qmtest::WriteFileBytes;

const std::string kFailed = "HelpWorkshop project importation failed for the following reason:\r\n\r\n";

// A project with a contents topic "Intro" (open in the editor) and a popup.
struct OpenProject {
    OpenProject() {
        TTopicNode& intro = project.Topics.AddNew();
        intro.SetName("Intro");
        intro.ContextId = 5;
        intro.IsContents = true;
        TTopicNode& def = project.Topics.AddNew();
        def.SetName("Def");
        def.Kind = TopicKind::Popup;
        def.ContextId = 10;
        open = intro.Id();
        log.Add(0, 1, "x", intro, 1);
    }
    TProject project;
    TNodeId open = 0;
    TOutputLog log;
};

const std::string kTwoPages =
    "{\\rtf1 #{\\footnote intro}${\\footnote New intro}K{\\footnote k1}One\\par\\page #{\\footnote Second}Two\\par}";

TEST(ImportRtfFile, FirstPageReplacesTheOpenTopicAndTheOthersAreAppended) {
    ImportTempDir dir;
    WriteFileBytes(dir.file("two.rtf"), kTwoPages);
    OpenProject p;
    ScriptedUi ui;
    TRtfImportResult r = ImportRtfFile(p.project, {p.open, TopicKind::Topic}, dir.file("two.rtf"), true, ui, &p.log);
    ASSERT_TRUE(r.Ok) << (ui.errors.empty() ? "" : ui.errors[0]);
    ASSERT_EQ(p.project.Topics.Count(), 3);
    // "intro" is taken by the topic it replaces, so the new one is intro_1.
    const TTopicNode& first = p.project.Topics.GetNode(0);
    EXPECT_EQ(first.Id(), r.OpenNode);
    EXPECT_EQ(first.GetName(), "intro_1");
    EXPECT_EQ(first.GetTitle(), "New intro");
    EXPECT_EQ(first.Keywords, StringList{"k1"});
    EXPECT_TRUE(first.IsContents);   // inherited from the topic it replaced
    EXPECT_EQ(first.ContextId, 15);  // 5 and 10 are used
    EXPECT_EQ(p.project.Topics.FindById(p.open), nullptr);
    EXPECT_EQ(p.project.Topics.IndexOfId(p.open), -1);
    // The replacement and the appended records are found by id where they stand.
    for (int i = 0; i < p.project.Topics.Count(); ++i) {
        const TTopicNode& node = p.project.Topics.GetNode(i);
        EXPECT_EQ(p.project.Topics.IndexOfId(node.Id()), i);
        EXPECT_EQ(p.project.Topics.FindById(node.Id()), &node);
    }
    EXPECT_EQ(p.project.Topics.GetNode(1).GetName(), "Def");
    const TTopicNode& second = p.project.Topics.GetNode(2);
    EXPECT_EQ(r.Appended, std::vector<TNodeId>{second.Id()});
    EXPECT_EQ(second.GetName(), "Second");
    EXPECT_EQ(second.ContextId, 20);
    EXPECT_FALSE(second.IsContents);
    EXPECT_TRUE(p.project.Modified);
    // The log and the result trees pointed at the freed topic.
    EXPECT_TRUE(p.log.Empty());
    EXPECT_EQ(ui.cleared, 1);
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Importing Rich Text Format File..."});
    EXPECT_EQ(ui.positions.front(), 0);
    EXPECT_EQ(ui.positions.back(), 100);
    EXPECT_EQ(ui.hidden, 1);
}

TEST(ImportRtfFile, RecordsTakeTheKindOfTheActiveList) {
    ImportTempDir dir;
    WriteFileBytes(dir.file("two.rtf"), kTwoPages);
    OpenProject p;
    const TNodeId popup = p.project.Topics.GetNode(1).Id();
    ScriptedUi ui;
    TRtfImportResult r = ImportRtfFile(p.project, {popup, TopicKind::Popup}, dir.file("two.rtf"), true, ui);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(p.project.Topics.PopupCount(), 2);
    EXPECT_EQ(p.project.Topics.GetNode(1).Id(), r.OpenNode);
    EXPECT_FALSE(p.project.Topics.GetNode(1).IsContents);
    EXPECT_TRUE(p.project.Topics.GetNode(0).IsContents);
}

TEST(ImportRtfFile, WithoutFootnotesTheWholeFileIsTheText) {
    ImportTempDir dir;
    WriteFileBytes(dir.file("two.rtf"), kTwoPages);
    OpenProject p;
    ScriptedUi ui;
    TRtfImportResult r = ImportRtfFile(p.project, {p.open, TopicKind::Topic}, dir.file("two.rtf"), false, ui, &p.log);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.OpenNode, p.open);
    EXPECT_EQ(p.project.Topics.Count(), 2);
    EXPECT_EQ(p.project.Topics.FindById(p.open)->Text, kTwoPages);
    EXPECT_TRUE(p.project.Modified);
    EXPECT_FALSE(p.log.Empty());  // nothing was freed
}

TEST(ImportRtfFile, FailuresLeaveTheProjectAsItWas) {
    ImportTempDir dir;
    OpenProject p;
    ScriptedUi ui;
    TRtfImportResult r = ImportRtfFile(p.project, {p.open, TopicKind::Topic}, dir.file("none.rtf"), true, ui, &p.log);
    EXPECT_FALSE(r.Ok);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind(kFailed + "Cannot open ", 0), 0u) << ui.errors[0];
    EXPECT_NE(ui.errors[0].find("none.rtf"), std::string::npos);
    EXPECT_EQ(ui.hidden, 1);

    WriteFileBytes(dir.file("bad.rtf"), "{\\rtf1 #{\\footnote A}a}\\page #{\\footnote B}b");
    r = ImportRtfFile(p.project, {p.open, TopicKind::Topic}, dir.file("bad.rtf"), true, ui, &p.log);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(p.project.Topics.Count(), 2);
    EXPECT_NE(p.project.Topics.FindById(p.open), nullptr);
    EXPECT_FALSE(p.project.Modified);
    EXPECT_FALSE(p.log.Empty());
    EXPECT_EQ(ui.hidden, 2);
}

// ---------------------------------------------------------------------------

TEST(ImportTextFile, ReadsUtf8AndCp1252) {
    ImportTempDir dir;
    struct Case {
        const char* bytes;
        std::u16string text;
    };
    const std::vector<Case> cases = {
        {"Caf\xC3\xA9 \xE2\x82\xAC", u"Caf\u00e9 \u20ac"},  // valid UTF-8
        {"\xEF\xBB\xBFna\xC3\xAFve", u"na\u00efve"},        // with its mark
        {"\xEF\xBB\xBF"
         "bad\xE9",
         u"bad\uFFFD"},                         // a mark, then a broken sequence
        {"Caf\xE9 \x80", u"Caf\u00e9 \u20ac"},  // cp1252
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeTextFile(c.bytes), c.text) << c.bytes;

    WriteFileBytes(dir.file("a.txt"), "Line \xC3\xA9\r\nTwo <b>\n");
    OpenProject p;
    ScriptedUi ui;
    CharFormat format;
    format.font.face = "Arial";
    ASSERT_TRUE(ImportTextFile(p.project, p.open, dir.file("a.txt"), format, ui));
    const std::string& rtf = p.project.Topics.FindById(p.open)->Text;
    EXPECT_EQ(WritePlainText(ReadRtf(rtf)), "Line \xE9\r\nTwo <b>\r\n");
    EXPECT_NE(rtf.find("Arial"), std::string::npos);
    EXPECT_TRUE(p.project.Modified);

    EXPECT_FALSE(ImportTextFile(p.project, p.open, dir.file("none.txt"), format, ui));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("Cannot open ", 0), 0u) << ui.errors[0];
}

// ---------------------------------------------------------------------------

THpjFile Hpj(const std::string& text) {
    THpjFile hpj;
    hpj.Parse(SplitLines(text));
    return hpj;
}

void AddTopics(TProject& project, const std::vector<std::string>& names) {
    for (const std::string& n : names) project.Topics.AddNew().SetName(n);
}

TEST(ImportHpjOptions, ReadsWindowsAndOptions) {
    FixedScreenMetrics screen({1280, 1024});
    SetScreenMetrics(&screen);
    const THpjFile hpj =
        Hpj("[OPTIONS]\nTITLE = My Help\nCOPYRIGHT=(c)\nHLP= x.hlp\nCNT=x.cnt\nBMROOT=a\nBMROOT=b\nCONTENTS=second\n\n"
            "[FILES]\nx.rtf\n\n[WINDOWS]\n"
            "main=\"Main\",(10,20,300,400),1029,(r123),(r456)\n"
            "proc4=\"Steps\",,65280,,(r7),1\n"
            "wide=,(1,2,3,4),4,,,f3\n"
            "pix=\"\",(,,,),0,,,f4\n");
    TProject project;
    AddTopics(project, {"first", "Second"});
    ImportHpjOptions(hpj, project);
    SetScreenMetrics(nullptr);
    EXPECT_EQ(project.GetTitle(), "My Help");
    EXPECT_EQ(project.GetCopyright(), "(c)");
    EXPECT_EQ(project.GetHlpFile(), "x.hlp");
    EXPECT_EQ(project.GetCntFile(), "x.cnt");
    EXPECT_EQ(project.BmRoot, (StringList{"a", "b"}));
    EXPECT_FALSE(project.Topics.GetNode(0).IsContents);
    EXPECT_TRUE(project.Topics.GetNode(1).IsContents);

    ASSERT_EQ(project.Windows.Count(), 4);
    const TWindowDef& main = project.Windows.GetWindow(1);
    EXPECT_EQ(main.GetName(), "main");
    EXPECT_EQ(main.GetCaption(), "Main");
    EXPECT_EQ(main.X, 10);
    EXPECT_EQ(main.H, 400);
    EXPECT_EQ(main.Rgb2, 123u);  // the first colour is the topic area's
    EXPECT_EQ(main.Rgb1, 456u);
    // 1029 = 1 + 4 + 1024: maximize, no default buttons, Contents.
    EXPECT_EQ(main.Attributes, WindowAttributes::Maximize);
    EXPECT_TRUE(main.NoDefaultButtons);
    EXPECT_EQ(main.Buttons, WindowButtons::Contents);
    EXPECT_EQ(main.AdjustRes, 1);  // nothing after the colours: help units

    const TWindowDef& proc4 = project.Windows.GetWindow(2);
    // 65280: every button bit from 256 to 32768.
    EXPECT_EQ(proc4.Buttons, 0xFF);
    EXPECT_EQ(proc4.Rgb2, 0xFFFFFFu);
    EXPECT_EQ(proc4.Rgb1, 7u);
    // "1": keep on top, maximize, help units; missing numbers centre 600 x 480.
    EXPECT_EQ(proc4.Attributes, WindowAttributes::KeepOnTop | WindowAttributes::Maximize);
    EXPECT_EQ(proc4.AdjustRes, 1);
    EXPECT_EQ(proc4.X, 1280 / 2 - 300);
    EXPECT_EQ(proc4.Y, 1024 / 2 - 240);
    EXPECT_EQ(proc4.W, 600);
    EXPECT_EQ(proc4.H, 480);

    const TWindowDef& wide = project.Windows.GetWindow(3);
    EXPECT_EQ(wide.GetCaption(), "");
    EXPECT_EQ(wide.Attributes, WindowAttributes::KeepOnTop | WindowAttributes::AutoSizeHeight);
    EXPECT_EQ(wide.AdjustRes, 1);
    EXPECT_EQ(project.Windows.GetWindow(4).AdjustRes, 0);  // f4: pixels
}

TEST(ImportHpjOptions, ContentsTopic) {
    // Without CONTENTS= the first topic is the contents topic.
    TProject project;
    AddTopics(project, {"a", "b"});
    ImportHpjOptions(Hpj("[OPTIONS]\nTITLE=t\n[FILES]\nx.rtf\n"), project);
    EXPECT_TRUE(project.Topics.GetNode(0).IsContents);
    EXPECT_FALSE(project.Topics.GetNode(1).IsContents);
    ASSERT_EQ(project.Windows.Count(), 1);
    EXPECT_EQ(project.Windows.GetWindow(1).GetName(), "main");

    TProject other;
    AddTopics(other, {"a"});
    try {
        ImportHpjOptions(Hpj("[OPTIONS]\nCONTENTS = nowhere\n[FILES]\nx.rtf\n"), other);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Unable to resolve the contents topic within the project.");
    }
}

TEST(ImportHpjProject, ImportsEveryFileOfTheProject) {
    ScriptedUi ui;
    TOutputLog log;
    TTopicNode someone;
    log.Add(0, 1, "x", someone, 1);
    auto project = ImportHpjProject(QM_TEST_DATA_DIR "/import/proj/Sample.hpj", ui, &log);
    ASSERT_TRUE(project) << (ui.errors.empty() ? "" : ui.errors[0]);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(project->Modified);
    EXPECT_TRUE(project->FileName.empty());
    EXPECT_TRUE(log.Empty());
    EXPECT_EQ(ui.cleared, 1);
    EXPECT_EQ(ui.hidden, 1);
    EXPECT_EQ(ui.progressTexts, (std::vector<std::string>{"Importing project...", "Importing file TOPICS.rtf...",
                                                          "Importing file More.RTF..."}));
    ASSERT_EQ(project->Topics.Count(), 3);
    const TTopicNode& welcome = project->Topics.GetNode(0);
    const TTopicNode& details = project->Topics.GetNode(1);
    const TTopicNode& again = project->Topics.GetNode(2);
    EXPECT_EQ(welcome.GetName(), "Welcome");
    EXPECT_TRUE(welcome.IsContents);  // no CONTENTS=: the first topic
    EXPECT_EQ(welcome.Keywords, StringList{"start"});
    EXPECT_EQ(TagsOf(welcome.Text), (std::vector<std::string>{"<LINK TOPIC=\"Details\" WINDOW=proc4>", "</LINK>"}));
    EXPECT_EQ(details.GetName(), "Details");
    EXPECT_EQ(details.GetBrowse(), "tour:2");
    EXPECT_EQ(again.GetName(), "Welcome_1");
    EXPECT_EQ(again.GetTitle(), "Welcome again");
    EXPECT_EQ(std::vector<std::int32_t>({welcome.ContextId, details.ContextId, again.ContextId}),
              (std::vector<std::int32_t>{5, 10, 15}));
    for (const auto& node : project->Topics) EXPECT_TRUE(node->IsTopic());
    // "TITLE = Sample Help": the key is compared trimmed.
    EXPECT_EQ(project->GetTitle(), "Sample Help");
    EXPECT_EQ(project->GetCopyright(), "(c) Us");
    EXPECT_EQ(project->GetHlpFile(), "sample.hlp");
    // Relative image folders count from the project file's folder.
    EXPECT_EQ(project->BmRoot,
              (StringList{QM_TEST_DATA_DIR "/import/proj/images", QM_TEST_DATA_DIR "/import/proj/art"}));
    ASSERT_EQ(project->Windows.Count(), 2);
    EXPECT_EQ(project->Windows.GetWindow(2).GetName(), "proc4");
}

TEST(ImportHpjProject, FailuresShowTheirMessageAndGiveNothing) {
    struct Case {
        const char* file;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"BadContents.hpj", kFailed + "Unable to resolve the contents topic within the project."},
        {"nosuch.hpj", "Cannot open "},
        // Its only file is missing: there is nothing to import.
        {"MissingFile.hpj", kFailed + "None of the files of [FILES] was found; the first is \"" QM_TEST_DATA_DIR
                                      "/import/proj/Sub\\missing.rtf\"."},
    };
    for (const Case& c : cases) {
        ScriptedUi ui;
        TOutputLog log;
        TTopicNode someone;
        log.Add(0, 1, "x", someone, 1);
        auto project = ImportHpjProject(std::string(QM_TEST_DATA_DIR "/import/proj/") + c.file, ui, &log);
        EXPECT_FALSE(project) << c.file;
        ASSERT_EQ(ui.errors.size(), 1u) << c.file;
        EXPECT_EQ(ui.errors[0].rfind(c.message, 0), 0u) << ui.errors[0];
        EXPECT_FALSE(log.Empty()) << c.file;  // the open project stays, and so does its log
    }
}

TEST(ResolveImportPath, MatchesEachPartWithoutRegardToCase) {
    const std::string folder = QM_TEST_DATA_DIR "/import/proj/";
    for (const char* entry : {"SUB\\TOPICS.RTF", "sub/topics.rtf", "Sub\\topics.RTF"}) {
        const std::string path = ResolveImportPath(folder, entry);
        EXPECT_TRUE(FileExists(path)) << entry;
#ifdef _WIN32
        // The system finds the file under any case; the name comes back as asked.
        EXPECT_TRUE(SameText(ExtractFileName(path), "topics.RTF")) << path;
#else
        EXPECT_EQ(ExtractFileName(path), "topics.RTF");
#endif
        EXPECT_EQ(AsciiLowerStr(path),
                  AsciiLowerStr(folder) + "sub" + path.substr(folder.size() + 3, 1) + "topics.rtf");
    }
    EXPECT_EQ(ResolveImportPath(folder, "sub\\none.rtf"), "");
    EXPECT_EQ(ResolveImportPath(folder, ""), "");
}

TEST(RunImport, AHelpProjectAsksFirst) {
    OpenProject p;
    ScriptedUi ui;
    ui.answer = false;
    TImportRequest request{QM_TEST_DATA_DIR "/import/proj/Sample.hpj", TImportFilter::Hpj, true};
    TImportOutcome out = RunImport(p.project, {p.open, TopicKind::Topic}, request, CharFormat(), ui, &p.log);
    EXPECT_FALSE(out.Ok);
    EXPECT_EQ(ui.questions, 1);
    EXPECT_FALSE(out.NewProject);
    EXPECT_TRUE(ui.progressTexts.empty());

    ui.answer = true;
    out = RunImport(p.project, {p.open, TopicKind::Topic}, request, CharFormat(), ui, &p.log);
    ASSERT_TRUE(out.Ok);
    ASSERT_TRUE(out.NewProject);
    EXPECT_EQ(out.OpenNode, out.NewProject->Topics.GetNode(0).Id());
    // The open project itself is the caller's to replace.
    EXPECT_EQ(p.project.Topics.Count(), 2);
}

// With the build's checks, a project import says what the new project's
// first build would report, found where the project would most likely be
// saved (beside the .hpj), and leaves it without a file name.
TEST(RunImport, AHelpProjectComesWithWhatItsFirstBuildWouldReport) {
    ImportTempDir dir;
    WriteFileBytes(dir.file("a.rtf"), "{\\rtf1 #{\\footnote main}{\\uldb Lost}{\\v nowhere} \\{bmc pic.bmp\\}\\par}");
    WriteFileBytes(dir.file("help.hpj"), "[OPTIONS]\nTITLE=t\n[FILES]\na.rtf\n");
    WriteFileBytes(dir.file("pic.bmp"), "BM");
    OpenProject p;
    ScriptedUi ui;
    const TImportRequest request{dir.file("help.hpj"), TImportFilter::Hpj, true};
    TCheckSettings checks;
    checks.SetErrorType(Check::ImageNotFound, 1);
    TImportOutcome out = RunImport(p.project, {p.open, TopicKind::Topic}, request, CharFormat(), ui, &p.log, &checks);
    ASSERT_TRUE(out.Ok && out.Forecast);
    EXPECT_TRUE(out.Forecast->Refusal.empty());
    EXPECT_EQ(out.Forecast->ErrorsOf(Check::UnresolvedLink), 1);
    EXPECT_EQ(out.Forecast->WarningsOf(Check::ImageNotFound), 0);  // beside the .hpj
    EXPECT_EQ(out.NewProject->FileName, "");
    // Without the checks, no forecast.
    out = RunImport(p.project, {p.open, TopicKind::Topic}, request, CharFormat(), ui, &p.log);
    ASSERT_TRUE(out.Ok);
    EXPECT_FALSE(out.Forecast);
}

TEST(RunImport, TextAndRtfGoIntoTheOpenProject) {
    ImportTempDir dir;
    WriteFileBytes(dir.file("a.txt"), "plain");
    WriteFileBytes(dir.file("b.rtf"), kTwoPages);
    OpenProject p;
    ScriptedUi ui;
    TImportOutcome out = RunImport(p.project, {p.open, TopicKind::Topic},
                                   {dir.file("a.txt"), TImportFilter::Text, true}, CharFormat(), ui);
    ASSERT_TRUE(out.Ok);
    EXPECT_EQ(out.OpenNode, p.open);
    EXPECT_EQ(WritePlainText(ReadRtf(p.project.Topics.FindById(p.open)->Text)), "plain");
    out = RunImport(p.project, {p.open, TopicKind::Topic}, {dir.file("b.rtf"), TImportFilter::Rtf, true}, CharFormat(),
                    ui);
    ASSERT_TRUE(out.Ok);
    EXPECT_EQ(out.Appended.size(), 1u);
    EXPECT_EQ(ui.questions, 0);
}

TEST(CreateTableOfContents, OneLinkLinePerEntry) {
    TTopicNode a, b;
    a.SetName("Intro");
    a.SetTitle("Introduction");
    b.SetName("Yours");
    b.SetTitle("<<YourApp>> Help");
    EXPECT_EQ(CreateTableOfContents({&a, &b}),
              "<LINK TOPIC=\"Intro\">Introduction</LINK>\r\n"
              "<LINK TOPIC=\"Yours\">&lt;&lt;YourApp&rt;&rt; Help</LINK>\r\n");
    EXPECT_EQ(CreateTableOfContents({}), "");
}

}  // namespace
}  // namespace qm
