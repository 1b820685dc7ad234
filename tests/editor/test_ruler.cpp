// The ruler widget: its getters and setters, a mouse drag raising its
// events in order, no context menu during a drag, and a drag that always
// ends, also when the ruler loses the mouse.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>

#include "editor/ruler.h"
#include "support/qtapp.h"

namespace qm {
namespace {

// A ruler as the main window sets it up, shown, with its events recorded.
struct RulerHarness {
    RulerHarness() {
        ruler.resize(500, 40);
        ruler.SetOrigin(31);
        ruler.RightMargin = 10;
        ruler.SetIndents(0, 0, 10);
        ruler.show();
        QObject::connect(&ruler, &TRuler::markerMove, [this](int x) { events << QStringLiteral("move %1").arg(x); });
        QObject::connect(&ruler, &TRuler::changed, [this] { events << QStringLiteral("change"); });
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), ruler.mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&ruler, &e);
    }
    void Press(QPoint at) { Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void Move(QPoint at, Qt::MouseButtons held = Qt::LeftButton) { Mouse(QEvent::MouseMove, at, Qt::NoButton, held); }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }

    TRuler ruler;
    QStringList events;
};

class RulerTest : public ::testing::Test, public RulerHarness {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

TEST_F(RulerTest, IsThirtyThreeHighAndKeepsItsSettings) {
    EXPECT_EQ(ruler.objectName(), QStringLiteral("Ruler"));
    EXPECT_EQ(ruler.height(), kRulerHeight);
    ruler.SetIndents(20, 30, 15);
    EXPECT_EQ(ruler.GetLeftIndent(), 20);   // the first line
    EXPECT_EQ(ruler.GetFirstIndent(), 30);  // the following lines' offset
    EXPECT_EQ(ruler.GetRightIndent(), 15);
    ruler.SetScaleMode(2);
    EXPECT_EQ(ruler.ScaleMode(), 2);
    EXPECT_EQ(ruler.Origin(), 31);
    EXPECT_EQ(ruler.Model().Width, 500);
    EXPECT_EQ(ruler.Model().RightMargin, 10);
}

TEST_F(RulerTest, ADragRaisesMovesThenOneChange) {
    Press({31, 8});
    Move({36, 8});
    Move({45, 8});
    EXPECT_TRUE(ruler.Dragging());
    Release({45, 8});
    EXPECT_EQ(events, (QStringList{"move 31", "move 41", "move 51", "change"}));
    EXPECT_FALSE(ruler.Dragging());
    EXPECT_EQ(ruler.GetLeftIndent(), 20);
    EXPECT_EQ(ruler.GetFirstIndent(), -20);
    EXPECT_EQ(ruler.LastPosition(), 51);
}

TEST_F(RulerTest, TheRightButtonNeitherStartsNorEndsADrag) {
    Mouse(QEvent::MouseButtonPress, {31, 8}, Qt::RightButton, Qt::RightButton);
    EXPECT_FALSE(ruler.Dragging());
    Release({31, 8}, Qt::RightButton);
    Press({31, 8});
    Mouse(QEvent::MouseButtonPress, {40, 8}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, {40, 8}, Qt::RightButton, Qt::LeftButton);
    EXPECT_TRUE(ruler.Dragging());
    Release({40, 8});
    EXPECT_EQ(events, (QStringList{"move 31", "change"}));
}

TEST_F(RulerTest, NoContextMenuDuringADrag) {
    int menus = 0;
    ruler.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&ruler, &QWidget::customContextMenuRequested, [&] { ++menus; });
    auto contextMenu = [&] {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(100, 10), ruler.mapToGlobal(QPoint(100, 10)));
        QCoreApplication::sendEvent(&ruler, &e);
    };
    Press({31, 8});
    contextMenu();
    EXPECT_EQ(menus, 0);
    Release({31, 8});
    contextMenu();
    EXPECT_EQ(menus, 1);
}

// Fault 8: whatever takes the mouse from the ruler, the drag ends as a
// release does, with the marker where the last move put it.
TEST_F(RulerTest, ADragEndsWhenTheRulerLosesTheMouse) {
    struct Row {
        const char* name;
        std::function<void(RulerHarness&)> lose;
    };
    for (const Row& row : {
             Row{"hidden", [](RulerHarness& h) { h.ruler.hide(); }},
             Row{"another window activated",
                 [](RulerHarness& h) {
                     QWidget other;
                     other.show();
                     other.activateWindow();
                     ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
                     EXPECT_FALSE(h.ruler.isActiveWindow());
                 }},
             Row{"grab lost",
                 [](RulerHarness& h) {
                     QEvent e(QEvent::UngrabMouse);
                     QCoreApplication::sendEvent(&h.ruler, &e);
                 }},
             Row{"released elsewhere: a move without the button",
                 [](RulerHarness& h) {
                     h.Move({60, 8}, Qt::NoButton);
                 }},
         }) {
        SCOPED_TRACE(row.name);
        RulerHarness h;
        h.ruler.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&h.ruler));
        h.Press({31, 8});
        h.Move({36, 8});
        row.lose(h);
        EXPECT_FALSE(h.ruler.Dragging());
        EXPECT_EQ(h.events, (QStringList{"move 31", "move 41", "change"}));
        EXPECT_EQ(h.ruler.GetLeftIndent(), 10);
        // Later moves and releases do nothing.
        h.Move({80, 8});
        h.Release({80, 8});
        EXPECT_EQ(h.events.size(), 3);
    }
}

TEST_F(RulerTest, PaintsTheScaleAndTheMarkers) {
    ruler.SetIndents(40, -20, 30);
    const QImage shot = ruler.grab().toImage();
    const int mid = kRulerHeight / 2;
    // White on the scale, grey outside it.
    EXPECT_EQ(QColor(shot.pixel(200, mid - 5)), QColor(Qt::white));
    EXPECT_EQ(QColor(shot.pixel(10, mid - 5)), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(QColor(shot.pixel(495, mid - 5)), QColor(0x80, 0x80, 0x80));
    // A major tick every 20 pixels: i = 20 at x = 31 + 19.
    EXPECT_EQ(QColor(shot.pixel(50, mid)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(52, mid)), QColor(Qt::white));
    // Each marker drawn at its place.
    auto drawn = [&](int x, int y) { return QColor(shot.pixel(x, y)) != ruler.palette().color(QPalette::Window); };
    EXPECT_TRUE(drawn(31 + 40, mid - 9));   // first line
    EXPECT_TRUE(drawn(31 + 20, mid + 12));  // following lines' box
    EXPECT_TRUE(drawn(500 - 10 - 30, mid + 8));
    EXPECT_FALSE(drawn(300, mid + 12));
}

}  // namespace
}  // namespace qm
