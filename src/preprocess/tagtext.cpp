#include "preprocess/tagtext.h"

#include <algorithm>
#include <cstring>

#include "util/qorstring.h"

namespace qm {

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool IsControlWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '\'' || c == '*';
}

// Whether stripping RTF could change `segment`.
bool HoldsRtf(std::string_view segment) {
    return std::any_of(segment.begin(), segment.end(), [](char c) { return c == '\\' || c == '{' || c == '}'; });
}

// True when the RTF-free, upper-cased form of `segment` contains `pattern`
// (already upper case). The segment's only "<" is its first character;
// `holdsRtf` is HoldsRtf(segment).
bool StrippedContains(std::string_view segment, std::string_view pattern, bool holdsRtf) {
    // Most tags hold no RTF: the segment is its own stripped form, and as the
    // pattern starts with the one "<", it can only stand at the start.
    if (!holdsRtf) {
        if (segment.size() < pattern.size()) return false;
        for (std::size_t i = 0; i < pattern.size(); ++i)
            if (AsciiUpper(segment[i]) != pattern[i]) return false;
        return true;
    }
    // Removing RTF only drops characters, unless a "\'hh" escape makes one:
    // without such an escape, a segment that does not hold the pattern's
    // characters in order cannot hold the pattern once stripped.
    if (segment.find("\\'") == std::string_view::npos) {
        std::size_t k = 0;
        for (char c : segment)
            if (k < pattern.size() && AsciiUpper(c) == pattern[k]) ++k;
        if (k < pattern.size()) return false;
    }
    const std::string plain = AsciiUpperStr(StripRtf(segment));
    return plain.find(pattern) != std::string::npos;
}

std::string TagPattern(std::string_view name) {
    std::string pattern(1, '<');
    pattern += AsciiUpperStr(name);
    return pattern;
}

// Looks at the group of "<" that share the ">" after `from` (0-based) and
// calls `hit` for each qualifying one, leftmost first. Returns the position
// after that ">", or npos when no ">" follows (no tag can start there).
//
// Stripping never joins text across a "<" (the "<" always survives and the
// pattern holds no other "<"), so the piece from a "<" qualifies exactly when
// its own stretch up to the next "<" does, or the piece of that next "<" does.
// Working right to left keeps the whole scan linear.
// The group of "<" that share the first ">" after `from`: appends their
// positions to `lts` and returns the ">"'s, or npos when there is none.
std::size_t FindGroup(std::string_view text, std::size_t from, std::vector<std::size_t>& lts) {
    const std::size_t lt = text.find('<', from);
    if (lt == std::string_view::npos) return std::string_view::npos;
    const std::size_t gt = text.find('>', lt);
    if (gt == std::string_view::npos) return std::string_view::npos;
    // Only the "<" before the ">": the stretch after it is the next group's.
    const std::string_view group = text.substr(0, gt);
    for (std::size_t p = lt; p != std::string_view::npos; p = group.find('<', p + 1)) lts.push_back(p);
    return gt;
}

// Calls `hit` for each qualifying "<" of the group `lts` (ending at `gt`),
// leftmost first; false when `hit` asked to stop.
template <typename Hit>
// `rtf`, when given, holds HoldsRtf of each "<"'s segment.
bool MarkGroup(std::string_view text, const std::size_t* lts, const char* rtf, std::size_t count, std::size_t gt,
               std::string_view pattern, Hit&& hit, std::vector<char>& ok) {
    ok.assign(count, 0);
    bool later = false;
    for (std::size_t k = count; k-- > 0;) {
        if (later) {
            ok[k] = 1;
            continue;
        }
        const std::size_t segEnd = (k + 1 < count) ? lts[k + 1] : gt + 1;
        const std::string_view segment = text.substr(lts[k], segEnd - lts[k]);
        later = StrippedContains(segment, pattern, rtf ? rtf[k] != 0 : HoldsRtf(segment));
        ok[k] = later ? 1 : 0;
    }
    for (std::size_t k = 0; k < count; ++k)
        if (ok[k] && !hit(TTagSpan{lts[k], gt + 1})) return false;
    return true;
}

template <typename Hit>
std::size_t ScanGroup(std::string_view text, std::size_t from, std::string_view pattern, Hit&& hit,
                      std::vector<std::size_t>& lts, std::vector<char>& ok) {
    lts.clear();
    const std::size_t gt = FindGroup(text, from, lts);
    if (gt == std::string_view::npos) return std::string_view::npos;
    if (!MarkGroup(text, lts.data(), nullptr, lts.size(), gt, pattern, hit, ok)) return std::string_view::npos;
    return gt + 1;
}

}  // namespace

