// The generation marker, against the rule read plainly: the first exact "-- $MIN_SQL_", the (at
// most) four characters after it converted as an integer; no marker means the batch runs. The
// first byte of the input is the server generation's choice, the rest the batch.
#include <cstdint>
#include <optional>
#include <string>

#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "fuzz/Wspolne.h"
#include "packages/format/FormatPakietu.h"

using namespace zuv;

namespace {

// The answer, or nullopt for a conversion error.
template <typename Funkcja>
std::optional<bool> Odpowiedz(Funkcja&& funkcja) {
    try {
        return funkcja();
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    if (rozmiar == 0) return 0;
    constexpr std::int32_t Generacje[] = {0, 1999, 2000, 2005, 2008, 2012, -1, INT32_MAX};
    const std::int32_t generacja = Generacje[dane[0] % 8];
    const std::string_view partia(reinterpret_cast<const char*>(dane) + 1, rozmiar - 1);

    const auto oczekiwane = Odpowiedz([&] {
        const std::size_t pozycja = partia.find("-- $MIN_SQL_");
        if (pozycja == std::string_view::npos) return true;
        return generacja >= TekstNaInt(partia.substr(pozycja + 12, 4));
    });
    const auto wynik = Odpowiedz([&] { return SpelniaMinSQL(generacja, partia); });
    Wymagaj(wynik == oczekiwane, "bramka generacji serwera");
    return 0;
}
