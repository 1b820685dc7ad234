#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>

#include <memory>

#include "editor/mrumenu.h"
#include "editor/usertoolsmenu.h"

namespace qm {
namespace {

class SettingsMenus : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = &qmtest::EnsureQtApp(); }
    static inline QApplication* app_ = nullptr;
};

TEST_F(SettingsMenus, RecentProjectsMenu) {
    TMru mru;
    QMenu menu;
    QAction* other = menu.addAction("Other item");
    TMruMenu binder(mru, &menu);
    ASSERT_EQ(menu.actions().size(), 11);
    EXPECT_EQ(menu.actions().last(), other);  // the ten items go first
    EXPECT_EQ(binder.Item(3)->text(), "&3 <No Project>");
    EXPECT_FALSE(binder.Item(3)->isEnabled());

    mru.Add("first.qpj");
    mru.Add("caf\xE9.qpj");
    EXPECT_EQ(binder.Item(0)->text(), QString::fromUtf8("&0 caf\xC3\xA9.qpj"));
    EXPECT_EQ(binder.Item(1)->text(), "&1 first.qpj");
    EXPECT_TRUE(binder.Item(1)->isEnabled());
    EXPECT_EQ(binder.Item(2)->text(), "<No Project>");
    EXPECT_FALSE(binder.Item(2)->isEnabled());

    QSignalSpy spy(&binder, &TMruMenu::projectChosen);
    binder.Item(1)->trigger();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 2);
    EXPECT_EQ(spy[0][1].toString(), "first.qpj");

    mru.Clear();
    EXPECT_EQ(binder.Item(0)->text(), "&0 <No Project>");
    EXPECT_FALSE(binder.Item(0)->isEnabled());
}

TEST_F(SettingsMenus, RecentProjectsOutliveTheirMenu) {
    TMru mru;
    {
        auto menu = std::make_unique<QMenu>();
        TMruMenu binder(mru, menu.get());
    }
    EXPECT_NO_FATAL_FAILURE(mru.Add("after.qpj"));
    EXPECT_EQ(mru.GetItem(1), "after.qpj");
}

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
