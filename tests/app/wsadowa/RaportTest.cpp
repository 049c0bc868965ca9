// The unattended program's JSON report, read back as JSON: its fields in their order and types,
// every result against the schema kept in the repository, and a server's message of any bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "app/wsadowa/Raport.h"
#include "common/WersjaProgramu.h"
#include "tests/app/wsadowa/SchematRaportu.h"

using namespace zuv;

namespace {

// Parsed keeping the keys' order, so that a comparison also checks it.
using Json = nlohmann::ordered_json;

}  // namespace

// A time the report gives: local, to the second, with the offset.
bool CzasISO8601(const Json& wartosc) {
    return wartosc.is_string() &&
           std::regex_match(wartosc.get<std::string>(),
                            std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)"));
}

// Three databases: one whose package failed at a batch, one never begun, one checked with
// packages due. Times are compared by form, then left out of the comparison.
TEST(RaportJson, EveryDatabaseWithItsFieldsInOrderNullsAndSecondsAsNumbers) {
    const auto chwila = std::chrono::system_clock::now();
    WynikBazy nieudana;
    nieudana.serwer = "SQL3,1433";
    nieudana.baza = "ZUV";
    nieudana.uzytkownik = "sa";
    nieudana.wersjaPrzed = "11.3.0.2";
    nieudana.wersjaPo = "11.4.0.1";
    nieudana.wersjaDocelowa = "11.5.0.6";
    nieudana.pakiety = {{"11.4.0.1", 2.5149}};
    nieudana.blad = "Błąd aktualizacji bazy do wersji 11.5.0.6:\r\nBrak miejsca w bazie.";
    nieudana.pakietBledu = "11.5.0.6";
    nieudana.operacjaBledu = 3;
    nieudana.kod = KodWyjscia::BladPakietu;
    nieudana.sekundy = 3.1284;
    nieudana.rozpoczeta = true;
    nieudana.poczatek = chwila;
    nieudana.koniec = chwila + std::chrono::seconds(3);
    WynikBazy nierozpoczeta;
    nierozpoczeta.serwer = "SQL4";
    nierozpoczeta.baza = "ZUV";
    nierozpoczeta.uzytkownik = "sa";
    WynikBazy sprawdzona = nierozpoczeta;
    sprawdzona.serwer = "SQL5";
    sprawdzona.wersjaPrzed = sprawdzona.wersjaPo = "11.3.0.2";
    sprawdzona.wersjaDocelowa = "11.4.0.1";
    sprawdzona.doWykonania = {{"11.4.0.1", 42672, 64}};
    sprawdzona.ostrzezenia = {
        "W bazie pracują inne sesje (1): jan (K1, ZUV, bezczynna 12 min); aktualizacja może "
        "czekać na ich blokady."};
    sprawdzona.kod = KodWyjscia::DoAktualizacji;
    sprawdzona.rozpoczeta = true;

    const DziennikRaportu dziennik{"/home/jan/.local/state/aktualizacja-zuv/dziennik.log",
                                   {"Nie udało się zapisać dziennika aktualizacji: brak miejsca."}};
    const PrzebiegProgramu program{chwila, chwila + std::chrono::seconds(4), "11.4.0.1", false, 2};
    const std::string tekst =
        RaportJson({&nieudana, &nierozpoczeta, &sprawdzona}, program, dziennik);
    Json raport = Json::parse(tekst);
    for (Json* obiekt : {&raport, &raport["bazy"][0], &raport["bazy"][2]})
        for (const char* pole : {"poczatek", "koniec"}) {
            EXPECT_TRUE(CzasISO8601((*obiekt)[pole])) << (*obiekt)[pole];
            obiekt->erase(pole);
        }
    for (const char* pole : {"poczatek", "koniec"}) {
        EXPECT_TRUE(raport["bazy"][1][pole].is_null());
        raport["bazy"][1].erase(pole);
    }
    Json oczekiwany = Json::parse(R"({
        "program": "aktualizacja-zuv-wsadowa", "wersja_programu": "",
        "wersja_docelowa": "11.4.0.1", "sprawdzenie": false, "kod_wyjscia": 2,
        "dziennik": {"sciezka": "/home/jan/.local/state/aktualizacja-zuv/dziennik.log",
                     "bledy": ["Nie udało się zapisać dziennika aktualizacji: brak miejsca."]},
        "bazy": [
          {"serwer": "SQL3,1433", "baza": "ZUV", "uzytkownik": "sa",
           "wynik": "blad_pakietu", "opis": "błąd pakietu", "kod": 2,
           "wersja_przed": "11.3.0.2", "wersja_po": "11.4.0.1", "wersja_docelowa": "11.5.0.6",
           "sekundy": 3.128, "pakiety": [{"wersja": "11.4.0.1", "sekundy": 2.515}],
           "do_wykonania": [], "ostrzezenia": [], "pakiet_bledu": "11.5.0.6", "operacja_bledu": 3,
           "blad": "Błąd aktualizacji bazy do wersji 11.5.0.6:\r\nBrak miejsca w bazie."},
          {"serwer": "SQL4", "baza": "ZUV", "uzytkownik": "sa",
           "wynik": "nie_rozpoczeta", "opis": "nie rozpoczęta", "kod": 5,
           "wersja_przed": null, "wersja_po": null, "wersja_docelowa": null,
           "sekundy": 0.0, "pakiety": [], "do_wykonania": [], "ostrzezenia": [], "pakiet_bledu": null,
           "operacja_bledu": null, "blad": null},
          {"serwer": "SQL5", "baza": "ZUV", "uzytkownik": "sa",
           "wynik": "do_aktualizacji", "opis": "do aktualizacji", "kod": 6,
           "wersja_przed": "11.3.0.2", "wersja_po": "11.3.0.2", "wersja_docelowa": "11.4.0.1",
           "sekundy": 0.0, "pakiety": [],
           "do_wykonania": [{"wersja": "11.4.0.1", "bajty": 42672, "operacje": 64}],
           "ostrzezenia": ["W bazie pracują inne sesje (1): jan (K1, ZUV, bezczynna 12 min); aktualizacja może czekać na ich blokady."],
           "pakiet_bledu": null, "operacja_bledu": null, "blad": null}
        ]})");
    oczekiwany["wersja_programu"] = WersjaProgramu;
    EXPECT_EQ(raport, oczekiwany) << tekst;
    // Written for people too: indented, one field a line, ending with a line end.
    EXPECT_NE(tekst.find("\n  \"kod_wyjscia\": 2,\n"), std::string::npos) << tekst;
    EXPECT_EQ(tekst.back(), '\n');
}

