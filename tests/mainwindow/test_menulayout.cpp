// The layout table's builder: what each kind of item becomes, and that a
// name it cannot place stops the build with that name.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "mainwindow/menulayout.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "util/errors.h"
#include "widgets/actiontable.h"

namespace qm {
namespace {

class MenuLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }

    void SetUp() override {
        actions_ = new ActionTable(&window_, ui_);
        for (const char* name : {"actNew", "actOpen", "actSave", "actColour"})
            actions_->Add({name, name, "", "", "", {}});
        recent_ = new QMenu(QStringLiteral("&Reopen"), &window_);
        recent_->setObjectName(QStringLiteral("mnuRecent"));
        box_ = new QComboBox(&window_);
        box_->setObjectName(QStringLiteral("cboBox"));
        bar_ = new QToolBar(&window_);
        bar_->setObjectName(QStringLiteral("tbMade"));
        named_ = {{"mnuRecent", recent_}, {"cboBox", box_}, {"tbMade", bar_}};
    }

    // The message of the error the build throws; empty when it builds.
    std::string BuildError(const TWindowLayout& layout) {
        QMainWindow window;
        ActionTable actions(&window, ui_);
        for (QAction* a : actions_->Actions()) actions.Add({qPrintable(a->objectName()), "", "", "", "", {}});
        QMenu recent(&window);
        QComboBox box(&window);
        QToolBar bar(&window);
        const TNamedParts named{{"mnuRecent", &recent}, {"cboBox", &box}, {"tbMade", &bar}};
        try {
            BuildLayout(window, actions, named, layout);
        } catch (const Error& e) {
            return e.what();
        }
        return {};
    }

    qmtest::ScriptedUiServices ui_;
    QMainWindow window_;
    ActionTable* actions_ = nullptr;
    QMenu* recent_ = nullptr;
    QComboBox* box_ = nullptr;
    QToolBar* bar_ = nullptr;
    TNamedParts named_;
};

TEST_F(MenuLayoutTest, EachKindOfItemBecomesItsPart) {
    const TWindowLayout layout{
        {"mnuFile"},
        {{"mnuFile", "&File", {"actNew", "-", "mnuRecent", "mnuSub", "actColour|mnuRecent"}},
         {"mnuSub", "&More", {"actSave"}}},
        {{{"tbOne", "One", {"actNew", "actOpen|mnuRecent", "-", "cboBox"}}}, {{"tbMade", "", {"actSave"}}}},
    };
    const TBuiltLayout built = BuildLayout(window_, *actions_, named_, layout);

    ASSERT_EQ(window_.menuBar()->actions().size(), 1);
    QMenu* file = built.Menus.value("mnuFile");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(window_.menuBar()->actions().front(), file->menuAction());
    EXPECT_EQ(file->title(), "&File");
    const QList<QAction*> items = file->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0], actions_->Find("actNew"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->menu(), recent_);
    QMenu* sub = built.Menus.value("mnuSub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(items[3]->menu(), sub);
    EXPECT_EQ(sub->title(), "&More");
    EXPECT_EQ(sub->actions(), QList<QAction*>{actions_->Find("actSave")});
    // An action with a drop-down opens it as its sub-menu.
    EXPECT_EQ(items[4], actions_->Find("actColour"));
    EXPECT_EQ(items[4]->menu(), recent_);
    EXPECT_TRUE(built.AllMenus().contains(recent_));

    QToolBar* one = built.ToolBars.value("tbOne");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->objectName(), "tbOne");
    EXPECT_EQ(window_.toolBarArea(one), Qt::TopToolBarArea);
    EXPECT_EQ(one->allowedAreas(), Qt::TopToolBarArea);
    ASSERT_EQ(one->actions().size(), 4);
    EXPECT_EQ(one->actions()[0], actions_->Find("actNew"));
    auto* open = one->findChild<QToolButton*>("tbbOpen");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->defaultAction(), actions_->Find("actOpen"));
    EXPECT_EQ(open->menu(), recent_);
    EXPECT_EQ(open->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(box_->parentWidget(), one);
    // A tool bar made elsewhere takes its place on the next line.
    EXPECT_EQ(built.ToolBars.value("tbMade"), bar_);
    EXPECT_EQ(window_.toolBarArea(bar_), Qt::TopToolBarArea);
    EXPECT_TRUE(window_.toolBarBreak(bar_));
    EXPECT_EQ(bar_->actions(), QList<QAction*>{actions_->Find("actSave")});
}

TEST_F(MenuLayoutTest, ANameItCannotPlaceStopsTheBuildNamingIt) {
    struct Row {
        const char* name;
        TWindowLayout layout;
        const char* named;  // the name the message must quote
    } rows[] = {
        {"a typo in a menu", {{"mnuFile"}, {{"mnuFile", "&File", {"actNew", "actSvae"}}}, {}}, "actSvae"},
        {"a typo in a tool bar", {{}, {}, {{{"tbOne", "One", {"actNew", "cboBxo"}}}}}, "cboBxo"},
        {"a menu of the bar that no row lays out", {{"mnuFiel"}, {}, {}}, "mnuFiel"},
        {"a control in a menu", {{"mnuFile"}, {{"mnuFile", "&File", {"cboBox"}}}, {}}, "cboBox"},
        {"a menu in a tool bar", {{}, {}, {{{"tbOne", "One", {"mnuRecent"}}}}}, "mnuRecent"},
        {"a drop-down of no command", {{"mnuFile"}, {{"mnuFile", "&File", {"actOpn|mnuRecent"}}}, {}}, "actOpn"},
        {"a drop-down of no menu", {{}, {}, {{{"tbOne", "One", {"actOpen|mnuRecnt"}}}}}, "mnuRecnt"},
        {"a sub-menu placed nowhere",
         {{"mnuFile"}, {{"mnuFile", "&File", {"actNew"}}, {"mnuLost", "&Lost", {"actSave"}}}, {}},
         "mnuLost"},
        {"a tool bar named as a command", {{}, {}, {{{"actNew", "New", {}}}}}, "actNew"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string message = BuildError(r.layout);
        EXPECT_NE(message.find(std::string("\"") + r.named + "\""), std::string::npos) << message;
    }
    EXPECT_EQ(BuildError({{"mnuFile"}, {{"mnuFile", "&File", {"actNew", "mnuRecent"}}}, {}}), "");
}

}  // namespace
}  // namespace qm
