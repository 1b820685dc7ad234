// A picture of the main window on the bundled sample project. The script
// tools/screenshot-mainwindow.sh runs this under Xvfb and keeps the PNG
// (QM_SCREENSHOT names the file); otherwise it goes to a scratch folder.
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <QTimer>

#include "mainwindow_fixture.h"
#include "platform/qtcp1252.h"
#include "platform/qtuiservices.h"
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

// A picture of the screen while a start-up message is up: the box sits on
// the main window and the splash is gone. tools/screenshot-startup.sh runs
// it under Xvfb with a window manager (QM_SCREENSHOT_STARTUP names the file);
// elsewhere it is skipped, as the real box needs a screen to be grabbed from.
TEST_F(MainWindowTest, ScreenshotOfAStartUpMessage) {
    const QString file = qEnvironmentVariable("QM_SCREENSHOT_STARTUP");
    if (file.isEmpty()) GTEST_SKIP() << "QM_SCREENSHOT_STARTUP is not set";
    const std::string broken = root_ + "broken.qpf";
    qm::WriteFileAtomic(broken, "not a project file at all");
    qm::QtUiServices real;
    qm::TMainWindowEnv env;
    env.Ui = &real;
    env.Settings = &settings;
    env.ProgramFolder = root_ + "prog";
    env.TempFolder = root_ + "tmp";
    env.WaitScale = 0;
    qm::TfrmMain w(env);
    real.SetParentWidget(&w);
    bool grabbed = false;
    // Once the box is up: the picture, then OK.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        QApplication::processEvents();
        QThread::msleep(300);
        QApplication::processEvents();
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        grabbed = shot.save(file, "PNG");
        box->accept();
    });
    poll.start(100);
    EXPECT_TRUE(w.Startup({qm::FromCp1252(broken)}));
    real.SetParentWidget(nullptr);
    EXPECT_TRUE(grabbed);
}

}  // namespace
}  // namespace qmtest
