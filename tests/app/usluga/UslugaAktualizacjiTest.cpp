// The update service without any front end: the in-memory connection, a catalogue of small
// packages, and an observer that records what it hears. Each ending of a log-in, a plan and a run
// is read from what the service returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/usluga/Logowanie.h"
#include "app/usluga/PlanAktualizacji.h"
#include "app/usluga/PrzebiegAktualizacji.h"
#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "db/UtrataPolaczenia.h"
#include "db/ZapisanaWersja.h"
#include "tests/support/KatalogProbny.h"
#include "tests/support/PolaczeniePamieciowe.h"

using namespace zuv;

namespace {

using Rodzaj = PolaczeniePamieciowe::Rodzaj;

const std::vector<std::string> Katalog = {"11.3.0.2", "11.4.0.1", "11.5.0.6"};

class Nasluch final : public ObserwatorPrzebiegu {
  public:
    void PakietRozpoczety(const std::string& wersja, std::size_t numer,
                          std::size_t liczba) override {
        zdarzenia.push_back("start " + wersja + " " + std::to_string(numer) + "/" +
                            std::to_string(liczba));
        if (przerwijPrzy == wersja) przebieg->Przerwij();
    }
    void PakietZatwierdzony(const std::string& wersja, double) override {
        zdarzenia.push_back("commit " + wersja);
    }

    std::vector<std::string> zdarzenia;
    std::string przerwijPrzy;  // a stop asked when this package begins
    PrzebiegAktualizacji* przebieg = nullptr;
};

class Usluga : public ::testing::Test {
  protected:
    void SetUp() override {
        katalog.pakiety["ZUV_11_4_0_1"] =
            "select 41\r\ngo\r\nselect 42\r\ngo\r\nselect 43\r\ngo\r\n";
        katalog.pakiety["ZUV_11_5_0_6"] = "select 51\r\ngo\r\nselect 52\r\ngo\r\n";
        conn.UstawWynik("SELECT dbo.fn_WERSJA_MS_SQL()", {1, WartoscPola(std::int64_t{2005})});
        conn.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
        Zapisana("11.3.0.2");
    }
    void Zapisana(const std::string& wersja) {
        conn.UstawWynik(ZapytanieZapisanejWersji, {1, WartoscPola(wersja)});
    }
    // Logs in, plans and runs, as a front end does between its question and its result.
    WynikPrzebiegu Przebieg() {
        const OdczytWersji odczyt = Zaloguj(conn, {"SRV", "ZUV", "sa", "p"});
        PrzebiegAktualizacji przebieg(conn, Zaplanuj(odczyt.tekst, Katalog, katalog),
                                      {"SRV", "ZUV", nullptr, &katalog, true});
        nasluch.przebieg = &przebieg;
        przedWykonaniem(przebieg);
        WynikPrzebiegu wynik = przebieg.Wykonaj(&nasluch);
        EXPECT_TRUE(przebieg.Skonczony());
        EXPECT_FALSE(przebieg.SprawdzPrzerwanie(std::chrono::milliseconds(0)));
        return wynik;
    }
    // The batches of the packages that reached the server, in order.
    std::vector<std::string> Partie() const {
        std::vector<std::string> partie;
        for (const std::string& tekst : conn.Polecenia())
            if (tekst.find("select ") != std::string::npos) partie.push_back(tekst);
        return partie;
    }

    KatalogProbny katalog;
    PolaczeniePamieciowe conn;
    Nasluch nasluch;
    std::function<void(PrzebiegAktualizacji&)> przedWykonaniem = [](PrzebiegAktualizacji&) {};
};

}  // namespace

