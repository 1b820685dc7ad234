// The find form and what it shares with the replace form: the initial state,
// the history, the direction and scope controls, the buttons' enabling,
// Cancel and Help. Each shared case runs on both forms.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dialogs/findform.h"
#include "dialogs/replaceform.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"

namespace {

using qm::TSearchForm;

enum class Form { Find, Replace };

class SearchFormTest : public ::testing::TestWithParam<Form> {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        if (GetParam() == Form::Find)
            form.reset(new qm::TfrmFind(ui, nullptr));
        else
            form.reset(new qm::TfrmReplace(ui, nullptr));
    }
    void TearDown() override {
        form.reset();
        ui.ExpectAllAnswered();
    }
    void Type(const QString& text) {
        form->cboFind->setEditText(text);
        QApplication::processEvents();
    }
    QStringList History() const {
        QStringList out;
        for (int i = 0; i < form->cboFind->count(); ++i) out << form->cboFind->itemText(i);
        return out;
    }

    qmtest::ScriptedUiServices ui;
    std::unique_ptr<TSearchForm> form;
};

TEST_P(SearchFormTest, InitialState) {
    EXPECT_EQ(form->Options(), qm::kOptAll);
    EXPECT_EQ(form->Scope(), qm::kScopeCurrentText);
    EXPECT_EQ(form->cboFind->count(), 0);
    EXPECT_TRUE(form->cboFind->isEditable());
    EXPECT_EQ(form->cboFind->insertPolicy(), QComboBox::NoInsert);
    EXPECT_EQ(form->cboDirection->currentText(), "All");
    EXPECT_TRUE(form->optCurText->isChecked());
    EXPECT_FALSE(form->chkMatchCase->isChecked());
    EXPECT_FALSE(form->chkWholeWords->isChecked());
    EXPECT_FALSE(form->cmdFind->isEnabled()) << "no find text yet";
    EXPECT_TRUE(form->cmdFind->isDefault());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->objectName(), GetParam() == Form::Find ? "frmFind" : "frmReplace");
    EXPECT_EQ(form->windowTitle(), GetParam() == Form::Find ? "Find" : "Replace");
}

TEST_P(SearchFormTest, FindNextKeepsOneHistoryEntryPerTextCaseSensitive) {
    QSignalSpy found(form.get(), &TSearchForm::OnFind);
    Type("abc");
    form->cmdFind->click();
    form->cmdFind->click();
    EXPECT_EQ(History(), QStringList{"abc"});
    Type("ABC");
    form->cmdFind->click();
    EXPECT_EQ(History(), (QStringList{"ABC", "abc"}));
    EXPECT_EQ(found.count(), 3);
    EXPECT_TRUE(form->IsInFindHistory("abc"));
    EXPECT_FALSE(form->IsInFindHistory("Abc"));
    EXPECT_EQ(form->GetFindText(), "ABC") << "the typed text stays shown";

    // An empty find text: the button is off and nothing is raised.
    Type("");
    EXPECT_FALSE(form->cmdFind->isEnabled());
    form->cmdFind->click();
    EXPECT_EQ(found.count(), 3);
}

TEST_P(SearchFormTest, SetFindTextPutsANewTextOnTopAndShowsIt) {
    form->SetFindText("one");
    form->SetFindText("two");
    form->SetFindText("one");
    form->SetFindText("");
    EXPECT_EQ(History(), (QStringList{"two", "one"}));
    EXPECT_EQ(form->GetFindText(), "");
    form->SetFindText("one");
    EXPECT_EQ(form->GetFindText(), "one");
    EXPECT_TRUE(form->cmdFind->isEnabled());
}

