// The unattended program through the real driver against test servers of the test's own, run as
// a separate process the way a scheduled job runs it: no terminal, the password in the
// environment or in files, the exit code and the report read afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/usluga/KontrolaBazy.h"
#include "db/ZapisanaWersja.h"
#include "tests/app/wsadowa/SchematRaportu.h"
#include "tests/app/wsadowa/UruchomienieProgramu.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace std::chrono_literals;

namespace {

const std::string Haslo = "Tajne;1'\"";
// The checks before a run (the right to see the process list, the other sessions, the rights and
// the last backup) come after the version read, each a request of its own.
constexpr std::uint64_t ZapytaniaKontroli = 4;

class ProgramWsadowy : public ::testing::Test {
  protected:
    ProgramWsadowy() {
        std::string wzor = (std::filesystem::temp_directory_path() / "zuv-wsad-XXXXXX").string();
        katalog_ = mkdtemp(wzor.data());
    }
    ~ProgramWsadowy() override { std::filesystem::remove_all(katalog_); }

    // `srodowisko` comes after the journal's folder, so a test may point it elsewhere.
    std::unique_ptr<UruchomienieProgramu> Uruchom(const std::vector<std::string>& argumenty,
                                                  std::vector<std::string> srodowisko = {}) {
        srodowisko.insert(srodowisko.begin(), "XDG_STATE_HOME=" + (katalog_ / "stan").string());
        std::vector<std::string> polecenie = {ZUV_PROGRAM_WSADOWY};
        polecenie.insert(polecenie.end(), argumenty.begin(), argumenty.end());
        return std::make_unique<UruchomienieProgramu>(polecenie, srodowisko, katalog_);
    }
    // One database of a server, answered Yes, the password from the environment.
    std::vector<std::string> JednaBaza(const SerwerTestowy& serwer) const {
        return {"--serwer", serwer.Adres(), "--baza", "ZUV", "--uzytkownik", "sa"};
    }
    std::string Plik(const std::string& nazwa, const std::string& tresc, int tryb = 0600) const {
        const auto sciezka = katalog_ / nazwa;
        std::ofstream(sciezka, std::ios::binary) << tresc;
        chmod(sciezka.c_str(), static_cast<mode_t>(tryb));
        return sciezka.string();
    }
    std::string Dziennik() const {
        return UruchomienieProgramu::Tresc(katalog_ / "stan" / "aktualizacja-zuv" / "dziennik.log");
    }

    std::filesystem::path katalog_;
};

// What the server was asked to do, in order: every request but the log-ins and disconnections.
std::vector<std::string> Zadania(SerwerTestowy& serwer) {
    std::vector<std::string> zadania;
    for (const auto& wpis : serwer->journal())
        if (wpis.kind != tds::RequestKind::Login && wpis.kind != tds::RequestKind::Disconnect)
            zadania.push_back(std::string(tds::kindName(wpis.kind)) + ": " + wpis.text);
    return zadania;
}

// Whether every line of what the program wrote begins with the local time, as a log's lines must.
::testing::AssertionResult KazdaLiniaZCzasem(const std::string& tekst) {
    std::istringstream linie(tekst);
    std::size_t numer = 0;
    for (std::string linia; std::getline(linie, linia);) {
        ++numer;
        if (!std::regex_search(linia, UruchomienieProgramu::CzasLinii(),
                               std::regex_constants::match_continuous))
            return ::testing::AssertionFailure() << "line " << numer << ": " << linia;
    }
    if (numer == 0) return ::testing::AssertionFailure() << "no line";
    return ::testing::AssertionSuccess();
}

tds::ServerConfig Konfiguracja(const std::string& wersja) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = wersja;
    return konfiguracja;
}

}  // namespace

TEST_F(ProgramWsadowy, OneDatabaseIsBroughtUpToDateWithTheWindowsTextsAndJournal) {
    SerwerTestowy serwer(Konfiguracja("11.3.0.2"));
    auto program = Uruchom(
        [&] {
            auto argumenty = JednaBaza(serwer);
            argumenty.push_back("--tak");
            return argumenty;
        }(),
        {"ZUV_HASLO=" + Haslo});
    ASSERT_EQ(program->Czekaj(), 0) << program->Wyjscie() << program->Bledy();
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    EXPECT_EQ(program->Wyjscie(), "Wersja bazy " + serwer.Adres() + ".ZUV: 11.3.0.2\n" +
                                      "Wykonać aktualizację bazy " + serwer.Adres() +
                                      ".ZUV do wersji 11.5.0.6 ? Tak (--tak)\n"
                                      "Pakiet 11.4.0.1 (1 z 2)...\n"
                                      "Pakiet 11.5.0.6 (2 z 2)...\n"
                                      "Wersja bazy " +
                                      serwer.Adres() +
                                      ".ZUV: 11.5.0.6\n"
                                      "Informacja: Zakończono aktualizację.\n");
    EXPECT_EQ(program->Bledy(), "");
    // Written to a file, not a terminal: each line begins with the local time.
    EXPECT_TRUE(KazdaLiniaZCzasem(program->WyjscieZCzasem()));
    const std::string dziennik = Dziennik();
    EXPECT_NE(dziennik.find("start-programu program=\"wsadowa\""), std::string::npos) << dziennik;
    EXPECT_NE(dziennik.find("pakiet-zatwierdzony wersja=\"11.5.0.6\""), std::string::npos);
    EXPECT_NE(dziennik.find("koniec-aktualizacji wynik=\"zakonczona\""), std::string::npos);
    EXPECT_EQ(dziennik.find(Haslo), std::string::npos);
}

