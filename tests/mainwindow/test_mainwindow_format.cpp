// Formatting in the real window, offscreen: dragging the ruler's markers
// sets the paragraph at the caret, the ruler shows a paragraph's indents
// where its text is, the Paragraph command's values survive a save, and a
// style made in the Styles dialog is applied, reordered and kept.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include "dialogs/paragraphdlg.h"
#include "dialogs/reorganizestyles.h"
#include "dialogs/styledlg.h"
#include "dialogs/styleprops.h"
#include "editor/ruler.h"
#include "mainwindow/formatcommands.h"
#include "mainwindow/stylecombo.h"
#include "mainwindow_fixture.h"
#include "widgets/spinedit.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;

// Clicks OK and reports the dialog's answer, as the user's OK would end it.
int ClickOk(QDialog& d) {
    d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return d.result();
}

class MainWindowFormatTest : public MainWindowTest {
protected:
    // A project with the contents topic and one topic named `name` whose
    // body is `paragraphs` (RTF, \par between paragraphs).
    std::string SaveProjectWith(const char* name, const std::string& paragraphs) {
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("Contents text");
        qm::TTopicNode& node = p.Topics.AddNew();
        node.SetName(name);
        node.SetTitle(name);
        node.ContextId = 10;
        node.Text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1" + paragraphs + "\r\n}";
        const std::string path = root_ + "format.qpf";
        p.SaveToFile(path);
        return path;
    }

    // Shows the window with its ruler, laid out.
    static void ShowWithRuler(qm::TfrmMain& w) {
        w.resize(1000, 700);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        if (!w.RulerControl().isVisible()) Act(w, "actToggleRuler")->trigger();
        QApplication::processEvents();
        ASSERT_TRUE(w.RulerControl().isVisible());
    }

    // x on the ruler of a point of the editor's viewport.
    static int RulerX(qm::TfrmMain& w, QPoint inViewport) {
        QWidget* viewport = w.Editor()->viewport();
        return w.RulerControl().mapFrom(&w, viewport->mapTo(&w, inViewport)).x();
    }

    // The indents of paragraph `block` (0-based): start, offset, right.
    static std::array<int, 3> Indents(qm::TfrmMain& w, int block) {
        qm::TRichText2* e = w.Editor();
        e->SetSelStart(e->document()->findBlockByNumber(block).position());
        return {e->Paragraph.GetFirstIndent(), e->Paragraph.GetLeftIndent(), e->Paragraph.GetRightIndent()};
    }

    static void Drag(QWidget* ruler, QPoint from, QPoint to) {
        QTest::mousePress(ruler, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(ruler, to);
        QTest::mouseRelease(ruler, Qt::LeftButton, Qt::NoModifier, to);
    }
};

