// A picture of the main window on the bundled sample project. The script
// tools/screenshot-mainwindow.sh runs this under Xvfb and keeps the PNG
// (QM_SCREENSHOT names the file); otherwise it goes to a scratch folder.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include "mainwindow_fixture.h"
#include "model/usertools.h"
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
    // The default size, in which every tool bar shows whole.
    EXPECT_EQ(w->size(), QSize(1200, 760));
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

namespace qmtest {
namespace {

// Pictures of the tool bars and of every menu of the menu bar opened in
// turn, with their sub-menus, grabbed from the screen: toolbars.png and
// menu-<menu>[-<sub-menu>].png in the folder QM_SCREENSHOT_MENUS names.
// tools/screenshot-menus.sh runs it under Xvfb with a window manager;
// elsewhere it is skipped, as open menus must be grabbed from a screen.
TEST_F(MainWindowTest, ScreenshotsOfTheToolBarsAndMenus) {
    const QString folder = qEnvironmentVariable("QM_SCREENSHOT_MENUS");
    if (folder.isEmpty()) GTEST_SKIP() << "QM_SCREENSHOT_MENUS is not set";
    const QString sample =
        QFileInfo(QString::fromStdString(std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf"))
            .canonicalFilePath();
    ASSERT_FALSE(sample.isEmpty());
    // Two user tools end the Tools menu, one with an "&" in its name.
    qm::TUserTools tools;
    tools.Add("/usr/bin/gedit", "Notes & Drafts");
    tools.Add("/usr/bin/gimp", "Image Editor");
    tools.SaveToRegistry(settings);
    auto w = Start({sample});
    ASSERT_TRUE(started);
    w->move(0, 0);
    w->show();
    w->activateWindow();
    auto settle = [] {
        for (int i = 0; i < 6; ++i) {
            QApplication::processEvents();
            QThread::msleep(50);
        }
    };
    settle();
    QScreen* screen = QGuiApplication::primaryScreen();
    auto grab = [&](const QRect& area, const QString& name) {
        const QRect r = area.intersected(screen->geometry());
        const QImage shot = screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
        EXPECT_FALSE(shot.isNull()) << name.toStdString();
        EXPECT_TRUE(shot.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"), "PNG")) << name.toStdString();
    };
    for (QToolBar* bar : w->findChildren<QToolBar*>()) EXPECT_FALSE(bar->isHidden()) << bar->objectName().toStdString();
    grab(w->frameGeometry(), QStringLiteral("toolbars"));

    // "mnuView" -> "view"; its sub-menu "mnuViewToolbars" -> "toolbars".
    auto baseName = [](const QMenu* m, const QMenu* parent = nullptr) {
        QString name = m->objectName().mid(3);
        if (parent && name.startsWith(parent->objectName().mid(3))) name = name.mid(parent->objectName().size() - 3);
        return name.toLower();
    };
    for (QAction* item : w->menuBar()->actions()) {
        QMenu* menu = item->menu();
        if (!menu) continue;
        w->menuBar()->setActiveAction(item);
        settle();
        ASSERT_TRUE(menu->isVisible()) << menu->objectName().toStdString();
        const QString name = QStringLiteral("menu-") + baseName(menu);
        grab(w->frameGeometry().united(menu->geometry()), name);
        for (QAction* entry : menu->actions()) {
            QMenu* sub = entry->menu();
            if (!sub || !entry->isVisible() || sub->actions().isEmpty()) continue;
            menu->setActiveAction(entry);
            sub->popup(menu->mapToGlobal(menu->actionGeometry(entry).topRight()));
            settle();
            grab(w->frameGeometry().united(menu->geometry()).united(sub->geometry()),
                 name + QLatin1Char('-') + baseName(sub, menu));
            sub->hide();
            settle();
        }
        menu->hide();
        settle();
    }
}

}  // namespace
}  // namespace qmtest
