#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/importdialog.h"
#include "support/qtapp.h"

namespace {

using qm::TImportDlg;
using qm::TImportKind;

class ImportDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        ASSERT_TRUE(dir_.isValid());
        for (const char* name : {"help.rtf", "notes.txt", "manual.hpj", "SHOUT.RTF", "other.doc"}) {
            QFile f(dir_.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
    }

    QString Path(const char* name) const { return QDir(dir_.path()).absoluteFilePath(QString::fromLatin1(name)); }

    // The dialog's file-type box, found as a user sees it: the combo box that
    // lists our three types.
    static QComboBox* TypeBox(TImportDlg& dlg) {
        for (QComboBox* combo : dlg.findChildren<QComboBox*>())
            if (combo->count() == 3 && combo->itemText(0) == QStringLiteral("Rich Text Format (*.rtf)")) return combo;
        return nullptr;
    }

    // Moves the type box to `index` with the keyboard, as a user would.
    static void PickType(TImportDlg& dlg, int index) {
        QComboBox* box = TypeBox(dlg);
        ASSERT_NE(box, nullptr);
        while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
        ASSERT_EQ(box->currentIndex(), index);
    }

    static QCheckBox* Box(TImportDlg& dlg) { return dlg.findChild<QCheckBox*>(QStringLiteral("chkFootnotes")); }
    static QPushButton* Button(TImportDlg& dlg, const char* name) {
        return dlg.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    QTemporaryDir dir_;
};

TEST_F(ImportDlgTest, TitleFiltersAndControls) {
    TImportDlg dlg;
    dlg.SetInitialDir(dir_.path());
    dlg.open();
    EXPECT_EQ(dlg.objectName(), QStringLiteral("dlgImport"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Import File"));
    EXPECT_EQ(dlg.nameFilters(),
              (QStringList{QStringLiteral("Rich Text Format (*.rtf)"), QStringLiteral("Text files (*.txt)"),
                           QStringLiteral("HelpWorkshop project (*.hpj)")}));
    EXPECT_EQ(dlg.FilterIndex(), 0);
    EXPECT_EQ(dlg.Kind(), TImportKind::Rtf);
    EXPECT_EQ(dlg.fileMode(), QFileDialog::ExistingFile);  // only a file that exists can be imported

    QCheckBox* box = Box(dlg);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("&Use footnotes"));
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(box->isEnabled());
    EXPECT_TRUE(box->isVisible());
    for (const char* name : {"cmdOk", "cmdCancel", "cmdHelp"}) {
        QPushButton* b = Button(dlg, name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_TRUE(b->isVisible()) << name;
    }
    EXPECT_FALSE(dlg.Accepted());
    EXPECT_TRUE(dlg.FileName().isEmpty());
    dlg.reject();
}

// The box is enabled exactly while the RTF type is selected, and every change
// of type unticks it. Each step first ticks the box where it can.
TEST_F(ImportDlgTest, FootnoteBoxFollowsEveryTypeChange) {
    TImportDlg dlg;
    dlg.SetInitialDir(dir_.path());
    dlg.open();
    QCheckBox* box = Box(dlg);
    ASSERT_NE(box, nullptr);
    for (int index : {1, 2, 1, 0, 2, 0}) {
        box->click();  // does nothing while disabled
        EXPECT_EQ(box->isChecked(), dlg.FilterIndex() == 0);
        PickType(dlg, index);
        EXPECT_EQ(dlg.FilterIndex(), index);
        EXPECT_EQ(box->isEnabled(), index == 0) << "type " << index;
        EXPECT_FALSE(box->isChecked()) << "type " << index;
    }
    // Programmatic changes follow the same rule.
    box->click();
    dlg.SetFilterIndex(1);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());
    dlg.SetFilterIndex(0);
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());
    dlg.selectNameFilter(QStringLiteral("HelpWorkshop project (*.hpj)"));
    EXPECT_FALSE(box->isEnabled());
    dlg.reject();
}

TEST_F(ImportDlgTest, PresetTypeAppliesTheRuleWhenShown) {
    TImportDlg dlg;
    dlg.SetFilterIndex(1);
    dlg.open();
    EXPECT_EQ(dlg.FilterIndex(), 1);
    EXPECT_FALSE(Box(dlg)->isEnabled());
    dlg.reject();

    TImportDlg other;
    other.SetFilterIndex(7);  // out of range: the first type
    EXPECT_EQ(other.FilterIndex(), 0);
    EXPECT_TRUE(Box(other)->isEnabled());
}

TEST_F(ImportDlgTest, ResultAfterOkWithEachType) {
    struct Case {
        int index;
        const char* file;
        bool tick;
        TImportKind kind;
        bool footnotes;
    };
    const Case cases[] = {
        {0, "help.rtf", false, TImportKind::Rtf, false},  // as first shown: box unticked
        {0, "help.rtf", true, TImportKind::Rtf, true},           {0, "SHOUT.RTF", true, TImportKind::Rtf, true},
        {1, "notes.txt", true, TImportKind::Text, false},  // the box cannot be ticked
        {2, "manual.hpj", true, TImportKind::HpjProject, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TImportDlg dlg;
        dlg.SetInitialDir(dir_.path());
        dlg.open();
        PickType(dlg, c.index);
        if (c.tick) Box(dlg)->click();
        dlg.selectFile(Path(c.file));
        QPushButton* ok = Button(dlg, "cmdOk");
        ASSERT_NE(ok, nullptr);
        ASSERT_TRUE(ok->isEnabled());
        ok->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_TRUE(dlg.Accepted());
        EXPECT_EQ(dlg.FileName(), Path(c.file));
        EXPECT_EQ(dlg.FilterIndex(), c.index);
        EXPECT_EQ(dlg.Kind(), c.kind);
        EXPECT_EQ(dlg.UseFootnotes(), c.footnotes);
    }
}

// A tick made for RTF does not survive a trip through another type.
TEST_F(ImportDlgTest, TickIsDroppedByATripThroughText) {
    TImportDlg dlg;
    dlg.SetInitialDir(dir_.path());
    dlg.open();
    Box(dlg)->click();
    PickType(dlg, 1);
    PickType(dlg, 0);
    dlg.selectFile(Path("help.rtf"));
    Button(dlg, "cmdOk")->click();
    ASSERT_TRUE(dlg.Accepted());
    EXPECT_EQ(dlg.FilterIndex(), 0);
    EXPECT_FALSE(dlg.UseFootnotes());
}

TEST_F(ImportDlgTest, CancelLeavesNothingChosen) {
    for (bool byEscape : {false, true}) {
        SCOPED_TRACE(byEscape ? "Escape" : "Cancel");
        TImportDlg dlg;
        dlg.SetInitialDir(dir_.path());
        dlg.open();
        Box(dlg)->click();
        dlg.selectFile(Path("help.rtf"));
        if (byEscape)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            Button(dlg, "cmdCancel")->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_FALSE(dlg.Accepted());
        EXPECT_TRUE(dlg.FileName().isEmpty());
        EXPECT_FALSE(dlg.UseFootnotes());
    }
}

// OK with no file named is no choice: the dialog stays open.
TEST_F(ImportDlgTest, OkWithoutAFileKeepsTheDialogOpen) {
    TImportDlg dlg;
    dlg.SetInitialDir(dir_.path());
    dlg.open();
    EXPECT_FALSE(Button(dlg, "cmdOk")->isEnabled());
    static_cast<QDialog&>(dlg).done(QDialog::Accepted);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.Accepted());
    EXPECT_TRUE(dlg.FileName().isEmpty());
    dlg.reject();
}

// A dialog run again after a file was chosen forgets that file when cancelled.
TEST_F(ImportDlgTest, CancelAfterAnEarlierChoiceForgetsIt) {
    TImportDlg dlg;
    dlg.SetInitialDir(dir_.path());
    dlg.open();
    Box(dlg)->click();
    dlg.selectFile(Path("help.rtf"));
    Button(dlg, "cmdOk")->click();
    ASSERT_TRUE(dlg.Accepted());
    ASSERT_TRUE(dlg.UseFootnotes());
    dlg.open();
    Button(dlg, "cmdCancel")->click();
    EXPECT_FALSE(dlg.Accepted());
    EXPECT_TRUE(dlg.FileName().isEmpty());
    EXPECT_FALSE(dlg.UseFootnotes());
}

TEST_F(ImportDlgTest, HelpButtonAsksForHelpAndStaysOpen) {
    TImportDlg dlg;
    dlg.open();
    QSignalSpy spy(&dlg, &TImportDlg::HelpRequested);
    Button(dlg, "cmdHelp")->click();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.Accepted());
    dlg.reject();
}

// Help sources from other systems often carry upper-case extensions; the RTF
// type lists them beside lower-case ones and hides other files.
TEST_F(ImportDlgTest, RtfTypeListsFilesOfEitherCase) {
    TImportDlg dlg;
    dlg.SetInitialDir(dir_.path());
    dlg.open();
    QListView* list = dlg.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_NE(list, nullptr);
    auto shown = [&] {
        QStringList names;
        QAbstractItemModel* model = list->model();
        const QModelIndex root = list->rootIndex();
        for (int r = 0; r < model->rowCount(root); ++r)
            if (!list->isRowHidden(r)) names << model->index(r, 0, root).data().toString();
        names.sort();
        return names;
    };
    const QStringList expected{QStringLiteral("SHOUT.RTF"), QStringLiteral("help.rtf")};
    for (int waited = 0; waited < 5000 && shown() != expected; waited += 20) QTest::qWait(20);  // listed by a thread
    EXPECT_EQ(shown(), expected);
    dlg.reject();
}

}  // namespace
