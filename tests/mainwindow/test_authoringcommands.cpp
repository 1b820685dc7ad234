// The contents file editor reached from the main window: a real file, named
// by the project, edited by the editor's buttons, drags and dialogs, saved
// and compared with the file written by hand from the format's rules.
#include <filesystem>

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "dialogs/cnttreeview.h"
#include "dialogs/contentsedit.h"
#include "dialogs/macroedit.h"
#include "dialogs/newheader.h"
#include "dialogs/newtopic.h"
#include "mainwindow/authoringcommands.h"
#include "mainwindow_fixture.h"
#include "tag_fixture.h"
#include "util/fileio.h"

namespace qmtest {
namespace {

using namespace qm;

class AuthoringCommandsTest : public MainWindowTest {
protected:
    // A project beside a scratch copy of tests/data/cnt/editor.cnt that names
    // it as its contents file; topics Beta and Alpha as SaveSample makes them.
    std::string SaveProjectWithContents() {
        std::filesystem::copy_file(QM_TEST_DATA_DIR "/cnt/editor.cnt", root_ + "editor.cnt");
        TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("Contents text");
        for (const char* name : {"Beta", "Alpha"}) {
            TTopicNode& node = p.Topics.AddNew();
            node.SetName(name);
            node.SetTitle(std::string(name) + " title");
            node.Text = BodyRtf("body");
        }
        p.SetHlpFile("editor.hlp");
        p.SetCntFile("editor.cnt");
        const std::string path = root_ + "editor.qpf";
        p.SaveToFile(path);
        return path;
    }

    // The row whose entry has this title (an include: ":INCLUDE " + file).
    static int RowOf(TfrmContentsEdit& e, const QString& title) {
        auto* model = e.lstTree->model();
        for (int i = 0; i < model->rowCount(); ++i)
            if (model->index(i, 0).data().toString() == title) return i;
        ADD_FAILURE() << "no row " << title.toStdString();
        return -1;
    }
    static void Drop(TfrmContentsEdit& e, QMimeData* data, int row) {
        std::unique_ptr<QMimeData> owned(data);
        const QPoint point = e.lstTree->visualRect(e.lstTree->model()->index(row, 0)).center();
        QDropEvent drop(QPointF(point), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e.lstTree->viewport(), &enter);
        QApplication::sendEvent(e.lstTree->viewport(), &drop);
    }
};

TEST_F(AuthoringCommandsTest, ContentsEditorOnARealFileEndToEnd) {
    const std::string project = SaveProjectWithContents();
    const std::string cnt = root_ + "editor.cnt";
    auto w = Start({FromCp1252(project)});
    ASSERT_TRUE(started);
    w->Project().Modified = true;  // the editor leaves it as it finds it

    ui.ExpectDialog("frmContentsEdit", [&](QDialog& d) -> int {
        auto& e = static_cast<TfrmContentsEdit&>(d);
        e.resize(800, 600);
        e.show();
        QApplication::processEvents();
        EXPECT_EQ(e.windowTitle(), "Contents File Editor - editor.cnt");
        EXPECT_EQ(e.lstTree->model()->rowCount(), 14);
        // The editor's own controls, not the main window's of the same names.
        EXPECT_EQ(e.findChild<QAction*>("actSave"), e.actSave);
        EXPECT_EQ(e.findChild<QListWidget*>("lstTopics"), static_cast<QListWidget*>(e.lstTopics));

        e.SelectRow(RowOf(e, "Glossary"));
        e.spbMoveUp->click();  // Glossary before Index
        e.SelectRow(RowOf(e, "Last topic"));
        e.spbMoveRight->click();  // into Reference, the nearest book before it
        Drop(e, e.lstTree->model()->mimeData({e.lstTree->model()->index(RowOf(e, "Welcome"), 0)}),
             RowOf(e, "Setup; Install"));  // moving down: after Setup, inside Basics
        const auto alpha = e.lstTopics->findItems("Alpha", Qt::MatchExactly);
        EXPECT_EQ(alpha.size(), 1);
        if (alpha.size() != 1) return d.result();
        Drop(e, e.lstTopics->model()->mimeData({e.lstTopics->model()->index(e.lstTopics->row(alpha.front()), 0)}),
             RowOf(e, "Deep topic"));  // before Deep topic
        e.SelectRow(RowOf(e, "Reference"));
        ui.ExpectDialog("frmNewHeader", [](QDialog& h) {
            static_cast<TfrmNewHeader&>(h).txtTitle->setText("Appendix");
            h.findChild<QPushButton*>("cmdOk")->click();
            return h.result();
        });
        e.actAddHeader->trigger();  // the last child of Reference
        e.SelectRow(RowOf(e, "Welcome"));
        ui.ExpectDialog("frmNewTopic", [](QDialog& t) {
            auto& topic = static_cast<TfrmNewTopic&>(t);
            EXPECT_EQ(topic.cboTopic->currentText(), "IDH_WELCOME");
            EXPECT_EQ(topic.cboWindow->currentText(), "main");
            topic.txtTitle->setText("Welcome aboard");
            topic.cboWindow->setEditText("second");
            topic.optLinkOut->setChecked(true);
            topic.txtHelpFile->setText("intro.hlp");
            t.findChild<QPushButton*>("cmdOk")->click();
            return t.result();
        });
        e.actItemProps->trigger();
        EXPECT_TRUE(e.ContentsFile().Modified);
        e.actSave->trigger();
        EXPECT_FALSE(e.ContentsFile().Modified);
        e.actExit->trigger();  // saved: nothing to ask
        EXPECT_FALSE(e.isVisible());
        return d.result();
    });
    w->AuthoringCommands().actContentsEdit->trigger();
    ui.ExpectAllAnswered();
    const std::string expected = ReadWholeFile(QM_TEST_DATA_DIR "/cnt/editor-expected.cnt");
    EXPECT_EQ(ReadWholeFile(cnt), expected);
    EXPECT_TRUE(w->Project().Modified);

    // Opened and saved again, it stays byte for byte.
    w->Project().Modified = false;
    ui.ExpectDialog("frmContentsEdit", [&](QDialog& d) {
        auto& e = static_cast<TfrmContentsEdit&>(d);
        EXPECT_EQ(e.lstTree->model()->rowCount(), 16);
        e.actSave->trigger();
        e.close();
        return d.result();
    });
    w->AuthoringCommands().actContentsEdit->trigger();
    EXPECT_EQ(ReadWholeFile(cnt), expected);
    EXPECT_FALSE(w->Project().Modified);
}

TEST_F(AuthoringCommandsTest, ContentsEditorIsInTheToolsMenu) {
    auto w = Start();
    ASSERT_TRUE(started);
    QAction* action = Act(*w, "actContentsEdit");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "&Contents File Editor");
    EXPECT_FALSE(action->statusTip().isEmpty());
    auto* tools = Child<QMenu>(*w, "mnuTools");
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->actions().contains(action));
    // A new project has no file: the editor starts untitled, preset from it.
    ui.ExpectDialog("frmContentsEdit", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Contents File Editor - [untitled]");
        d.reject();
        return d.result();
    });
    action->trigger();
}

