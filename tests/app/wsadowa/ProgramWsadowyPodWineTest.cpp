// The Windows console program under Wine, driven from Linux against a test server of the test's
// own through the host's driver: one database to its end, one whose package fails, and the
// report's file written and refused through the system's own calls; on a console (through the
// robot, robot-konsoli.exe, which runs it in a console of its own and reads the screen back) and
// through a pipe, its Polish letters and its lines, a Ctrl+C pressed on the console, and its
// version resource and manifest.
// Needs ZUV_KATALOG_WINDOWS (the folder of the Windows programs) and Wine's environment, as
// scripts/test-windows gives them; the console tests need a display too, for the console's
// window.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/wsadowa/UruchomienieProgramu.h"
#include "tests/db/integracja/SerwerTestowy.h"

namespace {

const std::string Haslo = "Tajne;1'\"";

struct Wynik {
    int kod;
    std::string wyjscie;
    std::string bledy;
};

// What the robot read back of a run on a console.
struct NaEkranie {
    int kod = -2;
    std::string stronaPrzed, stronaPo;  // the console's output code page before and after
    std::vector<std::string> wiersze;   // the screen's rows
    std::string odpowiedz;              // the robot's whole answer, for a failure's message
};

// Lines of a text, without the CR that a Windows program's text mode puts before each LF.
std::vector<std::string> Wiersze(const std::string& tekst) {
    std::vector<std::string> wiersze;
    std::istringstream strumien(tekst);
    for (std::string wiersz; std::getline(strumien, wiersz);) {
        if (!wiersz.empty() && wiersz.back() == '\r') wiersz.pop_back();
        wiersze.push_back(wiersz);
    }
    return wiersze;
}

bool JestWiersz(const std::vector<std::string>& wiersze, const std::string& szukany) {
    for (const std::string& wiersz : wiersze)
        if (wiersz == szukany) return true;
    return false;
}

class ProgramWsadowyPodWine : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("ZUV_KATALOG_WINDOWS") == nullptr)
            GTEST_SKIP() << "ZUV_KATALOG_WINDOWS not set";
        std::string wzor = (std::filesystem::temp_directory_path() / "zuv-wsad-XXXXXX").string();
        roboczy_ = mkdtemp(wzor.data());
    }
    void TearDown() override {
        if (!roboczy_.empty()) std::filesystem::remove_all(roboczy_);
    }

    static std::string Katalog() { return std::getenv("ZUV_KATALOG_WINDOWS"); }
    static std::vector<std::string> JednaBaza(const SerwerTestowy& serwer) {
        return {"--serwer", serwer.Adres(), "--baza", "ZUV", "--uzytkownik", "sa", "--tak"};
    }

    // Through a pipe: one database answered Yes, the password from the environment (`haslo`),
    // and `dodatkowe` arguments.
    Wynik UruchomPodWine(const SerwerTestowy& serwer,
                         const std::vector<std::string>& dodatkowe = {},
                         const std::string& haslo = Haslo) const {
        std::vector<std::string> polecenie = JednaBaza(serwer);
        polecenie.insert(polecenie.begin(), {"wine", Katalog() + "/aktualizacja-zuv-wsadowa.exe"});
        polecenie.insert(polecenie.end(), dodatkowe.begin(), dodatkowe.end());
        // Wine reads the environment in the locale's character set.
        UruchomienieProgramu program(polecenie, {"ZUV_HASLO=" + haslo, "LC_ALL=C.UTF-8"}, roboczy_);
        return {program.Czekaj(std::chrono::seconds(120)), program.Wyjscie(), program.Bledy()};
    }

    // The same on a console of the robot's, its output code page set to `stronaKodowa` (0: as the
    // console comes); with `przerwijPo`, Ctrl+C is pressed on it once the screen shows that text.
    NaEkranie UruchomNaKonsoli(const SerwerTestowy& serwer, unsigned stronaKodowa,
                               const std::string& przerwijPo = {}) const {
        std::vector<std::string> polecenie = {"wine", Katalog() + "/robot-konsoli.exe"};
        if (przerwijPo.empty()) {
            polecenie.insert(polecenie.end(), {"uruchom", std::to_string(stronaKodowa)});
        } else {
            polecenie.insert(polecenie.end(),
                             {"przerwij", std::to_string(stronaKodowa), przerwijPo});
        }
        polecenie.push_back("Z:" + Katalog() + "/aktualizacja-zuv-wsadowa.exe");
        const auto argumenty = JednaBaza(serwer);
        polecenie.insert(polecenie.end(), argumenty.begin(), argumenty.end());
        UruchomienieProgramu robot(polecenie, {"ZUV_HASLO=" + Haslo}, roboczy_);
        robot.Czekaj(std::chrono::seconds(180));
        NaEkranie wynik;
        wynik.odpowiedz = robot.Wyjscie() + robot.Bledy();
        for (const std::string& wiersz : Wiersze(robot.Wyjscie())) {
            const std::size_t tab = wiersz.find('\t');
            const std::string rodzaj = wiersz.substr(0, tab);
            const std::string reszta = tab == std::string::npos ? "" : wiersz.substr(tab + 1);
            if (rodzaj == "kod") wynik.kod = std::stoi(reszta);
            if (rodzaj == "strona-kodowa") {
                wynik.stronaPrzed = reszta.substr(0, reszta.find('\t'));
                wynik.stronaPo = reszta.substr(reszta.find('\t') + 1);
            }
            if (rodzaj == "wiersz") wynik.wiersze.push_back(reszta);
        }
        return wynik;
    }

    // The Windows name of a file of the working folder: Wine shows the Linux root as drive Z:.
    std::string PodWindows(const std::string& nazwa) const {
        return "Z:" + (roboczy_ / nazwa).string();
    }

    std::filesystem::path roboczy_;
};

