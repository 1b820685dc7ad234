#pragma once
// The small windows of the main program open in the middle of their screen,
// not over wherever the main window stands.
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace qm {

inline void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - window.rect().center());
    }
}

}  // namespace qm
