// Find, Replace and the rename commands through the real main window: the
// forms' events, the search results and their jump, Replace All across
// modules with the open one kept undoable, and rename and renumber with the
// link update.
#include <QComboBox>
#include <QDockWidget>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>

#include "dialogs/findform.h"
#include "dialogs/replaceform.h"
#include "mainwindow/findcommands.h"
#include "mainwindow/modulecommands.h"
#include "mainwindow_fixture.h"
#include "model/options.h"
#include "util/fileio.h"
#include "widgets/statusbar.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::TopicKind;

struct Module {
    const char* name;
    TopicKind kind;
    std::string body;  // the topic's text (inside BodyRtf)
    int id = 0;
};

class FindTest : public MainWindowTest {
protected:
    // A project of the contents topic ("Contents", no hit for any test's
    // words) and `modules` in this order.
    std::unique_ptr<qm::TfrmMain> StartWith(const std::vector<Module>& modules) {
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("Start page");
        int next = 10;
        for (const Module& m : modules) {
            qm::TTopicNode& node = p.Topics.AddNew();
            node.SetName(m.name);
            node.Kind = m.kind;
            node.ContextId = m.id ? m.id : next;
            next += 10;
            node.Text = BodyRtf(m.body);
        }
        const std::string path = root_ + "find.qpf";
        p.SaveToFile(path);
        auto w = Start({qm::FromCp1252(path)});
        EXPECT_TRUE(started);
        return w;
    }

    static qm::TTopicNode& Node(qm::TfrmMain& w, const char* name) {
        qm::TTopicNode* n = w.Project().Topics.FindByName(name);
        EXPECT_NE(n, nullptr) << name;
        return *n;
    }
    static std::u16string PlainOf(const std::string& text) { return qm::ReadModuleText(text).plainText(); }
    static QString Plain(qm::TfrmMain& w, const char* name) {
        return QString::fromStdU16String(PlainOf(Node(w, name).Text));
    }
    static QString EditorPlain(qm::TfrmMain& w) { return QString::fromStdU16String(w.Editor()->GetCharText()); }

    // The form's state as a user sets it.
    static void Set(qm::TSearchForm& form, const QString& text, QRadioButton* qm::TSearchForm::*scope,
                    int direction = 2, bool matchCase = false, bool wholeWords = false) {
        form.show();
        form.cboFind->setEditText(text);
        (form.*scope)->setChecked(true);
        form.cboDirection->setCurrentIndex(direction);
        form.chkMatchCase->setChecked(matchCase);
        form.chkWholeWords->setChecked(wholeWords);
    }
    static qm::TfrmFind& FindForm(qm::TfrmMain& w) { return *Child<qm::TfrmFind>(w, "frmFind"); }
    static qm::TfrmReplace& ReplaceForm(qm::TfrmMain& w) { return *Child<qm::TfrmReplace>(w, "frmReplace"); }

    // "name|offset|length" per row; the total row as its caption.
    static QStringList Results(qm::TfrmMain& w) {
        QStringList out;
        auto* list = Child<QTreeWidget>(w, "lvwFind");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list->topLevelItem(i);
            out << (row->text(1).isEmpty() ? row->text(0) : row->text(0) + "|" + row->text(1) + "|" + row->text(2));
        }
        return out;
    }
    static void DoubleClickResult(qm::TfrmMain& w, int row) {
        auto* list = Child<QTreeWidget>(w, "lvwFind");
        QTreeWidgetItem* item = list->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        list->setCurrentItem(item);
        emit list->itemDoubleClicked(item, 0);
    }
    static QString Status(qm::TfrmMain& w) { return w.Status().Text(0); }
};

// --- find in the project --------------------------------------------------------------------

