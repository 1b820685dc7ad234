// Character and paragraph formatting in the real window, offscreen: the
// style bits change alone, fragment by fragment; formats survive a save;
// the colour menu checks the selection's colour and applies each of its
// items; the font boxes refuse bad sizes and follow the caret; case
// conversion keeps each fragment's format in one undo step.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

#include "mainwindow/charformatcommands.h"
#include "mainwindow/charpane.h"
#include "widgets/commandbar.h"
#include "mainwindow_fixture.h"
#include "widgets/actiontable.h"
#include "widgets/colorcombo.h"

namespace qmtest {
namespace {

using qm::MsgKind;

// The application's window-text colour for as long as it lives.
class WindowTextColour {
public:
    explicit WindowTextColour(const QColor& c) : saved_(QApplication::palette()) {
        QPalette p = saved_;
        p.setColor(QPalette::Text, c);
        QApplication::setPalette(p);
    }
    ~WindowTextColour() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

class CharFormatTest : public MainWindowTest {
protected:
    // A project with the contents topic and the topic "Fmt" whose body is
    // `body` (RTF after \pard), saved to fmt.qpf.
    std::string SaveTopic(const std::string& body) {
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("Contents text");
        qm::TTopicNode& node = p.Topics.AddNew();
        node.SetName("Fmt");
        node.SetTitle("Fmt");
        node.ContextId = 10;
        node.Text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Courier New;}}\r\n\\viewkind4\\uc1" +
                    body + "\r\n}";
        const std::string path = root_ + "fmt.qpf";
        p.SaveToFile(path);
        return path;
    }

    // The window on that project with "Fmt" open.
    std::unique_ptr<qm::TfrmMain> OpenTopic(const std::string& body) {
        auto w = Start({qm::FromCp1252(SaveTopic(body))});
        EXPECT_TRUE(started);
        OpenRow(*w, "lstTopics", "Fmt");
        EXPECT_EQ(CurrentName(*w), "Fmt");
        return w;
    }

