// The browse sequence editor: opening from the topics' strings, sequence
// names, including, excluding and ordering by buttons, keys and drops, and
// the strings OK writes.
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "dialogs/browseedit.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmBrowseEdit;

class BrowseEditTest : public TagFormTest {
protected:
    void SetUp() override {
        TagFormTest::SetUp();
        project.Topics.FindByName("Intro")->SetBrowse("intro:010");
        project.Topics.FindByName("Beta")->SetBrowse("Intro:5");
        project.Topics.FindByName("Note")->SetBrowse("intro:001");  // a popup: never touched
        for (const char* name : {"Gamma", "Alpha"}) project.Topics.AddNew().SetName(name);
    }
    static QStringList Rows(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    std::string Browse(const char* name) const { return project.Topics.FindByName(name)->GetBrowse(); }
    static void SelectAvailable(TfrmBrowseEdit& d, const QString& name) {
        const auto found = d.lstAvTopics->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        d.lstAvTopics->setCurrentItem(found.front());
    }
};

TEST_F(BrowseEditTest, OpensOnTheSequencesOfTheTopicsAndOkRenumbersThem) {
    TfrmBrowseEdit d(ui, project);
    d.Activate();
    EXPECT_EQ(d.windowTitle(), "Browse Sequence Editor");
    EXPECT_EQ(Rows(d.lstBrSeq), QStringList({"intro"}));
    EXPECT_EQ(Rows(d.lstIncTopics), QStringList({"Beta", "Intro"}));
    EXPECT_EQ(Rows(d.lstAvTopics), QStringList({"Alpha", "Contents", "Gamma"}));
    EXPECT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(Browse("Beta"), "intro:005");
    EXPECT_EQ(Browse("Intro"), "intro:010");
    EXPECT_EQ(Browse("Note"), "intro:001");
}

TEST_F(BrowseEditTest, NewSequenceNamesAreChecked) {
    struct Row {
        const char* name;
        QString typed;
        QString message;  // empty: accepted
        QString stored;
    } rows[] = {
        {"blanks around are dropped", " faq ", "", "faq"},
        {"another case of a name in use", "Intro", "INTRO: this browse sequence identifier already exists.", ""},
        {"empty", "  ", "Invalid browse sequence identifier.", ""},
        {"a blank inside", "a b", "No spaces are allowed in browse sequence identifiers.", ""},
        {"a colon would end the name in the string", "a:b", "Invalid browse sequence identifier.", ""},
        {"45 characters fit", QString(45, 'x'), "", QString(45, 'x')},
        {"46 characters do not", QString(46, 'x'), "Browse sequence identifiers are limited to 45 characters.", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmBrowseEdit d(ui, project);
        ui.ExpectInput(row.typed, "New browse sequence name:");
        if (!row.message.isEmpty()) ui.ExpectMessage(qm::MsgKind::Information, row.message);
        d.NewClick();
        if (row.message.isEmpty()) {
            EXPECT_EQ(Rows(d.lstBrSeq), QStringList({"intro", row.stored}));
            EXPECT_EQ(d.lstBrSeq->currentRow(), 1);
            EXPECT_TRUE(Rows(d.lstIncTopics).isEmpty());
        } else {
            EXPECT_EQ(d.BrowseSequences.Count(), 1);
        }
    }
}

TEST_F(BrowseEditTest, TwoHundredTopicsEndAtOneThousand) {
    for (int i = 0; i < 195; ++i) project.Topics.AddNew().SetName("T" + std::to_string(i));
    TfrmBrowseEdit d(ui, project);
    ui.ExpectInput(QStringLiteral("long"));
    d.NewClick();
    d.cmdIncludeAll->click();
    EXPECT_EQ(d.lstIncTopics->count(), 198);
    d.lstBrSeq->setCurrentRow(0);
    d.lstIncTopics->setCurrentRow(0);
    d.cmdExcludeAll->click();
    d.lstBrSeq->setCurrentRow(1);
    SelectAvailable(d, "Beta");
    d.cmdIncludeOne->click();
    SelectAvailable(d, "Intro");
    d.cmdIncludeOne->click();
    EXPECT_EQ(d.lstIncTopics->count(), 200);
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(Browse("Intro"), "long:1000");
    EXPECT_EQ(Browse("Beta"), "long:995");
    EXPECT_EQ(Browse("Alpha"), "long:005");
}

TEST_F(BrowseEditTest, KeysAndDropsMoveTopics) {
    TfrmBrowseEdit d(ui, project);
    d.show();
    d.lstIncTopics->setCurrentRow(1);
    QTest::keyClick(d.lstIncTopics, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Rows(d.lstIncTopics), QStringList({"Intro", "Beta"}));
    EXPECT_EQ(d.lstIncTopics->currentRow(), 0);
    // Plain Down keeps its list meaning.
    QTest::keyClick(d.lstIncTopics, Qt::Key_Down);
    EXPECT_EQ(d.lstIncTopics->currentRow(), 1);
    EXPECT_EQ(Rows(d.lstIncTopics), QStringList({"Intro", "Beta"}));
    QTest::keyClick(d.lstIncTopics, Qt::Key_Right);
    EXPECT_EQ(Rows(d.lstIncTopics), QStringList({"Intro"}));
    EXPECT_EQ(Rows(d.lstAvTopics), QStringList({"Alpha", "Beta", "Contents", "Gamma"}));

    SelectAvailable(d, "Gamma");
    d.DropFromAvailable(0);
    EXPECT_EQ(Rows(d.lstIncTopics), QStringList({"Gamma", "Intro"}));
    SelectAvailable(d, "Alpha");
    d.DropFromAvailable(-1);
    EXPECT_EQ(Rows(d.lstIncTopics), QStringList({"Gamma", "Intro", "Alpha"}));
    d.lstIncTopics->setCurrentRow(2);
    d.DropWithinIncluded(0);
    EXPECT_EQ(Rows(d.lstIncTopics), QStringList({"Alpha", "Gamma", "Intro"}));
    QTest::keyClick(d.lstAvTopics, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(Rows(d.lstAvTopics).isEmpty());
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(Browse("Alpha"), "intro:005");
    EXPECT_EQ(Browse("Gamma"), "intro:010");
    EXPECT_EQ(Browse("Intro"), "intro:015");
}

TEST_F(BrowseEditTest, CommandsNeedASequence) {
    project.Topics.FindByName("Intro")->Browse.Clear();
    project.Topics.FindByName("Beta")->Browse.Clear();
    TfrmBrowseEdit d(ui, project);
    EXPECT_EQ(d.lstBrSeq->count(), 0);
    SelectAvailable(d, "Beta");
    ui.ExpectMessage(qm::MsgKind::Information, "You must define a browse sequence before including this topic.");
    d.cmdIncludeOne->click();
    ui.ExpectMessage(qm::MsgKind::Information, "You must define a browse sequence before including these topics.");
    d.cmdIncludeAll->click();
    ui.ExpectInput(QStringLiteral("seq"));
    d.NewClick();
    d.cmdIncludeAll->click();
    d.lstBrSeq->setCurrentRow(-1);
    // With no sequence selected nothing moves and nothing fails.
    d.lstIncTopics->setCurrentRow(0);
    for (QPushButton* b : {d.cmdExcludeOne, d.cmdExcludeAll, d.cmdUp, d.cmdDown, d.cmdRemove}) b->click();
    EXPECT_EQ(d.BrowseSequences.Items(0).Count(), 5);
    d.lstBrSeq->setCurrentRow(0);
    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the browse sequence seq ?", qm::MsgResult::No);
    d.cmdRemove->click();
    EXPECT_EQ(d.BrowseSequences.Count(), 1);
    ui.ExpectMessage(qm::MsgKind::Confirmation, "Remove the browse sequence seq ?", qm::MsgResult::Yes);
    d.cmdRemove->click();
    EXPECT_EQ(d.BrowseSequences.Count(), 0);
    EXPECT_EQ(d.lstAvTopics->count(), 5);
    ASSERT_EQ(ClickOk(d), QDialog::Accepted);
    EXPECT_EQ(Browse("Alpha"), "");
}

TEST_F(BrowseEditTest, AnOpenedSequenceTooLongToStoreIsRefusedAtOk) {
    project.Topics.FindByName("Intro")->SetBrowse(std::string(47, 'L') + ":1");
    project.Topics.FindByName("Beta")->SetBrowse("bad:1-0");
    TfrmBrowseEdit d(ui, project);
    // A number that is no number leaves the topic in its sequence.
    EXPECT_EQ(Rows(d.lstBrSeq), QStringList({QString(47, 'L'), "bad"}));
    ui.ExpectMessage(qm::MsgKind::Information,
                     QStringLiteral("The browse sequence %1 is too long to be stored.").arg(QString(47, 'L')));
    d.cmdOk->click();
    EXPECT_FALSE(d.Accepted());
    EXPECT_EQ(Browse("Beta"), "bad:1-0");
}

TEST_F(BrowseEditTest, ScreenshotOfTheEditor) {
    TfrmBrowseEdit d(ui, project);
    Screenshot(d, "browseedit.png");
}

}  // namespace
}  // namespace qmtest
