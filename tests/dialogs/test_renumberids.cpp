// The renumber dialog: its suggestion, the order's labels, the enabling,
// the increment's steps and OK's checks.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialogs/renumberids.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmRenumberIds;

class RenumberIdsTest : public TagFormTest {};

TEST_F(RenumberIdsTest, OpensWithTheSuggestionForTopicsFirst) {
    TfrmRenumberIds d(ui, 10, 4);
    d.Activate();
    EXPECT_EQ(d.windowTitle(), "Renumber Context IDs");
    EXPECT_TRUE(d.optTopicsFirst->isChecked());
    EXPECT_EQ(d.txtIncrement->text(), "1");
    EXPECT_EQ(d.txtFirstStart->text(), "5");
    EXPECT_EQ(d.txtSecondStart->text(), "15");
    EXPECT_EQ(d.lblFirstStart->text(), "Topi&cs start index:");
    EXPECT_EQ(d.lblSecondStart->text(), "P&opups start index:");
    d.optPopupsFirst->click();
    EXPECT_EQ(d.lblFirstStart->text(), "P&opups start index:");
    EXPECT_EQ(d.lblSecondStart->text(), "Topi&cs start index:");
    EXPECT_EQ(d.txtSecondStart->text(), "9");
}

TEST_F(RenumberIdsTest, TheSecondStartOnlyRises) {
    TfrmRenumberIds d(ui, 10, 4);
    d.txtIncrement->setText("5");
    EXPECT_EQ(d.txtSecondStart->text(), "51");
    d.txtFirstStart->setText("1");
    EXPECT_EQ(d.txtSecondStart->text(), "51");  // a smaller first start never lowers it
    d.txtFirstStart->setText("100");
    EXPECT_EQ(d.txtSecondStart->text(), "146");
    d.txtSecondStart->setText("500");
    d.cmdSuggest->click();
    EXPECT_EQ(d.txtSecondStart->text(), "146");
    // A suggestion longer than the six digits one types is shown whole.
    d.txtIncrement->setText("9999");
    d.txtFirstStart->setText("999999");
    EXPECT_EQ(d.txtSecondStart->text(), QString::number(10 * 9999 + 999999 - 9998));
}

TEST_F(RenumberIdsTest, EditsTakeDigitsAndTheIncrementStepsWithinItsRange) {
    TfrmRenumberIds d(ui, 3, 0);
    d.show();
    d.txtFirstStart->clear();
    QTest::keyClicks(d.txtFirstStart, "1a2-3");
    EXPECT_EQ(d.txtFirstStart->text(), "123");
    d.txtIncrement->setFocus();
    QTest::keyClick(d.txtIncrement, Qt::Key_Down);
    EXPECT_EQ(d.txtIncrement->text(), "1");
    QTest::keyClick(d.txtIncrement, Qt::Key_Up);
    EXPECT_EQ(d.txtIncrement->text(), "2");
    d.txtIncrement->setText("9999");
    QTest::keyClick(d.txtIncrement, Qt::Key_Up);
    EXPECT_EQ(d.txtIncrement->text(), "9999");
    for (QLineEdit* e : {d.txtIncrement, d.txtFirstStart, d.txtSecondStart}) {
        SCOPED_TRACE(e->objectName().toStdString());
        const QString keep = e->text();
        e->clear();
        EXPECT_FALSE(d.cmdOk->isEnabled());
        e->setText(keep);
        EXPECT_TRUE(d.cmdOk->isEnabled());
    }
}

TEST_F(RenumberIdsTest, OkRefusesOverlapsAndOrderFaults) {
    struct Row {
        const char* name;
        bool popupsFirst;
        int topics, popups;
        QString inc, first, second;
        QString message;  // empty: accepted
    } rows[] = {
        {"accepted", false, 10, 4, "5", "5", "51", ""},
        {"an increment of 0", false, 3, 0, "0", "5", "20", "Incrementation value must be at least 1."},
        {"second not above first, topics first", false, 0, 0, "1", "5", "5",
         "Topics start index must be lower than popups start index."},
        {"second not above first, popups first", true, 0, 0, "1", "5", "5",
         "Popups start index must be lower than topics start index."},
        {"overlap, topics first", false, 3, 0, "1", "100", "102", "Topics would overlap popups"},
        {"overlap, popups first", true, 0, 3, "1", "100", "102", "Popups would overlap topics"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmRenumberIds d(ui, row.topics, row.popups);
        if (row.popupsFirst) d.optPopupsFirst->click();
        d.txtIncrement->setText(row.inc);
        d.txtFirstStart->setText(row.first);
        d.txtSecondStart->setText(row.second);
        if (!row.message.isEmpty()) ui.ExpectMessage(qm::MsgKind::Warning, row.message);
        d.cmdOk->click();
        EXPECT_EQ(d.Accepted(), row.message.isEmpty());
    }
}

TEST_F(RenumberIdsTest, FactoryGivesTheStartsOfEachKind) {
    ui.ExpectDialog("frmRenumberIds", [](QDialog& dlg) {
        auto& d = static_cast<TfrmRenumberIds&>(dlg);
        d.optPopupsFirst->click();
        d.txtIncrement->setText("10");
        d.txtFirstStart->setText("10");
        d.txtSecondStart->setText("500");
        return ClickOk(dlg);
    });
    const auto values = factory.RunRenumberIds(project);
    ASSERT_TRUE(values);
    EXPECT_EQ((*values)[0], 500);  // topics
    EXPECT_EQ((*values)[1], 10);   // popups
    EXPECT_EQ((*values)[2], 10);
}

}  // namespace
}  // namespace qmtest
