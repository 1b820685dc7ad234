// The editor's window procedure in the real main window: closing brackets and
// quotes, the member list shown, narrowed and accepted from the editor's
// keys, and hidden by clicks, menus and focus loss; the hot cursor.
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTextBlock>

#include "mainwindow/editorwndproc.h"
#include "preprocess/edittags.h"
#include "tag_fixture.h"

namespace qmtest {
namespace {

class EditorWndProcTest : public TagTest {
protected:
    std::unique_ptr<qm::TfrmMain> StartTyping() {
        auto w = StartWith("");
        qm::TOptions& o = w->Options();
        o.EnableTagInsight = o.PopupTags = o.PopupTopics = o.PopupPopups = o.PopupWindows = o.PopupMacros = true;
        o.AddClosingBrackets = o.AddClosingQuotes = true;
        SetBody(*w, QString());
        return w;
    }
    static void Type(qm::TfrmMain& w, const QString& text) { QTest::keyClicks(w.Editor(), text); }
    static void Key(qm::TfrmMain& w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(w.Editor(), key, mods);
    }
    static bool ListShown(qm::TfrmMain& w) { return List(w)->isVisible(); }
    static QString Selected(qm::TfrmMain& w) { return List(w)->SelectedItem(); }
};

TEST_F(EditorWndProcTest, TheListIsAWindowThatNeverTakesTheFocus) {
    auto w = StartTyping();
    qm::TfrmVList* list = List(*w);
    const Qt::WindowFlags flags = list->windowFlags();
    EXPECT_TRUE(flags & Qt::Tool);
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowDoesNotAcceptFocus);
    EXPECT_NE(list->windowType(), Qt::Popup);
    EXPECT_TRUE(list->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(list->size(), QSize(278, 96));
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->ListKind(), 0);
    EXPECT_EQ(list->parentWidget(), w->Editor());
}

TEST_F(EditorWndProcTest, LessThanLiAndEnterGivesLinkWithoutALineBreak) {
    auto w = StartTyping();
    Type(*w, "<");
    EXPECT_EQ(EditorText(*w), "<>");
    EXPECT_EQ(Caret(*w), 1);
    ASSERT_TRUE(ListShown(*w));
    EXPECT_EQ(List(*w)->ListKind(), qm::lkTags);
    EXPECT_EQ(ListItems(*w).size(), 17);
    EXPECT_EQ(Selected(*w), "ANCHOR");  // the first item
    Type(*w, "LI");
    EXPECT_EQ(Selected(*w), "LINK");
    Key(*w, Qt::Key_Return);
    EXPECT_EQ(EditorText(*w), "<LINK>");
    EXPECT_EQ(w->Editor()->Lines.Count(), 1);
    EXPECT_FALSE(ListShown(*w));
    EXPECT_EQ(Caret(*w), 5);
    EXPECT_TRUE(w->Project().Modified);
}

TEST_F(EditorWndProcTest, TypingNarrowsAndANonMatchSelectsNothing) {
    auto w = StartTyping();
    Type(*w, "<u");
    EXPECT_EQ(Selected(*w), "ULINK");
    Type(*w, "m");
    EXPECT_EQ(Selected(*w), "UMACRO");
    Type(*w, "x");
    EXPECT_EQ(Selected(*w), "");
    // Enter with nothing selected still types no line break.
    Key(*w, Qt::Key_Return);
    EXPECT_EQ(EditorText(*w), "<umx>");
    EXPECT_FALSE(ListShown(*w));
    // Backspace narrows again.
    Type(*w, "<");
    Type(*w, "ux");
    Key(*w, Qt::Key_Backspace);
    EXPECT_EQ(Selected(*w), "ULINK");
}

TEST_F(EditorWndProcTest, KeysDriveTheListWhileTheCaretStaysInTheEditor) {
    auto w = StartTyping();
    Type(*w, "<");
    ASSERT_TRUE(ListShown(*w));
    Key(*w, Qt::Key_Down);
    Key(*w, Qt::Key_Down);
    EXPECT_EQ(Selected(*w), "IMAGE");
    EXPECT_EQ(Caret(*w), 1);
    Key(*w, Qt::Key_Up);
    EXPECT_EQ(Selected(*w), "BTN");
    // Left and Right move the caret and leave the list open.
    Key(*w, Qt::Key_Right);
    EXPECT_EQ(Caret(*w), 2);
    EXPECT_TRUE(ListShown(*w));
    Key(*w, Qt::Key_Left);
    EXPECT_EQ(Caret(*w), 1);
    EXPECT_TRUE(ListShown(*w));
    Key(*w, Qt::Key_Escape);
    EXPECT_FALSE(ListShown(*w));
    EXPECT_EQ(EditorText(*w), "<>");
    // Delete hides the list and deletes.
    Type(*w, "<");
    ASSERT_TRUE(ListShown(*w));
    Key(*w, Qt::Key_Delete);
    EXPECT_FALSE(ListShown(*w));
    EXPECT_EQ(EditorText(*w), "<<>");
    // ">" closes it too.
    Key(*w, Qt::Key_Backspace);
    Type(*w, "<");
    ASSERT_TRUE(ListShown(*w));
    Type(*w, ">");
    EXPECT_FALSE(ListShown(*w));
}

TEST_F(EditorWndProcTest, TopicsAfterTopicQuoteAndSpaceInsideQuotesTypesNoBlank) {
    auto w = StartTyping();
    Type(*w, "<LINK TOPIC=\"");
    EXPECT_EQ(EditorText(*w), "<LINK TOPIC=\"\">");
    ASSERT_TRUE(ListShown(*w));
    EXPECT_EQ(List(*w)->ListKind(), qm::lkTopics);
    EXPECT_EQ(ListItems(*w), QStringList({"Alpha", "Beta", "Contents", "intro"}));
    Type(*w, "be");
    EXPECT_EQ(Selected(*w), "Beta");
    Key(*w, Qt::Key_Space);
    EXPECT_EQ(EditorText(*w), "<LINK TOPIC=\"Beta\">");
    EXPECT_FALSE(ListShown(*w));
    EXPECT_EQ(Caret(*w), 17);
}

TEST_F(EditorWndProcTest, MaAndSpaceGivesMacroAndTheMacroList) {
    auto w = StartTyping();
    Type(*w, "<MA");
    EXPECT_EQ(Selected(*w), "MACRO");
    Key(*w, Qt::Key_Space);
    EXPECT_EQ(EditorText(*w), "<MACRO >");
    ASSERT_TRUE(ListShown(*w));
    EXPECT_EQ(List(*w)->ListKind(), qm::lkMacros);
    EXPECT_EQ(ListItems(*w), QStringList({"About", "Annotate", "JumpId"}));
    Type(*w, "j");
    Key(*w, Qt::Key_Return);
    EXPECT_EQ(EditorText(*w), "<MACRO JumpId>");
}

TEST_F(EditorWndProcTest, WindowsAfterWindowEquals) {
    auto w = StartTyping();
    SetBody(*w, "<LINK TOPIC=\"a\" WINDOW");
    Select(*w, 22);
    Type(*w, "=");
    ASSERT_TRUE(ListShown(*w));
    EXPECT_EQ(List(*w)->ListKind(), qm::lkWindows);
    EXPECT_EQ(ListItems(*w), QStringList({"main", "second"}));
    Type(*w, "s");
    Key(*w, Qt::Key_Space);  // a blank after a window is typed
    EXPECT_EQ(EditorText(*w), "<LINK TOPIC=\"a\" WINDOW=second ");
}

TEST_F(EditorWndProcTest, ClosingPairsWithoutInsightAndAroundASelection) {
    auto w = StartTyping();
    w->Options().EnableTagInsight = false;
    Type(*w, "<");
    EXPECT_EQ(EditorText(*w), "<>");
    EXPECT_EQ(Caret(*w), 1);
    EXPECT_FALSE(ListShown(*w));
    SetBody(*w, "a word here");
    SelectText(*w, "word");
    Type(*w, "<");
    EXPECT_EQ(EditorText(*w), "a <word> here");
    EXPECT_EQ(Caret(*w), 7);  // before the ">"
    SelectText(*w, "here");
    Type(*w, "\"");
    EXPECT_EQ(EditorText(*w), "a <word> \"here\"");
    // Without the options nothing is added.
    w->Options().AddClosingBrackets = w->Options().AddClosingQuotes = false;
    SetBody(*w, "");
    Type(*w, "<\"");
    EXPECT_EQ(EditorText(*w), "<\"");
}

TEST_F(EditorWndProcTest, ListMembersInATopicValueListsTheTopicsSorted) {
    auto w = StartTyping();
    SetBody(*w, "<LINK TOPIC=\"\">x</LINK>");
    Select(*w, 13);
    EXPECT_EQ(Act(*w, "actListMembers")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Space")));
    // The shortcut itself, from the editor: the control does not keep it.
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->Editor()->setFocus();
    Key(*w, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(ListShown(*w));
    EXPECT_EQ(ListItems(*w), QStringList({"Alpha", "Beta", "Contents", "intro"}));
    Key(*w, Qt::Key_Down);
    Key(*w, Qt::Key_Return);
    EXPECT_EQ(EditorText(*w), "<LINK TOPIC=\"Beta\">x</LINK>");
}

TEST_F(EditorWndProcTest, ListMembersFitsThePlace) {
    struct Row {
        const char* name;
        QString body;
        int caret;  // -1: the end
        int kind;
        QString accept;  // the item chosen (typed to narrow)
        QString after;
    } rows[] = {
        {"in a typed topic value", "<LINK TOPIC=\"in", -1, qm::lkTopics, "", "<LINK TOPIC=\"intro"},
        {"popup value", "<LINK POPUP=\"P\">x</LINK>", 14, qm::lkPopups, "", "<LINK POPUP=\"PopOne\">x</LINK>"},
        {"after WINDOW=", "<LINK TOPIC=\"a\" WINDOW=ma", -1, qm::lkWindows, "", "<LINK TOPIC=\"a\" WINDOW=main"},
        {"after <MACRO", "<MACRO Ab", -1, qm::lkMacros, "", "<MACRO About"},
        {"after <", "x <LI", -1, qm::lkAll, "", "x <LINK"},
        // Prose after a link, on its line and on the next: nothing before the
        // caret changes.
        {"prose after a link", "<LINK TOPIC=\"a\">x</LINK> see Al", -1, qm::lkAll, "Alpha",
         "<LINK TOPIC=\"a\">x</LINK> see AlAlpha"},
        {"the line after a link", "<LINK TOPIC=\"a\">x</LINK>\nAl", -1, qm::lkAll, "Alpha",
         "<LINK TOPIC=\"a\">x</LINK>\nAlAlpha"},
        {"prose after a windowed link", "<LINK TOPIC=\"a\" WINDOW=main>x</LINK> Al", -1, qm::lkAll, "Alpha",
         "<LINK TOPIC=\"a\" WINDOW=main>x</LINK> AlAlpha"},
        {"a macro's hotspot", "<MACRO About()>Al", -1, qm::lkAll, "Alpha", "<MACRO About()>AlAlpha"},
    };
    auto w = StartTyping();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetBody(*w, row.body);
        Select(*w, row.caret < 0 ? static_cast<int>(row.body.size()) : row.caret);
        Act(*w, "actListMembers")->trigger();
        ASSERT_TRUE(ListShown(*w));
        EXPECT_EQ(List(*w)->ListKind(), row.kind);
        if (!row.accept.isEmpty()) {
            const int at = ListItems(*w).indexOf(row.accept);
            ASSERT_GE(at, 0);
            List(*w)->lstVList->setCurrentRow(at);
        }
        Key(*w, Qt::Key_Return);
        EXPECT_EQ(EditorText(*w), row.after);
        EXPECT_FALSE(ListShown(*w));
    }
}

TEST_F(EditorWndProcTest, ListTopicsAndListPopups) {
    auto w = StartTyping();
    Act(*w, "actPopTopics")->trigger();
    ASSERT_TRUE(ListShown(*w));
    EXPECT_EQ(List(*w)->ListKind(), qm::lkTopics);
    Act(*w, "actPopPopups")->trigger();
    EXPECT_EQ(List(*w)->ListKind(), qm::lkPopups);
    EXPECT_EQ(ListItems(*w), QStringList({"PopOne"}));
    Key(*w, Qt::Key_Return);
    EXPECT_EQ(EditorText(*w), "PopOne");
}

TEST_F(EditorWndProcTest, AllMembersShowTheirKindsGlyphs) {
    auto w = StartTyping();
    Act(*w, "actListMembers")->trigger();
    qm::TfrmVList* list = List(*w);
    ASSERT_EQ(list->ListKind(), qm::lkAll);
    auto imageOf = [&](const QString& name) {
        const auto found = list->lstVList->findItems(name, Qt::MatchExactly);
        return found.size() == 1 ? found.front()->data(Qt::UserRole).toInt() : -1;
    };
    EXPECT_EQ(imageOf("LINK"), 0);
    EXPECT_EQ(imageOf("second"), 1);
    EXPECT_EQ(imageOf("Beta"), 2);
    EXPECT_EQ(imageOf("PopOne"), 3);
    EXPECT_EQ(imageOf("JumpId"), 4);
    for (int i = 0; i < list->lstVList->count(); ++i) EXPECT_FALSE(list->lstVList->item(i)->icon().isNull());
}

TEST_F(EditorWndProcTest, TheListHidesOnClickMenuAndFocusLoss) {
    auto w = StartTyping();
    auto showList = [&] {
        Act(*w, "actListMembers")->trigger();
        ASSERT_TRUE(ListShown(*w));
    };
    showList();
    QTest::mouseClick(w->Editor()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(ListShown(*w));
    showList();
    QTest::mousePress(w->Editor()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(ListShown(*w));
    // Every menu of the window, the tag menu and the editor's pop-up menu too.
    for (const char* menu : {"mnuFile", "mnuTag", "ProjectPopMenu", "EditorPopMenu", "MruPopup"}) {
        SCOPED_TRACE(menu);
        showList();
        emit Child<QMenu>(*w, menu)->aboutToShow();
        EXPECT_FALSE(ListShown(*w));
    }
    showList();
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(w->Editor(), &out);
    EXPECT_FALSE(ListShown(*w));
}

TEST_F(EditorWndProcTest, TheListStaysOnTheScreen) {
    auto w = StartTyping();
    w->show();
    Act(*w, "actListMembers")->trigger();
    qm::TfrmVList* list = List(*w);
    ASSERT_TRUE(list->isVisible());
    const QRect screen = w->Editor()->screen()->geometry();
    EXPECT_TRUE(screen.contains(list->geometry())) << list->geometry().x() << "," << list->geometry().y();
    // Below the caret.
    const QPoint caret = w->Editor()->viewport()->mapToGlobal(w->Editor()->cursorRect().topLeft());
    EXPECT_EQ(list->pos(), QPoint(caret.x(), caret.y() + 20));
}

// The tag list over the editor and the topic-link form that Edit Tag opens
// on a link, for a look as a user would see them. The list is a window of
// its own, so the screen is grabbed. tools/screenshot-tags.sh runs this under
// Xvfb and keeps the pictures (QM_SCREENSHOT_DIR); otherwise they go to a
// scratch folder.
TEST_F(EditorWndProcTest, ScreenshotOfTheTagListAndEditTag) {
    QString folder = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = QString::fromStdString(root_);
    auto w = StartTyping();
    w->resize(1100, 720);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    SetBody(*w, "Choose a topic here: <LINK TOPIC=\"Beta:start\" WINDOW=second>see Beta</LINK>.\nThen ");
    Select(*w, static_cast<int>(EditorText(*w).size()));
    w->Editor()->setFocus();
    Type(*w, "<LI");
    ASSERT_TRUE(ListShown(*w));
    EXPECT_EQ(Selected(*w), "LINK");
    QTest::qWait(100);
    QImage screen = w->screen()->grabWindow(0).toImage();
    if (screen.isNull()) screen = w->grab().toImage();
    EXPECT_TRUE(screen.save(folder + "/tag-list.png", "PNG"));
    Key(*w, Qt::Key_Escape);

    Select(*w, static_cast<int>(EditorText(*w).indexOf("see Beta")));
    ui.ExpectDialog("frmNewTopicLink", [&](QDialog& d) {
        d.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        EXPECT_TRUE(d.grab().toImage().save(folder + "/edit-topic-link.png", "PNG"));
        return QDialog::Rejected;
    });
    Act(*w, "actEditTag")->trigger();
}

class HotCursorTest : public TagTest {
protected:
    // The viewport's cursor after a mouse move to the middle of the
    // character at `index`.
    static Qt::CursorShape MoveTo(qm::TfrmMain& w, int index, Qt::MouseButtons buttons = Qt::NoButton) {
        QTextCursor c(w.Editor()->document());
        c.setPosition(index);
        const QRect left = w.Editor()->cursorRect(c);
        c.setPosition(index + 1);
        const QRect right = w.Editor()->cursorRect(c);
        const QPoint at((left.left() + right.left()) / 2, left.center().y());
        QMouseEvent move(QEvent::MouseMove, at, w.Editor()->viewport()->mapToGlobal(at), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w.Editor()->viewport(), &move);
        return w.Editor()->viewport()->cursor().shape();
    }
};

// Counts the cursor changes of a widget.
class CursorChanges : public QObject {
public:
    explicit CursorChanges(QWidget* w) { w->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::CursorChange) ++count;
        return false;
    }
};

TEST_F(HotCursorTest, TheCursorFollowsTheTagUnderTheMouse) {
    auto w = StartWith("");
    qm::TOptions& o = w->Options();
    o.HotCursor = o.DblClickFollowsLink = true;
    o.ShowGutter = false;
    SetBody(*w, "plain <LINK TOPIC=\"a\">link</LINK> and <IMAGE \"p.bmp\"> end");
    const QString text = EditorText(*w);
    const int link = static_cast<int>(text.indexOf("link"));
    const int image = static_cast<int>(text.indexOf("p.bmp"));
    EXPECT_EQ(MoveTo(*w, 2), Qt::IBeamCursor);
    EXPECT_EQ(MoveTo(*w, link), Qt::PointingHandCursor);
    EXPECT_EQ(w->TagCommands().WndProc().HotCursor(), qm::THotCursor::Hand);
    EXPECT_EQ(MoveTo(*w, image), Qt::BitmapCursor);
    EXPECT_EQ(w->TagCommands().WndProc().HotCursor(), qm::THotCursor::Tag);
    // Held left button: nothing changes.
    EXPECT_EQ(MoveTo(*w, 2, Qt::LeftButton), Qt::BitmapCursor);
    o.DblClickFollowsLink = false;
    EXPECT_EQ(MoveTo(*w, link), Qt::BitmapCursor);
    o.HotCursor = false;
    EXPECT_EQ(MoveTo(*w, 2), Qt::BitmapCursor);
}

TEST_F(HotCursorTest, SetOnlyOnAChangeAndAMoveCopiesNothing) {
    auto w = StartWith("");
    w->Options().HotCursor = true;
    w->Options().ShowGutter = false;
    SetBody(*w, "plain <LINK TOPIC=\"a\">link</LINK> end");
    const int link = static_cast<int>(EditorText(*w).indexOf("link"));
    EXPECT_EQ(MoveTo(*w, 2), Qt::IBeamCursor);
    const int copies = w->TagCommands().TextCopies();
    CursorChanges changes(w->Editor()->viewport());
    for (int i = 0; i < 3; ++i) MoveTo(*w, link);
    EXPECT_EQ(changes.count, 1);
    for (int i = 0; i < 3; ++i) MoveTo(*w, link + 1);
    EXPECT_EQ(changes.count, 1);
    MoveTo(*w, 1);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(w->TagCommands().TextCopies(), copies);
    // An edit makes one fresh copy, at the next look.
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelText("x");
    MoveTo(*w, 1);
    MoveTo(*w, 2);
    EXPECT_EQ(w->TagCommands().TextCopies(), copies + 1);
}

}  // namespace
}  // namespace qmtest