// The bound checks print the window's warning and send nothing after the version reads; a database
// already at the last version is not a failure of a nightly job.
TEST_F(ProgramWsadowy, TheBoundChecksPrintTheirTextAndSendNothingMore) {
    struct Przypadek {
        std::string wersja;
        int kod;
        std::string tekst;
    };
    const Przypadek przypadki[] = {
        {"11.5.0.6", 0,
         "Ostrzeżenie: Aktualna wersja 11.5.0.6 jest większa lub równa maksymalnej dostępnej "
         "wersji 11.5.0.6."},
        {"12.0.0.0", 1,
         "Ostrzeżenie: Aktualna wersja 12.0.0.0 jest większa lub równa maksymalnej dostępnej "
         "wersji 11.5.0.6."},
        {"7.12.0.7", 1,
         "Ostrzeżenie: Aktualna wersja 7.12.0.7 musi być większa lub równa minimalnej dostępnej "
         "wersji 8.1.0.0."},
        {"10.1.0.1 ", 1, "Błąd: "},
    };
    for (const Przypadek& przypadek : przypadki) {
        SCOPED_TRACE(przypadek.wersja);
        SerwerTestowy serwer(Konfiguracja(przypadek.wersja));
        auto argumenty = JednaBaza(serwer);
        argumenty.push_back("--tak");
        auto program = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
        EXPECT_EQ(program->Czekaj(), przypadek.kod);
        EXPECT_NE((program->Wyjscie() + program->Bledy()).find(przypadek.tekst), std::string::npos)
            << program->Wyjscie() << program->Bledy();
        // The version read at log-in, and nothing more.
        EXPECT_EQ(Zadania(serwer).size(), 1u);
        EXPECT_EQ(serwer.Partie().size(), 1u);
        EXPECT_EQ(serwer.ZapisanaWersja(), przypadek.wersja);
    }
}

// --sprawdz lists the packages due with their sizes and the plan's totals, in Polish plural forms
// with grouped digits, exits 6 and says so in the table and the report; it sends nothing but the
// version query.
TEST_F(ProgramWsadowy, CheckOnlyListsThePackagesExitsSixAndSendsNothingButTheVersionQuery) {
    SerwerTestowy serwer(Konfiguracja("11.3.0.2"));
    auto argumenty = JednaBaza(serwer);
    const std::string raport = (katalog_ / "raport.json").string();
    argumenty.insert(argumenty.end(), {"--sprawdz", "--cicho", "--raport", raport});
    auto program = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
    ASSERT_EQ(program->Czekaj(), 6) << program->Bledy();
    EXPECT_NE(program->Wyjscie().find("11.3.0.2  11.3.0.2  do aktualizacji"), std::string::npos)
        << program->Wyjscie();
    const auto tresc = nlohmann::json::parse(UruchomienieProgramu::Tresc(raport));
    EXPECT_EQ(tresc.at("kod_wyjscia"), 6);
    EXPECT_EQ(tresc.at("sprawdzenie"), true);
    const auto& baza = tresc.at("bazy").at(0);
    EXPECT_EQ(baza.at("wynik"), "do_aktualizacji");
    EXPECT_EQ(baza.at("wersja_docelowa"), "11.5.0.6");
    ASSERT_EQ(baza.at("do_wykonania").size(), 2u);
    EXPECT_EQ(baza.at("do_wykonania").at(0).at("wersja"), "11.4.0.1");
    EXPECT_EQ(baza.at("do_wykonania").at(0).at("operacje"), 88);
    EXPECT_EQ(BledySchematu(raport), "");

    argumenty.erase(argumenty.end() - 3, argumenty.end());
    auto pelny = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
    ASSERT_EQ(pelny->Czekaj(), 6) << pelny->Bledy();
    EXPECT_EQ(pelny->Wyjscie(), "Wersja bazy " + serwer.Adres() +
                                    ".ZUV: 11.3.0.2\n"
                                    "Pakiety do wykonania do wersji 11.5.0.6 (2):\n"
                                    "  11.4.0.1  54 639 bajtów, 88 operacji\n"
                                    "  11.5.0.6  58 822 bajty, 97 operacji\n"
                                    "Razem: 2 pakiety, 113 461 bajtów, 185 operacji.\n");
    // The version query and the read-only checks before a run, twice: no lock, no flag, no
    // transaction.
    const std::vector<std::string> jednaBaza = {
        std::string("batch: ") + zuv::ZapytanieZapisanejWersji,
        std::string("batch: ") + zuv::zapytania_kontroli::WidokSerwera,
        std::string("batch: ") + zuv::zapytania_kontroli::Sesje,
        std::string("batch: ") + zuv::zapytania_kontroli::Prawa,
        std::string("batch: ") + zuv::zapytania_kontroli::OstatniaKopia};
    std::vector<std::string> dwieBazy = jednaBaza;
    dwieBazy.insert(dwieBazy.end(), jednaBaza.begin(), jednaBaza.end());
    EXPECT_EQ(Zadania(serwer), dwieBazy);
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.3.0.2");
}

