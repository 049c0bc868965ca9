#pragma once
// Line lists and the one rule by which texts are cut into lines: a line runs up to the next CR,
// LF or NUL byte; after it one CR and then one LF are skipped if present; a NUL byte ends the
// text. So CR LF, a lone CR and a lone LF each end one line, LF CR is two line breaks, and a text
// that ends with a line break has no empty last line.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace zuv {

// The first CR, LF or NUL byte in [p, koniec), or koniec. With SSE2, sixteen bytes are compared
// with the three at a time. Otherwise eight bytes are tested at a time for a byte below 14; only
// such a byte (a break, or a tab or other control byte) is looked at one by one.
inline const char* ZnajdzKoniecLinii(const char* p, const char* const koniec) noexcept {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    while (koniec - p >= 16) {
        const __m128i bajty = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i trafienia =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bajty, cr), _mm_cmpeq_epi8(bajty, lf)),
                         _mm_cmpeq_epi8(bajty, nul));
        const auto maska = static_cast<unsigned>(_mm_movemask_epi8(trafienia));
        if (maska != 0) return p + std::countr_zero(maska);
        p += 16;
    }
#endif
    constexpr std::uint64_t Jedynki = 0x0101010101010101ULL;
    constexpr std::uint64_t Wysokie = 0x8080808080808080ULL;
    if constexpr (std::endian::native == std::endian::little) {
        while (koniec - p >= 8) {
            std::uint64_t slowo;
            std::memcpy(&slowo, p, 8);
            // Flags every byte below 14 (and at most some bytes above a flagged one); the
            // lowest flag always marks the first byte below 14.
            std::uint64_t flagi = (slowo - Jedynki * 14) & ~slowo & Wysokie;
            while (flagi != 0) {
                const char* znak = p + std::countr_zero(flagi) / 8;
                if (*znak == '\r' || *znak == '\n' || *znak == '\0') return znak;
                flagi &= flagi - 1;
            }
            p += 8;
        }
    }
    while (p < koniec && *p != '\r' && *p != '\n' && *p != '\0') ++p;
    return p;
}

// Calls `dodaj(std::string_view)` for every line of the text, in order.
template <typename Funkcja>
void PodzielNaLinie(std::string_view tekst, Funkcja&& dodaj) {
    const char* p = tekst.data();
    const char* const koniec = p + tekst.size();
    while (p < koniec && *p != '\0') {
        const char* poczatek = p;
        p = ZnajdzKoniecLinii(p, koniec);
        dodaj(std::string_view(poczatek, static_cast<std::size_t>(p - poczatek)));
        if (p == koniec || *p == '\0') return;
        if (*p == '\r') ++p;
        if (p < koniec && *p == '\n') ++p;
    }
}

// Every line of the text followed by CR LF: the form in which command texts reach the server.
std::string ZLiniamiCrLf(std::string_view tekst);

// Whether the text is already in that form, so that ZLiniamiCrLf would give it unchanged: not
// empty, no NUL, every break CR LF, and the last line ended by one.
bool MaLinieCrLf(std::string_view tekst) noexcept;

// An ordered list of 8-bit lines. The bytes of all lines live in one buffer, so a package of ten
// million bytes and 290,000 lines costs one allocation for the text and one for the index.
class ListaLinii {
  public:
    std::size_t Liczba() const noexcept { return linie_.size(); }
    bool Pusta() const noexcept { return linie_.empty(); }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(bufor_.data() + linie_[i].poczatek, linie_[i].dlugosc);
    }

    void Dodaj(std::string_view linia);
    void Wyczysc();
    // Replaces the content with the lines of the text (see PodzielNaLinie).
    void UstawTekst(std::string_view tekst);

    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;
        Iterator(const ListaLinii* lista, std::size_t i) : lista_(lista), i_(i) {}
        std::string_view operator*() const { return (*lista_)[i_]; }
        Iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator==(const Iterator& inny) const { return i_ == inny.i_; }

      private:
        const ListaLinii* lista_;
        std::size_t i_;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, linie_.size()); }

  private:
    struct Linia {
        std::size_t poczatek;
        std::size_t dlugosc;
    };
    std::string bufor_;
    std::vector<Linia> linie_;
};

}  // namespace zuv