std::string StripRtf(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = s[i];
        if (c == '{' || c == '}') {
            ++i;
            continue;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < n) {
            const char d = s[i + 1];
            if (d == '\\' || d == '{' || d == '}') {
                out += d;
                i += 2;
                continue;
            }
            if (d == '\'' && i + 3 < n && IsHexDigit(s[i + 2]) && IsHexDigit(s[i + 3])) {
                out += static_cast<char>(HexValue(s[i + 2]) * 16 + HexValue(s[i + 3]));
                i += 4;
                continue;
            }
        }
        // Any other control word goes with its run and one ending blank.
        ++i;
        while (i < n && IsControlWordChar(s[i])) ++i;
        if (i < n && s[i] == ' ') ++i;
    }
    return out;
}

std::string FirstQuoted(std::string_view s) {
    const std::size_t q1 = s.find('"');
    if (q1 == std::string_view::npos) return {};
    const std::size_t q2 = s.find('"', q1 + 1);
    if (q2 == std::string_view::npos) return {};
    return std::string(s.substr(q1 + 1, q2 - q1 - 1));
}

int FindTag(std::string_view text, std::string_view name, int start, std::string& tag) {
    tag.clear();
    if (start < 1) start = 1;
    const std::string pattern = TagPattern(name);
    std::vector<std::size_t> lts;
    std::vector<char> ok;
    std::size_t from = static_cast<std::size_t>(start - 1);
    int found = -1;
    while (from < text.size() && found < 0) {
        from = ScanGroup(
            text, from, pattern,
            [&](TTagSpan span) {
                tag.assign(text.substr(span.begin, span.end - span.begin));
                found = static_cast<int>(span.begin) + 1;
                return false;  // the leftmost hit is enough
            },
            lts, ok);
    }
    return found;
}

std::vector<TTagSpan> ScanTags(std::string_view text, std::string_view name) {
    const std::string pattern = TagPattern(name);
    std::vector<TTagSpan> hits;
    std::vector<std::size_t> lts;
    std::vector<char> ok;
    std::size_t from = 0;
    while (from < text.size()) {
        from = ScanGroup(
            text, from, pattern,
            [&](TTagSpan span) {
                hits.push_back(span);
                return true;
            },
            lts, ok);
    }
    return hits;
}

TTagGroups::TTagGroups(std::string_view text) : text_(text) {
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t first = lts_.size();
        const std::size_t gt = FindGroup(text, from, lts_);
        if (gt == std::string_view::npos) break;
        for (std::size_t k = first; k < lts_.size(); ++k) {
            const std::size_t segEnd = k + 1 < lts_.size() ? lts_[k + 1] : gt + 1;
            rtf_.push_back(HoldsRtf(text.substr(lts_[k], segEnd - lts_[k])) ? 1 : 0);
        }
        groups_.push_back({lts_.size(), gt});
        from = gt + 1;
    }
}

std::vector<TTagSpan> ScanTags(const TTagGroups& groups, std::string_view name) {
    const std::string pattern = TagPattern(name);
    std::vector<TTagSpan> hits;
    std::vector<char> ok;
    std::size_t first = 0;
    for (const auto& [end, gt] : groups.groups_) {
        MarkGroup(
            groups.text_, groups.lts_.data() + first, groups.rtf_.data() + first, end - first, gt, pattern,
            [&](TTagSpan span) {
                hits.push_back(span);
                return true;
            },
            ok);
        first = end;
    }
    return hits;
}

std::string EscapeRtf(std::string_view s) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (b >= 0x80) {
            out += "\\'";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

void ReplaceAllFrom(std::string& s, std::string_view oldText, std::string_view newText, std::size_t from) {
    if (oldText.empty() || from >= s.size()) return;
    std::size_t p = s.find(oldText, from);
    if (p == std::string::npos) return;
    std::string out;
    // The room the caller reserved stays for what it adds next.
    out.reserve(std::max(s.size(), s.capacity()));
    out.append(s, 0, p);
    std::size_t done = p;
    while (p != std::string::npos) {
        out.append(s, done, p - done);
        out.append(newText);
        done = p + oldText.size();
        p = s.find(oldText, done);
    }
    out.append(s, done, std::string::npos);
    s.swap(out);
}

}  // namespace qm
