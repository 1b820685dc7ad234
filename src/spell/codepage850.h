#pragma once
// The letters of a main dictionary are stored in the DOS (OEM) code page 850;
// the program works in Windows-1252. One table each way, byte by byte.
// Bytes without a counterpart in the other code page become '?'.
namespace qm {

char OemToAnsiChar(char oem);
char AnsiToOemChar(char ansi);

}  // namespace qm
