#pragma once
// The help compiler's report (hcwreport.log in the work folder): its rows as
// the messages pane shows them, and whether it tells of an error.
#include <cstddef>
#include <string>
#include <string_view>

#include "util/qorstring.h"

namespace qm {

// The most of a report that is read and shown; a longer one is cut there.
inline constexpr std::size_t kMaxCompilerReportBytes = 4u << 20;

// The rows of the compiler's report: the lines ended by CR LF (text after the
// last CR LF is not a line), each tab shown as three blanks. The report ends
// at its first NUL byte and after kMaxCompilerReportBytes.
StringList CompilerReportLines(std::string_view report);

// True when a line of the report (any line end) is an error of the compiler:
// its message number, "HC" and four digits followed by a colon, is HC5xxx,
// or the number is followed by "Error:" (any case). Warnings ("HC3025:
// Warning: ...") and lines without a message number are no errors. The same
// limits as CompilerReportLines apply.
bool CompilerReportHasErrors(std::string_view report);

// Reads the report from `workFolder` (with or without its trailing
// separator): at most kMaxCompilerReportBytes, and never through a symbolic
// link planted in its place. Raises EFileAccess when there is no report.
std::string ReadCompilerReport(std::string_view workFolder);

}  // namespace qm
