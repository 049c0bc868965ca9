// The main window's commands without a window or a server: a window made of recorders, the
// linked-in packages and the in-memory connection. Runs go through the same steps a window takes:
// the question on the test's thread, the packages on a thread of their own, the end back on the
// test's thread.
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "app/PolecenieAktualizacji.h"
#include "common/Ascii.h"
#include "common/Linie.h"
#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "db/UtrataPolaczenia.h"
#include "packages/KatalogPakietow.h"
#include "packages/PakietyZasoby.h"
#include "packages/PrzetwarzanieSTR.h"
#include "packages/format/FormatPakietu.h"
#include "tests/support/KatalogProbny.h"
#include "tests/support/OknaKomunikatowSkryptowe.h"
#include "tests/support/OknoPamieciowe.h"
#include "tests/support/PolaczeniePamieciowe.h"
#include "tests/support/PolecenieWWatku.h"
#include "tests/support/WersjePakietow.h"
#include "versions/KatalogWersji.h"

using namespace zuv;

namespace {

using Rodzaj = PolaczeniePamieciowe::Rodzaj;

constexpr const char* ZapytanieWersji =
    "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'";
constexpr std::uint32_t Rozowy = TPrzetwarzanieSTR::KolorBledu;

ListaLinii Pakiet(std::string_view wersja) {
    std::string nazwa = "zuv_" + std::string(wersja);
    for (char& znak : nazwa)
        if (znak == '.') znak = '_';
    ListaLinii linie;
    WczytajZasob(nazwa, linie);
    return linie;
}

class Polecenie : public ::testing::Test {
  protected:
    void SetUp() override {
        conn.Otworz();
        conn.UstawWynik("SELECT dbo.fn_WERSJA_MS_SQL()", {1, WartoscPola(std::int64_t{2005})});
        conn.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
    }
    // A press that ends before the run leaves the strip as it was: it said only what was awaited
    // while the version was read.
    void PasekJakPrzed() const {
        for (const std::string& tekst : okno.teksty)
            EXPECT_TRUE(tekst == "Odczyt wersji bazy..." || tekst.empty()) << tekst;
        EXPECT_TRUE(okno.teksty.empty() || okno.teksty.back().empty());
    }
    void Zapisana(const std::string& wersja) {
        conn.UstawWynik(ZapytanieWersji, {1, WartoscPola(wersja)});
    }
    // "Aktualizuj" answered with `odpowiedz`, the run on its own thread, then its end. Gives the
    // run's error, if any.
    std::exception_ptr Aktualizuj(int odpowiedz) {
        komunikaty.odpowiedzi = {odpowiedz};
        try {
            if (std::optional<ZadanieWTle> przebieg = RozpocznijPrzebiegWWatku(polecenie)) {
                std::thread watek([&] { przebieg->Wykonaj(); });
                watek.join();
                (void)przebieg->Zakoncz();
            }
        } catch (...) {
            return std::current_exception();
        }
        return nullptr;
    }
    static std::string Tekst(const std::exception_ptr& blad) {
        try {
            if (blad) std::rethrow_exception(blad);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "(none)";
    }

    PolaczeniePamieciowe conn;
    OknoPamieciowe okno;
    OknaKomunikatowSkryptowe komunikaty;
    PolecenieAktualizacji polecenie{conn, WidokOkna{okno, okno, okno, komunikaty, okno}};
};

}  // namespace

TEST_F(Polecenie, LogInShowsTheRecordedVersionOrFailsWithTheGroupHidden) {
    okno.grupaWidoczna = true;
    Zapisana("10.17.0.3 ");
    ZalogujWWatku(polecenie);
    EXPECT_EQ(conn.Wywolania().back().rodzaj, Rodzaj::Zapytanie);
    const std::string& otwarcie = conn.Wywolania()[conn.Wywolania().size() - 2].tekst;
    EXPECT_NE(otwarcie.find(";User ID=sa;Initial Catalog=Środki;Data Source=SERWER\\ZUV;"),
              std::string::npos)
        << otwarcie;
    EXPECT_EQ(okno.wersja, "Wersja bazy SERWER\\ZUV.Środki: 10.17.0.3 ");
    EXPECT_TRUE(okno.grupaWidoczna);

    conn.UstawWynik(ZapytanieWersji, {2, WartoscPola(std::string("8.1.0.0"))});
    try {
        ZalogujWWatku(polecenie);
        FAIL() << "no error";
    } catch (const EDatabaseError& blad) {
        EXPECT_STREQ(blad.what(),
                     "Odczyt wersji systemu ZUV dla bazy SERWER\\ZUV.Środki nie powiódł się.\r\n"
                     "Wierszy TERVO_WERSJA w tabeli konfig_st jest 2, a powinien być jeden; usuń "
                     "nadmiarowe, zostawiając właściwą wersję.");
    }
    EXPECT_FALSE(okno.grupaWidoczna);
    EXPECT_EQ(okno.wersja, "Wersja bazy SERWER\\ZUV.Środki: 10.17.0.3 ");
    // Each log-in closed the session before it (the fixture's, then the first log-in's).
    EXPECT_EQ(conn.Liczba(Rodzaj::Otwarcie), 3);
    EXPECT_EQ(conn.Liczba(Rodzaj::Zamkniecie), 2);
    EXPECT_TRUE(conn.Otwarte());
}

TEST_F(Polecenie, VersionsOutsideTheCatalogueAreRefusedWithAWarning) {
    const struct {
        const char* wersja;
        const char* tekst;
    } przypadki[] = {
        {"11.5.0.6",
         "Aktualna wersja 11.5.0.6 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
        {"12.0.0.0",
         "Aktualna wersja 12.0.0.0 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
        {"7.12.0.7",
         "Aktualna wersja 7.12.0.7 musi być większa lub równa minimalnej dostępnej wersji "
         "8.1.0.0."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.wersja);
        komunikaty.pokazane.clear();
        Zapisana(p.wersja);
        EXPECT_EQ(Aktualizuj(OdpowiedzKomunikatu::Tak), nullptr);
        ASSERT_EQ(komunikaty.pokazane.size(), 1u);
        EXPECT_EQ(komunikaty.pokazane[0].tekst, p.tekst);
        EXPECT_EQ(komunikaty.pokazane[0].tytul, "Ostrzeżenie");
        EXPECT_EQ(komunikaty.pokazane[0].styl, 48);
        EXPECT_FALSE(polecenie.WTrakcie());
    }
    EXPECT_TRUE(conn.Polecenia().empty());
    PasekJakPrzed();
}

TEST_F(Polecenie, NoDoesNothing) {
    Zapisana("10.5.0.3");
    EXPECT_EQ(Aktualizuj(OdpowiedzKomunikatu::Nie), nullptr);
    ASSERT_EQ(komunikaty.pokazane.size(), 1u);
    EXPECT_EQ(komunikaty.pokazane[0].tekst,
              "Wykonać aktualizację bazy SERWER\\ZUV.Środki do wersji 11.5.0.6 ?");
    EXPECT_EQ(komunikaty.pokazane[0].tytul, "Potwierdź");
    EXPECT_EQ(komunikaty.pokazane[0].styl, 68);
    EXPECT_TRUE(conn.Polecenia().empty());
    PasekJakPrzed();
    EXPECT_TRUE(okno.wypelnienia.empty());
}

TEST_F(Polecenie, YesAppliesThePackagesAboveTheRecordedVersionInOrder) {
    Zapisana("11.2.0.1");
    EXPECT_EQ(Aktualizuj(OdpowiedzKomunikatu::Tak), nullptr);

    ASSERT_EQ(komunikaty.pokazane.size(), 2u);
    EXPECT_EQ(komunikaty.pokazane[1].tekst, "Zakończono aktualizację.");
    EXPECT_EQ(komunikaty.pokazane[1].tytul, "Informacja");
    EXPECT_EQ(komunikaty.pokazane[1].styl, 64);
    EXPECT_EQ(WersjePakietow(conn.Polecenia()),
              (std::vector<std::string>{"11.3.0.2", "11.4.0.1", "11.5.0.6"}));
    const auto polecenia = conn.Polecenia();
    EXPECT_EQ(polecenia[0].substr(0, 10), "IF EXISTS ");
    EXPECT_EQ(polecenia[1],
              "INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')");
    // The lock, then the flag statements on their own, before the first package's transaction;
    // the lock is given back at the end, before the version is read for the version line.
    EXPECT_EQ(conn.Wywolania()[2].tekst, ZapytanieBlokadyAktualizacji);
    EXPECT_EQ(conn.Wywolania()[3].rodzaj, Rodzaj::Polecenie);
    EXPECT_EQ(polecenia.back(), PolecenieZwolnieniaBlokady);
    EXPECT_EQ(conn.Wywolania().back().tekst, ZapytanieWersji);
    EXPECT_EQ(conn.Liczba(Rodzaj::Rozpoczecie), 3);
    EXPECT_EQ(conn.Liczba(Rodzaj::Zatwierdzenie), 3);
    EXPECT_EQ(conn.Liczba(Rodzaj::Wycofanie), 0);

    // The strip shows the last operation, then is emptied; the fill counted every operation of
    // the three packages before the run, and is taken away at its end.
    const std::int64_t wszystkie = LiczbaSeparatorow(Pakiet("11.3.0.2")) +
                                   LiczbaSeparatorow(Pakiet("11.4.0.1")) +
                                   LiczbaSeparatorow(Pakiet("11.5.0.6"));
    const std::int32_t ostatniego = LiczbaSeparatorow(Pakiet("11.5.0.6"));
    ASSERT_GE(okno.teksty.size(), 2u);
    EXPECT_EQ(okno.teksty.back(), "");
    EXPECT_EQ(okno.teksty[okno.teksty.size() - 2],
              "11.5.0.6 - Aktualizacja bazy danych: wykonywanie operacji " +
                  std::to_string(ostatniego) + " z " + std::to_string(ostatniego) + "...");
    ASSERT_GE(okno.wypelnienia.size(), 2u);
    EXPECT_EQ(okno.wypelnienia[okno.wypelnienia.size() - 2],
              std::make_pair(wszystkie - 1, wszystkie));
    EXPECT_EQ(okno.wypelnienia.back(), std::make_pair(std::int64_t{0}, std::int64_t{0}));
    EXPECT_EQ(okno.kolor, 0xFFFFFFu);
    EXPECT_FALSE(polecenie.WTrakcie());
}

TEST_F(Polecenie, AFailingBatchStopsTheRunAndASecondPressResumes) {
    // Batch 3 of the second package, 11.3.0.2, fails; the first, 11.2.0.1, was committed.
    Zapisana("11.1.0.0");
    okno.grupaWidoczna = true;
    const int przedPakietem = 2 + LiczbaSeparatorow(Pakiet("11.2.0.1"));
    conn.Zawiedz(Rodzaj::Polecenie, przedPakietem + 3,
                 std::make_exception_ptr(EOleException("Zduplikowany klucz „ŚRODEK”", 2627, "x")));
    const std::exception_ptr blad = Aktualizuj(OdpowiedzKomunikatu::Tak);

    EXPECT_EQ(Tekst(blad),
              "Błąd aktualizacji bazy do wersji 11.3.0.2 podczas wykonywania operacji 3:\r\n"
              "Zduplikowany klucz „ŚRODEK”");
    EXPECT_EQ(komunikaty.pokazane.size(), 1u);  // the question; the error is the window's to show
    EXPECT_EQ(WersjePakietow(conn.Polecenia()), (std::vector<std::string>{"11.2.0.1", "11.3.0.2"}));
    EXPECT_EQ(conn.Liczba(Rodzaj::Polecenie), przedPakietem + 3 + 1);  // and the lock's release
    EXPECT_EQ(conn.Liczba(Rodzaj::Zatwierdzenie), 1);
    EXPECT_EQ(conn.Liczba(Rodzaj::Wycofanie), 1);
    // The roll back, the lock given back, then the recorded version read for the version line.
    EXPECT_EQ(conn.Wywolania()[conn.Wywolania().size() - 3].rodzaj, Rodzaj::Wycofanie);
    EXPECT_EQ(conn.Wywolania()[conn.Wywolania().size() - 2].tekst, PolecenieZwolnieniaBlokady);
    EXPECT_EQ(conn.Wywolania().back().tekst, ZapytanieWersji);
    EXPECT_EQ(okno.wersja, "Wersja bazy SERWER\\ZUV.Środki: 11.1.0.0");
    EXPECT_TRUE(okno.grupaWidoczna);
    EXPECT_EQ(okno.teksty.back(), "Aktualizacja bazy do wersji 11.3.0.2 przerwana z powodu błędu.");
    EXPECT_EQ(okno.kolor, Rozowy);
    EXPECT_EQ(okno.wypelnienia.back(), std::make_pair(std::int64_t{0}, std::int64_t{0}));
    EXPECT_FALSE(polecenie.WTrakcie());

    // The database now records 11.2.0.1: the next press starts at the package that failed, sets
    // the session flag again, and takes the pink away as it starts.
    Zapisana("11.2.0.1");
    komunikaty.pokazane.clear();
    const std::size_t wczesniej = conn.Polecenia().size();
    EXPECT_EQ(Aktualizuj(OdpowiedzKomunikatu::Tak), nullptr) << Tekst(blad);
    const auto polecenia = conn.Polecenia();
    EXPECT_EQ(polecenia[wczesniej].substr(0, 10), "IF EXISTS ");
    EXPECT_EQ(polecenia[wczesniej + 1].substr(0, 12), "INSERT INTO ");
    EXPECT_EQ(
        WersjePakietow(conn.Polecenia()),
        (std::vector<std::string>{"11.2.0.1", "11.3.0.2", "11.3.0.2", "11.4.0.1", "11.5.0.6"}));
    ASSERT_EQ(komunikaty.pokazane.size(), 2u);
    EXPECT_EQ(komunikaty.pokazane[1].tekst, "Zakończono aktualizację.");
    EXPECT_EQ(okno.teksty.back(), "");
    EXPECT_EQ(okno.kolor, 0xFFFFFFu);
}

TEST_F(Polecenie, RecordedVersionsNotWrittenAsInTheCatalogue) {
    {
        SCOPED_TRACE("leading zeros: the equal entry differs as text and is applied first");
        Zapisana("10.01.0.1");
        EXPECT_EQ(Aktualizuj(OdpowiedzKomunikatu::Tak), nullptr);
        const auto pakiety = WersjePakietow(conn.Polecenia());
        const std::vector<std::string> oczekiwane(KatalogWersji.begin() + 17, KatalogWersji.end());
        ASSERT_EQ(oczekiwane.front(), "10.1.0.1");
        EXPECT_EQ(pakiety, oczekiwane);
    }
    {
        SCOPED_TRACE("trailing blank: refused before anything is executed");
        komunikaty.pokazane.clear();
        const std::size_t wczesniej = conn.Wywolania().size();
        Zapisana("10.17.0.3 ");
        const std::exception_ptr blad = Aktualizuj(OdpowiedzKomunikatu::Tak);
        EXPECT_EQ(Tekst(blad), "Niepoprawna wersja: \"10.17.0.3 \".");
        EXPECT_TRUE(komunikaty.pokazane.empty());
        EXPECT_EQ(conn.Wywolania().size(), wczesniej + 1);  // the version query alone
    }
}

TEST_F(Polecenie, DuringARunTheHandlersDoNothingAndClosingOnlyAsks) {
    Zapisana("11.4.0.1");
    komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
    std::optional<ZadanieWTle> przebieg = RozpocznijPrzebiegWWatku(polecenie);
    ASSERT_TRUE(przebieg);
    ASSERT_TRUE(polecenie.WTrakcie());
    const std::size_t wczesniej = conn.Wywolania().size();
    komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Nie};
    EXPECT_FALSE(RozpocznijPrzebiegWWatku(polecenie));
    ZalogujWWatku(polecenie);
    EXPECT_FALSE(polecenie.FormClose());  // the stop question, answered No
    EXPECT_EQ(conn.Wywolania().size(), wczesniej);
    EXPECT_TRUE(conn.Otwarte());
    EXPECT_EQ(komunikaty.pokazane.size(), 2u);

    std::thread watek([&] { przebieg->Wykonaj(); });
    watek.join();
    (void)przebieg->Zakoncz();
    EXPECT_FALSE(polecenie.WTrakcie());
    EXPECT_TRUE(polecenie.FormClose());
    EXPECT_FALSE(conn.Otwarte());
}

// A lost connection in a run: the error names the step; lost at the commit, the command reads the
// recorded version in a new session and says what became of the package; either way the update
// group is hidden, so that the next step is "Loguj".
TEST_F(Polecenie, ALostConnectionNamesItsStepReadsTheOutcomeOfACommitAndHidesTheGroup) {
    const std::string Sterownik = "Unexpected EOF from the server.";
    const struct {
        const char* nazwa;
        Rodzaj rodzaj;
        int ktore;
        std::string poczatek;
    } przypadki[] = {
        {"at the flag", Rodzaj::Polecenie, 1,
         "Połączenie z serwerem zostało przerwane podczas ustawiania flagi aktualizacji."},
        {"at a batch", Rodzaj::Polecenie, 2 + 3,
         "Połączenie z serwerem zostało przerwane podczas wykonywania operacji 3 aktualizacji "
         "bazy do wersji 11.3.0.2."},
        {"at the commit", Rodzaj::Zatwierdzenie, 1,
         "Połączenie z serwerem zostało przerwane podczas zatwierdzania aktualizacji bazy do "
         "wersji 11.3.0.2. Baza ma teraz zapisaną wersję 11.2.0.1: ta aktualizacja została "
         "wycofana."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        PolaczeniePamieciowe polaczenie;
        polaczenie.Otworz();
        polaczenie.UstawWynik("SELECT dbo.fn_WERSJA_MS_SQL()",
                              {1, WartoscPola(std::int64_t{2005})});
        polaczenie.UstawWynik(ZapytanieWersji, {1, WartoscPola(std::string("11.2.0.1"))});
        polaczenie.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
        polaczenie.Zawiedz(
            p.rodzaj, p.ktore,
            std::make_exception_ptr(EUtrataPolaczenia(EOleException(Sterownik, 0, "x"))));
        OknoPamieciowe widok;
        widok.grupaWidoczna = true;
        PolecenieAktualizacji polecenieUtraty{polaczenie,
                                              WidokOkna{widok, widok, widok, komunikaty, widok}};
        komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
        std::optional<ZadanieWTle> przebieg = RozpocznijPrzebiegWWatku(polecenieUtraty);
        ASSERT_TRUE(przebieg);
        std::thread watek([&] { przebieg->Wykonaj(); });
        watek.join();
        try {
            (void)przebieg->Zakoncz();
            ADD_FAILURE() << "no error";
        } catch (const EUtrataPolaczenia& utrata) {
            const std::string tekst = utrata.what();
            EXPECT_EQ(tekst.rfind(p.poczatek, 0), 0u) << tekst;
            // The driver's own text follows after a line break.
            EXPECT_NE(tekst.find("\r\nUnexpected EOF from the server"), std::string::npos) << tekst;
        }
        EXPECT_FALSE(widok.grupaWidoczna);
        EXPECT_FALSE(polecenieUtraty.WTrakcie());
    }
}

// Another session holds the update lock: the run stops before the flag with a box that says so,
// and nothing else reaches the server.
TEST_F(Polecenie, AnotherUpdaterHoldingTheLockStopsTheRunBeforeAnything) {
    Zapisana("11.2.0.1");
    conn.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{-1})});
    const std::exception_ptr blad = Aktualizuj(OdpowiedzKomunikatu::Tak);
    EXPECT_EQ(Tekst(blad),
              "Baza SERWER\\ZUV.Środki jest właśnie aktualizowana z innej sesji (inny program lub "
              "inne stanowisko). Nic nie zostało zmienione. Spróbuj ponownie, gdy tamta "
              "aktualizacja się zakończy.");
    EXPECT_TRUE(conn.Polecenia().empty());
    EXPECT_EQ(conn.Liczba(Rodzaj::Rozpoczecie), 0);
    EXPECT_FALSE(polecenie.WTrakcie());
}

