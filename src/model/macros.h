#pragma once
// The catalogue of help macros read from "macros.cfg" beside the program.
// Each line of the file is one macro:
//   help context, "," syntax with placeholders %1..%6, "|" parameter count
//   (one digit), then "," and a name for each parameter,
// e.g. 12,Jump(%1, %2)|2,file,topic. The placeholders in the syntax are
// replaced by the parameter names.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr int kMaxMacroParams = 6;
inline constexpr const char* kMacrosFileName = "macros.cfg";

struct TMacroInfo {
    std::string Name;
    std::string Syntax;
    // Parameter k (1-based) is Params[k - 1].
    std::array<std::string, kMaxMacroParams> Params;
    std::int32_t HelpContext = 0;
    std::int32_t ParamCount = 0;

    // Parameter k, 1 to 6; empty outside that range.
    const std::string& Param(int k) const;
    bool operator==(const TMacroInfo&) const = default;
};

// Parses one catalogue line. False, with `out` untouched, for a blank line
// and for a malformed one: no "," before the first "(" or no "|" after it, a
// help context that is not a number, or a parameter count that is not a
// digit from 0 to 6.
bool ParseMacroLine(std::string_view line, TMacroInfo& out);

class TMacros {
public:
    // The macro catalogue is a small file shipped with the program; a larger
    // one is not read.
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{4} << 20;

    // Appends an empty record and returns it (valid until the next Add or Clear).
    TMacroInfo& Add();
    // Record i, 0-based; nullptr when out of range.
    const TMacroInfo* GetMacro(int i) const;
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }

    // Appends one record per well-formed line; blank and malformed lines are
    // skipped. Returns the number of lines skipped for being malformed.
    int LoadFromText(std::string_view text);
    // Clears the catalogue and reads the file; a missing or unreadable file
    // leaves it empty. Nothing is reported.
    void LoadFromFile(std::string_view path);

private:
    std::vector<TMacroInfo> items_;
};

}  // namespace qm