TEST_F(MainWindowFormatTest, DraggingTheRulerIndentsTheParagraphAtTheCaret) {
    const std::string file = SaveProjectWith("Two", "\\pard\\f0\\fs20 First paragraph\\par\r\nSecond paragraph\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Two");
    ShowWithRuler(*w);
    qm::TRuler& ruler = w->RulerControl();
    QWidget* guide = w->findChild<QWidget*>(QStringLiteral("RulerGuide"));
    ASSERT_NE(guide, nullptr);
    EXPECT_FALSE(w->Project().Modified);

    w->Editor()->SetSelStart(w->Editor()->document()->findBlockByNumber(1).position() + 3);
    ASSERT_EQ(ruler.GetLeftIndent(), 0);
    const int zero = ruler.Origin();
    // The scale's zero is where the text starts.
    EXPECT_NEAR(zero, RulerX(*w, {static_cast<int>(w->Editor()->document()->documentMargin()), 0}), 1);

    // The first-line marker to zero + 25: snapped to the next grid point, 30.
    QTest::mousePress(&ruler, Qt::LeftButton, Qt::NoModifier, {zero, 8});
    EXPECT_TRUE(guide->isVisible());
    QTest::mouseMove(&ruler, {zero + 25, 8});
    EXPECT_TRUE(guide->isVisible());
    EXPECT_NEAR(RulerX(*w, guide->pos()), zero + 30, 1);
    QTest::mouseRelease(&ruler, Qt::LeftButton, Qt::NoModifier, {zero + 25, 8});
    EXPECT_FALSE(guide->isVisible());
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_EQ(ruler.GetLeftIndent(), 30);
    EXPECT_EQ(ruler.GetFirstIndent(), -30);

    // The following-lines marker's upper part moves it alone: to 50.
    Drag(&ruler, {zero, 20}, {zero + 45, 20});
    EXPECT_FALSE(guide->isVisible());
    EXPECT_EQ(Indents(*w, 1), (std::array<int, 3>{30, 20, 0}));
    EXPECT_EQ(Indents(*w, 0), (std::array<int, 3>{0, 0, 0}));

    // Its lower part moves both: from 50 to 70, the first line with it.
    w->Editor()->SetSelStart(w->Editor()->document()->findBlockByNumber(1).position());
    ASSERT_EQ(ruler.GetLeftIndent(), 30);
    Drag(&ruler, {zero + 50, 29}, {zero + 65, 29});
    EXPECT_EQ(Indents(*w, 1), (std::array<int, 3>{50, 20, 0}));
    EXPECT_EQ(Indents(*w, 0), (std::array<int, 3>{0, 0, 0}));

    Act(*w, "actSave")->trigger();
    EXPECT_FALSE(w->Project().Modified);
    w.reset();
    auto again = Start({qm::FromCp1252(file)});
    OpenRow(*again, "lstTopics", "Two");
    EXPECT_EQ(Indents(*again, 1), (std::array<int, 3>{50, 20, 0}));
    EXPECT_EQ(Indents(*again, 0), (std::array<int, 3>{0, 0, 0}));
}

// A drag cut short (here the ruler hidden in the middle of it) ends as a
// release does: the paragraph takes the marker and the guide line goes.
TEST_F(MainWindowFormatTest, ADragCutShortEndsAndTakesItsGuideAlong) {
    const std::string file = SaveProjectWith("Cut", "\\pard\\f0\\fs20 Only paragraph\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Cut");
    ShowWithRuler(*w);
    qm::TRuler& ruler = w->RulerControl();
    QWidget* guide = w->findChild<QWidget*>(QStringLiteral("RulerGuide"));
    ASSERT_NE(guide, nullptr);
    w->Editor()->SetSelStart(2);
    const int zero = ruler.Origin();
    QTest::mousePress(&ruler, Qt::LeftButton, Qt::NoModifier, {zero, 8});
    QTest::mouseMove(&ruler, {zero + 15, 8});
    ASSERT_TRUE(guide->isVisible());
    Act(*w, "actToggleRuler")->trigger();
    EXPECT_FALSE(ruler.isVisible());
    EXPECT_FALSE(ruler.Dragging());
    EXPECT_FALSE(guide->isVisible());
    // The first line at 20, the others where they were.
    EXPECT_EQ(Indents(*w, 0), (std::array<int, 3>{20, -20, 0}));
    EXPECT_TRUE(w->Project().Modified);
}

TEST_F(MainWindowFormatTest, TheRulerShowsTheParagraphsIndentsOverItsText) {
    // The first line 20 pixels in, the others 40, the right edge 30.
    const std::string file = SaveProjectWith("Hang", "\\pard\\fi-300\\li600\\ri450\\f0\\fs20 Hanging text\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Hang");
    ShowWithRuler(*w);
    w->Editor()->SetSelStart(3);
    const qm::TRuler& ruler = w->RulerControl();
    EXPECT_EQ(ruler.GetLeftIndent(), 20);
    EXPECT_EQ(ruler.GetFirstIndent(), 20);
    EXPECT_EQ(ruler.GetRightIndent(), 30);
    const qm::TRulerModel& m = ruler.Model();
    const int zero = m.LeftMargin;
    EXPECT_EQ(m.HitTest(zero + 20, 8), qm::TRulerMarker::FirstLine);
    EXPECT_EQ(m.HitTest(zero + 40, 20), qm::TRulerMarker::FollowingLines);
    EXPECT_EQ(m.HitTest(m.Width - m.RightMargin - 30, 20), qm::TRulerMarker::RightIndent);
    // The first-line marker stands over the first character.
    QTextCursor first(w->Editor()->document());
    first.setPosition(0);
    const int firstChar = RulerX(*w, w->Editor()->cursorRect(first).topLeft());
    EXPECT_NEAR(m.MarkerX(qm::TRulerMarker::FirstLine), firstChar, 2);
    // The right-indent marker over the text's right edge (the editor frame
    // gives the text margins of its own, so the root frame's right margin).
    QWidget* viewport = w->Editor()->viewport();
    const int rightMargin = static_cast<int>(w->Editor()->document()->rootFrame()->frameFormat().rightMargin());
    const int textRight = RulerX(*w, {viewport->width() - rightMargin - 30, 0});
    EXPECT_NEAR(m.MarkerX(qm::TRulerMarker::RightIndent), textRight, 2);
}

