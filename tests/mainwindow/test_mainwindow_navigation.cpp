// Following links and the navigation history, end to end in the real window.
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "editor/vlist.h"
#include "navigation_fixture.h"
#include "preprocess/edittags.h"
#include "util/errors.h"

namespace qmtest {
namespace {

using qm::HistoryList;

class MainWindowNavigationTest : public NavigationTest {
protected:
    // The contents topic links to Beta (with an anchor), to the popup
    // PopOne, to a module that does not exist, and holds an image hotspot.
    std::string LinkedSample() {
        return SaveModules(Paragraphs({"See <LINK TOPIC=\"Beta:sec\">the beta topic</LINK> now.",
                                       "A <ULINK POPUP=\"PopOne\">pop word</ULINK> here.",
                                       "Broken <LINK TOPIC=\"Nowhere\">gone</LINK> link.",
                                       "Picture <LINK TOPIC=\"Beta\"><IMAGE \"x.bmp\"></LINK> end."}),
                           {"Beta"}, {"PopOne"});
    }
    static QString MenuText(qm::TfrmMain& w, const char* item) { return Act(w, item)->text(); }
    static void Visit(qm::TfrmMain& w, const std::vector<const char*>& names) {
        for (const char* n : names) OpenRow(w, "lstTopics", QString::fromLatin1(n));
    }
    static void DoubleClick(qm::TfrmMain& w, int pos) {
        QTest::mouseDClick(w.Editor()->viewport(), Qt::LeftButton, {}, PointAt(w, pos));
    }
};

TEST_F(MainWindowNavigationTest, F12FollowsTheLinkAndAltArrowsGoBackAndOn) {
    auto w = Start({qm::FromCp1252(LinkedSample())});
    ASSERT_EQ(CurrentName(*w), "Beta");  // the first topic by name
    OpenRow(*w, "lstTopics", "Contents");
    w->Editor()->SetSelStart(PosOf(*w, "beta topic"));
    Keys(*w, w->Editor(), "F12");
    EXPECT_EQ(CurrentName(*w), "Beta");  // the name before the colon
    EXPECT_EQ(w->BackHistory(), (QStringList{"Contents", "Beta"}));
    Keys(*w, w->Editor(), "Alt+Left");
    EXPECT_EQ(CurrentName(*w), "Contents");
    EXPECT_EQ(w->BackHistory(), QStringList{"Beta"});
    EXPECT_EQ(w->ForwardHistory(), QStringList{"Beta"});
    Keys(*w, w->Editor(), "Alt+Right");
    EXPECT_EQ(CurrentName(*w), "Beta");
    EXPECT_EQ(w->BackHistory(), (QStringList{"Contents", "Beta"}));
    EXPECT_TRUE(w->ForwardHistory().isEmpty());
    // The three are in the Navigate menu.
    const QList<QAction*> nav = Child<QMenu>(*w, "mnuNavigate")->actions();
    for (const char* name : {"actHistBack", "actHistForward", "actFollowLink"})
        EXPECT_TRUE(nav.contains(Act(*w, name)));
}

TEST_F(MainWindowNavigationTest, FollowLinkOpensPopupsDoesNothingOffALinkAndReportsAMissingTarget) {
    auto w = Start({qm::FromCp1252(LinkedSample())});
    OpenRow(*w, "lstTopics", "Contents");
    QAction* follow = Act(*w, "actFollowLink");
    w->Editor()->SetSelStart(PosOf(*w, "pop word") + 2);
    follow->trigger();
    EXPECT_EQ(CurrentName(*w), "PopOne");
    EXPECT_EQ(Child<QTabWidget>(*w, "tbsProject")->currentIndex(), 1);

    OpenRow(*w, "lstTopics", "Contents");
    const QStringList back = w->BackHistory();
    for (const char* off : {"See", "now.", "</LINK> now", "x.bmp"}) {
        SCOPED_TRACE(off);
        w->Editor()->SetSelStart(PosOf(*w, off) + 1);
        follow->trigger();
        EXPECT_EQ(CurrentName(*w), "Contents");
        EXPECT_EQ(w->BackHistory(), back);
    }
    w->Editor()->SetSelStart(PosOf(*w, "gone"));
    ui.ExpectMessage(qm::MsgKind::Information, "Invalid link. No reference found within the project.");
    follow->trigger();
    EXPECT_EQ(CurrentName(*w), "Contents");
}

TEST_F(MainWindowNavigationTest, TheMenusListTheEntriesAndAJumpMovesTheSkippedOnes) {
    auto w = Start({qm::FromCp1252(SaveModules(BodyRtf("c"), {"A", "B", "C", "D", "E"}))});
    ASSERT_EQ(CurrentName(*w), "A");
    Visit(*w, {"B", "C", "D", "E"});
    const char* texts[] = {"&0  D", "&1  C", "&2  B", "&3  A"};
    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(k);
        QAction* item = Act(*w, ("mnuHistBack" + std::to_string(k)).c_str());
        EXPECT_EQ(item->isVisible(), k < 4);
        if (k < 4) {
            EXPECT_EQ(item->text(), QString::fromLatin1(texts[k]));
            EXPECT_EQ(item->data().toInt(), k);
        }
        EXPECT_FALSE(Act(*w, ("mnuHistForward" + std::to_string(k)).c_str())->isVisible());
    }
    Act(*w, "mnuHistBack2")->trigger();
    EXPECT_EQ(CurrentName(*w), "B");
    EXPECT_EQ(w->ForwardHistory(), (QStringList{"C", "D", "E"}));
    EXPECT_EQ(w->BackHistory(), QStringList{"A"});
    EXPECT_EQ(MenuText(*w, "mnuHistForward2"), "&2  E");
    EXPECT_FALSE(Act(*w, "mnuHistBack1")->isVisible());

