// Code page 1250 to UTF-16, against iconv's reading of the same bytes: the same characters, and
// a refusal exactly where iconv finds a byte the code page leaves undefined.
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/Wyjatki.h"
#include "db/Kodowanie.h"
#include "fuzz/Wspolne.h"

using namespace zuv;

namespace {

std::optional<std::u16string> PrzezIconv(std::string_view tekst) {
    const iconv_t konwersja = iconv_open("UTF-16LE", "CP1250");
    Wymagaj(konwersja != reinterpret_cast<iconv_t>(-1), "iconv bez CP1250");
    std::string wejscie(tekst);
    std::u16string wynik(tekst.size() + 1, u'\0');
    char* we = wejscie.data();
    std::size_t zostalo = wejscie.size();
    char* wy = reinterpret_cast<char*>(wynik.data());
    std::size_t miejsce = wynik.size() * sizeof(char16_t);
    const std::size_t rc = iconv(konwersja, &we, &zostalo, &wy, &miejsce);
    iconv_close(konwersja);
    if (rc == static_cast<std::size_t>(-1)) return std::nullopt;
    wynik.resize(wynik.size() - miejsce / sizeof(char16_t));
    return wynik;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string_view tekst(reinterpret_cast<const char*>(dane), rozmiar);
    std::optional<std::u16string> wynik;
    try {
        wynik = Cp1250NaUtf16(tekst);
    } catch (const EOleException&) {
    }
    Wymagaj(wynik == PrzezIconv(tekst), "konwersja CP1250");
    // The table alone, the path of processors without SSE2, agrees with the fast path.
    std::optional<std::u16string> tablica;
    std::optional<std::string> utf8;
    std::optional<std::string> utf8Tablica;
    BuforKonwersji<char16_t> bufor16;
    BuforKonwersji<char> bufor8;
    try {
        tablica = std::u16string(Cp1250NaUtf16Tablica(tekst, bufor16));
    } catch (const EOleException&) {
    }
    try {
        utf8 = std::string(Cp1250NaUtf8(tekst, bufor8));
    } catch (const EOleException&) {
    }
    try {
        utf8Tablica = std::string(Cp1250NaUtf8Tablica(tekst, bufor8));
    } catch (const EOleException&) {
    }
    Wymagaj(tablica == wynik, "konwersja CP1250 samą tablicą");
    Wymagaj(utf8Tablica == utf8, "konwersja CP1250 do UTF-8 samą tablicą");
    // The program's texts go through UTF-8 and back without a change.
    if (wynik) Wymagaj(Utf8NaUtf16(Utf16NaUtf8(*wynik)) == *wynik, "UTF-16 przez UTF-8");
    return 0;
}