// The scale's zero follows the text: the window's width, and the text's
// own margin (as the gutter changes it), move it.
TEST_F(MainWindowFormatTest, TheScalesZeroFollowsTheText) {
    auto w = Start();
    ASSERT_TRUE(started);
    ShowWithRuler(*w);
    qm::TRuler& ruler = w->RulerControl();
    qm::TRichText2* editor = w->Editor();
    auto textLeft = [&] {
        const QTextFrameFormat f = editor->document()->rootFrame()->frameFormat();
        return RulerX(*w, {static_cast<int>(f.leftMargin() + f.border() + f.padding()), 0});
    };
    EXPECT_EQ(ruler.Origin(), textLeft());

    QTextFrameFormat f = editor->document()->rootFrame()->frameFormat();
    const int before = ruler.Origin();
    f.setLeftMargin(f.leftMargin() + 25);
    editor->document()->rootFrame()->setFrameFormat(f);
    QApplication::processEvents();
    EXPECT_EQ(ruler.Origin(), before + 25);
    EXPECT_EQ(ruler.Origin(), textLeft());

    const int rightEnd = ruler.width() - ruler.RightMargin;
    w->resize(w->width() - 100, w->height());
    QApplication::processEvents();
    EXPECT_EQ(ruler.Origin(), textLeft());
    EXPECT_EQ(ruler.width() - ruler.RightMargin, rightEnd - 100);
}

TEST_F(MainWindowFormatTest, TheScaleMenuSetsTheRulerAndTheOption) {
    auto w = Start();
    ASSERT_TRUE(started);
    auto* menu = w->findChild<QMenu*>(QStringLiteral("mnuPopScaleMode"));
    ASSERT_NE(menu, nullptr);
    for (const auto& [name, mode] : {std::pair{"mnuPopScaleCentimeters", 2}, std::pair{"mnuPopScaleInches", 1},
                                     std::pair{"mnuPopScalePixels", 0}}) {
        SCOPED_TRACE(name);
        Act(*w, name)->trigger();
        EXPECT_EQ(w->RulerControl().ScaleMode(), mode);
        EXPECT_EQ(w->Options().ScaleMode, mode);
        emit menu->aboutToShow();
        EXPECT_TRUE(Act(*w, name)->isChecked());
    }
}

