// The program's UI services: the button a user presses is the answer the
// command gets, and a dialog run through them returns its result.
#include "platform/qtuiservices.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "support/qtapp.h"

using namespace qm;

namespace {

// Presses `button` of the message box once it is up.
void PressLater(QMessageBox::StandardButton button, QMessageBox::Icon* icon, QString* text) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box is up";
            return;
        }
        *icon = box->icon();
        *text = box->text();
        if (QAbstractButton* b = box->button(button))
            b->click();
        else {
            ADD_FAILURE() << "the box has no such button";
            box->reject();
        }
    });
}

}  // namespace

TEST(QtUiServicesTest, MessageBoxesAnswerWithThePressedButton) {
    qmtest::EnsureQtApp();
    QtUiServices ui;
    struct Case {
        MsgKind kind;
        MsgButtons buttons;
        QMessageBox::StandardButton press;
        QMessageBox::Icon icon;
        MsgResult answer;
    } cases[] = {
        {MsgKind::Information, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Information, MsgResult::Ok},
        {MsgKind::Warning, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Warning, MsgResult::Ok},
        {MsgKind::Error, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Critical, MsgResult::Ok},
        {MsgKind::Confirmation, MsgButtons::YesNo, QMessageBox::Yes, QMessageBox::Question, MsgResult::Yes},
        {MsgKind::Confirmation, MsgButtons::YesNo, QMessageBox::No, QMessageBox::Question, MsgResult::No},
        {MsgKind::Confirmation, MsgButtons::YesNoCancel, QMessageBox::Cancel, QMessageBox::Question, MsgResult::Cancel},
        {MsgKind::Confirmation, MsgButtons::YesNoCancel, QMessageBox::No, QMessageBox::Question, MsgResult::No},
    };
    for (const Case& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
        PressLater(c.press, &icon, &text);
        EXPECT_EQ(ui.Message(c.kind, QStringLiteral("Save changes to x?"), c.buttons), c.answer);
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(text, QStringLiteral("Save changes to x?"));
    }
}

TEST(QtUiServicesTest, RunDialogReturnsTheDialogsResult) {
    qmtest::EnsureQtApp();
    QtUiServices ui;
    QDialog accepted;
    QTimer::singleShot(0, &accepted, &QDialog::accept);
    EXPECT_EQ(ui.RunDialog(accepted), QDialog::Accepted);
    QDialog rejected;
    QTimer::singleShot(0, &rejected, &QDialog::reject);
    EXPECT_EQ(ui.RunDialog(rejected), QDialog::Rejected);
    EXPECT_TRUE(ui.HelpFile().endsWith(QStringLiteral("/Quillmark.hlp")));
}

TEST(QtUiServicesTest, HelpWithoutTheHelpFileSaysItIsNotInstalled) {
    qmtest::EnsureQtApp();
    QtUiServices ui;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ui.SetHelpFile(dir.filePath(QStringLiteral("Quillmark.hlp")));
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    PressLater(QMessageBox::Ok, &icon, &text);
    ui.ShowHelp(245);
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(text, MissingHelpFileText(ui.HelpFile()));
    EXPECT_TRUE(text.contains(QStringLiteral("Quillmark.hlp"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("wine"))) << text.toStdString();
}

TEST(QtUiServicesTest, EveryBoxAndDialogRunsTheHookFirst) {
    qmtest::EnsureQtApp();
    QtUiServices ui;
    int calls = 0;
    ui.SetBeforeModal([&] { ++calls; });
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    PressLater(QMessageBox::Ok, &icon, &text);
    ui.Information(QStringLiteral("x"));
    EXPECT_EQ(calls, 1);
    QDialog dialog;
    QTimer::singleShot(0, &dialog, &QDialog::reject);
    ui.RunDialog(dialog);
    EXPECT_EQ(calls, 2);
    ui.SetBeforeModal(nullptr);
    PressLater(QMessageBox::Ok, &icon, &text);
    ui.Information(QStringLiteral("y"));
    EXPECT_EQ(calls, 2);
}
