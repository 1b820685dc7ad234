#pragma once
// Finding and reading the inline tags of a topic body. The body is searched in
// its RTF form; positions are 1-based like the string routines, -1 for none.
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

// The text with RTF removed: braces dropped; "\\", "\{", "\}" give the literal
// character; "\'hh" gives the byte hh; any other control word is dropped with
// its run of letters, digits, apostrophes and asterisks and one ending blank.
std::string StripRtf(std::string_view s);
// The same into `out`, whose memory is reused.
void StripRtfInto(std::string_view s, std::string& out);
// The same as a view: `s` itself when it holds no RTF, else `buffer` with
// the stripped text.
std::string_view StripRtfView(std::string_view s, std::string& buffer);

// The text between the first two double quotes; empty when there is no second
// quote or the two are adjacent.
std::string FirstQuoted(std::string_view s);
// The same as a part of `s`.
std::string_view FirstQuotedView(std::string_view s);

// The next tag named `name` at or after `start`: the text from a "<" up to the
// next ">" whose RTF-free, upper-cased form contains "<" + name. Gives the raw
// tag (RTF codes included) in `tag` and returns its position; -1 and an empty
// `tag` when there is none.
int FindTag(std::string_view text, std::string_view name, int start, std::string& tag);

// One tag found by ScanTags: 0-based [begin, end) of the raw tag.
struct TTagSpan {
    std::size_t begin;
    std::size_t end;
    // The tag is the only "<" before its ">" and holds no RTF codes: it is
    // its own RTF-free form, and its first character its only "<". False
    // when not known.
    bool plain = false;
};

// Every tag named `name` in `text`, in order of position: exactly the
// positions that FindTag gives when called from 1 and then from one after each
// hit. Linear in the length of the text.
std::vector<TTagSpan> ScanTags(std::string_view text, std::string_view name);

// Where the tags of a text can stand (each run of "<" up to the ">" they
// share), found once for the scans of several names in the same text.
class TTagGroups {
public:
    // `text` must outlive the object and stay unchanged.
    explicit TTagGroups(std::string_view text);
    std::string_view Text() const { return text_; }
    // The same text now stands at `copy` (a copy of it, unchanged).
    void Moved(std::string_view copy) { text_ = copy; }

    // False when no tag named `name` can stand in the text: no "<" of it is
    // followed by the name's first letter, RTF codes stripped.
    bool MayHold(std::string_view name) const;

private:
    friend std::vector<TTagSpan> ScanTags(const TTagGroups& groups, std::string_view name);
    std::string_view text_;
    std::vector<std::uint32_t> lts_;  // the "<" of every group, in order
    std::vector<std::uint32_t> gts_;  // per "<": the ">" of its group
    std::vector<char> rtf_;           // per "<": whether its piece holds RTF codes
    // Per "<" of a piece without codes: up to eight characters after it,
    // upper case, the first in the lowest byte (0 for the piece's end).
    std::vector<std::uint64_t> heads_;
    bool wide_ = false;  // too long for the positions kept: not kept
    // Every character, upper case, that follows a "<" of a piece once RTF
    // codes are stripped.
    std::bitset<256> headSet_;
    // Per such character: the "<" alone in their group without RTF codes
    // that it follows; and the "<" that share their group or hold codes.
    std::array<std::uint32_t, 256> headCount_{};
    std::size_t unsure_ = 0;
};

// ScanTags(groups.Text(), name), without looking for the groups again.
std::vector<TTagSpan> ScanTags(const TTagGroups& groups, std::string_view name);

// A value made safe for RTF text: "\" "{" "}" are escaped and bytes 0x80 and
// above become "\'hh".
std::string EscapeRtf(std::string_view s);
// Appends EscapeRtf(s) to `out`.
void AppendEscapedRtf(std::string& out, std::string_view s);

// Every occurrence of `oldText` from 0-based `from` on, left to right, each
// search resuming after the inserted text (the semantics of ReplaceString with
// `all`), in one pass over the text.
void ReplaceAllFrom(std::string& s, std::string_view oldText, std::string_view newText, std::size_t from = 0);

}  // namespace qm
