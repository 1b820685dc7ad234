#include "platform/qtcp1252.h"

#include "util/cp1252.h"

namespace qm {

QString FromCp1252(std::string_view s) {
    // Straight into the string: by way of a std::u16string it cost a second
    // allocation and copy, which filling lists of 40,000 names felt.
    QString out(static_cast<qsizetype>(s.size()), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char c : s) *to++ = QChar(static_cast<char16_t>(Cp1252ToCodePoint(static_cast<unsigned char>(c))));
    return out;
}
std::string ToCp1252(const QString& s) { return Utf16ToCp1252(s.toStdU16String()); }

}  // namespace qm
