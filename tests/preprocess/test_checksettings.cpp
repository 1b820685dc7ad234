// The build takes its check switches and ranks from the program options.
#include "preprocess/checksettings.h"

#include <gtest/gtest.h>

#include "model/options.h"

using namespace qm;

TEST(CheckSettings, TakesEverySwitchAndRankFromTheOptions) {
    TOptions options;
    options.SetDefaults();
    // A pattern no default has: odd checks off, checks 2, 5 and 9 warnings.
    for (int n = 1; n <= 9; ++n) {
        options.SetError(n, n % 2 == 0);
        options.SetErrorType(n, (n == 2 || n == 5 || n == 9) ? 1 : 0);
    }
    const TCheckSettings c = CheckSettingsFrom(options);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(c.GetError(n), n % 2 == 0) << "check " << n;
        EXPECT_EQ(c.GetErrorType(n), (n == 2 || n == 5 || n == 9) ? 1 : 0) << "check " << n;
    }
    EXPECT_FALSE(c.GetError(0));
    EXPECT_FALSE(c.GetError(10));
}