    Act(*w, "mnuHistForward1")->trigger();
    EXPECT_EQ(CurrentName(*w), "D");
    EXPECT_EQ(w->BackHistory(), (QStringList{"C", "B", "A"}));
    EXPECT_EQ(w->ForwardHistory(), QStringList{"E"});
    // An ordinary visit empties the forward list.
    OpenRow(*w, "lstTopics", "A");
    EXPECT_TRUE(w->ForwardHistory().isEmpty());
    EXPECT_EQ(w->BackHistory(), (QStringList{"D", "C", "B", "A"}));
}

TEST_F(MainWindowNavigationTest, TheHistoryBarHoldsDropDownButtonsAndItsToggleShowsIt) {
    auto w = Start();
    auto* bar = Child<QToolBar>(*w, "tbHistory");
    for (const char* name : {"tbbHistBack", "tbbHistForward"}) {
        SCOPED_TRACE(name);
        auto* button = Child<QToolButton>(*w, name);
        EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
        ASSERT_NE(button->menu(), nullptr);
        EXPECT_EQ(button->menu()->actions().size(), 10);
    }
    EXPECT_EQ(Child<QToolButton>(*w, "tbbHistBack")->defaultAction(), Act(*w, "actHistBack"));
    QAction* toggle = Act(*w, "actToggleHistory");
    w->updateActions();
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(bar->isHidden());
    toggle->trigger();
    EXPECT_FALSE(bar->isHidden());
    // Hidden otherwise (the tool bars' own menu), the check follows.
    bar->hide();
    w->updateActions();
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(MainWindowNavigationTest, AnEmptyListOffersNoStepAndAStepRunAnywayDoesNothing) {
    auto w = Start({qm::FromCp1252(SaveModules(BodyRtf("c"), {"A", "B"}))});
    w->updateActions();
    EXPECT_FALSE(Act(*w, "actHistBack")->isEnabled());
    EXPECT_FALSE(Act(*w, "actHistForward")->isEnabled());
    EXPECT_FALSE(Child<QToolButton>(*w, "tbbHistBack")->isEnabled());
    w->HistoryStep(HistoryList::Back, 0);
    w->HistoryStep(HistoryList::Forward, 0);
    EXPECT_EQ(CurrentName(*w), "A");
    Visit(*w, {"B"});
    w->updateActions();
    EXPECT_TRUE(Act(*w, "actHistBack")->isEnabled());
    EXPECT_FALSE(Act(*w, "actHistForward")->isEnabled());
    // An entry past the list's end, as a stale menu item could ask for.
    w->HistoryStep(HistoryList::Back, 5);
    EXPECT_EQ(CurrentName(*w), "B");
    EXPECT_EQ(w->BackHistory(), QStringList{"A"});
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
}

TEST_F(MainWindowNavigationTest, AFailedOpenLeavesTheHistoryTheModuleAndItsText) {
    auto w = Start({qm::FromCp1252(SaveModules(BodyRtf("c"), {"A", "B", "C", "D", "E"}))});
    Visit(*w, {"B", "C"});
    w->Project().Modified = false;
    const qm::TNodeId b = w->Project().Topics.FindByName("B")->Id();
    const qm::TNodeId e = w->Project().Topics.FindByName("E")->Id();
    onLoadModule = [&](qm::TNodeId id) {
        if (id == b || id == e) throw qm::Error("The module could not be read.");
    };
    struct Row {
        const char* name;
        int page;  // the explorer's page when the step starts
        std::function<void()> open;
    } rows[] = {
        {"Back", 0,
         [&] {
             w->updateActions();
             Act(*w, "actHistBack")->trigger();
         }},
        {"a menu jump from the popups page", 1, [&] { Act(*w, "mnuHistBack0")->trigger(); }},
        {"an ordinary open", 0, [&] { OpenRow(*w, "lstTopics", "E"); }},
    };
    auto* tabs = Child<QTabWidget>(*w, "tbsProject");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        tabs->setCurrentIndex(row.page);
        ui.ExpectMessage(qm::MsgKind::Error, "The module could not be read.");
        row.open();
        EXPECT_EQ(CurrentName(*w), "C");
        EXPECT_TRUE(EditorText(*w).startsWith("C body"));
        // The explorer stays where it was, the open module's row selected.
        EXPECT_EQ(tabs->currentIndex(), row.page);
        EXPECT_EQ(Child<QListWidget>(*w, "lstTopics")->currentItem()->text(), "C");
        EXPECT_EQ(w->BackHistory(), (QStringList{"B", "A"}));
        EXPECT_TRUE(w->ForwardHistory().isEmpty());
        EXPECT_FALSE(w->Project().Modified);
    }
    // The history flag fell back: an ordinary visit records again.
    onLoadModule = nullptr;
    OpenRow(*w, "lstTopics", "D");
    EXPECT_EQ(w->BackHistory(), (QStringList{"C", "B", "A"}));
    Act(*w, "actHistBack")->trigger();
    EXPECT_EQ(CurrentName(*w), "C");
    EXPECT_EQ(w->ForwardHistory(), QStringList{"D"});
}

TEST_F(MainWindowNavigationTest, ARemovedModulesEntryIsReportedAndDroppedAndTheModuleStays) {
    auto w = Start({qm::FromCp1252(SaveModules(BodyRtf("c"), {"A", "B", "C"}))});
    Visit(*w, {"B", "C"});
    // A renamed module's entry follows it; the message names its last name.
    w->Project().Topics.FindByName("A")->SetName("Old");
    w->RefillLists();
    emit Child<QMenu>(*w, "mnuPopHistBack")->aboutToShow();
    EXPECT_EQ(MenuText(*w, "mnuHistBack1"), "&1  Old");
    w->Project().Topics.DeleteNode(w->Project().Topics.FindByName("Old"));
    w->RefillLists();
    ui.ExpectMessage(qm::MsgKind::Information, "The module Old no longer exists in the project.");
    Act(*w, "mnuHistBack1")->trigger();
    EXPECT_EQ(CurrentName(*w), "C");
    EXPECT_TRUE(EditorText(*w).startsWith("C body"));
    EXPECT_EQ(w->BackHistory(), QStringList{"B"});
    EXPECT_FALSE(Act(*w, "mnuHistBack1")->isVisible());
}

TEST_F(MainWindowNavigationTest, EntriesFollowARenameAndAnAmpersandStaysText) {
    auto w = Start({qm::FromCp1252(SaveModules(BodyRtf("c"), {"A", "B", "C"}))});
    Visit(*w, {"B", "C"});
    w->Project().Topics.FindByName("A")->SetName("Gamma");
    w->Project().Topics.FindByName("B")->SetName("R&D");
    w->RefillLists();
    emit Child<QMenu>(*w, "mnuPopHistBack")->aboutToShow();
    EXPECT_EQ(MenuText(*w, "mnuHistBack0"), "&0  R&&D");
    EXPECT_EQ(MenuText(*w, "mnuHistBack1"), "&1  Gamma");
    EXPECT_EQ(w->BackHistory(), (QStringList{"R&D", "Gamma"}));
    Act(*w, "mnuHistBack1")->trigger();
    EXPECT_EQ(CurrentName(*w), "Gamma");
    EXPECT_TRUE(EditorText(*w).startsWith("A body"));
    EXPECT_EQ(w->ForwardHistory(), (QStringList{"R&D", "C"}));
    Act(*w, "mnuHistForward0")->trigger();
    EXPECT_EQ(CurrentName(*w), "R&D");
}

TEST_F(MainWindowNavigationTest, TheLimitComesFromTheOptions) {
    auto w = Start({qm::FromCp1252(SaveModules(BodyRtf("c"), {"A", "B", "C", "D", "E", "F", "G", "H"}))});
    w->Options().HistoryStack = 5;  // as the options dialog sets it
    Visit(*w, {"B", "C", "D", "E", "F", "G", "H"});
    EXPECT_EQ(w->BackHistory(), (QStringList{"G", "F", "E", "D", "C"}));
}

TEST_F(MainWindowNavigationTest, ADoubleClickFollowsALinkOnlyWhereTheOptionAndTheLinkSayTo) {
    auto w = Start({qm::FromCp1252(LinkedSample())});
    OpenRow(*w, "lstTopics", "Contents");
    ASSERT_TRUE(w->Options().DblClickFollowsLink);
    DoubleClick(*w, PosOf(*w, "beta topic") + 2);
    EXPECT_EQ(CurrentName(*w), "Beta");
    w->HistoryStep(HistoryList::Back, 0);
    ASSERT_EQ(CurrentName(*w), "Contents");
    // On the end tag, or on the start tag of an image hotspot: the word.
    for (const char* at : {"LINK> now", "IMAGE"}) {
        SCOPED_TRACE(at);
        DoubleClick(*w, PosOf(*w, at) + 1);
        EXPECT_EQ(CurrentName(*w), "Contents");
        EXPECT_FALSE(w->Editor()->GetSelText().empty());
    }
    // With the option off, a link is a word like any other.
    w->Options().DblClickFollowsLink = false;
    DoubleClick(*w, PosOf(*w, "beta topic") + 2);
    EXPECT_EQ(CurrentName(*w), "Contents");
    EXPECT_EQ(w->Editor()->GetSelText(), "beta");
    w->Options().DblClickFollowsLink = true;
    ui.ExpectMessage(qm::MsgKind::Information, "Invalid link. No reference found within the project.");
    DoubleClick(*w, PosOf(*w, "gone"));
    EXPECT_EQ(CurrentName(*w), "Contents");
}

TEST_F(MainWindowNavigationTest, ThePopUpMenusFollowLinkIsEnabledOnlyInsideALink) {
    auto w = Start({qm::FromCp1252(LinkedSample())});
    OpenRow(*w, "lstTopics", "Contents");
    QMenu* menu = w->EditorPopup();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), "EditorPopMenu");
    QAction* item = Act(*w, "mnuEditorPopFollowLink");
    struct Row {
        const char* at;
        int offset;
        bool enabled;
    } rows[] = {{"<LINK TOPIC=\"Beta", 0, true}, {"beta topic", 3, true}, {"pop word", 0, true},
                {"</LINK> now", 0, false},       {"See", 1, false},       {"x.bmp", 0, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.at);
        w->Editor()->SetSelStart(PosOf(*w, r.at) + r.offset);
        emit menu->aboutToShow();
        EXPECT_EQ(item->isEnabled(), r.enabled);
    }
    w->Editor()->SetSelStart(PosOf(*w, "pop word"));
    emit menu->aboutToShow();
    item->trigger();
    EXPECT_EQ(CurrentName(*w), "PopOne");
}

