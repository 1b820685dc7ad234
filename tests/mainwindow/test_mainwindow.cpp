// The main window end to end: start-up, shutdown, project commands and the
// module lists, driven through its actions and the scripted UI services.
#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <algorithm>
#include <map>
#include <fstream>

#include "mainwindow/splash.h"
#include "support/qtapp.h"

#include "mainwindow_fixture.h"
#include "model/options.h"
#include "model/usertools.h"
#include "spell/qdfbuilder.h"
#include "spell/spellengine.h"
#include "platform/qtcp1252.h"
#include "util/fileio.h"
#include "widgets/actiontable.h"
#include "widgets/statusbar.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;

TEST_F(MainWindowTest, StartsWithTheSplashTextsInOrderAndANewProject) {
    auto w = Start();
    ASSERT_TRUE(started);
    EXPECT_EQ(w->SplashHistory(),
              (QStringList{"Initializing application...", "Initializing environment...", "Loading settings...",
                           "Loading dictionaries...", "Quillmark starting..."}));
    ASSERT_EQ(w->Project().Topics.Count(), 1);
    EXPECT_EQ(CurrentName(*w), "Contents");
    EXPECT_FALSE(w->Project().Modified);
    EXPECT_EQ(w->windowTitle(), "Quillmark 1.51 - [Untitled]");
    EXPECT_EQ(Rows(*w, "lstTopics"), QStringList{"Contents"});
    EXPECT_EQ(w->Status().Text(1), qm::CaretText(1, 1));
    // The components carry their names.
    for (const char* name : {"actCompile", "actView", "actViewCurTopic", "actNew", "actOpen", "actSave", "actSaveAs",
                             "actNavToFirst", "actNavToPrev", "actNavToNext", "actNavToLast"})
        EXPECT_NE(w->findChild<QAction*>(name), nullptr) << name;
    for (const char* name :
         {"lstTopics", "lstPopups",      "cboTopics",     "cboPopups",     "tvwQuillmark", "tvwHCRTF",
          "lvwFind",   "tsOutputs",      "pnlProject",    "pnlMessages",   "tbsProject",   "TheEditor",
          "rtfUser",   "Ruler",          "cboStyles",     "ncbTopics",     "ncbPopups",    "ncbEditor",
          "frmFind",   "frmReplace",     "frmMessage",    "hdrTopics",     "hdrPopups",    "ProjectPopMenu",
          "mnuPopResults", "mnuFileReopen", "sbrStatus"})
        EXPECT_NE(w->findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(Act(*w, "actCompile")->shortcut(), QKeySequence("F5"));
}

TEST_F(MainWindowTest, LoadsTheSettingsAndOpensTheLastProject) {
    const std::string path = SaveSample();
    qm::TOptions o;
    o.SetDefaults();
    o.StartOpenLast = true;
    o.LastProject = path;
    o.CompilerPath = "/opt/hc";
    o.SaveToRegistry(settings);
    qm::TMru mru;
    mru.Add("/somewhere/else.qpf");
    mru.SaveToRegistry(settings);

    auto w = Start();
    ASSERT_TRUE(started);
    EXPECT_TRUE(w->SplashHistory().contains("Opening last project..."));
    EXPECT_EQ(w->Options().CompilerPath, "/opt/hc");
    EXPECT_EQ(w->Project().FileName, path);
    EXPECT_EQ(w->Mru().GetItem(1), path);
    EXPECT_EQ(w->Mru().GetItem(2), "/somewhere/else.qpf");
    EXPECT_GT(w->Styles().Count(), 0);
    // The lists are sorted by name; the first topic is open.
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    EXPECT_EQ(Rows(*w, "lstPopups"), QStringList{"PopOne"});
    EXPECT_EQ(CurrentName(*w), "Alpha");
    EXPECT_TRUE(EditorText(*w).contains("Alpha body"));
    EXPECT_EQ(w->windowTitle(), "Quillmark 1.51 - sample.qpf");
    EXPECT_FALSE(w->Project().Modified);
}

// Remembers the order in which keys are first read.
class RecordingStore : public qm::MemorySettingsStore {
public:
    std::optional<qm::SettingValue> GetValue(std::string_view key, std::string_view name) const override {
        const std::string top = qm::AsciiLowerStr(key.substr(0, key.find('\\')));
        if (std::find(order.begin(), order.end(), top) == order.end()) order.push_back(top);
        return MemorySettingsStore::GetValue(key, name);
    }
    bool KeyExists(std::string_view key) const override {
        const std::string top = qm::AsciiLowerStr(key.substr(0, key.find('\\')));
        if (std::find(order.begin(), order.end(), top) == order.end()) order.push_back(top);
        return MemorySettingsStore::KeyExists(key);
    }
    void SetValue(std::string_view key, std::string_view name, const qm::SettingValue& value) override {
        Wrote(key);
        MemorySettingsStore::SetValue(key, name, value);
    }
    void DeleteKey(std::string_view key) override {
        Wrote(key);
        MemorySettingsStore::DeleteKey(key);
    }
    void Wrote(std::string_view key) {
        const std::string top = qm::AsciiLowerStr(key.substr(0, key.find('\\')));
        if (writes.empty() || writes.back() != top) writes.push_back(top);
    }
    mutable std::vector<std::string> order;
    std::vector<std::string> writes;
};

TEST_F(MainWindowTest, SettingsAreReadAndWrittenInTheirOrder) {
    RecordingStore store;
    qm::TOptions o;
    o.SetDefaults();
    o.SaveToRegistry(store);
    qm::TUserTools tools;
    tools.Add("/bin/true", "True");
    tools.SaveToRegistry(store);
    store.order.clear();
    store.writes.clear();
    qm::TMainWindowEnv env;
    env.Ui = &ui;
    env.Settings = &store;
    env.ProgramFolder = root_ + "prog";
    env.TempFolder = root_ + "tmp";
    env.WaitScale = 0;
    {
        qm::TfrmMain w(env);
        ASSERT_TRUE(w.Startup({}));
        EXPECT_EQ(w.UserTools().Count(), 1);
        EXPECT_TRUE(store.writes.empty());  // starting writes nothing
        ASSERT_TRUE(w.close());
    }
    // Closing: placement, styles, options, recent projects.
    std::vector<std::string> written;
    for (const std::string& k : store.writes)
        if (written.empty() || (written.back() != k && !(k == "docking" && written.back() == "settings")))
            written.push_back(k);
    EXPECT_EQ(written, (std::vector<std::string>{"position", "styles", "settings", "mru"}));
    std::vector<std::string> seen;
    for (const std::string& k : store.order)
        if (k == "position" || k == "settings" || k == "tools" || k == "mru" || k == "styles") seen.push_back(k);
    EXPECT_EQ(seen, (std::vector<std::string>{"position", "settings", "tools", "mru", "styles"}));
}

TEST_F(MainWindowTest, ReadsTheMacroCatalogueAndDropsAMissingUserDictionary) {
    std::ofstream(root_ + "prog/macros.cfg", std::ios::binary) << "12,JumpId(%1, %2)|2,file,id\r\n";
    std::filesystem::create_directories(root_ + "prog/Dictionaries");
    qm::WriteFileAtomic(root_ + "prog/Dictionaries/English.qdf", qm::BuildDictionaryData({"the"}));
    qm::TOptions o;
    o.SetDefaults();
    o.Dictionary = "English";
    o.UserDictionary = "Mine";
    o.SaveToRegistry(settings);
    auto w = Start();
    ASSERT_EQ(w->Macros().Count(), 1);
    EXPECT_EQ(w->Macros().GetMacro(0)->HelpContext, 12);
    ASSERT_NE(w->SpellEngine(), nullptr);
    EXPECT_EQ(w->SpellEngine()->MainDictionaryName(), "English");
    EXPECT_EQ(w->SpellEngine()->UserDictionaryName(), "");
    EXPECT_EQ(w->Options().UserDictionary, "");
    EXPECT_EQ(ui.HelpFile(), qm::FromCp1252(root_ + "prog/Quillmark.hlp"));
}

TEST(Splash, StaysUpForThreeWaits) {
    EnsureQtApp();
    QElapsedTimer t;
    t.start();
    {
        qm::TSplashThread splash(nullptr, 0.02);  // three waits of 10 ms
        splash.SetStatus("one");
        EXPECT_TRUE(splash.Form()->isVisible());
        EXPECT_EQ(splash.Form()->lblVersion->text(), "v1.51");
        splash.Wait();
        EXPECT_EQ(splash.History(), QStringList{"one"});
    }
    EXPECT_GE(t.elapsed(), 30);
}

TEST_F(MainWindowTest, TheCommandLineWinsOverTheLastProject) {
    const std::string path = SaveSample();
    qm::TOptions o;
    o.SetDefaults();
    o.StartOpenLast = true;
    o.LastProject = path;
    o.SaveToRegistry(settings);
    {
        // A missing file on the command line: a new project, no message.
        auto w = Start({qm::FromCp1252(root_ + "missing.qpf"), "ignored"});
        EXPECT_TRUE(w->Project().FileName.empty());
        EXPECT_EQ(w->Project().Topics.Count(), 1);
        EXPECT_FALSE(w->SplashHistory().contains("Opening last project..."));
    }
    {
        auto w = Start({qm::FromCp1252(path)});
        EXPECT_EQ(w->Project().FileName, path);
    }
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
}

TEST_F(MainWindowTest, FailedCreationShowsInsufficientMemoryAndSavesNothing) {
    qm::TOptions o;
    o.SetDefaults();
    o.CompilerPath = "C:\\keep me";
    o.SaveToRegistry(settings);
    const auto before = settings.Entries();
    ui.ExpectMessage(MsgKind::Error, "Insufficient memory.");
    {
        auto w = Start({}, [] { throw std::bad_alloc(); });
        EXPECT_FALSE(started);
        EXPECT_TRUE(w->close());  // closing runs no save
    }
    EXPECT_EQ(settings.Entries(), before);
}

TEST_F(MainWindowTest, AFileThatFailsToOpenAtStartLeavesANewProject) {
    const std::string path = root_ + "broken.qpf";
    std::ofstream(path, std::ios::binary) << "not a project file at all";
    ui.ExpectMessage(MsgKind::Error, "");
    auto w = Start({qm::FromCp1252(path)});
    ASSERT_TRUE(started);
    EXPECT_TRUE(w->Project().FileName.empty());
    EXPECT_EQ(w->Project().Topics.TopicCount(), 1);
    EXPECT_EQ(CurrentName(*w), "Contents");
}

TEST_F(MainWindowTest, AStartUpMessageShowsOnTheWindowWithTheSplashGone) {
    const std::string path = root_ + "broken.qpf";
    std::ofstream(path, std::ios::binary) << "not a project file at all";
    bool splashUp = true;
    bool windowUp = false;
    ui.onRecord = [&](const ScriptedUiServices::Record&) {
        splashUp = false;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmSplash") && top->isVisible()) splashUp = true;
        windowUp = ui.ParentWidget() && ui.ParentWidget()->isVisible();
    };
    ui.ExpectMessage(MsgKind::Error, "");
    auto w = Start({qm::FromCp1252(path)});
    ui.onRecord = nullptr;
    ASSERT_TRUE(started);
    EXPECT_FALSE(splashUp);
    EXPECT_TRUE(windowUp);
}

TEST_F(MainWindowTest, ATopicOpensWithTheCaretWhereItWasLeftAndANewOneAtItsStart) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    ASSERT_EQ(CurrentName(*w), "Alpha");
    EXPECT_EQ(w->Editor()->GetSelStart(), 0);
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_EQ(w->Editor()->GetSelStart(), 0);
    w->Editor()->SetSelStart(3);
    OpenRow(*w, "lstPopups", "PopOne");
    EXPECT_EQ(w->Editor()->GetSelStart(), 0);
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_EQ(w->Editor()->GetSelStart(), 3);
}

