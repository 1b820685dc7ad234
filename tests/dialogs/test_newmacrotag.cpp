// The macro-hotspot form: its tag, its OK rule over macro and hotspot, an
// unchanged edit, and the macro builder behind its browse button.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/macroedit.h"
#include "dialogs/newmacrotag.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewMacroTag;
using qm::TTagPreset;

class MacroTagTest : public TagFormTest {};

TEST_F(MacroTagTest, GetTagAndTheOkRule) {
    struct Row {
        const char* name;
        QString macro, hotspot, bmp;
        bool image = false;
        bool user = false;
        bool ok;
        std::string tag;
    } rows[] = {
        {"text hotspot", "About()", "about", "", false, false, true, "<MACRO About()>about</MACRO>"},
        {"user defined", "About()", "about", "", false, true, true, "<UMACRO About()>about</UMACRO>"},
        {"image hotspot", "About()", "", "C:\\x\\a.bmp", true, true, true, "<MACRO About()><IMAGEC \"a.bmp\"></MACRO>"},
        {"no macro", "", "about", "", false, false, false, "<MACRO >about</MACRO>"},
        {"no hotspot", "About()", "", "", false, false, false, "<MACRO About()></MACRO>"},
        {"no image", "About()", "text", "", true, false, false, "<MACRO About()><IMAGEC \"\"></MACRO>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewMacroTag d(factory, macros, project);
        d.Activate();
        d.txtMacro->setText(row.macro);
        d.txtHotSpot->setText(row.hotspot);
        d.txtBmp->setText(row.bmp);
        d.chkUserDefined->setChecked(row.user);
        (row.image ? d.optImgHotSpot : d.optTxtHotSpot)->setChecked(true);
        EXPECT_EQ(d.cmdOk->isEnabled(), row.ok);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(MacroTagTest, AnUnchangedEditGivesTheSameTag) {
    struct Row {
        const char* name;
        TTagPreset preset;
        std::string tag;
    } rows[] = {
        {"MACRO", {.Hotspot = "run it", .Macro = "About()"}, "<MACRO About()>run it</MACRO>"},
        {"UMACRO", {.Hotspot = "run it", .UserDefined = true, .Macro = "About()"}, "<UMACRO About()>run it</UMACRO>"},
        {"image hotspot",
         {.Hotspot = "<IMAGE \"a.bmp\">", .Macro = "About()"},
         "<MACRO About()><IMAGE \"a.bmp\"></MACRO>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewMacroTag d(factory, macros, project);
        d.Preset(row.preset);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(MacroTagTest, TheFactoryRunsTheFormWithANestedBuilder) {
    ui.ExpectDialog("frmNewMacroTag", [&](QDialog& dialog) {
        auto& d = static_cast<TfrmNewMacroTag&>(dialog);
        EXPECT_EQ(d.txtHotSpot->text(), "click here");
        EXPECT_EQ(d.cboAlign->currentText(), "Character");
        EXPECT_FALSE(d.cmdOk->isEnabled());
        ClickOk(d);
        EXPECT_FALSE(d.Accepted());
        ui.ExpectDialog("frmMacroEdit", [](QDialog& builder) {
            auto& b = static_cast<qm::TfrmMacroEdit&>(builder);
            EXPECT_EQ(b.lstExpression->count(), 0);  // an empty macro presets nothing
            b.cmdAdd->click();                       // About()
            return ClickOk(b);
        });
        d.cmdBrowseMacro->click();
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::MacroHotspot, {.Hotspot = "click here"});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<MACRO About()>click here</MACRO>");
    EXPECT_EQ(result->ImageFile, "");
}

}  // namespace
}  // namespace qmtest
