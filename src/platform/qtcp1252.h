#pragma once
// Model strings (Windows-1252 bytes) at the Qt edge, through the program's
// own table: bytes 0x80-0x9F are the Windows characters, which Latin-1 would
// get wrong. Characters outside Windows-1252 become "?".
#include <QString>
#include <string>
#include <string_view>

namespace qm {

QString FromCp1252(std::string_view s);
std::string ToCp1252(const QString& s);

}  // namespace qm
