#pragma once
// The icon set built into both programs: Tango icons in 16 and 22 pixels
// (data/icons/tango.txt, copied from the installed theme when the build is
// configured) and the project's own SVG drawings (data/icons/*.svg), all as
// Qt resources of this library (cmake/QmIcons.cmake). Nothing is looked up
// in the desktop's theme at run time, so every machine shows the same
// pictures. Only the GUI thread may ask for icons.
#include <QIcon>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>
#include <vector>

namespace qm {

// The icon named `name` ("edit-undo", "tag-anchor"): a Tango icon or one of
// our drawings. An unknown name is a programming error: the icon is null and
// a warning is logged (the tests try every name the programs use).
QIcon QmIcon(const QString& name);
// Whether the set holds `name`.
bool QmHasIcon(const QString& name);
// Every name of the set, sorted.
QStringList QmIconNames();
// The names of our own drawings, sorted (the rest are Tango's).
QStringList QmOwnIconNames();

// A numbered list of glyphs, standing for one of the windows' image lists:
// the code draws "glyph 47 of the commands' list", the list names the icon.
class TImageList {
public:
    TImageList(std::initializer_list<std::pair<int, const char*>> glyphs);
    // The glyph at `index`; null for -1 or an index the list does not hold.
    QIcon Glyph(int index) const;
    // The icon name at `index`; empty when there is none.
    QString Name(int index) const;
    // Every index the list holds, ascending.
    std::vector<int> Indexes() const;

private:
    std::vector<std::pair<int, const char*>> glyphs_;
};

// The command bars' glyphs: 0 new topic, 1 new popup, 2 remove, 3 set as
// contents page, 4 properties, 5 renumber, 6 rename, 7 gutter, 8 to 11 first,
// previous, next and last topic, 12 and 13 add to keywords and A-keywords,
// 14 and 15 lower and upper case, 16 to 19 toggle, previous, next and clear
// bookmarks.
const TImageList& imlCommandBars();
// The commands' glyphs that lists draw: 36 topic, 37 character style,
// 38 paragraph style, 39 left-aligned, 40 centred, 41 right-aligned,
// 47 contents page, 50 popup, 72 new topic, 73 new popup.
const TImageList& imlCommands();
// The build log's glyphs: 2 error, 3 warning.
const TImageList& imlMisc();

// Glyph numbers of imlCommands that more than one place draws.
inline constexpr int kGlyphTopic = 36;
inline constexpr int kGlyphCharacterStyle = 37;  // 38 to 41 follow in the order above
inline constexpr int kGlyphPopup = 50;
inline constexpr int kGlyphNewTopic = 72;
inline constexpr int kGlyphNewPopup = 73;

}  // namespace qm