TEST_F(MainWindowTest, TheDefaultWindowShowsEveryToolBarOnAWideScreenOf1280) {
    auto w = Start();
    ASSERT_TRUE(started);
    EXPECT_LE(w->width(), 1280);
    QApplication::processEvents();
    // The tool bars of each row of the top area, side by side, need no more than the window's width.
    std::map<int, int> rows;
    int bars = 0;
    for (QToolBar* bar : w->findChildren<QToolBar*>()) {
        if (bar->isHidden() || w->toolBarArea(bar) != Qt::TopToolBarArea) continue;
        rows[bar->y()] += bar->sizeHint().width();
        ++bars;
    }
    EXPECT_GE(bars, 4);
    for (const auto& [y, needed] : rows) EXPECT_LE(needed, w->width()) << "the row at y " << y;
}

TEST_F(MainWindowTest, AnUnreadableLastProjectIsForgotten) {
    const std::string path = root_ + "broken.qpf";
    std::ofstream(path, std::ios::binary) << "junk";
    qm::TOptions o;
    o.SetDefaults();
    o.StartOpenLast = true;
    o.LastProject = path;
    o.SaveToRegistry(settings);
    ui.ExpectMessage(MsgKind::Error, "");
    auto w = Start();
    EXPECT_TRUE(w->Options().LastProject.empty());
    EXPECT_EQ(w->Project().Topics.TopicCount(), 1);
}

