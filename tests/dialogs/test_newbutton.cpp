// The button form: its tag, the OK rule, and the macro builder behind its
// browse button.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "dialogs/macroedit.h"
#include "dialogs/newbutton.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewButton;

class ButtonTest : public TagFormTest {};

TEST_F(ButtonTest, GetTagAndTheOkRule) {
    struct Row {
        const char* name;
        QString caption, macro;
        bool ok;
        std::string tag;
    } rows[] = {
        {"caption and macro", "Go", "About()", true, "<BTN About()>Go</BTN>"},
        {"no caption needed", "", "About()", true, "<BTN About()></BTN>"},
        {"the macro as typed", "Go", " JumpId(a, b);About() ", true, "<BTN  JumpId(a, b);About() >Go</BTN>"},
        {"no macro", "Go", "", false, "<BTN >Go</BTN>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewButton d(factory, macros);
        d.Activate();
        d.txtCaption->setText(row.caption);
        d.txtMacro->setText(row.macro);
        EXPECT_EQ(d.cmdOk->isEnabled(), row.ok);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(ButtonTest, AnEditedButtonComesBackUnchanged) {
    TfrmNewButton d(factory, macros);
    d.Preset({.Macro = "JumpId(a,b)", .Caption = "Jump"});
    EXPECT_EQ(d.GetTag(), "<BTN JumpId(a,b)>Jump</BTN>");
}

TEST_F(ButtonTest, TheMacroIsBuiltInANestedBuilder) {
    ui.ExpectDialog("frmNewButton", [&](QDialog& dialog) {
        auto& d = static_cast<TfrmNewButton&>(dialog);
        EXPECT_EQ(d.txtCaption->text(), "Press");
        EXPECT_FALSE(d.cmdOk->isEnabled());
        ClickOk(d);  // refused: no macro, nothing stored
        EXPECT_FALSE(d.Accepted());
        d.txtMacro->setText(" About() ");
        ui.ExpectDialog("frmMacroEdit", [&](QDialog& builder) {
            auto& b = static_cast<qm::TfrmMacroEdit&>(builder);
            EXPECT_EQ(b.parentWidget(), &d);
            EXPECT_EQ(b.lstExpression->count(), 1);
            EXPECT_EQ(b.lstExpression->item(0)->text(), "About()");
            b.cmdAdd->click();
            return ClickOk(b);
        });
        d.cmdBrowseMacro->click();
        EXPECT_EQ(d.txtMacro->text(), "About();About()");
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::Button, {.Caption = "Press"});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<BTN About();About()>Press</BTN>");
}

}  // namespace
}  // namespace qmtest
