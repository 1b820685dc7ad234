#include "preprocess/tagtext.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

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

// Whether stripping RTF could change `segment`. Called for every piece of
// every text scanned, so it looks each byte up without a branch.
bool HoldsRtf(std::string_view segment) {
    static constexpr auto kCodes = [] {
        std::array<unsigned char, 256> t{};
        t[static_cast<unsigned char>('\\')] = t[static_cast<unsigned char>('{')] = t[static_cast<unsigned char>('}')] =
            1;
        return t;
    }();
    unsigned any = 0;
    for (const char c : segment) any |= kCodes[static_cast<unsigned char>(c)];
    return any != 0;
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

// The tags of a text stand in groups: each run of "<" up to the first ">"
// after them, which they all share. A "<" qualifies as a tag named by the
// pattern when the RTF-free, upper-cased piece from it to that ">" contains
// the pattern. Stripping never joins text across a "<" (the "<" always
// survives and the pattern holds no other "<"), so the piece from a "<"
// qualifies exactly when its own stretch up to the next "<" does, or the
// piece of that next "<" does: every "<" up to the last whose stretch holds
// the pattern qualifies. Working right to left keeps the whole scan linear.

// The group of "<" that starts at the "<" at `lt`: appends the positions of
// its "<" to `lts`, sets `next` to the first "<" after its ">" (npos when
// there is none) and returns the ">"'s position, or npos when no ">" follows.
std::size_t FindGroup(std::string_view text, std::size_t lt, std::vector<std::size_t>& lts, std::size_t& next) {
    const std::size_t gt = text.find('>', lt);
    if (gt == std::string_view::npos) return std::string_view::npos;
    // The search for the next "<" of the group runs on to the next group's.
    std::size_t p = lt;
    do {
        lts.push_back(p);
        p = text.find('<', p + 1);
    } while (p < gt);
    next = p;
    return gt;
}

// Calls `hit` for each qualifying "<" of the group `lts` (ending at `gt`),
// leftmost first; false when `hit` asked to stop. `rtf`, when given, holds
// HoldsRtf of each "<"'s stretch.
template <typename Pos, typename Hit>
bool MarkGroup(std::string_view text, const Pos* lts, const char* rtf, std::size_t count, std::size_t gt,
               std::string_view pattern, Hit&& hit) {
    std::size_t qualifying = 0;  // the number of "<" that qualify
    for (std::size_t k = count; k-- > 0;) {
        const std::size_t segEnd = (k + 1 < count) ? lts[k + 1] : gt + 1;
        const std::string_view segment = text.substr(lts[k], segEnd - lts[k]);
        if (StrippedContains(segment, pattern, rtf ? rtf[k] != 0 : HoldsRtf(segment))) {
            qualifying = k + 1;
            break;
        }
    }
    for (std::size_t k = 0; k < qualifying; ++k)
        if (!hit(TTagSpan{lts[k], gt + 1})) return false;
    return true;
}

// Calls `hit` for each tag of the pattern from the "<" at `lt` on, in order,
// until it asks to stop.
template <typename Hit>
void ScanFrom(std::string_view text, std::size_t lt, std::string_view pattern, Hit&& hit) {
    std::vector<std::size_t> lts;
    while (lt != std::string_view::npos) {
        lts.clear();
        std::size_t next = std::string_view::npos;
        const std::size_t gt = FindGroup(text, lt, lts, next);
        if (gt == std::string_view::npos) return;
        if (!MarkGroup(text, lts.data(), nullptr, lts.size(), gt, pattern, hit)) return;
        lt = next;
    }
}

}  // namespace

std::string StripRtf(std::string_view s) {
    std::string out;
    StripRtfInto(s, out);
    return out;
}

void StripRtfInto(std::string_view s, std::string& out) {
    out.clear();
    // Text without codes is its own stripped form.
    if (!HoldsRtf(s)) {
        out.assign(s);
        return;
    }
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
}

std::string_view StripRtfView(std::string_view s, std::string& buffer) {
    if (!HoldsRtf(s)) return s;
    StripRtfInto(s, buffer);
    return buffer;
}

std::string FirstQuoted(std::string_view s) { return std::string(FirstQuotedView(s)); }

std::string_view FirstQuotedView(std::string_view s) {
    const std::size_t q1 = s.find('"');
    if (q1 == std::string_view::npos) return {};
    const std::size_t q2 = s.find('"', q1 + 1);
    if (q2 == std::string_view::npos) return {};
    return s.substr(q1 + 1, q2 - q1 - 1);
}

