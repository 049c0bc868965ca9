// Linked-in packages applied by the script runner over the real ODBC stack to the test server.
#include <gtest/gtest.h>

#include "common/Linie.h"
#include "common/Wyjatki.h"
#include "db/PolaczenieODBC.h"
#include "packages/KontrolkaPostepu.h"
#include "packages/PakietyZasoby.h"
#include "packages/PrzetwarzanieSTR.h"
#include "packages/format/FormatPakietu.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

struct ZapisPostepu : KontrolkaPostepu {
    void UstawTekst(std::string_view t) override { tekst = t; }
    void OdswiezTeraz() override {}
    bool Widoczna() const override { return true; }
    void UstawKolor(std::uint32_t k) override { kolor = k; }
    std::string tekst;
    std::uint32_t kolor = 0;
};

ListaLinii Pakiet(const char* nazwa) {
    ListaLinii linie;
    WczytajZasob(nazwa, linie);
    return linie;
}

tds::ServerConfig Konfiguracja(const std::string& wersja, tds::Faults usterki = {}) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = wersja;
    konfiguracja.faults = std::move(usterki);
    return konfiguracja;
}

std::vector<tds::RequestKind> Transakcje(SerwerTestowy& serwer) {
    std::vector<tds::RequestKind> rodzaje;
    for (const auto& wpis : serwer->journal())
        if (wpis.kind == tds::RequestKind::Begin || wpis.kind == tds::RequestKind::Commit ||
            wpis.kind == tds::RequestKind::Rollback)
            rodzaje.push_back(wpis.kind);
    return rodzaje;
}

class PakietNaSerwerze : public ::testing::Test {
  protected:
    void Polacz(SerwerTestowy& serwer) {
        polaczenie.UstawDaneLogowania(serwer.Logowanie());
        polaczenie.Otworz();
    }
    EOleException Zastosuj(const char* nazwa, const char* wersja) {
        try {
            TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, Pakiet(nazwa), true, &postep, wersja);
        } catch (const EOleException& e) {
            return e;
        }
        ADD_FAILURE() << "no error";
        return EOleException("", 0, "");
    }

    // Applies 8.2.0.6 to a server failing its batch 7 after two statements, and checks what a
    // package failing so leaves behind.
    void SprawdzBladTrzeciejInstrukcji(SerwerTestowy& serwer);

    PolaczenieODBC polaczenie;
    ZapisPostepu postep;
};

using R = tds::RequestKind;

}  // namespace

TEST_F(PakietNaSerwerze, APackageIsAppliedInOneTransactionAndCommitted) {
    SerwerTestowy serwer(Konfiguracja("7.12.0.7"));
    Polacz(serwer);
    const ListaLinii linie = Pakiet("zuv_8_1_0_0");
    EXPECT_TRUE(TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, linie, true, &postep, "8.1.0.0"));

    EXPECT_EQ(serwer.ZapisanaWersja(), "8.1.0.0");
    EXPECT_EQ(Transakcje(serwer), (std::vector<R>{R::Begin, R::Commit, R::Rollback}));
    std::size_t partie = 0;
    for (const auto& wpis : serwer->journal()) {
        if (wpis.kind != R::Batch) continue;
        ++partie;
        EXPECT_TRUE(wpis.transaction);
        EXPECT_EQ(wpis.text.find("-- 'C810A5C6-2053-412E-8618-652E1868305B'\r\n"),
                  std::string::npos);
    }
    EXPECT_EQ(static_cast<std::int32_t>(partie), LiczbaSeparatorow(linie));
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);

    // Committed means durable: a new session reads the new version.
    PolaczenieODBC druga;
    druga.UstawDaneLogowania(serwer.Logowanie());
    druga.Otworz();
    const auto wynik =
        druga.WykonajZRekordami("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'");
    EXPECT_EQ(wynik.pierwszePole, WartoscPola(std::string("8.1.0.0")));
}

TEST_F(PakietNaSerwerze, AnErrorFromTheThirdStatementOfABatchRollsThePackageBack) {
    tds::Faults usterki;
    usterki.failBatches.push_back(
        {"8.2.0.6", 7, 547, "Konflikt z ograniczeniem FK_ŚRODKI_GRUPY – usuń zależne wiersze.", 2});
    SerwerTestowy serwer(Konfiguracja("8.1.0.0", usterki));
    Polacz(serwer);
    SprawdzBladTrzeciejInstrukcji(serwer);
}