// The tests on a console: Wine's console needs a display for its window.
class ProgramWsadowyNaKonsoli : public ProgramWsadowyPodWine {
  protected:
    void SetUp() override {
        ProgramWsadowyPodWine::SetUp();
        if (!IsSkipped() && std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "DISPLAY not set: Wine's console needs one for its window";
    }
};

}  // namespace

TEST_F(ProgramWsadowyPodWine, OneDatabaseToItsEnd) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.3.0.2";
    SerwerTestowy serwer(konfiguracja);
    const Wynik wynik = UruchomPodWine(serwer);
    EXPECT_EQ(wynik.kod, 0) << wynik.wyjscie << wynik.bledy;
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    EXPECT_NE(wynik.wyjscie.find("Wykonać aktualizację bazy " + serwer.Adres() +
                                 ".ZUV do wersji 11.5.0.6 ? Tak (--tak)"),
              std::string::npos)
        << wynik.wyjscie;
    EXPECT_NE(wynik.wyjscie.find("Pakiet 11.5.0.6 (2 z 2)..."), std::string::npos);
    EXPECT_NE(wynik.wyjscie.find("Informacja: Zakończono aktualizację."), std::string::npos);
}

TEST_F(ProgramWsadowyPodWine, APackageThatFailsIsRolledBackAndEndsWithTwo) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.3.0.2";
    konfiguracja.faults.failBatches.push_back({"11.5.0.6", 2, 50000, "Brak miejsca w bazie"});
    SerwerTestowy serwer(konfiguracja);
    const Wynik wynik = UruchomPodWine(serwer);
    EXPECT_EQ(wynik.kod, 2) << wynik.wyjscie << wynik.bledy;
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
    EXPECT_NE(wynik.bledy.find("Błąd: Błąd aktualizacji bazy do wersji 11.5.0.6 podczas "
                               "wykonywania operacji 2:\r\nBrak miejsca w bazie."),
              std::string::npos)
        << wynik.bledy;
}

