// The editor frame end to end in the real window: bookmarks and the gutter,
// the gutter toggle with the text's margin and the ruler, Copy Format, the
// Rich Text Output pane, the window's placement and the help commands.
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <set>

#include "editor/gutter.h"
#include "editor/ruler.h"
#include "mainwindow/editorframecommands.h"
#include "mainwindow/helpcommands.h"
#include "mainwindow/rtfoutputcommands.h"
#include "navigation_fixture.h"
#include "util/fileio.h"

namespace qmtest {
namespace {

class MainWindowEditorFrameTest : public NavigationTest {
protected:
    // The contents topic has six lines "line 0" .. "line 5"; "Other" is a
    // second topic.
    std::string SixLines() {
        return SaveModules(Paragraphs({"line 0", "line 1", "line 2", "line 3", "line 4", "line 5"}), {"Other"});
    }
    std::unique_ptr<qm::TfrmMain> StartOnContents(const std::string& path) {
        auto w = Start({qm::FromCp1252(path)});
        OpenRow(*w, "lstTopics", "Contents");
        return w;
    }
    static std::vector<int> Marks(qm::TfrmMain& w) {
        std::vector<int> out;
        for (int i = 1; i <= w.Bookmarks().Count(); ++i) out.push_back(w.Bookmarks().GetItem(i));
        return out;
    }
    static int CaretLine(qm::TfrmMain& w) { return w.Editor()->GetCurrentLine(); }
    // The rows of the gutter's picture that hold the glyph's colour.
    static std::set<int> GlyphRows(qm::TfrmMain& w) {
        const QImage shot = Child<qm::TGutter>(w, "pnlGutter")->grab().toImage();
        std::set<int> rows;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (QColor(shot.pixel(x, y)) == qm::TGutter::GlyphColor()) rows.insert(y);
        return rows;
    }
    // Where the first character's left edge is, from the editor's inner edge.
    static int TextLeft(qm::TfrmMain& w) {
        const QRect r = w.Editor()->cursorRect(QTextCursor(w.Editor()->document()));
        return w.Editor()->viewport()->geometry().left() - w.Editor()->contentsRect().left() + r.center().x();
    }
};

TEST_F(MainWindowEditorFrameTest, CtrlF2MarksLinesAndNextAndPreviousWrapRound) {
    auto w = StartOnContents(SixLines());
    for (int line : {1, 4}) {
        w->Editor()->GotoLine(line);
        Keys(*w, w->Editor(), "Ctrl+F2");
    }
    EXPECT_EQ(Marks(*w), (std::vector<int>{1, 4}));
    w->Editor()->GotoLine(0);
    QAction* next = Act(*w, "actNavToNextBookmark");
    QAction* previous = Act(*w, "actNavToPrevBookmark");
    w->updateActions();
    struct Step {
        QAction* action;
        int line;
    } steps[] = {{next, 1}, {next, 4}, {next, 1}, {previous, 4}, {previous, 1}, {previous, 4}};
    for (const Step& s : steps) {
        s.action->trigger();
        EXPECT_EQ(CaretLine(*w), s.line);
        EXPECT_EQ(w->Editor()->GetSelStart(), w->Editor()->document()->findBlockByNumber(s.line).position());
    }
    Keys(*w, w->Editor(), "Alt+PgDown");
    EXPECT_EQ(CaretLine(*w), 1);
    Keys(*w, w->Editor(), "Alt+PgUp");
    EXPECT_EQ(CaretLine(*w), 4);
    // Twice on one line: no bookmark.
    Keys(*w, w->Editor(), "Ctrl+F2");
    EXPECT_EQ(Marks(*w), std::vector<int>{1});
    // The commands are in the Navigate menu.
    const QList<QAction*> nav = Child<QMenu>(*w, "mnuNavigate")->actions();
    for (const char* name : {"actToggleBookmark", "actNavToNextBookmark", "actNavToPrevBookmark", "actClearBookmarks"})
        EXPECT_TRUE(nav.contains(Act(*w, name))) << name;
}

TEST_F(MainWindowEditorFrameTest, TheGutterShowsTheGlyphBesideEachBookmarkedLineOnlyAndTopicsKeepTheirs) {
    auto w = StartOnContents(SixLines());
    ASSERT_TRUE(w->Options().ShowGutter);
    for (int line : {1, 4}) {
        w->Editor()->GotoLine(line);
        Act(*w, "actToggleBookmark")->trigger();
    }
    QApplication::processEvents();
    auto bands = [&] {
        std::set<int> rows;
        for (int line : {1, 4}) {
            const auto [top, next] = LineBand(*w, line);
            for (int y = top; y < next; ++y) rows.insert(y);
        }
        return rows;
    };
    auto check = [&] {
        const std::set<int> glyph = GlyphRows(*w);
        const std::set<int> band = bands();
        for (int y : glyph) EXPECT_TRUE(band.count(y)) << "glyph colour at row " << y;
        for (int line : {1, 4}) {
            const auto [top, next] = LineBand(*w, line);
            int inBand = 0;
            for (int y = top; y < next; ++y) inBand += int(glyph.count(y));
            EXPECT_GE(inBand, qm::TGutter::GlyphHeight - 2) << "line " << line;
        }
    };
    check();
    // Another topic has none; coming back brings them back.
    OpenRow(*w, "lstTopics", "Other");
    EXPECT_TRUE(w->Bookmarks().Empty());
    EXPECT_TRUE(GlyphRows(*w).empty());
    OpenRow(*w, "lstTopics", "Contents");
    EXPECT_EQ(Marks(*w), (std::vector<int>{1, 4}));
    check();
    Act(*w, "actClearBookmarks")->trigger();
    EXPECT_TRUE(GlyphRows(*w).empty());
}

TEST_F(MainWindowEditorFrameTest, TheEditorBarsButtonsRunTheBookmarkCommandsAndFollowTheirState) {
    auto w = StartOnContents(SixLines());
    auto button = [&](int tag) { return Child<QToolButton>(*w, ("ncbEditorButton" + std::to_string(tag)).c_str()); };
    w->updateActions();
    for (int tag : {11, 12, 13}) EXPECT_FALSE(button(tag)->isEnabled()) << tag;
    for (QAction* a : {Act(*w, "actNavToNextBookmark"), Act(*w, "actNavToPrevBookmark"), Act(*w, "actClearBookmarks")})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    w->Editor()->GotoLine(2);
    button(10)->click();
    w->Editor()->GotoLine(5);
    button(10)->click();
    EXPECT_EQ(Marks(*w), (std::vector<int>{2, 5}));
    w->updateActions();
    for (int tag : {11, 12, 13}) EXPECT_TRUE(button(tag)->isEnabled()) << tag;
    w->Editor()->GotoLine(0);
    button(12)->click();  // next
    EXPECT_EQ(CaretLine(*w), 2);
    button(11)->click();  // previous, round to the last
    EXPECT_EQ(CaretLine(*w), 5);
    button(13)->click();
    EXPECT_TRUE(w->Bookmarks().Empty());
    w->updateActions();
    EXPECT_FALSE(button(13)->isEnabled());
}

TEST_F(MainWindowEditorFrameTest, TheHundredAndFirstBookmarkIsRefused) {
    std::vector<std::string> lines;
    for (int i = 0; i <= qm::TBookmarks::MaxCount; ++i) lines.push_back("l" + std::to_string(i));
    auto w = StartOnContents(SaveModules(Paragraphs(lines), {}));
    for (int i = 0; i < qm::TBookmarks::MaxCount; ++i) ASSERT_TRUE(w->Bookmarks().Add(i));
    w->Editor()->GotoLine(qm::TBookmarks::MaxCount);
    ui.ExpectMessage(qm::MsgKind::Information, "A topic can hold at most 100 bookmarks.");
    Act(*w, "actToggleBookmark")->trigger();
    EXPECT_EQ(w->Bookmarks().Count(), qm::TBookmarks::MaxCount);
    EXPECT_FALSE(w->Bookmarks().Contains(qm::TBookmarks::MaxCount));
    // A bookmarked line of a full list can still be taken off.
    w->Editor()->GotoLine(3);
    Act(*w, "actToggleBookmark")->trigger();
    EXPECT_EQ(w->Bookmarks().Count(), qm::TBookmarks::MaxCount - 1);
}

TEST_F(MainWindowEditorFrameTest, TheGutterToggleByActionOrButtonMovesTextRulerAndSetting) {
    // Each way starts from the setting the one before left (shown at the
    // first start), toggles at every step after the first and leaves it hidden.
    struct Way {
        const char* name;
        std::function<void(qm::TfrmMain&)> toggle;
        std::vector<bool> states;
    } ways[] = {
        {"the action", [](qm::TfrmMain& w) { Act(w, "actToggleGutter")->trigger(); }, {true, false, true, false}},
        {"button 1", [](qm::TfrmMain& w) { Child<QToolButton>(w, "ncbEditorButton1")->click(); }, {false, true, false}},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        auto w = StartOnContents(SixLines());
        w->show();
        QApplication::processEvents();
        auto* ruler = Child<qm::TRuler>(*w, "Ruler");
        for (std::size_t step = 0; step < way.states.size(); ++step) {
            const bool on = way.states[step];
            SCOPED_TRACE(on ? "shown" : "hidden");
            if (step > 0) way.toggle(*w);
            QApplication::processEvents();
            EXPECT_EQ(Act(*w, "actToggleGutter")->isChecked(), on);
            EXPECT_EQ(Child<QToolButton>(*w, "ncbEditorButton1")->isChecked(), on);
            EXPECT_EQ(w->Options().ShowGutter, on);
            EXPECT_EQ(Child<qm::TGutter>(*w, "pnlGutter")->isVisible(), on);
            EXPECT_EQ(TextLeft(*w), on ? 35 : 10);
            // The ruler's zero over the text's left edge.
            const QRect first = w->Editor()->cursorRect(QTextCursor(w->Editor()->document()));
            const int edge = ruler->mapFromGlobal(w->Editor()->viewport()->mapToGlobal(first.center())).x();
            EXPECT_NEAR(ruler->Origin(), edge, 1);
        }
        ASSERT_TRUE(w->close());
        qm::TOptions stored;
        stored.LoadFromRegistry(settings);
        EXPECT_FALSE(stored.ShowGutter);
    }
}

TEST_F(MainWindowEditorFrameTest, CopyFormatPutsTheFormatOnTheNextSelectionAndEnds) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Courier New;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f1\\fs28\\b\\cf1 abc\\f0\\fs20\\b0\\cf0  "
        "xyz\\par\r\n}";
    auto w = StartOnContents(SaveModules(rtf, {}));
    qm::TRichText2& editor = *w->Editor();
    QAction* copy = Act(*w, "actStyleCopy");
    EXPECT_TRUE(copy->isCheckable());
    EXPECT_EQ(copy->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    editor.SetSelStart(1);
    copy->trigger();
    EXPECT_TRUE(copy->isChecked());
    EXPECT_EQ(editor.viewport()->cursor().shape(), Qt::BitmapCursor);
    // The user selects "xyz" and lets the button go.
    const int x = PosOf(*w, "xyz");
    editor.SetSelStart(x);
    editor.SetSelLength(3);
    QTest::mouseRelease(editor.viewport(), Qt::LeftButton, {}, PointAt(*w, x + 2));
    EXPECT_FALSE(copy->isChecked());
    EXPECT_EQ(editor.viewport()->cursor().shape(), Qt::IBeamCursor);
    editor.SetSelStart(x + 1);
    editor.SetSelLength(1);
    EXPECT_EQ(editor.SelAttributes.GetStyle(), qm::fsBold);
    EXPECT_EQ(editor.SelAttributes.GetColor(), 0x0000FFu);
    EXPECT_EQ(editor.SelAttributes.GetName(), "Courier New");
    EXPECT_EQ(editor.SelAttributes.GetSize(), 14);
    // One undo takes the whole format off again.
    editor.Undo();
    editor.SetSelStart(x + 1);
    editor.SetSelLength(1);
    EXPECT_EQ(editor.SelAttributes.GetStyle(), 0u);
    EXPECT_EQ(editor.SelAttributes.GetName(), "Arial");
    EXPECT_EQ(editor.SelAttributes.GetSize(), 10);
    editor.Redo();
    // A release with the mode off changes nothing.
    editor.SetSelStart(0);
    editor.SetSelLength(1);
    const std::string before = editor.GetRtfText();
    QTest::mouseRelease(editor.viewport(), Qt::LeftButton, {}, PointAt(*w, 0));
    EXPECT_EQ(editor.GetRtfText(), before);
}

TEST_F(MainWindowEditorFrameTest, CopyFormatPressedTwiceGivesTheEditorItsCursorBack) {
    auto w = StartOnContents(SixLines());
    QAction* copy = Act(*w, "actStyleCopy");
    const std::string before = w->Editor()->GetRtfText();
    copy->trigger();
    copy->trigger();
    EXPECT_FALSE(copy->isChecked());
    EXPECT_FALSE(w->EditorFrameCommands().FormatPainting());
    EXPECT_EQ(w->Editor()->viewport()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(w->Editor()->GetRtfText(), before);
}

TEST_F(MainWindowEditorFrameTest, ShiftF6ShowsTheRtfAndTheOpenRoutineRefillsIt) {
    auto w = StartOnContents(SixLines());
    auto* pane = Child<QWidget>(*w, "pnlRtf");
    auto* memo = Child<QPlainTextEdit>(*w, "txtRtf");
    EXPECT_TRUE(pane->isHidden());
    EXPECT_NE(Child<QWidget>(*w, "pbRtf"), nullptr);
    Keys(*w, w->Editor(), "Shift+F6");
    EXPECT_FALSE(pane->isHidden());
    EXPECT_TRUE(Act(*w, "actToggleRtf")->isChecked());
    EXPECT_TRUE(w->Options().ShowRtf);
    EXPECT_TRUE(memo->toPlainText().startsWith("{\\rtf1"));
    EXPECT_TRUE(memo->toPlainText().contains("line 5"));
    OpenRow(*w, "lstTopics", "Other");
    EXPECT_TRUE(memo->toPlainText().contains("Other body"));
    Keys(*w, w->Editor(), "Shift+F6");
    EXPECT_TRUE(pane->isHidden());
    EXPECT_FALSE(w->Options().ShowRtf);
    // A click on the splitter's handle hides the pane; a drag does not.
    Act(*w, "actToggleRtf")->trigger();
    QApplication::processEvents();
    auto* splitter = Child<QSplitter>(*w, "splRtf");
    QWidget* handle = splitter->handle(1);
    ASSERT_TRUE(handle->isVisible());
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(20, 2));
    QTest::mouseMove(handle, QPoint(20, 40));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(20, 40));
    EXPECT_FALSE(pane->isHidden());
    QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(20, 2));
    EXPECT_TRUE(pane->isHidden());
    EXPECT_FALSE(Act(*w, "actToggleRtf")->isChecked());
    // The pane's menu holds its eight commands.
    QList<QAction*> items = Child<QMenu>(*w, "mnuPopRtf")->actions();
    for (const char* name : {"actRtfUpdate", "actRtfRefresh", "actRtfClose", "actRtfSelectAll", "actRtfCopy",
                             "actRtfCut", "actRtfPaste", "actRtfUndo"})
        EXPECT_TRUE(items.contains(Act(*w, name))) << name;
}