// The tag commands own the editor's pop-up menu: a right click opens that one
// menu, once, with the link item beside the tag items, each enabled by the
// tag at the caret.
TEST_F(MainWindowNavigationTest, ARightClickOpensTheOneEditorMenuWithTheLinkAndTagItems) {
    auto w = Start({qm::FromCp1252(LinkedSample())});
    OpenRow(*w, "lstTopics", "Contents");
    w->show();
    QMenu* menu = w->EditorPopup();
    ASSERT_NE(menu, nullptr);
    int opened = 0;
    QObject::connect(menu, &QMenu::aboutToShow, menu, [&] { ++opened; });
    auto shownMenus = [] {
        QList<QMenu*> shown;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible()) shown.push_back(m);
        return shown;
    };
    struct Row {
        const char* name;
        const char* at;
        int offset;
        bool followLink;
        bool editTag;
    } rows[] = {{"inside a link", "beta topic", 3, true, true}, {"in plain prose", "See", 1, false, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        opened = 0;
        w->Editor()->SetSelStart(PosOf(*w, r.at) + r.offset);
        emit w->Editor()->customContextMenuRequested(PointAt(*w, PosOf(*w, r.at)));
        const QList<QMenu*> shown = shownMenus();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown.front(), menu);
        EXPECT_EQ(opened, 1);
        EXPECT_TRUE(menu->actions().contains(Act(*w, "mnuEditorPopFollowLink")));
        EXPECT_EQ(Act(*w, "mnuEditorPopFollowLink")->isEnabled(), r.followLink);
        EXPECT_EQ(Act(*w, "mnuEditorPopEditTag")->isEnabled(), r.editTag);
        menu->hide();
    }
}

