#pragma once
// The topic editor's side of the tag language: what stands at a place of the
// editor's plain text. The build reads tags in the RTF (tagtext.h); the editor
// reads them in its plain text, as UTF-16 with one unit per editor position,
// so that positions are the editor's and nothing outside Windows-1252 is lost
// on the way.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/qorstring.h"

namespace qm {

class TMacros;
class TOptions;
class TProject;

// ============================================================================
// Tag at a place, tag editing and the member list
// ============================================================================

// The editor's plain text with the places of its "<". Finding the tag at a
// place then costs a look-up instead of a scan back over a long run of prose,
// which matters on every mouse move over the editor.
class TTagText {
public:
    TTagText() = default;
    // Implicit, so a literal serves where a text is wanted.
    TTagText(std::u16string_view text) { Assign(std::u16string(text)); }
    void Assign(std::u16string text);

    std::u16string_view Text() const { return text_; }
    int Length() const { return static_cast<int>(text_.size()); }
    // The unit at i; 0 outside the text.
    char16_t At(int i) const { return i >= 0 && i < Length() ? text_[static_cast<std::size_t>(i)] : u'\0'; }
    // The last "<" at or before p, the first one at or after p; -1 when none.
    int OpenAtOrBefore(int p) const;
    int OpenAtOrAfter(int p) const;

private:
    std::u16string text_;
    std::vector<int> opens_;
};

// The tag found at a place. Parts and inner text are Windows-1252 with one
// byte per UTF-16 unit of the text ("?" for a character the code page lacks),
// so their lengths are the editor's lengths.
struct TTagInfo {
    int Count = 0;  // number of parts; 0 when the place is in no tag
    StringList Parts;
    std::string InnerText;  // paired tags: the text between start and end tag
    int StartTagBegin = -1;
    int StartTagEnd = -1;
    int EndTagBegin = -1;
    int EndTagEnd = -1;

