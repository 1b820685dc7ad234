// The popup-link form: its tag, an unchanged edit, the popup box, and the run
// through the factory.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "dialogs/newpopuplink.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewPopupLink;
using qm::TTagPreset;

class PopupLinkTest : public TagFormTest {};

TEST_F(PopupLinkTest, GetTagBuildsTheLinkFromTheControls) {
    struct Row {
        const char* name;
        QString popup, file, hotspot, bmp;
        int align = 0;
        bool image = false;
        bool user = false;
        std::string tag;
    } rows[] = {
        {"text hotspot", "Note", "", "a note", "", 0, false, false, "<LINK POPUP=\"Note\">a note</LINK>"},
        {"file", "Note", "x.hlp", "n", "", 0, false, false, "<LINK POPUP=\"Note\" FILE=x.hlp>n</LINK>"},
        {"user defined", "Note", "", "n", "", 0, false, true, "<ULINK POPUP=\"Note\">n</ULINK>"},
        {"image hotspot, Left", "Note", "", "", "pics\\i.bmp", 1, true, true,
         "<LINK POPUP=\"Note\"><IMAGEL \"i.bmp\"></LINK>"},
        {"image hotspot, Character", "Note", "", "", "i.shg", 0, true, false,
         "<LINK POPUP=\"Note\"><IMAGEC \"i.shg\"></LINK>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewPopupLink d(ui, project);
        d.cboPopups->setEditText(row.popup);
        d.txtFile->setText(row.file);
        d.txtHotSpot->setText(row.hotspot);
        d.txtBmp->setText(row.bmp);
        d.cboAlign->setCurrentIndex(row.align);
        d.chkUserDefined->setChecked(row.user);
        (row.image ? d.optImgHotSpot : d.optTxtHotSpot)->setChecked(true);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(PopupLinkTest, AnUnchangedEditGivesTheSameTag) {
    struct Row {
        const char* name;
        TTagPreset preset;
        std::string tag;
    } rows[] = {
        {"popup of the project", {.Hotspot = "n", .Popup = "Note"}, "<LINK POPUP=\"Note\">n</LINK>"},
        {"popup of another file",
         {.Hotspot = "n", .File = "far help.hlp", .Popup = "elsewhere"},
         "<LINK POPUP=\"elsewhere\" FILE=far help.hlp>n</LINK>"},
        {"user defined", {.Hotspot = "n", .UserDefined = true, .Popup = "Note"}, "<ULINK POPUP=\"Note\">n</ULINK>"},
        {"plain image",
         {.Hotspot = "<IMAGE \"b.bmp\">", .Popup = "Note"},
         "<LINK POPUP=\"Note\"><IMAGE \"b.bmp\"></LINK>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewPopupLink d(ui, project);
        d.Preset(row.preset);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(PopupLinkTest, TheFactoryRunsTheFormWithThePopupsListed) {
    ui.ExpectDialog("frmNewPopupLink", [](QDialog& dialog) {
        auto& d = static_cast<TfrmNewPopupLink&>(dialog);
        EXPECT_EQ(d.windowTitle(), "Popup Link Tag Editor");
        EXPECT_EQ(d.cboPopups->count(), 1);
        EXPECT_EQ(d.cboPopups->currentText(), "Note");
        EXPECT_TRUE(d.cboPopups->isEditable());
        EXPECT_EQ(d.cboPopups->insertPolicy(), QComboBox::NoInsert);
        EXPECT_EQ(d.txtHotSpot->text(), "");
        EXPECT_FALSE(d.cmdOk->isEnabled());
        ClickOk(d);
        EXPECT_FALSE(d.Accepted());
        d.txtHotSpot->setText("a note");
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::PopupLink, {.Hotspot = ""});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<LINK POPUP=\"Note\">a note</LINK>");
}

}  // namespace
}  // namespace qmtest
