#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Text functions shared by the wire code and the query rules. The server keeps every text as UTF-8;
// the wire carries UCS-2/UTF-16LE, and VARCHAR values go out in code page 1250 (Polish collation).
namespace tds {

// Invalid UTF-8 becomes U+FFFD; nothing throws.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);
// Decodes little-endian UTF-16 bytes; an odd trailing byte is ignored.
std::string utf16leToUtf8(std::span<const std::uint8_t> bytes);

// Characters CP1250 lacks are transliterated or become '?'. Throws std::system_error when the
// C library has no CP1250 converter.
std::string utf8ToCp1250(std::string_view utf8);
// The five bytes CP1250 leaves undefined become '?'.
std::string cp1250ToUtf8(std::string_view cp1250);

// ASCII-only case folding, so UTF-8 sequences pass unchanged.
std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool containsIgnoreCase(std::string_view text, std::string_view needle);

// The server's character comparison: case-insensitive, trailing blanks ignored (as the database's
// Polish_CI_AS collation compares ASCII keys).
bool sqlEquals(std::string_view a, std::string_view b);

// ltrim/rtrim as the database does them: blanks (code 32) only.
std::string_view trimBlanks(std::string_view text);

}  // namespace tds
