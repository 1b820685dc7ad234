#include "platform/qtcp1252.h"

#include "util/cp1252.h"

namespace qm {

QString FromCp1252(std::string_view s) { return QString::fromStdU16String(Cp1252ToUtf16(s)); }
std::string ToCp1252(const QString& s) { return Utf16ToCp1252(s.toStdU16String()); }

}  // namespace qm
