// Feeds arbitrary bytes to the compiler report reader: the rows never hold a
// tab or a CR LF, never come from past the size limit or a NUL, and the error
// test never crashes or reads out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "preprocess/compilerreport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view report(reinterpret_cast<const char*>(data), size);
    const qm::StringList lines = qm::CompilerReportLines(report);
    std::size_t used = 0;
    for (const std::string& line : lines) {
        if (line.find('\t') != std::string::npos || line.find("\r\n") != std::string::npos) std::abort();
        if (line.find('\0') != std::string::npos) std::abort();
        used += line.size();
    }
    // Widened tabs aside, the rows are made of the report's own bytes.
    if (used > 3 * qm::kMaxCompilerReportBytes) std::abort();
    const bool errors = qm::CompilerReportHasErrors(report);
    // An error must be on a line of the report as read: some "HC" is there.
    if (errors && report.find("HC") == std::string_view::npos) std::abort();
    return 0;
}
