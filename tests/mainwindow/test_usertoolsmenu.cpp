// The Tools menu's items follow the user tools list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>

#include "mainwindow/usertoolsmenu.h"
#include "support/qtapp.h"

namespace qm {
namespace {

class SettingsMenus : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = &qmtest::EnsureQtApp(); }
    static inline QApplication* app_ = nullptr;
};

TEST_F(SettingsMenus, UserToolsMenuFollowsTheList) {
    TUserTools tools;
    QMenu menu;
    menu.addAction("&Options...");
    QAction* bar = menu.addSeparator();
    QAction* last = menu.addAction("After the tools");
    TUserToolsMenu binder(tools, &menu, bar);
    EXPECT_FALSE(bar->isVisible());

    tools.Add("/bin/sh", "Shell");
    tools.Add("/no/such/tool", "Missing");
    tools.Add("/bin/ls", "List");
    QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(actions[1], bar);
    EXPECT_EQ(actions[2]->text(), "&0 Shell");
    EXPECT_EQ(actions[3]->text(), "&1 Missing");
    EXPECT_EQ(actions[4]->text(), "&2 List");
    EXPECT_EQ(actions[5], last);
    EXPECT_EQ(actions[2]->statusTip(), "Shell");
    EXPECT_TRUE(bar->isVisible());

    // After a removal each item still runs the tool its caption names.
    tools.Delete(0);
    actions = menu.actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[2]->text(), "&0 Missing");
    EXPECT_EQ(actions[3]->text(), "&1 List");
    QSignalSpy spy(&binder, &TUserToolsMenu::toolChosen);
    actions[3]->trigger();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(tools.GetTool(spy[0][0].toInt()).Name, "List");

    tools.Delete(0);
    tools.Delete(0);
    EXPECT_EQ(menu.actions().size(), 3);
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace qm
