// The Edit menu's commands on the real window: the clipboard, undo and
// delete follow the focused control, and Go to Line.
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>

#include "dialogs/findform.h"
#include "dialogs/replaceform.h"
#include "mainwindow/editcommands.h"
#include "tag_fixture.h"
#include "widgets/actiontable.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;

class EditCommandsTest : public TagTest {
protected:
    // The window shown and active with Alpha open on `body`, the editor focused.
    std::unique_ptr<qm::TfrmMain> StartShown(const std::string& body) {
        auto w = StartWith(body);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        Focus(w->Editor());
        return w;
    }
    static void Focus(QWidget* widget) {
        widget->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(widget->hasFocus()) << widget->objectName().toStdString();
    }
    // Runs the command as a menu would: its state brought up to date first.
    static void Run(qm::TfrmMain& w, const char* action) {
        w.Actions().UpdateNow();
        QAction* a = Act(w, action);
        ASSERT_TRUE(a->isEnabled()) << action;
        a->trigger();
    }
    static qm::TRichText2* Editor(qm::TfrmMain& w) { return w.Editor(); }
    static QPlainTextEdit* Memo(qm::TfrmMain& w) { return w.RtfMemo(); }
    static void SetClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

// Bold red text copied in the editor and pasted elsewhere stays bold red,
// and the text around it keeps its own format.
TEST_F(EditCommandsTest, CopiedTextKeepsItsFormatWhenPasted) {
    auto w = StartShown("x abc y z");
    SelectText(*w, "abc");
    Editor(*w)->SelAttributes.SetStyle(qm::fsBold);
    Editor(*w)->SelAttributes.SetColor(0x0000FF);  // red, 0x00BBGGRR
    SelectText(*w, "abc");
    Run(*w, "actCopy");
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData()->hasText());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "abc");

    // Pasted over the plain "z".
    SelectText(*w, "z");
    Run(*w, "actPaste");
    EXPECT_EQ(EditorText(*w), "x abc y abc");
    const int at = static_cast<int>(EditorText(*w).lastIndexOf("abc"));
    Select(*w, at, 3);
    EXPECT_EQ(Editor(*w)->SelAttributes.GetStyle() & qm::fsBold, unsigned(qm::fsBold));
    EXPECT_EQ(Editor(*w)->SelAttributes.GetColor(), 0x0000FFu);
    SelectText(*w, "y");
    EXPECT_EQ(Editor(*w)->SelAttributes.GetStyle() & qm::fsBold, 0u);
}

TEST_F(EditCommandsTest, CutMovesTheSelectionToTheClipboardAndModifies) {
    auto w = StartShown("x abc y");
    ASSERT_FALSE(w->Project().Modified);
    SelectText(*w, "abc");
    Run(*w, "actCut");
    EXPECT_EQ(EditorText(*w), "x  y");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "abc");
    EXPECT_TRUE(w->Project().Modified);
    // One undo brings it back.
    Run(*w, "actUndo");
    EXPECT_EQ(EditorText(*w), "x abc y");
}

