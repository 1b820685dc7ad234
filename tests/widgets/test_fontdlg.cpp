// The font dialog: it shows the font and colour it is given, hands back
// what the user set, keeps a colour the named ones lack, and refuses a size
// that is no size.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontComboBox>
#include <QImage>
#include <QLabel>

#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "widgets/colorcombo.h"
#include "widgets/fontdlg.h"

namespace qm {
namespace {

class FontDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
    void TearDown() override { ui.ExpectAllAnswered(); }
    qmtest::ScriptedUiServices ui;
};

QFont Font(int points, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

TEST_F(FontDialogTest, ShowsTheChoiceAndReturnsWhatTheUserSet) {
    ui.ExpectDialog(QStringLiteral("dlgFont"), [](QDialog& d) {
        auto& dlg = static_cast<TdlgFont&>(d);
        EXPECT_EQ(dlg.cboFontSize->currentText(), QStringLiteral("12"));
        EXPECT_TRUE(dlg.chkBold->isChecked());
        EXPECT_FALSE(dlg.chkItalic->isChecked());
        EXPECT_EQ(dlg.cboColor->currentText(), QStringLiteral("Blue"));
        dlg.cboFontSize->setEditText(QStringLiteral("20"));
        dlg.chkBold->setChecked(false);
        dlg.chkUnderline->setChecked(true);
        dlg.cboColor->setCurrentIndex(11);  // Red
        dlg.accept();
        return d.result();
    });
    const auto chosen = RunFontDialog(ui, FontChoice{Font(12, true), QColor(0, 0, 255)});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->font.pointSize(), 20);
    EXPECT_FALSE(chosen->font.bold());
    EXPECT_TRUE(chosen->font.underline());
    EXPECT_EQ(chosen->color, QColor(255, 0, 0));
}

TEST_F(FontDialogTest, AColourOutsideTheNamedOnesSurvivesOk) {
    ui.ExpectDialog(QStringLiteral("dlgFont"), [](QDialog& d) {
        auto& dlg = static_cast<TdlgFont&>(d);
        EXPECT_EQ(dlg.cboColor->currentIndex(), -1);
        dlg.accept();
        return d.result();
    });
    const auto chosen = RunFontDialog(ui, FontChoice{Font(10, false), QColor(0x12, 0x34, 0x56)});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->color, QColor(0x12, 0x34, 0x56));
}

// A style's face that this machine lacks ("MS Sans Serif" of the default
// styles) stays the style's face when only the colour changes; a face the
// user picks replaces it.
TEST_F(FontDialogTest, AFaceThatIsNotInstalledSurvivesOk) {
    QFont missing(QStringLiteral("No Such Face Anywhere"));
    missing.setPointSize(10);
    ui.ExpectDialog(QStringLiteral("dlgFont"), [](QDialog& d) {
        auto& dlg = static_cast<TdlgFont&>(d);
        dlg.cboColor->setCurrentIndex(11);  // Red
        dlg.accept();
        return d.result();
    });
    const auto kept = RunFontDialog(ui, FontChoice{missing, QColor(Qt::black)});
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->font.family(), QStringLiteral("No Such Face Anywhere"));
    EXPECT_EQ(kept->color, QColor(255, 0, 0));

    ui.ExpectDialog(QStringLiteral("dlgFont"), [](QDialog& d) {
        auto& dlg = static_cast<TdlgFont&>(d);
        dlg.cboFontName->setCurrentFont(QFont(QStringLiteral("DejaVu Serif")));
        dlg.accept();
        return d.result();
    });
    const auto changed = RunFontDialog(ui, FontChoice{missing, QColor(Qt::black)});
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->font.family(), QStringLiteral("DejaVu Serif"));
}

TEST_F(FontDialogTest, CancelGivesNothingAndABadSizeIsRefused) {
    ui.ExpectDialog(QStringLiteral("dlgFont"), [this](QDialog& d) {
        auto& dlg = static_cast<TdlgFont&>(d);
        dlg.cboFontSize->setEditText(QString());
        ui.ExpectMessage(MsgKind::Information, QStringLiteral("The size must be a whole number"));
        dlg.accept();
        EXPECT_FALSE(dlg.Accepted());
        dlg.reject();
        return d.result();
    });
    EXPECT_FALSE(RunFontDialog(ui, FontChoice{Font(10, false), QColor(Qt::black)}).has_value());
}

// The scripted services answer the font requests with a colour too.
TEST_F(FontDialogTest, TheScriptedFontRequestCarriesTheColour) {
    ui.ExpectFont(Font(14, true), QColor(0, 128, 0));
    ui.ExpectFont(Font(9, false));
    const auto first = ui.ChooseFont(FontChoice{Font(10, false), QColor(Qt::black)});
    const auto second = ui.ChooseFont(FontChoice{Font(10, false), QColor(0, 0, 128)});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->color, QColor(0, 128, 0));
    EXPECT_EQ(second->color, QColor(0, 0, 128));  // the offered one
    ASSERT_EQ(ui.fontRequests.size(), 2u);
    EXPECT_EQ(ui.fontRequests[1].color, QColor(0, 0, 128));
}

// A picture for tools/screenshot-format.sh, saved in $QM_SCREENSHOT_DIR
// when it is set; no caption may be cut.
TEST_F(FontDialogTest, ScreenshotOfTheFontDialog) {
    TdlgFont d(ui);
    d.SetChoice(FontChoice{Font(12, true), QColor(0, 0, 128)});
    d.show();
    QApplication::processEvents();
    for (QWidget* w : d.findChildren<QWidget*>()) {
        if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w))) continue;
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString() << " is cut";
    }
    EXPECT_EQ(d.cboColor->currentText(), QStringLiteral("Navy"));
    const QImage shot = d.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(shot.save(QDir(dir).filePath(QStringLiteral("font.png")), "PNG"));
    }
    d.hide();
}

}  // namespace
}  // namespace qm
