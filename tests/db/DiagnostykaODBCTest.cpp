#include <gtest/gtest.h>

#include <vector>

#include "db/DiagnostykaODBC.h"

using namespace zuv;

namespace {

TEST(BladZDiagnostyki, ChoosesTheRecordsThatSayWhy) {
    struct Przypadek {
        const char* nazwa;
        std::vector<RekordDiagnostyki> rekordy;
        std::string komunikat;
        std::int32_t kod;
        std::string stanSQL;
    };
    const std::vector<Przypadek> przypadki = {
        {"server error with the driver's follow-up",
         {{"42000", 18456, "[FreeTDS][SQL Server]Login failed for user 'sa'."},
          {"08001", 0, "[FreeTDS][SQL Server]Unable to connect to data source"}},
         "Login failed for user 'sa'",
         18456,
         "42000"},
        {"two server errors both shown",
         {{"42000", 4060, "[FreeTDS][SQL Server]Cannot open database \"X\"."},
          {"28000", 18456, "[FreeTDS][SQL Server]Login failed for user 'sa'."}},
         "Cannot open database \"X\".\r\nLogin failed for user 'sa'",
         4060,
         "42000"},
        {"a warning before the error is left out",
         {{"01000", 0, "[FreeTDS][SQL Server]Changed database context"},
          {"23000", 547, "[FreeTDS][SQL Server]Konflikt z ograniczeniem"}},
         "Konflikt z ograniczeniem",
         547,
         "23000"},
        {"a lost connection comes as a warning only",
         {{"01000", 20017, "[FreeTDS][SQL Server]Unexpected EOF from the server"}},
         "Unexpected EOF from the server",
         20017,
         "01000"},
        {"driver errors only",
         {{"08S01", 0, "[FreeTDS][SQL Server]Communication link failure"}},
         "Communication link failure",
         0,
         "08S01"},
        {"the same text twice once",
         {{"HY000", 0, "[unixODBC]x"}, {"HY000", 0, "[unixODBC]x"}},
         "x",
         0,
         "HY000"},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const EOleException blad = BladZDiagnostyki(p.rekordy, "FreeTDS");
        EXPECT_EQ(blad.Komunikat(), p.komunikat);
        EXPECT_EQ(blad.Kod(), p.kod);
        EXPECT_EQ(blad.StanSQL(), p.stanSQL);
        EXPECT_EQ(blad.Zrodlo(), "ODBC FreeTDS SQLSTATE " + p.stanSQL);
    }
}

TEST(BladZDiagnostyki, WithoutRecordsSaysSoAndPointsAtAParameterMarker) {
    const EOleException bezZnaku = BladZDiagnostyki({}, "FreeTDS", "select 1");
    EXPECT_EQ(bezZnaku.Komunikat(), "Sterownik ODBC odrzucił polecenie, nie podając przyczyny");
    EXPECT_EQ(bezZnaku.StanSQL(), "");
    const EOleException zeZnakiem = BladZDiagnostyki({}, "FreeTDS", "select ? x");
    EXPECT_NE(zeZnakiem.Komunikat().find("znak \"?\""), std::string::npos);
}

TEST(BezPrzedrostkowSterownika, DropsOnlyTheDriverStacksGroups) {
    EXPECT_EQ(BezPrzedrostkowSterownika("[FreeTDS][SQL Server]Login failed for user 'sa'."),
              "Login failed for user 'sa'.");
    EXPECT_EQ(BezPrzedrostkowSterownika("[unixODBC][Driver Manager]Data source name not found"),
              "Data source name not found");
    EXPECT_EQ(BezPrzedrostkowSterownika("[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]x"),
              "x");
    EXPECT_EQ(BezPrzedrostkowSterownika("[FreeTDS][SQL Server][13000] Niepoprawny status ^pc_MC"),
              "[13000] Niepoprawny status ^pc_MC");
    EXPECT_EQ(BezPrzedrostkowSterownika("bez nawiasów"), "bez nawiasów");
}

}  // namespace