// --do-wersji: the plan ends at the target; a database at it has nothing to do, one past it and a
// target the program has no package for are refused (the latter before anything is sent).
TEST_F(ProgramWsadowy, ATargetVersionEndsTheRunThere) {
    const struct {
        const char* nazwa;
        const char* wersja;
        std::vector<std::string> opcje;
        int kod;
        const char* tekst;
        const char* wersjaPo;
        std::size_t zadania;  // requests the server heard
    } przypadki[] = {
        {"checked",
         "11.3.0.2",
         {"--do-wersji", "11.4.0.1", "--sprawdz"},
         6,
         "Pakiety do wykonania do wersji 11.4.0.1 (1):\n  11.4.0.1  54 639 bajtów, 88 operacji\n"
         "Razem: 1 pakiet, 54 639 bajtów, 88 operacji.",
         "11.3.0.2",
         1 + ZapytaniaKontroli},
        {"applied",
         "11.3.0.2",
         {"--do-wersji=11.4.0.1", "--tak"},
         0,
         "Wykonać aktualizację bazy %s.ZUV do wersji 11.4.0.1 ? Tak (--tak)\n"
         "Pakiet 11.4.0.1 (1 z 1)...",
         "11.4.0.1",
         0},
        {"at the target",
         "11.4.0.1",
         {"--do-wersji", "11.4.0.1", "--tak"},
         0,
         "Ostrzeżenie: Aktualna wersja 11.4.0.1 jest równa wersji docelowej 11.4.0.1.",
         "11.4.0.1",
         1},
        {"past the target",
         "11.5.0.6",
         {"--do-wersji", "11.4.0.1", "--tak"},
         1,
         "Ostrzeżenie: Aktualna wersja 11.5.0.6 jest większa od wersji docelowej 11.4.0.1.",
         "11.5.0.6",
         1},
        {"not in the catalogue",
         "11.3.0.2",
         {"--do-wersji", "11.4.0.2", "--tak"},
         1,
         "Błąd: Wersji 11.4.0.2 nie ma wśród pakietów programu (od 8.1.0.0 do 11.5.0.6); podaj "
         "w --do-wersji jedną z nich.",
         "11.3.0.2",
         0},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        SerwerTestowy serwer(Konfiguracja(p.wersja));
        auto argumenty = JednaBaza(serwer);
        argumenty.insert(argumenty.end(), p.opcje.begin(), p.opcje.end());
        auto program = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
        EXPECT_EQ(program->Czekaj(), p.kod) << program->Wyjscie() << program->Bledy();
        std::string tekst = p.tekst;
        if (const auto miejsce = tekst.find("%s"); miejsce != std::string::npos)
            tekst.replace(miejsce, 2, serwer.Adres());
        EXPECT_NE((program->Wyjscie() + program->Bledy()).find(tekst), std::string::npos)
            << program->Wyjscie() << program->Bledy();
        EXPECT_EQ(serwer.ZapisanaWersja(), p.wersjaPo);
        if (p.zadania > 0) {
            EXPECT_EQ(Zadania(serwer).size(), p.zadania);
        }
    }
    // The journal names the target of the run that applied it.
    EXPECT_NE(Dziennik().find("wersja-docelowa=\"11.4.0.1\""), std::string::npos) << Dziennik();
}

// --pomoc, --help and -h print the usage and exit 0; no arguments prints it on standard error
// and exits 4, as for any other arguments that ask for nothing.
TEST_F(ProgramWsadowy, HelpAndNoArgumentsPrintTheUsage) {
    for (const char* opcja : {"--pomoc", "--help", "-h"}) {
        SCOPED_TRACE(opcja);
        auto program = Uruchom({opcja});
        EXPECT_EQ(program->Czekaj(), 0);
        EXPECT_EQ(program->Wyjscie().rfind("Zbiorcza aktualizacja systemu ZUV bez okna.\n", 0), 0u);
        EXPECT_NE(program->Wyjscie().find("  --do-wersji V "), std::string::npos);
        EXPECT_NE(program->Wyjscie().find("  6  --sprawdz: są pakiety do wykonania"),
                  std::string::npos);
    }
    auto bezArgumentow = Uruchom({});
    EXPECT_EQ(bezArgumentow->Czekaj(), 4);
    EXPECT_EQ(bezArgumentow->Wyjscie(), "");
    EXPECT_EQ(bezArgumentow->Bledy().rfind("Zbiorcza aktualizacja systemu ZUV bez okna.\n", 0), 0u);
}

