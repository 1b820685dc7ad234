// Adding, removing and editing topics and popups through the real main
// window, with the properties dialogs driven through their controls; the
// keyword commands; and the export of the context-ID constants.
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>

#include "dialogs/exportchoice.h"
#include "dialogs/popupprops.h"
#include "dialogs/topicprops.h"
#include "mainwindow/topiccommands.h"
#include "mainwindow_fixture.h"
#include "model/options.h"
#include "platform/qtprograms.h"
#include "search/modulesearch.h"
#include "util/fileio.h"
#include "widgets/commandbar.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;
using qm::TopicKind;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int ClickOk(QDialog& d) {
    d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return d.result();
}

struct Module {
    const char* name;
    TopicKind kind;
    int id;
    std::string body = "text";
};

class TopicsTest : public MainWindowTest {
protected:
    // A saved project of `modules` in this order; the first is the contents
    // topic when `contents` is set.
    std::string SaveProject(const std::vector<Module>& modules, bool contents = true,
                            const std::string& name = "topics.qpf") {
        qm::TProject p;
        p.NewProject();
        p.Topics.Clear();
        for (const Module& m : modules) {
            qm::TTopicNode& node = p.Topics.AddNew();
            node.SetName(m.name);
            node.SetTitle(std::string(m.name) + " title");
            node.Kind = m.kind;
            node.ContextId = m.id;
            node.Text = BodyRtf(m.body);
        }
        p.Topics.GetNode(0).IsContents = contents;
        const std::string path = root_ + name;
        p.SaveToFile(path);
        return path;
    }
    std::unique_ptr<qm::TfrmMain> StartWith(const std::vector<Module>& modules) {
        auto w = Start({qm::FromCp1252(SaveProject(modules))});
        EXPECT_TRUE(started);
        return w;
    }
    static void Select(qm::TfrmMain& w, const char* list, const QString& name) {
        auto* l = Child<QListWidget>(w, list);
        const auto found = l->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        l->setCurrentItem(found.front());
    }
    static void ShowPage(qm::TfrmMain& w, int page) { Child<QTabWidget>(w, "tbsProject")->setCurrentIndex(page); }
    static QStringList ComboItems(qm::TfrmMain& w, const char* combo) {
        QStringList out;
        auto* c = Child<QComboBox>(w, combo);
        for (int i = 0; c && i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
    static QString Plain(qm::TfrmMain& w, const char* name) {
        const qm::TTopicNode* n = w.Project().Topics.FindByName(name);
        EXPECT_NE(n, nullptr) << name;
        return n ? QString::fromStdU16String(qm::ReadModuleText(n->Text).plainText()) : QString();
    }
    static QString EditorPlain(qm::TfrmMain& w) { return QString::fromStdU16String(w.Editor()->GetCharText()); }
    // Every row of a tree, nested rows included, in order.
    static QStringList AllRows(qm::TfrmMain& w, const char* tree) {
        QStringList out;
        std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
            out << item->text(0);
            for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
        };
        auto* t = Child<QTreeWidget>(w, tree);
        for (int i = 0; t && i < t->topLevelItemCount(); ++i) walk(t->topLevelItem(i));
        return out;
    }
};

// --- the commands and their places ----------------------------------------------------------

TEST_F(TopicsTest, TheCommandsHaveTheirCaptionsKeysAndPlaces) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    struct Row {
        const char* action;
        const char* caption;
        const char* key;
        const char* menu;
    } rows[] = {
        {"actAddTopic", "Add &Topic", "F8", "mnuProject"},
        {"actAddPopup", "Add &Popup", "F9", "mnuProject"},
        {"actRemoveTopic", "Re&move Topic", "", "mnuProject"},
        {"actTopicProps", "Top&ic Properties", "", "mnuProjectSelection"},
        {"actPopupProps", "Pop&up Properties", "", "mnuProjectSelection"},
        {"mnuProjectItemProperties", "&Properties...", "F4", "mnuProjectSelection"},
        {"actAddToKeywords", "Add To &Keywords", "", "mnuEdit"},
        {"actAddToAKeywords", "Add To A-Ke&ywords", "", "mnuEdit"},
        {"actExportIdConstants", "&Help Context ID Constants", "", "mnuFileExport"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.action);
        QAction* a = Act(*w, r.action);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), r.caption);
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(r.key)));
        EXPECT_FALSE(a->statusTip().isEmpty());
        auto* menu = Child<QMenu>(*w, r.menu);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->actions().contains(a));
    }
    auto* file = Child<QMenu>(*w, "mnuFile");
    EXPECT_TRUE(file->actions().contains(Child<QMenu>(*w, "mnuFileExport")->menuAction()));
    EXPECT_EQ(Child<QMenu>(*w, "mnuFileExport")->title(), "&Export");
}

