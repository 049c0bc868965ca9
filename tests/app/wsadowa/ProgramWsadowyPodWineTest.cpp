// The Windows console program under Wine, driven from Linux against a test server of the test's
// own through the host's driver: one database to its end, and one whose package fails.
// Needs ZUV_KATALOG_WINDOWS (the folder of the Windows programs) and Wine's environment, as
// scripts/test-windows gives them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/app/wsadowa/UruchomienieProgramu.h"
#include "tests/db/integracja/SerwerTestowy.h"

namespace {

const std::string Haslo = "Tajne;1'\"";

struct Wynik {
    int kod;
    std::string wyjscie;
    std::string bledy;
};

Wynik UruchomPodWine(const SerwerTestowy& serwer) {
    const char* katalog = std::getenv("ZUV_KATALOG_WINDOWS");
    std::string wzor = (std::filesystem::temp_directory_path() / "zuv-wsad-XXXXXX").string();
    const std::filesystem::path roboczy = mkdtemp(wzor.data());
    UruchomienieProgramu program(
        {"wine", std::string(katalog) + "/aktualizacja-zuv-wsadowa.exe", "--serwer", serwer.Adres(),
         "--baza", "ZUV", "--uzytkownik", "sa", "--tak"},
        {"ZUV_HASLO=" + Haslo}, roboczy);
    Wynik wynik{program.Czekaj(std::chrono::seconds(120)), program.Wyjscie(), program.Bledy()};
    std::filesystem::remove_all(roboczy);
    return wynik;
}

class ProgramWsadowyPodWine : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("ZUV_KATALOG_WINDOWS") == nullptr)
            GTEST_SKIP() << "ZUV_KATALOG_WINDOWS not set";
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