// Without --tak and without a terminal nobody can answer: No, nothing applied. Without a password
// and without a terminal the program refuses before it connects.
TEST_F(ProgramWsadowy, WithoutAnAnswerOrAPasswordNothingRuns) {
    SerwerTestowy serwer(Konfiguracja("11.3.0.2"));
    auto bezOdpowiedzi = Uruchom(JednaBaza(serwer), {"ZUV_HASLO=" + Haslo});
    EXPECT_EQ(bezOdpowiedzi->Czekaj(), 1);
    EXPECT_NE(bezOdpowiedzi->Wyjscie().find("? Nie: bez --tak"), std::string::npos)
        << bezOdpowiedzi->Wyjscie();
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.3.0.2");

    auto argumenty = JednaBaza(serwer);
    argumenty.push_back("--tak");
    auto bezHasla = Uruchom(argumenty);
    EXPECT_EQ(bezHasla->Czekaj(), 4);
    EXPECT_NE(bezHasla->Bledy().find("Brak hasła"), std::string::npos) << bezHasla->Bledy();
    // The first run's version read and checks; the second sent nothing.
    EXPECT_EQ(serwer.Partie().size(), 1u + ZapytaniaKontroli);

    // The password file's first line, as it stands.
    argumenty.insert(argumenty.end(), {"--plik-hasla", Plik("haslo", Haslo + "\ndrugi\n")});
    auto zPliku = Uruchom(argumenty);
    EXPECT_EQ(zPliku->Czekaj(), 0) << zPliku->Bledy();
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}

// Three databases on three servers, one failing at a batch: the other two reach the last version,
// the failing one keeps what it committed, and the report and the exit code say which and why;
// the same one at a time and three at once.
TEST_F(ProgramWsadowy, AListRunsEveryDatabaseAndOneFailureStopsNoOther) {
    for (const char* rownolegle : {"1", "3"}) {
        SCOPED_TRACE(rownolegle);
        tds::ServerConfig zBledem = Konfiguracja("11.3.0.2");
        zBledem.faults.failBatches.push_back({"11.5.0.6", 2, 50000, "Brak miejsca w bazie"});
        SerwerTestowy pierwszy(Konfiguracja("11.3.0.2"));
        SerwerTestowy drugi(zBledem, "inne;haslo");
        SerwerTestowy trzeci(Konfiguracja("11.4.0.1"));
        const std::string lista =
            Plik("lista", "# bazy\n" + pierwszy.Adres() + ";ZUV;sa\n\n" + drugi.Adres() +
                              " ; ZUV ; sa\r\n" + trzeci.Adres() + ";ZUV;sa\n");
        const std::string hasla =
            Plik("hasla", pierwszy.Adres() + ";ZUV;sa;" + Haslo + "\n" + drugi.Adres() +
                              ";ZUV;sa;inne;haslo\n" + trzeci.Adres() + ";ZUV;sa;" + Haslo + "\n");
        const std::string raport = (katalog_ / "raport.json").string();
        auto program = Uruchom({"--lista", lista, "--plik-hasel", hasla, "--tak", "--rownolegle",
                                rownolegle, "--raport", raport});
        ASSERT_EQ(program->Czekaj(), 2) << program->Wyjscie() << program->Bledy();
        EXPECT_EQ(pierwszy.ZapisanaWersja(), "11.5.0.6");
        EXPECT_EQ(drugi.ZapisanaWersja(), "11.4.0.1");
        EXPECT_EQ(trzeci.ZapisanaWersja(), "11.5.0.6");

        const std::string wyjscie = program->Wyjscie();
        EXPECT_NE(wyjscie.find(drugi.Adres() + "  ZUV   11.3.0.2  11.4.0.1  błąd pakietu"),
                  std::string::npos)
            << wyjscie;
        EXPECT_NE(wyjscie.find(trzeci.Adres() + "  ZUV   11.4.0.1  11.5.0.6  zaktualizowana"),
                  std::string::npos)
            << wyjscie;
        // Every line of the server's message says which database it is of.
        const std::string przedrostek = "[" + drugi.Adres() + "/ZUV] ";
        EXPECT_NE(program->Bledy().find(przedrostek +
                                        "Błąd: Błąd aktualizacji bazy do wersji 11.5.0.6 "
                                        "podczas wykonywania operacji 2:\n" +
                                        przedrostek + "Brak miejsca w bazie."),
                  std::string::npos)
            << program->Bledy();
        EXPECT_TRUE(KazdaLiniaZCzasem(program->BledyZCzasem()));
        EXPECT_TRUE(KazdaLiniaZCzasem(program->WyjscieZCzasem()));

        const std::string json = UruchomienieProgramu::Tresc(raport);
        const auto tresc = nlohmann::json::parse(json);
        EXPECT_EQ(tresc.at("kod_wyjscia"), 2) << json;
        ASSERT_EQ(tresc.at("bazy").size(), 3u) << json;
        // The list's order, whichever database ended first.
        const auto& drugaBaza = tresc.at("bazy").at(1);
        EXPECT_EQ(drugaBaza.at("serwer"), drugi.Adres());
        EXPECT_EQ(drugaBaza.at("wersja_przed"), "11.3.0.2");
        EXPECT_EQ(drugaBaza.at("wersja_po"), "11.4.0.1");
        EXPECT_EQ(drugaBaza.at("wynik"), "blad_pakietu");
        EXPECT_EQ(drugaBaza.at("opis"), "błąd pakietu");
        EXPECT_EQ(drugaBaza.at("kod"), 2);
        EXPECT_EQ(drugaBaza.at("pakiet_bledu"), "11.5.0.6");
        EXPECT_EQ(drugaBaza.at("operacja_bledu"), 2);
        EXPECT_EQ(BledySchematu(raport), "");
        EXPECT_EQ(drugaBaza.at("blad"),
                  "Błąd aktualizacji bazy do wersji 11.5.0.6 podczas wykonywania operacji 2:\r\n"
                  "Brak miejsca w bazie.");
        ASSERT_EQ(drugaBaza.at("pakiety").size(), 1u) << json;
        EXPECT_EQ(drugaBaza.at("pakiety").at(0).at("wersja"), "11.4.0.1");
        EXPECT_TRUE(drugaBaza.at("pakiety").at(0).at("sekundy").is_number());
        EXPECT_TRUE(tresc.at("bazy").at(2).at("blad").is_null());
        EXPECT_EQ(tresc.at("dziennik").at("sciezka"),
                  (katalog_ / "stan" / "aktualizacja-zuv" / "dziennik.log").string());
        EXPECT_TRUE(tresc.at("dziennik").at("bledy").empty()) << json;
        EXPECT_EQ(json.find(Haslo), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(raport + ".tmp"));
    }
}

