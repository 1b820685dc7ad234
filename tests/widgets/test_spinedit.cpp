// The floating-point spin edit: clamping with and without limits, the
// number's text in the edit's locale, the keys it takes and refuses (Enter
// never reaches the dialog), and the buttons' repeat.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>

#include "support/qtapp.h"
#include "widgets/spinedit.h"

namespace qm {
namespace {

class SpinEditTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

const QLocale kC(QLocale::C);
const QLocale kGerman(QLocale::German, QLocale::Germany);

TEST(SpinEditRules, CheckValueClampsOnlyWithLimits) {
    struct Row {
        const char* name;
        double min, max, v, expected;
    };
    for (const Row& row : {
             Row{"inside", 0, 10, 9.5, 9.5},
             Row{"above the maximum", 0, 10, 10.5, 10},
             Row{"below the minimum", 0, 10, -1, 0},
             Row{"on a limit", 0, 10, 10, 10},
             Row{"equal limits are none: large", 0, 0, 1e6, 1e6},
             Row{"equal limits are none: negative", 0, 0, -3.25, -3.25},
             Row{"equal non-zero limits are none too", 5, 5, 1, 1},
         }) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SpinCheckValue(row.v, row.min, row.max), row.expected);
    }
}

TEST(SpinEditRules, TextIsTheShortestDecimalFormInTheLocale) {
    struct Row {
        const char* name;
        double v;
        const QLocale* locale;
        const char* expected;
    };
    for (const Row& row : {
             Row{"a half", 1.5, &kC, "1.5"},
             Row{"zero", 0, &kC, "0"},
             Row{"negative zero", -0.0, &kC, "0"},
             Row{"negative", -2.25, &kC, "-2.25"},
             Row{"whole", 1024, &kC, "1024"},
             Row{"no group separator", 123456, &kGerman, "123456"},
             Row{"a sum that floats", 0.5 + 0.1, &kC, "0.6"},
             Row{"a comma locale", 1.5, &kGerman, "1,5"},
         }) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SpinValueText(row.v, *row.locale), QString::fromLatin1(row.expected));
    }
}

TEST(SpinEditRules, ParsingFollowsTheLocale) {
    EXPECT_EQ(SpinParseValue(QStringLiteral("1.5"), kC), 1.5);
    EXPECT_EQ(SpinParseValue(QStringLiteral("1,5"), kGerman), 1.5);
    EXPECT_EQ(SpinParseValue(QStringLiteral("-2.25"), kC), -2.25);
    EXPECT_EQ(SpinParseValue(QStringLiteral("abc"), kC), std::nullopt);
    EXPECT_EQ(SpinParseValue(QString(), kC), std::nullopt);
    // A group separator is no decimal point: "1,5" is no number in C.
    EXPECT_EQ(SpinParseValue(QStringLiteral("1,5"), kC), std::nullopt);
}

TEST_F(SpinEditTest, ValueReadsAndWritesTheText) {
    TQorSpinEdit edit;
    edit.setLocale(kC);
    EXPECT_EQ(edit.text(), QStringLiteral("0"));
    edit.MinValue = 0;
    edit.MaxValue = 10;
    edit.SetValue(12);
    EXPECT_EQ(edit.text(), QStringLiteral("10"));
    edit.setText(QStringLiteral("abc"));
    EXPECT_EQ(edit.GetValue(), 0);  // MinValue
    edit.MinValue = 2;
    EXPECT_EQ(edit.GetValue(), 2);
    edit.setText(QStringLiteral("9.5"));
    edit.MinValue = 0;
    edit.UpClick();
    EXPECT_EQ(edit.text(), QStringLiteral("10"));  // clamped

    edit.MaxValue = 0;  // no limits
    edit.setText(QStringLiteral("9.5"));
    edit.UpClick();
    edit.UpClick();
    EXPECT_EQ(edit.text(), QStringLiteral("11.5"));
    edit.Increment = 0.1;
    edit.setText(QStringLiteral("0.5"));
    edit.UpClick();
    EXPECT_EQ(edit.text(), QStringLiteral("0.6"));

    edit.setLocale(kGerman);
    edit.setText(QStringLiteral("0,5"));
    EXPECT_EQ(edit.GetValue(), 0.5);
    edit.DownClick();
    EXPECT_EQ(edit.text(), QStringLiteral("0,4"));
}

