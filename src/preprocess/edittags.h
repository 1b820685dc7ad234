#pragma once
// The tags at a place in the editor's plain text, as the editor's commands
// read them. Positions are 0-based UTF-16 indexes of the editor's plain text,
// a paragraph break counting as one character. The text is only read: every
// routine stays within it, whatever the position.
#include <string>
#include <string_view>

namespace qm {

// --- Link following ------------------------------------------------------------
//
// The topic or popup link around the caret. Only links written in the exact
// form of the tag language are found: "<LINK " or "<ULINK " followed by a
// five-letter keyword, "=" and a double quote, and the end tag as the first
// "<" after the start tag (for LINK a "<BITMAP " tag is also accepted there).
// The caret may stand anywhere from the start tag's "<" to the character
// before the end tag's "<". True, with the target's name (the quoted value up
// to its first colon, as Windows-1252), when the caret is on such a link; a
// caret outside 0 .. size - 1 is on none.
bool FindLinkAt(std::u16string_view text, int caret, std::string& name);

}  // namespace qm
