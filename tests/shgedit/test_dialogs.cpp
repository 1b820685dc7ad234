// Pikeral's dialogs: the hotspot properties (binding choices by type, the
// typed text kept, the coordinate boxes), Select Hotspot (the prefix rule
// when typing, the clicked item when clicking), Preferences, the picture
// figures and the help contexts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "platform/qtcp1252.h"
#include "shgedit/aboutdlg.h"
#include "shgedit/hspropsdlg.h"
#include "shgedit/optionsdlg.h"
#include "shgedit/picpropsdlg.h"
#include "shgedit/selectdlg.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"

namespace qm::shgedit {
namespace {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { qmtest::EnsureQtApp(); }
    void TearDown() override { ui.ExpectAllAnswered(); }
    qmtest::ScriptedUiServices ui;
};

QStringList Choices(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

TEST_F(DialogTest, HotspotPropertiesOfferTheNamesOfTheType) {
    TfrmHsProps d(ui, {"TopicA", "TopicB"}, {"PopupA"});
    EXPECT_EQ(d.objectName(), QStringLiteral("frmHsProps"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Hotspot Properties"));
    struct Row {
        THotspotKind kind;
        const char* label;
        QStringList choices;
    } rows[] = {
        {THotspotKind::Popup, "Conte&xt string", {QStringLiteral("PopupA")}},
        {THotspotKind::Jump, "Conte&xt string", {QStringLiteral("TopicA"), QStringLiteral("TopicB")}},
        {THotspotKind::Macro, "&Macro", {}},
    };
    d.cboBinding->setEditText(QStringLiteral("typed target"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        d.cboType->setCurrentIndex(static_cast<int>(row.kind));
        EXPECT_EQ(d.lblBinding->text(), QString::fromLatin1(row.label));
        EXPECT_EQ(Choices(d.cboBinding), row.choices);
        // What was typed stays whatever the type becomes.
        EXPECT_EQ(d.cboBinding->currentText(), QStringLiteral("typed target"));
    }
}

TEST_F(DialogTest, HotspotPropertiesRoundTripAndAJumpBecomesAMacro) {
    TfrmHsProps d(ui, {"TopicA"}, {});
    THotspotFields f;
    f.ID = "Caf\xE9";
    f.Kind = THotspotKind::Jump;
    f.Binding = "TopicA";
    f.Attribute = 1;
    f.Left = 3;
    f.Top = 4;
    f.Right = 32767;
    f.Bottom = 6;
    d.SetFields(f);
    EXPECT_EQ(d.Fields(), f);
    ui.ExpectDialog(QStringLiteral("frmHsProps"), [](QDialog& dialog) {
        auto& hs = static_cast<TfrmHsProps&>(dialog);
        hs.cboType->setCurrentIndex(2);
        dialog.accept();
        return dialog.result();
    });
    d.Activate();
    ui.RunDialog(d);
    ASSERT_TRUE(d.Accepted());
    THotspotFields expected = f;
    expected.Kind = THotspotKind::Macro;  // the binding text is now the macro
    EXPECT_EQ(d.Result(), expected);
}

TEST_F(DialogTest, CoordinatesAreSpinBoxesFromZeroTo32767) {
    TfrmHsProps d(ui, {}, {});
    for (QSpinBox* box : {d.txtLeft, d.txtTop, d.txtRight, d.txtBottom}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->minimum(), 0);
        EXPECT_EQ(box->maximum(), 32767);
        EXPECT_FALSE(box->wrapping());
        box->setValue(12);
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("4x7"));  // the letter is dropped
        EXPECT_EQ(box->value(), 47);
        box->setValue(40000);
        EXPECT_EQ(box->value(), 32767);
    }
    EXPECT_EQ(d.txtLeft->objectName(), QStringLiteral("txtLeft"));
    EXPECT_EQ(d.txtBottom->objectName(), QStringLiteral("txtBottom"));
}

TEST_F(DialogTest, SelectTypingAndClicking) {
    struct Row {
        const char* name;
        StringList ids;
        std::function<void(TfrmSelect&)> act;
        int selected;
    } rows[] = {
        {"opens on the first item", {"Alpha", "Hotspot2"}, [](TfrmSelect&) {}, 0},
        {"typing selects the first match from the top, case ignored",
         {"Alpha", "Hotspot2", "hotspot1"},
         [](TfrmSelect& d) { d.txtHotspot->setText(QStringLiteral("Hot")); },
         1},
        {"blanks around the typed text do not count",
         {"Alpha", "Beta"},
         [](TfrmSelect& d) { d.txtHotspot->setText(QStringLiteral("  be ")); },
         1},
        {"no match leaves no selection",
         {"Alpha", "Hotspot2"},
         [](TfrmSelect& d) { d.txtHotspot->setText(QStringLiteral("x")); },
         -1},
        {"a click keeps Hotspot1 below Hotspot10",
         {"Hotspot10", "Hotspot1"},
         [](TfrmSelect& d) { d.lstHotspotsClick(d.lstHotspots->item(1)); },
         1},
        {"a click keeps the second of two equal IDs",
         {"Same", "Same"},
         [](TfrmSelect& d) {
             const QRect r = d.lstHotspots->visualItemRect(d.lstHotspots->item(1));
             QTest::mouseClick(d.lstHotspots->viewport(), Qt::LeftButton, {}, r.center());
         },
         1},
        {"typing after a click goes back to the prefix rule",
         {"Hotspot10", "Hotspot1"},
         [](TfrmSelect& d) {
             d.lstHotspotsClick(d.lstHotspots->item(1));
             d.txtHotspot->setText(QStringLiteral("Hotspot"));
         },
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmSelect d(ui);
        d.show();
        d.SetItems(row.ids);
        row.act(d);
        EXPECT_EQ(d.SelectedIndex(), row.selected);
    }
}

TEST_F(DialogTest, SelectOpensWithTheFirstItemCopiedAndSelected) {
    TfrmSelect d(ui);
    d.SetItems({"Alpha", "Beta"});
    EXPECT_EQ(d.txtHotspot->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(d.txtHotspot->selectedText(), QStringLiteral("Alpha"));
    EXPECT_TRUE(d.cmdSelect->isDefault());
    EXPECT_EQ(d.cmdSelect->text(), QStringLiteral("&Select"));
}

TEST_F(DialogTest, HelpButtonsOpenTheirContexts) {
    TfrmHsProps props(ui, {}, {});
    TfrmSelect select(ui);
    props.cmdHelp->click();
    select.cmdHelp->click();
    EXPECT_EQ(ui.helpContexts, (std::vector<int>{40, 90}));
}

TEST_F(DialogTest, PreferencesPresetAndStore) {
    TOptions options;
    options.SetDefaults();
    TfrmOptions d(ui);
    EXPECT_EQ(d.objectName(), QStringLiteral("frmOptions"));
    d.SetOptions(options);
    EXPECT_TRUE(d.chkAssociate->isChecked());
    EXPECT_EQ(d.cboType->currentIndex(), 0);
    EXPECT_EQ(d.cboAttribute->currentIndex(), 1);
    EXPECT_EQ(d.txtID->text(), QStringLiteral("Hotspot"));
    d.chkAssociate->setChecked(false);
    d.cboType->setCurrentIndex(1);
    d.cboAttribute->setCurrentIndex(0);
    d.txtID->clear();  // empty is allowed: new IDs are then bare numbers
    d.accept();
    ASSERT_TRUE(d.Accepted());
    options.LastOpenDir = "/kept/";
    d.ApplyTo(options);
    EXPECT_FALSE(options.AssocSHG);
    EXPECT_EQ(options.DefType, 1);
    EXPECT_EQ(options.DefAttribute, 0);
    EXPECT_EQ(options.DefID, "");
    EXPECT_EQ(options.LastOpenDir, "/kept/");
}

TEST(PictureFigures, FromTheBitmapIn64Bits) {
    struct Row {
        const char* name;
        int width, height;
        std::uint16_t bits;
        bool isShg;
        TPictureFigures expected;
    } rows[] = {
        {"1 bit",
         100,
         10,
         1,
         true,
         {"Segmented Hypergraphic", "2 colors", "1 bits", "100 pixels", "10 pixels", "160 bytes"}},
        {"24 bits",
         1000,
         1000,
         24,
         false,
         {"Bitmap", "16 777 216 colors", "24 bits", "1 000 pixels", "1 000 pixels", "3 000 000 bytes"}},
        {"32 bits",
         2,
         3,
         32,
         true,
         {"Segmented Hypergraphic", "4 294 967 296 colors", "32 bits", "2 pixels", "3 pixels", "24 bytes"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TDib dib = TDib::Create(row.width, row.height, row.bits);
        EXPECT_EQ(TPictureFigures::Of(dib, row.isShg), row.expected);
    }
}

TEST_F(DialogTest, PropertiesAndAboutCloseWithOk) {
    TfrmProperties props(ui);
    props.SetFigures(TPictureFigures::Of(TDib::Create(4, 4, 8), true));
    EXPECT_EQ(props.lblColors->text(), QStringLiteral("256 colors"));
    EXPECT_EQ(props.lblSize->text(), QStringLiteral("16 bytes"));
    props.cmdOk->click();
    EXPECT_TRUE(props.Accepted());
    TfrmAbout about(ui);
    about.cmdOK->click();
    EXPECT_TRUE(about.Accepted());
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
}

}  // namespace
}  // namespace qm::shgedit
