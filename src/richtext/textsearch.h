#pragma once
// The one text matcher of the program: the editor's search, the searches over
// the project's modules, Replace All and the link update all find their hits
// here, so they cannot disagree about what a hit is.
//
// Texts are UTF-16, counted as the editor counts its characters (a paragraph
// break is one character, kParagraphSeparator). Case folding is ASCII only.
// A whole-word hit has no word character right before or after it.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Option bits of a search, as the editor's FindText takes them.
inline constexpr int kSearchWholeWord = 1;
inline constexpr int kSearchMatchCase = 2;
inline constexpr int kSearchDown = 4;

// Letters, digits and "_": ASCII, the letters of Windows-1252, and the
// letters of the Latin, Greek and Cyrillic blocks beyond it.
bool IsSearchWordChar(char16_t c);

// "A".."Z" to "a".."z"; every other character as it is.
inline char16_t FoldSearchChar(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }
// The text with FoldSearchChar applied to each character.
std::u16string FoldSearchText(std::u16string_view text);

// The position of `needle` in `text` within start .. start + length, or -1.
// Downward (kSearchDown) the first hit at or after start that ends inside the
// range. Upward the nearest hit that ends at or before start; a range that
// ends after start reaches back to the beginning. A negative length: no
// limit. An empty needle finds nothing.
int FindInText(std::u16string_view text, std::u16string_view needle, int start, int length, int options);

// The text a search runs over: FoldSearchText of the text when the search
// ignores case, else the text itself. Both hold the same word characters at
// the same places, so the whole-word test may run on either.
inline bool SearchNeedsFolding(int options) { return !(options & kSearchMatchCase); }

// Every hit searching forward from 0, each next search starting one character
// after the start of the previous hit, so hits may overlap. `searchText` is
// the text as SearchNeedsFolding asks for it; the needle is folded here.
std::vector<int> FindAllHits(std::u16string_view searchText, std::u16string_view needle, int options);

// The hits of a Replace All (always forward), as positions in `searchText`
// (folded as above): each search starts right after the text inserted for
// the hit before, and the whole-word test sees that inserted text. Hits
// never overlap.
std::vector<int> ReplaceAllHits(std::u16string_view searchText, std::u16string_view needle, int options,
                                std::u16string_view replacement);

// One change of a plain text: `Length` characters at `Offset` become `Text`
// (a view: the text must outlive the edit).
struct TTextEdit {
    int Offset = 0;
    int Length = 0;
    std::u16string_view Text;
    bool operator==(const TTextEdit&) const = default;
};

// The edits of a Replace All: one per ReplaceAllHits hit.
std::vector<TTextEdit> ReplaceAllEdits(std::u16string_view searchText, std::u16string_view needle, int options,
                                       std::u16string_view replacement);

// A search text prepared once for many texts (the modules of a project):
// the hits of FindAllHits and ReplaceAllHits, and the edits of
// ReplaceAllEdits, with the needle and options it was made with.
class TTextMatcher {
public:
    TTextMatcher(std::u16string_view needle, int options);
    bool Empty() const { return key_.empty(); }
    int Length() const { return static_cast<int>(key_.size()); }
    std::vector<int> FindAll(std::u16string_view searchText) const;
    std::vector<int> ReplaceAll(std::u16string_view searchText, std::u16string_view replacement) const;
    std::vector<TTextEdit> ReplaceAllEdits(std::u16string_view searchText, std::u16string_view replacement) const;

private:
    // The next place of the key at or after `from`, whole word or not; npos when none.
    std::size_t next(std::u16string_view text, std::size_t from) const;

    std::u16string key_;
    bool wholeWord_;
};

}  // namespace qm
