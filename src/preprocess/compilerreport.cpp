#include "preprocess/compilerreport.h"

#include "util/fileio.h"

namespace qm {

namespace {

// The part of a report that counts: up to its first NUL, within the limit.
std::string_view Usable(std::string_view report) {
    const std::size_t nul = report.find('\0');
    if (nul != std::string_view::npos) report = report.substr(0, nul);
    if (report.size() > kMaxCompilerReportBytes) report = report.substr(0, kMaxCompilerReportBytes);
    return report;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

// True when the message number in `line` ("HC" + four digits + ":", standing
// on its own) marks an error.
bool IsErrorLine(std::string_view line) {
    for (std::size_t at = line.find("HC"); at != std::string_view::npos; at = line.find("HC", at + 1)) {
        if (at > 0 && IsWordChar(line[at - 1])) continue;
        if (line.size() < at + 7) break;
        const std::string_view digits = line.substr(at + 2, 4);
        bool number = line[at + 6] == ':';
        for (char c : digits) number = number && IsDigit(c);
        if (!number) continue;
        if (digits[0] == '5') return true;
        std::size_t rest = at + 7;
        while (rest < line.size() && (line[rest] == ' ' || line[rest] == '\t')) ++rest;
        return SameText(line.substr(rest, 6), "Error:");
    }
    return false;
}

}  // namespace

StringList CompilerReportLines(std::string_view report) {
    report = Usable(report);
    StringList lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = report.find("\r\n", from);
        if (end == std::string_view::npos) break;  // text after the last CR LF is no line
        std::string line(report.substr(from, end - from));
        ReplaceString(line, "\t", "   ", true);
        lines.push_back(std::move(line));
        from = end + 2;
    }
    return lines;
}

bool CompilerReportHasErrors(std::string_view report) {
    report = Usable(report);
    std::size_t from = 0;
    while (from < report.size()) {
        std::size_t end = report.find_first_of("\r\n", from);
        if (end == std::string_view::npos) end = report.size();
        if (IsErrorLine(report.substr(from, end - from))) return true;
        from = end + 1;
    }
    return false;
}

std::string ReadCompilerReport(std::string_view workFolder) {
    return ReadWholeFileNoFollow(IncludeBackslash(workFolder) + "hcwreport.log", kMaxCompilerReportBytes);
}

}  // namespace qm
