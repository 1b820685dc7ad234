// The windows editor: names, MAIN's buttons, the Help-topics rule, the
// position in pixels and help units, the auto-sizer, colours, macros, and
// what OK and Cancel leave in the project.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "dialogs/autosizer.h"
#include "dialogs/macroedit.h"
#include "dialogs/windowseditor.h"
#include "tagform_fixture.h"
#include "util/helpunits.h"

namespace qmtest {
namespace {

using qm::TfrmWindows;
using qm::TWindowDef;

class WindowsEditorTest : public TagFormTest {
protected:
    void SetUp() override {
        TagFormTest::SetUp();
        qm::SetScreenMetrics(&screen);
        project.Topics.FindByName("Intro")->SetWindow("second");
    }
    void TearDown() override {
        qm::SetScreenMetrics(nullptr);
        qm::TfrmAutoSizer::ForcePositionUnknown(false);
        TagFormTest::TearDown();
    }
    static QStringList Rows(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    static void Select(TfrmWindows& d, const QString& name) {
        const auto found = d.lstWindows->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        d.lstWindows->setCurrentItem(found.front());
    }
    static std::array<int, 4> Position(const TfrmWindows& d) {
        return {d.udLeft->value(), d.udTop->value(), d.udWidth->value(), d.udHeight->value()};
    }
    static std::array<int, 4> Stored(const TWindowDef& w) { return {w.X, w.Y, w.W, w.H}; }

    qm::FixedScreenMetrics screen{{1024, 768}};
};

TEST_F(WindowsEditorTest, NewNamesAreTrimmedCutAndChecked) {
    struct Row {
        const char* name;
        QString typed;
        QString message;  // empty: no box
        QString added;    // empty: nothing added
    } rows[] = {
        {"a plain name", "proc4", "", "proc4"},
        {"blanks around are trimmed", "  proc5  ", "", "proc5"},
        {"cut to eight characters", "abcdefghijk", "", "abcdefgh"},
        {"empty says nothing", "   ", "", ""},
        {"another case of a name in use", "MAIN", "A window named MAIN already exists.", ""},
        {"a blank inside", "a b", "Spaces are not allowed in window names.", ""},
        {"a bad last character", "proc!", "Invalid window name.", ""},
        {"the ninth character is dropped before the check", "procedur!", "", "procedur"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmWindows d(factory, project, macros);
        ui.ExpectInput(row.typed, "Enter the new window name:");
        if (!row.message.isEmpty()) ui.ExpectMessage(qm::MsgKind::Information, row.message);
        d.NewClick();
        const QStringList expected =
            row.added.isEmpty() ? QStringList{"main", "second"} : QStringList{"main", "second", row.added};
        EXPECT_EQ(Rows(d.lstWindows), expected);
        if (!row.added.isEmpty()) {
            EXPECT_EQ(d.txtWindowName->text(), row.added);
            // The defaults: 600 x 480 centred, buttons 51, white.
            EXPECT_EQ(Position(d), (std::array<int, 4>{212, 144, 600, 480}));
            EXPECT_EQ(d.Current()->Buttons, 51);
        }
    }
    EXPECT_EQ(project.Windows.Count(), 2);  // none of it reached the project
}

TEST_F(WindowsEditorTest, MainKeepsItsDefaultButtonsAndCannotBeRemovedOrRenamed) {
    project.Windows.GetWindow(1).SetName("MAIN");
    project.Windows.GetWindow(1).Buttons = 0;
    TfrmWindows d(factory, project, macros);
    d.Activate();
    EXPECT_EQ(d.lstWindows->currentRow(), 0);
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    EXPECT_FALSE(d.cmdRename->isEnabled());
    EXPECT_FALSE(d.chkNoDefButtons->isHidden());
    for (QCheckBox* c : {d.chkContents, d.chkIndex, d.chkHelpTopics, d.chkPrint, d.chkBack}) {
        SCOPED_TRACE(c->objectName().toStdString());
        EXPECT_TRUE(c->isChecked());
        EXPECT_FALSE(c->isEnabled());
    }
    // Showing MAIN gives it its five buttons: the one change showing makes.
    EXPECT_EQ(d.Current()->Buttons, 1 | 2 | 8 | 16 | 32);

    d.chkNoDefButtons->click();
    EXPECT_TRUE(d.Current()->NoDefaultButtons);
    for (QCheckBox* c : {d.chkContents, d.chkIndex, d.chkHelpTopics, d.chkPrint, d.chkBack}) {
        EXPECT_FALSE(c->isChecked());
        EXPECT_TRUE(c->isEnabled());
    }
    EXPECT_EQ(d.Current()->Buttons, 0);

    Select(d, "second");
    EXPECT_TRUE(d.chkNoDefButtons->isHidden());
    EXPECT_TRUE(d.cmdRemove->isEnabled());
}

TEST_F(WindowsEditorTest, HelpTopicsExcludesContentsAndIndex) {
    project.Windows.GetWindow(2).Buttons = 0;
    TfrmWindows d(factory, project, macros);
    Select(d, "second");
    EXPECT_TRUE(d.chkHelpTopics->isEnabled());
    d.chkContents->click();
    EXPECT_FALSE(d.chkHelpTopics->isEnabled());
    d.chkIndex->click();
    d.chkContents->click();
    EXPECT_FALSE(d.chkHelpTopics->isEnabled());
    d.chkIndex->click();
    EXPECT_TRUE(d.chkHelpTopics->isEnabled());
    d.chkHelpTopics->click();
    EXPECT_FALSE(d.chkContents->isEnabled());
    EXPECT_FALSE(d.chkIndex->isEnabled());
    EXPECT_EQ(d.Current()->Buttons, qm::WindowButtons::HelpTopics);

    // A window shown with Help topics follows the rule too.
    d.lstWindows->setCurrentRow(0);
    Select(d, "second");
    EXPECT_FALSE(d.chkContents->isEnabled());
}

TEST_F(WindowsEditorTest, AdjustingConvertsOnlyOnTheAuthorsClick) {
    screen = qm::FixedScreenMetrics({2048, 1536});
    TWindowDef& second = project.Windows.GetWindow(2);
    second.X = 400;
    second.Y = 300;
    second.W = 1500;  // wider than 1024 pixels: showing must not cut it
    second.H = 600;
    TfrmWindows d(factory, project, macros);
    Select(d, "second");
    EXPECT_EQ(Position(d), (std::array<int, 4>{400, 300, 1500, 600}));
    EXPECT_EQ(Stored(*d.Current()), (std::array<int, 4>{400, 300, 1500, 600}));

    d.chkAdjustRes->click();
    EXPECT_EQ(d.Current()->AdjustRes, 1);
    EXPECT_EQ(Position(d), (std::array<int, 4>{200, 200, 750, 400}));
    EXPECT_EQ(Stored(*d.Current()), (std::array<int, 4>{200, 200, 750, 400}));
    EXPECT_EQ(d.udLeft->maximum(), 1024);
    d.chkAdjustRes->click();
    EXPECT_EQ(Stored(*d.Current()), (std::array<int, 4>{400, 300, 1500, 600}));
    EXPECT_GT(d.udWidth->maximum(), 1024);
    EXPECT_LT(d.udLeft->minimum(), 0);

    // Setting the box in code (as showing does) converts nothing.
    d.chkAdjustRes->setChecked(true);
    EXPECT_EQ(Stored(*d.Current()), (std::array<int, 4>{400, 300, 1500, 600}));
}

TEST_F(WindowsEditorTest, DefaultPositionsCentreOnTheScreen) {
    TfrmWindows d(factory, project, macros);
    Select(d, "second");
    d.udLeft->setValue(3);
    d.cmdDefPos->click();
    EXPECT_EQ(Stored(*d.Current()), (std::array<int, 4>{212, 144, 600, 480}));
    d.chkAdjustRes->click();
    d.cmdDefPos->click();
    EXPECT_EQ(Stored(*d.Current()), (std::array<int, 4>{212, 192, 600, 640}));
}

TEST_F(WindowsEditorTest, TheAutoSizerReturnsWhatItWasGivenOrWhereItWasMoved) {
    TWindowDef& second = project.Windows.GetWindow(2);
    second.X = 100;
    second.Y = 120;
    second.W = 500;
    second.H = 300;
    struct Row {
        const char* name;
        bool positionUnknown;
        QPoint moveTo;  // null: not moved
        std::array<int, 4> expected;
    } rows[] = {
        {"OK without moving", false, {}, {100, 120, 500, 300}},
        {"moved", false, {40, 60}, {40, 60, 500, 300}},
        {"Wayland keeps left and top", true, {40, 60}, {100, 120, 500, 300}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qm::TfrmAutoSizer::ForcePositionUnknown(row.positionUnknown);
        TfrmWindows d(factory, project, macros);
        Select(d, "second");
        ui.ExpectDialog("frmAutoSizer", [&](QDialog& dlg) {
            auto& sizer = static_cast<qm::TfrmAutoSizer&>(dlg);
            EXPECT_EQ(sizer.PositionUnknown(), row.positionUnknown);
            EXPECT_EQ(sizer.lblInfo->text().contains("only the size is taken"), row.positionUnknown);
            dlg.show();
            QApplication::processEvents();
            if (!row.moveTo.isNull()) dlg.move(row.moveTo);
            return ClickOk(dlg);
        });
        d.cmdAutoSizer->click();
        EXPECT_EQ(Stored(*d.Current()), row.expected);
    }
}

TEST_F(WindowsEditorTest, RemovingForgetsTheWindowAndAnEmptyListDarkensThePages) {
    project.Windows.Clear();
    project.Windows.Add().SetName("alpha");
    project.Windows.Add().SetName("beta");
    TfrmWindows d(factory, project, macros);
    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the window alpha ?", qm::MsgResult::No);
    d.cmdRemove->click();
    EXPECT_EQ(Rows(d.lstWindows), QStringList({"alpha", "beta"}));
    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the window alpha ?", qm::MsgResult::Yes);
    d.cmdRemove->click();
    EXPECT_EQ(d.txtWindowName->text(), "beta");
    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the window beta ?", qm::MsgResult::Yes);
    d.cmdRemove->click();
    EXPECT_EQ(d.Current(), nullptr);
    EXPECT_FALSE(d.tbsAttribs->isEnabled());
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    EXPECT_TRUE(d.cmdNew->isEnabled());
    // Nothing can write into a window that is gone.
    d.cmdDefPos->click();
    d.txtWinTitle->setText("nowhere");
    d.AddMacroClick();
    EXPECT_EQ(d.WorkingCopy().Count(), 0);
}

TEST_F(WindowsEditorTest, NewStopsAtTheLimitOfWindows) {
    while (project.Windows.Count() < qm::kMaxWindows - 1)
        project.Windows.Add().SetName("w" + std::to_string(project.Windows.Count()));
    TfrmWindows d(factory, project, macros);
    EXPECT_TRUE(d.cmdNew->isEnabled());
    ui.ExpectInput(QStringLiteral("last"));
    d.cmdNew->click();
    EXPECT_EQ(d.WorkingCopy().Count(), qm::kMaxWindows);
    EXPECT_FALSE(d.cmdNew->isEnabled());
    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the window last ?", qm::MsgResult::Yes);
    d.cmdRemove->click();
    EXPECT_TRUE(d.cmdNew->isEnabled());
}

TEST_F(WindowsEditorTest, OkSendsTheTopicsOfARenamedWindowToMainAndCancelKeepsAll) {
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        TfrmWindows d(factory, project, macros);
        Select(d, "second");
        ui.ExpectInput(QStringLiteral("proc"), "Enter the new window name:");
        d.cmdRename->click();
        EXPECT_EQ(Rows(d.lstWindows), QStringList({"main", "proc"}));
        d.txtWinTitle->setText("Procedures");
        if (!ok) {
            d.cmdCancel->click();
            EXPECT_EQ(project.Windows.GetWindow(2).GetName(), "second");
            EXPECT_EQ(project.Topics.FindByName("Intro")->GetWindow(), "second");
            continue;
        }
        EXPECT_EQ(ClickOk(d), QDialog::Accepted);
        EXPECT_EQ(project.Windows.GetWindow(2).GetName(), "proc");
        EXPECT_EQ(project.Windows.GetWindow(2).GetCaption(), "Procedures");
        EXPECT_EQ(project.Topics.FindByName("Intro")->GetWindow(), "main");
    }
}

TEST_F(WindowsEditorTest, ColoursMacrosAndHelp) {
    TfrmWindows d(factory, project, macros);
    Select(d, "second");
    ui.ExpectColor(QColor(10, 20, 30));
    d.cmdChgNoScroll->click();
    ui.ExpectColor(std::nullopt);
    d.cmdChgClient->click();
    EXPECT_EQ(d.Current()->Rgb1, 0x1E140Au);
    EXPECT_EQ(d.Current()->Rgb2, 0xFFFFFFu);
    EXPECT_EQ(d.pbColor->HintAt(5), "Red: 10, Green: 20, Blue: 30");
    EXPECT_EQ(d.pbColor->HintAt(40), "Red: 255, Green: 255, Blue: 255");

    EXPECT_FALSE(d.cmdClear->isEnabled());
    d.txtMacro->setText("About()");
    EXPECT_TRUE(d.cmdAdd->isEnabled());
    d.cmdAdd->click();
    d.txtMacro->setText("Exit()");
    d.cmdAdd->click();
    EXPECT_EQ(d.Current()->Macros, (qm::StringList{"About()", "Exit()"}));
    d.lstMacros->setCurrentRow(0);
    d.cmdRemoveMacro->click();
    EXPECT_EQ(d.Current()->Macros, (qm::StringList{"Exit()"}));
    // The builder fills the edit with the expression it built.
    ui.ExpectDialog("frmMacroEdit", [](QDialog& dlg) {
        auto& builder = static_cast<qm::TfrmMacroEdit&>(dlg);
        builder.lstMacros->setCurrentRow(0);
        builder.cmdAdd->click();
        return ClickOk(dlg);
    });
    d.cmdBrowseMacro->click();
    EXPECT_EQ(d.txtMacro->text(), "About()");
    d.lstWindows->setCurrentRow(0);
    EXPECT_FALSE(d.cmdRemoveMacro->isEnabled());

    const int contexts[] = {210, 215, 220, 225, 230};
    for (int page = 0; page < 5; ++page) {
        d.tbsAttribs->setCurrentIndex(page);
        d.cmdHelp->click();
        EXPECT_EQ(ui.helpContexts.back(), contexts[page]);
    }
    EXPECT_TRUE(d.cmdAdd->isDefault());
}

TEST_F(WindowsEditorTest, ScreenshotOfThePositionPage) {
    TfrmWindows d(factory, project, macros);
    Select(d, "second");
    d.tbsAttribs->setCurrentIndex(1);
    Screenshot(d, "windowseditor.png");
}

}  // namespace
}  // namespace qmtest