    // Part 0 (the upper-cased name) or "".
    std::string Name() const { return Parts.empty() ? std::string() : Parts.front(); }
    // The part after the part `key` ("WINDOW", "FILE"), or nullopt.
    std::optional<std::string> After(std::string_view key) const;
    bool Has(std::string_view part) const;
};

// The tag at position p (0-based; p == length is the end of the text).
//  - the start is the last "<" at or before p; "</NAME>" leads back to the
//    nearest "<NAME" before it;
//  - a start tag is a tag only when a ">" comes before the next "<" and the
//    end (an end tag likewise); a paired tag (LINK, ULINK, MACRO, UMACRO, BTN)
//    also needs its end tag;
//  - p is in a single tag from "<" to ">", in a paired one from the start
//    tag's "<" to the end tag's ">".
// Parts: LINK and ULINK with the keyword TOPIC or POPUP (exactly one blank
// after the name): the keyword, the quoted value, then "WINDOW" and the window
// when WINDOW= follows the value's closing quote, then "FILE" and all the text
// after FILE= up to the ">". MACRO, UMACRO and BTN: the macro. SOUND, VIDEO:
// the flag words found between blanks (EXTERNAL, MENU, PLAY, REPEAT, PLAYBAR),
// then the quoted value. ANCHOR, RTF, IMAGE, IMAGEC, IMAGEL, IMAGER: the
// quoted value. Any other name: none. Every read is bounded.
TTagInfo ParseTagAt(const TTagText& text, int p);

// What Edit Tag does with a tag.
enum class TTagEditKind { None, TopicLink, PopupLink, Anchor, Macro, Button, Rtf, Sound, Video, Image };
TTagEditKind EditKindOf(const TTagInfo& info);
// An image tag with its file: the image items of the editor's menu work on it.
bool IsImageTag(const TTagInfo& info);
// An image tag whose file is a .shg or .bmp (the hotspot editor opens those).
bool IsEditableImageTag(const TTagInfo& info);

// The Windows-1252 form of UTF-16 text, one byte per unit ("?" for what the
// code page lacks, each half of a surrogate pair included).
std::string ToCp1252Units(std::u16string_view s);

// The change that turns `oldText` into `newText` (Windows-1252, as the tag
// forms give it back): the old text is compared in its Windows-1252 form and
// only what lies between the common start and end is replaced, so characters
// outside the code page and the formatting survive where the new text keeps
// them. nullopt when the two are the same.
struct TTextSplice {
    int From = 0;    // in oldText
    int Length = 0;  // units of oldText replaced
    std::u16string Insert;
};
std::optional<TTextSplice> SpliceFor(std::u16string_view oldText, std::string_view newText);

// `newText` (Windows-1252) as UTF-16, with the last place that holds the
// Windows-1252 form of `original` given back the original characters: a
// selection that went through a form as its hotspot keeps what the code page
// lacks.
std::u16string WithOriginal(std::string_view newText, std::u16string_view original);

// --- the insert commands without their forms --------------------------------

enum class TInsertTag {
    TopicLink,
    PopupLink,
    NoScroll,
    Anchor,
    Macro,
    Image,
    Button,
    Sound,
    Video,
    Rtf,
    StartTag,
    EndTag
};

// The text written in place of the selection `sel`, and the selection
// afterwards, relative to where the text starts.
struct TDirectInsert {
    std::u16string Text;
    int SelStart = 0;
    int SelLength = 0;
};
TDirectInsert DirectInsert(TInsertTag kind, std::u16string_view sel);

// --- the member list ---------------------------------------------------------

// The kinds of list, in the numbering the list keeps.
enum TListKind : int { lkTopics = 0, lkPopups = 1, lkWindows = 2, lkTags = 3, lkMacros = 4, lkAll = 5 };

// The 17 tag names the tag list offers, in its order.
extern const std::array<const char*, 17> kMemberTagNames;

// The character after which the item of a list kind begins: a double quote
// (topics, popups), "=" (windows), a blank (macros), "<" (tags, all).
char16_t ListStartChar(int kind);
// The glyph of an item of a list kind: tag 0, window 1, topic 2, popup 3,
// macro 4.
int ListImageOf(int kind);

// A carriage return, a line feed or the editor's paragraph and line separators.
bool IsLineEnd(char16_t c);

// The text typed since `c` on the line: from after the last `c` (or the
// line's start) before p up to p.
std::u16string GetTypedWord(std::u16string_view text, int p, char16_t c);
// Where the item being typed begins: the index after the last `c` before p on
// the line (index 0 included); -1 when the line holds none.
int WordStartBefore(std::u16string_view text, int p, char16_t c);

// The list that typing `ch` opens, given the text up to the caret after it
// was typed (and after a closing quote was added): -1 for none. Reads the
// insight options.
int ListKindAfterTyping(char16_t ch, std::u16string_view before, const TOptions& options);
// The list that fits the place of the caret p on `line` (the explicit
// command): topics or popups inside a TOPIC=" or POPUP=" value, windows after
// WINDOW=, macros after "<MACRO " or "<BTN ", else all members.
int ListKindForPlace(std::u16string_view line, int p);
// Where accepting an item of `kind` at p replaces from: the start of the item
// being typed, or p itself (the item is inserted at the caret). The lists that
// begin at "<" replace only when no blank and no ">" stands between the
// nearest "<" and p.
int AcceptStart(std::u16string_view line, int p, int kind);
// What has been typed of the item (Windows-1252): the typed word, trimmed;
// for topics and popups without a closing quote.
std::string TypedPrefix(std::u16string_view line, int p, int kind);

// One item of the list and its glyph.
struct TMemberItem {
    std::string Name;
    int Image = 0;
    bool operator==(const TMemberItem&) const = default;
};
// The items of a list kind, in the order the list shows them: the tag names
// as listed, every other list sorted (stable, ASCII case ignored); the
// combined list is the tags, popups, topics, macros and windows, sorted.
std::vector<TMemberItem> MemberItems(int kind, const TProject& project, const TMacros& macros);
// The first item that begins with `prefix`, ASCII case ignored; -1 when none.
int FindPrefix(const std::vector<TMemberItem>& items, std::string_view prefix);

// Where the list goes: at (x, y) unless it would reach the screen's right or
// bottom edge; then left by its overhang and 40 pixels, or up by it and 80.
struct TListPlace {
    int X = 0;
    int Y = 0;
    bool operator==(const TListPlace&) const = default;
};
TListPlace PlaceMemberList(int x, int y, int width, int height, int screenLeft, int screenTop, int screenWidth,
                           int screenHeight);

// --- the hot cursor -----------------------------------------------------------

enum class THotCursor { Unchanged, Default, Pointer, Hand, Tag };

struct THotCursorState {
    bool FormatPainter = false;  // Copy Format waits for its mouse-up
    bool LeftButton = false;     // held
    int X = 0;                   // mouse, editor pixels
};
// The cursor over the editor: unchanged while Copy Format is on, the option
// is off or the left button is held; the pointer over the gutter; else by the
// tag under the mouse, which `tagAtMouse` gives (called only when needed):
// the hand over a link when a double click follows it, the tag cursor over
// any other tag, the default cursor elsewhere.
THotCursor HotCursorFor(const THotCursorState& state, const TOptions& options,
                        const std::function<TTagInfo()>& tagAtMouse);

// ============================================================================

// ============================================================================
// Link following
// ============================================================================

// The topic or popup link around the caret. Only links written in the exact
// form of the tag language are found: "<LINK " or "<ULINK " followed by a
// five-letter keyword, "=" and a double quote, and the end tag as the first
// "<" after the start tag (for LINK a "<BITMAP " tag is also accepted there).
// The caret may stand anywhere from the start tag's "<" to the character
// before the end tag's "<". True, with the target's name (the quoted value up
// to its first colon, as Windows-1252), when the caret is on such a link; a
// caret outside 0 .. size - 1 is on none.
bool FindLinkAt(std::u16string_view text, int caret, std::string& name);

// ============================================================================

}  // namespace qm