// Paste goes into the focused memo or find box, never into the editor then.
TEST_F(EditCommandsTest, PasteGoesToTheFocusedControl) {
    struct Row {
        const char* name;
        std::function<QWidget*(qm::TfrmMain&)> target;  // focused before the paste
        std::function<QString(qm::TfrmMain&)> text;     // what should hold the pasted text
    };
    const Row rows[] = {
        {"editor", [](qm::TfrmMain& w) -> QWidget* { return w.Editor(); },
         [](qm::TfrmMain& w) { return EditorText(w); }},
        {"rich text output", [](qm::TfrmMain& w) -> QWidget* { return w.RtfMemo(); },
         [](qm::TfrmMain& w) { return w.RtfMemo()->toPlainText(); }},
        {"find box", [](qm::TfrmMain& w) -> QWidget* { return w.FindForm()->cboFind; },
         [](qm::TfrmMain& w) { return w.FindForm()->cboFind->currentText(); }},
        {"replace form's find box", [](qm::TfrmMain& w) -> QWidget* { return w.ReplaceForm()->cboFind; },
         [](qm::TfrmMain& w) { return w.ReplaceForm()->cboFind->currentText(); }},
        {"replace box", [](qm::TfrmMain& w) -> QWidget* { return w.ReplaceForm()->cboReplace; },
         [](qm::TfrmMain& w) { return w.ReplaceForm()->cboReplace->currentText(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = StartShown("x body y");
        w->ShowRtfOutput(true);
        Editor(*w)->SetSelStart(0);
        QWidget* target = row.target(*w);
        if (QWidget* form = target->window(); form != w.get()) {
            form->show();
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        }
        Focus(target);
        SetClipboardText("clip");
        const QString before = EditorText(*w);
        Run(*w, "actPaste");
        EXPECT_TRUE(row.text(*w).contains("clip")) << row.text(*w).toStdString();
        if (target != w->Editor()) {
            EXPECT_EQ(EditorText(*w), before);
        }
        if (QWidget* form = target->window(); form != w.get()) form->hide();
    }
}

TEST_F(EditCommandsTest, PasteIsEnabledWhileTheClipboardHoldsText) {
    auto w = StartShown("x body y");
    QGuiApplication::clipboard()->clear();
    QApplication::processEvents();
    w->Actions().UpdateNow();
    EXPECT_FALSE(Act(*w, "actPaste")->isEnabled());
    auto* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(image);
    w->Actions().UpdateNow();
    EXPECT_FALSE(Act(*w, "actPaste")->isEnabled());
    SetClipboardText("some text");
    // The clipboard's change asks for the update itself.
    QApplication::processEvents();
    EXPECT_TRUE(Act(*w, "actPaste")->isEnabled());
}

// Undo, redo, cut, copy and delete follow the focused control; elsewhere
// they keep the state they had.
TEST_F(EditCommandsTest, EnablingFollowsTheFocus) {
    struct Row {
        const char* name;
        std::function<void(qm::TfrmMain&)> prepare;  // leaves the focus where the row says
        bool undo, redo, cut, del;
    };
    const Row rows[] = {
        {"editor, no selection, nothing to undo",
         [](qm::TfrmMain& w) {
             Focus(w.Editor());
             w.Editor()->SetSelStart(0);
         },
         false, false, false, false},
        {"editor, a selection after an edit",
         [](qm::TfrmMain& w) {
             Focus(w.Editor());
             w.Editor()->SetSelStart(0);
             w.Editor()->SetSelText("new ");
             SelectText(w, "body");
         },
         true, false, true, true},
        {"editor after an undo",
         [](qm::TfrmMain& w) {
             Focus(w.Editor());
             w.Editor()->SetSelText("new ");
             w.Editor()->Undo();
             w.Editor()->SetSelStart(0);
         },
         false, true, false, false},
        {"memo with a selection and an edit",
         [](qm::TfrmMain& w) {
             w.ShowRtfOutput(true);
             Focus(w.RtfMemo());
             QTest::keyClicks(w.RtfMemo(), "zz");
             w.RtfMemo()->selectAll();
             // The editor's own history does not count here.
             w.Editor()->SetSelText("new ");
             w.Editor()->Undo();
         },
         true, false, true, true},
        {"topic list after the editor had no selection",
         [](qm::TfrmMain& w) {
             Focus(w.Editor());
             w.Editor()->SetSelStart(0);
             w.Actions().UpdateNow();
             Focus(Child<QListWidget>(w, "lstTopics"));
         },
         false, false, false, true},
        {"popup list with its popup, after a selection in the editor",
         [](qm::TfrmMain& w) {
             Focus(w.Editor());
             SelectText(w, "body");
             w.Actions().UpdateNow();
             w.ShowPage(qm::ExplorerPage::Popups);
             Focus(Child<QListWidget>(w, "lstPopups"));
         },
         false, false, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = StartShown("x body y");
        row.prepare(*w);
        w->Actions().UpdateNow();
        EXPECT_EQ(Act(*w, "actUndo")->isEnabled(), row.undo);
        EXPECT_EQ(Act(*w, "actRedo")->isEnabled(), row.redo);
        EXPECT_EQ(Act(*w, "actCut")->isEnabled(), row.cut);
        EXPECT_EQ(Act(*w, "actCopy")->isEnabled(), row.cut);
        EXPECT_EQ(Act(*w, "actDelete")->isEnabled(), row.del);
    }
}

TEST_F(EditCommandsTest, UndoInTheMemoKeepsItsFocusAndLeavesTheEditor) {
    auto w = StartShown("x body y");
    Editor(*w)->SetSelStart(0);
    Editor(*w)->SetSelText("typed ");
    w->ShowRtfOutput(true);
    const QString memoBefore = Memo(*w)->toPlainText();
    Focus(Memo(*w));
    QTest::keyClicks(Memo(*w), "zz");
    ASSERT_NE(Memo(*w)->toPlainText(), memoBefore);
    Run(*w, "actUndo");
    EXPECT_EQ(Memo(*w)->toPlainText(), memoBefore);
    EXPECT_TRUE(Memo(*w)->hasFocus());
    EXPECT_EQ(EditorText(*w), "typed x body y");

    // From anywhere else the editor's undo runs and the editor gets the focus.
    Focus(Child<QListWidget>(*w, "lstTopics"));
    Run(*w, "actUndo");
    EXPECT_EQ(EditorText(*w), "x body y");
    EXPECT_TRUE(Editor(*w)->hasFocus());
    // Redo, enabled while the editor had the focus, stays so in the list.
    w->Actions().UpdateNow();
    Focus(Child<QListWidget>(*w, "lstTopics"));
    Run(*w, "actRedo");
    EXPECT_EQ(EditorText(*w), "typed x body y");
    EXPECT_TRUE(Editor(*w)->hasFocus());
}

// The Delete key in the topic list removes the selected topic, once, after
// its question; the editor's text stays.
TEST_F(EditCommandsTest, DeleteInTheTopicListRemovesTheSelectedTopicOnce) {
    auto w = StartShown("x body y");
    auto* topics = Child<QListWidget>(*w, "lstTopics");
    topics->setCurrentItem(topics->findItems("Beta", Qt::MatchExactly).front());
    Focus(topics);
    w->Actions().UpdateNow();
    ui.ExpectMessage(MsgKind::Confirmation, "Remove the selected topic", MsgResult::Yes);
    QTest::keyClick(topics, Qt::Key_Delete);
    ui.ExpectAllAnswered("Delete key");
    EXPECT_EQ(w->Project().Topics.FindByName("Beta"), nullptr);
    EXPECT_EQ(EditorText(*w), "x body y");
    EXPECT_EQ(ui.MessageTexts().size(), 1);

    // The menu's Delete the same way; No keeps the topic.
    topics->setCurrentItem(topics->findItems("intro", Qt::MatchExactly).front());
    Focus(topics);
    ui.ExpectMessage(MsgKind::Confirmation, "Remove the selected topic", MsgResult::No);
    Run(*w, "actDelete");
    ui.ExpectAllAnswered("menu");
    EXPECT_NE(w->Project().Topics.FindByName("intro"), nullptr);
    EXPECT_EQ(EditorText(*w), "x body y");
}

// Delete elsewhere clears the focused text's selection, in one undo step.
TEST_F(EditCommandsTest, DeleteClearsTheSelectionOfTheFocusedText) {
    auto w = StartShown("x body y");
    SelectText(*w, "body");
    Run(*w, "actDelete");
    EXPECT_EQ(EditorText(*w), "x  y");
    EXPECT_TRUE(w->Project().Modified);
    Run(*w, "actUndo");
    EXPECT_EQ(EditorText(*w), "x body y");

    w->ShowRtfOutput(true);
    Focus(Memo(*w));
    QTextCursor c = Memo(*w)->textCursor();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 5);
    Memo(*w)->setTextCursor(c);
    const QString memoBefore = Memo(*w)->toPlainText();
    Run(*w, "actDelete");
    EXPECT_EQ(Memo(*w)->toPlainText(), memoBefore.mid(5));
    EXPECT_EQ(EditorText(*w), "x body y");
}

TEST_F(EditCommandsTest, SelectAllInTheFocusedText) {
    auto w = StartShown("x body y");
    Run(*w, "actSelectAll");
    EXPECT_EQ(Editor(*w)->GetSelLength(), EditorText(*w).size());
    Editor(*w)->SetSelStart(0);
    w->ShowRtfOutput(true);
    Focus(Memo(*w));
    Run(*w, "actSelectAll");
    EXPECT_EQ(Memo(*w)->textCursor().selectedText().size(), Memo(*w)->toPlainText().size());
    EXPECT_EQ(Editor(*w)->GetSelLength(), 0);
}

// Only a whole number from 1 to the line count moves the caret, to the start
// of that line; anything else is refused, and the caret stays.
TEST_F(EditCommandsTest, GoToLine) {
    struct Row {
        const char* name;
        std::optional<QString> answer;
        int line, column;     // the caret afterwards (0-based)
        const char* refusal;  // the information box, or nullptr
    };
    // The caret starts at column 1 of line 1.
    const Row rows[] = {
        {"first line", QStringLiteral("1"), 0, 0, nullptr},
        {"the caret's own line", QStringLiteral("2"), 1, 0, nullptr},
        {"the last line", QStringLiteral("3"), 2, 0, nullptr},
        {"blanks around a number", QStringLiteral(" 3 "), 2, 0, nullptr},
        {"zero", QStringLiteral("0"), 1, 1, "0 is not a valid integer value."},
        {"past the last line", QStringLiteral("4"), 1, 1, "4 is not a valid integer value."},
        {"letters", QStringLiteral("2a"), 1, 1, "2a is not a valid integer value."},
        {"negative", QStringLiteral("-1"), 1, 1, "-1 is not a valid integer value."},
        {"a range", QStringLiteral("1-2"), 1, 1, "1-2 is not a valid integer value."},
        {"a sign", QStringLiteral("+2"), 1, 1, "+2 is not a valid integer value."},
        {"blanks only", QStringLiteral("  "), 1, 1, "   is not a valid integer value."},
        {"too large for a number", QStringLiteral("99999999999"), 1, 1, "99999999999 is not a valid integer value."},
        {"empty", QStringLiteral(""), 1, 1, nullptr},
        {"cancelled", std::nullopt, 1, 1, nullptr},
    };
    auto w = StartShown("");
    SetBody(*w, QStringLiteral("one\ntwo\nthree"));
    ASSERT_EQ(w->Editor()->Lines.Count(), 3);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // The caret in the middle of line 2, the focus in the topic list.
        Select(*w, static_cast<int>(EditorText(*w).indexOf("two")) + 1);
        Focus(Child<QListWidget>(*w, "lstTopics"));
        const std::size_t records = ui.records.size();
        ui.ExpectInput(row.answer, QStringLiteral("Line index (1 - 3) :"));
        if (row.refusal) ui.ExpectMessage(MsgKind::Information, QString::fromLatin1(row.refusal));
        Run(*w, "actGotoLine");
        ui.ExpectAllAnswered(row.name);
        ASSERT_GT(ui.records.size(), records);
        EXPECT_EQ(ui.records[records].text, "Line: Line index (1 - 3) :");
        EXPECT_EQ(ui.inputValues.back(), "2");
        if (row.refusal) {
            EXPECT_EQ(ui.MessageTexts().back(), QString::fromLatin1(row.refusal));
        }
        EXPECT_EQ(ui.records.size(), records + (row.refusal ? 2 : 1));
        EXPECT_EQ(w->Editor()->GetCaretPos().Y, row.line);
        EXPECT_EQ(w->Editor()->GetCaretPos().X, row.column);
        EXPECT_TRUE(w->Editor()->hasFocus());
    }
}

}  // namespace
}  // namespace qmtest