// The server's message keeps its Polish letters on a session whose log-in values are beyond
// ASCII, which the driver is opened with otherwise.
TEST_F(PakietNaSerwerze, AnErrorReachesAWideSessionWithItsLetters) {
    tds::Faults usterki;
    usterki.failBatches.push_back(
        {"8.2.0.6", 7, 547, "Konflikt z ograniczeniem FK_ŚRODKI_GRUPY – usuń zależne wiersze.", 2});
    SerwerTestowy serwer(Konfiguracja("8.1.0.0", usterki), "Hasło€1");
    Polacz(serwer);
    SprawdzBladTrzeciejInstrukcji(serwer);
}

void PakietNaSerwerze::SprawdzBladTrzeciejInstrukcji(SerwerTestowy& serwer) {
    const EOleException blad = Zastosuj("zuv_8_2_0_6", "8.2.0.6");
    EXPECT_EQ(blad.Komunikat(),
              "Błąd aktualizacji bazy do wersji 8.2.0.6 podczas wykonywania operacji 7:\r\n"
              "Konflikt z ograniczeniem FK_ŚRODKI_GRUPY – usuń zależne wiersze");
    EXPECT_EQ(blad.Kod(), 547);
    EXPECT_EQ(blad.StanSQL(), "23000");
    EXPECT_EQ(postep.tekst, "Aktualizacja bazy do wersji 8.2.0.6 przerwana z powodu błędu.");
    EXPECT_EQ(postep.kolor, 0xBBBBFFu);
    EXPECT_EQ(serwer.ZapisanaWersja(), "8.1.0.0");
    EXPECT_EQ(Transakcje(serwer), (std::vector<R>{R::Begin, R::Rollback, R::Rollback}));
    // Nothing of the package after the failing batch; the roll back asks first whether the server
    // still has the transaction open.
    const std::vector<std::string> partie = serwer.Partie();
    ASSERT_EQ(partie.size(), 8u);
    EXPECT_EQ(partie.back(), "SELECT @@TRANCOUNT");
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
}

TEST_F(PakietNaSerwerze, TheOpeningBatchRefusesAWrongRecordedVersion) {
    SerwerTestowy serwer(Konfiguracja("8.1.0.0"));
    Polacz(serwer);
    const EOleException blad = Zastosuj("zuv_8_3_0_1", "8.3.0.1");
    EXPECT_EQ(blad.Komunikat(),
              "Błąd aktualizacji bazy do wersji 8.3.0.1 podczas wykonywania operacji 1:\r\n"
              "Wersja systemu: 8.1.0.0\r\nAktualizacja jest przeznaczona dla wersji 8.2.0.6");
    EXPECT_EQ(blad.Kod(), 13000);
    EXPECT_EQ(blad.StanSQL(), "42000");
    EXPECT_EQ(serwer.ZapisanaWersja(), "8.1.0.0");
}

TEST_F(PakietNaSerwerze, ALostConnectionInTheMiddleCommitsNothingAndClosesTheConnection) {
    tds::Faults usterki;
    usterki.dropAtRequests.push_back(12);
    SerwerTestowy serwer(Konfiguracja("7.12.0.7", usterki));
    Polacz(serwer);
    const EOleException blad = Zastosuj("zuv_8_1_0_0", "8.1.0.0");
    // Told as a lost connection at that batch, not as the roll back's error, which could not
    // reach the server.
    EXPECT_EQ(
        blad.Komunikat(),
        "Połączenie z serwerem zostało przerwane podczas wykonywania operacji 11 aktualizacji "
        "bazy do wersji 8.1.0.0. Serwer wycofuje niezatwierdzone zmiany tej aktualizacji. "
        "Kliknij „Loguj”, aby połączyć się ponownie.\r\nUnexpected EOF from the server");
    EXPECT_FALSE(polaczenie.Otwarte());
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
    EXPECT_EQ(serwer.ZapisanaWersja(), "7.12.0.7");
    EXPECT_EQ(Transakcje(serwer), (std::vector<R>{R::Begin}));

    // Closing and logging in again work.
    EXPECT_NO_THROW(polaczenie.Zamknij());
    EXPECT_NO_THROW(Polacz(serwer));
}