// Every result a database can end with, and the program's own fields, as the schema kept in the
// repository describes them; the validator is not the library that writes the report.
TEST(RaportJson, EveryResultMeetsTheSchema) {
    const auto chwila = std::chrono::system_clock::now();
    const auto Wynik = [&](int kod, auto ustaw) {
        WynikBazy wynik;
        wynik.serwer = "SQL1";
        wynik.baza = "ZUV";
        wynik.uzytkownik = "sa";
        wynik.kod = kod;
        wynik.rozpoczeta = true;
        wynik.poczatek = chwila;
        wynik.koniec = chwila;
        wynik.wersjaPrzed = wynik.wersjaPo = "11.3.0.2";
        wynik.wersjaDocelowa = "11.5.0.6";
        ustaw(wynik);
        return wynik;
    };
    const auto nic = [](WynikBazy&) {};
    const WynikBazy wyniki[] = {
        Wynik(KodWyjscia::Zaktualizowana,
              [](WynikBazy& w) {
                  w.pakiety = {{"11.4.0.1", 1.0}, {"11.5.0.6", 2.0}};
                  w.wersjaPo = "11.5.0.6";
              }),
        Wynik(KodWyjscia::Zaktualizowana, nic),
        Wynik(KodWyjscia::DoAktualizacji,
              [](WynikBazy& w) {
                  w.doWykonania = {{"11.4.0.1", 42672, 64}};
              }),
        Wynik(KodWyjscia::Odmowa,
              [](WynikBazy& w) {
                  w.wersjaPrzed = w.wersjaPo = "10.1.0.1 ";  // as the database records it
                  w.wersjaDocelowa.clear();
                  w.blad = "Niepoprawna wersja: \"10.1.0.1 \".";
              }),
        Wynik(KodWyjscia::Odmowa,
              [](WynikBazy& w) {
                  w.zablokowana = true;
                  w.blad = "Baza jest właśnie aktualizowana z innej sesji.";
              }),
        Wynik(KodWyjscia::BladPakietu,
              [](WynikBazy& w) {
                  w.pakietBledu = "11.4.0.1";
                  w.operacjaBledu = 44;
                  w.blad = "Błąd";
              }),
        Wynik(KodWyjscia::BladPolaczenia,
              [](WynikBazy& w) {
                  w.wersjaPrzed.clear();
                  w.wersjaPo.clear();
                  w.wersjaDocelowa.clear();
                  w.blad = "Serwer odmówił zalogowania";
              }),
        Wynik(KodWyjscia::Przerwana,
              [](WynikBazy& w) {
                  w.pakietBledu = "11.4.0.1";
                  w.blad = "Aktualizacja przerwana.";
              }),
        Wynik(KodWyjscia::Przerwana, [](WynikBazy& w) { w = WynikBazy{}; }),
    };
    std::vector<const WynikBazy*> wskazniki;
    std::set<std::string> kody;
    for (const WynikBazy& wynik : wyniki) {
        wskazniki.push_back(&wynik);
        kody.insert(KodWyniku(wynik));
    }
    EXPECT_EQ(kody.size(), 9u);
    const DziennikRaportu dziennik{"", {"Nie udało się zapisać dziennika aktualizacji."}};
    const auto plik = std::filesystem::temp_directory_path() /
                      ("zuv-raport-" + std::to_string(::getpid()) + ".json");
    for (const PrzebiegProgramu& program :
         {PrzebiegProgramu{chwila, chwila, "", false, 5},
          PrzebiegProgramu{chwila, chwila, "11.4.0.1", true, 6}}) {
        std::ofstream(plik, std::ios::binary) << RaportJson(wskazniki, program, dziennik);
        EXPECT_EQ(BledySchematu(plik.string()), "");
    }
    // The schema is no blank cheque: a report with a result it does not know fails it.
    std::string zly = RaportJson(wskazniki, {chwila, chwila, "", false, 0}, dziennik);
    zly.replace(zly.find("\"blad_pakietu\""), 14, "\"blad pakietu\"");
    std::ofstream(plik, std::ios::binary) << zly;
    EXPECT_NE(BledySchematu(plik.string()), "");
    std::filesystem::remove(plik);
}

