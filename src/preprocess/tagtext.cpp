#include "preprocess/tagtext.h"

#include <algorithm>
#include <array>
#include <bit>
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
// every text scanned and every tag converted, so it looks at eight bytes at
// a time: a byte of a word equals c when the word xor c in every byte has a
// zero byte.
bool HoldsRtf(std::string_view segment) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    const auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
    const auto holds = [&](const char* at) {
        std::uint64_t w;
        std::memcpy(&w, at, 8);
        return (hasZeroByte(w ^ (kOnes * '\\')) | hasZeroByte(w ^ (kOnes * '{')) | hasZeroByte(w ^ (kOnes * '}'))) != 0;
    };
    const char* p = segment.data();
    std::size_t n = segment.size();
    if (n >= 8) {
        for (; n >= 8; p += 8, n -= 8)
            if (holds(p)) return true;
        // The last bytes as the end of a word of the segment, read again.
        return n > 0 && holds(segment.data() + segment.size() - 8);
    }
    for (; n > 0; ++p, --n)
        if (*p == '\\' || *p == '{' || *p == '}') return true;
    return false;
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
// Up to eight characters after the "<" of a stretch, upper case, the first
// in the lowest byte; what the stretch lacks is zero.
std::uint64_t HeadWord(std::string_view afterLt) {
    std::uint64_t w = 0;
    const std::size_t n = std::min<std::size_t>(afterLt.size(), 8);
    for (std::size_t i = 0; i < n; ++i)
        w |= std::uint64_t{static_cast<unsigned char>(AsciiUpper(afterLt[i]))} << (8 * i);
    return w;
}

// HeadWord(text.substr(from, size)), eight bytes at a time where the text
// has them: "a".."z" are found and flipped in every byte at once.
std::uint64_t HeadWordAt(std::string_view text, std::size_t from, std::size_t size) {
    if constexpr (std::endian::native != std::endian::little) return HeadWord(text.substr(from, size));
    if (from + 8 > text.size()) return HeadWord(text.substr(from, size));
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    std::uint64_t x;
    std::memcpy(&x, text.data() + from, 8);
    if (size < 8) x &= (std::uint64_t{1} << (8 * size)) - 1;
    const std::uint64_t h = x & (kOnes * 0x7F);
    const std::uint64_t lower = (h + kOnes * (0x80 - 'a')) & ~(h + kOnes * (0x7F - 'z')) & ~x & (kOnes * 0x80);
    return x ^ (lower >> 2);
}

// A pattern as the head words of the stretches that start with it show it.
struct HeadPattern {
    explicit HeadPattern(std::string_view pattern)
        : word(HeadWord(pattern.substr(1))),
          mask(pattern.size() > 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * (pattern.size() - 1))) - 1),
          whole(pattern.size() <= 9) {}
    std::uint64_t word, mask;
    bool whole;  // the head word holds all of the pattern after its "<"
};

