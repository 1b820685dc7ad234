// The build command and the messages pane, driven through the main window's
// actions: with the native stand-in compiler and with the fake runner.
#include <QCoreApplication>
#include <QDockWidget>
#include <QFocusEvent>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <fstream>

#include "mainwindow_fixture.h"
#include "platform/qtcp1252.h"
#include "platform/qtprograms.h"
#include "util/fileio.h"
#include "util/qorsystem.h"
#include "widgets/busycursor.h"
#include "widgets/statusbar.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

qm::StringList WorkFiles(qm::TfrmMain& w) {
    qm::StringList files;
    qm::ListFiles(w.BuildCommands().WorkFolder(), files, "*.*");
    return files;
}

class BuildTest : public MainWindowTest {
protected:
    // The sample, with the project's folder holding a blank.
    std::unique_ptr<qm::TfrmMain> StartOnSample(const std::string& alphaBody = "Alpha body") {
        std::filesystem::create_directories(root_ + "my project");
        projectPath_ = SaveSample("my project/sample.qpf");
        if (alphaBody != "Alpha body") {
            qm::TProject p;
            p.LoadFromFile(projectPath_);
            p.Topics.FindByName("Alpha")->Text = BodyRtf(alphaBody);
            p.SaveToFile(projectPath_);
        }
        auto w = Start({qm::FromCp1252(projectPath_)});
        w->Options().CompilerPath = root_ + "hc";
        return w;
    }
    std::string projectPath_;
};

TEST_F(BuildTest, BuildsWithTheStandInCompiler) {
    auto w = StartOnSample();
    const std::string standin = qm::ToCp1252(QCoreApplication::applicationDirPath() + "/standin");
    ASSERT_TRUE(qm::FileExists(standin + "/hcrtf.exe")) << "the stand-in compiler is built with the tests";
    w->Options().CompilerPath = standin;
    const std::string record = root_ + "record.txt";
    qputenv("QM_STANDIN_RECORD", QByteArray::fromStdString(record));
    qm::QtCompilerRunner runner;
    ui.UseCompiler(&runner);

    ASSERT_FALSE(w->Project().Modified);
    Act(*w, "actCompile")->trigger();
    qunsetenv("QM_STANDIN_RECORD");

    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join("|").toStdString();
    const std::string hpj = root_ + "my project/sample.hpj";
    EXPECT_TRUE(qm::FileExists(hpj));
    // The compiler ran in the project's folder with the .hpj as one argument.
    const std::string calls = ReadText(record);
    EXPECT_NE(calls.find("cwd=" + root_ + "my project"), std::string::npos) << calls;
    EXPECT_NE(calls.find("arg=-xh\n"), std::string::npos) << calls;
    EXPECT_NE(calls.find("arg=" + hpj + "\n"), std::string::npos) << calls;
    // It found every module's RTF file while they existed.
    const std::string hlp = ReadText(root_ + "my project/sample.hlp");
    for (const char* f : {"Contents.rtf", "Alpha.rtf", "Beta.rtf", "PopOne.rtf"})
        EXPECT_NE(hlp.find(f), std::string::npos) << f << " in\n" << hlp;
    // The report is in the HCRTF tree, tabs shown as three blanks.
    const QStringList report = TreeRows(*w, "tvwHCRTF");
    ASSERT_FALSE(report.isEmpty());
    EXPECT_FALSE(report.join("").contains('\t'));
    EXPECT_TRUE(report.join("\n").contains("   "));
    EXPECT_TRUE(TreeRows(*w, "tvwQuillmark").contains("0 errors, 0 warnings."));
    EXPECT_TRUE(WorkFiles(*w).empty());
    // The work folder is this user's alone, not a shared folder.
    const auto perms = std::filesystem::status(qm::ToFsPath(w->BuildCommands().WorkFolder())).permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
    EXPECT_NE(w->BuildCommands().WorkFolder(), root_ + "tmp/Quillmark/");
    EXPECT_FALSE(w->Project().Modified);
    EXPECT_EQ(w->Status().Text(0), "Ready.");
    EXPECT_EQ(qm::BusyCursor::Depth(), 0);
    EXPECT_EQ(ui.viewer.quits, 1);  // asked to let go of the help file first
}