// The report goes through a file beside it, created and renamed by Windows' own calls; a folder
// that is not there is found before anything runs, with Windows' reason.
TEST_F(ProgramWsadowyPodWine, TheReportIsWrittenAndAPlaceWithoutAFolderIsRefusedFirst) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.3.0.2";
    SerwerTestowy serwer(konfiguracja);
    const Wynik bezFolderu = UruchomPodWine(serwer, {"--raport", PodWindows("brak/raport.json")});
    EXPECT_EQ(bezFolderu.kod, 4) << bezFolderu.wyjscie << bezFolderu.bledy;
    EXPECT_NE(bezFolderu.bledy.find("Błąd: Nie można zapisać raportu " +
                                    PodWindows("brak/raport.json") + ": "),
              std::string::npos)
        << bezFolderu.bledy;
    EXPECT_TRUE(serwer->journal().empty());

    const Wynik wynik = UruchomPodWine(serwer, {"--raport", PodWindows("raport.json")});
    EXPECT_EQ(wynik.kod, 0) << wynik.wyjscie << wynik.bledy;
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    const std::string raport = UruchomienieProgramu::Tresc(roboczy_ / "raport.json");
    EXPECT_NE(raport.find("\"kod_wyjscia\": 0,"), std::string::npos) << raport;
    EXPECT_NE(raport.find("\"wynik\": \"zaktualizowana\""), std::string::npos) << raport;
    EXPECT_FALSE(std::filesystem::exists(roboczy_ / "raport.json.tmp"));
}

// Every Polish letter arrives, and neither an escape sequence nor a status line shows, wherever the
// output goes: through a pipe as UTF-8, and on a console of any code page (Wine's 437, a Polish
// Windows' 852, UTF-8), where Wine keeps ENABLE_VIRTUAL_TERMINAL_PROCESSING yet would show the
// sequences as text, so the program prints a line each as in a log. The console keeps its code
// page. The server's message of the failing package holds every Polish letter.
TEST_F(ProgramWsadowyNaKonsoli, EveryPolishLetterAndNoEscapeSequenceOnAConsoleOrThroughAPipe) {
    const std::string litery = "Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ";
    struct Przypadek {
        const char* nazwa;
        bool konsola;
        unsigned strona;
    };
    const Przypadek przypadki[] = {
        {"through a pipe", false, 0},
        {"on a console as it comes", true, 0},
        {"on a console in code page 852", true, 852},
        {"on a console in UTF-8", true, 65001},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = "11.3.0.2";
        konfiguracja.faults.failBatches.push_back({"11.5.0.6", 2, 50000, litery});
        SerwerTestowy serwer(konfiguracja);
        int kod = 0;
        std::vector<std::string> wiersze;
        std::string calosc;
        if (p.konsola) {
            const NaEkranie ekran = UruchomNaKonsoli(serwer, p.strona);
            kod = ekran.kod;
            wiersze = ekran.wiersze;
            calosc = ekran.odpowiedz;
            EXPECT_EQ(ekran.stronaPo, ekran.stronaPrzed) << calosc;
        } else {
            const Wynik wynik = UruchomPodWine(serwer);
            kod = wynik.kod;
            calosc = wynik.wyjscie + wynik.bledy;
            wiersze = Wiersze(calosc);
        }
        EXPECT_EQ(kod, 2) << calosc;
        for (const std::string& oczekiwany :
             {"Wykonać aktualizację bazy " + serwer.Adres() +
                  ".ZUV do wersji 11.5.0.6 ? Tak (--tak)",
              std::string("Pakiet 11.5.0.6 (2 z 2)..."),
              std::string("Błąd: Błąd aktualizacji bazy do wersji 11.5.0.6 podczas wykonywania "
                          "operacji 2:"),
              litery + "."})
            EXPECT_TRUE(JestWiersz(wiersze, oczekiwany)) << oczekiwany << "\n" << calosc;
        // A status line begins with the run's time.
        const std::regex stan("^[0-9]+:[0-9]{2} ");
        for (const std::string& wiersz : wiersze) {
            EXPECT_EQ(wiersz.find('\x1b'), std::string::npos) << wiersz;
            EXPECT_EQ(wiersz.find("[1A"), std::string::npos) << wiersz;
            EXPECT_FALSE(std::regex_search(wiersz, stan)) << wiersz;
        }
    }
}