// A server's message is bytes: quotes, backslashes, control characters and bytes that are no
// UTF-8. The report must stay JSON with the message's valid text kept whole.
TEST(RaportJson, AServersMessageOfAnyBytesGivesJsonKeepingItsText) {
    WynikBazy wynik;
    wynik.serwer = "SQL1";
    wynik.baza = "ZUV";
    wynik.uzytkownik = "sa";
    wynik.wersjaPrzed = "11.3.0.2";
    wynik.kod = KodWyjscia::BladPakietu;
    wynik.rozpoczeta = true;
    // Each broken sequence is one that every decoder takes as one unreadable character: a byte
    // no UTF-8 uses, a lone continuation byte, a sequence cut short before ASCII and at the end.
    wynik.blad =
        std::string("Obiekt \"dbo.Środki\" w C:\\dane\\zuv:\r\n\tzła wartość\x01\x1f\x7f") +
        "|\xff|\x80|\xe2\x82|" + "łódź" + "\xc5";

    const std::string tekst = RaportJson({&wynik}, {}, {});
    Json raport;
    ASSERT_NO_THROW(raport = Json::parse(tekst)) << tekst;
    EXPECT_EQ(raport.at("bazy").at(0).at("blad"),
              "Obiekt \"dbo.Środki\" w C:\\dane\\zuv:\r\n\tzła wartość\x01\x1f\x7f"
              "|\uFFFD|\uFFFD|\uFFFD|łódź\uFFFD");
    EXPECT_EQ(raport.at("bazy").at(0).at("wersja_przed"), "11.3.0.2");
    // Control characters go escaped, never as they came.
    EXPECT_EQ(tekst.find_first_of("\x01\x1f\r"), std::string::npos) << tekst;
}
