#pragma once
// The command line and the hand-off lists. Quillmark starts Pikeral as
//   pikeral --handoff=<folder> [file.shg]
// after writing the names of the project's topics and popups into two files
// of a private folder made for this one start. Pikeral reads them, deletes
// them, then the folder when it is empty. Without the option there are no
// lists, and nothing of the current folder is read or deleted.
#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

#include "util/qorstring.h"

namespace qm::shgedit {

inline constexpr const char* kTopicsHandoffFile = "~QorTopics.dat";
inline constexpr const char* kPopupsHandoffFile = "~QorPopups.dat";
inline constexpr const char* kHandoffOption = "--handoff=";
// The most a hand-off file is read of; a larger one is no list of names.
inline constexpr qint64 kMaxHandoffFile = 16 * 1024 * 1024;

// The folder of the first "--handoff=<folder>" among the arguments (those
// after the program's name); empty without one.
QString HandoffFolderOf(const QStringList& args);
// The first argument that is not the hand-off option; nullopt when none.
std::optional<QString> FileArgumentOf(const QStringList& args);

struct THandoffLists {
    StringList Topics;  // Windows-1252 names, in the file's order
    StringList Popups;
};

// The names a hand-off file's bytes hold: its lines (ended by CR LF, CR or
// LF), empty lines dropped, each name kept as its bytes.
StringList HandoffNames(std::string_view bytes);

// Reads "~QorTopics.dat" and "~QorPopups.dat" from `folder` (HandoffNames, of
// at most kMaxHandoffFile bytes), deletes each (only a plain file:
// never a link, which is neither read nor removed), then removes the folder
// when nothing is left in it. A missing or unreadable file gives an empty
// list. An empty folder name reads and deletes nothing. Never throws.
THandoffLists TakeHandoffLists(const QString& folder);

}  // namespace qm::shgedit
