// The Windows console program under Wine, driven from Linux against a test server of the test's
// own through the host's driver: one database to its end, one whose package fails, and the
// report's file written and refused through the system's own calls.
// Needs ZUV_KATALOG_WINDOWS (the folder of the Windows programs) and Wine's environment, as
// scripts/test-windows gives them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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

    // One database answered Yes, the password from the environment, and `dodatkowe` arguments.
    Wynik UruchomPodWine(const SerwerTestowy& serwer,
                         const std::vector<std::string>& dodatkowe = {}) const {
        const std::string exe =
            std::string(std::getenv("ZUV_KATALOG_WINDOWS")) + "/aktualizacja-zuv-wsadowa.exe";
        std::vector<std::string> polecenie = {"wine",         exe,      "--serwer",
                                              serwer.Adres(), "--baza", "ZUV",
                                              "--uzytkownik", "sa",     "--tak"};
        polecenie.insert(polecenie.end(), dodatkowe.begin(), dodatkowe.end());
        UruchomienieProgramu program(polecenie, {"ZUV_HASLO=" + Haslo}, roboczy_);
        return {program.Czekaj(std::chrono::seconds(120)), program.Wyjscie(), program.Bledy()};
    }
    // The Windows name of a file of the working folder: Wine shows the Linux root as drive Z:.
    std::string PodWindows(const std::string& nazwa) const {
        return "Z:" + (roboczy_ / nazwa).string();
    }

    std::filesystem::path roboczy_;
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
