#pragma once
// How much of an icon shows when it is drawn: the tests of the icon set and
// of the windows' actions ask that each draws something at 16 pixels.
#include <QIcon>
#include <QImage>
#include <QPainter>

namespace qmtest {

// The icon drawn at size x size on a transparent square.
inline QImage DrawIcon(const QIcon& icon, int size, QIcon::Mode mode = QIcon::Normal) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    icon.paint(&p, QRect(0, 0, size, size), Qt::AlignCenter, mode);
    return image;
}

// The number of pixels the icon covers when drawn at size x size.
inline int DrawnPixels(const QIcon& icon, int size) {
    const QImage image = DrawIcon(icon, size);
    int n = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) n += qAlpha(image.pixel(x, y)) > 32;
    return n;
}

// Whether the icon draws a recognisable picture at size x size: a null
// icon, or one that draws nothing or a pixel or two, does not.
inline bool DrawsAt(const QIcon& icon, int size) { return !icon.isNull() && DrawnPixels(icon, size) >= 12; }

}  // namespace qmtest