    static void Select(qm::TfrmMain& w, int start, int length) {
        w.Editor()->SetSelStart(start);
        w.Editor()->SetSelLength(length);
        w.Actions().UpdateNow();
    }
    // The style bits of the character at `pos`.
    static qm::TFontStyles StyleAt(qm::TfrmMain& w, int pos) {
        Select(w, pos, 1);
        return w.Editor()->SelAttributes.GetStyle();
    }
    static qm::TColor ColourAt(qm::TfrmMain& w, int pos) {
        Select(w, pos, 1);
        return w.Editor()->SelAttributes.GetColor();
    }
    // The colour items that are checked, by tag.
    static std::vector<int> CheckedColours(qm::TfrmMain& w) {
        std::vector<int> tags;
        for (QAction* a : w.CharFormatCommands().ColorPopMenu->actions())
            if (a->isChecked()) tags.push_back(a->data().toInt());
        return tags;
    }
    // Opens the colour menu as the user does, and closes it again.
    static void OpenColourMenu(qm::TfrmMain& w) {
        QMenu* menu = w.CharFormatCommands().ColorPopMenu;
        menu->popup(QPoint(10, 10));
        QApplication::processEvents();
        menu->hide();
    }
};

// --- the style bits, alignment, bullets -------------------------------------------------

TEST_F(CharFormatTest, FormatsSurviveASaveAndShowAsCheckedCommands) {
    auto w = OpenTopic("\\pard\\f0\\fs20 abc\\par");
    Select(*w, 0, 3);
    for (const char* name : {"actBold", "actItalic", "actUnderline", "actAlignCenter"}) Act(*w, name)->trigger();
    EXPECT_TRUE(w->Project().Modified);
    // The selection stays, and the commands show what it now is.
    EXPECT_EQ(w->Editor()->GetSelLength(), 3);
    for (const char* name : {"actBold", "actItalic", "actUnderline", "actAlignCenter"})
        EXPECT_TRUE(Act(*w, name)->isChecked()) << name;
    Act(*w, "actSave")->trigger();
    EXPECT_FALSE(w->Project().Modified);
    w.reset();

    auto again = Start({qm::FromCp1252(root_ + "fmt.qpf")});
    OpenRow(*again, "lstTopics", "Fmt");
    Select(*again, 1, 0);
    EXPECT_EQ(again->Editor()->SelAttributes.GetStyle(), qm::fsBold | qm::fsItalic | qm::fsUnderline);
    EXPECT_EQ(again->Editor()->Paragraph.GetAlignment(), qm::TAlignment::taCenter);
    for (const char* name : {"actBold", "actItalic", "actUnderline", "actAlignCenter"})
        EXPECT_TRUE(Act(*again, name)->isChecked()) << name;
    for (const char* name : {"actStrikeout", "actAlignLeft", "actAlignRight", "actBulletIndent"})
        EXPECT_FALSE(Act(*again, name)->isChecked()) << name;
}

// "a" italic, "b" bold: a style command sets or clears its own bit on each
// fragment and leaves the others' bits as they were; one Undo takes it back.
TEST_F(CharFormatTest, AStyleCommandChangesOnlyItsOwnBitFragmentByFragment) {
    struct Row {
        const char* name;
        const char* action;
        qm::TFontStyles bit;
    };
    for (const Row& row : {Row{"bold", "actBold", qm::fsBold}, Row{"strike-out", "actStrikeout", qm::fsStrikeOut},
                           Row{"underline", "actUnderline", qm::fsUnderline}}) {
        SCOPED_TRACE(row.name);
        auto w = OpenTopic("\\pard\\f0\\fs20 {\\i a} {\\b b}\\par");
        ASSERT_EQ(EditorText(*w), "a b");
        const qm::TFontStyles a = qm::fsItalic, b = qm::fsBold;
        Select(*w, 0, 3);
        ASSERT_EQ(Act(*w, row.action)->isChecked(), false);
        Act(*w, row.action)->trigger();
        EXPECT_EQ(StyleAt(*w, 0), a | row.bit);
        EXPECT_EQ(StyleAt(*w, 1), row.bit);
        EXPECT_EQ(StyleAt(*w, 2), b | row.bit);

        // The first character now has the bit: the command clears it everywhere.
        Select(*w, 0, 3);
        EXPECT_TRUE(Act(*w, row.action)->isChecked());
        Act(*w, row.action)->trigger();
        EXPECT_FALSE(Act(*w, row.action)->isChecked());
        EXPECT_EQ(StyleAt(*w, 0), a);
        EXPECT_EQ(StyleAt(*w, 1), 0u);
        EXPECT_EQ(StyleAt(*w, 2), row.bit == qm::fsBold ? 0u : b);

        // Each command was one step.
        w->Editor()->Undo();
        EXPECT_EQ(StyleAt(*w, 0), a | row.bit);
        EXPECT_EQ(StyleAt(*w, 2), b | row.bit);
        w->Editor()->Undo();
        EXPECT_EQ(StyleAt(*w, 0), a);
        EXPECT_EQ(StyleAt(*w, 1), 0u);
        EXPECT_EQ(StyleAt(*w, 2), b);
        EXPECT_EQ(EditorText(*w), "a b");
    }
}

// Without a selection the command sets what is typed next.
TEST_F(CharFormatTest, WithoutASelectionAStyleCommandSetsTheTypingFormat) {
    auto w = OpenTopic("\\pard\\f0\\fs20 {\\i ab}\\par");
    Select(*w, 2, 0);
    Act(*w, "actBold")->trigger();
    EXPECT_TRUE(Act(*w, "actBold")->isChecked());
    QTest::keyClicks(w->Editor(), "x");
    EXPECT_EQ(EditorText(*w), "abx");
    EXPECT_EQ(StyleAt(*w, 2), qm::fsItalic | qm::fsBold);
    EXPECT_EQ(StyleAt(*w, 1), qm::fsItalic);
}

TEST_F(CharFormatTest, AlignmentAndBulletsSetTheParagraphAndNumberingStaysOff) {
    auto w = OpenTopic("\\pard\\f0\\fs20 one\\par\r\ntwo\\par");
    struct Row {
        const char* action;
        qm::TAlignment alignment;
    };
    for (const Row& row :
         {Row{"actAlignRight", qm::TAlignment::taRightJustify}, Row{"actAlignCenter", qm::TAlignment::taCenter},
          Row{"actAlignLeft", qm::TAlignment::taLeftJustify},
          // A click on the checked command keeps it checked.
          Row{"actAlignLeft", qm::TAlignment::taLeftJustify}}) {
        SCOPED_TRACE(row.action);
        Select(*w, 1, 0);
        Act(*w, row.action)->trigger();
        w->Actions().UpdateNow();
        EXPECT_EQ(w->Editor()->Paragraph.GetAlignment(), row.alignment);
        for (const char* other : {"actAlignLeft", "actAlignCenter", "actAlignRight"})
            EXPECT_EQ(Act(*w, other)->isChecked(), std::string(other) == row.action) << other;
        // The other paragraph keeps its own.
        Select(*w, 5, 0);
        EXPECT_EQ(w->Editor()->Paragraph.GetAlignment(), qm::TAlignment::taLeftJustify);
    }

    Select(*w, 1, 0);
    Act(*w, "actBulletIndent")->trigger();
    EXPECT_EQ(w->Editor()->Paragraph.GetNumbering(), qm::TNumberingStyle::nsBullet);
    w->Actions().UpdateNow();
    EXPECT_TRUE(Act(*w, "actBulletIndent")->isChecked());
    Select(*w, 5, 0);
    EXPECT_FALSE(Act(*w, "actBulletIndent")->isChecked());
    Select(*w, 1, 0);
    Act(*w, "actBulletIndent")->trigger();
    EXPECT_EQ(w->Editor()->Paragraph.GetNumbering(), qm::TNumberingStyle::nsNone);

    // Numbering is never offered: with or without a selection, focused anywhere.
    for (int length : {0, 3}) {
        Select(*w, 0, length);
        EXPECT_FALSE(Act(*w, "actNumberingIndent")->isEnabled()) << length;
    }
    Child<QListWidget>(*w, "lstTopics")->setFocus();
    w->Actions().UpdateNow();
    EXPECT_FALSE(Act(*w, "actNumberingIndent")->isEnabled());
}

// --- the font dialog ---------------------------------------------------------------------

TEST_F(CharFormatTest, TheFontDialogSetsWhatItChangedAndKeepsTheRest) {
    auto w = OpenTopic("\\pard\\f0\\fs20 {\\i a} {\\b b}\\par");
    Select(*w, 0, 3);
    ASSERT_EQ(w->Editor()->SelAttributes.GetColor(), qm::clWindowText);

    // The size alone changes: the styles and the automatic colour stay.
    QFont bigger(QStringLiteral("Arial"));
    bigger.setPointSize(14);
    bigger.setItalic(true);
    ui.ExpectFont(bigger);
    Act(*w, "actFont")->trigger();
    ASSERT_EQ(ui.fontRequests.size(), 1u);
    EXPECT_EQ(ui.fontRequests[0].font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(ui.fontRequests[0].font.pointSize(), 10);
    EXPECT_TRUE(ui.fontRequests[0].font.italic());
    EXPECT_FALSE(ui.fontRequests[0].font.bold());
    EXPECT_EQ(ui.fontRequests[0].color, QColor(QApplication::palette().color(QPalette::Text)));
    for (int pos : {0, 2}) {
        Select(*w, pos, 1);
        EXPECT_EQ(w->Editor()->SelAttributes.GetSize(), 14) << pos;
        EXPECT_EQ(w->Editor()->SelAttributes.GetColor(), qm::clWindowText) << pos;
    }
    EXPECT_EQ(StyleAt(*w, 0), qm::fsItalic);
    EXPECT_EQ(StyleAt(*w, 2), qm::fsBold);
    // In one step.
    w->Editor()->Undo();
    Select(*w, 2, 1);
    EXPECT_EQ(w->Editor()->SelAttributes.GetSize(), 10);

    // A colour chosen in the dialog is applied; bold switched on reaches every fragment.
    Select(*w, 0, 3);
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSize(10);
    bold.setItalic(true);
    bold.setBold(true);
    ui.ExpectFont(bold, QColor(255, 0, 0));
    Act(*w, "actFont")->trigger();
    EXPECT_EQ(ColourAt(*w, 0), 0x0000FFu);
    EXPECT_EQ(ColourAt(*w, 2), 0x0000FFu);
    EXPECT_EQ(StyleAt(*w, 0), qm::fsItalic | qm::fsBold);
    EXPECT_EQ(StyleAt(*w, 2), qm::fsBold);

    // Cancelled: nothing changes.
    Select(*w, 0, 3);
    ui.ExpectFont(std::nullopt);
    Act(*w, "actFont")->trigger();
    EXPECT_EQ(ColourAt(*w, 0), 0x0000FFu);
    EXPECT_EQ(StyleAt(*w, 2), qm::fsBold);
}

// --- the colour menu --------------------------------------------------------------------

TEST_F(CharFormatTest, TheColourMenuHoldsAutomaticCustomAndTheTableColoursWithSwatches) {
    auto w = OpenTopic("\\pard\\f0\\fs20 abc\\par");
    const QList<QAction*> items = w->CharFormatCommands().ColorPopMenu->actions();
    ASSERT_EQ(items.size(), 3 + qm::kNamedColorCount);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Automatic"));
    EXPECT_EQ(items[0]->data().toInt(), qm::kColorTagAutomatic);
    EXPECT_EQ(items[0]->statusTip(), QStringLiteral("Automatic color value."));
    EXPECT_EQ(items[1]->text(), QStringLiteral("&Custom..."));
    EXPECT_EQ(items[1]->data().toInt(), qm::kColorTagCustom);
    EXPECT_EQ(items[1]->statusTip(), QStringLiteral("Displays the Color dialog."));
    EXPECT_TRUE(items[0]->icon().isNull());
    EXPECT_TRUE(items[1]->icon().isNull());
    EXPECT_TRUE(items[2]->isSeparator());
    const QStringList names = {"Aqua", "Black", "Blue",   "Fuchsia", "Gray",   "Green", "Lime",  "Maroon",
                               "Navy", "Olive", "Purple", "Red",     "Silver", "Teal",  "White", "Yellow"};
    for (int i = 0; i < qm::kNamedColorCount; ++i) {
        QAction* item = items[3 + i];
        SCOPED_TRACE(names[i].toStdString());
        EXPECT_EQ(item->text(), names[i]);
        EXPECT_EQ(item->statusTip(), names[i]);
        EXPECT_EQ(item->data().toInt(), i);
        EXPECT_TRUE(item->isCheckable());
        // The swatch: the colour inside a black frame.
        const QImage swatch = item->icon().pixmap(16, 16).toImage();
        ASSERT_FALSE(swatch.isNull());
        EXPECT_EQ(QColor(swatch.pixel(8, 8)), qm::QColorFromBgr(qm::kNamedColors[i].Value));
        EXPECT_EQ(QColor(swatch.pixel(1, 8)), QColor(Qt::black));
    }
}

// The item of the selection's colour is checked as the menu opens, and only
// that one.
TEST_F(CharFormatTest, TheColourMenuChecksTheSelectionsColour) {
    struct Row {
        const char* name;
        QColor windowText;
        qm::TColor colour;
        int checked;
    };
    const Row rows[] = {
        {"automatic", Qt::black, qm::clWindowText, qm::kColorTagAutomatic},
        // Black text on black window text is the automatic colour too.
        {"black as the window text", Qt::black, 0x000000, qm::kColorTagAutomatic},
        {"black on another window text", QColor(0x20, 0x20, 0x20), 0x000000, 1},
        {"automatic on another window text", QColor(0x20, 0x20, 0x20), qm::clWindowText, qm::kColorTagAutomatic},
        {"red", Qt::black, 0x0000FF, 11},
        {"navy", Qt::black, 0x800000, 8},
        {"custom", Qt::black, 0x123456, qm::kColorTagCustom},
    };
    auto w = OpenTopic("\\pard\\f0\\fs20 abc def\\par");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WindowTextColour palette(row.windowText);
        Select(*w, 0, 3);
        w->Editor()->SelAttributes.SetColor(row.colour);
        // The caret elsewhere first: the checks are those of the moment the menu opens.
        Select(*w, 5, 0);
        OpenColourMenu(*w);
        Select(*w, 1, 1);
        OpenColourMenu(*w);
        EXPECT_EQ(CheckedColours(*w), std::vector<int>{row.checked});
    }
}

TEST_F(CharFormatTest, EachColourItemGivesTheSelectionItsColour) {
    struct Row {
        const char* name;
        int tag;
        std::optional<QColor> dialog;  // Custom's answer; nullopt cancels
        qm::TColor expected;
    };
    const Row rows[] = {
        {"automatic", qm::kColorTagAutomatic, std::nullopt, qm::clWindowText},
        {"red", 11, std::nullopt, 0x0000FF},
        {"aqua", 0, std::nullopt, 0xFFFF00},
        {"yellow", 15, std::nullopt, 0x00FFFF},
        {"custom", qm::kColorTagCustom, QColor(0x12, 0x34, 0x56), 0x563412},
        {"custom cancelled", qm::kColorTagCustom, std::nullopt, 0x008000},
    };
    auto w = OpenTopic("\\pard\\f0\\fs20 {\\i a} {\\b b}\\par");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Select(*w, 0, 3);
        w->Editor()->SelAttributes.SetColor(0x008000);
        if (row.tag == qm::kColorTagCustom) ui.ExpectColor(row.dialog);
        QAction* item = w->CharFormatCommands().ColorItem(row.tag);
        ASSERT_NE(item, nullptr);
        item->trigger();
        ui.ExpectAllAnswered(row.name);
        for (int pos : {0, 1, 2}) EXPECT_EQ(ColourAt(*w, pos), row.expected) << pos;
        // The styles are not the colour's business.
        EXPECT_EQ(StyleAt(*w, 0), qm::fsItalic);
        EXPECT_EQ(StyleAt(*w, 2), qm::fsBold);
    }
}

