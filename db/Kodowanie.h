#pragma once
// Conversions between the program's 8-bit texts and the Unicode forms the ODBC calls take. Code
// page 1250 goes through one table of its 256 bytes, the same on every platform; UTF-8 and
// UTF-16 are converted by rule. Every conversion is strict: a byte or sequence the source
// encoding does not define raises EOleException naming its position in bytes; nothing is ever
// replaced silently.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace zuv {

// Memory for converted commands, kept from command to command: it grows when a longer command
// comes and never shrinks, and it is never filled in advance, so the pages of the room kept for
// the longest possible result that the text does not need are never touched.
template <typename Znak>
class BuforKonwersji {
  public:
    // Room for at least `rozmiar` characters; what it held before is gone.
    Znak* Zapewnij(std::size_t rozmiar) {
        if (rozmiar > pojemnosc_) {
            pojemnosc_ =
                rozmiar > pojemnosc_ + pojemnosc_ / 2 ? rozmiar : pojemnosc_ + pojemnosc_ / 2;
            dane_.reset(new Znak[pojemnosc_]);
        }
        return dane_.get();
    }
    const Znak* Dane() const noexcept { return dane_.get(); }

  private:
    std::unique_ptr<Znak[]> dane_;
    std::size_t pojemnosc_ = 0;
};

// A command text in code page 1250. Of its 256 bytes, 0x81, 0x83, 0x88, 0x90 and 0x98 have no
// character and are refused.
std::u16string Cp1250NaUtf16(std::string_view tekst);
// The same into `bufor`; returns the converted text, a view into `bufor`.
std::u16string_view Cp1250NaUtf16(std::string_view tekst, BuforKonwersji<char16_t>& bufor);
// A command text in code page 1250 as UTF-8, into `bufor` in the same way.
std::string_view Cp1250NaUtf8(std::string_view tekst, BuforKonwersji<char>& bufor);
// The same conversions by the table alone, the path of processors without SSE2; on the others
// the tests and the fuzz target hold the fast path to it.
std::u16string_view Cp1250NaUtf16Tablica(std::string_view tekst, BuforKonwersji<char16_t>& bufor);
std::string_view Cp1250NaUtf8Tablica(std::string_view tekst, BuforKonwersji<char>& bufor);

// The program's own texts (UTF-8), such as the connection string.
std::u16string Utf8NaUtf16(std::string_view tekst);
// Everything the server or the driver returns.
std::string Utf16NaUtf8(std::u16string_view tekst);

}  // namespace zuv