TEST_F(TopicsTest, TheExplorerMenuNamesTheItemsOfItsPage) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    auto* menu = Child<QMenu>(*w, "ProjectPopMenu");
    for (const char* name : {"mnuProjPopNew", "mnuProjPopRemove", "mnuProjPopProperties"})
        EXPECT_TRUE(menu->actions().contains(Act(*w, name))) << name;
    Select(*w, "lstTopics", "Beta");
    w->lstTopicsContextPopup();
    EXPECT_EQ(Act(*w, "mnuProjPopNew")->text(), "New &Topic");
    EXPECT_EQ(Act(*w, "mnuProjPopRemove")->text(), "De&lete Topic");
    EXPECT_EQ(Act(*w, "mnuProjPopProperties")->text(), "&Properties...");
    EXPECT_TRUE(Act(*w, "mnuProjPopRemove")->isEnabled());
    ShowPage(*w, 1);
    Child<QListWidget>(*w, "lstPopups")->setCurrentRow(-1);
    w->lstPopupsContextPopup();
    EXPECT_EQ(Act(*w, "mnuProjPopNew")->text(), "New P&opup");
    EXPECT_EQ(Act(*w, "mnuProjPopRemove")->text(), "De&lete Popup");
    EXPECT_TRUE(Act(*w, "mnuProjPopNew")->isEnabled());
    EXPECT_FALSE(Act(*w, "mnuProjPopRemove")->isEnabled());
    EXPECT_FALSE(Act(*w, "mnuProjPopProperties")->isEnabled());
    // New follows the page: a popup here.
    ui.ExpectInput(std::nullopt, "New popup name:");
    Act(*w, "mnuProjPopNew")->trigger();
    EXPECT_TRUE(Rows(*w, "lstPopups").contains("NewPopup1"));
}

TEST_F(TopicsTest, EnablingFollowsTheSelections) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelLength(0);
    w->updateActions();
    EXPECT_FALSE(Act(*w, "actAddToKeywords")->isEnabled());
    EXPECT_FALSE(Act(*w, "actAddToAKeywords")->isEnabled());
    auto* editorBar = Child<qm::TQorCommandBar>(*w, "ncbEditor");
    EXPECT_FALSE(editorBar->Button(2)->isEnabled());
    w->Editor()->SetSelLength(3);
    w->updateActions();
    EXPECT_TRUE(Act(*w, "actAddToKeywords")->isEnabled());
    EXPECT_TRUE(editorBar->Button(3)->isEnabled());
    // Properties: on either page only with a row selected.
    Child<QListWidget>(*w, "lstTopics")->setCurrentRow(-1);
    w->updateActions();
    EXPECT_FALSE(Act(*w, "mnuProjectItemProperties")->isEnabled());
    Child<QListWidget>(*w, "lstTopics")->setCurrentRow(1);
    w->updateActions();
    EXPECT_TRUE(Act(*w, "mnuProjectItemProperties")->isEnabled());
    ShowPage(*w, 1);
    Child<QListWidget>(*w, "lstPopups")->setCurrentRow(-1);
    w->updateActions();
    EXPECT_FALSE(Act(*w, "mnuProjectItemProperties")->isEnabled());
    Child<QListWidget>(*w, "lstPopups")->setCurrentRow(0);
    w->updateActions();
    EXPECT_TRUE(Act(*w, "mnuProjectItemProperties")->isEnabled());
}

// --- adding ---------------------------------------------------------------------------------