// Ctrl+C pressed on the console during a held batch stops the run as SIGINT does on Linux: the
// package is rolled back and the program says so and ends with 5, long before the batch's answer.
TEST_F(ProgramWsadowyNaKonsoli, CtrlCOnTheConsoleRollsThePackageBackAndEndsWithFive) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.4.0.1";
    // After the log-in, the version read, the four checks, the lock, the two flag statements, the
    // generation and the begin, a batch of the package is held.
    konfiguracja.faults.delays = {{12, std::chrono::milliseconds(60000)}};
    SerwerTestowy serwer(konfiguracja);
    const auto poczatek = std::chrono::steady_clock::now();
    const NaEkranie ekran = UruchomNaKonsoli(serwer, 0, "Pakiet 11.5.0.6 (1 z 1)...");
    EXPECT_LT(std::chrono::steady_clock::now() - poczatek, std::chrono::seconds(40));
    EXPECT_EQ(ekran.kod, 5) << ekran.odpowiedz;
    EXPECT_TRUE(JestWiersz(
        ekran.wiersze,
        "Przerywanie: bieżące pakiety są wycofywane w całości, następne bazy nie zostaną "
        "rozpoczęte; serwer, który nie odpowie w ciągu 10 s, zostanie rozłączony. Ponowne Ctrl+C "
        "kończy program od razu."))
        << ekran.odpowiedz;
    EXPECT_TRUE(JestWiersz(
        ekran.wiersze, "Informacja: Aktualizacja przerwana. Baza danych jest w wersji 11.4.0.1."))
        << ekran.odpowiedz;
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
}

// The program file says what it is, in the version --version prints; its manifest makes UTF-8 the
// program's code page, so a password with Polish letters reaches the server whole from the
// environment, which the C runtime reads in that code page (in Wine's 1252 "ó" came as a byte
// that is not UTF-8, and "ł" as "l").
TEST_F(ProgramWsadowyPodWine, TheVersionResourceAndTheManifestsUtf8CodePage) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.3.0.2";
    const std::string haslo = "Hasło-żółć;1'\"";
    SerwerTestowy serwer(konfiguracja, haslo);

    const std::string nazwa = "aktualizacja-zuv-wsadowa ";
    const Wynik wersja = UruchomPodWine(serwer, {"--version"});
    ASSERT_EQ(wersja.wyjscie.rfind(nazwa, 0), 0u) << wersja.wyjscie;
    const std::string numer = Wiersze(wersja.wyjscie).at(0).substr(nazwa.size());
    UruchomienieProgramu robot({"wine", Katalog() + "/robot-konsoli.exe", "wersja",
                                "Z:" + Katalog() + "/aktualizacja-zuv-wsadowa.exe"},
                               {}, roboczy_);
    ASSERT_EQ(robot.Czekaj(), 0) << robot.Wyjscie() << robot.Bledy();
    EXPECT_EQ(
        Wiersze(robot.Wyjscie()),
        (std::vector<std::string>{"FileDescription\tZbiorcza aktualizacja systemu ZUV bez okna",
                                  "FileVersion\t" + numer, "ProductName\tAktualizacja ZUV",
                                  "ProductVersion\t" + numer, "stala\t" + numer + ".0"}));

    const Wynik sprawdzenie = UruchomPodWine(serwer, {"--sprawdz"}, haslo);
    // Packages are due: the check's own code.
    EXPECT_EQ(sprawdzenie.kod, 6) << sprawdzenie.wyjscie << sprawdzenie.bledy;
    EXPECT_TRUE(JestWiersz(Wiersze(sprawdzenie.wyjscie),
                           "Wersja bazy " + serwer.Adres() + ".ZUV: 11.3.0.2"))
        << sprawdzenie.wyjscie << sprawdzenie.bledy;
}
