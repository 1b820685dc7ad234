#pragma once
// What the insert-tag dialogs take and give back, for the commands that
// insert a tag and for Edit Tag.
//
// The caller fills a TTagPreset and runs the form through
// TDialogFactory::RunTagDialog(kind, preset, project, macros). When the user
// confirms, it gets a TTagResult: the new tag text and, for images and image
// hotspots, the image file as the user typed or chose it. The forms never
// change the project: adding the image's folder to the project's image
// folders is the caller's step (TTagResult::ImageFolder names it).
//
// Filling the preset
//   A new tag (the insert commands; `sel` is the selected text):
//     TopicLink, PopupLink, MacroHotspot: Hotspot = sel.
//     Button: Caption = sel.          Sound, Video: MediaFile = sel.
//     Image, Rtf: nothing.
//     Leave Topic, Popup and Window unset: the form selects the project's
//     first topic, popup and window. Images and image hotspots start on
//     "Character".
//   An edited tag (the parts as the tag at the caret gives them):
//     LINK/ULINK TOPIC: Topic = the quoted value before its first ":",
//       Anchor = the text after it (none: empty); Window = the WINDOW value,
//       or "" when the tag has none (so no window is added); File = the FILE=
//       value (blanks included); Hotspot = the inner text;
//       UserDefined = (name is ULINK).
//     LINK/ULINK POPUP: Popup = the whole quoted value; File; Hotspot;
//       UserDefined.
//     MACRO/UMACRO: Macro = the macro; Hotspot = the inner text;
//       UserDefined = (name is UMACRO).
//     BTN: Macro = the macro; Caption = the inner text.
//     IMAGE, IMAGEC, IMAGEL, IMAGER: Image = the quoted value;
//       ImageTagName = the tag's name.
//     RTF: Rtf = the quoted value; SingleLine = true.
//     SOUND: External = (EXTERNAL among the parts); MediaFile = the last part.
//     VIDEO: External, AutoPlay (PLAY), Repeat, Menu, PlayBar (PLAYBAR) from
//       the parts; MediaFile = the last part.
//   The hotspot of the link and macro forms: a Hotspot that is exactly one
//   image tag, `<IMAGE "a.bmp">` (IMAGE, IMAGEC, IMAGEL or IMAGER in any
//   case, one blank, the quoted file, ">"), opens as an image hotspot with
//   that file and placement; any other text opens whole as the text hotspot,
//   so nothing of it is lost.
//
// Image placement: "Character" writes IMAGEC, "Left" IMAGEL, "Right" IMAGER.
// An edited image (or image hotspot) whose placement the user left as it was
// writes the name it came from, so `<IMAGE "a.bmp">` stays as it is.
//
// All text is Windows-1252 bytes; the RTF form joins its tags with CR LF.
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// The eight forms.
enum class TTagKind { TopicLink, PopupLink, Button, MacroHotspot, Sound, Video, Rtf, Image };

// The items of the forms' cboAlign, in their order.
enum class TImageAlign { Character = 0, Left = 1, Right = 2 };

struct TTagPreset {
    // --- links and macro hotspots
    std::string Hotspot{};     // the selection, or the inner text of the edited tag
    bool UserDefined = false;  // ULINK or UMACRO: ticks "User defined appearance" (text hotspots)
    std::string File{};        // FILE= of a link; empty: none
    // --- topic link
    std::optional<std::string> Topic{};   // unset: the project's first topic
    std::string Anchor{};                 // empty: none
    std::optional<std::string> Window{};  // unset: the project's first window; "": none
    // --- popup link
    std::optional<std::string> Popup{};  // unset: the project's first popup
    // --- button and macro hotspot
    std::string Macro{};
    std::string Caption{};  // button only
    // --- sound and video
    std::string MediaFile{};
    bool External = false;
    bool AutoPlay = false;  // video only, as the rest
    bool Repeat = false;
    bool Menu = false;
    bool PlayBar = false;
    // --- raw RTF
    std::string Rtf{};  // CR LF, CR or LF separate the memo's lines
    bool SingleLine = false;
    // --- image
    std::string Image{};         // the file
    std::string ImageTagName{};  // the name of the edited image tag as written; empty: a new image
};

struct TTagResult {
    std::string Tag{};        // the new tag text
    std::string ImageFile{};  // the image of an image or image hotspot, as typed or chosen; else empty

    // The folder part of ImageFile (before its last "\" or "/"), with no
    // trailing separator unless it is a root ("/", "C:\"); empty when the
    // file name has no folder, which must add nothing to the image folders.
    std::string ImageFolder() const;
};

// The text that anchor names are refused with, and the test.
inline constexpr const char* kMsgBadAnchorName = "An anchor name cannot contain quotes or angle brackets.";
// False when `name` holds a double quote, "<" or ">".
bool IsValidAnchorName(std::string_view name);

// --- helpers of the forms (Windows-1252 in and out) ------------------------

// The name without its folder: the text after the last "\" or "/".
std::string FileNameOnly(std::string_view path);

// The tag name that an image placement writes ("IMAGEC", "IMAGEL" or
// "IMAGER"); `original` (the name the image came from, any case) instead when
// the placement is the one it presets.
std::string ImageTagNameFor(TImageAlign align, std::string_view original);
// The placement an image tag's name presets: C and plain IMAGE "Character",
// L "Left", R "Right"; an empty or unknown name (a new image) "Character".
TImageAlign ImageAlignOf(std::string_view tagName);

// An image hotspot read from a link's or macro's inner text: exactly one
// image tag in the form the forms write; nullopt for anything else.
struct TImageHotspot {
    std::string TagName;  // as written ("IMAGE", "imagec", ...)
    std::string File;     // the quoted value
};
std::optional<TImageHotspot> ParseImageHotspot(std::string_view inner);

}  // namespace qm
