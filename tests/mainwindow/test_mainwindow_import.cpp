// The Import command driven through the main window's action, with the
// dialog's answer scripted: RTF pages into the open project, a HelpWorkshop
// project in place of it, and the failures that must leave it untouched.
#include <QComboBox>
#include <QProgressBar>
#include <QTabWidget>
#include <fstream>

#include "mainwindow/standins.h"
#include "mainwindow_fixture.h"
#include "platform/qtcp1252.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;

const std::string kWordRtf = QM_TEST_DATA_DIR "/import/word.rtf";
const std::string kProjDir = QM_TEST_DATA_DIR "/import/proj/";

QStringList ComboRows(qm::TfrmMain& w, const char* name) {
    QStringList out;
    auto* c = w.findChild<QComboBox*>(QString::fromLatin1(name));
    for (int i = 0; c && i < c->count(); ++i) out << c->itemText(i);
    return out;
}

class MainWindowImportTest : public MainWindowTest {};

TEST_F(MainWindowImportTest, RtfPagesReplaceTheOpenTopicAndAreListed) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Alpha");
    ASSERT_EQ(w->CurrentNode()->GetName(), "Alpha");
    const qm::TNodeId betaId = w->Project().Topics.FindByName("Beta")->Id();
    ExpectImport(qm::TImportRequest{kWordRtf, qm::TImportFilter::Rtf, true});
    Act(*w, "actImport")->trigger();

    // Alpha's place goes to the first page; the other two are appended.
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Beta", "Contents", "Intro", "Steps", "Term"}));
    EXPECT_EQ(Rows(*w, "lstPopups"), QStringList{"PopOne"});
    EXPECT_TRUE(ComboRows(*w, "cboTopics").contains(QStringLiteral("Steps")));
    EXPECT_EQ(w->Project().Topics.FindByName("Alpha"), nullptr);
    ASSERT_NE(w->CurrentNode(), nullptr);
    EXPECT_EQ(w->CurrentNode()->GetName(), "Intro");
    EXPECT_EQ(Child<QListWidget>(*w, "lstTopics")->currentItem()->text(), QStringLiteral("Intro"));
    const QString shown = w->Editor()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Read the"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("Alpha body")));
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_NE(w->Project().Topics.FindById(betaId), nullptr);
    EXPECT_FALSE(Child<qm::TfrmMessage>(*w, "frmMessage")->isVisible());

    // Opening another module stores the editor into Intro, not into a freed node.
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_NE(w->Project().Topics.FindByName("Intro")->Text.find("Read the"), std::string::npos);
}

TEST_F(MainWindowImportTest, RtfOnThePopupPageMakesPopups) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(1);
    OpenRow(*w, "lstPopups", "PopOne");
    ExpectImport(qm::TImportRequest{kWordRtf, qm::TImportFilter::Rtf, true});
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(Rows(*w, "lstPopups"), (QStringList{"Intro", "Steps", "Term"}));
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    ASSERT_NE(w->CurrentNode(), nullptr);
    EXPECT_EQ(w->CurrentNode()->GetName(), "Intro");
    EXPECT_TRUE(w->CurrentNode()->IsPopup());
}

TEST_F(MainWindowImportTest, RtfWithoutFootnotesBecomesTheOpenModulesText) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Beta");
    ExpectImport(qm::TImportRequest{kWordRtf, qm::TImportFilter::Rtf, false});
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    EXPECT_EQ(w->CurrentNode()->GetName(), "Beta");
    EXPECT_TRUE(w->Editor()->toPlainText().contains(QStringLiteral("Read the")));
    EXPECT_FALSE(w->Editor()->toPlainText().contains(QStringLiteral("Beta body")));
    EXPECT_NE(w->Project().Topics.FindByName("Beta")->Text.find("Read the"), std::string::npos);
    // The import into the open topic is one edit: Undo brings the old text back.
    ASSERT_TRUE(w->Editor()->CanUndo());
    w->Editor()->Undo();
    EXPECT_TRUE(w->Editor()->toPlainText().startsWith(QStringLiteral("Beta body")));
    EXPECT_FALSE(w->Editor()->CanUndo());
}