// The editor's key handling (the member list) and the double-click follow
// share the editor: the keys still open and close the list, and a double
// click on a link still follows it.
TEST_F(MainWindowNavigationTest, MemberListKeysAndTheDoubleClickFollowLiveSideBySide) {
    auto w = Start({qm::FromCp1252(LinkedSample())});
    OpenRow(*w, "lstTopics", "Contents");
    w->show();
    qm::TOptions& o = w->Options();
    o.EnableTagInsight = o.PopupTags = o.AddClosingBrackets = true;
    o.DblClickFollowsLink = true;
    auto* list = w->findChild<qm::TfrmVList*>();
    ASSERT_NE(list, nullptr);
    w->Editor()->SetSelStart(PosOf(*w, " now."));
    QTest::keyClicks(w->Editor(), QStringLiteral("<"));
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->ListKind(), qm::lkTags);
    QTest::keyClick(w->Editor(), Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    DoubleClick(*w, PosOf(*w, "beta topic") + 2);
    EXPECT_EQ(CurrentName(*w), "Beta");
}

TEST_F(MainWindowNavigationTest, OpeningAnotherProjectClearsTheHistory) {
    const std::string path = SaveModules(BodyRtf("c"), {"A", "B"});
    auto w = Start({qm::FromCp1252(path)});
    Visit(*w, {"B"});
    ASSERT_FALSE(w->BackHistory().isEmpty());
    ASSERT_TRUE(w->ProjectCommands().OpenProjectFile(path));
    EXPECT_TRUE(w->BackHistory().isEmpty());
    EXPECT_FALSE(Act(*w, "mnuHistBack0")->isVisible());
}