TEST_F(MainWindowEditorFrameTest, RefreshShowsTheEditorsRtfAndKeepsTheMemosCaret) {
    auto w = StartOnContents(SixLines());
    Act(*w, "actToggleRtf")->trigger();
    auto* memo = Child<QPlainTextEdit>(*w, "txtRtf");
    QTextCursor c = memo->textCursor();
    c.setPosition(25);
    memo->setTextCursor(c);
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelText("Fresh ");
    EXPECT_FALSE(memo->toPlainText().contains("Fresh"));
    Act(*w, "actRtfRefresh")->trigger();
    EXPECT_TRUE(memo->toPlainText().contains("Fresh line 0"));
    EXPECT_EQ(memo->textCursor().position(), 25);
    Act(*w, "actRtfClose")->trigger();
    EXPECT_TRUE(Child<QWidget>(*w, "pnlRtf")->isHidden());
}

TEST_F(MainWindowEditorFrameTest, UpdateLoadsRtfOnYesOnlyAndRefusesWhatIsNotRtf) {
    struct Row {
        const char* name;
        std::string memo;
        std::optional<qm::MsgResult> answer;  // none: no question is asked
        bool refused;
        bool loaded;
    } rows[] = {
        {"Yes loads", Paragraphs({"streamed text"}), qm::MsgResult::Yes, false, true},
        {"No does nothing", Paragraphs({"streamed text"}), qm::MsgResult::No, false, false},
        {"plain text is refused", "streamed text", std::nullopt, true, false},
        {"blanks before the RTF", "  " + Paragraphs({"streamed text"}), std::nullopt, true, false},
        {"RTF the reader refuses", "{\\rtf1 streamed text {\\bin99999 ab}}", std::nullopt, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = StartOnContents(SixLines());
        w->Project().Modified = false;
        Act(*w, "actToggleRtf")->trigger();
        Child<QPlainTextEdit>(*w, "txtRtf")->setPlainText(qm::FromCp1252(row.memo));
        const QString before = EditorText(*w);
        if (row.answer)
            ui.ExpectMessage(qm::MsgKind::Confirmation, "You are about to stream new contents to the editor",
                             *row.answer);
        if (row.refused)
            ui.ExpectMessage(qm::MsgKind::Information, "The text is not valid RTF. The topic was not changed.");
        Act(*w, "actRtfUpdate")->trigger();
        ui.ExpectAllAnswered(row.name);
        EXPECT_EQ(EditorText(*w), row.loaded ? QStringLiteral("streamed text") : before);
        EXPECT_EQ(w->Project().Modified, row.loaded);
        EXPECT_FALSE(w->Editor()->CanUndo());
        w->Project().Modified = false;
    }
    const qm::MsgButtons yesNo = qm::MsgButtons::YesNo;
    EXPECT_EQ(ui.records.front().buttons, yesNo);
    EXPECT_EQ(ui.records.front().text,
              "You are about to stream new contents to the editor and this action cannot be undone.\r\nContinue?");
}

TEST_F(MainWindowEditorFrameTest, ThePlacementComesBackNormalAndMaximised) {
    // A size above the window's least and within the test screen.
    const QRect normal(40, 50, 620, 560);
    {
        auto w = Start();
        ASSERT_LE(w->minimumSizeHint().height(), normal.height());
        w->setGeometry(normal);
        ASSERT_TRUE(w->close());
    }
    EXPECT_EQ(settings.ReadInteger("Position", "Left"), 40);
    EXPECT_EQ(settings.ReadInteger("Position", "Top"), 50);
    EXPECT_FALSE(settings.ReadBool("Position", "Maximized"));
    {
        auto w = Start();
        EXPECT_EQ(w->geometry(), normal);
        w->showMaximized();
        QApplication::processEvents();
        ASSERT_TRUE(w->isMaximized());
        ASSERT_TRUE(w->close());
    }
    // The restored rectangle is kept, not the maximised one.
    EXPECT_TRUE(settings.ReadBool("Position", "Maximized"));
    EXPECT_EQ(settings.ReadInteger("Position", "Width"), normal.width());
    EXPECT_EQ(settings.ReadInteger("Position", "Height"), normal.height());
    auto w = Start();
    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w->normalGeometry(), normal);
}

