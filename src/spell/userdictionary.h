#pragma once
// Personal dictionaries (".dic"): Windows-1252 text, one word a line. Read
// with any line end, written with CR LF, sorted in one order that ignores
// ASCII case, and saved only through WriteFileAtomic. Words match ignoring
// ASCII case, as the spell scan lower-cases the words it reads.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "util/qorstring.h"

namespace qm {

// Larger personal dictionaries are refused: a million words fit in a tenth.
inline constexpr std::uintmax_t kMaxUserDictionarySize = 32u * 1024u * 1024u;

// True when `name` can only name a file inside the dictionary folder: not
// empty, and without "/", "\", ".." or a NUL byte.
bool IsDictionaryName(std::string_view name);
// Throws qm::Error with the text to show when IsDictionaryName refuses `name`.
void CheckDictionaryName(std::string_view name);

class TUserWords {
public:
    // Replaces the words by those of `text`: one a line (CR, LF or CR LF),
    // blanks around a word trimmed, empty lines dropped, and words that
    // differ only in ASCII case kept once (the first).
    void SetText(std::string_view text);
    // The words sorted ignoring ASCII case, each followed by CR LF.
    std::string Text() const;

    // Reads `fileName` whole. A missing, unreadable or oversized file throws
    // EFileAccess (or qm::Error) and leaves the words as they were.
    void LoadFromFile(const std::string& fileName);
    // Writes the file atomically, creating its folder first. A failure throws
    // EFileAccess naming the file and leaves the old file whole.
    void SaveToFile(const std::string& fileName) const;

    // True when the list holds `word`, ignoring ASCII case.
    bool Contains(std::string_view word) const { return words_.find(word) != words_.end(); }
    // Adds `word`; false when it (in any ASCII case) was already there.
    bool Add(std::string_view word);
    std::size_t Count() const { return words_.size(); }
    void Clear() { words_.clear(); }

private:
    struct TextLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return CompareText(a, b) < 0; }
    };
    std::set<std::string, TextLess> words_;
};

}  // namespace qm