TEST_F(SpinEditTest, TypedCharactersPassTheFilter) {
    struct Row {
        const char* name;
        const QLocale* locale;
        const char* typed;
        const char* expected;
    };
    for (const Row& row : {
             Row{"digits and a point", &kC, "12.5", "12.5"},
             Row{"signs", &kC, "-+1", "-+1"},
             Row{"a letter is refused", &kC, "1a2", "12"},
             Row{"a comma is no separator in C", &kC, "1,5", "15"},
             Row{"a comma is in German", &kGerman, "1,5", "1,5"},
             Row{"a point is not in German", &kGerman, "1.5", "15"},
         }) {
        SCOPED_TRACE(row.name);
        TQorSpinEdit edit;
        edit.setLocale(*row.locale);
        edit.clear();
        QTest::keyClicks(&edit, QString::fromLatin1(row.typed));
        EXPECT_EQ(edit.text(), QString::fromLatin1(row.expected));
    }
}

TEST_F(SpinEditTest, ArrowKeysStepAndAReadOnlyEditStaysPut) {
    TQorSpinEdit edit;
    edit.setLocale(kC);
    edit.SetValue(3);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), QStringLiteral("4"));
    QTest::keyClick(&edit, Qt::Key_Down);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), QStringLiteral("2"));
    edit.setReadOnly(true);
    edit.UpClick();
    EXPECT_EQ(edit.text(), QStringLiteral("2"));
}

TEST_F(SpinEditTest, WithoutItsEditorOnlyTheButtonsChangeIt) {
    TQorSpinEdit edit;
    edit.setLocale(kC);
    edit.SetValue(5);
    edit.SetEditorEnabled(false);
    QTest::keyClicks(&edit, QStringLiteral("7"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("5"));
    edit.UpClick();
    EXPECT_EQ(edit.text(), QStringLiteral("6"));
}

TEST_F(SpinEditTest, EnterIsRefusedAndNeverPressesTheDefaultButton) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new TQorSpinEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    layout->addWidget(edit);
    layout->addWidget(ok);
    int pressed = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++pressed; });
    dialog.show();
    edit->setFocus();
    edit->setText(QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(pressed, 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    dialog.hide();
}

TEST_F(SpinEditTest, LeavingClampsAValueOutsideTheLimits) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new TQorSpinEdit(&window);
    auto* other = new TQorSpinEdit(&window);
    layout->addWidget(edit);
    layout->addWidget(other);
    edit->setLocale(kC);
    edit->MaxValue = 10;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    edit->setText(QStringLiteral("25"));
    other->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    // Inside the limits, or without limits, the text stays as typed.
    edit->setFocus();
    edit->setText(QStringLiteral("7.50"));
    other->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("7.50"));
    edit->MaxValue = 0;
    edit->setFocus();
    edit->setText(QStringLiteral("25"));
    other->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("25"));
}

// The repeat itself is the tool button's: the delays are the button's
// settings, and the test waits for clicks, never for a time, so a busy
// machine cannot fail it.
TEST_F(SpinEditTest, HoldingAButtonRepeatsUntilItIsReleased) {
    TQorSpinEdit edit;
    edit.setLocale(kC);
    edit.resize(120, 28);
    edit.show();
    TTimerSpeedButton* up = edit.Button->UpButton;
    EXPECT_TRUE(up->autoRepeat());
    EXPECT_EQ(up->autoRepeatDelay(), 400);
    EXPECT_EQ(up->autoRepeatInterval(), 100);

    int clicks = 0;
    QObject::connect(edit.Button, &TSpinButton::upClick, [&] { ++clicks; });
    QTest::mousePress(up, Qt::LeftButton, Qt::NoModifier, up->rect().center());
    EXPECT_EQ(clicks, 0) << "a press alone is no click";
    // No deadline that matters: the wait ends with the third repeat.
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks >= 3; }, 60000));
    EXPECT_EQ(edit.GetValue(), clicks) << "each repeat steps the value once";
    QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, up->rect().center());
    const int released = clicks;
    EXPECT_FALSE(up->isDown());
    // Once let go, the button repeats no more.
    QTest::qWait(300);
    EXPECT_EQ(clicks, released);
    EXPECT_EQ(edit.GetValue(), clicks);
}

}  // namespace
}  // namespace qm
