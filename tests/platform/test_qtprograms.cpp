// The Qt side of the external programs: the compiler started natively or
// through wine and waited for to its end, the help viewer, and screen metrics.
#include "platform/qtprograms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/qtscreenmetrics.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"

using namespace qm;

namespace {

std::string Read(const QString& file) {
    std::ifstream in(file.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const QString& file, const std::string& text, bool executable = false) {
    {
        std::ofstream out(file.toStdString(), std::ios::binary | std::ios::trunc);
        out << text;
    }
    ::chmod(file.toLocal8Bit().constData(), executable ? 0755 : 0644);
}

QString StandIn() { return QCoreApplication::applicationDirPath() + QStringLiteral("/standin/hcrtf.exe"); }

// Sets an environment variable for the scope.
class EnvVar {
public:
    EnvVar(const char* name, const QString& value) : name_(name) {
        if (const char* v = std::getenv(name)) old_ = v, had_ = true;
        ::setenv(name, value.toLocal8Bit().constData(), 1);
    }
    ~EnvVar() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// The lines "cwd=..." and "arg=..." of the stand-in's (or fake wine's) record.
std::vector<std::string> Lines(const QString& file) {
    std::vector<std::string> out;
    std::istringstream in(Read(file));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

class QtPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QFileInfo(StandIn()).isExecutable()) << "stand-in compiler not built: " << StandIn().toStdString();
        // A folder with blanks, as users' project folders often have.
        project_ = dir_.filePath(QStringLiteral("My Help"));
        QDir().mkpath(project_);
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QString project_;
};

}  // namespace

TEST_F(QtPrograms, NativeStandInGetsOneProjectArgumentInTheProjectFolder) {
    const QString hpj = project_ + QStringLiteral("/Sample Help.hpj");
    Write(project_ + QStringLiteral("/t1.rtf"), "{\\rtf1}");
    Write(hpj, "[OPTIONS]\r\nHLP=Out File.hlp\r\nERRORLOG=" + (project_ + "/report.log").toStdString() +
                   "\r\n\r\n[FILES]\r\nt1.rtf\r\nmissing.rtf\r\n");
    EnvVar record("QM_STANDIN_RECORD", Path(QStringLiteral("record.txt")));
    EnvVar code("QM_STANDIN_EXIT", QStringLiteral("3"));

    QtCompilerRunner runner;
    EXPECT_EQ(runner.Availability(StandIn().toStdString()), CompilerAvailability::Native);
    const CompilerResult r = runner.Run({StandIn().toStdString(), "-xh", hpj.toStdString(), project_.toStdString()});
    EXPECT_TRUE(r.started) << r.failure;
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(
        Lines(Path(QStringLiteral("record.txt"))),
        (std::vector<std::string>{"cwd=" + project_.toStdString(), "arg=-xh", "arg=" + hpj.toStdString(), "end"}));
    // The report where ERRORLOG says, CR LF lines, one with a tab.
    const std::string report = Read(project_ + QStringLiteral("/report.log"));
    EXPECT_NE(report.find("Topic files:\t1 of 2\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("missing.rtf\r\n"), std::string::npos) << report;
    EXPECT_TRUE(QFileInfo::exists(project_ + QStringLiteral("/Out File.hlp")));
}

// A compiler that leaves no report can still say why: the end of its error
// output comes back (never its console output, never more than the tail).
TEST_F(QtPrograms, TheEndOfTheCompilersErrorOutputComesBack) {
    const QString hpj = project_ + QStringLiteral("/p.hpj");
    Write(hpj, "[OPTIONS]\r\n");
    const QString script = project_ + QStringLiteral("/hc.sh");
    Write(script,
          "#!/bin/sh\n"
          "echo 'console line'\n"
          "i=0; while [ $i -lt 400 ]; do echo \"noise line $i of the error output\" >&2; i=$((i+1)); done\n"
          "echo 'last words' >&2\n"
          "exit 4\n",
          true);
    QtCompilerRunner runner;
    const CompilerResult r = runner.Run({script.toStdString(), "-x", hpj.toStdString(), project_.toStdString()});
    ASSERT_TRUE(r.started) << r.failure;
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_EQ(r.errorOutput.size(), kCompilerErrorOutputTail);
    EXPECT_TRUE(r.errorOutput.ends_with("of the error output\nlast words\n")) << r.errorOutput;
    EXPECT_EQ(r.errorOutput.find("noise line 0 "), std::string::npos);
    EXPECT_EQ(r.errorOutput.find("console line"), std::string::npos);
}

TEST_F(QtPrograms, WaitsForTheProcessNotForAnExitCodeSentinel) {
    const QString hpj = project_ + QStringLiteral("/p.hpj");
    Write(hpj, "[OPTIONS]\r\n");
    // The wait ends with the process, whatever code it ends with.
    EnvVar code("QM_STANDIN_EXIT", QStringLiteral("5"));
    EnvVar slow("QM_STANDIN_SLEEP_MS", QStringLiteral("400"));
    QtCompilerRunner runner;
    QElapsedTimer t;
    t.start();
    const CompilerResult r = runner.Run({StandIn().toStdString(), "-x", hpj.toStdString(), project_.toStdString()});
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_GE(t.elapsed(), 350);
    // It returned after the compiler finished: its outputs are all there.
    EXPECT_TRUE(QFileInfo::exists(project_ + QStringLiteral("/hcwreport.log")));
    EXPECT_TRUE(QFileInfo::exists(project_ + QStringLiteral("/p.hlp")));
}

// What stands where the stand-in writes its help file or its report (a
// link planted in the work folder, say) is never written through: the run
// fails and says why, and the file the link names keeps its text.
TEST_F(QtPrograms, StandInNeverWritesThroughWhatStandsInPlaceOfItsFiles) {
    namespace fs = std::filesystem;
    enum class At { Help, Report };
    struct Row {
        const char* name;
        At at;
        std::function<void(const fs::path& place, const fs::path& victim)> plant;
        int exitCode;
        const char* why;  // on standard error, and in the report for the help file
    } rows[] = {
        {"a link at the report", At::Report, [](auto& p, auto& v) { fs::create_symlink(v, p); }, 2,
         "a symbolic link stands in its place"},
        {"a link at the help file", At::Help, [](auto& p, auto& v) { fs::create_symlink(v, p); }, 2,
         "a symbolic link stands in its place"},
        {"a dangling link at the report", At::Report,
         [](auto& p, auto& v) { fs::create_symlink(v.parent_path() / "made-out-there", p); }, 2,
         "a symbolic link stands in its place"},
        {"a FIFO at the help file", At::Help, [](auto& p, auto&) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, 2,
         "it is not a regular file"},
        {"a folder at the report", At::Report, [](auto& p, auto&) { fs::create_directory(p); }, 2,
         "it is not a regular file"},
        {"a hard link at the help file is replaced", At::Help, [](auto& p, auto& v) { fs::create_hard_link(v, p); }, 0,
         nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir scratch;
        ASSERT_TRUE(scratch.isValid());
        const fs::path root = scratch.path().toStdString();
        fs::create_directories(root / "work");
        fs::create_directories(root / "elsewhere");
        const fs::path victim = root / "elsewhere" / "victim";
        Write(QString::fromStdString(victim.string()), "keep me");
        const fs::path hpj = root / "p.hpj";
        const fs::path report = root / "work" / "hcwreport.log";
        const fs::path help = root / "p.hlp";
        Write(QString::fromStdString(hpj.string()), "[OPTIONS]\r\nERRORLOG=" + report.string() + "\r\n");
        const fs::path place = row.at == At::Help ? help : report;
        row.plant(place, victim);

        QProcess standin;
        standin.setWorkingDirectory(QString::fromStdString(root.string()));
        standin.start(StandIn(), {QStringLiteral("-x"), QString::fromStdString(hpj.string())});
        ASSERT_TRUE(standin.waitForFinished(300000)) << "the stand-in hangs";
        EXPECT_EQ(standin.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(standin.exitCode(), row.exitCode);
        const std::string err = standin.readAllStandardError().toStdString();

        EXPECT_EQ(Read(QString::fromStdString(victim.string())), "keep me");
        EXPECT_FALSE(fs::exists(root / "elsewhere" / "made-out-there"));
        if (!row.why) {
            EXPECT_TRUE(err.empty()) << err;
            EXPECT_FALSE(fs::is_symlink(help));
            EXPECT_NE(Read(QString::fromStdString(help.string())).find("Stand-in help file"), std::string::npos);
            continue;
        }
        EXPECT_NE(err.find(place.string()), std::string::npos) << err;
        EXPECT_NE(err.find(row.why), std::string::npos) << err;
        // What was planted is still there, untouched.
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(place)));
        if (row.at == At::Help) {
            const std::string text = Read(QString::fromStdString(report.string()));
            EXPECT_NE(text.find("HC5000: Error: Cannot write " + help.string() + ": " + row.why + ".\r\n"),
                      std::string::npos)
                << text;
        } else {
            // The help file is made all the same.
            EXPECT_TRUE(fs::is_regular_file(help));
        }
    }
}

TEST_F(QtPrograms, NoSwitchesMeansNoArguments) {
    EnvVar record("QM_STANDIN_RECORD", Path(QStringLiteral("record.txt")));
    QtCompilerRunner runner;
    const CompilerResult r = runner.Run({StandIn().toStdString(), "", "/x/p.hpj", project_.toStdString()});
    EXPECT_TRUE(r.started);
    EXPECT_EQ(Lines(Path(QStringLiteral("record.txt"))),
              (std::vector<std::string>{"cwd=" + project_.toStdString(), "end"}));
}

TEST_F(QtPrograms, AFailedStartIsReportedWithItsReason) {
    QtCompilerRunner runner;
    // Missing compiler.
    CompilerResult r =
        runner.Run({Path(QStringLiteral("none/hcrtf.exe")).toStdString(), "-x", "p.hpj", project_.toStdString()});
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.failure.empty());
    // A working folder that does not exist.
    r = runner.Run({StandIn().toStdString(), "-x", "p.hpj", Path(QStringLiteral("gone")).toStdString()});
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.failure.empty());
    // An executable that cannot be executed (no interpreter).
    const QString bad = Path(QStringLiteral("bad/hcrtf.exe"));
    QDir().mkpath(Path(QStringLiteral("bad")));
    Write(bad, "#!/no/such/interpreter\n", true);
    r = runner.Run({bad.toStdString(), "-x", "p.hpj", project_.toStdString()});
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.failure.empty());
}

