#pragma once
// Context-ID constant files: the modules' context numbers as named constants
// for C/C++, Visual Basic and Pascal, written beside the project file and
// named after it (<base>Help.h, <base>Help.bas, <base>Help.pas).
#include <string>
#include <string_view>

#include "model/project.h"

namespace qm {

// The path of a constant file for the project file `projectFile`: its folder,
// its name without extension, then `suffix` ("Help.h" and so on).
std::string IdConstantFileName(const std::string& projectFile, std::string_view suffix);

// The constant of one module: upper(prefix) + "_" + upper(name), or
// upper(name) with no prefix; ASCII letters only are upper-cased.
std::string IdConstantName(std::string_view prefix, std::string_view name);

// The file texts, CR LF throughout; `fileName` is the output file's name
// without folder.
std::string CIdHeaderText(const TProject& project, std::string_view fileName);
std::string VbConstantsText(const TProject& project, std::string_view fileName);
std::string PascalIdUnitText(const TProject& project, std::string_view fileName);

// Write the files for the project's FileName (which must not be empty),
// replacing any file of that name, and return the path written. A failure
// raises EFileAccess in its write form.
std::string WriteCIdHeader(const TProject& project);
std::string ExportVbConstants(const TProject& project);
std::string WritePascalIdUnit(const TProject& project);

}  // namespace qm