TEST_F(MainWindowTest, TheDestructorFreesTheGlobalObjectsInOrder) {
    {
        auto w = Start();
        ASSERT_TRUE(started);
        EXPECT_TRUE(freed.empty());  // not in the close query
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(freed.empty());
    }
    EXPECT_EQ(freed, (std::vector<std::string>{"Bookmarks", "UserTools", "StyleCombo", "TopicsViews", "Mru", "History",
                                               "Project", "Styles", "BuildLog", "Macros", "Options", "frmVList",
                                               "frmFind", "frmReplace", "frmMessage", "SpellEngine"}));
}

TEST_F(MainWindowTest, CloseSavesPlacementStylesOptionsAndRecentProjects) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    w->Options().CompilerPath = "/usr/local/hc";
    ASSERT_TRUE(w->close());
    EXPECT_TRUE(settings.ValueExists("Position", "Width"));
    EXPECT_TRUE(settings.ValueExists("Position", "Maximized"));
    EXPECT_EQ(settings.ReadString("Settings", "CompilerPath"), "/usr/local/hc");
    EXPECT_EQ(settings.ReadString("MRU", "MRU1"), path);
    EXPECT_TRUE(settings.KeyExists("Styles"));
}

TEST_F(MainWindowTest, TheSaveQuestionOnCloseWithAFailingSaveKeepsTheWindow) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    w->Editor()->SetSelText("more ");
    ASSERT_TRUE(w->Project().Modified);
    // The project's file can no longer be written: its folder is gone.
    w->Project().FileName = root_ + "gone/sample.qpf";
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes to project sample.qpf?", MsgResult::Yes);
    ui.ExpectMessage(MsgKind::Error, "");
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_FALSE(settings.KeyExists("Settings"));  // nothing saved
    // Cancel keeps it too; No closes and saves the settings.
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes", MsgResult::Cancel);
    EXPECT_FALSE(w->close());
    EXPECT_FALSE(settings.KeyExists("Settings"));
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes", MsgResult::No);
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(settings.KeyExists("Settings"));
}

