#include "versions/ObslugaWersji.h"

#include "common/Tekst.h"
#include "common/Wyjatki.h"

namespace zuv {

bool ParsujWersje(std::string_view tekst, Wersja& wersja) {
    wersja = {0, 0, 0, 0};
    if (tekst.size() < 7) return false;

    std::array<std::string_view, 4> skladniki;
    std::size_t k = 0;
    std::size_t poczatek = 0;
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        const char znak = tekst[i];
        if (znak == '.' && k < 3) {
            skladniki[k++] = tekst.substr(poczatek, i - poczatek);
            poczatek = i + 1;
        } else if (znak < '0' || znak > '9') {
            return false;
        }
    }
    if (k < 3) return false;
    skladniki[3] = tekst.substr(poczatek);
    for (const auto& skladnik : skladniki)
        if (skladnik.empty()) return false;

    Wersja wynik;
    for (std::size_t i = 0; i < 4; ++i) wynik[i] = TekstNaInt(skladniki[i]);
    wersja = wynik;
    return true;
}

namespace {

Wersja ParsujLubZglos(std::string_view tekst) {
    Wersja wersja;
    if (!ParsujWersje(tekst, wersja))
        throw EConvertError(Formatuj("Niepoprawna wersja: \"%s\".", {tekst}));
    return wersja;
}

}  // namespace

bool WersjaWiekszaLubRowna(std::string_view a, std::string_view b) {
    const Wersja wersjaA = ParsujLubZglos(a);
    const Wersja wersjaB = ParsujLubZglos(b);
    return wersjaA >= wersjaB;
}

}  // namespace zuv
