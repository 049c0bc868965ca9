#include "app/wsadowa/Raport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "app/usluga/CzasISO.h"
#include "app/wsadowa/OpcjeWsadowe.h"
#include "app/wsadowa/platforma/ZapisPliku.h"
#include "common/Tekst.h"
#include "common/WersjaProgramu.h"

namespace zuv {

namespace {

// Keys kept in the order they are added (nlohmann::json would sort them), so that the report
// reads in the order Raport.h gives.
using Json = nlohmann::ordered_json;

Json NapisLubNull(const std::string& tekst) { return tekst.empty() ? Json() : Json(tekst); }

// Milliseconds are all the report claims: 3.128 rather than the double's 3.12849...
double Sekundy(double sekundy) { return std::round(sekundy * 1000) / 1000; }

// Characters of a UTF-8 text, for the table's columns.
std::size_t Znaki(const std::string& tekst) {
    return static_cast<std::size_t>(std::count_if(tekst.begin(), tekst.end(), [](char znak) {
        return (static_cast<unsigned char>(znak) & 0xC0) != 0x80;
    }));
}

// The file the report is written through before it takes the report's name.
std::string Tymczasowa(const std::string& sciezka) { return sciezka + ".tmp"; }

void Usun(const std::string& sciezka) {
    std::error_code blad;  // nothing to do about a file that stays: the next run replaces it
    std::filesystem::remove(std::filesystem::path(std::u8string(sciezka.begin(), sciezka.end())),
                            blad);
}

// The system's reason may end with a full stop and a line end (Windows' texts do).
std::string NieMoznaZapisac(const std::string& sciezka, const std::string& powod) {
    return TekstBledu(
        Formatuj("Nie można zapisać raportu %s: %s", {sciezka, std::string(Przytnij(powod))}));
}

}  // namespace

std::string TabelaWynikow(const std::vector<const WynikBazy*>& wyniki) {
    std::vector<std::vector<std::string>> wiersze = {
        {"Serwer", "Baza", "Przed", "Po", "Wynik", "Czas"}};
    for (const WynikBazy* wynik : wyniki)
        wiersze.push_back({wynik->serwer, wynik->baza,
                           wynik->wersjaPrzed.empty() ? "-" : wynik->wersjaPrzed,
                           wynik->wersjaPo.empty() ? "-" : wynik->wersjaPo, OpisWyniku(*wynik),
                           wynik->rozpoczeta ? CzasDlaLudzi(wynik->sekundy) : "-"});
    std::vector<std::size_t> szerokosci(wiersze.front().size(), 0);
    for (const auto& wiersz : wiersze)
        for (std::size_t i = 0; i < wiersz.size(); ++i)
            szerokosci[i] = std::max(szerokosci[i], Znaki(wiersz[i]));
    std::string tabela;
    for (const auto& wiersz : wiersze) {
        std::string linia;
        for (std::size_t i = 0; i < wiersz.size(); ++i) {
            linia += wiersz[i];
            if (i + 1 < wiersz.size()) linia.append(szerokosci[i] - Znaki(wiersz[i]) + 2, ' ');
        }
        tabela += linia + "\n";
    }
    return tabela;
}

std::string RaportJson(const std::vector<const WynikBazy*>& wyniki, const PrzebiegProgramu& program,
                       const DziennikRaportu& dziennik) {
    Json bazy = Json::array();
    for (const WynikBazy* wynik : wyniki) {
        Json pakiety = Json::array();
        for (const auto& [wersja, sekundy] : wynik->pakiety)
            pakiety.push_back({{"wersja", wersja}, {"sekundy", Sekundy(sekundy)}});
        Json doWykonania = Json::array();
        for (const PakietPlanu& pakiet : wynik->doWykonania)
            doWykonania.push_back({{"wersja", pakiet.wersja},
                                   {"bajty", pakiet.bajty},
                                   {"operacje", pakiet.operacje}});
        const bool wPakiecie = !wynik->pakietBledu.empty();
        bazy.push_back(
            {{"serwer", wynik->serwer},
             {"baza", wynik->baza},
             {"uzytkownik", wynik->uzytkownik},
             {"wynik", KodWyniku(*wynik)},
             {"opis", OpisWyniku(*wynik)},
             {"kod", wynik->kod},
             {"wersja_przed", NapisLubNull(wynik->wersjaPrzed)},
             {"wersja_po", NapisLubNull(wynik->wersjaPo)},
             {"wersja_docelowa", NapisLubNull(wynik->wersjaDocelowa)},
             {"poczatek", wynik->rozpoczeta ? Json(CzasISO(wynik->poczatek)) : Json()},
             {"koniec", wynik->rozpoczeta ? Json(CzasISO(wynik->koniec)) : Json()},
             {"sekundy", Sekundy(wynik->sekundy)},
             {"pakiety", std::move(pakiety)},
             {"do_wykonania", std::move(doWykonania)},
             {"ostrzezenia", wynik->ostrzezenia},
             {"pakiet_bledu", NapisLubNull(wynik->pakietBledu)},
             {"operacja_bledu",
              wPakiecie && wynik->operacjaBledu > 0 ? Json(wynik->operacjaBledu) : Json()},
             {"blad", NapisLubNull(wynik->blad)}});
    }
    const Json raport = {
        {"program", "aktualizacja-zuv-wsadowa"},
        {"wersja_programu", WersjaProgramu},
        {"poczatek", CzasISO(program.poczatek)},
        {"koniec", CzasISO(program.koniec)},
        {"wersja_docelowa", NapisLubNull(program.doWersji)},
        {"sprawdzenie", program.sprawdzenie},
        {"kod_wyjscia", program.kodWyjscia},
        {"dziennik", {{"sciezka", NapisLubNull(dziennik.sciezka)}, {"bledy", dziennik.bledy}}},
        {"bazy", std::move(bazy)}};
    // A server's message and the command line's names come as bytes: what is not UTF-8 becomes
    // U+FFFD, so that the report stays JSON and the run's result is written all the same.
    return raport.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void SprawdzMiejsceRaportu(const std::string& sciezka) {
    // A folder in the report's place would only be met at the rename, after the run.
    std::error_code blad;
    if (std::filesystem::is_directory(std::u8string(sciezka.begin(), sciezka.end()), blad))
        throw EBladArgumentow(
            NieMoznaZapisac(sciezka, std::make_error_code(std::errc::is_a_directory).message()));
    const std::string tymczasowa = Tymczasowa(sciezka);
    if (const auto powod = ZapiszPlik(tymczasowa, {}))
        throw EBladArgumentow(NieMoznaZapisac(sciezka, *powod));
    Usun(tymczasowa);
}

void ZapiszRaport(const std::string& sciezka, const std::string& tresc) {
    const std::string tymczasowa = Tymczasowa(sciezka);
    std::optional<std::string> powod = ZapiszPlik(tymczasowa, tresc);
    if (!powod) powod = ZastapPlik(tymczasowa, sciezka);
    if (powod) {
        Usun(tymczasowa);
        throw Exception(NieMoznaZapisac(sciezka, *powod));
    }
}

}  // namespace zuv