// The log-in gives the recorded version as the server gave it; no row and several rows are cases
// of their own, never a version.
TEST_F(Usluga, LogInGivesTheRecordedVersionAsTheServerGaveIt) {
    using R = OdczytWersji::Rodzaj;
    // GCC 12 takes a table of WynikZapytania for a read of an uninitialised optional.
    const struct {
        const char* nazwa;
        std::int64_t wiersze;
        const char* pole;  // nullptr: NULL
        R rodzaj;
        std::string tekst;
    } przypadki[] = {
        {"a text, blanks kept", 1, "10.17.0.3 ", R::Wartosc, "10.17.0.3 "},
        {"NULL", 1, nullptr, R::Null, ""},
        {"no row", 0, nullptr, R::BrakWiersza, ""},
        {"two rows", 2, "8.1.0.0", R::WieleWierszy, ""},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        WynikZapytania wynik;
        wynik.liczbaRekordow = p.wiersze;
        if (p.wiersze > 0)
            wynik.pierwszePole =
                p.pole != nullptr ? WartoscPola(std::string(p.pole)) : WartoscPola();
        conn.UstawWynik(ZapytanieZapisanejWersji, wynik);
        const OdczytWersji odczyt = Zaloguj(conn, {"SRV", "ZUV", "sa", "Tajne;1"});
        EXPECT_EQ(odczyt.rodzaj, p.rodzaj);
        EXPECT_EQ(odczyt.tekst, p.tekst);
        EXPECT_EQ(odczyt.JedenWiersz(), p.rodzaj == R::Wartosc || p.rodzaj == R::Null);
        EXPECT_TRUE(conn.Otwarte());
    }
    // A number is given in decimal.
    conn.UstawWynik(ZapytanieZapisanejWersji, {1, WartoscPola(std::int64_t{42})});
    EXPECT_EQ(Zaloguj(conn, {"SRV", "ZUV", "sa", "Tajne;1"}).tekst, "42");
    // Every log-in closed the session before it and opened one with the record's values.
    EXPECT_EQ(conn.Liczba(Rodzaj::Zamkniecie), 4);
    EXPECT_EQ(conn.Wywolania()[0].tekst,
              "Provider=SQLOLEDB.1;Password=\"Tajne;1\";Persist Security Info=True;User ID=sa;"
              "Initial Catalog=ZUV;Data Source=SRV;OLE DB Services=-2;Application Name=U:admin");
}

