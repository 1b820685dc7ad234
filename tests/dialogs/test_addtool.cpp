// Tool Properties: OK exactly while both edits hold text (untrimmed), the
// preset, the result as typed, and Browse with its filters.
#include <QLineEdit>

#include "dialogs/addtool.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

class AddToolTest : public TagFormTest {};

using qm::TfrmAddTool;
using qm::TTool;

TEST_F(AddToolTest, AddToolOkNeedsBothTextsAsTyped) {
    struct Row {
        const char* name;
        QString path;
        QString display;
        bool ok;
    } rows[] = {
        {"both empty", "", "", false},
        {"path only", "/usr/bin/gimp", "", false},
        {"name only", "", "Gimp", false},
        {"both", "/usr/bin/gimp", "Gimp", true},
        {"blanks count as text", " ", "  ", true},
    };
    TfrmAddTool d(ui);
    d.SetTool({});
    d.show();
    EXPECT_EQ(d.objectName(), "frmAddTool");
    EXPECT_EQ(d.windowTitle(), "Tool Properties");
    EXPECT_EQ(d.cmdHelp, nullptr);
    EXPECT_EQ(d.focusWidget(), d.txtPath);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        d.txtPath->setText(r.path);
        d.txtDisplayName->setText(r.display);
        EXPECT_EQ(d.cmdOk->isEnabled(), r.ok);
    }
}

TEST_F(AddToolTest, AddToolHandsBackBothTextsUntrimmed) {
    ui.ExpectDialog("frmAddTool", [](QDialog& dialog) {
        auto& d = static_cast<TfrmAddTool&>(dialog);
        EXPECT_EQ(d.txtPath->text(), "/opt/edit");
        EXPECT_EQ(d.txtDisplayName->text(), "Edit");
        d.txtDisplayName->setText(QString::fromUtf8(" Edit \u00e9 "));
        return ClickOk(d);
    });
    EXPECT_EQ(factory.RunAddTool({"/opt/edit", "Edit"}), (TTool{"/opt/edit", " Edit \xe9 "}));
    ui.ExpectDialog("frmAddTool", [](QDialog& d) {
        d.reject();
        return d.result();
    });
    EXPECT_EQ(factory.RunAddTool({}), std::nullopt);
}

TEST_F(AddToolTest, AddToolBrowseProposesThePathAndTakesTheChoice) {
    TfrmAddTool d(ui);
    d.SetTool({"/usr/bin/old", "Old"});
    ui.ExpectOpenFile(QStringLiteral("/usr/local/bin/new"));
    d.cmdBrowseTool->click();
    EXPECT_EQ(d.txtPath->text(), "/usr/local/bin/new");
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const qm::FileDialogRequest& request = ui.fileRequests.front();
    EXPECT_EQ(request.fileName, "/usr/bin/old");
#ifdef _WIN32
    EXPECT_EQ(request.filter, "Executable files (*.exe);;All files (*.*)");
    EXPECT_EQ(request.defaultSuffix, "exe");
#else
    EXPECT_EQ(request.filter, "Executable files (*);;All files (*)");
    EXPECT_TRUE(request.defaultSuffix.isEmpty());
#endif
    // A cancelled browse keeps the path.
    ui.ExpectOpenFile(std::nullopt);
    d.cmdBrowseTool->click();
    EXPECT_EQ(d.txtPath->text(), "/usr/local/bin/new");
}

TEST_F(AddToolTest, AddToolRefusesAPathTheCodePageCannotHold) {
    TfrmAddTool d(ui);
    d.SetTool({});
    d.txtPath->setText(QString::fromUtf8("/opt/\u5de5\u5177/run"));
    d.txtDisplayName->setText("Run");
    ui.ExpectMessage(qm::MsgKind::Information, "in \"Path\" cannot be stored");
    d.cmdOk->click();
    EXPECT_FALSE(d.Accepted());
}

TEST_F(AddToolTest, ScreenshotOfTheToolProperties) {
    TfrmAddTool d(ui);
    d.SetTool({"/usr/bin/gimp", "Gimp"});
    Screenshot(d, QStringLiteral("addtool.png"));
}

}  // namespace
}  // namespace qmtest
