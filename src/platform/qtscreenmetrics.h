#pragma once
// The screen size for help units, from the primary screen.
#include "util/helpunits.h"

namespace qm {

class QtScreenMetrics : public ScreenMetrics {
public:
    // The primary screen's size in pixels; the fixed default when there is none.
    ScreenSize screenSize() const override;
};

// Installs one QtScreenMetrics as qm::Screen(); call once after the
// QApplication exists.
void InstallQtScreenMetrics();

}  // namespace qm