TEST_F(TopicsTest, ANewTopicIsKeptAndBuilt) {
    qm::TProject sample;
    const std::string path = SaveSample();
    sample.LoadFromFile(path);
    sample.Windows.Add().SetName("proc4");
    sample.SaveToFile(path);
    auto w = Start({qm::FromCp1252(path)});
    w->Options().PromptTopicInfos = true;
    w->Options().IdIncrement = 5;
    w->show();
    w->activateWindow();
    QApplication::processEvents();

    ui.ExpectDialog("frmTopicProps", [](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmTopicProps&>(dialog);
        EXPECT_EQ(d.txtTopicName->text(), "NewTopic1");
        EXPECT_EQ(d.txtTitle->text(), "Set Topic Title...");
        d.txtTitle->setText("A fresh topic");
        for (const char* k : {"first", "second"}) {
            d.txtKeyword->setText(k);
            d.cmdAdd->click();
        }
        d.cboWindows->setCurrentIndex(d.cboWindows->findText("proc4"));
        d.txtBrowse->setText("seq:10");
        d.txtBuildTag->setText("DRAFT");
        d.txtMacro->setText("About()");
        d.cmdAddMacro->click();
        return ClickOk(d);
    });
    // F8, as the user presses it.
    QTest::keyClick(w->Editor(), Qt::Key_F8);
    ui.ExpectAllAnswered("F8");
    ASSERT_NE(w->Project().Topics.FindByName("NewTopic1"), nullptr);
    EXPECT_EQ(CurrentName(*w), "NewTopic1");
    EXPECT_EQ(Rows(*w, "lstTopics").last(), "NewTopic1");

    Act(*w, "actSave")->trigger();
    qm::TProject reread;
    reread.LoadFromFile(path);
    const qm::TTopicNode* node = reread.Topics.FindByName("NewTopic1");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetTitle(), "A fresh topic");
    EXPECT_EQ(node->Keywords, (qm::StringList{"first", "second"}));
    EXPECT_EQ(node->GetWindow(), "proc4");
    EXPECT_EQ(node->GetBrowse(), "seq:10");
    EXPECT_EQ(node->GetBuildTag(), "DRAFT");
    EXPECT_EQ(node->Macros, qm::StringList{"About()"});
    EXPECT_EQ(node->ContextId, 15);  // 5 and 10 are taken
    EXPECT_EQ(node->State, qm::TopicState::Edit);

    // Built by the stand-in compiler, which keeps the topic files it saw.
    const std::string standin = qm::ToCp1252(QCoreApplication::applicationDirPath() + "/standin");
    ASSERT_TRUE(qm::FileExists(standin + "/hcrtf.exe"));
    w->Options().CompilerPath = standin;
    const std::string kept = root_ + "kept";
    qputenv("QM_STANDIN_KEEP", QByteArray::fromStdString(kept));
    qm::QtCompilerRunner runner;
    ui.UseCompiler(&runner);
    Act(*w, "actCompile")->trigger();
    qunsetenv("QM_STANDIN_KEEP");
    EXPECT_TRUE(AllRows(*w, "tvwQuillmark").contains("0 errors, 0 warnings."))
        << AllRows(*w, "tvwQuillmark").join("\n").toStdString();
    const std::string rtf = ReadText(kept + "/NewTopic1.rtf");
    ASSERT_FALSE(rtf.empty()) << "the topic file was not kept";
    const char* footnotes[] = {"*{\\footnote DRAFT}",         "#{\\footnote NewTopic1}", "${\\footnote A fresh topic}",
                               "K{\\footnote first;second;}", "!{\\footnote About();}",  ">{\\footnote proc4}",
                               "+{\\footnote seq:10}"};
    std::size_t at = 0;
    for (const char* f : footnotes) {
        const std::size_t found = rtf.find(f);
        ASSERT_NE(found, std::string::npos) << f << " in\n" << rtf;
        EXPECT_GE(found, at) << f << " out of order in\n" << rtf;
        at = found;
    }
}

TEST_F(TopicsTest, AddWithoutTheDialogNamesNumbersListsAndOpensTheNode) {
    auto w = StartWith({{"NewTopic1", TopicKind::Topic, 5}, {"NewTopic3", TopicKind::Topic, 10}});
    w->Options().PromptTopicInfos = false;
    w->Options().IdIncrement = 5;
    ASSERT_FALSE(w->Project().Modified);
    ui.ExpectInput(std::nullopt, "New topic name:");
    Act(*w, "actAddTopic")->trigger();
    const qm::TTopicNode* node = w->Project().Topics.FindByName("NewTopic2");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->ContextId, 15);
    EXPECT_EQ(node->GetTitle(), "Set Topic Title...");
    EXPECT_EQ(node->GetWindow(), "main");
    EXPECT_EQ(node->State, qm::TopicState::Edit);
    EXPECT_EQ(node->Text, qm::DefaultTopicText(w->Options().DefFont, w->Options().DefFontSize));
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"NewTopic1", "NewTopic3", "NewTopic2"}));
    EXPECT_EQ(Child<QListWidget>(*w, "lstTopics")->currentRow(), 2);
    EXPECT_EQ(ComboItems(*w, "cboTopics"), (QStringList{"NewTopic1", "NewTopic2", "NewTopic3"}));
    EXPECT_EQ(Child<QComboBox>(*w, "cboTopics")->currentText(), "NewTopic2");
    EXPECT_EQ(CurrentName(*w), "NewTopic2");
    EXPECT_TRUE(w->Project().Modified);

    // A popup comes up on its page with the rename prompt, which names it.
    ui.ExpectInput(QStringLiteral("Glossary"), "New popup name:");
    Act(*w, "actAddPopup")->trigger();
    EXPECT_EQ(Child<QTabWidget>(*w, "tbsProject")->currentIndex(), 1);
    EXPECT_EQ(Rows(*w, "lstPopups"), QStringList{"Glossary"});
    EXPECT_EQ(CurrentName(*w), "Glossary");
    EXPECT_EQ(w->Project().Topics.FindByName("Glossary")->ContextId, 20);
    EXPECT_EQ(w->Project().Topics.FindByName("Glossary")->Kind, TopicKind::Popup);
}

