// The build's outside steps on real files: the help project and topic files
// go through the private work folder, the stand-in compiler reads the project
// as the writer makes it, the report lands where the project's ERRORLOG says,
// and emptying the folder leaves nothing behind.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/project.h"
#include "platform/qtprograms.h"
#include "preprocess/outputlog.h"
#include "preprocess/projectwriter.h"
#include "preprocess/topicwriter.h"
#include "support/qtapp.h"
#include "util/externalprograms.h"
#include "util/workfolder.h"

using namespace qm;
namespace fs = std::filesystem;

TEST(BuildPipeline, StandInCompilesThroughThePrivateWorkFolder) {
    qmtest::EnsureQtApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString() + "/";
    fs::create_directories(root + "tmp");
    fs::create_directories(root + "My Project");

    TProject project;
    project.NewProject();
    project.SetHlpFile("Guide.hlp");
    project.FileName = root + "My Project/Guide.qpf";
    TTopicNode& second = project.Topics.AddNew();
    second.SetName("Second");
    second.ContextId = 10;
    second.Text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs20 Two\\par\n}";
    project.Topics.GetNode(0).Text =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs20 "
        "<LINK TOPIC=\"Second\">go</LINK>\\par\n}";

    const std::string work = PrepareWorkFolder(root + "tmp/");
    TOutputLog log;
    const std::string hpj = WriteProjectFile(project, root + "My Project", work);
    WriteTopicFiles(project, work, log);
    ASSERT_EQ(log.ErrorCount(), 0);

    const std::string compiler = QCoreApplication::applicationDirPath().toStdString() + "/standin/hcrtf.exe";
    QtCompilerRunner runner;
    const CompilerResult r =
        runner.Run({compiler, CompilerSwitches(false, true, false), hpj, fs::path(hpj).parent_path().string()});
    ASSERT_TRUE(r.started) << r.failure;
    EXPECT_EQ(r.exitCode, 0);

    std::ifstream in(work + "hcwreport.log", std::ios::binary);
    ASSERT_TRUE(in) << "no report in the work folder";
    std::ostringstream report;
    report << in.rdbuf();
    EXPECT_NE(report.str().find("Topic files:\t2 of 2\r\n"), std::string::npos) << report.str();
    EXPECT_TRUE(fs::exists(root + "My Project/Guide.hlp"));

    EXPECT_EQ(EmptyWorkFolder(work), 3);  // two topics and the report
    EXPECT_TRUE(fs::is_empty(fs::path(work)));
}
