// The import choice handed to the main window: what the dialog's answer
// becomes, run through scripted UI services.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "dialogs/importcommand.h"
#include "dialogs/importdialog.h"
#include "platform/qtcp1252.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"

namespace {

TEST(ChooseImportFile, TurnsTheDialogsAnswerIntoARequest) {
    qmtest::EnsureQtApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"help.rtf", "manual.hpj"}) {
        QFile f(QDir(dir.path()).absoluteFilePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    struct Case {
        int type;
        const char* file;
        bool tick;
        qm::TImportFilter filter;
        bool footnotes;
    };
    for (const Case& c : {Case{0, "help.rtf", true, qm::TImportFilter::Rtf, true},
                          Case{0, "help.rtf", false, qm::TImportFilter::Rtf, false},
                          Case{2, "manual.hpj", false, qm::TImportFilter::Hpj, false}}) {
        SCOPED_TRACE(c.file);
        qmtest::ScriptedUiServices ui;
        const QString path = QDir(dir.path()).absoluteFilePath(QString::fromLatin1(c.file));
        ui.ExpectDialog(QStringLiteral("dlgImport"), [&](QDialog& d) {
            auto& dlg = static_cast<qm::TImportDlg&>(d);
            EXPECT_EQ(dlg.FilterIndex(), 0);  // the RTF type comes first
            dlg.SetInitialDir(dir.path());
            dlg.open();
            dlg.SetFilterIndex(c.type);
            if (c.tick) dlg.FootnotesBox()->click();
            dlg.findChild<QPushButton*>(QStringLiteral("cmdHelp"))->click();
            dlg.selectFile(path);
            dlg.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
            return dlg.result();
        });
        const std::optional<qm::TImportRequest> req = qm::ChooseImportFile(ui);
        ui.ExpectAllAnswered();
        ASSERT_TRUE(req.has_value());
        EXPECT_EQ(req->FileName, qm::ToCp1252(path));
        EXPECT_EQ(req->Filter, c.filter);
        EXPECT_EQ(req->UseFootnotes, c.footnotes);
        EXPECT_EQ(ui.helpContexts, std::vector<int>{qm::kImportHelpContext});
    }
}

TEST(ChooseImportFile, CancelChoosesNothing) {
    qmtest::EnsureQtApp();
    qmtest::ScriptedUiServices ui;
    ui.ExpectDialog(QStringLiteral("dlgImport"), [](QDialog& d) {
        d.open();
        d.reject();
        return d.result();
    });
    EXPECT_FALSE(qm::ChooseImportFile(ui).has_value());
}

}  // namespace