// A link planted in the private work folder after the build has emptied it
// (here by a wrapper that runs just before the stand-in compiler), or where
// the help file goes, is never written through. The build then says it could
// not compile: with the compiler's error in its report, or, when the report
// itself was refused, with what the compiler wrote on its error output.
TEST_F(BuildTest, ALinkPlantedWhereTheCompilerWritesIsNotWrittenThrough) {
    struct Row {
        const char* name;
        bool atReport;  // else at the help file
    } rows[] = {{"the report in the work folder", true}, {"the help file", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = StartOnSample();
        const std::string standin = qm::ToCp1252(QCoreApplication::applicationDirPath() + "/standin/hcrtf.exe");
        const std::string victim = root_ + "victim.txt";
        qm::WriteFileAtomic(victim, "keep me");
        const std::string place =
            row.atReport ? w->BuildCommands().WorkFolder() + "hcwreport.log" : root_ + "my project/sample.hlp";
        std::filesystem::remove(place);
        const std::string wrapper = root_ + "hc/hcrtf.exe";
        std::filesystem::create_directories(root_ + "hc");
        qm::WriteFileAtomic(
            wrapper, "#!/bin/sh\nln -s '" + victim + "' '" + place + "' || exit 9\nexec '" + standin + "' \"$@\"\n");
        std::filesystem::permissions(wrapper, std::filesystem::perms::owner_all);
        qm::QtCompilerRunner runner;
        ui.UseCompiler(&runner);

        Act(*w, "actCompile")->trigger();

        EXPECT_EQ(ReadText(victim), "keep me");
        EXPECT_EQ(w->Status().Text(0), "Could not compile file.");
        EXPECT_EQ(Child<QTabBar>(*w, "tsOutputs")->currentIndex(), 1);
        const QString report = TreeRows(*w, "tvwHCRTF").join("\n");
        if (row.atReport)
            EXPECT_EQ(report.toStdString(), "The compiler ended with exit code 2 and wrote no report.\n"
                                            "hcrtf: cannot write the report " +
                                                place + ": a symbolic link stands in its place");
        else
            EXPECT_TRUE(report.contains("HC5000: Error: Cannot write " + qm::FromCp1252(place) +
                                        ": a symbolic link stands in its place."))
                << report.toStdString();
        EXPECT_TRUE(std::filesystem::is_symlink(place) || row.atReport);
        EXPECT_TRUE(WorkFiles(*w).empty());
        EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join("|").toStdString();
        std::filesystem::remove(place);
    }
}

TEST_F(BuildTest, BuildKeepsTheModifiedFlagAndStoresTheEditorFirst) {
    for (const bool modified : {false, true}) {
        SCOPED_TRACE(modified);
        auto w = StartOnSample();
        w->Options().SaveBeforeCompile = true;
        w->Editor()->SetSelStart(0);
        w->Editor()->SetSelText("Fresh ");
        w->Project().Modified = modified;
        std::string seen;
        ui.compiler.onRun = [&](const qm::CompilerCall&) {
            seen = ReadText(w->BuildCommands().WorkFolder() + "Alpha.rtf");
        };
        Act(*w, "actCompile")->trigger();
        ASSERT_EQ(ui.compiler.calls.size(), 1u);
        // The freshest text, still only in the editor, was built.
        EXPECT_NE(seen.find("Fresh Alpha body"), std::string::npos) << w->BuildCommands().WorkFolder() << "\n" << seen;
        EXPECT_EQ(w->Project().Modified, modified);
        EXPECT_EQ(ui.viewer.quits, 1);
        ui.compiler.calls.clear();
        ui.viewer.quits = 0;
    }
}

struct RankCase {
    std::uint8_t rank;  // 0 error, 1 warning
    bool compilerRuns;
};

TEST_F(BuildTest, ACheckRankedErrorStopsBeforeTheCompiler) {
    for (const RankCase c : {RankCase{0, false}, RankCase{1, true}}) {
        SCOPED_TRACE(int(c.rank));
        ui.compiler.calls.clear();
        auto w = StartOnSample("See <LINK TOPIC=\"Nowhere\">there</LINK>");
        w->Options().SetErrorType(1, c.rank);
        Act(*w, "actCompile")->trigger();
        EXPECT_EQ(ui.compiler.calls.size(), c.compilerRuns ? 1u : 0u);
        const QStringList log = TreeRows(*w, "tvwQuillmark");
        EXPECT_TRUE(log.join("\n").contains(c.rank == 0 ? "1 errors, 0 warnings." : "0 errors, 1 warnings."))
            << log.join("\n").toStdString();
        if (!c.compilerRuns) {
            EXPECT_EQ(w->Status().Text(0), "Could not compile file.");
            EXPECT_FALSE(WorkFiles(*w).empty());  // kept for a look
        } else {
            EXPECT_EQ(w->Status().Text(0), "Ready.");
            EXPECT_TRUE(WorkFiles(*w).empty());
        }
        EXPECT_TRUE(ui.MessageTexts().isEmpty());
    }
}

TEST_F(BuildTest, AStopOnItsOwnChecksClearsTheOldReportAndShowsTheLog) {
    auto w = StartOnSample("See <LINK TOPIC=\"Nowhere\">there</LINK>");
    w->Options().SetErrorType(1, 1);  // a warning first: the build runs and leaves a report
    Act(*w, "actCompile")->trigger();
    ASSERT_FALSE(TreeRows(*w, "tvwHCRTF").isEmpty());
    auto* tabs = Child<QTabBar>(*w, "tsOutputs");
    tabs->setCurrentIndex(1);
    w->Options().SetErrorType(1, 0);  // now an error
    Act(*w, "actCompile")->trigger();
    EXPECT_EQ(ui.compiler.calls.size(), 1u);
    EXPECT_TRUE(TreeRows(*w, "tvwHCRTF").isEmpty());
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(w->Status().Text(0), "Could not compile file.");
}

TEST_F(BuildTest, TheExitCodeAndTheReportDecideWhetherTheCompileWorked) {
    struct Row {
        const char* name;
        int exitCode;
        std::optional<std::string> report;
        bool compiled;
    } rows[] = {
        {"clean report", 0, std::string("Compiling\r\n0 errors\r\n"), true},
        {"warnings only", 0, std::string("HC3025: Warning: a warning.\r\n"), true},
        {"an error in the report", 0, std::string("HC5011: Error: cannot open a file.\r\n"), false},
        {"exit code 1 and no report", 1, std::nullopt, false},
        {"exit code 2 with a clean report", 2, std::string("Compiling\r\n"), false},
        {"no report at all", 0, std::nullopt, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ui.compiler.calls.clear();
        ui.viewer.shown.clear();
        auto w = StartOnSample();
        w->Options().AcViewCnt = false;
        w->Options().AcViewCurrent = true;
        ui.compiler.result = qm::CompilerResult{true, r.exitCode, {}, {}};
        ui.compiler.report = r.report;
        Act(*w, "actCompile")->trigger();
        ASSERT_EQ(ui.compiler.calls.size(), 1u);
        EXPECT_EQ(w->Status().Text(0), r.compiled ? "Ready." : "Could not compile file.");
        // A failed compile brings its report (or the word that it left none) to the front
        // and opens no help file.
        EXPECT_EQ(Child<QTabBar>(*w, "tsOutputs")->currentIndex(), r.compiled ? 0 : 1);
        EXPECT_EQ(ui.viewer.shown.size(), r.compiled ? 1u : 0u);
        const QStringList tab = TreeRows(*w, "tvwHCRTF");
        if (r.report)
            EXPECT_FALSE(tab.isEmpty());
        else
            EXPECT_EQ(tab, QStringList{QString("The compiler ended with exit code %1 and wrote no report.").arg(r.exitCode)});
        EXPECT_TRUE(WorkFiles(*w).empty());
        ui.ExpectAllAnswered(r.name);
    }
}

TEST_F(BuildTest, WineThatCannotRunTheCompilerSaysWhy) {
    auto w = StartOnSample();
    ui.compiler.availability = qm::CompilerAvailability::ThroughWine;
    ui.compiler.result = qm::CompilerResult{true, 1, {}, {}};
    // What wine wrote on its error output shows, line by line, blank lines left out.
    ui.compiler.result.errorOutput = "0024:err:module:import_dll Library X.dll not found\r\n\r\nwine: could not load \"hcrtf.exe\"\n";
    ui.compiler.report.reset();
    ui.ExpectMessage(MsgKind::Warning, "32-bit");
    Act(*w, "actCompile")->trigger();
    EXPECT_EQ(w->Status().Text(0), "Could not compile file.");
    EXPECT_TRUE(ui.MessageTexts().join("").contains("wine32"));
    EXPECT_EQ(TreeRows(*w, "tvwHCRTF"), (QStringList{"The compiler ended with exit code 1 and wrote no report.",
                                                     "0024:err:module:import_dll Library X.dll not found",
                                                     "wine: could not load \"hcrtf.exe\""}));
}

TEST_F(BuildTest, RefusesAnUnsavedProjectAndAMissingCompiler) {
    {
        auto w = Start();
        ui.ExpectMessage(MsgKind::Information, "Project must be saved before being compiled.");
        Act(*w, "actCompile")->trigger();
    }
    struct Case {
        qm::CompilerAvailability availability;
        MsgKind kind;
        const char* text;
        std::vector<int> help;
    };
    const Case cases[] = {
        {qm::CompilerAvailability::Missing,
         MsgKind::Warning,
         "WinHelp compiler (hcrtf.exe) not found on specified path.",
         {325}},
        {qm::CompilerAvailability::NoWine, MsgKind::Warning, qm::kMsgCompilerNeedsWine, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto w = StartOnSample();
        ui.helpContexts.clear();
        ui.compiler.availability = c.availability;
        ui.ExpectMessage(c.kind, c.text);
        Act(*w, "actCompile")->trigger();
        EXPECT_EQ(ui.compiler.checked.back(), root_ + "hc/hcrtf.exe");
        EXPECT_EQ(ui.helpContexts, c.help);
        EXPECT_FALSE(qm::FileExists(root_ + "my project/sample.hpj"));
        EXPECT_EQ(qm::BusyCursor::Depth(), 0);
    }
    EXPECT_TRUE(ui.compiler.calls.empty());
}

TEST_F(BuildTest, ACompilerUnderWineGetsWinePathsInTheHelpProject) {
    auto w = StartOnSample();
    ui.compiler.availability = qm::CompilerAvailability::ThroughWine;
    std::string hpj;
    ui.compiler.onRun = [&](const qm::CompilerCall& call) { hpj = ReadText(call.projectFile); };
    Act(*w, "actCompile")->trigger();
    ASSERT_EQ(ui.compiler.calls.size(), 1u);
    std::string expected = "ERRORLOG=Z:" + w->BuildCommands().WorkFolder() + "hcwreport.log";
    for (char& c : expected)
        if (c == '/') c = '\\';
    EXPECT_NE(hpj.find(expected), std::string::npos) << expected << "\n" << hpj;
}

TEST_F(BuildTest, AFailedStartIsReportedWithItsReason) {
    auto w = StartOnSample();
    ui.compiler.result = qm::CompilerResult{false, -1, "Permission denied", {}};
    ui.ExpectMessage(MsgKind::Error, "Could not compile file.\nPermission denied");
    Act(*w, "actCompile")->trigger();
    EXPECT_EQ(w->Status().Text(0), "Could not compile file.");
    EXPECT_EQ(qm::BusyCursor::Depth(), 0);
    EXPECT_TRUE(WorkFiles(*w).empty());
    EXPECT_FALSE(w->Project().Modified);
}

TEST_F(BuildTest, AnErrorInsideTheBuildRestoresEverything) {
    auto w = StartOnSample();
    // A module name that cannot be a file name stops the writer.
    w->Project().Topics.FindByName("Beta")->SetName("Be/ta");
    ui.ExpectMessage(MsgKind::Error, "");
    Act(*w, "actCompile")->trigger();
    EXPECT_TRUE(ui.compiler.calls.empty());
    EXPECT_EQ(w->Status().Text(0), "Ready.");
    EXPECT_EQ(qm::BusyCursor::Depth(), 0);
    EXPECT_TRUE(WorkFiles(*w).empty());
    EXPECT_FALSE(w->Project().Modified);
}

TEST_F(BuildTest, ShowsTheCurrentTopicAfterTheBuildWhenAsked) {
    auto w = StartOnSample();
    OpenRow(*w, "lstTopics", "Beta");
    w->Options().AcViewCnt = false;
    w->Options().AcViewCurrent = true;
    Act(*w, "actCompile")->trigger();
    ASSERT_EQ(ui.compiler.calls.size(), 1u);
    EXPECT_EQ(ui.compiler.calls[0].switches, "-x");
    EXPECT_EQ(qm::CompilerArguments(ui.compiler.calls[0]),
              (std::vector<std::string>{"-x", root_ + "my project/sample.hpj"}));
    EXPECT_EQ(ui.compiler.calls[0].workingFolder, root_ + "my project/");
    ASSERT_EQ(ui.viewer.shown.size(), 1u);
    EXPECT_EQ(ui.viewer.shown[0].helpFile, root_ + "my project/sample.hlp");
    EXPECT_EQ(ui.viewer.shown[0].context, 20);
}

TEST_F(BuildTest, ViewCommandsNeedTheHelpFile) {
    auto w = StartOnSample();
    ui.ExpectMessage(MsgKind::Information, "The help file does not exist.");
    Act(*w, "actView")->trigger();
    ui.ExpectMessage(MsgKind::Information, "The help file does not exist.");
    Act(*w, "actViewCurTopic")->trigger();
    std::ofstream(root_ + "my project/sample.hlp") << "x";
    // Both go through the viewer, so both say the same when none can run.
    Act(*w, "actView")->trigger();
    Act(*w, "actViewCurTopic")->trigger();
    EXPECT_TRUE(ui.shell.opened.empty());
    ASSERT_EQ(ui.viewer.shown.size(), 2u);
    EXPECT_EQ(ui.viewer.shown[0].helpFile, root_ + "my project/sample.hlp");
    EXPECT_EQ(ui.viewer.shown[0].context, FakeHelpViewer::kContents);
    EXPECT_EQ(ui.viewer.shown[1].context, 10);  // Alpha is open
}

TEST_F(BuildTest, TheBuiltHelpFileIsFoundWhateverItsCase) {
    auto w = StartOnSample();
    // Through wine the compiler writes the names in capitals.
    std::ofstream(root_ + "my project/SAMPLE.HLP") << "x";
    std::ofstream(root_ + "my project/SAMPLE.GID") << "x";
    Act(*w, "actView")->trigger();
    Act(*w, "actViewCurTopic")->trigger();
    ASSERT_EQ(ui.viewer.shown.size(), 2u);
    EXPECT_EQ(ui.viewer.shown[0].helpFile, root_ + "my project/SAMPLE.HLP");
    EXPECT_EQ(ui.viewer.shown[1].helpFile, root_ + "my project/SAMPLE.HLP");
    // The build deletes the old index beside it.
    Act(*w, "actCompile")->trigger();
    ASSERT_EQ(ui.compiler.calls.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(root_ + "my project/SAMPLE.GID"));
    EXPECT_TRUE(std::filesystem::exists(root_ + "my project/SAMPLE.HLP"));
}

TEST_F(BuildTest, GoingToAnErrorInTheOpenModuleKeepsItsUndoHistory) {
    auto w = StartOnSample("First line\\par Second <LINK TOPIC=\"Nowhere\">there</LINK>");
    ASSERT_EQ(CurrentName(*w), "Alpha");
    Act(*w, "actCompile")->trigger();
    ASSERT_EQ(w->BuildLog().ErrorCount(), 1);
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelText("Typed ");
    ASSERT_TRUE(w->Editor()->CanUndo());
    auto* tree = Child<QTreeWidget>(*w, "tvwQuillmark");
    QTreeWidgetItem* entry = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0).startsWith("Error")) entry = tree->topLevelItem(i);
    ASSERT_NE(entry, nullptr);
    tree->setCurrentItem(entry);
    emit tree->itemDoubleClicked(entry, 0);
    EXPECT_EQ(CurrentName(*w), "Alpha");
    EXPECT_TRUE(EditorText(*w).startsWith("Typed First line"));
    ASSERT_TRUE(w->Editor()->CanUndo());
    w->Editor()->Undo();
    EXPECT_TRUE(EditorText(*w).startsWith("First line"));
}

TEST_F(BuildTest, ALogEntryLeadsToItsModuleAndMarksTheLineWithoutTouchingTheText) {
    auto w = StartOnSample("First line\\par Second <LINK TOPIC=\"Nowhere\">there</LINK>");
    OpenRow(*w, "lstTopics", "Beta");
    Act(*w, "actCompile")->trigger();
    ASSERT_EQ(w->BuildLog().ErrorCount(), 1);
    w->Project().Modified = false;
    auto* tree = Child<QTreeWidget>(*w, "tvwQuillmark");
    QTreeWidgetItem* entry = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0).startsWith("Error")) entry = tree->topLevelItem(i);
    ASSERT_NE(entry, nullptr);
    tree->setCurrentItem(entry);
    emit tree->itemDoubleClicked(entry, 0);

    EXPECT_EQ(CurrentName(*w), "Alpha");
    const std::string rtfBefore = w->Editor()->GetRtfText();
    const auto marks = w->Editor()->extraSelections();
    ASSERT_EQ(marks.size(), 1);
    EXPECT_EQ(marks[0].cursor.block().blockNumber(), 1);
    EXPECT_EQ(marks[0].format.background().color(), QColor(255, 0, 0));
    EXPECT_EQ(w->Editor()->GetSelStart(), marks[0].cursor.block().position());
    EXPECT_EQ(w->Editor()->GetRtfText().find("\\highlight"), std::string::npos);
    EXPECT_FALSE(w->Project().Modified);
    EXPECT_FALSE(w->Editor()->CanUndo());

    // The tree losing the focus removes the marking.
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(tree, &out);
    EXPECT_TRUE(w->Editor()->extraSelections().isEmpty());
    EXPECT_EQ(w->Editor()->GetRtfText(), rtfBefore);
    EXPECT_FALSE(w->Project().Modified);
    EXPECT_FALSE(w->Editor()->CanUndo());

    // A marking never reaches a save.
    emit tree->itemDoubleClicked(entry, 0);
    Act(*w, "actSave")->trigger();
    EXPECT_TRUE(w->Editor()->extraSelections().isEmpty());

    // The module is gone: the message, and nothing opens.
    OpenRow(*w, "lstTopics", "Beta");
    w->Project().Topics.DeleteNode(w->Project().Topics.FindByName("Alpha"));
    ui.ExpectMessage(MsgKind::Information, "The specified module no longer exists in the project.");
    emit tree->itemDoubleClicked(entry, 0);
    EXPECT_EQ(CurrentName(*w), "Beta");
}

