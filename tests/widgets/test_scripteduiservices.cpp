// The scripted UI services themselves: a box nobody scripted, or one that
// comes out of order, fails the test that caused it.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>

#include "support/qtapp.h"
#include "support/scripteduiservices.h"

using namespace qm;
using qmtest::ScriptedUiServices;

TEST(ScriptedUi, AnswersInOrder) {
    qmtest::EnsureQtApp();
    ScriptedUiServices ui;
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("Save changes"), MsgResult::Cancel);
    ui.ExpectSaveFile(QStringLiteral("/tmp/a.qpf"));
    ui.ExpectInput(std::nullopt);
    EXPECT_EQ(ui.Confirm(QStringLiteral("Save changes to x?"), MsgButtons::YesNoCancel), MsgResult::Cancel);
    EXPECT_EQ(ui.SaveFileName({}), QStringLiteral("/tmp/a.qpf"));
    EXPECT_EQ(ui.InputText(QStringLiteral("Rename"), QStringLiteral("Name:"), QString()), std::nullopt);
    EXPECT_EQ(ui.Pending(), 0u);
    EXPECT_TRUE(ui.Shown(MsgKind::Confirmation, QStringLiteral("to x")));
}

TEST(ScriptedUi, AnUnscriptedBoxFailsAndIsCancelled) {
    qmtest::EnsureQtApp();
    ScriptedUiServices ui;
    MsgResult answer = MsgResult::Yes;
    EXPECT_NONFATAL_FAILURE(answer = ui.Confirm(QStringLiteral("Delete all?"), MsgButtons::YesNoCancel),
                            "Unscripted message box: \"Delete all?\"");
    EXPECT_EQ(answer, MsgResult::Cancel);
    QDialog d;
    d.setObjectName(QStringLiteral("dlgTopicProperties"));
    int result = QDialog::Accepted;
    EXPECT_NONFATAL_FAILURE(result = ui.RunDialog(d), "dlgTopicProperties");
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST(ScriptedUi, AWrongKindOrOrderFails) {
    qmtest::EnsureQtApp();
    {
        ScriptedUiServices ui;
        ui.ExpectMessage(MsgKind::Warning, QStringLiteral("not found"));
        EXPECT_NONFATAL_FAILURE(ui.Information(QStringLiteral("not found")), "warning box");
    }
    {
        ScriptedUiServices ui;
        ui.ExpectOpenFile(QStringLiteral("/x.qpf"));
        EXPECT_NONFATAL_FAILURE(ui.ErrorBox(QStringLiteral("Oops")), "open-file dialog");
        EXPECT_EQ(ui.Pending(), 1u);
        EXPECT_NONFATAL_FAILURE(ui.ExpectAllAnswered(), "never used");
    }
    {
        ScriptedUiServices ui;
        ui.ExpectMessage(MsgKind::Error, QStringLiteral("Could not compile"));
        EXPECT_NONFATAL_FAILURE(ui.ErrorBox(QStringLiteral("Ready.")), "does not contain");
    }
}
