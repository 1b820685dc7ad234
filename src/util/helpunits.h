#pragma once
// Help units: windows are placed on a virtual 1024 x 1024 screen. The pixel
// size of the real screen comes from a provider the GUI installs; tests fix it.
#include <cstdint>

namespace qm {

struct ScreenSize {
    int width = 1024;
    int height = 768;
};

class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual ScreenSize screenSize() const = 0;
};

// The installed provider; a fixed 1024 x 768 screen when none is installed.
const ScreenMetrics& Screen();
// Installs `metrics` (not owned; nullptr restores the fixed default).
void SetScreenMetrics(const ScreenMetrics* metrics);

// A fixed size, for tests and for the default.
class FixedScreenMetrics : public ScreenMetrics {
public:
    explicit FixedScreenMetrics(ScreenSize size) : size_(size) {}
    ScreenSize screenSize() const override { return size_; }

private:
    ScreenSize size_;
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