TEST_F(TopicsTest, TheCommandBarsReachTheirCommands) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    w->Options().PromptTopicInfos = true;
    auto* topics = Child<qm::TQorCommandBar>(*w, "ncbTopics");
    auto* popups = Child<qm::TQorCommandBar>(*w, "ncbPopups");
    ui.ExpectDialog("frmTopicProps", [](QDialog& d) { return ClickOk(d); });
    topics->Button(1)->click();
    EXPECT_EQ(CurrentName(*w), "NewTopic1");
    ui.ExpectDialog("frmTopicProps", [](QDialog& d) {
        EXPECT_EQ(static_cast<qm::TfrmTopicProps&>(d).txtTopicName->text(), "NewTopic1");
        d.reject();
        return d.result();
    });
    topics->Button(6)->click();
    ui.ExpectMessage(MsgKind::Confirmation, "Remove the selected topic", MsgResult::Yes);
    topics->Button(2)->click();
    EXPECT_EQ(w->Project().Topics.FindByName("NewTopic1"), nullptr);

    ShowPage(*w, 1);
    ui.ExpectDialog("frmPopupProps", [](QDialog& d) { return ClickOk(d); });
    popups->Button(1)->click();
    ui.ExpectDialog("frmPopupProps", [](QDialog& d) {
        EXPECT_EQ(static_cast<qm::TfrmPopupProps&>(d).txtPopupName->text(), "NewPopup1");
        d.reject();
        return d.result();
    });
    popups->Button(5)->click();
    ui.ExpectMessage(MsgKind::Confirmation, "Remove the selected topic", MsgResult::Yes);
    popups->Button(2)->click();
    EXPECT_EQ(w->Project().Topics.FindByName("NewPopup1"), nullptr);
    // F4 on the popups page: the popup's dialog.
    Child<QListWidget>(*w, "lstPopups")->setCurrentRow(0);
    w->updateActions();
    ui.ExpectDialog("frmPopupProps", [](QDialog& d) {
        d.reject();
        return d.result();
    });
    Act(*w, "mnuProjectItemProperties")->trigger();
}

// --- properties -------------------------------------------------------------------------------

TEST_F(TopicsTest, RenameThroughTheDialog) {
    for (const MsgResult answer : {MsgResult::Yes, MsgResult::No}) {
        SCOPED_TRACE(answer == MsgResult::Yes ? "Yes" : "No");
        auto w = StartWith({{"Contents", TopicKind::Topic, 5, "start"},
                            {"Intro", TopicKind::Topic, 10, "the intro"},
                            {"One", TopicKind::Topic, 20, "see <LINK TOPIC=\"intro\">it</LINK>"},
                            {"Two", TopicKind::Topic, 30, "see <LINK TOPIC=\"INTRO\">it</LINK> and =\"Intro\""},
                            {"Pop", TopicKind::Popup, 40, "<LINK TOPIC=\"Intro\">back</LINK>"}});
        OpenRow(*w, "lstTopics", "One");
        w->Project().Modified = false;
        Select(*w, "lstTopics", "Intro");
        ui.ExpectDialog("frmTopicProps", [](QDialog& dialog) {
            static_cast<qm::TfrmTopicProps&>(dialog).txtTopicName->setText("Start");
            return ClickOk(dialog);
        });
        ui.ExpectMessage(MsgKind::Confirmation, "Topic name has changed. Update all links throughout the project?",
                         answer);
        Act(*w, "actTopicProps")->trigger();
        const bool yes = answer == MsgResult::Yes;
        EXPECT_EQ(EditorPlain(*w), yes ? "see <LINK TOPIC=\"Start\">it</LINK>" : "see <LINK TOPIC=\"intro\">it</LINK>");
        EXPECT_EQ(Plain(*w, "Two"), yes ? "see <LINK TOPIC=\"Start\">it</LINK> and =\"Start\""
                                        : "see <LINK TOPIC=\"INTRO\">it</LINK> and =\"Intro\"");
        EXPECT_EQ(Plain(*w, "Pop"), yes ? "<LINK TOPIC=\"Start\">back</LINK>" : "<LINK TOPIC=\"Intro\">back</LINK>");
        EXPECT_TRUE(w->Project().Modified);
        EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Contents", "Start", "One", "Two"}));
        EXPECT_EQ(ComboItems(*w, "cboTopics"), (QStringList{"Contents", "One", "Start", "Two"}));
        ui.ExpectAllAnswered();
    }
}