TEST_F(MainWindowFormatTest, TheParagraphCommandsValuesSurviveASave) {
    const std::string file = SaveProjectWith("Para", "\\pard\\li720\\f0\\fs20 Some text\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Para");
    Act(*w, "mnuPopScaleInches")->trigger();
    w->Editor()->SetSelStart(2);
    auto type = [](qm::TQorSpinEdit* edit, const char* text) {
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    };
    auto choose = [](QComboBox* combo, int index) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    };
    ui.ExpectDialog(QStringLiteral("frmParagraph"), [&](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmParagraph&>(dialog);
        EXPECT_EQ(d.lblScale[0]->text(), QStringLiteral("inches"));
        EXPECT_EQ(d.seLeft->text(), QStringLiteral("0.5"));  // 48 pixels
        type(d.seLeft, "0.25");
        choose(d.cboFirstLine, 1);  // Positive
        type(d.seFirst, "0.25");
        type(d.seRight, "0.5");
        type(d.seBefore, "0.125");
        type(d.seAfter, "0.0625");
        choose(d.cboLineSpacingRule, 1);         // Exactly
        type(d.seSpacing, "0.145833333333333");  // 14 pixels
        choose(d.cboAlignment, 1);               // Center
        for (const char* tab : {"100", "20", "60"}) {
            d.txtTabs->setText(QString::fromLatin1(tab));
            d.cmdAdd->click();
        }
        return ClickOk(d);
    });
    Act(*w, "actParagraph")->trigger();
    ui.ExpectAllAnswered("the paragraph dialog");
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_EQ(w->RulerControl().GetLeftIndent(), 48);
    EXPECT_EQ(w->RulerControl().GetFirstIndent(), -24);

    auto check = [](qm::TfrmMain& window) {
        qm::TParaAttributes2& p = window.Editor()->Paragraph;
        window.Editor()->SetSelStart(2);
        EXPECT_EQ(p.GetFirstIndent(), 48);
        EXPECT_EQ(p.GetLeftIndent(), -24);
        EXPECT_EQ(p.GetRightIndent(), 48);
        EXPECT_EQ(p.GetAlignment(), qm::TAlignment::taCenter);
        EXPECT_EQ(p.GetSpaceBefore(), 12);
        EXPECT_EQ(p.GetSpaceAfter(), 6);
        EXPECT_EQ(p.GetLineSpacingRule(), 4);
        EXPECT_EQ(p.GetLineSpacing(), 14);
        ASSERT_EQ(p.GetTabCount(), 3);
        EXPECT_EQ(p.GetTab(0), 20);
        EXPECT_EQ(p.GetTab(1), 60);
        EXPECT_EQ(p.GetTab(2), 100);
    };
    check(*w);
    Act(*w, "actSave")->trigger();
    w.reset();

    auto again = Start({qm::FromCp1252(file)});
    OpenRow(*again, "lstTopics", "Para");
    check(*again);
    const std::string rtf = again->CurrentNode()->Text;
    EXPECT_NE(rtf.find("\\tx300\\tx900\\tx1500"), std::string::npos) << rtf;

    // Cancel changes nothing, the modified flag included.
    const std::string before = again->Editor()->GetRtfText();
    ui.ExpectDialog(QStringLiteral("frmParagraph"), [](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmParagraph&>(dialog);
        d.seLeft->setText(QStringLiteral("3"));
        d.reject();
        return d.result();
    });
    Act(*again, "actParagraph")->trigger();
    EXPECT_FALSE(again->Project().Modified);
    EXPECT_EQ(again->Editor()->GetRtfText(), before);
}

// Fault 7 in the window: a tab added to a justified, double-spaced
// paragraph leaves both as they were.
TEST_F(MainWindowFormatTest, AParagraphKeepsWhatTheDialogCannotShow) {
    const std::string file = SaveProjectWith("Just", "\\pard\\qj\\sl480\\slmult1\\li301\\f0\\fs20 Justified text\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Just");
    w->Editor()->SetSelStart(2);
    const qm::ParaFormat before = w->Editor()->selectionParaFormat();
    ui.ExpectDialog(QStringLiteral("frmParagraph"), [](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmParagraph&>(dialog);
        EXPECT_EQ(d.cboAlignment->currentText(), QStringLiteral("Right"));
        EXPECT_EQ(d.cboLineSpacingRule->currentText(), QStringLiteral("Exactly"));
        d.txtTabs->setText(QStringLiteral("40"));
        d.cmdAdd->click();
        return ClickOk(d);
    });
    Act(*w, "actParagraph")->trigger();
    const qm::ParaFormat after = w->Editor()->selectionParaFormat();
    EXPECT_EQ(after.alignment, qm::ParaAlignment::Justify);
    EXPECT_EQ(after.lineSpacingRule, before.lineSpacingRule);
    EXPECT_EQ(after.lineSpacing, before.lineSpacing);
    // What a pixel cannot hold stays too: 301 twips of indent.
    EXPECT_EQ(after.leftIndent, before.leftIndent);
    EXPECT_EQ(after.tabs, std::vector<int>{600});
    EXPECT_TRUE(w->Project().Modified);
}