TEST_F(FindTest, FindInTheProjectListsEveryHitAndJumpsToIt) {
    auto w = StartWith({{"Alpha", TopicKind::Topic, "aaaa"},
                        {"Pop", TopicKind::Popup, "x aa"},
                        {"Beta", TopicKind::Topic, "{\\b b}aa end"}});
    w->ShowPane(qm::Pane::Messages, false);  // the search shows the pane again
    ASSERT_TRUE(Child<QDockWidget>(*w, "pnlMessages")->isHidden());
    qm::TfrmFind& form = FindForm(*w);
    Set(form, "AA", &qm::TSearchForm::optProject);
    form.cmdFind->click();

    EXPECT_EQ(Results(*w),
              (QStringList{"Alpha|0|2", "Alpha|1|2", "Alpha|2|2", "Pop|2|2", "Beta|1|2", "Total matches: 5"}));
    EXPECT_FALSE(Child<QDockWidget>(*w, "pnlMessages")->isHidden());
    EXPECT_EQ(Child<QTabBar>(*w, "tsOutputs")->currentIndex(), 2);
    EXPECT_EQ(Child<QTabBar>(*w, "tsOutputs")->tabText(2), "  Search  ");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Status(*w), "Ready.");
    EXPECT_TRUE(Child<QTreeWidget>(*w, "lvwFind")->uniformRowHeights());

    // The jump opens the module and selects the hit, marked beside the selection.
    DoubleClickResult(*w, 4);
    EXPECT_EQ(CurrentName(*w), "Beta");
    EXPECT_EQ(w->Editor()->GetSelStart(), 1);
    EXPECT_EQ(w->Editor()->GetSelText(), "aa");
    ASSERT_EQ(w->Editor()->extraSelections().size(), 1);
    EXPECT_EQ(w->Editor()->extraSelections()[0].cursor.selectedText(), "aa");
    DoubleClickResult(*w, 3);
    EXPECT_EQ(CurrentName(*w), "Pop");
    EXPECT_EQ(w->Editor()->GetSelText(), "aa");
    // No mark ever reaches a text: not the editor's, not a stored one.
    w->StoreCurrentModule();
    for (const auto& node : w->Project().Topics) EXPECT_EQ(node->Text.find("\\highlight"), std::string::npos);
    EXPECT_EQ(w->Editor()->GetRtfText().find("\\highlight"), std::string::npos);
    w->RemoveSearchHighlights();
    EXPECT_TRUE(w->Editor()->extraSelections().isEmpty());

    // The total row does nothing.
    DoubleClickResult(*w, 5);
    EXPECT_EQ(CurrentName(*w), "Pop");
}

TEST_F(FindTest, ResultsOfRemovedOrChangedModules) {
    auto w = StartWith({{"Alpha", TopicKind::Topic, "one word"}, {"Beta", TopicKind::Topic, "many words here"}});
    qm::TfrmFind& form = FindForm(*w);
    Set(form, "word", &qm::TSearchForm::optTopics);
    form.cmdFind->click();
    ASSERT_EQ(Results(*w), (QStringList{"Alpha|4|4", "Beta|5|4", "Total matches: 2"}));

    // The row names its module by Id: a module that is gone gives the message
    // and the list stays.
    w->Project().Topics.DeleteNode(&Node(*w, "Alpha"));
    ui.ExpectMessage(MsgKind::Information, "The specified module no longer exists in the project.");
    DoubleClickResult(*w, 0);
    EXPECT_EQ(Results(*w).size(), 3);

    // A module that became shorter: the stale hit is kept inside the text.
    Node(*w, "Beta").Text = BodyRtf("many");
    DoubleClickResult(*w, 1);
    EXPECT_EQ(CurrentName(*w), "Beta");
    EXPECT_EQ(w->Editor()->GetSelStart(), 4);
    EXPECT_EQ(w->Editor()->GetSelLength(), 0);
    ASSERT_EQ(w->Editor()->extraSelections().size(), 1);
    EXPECT_EQ(w->Editor()->extraSelections()[0].cursor.selectionStart(), 4);
}

TEST_F(FindTest, FindNextWithoutAFindTextShowsTheForm) {
    auto w = StartWith({{"Alpha", TopicKind::Topic, "text"}});
    w->show();
    qm::TfrmFind& form = FindForm(*w);
    ASSERT_TRUE(form.GetFindText().isEmpty());
    Act(*w, "actFindNext")->trigger();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(Results(*w).isEmpty());
    // The forms' events refuse an empty text too: no search, no box.
    w->FindCommands().FindDlgFind();
    w->FindCommands().ReplaceDlgReplace();
    EXPECT_TRUE(ui.records.empty());
}