// One SIGINT during a held batch: a server that answers the stop rolls the package back and each
// database's end says the version it records; one that answers neither the batch nor the stop (a
// link that stalls) is left after the wait the window also gives it, the program saying that the
// server rolls the open package back, with its report and journal. Code 5 either way.
TEST_F(ProgramWsadowy, OneSigintDuringAHeldBatchEndsWithFiveInBoundedTime) {
    struct Przypadek {
        const char* nazwa;
        bool zawieszony;      // the server answers neither the batch nor the stop
        std::size_t zadania;  // the server's journal when the batch is held
        std::chrono::seconds najkrocej, najdluzej;
        std::string tekst;  // on standard output or error
        const char* dziennik;
    };
    const Przypadek przypadki[] = {
        {"the server answers the stop", false, 8, 0s, 8s,
         "Informacja: Aktualizacja przerwana. Baza danych jest w wersji 11.4.0.1.",
         "przerwanie-zadane"},
        {"the server answers nothing", true, 9, 9s, 15s,
         "Serwer nie odpowiada na przerwanie aktualizacji od 10 s: program kończy połączenie; "
         "serwer wycofa otwartą transakcję pakietu 11.5.0.6",
         "koniec-programu-wymuszony"},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja = Konfiguracja("11.4.0.1");
        // After the log-in, the version read, the checks, the lock, the two flag statements, the
        // generation and the begin, a batch of the package is held.
        if (p.zawieszony)
            konfiguracja.faults.hangAtRequests = {9 + ZapytaniaKontroli};
        else
            konfiguracja.faults.delays = {{8 + ZapytaniaKontroli, 60000ms}};
        SerwerTestowy serwer(konfiguracja);
        const std::string raport = (katalog_ / "raport.json").string();
        auto argumenty = JednaBaza(serwer);
        argumenty.insert(argumenty.end(), {"--tak", "--raport", raport});
        auto program = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
        const auto koniec = std::chrono::steady_clock::now() + 20s;
        while (serwer->journal().size() < p.zadania && std::chrono::steady_clock::now() < koniec)
            std::this_thread::sleep_for(20ms);
        ASSERT_GE(serwer->journal().size(), p.zadania) << program->Wyjscie() << program->Bledy();
        const auto poczatek = std::chrono::steady_clock::now();
        program->Sygnal(SIGINT);
        EXPECT_EQ(program->Czekaj(30s), 5) << program->Wyjscie() << program->Bledy();
        const auto czas = std::chrono::steady_clock::now() - poczatek;
        EXPECT_GE(czas, p.najkrocej);
        EXPECT_LT(czas, p.najdluzej);
        EXPECT_NE((program->Wyjscie() + program->Bledy()).find(p.tekst), std::string::npos)
            << program->Wyjscie() << program->Bledy();
        const auto tresc = nlohmann::json::parse(UruchomienieProgramu::Tresc(raport));
        EXPECT_EQ(tresc.at("kod_wyjscia"), 5);
        EXPECT_EQ(tresc.at("bazy").at(0).at("wynik"), "przerwana");
        EXPECT_NE(Dziennik().find(p.dziennik), std::string::npos);
        EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
    }
}