TEST_F(MainWindowFormatTest, AStyleIsMadeAppliedReorderedAndKept) {
    const std::string file = SaveProjectWith("Word", "\\pard\\f0\\fs20 Alpha body\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Word");
    qm::TRichText2* editor = w->Editor();
    editor->SetSelStart(0);
    editor->SetSelLength(5);  // "Alpha"

    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(12);
    font.setBold(true);
    ui.ExpectDialog(QStringLiteral("frmStyles"), [](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmStyles&>(dialog);
        d.cmdNewStyle->click();
        d.SelectLine(5);
        d.cmdApply->click();
        return d.result();
    });
    ui.ExpectDialog(QStringLiteral("frmStyleProperties"), [](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmStyleProperties&>(dialog);
        d.txtStyleName->setText(QStringLiteral("Note"));
        d.cboStyleType->setCurrentIndex(1);  // Paragraph
        d.mnuFormatPopFont->trigger();
        d.mnuFormatPopParagraph->trigger();
        return ClickOk(d);
    });
    ui.ExpectFont(font, QColor(255, 0, 0));
    ui.ExpectDialog(QStringLiteral("frmParagraph"), [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("seLeft"))->setText(QStringLiteral("20"));
        return ClickOk(dialog);
    });
    Act(*w, "actStyles")->trigger();
    ui.ExpectAllAnswered("the new style");

    // The word takes Note's font and colour, its paragraph Note's indents.
    editor->SetSelStart(0);
    editor->SetSelLength(5);
    EXPECT_EQ(editor->SelAttributes.GetName(), "DejaVu Serif");
    EXPECT_EQ(editor->SelAttributes.GetSize(), 12);
    EXPECT_EQ(editor->SelAttributes.GetStyle(), qm::TFontStyles(qm::fsBold));
    EXPECT_EQ(editor->SelAttributes.GetColor(), qm::TColor(0x0000FF));
    EXPECT_EQ(editor->Paragraph.GetFirstIndent(), 20);
    EXPECT_EQ(w->RulerControl().GetLeftIndent(), 20);
    auto* box = Child<QComboBox>(*w, "cboStyles");
    EXPECT_EQ(box->currentText(), QStringLiteral("Note"));
    // Text of another font shows no style.
    editor->SetSelStart(8);
    EXPECT_EQ(box->currentIndex(), -1);

    ui.ExpectDialog(QStringLiteral("frmStyles"), [](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmStyles&>(dialog);
        d.SelectLine(5);
        d.cmdReorganize->click();
        d.cmdDone->click();
        return d.result();
    });
    ui.ExpectDialog(QStringLiteral("frmReorganizeStyles"), [](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmReorganizeStyles&>(dialog);
        EXPECT_EQ(d.lstStyles->currentItem()->text(), QStringLiteral("Note"));
        d.dropOnRow(0);
        return ClickOk(d);
    });
    Act(*w, "actStyles")->trigger();
    EXPECT_EQ(box->itemText(0), QStringLiteral("Note"));
    EXPECT_EQ(box->count(), 6);

    ui.ExpectMessage(MsgKind::Confirmation, "Save changes", MsgResult::No);
    ASSERT_TRUE(w->close());
    EXPECT_EQ(settings.ReadInteger("Styles", "Count"), 6);
    EXPECT_EQ(settings.ReadString("Styles\\1", "Name"), "Note");
    EXPECT_EQ(settings.ReadString("Styles\\1", "FontFace"), "DejaVu Serif");
    EXPECT_EQ(settings.ReadInteger("Styles\\1", "StartIndent"), 20);
    w.reset();

    auto next = Start();
    ASSERT_TRUE(started);
    EXPECT_EQ(Child<QComboBox>(*next, "cboStyles")->itemText(0), QStringLiteral("Note"));
}