TEST_F(FindTest, FindTakesTheSelectionOnlyWhenItIsOnOneLine) {
    auto w = StartWith({{"Alpha", TopicKind::Topic, "first line\\par second line"}});
    w->show();
    OpenRow(*w, "lstTopics", "Alpha");
    qm::TfrmFind& find = FindForm(*w);
    qm::TfrmReplace& replace = ReplaceForm(*w);
    w->Editor()->SetSelStart(6);
    w->Editor()->SetSelLength(4);
    Act(*w, "actFind")->trigger();
    EXPECT_EQ(find.GetFindText(), "line");
    EXPECT_TRUE(find.isVisible());
    // Across the paragraph break: the form keeps its text.
    w->Editor()->SetSelStart(6);
    w->Editor()->SetSelLength(8);
    Act(*w, "actReplace")->trigger();
    EXPECT_TRUE(replace.isVisible());
    EXPECT_FALSE(find.isVisible());
    EXPECT_EQ(replace.GetFindText(), "");
    Act(*w, "actFind")->trigger();
    EXPECT_FALSE(replace.isVisible());
    EXPECT_EQ(find.GetFindText(), "line");
}

// --- find in the current text ------------------------------------------------------------------

TEST_F(FindTest, FindInTheCurrentText) {
    // 0         1         2
    // 0123456789012345678901234
    // word one word two wordy
    auto w = StartWith({{"Alpha", TopicKind::Topic, "word one word two wordy"}});
    OpenRow(*w, "lstTopics", "Alpha");
    qm::TfrmFind& form = FindForm(*w);
    qm::TRichText2* editor = w->Editor();
    struct Row {
        const char* name;
        int selStart, selLength;
        int direction;  // 0 up, 1 down, 2 all
        bool wholeWords;
        int expected;  // -1: "No more matches found."
    } rows[] = {
        {"DownFromTheMiddle", 7, 0, 1, false, 9},
        {"DownAfterTheSelection", 9, 4, 1, false, 18},
        {"DownAtTheEnd", 19, 0, 1, false, -1},
        {"DownWholeWords", 10, 0, 1, true, -1},
        {"AllWrapsOnce", 19, 0, 2, false, 0},
        {"UpNearestBefore", 18, 4, 0, false, 9},
        {"UpHitRightBeforeTheSelection", 13, 0, 0, false, 9},
        {"UpFromTheFirstHit", 0, 4, 0, false, -1},
        {"UpAtTheStart", 0, 0, 0, false, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        editor->SetSelStart(r.selStart);
        editor->SetSelLength(r.selLength);
        Set(form, "word", &qm::TSearchForm::optCurText, r.direction, false, r.wholeWords);
        if (r.expected < 0) ui.ExpectMessage(MsgKind::Information, "No more matches found.");
        form.cmdFind->click();
        ui.ExpectAllAnswered(r.name);
        if (r.expected >= 0) {
            EXPECT_EQ(editor->GetSelStart(), r.expected);
            EXPECT_EQ(editor->GetSelLength(), 4);
            // The form is active, so the hit is shown by a mark too.
            ASSERT_EQ(editor->extraSelections().size(), 1);
            EXPECT_EQ(editor->extraSelections()[0].cursor.selectionStart(), r.expected);
            EXPECT_EQ(editor->extraSelections()[0].cursor.selectedText(), "word");
        }
        EXPECT_TRUE(form.isVisible()) << "the form stays open";
    }
    // The mark goes when the editor takes the focus and draws its selection.
    editor->SetSelStart(5);
    Set(form, "word", &qm::TSearchForm::optCurText, 1);
    form.cmdFind->click();
    ASSERT_EQ(editor->extraSelections().size(), 1);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(editor, &focusIn);
    EXPECT_TRUE(editor->extraSelections().isEmpty());
    EXPECT_EQ(editor->GetSelLength(), 4);

    // F3 repeats the find form's search, open or not.
    form.hide();
    Set(form, "word", &qm::TSearchForm::optCurText, 1);
    form.hide();
    editor->SetSelStart(0);
    Act(*w, "actFindNext")->trigger();
    EXPECT_EQ(editor->GetSelStart(), 0);
    Act(*w, "actFindNext")->trigger();
    EXPECT_EQ(editor->GetSelStart(), 9);
    EXPECT_FALSE(form.isVisible());
}

// --- replace ------------------------------------------------------------------------------------

TEST_F(FindTest, ReplaceAllAcrossTopicsKeepsTheOpenModuleUndoable) {
    auto w = StartWith({{"Alpha", TopicKind::Topic, "cat {\\b cat} dog"},
                        {"Beta", TopicKind::Topic, "no hit here"},
                        {"Gamma", TopicKind::Topic, "a cat"},
                        {"Pop", TopicKind::Popup, "cat"}});
    OpenRow(*w, "lstTopics", "Alpha");
    const std::string betaBytes = Node(*w, "Beta").Text;
    const std::string popBytes = Node(*w, "Pop").Text;
    const QString alphaBefore = EditorPlain(*w);
    w->Project().Modified = false;

    qm::TfrmReplace& form = ReplaceForm(*w);
    Set(form, "cat", &qm::TSearchForm::optTopics);
    form.cboReplace->setEditText("lion");
    ui.ExpectMessage(MsgKind::Information, "The specified region has been searched. 3 replacements were made.");
    form.cmdReplaceAll->click();

    EXPECT_EQ(EditorPlain(*w), "lion lion dog");
    EXPECT_EQ(Plain(*w, "Alpha"), "lion lion dog") << "the open module is stored too";
    EXPECT_EQ(Plain(*w, "Gamma"), "a lion");
    EXPECT_EQ(Node(*w, "Beta").Text, betaBytes) << "no hit: the same bytes";
    EXPECT_EQ(Node(*w, "Pop").Text, popBytes) << "outside the scope";
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Status(*w), "Ready.");
    EXPECT_TRUE(Results(*w).isEmpty());
    // The second "lion" took the bold of the "cat" it replaced.
    EXPECT_NE(w->Editor()->GetRtfText().find("\\b lion"), std::string::npos);

    w->Editor()->Undo();
    EXPECT_EQ(EditorPlain(*w), alphaBefore) << "one Undo restores the open module";
}