TEST_F(QtPrograms, NativeExecutablesAreRecognised) {
    struct Case {
        const char* name;
        std::string text;
        bool executable;
        bool native;
    } cases[] = {
        {"elf",
         std::string("\x7f"
                     "ELF\x02\x01",
                     6),
         true, true},
        {"script", "#!/bin/sh\nexit 0\n", true, true},
        {"elf-noexec",
         std::string("\x7f"
                     "ELF\x02\x01",
                     6),
         false, false},
        {"windows", "MZ\x90\x00", true, false},
        {"windows-noexec", "MZ\x90\x00", false, false},
    };
    for (const Case& c : cases) {
        const QString f = Path(QString::fromLatin1(c.name));
        Write(f, c.text, c.executable);
        EXPECT_EQ(IsNativeExecutable(f), c.native) << c.name;
    }
    EXPECT_FALSE(IsNativeExecutable(Path(QStringLiteral("absent"))));
    EXPECT_FALSE(IsNativeExecutable(dir_.path()));
}

TEST_F(QtPrograms, AWindowsCompilerRunsThroughWineWhenWineIsThere) {
    const QString hc = Path(QStringLiteral("hc/hcrtf.exe"));
    QDir().mkpath(Path(QStringLiteral("hc")));
    Write(hc, "MZ\x90\x00 a Windows program", false);
    const QString bin = Path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    {
        EnvVar path("PATH", bin);
        QtCompilerRunner runner;
        EXPECT_EQ(runner.Availability(hc.toStdString()), CompilerAvailability::NoWine);
        const CompilerResult r = runner.Run({hc.toStdString(), "-x", "/p.hpj", project_.toStdString()});
        EXPECT_FALSE(r.started);
        EXPECT_EQ(r.failure, kMsgCompilerNeedsWine);
    }
    // A fake wine that records how it was called.
    const QString log = Path(QStringLiteral("wine.log"));
    Write(bin + QStringLiteral("/wine"),
          "#!/bin/sh\necho \"cwd=$(pwd)\" >> '" + log.toStdString() +
              "'\nfor a in \"$@\"; do printf 'arg=%s\\n' \"$a\" >> '" + log.toStdString() + "'; done\nexit 7\n",
          true);
    EnvVar path("PATH", bin + QStringLiteral(":/usr/bin:/bin"));
    QtCompilerRunner runner;
    EXPECT_EQ(runner.Availability(hc.toStdString()), CompilerAvailability::ThroughWine);
    const std::string hpj = (project_ + QStringLiteral("/a b.hpj")).toStdString();
    const CompilerResult r = runner.Run({hc.toStdString(), "-xh", hpj, project_.toStdString()});
    EXPECT_TRUE(r.started) << r.failure;
    EXPECT_EQ(r.exitCode, 7);
    QString winHpj = project_ + QStringLiteral("/a b.hpj");
    winHpj.replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_EQ(Lines(log), (std::vector<std::string>{"cwd=" + project_.toStdString(), "arg=" + hc.toStdString(),
                                                    "arg=-xh", "arg=Z:" + winHpj.toStdString()}));
}