// The commands that write a built text into the open module.
class InsertCommandsTest : public TagTest {};

// The macro builder's expression replaces the selection, one Undo taking it
// out again; a cancelled builder changes nothing.
TEST_F(InsertCommandsTest, TheMacroBuildersExpressionReplacesTheSelection) {
    auto w = StartWith("x SEL y");
    SelectText(*w, "SEL");
    ui.ExpectDialog("frmMacroEdit", [](QDialog& d) {
        EXPECT_EQ(static_cast<TfrmMacroEdit&>(d).lstExpression->count(), 0);
        d.reject();
        return d.result();
    });
    Act(*w, "actMacroBuilder")->trigger();
    EXPECT_EQ(EditorText(*w), "x SEL y");
    EXPECT_FALSE(w->Project().Modified);

    QWidget* parent = nullptr;
    ui.ExpectDialog("frmMacroEdit", [&](QDialog& d) {
        auto& builder = static_cast<TfrmMacroEdit&>(d);
        parent = builder.parentWidget();
        builder.lstMacros->setCurrentRow(0);
        builder.cmdAdd->click();
        return ClickOk(d);
    });
    Act(*w, "actMacroBuilder")->trigger();
    ui.ExpectAllAnswered();
    EXPECT_EQ(parent, w.get());
    EXPECT_EQ(EditorText(*w), "x About() y");
    EXPECT_TRUE(w->Project().Modified);
    w->Editor()->Undo();
    EXPECT_EQ(EditorText(*w), "x SEL y");
}

// A link line to every topic of the topic list, in the list's order, with
// the titles' Windows-1252 characters shown as such and angle brackets
// escaped; one Undo takes them all out again.
TEST_F(InsertCommandsTest, TheTableOfContentsFollowsTheTopicList) {
    auto w = StartWith("x SEL y");
    TTopicNode* beta = w->Project().Topics.FindByName("Beta");
    beta->SetTitle("Caf\xE9 <new> \x80");
    w->Project().Topics.FindByName("Contents")->SetTitle("Welcome");
    ASSERT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents", "intro"}));
    const QString lines = QStringLiteral(
        "<LINK TOPIC=\"Alpha\">Alpha title</LINK>\n"
        "<LINK TOPIC=\"Beta\">Caf\u00E9 &lt;new&rt; \u20AC</LINK>\n"
        "<LINK TOPIC=\"Contents\">Welcome</LINK>\n"
        "<LINK TOPIC=\"intro\">intro title</LINK>\n");
    SelectText(*w, "SEL");
    Act(*w, "actCreateTableOfContents")->trigger();
    EXPECT_EQ(EditorText(*w), "x " + lines + " y");
    w->StoreCurrentModule();
    EXPECT_NE(w->CurrentNode()->Text.find("Caf\\'e9 &lt;new&rt; \\'80"), std::string::npos) << w->CurrentNode()->Text;
    w->Editor()->Undo();
    EXPECT_EQ(EditorText(*w), "x SEL y");

    // In the order the list shows: here the names from last to first.
    auto* topics = Child<QListWidget>(*w, "lstTopics");
    std::vector<QListWidgetItem*> items;
    while (topics->count() > 0) items.push_back(topics->takeItem(0));
    for (QListWidgetItem* item : items) topics->insertItem(0, item);
    SelectText(*w, "SEL");
    Act(*w, "actCreateTableOfContents")->trigger();
    QStringList reversed = lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(EditorText(*w), "x " + reversed.join(QLatin1Char('\n')) + "\n y");
}

}  // namespace
}  // namespace qmtest