TEST_F(FindTest, ReplaceAllOutsideTheOpenModuleMarksTheProject) {
    auto w = StartWith({{"Alpha", TopicKind::Topic, "cat"}, {"Pop", TopicKind::Popup, "cat cat"}});
    OpenRow(*w, "lstTopics", "Alpha");
    w->Project().Modified = false;
    qm::TfrmReplace& form = ReplaceForm(*w);
    Set(form, "cat", &qm::TSearchForm::optPopups);
    form.cboReplace->setEditText("dog");
    ui.ExpectMessage(MsgKind::Information, "2 replacements were made.");
    form.cmdReplaceAll->click();
    EXPECT_EQ(Plain(*w, "Pop"), "dog dog");
    EXPECT_EQ(EditorPlain(*w), "cat");
    EXPECT_TRUE(w->Project().Modified);

    // No hit: nothing marked.
    w->Project().Modified = false;
    Set(form, "cat", &qm::TSearchForm::optPopups);
    ui.ExpectMessage(MsgKind::Information, " 0 replacements were made.");
    form.cmdReplaceAll->click();
    EXPECT_FALSE(w->Project().Modified);
}

TEST_F(FindTest, ReplaceInTheCurrentText) {
    auto w = StartWith({{"Alpha", TopicKind::Topic, "one, two, three"}});
    OpenRow(*w, "lstTopics", "Alpha");
    qm::TfrmReplace& form = ReplaceForm(*w);
    qm::TRichText2* editor = w->Editor();

    // Replace: the selection becomes the replace text, selected.
    editor->SetSelStart(5);
    editor->SetSelLength(3);
    Set(form, "two", &qm::TSearchForm::optCurText);
    form.cboReplace->setEditText("2");
    form.cmdReplace->click();
    EXPECT_EQ(EditorPlain(*w), "one, 2, three");
    EXPECT_EQ(editor->GetSelStart(), 5);
    EXPECT_EQ(editor->GetSelLength(), 1);
    // An empty selection: nothing.
    editor->SetSelLength(0);
    form.cmdReplace->click();
    EXPECT_EQ(EditorPlain(*w), "one, 2, three");

    // Replace All with nothing deletes every hit, in one undoable step.
    Set(form, ", ", &qm::TSearchForm::optCurText);
    form.cboReplace->setEditText("");
    ui.ExpectMessage(MsgKind::Information, " 2 replacements were made.");
    form.cmdReplaceAll->click();
    EXPECT_EQ(EditorPlain(*w), "one2three");
    editor->Undo();
    EXPECT_EQ(EditorPlain(*w), "one, 2, three");
}

// --- rename and renumber ------------------------------------------------------------------------

