#include "preprocess/edittags.h"

#include "util/cp1252.h"

namespace qm {

// --- Link following ------------------------------------------------------------

namespace {

// True when the `word.size()` characters at `at`, ASCII upper-cased, are
// `word`; false when fewer characters are left.
bool UpperAt(std::u16string_view text, long at, std::string_view word) {
    if (at < 0 || at > static_cast<long>(text.size()) || text.size() - at < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        char16_t c = text[at + k];
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (c != static_cast<unsigned char>(word[k])) return false;
    }
    return true;
}

bool CharAt(std::u16string_view text, long at, char16_t c) {
    return at >= 0 && at < static_cast<long>(text.size()) && text[at] == c;
}

}  // namespace

bool FindLinkAt(std::u16string_view text, int caret, std::string& name) {
    const long L = static_cast<long>(text.size());
    if (caret < 0 || caret >= L) return false;
    // The nearest "<" at or before the caret.
    long i = caret;
    while (i >= 1 && text[i] != u'<') --i;

    // The next "<" after the start tag, or the end of the text.
    auto nextTag = [&](long s) {
        long k = s + 1;
        while (k < L && text[k] != u'<') ++k;
        return k;
    };
    long v = 0;
    if (UpperAt(text, i, "<LINK ")) {
        const long s = i;
        i = nextTag(s);
        if (!(i <= L - 7)) return false;
        if (!UpperAt(text, i, "</LINK>") && !UpperAt(text, i, "<BITMAP ")) return false;
        v = s + 13;
    } else if (UpperAt(text, i, "<ULINK ") || UpperAt(text, i, "<BITMAP ")) {
        const long s = i;
        i = nextTag(s);
        if (!(i <= L - 8)) return false;
        if (!UpperAt(text, i, "</ULINK>")) return false;
        v = s + 14;
    } else {
        return false;
    }
    if (!CharAt(text, v - 1, u'"')) return false;
    long j = v + 1;
    while (j < L && text[j] != u'"') ++j;
    --j;
    // The value must end before the end tag.
    if (!(i > j)) return false;
    std::u16string_view value = text.substr(v, j - v + 1);
    if (const std::size_t colon = value.find(u':'); colon != std::u16string_view::npos) value = value.substr(0, colon);
    name = Utf16ToCp1252(value);
    return true;
}

}  // namespace qm