// An open leaves the list in name order; whatever changes its rows after
// that (a sort by ID, a row added at the end, a rename), a sort by name
// puts them in name order again.
TEST_F(TopicsTest, ASortByNameFollowsEveryChangeOfTheRows) {
    struct Row {
        const char* name;
        std::function<void(qm::TfrmMain&)> change;
        QStringList changed, sorted;
    };
    const std::vector<Row> rows = {
        {"nothing", [](qm::TfrmMain&) {}, {"Alpha", "Contents", "Zeta"}, {"Alpha", "Contents", "Zeta"}},
        {"sorted by ID",
         [](qm::TfrmMain& w) { w.hdrTopicsSectionClick(0); },
         {"Contents", "Zeta", "Alpha"},
         {"Alpha", "Contents", "Zeta"}},
        {"a row added",
         [](qm::TfrmMain& w) {
             qm::TTopicNode& n = w.Project().Topics.AddNew();
             n.SetName("Aardvark");
             w.AddModuleRow(n.Id());
         },
         {"Alpha", "Contents", "Zeta", "Aardvark"},
         {"Aardvark", "Alpha", "Contents", "Zeta"}},
        {"a rename",
         [](qm::TfrmMain& w) {
             qm::TTopicNode* n = w.Project().Topics.FindByName("Zeta");
             n->SetName("Beta");
             w.ShowRenamedModule(n->Id());
         },
         {"Alpha", "Contents", "Beta"},
         {"Alpha", "Beta", "Contents"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = StartWith(
            {{"Contents", TopicKind::Topic, 5}, {"Zeta", TopicKind::Topic, 10}, {"Alpha", TopicKind::Topic, 20}});
        row.change(*w);
        EXPECT_EQ(Rows(*w, "lstTopics"), row.changed);
        w->SortListsByName();
        EXPECT_EQ(Rows(*w, "lstTopics"), row.sorted);
    }
}

TEST_F(TopicsTest, PropertiesWithoutANewNameAskNothing) {
    auto w = StartWith({{"Contents", TopicKind::Topic, 5}, {"Pop", TopicKind::Popup, 40}});
    ShowPage(*w, 1);
    Child<QListWidget>(*w, "lstPopups")->setCurrentRow(0);
    w->Project().Modified = false;
    // Cancel: nothing changes, the project stays unmodified.
    ui.ExpectDialog("frmPopupProps", [](QDialog& d) {
        static_cast<qm::TfrmPopupProps&>(d).txtContext->setText("41");
        d.reject();
        return d.result();
    });
    Act(*w, "actPopupProps")->trigger();
    EXPECT_FALSE(w->Project().Modified);
    EXPECT_EQ(w->Project().Topics.FindByName("Pop")->ContextId, 40);
    // OK with the same name: modified, no question.
    ui.ExpectDialog("frmPopupProps", [](QDialog& d) {
        static_cast<qm::TfrmPopupProps&>(d).txtContext->setText("41");
        return ClickOk(d);
    });
    w->updateActions();
    Act(*w, "mnuProjectItemProperties")->trigger();
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_EQ(w->Project().Topics.FindByName("Pop")->ContextId, 41);
    // A change of letter case is a new name: the question comes.
    ui.ExpectDialog("frmPopupProps", [](QDialog& d) {
        static_cast<qm::TfrmPopupProps&>(d).txtPopupName->setText("POP");
        return ClickOk(d);
    });
    ui.ExpectMessage(MsgKind::Confirmation, "Popup name has changed.", MsgResult::No);
    Act(*w, "actPopupProps")->trigger();
    EXPECT_EQ(Rows(*w, "lstPopups"), QStringList{"POP"});
    EXPECT_EQ(ComboItems(*w, "cboPopups"), QStringList{"POP"});
}

// --- removing --------------------------------------------------------------------------------

TEST_F(TopicsTest, Remove) {
    const std::vector<Module> project = {{"Contents", TopicKind::Topic, 5}, {"Alpha", TopicKind::Topic, 10},
                                         {"Beta", TopicKind::Topic, 20},    {"Zeta", TopicKind::Topic, 30},
                                         {"PopA", TopicKind::Popup, 40},    {"PopB", TopicKind::Popup, 50}};
    struct Row {
        const char* name;
        int page;
        const char* remove;  // the row selected to remove
        const char* open;    // opened first (nullptr: the one after start-up)
        int topicsRow;       // lstTopics' selection before the removal (-2: leave it)
        MsgKind kind;        // the box that comes
        const char* message;
        MsgResult answer;
        bool removed;
        const char* selectedAfter;  // the list's selected row afterwards
        const char* openAfter;      // the current module afterwards
    } rows[] = {
        {"the contents topic is refused", 0, "Contents", nullptr, -2, MsgKind::Information,
         "You cannot delete the Contents Page topic.", MsgResult::Ok, false, "Contents", "Alpha"},
        {"No keeps the module", 0, "Beta", nullptr, -2, MsgKind::Confirmation,
         "Remove the selected topic from the project?", MsgResult::No, false, "Beta", "Alpha"},
        {"the last row selects the new last row", 0, "Zeta", nullptr, -2, MsgKind::Confirmation,
         "Remove the selected topic", MsgResult::Yes, true, "Contents", "Alpha"},
        {"the open topic: the row now selected opens", 0, "Beta", "Beta", -2, MsgKind::Confirmation,
         "Remove the selected topic", MsgResult::Yes, true, "Contents", "Contents"},
        {"the open popup: the selected topic opens", 1, "PopB", "PopB", 2, MsgKind::Confirmation,
         "Remove the selected topic", MsgResult::Yes, true, "PopA", "Contents"},
        {"the open popup: with no topic selected, the first row", 1, "PopA", "PopA", -1, MsgKind::Confirmation,
         "Remove the selected topic", MsgResult::Yes, true, "PopB", "Alpha"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto w = StartWith(project);
        const char* list = r.page == 1 ? "lstPopups" : "lstTopics";
        if (r.open) {
            ShowPage(*w, r.page);
            OpenRow(*w, list, r.open);
        }
        ShowPage(*w, r.page);
        Select(*w, list, r.remove);
        if (r.topicsRow != -2) Child<QListWidget>(*w, "lstTopics")->setCurrentRow(r.topicsRow);
        w->Project().Modified = false;
        ui.ExpectMessage(r.kind, r.message, r.answer);
        Act(*w, "actRemoveTopic")->trigger();
        ui.ExpectAllAnswered(r.name);
        EXPECT_EQ(w->Project().Topics.FindByName(r.remove) == nullptr, r.removed);
        EXPECT_EQ(Rows(*w, list).contains(r.remove), !r.removed);
        EXPECT_EQ(ComboItems(*w, r.page == 1 ? "cboPopups" : "cboTopics").contains(r.remove), !r.removed);
        EXPECT_EQ(w->Project().Modified, r.removed);
        auto* l = Child<QListWidget>(*w, list);
        ASSERT_NE(l->currentItem(), nullptr);
        EXPECT_EQ(l->currentItem()->text(), r.selectedAfter);
        EXPECT_EQ(CurrentName(*w), r.openAfter);
        // The editor shows the open module's text, and what is typed goes to it.
        w->Editor()->SetSelStart(0);
        w->Editor()->SetSelText("typed ");
        w->StoreCurrentModule();
        EXPECT_EQ(Plain(*w, r.openAfter), EditorPlain(*w));
    }
}

TEST_F(TopicsTest, RemoveKeepsTheLastTopicAndTakesTheDeleteKey) {
    auto w = StartWith({{"Solo", TopicKind::Topic, 5}, {"PopA", TopicKind::Popup, 40}});
    w->Project().Topics.FindByName("Solo")->IsContents = false;
    Select(*w, "lstTopics", "Solo");
    ui.ExpectMessage(MsgKind::Information, "You cannot delete the last topic of the project.");
    Act(*w, "actRemoveTopic")->trigger();
    EXPECT_NE(w->Project().Topics.FindByName("Solo"), nullptr);

    // Delete in the popups list removes the selected popup, and nothing without one.
    ShowPage(*w, 1);
    auto* popups = Child<QListWidget>(*w, "lstPopups");
    popups->setCurrentRow(-1);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(popups, &del);
    popups->setCurrentRow(0);
    ui.ExpectMessage(MsgKind::Confirmation, "Remove the selected topic", MsgResult::Yes);
    QApplication::sendEvent(popups, &del);
    EXPECT_EQ(w->Project().Topics.FindByName("PopA"), nullptr);
}

TEST_F(TopicsTest, RemovingALinkedTopicShowsInTheBuildLog) {
    auto w = StartWith({{"Contents", TopicKind::Topic, 5},
                        {"Alpha", TopicKind::Topic, 10, "go to <LINK TOPIC=\"Beta\">beta</LINK>"},
                        {"Beta", TopicKind::Topic, 20}});
    w->Options().CompilerPath = root_ + "hc";
    Select(*w, "lstTopics", "Beta");
    ui.ExpectMessage(MsgKind::Confirmation, "Remove the selected topic", MsgResult::Yes);
    Act(*w, "actRemoveTopic")->trigger();
    OpenRow(*w, "lstTopics", "Contents");
    Act(*w, "actCompile")->trigger();
    EXPECT_TRUE(ui.compiler.calls.empty());
    const QStringList log = AllRows(*w, "tvwQuillmark");
    EXPECT_TRUE(log.contains("Error   : Unresolved topic link in module Alpha.")) << log.join("\n").toStdString();
    EXPECT_TRUE(log.contains("1 errors, 0 warnings.")) << log.join("\n").toStdString();
    // The entry leads to the module that holds the link.
    auto* tree = Child<QTreeWidget>(*w, "tvwQuillmark");
    const auto found =
        tree->findItems("Error   : Unresolved topic link in module Alpha.", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    tree->setCurrentItem(found.front());
    emit tree->itemDoubleClicked(found.front(), 0);
    EXPECT_EQ(CurrentName(*w), "Alpha");
}

// --- keywords ----------------------------------------------------------------------------------

TEST_F(TopicsTest, AddToKeywords) {
    auto w = StartWith(
        {{"Contents", TopicKind::Topic, 5, "see   Index   here"}, {"Pop", TopicKind::Popup, 40, "  Index  "}});
    OpenRow(*w, "lstTopics", "Contents");
    auto select = [&](int start, int length) {
        w->Editor()->SetSelStart(start);
        w->Editor()->SetSelLength(length);
        w->updateActions();
    };
    w->Project().Modified = false;
    select(3, 10);  // "   Index  "
    ASSERT_EQ(w->Editor()->GetSelText(), "   Index  ");
    Act(*w, "actAddToKeywords")->trigger();
    EXPECT_EQ(w->Project().Topics.FindByName("Contents")->Keywords, qm::StringList{"Index"});
    EXPECT_TRUE(w->Project().Modified);
    // Again: already there.
    select(6, 5);
    ui.ExpectMessage(MsgKind::Information, "This keyword is already included.");
    Act(*w, "actAddToKeywords")->trigger();
    // The A-keywords are a list of their own, with their own message.
    Child<qm::TQorCommandBar>(*w, "ncbEditor")->Button(3)->click();
    EXPECT_EQ(w->Project().Topics.FindByName("Contents")->AKeywords, qm::StringList{"Index"});
    ui.ExpectMessage(MsgKind::Information, "This A-keyword is already included.");
    Act(*w, "actAddToAKeywords")->trigger();
    // Blanks only: nothing at all.
    select(3, 3);
    w->Project().Modified = false;
    Act(*w, "actAddToKeywords")->trigger();
    EXPECT_EQ(w->Project().Topics.FindByName("Contents")->Keywords, qm::StringList{"Index"});
    EXPECT_FALSE(w->Project().Modified);
    // On a popup: nothing, and no message.
    ShowPage(*w, 1);
    OpenRow(*w, "lstPopups", "Pop");
    select(0, 9);
    Act(*w, "actAddToKeywords")->trigger();
    Child<qm::TQorCommandBar>(*w, "ncbEditor")->Button(2)->click();
    EXPECT_TRUE(w->Project().Topics.FindByName("Pop")->Keywords.empty());
    EXPECT_FALSE(w->Project().Modified);
}

// --- the export ----------------------------------------------------------------------------------

TEST_F(TopicsTest, ExportRefusesAnUnsavedProject) {
    auto w = Start();
    ui.ExpectMessage(MsgKind::Information, "Project must be saved in order to export help ID constants.");
    Act(*w, "actExportIdConstants")->trigger();
    ui.ExpectAllAnswered("unsaved");
}

TEST_F(TopicsTest, ExportWritesTheTickedFiles) {
    struct Row {
        const char* name;
        qm::TExportChoice tick;  // the boxes ticked in the dialog
        bool blockVb;            // a folder where the Visual Basic file goes
        bool ok;                 // success message
        std::vector<const char*> written;
    } rows[] = {
        {"C and Pascal", {true, false, true}, false, true, {"topicsHelp.h", "topicsHelp.pas"}},
        {"Visual Basic only", {false, true, false}, false, true, {"topicsHelp.bas"}},
        {"a failed write stops the rest", {true, true, true}, true, false, {"topicsHelp.h"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (const char* f : {"topicsHelp.h", "topicsHelp.bas", "topicsHelp.pas"})
            std::filesystem::remove_all(qm::ToFsPath(root_ + f));
        if (r.blockVb) std::filesystem::create_directories(qm::ToFsPath(root_ + "topicsHelp.bas"));
        auto w = StartWith({{"Contents", TopicKind::Topic, 5}, {"Pop", TopicKind::Popup, 40}});
        w->Project().MakeCppInclude = true;
        w->Project().MakeVbInclude = false;
        w->Project().MakePascalInclude = false;
        w->Project().Modified = false;
        ui.ExpectDialog("frmExport", [&](QDialog& dialog) {
            auto& d = static_cast<qm::TfrmExport&>(dialog);
            EXPECT_EQ(d.Choice(), (qm::TExportChoice{true, false, false}));
            d.chkCpp->setChecked(r.tick.Cpp);
            d.chkVb->setChecked(r.tick.Vb);
            d.chkDelphi->setChecked(r.tick.Pascal);
            return ClickOk(d);
        });
        if (r.ok)
            ui.ExpectMessage(MsgKind::Information, "Include file(s) exported successfully to the project folder.");
        else
            ui.ExpectMessage(MsgKind::Error, "");
        Act(*w, "actExportIdConstants")->trigger();
        ui.ExpectAllAnswered(r.name);
        for (const char* f : {"topicsHelp.h", "topicsHelp.bas", "topicsHelp.pas"}) {
            const bool expected = std::find_if(r.written.begin(), r.written.end(),
                                               [&](const char* x) { return std::string(x) == f; }) != r.written.end();
            EXPECT_EQ(std::filesystem::is_regular_file(qm::ToFsPath(root_ + f)), expected) << f;
        }
        if (!r.written.empty() && std::string(r.written.front()) == "topicsHelp.h") {
            EXPECT_NE(ReadText(root_ + "topicsHelp.h").find("#define IDH_POP 40\r\n"), std::string::npos);
        }
        EXPECT_TRUE(w->Project().MakeCppInclude);
        EXPECT_FALSE(w->Project().MakeVbInclude);
        EXPECT_FALSE(w->Project().MakePascalInclude);
        EXPECT_FALSE(w->Project().Modified);
        std::filesystem::remove_all(qm::ToFsPath(root_ + "topicsHelp.bas"));
    }
}

// A picture of Topic Properties over the main window. tools/screenshot-topics.sh
// runs it under Xvfb and keeps out/screenshots/topicprops.png (QM_SCREENSHOT_DIR).
TEST_F(TopicsTest, ScreenshotOfTopicPropertiesOverTheWindow) {
    const std::string sample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";
    ASSERT_TRUE(qm::FileExists(sample)) << sample;
    auto w = Start({qm::FromCp1252(sample)});
    ASSERT_TRUE(started);
    w->resize(1100, 720);
    w->show();
    QApplication::processEvents();
    ui.ExpectDialog("frmTopicProps", [&](QDialog& d) {
        d.show();
        // Over the middle of the window, as the toolkit places a dialog.
        d.move(w->geometry().center() - d.rect().center());
        QApplication::processEvents();
        QImage shot = w->grab().toImage();
        {
            QPainter p(&shot);
            p.drawPixmap(d.geometry().topLeft() - w->geometry().topLeft(), d.grab());
        }
        QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
        if (dir.isEmpty()) dir = QString::fromStdString(root_);
        EXPECT_TRUE(shot.save(QDir(dir).filePath("topicprops.png"), "PNG"));
        d.reject();
        return d.result();
    });
    Act(*w, "actTopicProps")->trigger();
}

}  // namespace
}  // namespace qmtest
