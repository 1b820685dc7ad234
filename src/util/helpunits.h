#pragma once
// Help units: windows are placed on a virtual 1024 x 1024 screen. The pixel
// size of the real screen, and its pixels per inch, come from a provider the
// GUI installs; tests fix them.
#include <cstdint>

namespace qm {

struct ScreenSize {
    int width = 1024;
    int height = 768;
};

inline constexpr int kDefaultPixelsPerInch = 96;

class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual ScreenSize screenSize() const = 0;
    // The screen's logical pixels per inch.
    virtual int logicalDpi() const { return kDefaultPixelsPerInch; }
};

// The installed provider; a fixed 1024 x 768 screen of 96 pixels per inch
// when none is installed.
const ScreenMetrics& Screen();
// Installs `metrics` (not owned; nullptr restores the fixed default).
void SetScreenMetrics(const ScreenMetrics* metrics);
// True while a provider other than the fixed default is installed.
bool ScreenMetricsInstalled();
// The installed provider's pixels per inch; 96 when it gives no usable value.
int ScreenPixelsPerInch();

// A fixed size and resolution, for tests and for the default.
class FixedScreenMetrics : public ScreenMetrics {
public:
    explicit FixedScreenMetrics(ScreenSize size, int dpi = kDefaultPixelsPerInch) : size_(size), dpi_(dpi) {}
    ScreenSize screenSize() const override { return size_; }
    int logicalDpi() const override { return dpi_; }

private:
    ScreenSize size_;
    int dpi_;
};

// A zero (or negative) screen dimension leaves the values it scales unchanged.
void PixelsToHelpUnits(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h, ScreenSize screen);
void HelpUnitsToPixels(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h, ScreenSize screen);
inline void PixelsToHelpUnits(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h) {
    PixelsToHelpUnits(x, y, w, h, Screen().screenSize());
}
inline void HelpUnitsToPixels(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h) {
    HelpUnitsToPixels(x, y, w, h, Screen().screenSize());
}

// Integer helpers.
inline void NoOperation() {}
inline std::uint16_t HiWordOf(std::uint32_t x) { return static_cast<std::uint16_t>(x >> 16); }
inline std::uint32_t MakeLongParam(std::uint16_t low, std::uint16_t high) {
    return static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16);
}
inline int IntMax(int a, int b) { return a > b ? a : b; }

}  // namespace qm