TEST_F(BuildTest, SaveOutputWritesEveryRowAndClearingTheLogEmptiesTheTree) {
    auto w = StartOnSample("See <LINK TOPIC=\"Nowhere\">there</LINK>");
    Act(*w, "actCompile")->trigger();
    const QStringList rows = TreeRows(*w, "tvwQuillmark");
    ASSERT_GT(rows.size(), 3);
    const std::string out = root_ + "log.txt";
    ui.ExpectSaveFile(qm::FromCp1252(out));
    w->SaveOutput(0);
    std::string expected;
    for (const QString& r : rows) expected += qm::ToCp1252(r) + "\r\n";
    EXPECT_EQ(ReadText(out), expected);

    // Opening a project clears the log and with it every row.
    ASSERT_TRUE(w->ProjectCommands().OpenProjectFile(projectPath_));
    EXPECT_EQ(w->BuildLog().Count(), 0);
    EXPECT_TRUE(TreeRows(*w, "tvwQuillmark").isEmpty());
    ui.ExpectSaveFile(qm::FromCp1252(out));
    w->SaveOutput(0);
    EXPECT_EQ(ReadText(out), "");

    // An unwritable target: the error, nothing else.
    ui.ExpectSaveFile(qm::FromCp1252(root_ + "no/such/dir/log.txt"));
    ui.ExpectMessage(MsgKind::Error, "");
    w->SaveOutput(1);
}

