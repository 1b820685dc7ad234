#include "richtext/textsearch.h"

#include <algorithm>
#include <iterator>

namespace qm {

bool IsSearchWordChar(char16_t c) {
    if (c < 0x80) return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
    // Latin-1: the letters from 0xC0 on, without the two signs among them.
    if (c < 0x100) return c >= 0xC0 && c != 0xD7 && c != 0xF7;
    // Latin Extended-A and -B (the Windows-1252 letters OE, S, Z, Y and f
    // with their accents are here) and the IPA letters.
    if (c <= 0x2AF) return true;
    // Spacing modifier letters (the circumflex 0x2C6 of Windows-1252), not
    // the modifier symbols such as the small tilde 0x2DC.
    if (c <= 0x2FF)
        return (c <= 0x2C1) || (c >= 0x2C6 && c <= 0x2D1) || (c >= 0x2E0 && c <= 0x2E4) || c == 0x2EC || c == 0x2EE;
    // Greek letters.
    if (c >= 0x370 && c <= 0x3FF)
        return !(c == 0x375 || c == 0x37E || c == 0x384 || c == 0x385 || c == 0x387 || c == 0x3F6 ||
                 (c >= 0x378 && c <= 0x379) || (c >= 0x380 && c <= 0x383) || c == 0x38B || c == 0x38D || c == 0x3A2);
    // Cyrillic letters, without the thousands sign and the combining marks.
    if (c >= 0x400 && c <= 0x52F) return c <= 0x481 || c >= 0x48A;
    return false;
}

std::u16string FoldSearchText(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = FoldSearchChar(c);
    return out;
}

namespace {

bool WholeWordAround(std::u16string_view text, std::size_t pos, std::size_t length, char16_t before) {
    if (before != 0 && IsSearchWordChar(before)) return false;
    const std::size_t after = pos + length;
    return after >= text.size() || !IsSearchWordChar(text[after]);
}

}  // namespace

int FindInText(std::u16string_view text, std::u16string_view needle, int start, int length, int options) {
    if (needle.empty()) return -1;
    const long long len = static_cast<long long>(text.size());
    const bool down = options & kSearchDown;
    long long end = length < 0 ? (down ? len : 0) : static_cast<long long>(start) + length;
    // Upward, the search runs from start back to the range's other end; when
    // that end lies after start, back to the beginning, as the platform does.
    if (!down && end > start) end = 0;
    const long long lo = std::clamp(std::min<long long>(start, end), 0LL, len);
    const long long hi = std::clamp(std::max<long long>(start, end), 0LL, len);
    const long long n = static_cast<long long>(needle.size());
    if (hi - lo < n) return -1;
    const bool matchCase = options & kSearchMatchCase;
    const bool wholeWord = options & kSearchWholeWord;
    auto matchAt = [&](long long p) {
        for (long long k = 0; k < n; ++k) {
            const char16_t a = text[std::size_t(p + k)], b = needle[std::size_t(k)];
            if (matchCase ? a != b : FoldSearchChar(a) != FoldSearchChar(b)) return false;
        }
        return !wholeWord ||
               WholeWordAround(text, std::size_t(p), std::size_t(n), p > 0 ? text[std::size_t(p - 1)] : 0);
    };
    if (down) {
        for (long long p = lo; p + n <= hi; ++p)
            if (matchAt(p)) return static_cast<int>(p);
    } else {
        for (long long p = hi - n; p >= lo; --p)
            if (matchAt(p)) return static_cast<int>(p);
    }
    return -1;
}

TTextMatcher::TTextMatcher(std::u16string_view needle, int options)
    : key_(SearchNeedsFolding(options) ? FoldSearchText(needle) : std::u16string(needle)),
      wholeWord_(options & kSearchWholeWord) {}

std::size_t TTextMatcher::next(std::u16string_view text, std::size_t from) const {
    const std::size_t m = key_.size();
    if (m == 0 || text.size() < m) return std::u16string_view::npos;
    const char16_t* const data = text.data();
    const char16_t* const key = key_.data();
    const std::size_t end = text.size() - m;  // the last place a hit can start
    // Places are tested a block at a time for the key's first two
    // characters, in a loop without early exit that the compiler turns into
    // vector instructions; only a block with a candidate is looked at closely.
    const char16_t c0 = key[0];
    const char16_t c1 = m > 1 ? key[1] : key[0];
    const std::size_t second = m > 1 ? 1 : 0;
    constexpr std::size_t kBlock = 32;
    std::size_t p = from;
    for (; p + kBlock <= end + 1; p += kBlock) {
        unsigned any = 0;
        for (std::size_t k = 0; k < kBlock; ++k)
            any |= unsigned(data[p + k] == c0) & unsigned(data[p + k + second] == c1);
        if (!any) continue;
        for (std::size_t k = 0; k < kBlock; ++k)
            if (data[p + k] == c0 && std::char_traits<char16_t>::compare(data + p + k + 1, key + 1, m - 1) == 0)
                return p + k;
    }
    for (; p <= end; ++p)
        if (data[p] == c0 && std::char_traits<char16_t>::compare(data + p + 1, key + 1, m - 1) == 0) return p;
    return std::u16string_view::npos;
}

std::vector<int> TTextMatcher::FindAll(std::u16string_view searchText) const {
    std::vector<int> hits;
    for (std::size_t p = next(searchText, 0); p != std::u16string_view::npos; p = next(searchText, p + 1)) {
        if (!wholeWord_ || WholeWordAround(searchText, p, key_.size(), p > 0 ? searchText[p - 1] : 0))
            hits.push_back(static_cast<int>(p));
    }
    return hits;
}

std::vector<int> TTextMatcher::ReplaceAll(std::u16string_view searchText, std::u16string_view replacement) const {
    std::vector<int> hits;
    // `resume` is where the next search starts in the original text; what the
    // edited text holds right before it is `lastOut` (0: nothing).
    std::size_t resume = 0;
    char16_t lastOut = 0;
    for (std::size_t p = next(searchText, 0); p != std::u16string_view::npos;) {
        const char16_t before = p > resume ? searchText[p - 1] : lastOut;
        if (wholeWord_ && !WholeWordAround(searchText, p, key_.size(), before)) {
            p = next(searchText, p + 1);
            continue;
        }
        hits.push_back(static_cast<int>(p));
        lastOut = replacement.empty() ? before : replacement.back();
        resume = p + key_.size();
        p = next(searchText, resume);
    }
    return hits;
}

std::vector<TTextEdit> TTextMatcher::ReplaceAllEdits(std::u16string_view searchText,
                                                     std::u16string_view replacement) const {
    std::vector<TTextEdit> edits;
    const int length = static_cast<int>(key_.size());
    for (int pos : ReplaceAll(searchText, replacement)) edits.push_back({pos, length, replacement});
    return edits;
}

std::vector<int> FindAllHits(std::u16string_view searchText, std::u16string_view needle, int options) {
    return TTextMatcher(needle, options).FindAll(searchText);
}

std::vector<int> ReplaceAllHits(std::u16string_view searchText, std::u16string_view needle, int options,
                                std::u16string_view replacement) {
    return TTextMatcher(needle, options).ReplaceAll(searchText, replacement);
}

std::vector<TTextEdit> ReplaceAllEdits(std::u16string_view searchText, std::u16string_view needle, int options,
                                       std::u16string_view replacement) {
    return TTextMatcher(needle, options).ReplaceAllEdits(searchText, replacement);
}

}  // namespace qm
