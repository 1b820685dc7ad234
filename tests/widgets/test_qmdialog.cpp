// The dialog base on a small dialog of its own: OK runs the checks in order
// and stores nothing after a refusal, Cancel and the close box leave it
// unaccepted, Help follows the open page, the enabling rules follow the
// watched controls and the presets; and the helpers the dialogs share.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "widgets/dialoghelpers.h"
#include "widgets/qmdialog.h"

namespace qm {
namespace {

using qmtest::ScriptedUiServices;

// Two pages; OK refuses an empty name, then a name longer than five
// characters; cmdApply is enabled exactly while chkApply is ticked.
class TfrmProbe : public QmDialog {
public:
    explicit TfrmProbe(UiServices& ui) : QmDialog(ui, QStringLiteral("frmProbe")) {
        auto* layout = new QVBoxLayout(this);
        pages = new QTabWidget(this);
        auto* first = new QWidget;
        auto* firstLayout = new QVBoxLayout(first);
        txtName = new QLineEdit(first);
        txtName->setObjectName(QStringLiteral("txtName"));
        txtNumber = new QLineEdit(first);
        txtNumber->setObjectName(QStringLiteral("txtNumber"));
        DigitsOnly(txtNumber);
        chkApply = new QCheckBox(QStringLiteral("Apply"), first);
        chkApply->setObjectName(QStringLiteral("chkApply"));
        cmdApply = MakeButton(QStringLiteral("cmdApply"), QStringLiteral("&Apply"), first);
        for (QWidget* w : {static_cast<QWidget*>(txtName), static_cast<QWidget*>(txtNumber),
                           static_cast<QWidget*>(chkApply), static_cast<QWidget*>(cmdApply)})
            firstLayout->addWidget(w);
        pages->addTab(first, QStringLiteral("First"));
        pages->addTab(new QWidget, QStringLiteral("Second"));
        layout->addWidget(pages);
        layout->addWidget(MakeStandardButtons());
        Watch(chkApply);
        Watch(pages);
    }

