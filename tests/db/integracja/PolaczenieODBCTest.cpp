// The program's ODBC connection through unixODBC and FreeTDS against the TDS test server.
#include <gtest/gtest.h>

#include <chrono>

#include "common/Wyjatki.h"
#include "db/DBUzytkiST.h"
#include "db/PolaczenieODBC.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

constexpr const char* ZapytanieWersji =
    "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'";

std::string KomunikatOle(const std::function<void()>& dzialanie) {
    try {
        dzialanie();
    } catch (const EOleException& e) {
        return e.Komunikat();
    }
    return "(no error)";
}

// Passwords that give a session of each kind FreeTDS is opened with: log-in values in ASCII give
// a narrow session passing UTF-8, others a wide one passing UTF-16.
constexpr const char* HaslaObuSesji[] = {"Tajne;1'\"", "Hasło€1"};

struct Polaczony {
    explicit Polaczony(SerwerTestowy& serwer, const std::string& baza = "ZUV") {
        polaczenie.UstawDaneLogowania(serwer.Logowanie(baza));
        polaczenie.Otworz();
    }
    PolaczenieODBC polaczenie;
};

}  // namespace

TEST(PolaczenieODBC, LogsInWithAPasswordHoldingQuotesAndSemicolon) {
    SerwerTestowy serwer;
    Polaczony p(serwer);
    EXPECT_TRUE(p.polaczenie.Otwarte());
    EXPECT_EQ(p.polaczenie.Sterownik(), "FreeTDS");
    p.polaczenie.Zamknij();
    EXPECT_FALSE(p.polaczenie.Otwarte());
}

TEST(PolaczenieODBC, VersionQueryGivesTheExactRowCountAndFirstValue) {
    using Wiersze = std::vector<tds::VersionRow>;
    const struct {
        const char* nazwa;
        Wiersze wiersze;
        std::int64_t liczba;
        std::optional<WartoscPola> pierwsze;
    } przypadki[] = {
        {"no row", {}, 0, std::nullopt},
        {"one",
         {{"WERSJE", "TERVO_WERSJA", "10.17.0.3"}},
         1,
         WartoscPola(std::string("10.17.0.3"))},
        {"trailing blank",
         {{"WERSJE", "TERVO_WERSJA", "8.1.0.0 "}},
         1,
         WartoscPola(std::string("8.1.0.0 "))},
        {"Polish letters",
         {{"WERSJE", "TERVO_WERSJA", "wersja gęś"}},
         1,
         WartoscPola(std::string("wersja gęś"))},
        {"NULL", {{"WERSJE", "TERVO_WERSJA", std::nullopt}}, 1, WartoscPola()},
        {"two",
         {{"WERSJE", "TERVO_WERSJA", "8.1.0.0"}, {"INNE", "TERVO_WERSJA", "8.2.0.6"}},
         2,
         WartoscPola(std::string("8.1.0.0"))},
    };
    for (const char* haslo : HaslaObuSesji) {
        SCOPED_TRACE(haslo);
        SerwerTestowy serwer({}, haslo);
        for (const auto& p : przypadki) {
            SCOPED_TRACE(p.nazwa);
            serwer->setVersionRows(p.wiersze);
            Polaczony polaczony(serwer);
            const WynikZapytania wynik = polaczony.polaczenie.WykonajZRekordami(ZapytanieWersji);
            EXPECT_EQ(wynik.liczbaRekordow, p.liczba);
            EXPECT_EQ(wynik.pierwszePole, p.pierwsze);
        }
    }
}

TEST(PolaczenieODBC, ServerGenerationComesFromTheProductVersion) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "10.17.0.3";
    SerwerTestowy serwer(konfiguracja);
    Polaczony p(serwer);
    EXPECT_EQ(TDBUzytkiST::OdczytajWersjeSerwera(&p.polaczenie), 2005);
    // The function these packages define does not know a major version of 11.
    serwer->setProductVersion("11.0.7001.0");
    EXPECT_THROW(TDBUzytkiST::OdczytajWersjeSerwera(&p.polaczenie), EDatabaseError);
}

