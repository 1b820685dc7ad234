// The Tools menu's items follow the user tools list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>

#include "mainwindow/usertoolsmenu.h"
#include "support/qtapp.h"
#include "widgets/actioncheck.h"

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

// An "&" of a tool's name is text: the menu shows it, and the index digit
// stays the one letter that chooses the item.
TEST_F(SettingsMenus, AnAmpersandInAToolsNameShowsAsItself) {
    const struct Row {
        const char* name;
        int index;
        const char* caption;
    } rows[] = {
        {"Shell", 0, "&0 Shell"},
        {"Tom & Jerry", 1, "&1 Tom && Jerry"},
        {"&Edit", 2, "&2 &&Edit"},
        {"A&&B&", 9, "&9 A&&&&B&&"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QString caption = TUserToolsMenu::MenuCaption(r.index, TTool{"/bin/x", r.name});
        EXPECT_EQ(caption, QString::fromLatin1(r.caption));
        EXPECT_EQ(Mnemonic(caption), QChar('0' + r.index));
    }
    TUserTools tools;
    QMenu menu;
    QAction* bar = menu.addSeparator();
    TUserToolsMenu binder(tools, &menu, bar);
    tools.Add("/bin/sh", "Tom & Jerry");
    EXPECT_EQ(menu.actions().back()->text(), "&0 Tom && Jerry");
    EXPECT_EQ(menu.actions().back()->statusTip(), "Tom & Jerry");
}

}  // namespace
}  // namespace qm
