// The style dialogs: the name checks of the properties dialog, its type and
// its font and paragraph commands; the styles dialog's New (at most 25),
// Modify (the bullet kept), Remove, Reorganize, Apply and Done on the list it
// is given; the reorder dialog's Up, Down and drop at the list's ends; help.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "dialogs/reorganizestyles.h"
#include "dialogs/styledlg.h"
#include "dialogs/styleprops.h"
#include "editor/qtfont.h"
#include "tagform_fixture.h"
#include "widgets/spinedit.h"

namespace qmtest {
namespace {

using qm::TfrmReorganizeStyles;
using qm::TfrmStyleProperties;
using qm::TfrmStyles;
using qm::TStyle;
using qm::TStyles;

TStyles Defaults() {
    TStyles s;
    s.SetDefaults();  // Normal, StdHeader, Title1, Title2, Title3
    return s;
}

QStringList Names(const TStyles& styles) {
    QStringList out;
    for (const std::string& n : styles.Names()) out << QString::fromStdString(n);
    return out;
}

QStringList Lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

class StyleDialogsTest : public TagFormTest {
protected:
    TStyles styles = Defaults();
};

// --- Style Properties ----------------------------------------------------------------

TEST_F(StyleDialogsTest, TheNameIsCheckedAtOk) {
    struct Row {
        const char* name;
        int editIndex;  // -1: a new style
        QString typed;
        const char* refusal;  // nullptr: accepted
        const char* stored;
    };
    for (const Row& row : {
             Row{"own name in another case", 3, "TITLE1", nullptr, "TITLE1"},
             Row{"another style's name, other case", 3, "normal", "normal: this style name is already used.", ""},
             Row{"a new style named like one", -1, "normal", "normal: this style name is already used.", ""},
             Row{"a new name", -1, "Note", nullptr, "Note"},
             Row{"trimmed before the checks", -1, "  Note  ", nullptr, "Note"},
             Row{"a blank inside", -1, "My Note", "Spaces are not allowed in styles names.", ""},
             Row{"an empty name passes", -1, "", nullptr, ""},
             Row{"Western European letters are kept", -1, QString::fromUtf8("Notiz\xC3\xA9"), nullptr, "Notiz\xE9"},
             Row{"a letter Windows-1252 lacks", -1, QString::fromUtf8("Not\xCE\xA9"),
                 "cannot be stored in a help project", ""},
         }) {
        SCOPED_TRACE(row.name);
        TfrmStyleProperties d(factory, styles);
        TStyle style = row.editIndex > 0 ? *styles.GetStyle(row.editIndex) : TStyle{};
        d.Preset(style, row.editIndex, style.Name);
        d.txtStyleName->setText(row.typed);
        if (row.refusal) ui.ExpectMessage(qm::MsgKind::Information, QString::fromLatin1(row.refusal));
        ClickOk(d);
        ui.ExpectAllAnswered(row.name);
        EXPECT_EQ(d.Accepted(), row.refusal == nullptr);
        if (!row.refusal) {
            EXPECT_EQ(d.Style().Name, std::string(row.stored));
        }
    }
}

TEST_F(StyleDialogsTest, ParagraphSettingsOnlyForAParagraphStyle) {
    TfrmStyleProperties d(factory, styles);
    TStyle style = *styles.GetStyle(1);
    d.Preset(style, 1, style.Name);
    d.Activate();
    EXPECT_EQ(d.cboStyleType->currentText(), QStringLiteral("Character"));
    EXPECT_FALSE(d.mnuFormatPopParagraph->isEnabled());
    EXPECT_TRUE(d.mnuFormatPopFont->isEnabled());
    EXPECT_FALSE(d.pbDescription->text().contains(QStringLiteral("Paragraph:")));
    d.cboStyleType->setCurrentIndex(1);
    EXPECT_TRUE(d.mnuFormatPopParagraph->isEnabled());
    EXPECT_EQ(d.Style().StyleType, 1);
    EXPECT_TRUE(d.pbDescription->text().contains(QStringLiteral("Paragraph:  Left justify")));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Style Properties"));
    EXPECT_EQ(d.cmdOk->text(), QStringLiteral("Ok"));
}

TEST_F(StyleDialogsTest, FontAndParagraphChangeTheStyle) {
    TfrmStyleProperties d(factory, styles);
    TStyle style = *styles.GetStyle(1);
    style.StyleType = 1;
    d.Preset(style, 1, style.Name);
    d.Activate();
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(12);
    font.setItalic(true);
    ui.ExpectFont(font, QColor(0, 0, 255));
    d.mnuFormatPopFont->trigger();
    ASSERT_EQ(ui.fontRequests.size(), 1u);
    EXPECT_EQ(ui.fontRequests[0].font.pointSize(), 8);
    EXPECT_EQ(ui.fontRequests[0].color, QColor(0, 0, 0));
    EXPECT_EQ(d.Style().Font.Name, "DejaVu Serif");
    EXPECT_EQ(d.Style().Font.Size, 12);
    EXPECT_EQ(d.Style().Font.Style, qm::kFontItalic);
    EXPECT_EQ(d.Style().Font.Color, 0xFF0000);
    EXPECT_EQ(d.pbSample->text(), QStringLiteral("DejaVu Serif"));

    ui.ExpectDialog(QStringLiteral("frmParagraph"), [](QDialog& dialog) {
        auto* left = dialog.findChild<QLineEdit*>(QStringLiteral("seLeft"));
        auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("tbsParagraph"));
        EXPECT_FALSE(tabs->isTabVisible(1));
        // A style's paragraph is in pixels, without limits.
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblScale1"))->text(), QStringLiteral("pixels"));
        auto* spacing = dialog.findChild<qm::TQorSpinEdit*>(QStringLiteral("seSpacing"));
        EXPECT_EQ(spacing->MaxValue, spacing->MinValue);
        left->setText(QStringLiteral("20"));
        return ClickOk(dialog);
    });
    d.mnuFormatPopParagraph->trigger();
    EXPECT_EQ(d.Style().StartIndent, 20);
    EXPECT_TRUE(d.pbDescription->text().contains(QStringLiteral("Left indent: 20")));
    d.cmdHelp->click();
    EXPECT_EQ(ui.helpContexts, std::vector<int>{460});
}

// --- Styles ---------------------------------------------------------------------------

TEST_F(StyleDialogsTest, NewAppendsAStyleThatStaysAfterDone) {
    qm::TFontInfo font{"DejaVu Sans", 11, qm::kFontBold, 0x0000FF};
    // The styles dialog opens first; its New opens the properties.
    ui.ExpectDialog(QStringLiteral("frmStyles"), [](QDialog& dialog) {
        auto& d = static_cast<TfrmStyles&>(dialog);
        EXPECT_EQ(d.SelectedLine(), 2);
        d.cmdNewStyle->click();
        EXPECT_EQ(Lines(d.lstStyles).last(), QStringLiteral("Note"));
        EXPECT_EQ(d.SelectedLine(), 2);  // the selection does not move
        d.cmdDone->click();
        return d.result();
    });
    ui.ExpectDialog(QStringLiteral("frmStyleProperties"), [](QDialog& dialog) {
        auto& d = static_cast<TfrmStyleProperties&>(dialog);
        EXPECT_EQ(d.txtStyleName->text(), QStringLiteral("NewStyle"));
        EXPECT_EQ(d.cboStyleType->currentText(), QStringLiteral("Character"));
        EXPECT_EQ(d.Style().Font.Name, "DejaVu Sans");
        d.txtStyleName->setText(QStringLiteral("Note"));
        return ClickOk(d);
    });
    EXPECT_EQ(factory.RunStyles(styles, 2, font), std::nullopt);
    ASSERT_EQ(styles.Count(), 6);
    EXPECT_EQ(styles.GetStyle(6)->Name, "Note");
    EXPECT_EQ(styles.GetStyle(6)->Font, font);
}

// Fault 1: a 26th style is refused before any dialog opens.
TEST_F(StyleDialogsTest, NewWithTwentyFiveStylesIsRefused) {
    for (int i = styles.Count(); i < qm::kMaxStyles; ++i) {
        TStyle s;
        s.Name = "Extra" + std::to_string(i);
        styles.Add(s);
    }
    TfrmStyles d(factory, styles);
    ui.ExpectMessage(qm::MsgKind::Information,
                     QStringLiteral("There can be at most 25 styles. Remove one before adding another."));
    d.cmdNewStyle->click();
    ui.ExpectAllAnswered();
    EXPECT_EQ(styles.Count(), 25);
    EXPECT_EQ(d.lstStyles->count(), 25);
}

TEST_F(StyleDialogsTest, ModifyCopiesBackAllButTheBullet) {
    styles.GetStyle(2)->Bullet = true;
    TfrmStyles d(factory, styles);
    d.SelectLine(1);
    ui.ExpectDialog(QStringLiteral("frmStyleProperties"), [](QDialog& dialog) {
        auto& p = static_cast<TfrmStyleProperties&>(dialog);
        EXPECT_EQ(p.txtStyleName->text(), QStringLiteral("StdHeader"));
        p.txtStyleName->setText(QStringLiteral("Header"));
        p.cboStyleType->setCurrentIndex(1);
        return ClickOk(p);
    });
    emit d.lstStyles->itemDoubleClicked(d.lstStyles->item(1));
    const TStyle& changed = *styles.GetStyle(2);
    EXPECT_EQ(changed.Name, "Header");
    EXPECT_EQ(changed.StyleType, 1);
    EXPECT_TRUE(changed.Bullet);
    EXPECT_EQ(d.lstStyles->item(1)->text(), QStringLiteral("Header"));
    EXPECT_EQ(d.pbSample->text(), QStringLiteral("Header"));
    EXPECT_TRUE(d.pbDescription->text().contains(QStringLiteral("Paragraph:")));

    // Cancel changes nothing.
    ui.ExpectDialog(QStringLiteral("frmStyleProperties"), [](QDialog& dialog) {
        static_cast<TfrmStyleProperties&>(dialog).txtStyleName->setText(QStringLiteral("Other"));
        dialog.reject();
        return dialog.result();
    });
    d.cmdModifyStyle->click();
    EXPECT_EQ(styles.GetStyle(2)->Name, "Header");
}

TEST_F(StyleDialogsTest, RemoveAsksThenSelectsTheNextLine) {
    TfrmStyles d(factory, styles);
    d.Activate();
    d.SelectLine(4);
    ui.ExpectMessage(qm::MsgKind::Confirmation, QStringLiteral("Remove the style \"Title3\" ?"), qm::MsgResult::No);
    d.cmdRemoveStyle->click();
    EXPECT_EQ(styles.Count(), 5);
    ui.ExpectMessage(qm::MsgKind::Confirmation, QStringLiteral("Remove the style \"Title3\" ?"), qm::MsgResult::Yes);
    d.cmdRemoveStyle->click();
    EXPECT_EQ(Names(styles), (QStringList{"Normal", "StdHeader", "Title1", "Title2"}));
    EXPECT_EQ(Lines(d.lstStyles), Names(styles));
    EXPECT_EQ(d.SelectedLine(), 3);  // the last one removed: the new last
    d.SelectLine(1);
    ui.ExpectMessage(qm::MsgKind::Confirmation, QStringLiteral("Remove the style \"StdHeader\" ?"), qm::MsgResult::Yes);
    d.cmdRemoveStyle->click();
    EXPECT_EQ(d.SelectedLine(), 1);
    EXPECT_EQ(d.lstStyles->currentItem()->text(), QStringLiteral("Title1"));
    EXPECT_EQ(d.pbSample->text(), QStringLiteral("Title1"));
    EXPECT_TRUE(d.cmdRemoveStyle->isEnabled());
    // With two styles, removing one leaves the last: neither removable nor reorderable.
    ui.ExpectMessage(qm::MsgKind::Confirmation, QStringLiteral("Title1"), qm::MsgResult::Yes);
    d.cmdRemoveStyle->click();
    EXPECT_EQ(styles.Count(), 2);
    EXPECT_TRUE(d.cmdRemoveStyle->isEnabled());
    ui.ExpectMessage(qm::MsgKind::Confirmation, QStringLiteral("Remove the style"), qm::MsgResult::Yes);
    d.cmdRemoveStyle->click();
    EXPECT_EQ(styles.Count(), 1);
    EXPECT_FALSE(d.cmdRemoveStyle->isEnabled());
    EXPECT_FALSE(d.cmdReorganize->isEnabled());
}

TEST_F(StyleDialogsTest, ReorganizeReplacesTheListOnlyOnOk) {
    TfrmStyles d(factory, styles);
    d.SelectLine(1);  // StdHeader
    ui.ExpectDialog(QStringLiteral("frmReorganizeStyles"), [](QDialog& dialog) {
        auto& r = static_cast<TfrmReorganizeStyles&>(dialog);
        EXPECT_EQ(r.lstStyles->currentRow(), 1);
        r.cmdUpClick();
        dialog.reject();
        return dialog.result();
    });
    d.cmdReorganize->click();
    EXPECT_EQ(Names(styles), Names(Defaults()));

    ui.ExpectDialog(QStringLiteral("frmReorganizeStyles"), [](QDialog& dialog) {
        auto& r = static_cast<TfrmReorganizeStyles&>(dialog);
        r.lstStyles->setCurrentRow(4);  // Title3 to the top, by a drop
        r.dropOnRow(0);
        return ClickOk(r);
    });
    d.cmdReorganize->click();
    EXPECT_EQ(Names(styles), (QStringList{"Title3", "Normal", "StdHeader", "Title1", "Title2"}));
    EXPECT_EQ(Lines(d.lstStyles), Names(styles));
    // The style selected before is selected again, where it is now.
    EXPECT_EQ(d.lstStyles->currentItem()->text(), QStringLiteral("StdHeader"));
    EXPECT_EQ(d.SelectedLine(), 2);
}

TEST_F(StyleDialogsTest, ApplyClosesWithTheSelectedLineAndHelpIs200) {
    ui.ExpectDialog(QStringLiteral("frmStyles"), [this](QDialog& dialog) {
        auto& d = static_cast<TfrmStyles&>(dialog);
        EXPECT_EQ(d.SelectedLine(), 0);  // out of range: the first line
        d.cmdHelp->click();
        EXPECT_EQ(ui.helpContexts, std::vector<int>{200});
        d.SelectLine(3);
        d.cmdApply->click();
        return d.result();
    });
    EXPECT_EQ(factory.RunStyles(styles, 99, {}), std::optional<int>(3));
}

// --- Reorganize Styles ----------------------------------------------------------------

TEST_F(StyleDialogsTest, UpAndDownMoveTheSelectedStyle) {
    TfrmReorganizeStyles d(ui, styles, 2);
    d.Activate();
    d.cmdUp->click();
    EXPECT_EQ(Names(d.Working()), (QStringList{"Normal", "Title1", "StdHeader", "Title2", "Title3"}));
    EXPECT_EQ(Lines(d.lstStyles), Names(d.Working()));
    EXPECT_EQ(d.lstStyles->currentItem()->text(), QStringLiteral("Title1"));
    d.cmdDown->click();
    d.cmdDown->click();
    EXPECT_EQ(Names(d.Working()), (QStringList{"Normal", "StdHeader", "Title2", "Title1", "Title3"}));
    EXPECT_EQ(d.lstStyles->currentRow(), 3);
    // The list the dialog was given is not touched.
    EXPECT_EQ(Names(styles), Names(Defaults()));
}

// Fault 2: Up is disabled on the first line, Down on the last; with no
// selection both are, and a drop does nothing.
TEST_F(StyleDialogsTest, TheEndsOfTheReorderList) {
    struct Row {
        const char* name;
        int selected;
        bool up, down;
    };
    for (const Row& row : {
             Row{"first line", 0, false, true},
             Row{"middle", 2, true, true},
             Row{"last line", 4, true, false},
             Row{"no selection", -1, false, false},
         }) {
        SCOPED_TRACE(row.name);
        TfrmReorganizeStyles d(ui, styles, row.selected);
        d.Activate();
        EXPECT_EQ(d.cmdUp->isEnabled(), row.up);
        EXPECT_EQ(d.cmdDown->isEnabled(), row.down);
        d.cmdUpClick();
        d.cmdDownClick();
        if (!row.up && !row.down) {
            d.dropOnRow(0);
            d.dropOnRow(4);
            EXPECT_EQ(Names(d.Working()), Names(Defaults()));
        }
    }
    // Clearing the selection disables both.
    TfrmReorganizeStyles d(ui, styles, 2);
    d.Activate();
    d.lstStyles->clearSelection();
    EXPECT_FALSE(d.cmdUp->isEnabled());
    EXPECT_FALSE(d.cmdDown->isEnabled());
    d.dropOnRow(0);
    EXPECT_EQ(Names(d.Working()), Names(Defaults()));
    // A drop where there is no line does nothing either.
    d.lstStyles->setCurrentRow(1);
    d.dropOnRow(-1);
    EXPECT_EQ(Names(d.Working()), Names(Defaults()));
    d.dropOnRow(3);
    EXPECT_EQ(Names(d.Working()), (QStringList{"Normal", "Title1", "Title2", "StdHeader", "Title3"}));
    EXPECT_EQ(d.lstStyles->currentItem()->text(), QStringLiteral("StdHeader"));
}

TEST_F(StyleDialogsTest, ScreenshotsOfTheStyleDialogs) {
    TStyle note;
    note.SetAll("Note", 1, "DejaVu Serif", 12, qm::kFontItalic, 0x800000, 20, -10, 0, 0, 0, 0, false);
    styles.Add(note);
    TfrmStyles d(factory, styles);
    d.SelectLine(5);
    Screenshot(d, QStringLiteral("styles.png"));
    d.hide();
    TfrmStyleProperties p(factory, styles);
    p.Preset(note, 6, note.Name);
    Screenshot(p, QStringLiteral("styleproperties.png"));
    p.hide();
    TfrmReorganizeStyles r(ui, styles, 1);
    Screenshot(r, QStringLiteral("reorganizestyles.png"));
    r.hide();
}

}  // namespace
}  // namespace qmtest
