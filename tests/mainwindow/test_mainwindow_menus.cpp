// The main window's keys and menus: every shortcut reaches one action and
// every menu letter one item, the project's recent files included.
#include <QMenuBar>

#include "mainwindow_fixture.h"
#include "widgets/actioncheck.h"

namespace qmtest {
namespace {

class MainWindowMenusTest : public MainWindowTest {};

TEST_F(MainWindowMenusTest, NoTwoActionsShareAShortcut) {
    auto w = Start();
    ASSERT_TRUE(started);
    const QList<QAction*> actions = w->findChildren<QAction*>();
    EXPECT_GT(actions.size(), 20);
    EXPECT_EQ(qm::ShortcutConflicts(actions), QStringList());
}

TEST_F(MainWindowMenusTest, NoMenuHasTwoItemsOnOneLetter) {
    settings.WriteString("MRU", "MRU1", root_ + "one.qpf");
    settings.WriteString("MRU", "MRU2", root_ + "two.qpf");
    auto w = Start();
    ASSERT_TRUE(started);
    ASSERT_NE(w->menuBar(), nullptr);
    EXPECT_GE(w->menuBar()->actions().size(), 4);
    EXPECT_EQ(qm::MenuMnemonicConflicts(*w), QStringList());
}

}  // namespace
}  // namespace qmtest
