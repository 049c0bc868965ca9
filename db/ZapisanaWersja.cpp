#include "db/ZapisanaWersja.h"

#include <exception>
#include <variant>

#include "db/Polaczenie.h"
#include "db/UtrataPolaczenia.h"

namespace zuv {

OdczytWersji OdczytajZapisanaWersje(Polaczenie& polaczenie) {
    WynikZapytania wynik;
    try {
        wynik = polaczenie.WykonajZRekordami(ZapytanieZapisanejWersji);
    } catch (const EUtrataPolaczenia& utrata) {
        throw utrata.WKroku(KrokUtraty::OdczytWersji);
    } catch (const EOleException& blad) {
        // Past the command's time-out the driver speaks only of its cancel.
        if (blad.StanSQL() != "HYT00") throw;
        throw EOleException(
            "Serwer nie odpowiedział w wyznaczonym czasie na odczyt wersji bazy (tabela "
            "konfig_st). Spróbuj ponownie; jeśli to się powtarza, sprawdź obciążenie serwera i "
            "czy inna sesja nie blokuje tabeli konfig_st.\r\n" +
                blad.Komunikat(),
            blad.Kod(), blad.Zrodlo(), blad.PlikPomocy(), blad.KontekstPomocy(), blad.StanSQL());
    }
    OdczytWersji odczyt;
    odczyt.wiersze = wynik.liczbaRekordow;
    if (wynik.liczbaRekordow == 0) return odczyt;
    if (wynik.liczbaRekordow > 1) {
        odczyt.rodzaj = OdczytWersji::Rodzaj::WieleWierszy;
        return odczyt;
    }
    const WartoscPola pole = wynik.pierwszePole.value_or(WartoscPola());
    if (const auto* tekst = std::get_if<std::string>(&pole)) {
        odczyt.rodzaj = OdczytWersji::Rodzaj::Wartosc;
        odczyt.tekst = *tekst;
    } else if (const auto* liczba = std::get_if<std::int64_t>(&pole)) {
        odczyt.rodzaj = OdczytWersji::Rodzaj::Wartosc;
        odczyt.tekst = std::to_string(*liczba);
    } else {
        odczyt.rodzaj = OdczytWersji::Rodzaj::Null;
    }
    return odczyt;
}

std::optional<std::string> ZapisanaWersjaPoUtracie(Polaczenie& polaczenie) {
    std::optional<std::string> wersja;
    try {
        if (!polaczenie.Otwarte()) polaczenie.Otworz();
        const OdczytWersji odczyt = OdczytajZapisanaWersje(polaczenie);
        if (odczyt.JedenWiersz()) wersja = odczyt.tekst;
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