// The format bar's button drops the menu down at its left edge, a pixel
// below it, with the checks already set.
TEST_F(CharFormatTest, TheColourButtonDropsTheMenuDownUnderItself) {
    auto w = OpenTopic("\\pard\\f0\\fs20 abc\\par");
    qm::TCharFormatCommands& c = w->CharFormatCommands();
    // On the format bar, where the window's layout puts it; the menu fits on
    // the screen below it.
    ASSERT_EQ(c.tbbColors->parentWidget(), Child<QToolBar>(*w, "tbFormat"));
    // The offscreen screen is 800 wide: the standard bar makes room so that
    // the button and its menu fit on it.
    Child<QToolBar>(*w, "tbStandard")->hide();
    w->move(0, 0);
    w->resize(800, 600);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Select(*w, 0, 3);
    w->Editor()->SelAttributes.SetColor(0x0000FF);
    ASSERT_TRUE(c.tbbColors->isVisible());
    QTest::mouseClick(c.tbbColors, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(c.ColorPopMenu->isVisible());
    EXPECT_EQ(c.ColorPopMenu->pos(), c.tbbColors->mapToGlobal(QPoint(0, c.tbbColors->height() + 1)));
    EXPECT_EQ(CheckedColours(*w), std::vector<int>{11});
    c.ColorPopMenu->hide();
}

// --- the font boxes ---------------------------------------------------------------------

TEST(FontSizeText, AWholeSizeFromOneTo1638PassesAndTheRestIsRefused) {
    struct Row {
        const char* text;
        std::optional<int> points;
        MsgKind kind;  // of the refusal
        const char* refusal;
    };
    const Row rows[] = {
        {"12", 12, MsgKind::Information, ""},
        {"1", 1, MsgKind::Information, ""},
        {"1638", 1638, MsgKind::Information, ""},
        {"0012", 12, MsgKind::Information, ""},
        {"abc", std::nullopt, MsgKind::Error, "'abc' is not a valid integer value."},
        {"", std::nullopt, MsgKind::Error, "'' is not a valid integer value."},
        {"12pt", std::nullopt, MsgKind::Error, "'12pt' is not a valid integer value."},
        {"99999999999", std::nullopt, MsgKind::Error, "'99999999999' is not a valid integer value."},
        {"0", std::nullopt, MsgKind::Information, "Font size must be between 1 and 1638."},
        {"1639", std::nullopt, MsgKind::Information, "Font size must be between 1 and 1638."},
        {"-5", std::nullopt, MsgKind::Information, "Font size must be between 1 and 1638."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const qm::TFontSizeInput in = qm::ReadFontSize(QString::fromLatin1(row.text));
        EXPECT_EQ(in.Points, row.points);
        EXPECT_EQ(in.Refusal, QString::fromLatin1(row.refusal));
        if (!row.points) {
            EXPECT_EQ(in.Kind, row.kind);
        }
    }
}

// What the box can hold, typed and applied with Enter: a refusal shows its
// box and leaves every fragment's size as it was.
TEST_F(CharFormatTest, TheFontSizeBoxAppliesWholeSizesAndRefusesTheRest) {
    struct Row {
        const char* name;
        const char* typed;
        std::optional<MsgKind> refusal;
        const char* message;
        int size;  // the selection's afterwards
    };
    const Row rows[] = {
        {"twelve", "12", std::nullopt, "", 12},
        {"the largest", "1638", std::nullopt, "", 1638},
        // Letters never reach the box: Enter finds it empty.
        {"letters", "abc", MsgKind::Error, "'' is not a valid integer value.", 10},
        {"empty", "", MsgKind::Error, "'' is not a valid integer value.", 10},
        {"too large for a number", "99999999999", MsgKind::Error, "'99999999999' is not a valid integer value.", 10},
        {"zero", "0", MsgKind::Information, "Font size must be between 1 and 1638.", 10},
        {"above the largest", "1639", MsgKind::Information, "Font size must be between 1 and 1638.", 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = OpenTopic("\\pard\\f0\\fs20 {\\i a} {\\b b}\\par");
        QComboBox* box = w->FontSizeBox();
        ASSERT_TRUE(box->isEditable());
        Select(*w, 0, 3);
        EXPECT_EQ(box->currentText(), QStringLiteral("10"));
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), row.typed);
        if (row.refusal) ui.ExpectMessage(*row.refusal, QString::fromLatin1(row.message));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        ui.ExpectAllAnswered(row.name);
        if (row.refusal) {
            EXPECT_EQ(ui.MessageTexts().back(), QString::fromLatin1(row.message));
        }
        for (int pos : {0, 2}) {
            Select(*w, pos, 1);
            EXPECT_EQ(w->Editor()->SelAttributes.GetSize(), row.size) << pos;
        }
        EXPECT_EQ(StyleAt(*w, 0), qm::fsItalic);
        EXPECT_EQ(StyleAt(*w, 2), qm::fsBold);
    }
}

TEST_F(CharFormatTest, TheFontSizeBoxTakesDigitsOnlyAndAChoiceApplies) {
    auto w = OpenTopic("\\pard\\f0\\fs20 abc\\par");
    QComboBox* box = w->FontSizeBox();
    ASSERT_GT(box->count(), 10);
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), "1a4-b.");
    EXPECT_EQ(box->currentText(), QStringLiteral("14"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(box->currentText(), QStringLiteral("1"));

    // A size chosen from the list applies as it is chosen.
    Select(*w, 0, 3);
    const int at = box->findText(QStringLiteral("24"));
    ASSERT_GE(at, 0);
    box->setCurrentIndex(at);
    emit box->activated(at);
    Select(*w, 1, 1);
    EXPECT_EQ(w->Editor()->SelAttributes.GetSize(), 24);
    EXPECT_EQ(box->currentText(), QStringLiteral("24"));
}

TEST_F(CharFormatTest, TheFontBoxesFollowTheCaretAndTheNameBoxApplies) {
    auto w = OpenTopic("\\pard\\f0\\fs20 abc {\\f1\\fs28 def}\\par");
    QComboBox* names = w->FontNameBox();
    QComboBox* sizes = w->FontSizeBox();
    ASSERT_TRUE(names->isEditable());
    const int families = names->count();
    Select(*w, 1, 0);
    EXPECT_EQ(names->currentText(), QStringLiteral("Arial"));
    EXPECT_EQ(sizes->currentText(), QStringLiteral("10"));
    Select(*w, 5, 0);
    EXPECT_EQ(names->currentText(), QStringLiteral("Courier New"));
    EXPECT_EQ(sizes->currentText(), QStringLiteral("14"));

    // A name typed and Enter: the selection takes it, the size stays.
    Select(*w, 0, 3);
    names->setEditText(QStringLiteral("Times New Roman"));
    QTest::keyClick(names->lineEdit(), Qt::Key_Return);
    Select(*w, 1, 1);
    EXPECT_EQ(w->Editor()->SelAttributes.GetName(), "Times New Roman");
    EXPECT_EQ(w->Editor()->SelAttributes.GetSize(), 10);
    Select(*w, 5, 1);
    EXPECT_EQ(w->Editor()->SelAttributes.GetName(), "Courier New");
    EXPECT_EQ(names->currentText(), QStringLiteral("Courier New"));
    // Enter adds nothing to the list.
    EXPECT_EQ(names->count(), families);
}

// --- case conversion ---------------------------------------------------------------------

TEST_F(CharFormatTest, CaseConversionChangesAsciiLettersKeepsFormatsAndUndoesInOneStep) {
    struct Row {
        const char* name;
        const char* action;
        std::string body;
        QString before;
        QString after;
    };
    // "x" italic, "Dé" bold, "F ÀÉ" plain.
    const Row rows[] = {
        {"upper", "actConvertUpper", "\\pard\\f0\\fs20 {\\i x}{\\b d\\'e9}f \\'e0\\'e9\\par", QStringLiteral("xdéf àé"),
         QStringLiteral("XDéF àé")},
        {"lower", "actConvertLower", "\\pard\\f0\\fs20 {\\i X}{\\b D\\'c9}F \\'c0\\'c9\\par", QStringLiteral("XDÉF ÀÉ"),
         QStringLiteral("xdÉf ÀÉ")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = OpenTopic(row.body);
        ASSERT_EQ(EditorText(*w), row.before);
        w->Project().Modified = false;
        // Backwards, from the end to the start: the selection comes back as it was.
        w->Editor()->SetSelStart(7);
        QTextCursor c = w->Editor()->textCursor();
        c.setPosition(0, QTextCursor::KeepAnchor);
        w->Editor()->setTextCursor(c);
        w->Actions().UpdateNow();
        ASSERT_TRUE(Act(*w, row.action)->isEnabled());
        Act(*w, row.action)->trigger();
        EXPECT_EQ(EditorText(*w), row.after);
        EXPECT_TRUE(w->Project().Modified);
        EXPECT_EQ(w->Editor()->textCursor().anchor(), 7);
        EXPECT_EQ(w->Editor()->textCursor().position(), 0);
        const std::vector<qm::TFontStyles> styles = {qm::fsItalic, qm::fsBold, qm::fsBold, 0, 0, 0, 0};
        for (int pos = 0; pos < 7; ++pos) EXPECT_EQ(StyleAt(*w, pos), styles[pos]) << pos;
        w->Editor()->Undo();
        EXPECT_EQ(EditorText(*w), row.before);
        for (int pos = 0; pos < 7; ++pos) EXPECT_EQ(StyleAt(*w, pos), styles[pos]) << pos;
    }
}

// Case conversion needs a selection; the editor bar's case buttons follow
// the commands and run them.
TEST_F(CharFormatTest, CaseCommandsAndTheirButtonsNeedASelection) {
    auto w = OpenTopic("\\pard\\f0\\fs20 abc\\par");
    auto* bar = Child<qm::TQorCommandBar>(*w, "ncbEditor");
    ASSERT_NE(bar->Button(4), nullptr);
    ASSERT_NE(bar->Button(5), nullptr);
    Select(*w, 1, 0);
    for (const char* name : {"actConvertLower", "actConvertUpper"}) EXPECT_FALSE(Act(*w, name)->isEnabled()) << name;
    EXPECT_FALSE(bar->Button(4)->isEnabled());
    EXPECT_FALSE(bar->Button(5)->isEnabled());
    Select(*w, 0, 2);
    for (const char* name : {"actConvertLower", "actConvertUpper"}) EXPECT_TRUE(Act(*w, name)->isEnabled()) << name;
    EXPECT_TRUE(bar->Button(4)->isEnabled());
    EXPECT_TRUE(bar->Button(5)->isEnabled());
    emit bar->OnButtonClick(5);
    EXPECT_EQ(EditorText(*w), QStringLiteral("ABc"));
    emit bar->OnButtonClick(4);
    EXPECT_EQ(EditorText(*w), QStringLiteral("abc"));
}

// --- screenshots -------------------------------------------------------------------------

// tools/screenshot-charformat.sh runs this under Xvfb (QM_SCREENSHOT_DIR
// names the folder): the colour menu dropped down from its button, grabbed
// from the screen, and the window with the special characters shown.
TEST_F(CharFormatTest, ScreenshotOfTheColourMenuAndTheSpecialCharacters) {
    auto w = OpenTopic(
        "\\pard\\f0\\fs20 Some {\\b bold} and {\\i slanted} text, with special characters: \\'a9 \\'e9 "
        "\\'bd &lt;tags&rt;.\\par");
    qm::TCharFormatCommands& c = w->CharFormatCommands();
    w->resize(1100, 720);
    w->move(0, 0);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Select(*w, 5, 4);
    w->Editor()->SelAttributes.SetColor(0x0000FF);
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");

    QTest::mouseClick(c.tbbColors, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(c.ColorPopMenu->isVisible());
    QTest::qWait(200);
    // The button and the menu under it, as the screen shows them.
    const QRect button(c.tbbColors->mapToGlobal(QPoint(0, 0)), c.tbbColors->size());
    const QRect area = button.united(c.ColorPopMenu->geometry()).adjusted(-40, -30, 40, 10);
    // Offscreen has no screen to grab: the menu alone.
    const QImage menuShot = QGuiApplication::platformName() == QLatin1String("offscreen")
                                ? c.ColorPopMenu->grab().toImage()
                                : QGuiApplication::primaryScreen()
                                      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                      .toImage();
    EXPECT_GE(menuShot.height(), c.ColorPopMenu->height());
    if (!dir.isEmpty()) {
        EXPECT_TRUE(menuShot.save(QDir(dir).filePath(QStringLiteral("colormenu.png")), "PNG"));
    }
    c.ColorPopMenu->hide();

    Act(*w, "actToggleSpecChars")->trigger();
    QApplication::processEvents();
    auto* grid = Child<qm::TSpecCharGrid>(*w, "sgSpecChars");
    ASSERT_TRUE(grid->isVisible());
    // The caret in the text: the red word shows in its colour.
    Select(*w, 0, 0);
    QTest::mouseMove(grid, qm::TSpecCharGrid::CellRect(30).center());
    QTest::qWait(100);
    EXPECT_EQ(grid->Selected(), 30);
    const QImage shot = w->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    if (!dir.isEmpty()) {
        EXPECT_TRUE(shot.save(QDir(dir).filePath(QStringLiteral("charpane.png")), "PNG"));
    }
}

}  // namespace
}  // namespace qmtest
