// The main window's keys and menus: every shortcut reaches one action and
// every menu letter one item, the project's recent files included; the tool
// bars and their toggles; the user tools at the end of the Tools menu.
#include <QComboBox>
#include <QDockWidget>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "mainwindow_fixture.h"
#include "model/usertools.h"
#include "widgets/actioncheck.h"
#include "widgets/actiontable.h"

namespace qmtest {
namespace {

class MainWindowMenusTest : public MainWindowTest {
protected:
    // Every menu the menu bar reaches, depth first.
    static QList<QMenu*> BarMenus(qm::TfrmMain& w) {
        QList<QMenu*> out;
        std::function<void(QMenu*)> walk = [&](QMenu* m) {
            out << m;
            for (QAction* a : m->actions())
                if (a->menu()) walk(a->menu());
        };
        for (QAction* a : w.menuBar()->actions())
            if (a->menu()) walk(a->menu());
        return out;
    }
};

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

TEST_F(MainWindowMenusTest, EveryItemOfTheMenuBarHasALetter) {
    settings.WriteString("MRU", "MRU1", root_ + "one.qpf");
    auto w = Start();
    ASSERT_TRUE(started);
    QStringList without;
    for (QAction* a : w->menuBar()->actions())
        if (qm::Mnemonic(a->text()).isNull()) without << a->text();
    auto* reopen = Child<QMenu>(*w, "mnuFileReopen");
    for (QMenu* menu : BarMenus(*w))
        for (QAction* a : menu->actions()) {
            // The empty slots of the recent files cannot be chosen.
            if (menu == reopen && !a->isEnabled()) continue;
            // The sixteen colours carry the colour table's names as they are.
            if (menu->objectName() == QLatin1String("ColorPopMenu") && a->data().toInt() < 16 &&
                a->data().toInt() >= 0 && a->data().isValid())
                continue;
            if (!a->isSeparator() && a->isVisible() && qm::Mnemonic(a->text()).isNull())
                without << menu->objectName() + QStringLiteral(": ") + a->text();
        }
    EXPECT_EQ(without.join(QStringLiteral("; ")).toStdString(), "");
    EXPECT_EQ(w->menuBar()->actions().size(), 9);
}

// The nine bars sit in the top area and stay there; each toggle is checked
// while its bar shows, whatever hid it, and hides and shows it. The bars
// are not remembered: each start shows them all.
TEST_F(MainWindowMenusTest, EachToolBarHasAToggleThatFollowsItAndIsNotRemembered) {
    const struct Row {
        const char* bar;
        const char* toggle;
        const char* caption;
    } rows[] = {
        {"tbStandard", "actToggleStandard", "&Standard"},
        {"tbFormat", "actToggleFormat", "&Format"},
        {"tbView", "actToggleView", "&View"},
        {"tbBuild", "actToggleBuild", "&Build"},
        {"tbTopics", "actToggleTopics", "T&opics"},
        {"tbTools", "actToggleTools", "&Tools"},
        {"tbTags", "actToggleTags", "T&ags"},
        {"tbProject", "actToggleProject", "&Project"},
        {"tbHistory", "actToggleHistory", "&History"},
    };
    {
        auto w = Start();
        ASSERT_TRUE(started);
        EXPECT_EQ(w->findChildren<QToolBar*>().size(), std::size(rows));
        auto* toolbars = Child<QMenu>(*w, "mnuViewToolbars");
        ASSERT_NE(toolbars, nullptr);
        for (const Row& r : rows) {
            SCOPED_TRACE(r.bar);
            auto* bar = Child<QToolBar>(*w, r.bar);
            QAction* toggle = Act(*w, r.toggle);
            ASSERT_TRUE(bar && toggle);
            EXPECT_EQ(w->toolBarArea(bar), Qt::TopToolBarArea);
            EXPECT_EQ(bar->allowedAreas(), Qt::TopToolBarArea);
            EXPECT_TRUE(toolbars->actions().contains(toggle));
            EXPECT_EQ(toggle->text(), r.caption);
            EXPECT_TRUE(toggle->isCheckable());
            w->updateActions();
            EXPECT_FALSE(bar->isHidden());
            EXPECT_TRUE(toggle->isChecked());
            toggle->trigger();
            EXPECT_TRUE(bar->isHidden());
            w->updateActions();
            EXPECT_FALSE(toggle->isChecked());
            toggle->trigger();
            EXPECT_FALSE(bar->isHidden());
            // Hidden some other way (its context menu): the toggle follows, and
            // the change asks for the update by itself.
            QApplication::processEvents();
            bar->hide();
            EXPECT_TRUE(w->Actions().UpdatePending());
            QApplication::processEvents();
            EXPECT_FALSE(toggle->isChecked());
        }
        ASSERT_TRUE(w->close());
    }
    auto w = Start();
    for (const Row& r : rows) EXPECT_FALSE(Child<QToolBar>(*w, r.bar)->isHidden()) << r.bar;
}

TEST_F(MainWindowMenusTest, APaneClosedByItsOwnButtonUnchecksItsToggle) {
    auto w = Start();
    for (auto [pane, toggle] : {std::pair{"pnlProject", "actToggleExplorer"}, {"pnlMessages", "actToggleMessages"}}) {
        SCOPED_TRACE(pane);
        QApplication::processEvents();
        ASSERT_TRUE(Act(*w, toggle)->isChecked());
        Child<QDockWidget>(*w, pane)->close();
        EXPECT_TRUE(w->Actions().UpdatePending());
        QApplication::processEvents();
        EXPECT_FALSE(Act(*w, toggle)->isChecked());
    }
}

TEST_F(MainWindowMenusTest, TheToolBarsHoldTheirButtonsAndBoxes) {
    auto w = Start();
    auto* open = Child<QToolButton>(*w, "tbbOpen");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->parentWidget(), Child<QToolBar>(*w, "tbStandard"));
    EXPECT_EQ(open->defaultAction(), Act(*w, "actOpen"));
    EXPECT_EQ(open->menu(), Child<QMenu>(*w, "MruPopup"));
    EXPECT_EQ(open->popupMode(), QToolButton::MenuButtonPopup);
    const struct Row {
        const char* part;
        const char* bar;
        const char* action;  // a button's action, "" for a box
    } rows[] = {
        {"tbbRemoveSelection", "tbProject", "actRemoveTopic"},
        {"tbbSelectionProps", "tbProject", "mnuProjectItemProperties"},
        {"tbbColors", "tbFormat", "actSetTextColor"},
        {"cboStyles", "tbFormat", ""},
        {"cboFonts", "tbFormat", ""},
        {"cboFontSize", "tbFormat", ""},
        {"cboTopics", "tbTopics", ""},
        {"cboPopups", "tbTopics", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.part);
        auto* part = Child<QWidget>(*w, r.part);
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->parentWidget(), Child<QToolBar>(*w, r.bar));
        if (*r.action) {
            auto* button = qobject_cast<QToolButton*>(part);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->defaultAction(), Act(*w, r.action));
        }
    }
    // The text colour's item in the Format menu opens the colour menu.
    EXPECT_EQ(Act(*w, "actSetTextColor")->menu(), Child<QMenu>(*w, "ColorPopMenu"));
    EXPECT_TRUE(Child<QMenu>(*w, "mnuFormat")->actions().contains(Act(*w, "actSetTextColor")));
}