TEST_F(MainWindowImportTest, TextFileIsLoadedIntoTheOpenModule) {
    const std::string txt = root_ + "notes.txt";
    {
        std::ofstream out(txt, std::ios::binary);
        out << "First line\r\nSecond line\r\n";
    }
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Alpha");
    ExpectImport(qm::TImportRequest{txt, qm::TImportFilter::Text, false});
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(w->CurrentNode()->GetName(), "Alpha");
    const QString shown = w->Editor()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Second line"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("Alpha body")));
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_NE(w->Project().Topics.FindByName("Alpha")->Text.find("Second line"), std::string::npos);
}

TEST_F(MainWindowImportTest, HpjReplacesTheProjectAfterTheSaveQuestion) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Alpha");
    OpenRow(*w, "lstTopics", "Beta");
    ASSERT_FALSE(w->BackHistory().isEmpty());
    w->Project().Modified = true;
    ExpectImport(qm::TImportRequest{kProjDir + "Sample.hpj", qm::TImportFilter::Hpj, false});
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("Save changes to project sample.qpf?"), MsgResult::No);
    Act(*w, "actImport")->trigger();

    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Details", "Welcome", "Welcome_1"}));
    EXPECT_TRUE(Rows(*w, "lstPopups").isEmpty());
    EXPECT_EQ(w->Project().FileName, "");
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Quillmark 1.51 - [Untitled]"));
    EXPECT_TRUE(w->BackHistory().isEmpty());
    ASSERT_NE(w->CurrentNode(), nullptr);
    EXPECT_EQ(w->CurrentNode()->GetName(), "Welcome");
    EXPECT_EQ(Child<QListWidget>(*w, "lstTopics")->currentItem()->text(), QStringLiteral("Welcome"));
    EXPECT_FALSE(w->Editor()->toPlainText().isEmpty());
}

TEST_F(MainWindowImportTest, RefusedOrFailedImportLeavesTheProject) {
    struct Case {
        const char* what;
        std::string file;
        qm::TImportFilter filter;
        bool modified;
    };
    const std::string sample = SaveSample();
    for (const Case& c : {Case{"save question cancelled", kProjDir + "Sample.hpj", qm::TImportFilter::Hpj, true},
                          Case{"file of the .hpj missing", kProjDir + "MissingFile.hpj", qm::TImportFilter::Hpj, false},
                          Case{"RTF file missing", root_ + "none.rtf", qm::TImportFilter::Rtf, false}}) {
        SCOPED_TRACE(c.what);
        auto w = Start({qm::FromCp1252(sample)});
        OpenRow(*w, "lstTopics", "Alpha");
        w->Project().Modified = c.modified;
        ExpectImport(qm::TImportRequest{c.file, c.filter, true});
        if (c.modified)
            ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("Save changes"), MsgResult::Cancel);
        else
            ui.ExpectMessage(MsgKind::Error, QString());
        Act(*w, "actImport")->trigger();
        ui.ExpectAllAnswered(c.what);
        EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
        EXPECT_EQ(w->Project().FileName, sample);
        EXPECT_EQ(w->CurrentNode()->GetName(), "Alpha");
        EXPECT_TRUE(w->Editor()->toPlainText().contains(QStringLiteral("Alpha body")));
        EXPECT_FALSE(Child<qm::TfrmMessage>(*w, "frmMessage")->isVisible());
    }
}

TEST_F(MainWindowImportTest, CancelledDialogDoesNothing) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Alpha");
    w->Project().Modified = true;
    ExpectImport(std::nullopt);
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    EXPECT_EQ(w->CurrentNode()->GetName(), "Alpha");
}

}  // namespace
}  // namespace qmtest
