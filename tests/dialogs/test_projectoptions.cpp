// The project settings and the build-tag picker: loading, the compression
// and prefix rules, the lists, OK's checks and what OK writes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "dialogs/buildtags.h"
#include "dialogs/projectoptions.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmBuildTags;
using qm::TfrmProjectOptions;

class ProjectOptionsTest : public TagFormTest {
protected:
    void SetUp() override {
        TagFormTest::SetUp();
        project.SetTitle("My Help");
        project.SetHlpFile("my.hlp");
        project.BmRoot = {"images", "art"};
        project.Topics.FindByName("Intro")->SetBuildTag("INTERNAL");
        project.Topics.FindByName("Beta")->SetBuildTag("DRAFT");
    }
    // The four boxes as "name=ticked/enabled".
    static QString Boxes(const TfrmProjectOptions& d) {
        QStringList out;
        for (const QCheckBox* c : {d.chkHall, d.chkZeck, d.chkPhrase, d.chkUsePHI})
            out << QStringLiteral("%1=%2%3")
                       .arg(c->objectName().mid(3))
                       .arg(c->isChecked() ? "x" : "-")
                       .arg(c->isEnabled() ? "e" : "d");
        return out.join(' ');
    }
};

TEST_F(ProjectOptionsTest, OpensOnTheProjectAndOkWritesItBack) {
    TfrmProjectOptions d(factory, project, macros);
    d.Activate();
    EXPECT_EQ(d.windowTitle(), "Help Project Settings");
    EXPECT_EQ(d.tbsOptions->currentWidget(), d.tsGeneral);
    EXPECT_EQ(d.txtHelpTitle->text(), "My Help");
    EXPECT_EQ(d.cboTopics->currentText(), "Contents");
    EXPECT_EQ(d.lstBmp->count(), 2);
    EXPECT_EQ(d.lstBmp->currentRow(), 0);
    EXPECT_TRUE(d.cmdRemoveBmpPath->isEnabled());
    EXPECT_FALSE(d.cmdAddMacro->isEnabled());

    d.cboTopics->setCurrentText("Intro");
    d.txtHelpFilename->setText("   ");
    d.txtCnt->setText("  guide.cnt ");
    d.RemoveBmpPathClick();
    ui.ExpectFolder(QStringLiteral("/work/pictures"));
    d.AddBmpPathClick();
    d.txtMacro->setText("BrowseButtons()");
    EXPECT_TRUE(d.cmdAddMacro->isEnabled());
    d.AddMacroClick();
    EXPECT_TRUE(d.txtMacro->text().isEmpty());
    EXPECT_EQ(ClickOk(d), QDialog::Accepted);

    EXPECT_FALSE(project.Topics.FindByName("Contents")->IsContents);
    EXPECT_TRUE(project.Topics.FindByName("Intro")->IsContents);
    EXPECT_EQ(project.GetHlpFile(), "");
    EXPECT_EQ(project.GetCntFile(), "guide.cnt");
    EXPECT_EQ(project.BmRoot, (qm::StringList{"art", "/work/pictures"}));
    EXPECT_EQ(project.Windows.GetWindow(1).Macros, (qm::StringList{"BrowseButtons()"}));
}

