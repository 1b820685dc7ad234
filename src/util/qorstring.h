#pragma once
// String and path routines. Strings hold Windows-1252 bytes. Positions are
// 1-based and -1 means "not found". Case folding is ASCII only.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

using StringList = std::vector<std::string>;

// Inline: the tag scans and the name look-ups call these once per byte.
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
std::string AsciiLowerStr(std::string_view s);
std::string AsciiUpperStr(std::string_view s);
// Equal ignoring ASCII case.
bool SameText(std::string_view a, std::string_view b);
// Hash and equality of texts equal but for ASCII case, for the hash maps of
// names looked up in any case (transparent: a string_view finds a key
// without a copy).
struct FoldedTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const;
};
struct FoldedTextEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};
// <0, 0, >0 comparing the ASCII lower-case forms byte by byte (unsigned).
int CompareText(std::string_view a, std::string_view b);
// The positions of `keys` in their byte order (bytes unsigned, a key before
// its longer ones), equal keys in the order given.
std::vector<std::size_t> StableByteOrder(const std::vector<std::string_view>& keys);

int PosFrom(int start, std::string_view s, std::string_view sub);
int TextPosFrom(int start, std::string_view s, std::string_view sub);
int LastPosFrom(int start, std::string_view s, std::string_view sub);

bool IsValidName(std::string_view s);
bool IsNumeric(std::string_view s);

std::string LeftStr(std::string_view s, int n);
std::string MidStr(std::string_view s, int start, int count);
std::string RightStr(std::string_view s, int n);

void ReplaceString(std::string& s, std::string_view oldText, std::string_view newText, bool all, int start = 1);

// Zero-fills `size` bytes of `buffer`, then copies at most `size` bytes of `s`.
void CopyToCharArray(std::string_view s, char* buffer, std::size_t size);

// `s` with "\" appended unless it ends with "\" or "/"; "" stays "".
std::string IncludeBackslash(std::string_view s);

// The extension routines only count a dot that follows the last path
// separator ("\", "/" or ":"), so a dotted folder never passes for an extension.
std::string ExtractExtension(std::string_view s);
void ChangeExtension(std::string& s, std::string_view ext);
std::string RemoveExtension(std::string_view s);

// The file-name part: the text after the last "\", "/" or ":".
std::string ExtractFileName(std::string_view s);
// The folder part up to and including the last "\", "/" or ":" (empty when none).
std::string ExtractFilePath(std::string_view s);

// Empties `list`, then cuts `s` at `sep`. A ";" is appended unless `s` ends
// with one, whatever `sep` is; that final character only ends the last piece.
// Empty pieces between separators are kept, and so is an empty last piece that
// follows a separator ("a;;" gives "a" and ""); a lone ";" gives nothing.
void SplitToStrings(std::string_view s, char sep, StringList& list);

// Trims ASCII blanks and control characters (<= 0x20) from both ends.
std::string Trim(std::string_view s);

// `text` with `separator` between its groups of three characters, counted
// from the right ("16777216", " " -> "16 777 216"), then trimmed of blanks at
// both ends. No separator goes in front of the first character, whatever the
// separator is.
std::string GroupDigits(std::string_view text, std::string_view separator);

// The text up to its first NUL (all of it when it holds none). Values read
// from other tools' files pass through it before they enter the model, whose
// fields and lists end at a NUL once saved and loaded again.
std::string CutAtNul(std::string_view s);

}  // namespace qm