int FindTag(std::string_view text, std::string_view name, int start, std::string& tag) {
    tag.clear();
    if (start < 1) start = 1;
    const std::size_t from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return -1;
    int found = -1;
    ScanFrom(text, text.find('<', from), TagPattern(name), [&](TTagSpan span) {
        tag.assign(text.substr(span.begin, span.end - span.begin));
        found = static_cast<int>(span.begin) + 1;
        return false;  // the leftmost hit is enough
    });
    return found;
}

std::vector<TTagSpan> ScanTags(std::string_view text, std::string_view name) {
    std::vector<TTagSpan> hits;
    ScanFrom(text, text.find('<'), TagPattern(name), [&](TTagSpan span) {
        hits.push_back(span);
        return true;
    });
    return hits;
}

TTagGroups::TTagGroups(std::string_view text) : text_(text) {
    // Positions are kept in 32 bits (a module's text is far smaller); a
    // longer text is scanned for each name instead.
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        wide_ = true;
        heads_.set();
        return;
    }
    std::vector<std::size_t> group;
    std::size_t lt = text.find('<');
    while (lt != std::string_view::npos) {
        group.clear();
        std::size_t next = std::string_view::npos;
        const std::size_t gt = FindGroup(text, lt, group, next);
        if (gt == std::string_view::npos) break;
        for (std::size_t k = 0; k < group.size(); ++k) {
            const std::size_t segEnd = k + 1 < group.size() ? group[k + 1] : gt + 1;
            const std::string_view segment = text.substr(group[k], segEnd - group[k]);
            const bool rtf = HoldsRtf(segment);
            lts_.push_back(static_cast<std::uint32_t>(group[k]));
            gts_.push_back(static_cast<std::uint32_t>(gt));
            rtf_.push_back(rtf ? 1 : 0);
            if (group.size() > 1 || rtf) ++unsure_;
            if (!rtf) {
                // The piece is its own stripped form, whose only "<" is its first.
                if (segment.size() > 1) {
                    const auto head = static_cast<unsigned char>(AsciiUpper(segment[1]));
                    heads_.set(head);
                    if (group.size() == 1) ++headCount_[head];
                }
                continue;
            }
            // Stripping can make a "<" of a "\'3c" as well.
            const std::string plain = StripRtf(segment);
            for (std::size_t i = 0; i + 1 < plain.size(); ++i)
                if (plain[i] == '<') heads_.set(static_cast<unsigned char>(AsciiUpper(plain[i + 1])));
        }
        lt = next;
    }
}

bool TTagGroups::MayHold(std::string_view name) const {
    return name.empty() || heads_.test(static_cast<unsigned char>(AsciiUpper(name[0])));
}

std::vector<TTagSpan> ScanTags(const TTagGroups& groups, std::string_view name) {
    if (groups.wide_) return ScanTags(groups.text_, name);
    std::vector<TTagSpan> hits;
    if (!groups.MayHold(name)) return hits;
    // A "<" alone in its group is a tag only when the name follows it.
    hits.reserve(groups.headCount_[static_cast<unsigned char>(AsciiUpper(name.empty() ? '<' : name[0]))] +
                 groups.unsure_);
    const std::string pattern = TagPattern(name);
    const std::size_t n = groups.lts_.size();
    // A group is a run of "<" that share their ">".
    for (std::size_t first = 0, end = 0; first < n; first = end) {
        const std::uint32_t gt = groups.gts_[first];
        for (end = first + 1; end < n && groups.gts_[end] == gt;) ++end;
        MarkGroup(groups.text_, groups.lts_.data() + first, groups.rtf_.data() + first, end - first, gt, pattern,
                  [&](TTagSpan span) {
                      hits.push_back(span);
                      return true;
                  });
    }
    return hits;
}

std::string EscapeRtf(std::string_view s) {
    std::string out;
    AppendEscapedRtf(out, s);
    return out;
}

void AppendEscapedRtf(std::string& out, std::string_view s) {
    static const char kHex[] = "0123456789abcdef";
    std::size_t done = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const auto b = static_cast<unsigned char>(c);
        if (c != '\\' && c != '{' && c != '}' && b < 0x80) continue;
        out.append(s, done, i - done);
        done = i + 1;
        if (b >= 0x80) {
            out += "\\'";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += '\\';
            out += c;
        }
    }
    out.append(s, done, std::string_view::npos);
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
