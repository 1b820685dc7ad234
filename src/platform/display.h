#pragma once
// Whether the program can open windows here. Without a display the toolkit
// would abort with a message of its own that users do not understand; the
// programs say what is missing instead.
namespace qm {

// True when a display (X11 or Wayland) or a Qt platform plugin is named, and
// always on systems where the desktop is not optional.
bool HasDisplay();

// Tells on stderr that `program` needs a display and how to give it one.
void ReportNoDisplay(const char* program);

}  // namespace qm