    QTabWidget* pages;
    QLineEdit* txtName;
    QLineEdit* txtNumber;
    QCheckBox* chkApply;
    QPushButton* cmdApply;
    QString stored;
    int enablings = 0;

protected:
    bool validate() override {
        if (txtName->text().isEmpty()) {
            Refuse(QStringLiteral("Enter a name."));
            return false;
        }
        if (txtName->text().size() > 5) {
            Refuse(QStringLiteral("The name is too long."));
            return false;
        }
        return true;
    }
    void store() override { stored = txtName->text(); }
    void updateEnabling() override {
        ++enablings;
        cmdApply->setEnabled(chkApply->isChecked());
    }
    int helpContext() const override { return pages->currentIndex() == 0 ? 110 : 120; }
};

class DialogBase : public ::testing::Test {
protected:
    void SetUp() override { qmtest::EnsureQtApp(); }
    void TearDown() override { ui.ExpectAllAnswered(); }
    ScriptedUiServices ui;
};

TEST_F(DialogBase, NamesAndDefaultButton) {
    TfrmProbe d(ui);
    EXPECT_EQ(d.objectName(), QStringLiteral("frmProbe"));
    auto* ok = d.findChild<QPushButton*>(QStringLiteral("cmdOk"));
    auto* cancel = d.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    auto* help = d.findChild<QPushButton*>(QStringLiteral("cmdHelp"));
    ASSERT_TRUE(ok && cancel && help);
    EXPECT_TRUE(ok->isDefault());
    for (QPushButton* b : {cancel, help, d.cmdApply}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_FALSE(b->isDefault());
        EXPECT_FALSE(b->autoDefault());
    }
}

TEST_F(DialogBase, ChecksRunInOrderAndARefusalStoresNothing) {
    struct Row {
        const char* name;
        const char* text;
        const char* refusal;  // nullptr: accepted
    } rows[] = {
        {"empty", "", "Enter a name."},
        {"too long", "abcdefg", "The name is too long."},
        {"fine", "abc", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TfrmProbe d(ui);
        d.show();
        d.txtName->setText(QString::fromLatin1(r.text));
        if (r.refusal) ui.ExpectMessage(MsgKind::Information, QString::fromLatin1(r.refusal));
        d.cmdOk->click();
        ui.ExpectAllAnswered(r.name);
        EXPECT_EQ(d.Accepted(), r.refusal == nullptr);
        EXPECT_EQ(d.stored, r.refusal ? QString() : QString::fromLatin1(r.text));
        // A refused OK leaves the dialog open for a correction.
        EXPECT_EQ(d.isVisible(), r.refusal != nullptr);
    }
}

TEST_F(DialogBase, CancelEscapeAndTheCloseBoxLeaveItUnaccepted) {
    struct Row {
        const char* name;
        std::function<void(TfrmProbe&)> close;
    } rows[] = {
        {"cancel", [](TfrmProbe& d) { d.cmdCancel->click(); }},
        {"escape", [](TfrmProbe& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](TfrmProbe& d) { d.close(); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TfrmProbe d(ui);
        d.show();
        d.txtName->setText(QStringLiteral("abc"));
        d.cmdOk->click();
        ASSERT_TRUE(d.Accepted());
        d.show();  // a second round after an accepted one
        r.close(d);
        EXPECT_FALSE(d.Accepted());
        EXPECT_FALSE(d.isVisible());
    }
}

TEST_F(DialogBase, HelpFollowsTheOpenPage) {
    TfrmProbe d(ui);
    d.cmdHelp->click();
    d.pages->setCurrentIndex(1);
    d.cmdHelp->click();
    EXPECT_EQ(ui.helpContexts, (std::vector<int>{110, 120}));
    EXPECT_EQ(d.HelpContext(), 120);
}

TEST_F(DialogBase, EnablingFollowsPresetsActivationAndWatchedControls) {
    TfrmProbe d(ui);
    d.chkApply->setChecked(true);  // a preset, before the dialog runs
    EXPECT_TRUE(d.cmdApply->isEnabled());
    d.chkApply->setChecked(false);
    EXPECT_FALSE(d.cmdApply->isEnabled());
    const int before = d.enablings;
    d.Activate();
    EXPECT_EQ(d.enablings, before + 1);
    d.pages->setCurrentIndex(1);
    EXPECT_EQ(d.enablings, before + 2);
    d.show();
    EXPECT_GT(d.enablings, before + 2);
}

TEST_F(DialogBase, DigitsOnlyDropsOtherCharactersAndKeepsALongPreset) {
    TfrmProbe d(ui);
    d.show();
    const QString preset = QStringLiteral("123456789012345678901234567890");
    d.txtNumber->setText(preset);
    EXPECT_EQ(d.txtNumber->text(), preset);
    d.txtNumber->setFocus();
    d.txtNumber->end(false);
    QTest::keyClicks(d.txtNumber, QStringLiteral("4a-5 "));
    EXPECT_EQ(d.txtNumber->text(), preset + QStringLiteral("45"));
    QTest::keyClick(d.txtNumber, Qt::Key_Backspace);
    EXPECT_EQ(d.txtNumber->text(), preset + QStringLiteral("4"));
    d.txtNumber->clear();
    d.txtNumber->insert(QStringLiteral("x1y2"));
    EXPECT_EQ(d.txtNumber->text(), QStringLiteral("12"));
}

TEST(DialogHelpers, SelectAfterRemoval) {
    struct Row {
        const char* name;
        int removed, count, selected;
    } rows[] = {
        {"middle row keeps its place", 1, 3, 1},
        {"first row", 0, 2, 0},
        {"last row selects the new last", 3, 3, 2},
        {"only row", 0, 0, -1},
        {"beyond the end", 7, 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(SelectAfterRemoval(r.removed, r.count), r.selected);
    }
}

TEST(DialogHelpers, ListEditorRemovesAndMovesKeepingASelection) {
    qmtest::EnsureQtApp();
    QListWidget list;
    ListEditor edit(&list);
    EXPECT_FALSE(edit.Remove());
    EXPECT_FALSE(edit.Update(QStringLiteral("x")));
    for (const char* t : {"a", "b", "c"}) edit.Add(QString::fromLatin1(t));
    EXPECT_EQ(list.currentRow(), 2);
    list.setCurrentRow(0);
    EXPECT_FALSE(edit.MoveUp());
    EXPECT_TRUE(edit.MoveDown());
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("a"));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_TRUE(edit.Update(QStringLiteral("A")));
    list.setCurrentRow(2);
    EXPECT_TRUE(edit.Remove());
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(list.currentItem()->text(), QStringLiteral("A"));
    EXPECT_TRUE(edit.Remove());
    EXPECT_TRUE(edit.Remove());
    EXPECT_EQ(list.currentRow(), -1);
}

TEST(DialogHelpers, WindowsFilterToQt) {
    struct Row {
        const char* name;
        const char* windows;
        const char* qt;
    } rows[] = {
        {"one pair", "Bitmaps|*.bmp", "Bitmaps (*.bmp)"},
        {"several patterns", "Images|*.bmp;*.dib;*.wmf", "Images (*.bmp *.dib *.wmf)"},
        {"two pairs", "Contents files|*.cnt|All files|*.*", "Contents files (*.cnt);;All files (*.*)"},
        {"description names its patterns", "Bitmaps (*.bmp)|*.bmp", "Bitmaps (*.bmp)"},
        {"description names other patterns", "Bitmaps (*.bmp)|*.bmp;*.dib", "Bitmaps (*.bmp *.dib)"},
        {"trailing bar", "Text files|*.txt|", "Text files (*.txt)"},
        {"empty pattern", "Anything|", "Anything (*)"},
        {"blanks around patterns", "Help| *.hlp ; *.cnt ", "Help (*.hlp *.cnt)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(WindowsFilterToQt(QString::fromLatin1(r.windows)), QString::fromLatin1(r.qt));
    }
}

// OK stores the name only when the Windows-1252 table holds every character.
class TfrmCodePage : public QmDialog {
public:
    explicit TfrmCodePage(UiServices& ui) : QmDialog(ui, QStringLiteral("frmCodePage")) {
        auto* layout = new QVBoxLayout(this);
        txtName = new QLineEdit(this);
        layout->addWidget(txtName);
        layout->addWidget(MakeStandardButtons(false));
    }
    QLineEdit* txtName;
    QString stored;

protected:
    bool validate() override { return CheckCp1252(txtName->text(), QStringLiteral("Topic title")); }
    void store() override { stored = txtName->text(); }
};

TEST_F(DialogBase, TextTheCodePageCannotHoldIsRefusedNamingTheField) {
    struct Row {
        const char* name;
        QString text;
        QString refused;  // the character named in the refusal; empty: stored
    } rows[] = {
        {"plain ASCII", QStringLiteral("Intro"), {}},
        {"a question mark of its own", QStringLiteral("Why?"), {}},
        {"the code page's own signs", QString::fromUtf8("\u20ac 5 \u2122 caf\u00e9 \u201cq\u201d"), {}},
        {"an arrow", QString::fromUtf8("a \u2192 b"), QString::fromUtf8("\u2192")},
        {"a character beyond the first plane", QString::fromUtf8("smile \U0001F600"), QString::fromUtf8("\U0001F600")},
        {"a lone surrogate", QString(QChar(0xD800)), QString(QChar(0xD800))},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TfrmCodePage d(ui);
        d.show();
        d.txtName->setText(r.text);
        if (!r.refused.isEmpty())
            ui.ExpectMessage(MsgKind::Information,
                             QStringLiteral("The character \"%1\" in \"Topic title\" cannot be stored").arg(r.refused));
        d.cmdOk->click();
        EXPECT_EQ(d.Accepted(), r.refused.isEmpty());
        EXPECT_EQ(d.stored, r.refused.isEmpty() ? r.text : QString());
        ui.ExpectAllAnswered(r.name);
    }
}

}  // namespace
}  // namespace qm