TEST_F(ProjectOptionsTest, CompressionRules) {
    struct Row {
        const char* name;
        std::uint8_t mode;
        std::int32_t flags;
        std::function<void(TfrmProjectOptions&)> act;
        QString boxes;
        std::uint8_t storedMode;
        std::int32_t storedFlags;
    } rows[] = {
        {"maximum shows Hall and Zeck but stores no flags", 1, 0, {}, "Hall=xd Zeck=xd Phrase=-d UsePHI=-d", 1, 0},
        {"none", 0, 14, {}, "Hall=-d Zeck=-d Phrase=-d UsePHI=-d", 0, 0},
        {"custom with Hall and Phrase opens with both ticked", 2, 6, {}, "Hall=xd Zeck=-e Phrase=xd UsePHI=-e", 2, 6},
        {"phrase disables Hall and enables the phrase file", 2, 0,
         [](TfrmProjectOptions& d) {
             d.chkPhrase->click();
             d.chkUsePHI->click();
         },
         "Hall=-d Zeck=-e Phrase=xe UsePHI=xe", 2, 66},
        {"clearing Phrase clears and disables the phrase file", 2, 66,
         [](TfrmProjectOptions& d) { d.chkPhrase->click(); }, "Hall=-e Zeck=-e Phrase=-e UsePHI=-d", 2, 0},
        {"Hall disables Phrase", 2, 0, [](TfrmProjectOptions& d) { d.chkHall->click(); },
         "Hall=xe Zeck=-e Phrase=-d UsePHI=-d", 2, 4},
        {"choosing Custom clears the boxes", 1, 0, [](TfrmProjectOptions& d) { d.optCustCompress->click(); },
         "Hall=-e Zeck=-e Phrase=-e UsePHI=-d", 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        project.CompressMode = row.mode;
        project.CompressFlags = row.flags;
        TfrmProjectOptions d(factory, project, macros);
        d.Activate();
        if (row.act) row.act(d);
        EXPECT_EQ(Boxes(d), row.boxes);
        ASSERT_EQ(ClickOk(d), QDialog::Accepted);
        EXPECT_EQ(project.CompressMode, row.storedMode);
        EXPECT_EQ(project.CompressFlags, row.storedFlags);
    }
}

TEST_F(ProjectOptionsTest, ThePrefixFollowsTheExportBoxesAndIsStoredAnyway) {
    project.MakeVbInclude = true;
    project.SetIdPrefix("HID");
    TfrmProjectOptions d(factory, project, macros);
    d.Activate();
    EXPECT_TRUE(d.txtIdPrefix->isEnabled());
    EXPECT_TRUE(d.lblIdPrefix->isEnabled());
    d.chkMakeVbInclude->click();
    EXPECT_FALSE(d.txtIdPrefix->isEnabled());
    EXPECT_FALSE(d.lblIdPrefix->isEnabled());
    EXPECT_EQ(d.txtIdPrefix->palette().color(QPalette::Base), QColor(192, 192, 192));
    d.chkMakeCppInclude->click();
    EXPECT_TRUE(d.txtIdPrefix->isEnabled());
    EXPECT_EQ(d.txtIdPrefix->palette().color(QPalette::Base), QColor(Qt::white));
    d.chkMakeCppInclude->click();
    d.txtIdPrefix->setText("XY");
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_FALSE(project.MakeCppInclude || project.MakeVbInclude || project.MakePascalInclude);
    EXPECT_EQ(project.GetIdPrefix(), "XY");
}

TEST_F(ProjectOptionsTest, BuildTagsComeFromThePickerAndGoToTheirLists) {
    TfrmProjectOptions d(factory, project, macros);
    d.Activate();
    EXPECT_FALSE(d.cmdIncRemove->isEnabled());
    QStringList offered;
    ui.ExpectDialog("frmBuildTags", [&](QDialog& dlg) {
        auto& tags = static_cast<TfrmBuildTags&>(dlg);
        for (int i = 0; i < tags.lstTags->count(); ++i) offered << tags.lstTags->item(i)->text();
        EXPECT_EQ(tags.txtTag->text(), "INTERNAL");  // the first offered
        return ClickOk(dlg);
    });
    d.cmdIncAdd->click();
    ui.ExpectDialog("frmBuildTags", [](QDialog& dlg) {
        static_cast<TfrmBuildTags&>(dlg).txtTag->setText("  DRAFT ");
        return ClickOk(dlg);
    });
    d.cmdExcAdd->click();
    ui.ExpectDialog("frmBuildTags", [](QDialog& dlg) {
        dlg.reject();
        return dlg.result();
    });
    d.cmdExcAdd->click();
    EXPECT_EQ(offered, QStringList({"INTERNAL", "DRAFT"}));
    EXPECT_TRUE(d.cmdIncRemove->isEnabled());
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(project.IncludeTags, (qm::StringList{"INTERNAL"}));
    EXPECT_EQ(project.ExcludeTags, (qm::StringList{"DRAFT"}));
}

TEST_F(ProjectOptionsTest, AProjectWithoutAWindowOpensWithTheConfigPageDark) {
    project.Windows.Clear();
    TfrmProjectOptions d(factory, project, macros);
    d.Activate();
    EXPECT_FALSE(d.tsConfig->isEnabled());
    EXPECT_EQ(d.tsConfig->toolTip(), "Define a help window first (Windows Editor).");
    d.txtHelpTitle->setText("Imported");
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(project.GetTitle(), "Imported");
    EXPECT_TRUE(project.Windows.Empty());
}

TEST_F(ProjectOptionsTest, OkWithoutAContentsTopicWarnsAndStoresNothing) {
    project.Topics.FindContents()->IsContents = false;
    TfrmProjectOptions d(factory, project, macros);
    d.Activate();
    EXPECT_EQ(d.cboTopics->currentIndex(), -1);
    d.txtHelpTitle->setText("Changed");
    ui.ExpectMessage(qm::MsgKind::Warning, "Invalid contents topic.");
    d.cmdOk->click();
    EXPECT_FALSE(d.Accepted());
    EXPECT_EQ(project.GetTitle(), "My Help");
}

TEST_F(ProjectOptionsTest, TextTheProjectCannotHoldIsRefused) {
    TfrmProjectOptions d(factory, project, macros);
    d.txtCopyright->setText(QString::fromUtf8("\u00a9 2026 \u03a9mega"));  // the sign fits, the Greek letter does not
    ui.ExpectMessage(qm::MsgKind::Information, "Copyright");
    d.cmdOk->click();
    EXPECT_FALSE(d.Accepted());
    d.txtCopyright->setText(QString::fromUtf8("\u00a9 2026 Omega"));
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(project.GetCopyright(), "\xa9 2026 Omega");
}

TEST_F(ProjectOptionsTest, HelpFollowsThePageAndConfigTakesEnter) {
    TfrmProjectOptions d(factory, project, macros);
    d.Activate();
    const int contexts[] = {125, 130, 135, 140, 145, 150};
    for (int page = 0; page < 6; ++page) {
        d.tbsOptions->setCurrentIndex(page);
        d.cmdHelp->click();
        EXPECT_EQ(ui.helpContexts.back(), contexts[page]);
        EXPECT_EQ(d.cmdAddMacro->isDefault(), d.tbsOptions->currentWidget() == d.tsConfig);
        EXPECT_EQ(d.cmdOk->isDefault(), d.tbsOptions->currentWidget() != d.tsConfig);
    }
}

TEST_F(ProjectOptionsTest, BuildTagPickerSearchesAfterTheFirstRowAndRefusesBlanks) {
    TfrmBuildTags d(ui);
    d.SetTags({"abc", "abd", "xyz"});
    d.Activate();
    EXPECT_EQ(d.txtTag->text(), "abc");
    EXPECT_TRUE(d.cmdOk->isEnabled());
    d.txtTag->setText("ab");
    EXPECT_EQ(d.lstTags->currentRow(), 1);
    d.txtTag->setText("AB");
    EXPECT_EQ(d.lstTags->currentRow(), 1);
    d.txtTag->setText("x");
    EXPECT_EQ(d.lstTags->currentRow(), 2);
    d.txtTag->setText("q");
    EXPECT_EQ(d.lstTags->currentRow(), -1);
    d.txtTag->clear();
    EXPECT_FALSE(d.cmdOk->isEnabled());

    d.txtTag->setText(" two words ");
    ui.ExpectMessage(qm::MsgKind::Information, "Spaces are not allowed in build tags.");
    d.cmdOk->click();
    EXPECT_FALSE(d.Accepted());
    d.txtTag->setText("  ONE ");
    d.cmdOk->click();
    ASSERT_TRUE(d.Accepted());
    EXPECT_EQ(d.Tag(), "ONE");

    TfrmBuildTags empty(ui);
    empty.SetTags({});
    empty.Activate();
    EXPECT_FALSE(empty.cmdOk->isEnabled());
}

TEST_F(ProjectOptionsTest, ScreenshotOfTheCompressionPage) {
    project.CompressMode = qm::CompressMode::Custom;
    project.CompressFlags = 6;
    TfrmProjectOptions d(factory, project, macros);
    d.tbsOptions->setCurrentWidget(d.tsCompression);
    Screenshot(d, "projectoptions.png");
}

}  // namespace
}  // namespace qmtest
