#include "app/usluga/Logowanie.h"

#include <exception>

#include "app/usluga/Dziennik.h"
#include "common/Tekst.h"
#include "db/Polaczenie.h"

namespace zuv {

std::string TekstNieudanegoOdczytuWersji(const std::string& serwer, const std::string& baza,
                                         const OdczytWersji& odczyt) {
    std::string tekst =
        Formatuj("Odczyt wersji systemu ZUV dla bazy %s.%s nie powiódł się.", {serwer, baza});
    if (odczyt.rodzaj == OdczytWersji::Rodzaj::BrakWiersza)
        return tekst +
               "\r\nW tabeli konfig_st nie ma wiersza TERVO_WERSJA: to nie jest baza systemu ZUV "
               "albo jej konfiguracja jest niepełna.";
    if (odczyt.rodzaj == OdczytWersji::Rodzaj::WieleWierszy)
        return tekst + Formatuj(
                           "\r\nWierszy TERVO_WERSJA w tabeli konfig_st jest %d, a powinien "
                           "być jeden; usuń nadmiarowe, zostawiając właściwą wersję.",
                           {static_cast<long long>(odczyt.wiersze)});
    return tekst;
}

std::string TekstWersjiBazy(const std::string& serwer, const std::string& baza,
                            const std::string& wersja) {
    return Formatuj("Wersja bazy %s.%s: %s", {serwer, baza, wersja});
}

OdczytWersji Zaloguj(Polaczenie& polaczenie, const DaneLogowania& dane, Dziennik* dziennik) {
    if (dziennik != nullptr) dziennik->UstawSesje(dane.serwer, dane.baza, dane.uzytkownik);
    OdczytWersji odczyt;
    try {
        if (polaczenie.Otwarte()) polaczenie.Zamknij();
        polaczenie.UstawDaneLogowania(dane);
        polaczenie.Otworz();
        odczyt = OdczytajZapisanaWersje(polaczenie);
    } catch (const std::exception& e) {
        if (dziennik != nullptr) dziennik->Zapisz("logowanie-nieudane", {{"blad", e.what()}});
        throw;
    }
    if (dziennik != nullptr) {
        if (odczyt.JedenWiersz())
            dziennik->Zapisz("logowanie", {{"wersja-bazy", odczyt.tekst}});
        else
            dziennik->Zapisz(
                "logowanie-nieudane",
                {{"blad", TekstNieudanegoOdczytuWersji(dane.serwer, dane.baza, odczyt)}});
    }
    return odczyt;
}

}  // namespace zuv
