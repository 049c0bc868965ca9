#include "db/ConnectionST.h"

#include "common/Tekst.h"

namespace zuv {

std::string ZacytujWartosc(std::string_view wartosc) {
    if (wartosc.find_first_of(";'\"") == std::string_view::npos) return std::string(wartosc);
    const bool maCudzyslow = wartosc.find('"') != std::string_view::npos;
    const bool maApostrof = wartosc.find('\'') != std::string_view::npos;
    const char cudzyslow = (maCudzyslow && !maApostrof) ? '\'' : '"';
    std::string wynik(1, cudzyslow);
    for (const char znak : wartosc) {
        if (znak == cudzyslow) wynik += cudzyslow;
        wynik += znak;
    }
    wynik += cudzyslow;
    return wynik;
}

std::string UtworzConnectionString(std::string_view serwer, std::string_view baza,
                                   std::string_view uzytkownik, std::string_view haslo,
                                   std::string_view nazwaAplikacji) {
    std::string wynik = Formatuj(
        "Provider=SQLOLEDB.1;Password=%s;Persist Security Info=True;User ID=%s;"
        "Initial Catalog=%s;Data Source=%s;OLE DB Services=-2",
        {ZacytujWartosc(haslo), ZacytujWartosc(uzytkownik), ZacytujWartosc(baza),
         ZacytujWartosc(serwer)});
    const std::string_view nazwa = Przytnij(nazwaAplikacji);
    if (!nazwa.empty())
        wynik =
            Formatuj("%s;Application Name=%s", {wynik, ZacytujWartosc("U:" + std::string(nazwa))});
    return wynik;
}

std::string UtworzConnectionString(const DaneLogowania& dane) {
    return UtworzConnectionString(dane.serwer, dane.baza, dane.uzytkownik, dane.haslo,
                                  dane.aplikacja);
}

}  // namespace zuv
