#pragma once
// Windows-1252 <-> Unicode through one table. Used at the GUI edge and for file
// names. Characters that Windows-1252 cannot hold become '?'. The five bytes the
// code page leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) map to the C1 controls
// of the same value, so every byte survives a round trip.
#include <string>
#include <string_view>

namespace qm {

char32_t Cp1252ToCodePoint(unsigned char b);
// '?' for a code point with no Windows-1252 byte.
char CodePointToCp1252(char32_t cp);

std::string Cp1252ToUtf8(std::string_view cp1252);
// Invalid UTF-8 sequences become '?'.
std::string Utf8ToCp1252(std::string_view utf8);
std::u16string Cp1252ToUtf16(std::string_view cp1252);
// Surrogate pairs decode to one code point (and then become '?').
std::string Utf16ToCp1252(std::u16string_view utf16);

// True when `s` is well-formed UTF-8.
bool IsValidUtf8(std::string_view s);

}  // namespace qm