TEST(WinePathTest, AbsolutePosixPathsGetTheRootDrive) {
    EXPECT_EQ(WinePath(QStringLiteral("/home/a/b.hpj")), QStringLiteral("Z:\\home\\a\\b.hpj"));
    EXPECT_EQ(WinePath(QStringLiteral("C:\\x\\y")), QStringLiteral("C:\\x\\y"));
    EXPECT_EQ(WinePath(QStringLiteral("rel/p.hpj")), QStringLiteral("rel/p.hpj"));
}

TEST_F(QtPrograms, HelpViewerWithoutWineSaysHowToViewTheFile) {
    EnvVar path("PATH", Path(QStringLiteral("empty")));
    qmtest::ScriptedUiServices ui;
    ui.ExpectMessage(MsgKind::Information, QStringLiteral("wine winhlp32"));
    QtHelpViewer viewer(ui);
    const QString hlp = project_ + QStringLiteral("/Sample.hlp");
    EXPECT_FALSE(viewer.ShowContext(hlp.toStdString(), 12));
    ui.ExpectAllAnswered();
    ASSERT_EQ(ui.MessageTexts().size(), 1);
    EXPECT_TRUE(ui.MessageTexts()[0].contains(hlp));
    viewer.Quit();  // nothing started: harmless
}

