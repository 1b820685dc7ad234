#pragma once
// Where the programs find the files they read at run time (macros.cfg, the
// "Dictionaries" folder, the help files).
#include <QString>

namespace qm {

// The data folder of a program started from `programFolder`: that folder
// itself when the data lies beside the program (a build tree, Windows), else
// the data folder of an installed program, found relative to the program
// (<prefix>/share/quillmark for <prefix>/bin), when it exists; else the
// program's folder.
QString ProgramDataFolder(const QString& programFolder);

}  // namespace qm
