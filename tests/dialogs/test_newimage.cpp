// The image form: the tag by placement (Left is IMAGEL; an edited image left
// in place keeps its name), the file without its folder, the image the
// result reports, and the run through the factory.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/newimage.h"
#include "platform/qtcp1252.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewImage;

class ImageTest : public TagFormTest {};

TEST_F(ImageTest, GetTagByPlacementAndFolder) {
    struct Row {
        const char* name;
        std::string original;  // the edited tag's name; empty: a new image
        QString file;
        int align;  // -1: as preset
        std::string tag;
    } rows[] = {
        {"new, on Character", "", "a.bmp", -1, "<IMAGEC \"a.bmp\">"},
        {"new, Left", "", "a.bmp", 1, "<IMAGEL \"a.bmp\">"},
        {"new, Right", "", "a.bmp", 2, "<IMAGER \"a.bmp\">"},
        {"Windows folder", "", "C:\\pics\\a.bmp", -1, "<IMAGEC \"a.bmp\">"},
        {"slash folder", "", "/work/pics/a b.shg", -1, "<IMAGEC \"a b.shg\">"},
        {"plain IMAGE unchanged", "IMAGE", "a.bmp", -1, "<IMAGE \"a.bmp\">"},
        {"plain IMAGE to Left", "IMAGE", "a.bmp", 1, "<IMAGEL \"a.bmp\">"},
        {"IMAGEL unchanged", "IMAGEL", "a.bmp", -1, "<IMAGEL \"a.bmp\">"},
        {"IMAGER unchanged", "IMAGER", "a.bmp", -1, "<IMAGER \"a.bmp\">"},
        {"IMAGER to Character", "IMAGER", "a.bmp", 0, "<IMAGEC \"a.bmp\">"},
        {"IMAGEC unchanged", "IMAGEC", "a.bmp", -1, "<IMAGEC \"a.bmp\">"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewImage d(ui, project);
        d.Preset({.ImageTagName = row.original});
        d.txtImage->setText(row.file);
        if (row.align >= 0) d.cboAlign->setCurrentIndex(row.align);
        EXPECT_EQ(d.GetTag(), row.tag);
        EXPECT_EQ(d.ImageFile(), qm::ToCp1252(row.file));
    }
}

TEST_F(ImageTest, AnEditedImagePresetsItsPlacement) {
    struct Row {
        const char* name;
        std::string tagName;
        QString align;
    } rows[] = {
        {"new", "", "Character"},          {"plain IMAGE stays in line", "IMAGE", "Character"},
        {"IMAGEC", "IMAGEC", "Character"}, {"IMAGEL", "IMAGEL", "Left"},
        {"IMAGER", "IMAGER", "Right"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewImage d(ui, project);
        d.Preset({.Image = "a.bmp", .ImageTagName = row.tagName});
        EXPECT_EQ(d.cboAlign->currentText(), row.align);
        EXPECT_EQ(d.txtImage->text(), "a.bmp");
    }
}

TEST_F(ImageTest, TheFactoryGivesTheTagAndTheChosenImage) {
    struct Row {
        const char* name;
        QString file;
        std::string tag, folder;
    } rows[] = {
        {"a bare name reports no folder", "a.bmp", "<IMAGEC \"a.bmp\">", ""},
        {"a chosen file reports its folder", "/work/pics/a.bmp", "<IMAGEC \"a.bmp\">", "/work/pics"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.ExpectDialog("frmNewImage", [&](QDialog& dialog) {
            auto& d = static_cast<TfrmNewImage&>(dialog);
            EXPECT_FALSE(d.cmdOk->isEnabled());
            d.txtImage->setText("   ");
            ClickOk(d);  // refused: blanks are no file
            EXPECT_FALSE(d.Accepted());
            ui.ExpectOpenFile(row.file);
            d.cmdBrowse->click();
            return ClickOk(d);
        });
        const auto result = RunTag(qm::TTagKind::Image);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->Tag, row.tag);
        EXPECT_EQ(result->ImageFile, qm::ToCp1252(row.file));
        EXPECT_EQ(result->ImageFolder(), row.folder);
        EXPECT_EQ(ui.records.back().text, "Insert Image");
    }
    EXPECT_TRUE(project.BmRoot.empty());  // the form never changes the project
}

}  // namespace
}  // namespace qmtest
