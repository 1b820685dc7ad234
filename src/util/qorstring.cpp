#include "util/qorstring.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qm {

std::string AsciiLowerStr(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = AsciiLower(c);
    return r;
}

std::string AsciiUpperStr(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = AsciiUpper(c);
    return r;
}

// FNV-1a over the folded bytes, so texts equal but for case hash alike.
std::size_t FoldedTextHash::operator()(std::string_view s) const {
    std::size_t h = static_cast<std::size_t>(14695981039346656037ull);
    for (const char c : s) {
        h ^= static_cast<unsigned char>(AsciiLower(c));
        h *= static_cast<std::size_t>(1099511628211ull);
    }
    return h;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiLower(a[i]));
        const auto cb = static_cast<unsigned char>(AsciiLower(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::vector<std::size_t> StableByteOrder(const std::vector<std::string_view>& keys) {
    // Each key's first 8 bytes as one number sort most keys without reading
    // them again: a sort of 40,000 names that compared them where they lie
    // spent its time waiting for memory. Bytes past a short key count as 0,
    // below any byte a longer key has there; equal numbers compare the keys.
    struct Entry {
        std::uint64_t prefix;
        std::size_t index;
    };
    std::vector<Entry> entries(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::uint64_t prefix = 0;
        for (std::size_t k = 0; k < 8; ++k)
            prefix = (prefix << 8) | (k < keys[i].size() ? static_cast<unsigned char>(keys[i][k]) : 0u);
        entries[i] = {prefix, i};
    }
    std::stable_sort(entries.begin(), entries.end(), [&keys](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return keys[a.index] < keys[b.index];
    });
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = entries[i].index;
    return order;
}

int PosFrom(int start, std::string_view s, std::string_view sub) {
    if (s.empty() || sub.empty()) return -1;
    if (start < 1) start = 1;
    if (static_cast<std::size_t>(start) > s.size()) return -1;
    const std::size_t p = s.find(sub, static_cast<std::size_t>(start - 1));
    return p == std::string_view::npos ? -1 : static_cast<int>(p) + 1;
}

int TextPosFrom(int start, std::string_view s, std::string_view sub) {
    return PosFrom(start, AsciiLowerStr(s), AsciiLowerStr(sub));
}

int LastPosFrom(int start, std::string_view s, std::string_view sub) {
    if (sub.empty() || start < 1) return -1;
    const std::size_t p = s.rfind(sub, static_cast<std::size_t>(start - 1));
    return p == std::string_view::npos ? -1 : static_cast<int>(p) + 1;
}

bool IsValidName(std::string_view s) {
    if (s.empty()) return false;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(AsciiLower(ch));
        const bool ok = (c >= '0' && c <= '9') || c == '_' || (c >= 'a' && c <= 'z') || (c >= 224 && c <= 246) ||
                        (c >= 249 && c <= 253);
        if (!ok) return false;
    }
    return true;
}

bool IsNumeric(std::string_view s) {
    if (s.empty()) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

std::string LeftStr(std::string_view s, int n) {
    if (n <= 0 || static_cast<std::size_t>(n) > s.size()) return {};
    return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string MidStr(std::string_view s, int start, int count) {
    if (start < 1) start = 1;
    if (count <= 0 || static_cast<std::size_t>(start) > s.size()) return {};
    return std::string(s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::string RightStr(std::string_view s, int n) {
    if (n <= 0) return {};
    if (static_cast<std::size_t>(n) >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - static_cast<std::size_t>(n)));
}

void ReplaceString(std::string& s, std::string_view oldText, std::string_view newText, bool all, int start) {
    int p = PosFrom(start, s, oldText);
    while (p > 0) {
        s.replace(static_cast<std::size_t>(p - 1), oldText.size(), newText);
        if (!all) break;
        p = PosFrom(p + static_cast<int>(newText.size()), s, oldText);
    }
}

void CopyToCharArray(std::string_view s, char* buffer, std::size_t size) {
    if (size == 0) return;
    std::memset(buffer, 0, size);
    // An empty view may have no data pointer at all; memcpy must not see it.
    const std::size_t n = std::min(size, s.size());
    if (n > 0) std::memcpy(buffer, s.data(), n);
}

std::string IncludeBackslash(std::string_view s) {
    if (s.empty()) return {};
    std::string r(s);
    // A folder that already ends in "/" (as paths on POSIX do) has its separator.
    if (r.back() != '\\' && r.back() != '/') r += '\\';
    return r;
}

namespace {
// Index of the last "\", "/" or ":", or npos.
// A plain loop: the names asked about are short, and a build asks for every
// picture's.
std::size_t LastSeparator(std::string_view s) {
    for (std::size_t i = s.size(); i-- > 0;)
        if (s[i] == '\\' || s[i] == '/' || s[i] == ':') return i;
    return std::string_view::npos;
}

// Index of the dot that starts the extension, or npos.
std::size_t ExtensionDot(std::string_view s) {
    const std::size_t dot = s.rfind('.');
    if (dot == std::string_view::npos) return dot;
    const std::size_t sep = LastSeparator(s);
    if (sep != std::string_view::npos && sep > dot) return std::string_view::npos;
    return dot;
}
}  // namespace

std::string ExtractExtension(std::string_view s) {
    const std::size_t dot = ExtensionDot(s);
    return dot == std::string_view::npos ? std::string() : std::string(s.substr(dot + 1));
}

void ChangeExtension(std::string& s, std::string_view ext) {
    const std::size_t dot = ExtensionDot(s);
    if (dot != std::string::npos) s.erase(dot);
    s += '.';
    s += ext;
}

std::string RemoveExtension(std::string_view s) {
    const std::size_t dot = ExtensionDot(s);
    return std::string(dot == std::string_view::npos ? s : s.substr(0, dot));
}

std::string ExtractFileName(std::string_view s) {
    const std::size_t sep = LastSeparator(s);
    return std::string(sep == std::string_view::npos ? s : s.substr(sep + 1));
}

std::string ExtractFilePath(std::string_view s) {
    const std::size_t sep = LastSeparator(s);
    return sep == std::string_view::npos ? std::string() : std::string(s.substr(0, sep + 1));
}

void SplitToStrings(std::string_view s, char sep, StringList& list) {
    list.clear();
    if (s.empty()) return;
    std::string text(s);
    if (text.back() != ';') text += ';';
    // Every character but the final one may cut; the final one only ends the
    // last piece. An empty last piece is kept when a cut came before it, so
    // "a;;" gives "a" and "", while a lone ";" gives nothing.
    const std::size_t last = text.size() - 1;
    std::size_t begin = 0;
    bool cut = false;
    for (std::size_t i = 0; i < last; ++i) {
        if (text[i] == sep) {
            list.emplace_back(text, begin, i - begin);
            begin = i + 1;
            cut = true;
        }
    }
    if (begin < last || cut) list.emplace_back(text, begin, last - begin);
}

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return std::string(s.substr(b, e - b));
}

std::string GroupDigits(std::string_view text, std::string_view separator) {
    std::string out;
    out.reserve(text.size() + (text.size() / 3) * separator.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t fromRight = text.size() - i;  // 1 for the last character
        if (i > 0 && fromRight % 3 == 0) out.append(separator);
        out.push_back(text[i]);
    }
    std::size_t b = 0, e = out.size();
    while (b < e && out[b] == ' ') ++b;
    while (e > b && out[e - 1] == ' ') --e;
    return out.substr(b, e - b);
}

std::string CutAtNul(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

}  // namespace qm
