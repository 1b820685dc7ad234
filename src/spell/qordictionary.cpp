#include "spell/qordictionary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "spell/codepage850.h"
#include "util/fileio.h"

namespace qm {
namespace {

constexpr std::uint32_t kChildMask = 0x7FFFF;  // bits 0-18: first child + 1
constexpr std::uint32_t kEndOfWord = 1u << 22;
constexpr std::uint32_t kLastSibling = 1u << 23;
constexpr int kLetterShift = 24;

// A row holds at most one node per letter byte. Scanning no further keeps a
// hostile file whose rows never end from turning each lookup into a walk over
// millions of nodes.
constexpr std::size_t kMaxRowLength = 256;

inline unsigned char LowerByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// The characters a dictionary word may begin with.
inline bool IsFirstChar(unsigned char c) {
    return c == '\'' || (c >= 'a' && c <= 'z') || (c >= 224 && c <= 246) || (c >= 249 && c <= 253);
}

bool InList(const StringList& list, std::string_view s) {
    for (const std::string& e : list)
        if (SameText(e, s)) return true;
    return false;
}

}  // namespace

EInvalidDictionary::EInvalidDictionary() : Error("This file is not a valid Velgrave Dictionary File.") {}

void TQorDictionary::LoadFromFile(const std::string& fileName) {
    // An oversized file is refused before it is read into memory.
    const std::string data = ReadWholeFile(fileName, MaxFileSize);
    LoadFromData(data, fileName);
}

void TQorDictionary::LoadFromData(std::string_view data, const std::string& fileName) {
    if (data.size() > MaxFileSize) throw CreateFileTooLargeError(fileName, MaxFileSize);
    if (data.size() < HeaderSize) throw EInvalidDictionary();
    if (static_cast<unsigned char>(data[0]) != 0x03 || static_cast<unsigned char>(data[1]) != 0x55)
        throw EInvalidDictionary();

    const std::size_t count = (data.size() - HeaderSize) / 4;
    std::vector<std::uint32_t> nodes(count);
    const auto* p = reinterpret_cast<const unsigned char*>(data.data()) + HeaderSize;
    for (std::size_t i = 0; i < count; ++i, p += 4) {
        const std::uint32_t flags = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                    (static_cast<std::uint32_t>(p[2]) << 16);
        const auto letter = static_cast<unsigned char>(OemToAnsiChar(static_cast<char>(p[3])));
        nodes[i] = flags | (static_cast<std::uint32_t>(letter) << kLetterShift);
    }
    std::array<std::uint32_t, 256> top = MakeEmptyTop();
    for (std::size_t i = 0; i < count && i < kMaxRowLength; ++i) {
        const std::uint32_t letter = nodes[i] >> kLetterShift;
        if (top[letter] == kNone) top[letter] = static_cast<std::uint32_t>(i);
        if (nodes[i] & kLastSibling) break;
    }
    nodes_ = std::move(nodes);
    top_ = top;
    fileName_ = fileName;
}

void TQorDictionary::Clear() {
    nodes_.clear();
    nodes_.shrink_to_fit();
    top_ = MakeEmptyTop();
    fileName_.clear();
}

template <bool kRecordPath>
bool TQorDictionary::Walk(std::string_view word, int& depth, std::uint32_t* path) const {
    depth = 0;
    const std::size_t len = word.size();
    if (len == 0 || len > static_cast<std::size_t>(MaxWordLength)) return false;
    if (!IsFirstChar(LowerByte(word[0]))) return false;

    const std::uint32_t* nodes = nodes_.data();
    const std::size_t count = nodes_.size();
    const std::uint32_t first = top_[LowerByte(word[0])];
    if (first == kNone) return false;
    std::uint32_t current = nodes[first];
    if constexpr (kRecordPath) path[0] = first;
    depth = 1;
    for (std::size_t k = 1; k < len; ++k) {
        const std::uint32_t child = current & kChildMask;
        if (child == 0) return false;
        const std::size_t row = child - 1;  // first node of the row to scan
        const std::uint32_t want = static_cast<std::uint32_t>(LowerByte(word[k])) << kLetterShift;
        // An index past the last node, like a row that runs off the end,
        // means "not found".
        if (row >= count) return false;
        const std::size_t end = std::min(count, row + kMaxRowLength);
        std::size_t i = row;
        for (; i < end; ++i) {
            const std::uint32_t v = nodes[i];
            if ((v & 0xFF000000u) == want) break;
            if (v & kLastSibling) {
                i = end;
                break;
            }
        }
        if (i >= end) return false;
        current = nodes[i];
        if constexpr (kRecordPath) path[depth] = static_cast<std::uint32_t>(i);
        ++depth;
    }
    return (current & kEndOfWord) != 0;
}

bool TQorDictionary::Lookup(std::string_view word, int& depth, TPath& path) const {
    return Walk<true>(word, depth, path.data());
}

bool TQorDictionary::Lookup(std::string_view word) const {
    int depth = 0;
    return Walk<false>(word, depth, nullptr);
}

bool TQorDictionary::IsWord(std::string_view word, StringList* suggestions) const {
    if (Lookup(word)) return true;
    if (suggestions) Suggest(word, *suggestions);
    return false;
}

void TQorDictionary::Suggest(std::string_view word, StringList& list) const {
    list.clear();
    const std::size_t n = word.size();
    // No candidate longer than MaxWordLength is a word, so each rule that
    // could only make longer ones is skipped: a hostile topic's run of
    // thousands of letters costs nothing and gets the same (empty) list.
    constexpr std::size_t kMax = MaxWordLength;
    if (n > 2 * kMax) return;  // one of the halves of every split is too long
    std::string w(word);
    std::string cand;

    auto addNew = [&](const std::string& s) {
        if (Lookup(s) && !InList(list, s)) list.push_back(s);
    };

    // 1. Two words written together; both halves longer than one letter.
    for (std::size_t i = 2; i + 2 <= n; ++i) {
        const std::string_view left = std::string_view(w).substr(0, i);
        const std::string_view right = std::string_view(w).substr(i);
        if (Lookup(left) && Lookup(right)) {
            cand.assign(left);
            cand += ' ';
            cand.append(right);
            list.push_back(cand);
        }
    }
    // 2. A letter in front.
    const bool longerFit = n + 1 <= kMax;
    for (char c = 'a'; longerFit && c <= 'z'; ++c) {
        cand.assign(1, c);
        cand += w;
        addNew(cand);
    }
    // 3. A letter at the end.
    for (char c = 'a'; longerFit && c <= 'z'; ++c) {
        cand = w;
        cand += c;
        addNew(cand);
    }
    // 4. A letter inserted between two others.
    for (std::size_t i = 1; longerFit && i < n; ++i)
        for (char c = 'a'; c <= 'z'; ++c) {
            cand.assign(w, 0, i);
            cand += c;
            cand.append(w, i, std::string::npos);
            addNew(cand);
        }
    // 5. A letter deleted, only while few corrections were found.
    if (list.size() < 10 && n > 2 && n <= kMax + 1)
        for (std::size_t i = 0; i < n; ++i) {
            cand = w;
            cand.erase(i, 1);
            addNew(cand);
        }
    // 6. A letter replaced.
    const bool sameFits = n <= kMax;
    for (std::size_t i = 0; sameFits && i < n; ++i)
        for (char c = 'a'; c <= 'z'; ++c) {
            cand = w;
            cand[i] = c;
            addNew(cand);
        }
    // 7. Two neighbours exchanged.
    for (std::size_t i = 0; sameFits && i + 1 < n; ++i) {
        cand = w;
        std::swap(cand[i], cand[i + 1]);
        addNew(cand);
    }
}

}  // namespace qm