TEST_P(SearchFormTest, EnterInTheFindBoxIsFindNextAndAddsNothingElse) {
    QSignalSpy found(form.get(), &TSearchForm::OnFind);
    form->show();
    Type("word");
    QTest::keyClick(form->cboFind->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(found.count(), 1);
    EXPECT_EQ(History(), QStringList{"word"});
    form->hide();
}

TEST_P(SearchFormTest, DirectionAndOptionBits) {
    struct Row {
        const char* name;
        int direction;  // index in cboDirection
        bool matchCase, wholeWords;
        int expected;
    } rows[] = {
        {"Up", 0, false, false, qm::kOptUp},
        {"DownMatchCase", 1, true, false, qm::kOptDown | qm::kOptMatchCase},
        {"AllWholeWords", 2, false, true, qm::kOptAll | qm::kOptWholeWords},
        {"UpBoth", 0, true, true, qm::kOptUp | qm::kOptMatchCase | qm::kOptWholeWords},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        form->cboDirection->setCurrentIndex(r.direction);
        form->chkMatchCase->setChecked(r.matchCase);
        form->chkWholeWords->setChecked(r.wholeWords);
        EXPECT_EQ(form->Options(), r.expected);
    }
}

TEST_P(SearchFormTest, ModuleScopesDisableTheDirectionButKeepIt) {
    form->cboDirection->setCurrentIndex(0);  // Up
    struct Row {
        const char* name;
        QRadioButton* TSearchForm::*button;
        int scope;
    } rows[] = {
        {"Topics", &TSearchForm::optTopics, qm::kScopeTopics},
        {"Popups", &TSearchForm::optPopups, qm::kScopePopups},
        {"Project", &TSearchForm::optProject, qm::kScopeProject},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        (form.get()->*r.button)->setChecked(true);
        EXPECT_EQ(form->Scope(), r.scope);
        EXPECT_FALSE(form->cboDirection->isEnabled());
        EXPECT_FALSE(form->lblDirection->isEnabled());
        EXPECT_EQ(form->cboDirection->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
        EXPECT_EQ(form->Options() & (qm::kOptUp | qm::kOptDown | qm::kOptAll), qm::kOptUp);
    }
    form->optCurText->setChecked(true);
    EXPECT_EQ(form->Scope(), qm::kScopeCurrentText);
    EXPECT_TRUE(form->cboDirection->isEnabled());
    EXPECT_EQ(form->cboDirection->currentText(), "Up");
    EXPECT_EQ(form->Options(), qm::kOptUp);
}

TEST_P(SearchFormTest, ShowingTheFormShowsItsState) {
    struct Row {
        const char* name;
        int options, scope;
        const char* direction;
        QRadioButton* TSearchForm::*button;
        int shownScope;
    } rows[] = {
        {"UpPopups", qm::kOptUp | qm::kOptMatchCase, qm::kScopePopups, "Up", &TSearchForm::optPopups, qm::kScopePopups},
        {"DownTopics", qm::kOptDown | qm::kOptWholeWords, qm::kScopeTopics, "Down", &TSearchForm::optTopics,
         qm::kScopeTopics},
        {"AllCurrent", qm::kOptAll, qm::kScopeCurrentText, "All", &TSearchForm::optCurText, qm::kScopeCurrentText},
        {"OtherScopeIsProject", qm::kOptAll, 7, "All", &TSearchForm::optProject, qm::kScopeProject},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        form->SetOptions(r.options);
        form->SetScope(r.scope);
        form->show();
        EXPECT_EQ(form->cboDirection->currentText(), r.direction);
        EXPECT_TRUE((form.get()->*r.button)->isChecked());
        EXPECT_EQ(form->Scope(), r.shownScope);
        EXPECT_EQ(form->chkMatchCase->isChecked(), bool(r.options & qm::kOptMatchCase));
        EXPECT_EQ(form->chkWholeWords->isChecked(), bool(r.options & qm::kOptWholeWords));
        EXPECT_EQ(form->cboDirection->isEnabled(), r.shownScope == qm::kScopeCurrentText);
        EXPECT_EQ(form->Options(), r.options);
        form->hide();
    }
}

TEST_P(SearchFormTest, CancelAndTheCloseBoxHideAndKeepTheState) {
    form->show();
    Type("kept");
    form->cmdFind->click();
    form->optTopics->setChecked(true);
    form->cmdCancel->click();
    EXPECT_FALSE(form->isVisible());
    form->show();
    EXPECT_EQ(form->GetFindText(), "kept");
    EXPECT_EQ(form->Scope(), qm::kScopeTopics);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(History(), QStringList{"kept"});
}

TEST_P(SearchFormTest, HelpShowsItsTopic) {
    form->cmdHelp->click();
    EXPECT_EQ(ui.helpContexts, std::vector<int>{GetParam() == Form::Find ? 80 : 85});
}

INSTANTIATE_TEST_SUITE_P(Forms, SearchFormTest, ::testing::Values(Form::Find, Form::Replace),
                         [](const ::testing::TestParamInfo<Form>& info) {
                             return info.param == Form::Find ? "Find" : "Replace";
                         });

}  // namespace

namespace {

// Pictures of both forms as a user first meets them, with a typed text. The
// script tools/screenshot-find.sh runs this under Xvfb and keeps the PNGs
// (QM_SCREENSHOT_DIR names the folder); otherwise they go to a scratch folder.
TEST(SearchFormScreenshot, FindAndReplace) {
    qmtest::EnsureQtApp();
    qmtest::ScriptedUiServices ui;
    QString folder = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    QTemporaryDir scratch;
    if (folder.isEmpty()) folder = scratch.path();
    qm::TfrmFind find(ui, nullptr);
    qm::TfrmReplace replace(ui, nullptr);
    replace.SetReplaceText("Index");
    for (qm::TSearchForm* form : {static_cast<qm::TSearchForm*>(&find), static_cast<qm::TSearchForm*>(&replace)}) {
        form->SetFindText("earlier search");
        form->SetFindText("Contents");
        form->show();
        QApplication::processEvents();
        const QImage shot = form->grab().toImage();
        ASSERT_FALSE(shot.isNull());
        // Every control fits: the form is as large as its layout asks.
        EXPECT_GE(form->width(), form->sizeHint().width());
        EXPECT_GE(form->height(), form->sizeHint().height());
        const QString file = folder + "/" + (form == &find ? "find.png" : "replace.png");
        EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
        form->hide();
    }
    // A module scope: the direction waits, disabled and silver.
    replace.SetScope(qm::kScopeProject);
    replace.show();
    QApplication::processEvents();
    EXPECT_TRUE(replace.grab().toImage().save(folder + "/replace-project.png", "PNG"));
    replace.hide();
}

}  // namespace
