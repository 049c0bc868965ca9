// Version texts, against the rule read plainly: at least 7 characters, four non-empty runs of
// ASCII digits and three full stops, each component a signed 32-bit integer; the order is by
// component, the first the most significant. The input is two texts split at the first NUL.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/Wyjatki.h"
#include "fuzz/Wspolne.h"
#include "versions/ObslugaWersji.h"

using namespace zuv;

namespace {

enum class Odczyt { Poprawna, Zla, ZaDuza };

Odczyt CzytajPoProstu(std::string_view tekst, Wersja& wersja) {
    wersja = {};
    if (tekst.size() < 7) return Odczyt::Zla;
    std::size_t skladnik = 0;
    std::string cyfry;
    std::array<std::string, 4> skladniki;
    for (const char znak : tekst) {
        if (znak == '.') {
            if (cyfry.empty() || ++skladnik > 3) return Odczyt::Zla;
            cyfry.clear();
        } else if (znak >= '0' && znak <= '9') {
            cyfry += znak;
            skladniki[skladnik] += znak;
        } else {
            return Odczyt::Zla;
        }
    }
    if (skladnik != 3 || cyfry.empty()) return Odczyt::Zla;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t pierwsza = skladniki[i].find_first_not_of('0');
        const std::string znaczace =
            pierwsza == std::string::npos ? "0" : skladniki[i].substr(pierwsza);
        if (znaczace.size() > 10 || (znaczace.size() == 10 && znaczace > "2147483647"))
            return Odczyt::ZaDuza;
        wersja[i] = static_cast<std::int32_t>(std::stoll(znaczace));
    }
    return Odczyt::Poprawna;
}

Odczyt CzytajProgramem(std::string_view tekst, Wersja& wersja) {
    try {
        return ParsujWersje(tekst, wersja) ? Odczyt::Poprawna : Odczyt::Zla;
    } catch (const EConvertError&) {
        return Odczyt::ZaDuza;
    }
}

std::optional<bool> Porownanie(std::string_view a, std::string_view b) {
    try {
        return WersjaWiekszaLubRowna(a, b);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string_view wejscie(reinterpret_cast<const char*>(dane), rozmiar);
    const std::size_t nul = wejscie.find('\0');
    const std::string_view a = wejscie.substr(0, nul);
    const std::string_view b = nul == std::string_view::npos ? a : wejscie.substr(nul + 1);

    Wersja wa{}, wb{}, pa{}, pb{};
    const Odczyt oa = CzytajPoProstu(a, pa);
    const Odczyt ob = CzytajPoProstu(b, pb);
    const Odczyt programA = CzytajProgramem(a, wa);
    Wymagaj(programA == oa, "poprawność tekstu wersji");
    if (oa == Odczyt::Poprawna) Wymagaj(wa == pa, "składniki wersji");
    if (oa == Odczyt::Zla) Wymagaj(wa == Wersja{}, "zera po złym tekście");
    CzytajProgramem(b, wb);

    const std::optional<bool> wynik = Porownanie(a, b);
    if (oa == Odczyt::Poprawna && ob == Odczyt::Poprawna) {
        Wymagaj(wynik == (pa >= pb), "porządek wersji");
        const std::optional<bool> odwrotnie = Porownanie(b, a);
        Wymagaj(*wynik || *odwrotnie, "porządek zupełny");
    } else {
        Wymagaj(!wynik.has_value(), "zły tekst w porównaniu");
    }
    return 0;
}