// A list or password file that cannot be read stops the program before anything is sent, naming
// the file and the line; so does a password file that others may read.
TEST_F(ProgramWsadowy, BadListsAndOpenPasswordFilesAreRefusedBeforeAnythingRuns) {
    SerwerTestowy serwer(Konfiguracja("11.3.0.2"));
    const std::string adres = serwer.Adres();
    struct Przypadek {
        std::string lista;
        std::string hasla;
        int tryb;
        std::string blad;
    };
    const Przypadek przypadki[] = {
        {adres + ";ZUV\n", adres + ";ZUV;sa;x\n", 0600,
         "lista:1: oczekiwano serwer;baza;uzytkownik, jest \"" + adres + ";ZUV\"."},
        {"# a\n" + adres + ";ZUV;sa;nadmiar\n", adres + ";ZUV;sa;x\n", 0600, "lista:2: "},
        {adres + ";ZUV; \n", adres + ";ZUV;sa;x\n", 0600, "lista:1: "},
        {adres + ";ZUV;sa\n" + adres + ";ZUV;sa\n", adres + ";ZUV;sa;x\n", 0600,
         "lista:2: baza " + adres + ".ZUV jest już na liście w wierszu 1."},
        {adres + ";ZUV;sa\n", "\n" + adres + ";ZUV;sa\n", 0600,
         "hasla:2: oczekiwano serwer;baza;uzytkownik;haslo."},
        {adres + ";ZUV;sa\n", adres + ";ZUV;inny;x\n", 0600,
         "lista:1: brak hasła dla " + adres + ";ZUV;sa w pliku"},
        {adres + ";ZUV;sa\n", adres + ";ZUV;sa;x\n", 0640,
         "jest dostępny dla grupy lub innych użytkowników; odmowa. Ogranicz dostęp poleceniem: "
         "chmod 600"},
        {"# nic\n", adres + ";ZUV;sa;x\n", 0600, "nie zawiera żadnej bazy."},
    };
    for (const Przypadek& przypadek : przypadki) {
        SCOPED_TRACE(przypadek.blad);
        const std::string lista = Plik("lista", przypadek.lista);
        const std::string hasla = Plik("hasla", przypadek.hasla, przypadek.tryb);
        auto program = Uruchom({"--lista", lista, "--plik-hasel", hasla, "--tak"});
        EXPECT_EQ(program->Czekaj(), 4);
        EXPECT_NE(program->Bledy().find(przypadek.blad), std::string::npos) << program->Bledy();
        EXPECT_EQ(program->Bledy().find(";x"), std::string::npos) << "a password was printed";
    }
    EXPECT_TRUE(serwer->journal().empty());
}

// Windows Notepad starts a file saved as UTF-8 with a byte order mark, which is no part of the
// first server name or password. A file in another encoding (Notepad's "ANSI", code page 1250, or
// its "Unicode") is refused naming its line before anything reaches a server, rather than failing
// at the log-in as a connection error; the line's password is never printed.
TEST_F(ProgramWsadowy, ListAndPasswordFilesAreUtf8WithOrWithoutAByteOrderMark) {
    SerwerTestowy serwer(Konfiguracja("11.3.0.2"));
    const std::string adres = serwer.Adres();
    const std::string znacznik = "\xEF\xBB\xBF";
    struct Przypadek {
        std::string nazwa;
        std::string lista;  // empty: one database, its password from --plik-hasla
        std::string hasla;
        int kod;
        std::string tekst;
    };
    const Przypadek przypadki[] = {
        {"mark in the list", znacznik + adres + ";ZUV;sa\n", adres + ";ZUV;sa;" + Haslo + "\n", 6,
         "Pakiety do wykonania do wersji 11.5.0.6 (2):"},
        {"mark in the password file", adres + ";ZUV;sa\n",
         znacznik + adres + ";ZUV;sa;" + Haslo + "\r\n", 6,
         "Pakiety do wykonania do wersji 11.5.0.6 (2):"},
        {"mark in the one database's password file", "", znacznik + Haslo + "\r\n", 6,
         "Pakiety do wykonania do wersji 11.5.0.6 (2):"},
        {"password file in code page 1250", adres + ";ZUV;sa\n",
         "# hasla\n" + adres + ";ZUV;sa;Ta\xB3ne\n", 4,
         "hasla:2: wiersz nie jest zapisany w UTF-8; zapisz plik w kodowaniu UTF-8."},
        {"one database's password file in code page 1250", "", "Ta\xB3ne\n", 4,
         "hasla:1: wiersz nie jest zapisany w UTF-8; zapisz plik w kodowaniu UTF-8."},
        {"list in code page 1250", adres + ";ZUV;sa\n" + adres + ";Ksi\xEAgowo\xB6\xE6;sa\n",
         adres + ";ZUV;sa;" + Haslo + "\n", 4,
         "lista:2: wiersz nie jest zapisany w UTF-8; zapisz plik w kodowaniu UTF-8."},
        {"list in UTF-16", "\xFF\xFE" + adres + ";ZUV;sa\n", adres + ";ZUV;sa;" + Haslo + "\n", 4,
         "lista:1: wiersz nie jest zapisany w UTF-8"},
    };
    for (const Przypadek& przypadek : przypadki) {
        SCOPED_TRACE(przypadek.nazwa);
        const std::size_t zadaniaPrzed = serwer->journal().size();
        std::vector<std::string> argumenty;
        if (przypadek.lista.empty()) {
            argumenty = JednaBaza(serwer);
            argumenty.insert(argumenty.end(), {"--plik-hasla", Plik("hasla", przypadek.hasla)});
        } else {
            argumenty = {"--lista", Plik("lista", przypadek.lista), "--plik-hasel",
                         Plik("hasla", przypadek.hasla)};
        }
        argumenty.push_back("--sprawdz");
        auto program = Uruchom(argumenty);
        EXPECT_EQ(program->Czekaj(), przypadek.kod) << program->Wyjscie() << program->Bledy();
        EXPECT_NE((program->Wyjscie() + program->Bledy()).find(przypadek.tekst), std::string::npos)
            << program->Wyjscie() << program->Bledy();
        if (przypadek.kod == 4) {
            EXPECT_EQ(serwer->journal().size(), zadaniaPrzed) << "the server was reached";
            EXPECT_EQ(program->Bledy().find("Ta\xB3ne"), std::string::npos)
                << "a password was printed";
        }
    }
}

