#pragma once
// Conversions between the program's 8-bit texts and the Unicode forms the ODBC calls take. Code
// page 1250 goes through one table of its 256 bytes, the same on every platform; UTF-8 and
// UTF-16 are converted by rule. Every conversion is strict: a byte or sequence the source
// encoding does not define raises EOleException naming its position in bytes; nothing is ever
// replaced silently.

#include <string>
#include <string_view>

namespace zuv {

// A command text in code page 1250. Of its 256 bytes, 0x81, 0x83, 0x88, 0x90 and 0x98 have no
// character and are refused.
std::u16string Cp1250NaUtf16(std::string_view tekst);
// The same into `bufor`, which only grows, so that a buffer kept from command to command is
// allocated once; returns the converted text, a view into `bufor`.
std::u16string_view Cp1250NaUtf16(std::string_view tekst, std::u16string& bufor);
// A command text in code page 1250 as UTF-8, into `bufor` in the same way.
std::string_view Cp1250NaUtf8(std::string_view tekst, std::string& bufor);

// The program's own texts (UTF-8), such as the connection string.
std::u16string Utf8NaUtf16(std::string_view tekst);
// Everything the server or the driver returns.
std::string Utf16NaUtf8(std::u16string_view tekst);

}  // namespace zuv
