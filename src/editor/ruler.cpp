#include "editor/ruler.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include "util/helpunits.h"

namespace qm {

namespace {

const QColor kStripGrey(0x80, 0x80, 0x80);
const QColor kMarkerFace(0xD4, 0xD0, 0xC8);
const QColor kMarkerEdge(0x40, 0x40, 0x40);

void DrawMarker(QPainter& p, const QPolygon& shape) {
    p.setPen(kMarkerEdge);
    p.setBrush(kMarkerFace);
    p.drawPolygon(shape);
}

// The first-line marker: a house pointing down at its place, above the strip.
void DrawFirstLineMarker(QPainter& p, int x, int mid) {
    DrawMarker(p, QPolygon({QPoint(x - 4, mid - 10), QPoint(x + 4, mid - 10), QPoint(x + 4, mid - 7),
                            QPoint(x, mid - 3), QPoint(x - 4, mid - 7)}));
}

// The following-lines and right-indent markers: a house pointing up at
// their place, below the strip; the following-lines marker has a box under
// it that drags both left markers.
void DrawLowerMarker(QPainter& p, int x, int mid, bool withBox) {
    DrawMarker(p, QPolygon({QPoint(x, mid + 3), QPoint(x + 4, mid + 7), QPoint(x + 4, mid + 9), QPoint(x - 4, mid + 9),
                            QPoint(x - 4, mid + 7)}));
    if (withBox) {
        p.setPen(kMarkerEdge);
        p.setBrush(kMarkerFace);
        p.drawRect(x - 4, mid + 10, 8, 5);
    }
}

}  // namespace

TRuler::TRuler(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Ruler"));
    setFixedHeight(kRulerHeight);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    model_.SetIndents(0, 0, 0);
}

TRulerModel& TRuler::sync() const {
    model_.RightMargin = RightMargin;
    model_.Width = width();
    model_.Height = height();
    model_.PixelsPerInch = ScreenPixelsPerInch();
    return model_;
}

const TRulerModel& TRuler::Model() const { return sync(); }

void TRuler::SetOrigin(int x) {
    model_.LeftMargin = x;
    update();
}

void TRuler::SetIndents(int start, int offset, int right) {
    model_.SetIndents(start, offset, right);
    update();
}

void TRuler::SetScaleMode(int mode) {
    model_.ScaleMode = mode;
    update();
}

void TRuler::emitEvents(const std::vector<TRulerEvent>& events) {
    if (!events.empty()) update();
    // During a drag a move without the button still arrives: the release
    // that went elsewhere then ends the drag.
    setMouseTracking(model_.Dragging());
    for (const TRulerEvent& e : events) {
        if (e.kind == TRulerEvent::MarkerMove)
            emit markerMove(e.X);
        else
            emit changed();
    }
}

void TRuler::endDrag() {
    if (model_.Dragging()) emitEvents(sync().MouseUp());
}

bool TRuler::event(QEvent* e) {
    switch (e->type()) {
        case QEvent::ContextMenu:
            // No context menu in the middle of a drag.
            if (model_.Dragging()) {
                e->accept();
                return true;
            }
            break;
        case QEvent::UngrabMouse: endDrag(); break;
        default: break;
    }
    return QWidget::event(e);
}

void TRuler::paintEvent(QPaintEvent*) {
    const TRulerModel& m = sync();
    const int w = m.Width;
    const int mid = m.Height / 2;
    const int left = m.LeftMargin;
    const int right = w - m.RightMargin;
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(Qt::white);
    p.drawLine(0, 0, w - 1, 0);

    // The strip: grey outside the margins, white on the scale.
    const int top = mid - 7;
    const int height = 15;
    p.fillRect(QRect(1, top, std::max(left - 1, 0), height), kStripGrey);
    p.fillRect(QRect(left, top, std::max(right - left, 0), height), Qt::white);
    p.fillRect(QRect(right, top, std::max(w - 1 - right, 0), height), kStripGrey);

    const TRulerSteps steps = m.Steps();
    p.setPen(Qt::black);
    for (int i = 1; i <= right - left - 3; ++i) {
        const int x = left + i - 1;
        if (steps.Major > 0 && i % steps.Major == 0)
            p.drawLine(x, mid - 2, x, mid + 1);
        else if (steps.Minor > 0 && i % steps.Minor == 0)
            p.drawLine(x, mid - 1, x, mid);
    }

    p.setRenderHint(QPainter::Antialiasing, false);
    DrawLowerMarker(p, m.MarkerX(TRulerMarker::FollowingLines), mid, true);
    DrawLowerMarker(p, m.MarkerX(TRulerMarker::RightIndent), mid, false);
    DrawFirstLineMarker(p, m.MarkerX(TRulerMarker::FirstLine), mid);
}

void TRuler::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        const QPoint at = e->position().toPoint();
        emitEvents(sync().MouseDown(at.x(), at.y()));
    }
    e->accept();
}

void TRuler::mouseMoveEvent(QMouseEvent* e) {
    if (!model_.Dragging()) return;
    // A release that went elsewhere: the drag ends where it is.
    if (!(e->buttons() & Qt::LeftButton)) {
        endDrag();
        return;
    }
    emitEvents(sync().MouseMove(e->position().toPoint().x()));
}

void TRuler::mouseReleaseEvent(QMouseEvent* e) {
    // Only the left button ends a drag: a right click in the middle of one
    // changes nothing.
    if (e->button() == Qt::LeftButton) endDrag();
    e->accept();
}

void TRuler::hideEvent(QHideEvent* e) {
    endDrag();
    QWidget::hideEvent(e);
}

void TRuler::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && !isActiveWindow()) endDrag();
    QWidget::changeEvent(e);
}

}  // namespace qm
