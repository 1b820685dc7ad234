#pragma once
// The main spelling dictionary: a letter tree read whole from a ".qdf" file.
//
// File layout (little-endian): bytes 0 and 1 are 0x03 0x55, bytes 2-127 are
// not interpreted, then one 32-bit word per node. Node bits 0-18 hold the index
// of the first child + 1 (0 = no children), bit 22 ends a word, bit 23 ends
// the node's row, bits 24-31 hold the letter in code page 850. A row is the run
// of consecutive nodes from its first node to the first one with bit 23; the
// top row (first letters) starts at node 0.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/errors.h"
#include "util/qorstring.h"

namespace qm {

// A file that is not a main dictionary.
class EInvalidDictionary : public Error {
public:
    EInvalidDictionary();
};

class TQorDictionary {
public:
    // Longest word the lookup path has room for; longer words are not found.
    static constexpr int MaxWordLength = 79;
    static constexpr std::size_t HeaderSize = 128;
    // Larger files are refused: real dictionaries are a few megabytes at most.
    static constexpr std::uintmax_t MaxFileSize = 64u * 1024u * 1024u;

    // The node index of each matched letter.
    using TPath = std::array<std::uint32_t, MaxWordLength>;

    // Reads `fileName` whole. A missing or unreadable file throws EFileAccess,
    // one over MaxFileSize EFileTooLarge, a file that is no dictionary
    // EInvalidDictionary; either way the dictionary keeps what it held before.
    void LoadFromFile(const std::string& fileName);
    // The same checks on bytes already in memory; `fileName` is remembered.
    void LoadFromData(std::string_view data, const std::string& fileName);
    void Clear();

    // True when `word` (A-Z folded to a-z) is in the dictionary. `depth` is
    // the number of letters matched on the walk, `path` their node indexes.
    bool Lookup(std::string_view word, int& depth, TPath& path) const;
    bool Lookup(std::string_view word) const;

    // Lookup; when the word is not found and `suggestions` is given, Suggest
    // fills it.
    bool IsWord(std::string_view word, StringList* suggestions = nullptr) const;

    // Clears `list`, then adds the corrections of `word` in the order the
    // rules find them: splits into two words, a letter added in front, a
    // letter added at the end, a letter inserted, a letter deleted (only while
    // fewer than ten were found and the word has three letters or more), a
    // letter replaced, two neighbours exchanged. Letters tried are a to z.
    void Suggest(std::string_view word, StringList& list) const;

    const std::string& FileName() const { return fileName_; }
    std::size_t NodeCount() const { return nodes_.size(); }

private:
    template <bool kRecordPath>
    bool Walk(std::string_view word, int& depth, std::uint32_t* path) const;

    // Node words as in the file, but with the letter already in Windows-1252.
    std::vector<std::uint32_t> nodes_;
    // The node each letter byte finds in the top row (kNone when absent): the
    // first row of every lookup, scanned once at load.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::array<std::uint32_t, 256> top_ = MakeEmptyTop();
    std::string fileName_;

    static constexpr std::array<std::uint32_t, 256> MakeEmptyTop() {
        std::array<std::uint32_t, 256> t{};
        t.fill(kNone);
        return t;
    }
};

}  // namespace qm
