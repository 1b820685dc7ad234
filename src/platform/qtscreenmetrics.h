#pragma once
// The screen size for help units and the pixels per inch, from the primary
// screen.
#include "util/helpunits.h"

namespace qm {

class QtScreenMetrics : public ScreenMetrics {
public:
    // The primary screen's size in pixels; the fixed default when there is none.
    ScreenSize screenSize() const override;
    // The primary screen's logical pixels per inch, rounded; 96 when there is none.
    int logicalDpi() const override;
};

// Installs one QtScreenMetrics as qm::Screen() unless a provider is already
// installed; call once after the QApplication exists.
void InstallQtScreenMetrics();

}  // namespace qm