// Closing during a run asks first: No changes nothing; Yes stops the run before its next batch,
// the package is rolled back, the box tells the version read again, and the window is to close.
TEST_F(Polecenie, ClosingDuringARunAsksAndYesStopsItAtAWholePackage) {
    Zapisana("11.2.0.1");
    komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak, OdpowiedzKomunikatu::Nie,
                             OdpowiedzKomunikatu::Tak};
    std::optional<ZadanieWTle> przebieg = RozpocznijPrzebiegWWatku(polecenie);
    ASSERT_TRUE(przebieg);
    EXPECT_FALSE(polecenie.FormClose());  // No
    ASSERT_EQ(komunikaty.pokazane.size(), 2u);
    EXPECT_EQ(komunikaty.pokazane[1].tekst,
              "Przerwać aktualizację? Pakiet 11.3.0.2 zostanie wycofany w całości; pakiety już "
              "zatwierdzone pozostaną.");
    EXPECT_EQ(komunikaty.pokazane[1].styl, 4 | 48 | 256);  // Yes/No, No the default
    EXPECT_FALSE(polecenie.ZamknijPoPrzebiegu());
    EXPECT_FALSE(polecenie.FormClose());           // Yes: the stop is asked for, the window stays
    EXPECT_FALSE(polecenie.ZamknijPoPrzebiegu());  // not while the run goes on

    std::thread watek([&] { przebieg->Wykonaj(); });
    watek.join();
    (void)przebieg->Zakoncz();  // no error raised: the stop is no failure
    EXPECT_EQ(conn.Liczba(Rodzaj::Zatwierdzenie), 0);
    EXPECT_TRUE(WersjePakietow(conn.Polecenia()).empty());
    ASSERT_EQ(komunikaty.pokazane.size(), 4u);
    EXPECT_EQ(komunikaty.pokazane[3].tekst,
              "Aktualizacja przerwana. Baza danych jest w wersji 11.2.0.1.");
    EXPECT_TRUE(polecenie.ZamknijPoPrzebiegu());
    EXPECT_TRUE(polecenie.FormClose());
    EXPECT_FALSE(conn.Otwarte());
}

