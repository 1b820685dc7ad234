// Pictures of Pikeral on a real file: the frame with DCONNECT.SHG open and a
// hotspot selected, and the hotspot properties dialog on that hotspot. The
// script tools/screenshot-pikeral.sh runs this under Xvfb and keeps the PNGs
// (QM_SCREENSHOT names the frame's file; the dialog's goes beside it);
// otherwise they go to a scratch folder.
#include <QFileInfo>
#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QSet>

#include "shgedit/hspropsdlg.h"
#include "shgedit_fixture.h"

namespace qmtest {
namespace {

int Colours(const QImage& shot) {
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3) colours.insert(shot.pixel(x, y));
    return static_cast<int>(colours.size());
}

TEST_F(ShgEditTest, ScreenshotOfARealPicture) {
    const std::string real = RealShg("DCONNECT.SHG");
    ASSERT_TRUE(qm::FileExists(real)) << real;
    Start({});
    Frame().resize(900, 640);
    Frame().show();
    Frame().FormShow({QString::fromStdString(real)});
    qm::shgedit::TfrmShg* child = Frame().ActiveChild();
    ASSERT_NE(child, nullptr);
    ASSERT_GT(child->Shg().Hotspots.Count(), 0);
    child->SelectHotspot(0);
    child->parentWidget()->move(12, 10);
    QApplication::processEvents();
    const QImage shot = Frame().grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(Colours(shot), 8);

    QString file = qEnvironmentVariable("QM_SCREENSHOT");
    if (file.isEmpty()) file = QString::fromStdString(root_) + "pikeral.png";
    EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();

    // The hotspot dialog as it opens on that hotspot, shown without a modal loop.
    qm::shgedit::TfrmHsProps dialog(ui, {"Connect_Topic", "Network_Setup"}, {"Drive_Popup", "Path_Popup"}, &Frame());
    dialog.SetFields(qm::shgedit::THotspotFields::Of(child->Shg().Hotspots.GetItem(0)));
    dialog.show();
    QApplication::processEvents();
    const QImage dialogShot = dialog.grab().toImage();
    EXPECT_GT(Colours(dialogShot), 2);
    const QFileInfo info(file);
    const QString dialogFile = info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral("-hsprops.png"));
    EXPECT_TRUE(dialogShot.save(dialogFile, "PNG")) << dialogFile.toStdString();
    dialog.hide();
}

}  // namespace
}  // namespace qmtest
