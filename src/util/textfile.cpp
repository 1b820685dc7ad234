#include "util/textfile.h"

namespace qm {

StringList SplitLines(std::string_view text) {
    StringList lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinLinesCrLf(const StringList& lines) {
    std::string out;
    std::size_t total = 0;
    for (const std::string& l : lines) total += l.size() + 2;
    out.reserve(total);
    for (const std::string& l : lines) {
        out += l;
        out += kCrLf;
    }
    return out;
}

}  // namespace qm
