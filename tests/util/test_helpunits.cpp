// Pixel <-> help-unit conversions with a fixed screen, and the small integer
// helpers beside them.
#include "util/helpunits.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace qm;

namespace {

struct Rect {
    std::int32_t x, y, w, h;
    bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

Rect ToHelp(Rect r, ScreenSize s) {
    PixelsToHelpUnits(r.x, r.y, r.w, r.h, s);
    return r;
}
Rect ToPixels(Rect r, ScreenSize s) {
    HelpUnitsToPixels(r.x, r.y, r.w, r.h, s);
    return r;
}

// Restores the default provider even when a test fails half way.
class ScreenGuard {
public:
    explicit ScreenGuard(const ScreenMetrics* m) { SetScreenMetrics(m); }
    ~ScreenGuard() { SetScreenMetrics(nullptr); }
};

TEST(HelpUnits, WideScreenHalvesAndDoublesBack) {
    const ScreenSize s{2048, 1536};
    EXPECT_EQ(ToHelp({400, 300, 800, 600}, s), (Rect{200, 200, 400, 400}));
    EXPECT_EQ(ToPixels({200, 200, 400, 400}, s), (Rect{400, 300, 800, 600}));
}

TEST(HelpUnits, ScreenOf1024IsTheIdentity) {
    const ScreenSize s{1024, 1024};
    for (std::int32_t v : {0, 1, 7, 511, 512, 1023, 1024, 5000, -3}) {
        SCOPED_TRACE(v);
        EXPECT_EQ(ToHelp({v, v, v, v}, s), (Rect{v, v, v, v}));
        EXPECT_EQ(ToPixels({v, v, v, v}, s), (Rect{v, v, v, v}));
    }
}

TEST(HelpUnits, XAndWidthUseTheWidthYAndHeightUseTheHeight) {
    const ScreenSize s{2048, 512};
    EXPECT_EQ(ToHelp({100, 100, 100, 100}, s), (Rect{50, 200, 50, 200}));
    EXPECT_EQ(ToPixels({100, 100, 100, 100}, s), (Rect{200, 50, 200, 50}));
}

TEST(HelpUnits, ToHelpUnitsTruncatesTowardZero) {
    const ScreenSize s{1000, 3000};
    // 1024/1000 = 1.024 and 1024/3000 = 0.3413...
    EXPECT_EQ(ToHelp({1, 1, 999, 2999}, s), (Rect{1, 0, 1022, 1023}));
    EXPECT_EQ(ToHelp({-1, -4, -999, -2999}, s), (Rect{-1, -1, -1022, -1023}));
    // 800 x 600: 1024/800 = 1.28 and 1024/600 = 1.7066...
    EXPECT_EQ(ToHelp({10, 10, 799, 599}, {800, 600}), (Rect{12, 17, 1022, 1022}));
}

TEST(HelpUnits, ToPixelsRoundsHalvesToEven) {
    // 1536/1024 = 1.5, so odd values land exactly on a half.
    const ScreenSize s{1536, 1536};
    EXPECT_EQ(ToPixels({1, 3, 5, 7}, s), (Rect{2, 4, 8, 10}));
    EXPECT_EQ(ToPixels({-1, -3, -5, -7}, s), (Rect{-2, -4, -8, -10}));
    // Below and above a half round to the nearest.
    const ScreenSize t{1000, 600};
    // 1000*1/1024 = 0.977 -> 1; 600*1/1024 = 0.586 -> 1; 1000*3/1024 = 2.93 -> 3; 600*2/1024 = 1.17 -> 1
    EXPECT_EQ(ToPixels({1, 1, 3, 2}, t), (Rect{1, 1, 3, 1}));
    // 1000*512/1024 = 500 exactly; 600*1023/1024 = 599.41 -> 599
    EXPECT_EQ(ToPixels({512, 1023, 1024, 1024}, t), (Rect{500, 599, 1000, 600}));
}

TEST(HelpUnits, TheTwoConversionsAreNotExactInverses) {
    const ScreenSize s{1000, 1000};
    Rect r = ToHelp({333, 333, 333, 333}, s);  // 340.99 -> 340
    EXPECT_EQ(r, (Rect{340, 340, 340, 340}));
    EXPECT_EQ(ToPixels(r, s), (Rect{332, 332, 332, 332}));  // 332.03 -> 332
}

TEST(HelpUnits, ZeroOrNegativeScreenSizeLeavesValuesUnchanged) {
    const Rect r{400, 300, 800, 600};
    EXPECT_EQ(ToHelp(r, {0, 0}), r);
    EXPECT_EQ(ToPixels(r, {0, 0}), r);
    EXPECT_EQ(ToHelp(r, {-1024, -768}), r);
    EXPECT_EQ(ToPixels(r, {-1024, -768}), r);
    // Only the zero dimension is skipped; the other one still scales.
    EXPECT_EQ(ToHelp(r, {0, 1536}), (Rect{400, 200, 800, 400}));
    EXPECT_EQ(ToPixels(r, {2048, 0}), (Rect{800, 300, 1600, 600}));
}

TEST(HelpUnits, ValuesBeyondTheIntegerRangeSaturate) {
    // A window read from a damaged project file can hold any 32-bit value;
    // scaling it up must not overflow.
    constexpr std::int32_t kMax = INT32_MAX, kMin = INT32_MIN;
    EXPECT_EQ(ToHelp({kMax, kMin, kMax, kMin}, {800, 600}), (Rect{kMax, kMin, kMax, kMin}));
    EXPECT_EQ(ToPixels({kMax, kMin, kMax, kMin}, {4096, 4096}), (Rect{kMax, kMin, kMax, kMin}));
    // Products that would overflow 32 bits but whose result fits are exact.
    EXPECT_EQ(ToPixels({2000000, 0, 0, 0}, {2048, 1}), (Rect{4000000, 0, 0, 0}));
    // Scaling down stays exact at the ends of the range.
    EXPECT_EQ(ToHelp({kMax, kMin, 0, 0}, {2048, 2048}), (Rect{kMax / 2, kMin / 2, 0, 0}));
}

TEST(HelpUnits, InjectedScreenIsUsedByTheShortForms) {
    const FixedScreenMetrics wide({2048, 1536});
    {
        ScreenGuard guard(&wide);
        EXPECT_EQ(Screen().screenSize().width, 2048);
        EXPECT_EQ(Screen().screenSize().height, 1536);
        Rect r{400, 300, 800, 600};
        PixelsToHelpUnits(r.x, r.y, r.w, r.h);
        EXPECT_EQ(r, (Rect{200, 200, 400, 400}));
        HelpUnitsToPixels(r.x, r.y, r.w, r.h);
        EXPECT_EQ(r, (Rect{400, 300, 800, 600}));
    }
    // Back to the fixed default of 1024 x 768.
    EXPECT_EQ(Screen().screenSize().width, 1024);
    EXPECT_EQ(Screen().screenSize().height, 768);
    Rect r{100, 300, 100, 300};
    PixelsToHelpUnits(r.x, r.y, r.w, r.h);
    EXPECT_EQ(r, (Rect{100, 400, 100, 400}));
}

TEST(HelpUnits, InjectedZeroScreenIsGuarded) {
    const FixedScreenMetrics none({0, 0});
    ScreenGuard guard(&none);
    Rect r{10, 20, 30, 40};
    PixelsToHelpUnits(r.x, r.y, r.w, r.h);
    EXPECT_EQ(r, (Rect{10, 20, 30, 40}));
    HelpUnitsToPixels(r.x, r.y, r.w, r.h);
    EXPECT_EQ(r, (Rect{10, 20, 30, 40}));
}

TEST(IntegerHelpers, Table) {
    EXPECT_EQ(HiWordOf(0x12345678u), 0x1234);
    EXPECT_EQ(HiWordOf(0x0000FFFFu), 0);
    EXPECT_EQ(HiWordOf(0xFFFF0000u), 0xFFFF);
    EXPECT_EQ(MakeLongParam(0x5678, 0x1234), 0x12345678u);
    EXPECT_EQ(MakeLongParam(0xFFFF, 0), 0x0000FFFFu);
    EXPECT_EQ(MakeLongParam(0, 0xFFFF), 0xFFFF0000u);
    EXPECT_EQ(IntMax(3, 7), 7);
    EXPECT_EQ(IntMax(-1, -2), -1);
    EXPECT_EQ(IntMax(5, 5), 5);
    NoOperation();
}

}  // namespace

TEST(HelpUnits, PixelsPerInchComeFromTheInstalledScreen) {
    struct Row {
        const char* name;
        const ScreenMetrics* metrics;
        int expected;
    };
    const FixedScreenMetrics large({1024, 768}, 120);
    const FixedScreenMetrics broken({1024, 768}, 0);
    const FixedScreenMetrics plain({1024, 768});
    for (const Row& row : {Row{"none installed: 96", nullptr, 96}, Row{"a screen of 120", &large, 120},
                           Row{"no usable value: 96", &broken, 96}, Row{"a fixed size alone: 96", &plain, 96}}) {
        SCOPED_TRACE(row.name);
        ScreenGuard guard(row.metrics);
        EXPECT_EQ(ScreenPixelsPerInch(), row.expected);
        EXPECT_EQ(ScreenMetricsInstalled(), row.metrics != nullptr);
    }
    EXPECT_FALSE(ScreenMetricsInstalled());
}