// A picture of the window with the Back drop-down open; the script
// tools/screenshot-navigation.sh keeps it (QM_SCREENSHOT names the file).
TEST_F(MainWindowNavigationTest, ScreenshotOfTheBackMenu) {
    auto w = Start({qm::FromCp1252(
        SaveModules(BodyRtf("c"), {"Introduction", "Getting_Started", "Orders", "Invoices", "Reports"}))});
    Visit(*w, {"Orders", "Invoices", "Getting_Started", "Reports"});
    w->resize(1100, 720);
    w->show();
    QApplication::processEvents();
    auto* button = Child<QToolButton>(*w, "tbbHistBack");
    QMenu* menu = button->menu();
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
    QApplication::processEvents();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(MenuText(*w, "mnuHistBack0"), "&0  Getting_Started");
    // The menu is a window of its own: drawn onto the window's picture where it stands.
    QImage shot = w->grab().toImage();
    {
        QPainter p(&shot);
        p.drawPixmap(w->mapFromGlobal(menu->geometry().topLeft()), menu->grab());
    }
    menu->hide();
    QString file = qEnvironmentVariable("QM_SCREENSHOT");
    if (file.isEmpty()) file = QString::fromStdString(root_) + "backmenu.png";
    EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
}

}  // namespace
}  // namespace qmtest
