#include "app/usluga/Logowanie.h"

#include <exception>

#include "app/usluga/Dziennik.h"
#include "common/Tekst.h"
#include "db/Polaczenie.h"

namespace zuv {

std::string TekstNieudanegoOdczytuWersji(const std::string& serwer, const std::string& baza) {
    return Formatuj("Odczyt wersji systemu ZUV dla bazy %s.%s nie powiódł się.", {serwer, baza});
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
            dziennik->Zapisz("logowanie-nieudane",
                             {{"blad", TekstNieudanegoOdczytuWersji(dane.serwer, dane.baza)}});
    }
    return odczyt;
}

}  // namespace zuv
