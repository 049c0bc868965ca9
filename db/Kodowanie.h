#pragma once
// Conversions between the program's 8-bit texts and the UTF-16 of the ODBC wide calls. The one
// place that knows how code page 1250 is converted (iconv here; a Windows build would use the
// code page API). Every conversion is strict: a byte or sequence the source encoding does not
// define raises EOleException naming its position; nothing is ever replaced silently.

#include <string>
#include <string_view>

// A command text in code page 1250.
std::u16string Cp1250NaUtf16(std::string_view tekst);
// The program's own texts (UTF-8), such as the connection string.
std::u16string Utf8NaUtf16(std::string_view tekst);
// Everything the server or the driver returns.
std::string Utf16NaUtf8(std::u16string_view tekst);
