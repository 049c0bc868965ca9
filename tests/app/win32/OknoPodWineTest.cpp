// The Windows program's window under Wine, through the real stack: the program built for
// Windows, Wine's ODBC reaching the host's FreeTDS driver, and the TDS test server of each test
// in this process. The robot (robot-okna.exe, under Wine too) drives the window by its controls
// and reads the message boxes back; each test compares the robot's whole conversation.
//
// Needs ZUV_KATALOG_WINDOWS (the folder of the Windows programs) and Wine's environment, as
// scripts/test-windows sets them; without them the tests are skipped.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/win32/Identyfikatory.h"
#include "tests/db/integracja/OpisyBledowLogowania.h"
#include "tests/db/integracja/SerwerTestowy.h"

namespace {

using Linie = std::vector<std::string>;
namespace id = zuv::idk;

constexpr const char* Haslo = "Tajne;1'\"";

std::string Id(int identyfikator) { return std::to_string(identyfikator); }

// A path of this machine as a Windows program under Wine sees it.
std::string SciezkaWine(const std::filesystem::path& sciezka) {
    std::string wynik = "Z:" + std::filesystem::absolute(sciezka).string();
    for (char& znak : wynik)
        if (znak == '/') znak = '\\';
    return wynik;
}

Linie Razem(Linie a, const Linie& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The robot under Wine, spoken to a line at a time: a test can change the server between two
// commands.
class Robot {
  public:
    explicit Robot(const std::filesystem::path& katalog) {
        int doRobota[2];
        int odRobota[2];
        if (::pipe(doRobota) != 0 || ::pipe(odRobota) != 0) throw std::runtime_error("pipe");
        proces_ = ::fork();
        if (proces_ == 0) {
            ::dup2(doRobota[0], 0);
            ::dup2(odRobota[1], 1);
            for (const int fd : {doRobota[0], doRobota[1], odRobota[0], odRobota[1]}) ::close(fd);
            const std::string robot = (katalog / "robot-okna.exe").string();
            ::execlp("wine", "wine", robot.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(doRobota[0]);
        ::close(odRobota[1]);
        wejscie_ = doRobota[1];
        wyjscie_ = odRobota[0];
    }
    ~Robot() {
        ::close(wejscie_);
        ::close(wyjscie_);
        int stan = 0;
        ::waitpid(proces_, &stan, 0);
    }
    Robot(const Robot&) = delete;
    Robot& operator=(const Robot&) = delete;

    void Wyslij(const std::string& polecenie) {
        const std::string linia = polecenie + "\n";
        if (::write(wejscie_, linia.data(), linia.size()) != static_cast<ssize_t>(linia.size()))
            throw std::runtime_error("write");
    }
    // The next line the robot writes; "(koniec)" when it has ended.
    std::string Czytaj() {
        std::string linia;
        char znak;
        while (::read(wyjscie_, &znak, 1) == 1) {
            if (znak == '\n') {
                if (!linia.empty() && linia.back() == '\r') linia.pop_back();
                return linia;
            }
            linia += znak;
        }
        return "(koniec)";
    }
    // Sends the commands and reads what they write: one line for each command that reads.
    Linie Rozmowa(const Linie& polecenia) {
        Linie linie;
        for (const auto& polecenie : polecenia) {
            Wyslij(polecenie);
            const std::string rodzaj = polecenie.substr(0, polecenie.find('\t'));
            for (const char* czytajace :
                 {"start", "tekst", "widoczny", "komunikat", "obszar", "kopiuj", "fokus", "tusz",
                  "zamknij", "koniec-sesji", "czekaj-na-tekst"})
                if (rodzaj == czytajace) linie.push_back(Czytaj());
        }
        return linie;
    }

  private:
    pid_t proces_ = -1;
    int wejscie_ = -1;
    int wyjscie_ = -1;
};

class OknoPodWine : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* katalog = std::getenv("ZUV_KATALOG_WINDOWS");
        if (katalog == nullptr) GTEST_SKIP() << "ZUV_KATALOG_WINDOWS not set";
        katalog_ = katalog;
    }

    // Starts the program, runs the commands and closes it; gives the robot's whole answer.
    Linie Rozmowa(const Linie& polecenia) {
        Robot robot(katalog_);
        Linie start{"start\t" + SciezkaWine(katalog_ / "aktualizacja-zuv.exe")};
        Linie linie = robot.Rozmowa(Razem(Razem(start, polecenia), {"zamknij"}));
        return linie;
    }

    static Linie Logowanie(SerwerTestowy& serwer) {
        return {"ustaw\t" + Id(id::edbSerwer) + "\t" + serwer.Adres(),
                "ustaw\t" + Id(id::edbBaza) + "\tZUV", "ustaw\t" + Id(id::edbHaslo) + "\t" + Haslo,
                "kliknij\t" + Id(id::btnLoguj), "czekaj\t" + Id(id::gbxAktualizacja)};
    }
    static std::string LiniaWersji(SerwerTestowy& serwer, const std::string& wersja) {
        return "tekst\t" + Id(id::labAktualnaWersja) + "\tWersja bazy " + serwer.Adres() +
               ".ZUV: " + wersja;
    }
    // A box owned by the main window, with an icon.
    static std::string Komunikat(const std::string& tytul, const std::string& tekst,
                                 const std::string& przyciski) {
        return "komunikat\t" + tytul + "\t" + tekst + "\t" + przyciski + "\tikona\tglowne";
    }

    std::filesystem::path katalog_;
};

// The screen density of the programs started while it lives (Wine's setting, read by each
// program when it starts); 96 again at the end.
class GestoscEkranu {
  public:
    explicit GestoscEkranu(int dpi) { Ustaw(dpi); }
    ~GestoscEkranu() { Ustaw(96); }
    GestoscEkranu(const GestoscEkranu&) = delete;
    GestoscEkranu& operator=(const GestoscEkranu&) = delete;

  private:
    static void Ustaw(int dpi) {
        const std::string polecenie =
            "wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d " +
            std::to_string(dpi) + " /f >/dev/null 2>&1";
        if (std::system(polecenie.c_str()) != 0) ADD_FAILURE() << polecenie;
    }
};

tds::ServerConfig Baza(const std::string& wersja) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = wersja;
    return konfiguracja;
}

const std::string Aktualizuj = "kliknij\t" + Id(id::btnAktualizuj);
const std::string Koniec = "koniec\t0";

}  // namespace