TEST_F(BuildTest, TheResultsMenuSavesClearsAndCloses) {
    auto w = Start();
    auto* menu = Child<QMenu>(*w, "mnuPopResults");
    auto* action1 = Child<QAction>(*w, "mnuPopResultsAction1");
    auto* tabs = Child<QTabBar>(*w, "tsOutputs");
    auto* find = Child<QTreeWidget>(*w, "lvwFind");
    new QTreeWidgetItem(find, QStringList{"hit"});
    for (int tab : {0, 1}) {
        tabs->setCurrentIndex(tab);
        emit menu->aboutToShow();
        EXPECT_EQ(action1->text(), "Save Output");
    }
    tabs->setCurrentIndex(2);
    emit menu->aboutToShow();
    EXPECT_EQ(action1->text(), "Clear results");
    action1->trigger();
    EXPECT_EQ(find->topLevelItemCount(), 0);
    auto* pane = Child<QDockWidget>(*w, "pnlMessages");
    ASSERT_FALSE(pane->isHidden());
    Child<QAction>(*w, "mnuPopResultsClose")->trigger();
    EXPECT_TRUE(pane->isHidden());
    EXPECT_FALSE(w->Options().ShowMessages);
    // A build shows the pane again, on the program's own tab.
    auto s = StartOnSample();
    Child<QAction>(*s, "mnuPopResultsClose")->trigger();
    Child<QTabBar>(*s, "tsOutputs")->setCurrentIndex(2);
    Act(*s, "actCompile")->trigger();
    EXPECT_FALSE(Child<QDockWidget>(*s, "pnlMessages")->isHidden());
    EXPECT_EQ(Child<QTabBar>(*s, "tsOutputs")->currentIndex(), 0);
}

TEST_F(BuildTest, TheOutputTabsShowOneOutputEach) {
    auto w = Start();
    auto* tabs = Child<QTabBar>(*w, "tsOutputs");
    auto* q = Child<QTreeWidget>(*w, "tvwQuillmark");
    auto* h = Child<QTreeWidget>(*w, "tvwHCRTF");
    auto* f = Child<QTreeWidget>(*w, "lvwFind");
    for (int tab : {2, 1, 0}) {
        tabs->setCurrentIndex(tab);
        EXPECT_EQ(!q->isHidden(), tab == 0);
        EXPECT_EQ(!h->isHidden(), tab == 1);
        EXPECT_EQ(!f->isHidden(), tab == 2);
    }
}

}  // namespace
}  // namespace qmtest
