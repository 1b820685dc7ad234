// The settings commands end to end on the real main window: the options
// dialog before a first build, the windows editor, the project settings with
// build tags, renumbering and browse sequences, each through its dialog's
// controls, checked in the model and in the help project written from it.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>
#include <fstream>

#include "dialogs/addtool.h"
#include "dialogs/browseedit.h"
#include "dialogs/buildtags.h"
#include "dialogs/programoptions.h"
#include "dialogs/projectoptions.h"
#include "dialogs/renumberids.h"
#include "dialogs/windowseditor.h"
#include "mainwindow_fixture.h"
#include "platform/qtprograms.h"
#include "preprocess/projectwriter.h"
#include "spell/spellengine.h"
#include "spell/userdictionary.h"
#include "util/fileio.h"
#include "util/helpunits.h"

namespace qmtest {
namespace {

using qm::MsgKind;

int ClickOk(QDialog& d) {
    d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return d.result();
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SettingsCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        qm::SetScreenMetrics(&screen_);
    }
    void TearDown() override {
        qm::SetScreenMetrics(nullptr);
        MainWindowTest::TearDown();
    }
    std::unique_ptr<qm::TfrmMain> StartOnSample() {
        path_ = SaveSample();
        auto w = Start({qm::FromCp1252(path_)});
        EXPECT_TRUE(started);
        return w;
    }
    // The help project the build would write for the window's project.
    std::string HelpProject(qm::TfrmMain& w) {
        std::filesystem::create_directories(root_ + "work");
        return ReadText(qm::WriteProjectFile(w.Project(), root_, root_ + "work"));
    }
    // The lines of one section of a help project, up to the next section.
    static std::vector<std::string> Section(const std::string& hpj, const std::string& name) {
        std::vector<std::string> lines;
        std::size_t at = hpj.find(name + "\r\n");
        if (at == std::string::npos) return lines;
        at += name.size() + 2;
        while (at < hpj.size() && hpj[at] != '[') {
            const std::size_t end = hpj.find("\r\n", at);
            if (end == std::string::npos) break;
            if (end > at) lines.push_back(hpj.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }

    qm::FixedScreenMetrics screen_{{1024, 768}};
    std::string path_;
};

TEST_F(SettingsCommandsTest, ANewUsersFirstBuildFindsTheCompilerSetInOptions) {
    auto w = StartOnSample();
    qm::QtCompilerRunner runner;
    ui.UseCompiler(&runner);
    ASSERT_TRUE(w->Options().CompilerPath.empty());
    ui.ExpectMessage(MsgKind::Warning, "not found");
    Act(*w, "actCompile")->trigger();

    const QString standin = QCoreApplication::applicationDirPath() + "/standin";
    ui.ExpectDialog("frmOptions", [&](QDialog& dlg) {
        auto& d = static_cast<qm::TfrmOptions&>(dlg);
        EXPECT_EQ(d.lblCompilerState->text(), "hcrtf.exe was not found in this folder.");
        ui.ExpectFolder(standin);
        d.cmdBrowseCompiler->click();
        EXPECT_EQ(d.lblCompilerState->text(), "hcrtf.exe found; it runs directly.");
        return ClickOk(dlg);
    });
    Act(*w, "actOptions")->trigger();
    EXPECT_EQ(w->Options().CompilerPath, qm::ToCp1252(standin));
    EXPECT_EQ(settings.ReadString("Settings", "CompilerPath"), qm::ToCp1252(standin));

    Act(*w, "actCompile")->trigger();
    EXPECT_TRUE(qm::FileExists(root_ + "sample.hlp"));
}

TEST_F(SettingsCommandsTest, AToolAddedInOptionsIsSavedAndInTheToolsMenu) {
    auto w = StartOnSample();
    ui.ExpectDialog("frmOptions", [&](QDialog& dlg) {
        auto& d = static_cast<qm::TfrmOptions&>(dlg);
        EXPECT_TRUE(d.cmdAddTool->isEnabled());
        ui.ExpectDialog("frmAddTool", [](QDialog& tool) {
            auto& t = static_cast<qm::TfrmAddTool&>(tool);
            t.txtPath->setText("/usr/bin/gimp");
            t.txtDisplayName->setText("Gimp");
            return ClickOk(tool);
        });
        d.cmdAddTool->click();
        EXPECT_EQ(d.lstTools->topLevelItemCount(), 1);
        return ClickOk(dlg);
    });
    Act(*w, "actOptions")->trigger();
    ASSERT_EQ(w->UserTools().Count(), 1);
    EXPECT_EQ(w->UserTools().GetTool(0), (qm::TTool{"/usr/bin/gimp", "Gimp"}));
    qm::TUserTools saved;
    saved.LoadFromRegistry(settings);
    EXPECT_EQ(saved.Count(), 1);
}

TEST_F(SettingsCommandsTest, ThePersonalDictionaryNamedInOptionsIsLoadedWithItsCase) {
    auto w = StartOnSample();
    qm::TQorSpellEngine* engine = w->SpellEngine();
    ASSERT_NE(engine, nullptr);
    qm::TUserWords words;
    words.SetText("Quillwort\r\n");
    words.SaveToFile(root_ + "user/Dictionaries/Mine.dic");
    ui.ExpectDialog("frmOptions", [&](QDialog& dlg) {
        auto& d = static_cast<qm::TfrmOptions&>(dlg);
        EXPECT_GE(d.cboPersonalDics->findText("Mine", Qt::MatchExactly | Qt::MatchCaseSensitive), 0);
        d.cboPersonalDics->setEditText(" Mine ");
        dlg.reject();
        return dlg.result();
    });
    Act(*w, "actOptions")->trigger();
    // Whatever button closed the dialog.
    EXPECT_EQ(engine->UserDictionaryName(), "Mine");
    EXPECT_EQ(w->Options().UserDictionary, "Mine");
    ASSERT_NE(engine->UserWords(), nullptr);
    EXPECT_TRUE(engine->UserWords()->Contains("quillwort"));
}

TEST_F(SettingsCommandsTest, AHelpWindowReachesTheHelpProject) {
    auto w = StartOnSample();
    ASSERT_FALSE(w->Project().Modified);
    QAction* winEdit = Act(*w, "actWinEdit");
    EXPECT_EQ(winEdit->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
    ui.ExpectDialog("frmWindows", [&](QDialog& dlg) {
        auto& d = static_cast<qm::TfrmWindows&>(dlg);
        ui.ExpectInput(QStringLiteral("proc4"), "Enter the new window name:");
        d.cmdNew->click();
        d.udLeft->setValue(100);
        return ClickOk(dlg);
    });
    winEdit->trigger();
    EXPECT_TRUE(w->Project().Modified);
    const auto windows = Section(HelpProject(*w), "[WINDOWS]");
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[1], "proc4=\"\",(100,144,600,480),27652,(r16777215),(r16777215),f4");

    // Renaming a window in use sends its topics to "main".
    w->Project().Topics.FindByName("Alpha")->SetWindow("proc4");
    ui.ExpectDialog("frmWindows", [&](QDialog& dlg) {
        auto& d = static_cast<qm::TfrmWindows&>(dlg);
        d.lstWindows->setCurrentRow(1);
        ui.ExpectInput(QStringLiteral("proc5"), "Enter the new window name:");
        d.cmdRename->click();
        return ClickOk(dlg);
    });
    winEdit->trigger();
    EXPECT_EQ(w->Project().Topics.FindByName("Alpha")->GetWindow(), "main");
}

TEST_F(SettingsCommandsTest, BuildTagsAndStartUpMacrosReachTheHelpProject) {
    auto w = StartOnSample();
    ui.ExpectDialog("frmProjectOptions", [&](QDialog& dlg) {
        auto& d = static_cast<qm::TfrmProjectOptions&>(dlg);
        for (auto [button, tag] : {std::pair{d.cmdIncAdd, "INTERNAL"}, std::pair{d.cmdExcAdd, "DRAFT"}}) {
            ui.ExpectDialog("frmBuildTags", [tag = QString::fromLatin1(tag)](QDialog& tags) {
                static_cast<qm::TfrmBuildTags&>(tags).txtTag->setText(tag);
                return ClickOk(tags);
            });
            button->click();
        }
        d.txtMacro->setText("BrowseButtons()");
        d.cmdAddMacro->click();
        return ClickOk(dlg);
    });
    Act(*w, "actProjectOptions")->trigger();
    EXPECT_TRUE(w->Project().Modified);
    const std::string hpj = HelpProject(*w);
    EXPECT_EQ(Section(hpj, "[INCLUDE]"), std::vector<std::string>{"INTERNAL"});
    EXPECT_EQ(Section(hpj, "[EXCLUDE]"), std::vector<std::string>{"DRAFT"});
    EXPECT_EQ(Section(hpj, "[CONFIG]"), std::vector<std::string>{"BrowseButtons()"});
}

TEST_F(SettingsCommandsTest, RenumberingInEachOrderShowsInTheListsAndTheMap) {
    for (bool topicsFirst : {true, false}) {
        SCOPED_TRACE(topicsFirst ? "topics first" : "popups first");
        auto w = StartOnSample();
        ui.ExpectDialog("frmRenumberIds", [&](QDialog& dlg) {
            auto& d = static_cast<qm::TfrmRenumberIds&>(dlg);
            if (!topicsFirst) d.optPopupsFirst->click();
            d.txtIncrement->setText("10");
            d.txtFirstStart->setText("100");
            d.txtSecondStart->setText("1000");
            return ClickOk(dlg);
        });
        Act(*w, "actRenumberIDs")->trigger();
        EXPECT_TRUE(w->Project().Modified);
        const std::vector<std::string> map = Section(HelpProject(*w), "[MAP]");
        const std::vector<std::string> expected =
            topicsFirst ? std::vector<std::string>{"Contents 100", "Beta 110", "Alpha 120", "PopOne 1000"}
                        : std::vector<std::string>{"Contents 1000", "Beta 1010", "Alpha 1020", "PopOne 100"};
        EXPECT_EQ(map, expected);
        // Each list row draws its node's number: the rows now stand for the new ones.
        auto listed = [&](qm::ExplorerPage page) {
            std::vector<int> ids;
            for (int row = 0; row < w->ListCount(page); ++row)
                ids.push_back(w->Project().Topics.FindById(w->NodeAt(page, row))->ContextId);
            std::sort(ids.begin(), ids.end());
            return ids;
        };
        EXPECT_EQ(listed(qm::ExplorerPage::Topics),
                  topicsFirst ? std::vector<int>({100, 110, 120}) : std::vector<int>({1000, 1010, 1020}));
        EXPECT_EQ(listed(qm::ExplorerPage::Popups), std::vector<int>({topicsFirst ? 1000 : 100}));
    }
}

TEST_F(SettingsCommandsTest, ANewBrowseSequenceGivesItsTopicsNumberedStrings) {
    auto w = StartOnSample();
    ui.ExpectDialog("frmBrowseEdit", [&](QDialog& dlg) {
        auto& d = static_cast<qm::TfrmBrowseEdit&>(dlg);
        ui.ExpectInput(QStringLiteral("seq"), "New browse sequence name:");
        d.cmdNew->click();
        for (const char* name : {"Beta", "Alpha"}) {
            d.lstAvTopics->setCurrentItem(d.lstAvTopics->findItems(name, Qt::MatchExactly).front());
            d.cmdIncludeOne->click();
        }
        return ClickOk(dlg);
    });
    Act(*w, "actBrowseEdit")->trigger();
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_EQ(w->Project().Topics.FindByName("Beta")->GetBrowse(), "seq:005");
    EXPECT_EQ(w->Project().Topics.FindByName("Alpha")->GetBrowse(), "seq:010");
    EXPECT_EQ(w->Project().Topics.FindByName("Contents")->GetBrowse(), "");
}

TEST_F(SettingsCommandsTest, CancelledDialogsLeaveTheProjectUnmodified) {
    auto w = StartOnSample();
    for (const char* action : {"actWinEdit", "actProjectOptions", "actBrowseEdit", "actRenumberIDs"}) {
        SCOPED_TRACE(action);
        ui.ExpectDialog(action == std::string("actWinEdit")          ? "frmWindows"
                        : action == std::string("actProjectOptions") ? "frmProjectOptions"
                        : action == std::string("actBrowseEdit")     ? "frmBrowseEdit"
                                                                     : "frmRenumberIds",
                        [](QDialog& dlg) {
                            dlg.reject();
                            return dlg.result();
                        });
        Act(*w, action)->trigger();
        EXPECT_FALSE(w->Project().Modified);
    }
}

}  // namespace
}  // namespace qmtest
