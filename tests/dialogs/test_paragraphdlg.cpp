// The paragraph dialog: the unit conversions, the presets and what reads
// back, the first-line and spacing rules, the tab list and its limits, what
// the dialog cannot show surviving OK, Enter in a spin edit, the round trip
// of every whole pixel value, help, and the factory's run.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <functional>

#include "dialogs/paragraphdlg.h"
#include "tagform_fixture.h"
#include "util/helpunits.h"
#include "widgets/spinedit.h"

namespace qmtest {
namespace {

using qm::TfrmParagraph;
using qm::TParagraphFormat;

// The screen's pixels per inch for one test.
class ScopedPpi {
public:
    explicit ScopedPpi(int ppi) : metrics_({1024, 768}, ppi) { qm::SetScreenMetrics(&metrics_); }
    ~ScopedPpi() { qm::SetScreenMetrics(nullptr); }

private:
    qm::FixedScreenMetrics metrics_;
};

// As the user's choice in a combo box does: the index, then activated.
void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// Types into a spin edit as the user does.
void Type(qm::TQorSpinEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QStringList TabLines(const TfrmParagraph& d) {
    QStringList out;
    for (int i = 0; i < d.lstTabs->count(); ++i) out << d.lstTabs->item(i)->text();
    return out;
}

class ParagraphTest : public TagFormTest {
protected:
    void SetUp() override {
        TagFormTest::SetUp();
        ppi_ = std::make_unique<ScopedPpi>(96);
    }
    void TearDown() override {
        ppi_.reset();
        TagFormTest::TearDown();
    }
    std::unique_ptr<ScopedPpi> ppi_;
};

TEST(ParagraphUnits, ConvertAsThePartsSay) {
    struct Row {
        const char* name;
        int mode, ppi;
        double value;
        int pixels;
    };
    // The unit to pixels.
    for (const Row& row : {
             Row{"pixels truncate: 10.7", 0, 96, 10.7, 10},
             Row{"pixels truncate toward zero: -3.9", 0, 96, -3.9, -3},
             Row{"half an inch at 96", 1, 96, 0.5, 48},
             Row{"one centimetre at 96", 2, 96, 1, 38},
             Row{"an inch at 120", 1, 120, 1, 120},
             Row{"a tie goes to the even pixel: 1.5", 1, 3, 0.5, 2},
             Row{"a tie goes to the even pixel: 2.5", 1, 5, 0.5, 2},
             Row{"another mode counts as inches", 9, 96, 0.25, 24},
         }) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qm::UnitToPixels(row.value, row.mode, row.ppi), row.pixels);
    }
    EXPECT_DOUBLE_EQ(qm::PixelsToUnit(48, 1, 96), 0.5);
    EXPECT_DOUBLE_EQ(qm::PixelsToUnit(38, 2, 96), 38 / (96 / 2.54));
    EXPECT_DOUBLE_EQ(qm::PixelsToUnit(17, 0, 96), 17);
}

TEST_F(ParagraphTest, IndentPresetsShowAndReadBack) {
    struct Row {
        const char* name;
        int start, offset;
        const char* left;
        const char* first;
        const char* firstLine;
    };
    for (const Row& row : {
             Row{"first line further in: Positive", 40, -20, "20", "20", "Positive"},
             Row{"hanging: Negative", 20, 30, "20", "30", "Negative"},
             Row{"no offset: (None)", 15, 0, "15", "0", "(None)"},
         }) {
        SCOPED_TRACE(row.name);
        TfrmParagraph d(ui);
        d.SetScaleMode(0);
        d.SetParaAttributes(row.start, row.offset, 0, 7);
        EXPECT_EQ(d.seLeft->text(), QString::fromLatin1(row.left));
        EXPECT_EQ(d.seFirst->text(), QString::fromLatin1(row.first));
        EXPECT_EQ(d.cboFirstLine->currentText(), QString::fromLatin1(row.firstLine));
        EXPECT_EQ(d.seRight->text(), QStringLiteral("7"));
        EXPECT_EQ(d.StartIndent(), row.start);
        EXPECT_EQ(d.Offset(), row.offset);
        EXPECT_EQ(d.RightIndent(), 7);
    }
}

TEST_F(ParagraphTest, AlignmentShowsAndReadsBack) {
    struct Row {
        const char* name;
        int preset;
        const char* shown;
        int chosen;  // the combo's index the user then picks
        int after;
    };
    for (const Row& row : {
             Row{"left", 0, "Left", 1, 2},
             Row{"right (1)", 1, "Right", 0, 0},
             Row{"centre (2)", 2, "Center", 2, 1},
         }) {
        SCOPED_TRACE(row.name);
        TfrmParagraph d(ui);
        d.SetParaAttributes(0, 0, row.preset, 0);
        EXPECT_EQ(d.cboAlignment->currentText(), QString::fromLatin1(row.shown));
        EXPECT_EQ(d.Alignment(), row.preset);
        Choose(d.cboAlignment, row.chosen);
        EXPECT_EQ(d.Alignment(), row.after);
    }
}

TEST_F(ParagraphTest, TheUnitSetsLabelsStepsAndLimits) {
    struct Row {
        const char* name;
        int mode;
        const char* label;
        double increment, maximum;
        int pixels;
        const char* shown;
    };
    for (const Row& row : {
             Row{"pixels", 0, "pixels", 1, 1024, 48, "48"},
             Row{"inches: 48 pixels show 0.5", 1, "inches", 0.1, 10, 48, "0.5"},
             Row{"centimetres", 2, "cm", 0.1, 25, 19, "0.5027"},
         }) {
        SCOPED_TRACE(row.name);
        TfrmParagraph d(ui);
        d.SetScaleMode(row.mode);
        d.SetParaAttributes(row.pixels, 0, 0, 0);
        for (QLabel* l : d.lblScale) EXPECT_EQ(l->text(), QString::fromLatin1(row.label));
        EXPECT_EQ(d.seLeft->Increment, row.increment);
        EXPECT_EQ(d.seSpacing->MaxValue, row.maximum);
        EXPECT_EQ(d.seSpacing->MinValue, 0);
        EXPECT_EQ(d.seLeft->text(), QString::fromLatin1(row.shown));
        EXPECT_EQ(d.StartIndent(), row.pixels);
    }
    // Unset: pixels without limits.
    TfrmParagraph d(ui);
    EXPECT_EQ(d.lblScale[0]->text(), QStringLiteral("pixels"));
    EXPECT_EQ(d.seLeft->MaxValue, d.seLeft->MinValue);
    d.SetParaAttributes(5000, 0, 0, 0);
    EXPECT_EQ(d.StartIndent(), 5000);
}

TEST_F(ParagraphTest, FirstLineAndSpacingRulesFollowTheBoxes) {
    TfrmParagraph d(ui);
    d.SetScaleMode(0);
    d.SetParaAttributes(30, 0, 0, 0);
    d.SetSpacingAttributes(0, 0, 0, 0);
    Choose(d.cboFirstLine, 1);  // Positive with 0: 1
    EXPECT_EQ(d.seFirst->text(), QStringLiteral("1"));
    Type(d.seFirst, QStringLiteral("12"));
    Choose(d.cboFirstLine, 2);  // Negative keeps 12
    EXPECT_EQ(d.seFirst->text(), QStringLiteral("12"));
    Choose(d.cboFirstLine, 0);  // (None): 0
    EXPECT_EQ(d.seFirst->text(), QStringLiteral("0"));
    EXPECT_EQ(d.StartIndent(), 30);
    EXPECT_EQ(d.Offset(), 0);

    Choose(d.cboLineSpacingRule, 1);  // Exactly with 0: 12
    EXPECT_EQ(d.seSpacing->text(), QStringLiteral("12"));
    EXPECT_EQ(d.LineSpacingRule(), 4);
    EXPECT_EQ(d.LineSpacing(), 12);
    Choose(d.cboLineSpacingRule, 0);  // Simple: 0
    EXPECT_EQ(d.seSpacing->text(), QStringLiteral("0"));
    EXPECT_EQ(d.LineSpacingRule(), 0);
    EXPECT_EQ(d.LineSpacing(), 0);
}

TEST_F(ParagraphTest, TabStopsAreAddedInOrderOnce) {
    struct Row {
        const char* name;
        std::vector<int> preset;
        const char* typed;
        QStringList expected;
        const char* refusal;  // nullptr: none
    };
    const QStringList twentySixty{"20", "60"};
    for (const Row& row : {
             Row{"between", {20, 60}, "40", {"20", "40", "60"}, nullptr},
             Row{"at the end", {20, 60}, "100", {"20", "60", "100"}, nullptr},
             Row{"at the start", {20, 60}, "5", {"5", "20", "60"}, nullptr},
             Row{"into an empty list", {}, "7", {"7"}, nullptr},
             Row{"a duplicate", {20, 60}, "60", twentySixty, qm::kMsgTabAlreadyAdded},
             // Fault 4: the edit takes "," and ".", but stops are whole pixels.
             Row{"a decimal point", {20, 60}, "1.5", twentySixty, qm::kMsgTabNotWhole},
             Row{"a decimal comma", {20, 60}, "2,5", twentySixty, qm::kMsgTabNotWhole},
         }) {
        SCOPED_TRACE(row.name);
        TfrmParagraph d(ui);
        d.SetTabsAttributes(row.preset);
        d.txtTabs->setText(QString::fromLatin1(row.typed));
        if (row.refusal) ui.ExpectMessage(qm::MsgKind::Information, QString::fromLatin1(row.refusal));
        d.cmdAdd->click();
        ui.ExpectAllAnswered(row.name);
        EXPECT_EQ(TabLines(d), row.expected);
        if (!row.refusal) {
            EXPECT_EQ(d.lstTabs->currentItem()->text(), QString::number(QString::fromLatin1(row.typed).toInt()));
            EXPECT_TRUE(d.txtTabs->text().isEmpty());
        }
    }
}

// Fault 3: the editor keeps 32 stops a paragraph.
TEST_F(ParagraphTest, AThirtyThirdTabStopIsRefused) {
    std::vector<int> tabs;
    for (int i = 1; i <= qm::kParagraphMaxTabs; ++i) tabs.push_back(i * 10);
    TfrmParagraph d(ui);
    d.SetTabsAttributes(tabs);
    d.txtTabs->setText(QStringLiteral("5"));
    ui.ExpectMessage(qm::MsgKind::Information, QStringLiteral("A paragraph can have at most 32 tab stops."));
    d.cmdAdd->click();
    EXPECT_EQ(d.lstTabs->count(), 32);
    EXPECT_EQ(d.Tabs(), tabs);
    // One fewer, and the stop goes in.
    delete d.lstTabs->takeItem(31);
    d.cmdAdd->click();
    EXPECT_EQ(d.lstTabs->count(), 32);
    EXPECT_EQ(d.lstTabs->item(0)->text(), QStringLiteral("5"));
}

TEST_F(ParagraphTest, TheTabEditTakesThreeDigitsCommasAndPointsOnly) {
    TfrmParagraph d(ui);
    d.Activate();
    EXPECT_FALSE(d.cmdAdd->isEnabled());
    QTest::keyClicks(d.txtTabs, QStringLiteral("1a,2.3"));
    EXPECT_EQ(d.txtTabs->text(), QStringLiteral("1,2"));
    EXPECT_TRUE(d.cmdAdd->isEnabled());
    d.txtTabs->clear();
    EXPECT_FALSE(d.cmdAdd->isEnabled());
}

TEST_F(ParagraphTest, RemoveAndClearFollowTheLines) {
    TfrmParagraph d(ui);
    d.Activate();
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    EXPECT_FALSE(d.cmdRemoveAll->isEnabled());
    d.SetTabsAttributes({10, 20, 30});
    EXPECT_EQ(d.lstTabs->currentRow(), 0);
    EXPECT_TRUE(d.cmdRemove->isEnabled());
    EXPECT_TRUE(d.cmdRemoveAll->isEnabled());
    d.lstTabs->setCurrentRow(2);
    d.cmdRemove->click();  // the last: the new last is selected
    EXPECT_EQ(TabLines(d), (QStringList{"10", "20"}));
    EXPECT_EQ(d.lstTabs->currentRow(), 1);
    d.lstTabs->setCurrentRow(0);
    d.cmdRemove->click();  // the same row again
    EXPECT_EQ(TabLines(d), (QStringList{"20"}));
    EXPECT_EQ(d.lstTabs->currentRow(), 0);
    d.cmdRemoveAll->click();
    EXPECT_EQ(d.lstTabs->count(), 0);
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    EXPECT_FALSE(d.cmdRemoveAll->isEnabled());
}

// Fault 7: a justified, double-spaced paragraph shows "Right" and
// "Exactly"; OK must not turn it into either.
TEST_F(ParagraphTest, WhatTheDialogCannotShowSurvivesOk) {
    struct Row {
        const char* name;
        std::function<void(TfrmParagraph&)> user;
        int alignment, rule, spacing;
    };
    for (const Row& row : {
             Row{"a tab added only",
                 [](TfrmParagraph& d) {
                     d.txtTabs->setText("40");
                     d.cmdAdd->click();
                 },
                 3, 2, 0},
             Row{"the indents changed", [](TfrmParagraph& d) { Type(d.seLeft, "30"); }, 3, 2, 0},
             Row{"the alignment chosen", [](TfrmParagraph& d) { Choose(d.cboAlignment, 2); }, 1, 2, 0},
             Row{"the rule chosen", [](TfrmParagraph& d) { Choose(d.cboLineSpacingRule, 0); }, 3, 0, 0},
             Row{"the spacing typed", [](TfrmParagraph& d) { Type(d.seSpacing, "14"); }, 3, 4, 14},
         }) {
        SCOPED_TRACE(row.name);
        TfrmParagraph d(ui);
        d.SetScaleMode(0);
        d.SetParaAttributes(10, 0, 3, 0);
        d.SetSpacingAttributes(0, 0, 2, 0);
        d.SetTabsAttributes({});
        EXPECT_EQ(d.cboAlignment->currentText(), QStringLiteral("Right"));
        EXPECT_EQ(d.cboLineSpacingRule->currentText(), QStringLiteral("Exactly"));
        row.user(d);
        ClickOk(d);
        ASSERT_TRUE(d.Accepted());
        EXPECT_EQ(d.Alignment(), row.alignment);
        EXPECT_EQ(d.LineSpacingRule(), row.rule);
        EXPECT_EQ(d.LineSpacing(), row.spacing);
    }
}

TEST_F(ParagraphTest, EnterInASpinEditDoesNotCloseTheDialog) {
    TfrmParagraph d(ui);
    d.show();
    d.seLeft->setFocus();
    QTest::keyClick(d.seLeft, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.Accepted());
    d.hide();
}

// Every whole pixel value each unit can hold comes back unchanged.
// Inches and centimetres show four decimals at most, so a value fits its box.
TEST_F(ParagraphTest, UnitsShowFourDecimalsAtMost) {
    struct Row {
        const char* name;
        int mode, pixels;
        const char* shown;
    };
    for (const Row& row : {
             Row{"14 pixels in inches", 1, 14, "0.1458"},
             Row{"48 pixels in inches", 1, 48, "0.5"},
             Row{"38 pixels in centimetres", 2, 38, "1.0054"},
             Row{"1 pixel in inches", 1, 1, "0.0104"},
             Row{"pixels stay whole", 0, 14, "14"},
         }) {
        SCOPED_TRACE(row.name);
        TfrmParagraph d(ui);
        d.SetScaleMode(row.mode);
        d.SetSpacingAttributes(row.pixels, 0, 4, row.pixels);
        EXPECT_EQ(d.seBefore->text(), QString::fromLatin1(row.shown));
        EXPECT_EQ(d.seSpacing->text(), QString::fromLatin1(row.shown));
        EXPECT_EQ(d.SpaceBefore(), row.pixels);
    }
}

TEST_F(ParagraphTest, EveryWholePixelValueRoundTrips) {
    for (int ppi : {96, 120}) {
        ScopedPpi screen(ppi);
        for (int mode : {0, 1, 2}) {
            SCOPED_TRACE(QStringLiteral("ppi %1, mode %2").arg(ppi).arg(mode).toStdString());
            TfrmParagraph d(ui);
            d.SetScaleMode(mode);
            // The most whole pixels the unit's maximum holds.
            const double perUnit = mode == 0 ? 1.0 : mode == 2 ? ppi / 2.54 : ppi;
            const int most = static_cast<int>(std::floor(d.seLeft->MaxValue * perUnit + 1e-9));
            int failures = 0;
            for (int px = 0; px <= most && failures < 5; ++px) {
                d.SetParaAttributes(px, 0, 0, px);
                d.SetSpacingAttributes(px, px, 4, px);
                // The spacing reads back its preset until changed; make it go through the edit.
                emit d.seSpacing->valueEdited();
                const TParagraphFormat f = d.Format();
                if (f.StartIndent != px || f.RightIndent != px || f.SpaceBefore != px || f.SpaceAfter != px ||
                    f.LineSpacing != px) {
                    ADD_FAILURE() << px << " pixels came back as " << f.StartIndent << "/" << f.RightIndent << "/"
                                  << f.SpaceBefore << "/" << f.SpaceAfter << "/" << f.LineSpacing;
                    ++failures;
                }
                // Offsets both ways, inside the unit's range.
                if (px > 0 && px * 2 <= most) {
                    d.SetParaAttributes(px * 2, -px, 0, 0);
                    const int start = d.StartIndent(), offset = d.Offset();
                    d.SetParaAttributes(px, px, 0, 0);
                    if (start != px * 2 || offset != -px || d.StartIndent() != px || d.Offset() != px) {
                        ADD_FAILURE() << "the offset " << px << " came back wrong";
                        ++failures;
                    }
                }
            }
            EXPECT_EQ(most, mode == 0 ? 1024 : mode == 1 ? 10 * ppi : ppi == 96 ? 944 : 1181);
        }
    }
}

TEST_F(ParagraphTest, HelpAndTheDefaultButtonFollowThePage) {
    TfrmParagraph d(ui);
    d.show();
    EXPECT_TRUE(d.cmdOk->isDefault());
    d.cmdHelp->click();
    d.tbsParagraph->setCurrentWidget(d.tsTabs);
    EXPECT_TRUE(d.cmdAdd->isDefault());
    EXPECT_FALSE(d.cmdOk->isDefault());
    d.cmdHelp->click();
    // On the tab page Enter adds the stop typed.
    d.txtTabs->setText(QStringLiteral("30"));
    QTest::keyClick(d.txtTabs, Qt::Key_Return);
    EXPECT_EQ(TabLines(d), QStringList{"30"});
    EXPECT_TRUE(d.isVisible());
    d.tbsParagraph->setCurrentWidget(d.tsIndentation);
    EXPECT_TRUE(d.cmdOk->isDefault());
    EXPECT_EQ(ui.helpContexts, (std::vector<int>{190, 195}));
    d.hide();
}

TEST_F(ParagraphTest, TheFactoryPresetsRunsAndReadsBack) {
    qm::TParagraphRequest request;
    request.ScaleMode = 1;
    request.Format = {96, -48, 24, 2, 12, 6, 4, 14, {20, 60}};
    ui.ExpectDialog(QStringLiteral("frmParagraph"), [](QDialog& dialog) {
        auto& d = static_cast<TfrmParagraph&>(dialog);
        EXPECT_EQ(d.seLeft->text(), QStringLiteral("0.5"));
        EXPECT_EQ(d.seFirst->text(), QStringLiteral("0.5"));
        EXPECT_EQ(d.cboAlignment->currentText(), QStringLiteral("Center"));
        EXPECT_EQ(TabLines(d), (QStringList{"20", "60"}));
        EXPECT_TRUE(d.tbsParagraph->isTabVisible(d.tbsParagraph->indexOf(d.tsTabs)));
        d.txtTabs->setText(QStringLiteral("40"));
        d.cmdAdd->click();
        return ClickOk(d);
    });
    const auto result = factory.RunParagraph(request);
    ASSERT_TRUE(result.has_value());
    TParagraphFormat expected = request.Format;
    expected.Tabs = {20, 40, 60};
    EXPECT_EQ(*result, expected);

    // A style's paragraph: pixels, no tab page; Cancel gives nothing.
    qm::TParagraphRequest style;
    style.ShowTabs = false;
    style.Format.StartIndent = 2000;
    ui.ExpectDialog(QStringLiteral("frmParagraph"), [](QDialog& dialog) {
        auto& d = static_cast<TfrmParagraph&>(dialog);
        EXPECT_FALSE(d.tbsParagraph->isTabVisible(d.tbsParagraph->indexOf(d.tsTabs)));
        EXPECT_EQ(d.lblScale[5]->text(), QStringLiteral("pixels"));
        EXPECT_EQ(d.seLeft->text(), QStringLiteral("2000"));
        d.reject();
        return d.result();
    });
    EXPECT_FALSE(factory.RunParagraph(style).has_value());
}

TEST_F(ParagraphTest, ScreenshotOfBothPages) {
    TfrmParagraph d(ui);
    d.SetScaleMode(1);
    d.SetParaAttributes(48, -24, 0, 12);
    d.SetSpacingAttributes(6, 6, 4, 14);
    d.SetTabsAttributes({20, 60, 100});
    Screenshot(d, QStringLiteral("paragraph.png"));
    d.tbsParagraph->setCurrentWidget(d.tsTabs);
    Screenshot(d, QStringLiteral("paragraph-tabs.png"));
    d.hide();
}

}  // namespace
}  // namespace qmtest
