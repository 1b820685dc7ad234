#pragma once
// The import choice, made with the import dialog for the Import command.
#include <optional>

#include "import/import.h"

namespace qm {

class UiServices;

// Runs the import dialog through `ui` (the first type preselected, its Help
// button opening the dialog's help topic). nullopt when it was cancelled.
std::optional<TImportRequest> ChooseImportFile(UiServices& ui);

}  // namespace qm