TEST(PlanAktualizacji, EachVerdictOfTheBoundChecks) {
    using W = PlanAktualizacji::Werdykt;
    const std::vector<std::string> katalog = KatalogProgramu();
    const struct {
        const char* wersja;
        W werdykt;
        bool powyzej;
        std::vector<std::string> pierwszeDwa;  // of the packages due
        std::size_t liczba;
        const char* tekst;  // the warning or the conversion error
    } przypadki[] = {
        {"11.5.0.6",
         W::Najwyzsza,
         false,
         {},
         0,
         "Aktualna wersja 11.5.0.6 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
        {"12.0.0.0",
         W::Najwyzsza,
         true,
         {},
         0,
         "Aktualna wersja 12.0.0.0 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
        {"7.12.0.7",
         W::PonizejZakresu,
         false,
         {},
         0,
         "Aktualna wersja 7.12.0.7 musi być większa lub równa minimalnej dostępnej wersji "
         "8.1.0.0."},
        {"10.1.0.1 ", W::Niepoprawna, false, {}, 0, "Niepoprawna wersja: \"10.1.0.1 \"."},
        {"", W::Niepoprawna, false, {}, 0, "Niepoprawna wersja: \"\"."},
        {"8.1.0.0", W::DoWykonania, false, {"8.2.0.6", "8.3.0.1"}, 38, ""},
        {"11.4.0.1", W::DoWykonania, false, {"11.5.0.6"}, 1, ""},
        {"10.5.0.3", W::DoWykonania, false, {"10.5.0.5", "10.6.0.2"}, 18, ""},
        // Equal in version order but not as text: that entry is due too, ahead of the others.
        {"10.01.0.1", W::DoWykonania, false, {"10.1.0.1", "10.2.0.2"}, 22, ""},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.wersja);
        const PlanAktualizacji plan = Zaplanuj(p.wersja, katalog);
        EXPECT_EQ(plan.werdykt, p.werdykt);
        EXPECT_EQ(plan.powyzejOstatniej, p.powyzej);
        ASSERT_EQ(plan.pakiety.size(), p.liczba);
        for (std::size_t i = 0; i < p.pierwszeDwa.size(); ++i)
            EXPECT_EQ(plan.pakiety[i].wersja, p.pierwszeDwa[i]);
        EXPECT_EQ(p.werdykt == W::Niepoprawna ? plan.blad : plan.Ostrzezenie(), p.tekst);
        for (const PakietPlanu& pakiet : plan.pakiety) {
            EXPECT_GT(pakiet.bajty, 0u) << pakiet.wersja;
            EXPECT_GT(pakiet.operacje, 0) << pakiet.wersja;
        }
    }
}

// A target version cuts the plan after it; a database at it or past it gets the target's own
// warning, the one past it as a database a run must not touch.
TEST(PlanAktualizacji, ATargetVersionEndsThePlanAtIt) {
    using W = PlanAktualizacji::Werdykt;
    const std::vector<std::string> katalog = KatalogProgramu();
    const struct {
        const char* wersja;
        const char* docelowa;
        W werdykt;
        bool powyzej;
        std::vector<std::string> pakiety;
        const char* ostrzezenie;
    } przypadki[] = {
        {"11.3.0.2", "11.4.0.1", W::DoWykonania, false, {"11.4.0.1"}, ""},
        {"11.3.0.2", "11.5.0.6", W::DoWykonania, false, {"11.4.0.1", "11.5.0.6"}, ""},
        {"11.4.0.1",
         "11.4.0.1",
         W::Najwyzsza,
         false,
         {},
         "Aktualna wersja 11.4.0.1 jest równa wersji docelowej 11.4.0.1."},
        {"11.5.0.6",
         "11.4.0.1",
         W::Najwyzsza,
         true,
         {},
         "Aktualna wersja 11.5.0.6 jest większa od wersji docelowej 11.4.0.1."},
        {"7.12.0.7",
         "8.1.0.0",
         W::PonizejZakresu,
         false,
         {},
         "Aktualna wersja 7.12.0.7 musi być większa lub równa minimalnej dostępnej wersji "
         "8.1.0.0."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::string(p.wersja) + " -> " + p.docelowa);
        const PlanAktualizacji plan = ZaplanujDoWersji(p.wersja, katalog, p.docelowa);
        EXPECT_EQ(plan.werdykt, p.werdykt);
        EXPECT_EQ(plan.powyzejOstatniej, p.powyzej);
        EXPECT_EQ(plan.ostatnia, p.docelowa);
        std::vector<std::string> pakiety;
        for (const PakietPlanu& pakiet : plan.pakiety) pakiety.push_back(pakiet.wersja);
        EXPECT_EQ(pakiety, p.pakiety);
        EXPECT_EQ(plan.Ostrzezenie(), p.ostrzezenie);
    }
    EXPECT_TRUE(WersjaWKatalogu(katalog, "11.4.0.1"));
    EXPECT_FALSE(WersjaWKatalogu(katalog, "11.4.0.2"));
    EXPECT_FALSE(WersjaWKatalogu(katalog, "11.4.0.01"));
}

// A whole run: the lock, the flag, each package in its own transaction in catalogue order, the
// observer told of each, the version read again, the lock given back.
TEST_F(Usluga, AWholeRunCommitsEveryPackageInOrder) {
    const WynikPrzebiegu wynik = Przebieg();
    EXPECT_EQ(wynik.rodzaj, WynikPrzebiegu::Rodzaj::Zaktualizowana);
    EXPECT_EQ(wynik.wersjaPrzed, "11.3.0.2");
    EXPECT_EQ(wynik.wersjaPo, "11.3.0.2");  // what the in-memory server records
    EXPECT_FALSE(wynik.blad);
    EXPECT_FALSE(wynik.sesjaZakonczona);
    ASSERT_EQ(wynik.zatwierdzone.size(), 2u);
    EXPECT_EQ(wynik.zatwierdzone[0].wersja, "11.4.0.1");
    EXPECT_EQ(wynik.zatwierdzone[1].wersja, "11.5.0.6");
    EXPECT_EQ(nasluch.zdarzenia,
              (std::vector<std::string>{"start 11.4.0.1 1/2", "commit 11.4.0.1",
                                        "start 11.5.0.6 2/2", "commit 11.5.0.6"}));
    EXPECT_EQ(Partie(), (std::vector<std::string>{"\r\nselect 41\r\n", "\r\nselect 42\r\n",
                                                  "\r\nselect 43\r\n", "\r\nselect 51\r\n",
                                                  "\r\nselect 52\r\n"}));
    EXPECT_EQ(conn.Liczba(Rodzaj::Rozpoczecie), 2);
    EXPECT_EQ(conn.Liczba(Rodzaj::Zatwierdzenie), 2);
    const std::vector<std::string> polecenia = conn.Polecenia();
    EXPECT_EQ(polecenia[0].rfind("IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS", 0), 0u);
    EXPECT_EQ(polecenia.back(), PolecenieZwolnieniaBlokady);
}

// A batch fails: the package is rolled back whole, later packages are not tried, and the result
// names the version, the batch and the server's own text.
TEST_F(Usluga, AFailingBatchIsReturnedWithItsVersionBatchAndTheServersText) {
    // Flag (2 commands), then the first package's batches: its second one fails.
    conn.Zawiedz(Rodzaj::Polecenie, 2 + 2,
                 std::make_exception_ptr(EOleException("Brak miejsca w bazie.", 1105, "x")));
    const WynikPrzebiegu wynik = Przebieg();
    EXPECT_EQ(wynik.rodzaj, WynikPrzebiegu::Rodzaj::BladPakietu);
    EXPECT_EQ(wynik.wersjaPakietu, "11.4.0.1");
    EXPECT_EQ(wynik.partia, 2);
    EXPECT_EQ(wynik.bladSerwera, "Brak miejsca w bazie");
    EXPECT_EQ(wynik.TekstBledu(),
              "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 2:\r\n"
              "Brak miejsca w bazie");
    EXPECT_TRUE(wynik.zatwierdzone.empty());
    EXPECT_EQ(conn.Liczba(Rodzaj::Wycofanie), 1);
    EXPECT_EQ(conn.Liczba(Rodzaj::Zatwierdzenie), 0);
    EXPECT_EQ(Partie().size(), 2u);
    EXPECT_EQ(conn.Polecenia().back(), PolecenieZwolnieniaBlokady);
}

// A stop asked as the second package begins: the first stays committed, the second is rolled
// back before its first batch; asked before the run, nothing is sent at all.
TEST_F(Usluga, AStopRollsBackThePackageRunningAndKeepsTheCommittedOnes) {
    nasluch.przerwijPrzy = "11.5.0.6";
    WynikPrzebiegu wynik = Przebieg();
    EXPECT_EQ(wynik.rodzaj, WynikPrzebiegu::Rodzaj::Przerwana);
    EXPECT_FALSE(wynik.blad);
    EXPECT_EQ(wynik.wersjaPakietu, "11.5.0.6");
    EXPECT_EQ(wynik.wersjaPo, "11.3.0.2");
    ASSERT_EQ(wynik.zatwierdzone.size(), 1u);
    EXPECT_EQ(conn.Liczba(Rodzaj::Zatwierdzenie), 1);
    EXPECT_EQ(Partie().size(), 3u);

    PolaczeniePamieciowe przedRozpoczeciem;
    przedRozpoczeciem.UstawWynik(ZapytanieZapisanejWersji,
                                 {1, WartoscPola(std::string("11.3.0.2"))});
    (void)Zaloguj(przedRozpoczeciem, {"SRV", "ZUV", "sa", "p"});
    PrzebiegAktualizacji przebieg(przedRozpoczeciem, Zaplanuj("11.3.0.2", Katalog, katalog),
                                  {"SRV", "ZUV", nullptr, &katalog, true});
    przebieg.Przerwij();
    // The watch over a stop the server does not answer: told at once with no wait, then not
    // again before another wait.
    const auto bezOdpowiedzi = przebieg.SprawdzPrzerwanie(std::chrono::milliseconds(0));
    ASSERT_TRUE(bezOdpowiedzi);
    EXPECT_EQ(bezOdpowiedzi->wersjaPakietu, "11.4.0.1");
    EXPECT_FALSE(przebieg.SprawdzPrzerwanie(std::chrono::hours(1)));
    wynik = przebieg.Wykonaj();
    EXPECT_EQ(wynik.rodzaj, WynikPrzebiegu::Rodzaj::Przerwana);
    EXPECT_EQ(wynik.wersjaPo, "11.3.0.2");
    EXPECT_EQ(przedRozpoczeciem.Wywolania().size(), 2u);  // the log-in's open and read alone
}

// The link lost at a commit: only the version read again in a new session tells whether the
// package stayed; each of the three answers is a case of its own.
TEST_F(Usluga, ALinkLostAtACommitSaysWhatTheVersionReadBackTells) {
    const struct {
        const char* nazwa;
        const char* zapisana;  // what the database records after the loss
        bool odczytNieudany;   // the read-back fails
        SkutekZatwierdzenia skutek;
        const char* poczatek;
    } przypadki[] = {
        {"committed", "11.4.0.1", false, SkutekZatwierdzenia::Zatwierdzony,
         "Połączenie z serwerem zostało przerwane podczas zatwierdzania aktualizacji bazy do "
         "wersji 11.4.0.1. Baza ma teraz zapisaną wersję 11.4.0.1: ta aktualizacja została "
         "zatwierdzona."},
        {"rolled back", "11.3.0.2", false, SkutekZatwierdzenia::Wycofany,
         "Połączenie z serwerem zostało przerwane podczas zatwierdzania aktualizacji bazy do "
         "wersji 11.4.0.1. Baza ma teraz zapisaną wersję 11.3.0.2: ta aktualizacja została "
         "wycofana."},
        {"unknown", "11.3.0.2", true, SkutekZatwierdzenia::Nieznany,
         "Połączenie z serwerem zostało przerwane podczas zatwierdzania aktualizacji bazy do "
         "wersji 11.4.0.1. Ponowne połączenie z serwerem nie powiodło się"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        PolaczeniePamieciowe polaczenie;
        polaczenie.UstawWynik("SELECT dbo.fn_WERSJA_MS_SQL()",
                              {1, WartoscPola(std::int64_t{2005})});
        polaczenie.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
        polaczenie.UstawWynik(ZapytanieZapisanejWersji, {1, WartoscPola(std::string("11.3.0.2"))});
        polaczenie.Zawiedz(Rodzaj::Zatwierdzenie, 1,
                           std::make_exception_ptr(EUtrataPolaczenia(
                               EOleException("Unexpected EOF from the server.", 0, "x"))));
        // The queries: the log-in's read, the lock, the generation, then the read-back.
        if (p.odczytNieudany)
            polaczenie.Zawiedz(Rodzaj::Zapytanie, 4,
                               std::make_exception_ptr(EOleException("Brak serwera", 0, "x")));
        const OdczytWersji odczyt = Zaloguj(polaczenie, {"SRV", "ZUV", "sa", "p"});
        PrzebiegAktualizacji przebieg(polaczenie, Zaplanuj(odczyt.tekst, Katalog, katalog),
                                      {"SRV", "ZUV", nullptr, &katalog, true});
        polaczenie.UstawWynik(ZapytanieZapisanejWersji, {1, WartoscPola(std::string(p.zapisana))});
        const WynikPrzebiegu wynik = przebieg.Wykonaj();
        EXPECT_EQ(wynik.rodzaj, WynikPrzebiegu::Rodzaj::UtrataPolaczenia);
        EXPECT_EQ(wynik.krok, KrokUtraty::Zatwierdzenie);
        EXPECT_EQ(wynik.wersjaPakietu, "11.4.0.1");
        EXPECT_EQ(wynik.skutek, p.skutek);
        EXPECT_TRUE(wynik.sesjaZakonczona);
        EXPECT_EQ(wynik.bladSerwera, "Unexpected EOF from the server");
        EXPECT_EQ(wynik.TekstBledu().rfind(p.poczatek, 0), 0u) << wynik.TekstBledu();
        // Later packages are not tried.
        EXPECT_EQ(polaczenie.Liczba(Rodzaj::Rozpoczecie), 1);
    }
}

// Another session holds the update lock: refused, nothing more sent, the version not read again.
TEST_F(Usluga, AnotherSessionHoldingTheLockRefusesTheRunBeforeAnything) {
    conn.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{-1})});
    const WynikPrzebiegu wynik = Przebieg();
    EXPECT_EQ(wynik.rodzaj, WynikPrzebiegu::Rodzaj::Zablokowana);
    EXPECT_EQ(wynik.TekstBledu(),
              "Baza SRV.ZUV jest właśnie aktualizowana z innej sesji (inny program lub inne "
              "stanowisko). Nic nie zostało zmienione. Spróbuj ponownie, gdy tamta aktualizacja "
              "się zakończy.");
    EXPECT_FALSE(wynik.wersjaPo);
    EXPECT_TRUE(conn.Polecenia().empty());
    EXPECT_EQ(conn.Liczba(Rodzaj::Zapytanie), 2);  // the log-in's read and the lock
    EXPECT_TRUE(nasluch.zdarzenia.empty());

    // The flag refused by the server: nothing begun either.
    PolaczeniePamieciowe flaga;
    flaga.UstawWynik(ZapytanieZapisanejWersji, {1, WartoscPola(std::string("11.3.0.2"))});
    flaga.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
    flaga.Zawiedz(Rodzaj::Polecenie, 1,
                  std::make_exception_ptr(EOleException("Brak uprawnień do tempdb", 262, "x")));
    (void)Zaloguj(flaga, {"SRV", "ZUV", "sa", "p"});
    PrzebiegAktualizacji przebieg(flaga, Zaplanuj("11.3.0.2", Katalog, katalog),
                                  {"SRV", "ZUV", nullptr, &katalog, true});
    const WynikPrzebiegu bezFlagi = przebieg.Wykonaj();
    EXPECT_EQ(bezFlagi.rodzaj, WynikPrzebiegu::Rodzaj::BladPrzygotowania);
    EXPECT_EQ(bezFlagi.bladSerwera, "Brak uprawnień do tempdb");
    EXPECT_EQ(bezFlagi.TekstBledu().rfind("Serwer zgłosił błąd podczas ustawiania flagi "
                                          "aktualizacji (tabela #WA_OPCJE_TMP); żadna "
                                          "aktualizacja nie została rozpoczęta.",
                                          0),
              0u)
        << bezFlagi.TekstBledu();
    EXPECT_EQ(flaga.Liczba(Rodzaj::Rozpoczecie), 0);
    // The lock was given back.
    EXPECT_EQ(flaga.Polecenia().back(), PolecenieZwolnieniaBlokady);
}
