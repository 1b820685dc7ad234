#pragma once
// Line-oriented text: readers take CR, LF and CR LF; writers use CR LF.
#include <string>
#include <string_view>

#include "util/qorstring.h"

namespace qm {

inline constexpr std::string_view kCrLf = "\r\n";

// Splits text into lines at CR LF, CR or LF. A final line break does not add an
// empty last line.
StringList SplitLines(std::string_view text);
// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const StringList& lines);

}  // namespace qm
