// The video form: its flags in their fixed order, presets from a tag's flag
// words, and the run through the factory.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/newvideo.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewVideo;

class VideoTest : public TagFormTest {};

TEST_F(VideoTest, GetTagWritesTheTickedFlagsInTheirOrder) {
    struct Row {
        const char* name;
        bool external, play, repeat, menu, bar;
        std::string tag;
    } rows[] = {
        {"no flags", false, false, false, false, false, "<VIDEO \"clip.avi\">"},
        {"all flags", true, true, true, true, true, "<VIDEO External Play Repeat Menu Playbar \"clip.avi\">"},
        {"external, play and play bar", true, true, false, false, true, "<VIDEO External Play Playbar \"clip.avi\">"},
        {"repeat and menu", false, false, true, true, false, "<VIDEO Repeat Menu \"clip.avi\">"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewVideo d(ui);
        d.txtVideoFile->setText("clip.avi");
        d.chkExternal->setChecked(row.external);
        d.chkAutoPlay->setChecked(row.play);
        d.chkRepeat->setChecked(row.repeat);
        d.chkMenu->setChecked(row.menu);
        d.chkPlayBar->setChecked(row.bar);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(VideoTest, TheFactoryRunsTheFormPresetFromATag) {
    ui.ExpectDialog("frmNewVideo", [](QDialog& dialog) {
        auto& d = static_cast<TfrmNewVideo&>(dialog);
        EXPECT_TRUE(d.chkExternal->isChecked());
        EXPECT_TRUE(d.chkAutoPlay->isChecked());
        EXPECT_FALSE(d.chkRepeat->isChecked());
        EXPECT_FALSE(d.chkMenu->isChecked());
        EXPECT_TRUE(d.chkPlayBar->isChecked());
        EXPECT_TRUE(d.cmdOk->isEnabled());
        d.txtVideoFile->setText(" ");
        ClickOk(d);  // refused: no file
        EXPECT_FALSE(d.Accepted());
        d.txtVideoFile->setText("clip.avi");
        return ClickOk(d);
    });
    const auto result =
        RunTag(qm::TTagKind::Video, {.MediaFile = "clip.avi", .External = true, .AutoPlay = true, .PlayBar = true});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<VIDEO External Play Playbar \"clip.avi\">");
}

}  // namespace
}  // namespace qmtest