// The report's place is tried before anything runs: found only at the end, the night's results
// would be lost. The sentence names the path and the system's reason; the server hears nothing.
TEST_F(ProgramWsadowy, AReportThatCannotBeWrittenIsRefusedBeforeAnythingRuns) {
    SerwerTestowy serwer(Konfiguracja("11.3.0.2"));
    Plik("plik", "");
    std::filesystem::create_directory(katalog_ / "folder");
    struct Przypadek {
        std::string nazwa;
        std::filesystem::path sciezka;
        std::errc powod;
    };
    const Przypadek przypadki[] = {
        {"a file in the folder's place", katalog_ / "plik" / "raport.json",
         std::errc::not_a_directory},
        {"a missing folder", katalog_ / "brak" / "raport.json",
         std::errc::no_such_file_or_directory},
        {"a folder in the report's place", katalog_ / "folder", std::errc::is_a_directory},
    };
    for (const Przypadek& przypadek : przypadki) {
        SCOPED_TRACE(przypadek.nazwa);
        auto argumenty = JednaBaza(serwer);
        argumenty.insert(argumenty.end(), {"--tak", "--raport", przypadek.sciezka.string()});
        auto program = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
        EXPECT_EQ(program->Czekaj(), 4) << program->Wyjscie() << program->Bledy();
        EXPECT_EQ(program->Bledy(), "Błąd: Nie można zapisać raportu " +
                                        przypadek.sciezka.string() + ": " +
                                        std::make_error_code(przypadek.powod).message() + ".\n");
    }
    EXPECT_TRUE(serwer->journal().empty());
    EXPECT_FALSE(std::filesystem::exists(katalog_ / "folder.tmp"));
}

// A report that cannot be written after the run leaves the exit code the databases made (4 would
// say that nothing ran) and says why. Its folder goes away while a batch is held; the server's
// restart then ends that session, a lost connection.
TEST_F(ProgramWsadowy, AReportFailingAfterTheRunKeepsTheRunsExitCode) {
    tds::ServerConfig konfiguracja = Konfiguracja("11.4.0.1");
    konfiguracja.faults.delays = {{9 + ZapytaniaKontroli, 60000ms}};
    SerwerTestowy serwer(konfiguracja);
    std::filesystem::create_directory(katalog_ / "raporty");
    const std::string raport = (katalog_ / "raporty" / "raport.json").string();
    auto argumenty = JednaBaza(serwer);
    argumenty.insert(argumenty.end(), {"--tak", "--raport", raport});
    auto program = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
    const auto koniec = std::chrono::steady_clock::now() + 20s;
    while (serwer->journal().size() < 9 && std::chrono::steady_clock::now() < koniec)
        std::this_thread::sleep_for(20ms);
    ASSERT_GE(serwer->journal().size(), 9u) << program->Wyjscie() << program->Bledy();
    std::filesystem::remove_all(katalog_ / "raporty");
    serwer.UruchomPonownie();
    EXPECT_EQ(program->Czekaj(), 3) << program->Wyjscie() << program->Bledy();
    EXPECT_NE(
        program->Bledy().find("Błąd: Nie można zapisać raportu " + raport + ": " +
                              std::make_error_code(std::errc::no_such_file_or_directory).message() +
                              ". Bazy zostały przetworzone; kod wyjścia podaje ich wynik.\n"),
        std::string::npos)
        << program->Bledy();
}

// A journal that cannot be written changes no run. Its reason is told once on standard error,
// though the program's own journal and every database's failed alike, and the report carries it.
TEST_F(ProgramWsadowy, AJournalThatCannotBeWrittenIsToldOnceAndInTheReport) {
    SerwerTestowy pierwszy(Konfiguracja("11.3.0.2"));
    SerwerTestowy drugi(Konfiguracja("11.3.0.2"));
    const std::string lista =
        Plik("lista", pierwszy.Adres() + ";ZUV;sa\n" + drugi.Adres() + ";ZUV;sa\n");
    const std::string hasla = Plik("hasla", pierwszy.Adres() + ";ZUV;sa;" + Haslo + "\n" +
                                                drugi.Adres() + ";ZUV;sa;" + Haslo + "\n");
    // A file where the journal's folder would be made.
    const std::string stan = Plik("stan-plik", "");
    const std::string raport = (katalog_ / "raport.json").string();
    auto program =
        Uruchom({"--lista", lista, "--plik-hasel", hasla, "--sprawdz", "--raport", raport},
                {"XDG_STATE_HOME=" + stan});
    ASSERT_EQ(program->Czekaj(), 6) << program->Wyjscie() << program->Bledy();
    EXPECT_NE(
        program->Wyjscie().find(drugi.Adres() + "  ZUV   11.3.0.2  11.3.0.2  do aktualizacji"),
        std::string::npos)
        << program->Wyjscie();

    const std::string sciezka = stan + "/aktualizacja-zuv/dziennik.log";
    const std::string bledy = program->Bledy();
    const std::string poczatek =
        "Ostrzeżenie: Nie udało się zapisać dziennika aktualizacji „" + sciezka + "”: ";
    const std::size_t ostrzezenie = bledy.find(poczatek);
    ASSERT_NE(ostrzezenie, std::string::npos) << bledy;
    EXPECT_EQ(bledy.find(poczatek, ostrzezenie + 1), std::string::npos) << "told twice: " << bledy;
    const std::string wiersz =
        bledy.substr(ostrzezenie, bledy.find('\n', ostrzezenie) - ostrzezenie);

    const auto tresc = nlohmann::json::parse(UruchomienieProgramu::Tresc(raport));
    EXPECT_EQ(tresc.at("kod_wyjscia"), 6);
    EXPECT_EQ(tresc.at("dziennik").at("sciezka"), sciezka);
    EXPECT_EQ(tresc.at("dziennik").at("bledy"),
              nlohmann::json::array({wiersz.substr(std::string("Ostrzeżenie: ").size())}));
}

