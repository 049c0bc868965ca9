// The unattended program's JSON report, read back as JSON: its fields in their order and types,
// and a server's message of any bytes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/wsadowa/Raport.h"
#include "common/WersjaProgramu.h"

using namespace zuv;

namespace {

// Parsed keeping the keys' order, so that a comparison also checks it.
using Json = nlohmann::ordered_json;

}  // namespace

TEST(RaportJson, EveryDatabaseWithItsFieldsInOrderNullsAndSecondsAsNumbers) {
    WynikBazy nieudana;
    nieudana.serwer = "SQL3,1433";
    nieudana.baza = "ZUV";
    nieudana.uzytkownik = "sa";
    nieudana.wersjaPrzed = "11.3.0.2";
    nieudana.wersjaPo = "11.4.0.1";
    nieudana.pakiety = {{"11.4.0.1", 2.5149}};
    nieudana.blad = "Błąd aktualizacji bazy do wersji 11.5.0.6:\r\nBrak miejsca w bazie.";
    nieudana.kod = KodWyjscia::BladPakietu;
    nieudana.sekundy = 3.1284;
    nieudana.rozpoczeta = true;
    WynikBazy nierozpoczeta;
    nierozpoczeta.serwer = "SQL4";
    nierozpoczeta.baza = "ZUV";
    nierozpoczeta.uzytkownik = "sa";

    const DziennikRaportu dziennik{"/home/jan/.local/state/aktualizacja-zuv/dziennik.log",
                                   {"Nie udało się zapisać dziennika aktualizacji: brak miejsca."}};
    const std::string tekst = RaportJson({&nieudana, &nierozpoczeta}, 2, dziennik);
    const Json raport = Json::parse(tekst);
    Json oczekiwany = Json::parse(R"({
        "program": "aktualizacja-zuv-wsadowa", "wersja_programu": "", "kod_wyjscia": 2,
        "dziennik": {"sciezka": "/home/jan/.local/state/aktualizacja-zuv/dziennik.log",
                     "bledy": ["Nie udało się zapisać dziennika aktualizacji: brak miejsca."]},
        "bazy": [
          {"serwer": "SQL3,1433", "baza": "ZUV", "uzytkownik": "sa",
           "wersja_przed": "11.3.0.2", "wersja_po": "11.4.0.1", "wynik": "błąd pakietu", "kod": 2,
           "sekundy": 3.128, "pakiety": [{"wersja": "11.4.0.1", "sekundy": 2.515}],
           "blad": "Błąd aktualizacji bazy do wersji 11.5.0.6:\r\nBrak miejsca w bazie."},
          {"serwer": "SQL4", "baza": "ZUV", "uzytkownik": "sa",
           "wersja_przed": null, "wersja_po": null, "wynik": "nie rozpoczęta", "kod": 5,
           "sekundy": 0.0, "pakiety": [], "blad": null}
        ]})");
    oczekiwany["wersja_programu"] = WersjaProgramu;
    EXPECT_EQ(raport, oczekiwany) << tekst;
    // Written for people too: indented, one field a line, ending with a line end.
    EXPECT_NE(tekst.find("\n  \"kod_wyjscia\": 2,\n"), std::string::npos) << tekst;
    EXPECT_EQ(tekst.back(), '\n');
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

    const std::string tekst = RaportJson({&wynik}, 2, {});
    Json raport;
    ASSERT_NO_THROW(raport = Json::parse(tekst)) << tekst;
    EXPECT_EQ(raport.at("bazy").at(0).at("blad"),
              "Obiekt \"dbo.Środki\" w C:\\dane\\zuv:\r\n\tzła wartość\x01\x1f\x7f"
              "|\uFFFD|\uFFFD|\uFFFD|łódź\uFFFD");
    EXPECT_EQ(raport.at("bazy").at(0).at("wersja_przed"), "11.3.0.2");
    // Control characters go escaped, never as they came.
    EXPECT_EQ(tekst.find_first_of("\x01\x1f\r"), std::string::npos) << tekst;
}