// The command over a catalogue of the test's own: two packages of three batches, applied in
// catalogue order, each in its own transaction, without the program's packages.
TEST(PolecenieZKatalogiem, ATinyCatalogueRunsItsPackagesInOrder) {
    KatalogProbny katalog;
    katalog.pakiety["ZUV_11_4_0_1"] = "select 41\r\ngo\r\nselect 42\r\ngo\r\nselect 43\r\ngo\r\n";
    katalog.pakiety["ZUV_11_5_0_6"] = "select 51\r\ngo\r\nselect 52\r\ngo\r\nselect 53\r\ngo\r\n";

    PolaczeniePamieciowe conn;
    conn.UstawWynik("SELECT dbo.fn_WERSJA_MS_SQL()", {1, WartoscPola(std::int64_t{2005})});
    conn.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
    conn.UstawWynik(ZapytanieWersji, {1, WartoscPola(std::string("11.3.0.2"))});
    OknoPamieciowe okno;
    OknaKomunikatowSkryptowe komunikaty;
    PolecenieAktualizacji polecenie(conn, WidokOkna{okno, okno, okno, komunikaty, okno}, nullptr,
                                    katalog);
    EXPECT_EQ(LiczbaOperacjiPakietu("11.4.0.1", katalog), 3);
    ZalogujWWatku(polecenie);
    komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
    std::optional<ZadanieWTle> przebieg = RozpocznijPrzebiegWWatku(polecenie);
    ASSERT_TRUE(przebieg);
    std::thread watek([&] { przebieg->Wykonaj(); });
    watek.join();
    (void)przebieg->Zakoncz();

    std::vector<std::string> partie;
    for (const std::string& tekst : conn.Polecenia())
        if (tekst.find("select ") != std::string::npos) partie.push_back(tekst);
    // Each batch as the runner sends it.
    EXPECT_EQ(partie, (std::vector<std::string>{"\r\nselect 41\r\n", "\r\nselect 42\r\n",
                                                "\r\nselect 43\r\n", "\r\nselect 51\r\n",
                                                "\r\nselect 52\r\n", "\r\nselect 53\r\n"}));
    EXPECT_EQ(conn.Liczba(Rodzaj::Rozpoczecie), 2);
    EXPECT_EQ(conn.Liczba(Rodzaj::Zatwierdzenie), 2);
    EXPECT_EQ(komunikaty.pokazane.back().tekst, "Zakończono aktualizację.");
}