TEST_F(MainWindowTest, OpenTypeSaveAndReopen) {
    const std::string path = SaveSample();
    auto w = Start();
    ui.ExpectOpenFile(qm::FromCp1252(path));
    Act(*w, "actOpen")->trigger();
    ASSERT_EQ(w->Project().FileName, path);
    EXPECT_EQ(w->Options().LastOpenDir, root_);

    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_EQ(CurrentName(*w), "Beta");
    EXPECT_FALSE(w->Project().Modified);
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelText("Typed ");
    EXPECT_TRUE(w->Project().Modified);
    Act(*w, "actSave")->trigger();
    EXPECT_FALSE(w->Project().Modified);

    // The saved file holds the typed text, though the module is still open.
    qm::TProject saved;
    saved.LoadFromFile(path);
    ASSERT_NE(saved.Topics.FindByName("Beta"), nullptr);
    EXPECT_NE(saved.Topics.FindByName("Beta")->Text.find("Typed "), std::string::npos);
}

TEST_F(MainWindowTest, ReopenFromTheRecentMenuRestoresTheTypedText) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    OpenRow(*w, "lstTopics", "Beta");
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelText("Typed ");
    Act(*w, "actSave")->trigger();
    Act(*w, "actNew")->trigger();
    EXPECT_TRUE(w->Project().FileName.empty());
    auto* reopen = Child<QMenu>(*w, "mnuFileReopen");
    ASSERT_FALSE(reopen->actions().isEmpty());
    reopen->actions().first()->trigger();
    ASSERT_EQ(w->Project().FileName, path);
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_TRUE(EditorText(*w).startsWith("Typed Beta body"));
}

TEST_F(MainWindowTest, SwitchingModulesKeepsTextsBookmarksCaretAndTheModifiedFlag) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    OpenRow(*w, "lstTopics", "Beta");
    w->Editor()->SetSelStart(2);
    w->Editor()->SetSelText("X");
    w->Bookmarks().Add(0);
    const int caret = w->Editor()->GetSelStart();
    w->Project().Modified = false;

    OpenRow(*w, "lstPopups", "PopOne");
    EXPECT_TRUE(EditorText(*w).contains("Popup body"));
    EXPECT_TRUE(w->Bookmarks().Empty());
    EXPECT_FALSE(w->Project().Modified);
    EXPECT_EQ(Child<QComboBox>(*w, "cboPopups")->currentText(), "PopOne");
    EXPECT_EQ(Child<QComboBox>(*w, "cboTopics")->currentIndex(), -1);

    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_TRUE(EditorText(*w).startsWith("BeXta body"));
    EXPECT_TRUE(w->Bookmarks().Contains(0));
    EXPECT_EQ(w->Editor()->GetSelStart(), caret);
    EXPECT_FALSE(w->Project().Modified);

    // A set flag stays set.
    w->Project().Modified = true;
    OpenRow(*w, "lstTopics", "Alpha");
    EXPECT_TRUE(w->Project().Modified);
}

