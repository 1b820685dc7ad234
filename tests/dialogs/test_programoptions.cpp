// The program options: loading and OK's all-or-nothing copy, the compiler
// state, the tools, help per page, and the personal dictionaries.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "dialogs/programoptions.h"
#include "platform/qtcp1252.h"
#include "spell/userdictionary.h"
#include "tagform_fixture.h"
#include "util/fileio.h"
#include "util/settingsstore.h"
#include "widgets/colorcombo.h"

namespace qmtest {
namespace {

using qm::TfrmOptions;

class ProgramOptionsTest : public TagFormTest {
protected:
    void SetUp() override {
        TagFormTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        options.SetDefaults();
        options.CompilerPath = "/opt/hc";
        options.DefFont = "Arial";
        options.DefFontSize = 10;
        run.Options = &options;
        run.Tools = &tools;
        run.Settings = &settings;
        run.FontNames = {"Arial", "Courier New"};
        run.FontSizes = {"8", "10", "12"};
        run.PersonalFolder = qm::ToCp1252(dir.path()) + "/Dictionaries";
        run.EditTool = [this](const qm::TTool& preset, QWidget*) -> std::optional<qm::TTool> {
            presets.push_back(preset);
            return qm::TTool{"/usr/bin/tool" + std::to_string(presets.size()),
                             "Tool " + std::to_string(presets.size())};
        };
    }
    std::string DicFile(const std::string& name) const { return run.PersonalFolder + "/" + name + ".dic"; }