TEST(PolaczenieODBC, SessionTableStatementsRunTwiceInOneSession) {
    SerwerTestowy serwer;
    Polaczony p(serwer);
    for (int i = 0; i < 2; ++i) {
        p.polaczenie.WykonajBezRekordow(
            "IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS WHERE ID = "
            "OBJECT_ID('TEMPDB..#WA_OPCJE_TMP')) "
            "TRUNCATE TABLE #WA_OPCJE_TMP ELSE CREATE TABLE #WA_OPCJE_TMP( NAZWA    VARCHAR(50)    "
            "NOT NULL, "
            "WARTOSC  VARCHAR(8000)  NOT NULL, PRIMARY KEY (NAZWA))",
            30);
        p.polaczenie.WykonajBezRekordow(
            "INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')", 30);
    }
    // A second insert without emptying the table is a server error, not something to pass over.
    EXPECT_NE(KomunikatOle([&] {
                  p.polaczenie.WykonajBezRekordow(
                      "INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')",
                      30);
              }).find("PRIMARY KEY"),
              std::string::npos);
}

TEST(PolaczenieODBC, BatchTextsArriveExactlyAsGiven) {
    const struct {
        const char* nazwa;
        std::string cp1250;
        std::string utf8;
    } przypadki[] = {
        {"Polish letters",
         "\r\nselect 'Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 "
         "\xA5\xCA\xA3\x8C\x8F\xAF\xC6\xD1\xD3 \x96 \x94'\r\n",
         "\r\nselect 'Zażółć gęślą jaźń ĄĘŁŚŹŻĆŃÓ – ”'\r\n"},
        {"question marks, escapes, colons",
         "select '?', '{fn NOW()}', ':a', '::b' -- ? :c {d '2020-01-01'}\r\n/* ? */ select {fn "
         "NOW()}\r\n",
         "select '?', '{fn NOW()}', ':a', '::b' -- ? :c {d '2020-01-01'}\r\n/* ? */ select {fn "
         "NOW()}\r\n"},
    };
    std::string duza;
    std::string duzaUtf8;
    for (int i = 0; duza.size() < 600'000; ++i) {
        duza += "\r\nprint 'wiersz " + std::to_string(i) + " \xB9\xEA'";
        duzaUtf8 += "\r\nprint 'wiersz " + std::to_string(i) + " ąę'";
    }
    for (const char* haslo : HaslaObuSesji) {
        SCOPED_TRACE(haslo);
        SerwerTestowy serwer({}, haslo);
        Polaczony p(serwer);
        for (const auto& przypadek : przypadki) {
            SCOPED_TRACE(przypadek.nazwa);
            p.polaczenie.WykonajBezRekordow(przypadek.cp1250, 30);
            EXPECT_EQ(serwer.Partie().back(), przypadek.utf8);
        }
        // After the large one, a short one: the connection reuses its buffer.
        p.polaczenie.WykonajBezRekordow(duza, 2592000);
        EXPECT_TRUE(serwer.Partie().back() == duzaUtf8);
        p.polaczenie.WykonajBezRekordow(przypadki[0].cp1250, 30);
        EXPECT_EQ(serwer.Partie().back(), przypadki[0].utf8);
    }
}

TEST(PolaczenieODBC, RefusedTextsNeverFailSilently) {
    for (const char* haslo : HaslaObuSesji) {
        SCOPED_TRACE(haslo);
        SerwerTestowy serwer({}, haslo);
        Polaczony p(serwer);
        const std::size_t wyslane = serwer.Partie().size();
        // A byte that code page 1250 does not define stops the command before it is sent.
        EXPECT_NE(KomunikatOle([&] {
                      p.polaczenie.WykonajBezRekordow("select '\xB9' -- \x81", 30);
                  }).find("na pozycji 14 bajt 0x81"),
                  std::string::npos);
        // The driver takes a bare "?" for a parameter marker and refuses without a diagnostic.
        const std::string komunikat =
            KomunikatOle([&] { p.polaczenie.WykonajBezRekordow("select ?", 30); });
        EXPECT_NE(komunikat.find("\"?\""), std::string::npos) << komunikat;
        EXPECT_EQ(serwer.Partie().size(), wyslane);
        p.polaczenie.WykonajBezRekordow("select 1", 30);  // the connection stays usable
    }
}
