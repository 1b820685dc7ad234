// A picture of the main window on the bundled sample project. The script
// tools/screenshot-mainwindow.sh runs this under Xvfb and keeps the PNG
// (QM_SCREENSHOT names the file); otherwise it goes to a scratch folder.
#include <QImage>
#include <QPixmap>
#include <QSet>

#include "mainwindow_fixture.h"
#include "platform/qtcp1252.h"
#include "util/fileio.h"

namespace qmtest {
namespace {

TEST_F(MainWindowTest, ScreenshotOfTheSampleProject) {
    const std::string sample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";
    ASSERT_TRUE(qm::FileExists(sample)) << sample;
    auto w = Start({qm::FromCp1252(sample)});
    ASSERT_TRUE(started);
    ASSERT_GE(Rows(*w, "lstTopics").size(), 2);
    w->resize(1100, 720);
    w->show();
    QApplication::processEvents();
    const QImage shot = w->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // A drawn window has text, frames and an editor: far more than a few colours.
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3) colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 20);

    QString file = qEnvironmentVariable("QM_SCREENSHOT");
    if (file.isEmpty()) file = QString::fromStdString(root_) + "mainwindow.png";
    EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
}

}  // namespace
}  // namespace qmtest
