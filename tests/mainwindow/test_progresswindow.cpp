// The progress window: its fixed size and flags, and a text or position set
// during a long task shows at once, before the task returns to the event loop.
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include "mainwindow/progresswindow.h"
#include "support/qtapp.h"

namespace {

class ProgressWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(ProgressWindowTest, AFixedSmallWindowOnTopWithoutCaptionButtons) {
    qm::TfrmMessage form(nullptr);
    EXPECT_EQ(form.objectName(), "frmMessage");
    EXPECT_EQ(form.windowTitle(), "Progress");
    EXPECT_EQ(form.minimumSize(), QSize(320, 66));
    EXPECT_EQ(form.maximumSize(), QSize(320, 66));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(form.lblMsg->pos(), QPoint(8, 12));
    EXPECT_EQ(form.pgbProgress->geometry(), QRect(8, 40, 305, 17));
    EXPECT_EQ(form.pgbProgress->minimum(), 0);
    EXPECT_EQ(form.pgbProgress->maximum(), 100);
}

TEST_F(ProgressWindowTest, TextAndPositionPaintAtOnce) {
    qm::TfrmMessage form(nullptr);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents();
    PaintCounter label, bar;
    form.lblMsg->installEventFilter(&label);
    form.pgbProgress->installEventFilter(&bar);
    // No event loop runs between the calls and the checks, as in a task.
    form.lblMsg->setText(QStringLiteral("Importing Rich Text Format File..."));
    EXPECT_GE(label.paints, 1);
    EXPECT_EQ(form.lblMsg->size(), form.lblMsg->sizeHint());  // the whole text fits
    form.pgbProgress->setValue(37);
    EXPECT_GE(bar.paints, 1);
}

}  // namespace
