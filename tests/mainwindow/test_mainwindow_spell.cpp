// The spelling commands end to end: the real main window and the real
// spelling dialog, offscreen. Each question of the dialog is answered by a
// zero-timer click given when the dialog reports that it waits, so every
// answer is given from inside the dialog's own wait, as a user gives it.
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <deque>
#include <fstream>
#include <functional>

#include "editor/spellcheckdlg.h"
#include "mainwindow/spellcommands.h"
#include "mainwindow_fixture.h"
#include "model/options.h"
#include "spell/qdfbuilder.h"
#include "spell/spellengine.h"
#include "util/fileio.h"
#include "widgets/actiontable.h"

namespace qmtest {
namespace {

using qm::MsgKind;

const QString kCompleted = QStringLiteral("Spell check completed.");

// Answers the spelling dialog from a queue: the word it must show, what to
// do while it waits, and the button to click (none: the step itself ends the
// wait, or leaves it to the time limit).
class DialogScript : public QObject {
public:
    struct Step {
        QString word;
        const char* button = nullptr;
        std::function<void(qm::TQorSpellCheckDlg&)> during;
    };

    explicit DialogScript(qm::TSpellDialogUi& spell) {
        spell.WaitLimit = 600000;
        connect(&spell, &qm::TSpellDialogUi::waitStarted, this, [this](qm::TQorSpellCheckDlg* dlg) { answer(dlg); });
    }
    void Expect(const QString& word, const char* button, std::function<void(qm::TQorSpellCheckDlg&)> during = {}) {
        steps.push_back({word, button, std::move(during)});
    }

    std::deque<Step> steps;
    QStringList shown;

private:
    void answer(qm::TQorSpellCheckDlg* dlg) {
        shown << dlg->txtMisspelled->text();
        if (steps.empty()) {
            ADD_FAILURE() << "the dialog asked about \"" << dlg->txtMisspelled->text().toStdString() << "\"";
            QTimer::singleShot(0, dlg, [dlg] { dlg->cmdCancel->click(); });
            return;
        }
        Step step = std::move(steps.front());
        steps.pop_front();
        EXPECT_EQ(dlg->txtMisspelled->text(), step.word);
        QTimer::singleShot(0, dlg, [dlg, step] {
            if (step.during) step.during(*dlg);
            if (step.button) dlg->findChild<QPushButton*>(QString::fromLatin1(step.button))->click();
        });
    }
};

class MainWindowSpellTest : public MainWindowTest {
protected:
    // The main dictionary "english" beside the program, and, when given, a
    // personal dictionary "user" (the options' default name).
    void Dictionaries(const qm::StringList& words, const char* personal = nullptr) {
        std::filesystem::create_directories(root_ + "prog/Dictionaries");
        qm::WriteFileAtomic(root_ + "prog/Dictionaries/english.qdf", qm::BuildDictionaryData(words));
        if (personal) {
            std::filesystem::create_directories(root_ + "user/Dictionaries");
            qm::WriteFileAtomic(UserDic(), personal);
        }
    }
    std::string UserDic() const { return root_ + "user/Dictionaries/user.dic"; }
    // Starts the window with `text` in the editor, unmodified.
    std::unique_ptr<qm::TfrmMain> StartWith(const QString& text) {
        auto w = Start();
        EXPECT_TRUE(started);
        w->Editor()->setPlainText(text);
        w->Project().Modified = false;
        script = std::make_unique<DialogScript>(w->SpellCommands().DialogUi());
        return w;
    }

