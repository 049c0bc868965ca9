#pragma once
// The package format as the runner and the package checker read it: which lines are separators,
// how a package's lines are cut into batches, and the two markers a batch may carry, the
// encryption marker and the generation marker. Pure functions of the text: nothing here reaches
// a database.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Ascii.h"
#include "common/Linie.h"

namespace zuv {

// A line that, without its leading and trailing bytes 0 to 32, is exactly G and O, each in
// either case. "go;", "GO -- x", "G O" and go next to a byte 160 are not separators. Inline: it
// is asked of every line of a package twice.
inline bool JestSeparatorem(std::string_view linia) noexcept {
    // The same as trimming and comparing, but most lines are refused at their first byte above
    // 32 without their trailing blanks being looked at.
    std::size_t i = 0;
    while (i < linia.size() && static_cast<unsigned char>(linia[i]) <= 32) ++i;
    if (linia.size() - i < 2 || WielkaLiteraAscii(linia[i]) != 'G' ||
        WielkaLiteraAscii(linia[i + 1]) != 'O')
        return false;
    for (i += 2; i < linia.size(); ++i)
        if (static_cast<unsigned char>(linia[i]) > 32) return false;
    return true;
}

// The number of separator lines: the number of operations of a package.
std::int32_t LiczbaSeparatorow(const ListaLinii& linie) noexcept;

// Calls `oddaj(std::string& partia, std::int32_t numer)` for each separator line, in order, with
// the batch of the lines before it (up to the previous separator) and the separator's number,
// from 1. A batch is, for each of its lines, CR LF followed by the line unchanged: it begins with
// CR LF and has none at its end. `oddaj` may change the batch; one string is reused for all
// batches. Lines after the last separator are never handed on.
template <typename Funkcja>
void PodzielNaPartie(const ListaLinii& linie, Funkcja&& oddaj) {
    std::string partia;
    std::int32_t numer = 0;
    for (const std::string_view linia : linie) {
        if (JestSeparatorem(linia)) {
            oddaj(partia, ++numer);
            partia.clear();  // keeps its capacity for the next batch
        } else {
            partia += "\r\n";
            partia += linia;
        }
    }
}

// The encryption marker of the packages and what takes its place.
inline constexpr std::string_view ZnacznikSzyfrowania = "-- 'C810A5C6-2053-412E-8618-652E1868305B'";
inline constexpr std::string_view KlauzulaSzyfrowania = "WITH ENCRYPTION";

// Replaces the first occurrence of the encryption marker, letters' case ignored, by
// "WITH ENCRYPTION"; gives whether there was one. The rest of the batch is left as it was.
bool ZamienZnacznikSzyfrowania(std::string& partia);

// The generation marker: "-- $MIN_SQL_" (exactly so) and the lowest server generation a batch
// needs in the four characters after it.
inline constexpr std::string_view ZnacznikGeneracji = "-- $MIN_SQL_";
// The first target version for which the runner asks the server for its generation; below it the
// generation is taken as GeneracjaDomyslna.
inline constexpr std::string_view PierwszaWersjaZGeneracja = "8.11.0.0";
inline constexpr std::int32_t GeneracjaDomyslna = 2000;

// Whether a batch may run on a server of this generation. A batch with "-- $MIN_SQL_" (exactly
// so) needs at least the number written in the (at most) four characters after the first such
// text; they are converted with TekstNaInt, whose EConvertError passes on. A batch without it
// always runs.
bool SpelniaMinSQL(std::int32_t wersjaSerwera, std::string_view partia);

}  // namespace zuv