TEST_F(MainWindowEditorFrameTest, ARectangleOnNoScreenComesOntoTheNearestAndAMissingOneKeepsTheDesign) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(area.width() * 3 / 4, area.height() * 19 / 20);
    {
        auto w = Start();  // first run: no placement stored
        EXPECT_EQ(w->size(), QSize(1200, 760));
        ASSERT_LE(w->minimumSizeHint().width(), size.width());
        ASSERT_LE(w->minimumSizeHint().height(), size.height());
    }
    struct Row {
        const char* name;
        QRect stored;
    } rows[] = {
        {"far to the right", QRect(QPoint(area.right() + 3000, area.top() + 10), size)},
        {"above and to the left", QRect(QPoint(-5000, -4000), size)},
        {"larger than the screen", QRect(area.right() + 100, area.bottom() + 100, area.width() + 500, 9000)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        settings.WriteInteger("Position", "Left", row.stored.left());
        settings.WriteInteger("Position", "Top", row.stored.top());
        settings.WriteInteger("Position", "Width", row.stored.width());
        settings.WriteInteger("Position", "Height", row.stored.height());
        settings.WriteBool("Position", "Maximized", false);
        auto w = Start();
        const QRect g = w->geometry();
        // The platform may add its frame around a window as large as the screen.
        EXPECT_TRUE(area.contains(g.topLeft()) && area.contains(g.center()))
            << g.x() << "," << g.y() << " " << g.width() << "x" << g.height();
        EXPECT_EQ(g.width(), std::min(row.stored.width(), area.width()));
        EXPECT_EQ(g.height(), std::min(row.stored.height(), area.height()));
    }
}