// `heads`, when given, holds the head word of each "<" of a stretch without
// RTF, so that such a stretch is tried without reading the text.
template <typename Pos, typename Hit>
bool MarkGroup(std::string_view text, const Pos* lts, const char* rtf, const std::uint64_t* heads, std::size_t count,
               std::size_t gt, std::string_view pattern, const HeadPattern* head, Hit&& hit) {
    std::size_t qualifying = 0;  // the number of "<" that qualify
    for (std::size_t k = count; k-- > 0;) {
        const std::size_t segEnd = (k + 1 < count) ? lts[k + 1] : gt + 1;
        if (heads && rtf[k] == 0) {
            // Such a stretch holds the pattern only at its start.
            if (segEnd - lts[k] < pattern.size() || (heads[k] & head->mask) != head->word) continue;
            if (head->whole) {
                qualifying = k + 1;
                break;
            }
        }
        const std::string_view segment = text.substr(lts[k], segEnd - lts[k]);
        if (StrippedContains(segment, pattern, rtf ? rtf[k] != 0 : HoldsRtf(segment))) {
            qualifying = k + 1;
            break;
        }
    }
    // A "<" alone in its group qualifies only through its own stretch.
    const bool plain =
        count == 1 && qualifying == 1 && !(rtf ? rtf[0] != 0 : HoldsRtf(text.substr(lts[0], gt + 1 - lts[0])));
    for (std::size_t k = 0; k < qualifying; ++k)
        if (!hit(TTagSpan{lts[k], gt + 1, plain})) return false;
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
        if (!MarkGroup(text, lts.data(), nullptr, nullptr, lts.size(), gt, pattern, nullptr, hit)) return;
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
    // A tag is short: a plain loop beats a library search per quote.
    std::size_t q1 = 0;
    while (q1 < s.size() && s[q1] != '"') ++q1;
    if (q1 == s.size()) return {};
    std::size_t q2 = q1 + 1;
    while (q2 < s.size() && s[q2] != '"') ++q2;
    if (q2 == s.size()) return {};
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
        headSet_.set();
        return;
    }
    std::size_t lt = text.find('<');
    while (lt != std::string_view::npos) {
        const std::size_t gt = text.find('>', lt);
        if (gt == std::string_view::npos) break;
        // Each "<" of the group up to its ">"; the search for the next one
        // runs on to the next group's first.
        const std::size_t first = lts_.size();
        std::size_t next = lt;
        do {
            const std::size_t at = next;
            next = text.find('<', at + 1);
            const std::size_t segEnd = next < gt ? next : gt + 1;
            const std::string_view segment = text.substr(at, segEnd - at);
            const bool rtf = HoldsRtf(segment);
            lts_.push_back(static_cast<std::uint32_t>(at));
            gts_.push_back(static_cast<std::uint32_t>(gt));
            rtf_.push_back(rtf ? 1 : 0);
            std::uint64_t head = 0;
            if (!rtf) {
                // The piece is its own stripped form, whose only "<" is its first.
                head = HeadWordAt(text, at + 1, segment.size() - 1);
                if (segment.size() > 1) headSet_.set(head & 0xFF);
            } else {
                // Stripping can make a "<" of a "\'3c" as well.
                const std::string plain = StripRtf(segment);
                for (std::size_t i = 0; i + 1 < plain.size(); ++i)
                    if (plain[i] == '<') headSet_.set(static_cast<unsigned char>(AsciiUpper(plain[i + 1])));
            }
            heads_.push_back(head);
        } while (next < gt);
        if (lts_.size() - first == 1 && rtf_.back() == 0)
            ++headCount_[heads_.back() & 0xFF];
        else
            unsure_ += lts_.size() - first;
        lt = next;
    }
}

bool TTagGroups::MayHold(std::string_view name) const {
    return name.empty() || headSet_.test(static_cast<unsigned char>(AsciiUpper(name[0])));
}

std::vector<TTagSpan> ScanTags(const TTagGroups& groups, std::string_view name) {
    if (groups.wide_) return ScanTags(groups.text_, name);
    std::vector<TTagSpan> hits;
    if (!groups.MayHold(name)) return hits;
    // A "<" alone in its group is a tag only when the name follows it.
    hits.reserve(groups.headCount_[static_cast<unsigned char>(AsciiUpper(name.empty() ? '<' : name[0]))] +
                 groups.unsure_);
    const std::string pattern = TagPattern(name);
    const HeadPattern head(pattern);
    const std::size_t n = groups.lts_.size();
    // A group is a run of "<" that share their ">".
    for (std::size_t first = 0, end = 0; first < n; first = end) {
        const std::uint32_t gt = groups.gts_[first];
        for (end = first + 1; end < n && groups.gts_[end] == gt;) ++end;
        MarkGroup(groups.text_, groups.lts_.data() + first, groups.rtf_.data() + first, groups.heads_.data() + first,
                  end - first, gt, pattern, &head, [&](TTagSpan span) {
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
