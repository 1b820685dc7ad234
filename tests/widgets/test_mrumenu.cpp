// The recent-projects menu follows its list, and outlives neither.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <memory>

#include "model/mru.h"
#include "support/qtapp.h"
#include "widgets/mrumenu.h"

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

}  // namespace
}  // namespace qm