// The user tools come last in the Tools menu, numbered from 0 with the digit
// as the letter; an "&" of a tool's name shows as itself. A chosen tool is
// opened through the shell.
TEST_F(MainWindowMenusTest, UserToolsComeLastAndOpenThroughTheShell) {
    {
        qm::TUserTools tools;
        tools.Add("/opt/tools/tj", "Tom & Jerry");
        tools.Add("/opt/tools/notes.txt", "Notes");
        tools.SaveToRegistry(settings);
    }
    auto w = Start();
    ASSERT_TRUE(started);
    const QList<QAction*> items = Child<QMenu>(*w, "mnuTools")->actions();
    ASSERT_GE(items.size(), 3);
    QAction* first = items[items.size() - 2];
    QAction* second = items.back();
    EXPECT_TRUE(items[items.size() - 3]->isSeparator());
    EXPECT_TRUE(items[items.size() - 3]->isVisible());
    EXPECT_EQ(first->text(), "&0 Tom && Jerry");
    EXPECT_EQ(qm::Mnemonic(first->text()), QChar('0'));
    EXPECT_EQ(second->text(), "&1 Notes");
    EXPECT_EQ(qm::MenuMnemonicConflicts(*w), QStringList());
    second->trigger();
    first->trigger();
    EXPECT_EQ(ui.shell.opened, (std::vector<std::string>{"/opt/tools/notes.txt", "/opt/tools/tj"}));
    // A tool that cannot be opened says nothing.
    ui.shell.answer = {false, "not found"};
    first->trigger();
    EXPECT_EQ(ui.shell.opened.size(), 3u);
}

}  // namespace
}  // namespace qmtest
