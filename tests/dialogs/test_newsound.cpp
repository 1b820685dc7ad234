// The sound form: its tag, the OK rule on the trimmed file, presets, and the
// run through the factory.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/newsound.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmNewSound;

class SoundTest : public TagFormTest {};

TEST_F(SoundTest, GetTagAndTheOkRule) {
    struct Row {
        const char* name;
        QString file;
        bool external;
        bool ok;
        std::string tag;
    } rows[] = {
        {"embedded", "ding.wav", false, true, "<SOUND \"ding.wav\">"},
        {"external", "ding.wav", true, true, "<SOUND External \"ding.wav\">"},
        {"the file as typed", " C:\\snd\\ding.wav", false, true, "<SOUND \" C:\\snd\\ding.wav\">"},
        {"blanks are no file", "   ", false, false, "<SOUND \"   \">"},
        {"no file", "", true, false, "<SOUND External \"\">"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmNewSound d(ui);
        d.Activate();
        d.txtSoundFile->setText(row.file);
        d.chkExternal->setChecked(row.external);
        EXPECT_EQ(d.cmdOk->isEnabled(), row.ok);
        EXPECT_EQ(d.GetTag(), row.tag);
    }
}

TEST_F(SoundTest, TheFactoryRunsTheFormPresetFromATag) {
    ui.ExpectDialog("frmNewSound", [&](QDialog& dialog) {
        auto& d = static_cast<TfrmNewSound&>(dialog);
        EXPECT_EQ(d.txtSoundFile->text(), "ding.wav");
        EXPECT_TRUE(d.chkExternal->isChecked());
        ui.ExpectOpenFile(QStringLiteral("/snd/bell.wav"));
        d.cmdBrowse->click();
        return ClickOk(d);
    });
    const auto result = RunTag(qm::TTagKind::Sound, {.MediaFile = "ding.wav", .External = true});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<SOUND External \"/snd/bell.wav\">");
}

TEST_F(SoundTest, ARefusedOkStoresNothing) {
    ui.ExpectDialog("frmNewSound", [](QDialog& dialog) {
        auto& d = static_cast<TfrmNewSound&>(dialog);
        d.txtSoundFile->setText("  ");
        ClickOk(d);
        EXPECT_FALSE(d.Accepted());
        d.reject();
        return d.result();
    });
    EXPECT_EQ(RunTag(qm::TTagKind::Sound), std::nullopt);
}

}  // namespace
}  // namespace qmtest
