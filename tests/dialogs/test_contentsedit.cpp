// The contents file editor: where new entries go, includes kept on level 1,
// delete and move, drag and drop through the view's own handlers, every way
// out asking once, unreadable files, the check of what a line can hold on
// inserted topics, creation and the proposed name, and a picture.
#include <filesystem>
#include <functional>

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "cnt_fixture.h"
#include "dialogs/newmacro.h"
#include "dialogs/newtopic.h"
#include "util/fileio.h"
#include "widgets/actioncheck.h"

namespace qmtest {
namespace {

using namespace qm;

constexpr const char* kUntitled = "Contents File Editor - [untitled]";

class ContentsEditTest : public CntTest {
protected:
    static QModelIndex Index(TfrmContentsEdit& e, int row) { return e.lstTree->model()->index(row, 0); }
    static QPoint RowPoint(TfrmContentsEdit& e, int row) { return e.lstTree->visualRect(Index(e, row)).center(); }
    // A point of the list below its last row.
    static QPoint OffTheRows(TfrmContentsEdit& e) { return {20, e.lstTree->viewport()->height() - 3}; }
    // The data of a drag of tree row `row`, as the tree makes it.
    static QMimeData* RowDrag(TfrmContentsEdit& e, int row) { return e.lstTree->model()->mimeData({Index(e, row)}); }
    // The data of a drag of the topic `name` from lstTopics, as that list makes it.
    static QMimeData* TopicDrag(TfrmContentsEdit& e, const QString& name) {
        const auto found = e.lstTopics->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return e.lstTopics->model()->mimeData({e.lstTopics->model()->index(e.lstTopics->row(found.front()), 0)});
    }
    // Drags `data` over lstTree to `point` and drops it there, through the
    // events the view receives; the row marked during the move.
    static int DragAndDrop(TfrmContentsEdit& e, QMimeData* data, QPoint point, bool* accepted = nullptr) {
        std::unique_ptr<QMimeData> owned(data);
        QWidget* viewport = e.lstTree->viewport();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(point, actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(point, actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        const int marked = e.lstTree->DragRow();
        QDropEvent drop(QPointF(point), actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        if (accepted) *accepted = drop.isAccepted();
        EXPECT_EQ(e.lstTree->DragRow(), -1) << "the mark stays after the drop";
        QApplication::processEvents();
        return marked;
    }
    // Scripts the entry dialog `form`: the fields typed, then OK.
    void ExpectEntry(const QString& form, std::vector<std::pair<const char*, QString>> fields) {
        ui.ExpectDialog(form, [fields](QDialog& d) {
            for (const auto& [name, text] : fields) Set(d, name, text);
            return Ok(d);
        });
    }
    static std::string Bytes(const std::string& path) { return ReadWholeFile(path); }
};

// --- inserting ------------------------------------------------------------------

TEST_F(ContentsEditTest, NewEntriesGoWhereTheInsertionRulePutsThem) {
    const char* tree = "1 T1=t1\r\n1 B1\r\n2 T2=t2\r\n1 T3=t3\r\n";  // [T1, B1[T2], T3]
    struct Row {
        const char* name;
        int selected;
        QAction* TfrmContentsEdit::*command;
        QString form;
        std::vector<std::pair<const char*, QString>> fields;
        std::string outline;
        int selectedAfter;
    } rows[] = {
        {"a topic with T1 selected goes to the end of the root level",
         0,
         &TfrmContentsEdit::actAddTopic,
         "frmNewTopic",
         {{"txtTitle", "N"}},
         "1:T1|1:B1|2:T2|1:T3|1:N",
         0},
        {"a topic with T2 selected becomes B1's last child",
         2,
         &TfrmContentsEdit::actAddTopic,
         "frmNewTopic",
         {{"txtTitle", "N"}},
         "1:T1|1:B1|2:T2|2:N|1:T3",
         2},
        {"a topic with B1 selected becomes B1's last child",
         1,
         &TfrmContentsEdit::actAddTopic,
         "frmNewTopic",
         {{"txtTitle", "N"}},
         "1:T1|1:B1|2:T2|2:N|1:T3",
         1},
        {"a comment with T3 selected goes before T3 and is selected",
         3,
         &TfrmContentsEdit::actAddComment,
         "frmNewComment",
         {{"txtComment", "C\nD"}},
         "1:T1|1:B1|2:T2|1:CD|1:T3",
         3},
        {"a header with nothing selected goes to the end",
         -1,
         &TfrmContentsEdit::actAddHeader,
         "frmNewHeader",
         {{"txtTitle", "H"}},
         "1:T1|1:B1|2:T2|1:T3|1:H",
         -1},
        {"a macro with T2 selected becomes B1's last child",
         2,
         &TfrmContentsEdit::actAddMacro,
         "frmNewMacro",
         {{"txtTitle", "M"}, {"txtMacro", "About()"}},
         "1:T1|1:B1|2:T2|2:M|1:T3",
         2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = EditorWith(tree);
        e->SelectRow(row.selected);
        ExpectEntry(row.form, row.fields);
        (e.get()->*row.command)->trigger();
        EXPECT_EQ(Outline(*e), row.outline);
        EXPECT_EQ(e->SelectedRow(), row.selectedAfter);
        EXPECT_TRUE(e->ContentsFile().Modified);
        ui.ExpectAllAnswered();
    }
}

TEST_F(ContentsEditTest, ANewTopicEntryStartsOnTheContentsTopic) {
    auto e = Editor();
    ui.ExpectDialog("frmNewTopic", [](QDialog& d) {
        auto& t = static_cast<TfrmNewTopic&>(d);
        EXPECT_TRUE(t.optLinkIn->isChecked());
        EXPECT_EQ(t.cboTopic->currentText(), "Contents");
        EXPECT_EQ(t.cboWindow->currentIndex(), -1);
        EXPECT_EQ(t.cboWindow->currentText(), "");
        Set(d, "txtTitle", "Start");
        return Ok(d);
    });
    e->actAddTopic->trigger();
    const TCntNode* entry = e->ContentsFile().Tree.GetItem(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->TopicId, "Contents");
    EXPECT_EQ(entry->Title, "Start");
    EXPECT_EQ(entry->Window, "");
    EXPECT_EQ(entry->HelpFile, "");

    ui.ExpectDialog("frmNewHeader", [](QDialog& d) {
        d.reject();
        return d.result();
    });
    e->ContentsFile().Modified = false;
    e->actAddHeader->trigger();
    EXPECT_EQ(Outline(*e), "1:Start");
    EXPECT_FALSE(e->ContentsFile().Modified);
}

TEST_F(ContentsEditTest, IncludesStayOnLevelOne) {
    const char* tree = "1 T1=a\r\n1 B1\r\n2 T2=b\r\n2 B2\r\n3 T3=c\r\n1 T4=d\r\n";
    struct Row {
        const char* name;
        int selected;
        std::string outline;
        int selectedAfter;
    } rows[] = {
        {"before a selected level-1 topic", 0, "1::INCLUDE i.cnt|1:T1|1:B1|2:T2|2:B2|3:T3|1:T4", 0},
        {"before the level-1 book of an entry two books deep", 4, "1:T1|1::INCLUDE i.cnt|1:B1|2:T2|2:B2|3:T3|1:T4", 1},
        {"before the level-1 book of a book inside it", 3, "1:T1|1::INCLUDE i.cnt|1:B1|2:T2|2:B2|3:T3|1:T4", 1},
        {"before a selected level-1 book", 1, "1:T1|1::INCLUDE i.cnt|1:B1|2:T2|2:B2|3:T3|1:T4", 1},
        {"at the end with nothing selected", -1, "1:T1|1:B1|2:T2|2:B2|3:T3|1:T4|1::INCLUDE i.cnt", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = EditorWith(tree);
        e->SelectRow(row.selected);
        ExpectEntry("frmNewInclude", {{"txtFile", "i.cnt"}});
        e->actAddInclude->trigger();
        EXPECT_EQ(Outline(*e), row.outline);
        EXPECT_EQ(e->SelectedRow(), row.selectedAfter);
        // The file gives the same tree back.
        ASSERT_TRUE(e->SaveFile(root_ + "back.cnt"));
        ASSERT_TRUE(e->OpenFile(root_ + "back.cnt"));
        EXPECT_EQ(Outline(*e), row.outline);
        ui.ExpectAllAnswered();
    }
}

TEST_F(ContentsEditTest, AnIncludeIsNeverDraggedIntoABook) {
    struct Row {
        const char* name;
        int target;
        std::string outline;
    } rows[] = {
        {"onto a topic inside a book: nothing", 2, "1::INCLUDE i.cnt|1:B1|2:T2|1:T3"},
        {"onto the book itself: beside it", 1, "1:B1|2:T2|1::INCLUDE i.cnt|1:T3"},
        {"onto a level-1 topic: beside it", 3, "1:B1|2:T2|1:T3|1::INCLUDE i.cnt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = EditorWith(":include i.cnt\r\n1 B1\r\n2 T2=b\r\n1 T3=c\r\n");
        DragAndDrop(*e, RowDrag(*e, 0), RowPoint(*e, row.target));
        EXPECT_EQ(Outline(*e), row.outline);
        EXPECT_EQ(e->ContentsFile().Modified, row.target != 2);
    }
}

// --- deleting and moving ----------------------------------------------------------

TEST_F(ContentsEditTest, DeleteAsksThenRemovesTheEntryWithItsSubtree) {
    const char* tree = "1 B1\r\n2 T1=a\r\n2 B2\r\n3 T2=b\r\n1 T3=c\r\n";
    struct Row {
        const char* name;
        const char* tree;
        int selected;
        const char* question;
        MsgResult answer;
        std::string outline;
        int selectedAfter;
    } rows[] = {
        {"a book, with the warning", tree, 0, kMsgCntDeleteHeader, MsgResult::Yes, "1:T3", 0},
        {"a book inside a book", tree, 2, kMsgCntDeleteHeader, MsgResult::Yes, "1:B1|2:T1|1:T3", 2},
        {"a book, answered No", tree, 2, kMsgCntDeleteHeader, MsgResult::No, "1:B1|2:T1|2:B2|3:T2|1:T3", 2},
        {"the last row: the new last row is selected", tree, 4, kMsgCntDeleteItem, MsgResult::Yes,
         "1:B1|2:T1|2:B2|3:T2", 3},
        {"the only row: nothing is selected", "1 T=a\r\n", 0, kMsgCntDeleteItem, MsgResult::Yes, "", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = EditorWith(row.tree);
        e->SelectRow(row.selected);
        ui.ExpectMessage(MsgKind::Confirmation, QString::fromLatin1(row.question), row.answer);
        e->spbMoveDelete->click();
        ASSERT_FALSE(ui.MessageTexts().isEmpty());
        EXPECT_EQ(ui.MessageTexts().back(), QString::fromLatin1(row.question));
        EXPECT_EQ(Outline(*e), row.outline);
        EXPECT_EQ(e->lstTree->model()->rowCount(), e->ContentsFile().Tree.Count());
        EXPECT_EQ(e->SelectedRow(), row.selectedAfter);
        EXPECT_EQ(e->ContentsFile().Modified, row.answer == MsgResult::Yes);
        ui.ExpectAllAnswered();
    }
    EXPECT_EQ(QString::fromLatin1(kMsgCntDeleteHeader),
              "WARNING:\nDeleting a header node will also delete all its child nodes and sub-header nodes.\n\n"
              "Are you sure you want to delete the selected header?");
}

// In a list longer than its window, the keys move the selection and the
// list scrolls to keep it in sight; a click after scrolling picks the row
// painted under it.
TEST_F(ContentsEditTest, KeysAndScrollingInALongList) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "1 Topic " + std::to_string(i) + "=t" + std::to_string(i) + "\r\n";
    auto e = EditorWith(text);
    e->show();
    QApplication::processEvents();
    ASSERT_EQ(e->lstTree->model()->rowCount(), 300);
    e->lstTree->setFocus();
    e->SelectRow(0);
    const auto inSight = [&](int row) {
        return e->lstTree->viewport()->rect().contains(e->lstTree->visualRect(Index(*e, row)));
    };
    struct Step {
        Qt::Key key;
        int row;  // -1: below the row before, not at the end
    } steps[] = {{Qt::Key_Down, 1}, {Qt::Key_End, 299}, {Qt::Key_Up, 298}, {Qt::Key_Home, 0}, {Qt::Key_PageDown, -1}};
    int before = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.key);
        QTest::keyClick(e->lstTree, s.key);
        QApplication::processEvents();
        if (s.row >= 0)
            EXPECT_EQ(e->SelectedRow(), s.row);
        else
            EXPECT_GT(e->SelectedRow(), before + 1);
        EXPECT_TRUE(inSight(e->SelectedRow()));
        before = e->SelectedRow();
    }
    QTest::keyClick(e->lstTree, Qt::Key_End);
    QApplication::processEvents();
    EXPECT_GT(e->lstTree->verticalScrollBar()->value(), 0);
    const int shown = e->lstTree->indexAt(QPoint(20, 5)).row();
    ASSERT_GT(shown, 0);
    QTest::mouseClick(e->lstTree->viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(*e, shown));
    EXPECT_EQ(e->SelectedRow(), shown);
    EXPECT_EQ(e->lstTree->model()->data(Index(*e, shown)).toString().toStdString(),
              "Topic " + std::to_string(shown));
}

TEST_F(ContentsEditTest, MovesThatCannotBeMadeChangeNothing) {
    // Rows: 0 T0, 1 note, 2 B1, 3 T1, 4 T2, 5 inner (a comment in B1), 6 the include.
    const char* tree = "1 T0=a\r\n;note\r\n1 B1\r\n2 T1=b\r\n2 T2=c\r\n;inner\r\n:include i.cnt\r\n";
    const std::string outline = "1:T0|1:note|1:B1|2:T1|2:T2|2:inner|1::INCLUDE i.cnt";
    struct Row {
        const char* name;
        int selected;
        QToolButton* TfrmContentsEdit::*button;
        std::string outline;  // empty: unchanged
        int selectedAfter;
    } rows[] = {
        {"left on level 1", 0, &TfrmContentsEdit::spbMoveLeft, "", 0},
        {"up on a first child", 3, &TfrmContentsEdit::spbMoveUp, "", 3},
        {"down on a last child", 5, &TfrmContentsEdit::spbMoveDown, "", 5},
        {"up on the first row", 0, &TfrmContentsEdit::spbMoveUp, "", 0},
        {"right with only topics before", 4, &TfrmContentsEdit::spbMoveRight, "", 4},
        {"right with nothing before", 0, &TfrmContentsEdit::spbMoveRight, "", 0},
        {"left on a comment", 5, &TfrmContentsEdit::spbMoveLeft, "", 5},
        {"right on an include", 6, &TfrmContentsEdit::spbMoveRight, "", 6},
        {"left on an include", 6, &TfrmContentsEdit::spbMoveLeft, "", 6},
        // Moves that can be made, for contrast.
        {"up on a second child", 4, &TfrmContentsEdit::spbMoveUp, "1:T0|1:note|1:B1|2:T2|2:T1|2:inner|1::INCLUDE i.cnt",
         3},
        {"down over a book moves past its children", 1, &TfrmContentsEdit::spbMoveDown,
         "1:T0|1:B1|2:T1|2:T2|2:inner|1:note|1::INCLUDE i.cnt", 5},
        {"left out of a book", 4, &TfrmContentsEdit::spbMoveLeft, "1:T0|1:note|1:B1|2:T1|2:inner|1:T2|1::INCLUDE i.cnt",
         5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = EditorWith(tree);
        e->SelectRow(row.selected);
        (e.get()->*row.button)->click();
        EXPECT_EQ(Outline(*e), row.outline.empty() ? outline : row.outline);
        EXPECT_EQ(e->SelectedRow(), row.selectedAfter);
        EXPECT_EQ(e->ContentsFile().Modified, !row.outline.empty());
    }
}

TEST_F(ContentsEditTest, CommandsThatNeedASelectionAreOffWithoutOne) {
    auto e = EditorWith("1 B\r\n2 T=t\r\n");
    const QList<QAction*> needRow = {e->actItemProps, e->actMoveUp,    e->actMoveDown,
                                     e->actMoveLeft,  e->actMoveRight, e->actDelete};
    e->SelectRow(-1);
    e->lstTopics->clearSelection();
    for (QAction* a : needRow) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(e->actInsertSel->isEnabled());
    for (QAction* a : {e->actNew, e->actOpen, e->actSave, e->actAddTopic, e->actHelp}) EXPECT_TRUE(a->isEnabled());
    e->SelectRow(1);
    e->lstTopics->setCurrentRow(0);
    for (QAction* a : needRow) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(e->actInsertSel->isEnabled());
    for (QToolButton* b : {e->spbMoveUp, e->spbMoveDelete, e->spbMoveProperties}) EXPECT_TRUE(b->isEnabled());
    // Called directly, each does nothing without a selection.
    e->SelectRow(-1);
    e->lstTopics->clearSelection();
    e->actItemPropsExecute();
    e->actDeleteExecute();
    e->actMoveRightExecute();
    e->actInsertSelExecute();
    EXPECT_EQ(Outline(*e), "1:B|2:T");
    EXPECT_FALSE(e->ContentsFile().Modified);
}

TEST_F(ContentsEditTest, EntryPropertiesEditTheSelectedEntry) {
    auto e = EditorWith("1 Run=! About()\r\n1 Far=far@other.hlp>second\r\n");
    e->SelectRow(0);
    ui.ExpectDialog("frmNewMacro", [](QDialog& d) {
        auto& m = static_cast<TfrmNewMacro&>(d);
        EXPECT_EQ(m.txtTitle->text(), "Run");
        EXPECT_EQ(m.txtMacro->text(), "About()");
        d.reject();
        return d.result();
    });
    e->actItemProps->trigger();
    EXPECT_FALSE(e->ContentsFile().Modified);
    // A double click on the row does the same; OK stores.
    e->SelectRow(1);
    ui.ExpectDialog("frmNewTopic", [](QDialog& d) {
        auto& t = static_cast<TfrmNewTopic&>(d);
        EXPECT_TRUE(t.optLinkOut->isChecked());
        EXPECT_EQ(t.txtHelpFile->text(), "other.hlp");
        EXPECT_EQ(t.cboTopic->currentText(), "far");
        EXPECT_EQ(t.cboWindow->currentText(), "second");
        Set(d, "txtTitle", "Farther");
        Set(d, "optLinkIn");
        return Ok(d);
    });
    emit e->lstTree->doubleClicked(Index(*e, 1));
    EXPECT_TRUE(e->ContentsFile().Modified);
    EXPECT_EQ(Outline(*e), "1:Run|1:Farther");
    EXPECT_EQ(e->SelectedRow(), 1);
    EXPECT_EQ(e->ContentsFile().ToText(), "1 Run=! About()\r\n1 Farther=far>second\r\n");
}

// --- drag and drop ----------------------------------------------------------------

TEST_F(ContentsEditTest, DropsOfRowsAndTopics) {
    const char* tree = "1 T1=a\r\n1 B1\r\n2 T2=b\r\n1 T3=c\r\n";  // rows T1, B1, T2, T3
    const std::string unchanged = "1:T1|1:B1|2:T2|1:T3";
    struct Row {
        const char* name;
        std::function<QMimeData*(TfrmContentsEdit&)> data;
        int target;  // -1: below the rows
        int selectedBefore;
        std::string outline;  // empty: unchanged
        int selectedAfter;
    } rows[] = {
        {"a row on itself", [](TfrmContentsEdit& e) { return RowDrag(e, 0); }, 0, 0, "", 0},
        {"a row off the rows", [](TfrmContentsEdit& e) { return RowDrag(e, 0); }, -1, 0, "", 0},
        {"a row moved down goes after the target", [](TfrmContentsEdit& e) { return RowDrag(e, 0); }, 2, 0,
         "1:B1|2:T2|2:T1|1:T3", 2},
        {"a row moved up goes before the target", [](TfrmContentsEdit& e) { return RowDrag(e, 3); }, 0, 3,
         "1:T3|1:T1|1:B1|2:T2", 0},
        {"a book onto its own child", [](TfrmContentsEdit& e) { return RowDrag(e, 1); }, 2, 1, "", 1},
        {"a topic onto a row goes before it and is selected", [](TfrmContentsEdit& e) { return TopicDrag(e, "Beta"); },
         2, -1, "1:T1|1:B1|2:Beta title|2:T2|1:T3", 2},
        {"a topic off the rows goes by the insertion rule", [](TfrmContentsEdit& e) { return TopicDrag(e, "Beta"); },
         -1, 2, "1:T1|1:B1|2:T2|2:Beta title|1:T3", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = EditorWith(tree);
        e->SelectRow(row.selectedBefore);
        const QPoint point = row.target < 0 ? OffTheRows(*e) : RowPoint(*e, row.target);
        ASSERT_EQ(e->lstTree->indexAt(point).row(), row.target);
        bool accepted = false;
        EXPECT_EQ(DragAndDrop(*e, row.data(*e), point, &accepted), row.target);
        EXPECT_TRUE(accepted);
        EXPECT_EQ(Outline(*e), row.outline.empty() ? unchanged : row.outline);
        EXPECT_EQ(e->SelectedRow(), row.selectedAfter);
        EXPECT_EQ(e->ContentsFile().Modified, !row.outline.empty());
    }
    // A dropped topic entry is the topic's: its name, title and window.
    auto e = EditorWith(tree);
    DragAndDrop(*e, TopicDrag(*e, "Intro"), RowPoint(*e, 0));
    const TCntNode* entry = e->ContentsFile().Tree.GetItem(0);
    EXPECT_EQ(entry->TopicId, "Intro");
    EXPECT_EQ(entry->Title, "Introduction");
    EXPECT_EQ(entry->Window, "second");
}

TEST_F(ContentsEditTest, DataFromElsewhereIsNotTaken) {
    auto e = EditorWith("1 T1=a\r\n1 T2=b\r\n");
    auto other = EditorWith("1 X=x\r\n1 Y=y\r\n");
    struct Row {
        const char* name;
        std::function<QMimeData*()> data;
    } rows[] = {
        {"plain text",
         [] {
             auto* d = new QMimeData;
             d->setText("1 T=t");
             return d;
         }},
        {"a row of another editor", [&] { return RowDrag(*other, 0); }},
        {"a row number past the end",
         [&] {
             auto* d = RowDrag(*e, 0);
             QByteArray bytes = d->data(kMimeCntRow);
             d->setData(kMimeCntRow, bytes.left(bytes.indexOf(' ')) + " 99");
             return d;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool accepted = true;
        DragAndDrop(*e, row.data(), RowPoint(*e, 1), &accepted);
        EXPECT_FALSE(accepted);
        EXPECT_EQ(Outline(*e), "1:T1|1:T2");
        EXPECT_FALSE(e->ContentsFile().Modified);
    }
}

// --- the check of what a line can hold ----------------------------------------

TEST_F(ContentsEditTest, ATopicWhoseTitleALineCannotHoldIsNotInserted) {
    project.Topics.FindByName("Beta")->SetTitle("Beta = the second");
    project.Topics.FindByName("Gamma")->SetTitle("Gamma; the third");
    auto e = EditorWith("1 T=t\r\n");
    const QString refusal = "The title of the topic \"Beta\" cannot hold \"=\" in a contents file.";
    ui.ExpectMessage(MsgKind::Information, refusal);
    e->lstTopics->setCurrentItem(e->lstTopics->findItems("Beta", Qt::MatchExactly).front());
    e->actInsertSel->trigger();
    ui.ExpectMessage(MsgKind::Information, refusal);
    DragAndDrop(*e, TopicDrag(*e, "Beta"), RowPoint(*e, 0));
    EXPECT_EQ(ui.MessageTexts(), QStringList({refusal, refusal}));
    EXPECT_EQ(Outline(*e), "1:T");
    EXPECT_FALSE(e->ContentsFile().Modified);
    // A ";" is text inside an entry line.
    e->lstTopics->setCurrentItem(e->lstTopics->findItems("Gamma", Qt::MatchExactly).front());
    emit e->lstTopics->itemDoubleClicked(e->lstTopics->currentItem());
    EXPECT_EQ(Outline(*e), "1:T|1:Gamma; the third");
    EXPECT_TRUE(e->ContentsFile().Modified);
}

// --- every way out asks once ----------------------------------------------------

TEST_F(ContentsEditTest, EveryWayOutAsksOnce) {
    const std::string original = "1 A=a\r\n1 B=b\r\n";
    const std::string changed = "1 B=b\r\n1 A=a\r\n";
    const std::string other = Scratch("u.cnt", "1 Other=o\r\n");
    enum class Way { Esc, CloseBox, Exit, New, Open };
    struct WayRow {
        const char* name;
        Way way;
        bool closes;
    } ways[] = {
        {"Esc", Way::Esc, true},    {"the close box", Way::CloseBox, true},
        {"Exit", Way::Exit, true},  {"New", Way::New, false},
        {"Open", Way::Open, false},
    };
    for (const WayRow& way : ways) {
        for (const MsgResult answer : {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}) {
            SCOPED_TRACE(std::string(way.name) + (answer == MsgResult::Yes  ? ", Yes"
                                                  : answer == MsgResult::No ? ", No"
                                                                            : ", Cancel"));
            auto e = EditorWith(original);
            const std::string path = root_ + "t.cnt";
            e->SelectRow(0);
            e->actMoveDown->trigger();
            ASSERT_TRUE(e->ContentsFile().Modified);
            const int before = ui.MessageTexts().size();
            ui.ExpectMessage(MsgKind::Confirmation, kMsgCntSaveChanges, answer);
            const bool goesOn = answer != MsgResult::Cancel;
            if (way.way == Way::Open && goesOn) ui.ExpectOpenFile(FromCp1252(other));
            switch (way.way) {
                case Way::Esc: QTest::keyClick(e.get(), Qt::Key_Escape); break;
                case Way::CloseBox: e->close(); break;
                case Way::Exit: e->actExit->trigger(); break;
                case Way::New: e->actNew->trigger(); break;
                case Way::Open: e->actOpen->trigger(); break;
            }
            ui.ExpectAllAnswered();
            EXPECT_EQ(ui.MessageTexts().size(), before + 1) << "asked once";
            EXPECT_EQ(Bytes(path), answer == MsgResult::Yes ? changed : original);
            EXPECT_EQ(e->isVisible(), !(way.closes && goesOn));
            if (!goesOn) {
                EXPECT_EQ(Outline(*e), "1:B|1:A");
                EXPECT_TRUE(e->ContentsFile().Modified);
                EXPECT_EQ(e->windowTitle(), "Contents File Editor - t.cnt");
            } else if (way.way == Way::New) {
                EXPECT_EQ(Outline(*e), "");
                EXPECT_EQ(e->windowTitle(), kUntitled);
                EXPECT_FALSE(e->ContentsFile().Modified);
            } else if (way.way == Way::Open) {
                EXPECT_EQ(Outline(*e), "1:Other");
                EXPECT_EQ(e->windowTitle(), "Contents File Editor - u.cnt");
            }
        }
    }
}

TEST_F(ContentsEditTest, AFailedOrCancelledSaveKeepsTheWindowOpen) {
    const std::string folder = root_ + "folder.cnt";
    std::filesystem::create_directories(folder);
    struct Row {
        const char* name;
        std::optional<QString> saveAs;
        bool errorBox;
    } rows[] = {
        {"Save As cancelled", std::nullopt, false},
        {"the target is a folder", FromCp1252(folder), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = Editor();
        e->InsertItem(std::make_unique<TCntNode>(TCntNode{TCntNodeKind::Book, "", "B", "", "", ""}));
        e->ContentsFile().Modified = true;
        ui.ExpectMessage(MsgKind::Confirmation, kMsgCntSaveChanges, MsgResult::Yes);
        ui.ExpectSaveFile(row.saveAs);
        if (row.errorBox) ui.ExpectMessage(MsgKind::Error, FromCp1252(folder));
        e->close();
        ui.ExpectAllAnswered();
        EXPECT_TRUE(e->isVisible());
        EXPECT_TRUE(e->ContentsFile().Modified);
        EXPECT_EQ(e->windowTitle(), kUntitled);
        EXPECT_EQ(e->ContentsFile().FileName, "");
        EXPECT_EQ(Outline(*e), "1:B");
        EXPECT_TRUE(std::filesystem::is_directory(folder));
    }
    // A save that fails over a named file leaves the file whole.
    auto e = EditorWith("1 Kept=k\r\n");
    std::filesystem::remove(root_ + "t.cnt");
    std::filesystem::create_directories(root_ + "t.cnt");
    e->SelectRow(0);
    e->ContentsFile().Modified = true;
    ui.ExpectMessage(MsgKind::Error, "t.cnt");
    e->actSave->trigger();
    EXPECT_TRUE(e->ContentsFile().Modified);
    EXPECT_EQ(e->windowTitle(), "Contents File Editor - t.cnt");
    ui.ExpectMessage(MsgKind::Confirmation, kMsgCntSaveChanges, MsgResult::Yes);
    ui.ExpectMessage(MsgKind::Error, "t.cnt");
    e->actNew->trigger();
    EXPECT_EQ(Outline(*e), "1:Kept");
}

// --- files that cannot be read -----------------------------------------------------

TEST_F(ContentsEditTest, AnUnreadableFileLeavesTheEditorUntitled) {
    std::filesystem::create_directories(root_ + "x.cnt");
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("1 Book\r\n2 Topic=t\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    const std::string utf16File = Scratch("wide.cnt", utf16);
    struct Row {
        const char* name;
        std::string path;
        QString error;
    } rows[] = {
        {"a folder named x.cnt", root_ + "x.cnt", FromCp1252(root_ + "x.cnt")},
        {"a UTF-16 file", utf16File,
         "\"" + FromCp1252(utf16File) + "\" holds nothing that can be read as a contents file."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto e = EditorWith("1 Old=o\r\n");
        ui.ExpectOpenFile(FromCp1252(row.path));
        ui.ExpectMessage(MsgKind::Error, row.error);
        e->actOpen->trigger();
        ui.ExpectAllAnswered();
        ASSERT_FALSE(ui.MessageTexts().isEmpty());
        EXPECT_TRUE(ui.MessageTexts().back().contains(row.error));
        EXPECT_EQ(Outline(*e), "");
        EXPECT_EQ(e->windowTitle(), kUntitled);
        EXPECT_FALSE(e->ContentsFile().Modified);
        EXPECT_EQ(e->ContentsFile().FileName, "");
        // Save asks for a name: the empty tree never goes over the file unasked.
        ui.ExpectSaveFile(std::nullopt);
        e->actSave->trigger();
        ui.ExpectAllAnswered();
    }
    EXPECT_EQ(Bytes(utf16File), utf16);
}

// --- creation --------------------------------------------------------------------

TEST_F(ContentsEditTest, CreationOpensTheProjectsContentsFileOnlyWhenThereIsOne) {
    const std::string cnt = Scratch("proj.cnt", ":Title From the file\r\n1 Book\r\n2 Inner=i\r\n");
    struct Row {
        const char* name;
        std::string projectFile;
        std::string cntFile;
        bool open;
        bool opened;
    } rows[] = {
        {"the project's contents file", root_ + "project.qpf", "proj.cnt", true, true},
        {"without the project's command", root_ + "project.qpf", "proj.cnt", false, false},
        {"a project without a file name", "", "proj.cnt", true, false},
        {"no contents-file name: the folder is not a file", root_ + "project.qpf", "", true, false},
        {"a contents file that is not there", root_ + "project.qpf", "gone.cnt", true, false},
    };
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir_.path());  // where a name without a project folder would be looked for
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        project.FileName = row.projectFile;
        project.SetCntFile(row.cntFile);
        auto e = Editor(row.open);
        const TCntFile& file = e->ContentsFile();
        if (row.opened) {
            EXPECT_EQ(e->windowTitle(), "Contents File Editor - proj.cnt");
            EXPECT_EQ(file.FileName, cnt);
            EXPECT_EQ(Outline(*e), "1:Book|2:Inner");
            EXPECT_EQ(file.Title, "From the file");
            EXPECT_EQ(file.BaseFile, "");
        } else {
            EXPECT_EQ(e->windowTitle(), kUntitled);
            EXPECT_EQ(file.FileName, "");
            EXPECT_EQ(Outline(*e), "");
            EXPECT_EQ(file.BaseFile, "project.hlp");  // without its folder
            EXPECT_EQ(file.Title, "Project Help");
        }
        EXPECT_FALSE(file.Modified);
        QStringList topics;
        for (int i = 0; i < e->lstTopics->count(); ++i) topics << e->lstTopics->item(i)->text();
        EXPECT_EQ(topics, QStringList({"Beta", "Contents", "Gamma", "Intro"}));
    }
    QDir::setCurrent(cwd);
}

TEST_F(ContentsEditTest, AnUnreadableProjectContentsFileStartsUntitled) {
    Scratch("proj.cnt", std::string("\xFF\xFE\x31\x00", 4));
    project.SetCntFile("proj.cnt");
    ui.ExpectMessage(MsgKind::Error, "holds nothing that can be read");
    auto e = Editor(true);
    EXPECT_EQ(e->windowTitle(), kUntitled);
    EXPECT_EQ(e->ContentsFile().FileName, "");
    EXPECT_EQ(e->ContentsFile().BaseFile, "project.hlp");
}

TEST_F(ContentsEditTest, TheSaveDialogProposesANameInTheProjectsFolder) {
    struct Row {
        const char* name;
        std::string projectFile;
        std::string cntFile;
        QString proposed;
    } rows[] = {
        {"the project's contents file", root_ + "project.qpf", "help.cnt", "help.cnt"},
        {"the project file's name", root_ + "project.qpf", "", "project.cnt"},
        {"a new project", "", "", "untitled.cnt"},
        {"a project file named only by its extension", root_ + ".qpf", "", "untitled.cnt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        project.FileName = row.projectFile;
        project.SetCntFile(row.cntFile);
        auto e = Editor();
        ui.ExpectSaveFile(std::nullopt);
        e->actSaveAs->trigger();
        const FileDialogRequest& request = ui.fileRequests.back();
        EXPECT_EQ(request.fileName, row.proposed);
        EXPECT_EQ(request.folder, FromCp1252(ExtractFilePath(row.projectFile)));
        EXPECT_EQ(request.filter, "Contents files (*.cnt);;All files (*)");
        EXPECT_EQ(request.defaultSuffix, "cnt");
        EXPECT_TRUE(request.confirmOverwrite);
    }
}

TEST_F(ContentsEditTest, AfterNewTheFileHasNoTitleOrBaseFromTheProject) {
    project.SetCntFile("proj.cnt");
    auto e = Editor();
    EXPECT_EQ(e->ContentsFile().Title, "Project Help");
    e->actNew->trigger();  // nothing changed: no question
    e->InsertItem(std::make_unique<TCntNode>(TCntNode{TCntNodeKind::Book, "", "B", "", "", ""}));
    e->ContentsFile().Modified = true;
    ui.ExpectSaveFile(FromCp1252(root_ + "proj.cnt"));
    e->actSave->trigger();
    EXPECT_EQ(ui.fileRequests.back().fileName, "proj.cnt");
    EXPECT_EQ(Bytes(root_ + "proj.cnt"), "1 B\r\n");
    EXPECT_FALSE(e->ContentsFile().Modified);
    EXPECT_EQ(e->windowTitle(), "Contents File Editor - proj.cnt");
}

// --- the window ------------------------------------------------------------------

TEST_F(ContentsEditTest, MenusToolBarAndPopUpMenu) {
    auto e = Editor();
    const auto texts = [](const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* a : actions) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    QStringList menus;
    for (QAction* a : e->mnuMain->actions()) menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Insert"}));
    EXPECT_EQ(texts(e->mnuFile->actions()),
              QStringList({"New", "Open", "Close", "Save", "Save As", "-", "Properties...", "-", "E&xit"}));
    EXPECT_EQ(texts(e->mnuEdit->actions()), QStringList({"Node Properties...", "-", "Move &Up", "Move &Down",
                                                         "Move &Left", "Move &Right", "-", "Delete"}));
    EXPECT_EQ(texts(e->mnuInsert->actions()),
              QStringList({"Selected Topic", "-", "Topic", "Header", "Macro", "Include", "Comment"}));
    EXPECT_EQ(texts(e->mnuTreePop->actions()),
              QStringList({"Properties...", "Move Up", "Move Down", "Move Left", "Move Right", "Delete"}));
    EXPECT_EQ(e->mnuTreePop->defaultAction()->text(), "Properties...");
    QStringList buttons;
    for (QAction* a : e->tbCommands->actions())
        buttons << (a->isSeparator() ? QStringLiteral("-")
                                     : qobject_cast<QToolButton*>(e->tbCommands->widgetForAction(a))->text());
    EXPECT_EQ(buttons, QStringList({"New", "Open", "Save", "Save As", "Properties", "-", "Topic", "Header", "Macro",
                                    "Include", "Comment", "-", "Help"}));
    for (auto [button, tip] : {std::pair{e->spbMoveUp, "Move Up"},
                               {e->spbMoveDown, "Move Down"},
                               {e->spbMoveLeft, "Move Left"},
                               {e->spbMoveRight, "Move Right"},
                               {e->spbMoveDelete, "Delete"},
                               {e->spbMoveProperties, "Node Properties"}})
        EXPECT_EQ(button->toolTip(), tip);
    EXPECT_EQ(MenuMnemonicConflicts(*e), QStringList());
    EXPECT_EQ(ShortcutConflicts(e->findChildren<QAction*>()), QStringList());
    // The pop-up's items run the commands.
    auto f = EditorWith("1 A=a\r\n1 B=b\r\n");
    f->SelectRow(1);
    f->mnuTreePop->actions()[1]->trigger();
    EXPECT_EQ(Outline(*f), "1:B|1:A");
}

TEST_F(ContentsEditTest, ScreenshotOfTheEditor) {
    const std::string cnt = std::string(QM_TEST_DATA_DIR) + "/cnt/editor.cnt";
    ASSERT_TRUE(FileExists(cnt)) << cnt;
    auto e = Editor();
    ASSERT_TRUE(e->OpenFile(cnt));
    e->resize(860, 560);
    // A row three books deep.
    int row = -1;
    for (int i = 0; i < e->lstTree->model()->rowCount() && row < 0; ++i)
        if (Index(*e, i).data(TCntRowsModel::LevelRole).toInt() == 4) row = i;
    ASSERT_GE(row, 0);
    e->SelectRow(row);
    e->lstTopics->setCurrentRow(1);
    e->lstTree->setFocus();
    Screenshot(*e, "contents-editor.png");
}

}  // namespace
}  // namespace qmtest
