// The program against a server of each generation it supports, each answering in the protocol of
// its time (SQL Server 2000 in TDS 7.1, 2005 in 7.2, 2008 in 7.3A, 2008 R2 in 7.3B, 2012 in 7.4)
// while the program asks FreeTDS for 7.4: log-in and the version line, a run that fails in a
// package with a message in Polish, the run resumed to the end, the server generation the
// packages ask for, and Polish letters on the way to the server.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/db/integracja/ProgramTestowy.h"
#include "tests/db/integracja/SerwerTestowy.h"

namespace {

constexpr const char* WersjaPoczatkowa = "11.3.0.2";  // the run applies 11.4.0.1 and 11.5.0.6
constexpr const char* BladPakietu = "Naruszenie ograniczenia – „źdźbło” ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż";
// A line of a package that reaches the server only when the letters survive the way there.
constexpr const char* TekstPakietu = "'Numeracja dokumentów w obrębie roku obrotowego'";

bool WysylanoPartie(const SerwerTestowy& serwer, const std::string& fragment) {
    const auto partie = serwer.Partie();
    return std::any_of(partie.begin(), partie.end(), [&](const std::string& partia) {
        return partia.find(fragment) != std::string::npos;
    });
}

std::size_t Liczba(SerwerTestowy& serwer, tds::RequestKind rodzaj) {
    const auto wpisy = serwer->journal();
    return static_cast<std::size_t>(std::count_if(
        wpisy.begin(), wpisy.end(), [&](const tds::JournalEntry& w) { return w.kind == rodzaj; }));
}

}  // namespace

TEST(WersjeProtokolu, EachGenerationLogsInFailsInPolishResumesAndFinishes) {
    const struct {
        const char* wersjaProduktu;
        tds::TdsVersion protokol;
        bool pominietePartie2005;  // the server generation is below 2005
    } przypadki[] = {
        {"8.00.2039", tds::TdsVersion::V7_1, true},
        {"9.00.5000.00", tds::TdsVersion::V7_2, false},
        {"10.0.6000.29", tds::TdsVersion::V7_3A, false},
        {"10.50.6000.34", tds::TdsVersion::V7_3B, false},
        {"11.0.7001.0", tds::TdsVersion::V7_4, false},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.wersjaProduktu);
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = WersjaPoczatkowa;
        konfiguracja.productVersion = p.wersjaProduktu;
        konfiguracja.faults.failBatches.push_back({"11.4.0.1", 3, 50000, BladPakietu, 0});
        SerwerTestowy serwer(konfiguracja);
        ProgramTestowy program(serwer.Adres());

        ASSERT_EQ(program.Loguj(), "");
        EXPECT_EQ(program.okno.wierszWersji,
                  "Wersja bazy " + serwer.Adres() + ".ZUV: " + WersjaPoczatkowa);
        ASSERT_FALSE(serwer->connections().empty());
        EXPECT_EQ(serwer->connections().back().version, p.protokol);

        EXPECT_EQ(program.Aktualizuj(),
                  std::string("Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania "
                              "operacji 3:\r\n") +
                      BladPakietu + ".");
        EXPECT_EQ(serwer.ZapisanaWersja(), WersjaPoczatkowa);
        EXPECT_EQ(program.conn.PoziomTransakcji(), 0);

        serwer->setFailBatches({});
        EXPECT_EQ(program.Aktualizuj(), "");
        EXPECT_EQ(program.OstatniBox(), "Zakończono aktualizację.");
        EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");

        EXPECT_TRUE(WysylanoPartie(serwer, "SELECT dbo.fn_WERSJA_MS_SQL()"));
        EXPECT_EQ(WysylanoPartie(serwer, "-- $MIN_SQL_2005"), !p.pominietePartie2005);
        EXPECT_TRUE(WysylanoPartie(serwer, TekstPakietu));
        // Each package in a transaction of its own: the failed one, then the two of the resumed
        // run, however the protocol carries the requests.
        EXPECT_GE(Liczba(serwer, tds::RequestKind::Begin), 3u);
        EXPECT_EQ(Liczba(serwer, tds::RequestKind::Commit), 2u);
        EXPECT_TRUE(program.polecenie.FormClose());
    }
}
