// The panes' docking: where they may go, the size a site opens to when a
// pane shows, Dock All, and floating panes stored on no screen.
#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <algorithm>

#include "mainwindow_fixture.h"
#include "model/options.h"

namespace qmtest {
namespace {

class DockingTest : public MainWindowTest {
protected:
    // The options a start reads: each pane's site ("" floats it), whether it shows.
    void StorePanes(const char* explorerSite, bool showExplorer, const char* messagesSite, bool showMessages,
                    qm::TScreenRect explorerRect = {40, 60, 340, 460}) {
        qm::TOptions o;
        o.SetDefaults();
        o.ExplorerPane = explorerSite;
        o.ShowProject = showExplorer;
        o.MessagesPane = messagesSite;
        o.ShowMessages = showMessages;
        o.ExplorerRect = explorerRect;
        o.MessagesRect = {60, 80, 560, 300};
        o.SaveToRegistry(settings);
    }
    static int DockWidth() { return QGuiApplication::primaryScreen()->geometry().width() * 25 / 100; }
    static QDockWidget* Pane(qm::TfrmMain& w, const char* name) { return Child<QDockWidget>(w, name); }
};

TEST_F(DockingTest, PanesDockAtTheSidesAndTheBottomOnly) {
    auto w = Start();
    for (const char* name : {"pnlProject", "pnlMessages"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Pane(*w, name)->allowedAreas(),
                  Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    }
}

// A pane made larger, hidden and shown again by its toggle: its site opens
// to the dock width at a side, 150 pixels high at the bottom.
TEST_F(DockingTest, AShownPaneReopensItsSiteToItsSize) {
    struct Row {
        const char* name;
        const char* explorerSite;
        const char* messagesSite;
        const char* pane;
        const char* toggle;
        Qt::DockWidgetArea area;
    } rows[] = {
        {"bottom pane", "pnlLeftDock", "pnlBottomDock", "pnlMessages", "actToggleMessages", Qt::BottomDockWidgetArea},
        {"left pane", "pnlLeftDock", "pnlBottomDock", "pnlProject", "actToggleExplorer", Qt::LeftDockWidgetArea},
        {"right pane", "pnlRightDock", "pnlBottomDock", "pnlProject", "actToggleExplorer", Qt::RightDockWidgetArea},
        {"project pane at the bottom", "pnlBottomDock", "pnlRightDock", "pnlProject", "actToggleExplorer",
         Qt::BottomDockWidgetArea},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        StorePanes(r.explorerSite, true, r.messagesSite, true);
        auto w = Start();
        ASSERT_TRUE(started);
        QDockWidget* pane = Pane(*w, r.pane);
        ASSERT_EQ(w->dockWidgetArea(pane), r.area);
        const bool bottom = r.area == Qt::BottomDockWidgetArea;
        const Qt::Orientation across = bottom ? Qt::Vertical : Qt::Horizontal;
        auto size = [&] { return bottom ? pane->height() : pane->width(); };
        // Never below what the pane needs (the project pane's command bar is tall).
        const int expected = bottom ? std::max(qm::kBottomDockHeight, pane->minimumSizeHint().height()) : DockWidth();
        QApplication::processEvents();
        EXPECT_EQ(size(), expected) << "at the start";
        w->resizeDocks({pane}, {expected + 90}, across);
        QApplication::processEvents();
        const int userSize = size();
        ASSERT_NE(userSize, expected);
        // Shown while it shows already: the size the user gave it stays.
        w->ShowPane(QString::fromLatin1(r.pane) == "pnlProject" ? qm::Pane::Explorer : qm::Pane::Messages, true);
        QApplication::processEvents();
        EXPECT_EQ(size(), userSize);
        Act(*w, r.toggle)->trigger();
        QApplication::processEvents();
        ASSERT_TRUE(pane->isHidden());
        Act(*w, r.toggle)->trigger();
        QApplication::processEvents();
        EXPECT_FALSE(pane->isHidden());
        EXPECT_EQ(w->dockWidgetArea(pane), r.area);
        EXPECT_EQ(size(), expected);
        ASSERT_TRUE(w->close());
        w.reset();
    }
}

// Dock All brings a floating or hidden pane home (the project explorer
// left, the messages at the bottom) and shows it; a visible docked pane
// stays where it is.
TEST_F(DockingTest, DockAllBringsFloatingAndHiddenPanesHomeAndLeavesVisibleDockedOnes) {
    struct Row {
        const char* name;
        const char* explorerSite;
        bool showExplorer;
        const char* messagesSite;
        bool showMessages;
        Qt::DockWidgetArea explorerAfter, messagesAfter;
    } rows[] = {
        {"floating explorer, messages docked at the right", "", true, "pnlRightDock", true, Qt::LeftDockWidgetArea,
         Qt::RightDockWidgetArea},
        {"hidden explorer at the right, floating messages", "pnlRightDock", false, "", true, Qt::LeftDockWidgetArea,
         Qt::BottomDockWidgetArea},
        {"both hidden, docked away from home", "pnlBottomDock", false, "pnlLeftDock", false, Qt::LeftDockWidgetArea,
         Qt::BottomDockWidgetArea},
        {"both visible and docked away from home", "pnlRightDock", true, "pnlLeftDock", true, Qt::RightDockWidgetArea,
         Qt::LeftDockWidgetArea},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        StorePanes(r.explorerSite, r.showExplorer, r.messagesSite, r.showMessages);
        auto w = Start();
        ASSERT_TRUE(started);
        QDockWidget* explorer = Pane(*w, "pnlProject");
        QDockWidget* messages = Pane(*w, "pnlMessages");
        ASSERT_EQ(explorer->isFloating(), !*r.explorerSite);
        ASSERT_EQ(messages->isFloating(), !*r.messagesSite);
        QApplication::processEvents();
        const QRect messagesBefore = messages->geometry();
        Act(*w, "actDockAll")->trigger();
        QApplication::processEvents();
        for (auto [pane, area] : {std::pair{explorer, r.explorerAfter}, std::pair{messages, r.messagesAfter}}) {
            SCOPED_TRACE(pane->objectName().toStdString());
            EXPECT_FALSE(pane->isFloating());
            EXPECT_FALSE(pane->isHidden());
            EXPECT_EQ(w->dockWidgetArea(pane), area);
        }
        // A pane brought home opens its site as a drop on it would.
        if (!*r.explorerSite || !r.showExplorer) {
            EXPECT_EQ(explorer->width(), DockWidth());
        }
        if (r.messagesAfter == Qt::BottomDockWidgetArea) {
            EXPECT_EQ(messages->height(), qm::kBottomDockHeight);
        }
        if (*r.messagesSite && r.showMessages) {
            EXPECT_EQ(messages->geometry().size(), messagesBefore.size());
        }
        w->updateActions();
        EXPECT_TRUE(Act(*w, "actToggleExplorer")->isChecked());
        EXPECT_TRUE(Act(*w, "actToggleMessages")->isChecked());
        // The next start finds them where Dock All put them.
        ASSERT_TRUE(w->close());
        w.reset();
        qm::TOptions stored;
        stored.LoadFromRegistry(settings);
        EXPECT_TRUE(stored.ShowProject);
        EXPECT_TRUE(stored.ShowMessages);
        EXPECT_EQ(stored.ExplorerPane, r.explorerAfter == Qt::LeftDockWidgetArea ? "pnlLeftDock" : "pnlRightDock");
    }
}

// A floating pane stored on a monitor that is gone comes onto the nearest
// screen; one on a screen stays where it was.
TEST_F(DockingTest, AFloatingPaneStoredOnNoScreenComesOntoTheNearest) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Row {
        const char* name;
        qm::TScreenRect stored;
        bool moved;
    } rows[] = {
        {"on the screen", {40, 60, 340, 460}, false},
        {"far to the right and below",
         {screen.right() + 5000, screen.bottom() + 4000, screen.right() + 5300, screen.bottom() + 4400},
         true},
        {"far to the left and above", {-6000, -3000, -5700, -2600}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        StorePanes("", true, "pnlBottomDock", true, r.stored);
        auto w = Start();
        ASSERT_TRUE(started);
        QDockWidget* pane = Pane(*w, "pnlProject");
        ASSERT_TRUE(pane->isFloating());
        const QRect g = pane->geometry();
        EXPECT_TRUE(screen.intersects(g)) << g.x() << "," << g.y();
        EXPECT_EQ(g.size(), QSize(300, 400));
        if (!r.moved) {
            EXPECT_EQ(g.topLeft(), QPoint(r.stored.Left, r.stored.Top));
        }
        ASSERT_TRUE(w->close());
        w.reset();
    }
}

}  // namespace
}  // namespace qmtest
