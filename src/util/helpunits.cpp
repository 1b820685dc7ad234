#include "util/helpunits.h"

#include <cmath>
#include <cstdint>

namespace qm {

namespace {
const FixedScreenMetrics kDefaultScreen{ScreenSize{}};
const ScreenMetrics* gScreen = nullptr;

// Values come from project files and may be anything; a result outside the
// 32-bit range saturates instead of overflowing the conversion.
std::int32_t Saturate(double d) {
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(d);
}

void ToHelp(std::int32_t& v, int screen) {
    if (screen <= 0) return;
    v = Saturate(std::trunc(v * (1024.0 / screen)));
}

void ToPixels(std::int32_t& v, int screen) {
    if (screen <= 0) return;
    // 64-bit product: a 32-bit one overflows for large windows on wide screens.
    const auto product = static_cast<std::int64_t>(screen) * v;
    v = Saturate(std::nearbyint(static_cast<double>(product) / 1024.0));
}
}  // namespace

const ScreenMetrics& Screen() { return gScreen ? *gScreen : kDefaultScreen; }

void SetScreenMetrics(const ScreenMetrics* metrics) { gScreen = metrics; }

bool ScreenMetricsInstalled() { return gScreen != nullptr; }

int ScreenPixelsPerInch() {
    const int dpi = Screen().logicalDpi();
    return dpi > 0 ? dpi : kDefaultPixelsPerInch;
}

void PixelsToHelpUnits(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h, ScreenSize screen) {
    ToHelp(x, screen.width);
    ToHelp(y, screen.height);
    ToHelp(w, screen.width);
    ToHelp(h, screen.height);
}

void HelpUnitsToPixels(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h, ScreenSize screen) {
    ToPixels(x, screen.width);
    ToPixels(y, screen.height);
    ToPixels(w, screen.width);
    ToPixels(h, screen.height);
}

}  // namespace qm