TEST_F(MainWindowTest, ReopeningTheOpenModulePushesNoHistory) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    ASSERT_TRUE(w->BackHistory().isEmpty());
    OpenRow(*w, "lstTopics", "Alpha");  // already open
    EXPECT_TRUE(w->BackHistory().isEmpty());
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_EQ(w->BackHistory(), QStringList{"Alpha"});
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_EQ(w->BackHistory(), QStringList{"Alpha"});
}

TEST_F(MainWindowTest, TheComboBoxesAreSortedAndLeadToTheirModule) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    auto* topics = Child<QComboBox>(*w, "cboTopics");
    ASSERT_EQ(topics->count(), 3);
    EXPECT_EQ(topics->itemText(0), "Alpha");
    EXPECT_EQ(topics->itemText(2), "Contents");
    Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(1);
    topics->setCurrentIndex(2);
    emit topics->activated(2);
    EXPECT_EQ(CurrentName(*w), "Contents");
    EXPECT_EQ(Child<QTabWidget>(*w, "tbsProject")->currentIndex(), 0);
    EXPECT_EQ(Child<QListWidget>(*w, "lstTopics")->currentItem()->text(), "Contents");
}

TEST_F(MainWindowTest, OpeningAModuleSelectsItsOwnComboItem) {
    // Names equal but for their case sit side by side in the box; each open
    // must pick the item of its own module, not a namesake's.
    const std::vector<std::string> names = {"b",  "Delta", "B", "a", "AB", "c", "aB",
                                            "Ab", "delta", "e", "A", "f",  "ab"};
    qm::TProject p;
    p.NewProject();
    for (const std::string& n : names) p.Topics.AddNew().SetName(n);
    const std::string path = root_ + "names.qpf";
    p.SaveToFile(path);
    auto w = Start({qm::FromCp1252(path)});
    auto* list = Child<QListWidget>(*w, "lstTopics");
    auto* combo = Child<QComboBox>(*w, "cboTopics");
    auto openEach = [&] {
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            emit list->itemDoubleClicked(list->item(row));
            const qm::TNodeId id = list->item(row)->data(Qt::UserRole).toULongLong();
            ASSERT_EQ(w->CurrentNode()->Id(), id);
            EXPECT_EQ(combo->currentData().toULongLong(), id) << list->item(row)->text().toStdString();
        }
    };
    openEach();
    // A module renamed behind the box's back leaves it out of order: the
    // item is still found.
    w->Project().Topics.FindByName("a")->SetName("zz");
    w->Project().Topics.FindByName("f")->SetName("0");
    openEach();
}

TEST_F(MainWindowTest, NavigationCommandsWalkTheActiveList) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    w->updateActions();
    EXPECT_FALSE(Act(*w, "actNavToPrev")->isEnabled());  // at the first row
    Act(*w, "actNavToNext")->trigger();
    EXPECT_EQ(CurrentName(*w), "Beta");
    Act(*w, "actNavToLast")->trigger();
    EXPECT_EQ(CurrentName(*w), "Contents");
    w->updateActions();
    EXPECT_FALSE(Act(*w, "actNavToNext")->isEnabled());
    Act(*w, "actNavToPrev")->trigger();
    EXPECT_EQ(CurrentName(*w), "Beta");
    Act(*w, "actNavToFirst")->trigger();
    EXPECT_EQ(CurrentName(*w), "Alpha");
    // The popups page without a selection offers nothing.
    Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(1);
    Child<QListWidget>(*w, "lstPopups")->setCurrentRow(-1);
    w->updateActions();
    EXPECT_FALSE(Act(*w, "actNavToFirst")->isEnabled());
    EXPECT_FALSE(Act(*w, "actSetContents")->isEnabled());
}

TEST_F(MainWindowTest, ListSignalsScheduleOneActionUpdateAndEnterOpensTheRow) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    auto* list = Child<QListWidget>(*w, "lstTopics");
    QApplication::processEvents();
    ASSERT_TRUE(Act(*w, "actNavToNext")->isEnabled());
    list->setCurrentRow(2);
    list->setCurrentRow(1);
    list->setCurrentRow(2);
    EXPECT_TRUE(w->Actions().UpdatePending());
    const int runs = w->Actions().UpdateCount();
    QApplication::processEvents();
    EXPECT_EQ(w->Actions().UpdateCount(), runs + 1);
    EXPECT_FALSE(Act(*w, "actNavToNext")->isEnabled());  // the last row is selected
    EXPECT_EQ(CurrentName(*w), "Alpha");                 // selecting alone opens nothing

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    EXPECT_EQ(CurrentName(*w), "Contents");
}