// Fault 1 in the window: with 25 stored styles New opens nothing.
TEST_F(MainWindowFormatTest, TwentyFiveStoredStylesTakeNoMore) {
    qm::TStyles full;
    for (int i = 1; i <= qm::kMaxStyles; ++i) {
        qm::TStyle s;
        s.SetAll("Style" + std::to_string(i), 0, "DejaVu Sans", 10, 0, 0, 0, 0, 0, 0, 0, 0, false);
        full.Add(s);
    }
    full.SaveToRegistry(settings);
    auto w = Start();
    ASSERT_TRUE(started);
    ui.ExpectDialog(QStringLiteral("frmStyles"), [this](QDialog& dialog) {
        auto& d = static_cast<qm::TfrmStyles&>(dialog);
        EXPECT_EQ(d.lstStyles->count(), 25);
        ui.ExpectMessage(MsgKind::Information, "There can be at most 25 styles. Remove one before adding another.");
        d.cmdNewStyle->click();
        d.cmdDone->click();
        return d.result();
    });
    Act(*w, "actStyles")->trigger();
    EXPECT_EQ(w->Styles().Count(), 25);
    EXPECT_EQ(Child<QComboBox>(*w, "cboStyles")->count(), 25);
}

TEST_F(MainWindowFormatTest, ChoosingInTheBoxAppliesButMatchingNever) {
    const std::string file = SaveProjectWith("Box", "\\pard\\f0\\fs20 Some text here\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Box");
    auto* box = Child<QComboBox>(*w, "cboStyles");
    qm::TRichText2* editor = w->Editor();
    editor->SetSelStart(0);
    editor->SetSelLength(4);
    const std::string rtf = editor->GetRtfText();
    // Setting the box in code applies nothing.
    box->setCurrentIndex(1);
    w->EditorSelectionChanged();
    EXPECT_EQ(editor->GetRtfText(), rtf);
    // A choice applies the style: StdHeader is 14 points, bold.
    box->setCurrentIndex(1);
    emit box->activated(1);
    editor->SetSelStart(0);
    editor->SetSelLength(4);
    EXPECT_EQ(editor->SelAttributes.GetSize(), 14);
    EXPECT_EQ(editor->SelAttributes.GetStyle(), qm::TFontStyles(qm::fsBold));
    EXPECT_EQ(box->currentText(), QStringLiteral("StdHeader"));
    EXPECT_TRUE(w->Project().Modified);
}

// Pictures for tools/screenshot-format.sh: the ruler in inches over a
// paragraph with first-line, hanging and right indents, and the style
// box's open list. Saved in $QM_SCREENSHOT_DIR when it is set.
TEST_F(MainWindowFormatTest, ScreenshotOfTheRulerAndTheStyleList) {
    const std::string file = SaveProjectWith(
        "Shot",
        "\\pard\\fi-720\\li1440\\ri1440\\f0\\fs20 A hanging paragraph whose first line starts half an inch in and "
        "whose other lines start an inch in, with an inch kept free on the right, so that every marker of the "
        "ruler stands somewhere of its own.\\par\r\n\\pard\\fi720\\f0\\fs20 A paragraph whose first line alone "
        "is indented.\\par");
    auto w = Start({qm::FromCp1252(file)});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Shot");
    ShowWithRuler(*w);
    Act(*w, "mnuPopScaleInches")->trigger();
    w->Editor()->SetSelStart(5);
    QApplication::processEvents();
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");

    // The ruler with the top of the editor under it.
    qm::TRuler& ruler = w->RulerControl();
    QWidget* editor = w->Editor();
    const QRect area =
        ruler.geometry().united(QRect(editor->mapTo(ruler.parentWidget(), QPoint(0, 0)), QSize(editor->width(), 120)));
    const QImage rulerShot = ruler.parentWidget()->grab(area).toImage();
    ASSERT_FALSE(rulerShot.isNull());
    if (!dir.isEmpty()) {
        EXPECT_TRUE(rulerShot.save(QDir(dir).filePath(QStringLiteral("ruler.png")), "PNG"));
    }

    auto* box = Child<QComboBox>(*w, "cboStyles");
    box->showPopup();
    QApplication::processEvents();
    QWidget* popup = box->view()->window();
    ASSERT_TRUE(popup->isVisible());
    const QImage listShot = popup->grab().toImage();
    EXPECT_GE(listShot.height(), 5 * qm::kStyleItemHeight);
    if (!dir.isEmpty()) {
        EXPECT_TRUE(listShot.save(QDir(dir).filePath(QStringLiteral("stylelist.png")), "PNG"));
    }
    box->hidePopup();
}

}  // namespace
}  // namespace qmtest
