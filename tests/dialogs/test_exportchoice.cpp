// The export choice: OK exactly while a box is ticked, the preset, the
// choice handed back, help.
#include <QCheckBox>

#include "dialogs/exportchoice.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

class ExportChoiceTest : public TagFormTest {};

using qm::TExportChoice;
using qm::TfrmExport;

TEST_F(ExportChoiceTest, ExportOkIsOnExactlyWhileABoxIsTicked) {
    TfrmExport d(ui);
    d.SetChoice({});
    d.show();
    EXPECT_EQ(d.objectName(), "frmExport");
    EXPECT_EQ(d.windowTitle(), "Export Context IDs Constants");
    EXPECT_EQ(d.chkVb->text(), QString::fromUtf8("Microsoft\u00ae &Visual Basic\u2122 module file"));
    EXPECT_EQ(d.chkDelphi->text(), QString::fromUtf8("Borland\u00ae &Delphi\u2122 unit file"));
    EXPECT_FALSE(d.cmdOk->isEnabled());
    for (QCheckBox* box : {d.chkCpp, d.chkVb, d.chkDelphi}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->click();
        EXPECT_TRUE(d.cmdOk->isEnabled());
        box->click();
        EXPECT_FALSE(d.cmdOk->isEnabled());
    }
    d.chkVb->click();
    d.chkDelphi->click();
    d.chkVb->click();
    EXPECT_TRUE(d.cmdOk->isEnabled());
    d.cmdHelp->click();
    EXPECT_EQ(ui.helpContexts, std::vector<int>{75});
}

TEST_F(ExportChoiceTest, ExportChoiceIsPresetAndHandedBackOnlyOnOk) {
    struct Row {
        const char* name;
        TExportChoice preset;
        std::function<void(TfrmExport&)> change;
        bool ok;
        std::optional<TExportChoice> result;
    } rows[] = {
        {"preset kept", {true, false, true}, nullptr, true, TExportChoice{true, false, true}},
        {"changed",
         {true, true, true},
         [](TfrmExport& d) { d.chkCpp->click(); },
         true,
         TExportChoice{false, true, true}},
        {"cancelled", {false, true, false}, nullptr, false, std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ui.ExpectDialog("frmExport", [&](QDialog& dialog) {
            auto& d = static_cast<TfrmExport&>(dialog);
            EXPECT_EQ(d.Choice(), r.preset);
            if (r.change) r.change(d);
            if (!r.ok) {
                d.cmdCancel->click();
                return d.result();
            }
            return ClickOk(d);
        });
        EXPECT_EQ(factory.RunExportChoice(r.preset), r.result);
    }
}

TEST_F(ExportChoiceTest, ScreenshotOfTheExportChoice) {
    TfrmExport d(ui);
    d.SetChoice({true, false, false});
    Screenshot(d, QStringLiteral("exportchoice.png"));
}

}  // namespace
}  // namespace qmtest