TEST_F(MainWindowEditorFrameTest, TheHelpCommandsAskForTheViewersHelpAndTheTutorial) {
    auto w = Start();
    Act(*w, "actHelpOnHelp")->trigger();
    Act(*w, "actTutorial")->trigger();
    ASSERT_EQ(ui.helpRequests.size(), 2u);
    EXPECT_EQ(ui.helpRequests[0], (qm::HelpRequest{"Winhlp32.hlp", qm::HelpCommand::Contents, 0, "", ""}));
    const qm::HelpRequest tutorial{ui.ProgramHelp(qm::HelpCommand::Context).helpFile, qm::HelpCommand::Context, 295, "",
                                   "wnTutor"};
    EXPECT_EQ(ui.helpRequests[1], tutorial);
    EXPECT_TRUE(ui.helpRequests[1].helpFile.ends_with("Quillmark.hlp"));
    // Neither is a request on the program's help in its main window.
    EXPECT_TRUE(ui.helpContexts.empty());
    EXPECT_EQ(ui.helpContentsCalls, 0);
    const QList<QAction*> help = Child<QMenu>(*w, "mnuHelp")->actions();
    EXPECT_TRUE(help.contains(Act(*w, "actHelpOnHelp")));
    EXPECT_TRUE(help.contains(Act(*w, "actTutorial")));
}

