// The spelling dialog, clicked through offscreen: each button's action code,
// the suggestions, the frame's close and Escape as Cancel, help, and the
// wait's time limit. Answers are zero-timer clicks given when the dialog
// reports that it waits.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "editor/spellcheckdlg.h"
#include "platform/qtcp1252.h"
#include "spell/spellengine.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"

namespace qmtest {
namespace {

using qm::TSpellAction;

class SpellCheckDlg : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApp();
        dlg = std::make_unique<qm::TQorSpellCheckDlg>(ui, nullptr);
        dlg->SetWaitLimit(600000);
    }
    void TearDown() override { ui.ExpectAllAnswered(); }

    // Asks about `word` and answers by running `act` on the waiting dialog.
    qm::TSpellAnswer AskAndDo(const std::function<void(qm::TQorSpellCheckDlg&)>& act,
                              qm::StringList suggestions = {"the", "then"}, bool add = true) {
        suggestions_ = std::move(suggestions);
        qm::TSpellQuestion q;
        q.Word = "teh";
        q.Suggestions = &suggestions_;
        q.AddEnabled = add;
        const QMetaObject::Connection c =
            QObject::connect(dlg.get(), &qm::TQorSpellCheckDlg::waitStarted, dlg.get(),
                             [&] { QTimer::singleShot(0, dlg.get(), [&] { act(*dlg); }); });
        const qm::TSpellAnswer a = dlg->Ask(q);
        QObject::disconnect(c);
        return a;
    }

    ScriptedUiServices ui;
    std::unique_ptr<qm::TQorSpellCheckDlg> dlg;
    qm::StringList suggestions_;
};

