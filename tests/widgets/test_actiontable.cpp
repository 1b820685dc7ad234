// Actions from one table, and the coalesced, signal-driven updateActions().
#include <gtest/gtest.h>

#include <stdexcept>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPrinter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>

#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "util/errors.h"
#include "widgets/actiontable.h"
#include "widgets/printdialog.h"
#include "widgets/statusbar.h"

using namespace qm;
using qmtest::ScriptedUiServices;

namespace {

class Actions : public ::testing::Test {
protected:
    // The application must exist before the window member is made.
    struct App {
        App() { qmtest::EnsureQtApp(); }
    } app;
    ScriptedUiServices ui;
    QMainWindow window;
};

}  // namespace

TEST_F(Actions, EachRowBecomesANamedActionOfTheWindow) {
    StatusPanels status(window.statusBar());
    ActionTable table(&window, ui, &status);
    int compiles = 0;
    table.Add({
        {"actCompile", "&Build...", "F5", "Build Help File|Builds the help file.", "", [&] { ++compiles; }},
        {"actToggleRuler", "&Ruler", "", "Ruler|Shows or hides the ruler.", "", [] {}, true},
    });
    QAction* compile = table.Get(QStringLiteral("actCompile"));
    EXPECT_EQ(compile->text(), QStringLiteral("&Build..."));
    EXPECT_EQ(compile->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(compile->toolTip(), QStringLiteral("Build Help File"));
    EXPECT_EQ(compile->statusTip(), QStringLiteral("Builds the help file."));
    EXPECT_FALSE(compile->isCheckable());
    EXPECT_TRUE(table.Find(QStringLiteral("actToggleRuler"))->isCheckable());
    EXPECT_TRUE(window.actions().contains(compile));
    EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("actCompile")), compile);
    EXPECT_EQ(table.Actions().size(), 2);

    compile->trigger();
    EXPECT_EQ(compiles, 1);
    compile->hover();
    EXPECT_EQ(status.Text(0), QStringLiteral("Builds the help file."));
    // Menus and tool buttons report through status tips: they land in panel
    // 0 without hiding the panels, and an empty tip means "Ready.".
    compile->showStatusText(&window);
    EXPECT_EQ(status.Text(0), QStringLiteral("Builds the help file."));
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&window, &leave);
    EXPECT_EQ(status.Text(0), QStringLiteral("Ready."));
    QStatusTipEvent tip{QStringLiteral("Saves the project.")};
    QApplication::sendEvent(&window, &tip);
    EXPECT_EQ(status.Text(0), QStringLiteral("Saves the project."));

    EXPECT_EQ(table.Find(QStringLiteral("actNope")), nullptr);
    EXPECT_THROW(table.Get(QStringLiteral("actNope")), Error);
}

TEST_F(Actions, AThrowingSlotIsShownAndContained) {
    ActionTable table(&window, ui);
    QAction* a = table.Add({"actSave", "&Save", "Ctrl+S", "Save|Saves.", "", [] { throw Error("Disk full."); }});
    ui.ExpectMessage(MsgKind::Error, QStringLiteral("Disk full."));
    EXPECT_NO_THROW(a->trigger());
    ui.ExpectAllAnswered();
}

TEST_F(Actions, ManyRequestsGiveOneUpdate) {
    ActionTable table(&window, ui);
    int updates = 0;
    table.SetUpdater([&] { ++updates; });
    QLineEdit edit(&window);
    table.RequestOn(&edit, &QLineEdit::textChanged);
    for (int i = 0; i < 50; ++i) table.RequestUpdate();
    edit.setText(QStringLiteral("typed"));
    EXPECT_EQ(updates, 0) << "an update ran before the event loop";
    EXPECT_TRUE(table.UpdatePending());
    QApplication::processEvents();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(table.UpdateCount(), 1);
    EXPECT_FALSE(table.UpdatePending());

    // A signal after the update asks for one more.
    edit.setText(QStringLiteral("again"));
    QApplication::processEvents();
    EXPECT_EQ(updates, 2);
}

TEST_F(Actions, NothingPollsWhenNothingAsks) {
    ActionTable table(&window, ui);
    int updates = 0;
    table.SetUpdater([&] { ++updates; });
    QTest::qWait(150);
    EXPECT_EQ(updates, 0);
    EXPECT_FALSE(table.UpdatePending());
}

TEST_F(Actions, AMenuIsUpdatedBeforeItShows) {
    ActionTable table(&window, ui);
    QAction* undo = table.Add({"actUndo", "&Undo", "Ctrl+Z", "Undo|Undoes.", "", [] {}});
    bool canUndo = false;
    table.SetUpdater([&] { undo->setEnabled(canUndo); });
    QMenu menu;
    menu.addAction(undo);
    table.WatchMenu(&menu);
    table.RequestUpdate();
    canUndo = true;
    emit menu.aboutToShow();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(table.UpdateCount(), 1);
    EXPECT_FALSE(table.UpdatePending()) << "the pending request should have been served";
    QApplication::processEvents();
    EXPECT_EQ(table.UpdateCount(), 1);
}

TEST_F(Actions, FocusChangesRequestAnUpdate) {
    ActionTable table(&window, ui);
    int updates = 0;
    table.SetUpdater([&] { ++updates; });
    table.RequestOnFocusChange();
    auto* a = new QLineEdit(&window);
    auto* b = new QLineEdit(&window);
    window.setCentralWidget(new QWidget);
    a->setParent(window.centralWidget());
    b->setParent(window.centralWidget());
    window.show();
    QApplication::setActiveWindow(&window);
    a->setFocus();
    QApplication::processEvents();
    const int before = updates;
    b->setFocus();
    QApplication::processEvents();
    EXPECT_GT(updates, before);
}

TEST_F(Actions, AFailingUpdateIsContained) {
    ActionTable table(&window, ui);
    table.SetUpdater([] { throw std::runtime_error("rule failed"); });
    ui.ExpectMessage(MsgKind::Error, QStringLiteral("rule failed"));
    table.RequestUpdate();
    EXPECT_NO_THROW(QApplication::processEvents());
    ui.ExpectAllAnswered();
}

TEST_F(Actions, ThePrintDialogIsAnsweredByTheScript) {
    QPrinter printer;
    ui.SetParentWidget(&window);
    QWidget* parent = nullptr;
    ui.ExpectDialog(QStringLiteral("dlgPrint"), [&](QDialog& d) {
        parent = d.parentWidget();
        return int(QDialog::Accepted);
    });
    ui.ExpectDialog(QStringLiteral("dlgPrint"), [](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_TRUE(RunPrintDialog(ui, printer));
    EXPECT_EQ(parent, &window);
    EXPECT_FALSE(RunPrintDialog(ui, printer));
    ui.ExpectAllAnswered();
}