// A picture of the editor with the gutter and three bookmarks on the sample
// project; the script tools/screenshot-navigation.sh keeps it.
TEST_F(MainWindowEditorFrameTest, ScreenshotOfTheGutter) {
    const std::string sample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";
    ASSERT_TRUE(qm::FileExists(sample)) << sample;
    auto w = Start({qm::FromCp1252(sample)});
    ASSERT_TRUE(started);
    w->resize(1100, 720);
    w->show();
    QApplication::processEvents();
    ASSERT_TRUE(w->Options().ShowGutter);
    const int lines = w->Editor()->document()->blockCount();
    ASSERT_GE(lines, 4);
    for (int line : {0, lines / 2, lines - 2}) {
        w->Editor()->GotoLine(line);
        Act(*w, "actToggleBookmark")->trigger();
    }
    w->Editor()->GotoLine(0);
    QApplication::processEvents();
    EXPECT_EQ(w->Bookmarks().Count(), 3);
    EXPECT_FALSE(GlyphRows(*w).empty());
    const QImage shot = w->grab().toImage();
    QString file = qEnvironmentVariable("QM_SCREENSHOT");
    if (file.isEmpty()) file = QString::fromStdString(root_) + "gutter.png";
    EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
}

// A picture of the sample's contents topic with the Rich Text Output pane
// shown; the script tools/screenshot-navigation.sh keeps it.
TEST_F(MainWindowEditorFrameTest, ScreenshotOfTheRichTextOutput) {
    const std::string sample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";
    ASSERT_TRUE(qm::FileExists(sample)) << sample;
    auto w = Start({qm::FromCp1252(sample)});
    ASSERT_TRUE(started);
    w->resize(1100, 720);
    w->show();
    Act(*w, "actToggleRtf")->trigger();
    QApplication::processEvents();
    auto* memo = Child<QPlainTextEdit>(*w, "txtRtf");
    ASSERT_TRUE(memo->isVisible());
    EXPECT_TRUE(memo->toPlainText().startsWith("{\\rtf1"));
    // The header's band is navy under its white caption.
    const QImage header = Child<QWidget>(*w, "pbRtf")->grab().toImage();
    EXPECT_EQ(QColor(header.pixel(header.width() - 2, header.height() / 2)), QColor(0, 0, 128));
    const QImage shot = w->grab().toImage();
    QString file = qEnvironmentVariable("QM_SCREENSHOT");
    if (file.isEmpty()) file = QString::fromStdString(root_) + "rtfoutput.png";
    EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
}

}  // namespace
}  // namespace qmtest