TEST_F(FindTest, RenameUpdatesTheLinksButNotThoseIntoOtherHelpFiles) {
    auto w = StartWith({{"Target", TopicKind::Topic, "the target"},
                        {"One", TopicKind::Topic, "see <LINK TOPIC=\"Target\">it</LINK>"},
                        {"Two", TopicKind::Topic, "see <LINK TOPIC=\"target:part\">it</LINK>"},
                        {"Three", TopicKind::Topic, "see <LINK TOPIC=\"Target\" FILE=other.hlp>it</LINK>"},
                        {"Pop", TopicKind::Popup, "see <LINK POPUP=\"TARGET\">it</LINK>"}});
    w->Options().UpdateOnRename = true;
    OpenRow(*w, "lstTopics", "One");
    const QString oneBefore = EditorPlain(*w);
    const std::string threeBytes = Node(*w, "Three").Text;
    w->Project().Modified = false;

    auto* list = Child<QListWidget>(*w, "lstTopics");
    list->setCurrentItem(list->findItems("Target", Qt::MatchExactly).front());
    ui.ExpectInput(QStringLiteral("Zeta"), "New topic name:");
    Act(*w, "actRename")->trigger();

    EXPECT_EQ(Node(*w, "Zeta").GetName(), "Zeta");
    EXPECT_EQ(EditorPlain(*w), "see <LINK TOPIC=\"Zeta\">it</LINK>");
    EXPECT_EQ(Plain(*w, "Two"), "see <LINK TOPIC=\"Zeta:part\">it</LINK>");
    EXPECT_EQ(Plain(*w, "Pop"), "see <LINK POPUP=\"Zeta\">it</LINK>");
    EXPECT_EQ(Node(*w, "Three").Text, threeBytes);
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_EQ(Status(*w), "Ready.");
    w->Editor()->Undo();
    EXPECT_EQ(EditorPlain(*w), oneBefore);

    // The list row and the combo box show the new name, the combo in order.
    EXPECT_TRUE(Rows(*w, "lstTopics").contains("Zeta"));
    EXPECT_FALSE(Rows(*w, "lstTopics").contains("Target"));
    auto* combo = Child<QComboBox>(*w, "cboTopics");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"Contents", "One", "Three", "Two", "Zeta"}));
}

TEST_F(FindTest, RenameWithoutUpdateOnRenameTouchesNoText) {
    auto w =
        StartWith({{"Target", TopicKind::Topic, "x"}, {"One", TopicKind::Topic, "<LINK TOPIC=\"Target\">a</LINK>"}});
    w->Options().UpdateOnRename = false;
    OpenRow(*w, "lstTopics", "One");
    w->StoreCurrentModule();
    std::vector<std::string> before;
    for (const auto& node : w->Project().Topics) before.push_back(node->Text);
    auto* list = Child<QListWidget>(*w, "lstTopics");
    list->setCurrentItem(list->findItems("Target", Qt::MatchExactly).front());
    ui.ExpectInput(QStringLiteral("Zeta"));
    w->ModuleCommands().RenameModule(true);
    w->StoreCurrentModule();
    std::vector<std::string> after;
    for (const auto& node : w->Project().Topics) after.push_back(node->Text);
    EXPECT_EQ(after, before);
    EXPECT_EQ(Node(*w, "Zeta").GetName(), "Zeta");
}

