#include "mainwindow/windowplacement.h"

#include <algorithm>
#include <cstdint>

namespace qm {

namespace {

// Squared distance from the rectangle's centre to the nearest point of `area`.
std::int64_t Distance(const QRect& rect, const QRect& area) {
    const QPoint c = rect.center();
    const std::int64_t dx = c.x() < area.left() ? area.left() - c.x() : c.x() > area.right() ? c.x() - area.right() : 0;
    const std::int64_t dy = c.y() < area.top() ? area.top() - c.y() : c.y() > area.bottom() ? c.y() - area.bottom() : 0;
    return dx * dx + dy * dy;
}

}  // namespace

QRect FitToScreens(const QRect& rect, const QList<QRect>& areas) {
    const QRect* nearest = nullptr;
    std::int64_t best = 0;
    for (const QRect& area : areas) {
        if (area.isEmpty()) continue;
        if (area.intersects(rect)) return rect;
        const std::int64_t d = Distance(rect, area);
        if (!nearest || d < best) {
            nearest = &area;
            best = d;
        }
    }
    if (!nearest) return rect;
    const QRect& a = *nearest;
    const int width = std::clamp(rect.width(), 1, a.width());
    const int height = std::clamp(rect.height(), 1, a.height());
    const int left = std::clamp(rect.left(), a.left(), a.left() + a.width() - width);
    const int top = std::clamp(rect.top(), a.top(), a.top() + a.height() - height);
    return QRect(left, top, width, height);
}

}  // namespace qm
