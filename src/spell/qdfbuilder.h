#pragma once
// Writes main dictionaries: the inverse of TQorDictionary's reader. Used by the
// build-time tool that turns a word list into a ".qdf" file, and by tests.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/qorstring.h"

namespace qm {

// True when a lookup can find `word` once stored: 1 to 79 characters, each an
// apostrophe, a-z, A-Z (stored folded to a-z), or 224-246 or 249-253 in
// Windows-1252, the characters the spell scan takes as part of a word.
bool IsStorableWord(std::string_view word);

// The bytes of a ".qdf" file that holds exactly `words` (Windows-1252, A-Z
// folded to a-z, duplicates dropped). Throws qm::Error for a word that
// IsStorableWord refuses and when the tree needs more nodes than child
// indexes can address.
std::string BuildDictionaryData(const StringList& words);

// The words of a word list, one a line (CR, LF or CR LF), blanks around them
// trimmed, empty lines dropped. The text is UTF-8 when it is valid UTF-8 as a
// whole, else Windows-1252. Words IsStorableWord refuses go to `skipped`
// (in Windows-1252, '?' for characters it lacks), and so do the pieces of
// contractions that are no words on their own (ContractionPieces). Both
// lists are emptied first.
void ReadWordList(std::string_view text, StringList& words, StringList& skipped);

// The entries of `words` that fold to a piece of one of its contractions
// ("nt" of "don't", "ll" of "we'll", "isn" of "isn't") while the list does not
// hold that piece in lower case as a word of its own. Folded to lower case,
// an abbreviation such as "NT" would make "dont" a split into "do nt".
StringList ContractionPieces(const StringList& words);

// Word lists larger than this are refused before they are read: a main
// dictionary's list is a few megabytes.
inline constexpr std::uintmax_t kMaxWordListBytes = std::uintmax_t{64} << 20;

// ReadWordList on the file `path`, read whole; EFileAccess when it cannot be
// read and EFileTooLarge when it is over kMaxWordListBytes.
void ReadWordListFile(const std::string& path, StringList& words, StringList& skipped);

// Node count of the tree BuildDictionaryData would write for `words`.
std::size_t DictionaryNodeCount(const StringList& words);

}  // namespace qm