TEST_F(FindTest, RenameChecks) {
    const std::string longA(300, 'a');
    const std::string longB(300, 'b');
    struct Row {
        const char* name;
        bool popupsPage;
        std::optional<QString> answer;
        const char* message;  // nullptr: none
        const char* newName;  // the selected module's name afterwards
    } rows[] = {
        {"OtherModuleAnyCase", false, QStringLiteral("alpha"), "alpha : This topic name already exists.", "Beta"},
        {"PopupNameSharesTheSpace", false, QStringLiteral("POPONE"), "POPONE : This topic name already exists.",
         "Beta"},
        {"OwnNameOtherCase", false, QStringLiteral("BETA"), nullptr, "Beta"},
        {"Cancelled", false, std::nullopt, nullptr, "Beta"},
        {"Empty", false, QStringLiteral("   "), nullptr, "Beta"},
        {"InnerBlank", false, QStringLiteral("New Name"), "Spaces are not allowed in topic names.", "Beta"},
        {"InvalidCharacter", false, QStringLiteral("bad!"), "Invalid topic name.", "Beta"},
        {"BlanksTrimmed", false, QStringLiteral("  Gamma  "), nullptr, "Gamma"},
        {"CutTo255OnTopics", false, QString::fromStdString(longA), nullptr, nullptr},
        {"PopupExists", true, QStringLiteral("alpha"), "alpha : This popup name already exists.", "PopOne"},
        {"PopupInvalid", true, QStringLiteral("a.b"), "Invalid popup name.", "PopOne"},
        {"CutTo255OnPopups", true, QString::fromStdString(longB), nullptr, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto w = Start({qm::FromCp1252(SaveSample())});
        const char* listName = r.popupsPage ? "lstPopups" : "lstTopics";
        const char* module = r.popupsPage ? "PopOne" : "Beta";
        Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(r.popupsPage ? 1 : 0);
        auto* list = Child<QListWidget>(*w, listName);
        list->setCurrentItem(list->findItems(module, Qt::MatchExactly).front());
        const qm::TNodeId id = w->Project().Topics.FindByName(module)->Id();
        w->Project().Modified = false;
        ui.ExpectInput(r.answer, r.popupsPage ? "New popup name:" : "New topic name:");
        if (r.message) ui.ExpectMessage(MsgKind::Information, r.message);
        w->ModuleCommands().RenameModule(true);
        ui.ExpectAllAnswered(r.name);
        const std::string expected = r.newName ? r.newName : std::string(255, r.popupsPage ? 'b' : 'a');
        EXPECT_EQ(w->Project().Topics.FindById(id)->GetName(), expected);
        EXPECT_EQ(w->Project().Modified, expected != module);
        ui.records.clear();
    }
}

// A name of 255 characters and an answer that only adds to it: cut to 255
// first, the answer is the module's own name, and nothing happens (no
// "already exists" for the module itself), on both pages.
TEST_F(FindTest, RenameCutsTheAnswerBeforeComparingIt) {
    for (const bool popups : {false, true}) {
        SCOPED_TRACE(popups ? "popups" : "topics");
        auto w = Start({qm::FromCp1252(SaveSample())});
        const std::string full(255, popups ? 'p' : 't');
        qm::TTopicNode& node = Node(*w, popups ? "PopOne" : "Beta");
        node.SetName(full);
        w->ShowRenamedModule(node.Id());
        Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(popups ? 1 : 0);
        auto* list = Child<QListWidget>(*w, popups ? "lstPopups" : "lstTopics");
        list->setCurrentItem(list->findItems(qm::FromCp1252(full), Qt::MatchExactly).front());
        w->Project().Modified = false;
        ui.ExpectInput(qm::FromCp1252(full + "xyz"));
        w->ModuleCommands().RenameModule(true);
        ui.ExpectAllAnswered();
        EXPECT_EQ(node.GetName(), full);
        EXPECT_FALSE(w->Project().Modified);
        EXPECT_EQ(ui.MessageTexts(), QStringList());
        ui.records.clear();
    }
}

TEST_F(FindTest, RenumberChecks) {
    struct Row {
        const char* name;
        std::optional<QString> answer;
        MsgKind kind;
        const char* message;  // nullptr: none
        int id;               // Beta's context ID afterwards (20 before)
    } rows[] = {
        {"LeadingZeros", QStringLiteral("007"), MsgKind::Information, nullptr, 7},
        {"Negative", QStringLiteral(" -5 "), MsgKind::Information, nullptr, -5},
        {"OwnId", QStringLiteral("20"), MsgKind::Information, nullptr, 20},
        {"Cancelled", std::nullopt, MsgKind::Information, nullptr, 20},
        {"Empty", QStringLiteral(""), MsgKind::Information, nullptr, 20},
        {"OtherModulesId", QStringLiteral("10"), MsgKind::Information, "10 : This context ID already exists.", 20},
        {"Letters", QStringLiteral("abc"), MsgKind::Error, "abc is not a valid integer value.", 20},
        {"MinusInside", QStringLiteral("1-2"), MsgKind::Error, "1-2 is not a valid integer value.", 20},
        {"MinusSigns", QStringLiteral("--"), MsgKind::Error, "-- is not a valid integer value.", 20},
        {"OutOfRange", QStringLiteral("99999999999"), MsgKind::Error, "99999999999 is not a valid integer value.", 20},
        {"LargestFits", QStringLiteral("2147483647"), MsgKind::Information, nullptr, 2147483647},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto w = Start({qm::FromCp1252(SaveSample())});
        auto* list = Child<QListWidget>(*w, "lstTopics");
        list->setCurrentItem(list->findItems("Beta", Qt::MatchExactly).front());
        w->Project().Modified = false;
        ui.ExpectInput(r.answer, "New topic context ID:");
        if (r.message) ui.ExpectMessage(r.kind, r.message);
        Act(*w, "mnuProjectRenumberItem")->trigger();
        ui.ExpectAllAnswered(r.name);
        EXPECT_EQ(w->Project().Topics.FindByName("Beta")->ContextId, r.id);
        EXPECT_EQ(w->Project().Modified, r.id != 20);
        ui.records.clear();
    }
}

TEST_F(FindTest, RenameAndRenumberReachEveryPlace) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    EXPECT_EQ(Act(*w, "actRename")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(Act(*w, "actToggleExplorer")->shortcut(), QKeySequence(Qt::Key_F6));
    auto* list = Child<QListWidget>(*w, "lstTopics");
    list->setCurrentItem(list->findItems("Beta", Qt::MatchExactly).front());
    // The topics bar's Rename and Renumber buttons, the pop-up menu's items.
    ui.ExpectInput(QStringLiteral("B1"), "New topic name:");
    w->ModuleCommands().TopicButtonClick(4);
    ui.ExpectInput(QStringLiteral("21"), "New topic context ID:");
    w->ModuleCommands().TopicButtonClick(5);
    ui.ExpectInput(QStringLiteral("B2"), "New topic name:");
    Act(*w, "mnuProjPopRename")->trigger();
    ui.ExpectInput(QStringLiteral("22"), "New topic context ID:");
    Act(*w, "mnuProjPopRenumber")->trigger();
    EXPECT_EQ(list->currentItem()->text(), "B2");
    EXPECT_EQ(w->Project().Topics.FindByName("B2")->ContextId, 22);

    // The popups bar: tags 3 and 4.
    Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(1);
    auto* popups = Child<QListWidget>(*w, "lstPopups");
    popups->setCurrentRow(0);
    ui.ExpectInput(QStringLiteral("P1"), "New popup name:");
    w->ModuleCommands().PopupButtonClick(3);
    ui.ExpectInput(QStringLiteral("101"), "New popup context ID:");
    w->ModuleCommands().PopupButtonClick(4);
    EXPECT_EQ(w->Project().Topics.FindByName("P1")->ContextId, 101);

    // On the popups page without a selected popup Rename and Renumber are off.
    popups->setCurrentRow(-1);
    w->updateActions();
    EXPECT_FALSE(Act(*w, "actRename")->isEnabled());
    EXPECT_FALSE(Act(*w, "mnuProjectRenumberItem")->isEnabled());
    Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(0);
    w->updateActions();
    EXPECT_TRUE(Act(*w, "actRename")->isEnabled());
}

}  // namespace
}  // namespace qmtest

namespace qmtest {
namespace {

// A picture of the window after a search of the sample project, the results
// in the messages pane and one opened and marked. tools/screenshot-find.sh
// keeps it (QM_SCREENSHOT_DIR); otherwise it goes to a scratch folder.
TEST_F(FindTest, ScreenshotOfTheSearchResults) {
    const std::string sample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";
    ASSERT_TRUE(qm::FileExists(sample)) << sample;
    auto w = Start({qm::FromCp1252(sample)});
    ASSERT_TRUE(started);
    w->resize(1100, 720);
    w->show();
    qm::TfrmFind& form = FindForm(*w);
    Set(form, "the", &qm::TSearchForm::optProject);
    form.cmdFind->click();
    QApplication::processEvents();  // the form hides, the focus goes back
    ASSERT_GT(Results(*w).size(), 2);
    Child<QTreeWidget>(*w, "lvwFind")->setFocus();  // as the user's click does
    DoubleClickResult(*w, 1);
    QApplication::processEvents();
    QString folder = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = QString::fromStdString(root_);
    EXPECT_TRUE(w->grab().toImage().save(folder + "/find-results.png", "PNG"));
}

}  // namespace
}  // namespace qmtest
