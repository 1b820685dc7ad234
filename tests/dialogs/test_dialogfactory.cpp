// The factory runs a dialog through the UI services with its enabling rules
// applied first, and reports whether it was accepted.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialogfactory.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "widgets/qmdialog.h"

namespace qm {
namespace {

class TfrmSwitch : public QmDialog {
public:
    explicit TfrmSwitch(UiServices& ui) : QmDialog(ui, QStringLiteral("frmSwitch")) {
        auto* layout = new QVBoxLayout(this);
        chkOn = new QCheckBox(QStringLiteral("On"), this);
        chkOn->setObjectName(QStringLiteral("chkOn"));
        layout->addWidget(chkOn);
        layout->addWidget(MakeStandardButtons(false));
        Watch(chkOn);
    }
    QCheckBox* chkOn;
    bool result = false;

protected:
    void store() override { result = chkOn->isChecked(); }
    void updateEnabling() override { cmdOk->setEnabled(chkOn->isChecked()); }
};

TEST(DialogFactory, RunsTheDialogThroughTheScriptAfterItsEnablingRules) {
    qmtest::EnsureQtApp();
    qmtest::ScriptedUiServices ui;
    TDialogFactory factory(ui);
    bool okEnabledWhenRun = true;
    ui.ExpectDialog(QStringLiteral("frmSwitch"), [&](QDialog& d) {
        auto& s = static_cast<TfrmSwitch&>(d);
        okEnabledWhenRun = s.findChild<QPushButton*>(QStringLiteral("cmdOk"))->isEnabled();
        s.chkOn->setChecked(true);
        s.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        return d.result();
    });
    ui.ExpectDialog(QStringLiteral("frmSwitch"), [](QDialog& d) {
        d.reject();
        return d.result();
    });
    TfrmSwitch first(ui);
    EXPECT_TRUE(factory.Run(first));
    EXPECT_FALSE(okEnabledWhenRun);  // the rules ran before the dialog was answered
    EXPECT_TRUE(first.result);
    TfrmSwitch second(ui);
    EXPECT_FALSE(factory.Run(second));
    EXPECT_FALSE(second.result);
    ui.ExpectAllAnswered();
}

}  // namespace
}  // namespace qm