TEST_F(OknoPodWine, LogInShowsTheVersionAndTheBoundsWarn) {
    const struct {
        const char* wersja;
        std::string ostrzezenie;
    } przypadki[] = {
        {"7.12.0.7",
         "Aktualna wersja 7.12.0.7 musi być większa lub równa minimalnej dostępnej wersji "
         "8.1.0.0."},
        {"11.5.0.6",
         "Aktualna wersja 11.5.0.6 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
        {"12.0.0.0",
         "Aktualna wersja 12.0.0.0 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.wersja);
        SerwerTestowy serwer(Baza(p.wersja));
        // The button pressed has the keyboard again once the box has closed.
        const Linie linie =
            Rozmowa(Razem(Logowanie(serwer), {"widoczny\t" + Id(id::gbxAktualizacja),
                                              "tekst\t" + Id(id::labAktualnaWersja), Aktualizuj,
                                              "komunikat\t1", "fokus"}));
        EXPECT_EQ(linie, (Linie{"okno", "widoczny\t" + Id(id::gbxAktualizacja) + "\t1",
                                LiniaWersji(serwer, p.wersja),
                                Komunikat("Ostrzeżenie", p.ostrzezenie, "OK"),
                                "fokus\t" + Id(id::btnAktualizuj), Koniec}));
        EXPECT_EQ(serwer.ZapisanaWersja(), p.wersja);
    }
}

TEST_F(OknoPodWine, AFailedLogInShowsWhatHappenedAndTheDriversTextInAStopBox) {
    SerwerTestowy serwer;
    Linie polecenia = Logowanie(serwer);
    polecenia[2] = "ustaw\t" + Id(id::edbHaslo) + "\tzle";
    polecenia.back() = "komunikat\t1";
    polecenia.push_back("widoczny\t" + Id(id::gbxAktualizacja));
    EXPECT_EQ(
        Rozmowa(polecenia),
        (Linie{"okno",
               // The driver's text ends in a quote, which sorts below ".": no "." added.
               Komunikat("aktualizacja-zuv",
                         std::string(opisy_logowania::Odmowa) + "\\r\\nLogin failed for user 'sa'",
                         "OK"),
               "widoczny\t" + Id(id::gbxAktualizacja) + "\t0", Koniec}));
}

// A log-in the server acknowledges late: the window answers meanwhile (the robot reads its strip
// through the window's own thread), the strip saying what is awaited, then as it was.
TEST_F(OknoPodWine, AHeldLogInLeavesTheWindowAnsweringWithTheStripSayingWhy) {
    tds::ServerConfig konfiguracja = Baza("11.4.0.1");
    konfiguracja.faults.login = tds::LoginFault::DelayAck;
    konfiguracja.faults.loginDelay = std::chrono::milliseconds(3000);
    SerwerTestowy serwer(konfiguracja);
    const std::string pasek = "tekst\t" + Id(id::pnlAktualiacjaInfo) + "\t";
    Linie polecenia = Logowanie(serwer);
    polecenia.insert(polecenia.end() - 1, "czekaj-na-tekst\t" + Id(id::pnlAktualiacjaInfo));
    polecenia.push_back("tekst\t" + Id(id::pnlAktualiacjaInfo));
    polecenia.push_back("tekst\t" + Id(id::labAktualnaWersja));
    EXPECT_EQ(Rozmowa(polecenia),
              (Linie{"okno", pasek + "Logowanie do serwera " + serwer.Adres() + "...", pasek,
                     LiniaWersji(serwer, "11.4.0.1"), Koniec}));
}

// Closing the window or the Windows session ending while the server holds the log-in ends the
// program at once: no box, no wait for the driver's log-in time-out.
TEST_F(OknoPodWine, ClosingOrTheSessionsEndDuringAHeldLogInEndsAtOnceWithoutABox) {
    for (const char* koniec : {"zamknij", "koniec-sesji"}) {
        SCOPED_TRACE(koniec);
        tds::ServerConfig konfiguracja = Baza("11.4.0.1");
        konfiguracja.faults.login = tds::LoginFault::DelayAck;
        konfiguracja.faults.loginDelay = std::chrono::milliseconds(20000);
        SerwerTestowy serwer(konfiguracja);
        Robot robot(katalog_);
        Linie polecenia =
            Razem({"start\t" + SciezkaWine(katalog_ / "aktualizacja-zuv.exe")}, Logowanie(serwer));
        polecenia.back() = "czekaj-na-tekst\t" + Id(id::pnlAktualiacjaInfo);
        ASSERT_EQ(robot.Rozmowa(polecenia).size(), 2u);
        const auto poczatek = std::chrono::steady_clock::now();
        EXPECT_EQ(robot.Rozmowa({koniec}), Linie{Koniec});
        EXPECT_LT(std::chrono::steady_clock::now() - poczatek, std::chrono::seconds(5));
    }
}

TEST_F(OknoPodWine, EnterInEachLogInFieldPressesLoguj) {
    for (const int pole : {id::edbSerwer, id::edbBaza, id::edbUzytk, id::edbHaslo}) {
        SCOPED_TRACE(pole);
        SerwerTestowy serwer;
        Linie polecenia = Logowanie(serwer);
        polecenia[3] = "enter\t" + Id(pole);
        polecenia.push_back("tekst\t" + Id(id::labAktualnaWersja));
        EXPECT_EQ(Rozmowa(polecenia), (Linie{"okno", LiniaWersji(serwer, "7.12.0.7"), Koniec}));
    }
}

TEST_F(OknoPodWine, NoDoesNothingAndYesAppliesEveryPackage) {
    SerwerTestowy serwer(Baza("8.1.0.0"));
    const std::string pytanie =
        "Wykonać aktualizację bazy " + serwer.Adres() + ".ZUV do wersji 11.5.0.6 ?";
    EXPECT_EQ(Rozmowa(Razem(Logowanie(serwer), {Aktualizuj, "komunikat\t7"})),
              (Linie{"okno", Komunikat("Potwierdź", pytanie, "Tak+Nie"), Koniec}));
    for (const std::string& partia : serwer.Partie())
        EXPECT_EQ(partia.find("#WA_OPCJE_TMP"), std::string::npos) << partia;
    EXPECT_EQ(serwer.ZapisanaWersja(), "8.1.0.0");

    EXPECT_EQ(Rozmowa(Razem(Logowanie(serwer), {Aktualizuj, "komunikat\t6", "komunikat\t1",
                                                "tekst\t" + Id(id::pnlAktualiacjaInfo)})),
              (Linie{"okno", Komunikat("Potwierdź", pytanie, "Tak+Nie"),
                     Komunikat("Informacja", "Zakończono aktualizację.", "OK"),
                     "tekst\t" + Id(id::pnlAktualiacjaInfo) + "\t", Koniec}));
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}

TEST_F(OknoPodWine, CtrlCCopiesTheBoxEscAnswersNoAndEnterPressesTheDefault) {
    SerwerTestowy serwer(Baza("8.1.0.0"));
    const std::string pytanie =
        "Wykonać aktualizację bazy " + serwer.Adres() + ".ZUV do wersji 11.5.0.6 ?";
    const std::string kreska = "---------------------------\\r\\n";
    Robot robot(katalog_);
    const Linie start{"start\t" + SciezkaWine(katalog_ / "aktualizacja-zuv.exe")};
    EXPECT_EQ(robot.Rozmowa(Razem(Razem(start, Logowanie(serwer)),
                                  {Aktualizuj, "kopiuj", "klawisz\t27", "fokus"})),
              (Linie{"okno",
                     "schowek\t" + kreska + "Potwierdź\\r\\n" + kreska + pytanie + "\\r\\n" +
                         kreska + "Tak   Nie   \\r\\n" + kreska,
                     "fokus\t" + Id(id::btnAktualizuj)}));
    EXPECT_EQ(serwer.ZapisanaWersja(), "8.1.0.0");
    // The question's default is Tak.
    EXPECT_EQ(robot.Rozmowa({Aktualizuj, "klawisz\t13", "komunikat\t1", "zamknij"}),
              (Linie{Komunikat("Informacja", "Zakończono aktualizację.", "OK"), Koniec}));
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}

TEST_F(OknoPodWine, AFailureStopsTheRunAndASecondPressResumes) {
    SerwerTestowy serwer(Baza("8.11.0.0"));
    serwer->setFailBatches(
        {{"9.2.0.1", 5, 50000, "Nie można utworzyć indeksu – zduplikowany klucz „ŚRODEK”.", 2}});
    const std::string pytanie =
        "Wykonać aktualizację bazy " + serwer.Adres() + ".ZUV do wersji 11.5.0.6 ?";
    const std::string blad =
        "Błąd aktualizacji bazy do wersji 9.2.0.1 podczas wykonywania operacji 5:\\r\\n"
        "Nie można utworzyć indeksu – zduplikowany klucz „ŚRODEK”.";
    const std::string pasek = "tekst\t" + Id(id::pnlAktualiacjaInfo) + "\t";

    Robot robot(katalog_);
    const Linie start{"start\t" + SciezkaWine(katalog_ / "aktualizacja-zuv.exe")};
    EXPECT_EQ(robot.Rozmowa(Razem(Razem(start, Logowanie(serwer)),
                                  {Aktualizuj, "komunikat\t6", "komunikat\t1",
                                   "tekst\t" + Id(id::pnlAktualiacjaInfo)})),
              (Linie{"okno", Komunikat("Potwierdź", pytanie, "Tak+Nie"),
                     Komunikat("aktualizacja-zuv", blad, "OK"),
                     pasek + "Aktualizacja bazy do wersji 9.2.0.1 przerwana z powodu błędu."}));
    EXPECT_EQ(serwer.ZapisanaWersja(), "9.1.0.2");

    // The cause removed, the next press on the same connection resumes at the failed package.
    serwer->setFailBatches({});
    EXPECT_EQ(robot.Rozmowa({Aktualizuj, "komunikat\t6", "komunikat\t1",
                             "tekst\t" + Id(id::pnlAktualiacjaInfo), "zamknij"}),
              (Linie{Komunikat("Potwierdź", pytanie, "Tak+Nie"),
                     Komunikat("Informacja", "Zakończono aktualizację.", "OK"), pasek, Koniec}));
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}

// A batch the server holds: "Zamknij" asks whether to stop, Yes cancels the batch, the package
// is rolled back whole, the box tells the version and the window closes. The Windows session
// ending during a run takes the same stop without the question and without a box.
TEST_F(OknoPodWine, ZamknijOrTheSessionsEndDuringAHeldBatchStopTheRun) {
    // Requests are numbered from the log-in's version query: the press's query, the lock, the two
    // flag statements, the generation query and the transaction's begin come first.
    tds::ServerConfig konfiguracja = Baza("11.4.0.1");
    konfiguracja.faults.delays = {{9, std::chrono::milliseconds(60000)}};
    const Linie start{"start\t" + SciezkaWine(katalog_ / "aktualizacja-zuv.exe")};
    const auto czekajNaPartie = [](SerwerTestowy& serwer) {
        for (int i = 0; i < 500 && serwer->journal().size() <= 9; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return serwer->journal().size() > 9;
    };
    const auto uwaga = [](SerwerTestowy& serwer) {
        for (const auto& wpis : serwer->journal())
            if (wpis.kind == tds::RequestKind::Attention) return true;
        return false;
    };
    {
        SerwerTestowy serwer(konfiguracja);
        Robot robot(katalog_);
        ASSERT_EQ(
            robot.Rozmowa(Razem(Razem(start, Logowanie(serwer)), {Aktualizuj, "komunikat\t6"}))
                .size(),
            2u);
        ASSERT_TRUE(czekajNaPartie(serwer));
        const auto poczatek = std::chrono::steady_clock::now();
        EXPECT_EQ(
            robot.Rozmowa(
                {"kliknij\t" + Id(id::btnZamknij), "komunikat\t6", "komunikat\t1", "zamknij"}),
            (Linie{Komunikat("Potwierdź",
                             "Przerwać aktualizację? Pakiet 11.5.0.6 zostanie wycofany w całości; "
                             "pakiety już zatwierdzone pozostaną.",
                             "Tak+Nie"),
                   Komunikat("Informacja",
                             "Aktualizacja przerwana. Baza danych jest w wersji 11.4.0.1.", "OK"),
                   Koniec}));
        EXPECT_LT(std::chrono::steady_clock::now() - poczatek, std::chrono::seconds(40));
        EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
        EXPECT_TRUE(uwaga(serwer));
    }
    {
        SerwerTestowy serwer(konfiguracja);
        Robot robot(katalog_);
        ASSERT_EQ(
            robot.Rozmowa(Razem(Razem(start, Logowanie(serwer)), {Aktualizuj, "komunikat\t6"}))
                .size(),
            2u);
        ASSERT_TRUE(czekajNaPartie(serwer));
        EXPECT_EQ(robot.Rozmowa({"koniec-sesji"}), Linie{Koniec});
        EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
        EXPECT_TRUE(uwaga(serwer));
    }
}

TEST_F(OknoPodWine, ALongServerErrorShowsWholeInsideTheScreenAtEachDensity) {
    // 600 characters: Polish sentences and a 200-character word without blanks.
    std::string zdania;
    for (int i = 0; i < 5; ++i)
        zdania += "Wartość księgowa środka trwałego przekracza granicę ustaloną dla grupy. ";
    std::string slowo;
    for (int i = 0; i < 20; ++i) slowo += "ŹDŹBŁOŻÓŁĆ";
    const std::string komunikat = zdania + "Odrzucony wiersz: " + slowo + ". Popraw dane i ponów.";
    const std::string blad =
        "Błąd aktualizacji bazy do wersji 9.2.0.1 podczas wykonywania operacji 5:\\r\\n" +
        komunikat;

    std::vector<int> wysokosciTekstuPaska;
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const GestoscEkranu gestosc(dpi);
        SerwerTestowy serwer(Baza("8.11.0.0"));
        serwer->setFailBatches({{"9.2.0.1", 5, 50000, komunikat, 2}});
        const std::string pytanie =
            "Wykonać aktualizację bazy " + serwer.Adres() + ".ZUV do wersji 11.5.0.6 ?";
        // Each box lies inside the screen, centred on the window where it fits, its whole text
        // in view; Aktualizuj has the keyboard after it.
        Linie linie = Rozmowa(Razem(Logowanie(serwer),
                                    {Aktualizuj, "obszar", "komunikat\t6", "obszar", "komunikat\t1",
                                     "fokus", "tusz\t" + Id(id::pnlAktualiacjaInfo)}));
        ASSERT_GE(linie.size(), 2u);
        const std::string tusz = linie[linie.size() - 2];
        linie.erase(linie.end() - 2);
        EXPECT_EQ(linie,
                  (Linie{"okno", "obszar\t1\t1\t1", Komunikat("Potwierdź", pytanie, "Tak+Nie"),
                         "obszar\t1\t1\t1", Komunikat("aktualizacja-zuv", blad, "OK"),
                         "fokus\t" + Id(id::btnAktualizuj), Koniec}));
        EXPECT_EQ(serwer.ZapisanaWersja(), "9.1.0.2");
        wysokosciTekstuPaska.push_back(std::stoi(tusz.substr(tusz.rfind('\t') + 1)));
    }
    // The strip draws with the window's font, which grows with the density (the System font it
    // once drew with stays the same).
    ASSERT_EQ(wysokosciTekstuPaska.size(), 2u);
    EXPECT_GT(wysokosciTekstuPaska[0], 0);
    EXPECT_GE(wysokosciTekstuPaska[1] * 10, wysokosciTekstuPaska[0] * 13)
        << wysokosciTekstuPaska[0] << " px at 96 DPI, " << wysokosciTekstuPaska[1] << " at 144";
}
