// Code page 1250 through its table. Most bytes of a package are ASCII, so both conversions copy
// runs of ASCII 16 bytes at a time (SSE2, which every x86-64 processor has) and look up the table
// only for the other bytes; other processors take the table alone.

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "db/BladKonwersji.h"
#include "db/Kodowanie.h"
#include "db/Tablica1250.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZUV_KODOWANIE_SSE2 1
#endif

namespace zuv {

namespace {

#ifdef ZUV_KODOWANIE_SSE2
constexpr bool ZSse2 = true;
#else
constexpr bool ZSse2 = false;
#endif

constexpr std::string_view Polecenie = "Polecenie SQL";

// The UTF-8 bytes of each byte of the code page: up to three bytes, their count in the fourth (0
// for the bytes without a character).
constexpr std::array<std::array<char, 4>, 256> Utf8Bajtow = [] {
    std::array<std::array<char, 4>, 256> tablica{};
    for (std::size_t i = 0; i < 256; ++i) {
        const char16_t znak = Tablica1250[i];
        auto& wpis = tablica[i];
        if (znak == BrakZnaku) {
            wpis = {0, 0, 0, 0};
        } else if (znak < 0x80) {
            wpis = {static_cast<char>(znak), 0, 0, 1};
        } else if (znak < 0x800) {
            wpis = {static_cast<char>(0xC0 | (znak >> 6)), static_cast<char>(0x80 | (znak & 0x3F)),
                    0, 2};
        } else {
            wpis = {static_cast<char>(0xE0 | (znak >> 12)),
                    static_cast<char>(0x80 | ((znak >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (znak & 0x3F)), 3};
        }
    }
    return tablica;
}();

unsigned char Bajt(std::string_view tekst, std::size_t i) {
    return static_cast<unsigned char>(tekst[i]);
}

char16_t ZnakUtf16(std::string_view tekst, std::size_t i, std::string_view opis) {
    const char16_t znak = Tablica1250[Bajt(tekst, i)];
    if (znak == BrakZnaku) ZglosBladKonwersji(Polecenie, i, Bajt(tekst, i), opis);
    return znak;
}

// Both conversions come in two kinds: with the 16-byte ASCII runs where the processor has SSE2,
// and by the table alone, which other processors take and the tests check against the first.
template <bool Sse2>
std::u16string_view NaUtf16(std::string_view tekst, BuforKonwersji<char16_t>& bufor) {
    constexpr std::string_view opis = "CP1250 -> UTF-16LE";
    const std::size_t n = tekst.size();
    char16_t* wy = bufor.Zapewnij(n);
    std::size_t i = 0;
#ifdef ZUV_KODOWANIE_SSE2
    if constexpr (Sse2) {
        const __m128i zera = _mm_setzero_si128();
        while (i + 16 <= n) {
            const __m128i bajty =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(tekst.data() + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(wy + i), _mm_unpacklo_epi8(bajty, zera));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(wy + i + 8),
                             _mm_unpackhi_epi8(bajty, zera));
            const auto maska = static_cast<unsigned>(_mm_movemask_epi8(bajty));
            if (maska == 0) {
                i += 16;
                continue;
            }
            // The ASCII bytes before the first other one are written; that one goes through the
            // table and the next block starts after it.
            i += static_cast<std::size_t>(std::countr_zero(maska));
            wy[i] = ZnakUtf16(tekst, i, opis);
            ++i;
        }
    }
#endif
    for (; i < n; ++i) wy[i] = ZnakUtf16(tekst, i, opis);
    return {wy, n};
}

template <bool Sse2>
std::string_view NaUtf8(std::string_view tekst, BuforKonwersji<char>& bufor) {
    constexpr std::string_view opis = "CP1250 -> UTF-8";
    const std::size_t n = tekst.size();
    // Each byte gives at most three, and the last one writes a fourth, spare byte.
    char* wy = bufor.Zapewnij(3 * n + 1);
    std::size_t w = 0;
    const auto dopisz = [&](std::size_t i) {
        const auto& wpis = Utf8Bajtow[Bajt(tekst, i)];
        if (wpis[3] == 0) ZglosBladKonwersji(Polecenie, i, Bajt(tekst, i), opis);
        std::memcpy(wy + w, wpis.data(), 4);
        w += static_cast<std::size_t>(wpis[3]);
    };
    std::size_t i = 0;
#ifdef ZUV_KODOWANIE_SSE2
    if constexpr (Sse2) {
        while (i + 16 <= n) {
            const __m128i bajty =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(tekst.data() + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(wy + w), bajty);
            const auto maska = static_cast<unsigned>(_mm_movemask_epi8(bajty));
            if (maska == 0) {
                i += 16;
                w += 16;
                continue;
            }
            const auto ascii = static_cast<std::size_t>(std::countr_zero(maska));
            i += ascii;
            w += ascii;
            dopisz(i);
            ++i;
        }
    }
#endif
    for (; i < n; ++i) dopisz(i);
    return {wy, w};
}

}  // namespace

std::u16string_view Cp1250NaUtf16(std::string_view tekst, BuforKonwersji<char16_t>& bufor) {
    return NaUtf16<ZSse2>(tekst, bufor);
}

std::u16string Cp1250NaUtf16(std::string_view tekst) {
    BuforKonwersji<char16_t> bufor;
    return std::u16string(Cp1250NaUtf16(tekst, bufor));
}

std::string_view Cp1250NaUtf8(std::string_view tekst, BuforKonwersji<char>& bufor) {
    return NaUtf8<ZSse2>(tekst, bufor);
}

std::u16string_view Cp1250NaUtf16Tablica(std::string_view tekst, BuforKonwersji<char16_t>& bufor) {
    return NaUtf16<false>(tekst, bufor);
}

std::string_view Cp1250NaUtf8Tablica(std::string_view tekst, BuforKonwersji<char>& bufor) {
    return NaUtf8<false>(tekst, bufor);
}

}  // namespace zuv
