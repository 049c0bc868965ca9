#include "packages/format/FormatPakietu.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "common/Ascii.h"
#include "common/Tekst.h"

namespace zuv {

namespace {

// The first position at which `wzor` stands in `tekst`, its bytes compared by `rowne(wzor byte,
// text byte)`. The search jumps with memchr from one occurrence of wzor[kotwica] to the next, so
// that byte must match only itself; the matches are met in order, so the first found is first.
template <typename Rowne>
std::size_t Znajdz(std::string_view tekst, std::string_view wzor, std::size_t kotwica,
                   Rowne rowne) {
    if (tekst.size() < wzor.size()) return std::string_view::npos;
    const std::size_t ostatniaKotwica = tekst.size() - wzor.size() + kotwica;
    for (std::size_t p = kotwica; p <= ostatniaKotwica; ++p) {
        const void* trafienie =
            std::memchr(tekst.data() + p, wzor[kotwica], ostatniaKotwica - p + 1);
        if (trafienie == nullptr) break;
        p = static_cast<std::size_t>(static_cast<const char*>(trafienie) - tekst.data());
        if (std::equal(wzor.begin(), wzor.end(),
                       tekst.begin() + static_cast<std::ptrdiff_t>(p - kotwica), rowne))
            return p - kotwica;
    }
    return std::string_view::npos;
}

}  // namespace

std::int32_t LiczbaSeparatorow(const ListaLinii& linie) noexcept {
    std::int32_t liczba = 0;
    for (const std::string_view linia : linie) liczba += JestSeparatorem(linia) ? 1 : 0;
    return liczba;
}

bool ZamienZnacznikSzyfrowania(std::string& partia) {
    // The marker is compared in capitals. Its letters are ASCII, and upper-casing in code page
    // 1250 maps no other byte onto an ASCII letter and keeps every byte in place, so folding a to
    // z alone finds the same first occurrence. Its apostrophe has no case and is far rarer in the
    // packages than its dashes, so the search steps from apostrophe to apostrophe.
    const std::size_t pozycja = Znajdz(partia, ZnacznikSzyfrowania, 3, [](char wzor, char znak) {
        return WielkaLiteraAscii(znak) == wzor;
    });
    if (pozycja == std::string_view::npos) return false;
    partia.replace(pozycja, ZnacznikSzyfrowania.size(), KlauzulaSzyfrowania);
    return true;
}

bool SpelniaMinSQL(std::int32_t wersjaSerwera, std::string_view partia) {
    // An exact search for the first "-- $MIN_SQL_", stepping from one "$" to the next: the
    // packages hold a hundred of them in ten million bytes.
    const std::size_t pozycja = Znajdz(partia, ZnacznikGeneracji, 3, std::equal_to<char>());
    if (pozycja == std::string_view::npos) return true;
    return wersjaSerwera >= TekstNaInt(partia.substr(pozycja + ZnacznikGeneracji.size(), 4));
}

}  // namespace zuv
