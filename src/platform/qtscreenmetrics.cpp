#include "platform/qtscreenmetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace qm {

ScreenSize QtScreenMetrics::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QSize size = screen->size();
    if (size.width() <= 0 || size.height() <= 0) return {};
    return {size.width(), size.height()};
}

int QtScreenMetrics::logicalDpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return kDefaultPixelsPerInch;
    const int dpi = qRound(screen->logicalDotsPerInchX());
    return dpi > 0 ? dpi : kDefaultPixelsPerInch;
}

void InstallQtScreenMetrics() {
    if (ScreenMetricsInstalled()) return;
    static const QtScreenMetrics metrics;
    SetScreenMetrics(&metrics);
}

}  // namespace qm
