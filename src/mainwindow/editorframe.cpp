#include "mainwindow/editorframe.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace qm {

TRtfHeader::TRtfHeader(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pbRtf"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize TRtfHeader::sizeHint() const {
    QFont bold = font();
    bold.setBold(true);
    return QSize(100, QFontMetrics(bold).height() + 4);
}

void TRtfHeader::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    // One pixel off the top, two off the bottom.
    const QRect band = rect().adjusted(0, 1, 0, -2);
    p.fillRect(band, QColor(0, 0, 128));
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::white);
    p.drawText(band.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QStringLiteral("Rich Text Output"));
}

QSplitterHandle* TClickSplitter::createHandle() { return new TClickSplitterHandle(orientation(), this); }

void TClickSplitterHandle::mousePressEvent(QMouseEvent* e) {
    pressed_ = e->position().toPoint();
    dragged_ = false;
    QSplitterHandle::mousePressEvent(e);
}

void TClickSplitterHandle::mouseMoveEvent(QMouseEvent* e) {
    if ((e->position().toPoint() - pressed_).manhattanLength() >= QApplication::startDragDistance()) dragged_ = true;
    QSplitterHandle::mouseMoveEvent(e);
}

void TClickSplitterHandle::mouseReleaseEvent(QMouseEvent* e) {
    QSplitterHandle::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && !dragged_) emit owner_->handleClicked();
}

}  // namespace qm