// A system where no driver for SQL Server is registered: the log-in fails with a sentence that
// says how to register FreeTDS's, and the program ends with 3.
TEST_F(ProgramWsadowy, WithoutARegisteredDriverTheErrorSaysHowToRegisterIt) {
    SerwerTestowy serwer(Konfiguracja("11.3.0.2"));
    std::filesystem::create_directories(katalog_ / "odbc");
    std::ofstream(katalog_ / "odbc" / "odbcinst.ini") << "";
    auto argumenty = JednaBaza(serwer);
    argumenty.push_back("--tak");
    auto program =
        Uruchom(argumenty, {"ZUV_HASLO=" + Haslo, "ODBCSYSINI=" + (katalog_ / "odbc").string(),
                            "ODBCINSTINI=odbcinst.ini"});
    EXPECT_EQ(program->Czekaj(), 3);
    EXPECT_NE(program->Bledy().find("Nie znaleziono sterownika ODBC dla Microsoft SQL Server."),
              std::string::npos)
        << program->Bledy();
    EXPECT_NE(program->Bledy().find("sudo odbcinst -i -d -f /usr/share/tdsodbc/odbcinst.ini"),
              std::string::npos);
    EXPECT_TRUE(serwer->journal().empty());
}

// The checks before a run: each finding printed as a warning before the question and kept in the
// report, the run going on; what the login may not see is no warning but a line of the journal.
TEST_F(ProgramWsadowy, TheChecksWarnBeforeTheQuestionAndTheRunGoesOn) {
    tds::ServerConfig konfiguracja = Konfiguracja("11.4.0.1");
    konfiguracja.otherSessions = {{53, "jan", "KSIEG-01", "ZUV Środki", 754}};
    konfiguracja.backup = tds::BackupHistory::None;
    konfiguracja.rights = tds::LoginRights::None;
    SerwerTestowy serwer(konfiguracja);
    const std::string raport = (katalog_ / "raport.json").string();
    auto argumenty = JednaBaza(serwer);
    argumenty.insert(argumenty.end(), {"--tak", "--raport", raport});
    auto program = Uruchom(argumenty, {"ZUV_HASLO=" + Haslo});
    ASSERT_EQ(program->Czekaj(), 0) << program->Wyjscie() << program->Bledy();
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    const std::string wyjscie = program->Wyjscie();
    const std::size_t sesje = wyjscie.find(
        "Ostrzeżenie: W bazie pracują inne sesje (1): jan (KSIEG-01, ZUV Środki, bezczynna 12 "
        "min); aktualizacja może czekać na ich blokady.\n");
    const std::size_t kopia =
        wyjscie.find("Ostrzeżenie: Serwer nie ma zapisu żadnej pełnej kopii zapasowej bazy ZUV;");
    const std::size_t prawa = wyjscie.find("Ostrzeżenie: Login sa nie jest właścicielem bazy ZUV");
    const std::size_t pytanie = wyjscie.find("Wykonać aktualizację bazy");
    EXPECT_LT(sesje, kopia) << wyjscie;
    EXPECT_LT(kopia, prawa) << wyjscie;
    EXPECT_LT(prawa, pytanie) << wyjscie;
    const auto tresc = nlohmann::json::parse(UruchomienieProgramu::Tresc(raport));
    EXPECT_EQ(tresc.at("bazy").at(0).at("ostrzezenia").size(), 3u);
    EXPECT_EQ(BledySchematu(raport), "");
    EXPECT_NE(Dziennik().find("ostrzezenie tekst=\"W bazie pracują inne sesje (1)"),
              std::string::npos);

    tds::ServerConfig bezWidoku = Konfiguracja("11.3.0.2");
    bezWidoku.otherSessions = konfiguracja.otherSessions;
    bezWidoku.viewServerState = false;
    SerwerTestowy drugi(bezWidoku);
    auto sprawdzenie = Uruchom(
        [&] {
            auto a = JednaBaza(drugi);
            a.push_back("--sprawdz");
            return a;
        }(),
        {"ZUV_HASLO=" + Haslo});
    EXPECT_EQ(sprawdzenie->Czekaj(), 6) << sprawdzenie->Bledy();
    EXPECT_EQ(sprawdzenie->Wyjscie().find("Ostrzeżenie"), std::string::npos)
        << sprawdzenie->Wyjscie();
    EXPECT_NE(Dziennik().find("kontrola-niewykonana tekst=\"Nie sprawdzono innych sesji w bazie: "
                              "login nie ma uprawnienia VIEW SERVER STATE"),
              std::string::npos)
        << Dziennik();
}
