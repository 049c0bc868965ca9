// UTF-8 and UTF-16 converted by rule, strictly: overlong forms, surrogates written in UTF-8, codes
// above U+10FFFF, cut sequences and unpaired surrogates are refused at the position where their
// sequence begins.

#include "db/Kodowanie.h"

#include <cstdint>
#include <cstdio>

#include "common/Tekst.h"
#include "db/BladKonwersji.h"

namespace zuv {

namespace {

constexpr std::int32_t KodBleduKonwersji = static_cast<std::int32_t>(0x80004005);  // E_FAIL

bool Kontynuacja(unsigned char bajt) { return (bajt & 0xC0) == 0x80; }

}  // namespace

void ZglosBladKonwersji(std::string_view coKonwertujemy, std::size_t pozycja, unsigned char bajt,
                        std::string_view opis) {
    char szesnastkowo[8];
    std::snprintf(szesnastkowo, sizeof szesnastkowo, "%02X", static_cast<unsigned>(bajt));
    throw EOleException(
        Formatuj("%s zawiera na pozycji %d bajt 0x%s, którego nie można przekształcić (%s)",
                 {coKonwertujemy, static_cast<long long>(pozycja), szesnastkowo, opis}),
        KodBleduKonwersji, "Konwersja tekstu");
}

std::u16string Utf8NaUtf16(std::string_view tekst) {
    std::u16string wynik;
    wynik.reserve(tekst.size());
    const auto bajt = [&](std::size_t i) {
        return i < tekst.size() ? static_cast<unsigned char>(tekst[i]) : 0;
    };
    for (std::size_t i = 0; i < tekst.size();) {
        const unsigned char b = bajt(i);
        const auto blad = [&] { ZglosBladKonwersji("Tekst", i, b, "UTF-8 -> UTF-16LE"); };
        if (b < 0x80) {
            wynik += static_cast<char16_t>(b);
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF) {
            if (!Kontynuacja(bajt(i + 1))) blad();
            wynik += static_cast<char16_t>((b & 0x1F) << 6 | (bajt(i + 1) & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            const unsigned char b1 = bajt(i + 1);
            // E0 needs A0 and above (no overlong form), ED at most 9F (no surrogate).
            if (!Kontynuacja(b1) || !Kontynuacja(bajt(i + 2)) || (b == 0xE0 && b1 < 0xA0) ||
                (b == 0xED && b1 > 0x9F))
                blad();
            wynik +=
                static_cast<char16_t>((b & 0x0F) << 12 | (b1 & 0x3F) << 6 | (bajt(i + 2) & 0x3F));
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            const unsigned char b1 = bajt(i + 1);
            // F0 needs 90 and above (no overlong form), F4 at most 8F (nothing above U+10FFFF).
            if (!Kontynuacja(b1) || !Kontynuacja(bajt(i + 2)) || !Kontynuacja(bajt(i + 3)) ||
                (b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 > 0x8F))
                blad();
            const std::uint32_t kod = static_cast<std::uint32_t>(b & 0x07) << 18 |
                                      static_cast<std::uint32_t>(b1 & 0x3F) << 12 |
                                      static_cast<std::uint32_t>(bajt(i + 2) & 0x3F) << 6 |
                                      (bajt(i + 3) & 0x3F);
            wynik += static_cast<char16_t>(0xD800 + ((kod - 0x10000) >> 10));
            wynik += static_cast<char16_t>(0xDC00 + ((kod - 0x10000) & 0x3FF));
            i += 4;
        } else {
            blad();
        }
    }
    return wynik;
}

std::string Utf16NaUtf8(std::u16string_view tekst) {
    std::string wynik;
    wynik.reserve(tekst.size());
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        std::uint32_t kod = tekst[i];
        if (kod >= 0xD800 && kod <= 0xDFFF) {
            // Positions count bytes of the little-endian form, whose first byte is the low one.
            if (kod > 0xDBFF || i + 1 == tekst.size() || tekst[i + 1] < 0xDC00 ||
                tekst[i + 1] > 0xDFFF)
                ZglosBladKonwersji("Tekst serwera", 2 * i, static_cast<unsigned char>(kod & 0xFF),
                                   "UTF-16LE -> UTF-8");
            kod = 0x10000 + ((kod - 0xD800) << 10) + (tekst[i + 1] - 0xDC00u);
            ++i;
        }
        if (kod < 0x80) {
            wynik += static_cast<char>(kod);
        } else if (kod < 0x800) {
            wynik += static_cast<char>(0xC0 | kod >> 6);
            wynik += static_cast<char>(0x80 | (kod & 0x3F));
        } else if (kod < 0x10000) {
            wynik += static_cast<char>(0xE0 | kod >> 12);
            wynik += static_cast<char>(0x80 | (kod >> 6 & 0x3F));
            wynik += static_cast<char>(0x80 | (kod & 0x3F));
        } else {
            wynik += static_cast<char>(0xF0 | kod >> 18);
            wynik += static_cast<char>(0x80 | (kod >> 12 & 0x3F));
            wynik += static_cast<char>(0x80 | (kod >> 6 & 0x3F));
            wynik += static_cast<char>(0x80 | (kod & 0x3F));
        }
    }
    return wynik;
}

}  // namespace zuv
