// Every insert-tag form through the factory: its form name, caption and help
// context, OK off at the start, and Cancel giving nothing.
#include <QPushButton>

#include "dialogs/tagform.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TTagKind;

class TagFormsTest : public TagFormTest {};

TEST_F(TagFormsTest, EachFormHasItsNameCaptionAndHelp) {
    struct Row {
        const char* name;
        TTagKind kind;
        QString form, caption;
        int help;
    } rows[] = {
        {"topic link", TTagKind::TopicLink, "frmNewTopicLink", "Topic Link Tag Editor", 115},
        {"popup link", TTagKind::PopupLink, "frmNewPopupLink", "Popup Link Tag Editor", 155},
        {"button", TTagKind::Button, "frmNewButton", "Button Tag Editor", 165},
        {"macro hotspot", TTagKind::MacroHotspot, "frmNewMacroTag", "Macro Tag Editor", 160},
        {"sound", TTagKind::Sound, "frmNewSound", "Sound Tag Editor", 180},
        {"video", TTagKind::Video, "frmNewVideo", "Video Tag Editor", 185},
        {"raw RTF", TTagKind::Rtf, "frmNewRtfExpr", "Rtf Tag Editor", 170},
        {"image", TTagKind::Image, "frmNewImage", "Image Tag Editor", 175},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.helpContexts.clear();
        ui.ExpectDialog(row.form, [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), row.caption);
            EXPECT_EQ(d.parentWidget(), ui.ParentWidget());
            auto* ok = Child<QPushButton>(d, "cmdOk");
            EXPECT_FALSE(ok->isEnabled());
            EXPECT_TRUE(ok->isDefault());
            Child<QPushButton>(d, "cmdHelp")->click();
            Child<QPushButton>(d, "cmdCancel")->click();
            return d.result();
        });
        EXPECT_EQ(RunTag(row.kind), std::nullopt);
        EXPECT_EQ(ui.helpContexts, std::vector<int>({row.help}));
    }
}

// Every form, shown: no caption cut. Under tools/screenshot-dialogs.sh each
// is saved as <form name>.png.
TEST_F(TagFormsTest, ScreenshotOfEachForm) {
    struct Row {
        TTagKind kind;
        QString form;
    } rows[] = {
        {TTagKind::TopicLink, "frmNewTopicLink"}, {TTagKind::PopupLink, "frmNewPopupLink"},
        {TTagKind::Button, "frmNewButton"},       {TTagKind::MacroHotspot, "frmNewMacroTag"},
        {TTagKind::Sound, "frmNewSound"},         {TTagKind::Video, "frmNewVideo"},
        {TTagKind::Rtf, "frmNewRtfExpr"},         {TTagKind::Image, "frmNewImage"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.form.toStdString());
        ui.ExpectDialog(row.form, [&](QDialog& d) {
            Screenshot(d, row.form + ".png");
            d.reject();
            return d.result();
        });
        RunTag(row.kind);
    }
}

}  // namespace
}  // namespace qmtest