    std::unique_ptr<DialogScript> script;
};

TEST_F(MainWindowSpellTest, TheCommandsAreInTheToolsMenuWithF7) {
    Dictionaries({"the"});
    auto w = StartWith(QString());
    QAction* check = Act(*w, "actCheckSpell");
    QAction* all = Act(*w, "actCheckSpellAll");
    EXPECT_EQ(check->shortcut(), QKeySequence(Qt::Key_F7));
    auto* tools = Child<QMenu>(*w, "mnuTools");
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->actions().contains(check));
    EXPECT_TRUE(tools->actions().contains(all));
    EXPECT_FALSE(check->statusTip().isEmpty());
}

TEST_F(MainWindowSpellTest, F7ChangesTheWordAsOneUndoStep) {
    Dictionaries({"the", "cat", "sat"});
    auto w = StartWith(QStringLiteral("Teh cat sat."));
    w->SpellEngine()->StartAtCaret = false;
    w->Editor()->SetSelStart(5);
    w->Editor()->ClearUndo();
    script->Expect(QStringLiteral("teh"), "cmdChange", [](qm::TQorSpellCheckDlg& d) {
        EXPECT_EQ(d.txtSuggestions->text(), QStringLiteral("the"));
        EXPECT_TRUE(d.isVisible());
    });
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_TRUE(script->steps.empty());
    EXPECT_EQ(EditorText(*w), QStringLiteral("The cat sat."));
    EXPECT_EQ(w->Editor()->GetSelStart(), 5);
    EXPECT_EQ(w->Editor()->GetSelLength(), 0);
    EXPECT_TRUE(w->Project().Modified);
    // FinishCheck freed the dialog.
    EXPECT_EQ(w->SpellCommands().DialogUi().Dialog(), nullptr);
    EXPECT_TRUE(w->findChildren<qm::TQorSpellCheckDlg*>().isEmpty());
    w->Editor()->Undo();
    EXPECT_EQ(EditorText(*w), QStringLiteral("Teh cat sat."));
}

// While the dialog waits, nothing may take the text from under the scan.
TEST_F(MainWindowSpellTest, DuringTheWaitTheModuleCommandsAreDisabled) {
    auto path = SaveSample();
    Dictionaries({"body", "text", "contents"});
    auto w = Start({qm::FromCp1252(path)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Beta");
    script = std::make_unique<DialogScript>(w->SpellCommands().DialogUi());
    script->Expect(QStringLiteral("beta"), "cmdIgnore", [&](qm::TQorSpellCheckDlg&) {
        for (const char* name : {"actCheckSpell", "actCheckSpellAll", "actNew", "actOpen", "actClose", "actImport",
                                 "actNavToFirst", "actNavToNext", "actNavToLast"})
            EXPECT_FALSE(Act(*w, name)->isEnabled()) << name;
        EXPECT_TRUE(Act(*w, "actSave")->isEnabled());
        // Opening another module by the list does nothing now.
        OpenRow(*w, "lstTopics", "Alpha");
        EXPECT_EQ(CurrentName(*w), "Beta");
        // F7 again is refused too.
        Act(*w, "actCheckSpell")->trigger();
    });
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_EQ(script->shown, QStringList{QStringLiteral("beta")});
    QApplication::processEvents();
    w->Actions().UpdateNow();
    for (const char* name : {"actCheckSpell", "actCheckSpellAll", "actNew", "actOpen", "actImport", "actNavToFirst"})
        EXPECT_TRUE(Act(*w, name)->isEnabled()) << name;
}

TEST_F(MainWindowSpellTest, AnEditBeforeTheWordDuringTheWaitStillChangesTheWord) {
    Dictionaries({"the", "cat", "big"});
    auto w = StartWith(QStringLiteral("Teh cat wrld"));
    script->Expect(QStringLiteral("teh"), "cmdChange", [&](qm::TQorSpellCheckDlg&) {
        QTextCursor c(w->Editor()->document());
        c.insertText(QStringLiteral("Big "));
    });
    script->Expect(QStringLiteral("wrld"), "cmdIgnore");
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_EQ(EditorText(*w), QStringLiteral("Big The cat wrld"));
}

TEST_F(MainWindowSpellTest, ClosingTheWindowDuringTheWaitCancelsThenCloses) {
    Dictionaries({"cat"});
    auto w = StartWith(QStringLiteral("wrld cat tset"));
    bool closedInside = true;
    script->Expect(QStringLiteral("wrld"), nullptr, [&](qm::TQorSpellCheckDlg&) {
        closedInside = w->close();
        EXPECT_TRUE(w->isVisible());
    });
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_FALSE(closedInside);
    EXPECT_TRUE(w->SpellEngine()->Cancelled());
    EXPECT_EQ(script->shown, QStringList{QStringLiteral("wrld")});
    EXPECT_TRUE(w->isVisible());  // not from inside the wait
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(EditorText(*w), QStringLiteral("wrld cat tset"));
}

TEST_F(MainWindowSpellTest, CheckAllVisitsTopicsThenPopups) {
    auto path = SaveSample();
    Dictionaries({"body", "text", "contents"});
    auto w = Start({qm::FromCp1252(path)});
    ASSERT_TRUE(started);
    // Carets left inside modules do not shorten a check of all of them.
    ASSERT_TRUE(w->SpellEngine()->StartAtCaret);
    w->Project().Topics.FindByName("Alpha")->EditorPos = 6;
    ASSERT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    script = std::make_unique<DialogScript>(w->SpellCommands().DialogUi());
    // The word asked about is shown selected in every module, and the
    // selection hidden again afterwards, as the editor keeps it.
    ASSERT_TRUE(w->Editor()->HideSelection());
    auto shown = [&](qm::TQorSpellCheckDlg&) { EXPECT_FALSE(w->Editor()->HideSelection()); };
    script->Expect(QStringLiteral("alpha"), "cmdIgnore", shown);
    script->Expect(QStringLiteral("beta"), "cmdIgnore", shown);
    script->Expect(QStringLiteral("popup"), "cmdIgnore", shown);
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpellAll")->trigger();
    EXPECT_TRUE(script->steps.empty());
    EXPECT_EQ(CurrentName(*w), "PopOne");
    EXPECT_EQ(w->ActivePage(), qm::ExplorerPage::Popups);
    EXPECT_TRUE(w->SpellEngine()->StartAtCaret);
    EXPECT_TRUE(w->Editor()->HideSelection());
}

TEST_F(MainWindowSpellTest, CheckAllShowsAWordFarDownLaidOutAndInView) {
    // The check walks the modules without laying them out; where it stops,
    // the text is laid out and scrolled to the word, with the dialog placed
    // beside it or not.
    for (const bool moveDialog : {true, false}) {
        SCOPED_TRACE(moveDialog);
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("Contents text");
        std::string body;
        for (int i = 0; i < 150; ++i) body += "text body text\\par ";
        body += "body wrld";
        qm::TTopicNode& along = p.Topics.AddNew();
        along.SetName("Long");
        along.Text = BodyRtf(body);
        qm::TTopicNode& last = p.Topics.AddNew();
        last.SetName("Zeta");
        last.Text = BodyRtf("text body");
        const std::string path = root_ + "long.qpf";
        p.SaveToFile(path);
        Dictionaries({"body", "text", "contents"});
        auto w = Start({qm::FromCp1252(path)});
        ASSERT_TRUE(started);
        w->SpellEngine()->MoveDialog = moveDialog;
        ASSERT_EQ(Rows(*w, "lstTopics"), (QStringList{"Contents", "Long", "Zeta"}));
        script = std::make_unique<DialogScript>(w->SpellCommands().DialogUi());
        qm::TRichText2* editor = w->Editor();
        script->Expect(QStringLiteral("wrld"), "cmdIgnore", [&](qm::TQorSpellCheckDlg&) {
            EXPECT_FALSE(editor->LayoutHeld());
            EXPECT_EQ(editor->GetSelText(), "wrld");
            EXPECT_GT(editor->verticalScrollBar()->value(), 0);
            EXPECT_TRUE(editor->viewport()->rect().contains(editor->cursorRect()));
        });
        ui.ExpectMessage(MsgKind::Information, kCompleted);
        Act(*w, "actCheckSpellAll")->trigger();
        EXPECT_TRUE(script->steps.empty());
        // The module the check ends in is shown as any open shows it.
        EXPECT_EQ(CurrentName(*w), "Zeta");
        EXPECT_FALSE(editor->LayoutHeld());
        const QTextLayout* layout = editor->document()->lastBlock().layout();
        ASSERT_NE(layout, nullptr);
        EXPECT_GT(layout->lineCount(), 0);
        w.reset();
    }
}

TEST_F(MainWindowSpellTest, CheckAllCancelledInTheFirstTopicOpensNoPopup) {
    auto path = SaveSample();
    Dictionaries({"body", "text"});
    auto w = Start({qm::FromCp1252(path)});
    ASSERT_TRUE(started);
    ASSERT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    OpenRow(*w, "lstTopics", "Beta");
    script = std::make_unique<DialogScript>(w->SpellCommands().DialogUi());
    script->Expect(QStringLiteral("alpha"), "cmdCancel");
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpellAll")->trigger();
    EXPECT_EQ(CurrentName(*w), "Alpha");
    EXPECT_EQ(w->ActivePage(), qm::ExplorerPage::Topics);
    EXPECT_EQ(ui.MessageTexts().count(kCompleted), 1);
}

TEST_F(MainWindowSpellTest, WithoutAMainDictionaryNothingIsScanned) {
    auto w = StartWith(QStringLiteral("wrld tset"));
    w->Options().Dictionary = "english";
    for (const char* command : {"actCheckSpell", "actCheckSpellAll"}) {
        SCOPED_TRACE(command);
        ui.ExpectMessage(MsgKind::Error, QStringLiteral("Quillmark could not load the ENGLISH dictionary on startup. "
                                                        "Spell checking is disabled."));
        Act(*w, command)->trigger();
        EXPECT_TRUE(script->shown.isEmpty());
        EXPECT_EQ(w->SpellCommands().DialogUi().Dialog(), nullptr);
        EXPECT_EQ(EditorText(*w), QStringLiteral("wrld tset"));
    }
}

TEST_F(MainWindowSpellTest, AnInvalidMainDictionaryCountsAsMissing) {
    std::filesystem::create_directories(root_ + "prog/Dictionaries");
    qm::WriteFileAtomic(root_ + "prog/Dictionaries/english.qdf", "not a dictionary");
    qm::WriteFileAtomic(root_ + "prog/english.qdf", qm::BuildDictionaryData({"the"}));
    qm::TOptions o;
    o.SetDefaults();
    o.Dictionary = "../english";
    o.SaveToRegistry(settings);
    auto w = Start();
    ASSERT_TRUE(started);
    EXPECT_FALSE(w->SpellEngine()->HasMainDictionary());
}

TEST_F(MainWindowSpellTest, AddWritesToThePersonalFolderOnly) {
    Dictionaries({"cat"}, "Velgrave\r\n");
    auto w = StartWith(QStringLiteral("velgrave cat wrld"));
    EXPECT_EQ(w->SpellEngine()->UserDictionaryName(), "user");
    script->Expect(QStringLiteral("wrld"), "cmdAdd",
                   [](qm::TQorSpellCheckDlg& d) { EXPECT_TRUE(d.cmdAdd->isEnabled()); });
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_EQ(qm::ReadWholeFile(UserDic()), "Velgrave\r\nwrld\r\n");
    std::vector<std::string> prog;
    for (const auto& e : std::filesystem::directory_iterator(root_ + "prog/Dictionaries"))
        prog.push_back(e.path().filename().string());
    EXPECT_EQ(prog, std::vector<std::string>{"english.qdf"});
}

TEST_F(MainWindowSpellTest, AFailedSaveShowsTheFileAndTheCloseSavesAgain) {
    Dictionaries({"cat"}, "Velgrave\r\n");
    auto w = StartWith(QStringLiteral("cat wrld"));
    std::filesystem::permissions(UserDic(), std::filesystem::perms::owner_read);
    script->Expect(QStringLiteral("wrld"), "cmdAdd");
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    ui.ExpectMessage(MsgKind::Error, qm::FromCp1252(UserDic()));
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_EQ(qm::ReadWholeFile(UserDic()), "Velgrave\r\n");
    EXPECT_TRUE(w->SpellEngine()->UserDictionaryModified());

    std::filesystem::permissions(UserDic(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(qm::ReadWholeFile(UserDic()), "Velgrave\r\nwrld\r\n");
}

TEST_F(MainWindowSpellTest, WithoutAPersonalDictionaryAddIsDisabled) {
    Dictionaries({"cat"});
    auto w = StartWith(QStringLiteral("cat wrld"));
    EXPECT_EQ(w->Options().UserDictionary, "");
    script->Expect(QStringLiteral("wrld"), "cmdIgnore",
                   [](qm::TQorSpellCheckDlg& d) { EXPECT_FALSE(d.cmdAdd->isEnabled()); });
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_FALSE(std::filesystem::exists(root_ + "user"));
}

TEST_F(MainWindowSpellTest, AnUnreadablePersonalDictionaryIsReportedAndKept) {
    Dictionaries({"cat"}, "");
    std::filesystem::resize_file(UserDic(), qm::kMaxUserDictionarySize + 1);
    ui.ExpectMessage(MsgKind::Error, qm::FromCp1252(UserDic()));
    auto w = Start();
    ASSERT_TRUE(started);
    EXPECT_EQ(w->SpellEngine()->UserDictionaryName(), "");
    EXPECT_EQ(w->Options().UserDictionary, "user");
    EXPECT_TRUE(w->close());
    EXPECT_EQ(std::filesystem::file_size(UserDic()), qm::kMaxUserDictionarySize + 1);
}

TEST_F(MainWindowSpellTest, HelpAndTheFrameClose) {
    Dictionaries({"cat"});
    auto w = StartWith(QStringLiteral("wrld cat tset"));
    script->Expect(QStringLiteral("wrld"), "cmdIgnore", [](qm::TQorSpellCheckDlg& d) { d.cmdHelp->click(); });
    script->Expect(QStringLiteral("tset"), nullptr, [](qm::TQorSpellCheckDlg& d) { d.close(); });
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    EXPECT_EQ(ui.helpContexts, std::vector<int>{465});
    EXPECT_TRUE(w->SpellEngine()->Cancelled());
    EXPECT_TRUE(script->steps.empty());
}

TEST_F(MainWindowSpellTest, ListDictionariesReadsBothFolders) {
    Dictionaries({"cat"}, "x\r\n");
    qm::WriteFileAtomic(root_ + "prog/Dictionaries/french.qdf", qm::BuildDictionaryData({"chat"}));
    qm::WriteFileAtomic(root_ + "user/Dictionaries/work.dic", "y\r\n");
    qm::WriteFileAtomic(root_ + "prog/Dictionaries/stray.dic", "z\r\n");
    auto w = StartWith(QString());
    EXPECT_EQ(w->SpellCommands().ListDictionaries("*.qdf"), (qm::StringList{"english", "french"}));
    EXPECT_EQ(w->SpellCommands().ListDictionaries("*.dic"), (qm::StringList{"user", "work"}));
}

TEST_F(MainWindowSpellTest, ProjectNamesAreWords) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    ASSERT_TRUE(started);
    struct Row {
        const char* word;
        bool before;
        bool after;
    } rows[] = {{"beta", false, true},
                {"POPONE", false, true},
                {"gamma", false, false},
                {"gamma", true, true},
                {"", false, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        bool accepted = r.before;
        w->SpellCommands().IsProjectWord(r.word, accepted);
        EXPECT_EQ(accepted, r.after);
    }
    // The engine was handed the same check.
    bool accepted = false;
    ASSERT_TRUE(w->SpellEngine()->WordCheck);
    w->SpellEngine()->WordCheck("alpha", accepted);
    EXPECT_TRUE(accepted);
}

// While a check runs the names are looked up in an index made when it began:
// it answers as the list does, and the next check knows a name added after
// the last one.
TEST_F(MainWindowSpellTest, ProjectNamesAreWordsDuringACheck) {
    Dictionaries({"cat"});
    auto w = Start({qm::FromCp1252(SaveSample())});
    ASSERT_TRUE(started);
    struct Row {
        const char* name;
        const char* word;
        bool first;   // a word in the first check
        bool second;  // in the second, after "Zeta" was added
    } rows[] = {{"topic name", "Alpha", true, true},
                {"popup name", "PopOne", true, true},
                {"topic, other case", "bETA", true, true},
                {"popup, other case", "POPONE", true, true},
                {"not a name", "Gamma", false, false},
                {"part of a name", "Alph", false, false},
                {"empty", "", false, false},
                {"added between the checks", "zeta", false, true}};
    const auto checkAll = [&](bool second) {
        for (const Row& r : rows) {
            SCOPED_TRACE(r.name);
            bool accepted = false;
            w->SpellCommands().IsProjectWord(r.word, accepted);
            EXPECT_EQ(accepted, second ? r.second : r.first);
        }
    };
    for (const bool second : {false, true}) {
        SCOPED_TRACE(second ? "second check" : "first check");
        if (second) {
            // The commands come back once the first check has ended.
            QApplication::processEvents();
            w->Actions().UpdateNow();
            w->Project().Topics.AddNew().SetName("Zeta");
        }
        w->Editor()->setPlainText(QStringLiteral("wrld cat"));
        script = std::make_unique<DialogScript>(w->SpellCommands().DialogUi());
        bool asked = false;
        script->Expect(QStringLiteral("wrld"), "cmdIgnore", [&](qm::TQorSpellCheckDlg&) {
            ASSERT_TRUE(w->SpellCommands().Running());
            checkAll(second);
            asked = true;
        });
        ui.ExpectMessage(MsgKind::Information, kCompleted);
        Act(*w, "actCheckSpell")->trigger();
        EXPECT_TRUE(asked);
    }
    // Outside a check the list itself answers.
    checkAll(true);
}

}  // namespace
}  // namespace qmtest

namespace qmtest {
namespace {

// The English dictionary the build makes beside the test programs; without
// it, a few words do.
void CopyEnglishDictionary(const std::string& to) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto built = exe.parent_path() / "Dictionaries" / "english.qdf";
    std::filesystem::create_directories(to);
    if (!ec && std::filesystem::exists(built))
        std::filesystem::copy_file(built, to + "/english.qdf", std::filesystem::copy_options::overwrite_existing);
    else
        qm::WriteFileAtomic(to + "/english.qdf",
                            qm::BuildDictionaryData({"this", "topic", "explains", "how", "to", "receive", "help"}));
}

// A picture of the spelling dialog over the main window on the bundled
// sample project. tools/screenshot-spell.sh runs this under Xvfb and keeps
// the PNG (QM_SCREENSHOT names the file); otherwise it goes to a scratch folder.
TEST_F(MainWindowSpellTest, ScreenshotOfTheSpellingDialog) {
    const std::string sample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";
    ASSERT_TRUE(qm::FileExists(sample)) << sample;
    CopyEnglishDictionary(root_ + "prog/Dictionaries");
    auto w = Start({qm::FromCp1252(sample)});
    ASSERT_TRUE(started);
    w->resize(1100, 720);
    w->move(40, 30);
    w->show();
    QTextCursor c(w->Editor()->document());
    c.insertText(QStringLiteral("This topic explains how to recieve help.\n"));
    w->Project().Modified = false;
    w->Editor()->SetSelStart(0);
    QApplication::processEvents();

    QImage shot;
    script = std::make_unique<DialogScript>(w->SpellCommands().DialogUi());
    script->Expect(QStringLiteral("recieve"), "cmdCancel", [&](qm::TQorSpellCheckDlg& d) {
        EXPECT_FALSE(d.lstSuggestions->findItems(QStringLiteral("receive"), Qt::MatchExactly).isEmpty());
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        QScreen* screen = w->screen();
        const QRect area = w->frameGeometry().united(d.frameGeometry());
        if (QGuiApplication::platformName() == QLatin1String("xcb") && screen) {
            shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        } else {
            // Without a window system the two windows are drawn together.
            shot = QImage(area.size(), QImage::Format_RGB32);
            shot.fill(Qt::darkGray);
            QPainter p(&shot);
            p.drawPixmap(w->frameGeometry().topLeft() - area.topLeft(), w->grab());
            p.drawPixmap(d.frameGeometry().topLeft() - area.topLeft(), d.grab());
        }
    });
    w->Project().Modified = false;
    ui.ExpectMessage(MsgKind::Information, kCompleted);
    Act(*w, "actCheckSpell")->trigger();
    ASSERT_FALSE(shot.isNull());
    QString file = qEnvironmentVariable("QM_SCREENSHOT");
    if (file.isEmpty()) file = QString::fromStdString(root_) + "spelling.png";
    EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
}

}  // namespace
}  // namespace qmtest
