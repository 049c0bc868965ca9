#include "db/WersjaPoUtracie.h"

#include <exception>
#include <variant>

#include "db/Polaczenie.h"

namespace zuv {

std::optional<std::string> ZapisanaWersjaPoUtracie(Polaczenie& polaczenie) {
    std::optional<std::string> wersja;
    try {
        if (!polaczenie.Otwarte()) polaczenie.Otworz();
        const WynikZapytania wynik = polaczenie.WykonajZRekordami(ZapytanieZapisanejWersji);
        if (wynik.liczbaRekordow == 1 && wynik.pierwszePole) {
            const WartoscPola& pole = *wynik.pierwszePole;
            if (const auto* tekst = std::get_if<std::string>(&pole))
                wersja = *tekst;
            else if (const auto* liczba = std::get_if<std::int64_t>(&pole))
                wersja = std::to_string(*liczba);
            else
                wersja = std::string();
        }
    } catch (const std::exception&) {
        // The answer is then "not known", which the caller says in its message.
        wersja.reset();
    }
    try {
        polaczenie.Zamknij();
    } catch (const std::exception&) {
        // Nothing was begun in this session; a failing close leaves nothing open on the server.
    }
    return wersja;
}

}  // namespace zuv