TEST_F(QtPrograms, HelpViewerRunsWinhlp32UnderWineAtTheContext) {
    const QString bin = Path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const QString log = Path(QStringLiteral("viewer.log"));
    // Records its call, then stays up like a viewer until it is told to quit.
    Write(bin + QStringLiteral("/wine"),
          "#!/bin/sh\nfor a in \"$@\"; do printf 'arg=%s\\n' \"$a\" >> '" + log.toStdString() +
              "'; done\necho end >> '" + log.toStdString() + "'\nexec sleep 30\n",
          true);
    EnvVar path("PATH", bin + QStringLiteral(":/usr/bin:/bin"));
    qmtest::ScriptedUiServices ui;  // no box may appear
    QtHelpViewer viewer(ui);
    const QString hlp = project_ + QStringLiteral("/Sample.hlp");
    EXPECT_TRUE(viewer.ShowContext(hlp.toStdString(), 325));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Read(log).find("end") != std::string::npos; }, 600000));
    QString win = hlp;
    win.replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_EQ(Lines(log),
              (std::vector<std::string>{"arg=winhlp32", "arg=-N", "arg=325", "arg=Z:" + win.toStdString(), "end"}));
    EXPECT_EQ(viewer.RunningViewers(), 1);
    viewer.Quit();  // ends the viewer it started, so the help file can be rewritten
    EXPECT_EQ(viewer.RunningViewers(), 0);
    // The next build's viewer starts afresh.
    EXPECT_TRUE(viewer.ShowContext(hlp.toStdString(), 7));
    EXPECT_EQ(viewer.RunningViewers(), 1);
}

