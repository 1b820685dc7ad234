// The command guard, the busy cursor and the status panels: an error in a
// command is shown and contained, and the cursor and status come back.
#include <gtest/gtest.h>

#include <stdexcept>

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "util/errors.h"
#include "widgets/busycursor.h"
#include "widgets/commandguard.h"
#include "widgets/statusbar.h"

using namespace qm;
using qmtest::ScriptedUiServices;

namespace {

class Foundation : public ::testing::Test {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        BusyCursor::RestoreTo(0);
    }
    void TearDown() override {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "a test left a busy cursor";
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    }
};

}  // namespace

TEST_F(Foundation, ErrorsOfEveryKindAreShownInAnErrorBox) {
    struct Case {
        const char* what;
        std::function<void()> command;
        QString shown;
    } cases[] = {
        {"qm::Error in Windows-1252", [] { throw Error("Caf\xe9 not found."); }, QStringLiteral("Café not found.")},
        {"file error", [] { throw CreateFileAccessError("C:\\x.qpf", true, winerr::FileNotFound); }, QString()},
        {"std::exception", [] { throw std::runtime_error("bad thing"); }, QStringLiteral("bad thing")},
        {"anything else", [] { throw 42; }, QString::fromLatin1(kMsgUnknownError)},
    };
    for (const Case& c : cases) {
        ScriptedUiServices ui;
        ui.ExpectMessage(MsgKind::Error, c.shown);
        EXPECT_FALSE(runCommand(ui, c.command)) << c.what;
        ui.ExpectAllAnswered(c.what);
        ASSERT_EQ(ui.records.size(), 1u) << c.what;
        EXPECT_EQ(ui.records[0].buttons, MsgButtons::Ok);
        EXPECT_FALSE(ui.records[0].text.isEmpty()) << c.what;
    }
}

TEST_F(Foundation, ACommandThatEndsNormallyShowsNothing) {
    ScriptedUiServices ui;  // any box would fail the test
    int runs = 0;
    EXPECT_TRUE(runCommand(ui, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(ui.records.empty());
}

TEST_F(Foundation, CleanUpRunsBeforeTheBoxAndCannotHideTheError) {
    ScriptedUiServices ui;
    ui.ExpectMessage(MsgKind::Error, QStringLiteral("first"));
    std::size_t boxesWhenCleaning = 99;
    EXPECT_FALSE(runCommand(
        ui, [] { throw Error("first"); },
        [&] {
            boxesWhenCleaning = ui.records.size();
            throw Error("second");  // swallowed: the user sees the first
        }));
    EXPECT_EQ(boxesWhenCleaning, 0u);
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("first")});
}

TEST_F(Foundation, TheCursorIsRestoredOnEveryPathOut) {
    ScriptedUiServices ui;
    ui.ExpectMessage(MsgKind::Error, QStringLiteral("scoped"));
    ui.ExpectMessage(MsgKind::Error, QStringLiteral("unscoped"));
    Qt::CursorShape during = Qt::ArrowCursor;
    runCommand(ui, [&] {
        BusyCursor busy;
        during = QApplication::overrideCursor()->shape();
        throw Error("scoped");
    });
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Set in one place, meant to be restored in another that never runs.
    runCommand(ui, [] {
        BusyCursor::Push();
        BusyCursor::Push();
        throw Error("unscoped");
    });
    EXPECT_EQ(BusyCursor::Depth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui.ExpectAllAnswered();
}

TEST_F(Foundation, AGuardInsideABusyScopeLeavesTheOuterCursor) {
    ScriptedUiServices ui;
    ui.ExpectMessage(MsgKind::Error, QStringLiteral("inner"));
    {
        BusyCursor outer;
        runCommand(ui, [] {
            BusyCursor::Push();
            throw Error("inner");
        });
        EXPECT_EQ(BusyCursor::Depth(), 1);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    BusyCursor::Pop();  // an extra pop is harmless
    EXPECT_EQ(BusyCursor::Depth(), 0);
}

TEST_F(Foundation, CaretAndHintTexts) {
    struct Caret {
        int line, col;
        const char* text;
    } carets[] = {
        {1, 1, "Line :   1   Col:   1"},
        {12, 345, "Line :  12   Col: 345"},
        {12345, 7, "Line : 12345   Col:   7"},
    };
    for (const Caret& c : carets) EXPECT_EQ(CaretText(c.line, c.col), QString::fromLatin1(c.text));

    struct Hint {
        const char* hint;
        const char* shortPart;
        const char* longPart;
    } hints[] = {
        {"Build Help File|Builds the help file.", "Build Help File", "Builds the help file."},
        {"New Topic|", "New Topic", ""},
        {"|Automatic color value.", "", "Automatic color value."},
        {"No bar at all", "No bar at all", "No bar at all"},
        {"a|b|c", "a", "b|c"},
        {"", "", ""},
    };
    for (const Hint& h : hints) {
        EXPECT_EQ(ShortHint(QString::fromLatin1(h.hint)), QString::fromLatin1(h.shortPart)) << h.hint;
        EXPECT_EQ(LongHint(QString::fromLatin1(h.hint)), QString::fromLatin1(h.longPart)) << h.hint;
    }
}

TEST_F(Foundation, StatusPanelsShowHintsReadyAndTheCaret) {
    QMainWindow window;
    StatusPanels panels(window.statusBar());
    ASSERT_NE(window.findChild<QLabel*>(QStringLiteral("sbrStatusPanel0")), nullptr);
    ASSERT_NE(window.findChild<QLabel*>(QStringLiteral("sbrStatusPanel1")), nullptr);
    EXPECT_EQ(panels.Text(0), QStringLiteral("Ready."));
    panels.SetStatus(QStringLiteral("Compiling help file..."));
    EXPECT_EQ(panels.Text(0), QStringLiteral("Compiling help file..."));
    panels.ShowHint(QStringLiteral("Build Help File|Builds the help file."));
    EXPECT_EQ(panels.Text(0), QStringLiteral("Builds the help file."));
    panels.ShowHint(QStringLiteral("New Topic|"));
    EXPECT_EQ(panels.Text(0), QStringLiteral("Ready."));
    panels.SetCaret(3, 14);
    EXPECT_EQ(panels.Text(1), QStringLiteral("Line :   3   Col:  14"));
    EXPECT_EQ(panels.Text(0), QStringLiteral("Ready."));
    EXPECT_EQ(panels.Panel(2), nullptr);
    EXPECT_EQ(panels.Text(-1), QString());
}
