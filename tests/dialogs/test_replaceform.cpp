// The replace form's own part: the replace text and its history, the
// Replace and Replace All buttons and their enabling.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "dialogs/replaceform.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"

namespace {

class ReplaceFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
    void TearDown() override { ui.ExpectAllAnswered(); }
    static QStringList Items(const QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }
    qmtest::ScriptedUiServices ui;
    qm::TfrmReplace form{ui, nullptr};
};

// Replacing with nothing deletes the hits, so an empty replace text is
// allowed; an empty find text has nothing to replace.
TEST_F(ReplaceFormTest, ButtonEnabling) {
    struct Row {
        const char* name;
        QString find, replace;
        QRadioButton* qm::TSearchForm::*scope;
        bool findNext, replaceOne, replaceAll;
    } rows[] = {
        {"BothTextsCurrent", "a", "b", &qm::TSearchForm::optCurText, true, true, true},
        {"EmptyReplaceCurrent", "a", "", &qm::TSearchForm::optCurText, true, true, true},
        {"EmptyFind", "", "b", &qm::TSearchForm::optCurText, false, false, false},
        {"BothEmpty", "", "", &qm::TSearchForm::optCurText, false, false, false},
        {"Project", "a", "b", &qm::TSearchForm::optProject, true, false, true},
        {"TopicsEmptyReplace", "a", "", &qm::TSearchForm::optTopics, true, false, true},
        {"PopupsEmptyFind", "", "b", &qm::TSearchForm::optPopups, false, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        (form.*r.scope)->setChecked(true);
        form.cboFind->setEditText(r.find);
        form.cboReplace->setEditText(r.replace);
        EXPECT_EQ(form.cmdFind->isEnabled(), r.findNext);
        EXPECT_EQ(form.cmdReplace->isEnabled(), r.replaceOne);
        EXPECT_EQ(form.cmdReplaceAll->isEnabled(), r.replaceAll);
    }
}

TEST_F(ReplaceFormTest, ReplaceAndReplaceAllSetTheFlagAndTheHistories) {
    QSignalSpy replaced(&form, &qm::TfrmReplace::OnReplace);
    QSignalSpy found(&form, &qm::TfrmReplace::OnFind);
    form.cboFind->setEditText("old");
    form.cboReplace->setEditText("new");
    form.cmdReplaceAll->click();
    EXPECT_EQ(form.ReplaceAll(), 1);
    form.cmdReplace->click();
    EXPECT_EQ(form.ReplaceAll(), 0);
    EXPECT_EQ(replaced.count(), 2);
    EXPECT_EQ(found.count(), 0);
    EXPECT_EQ(Items(form.cboFind), QStringList{"old"});
    EXPECT_EQ(Items(form.cboReplace), QStringList{"new"});
    EXPECT_TRUE(form.IsInReplaceHistory("new"));
    EXPECT_FALSE(form.IsInReplaceHistory("New"));

    // Deleting: the empty replace text is no history entry.
    form.cboReplace->setEditText("");
    form.cmdReplaceAll->click();
    EXPECT_EQ(replaced.count(), 3);
    EXPECT_EQ(form.GetReplaceText(), "");
    EXPECT_EQ(Items(form.cboReplace), QStringList{"new"});

    // Find Next on the replace form is its find event.
    form.cmdFind->click();
    EXPECT_EQ(found.count(), 1);
    EXPECT_EQ(replaced.count(), 3);
}

TEST_F(ReplaceFormTest, InitialState) {
    EXPECT_EQ(form.ReplaceAll(), 0);
    EXPECT_EQ(form.cboReplace->count(), 0);
    EXPECT_EQ(form.cboReplace->insertPolicy(), QComboBox::NoInsert);
    EXPECT_FALSE(form.cmdReplace->isEnabled());
    EXPECT_FALSE(form.cmdReplaceAll->isEnabled());
    EXPECT_FALSE(form.cmdReplace->isDefault());
}

}  // namespace