TEST_F(SpellCheckDlg, HasTheFormsControlsAndIsAModelessToolWindow) {
    EXPECT_EQ(dlg->objectName(), QStringLiteral("QorSpellCheckDlg"));
    EXPECT_FALSE(dlg->isModal());
    EXPECT_TRUE(dlg->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(dlg->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(dlg->txtMisspelled->isReadOnly());
    struct Row {
        const char* name;
        const char* caption;
    } buttons[] = {
        {"cmdIgnore", "&Ignore"}, {"cmdIgnoreAll", "Ignore &All"}, {"cmdAdd", "A&dd"},  {"cmdChangeAll", "Chan&ge All"},
        {"cmdChange", "Cha&nge"}, {"cmdCancel", "Cancel"},         {"cmdHelp", "&Help"}};
    for (const Row& r : buttons) {
        SCOPED_TRACE(r.name);
        auto* b = dlg->findChild<QPushButton*>(QString::fromLatin1(r.name));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromLatin1(r.caption));
    }
    EXPECT_TRUE(dlg->cmdIgnore->isDefault());
    QStringList labels;
    for (QLabel* l : dlg->findChildren<QLabel*>()) labels << l->text();
    labels.sort();
    EXPECT_EQ(labels, (QStringList{"&Change to :", "&Misspelled :", "&Suggestions"}));
    for (const char* name : {"txtMisspelled", "txtSuggestions", "lstSuggestions"})
        EXPECT_NE(dlg->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(SpellCheckDlg, EachButtonGivesItsActionCode) {
    struct Row {
        const char* name;
        std::function<void(qm::TQorSpellCheckDlg&)> act;
        TSpellAction action;
        bool focusOnIgnore;
    } rows[] = {
        {"Ignore", [](qm::TQorSpellCheckDlg& d) { d.cmdIgnore->click(); }, TSpellAction::Ignore, false},
        {"Ignore All", [](qm::TQorSpellCheckDlg& d) { d.cmdIgnoreAll->click(); }, TSpellAction::IgnoreAll, true},
        {"Change", [](qm::TQorSpellCheckDlg& d) { d.cmdChange->click(); }, TSpellAction::Change, true},
        {"Change All", [](qm::TQorSpellCheckDlg& d) { d.cmdChangeAll->click(); }, TSpellAction::ChangeAll, true},
        {"Add", [](qm::TQorSpellCheckDlg& d) { d.cmdAdd->click(); }, TSpellAction::Add, true},
        {"Cancel", [](qm::TQorSpellCheckDlg& d) { d.cmdCancel->click(); }, TSpellAction::Cancel, false},
        {"the frame's close", [](qm::TQorSpellCheckDlg& d) { d.close(); }, TSpellAction::Cancel, false},
        {"Escape",
         [](qm::TQorSpellCheckDlg& d) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&d, &esc);
         },
         TSpellAction::Cancel, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const qm::TSpellAnswer a = AskAndDo(r.act);
        EXPECT_EQ(a.Action, r.action);
        EXPECT_EQ(dlg->SpellAction(), static_cast<int>(r.action));
        EXPECT_EQ(a.ChangeTo, "the");
        if (r.action == TSpellAction::Cancel) {
            EXPECT_TRUE(dlg->isHidden());
        } else {
            EXPECT_TRUE(dlg->isVisible());
            if (r.focusOnIgnore) {
                EXPECT_EQ(dlg->focusWidget(), dlg->cmdIgnore);
            }
        }
    }
}

TEST_F(SpellCheckDlg, ShowsTheWordAndTheFirstSuggestion) {
    AskAndDo([](qm::TQorSpellCheckDlg& d) {
        EXPECT_EQ(d.txtMisspelled->text(), QStringLiteral("teh"));
        ASSERT_EQ(d.lstSuggestions->count(), 2);
        EXPECT_EQ(d.lstSuggestions->currentRow(), 0);
        EXPECT_EQ(d.txtSuggestions->text(), QStringLiteral("the"));
        EXPECT_TRUE(d.cmdAdd->isEnabled());
        d.cmdIgnore->click();
    });
    AskAndDo(
        [](qm::TQorSpellCheckDlg& d) {
            EXPECT_EQ(d.lstSuggestions->count(), 0);
            EXPECT_TRUE(d.txtSuggestions->text().isEmpty());
            EXPECT_FALSE(d.cmdAdd->isEnabled());
            d.cmdIgnore->click();
        },
        {}, false);
}

TEST_F(SpellCheckDlg, ASuggestionClickedIsCopiedAndADoubleClickChanges) {
    qm::TSpellAnswer a = AskAndDo([](qm::TQorSpellCheckDlg& d) {
        QListWidgetItem* second = d.lstSuggestions->item(1);
        d.lstSuggestions->setCurrentItem(second);
        emit d.lstSuggestions->itemClicked(second);
        EXPECT_EQ(d.txtSuggestions->text(), QStringLiteral("then"));
        d.cmdChange->click();
    });
    EXPECT_EQ(a.Action, TSpellAction::Change);
    EXPECT_EQ(a.ChangeTo, "then");

    a = AskAndDo([](qm::TQorSpellCheckDlg& d) { emit d.lstSuggestions->itemDoubleClicked(d.lstSuggestions->item(1)); });
    EXPECT_EQ(a.Action, TSpellAction::Change);
    EXPECT_EQ(a.ChangeTo, "then");
    EXPECT_EQ(dlg->LastPressed(), dlg->lstSuggestions);
}

TEST_F(SpellCheckDlg, TheChangeToTextIsTheAnswer) {
    const qm::TSpellAnswer a = AskAndDo([](qm::TQorSpellCheckDlg& d) {
        d.txtSuggestions->setText(QString::fromUtf8("th\xC3\xA9"));
        d.cmdChangeAll->click();
    });
    EXPECT_EQ(a.Action, TSpellAction::ChangeAll);
    EXPECT_EQ(a.ChangeTo, "th\xE9");
    EXPECT_EQ(dlg->LastPressed(), dlg->cmdChangeAll);
}

TEST_F(SpellCheckDlg, HelpOpensItsContextAndKeepsWaiting) {
    const qm::TSpellAnswer a = AskAndDo([](qm::TQorSpellCheckDlg& d) {
        d.cmdHelp->click();
        EXPECT_TRUE(d.Waiting());
        d.cmdIgnore->click();
    });
    EXPECT_EQ(a.Action, TSpellAction::Ignore);
    EXPECT_EQ(ui.helpContexts, (std::vector<int>{465}));
}

TEST_F(SpellCheckDlg, TheTimeLimitAnswersCancel) {
    dlg->SetWaitLimit(50);
    const qm::TSpellAnswer a = AskAndDo([](qm::TQorSpellCheckDlg&) {});
    EXPECT_EQ(a.Action, TSpellAction::Cancel);
    EXPECT_FALSE(dlg->Waiting());
}

TEST_F(SpellCheckDlg, ShowingAgainForgetsTheLastPressedButton) {
    AskAndDo([](qm::TQorSpellCheckDlg& d) { d.cmdAdd->click(); });
    EXPECT_EQ(dlg->LastPressed(), dlg->cmdAdd);
    AskAndDo([](qm::TQorSpellCheckDlg& d) { d.cmdCancel->click(); });
    AskAndDo([](qm::TQorSpellCheckDlg& d) {
        EXPECT_EQ(d.LastPressed(), nullptr);
        d.cmdIgnore->click();
    });
}

TEST(SpellDialogUi, MakesTheDialogOnDemandAndFinishesWithTheMessage) {
    EnsureQtApp();
    ScriptedUiServices ui;
    QWidget owner;
    qm::TSpellDialogUi spell(ui, &owner);
    spell.WaitLimit = 600000;
    EXPECT_EQ(spell.Dialog(), nullptr);
    spell.SetCaption(qm::kSpellCaptionVerifying);
    int waits = 0;
    QObject::connect(&spell, &qm::TSpellDialogUi::waitStarted, &spell, [&](qm::TQorSpellCheckDlg* d) {
        ++waits;
        EXPECT_TRUE(spell.Waiting());
        EXPECT_EQ(d->parentWidget(), &owner);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Not In Dictionary"));
        QTimer::singleShot(0, d, [d] { d->cmdIgnore->click(); });
    });
    qm::StringList none;
    qm::TSpellQuestion q;
    q.Word = "wrld";
    q.Suggestions = &none;
    spell.SetCaption(qm::kSpellCaptionNotFound);
    EXPECT_EQ(spell.Ask(q).Action, TSpellAction::Ignore);
    EXPECT_EQ(waits, 1);
    EXPECT_FALSE(spell.Waiting());
    ASSERT_NE(spell.Dialog(), nullptr);

    ui.ExpectMessage(qm::MsgKind::Information, QStringLiteral("Spell check completed."));
    spell.Finish();
    EXPECT_EQ(spell.Dialog(), nullptr);
    EXPECT_EQ(owner.findChildren<qm::TQorSpellCheckDlg*>().size(), 0);
    ui.ExpectAllAnswered();
}

}  // namespace
}  // namespace qmtest
