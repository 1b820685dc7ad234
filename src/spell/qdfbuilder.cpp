#include "spell/qdfbuilder.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "spell/codepage850.h"
#include "spell/qordictionary.h"
#include "util/cp1252.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/textfile.h"

namespace qm {
namespace {

constexpr std::uint32_t kMaxChildField = 0x7FFFF;  // 19 bits: first child + 1
constexpr std::uint32_t kEndOfWord = 1u << 22;
constexpr std::uint32_t kLastSibling = 1u << 23;

bool IsWordByte(unsigned char c) {
    return c == '\'' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 224 && c <= 246) ||
           (c >= 249 && c <= 253);
}

struct TrieNode {
    unsigned char letter = 0;
    bool endOfWord = false;
    std::vector<std::uint32_t> kids;  // indexes into the node pool
};

// The trie's nodes in file order, every row a run of consecutive nodes with
// the top row first, and each node's first-child position.
struct Layout {
    std::vector<TrieNode> pool;  // pool[0] is the root (not written)
    std::vector<std::uint32_t> order;
    std::vector<std::uint32_t> firstChild;  // by pool index, file position
    std::vector<bool> last;                 // by pool index
};

Layout MakeLayout(const StringList& words) {
    Layout l;
    l.pool.emplace_back();
    for (const std::string& word : words) {
        if (!IsStorableWord(word)) throw Error("The word '" + QuoteInput(word) + "' cannot be stored in a dictionary.");
        std::uint32_t cur = 0;
        for (const char ch : word) {
            const auto c = static_cast<unsigned char>(AsciiLower(ch));
            std::uint32_t next = 0;
            for (const std::uint32_t k : l.pool[cur].kids)
                if (l.pool[k].letter == c) {
                    next = k;
                    break;
                }
            if (next == 0) {
                next = static_cast<std::uint32_t>(l.pool.size());
                l.pool.emplace_back();
                l.pool.back().letter = c;
                l.pool[cur].kids.push_back(next);
            }
            cur = next;
        }
        l.pool[cur].endOfWord = true;
    }

    // Words below each node, to put the letters that most words take first
    // in their row: a lookup scans a row until it meets its letter. Children
    // have higher pool indexes than their parents, so one backward pass counts.
    std::vector<std::uint32_t> below(l.pool.size(), 0);
    for (std::size_t i = l.pool.size(); i-- > 0;) {
        below[i] += l.pool[i].endOfWord ? 1 : 0;
        for (const std::uint32_t k : l.pool[i].kids) below[i] += below[k];
    }
    for (TrieNode& node : l.pool)
        std::sort(node.kids.begin(), node.kids.end(), [&](std::uint32_t a, std::uint32_t b) {
            return below[a] != below[b] ? below[a] > below[b] : l.pool[a].letter < l.pool[b].letter;
        });

    // Depth first: each node's child row follows its row closely, so the rows
    // one lookup visits lie near each other in memory.
    l.firstChild.assign(l.pool.size(), 0);
    l.last.assign(l.pool.size(), false);
    auto place = [&](auto&& self, std::uint32_t parent) -> void {
        const std::vector<std::uint32_t>& kids = l.pool[parent].kids;
        if (kids.empty()) return;
        l.firstChild[parent] = static_cast<std::uint32_t>(l.order.size());
        l.order.insert(l.order.end(), kids.begin(), kids.end());
        l.last[kids.back()] = true;
        for (const std::uint32_t k : kids) self(self, k);
    };
    place(place, 0);
    return l;
}

}  // namespace

bool IsStorableWord(std::string_view word) {
    if (word.empty() || word.size() > static_cast<std::size_t>(TQorDictionary::MaxWordLength)) return false;
    return std::all_of(word.begin(), word.end(), [](char c) { return IsWordByte(static_cast<unsigned char>(c)); });
}

void ReadWordListFile(const std::string& path, StringList& words, StringList& skipped) {
    ReadWordList(ReadWholeFile(path, kMaxWordListBytes), words, skipped);
}

void ReadWordList(std::string_view text, StringList& words, StringList& skipped) {
    words.clear();
    skipped.clear();
    const std::string ansi = IsValidUtf8(text) ? Utf8ToCp1252(text) : std::string(text);
    for (const std::string& line : SplitLines(ansi)) {
        std::string word = Trim(line);
        if (word.empty()) continue;
        (IsStorableWord(word) ? words : skipped).push_back(std::move(word));
    }
    const StringList pieces = ContractionPieces(words);
    if (pieces.empty()) return;
    const std::unordered_set<std::string> drop(pieces.begin(), pieces.end());
    StringList kept;
    kept.reserve(words.size());
    for (std::string& w : words) (drop.count(w) ? skipped : kept).push_back(std::move(w));
    words = std::move(kept);
}

StringList ContractionPieces(const StringList& words) {
    // A contraction: one apostrophe inside the word, before one of the
    // endings that stand for a word ("n't", "'ll", "'ve", "'re", "'s", "'d",
    // "'m"). Its pieces are the ending's letters without the apostrophe
    // ("ll", "nt") and, for "n't", the letters before the apostrophe ("isn").
    std::unordered_set<std::string> pieces;
    std::unordered_set<std::string> lowerWords;
    for (const std::string& w : words) {
        const std::string lower = AsciiLowerStr(w);
        if (lower == w) lowerWords.insert(lower);
        const std::size_t k = lower.find('\'');
        if (k == 0 || k == std::string::npos || lower.find('\'', k + 1) != std::string::npos) continue;
        const std::string head = lower.substr(0, k);
        const std::string tail = lower.substr(k + 1);
        if (tail == "t" && head.size() > 1 && head.back() == 'n') {
            pieces.insert(head);
            pieces.insert("nt");
        } else if (tail == "ll" || tail == "ve" || tail == "re" || tail == "s" || tail == "d" || tail == "m") {
            pieces.insert(tail);
        }
    }
    StringList out;
    for (const std::string& w : words) {
        const std::string lower = AsciiLowerStr(w);
        if (pieces.count(lower) && !lowerWords.count(lower)) out.push_back(w);
    }
    return out;
}

std::size_t DictionaryNodeCount(const StringList& words) { return MakeLayout(words).order.size(); }

std::string BuildDictionaryData(const StringList& words) {
    const Layout l = MakeLayout(words);
    std::string out(TQorDictionary::HeaderSize, '\0');
    out[0] = '\x03';
    out[1] = '\x55';
    out.reserve(out.size() + 4 * l.order.size());
    for (const std::uint32_t id : l.order) {
        const TrieNode& node = l.pool[id];
        std::uint32_t v = 0;
        if (!node.kids.empty()) {
            const std::uint32_t field = l.firstChild[id] + 1;
            if (field > kMaxChildField) throw Error("The word list needs more nodes than a dictionary can address.");
            v = field;
        }
        if (node.endOfWord) v |= kEndOfWord;
        if (l.last[id]) v |= kLastSibling;
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(AnsiToOemChar(static_cast<char>(node.letter))))
             << 24;
        for (int b = 0; b < 4; ++b) out.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
    }
    return out;
}

}  // namespace qm
