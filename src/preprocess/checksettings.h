#pragma once
// The nine build checks: whether each runs and whether a finding counts as an
// error (0) or a warning (1). The program options fill this in; by default
// every check runs and counts as an error.
#include <array>
#include <cstdint>

#include "model/options.h"

namespace qm {

struct TCheckSettings {
    static constexpr int kChecks = 9;

    std::array<bool, kChecks> Error{true, true, true, true, true, true, true, true, true};
    std::array<std::uint8_t, kChecks> ErrorType{};

    // Check n, 1..9; anything else is off.
    bool GetError(int n) const { return n >= 1 && n <= kChecks && Error[n - 1]; }
    std::uint8_t GetErrorType(int n) const { return n >= 1 && n <= kChecks ? ErrorType[n - 1] : 0; }
    void SetError(int n, bool on) {
        if (n >= 1 && n <= kChecks) Error[n - 1] = on;
    }
    void SetErrorType(int n, std::uint8_t kind) {
        if (n >= 1 && n <= kChecks) ErrorType[n - 1] = kind;
    }
};

// The switches and ranks as the program options hold them.
inline TCheckSettings CheckSettingsFrom(const TOptions& options) {
    TCheckSettings c;
    for (int n = 1; n <= TCheckSettings::kChecks; ++n) {
        c.SetError(n, options.GetError(n));
        c.SetErrorType(n, options.GetErrorType(n));
    }
    return c;
}

}  // namespace qm