TEST_F(MainWindowTest, GotoModuleOpensTopicsAndPopupsAndRefusesNone) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    w->GotoModule(w->Project().Topics.FindByName("PopOne")->Id());
    EXPECT_EQ(CurrentName(*w), "PopOne");
    EXPECT_EQ(Child<QTabWidget>(*w, "tbsProject")->currentIndex(), 1);
    w->GotoModule(w->Project().Topics.FindByName("Beta")->Id());
    EXPECT_EQ(CurrentName(*w), "Beta");
    EXPECT_EQ(Child<QTabWidget>(*w, "tbsProject")->currentIndex(), 0);
    ui.ExpectMessage(MsgKind::Information, "Invalid link. No reference found within the project.");
    w->GotoModule(0);
    EXPECT_EQ(CurrentName(*w), "Beta");
}

TEST_F(MainWindowTest, TypingDropsBookmarksBelowTheLastLineAndMarksTheProject) {
    auto w = Start();
    w->Bookmarks().Add(0);
    w->Bookmarks().Add(7);
    w->Editor()->SetSelText("x");
    EXPECT_TRUE(w->Bookmarks().Contains(0));
    EXPECT_FALSE(w->Bookmarks().Contains(7));
    EXPECT_TRUE(w->Project().Modified);
}

TEST_F(MainWindowTest, HeaderClicksSortTheListOnly) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    auto* header = Child<QHeaderView>(*w, "hdrTopics");
    emit header->sectionClicked(0);  // ID ascending: Contents 5, Alpha 10, Beta 20
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Contents", "Alpha", "Beta"}));
    emit header->sectionClicked(0);
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Beta", "Alpha", "Contents"}));
    emit header->sectionClicked(1);  // first name click: descending
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Contents", "Beta", "Alpha"}));
    emit header->sectionClicked(1);
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    // The project's own order is untouched.
    EXPECT_EQ(w->Project().Topics.GetNode(1).GetName(), "Beta");
    EXPECT_EQ(w->Project().Topics.GetNode(2).GetName(), "Alpha");
}

TEST_F(MainWindowTest, StateAndContentsCommandsNeedASelection) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    auto* list = Child<QListWidget>(*w, "lstTopics");
    list->setCurrentRow(-1);
    list->clearSelection();
    Act(*w, "actSetContents")->trigger();
    ASSERT_NE(w->Project().Topics.FindContents(), nullptr);
    EXPECT_EQ(w->Project().Topics.FindContents()->GetName(), "Contents");
    Act(*w, "actSetDone")->trigger();
    for (const auto& n : w->Project().Topics) EXPECT_EQ(n->State, qm::TopicState::Edit);

    list->setCurrentRow(0);  // Alpha
    w->Project().Modified = false;
    Act(*w, "actSetDone")->trigger();
    EXPECT_EQ(w->Project().Topics.FindByName("Alpha")->State, qm::TopicState::Done);
    EXPECT_FALSE(w->Project().Modified);
    Act(*w, "actSetContents")->trigger();
    EXPECT_EQ(w->Project().Topics.FindContents()->GetName(), "Alpha");
    EXPECT_FALSE(w->Project().Topics.FindByName("Contents")->IsContents);
    EXPECT_TRUE(w->Project().Modified);
}

TEST_F(MainWindowTest, TheExplorerMenuFollowsTheSelection) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    w->Project().Topics.FindByName("PopOne")->State = qm::TopicState::Done;
    auto* edit = Child<QAction>(*w, "mnuProjPopEdit");
    auto* setCnt = Child<QAction>(*w, "mnuProjPopSetCnt");
    auto* editing = Act(*w, "actSetEditing");
    auto* done = Act(*w, "actSetDone");
    auto* popups = Child<QListWidget>(*w, "lstPopups");

    popups->setCurrentRow(0);
    w->lstPopupsContextPopup();
    EXPECT_EQ(edit->text(), "Ed&it Popup");
    EXPECT_FALSE(setCnt->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(done->isChecked());
    EXPECT_FALSE(editing->isChecked());
    // The popup is gone from the project: nothing to act on.
    w->Project().Topics.DeleteNode(w->Project().Topics.FindByName("PopOne"));
    w->lstPopupsContextPopup();
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(done->isEnabled());
    EXPECT_FALSE(done->isChecked());

    Child<QListWidget>(*w, "lstTopics")->setCurrentRow(1);  // Beta, editing
    w->lstTopicsContextPopup();
    EXPECT_EQ(edit->text(), "Ed&it Topic");
    EXPECT_TRUE(setCnt->isEnabled());
    EXPECT_TRUE(editing->isChecked());
    EXPECT_FALSE(done->isChecked());
    edit->trigger();
    EXPECT_EQ(CurrentName(*w), "Beta");
}