TEST_F(QtPrograms, HelpViewerOpensTheContentsAndTheIndex) {
    const QString bin = Path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const QString log = Path(QStringLiteral("viewer.log"));
    Write(bin + QStringLiteral("/wine"),
          "#!/bin/sh\nfor a in \"$@\"; do printf 'arg=%s\\n' \"$a\" >> '" + log.toStdString() +
              "'; done\necho end >> '" + log.toStdString() + "'\n",
          true);
    EnvVar path("PATH", bin + QStringLiteral(":/usr/bin:/bin"));
    const QString hlp = project_ + QStringLiteral("/Pikeral.hlp");
    QString win = hlp;
    win.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const std::string file = "arg=Z:" + win.toStdString();
    struct Row {
        const char* name;
        std::function<bool(QtHelpViewer&)> call;
        std::vector<std::string> args;
    } rows[] = {
        {"contents", [&](QtHelpViewer& v) { return v.ShowContents(hlp.toStdString()); }, {"arg=winhlp32", file, "end"}},
        {"index without a keyword",
         [&](QtHelpViewer& v) { return v.ShowIndex(hlp.toStdString(), ""); },
         {"arg=winhlp32", file, "end"}},
        {"index at a keyword",
         [&](QtHelpViewer& v) { return v.ShowIndex(hlp.toStdString(), "hot spots"); },
         {"arg=winhlp32", "arg=-k", "arg=hot spots", file, "end"}},
        {"a context in a window of the file",
         [&](QtHelpViewer& v) {
             return v.Show({hlp.toStdString(), qm::HelpCommand::Context, 295, {}, "wnTutor"});
         },
         {"arg=winhlp32", "arg=-N", "arg=295", file + ">wnTutor", "end"}},
        {"the viewer's own help by its bare name",
         [&](QtHelpViewer& v) {
             return v.Show({"Winhlp32.hlp", qm::HelpCommand::Contents, 0, {}, {}});
         },
         {"arg=winhlp32", "arg=Winhlp32.hlp", "end"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(log);
        qmtest::ScriptedUiServices ui;  // no box may appear
        QtHelpViewer viewer(ui);
        EXPECT_TRUE(row.call(viewer));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Read(log).find("end") != std::string::npos; }, 600000));
        EXPECT_EQ(Lines(log), row.args);
    }
}

TEST(QtScreenMetricsTest, InstalledMetricsReportThePrimaryScreen) {
    qmtest::EnsureQtApp();
    const QSize real = QGuiApplication::primaryScreen()->size();
    SetScreenMetrics(nullptr);
    InstallQtScreenMetrics();
    EXPECT_EQ(Screen().screenSize().width, real.width());
    EXPECT_EQ(Screen().screenSize().height, real.height());
    SetScreenMetrics(nullptr);
}

TEST_F(QtPrograms, ShellStartsAProgramDetachedWithItsArguments) {
    const QString log = Path(QStringLiteral("tool.log"));
    const QString tool = Path(QStringLiteral("tool.sh"));
    Write(tool,
          "#!/bin/sh\necho \"cwd=$(pwd)\" >> '" + log.toStdString() +
              "'\nfor a in \"$@\"; do printf 'arg=%s\\n' \"$a\" >> '" + log.toStdString() + "'; done\necho end >> '" +
              log.toStdString() + "'\n",
          true);
    QtShellLauncher shell;
    const LaunchResult r = shell.Start(tool.toStdString(), {"a b", "c"}, project_.toStdString());
    EXPECT_TRUE(r.ok) << r.failure;
    ASSERT_TRUE(QTest::qWaitFor([&] { return Read(log).find("end") != std::string::npos; }, 600000));
    EXPECT_EQ(Lines(log), (std::vector<std::string>{"cwd=" + project_.toStdString(), "arg=a b", "arg=c", "end"}));
    const LaunchResult bad = shell.Start(Path(QStringLiteral("no-such-tool")).toStdString(), {}, "");
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(bad.failure.empty());
}