    QTemporaryDir dir;
    qm::TOptions options;
    qm::TUserTools tools;
    qm::MemorySettingsStore settings;
    qm::TOptionsRun run;
    std::vector<qm::TTool> presets;
};

TEST_F(ProgramOptionsTest, OkCopiesTheControlsAndSavesOptionsAndTools) {
    const std::uint8_t editStyle = options.EditStyle;
    TfrmOptions d(ui, run);
    d.Activate();
    EXPECT_EQ(d.windowTitle(), "Options");
    EXPECT_EQ(d.txtCompilerPath->text(), "/opt/hc");
    EXPECT_EQ(d.cboFontFace->count(), 2);
    EXPECT_EQ(d.cboFontSize->currentText(), "10");
    d.txtCompilerPath->setText("/usr/local/hc");
    d.optErrW[3]->click();
    d.chkEdit[0]->click();
    d.cboDoneColor->setCurrentIndex(d.cboDoneColor->findText("Red"));
    d.udHistStack->setValue(2000);  // past the range: the box keeps 1000
    d.cmdAddTool->click();
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    d.TakeResults();
    EXPECT_TRUE(run.Accepted);
    EXPECT_EQ(options.CompilerPath, "/usr/local/hc");
    EXPECT_EQ(options.GetErrorType(4), 1);
    EXPECT_EQ(options.GetErrorType(3), 0);
    EXPECT_EQ(options.EditStyle, editStyle ^ 1);  // bold switched
    EXPECT_EQ(options.DoneColor, 0x0000FF);
    EXPECT_EQ(options.HistoryStack, 1000);
    qm::TOptions saved;
    saved.LoadFromRegistry(settings);
    EXPECT_EQ(saved.CompilerPath, "/usr/local/hc");
    qm::TUserTools savedTools;
    savedTools.LoadFromRegistry(settings);
    EXPECT_EQ(savedTools.Count(), 1);
}

TEST_F(ProgramOptionsTest, CancelLeavesTheOptionsAsTheyWere) {
    const qm::TOptions before = options;
    TfrmOptions d(ui, run);
    d.txtCompilerPath->setText("/elsewhere");
    d.chkHotCursor->click();
    ui.ExpectMessage(qm::MsgKind::Confirmation, "clear the most recently used files buffer", qm::MsgResult::Yes);
    d.cmdClearMRU->click();
    EXPECT_FALSE(d.cmdClearMRU->isEnabled());
    d.cmdCancel->click();
    d.TakeResults();
    EXPECT_FALSE(run.Accepted);
    EXPECT_TRUE(run.MruCleared);  // the caller clears only after OK
    EXPECT_EQ(options, before);
    EXPECT_TRUE(settings.Empty());
}

TEST_F(ProgramOptionsTest, ABadFontSizeStopsOkBeforeAnythingIsCopied) {
    for (const QString& size : {QString(), QStringLiteral("0"), QStringLiteral("1639")}) {
        SCOPED_TRACE(size.toStdString());
        const qm::TOptions before = options;
        TfrmOptions d(ui, run);
        d.show();
        d.txtCompilerPath->setText("/changed");
        d.cboFontSize->setCurrentText(size);
        // The preview never fails on a size that is no size.
        EXPECT_EQ(d.pbEditFont->Text(), "Arial");
        ui.ExpectMessage(qm::MsgKind::Information, "Invalid font size.");
        d.cmdOk->click();
        EXPECT_FALSE(d.Accepted());
        EXPECT_EQ(d.tbsOptions->currentWidget(), d.tsEditor);
        EXPECT_TRUE(d.focusWidget() == d.cboFontSize || d.cboFontSize->isAncestorOf(d.focusWidget()));
        EXPECT_EQ(options, before);
    }
    TfrmOptions d(ui, run);
    d.cboFontSize->setCurrentText("1638");
    EXPECT_EQ(d.pbEditFont->TextFont().pointSize(), 1638);
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(options.DefFontSize, 1638);
}

TEST_F(ProgramOptionsTest, TheCompilerLabelSaysWhatABuildWillFind) {
    struct Row {
        qm::CompilerAvailability availability;
        QString text;
    } rows[] = {
        {qm::CompilerAvailability::Missing, "hcrtf.exe was not found in this folder."},
        {qm::CompilerAvailability::Native, "hcrtf.exe found; it runs directly."},
        {qm::CompilerAvailability::ThroughWine, "hcrtf.exe found; it runs through wine."},
        {qm::CompilerAvailability::NoWine, "hcrtf.exe found, but wine is not installed, so it cannot run."},
    };
    TfrmOptions d(ui, run);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        ui.compiler.availability = row.availability;
        d.txtCompilerPath->setText(QStringLiteral("/hc/%1").arg(static_cast<int>(row.availability)));
        EXPECT_EQ(d.lblCompilerState->text(), row.text);
        EXPECT_EQ(ui.compiler.checked.back(), qm::ToCp1252(d.txtCompilerPath->text()) + "/hcrtf.exe");
    }
    ui.ExpectFolder(QStringLiteral("/picked"));
    d.cmdBrowseCompiler->click();
    EXPECT_EQ(d.txtCompilerPath->text(), "/picked");
}

TEST_F(ProgramOptionsTest, ToolsAreAddedEditedAndRemovedUpToTen) {
    for (int i = 0; i < 9; ++i) tools.Add("/bin/t" + std::to_string(i), "T" + std::to_string(i));
    TfrmOptions d(ui, run);
    d.Activate();
    EXPECT_EQ(d.lstTools->topLevelItemCount(), 9);
    EXPECT_TRUE(d.cmdAddTool->isEnabled());
    d.cmdAddTool->click();
    EXPECT_EQ(tools.Count(), 10);
    EXPECT_FALSE(d.cmdAddTool->isEnabled());
    EXPECT_EQ(d.lstTools->currentItem()->text(0), "Tool 1");

    d.lstTools->setCurrentItem(d.lstTools->topLevelItem(2));
    d.cmdEditTool->click();
    EXPECT_EQ(presets.back(), (qm::TTool{"/bin/t2", "T2"}));
    EXPECT_EQ(tools.GetTool(2).Name, "Tool 2");
    EXPECT_EQ(d.lstTools->topLevelItem(2)->text(0), "Tool 2");

    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the selected tool?", qm::MsgResult::No);
    d.cmdRemoveTool->click();
    EXPECT_EQ(tools.Count(), 10);
    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the selected tool?", qm::MsgResult::Yes);
    d.cmdRemoveTool->click();
    EXPECT_EQ(tools.Count(), 9);
    EXPECT_TRUE(d.cmdAddTool->isEnabled());

    // Without a tool properties dialog only Remove is offered.
    run.EditTool = nullptr;
    TfrmOptions plain(ui, run);
    plain.Activate();
    EXPECT_FALSE(plain.cmdAddTool->isEnabled());
    EXPECT_FALSE(plain.cmdEditTool->isEnabled());
    EXPECT_TRUE(plain.cmdRemoveTool->isEnabled());
}

TEST_F(ProgramOptionsTest, EachPageHasItsHelpAndTagInsightRulesItsBoxes) {
    TfrmOptions d(ui, run);
    d.Activate();
    const int contexts[] = {250, 255, 260, 265, 270, 275, 280, 470};
    ASSERT_EQ(d.tbsOptions->count(), 8);
    for (int page = 0; page < 8; ++page) {
        d.tbsOptions->setCurrentIndex(page);
        d.cmdHelp->click();
        EXPECT_EQ(ui.helpContexts.back(), contexts[page]);
    }
    d.chkEnableTagInsight->setChecked(true);
    d.chkPopMacros->setChecked(true);
    EXPECT_TRUE(d.chkPopMacros->isEnabled());
    d.chkEnableTagInsight->click();
    EXPECT_FALSE(d.chkPopMacros->isEnabled());
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_TRUE(options.PopupMacros);
    EXPECT_FALSE(options.EnableTagInsight);
}

TEST_F(ProgramOptionsTest, AColourOutsideTheSixteenIsKept) {
    options.EditColor = 0x123456;
    options.DoneColor = 0x008000;
    TfrmOptions d(ui, run);
    EXPECT_EQ(d.cboEditColor->currentIndex(), -1);
    EXPECT_EQ(d.cboDoneColor->currentText(), "Green");
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(options.EditColor, 0x123456);
    EXPECT_EQ(options.DoneColor, 0x008000);
}

TEST_F(ProgramOptionsTest, PersonalDictionariesAreEditedHereAndSavedWhole) {
    run.PersonalDictionaries = {"English"};
    options.UserDictionary = "English";
    qm::TUserWords words;
    words.SetText("zebra\r\napple\r\n");
    words.SaveToFile(DicFile("English"));
    TfrmOptions d(ui, run);
    d.Activate();
    EXPECT_EQ(d.cboPersonalDics->currentText(), "English");
    EXPECT_TRUE(d.cmdDicModify->isEnabled());

    ui.ExpectDialog("frmDicEdit", [](QDialog& dlg) {
        auto& editor = static_cast<qm::TfrmDicEdit&>(dlg);
        EXPECT_EQ(editor.txtWords->toPlainText(), "apple\nzebra\n");  // sorted
        editor.txtWords->setPlainText("apple\nzebra\nmango\n");
        return ClickOk(dlg);
    });
    d.cmdDicModify->click();
    words.LoadFromFile(DicFile("English"));
    EXPECT_EQ(words.Count(), 3u);
    EXPECT_TRUE(words.Contains("mango"));

    ui.ExpectInput(QStringLiteral("  Medical "), "Enter the new user dictionary name:");
    ui.ExpectDialog("frmDicEdit", [](QDialog& dlg) {
        static_cast<qm::TfrmDicEdit&>(dlg).txtWords->setPlainText("aorta");
        return ClickOk(dlg);
    });
    d.cmdDicNew->click();
    EXPECT_TRUE(qm::FileExists(DicFile("Medical")));
    EXPECT_GE(d.cboPersonalDics->findText("Medical", Qt::MatchExactly | Qt::MatchCaseSensitive), 0);

    ui.ExpectInput(QStringLiteral("English"));
    ui.ExpectMessage(qm::MsgKind::Information,
                     "A user dictionary named English already exists. Please, choose another name.");
    d.cmdDicNew->click();

    d.cboPersonalDics->setEditText(" English ");
    d.cmdCancel->click();
    d.TakeResults();
    // Trimmed, not lower-cased: file names are case-sensitive here.
    EXPECT_EQ(run.PersonalDictionary, "English");
    EXPECT_TRUE(run.UserDictionaryEdited);
}

TEST_F(ProgramOptionsTest, DictionaryNamesThatAreNoNamesNeverReachAPath) {
    TfrmOptions d(ui, run);
    for (const QString& name : {QStringLiteral(" "), QStringLiteral("../evil"), QStringLiteral("a/b"),
                                QStringLiteral("a\\b"), QStringLiteral("..")}) {
        SCOPED_TRACE(name.toStdString());
        ui.ExpectInput(name);
        ui.ExpectMessage(qm::MsgKind::Information, "Invalid dictionary name.");
        d.cmdDicNew->click();
        d.cboPersonalDics->setEditText(name);
        if (d.cmdDicModify->isEnabled()) {
            ui.ExpectMessage(qm::MsgKind::Information, "Invalid dictionary name.");
            d.cmdDicModify->click();
            ui.ExpectMessage(qm::MsgKind::Information, "Invalid dictionary name.");
            d.cmdDicRemove->click();
        }
    }
    EXPECT_FALSE(QDir(QString::fromStdString(run.PersonalFolder)).exists());
}

TEST_F(ProgramOptionsTest, RemovingADictionaryDeletesItsFileOnYesOnly) {
    run.PersonalDictionaries = {"Alpha", "Beta"};
    qm::TUserWords().SaveToFile(DicFile("Beta"));
    TfrmOptions d(ui, run);
    d.cboPersonalDics->setEditText("Beta");
    ui.ExpectMessage(qm::MsgKind::Confirmation, "permanently delete", qm::MsgResult::No);
    d.cmdDicRemove->click();
    EXPECT_TRUE(qm::FileExists(DicFile("Beta")));
    ui.ExpectMessage(qm::MsgKind::Confirmation, "permanently delete", qm::MsgResult::Yes);
    d.cmdDicRemove->click();
    EXPECT_FALSE(qm::FileExists(DicFile("Beta")));
    EXPECT_EQ(d.cboPersonalDics->count(), 1);
    EXPECT_EQ(d.cboPersonalDics->currentText(), "Alpha");
}

TEST_F(ProgramOptionsTest, ScreenshotOfTheGeneralPage) {
    ui.compiler.availability = qm::CompilerAvailability::ThroughWine;
    TfrmOptions d(ui, run);
    Screenshot(d, "options.png");
}

}  // namespace
}  // namespace qmtest