TEST_F(MainWindowTest, DroppingAListItemInsertsALinkOnlyWithASelection) {
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(path)});
    auto* popups = Child<QListWidget>(*w, "lstPopups");
    popups->setCurrentRow(-1);
    EXPECT_FALSE(w->CanDropFromList(popups));
    EXPECT_FALSE(w->DropFromList(popups));
    popups->setCurrentRow(0);
    w->Editor()->SetSelStart(0);
    ASSERT_TRUE(w->DropFromList(popups));
    EXPECT_TRUE(EditorText(*w).startsWith("<LINK POPUP=\"PopOne\">PopOne title</LINK>"));
    EXPECT_EQ(w->Editor()->GetSelText(), "PopOne title");
}

TEST_F(MainWindowTest, AFailedSaveStopsNewAndDiscardsNothing) {
    auto w = Start();
    w->Editor()->SetSelText("work");
    ASSERT_TRUE(w->Project().Modified);
    // Yes, then the Save As dialog is cancelled.
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes to project Untitled?", MsgResult::Yes);
    ui.ExpectSaveFile(std::nullopt);
    Act(*w, "actNew")->trigger();
    EXPECT_TRUE(EditorText(*w).contains("work"));
    EXPECT_TRUE(w->Project().Modified);
    // Yes, a name in a folder that does not exist: the error, and New stops.
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes", MsgResult::Yes);
    ui.ExpectSaveFile(qm::FromCp1252(root_ + "no/such/folder/x.qpf"));
    ui.ExpectMessage(MsgKind::Error, "");
    Act(*w, "actNew")->trigger();
    EXPECT_TRUE(EditorText(*w).contains("work"));
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_TRUE(w->Project().FileName.empty());
    // The same for Open and Close: the dialog never appears, nothing is reset.
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes", MsgResult::Cancel);
    Act(*w, "actOpen")->trigger();
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes", MsgResult::Cancel);
    Act(*w, "actClose")->trigger();
    EXPECT_TRUE(EditorText(*w).contains("work"));
}

TEST_F(MainWindowTest, AFailedSaveStopsReopen) {
    const std::string other = SaveSample("other.qpf");
    const std::string path = SaveSample();
    auto w = Start({qm::FromCp1252(other)});
    ASSERT_TRUE(w->ProjectCommands().OpenProjectFile(path));  // "other" is now slot 2
    ASSERT_EQ(w->Mru().GetItem(2), other);
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelText("work ");
    w->Project().FileName = root_ + "gone/sample.qpf";
    ui.ExpectMessage(MsgKind::Confirmation, "Save changes", MsgResult::Yes);
    ui.ExpectMessage(MsgKind::Error, "");
    Child<QMenu>(*w, "mnuFileReopen")->actions().at(1)->trigger();
    EXPECT_EQ(w->Project().FileName, root_ + "gone/sample.qpf");
    EXPECT_TRUE(EditorText(*w).startsWith("work "));
    EXPECT_TRUE(w->Project().Modified);
}

TEST_F(MainWindowTest, SaveAsNamesTheProject) {
    auto w = Start();
    const std::string path = root_ + "named.qpf";
    ui.ExpectSaveFile(qm::FromCp1252(path));
    Act(*w, "actSaveAs")->trigger();
    EXPECT_EQ(w->Project().FileName, path);
    EXPECT_TRUE(qm::FileExists(path));
    EXPECT_EQ(w->windowTitle(), "Quillmark 1.51 - named.qpf");
    EXPECT_EQ(w->Mru().GetItem(1), path);
    EXPECT_EQ(w->Options().LastSaveDir, root_);
}

TEST_F(MainWindowTest, OpeningAProjectWithoutTopicsAddsAContentsTopicAndDropsOldBookmarks) {
    qm::TProject p;
    p.NewProject();
    p.Topics.DeleteAt(0);
    qm::TTopicNode& pop = p.Topics.AddNew();
    pop.Kind = qm::TopicKind::Popup;
    pop.SetName("OnlyPopup");
    pop.ContextId = 5;
    pop.Text = BodyRtf("pop");
    const std::string path = root_ + "popups.qpf";
    p.SaveToFile(path);

    auto w = Start();
    w->Bookmarks().Add(0);
    ASSERT_TRUE(w->ProjectCommands().OpenProjectFile(path));
    EXPECT_EQ(w->Project().Topics.TopicCount(), 1);
    const qm::TTopicNode* contents = w->Project().Topics.FindContents();
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(contents->GetName(), "Contents");
    EXPECT_NE(contents->ContextId, 5);  // 5 is the popup's
    EXPECT_EQ(CurrentName(*w), "Contents");
    EXPECT_TRUE(w->Bookmarks().Empty());
}

TEST_F(MainWindowTest, AnUnreadableFileLeavesTheOpenProjectAndTheRecentList) {
    const std::string good = SaveSample();
    auto w = Start({qm::FromCp1252(good)});
    const std::string bad = root_ + "bad.qpf";
    std::ofstream(bad, std::ios::binary) << "junk";
    w->Mru().Add(bad);
    ui.ExpectMessage(MsgKind::Error, "");
    EXPECT_FALSE(w->ProjectCommands().OpenProjectFile(bad));
    EXPECT_EQ(w->Project().FileName, good);
    EXPECT_EQ(w->Mru().GetItem(1), good);
    EXPECT_EQ(CurrentName(*w), "Alpha");
}

TEST_F(MainWindowTest, TheWindowPlacementAndFloatingPanesComeBack) {
    {
        auto w = Start();
        EXPECT_FALSE(Child<QDockWidget>(*w, "pnlProject")->isFloating());  // docked by default
        w->setGeometry(100, 120, 800, 600);
        ASSERT_TRUE(w->close());
    }
    EXPECT_EQ(settings.ReadInteger("Position", "Width"), 800);
    EXPECT_EQ(settings.ReadInteger("Position", "Height"), 600);
    EXPECT_FALSE(settings.ReadBool("Position", "Maximized"));
    // An empty dock site shows the pane floating at its stored rectangle.
    settings.WriteString("Docking", "ExplorerPane", "");
    settings.WriteBinary("Docking", "ExplorerRect", "\x0a\0\0\0\x14\0\0\0\x2c\x01\0\0\x90\x01\0\0", 16);
    auto w = Start();
    EXPECT_EQ(w->geometry().size(), QSize(800, 600));
    auto* pane = Child<QDockWidget>(*w, "pnlProject");
    EXPECT_TRUE(pane->isFloating());
    EXPECT_EQ(pane->geometry(), QRect(10, 20, 290, 380));
    EXPECT_FALSE(Child<QDockWidget>(*w, "pnlMessages")->isFloating());
}

struct DefaultTextCase {
    const char* font;
    int size;
    const char* fontEntry;  // expected in the font table, "" for none
    const char* body;       // expected paragraph start
};

TEST(DefaultTopicText, NamesTheDefaultFontOnlyWhenItDiffersAndEscapesIt) {
    const DefaultTextCase cases[] = {
        {"MS Sans Serif", 10, "", "\\viewkind4\\uc1\\pard\\cf1\\lang3084\\f0\\fs20\\par"},
        {"ms sans serif", 8, "", "\\f0\\fs16\\par"},
        {"Arial", 12, "{\\f1\\fnil Arial;}}", "\\f1\\fs24\\par"},
        {"Odd{Font}\\", 10, "{\\f1\\fnil Odd\\{Font\\}\\\\;}}", "\\f1\\fs20"},
        {"Caf\xe9;X", 10, "{\\f1\\fnil Caf\\'e9X;}}", "\\f1\\fs20"},
    };
    for (const auto& c : cases) {
        const std::string text = qm::DefaultTopicText(c.font, c.size);
        EXPECT_EQ(
            text.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff1\\deflang3084{\\fonttbl{\\f0\\fnil MS Sans Serif;}\r\n", 0),
            0u)
            << c.font;
        if (*c.fontEntry)
            EXPECT_NE(text.find(c.fontEntry), std::string::npos) << c.font << "\n" << text;
        else
            EXPECT_EQ(text.find("\\f1\\fnil"), std::string::npos) << c.font;
        EXPECT_NE(text.find(c.body), std::string::npos) << c.font << "\n" << text;
        EXPECT_EQ(text.substr(text.size() - 3), "\r\n}");
        // Every brace the font name held is escaped: the groups still balance.
        int depth = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\') {
                ++i;
                continue;
            }
            depth += text[i] == '{' ? 1 : text[i] == '}' ? -1 : 0;
            EXPECT_GE(depth, 0) << c.font;
        }
        EXPECT_EQ(depth, 0) << c.font;
    }
}

TEST_F(MainWindowTest, ANewProjectsTopicGetsTheDefaultText) {
    qm::TOptions o;
    o.SetDefaults();
    o.DefFont = "Arial";
    o.DefFontSize = 12;
    o.SaveToRegistry(settings);
    auto w = Start();
    w->StoreCurrentModule();
    ASSERT_EQ(w->Project().Topics.Count(), 1);
    EXPECT_EQ(w->Editor()->DefAttributes.GetName(), "Arial");
    const qm::TTopicNode& n = w->Project().Topics.GetNode(0);
    qm::TRichText2 probe;
    probe.SetRtfText(qm::DefaultTopicText("Arial", 12));
    EXPECT_EQ(n.Text, probe.GetRtfText());
}

}  // namespace
}  // namespace qmtest
