// One full-size package applied by the program's own runner and ODBC connection, and the same
// batches sent by FreeTDS's bsqldb, to one test server over loopback, alternating for several
// rounds. Both sides are whole runs: log-in, every batch, log-out; the program's side also loads
// the package's bytes into its line list and runs the package in one transaction, as the window
// does. bsqldb reads the batches the runner sends (marker replaced, gate applied), each ended by
// a "go" line, and converts them from code page 1250 itself (client charset CP1250). The server
// is a process of its own, so the program's CPU time is this process's; bsqldb's is its child's.
//
// The medians' ratios follow: cpu_ratio_vs_bsqldb=R and wall_ratio_vs_bsqldb=R (goal: both at
// most 1.0). With --instructions, the client sides are then counted in instructions under
// callgrind: the program's (bench_klient_programu, the same run in a process without the
// linked-in packages, which valgrind cannot load), bsqldb's and the driver's floor
// (bench_podloga_odbc):
// instr_ratio_vs_bsqldb=R (goal at most 1.0) and instr_ratio_vs_odbc_floor=R (goal at most 1.1).

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "GeneratorPakietow.h"
#include "Pomiar.h"
#include "ProcesSerwera.h"
#include "ZastosowaniePakietu.h"
#include "common/Linie.h"
#include "db/Polaczenie.h"
#include "packages/PrzetwarzanieSTR.h"
#include "versions/KatalogWersji.h"

using namespace zuv;
using namespace generator;

namespace {

constexpr const char* Wersja = "11.5.0.6";

// Keeps every batch the runner hands over, exactly as it would reach the driver.
class PolaczenieZapisujace : public Polaczenie {
  public:
    bool Otwarte() const override { return true; }
    WynikZapytania WykonajZRekordami(std::string_view) override {
        return {1, WartoscPola(std::int64_t{2008})};
    }
    void WykonajBezRekordow(std::string_view polecenie, int) override {
        partie.emplace_back(polecenie);
    }
    std::vector<std::string> partie;

  protected:
    void OtworzSesje(const DaneLogowania&) override {}
    void ZamknijSesje() override {}
    int RozpocznijNaSerwerze() override { return 1; }
    void ZatwierdzNaSerwerze() override {}
    void WycofajNaSerwerze() override {}
};

// The input of bsqldb: the runner's batches, each followed by a "go" line. bsqldb keeps the
// line ends it reads, so it sends each batch with the bytes the program sends.
// The same batches for the driver's floor (bench_podloga_odbc): each as its length, a line end
// and its bytes.
std::size_t ZapiszWejscieBsqldb(const std::string& pakiet, const std::filesystem::path& plik,
                                const std::filesystem::path& plikPodlogi) {
    ListaLinii linie;
    linie.UstawTekst(pakiet);
    PolaczenieZapisujace zapis;
    TPrzetwarzanieSTR::WykonajSkrypt(&zapis, linie, true, nullptr, Wersja);
    std::ofstream wyjscie(plik, std::ios::binary);
    for (const std::string& partia : zapis.partie) wyjscie << partia << "go\r\n";
    std::ofstream podloga(plikPodlogi, std::ios::binary);
    for (const std::string& partia : zapis.partie) podloga << partia.size() << '\n' << partia;
    return zapis.partie.size();
}

// Instructions counted by callgrind: of `funkcja` and what it calls, or of the whole process
// when `funkcja` is empty. The program runs as a child under valgrind; 0 when it failed.
unsigned long long Instrukcje(const std::vector<std::string>& polecenie, const std::string& funkcja,
                              const std::filesystem::path& katalog, const char* nazwa,
                              const std::string& freetdsConf = {}) {
    const std::string wynik = (katalog / (std::string("callgrind.") + nazwa)).string();
    const std::string dziennik = (katalog / (std::string("valgrind.") + nazwa + ".log")).string();
    std::vector<std::string> argumenty = {"valgrind", "--tool=callgrind", "--log-file=" + dziennik,
                                          "--callgrind-out-file=" + wynik};
    if (!funkcja.empty()) argumenty.push_back("--toggle-collect=" + funkcja);
    argumenty.insert(argumenty.end(), polecenie.begin(), polecenie.end());
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freetdsConf.empty()) setenv("FREETDSCONF", freetdsConf.c_str(), 1);
        if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(126);
        std::vector<char*> argv;
        for (std::string& a : argumenty) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s under valgrind failed (status %d); see %s\n", nazwa, status,
                     dziennik.c_str());
        return 0;
    }
    std::ifstream plik(wynik);
    std::string linia;
    while (std::getline(plik, linia))
        if (linia.rfind("summary:", 0) == 0 || linia.rfind("totals:", 0) == 0)
            return std::stoull(linia.substr(linia.find(':') + 1));
    return 0;
}

// One run of bsqldb as a child process; its CPU time comes from wait4.
Czasy UruchomBsqldb(const ProcesSerwera& serwer, const std::filesystem::path& wejscie) {
    const std::string konfiguracja = (serwer.Katalog() / "freetds.conf").string();
    const std::string plik = wejscie.string();
    const std::string dziennik = (serwer.Katalog() / "bsqldb.err").string();
    const auto start = std::chrono::steady_clock::now();
    std::fflush(nullptr);  // what is buffered must not be written twice, by the child too
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("FREETDSCONF", konfiguracja.c_str(), 1);
        std::FILE* nic = std::freopen("/dev/null", "w", stdout);
        std::FILE* bledy = std::freopen(dziennik.c_str(), "w", stderr);
        if (nic == nullptr || bledy == nullptr) _exit(126);
        execlp("bsqldb", "bsqldb", "-S", "zuvbench", "-U", "sa", "-P", ProcesSerwera::Haslo, "-D",
               "ZUV", "-q", "-i", plik.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage uzycie{};
    wait4(pid, &status, 0, &uzycie);
    const auto koniec = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bsqldb failed (status %d); see %s\n", status, dziennik.c_str());
        std::exit(1);
    }
    return {SekundyCpu(uzycie), std::chrono::duration<double>(koniec - start).count()};
}

void ZapiszKonfiguracjeFreeTds(const ProcesSerwera& serwer) {
    std::ofstream plik(serwer.Katalog() / "freetds.conf");
    plik << "[zuvbench]\n\thost = 127.0.0.1\n\tport = " << serwer.Port()
         << "\n\ttds version = 7.4\n\tclient charset = CP1250\n";
}

}  // namespace

int main(int argc, char** argv) {
    bool instrukcje = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--instructions") == 0) {
            instrukcje = true;
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            break;
        }
    const int rundy = LiczbaRund(argc, argv, 7);
    if (rundy == 0) return 2;

    const std::string pakiet = GenerujPakiet(Wersja, RozmiarPakietu::Pelny);
    // The package accepts the database at the catalogue version before its own.
    const auto pozycja = std::find(KatalogWersji.begin(), KatalogWersji.end(), Wersja);
    ProcesSerwera serwer(std::string(*(pozycja - 1)));
    ZapiszKonfiguracjeFreeTds(serwer);
    const std::filesystem::path wejscie = serwer.Katalog() / "partie.sql";
    const std::filesystem::path wejsciePodlogi = serwer.Katalog() / "partie.bin";
    const std::size_t partii = ZapiszWejscieBsqldb(pakiet, wejscie, wejsciePodlogi);
    std::printf("package %s, full size: %zu bytes, %zu batches sent; server on port %d\n", Wersja,
                pakiet.size(), partii, serwer.Port());

    // A first run of each, not counted, brings both into the page cache and the server up.
    ZastosujPakiet(serwer.Logowanie(), pakiet, Wersja);
    UruchomBsqldb(serwer, wejscie);

    std::vector<double> cpuProgramu, scianaProgramu, cpuBsqldb, scianaBsqldb;
    std::vector<double> serweraProgramu, serweraBsqldb;
    for (int runda = 1; runda <= rundy; ++runda) {
        const auto program = [&] {
            const double serwerPrzed = serwer.CzasCpu();
            const Czasy t = Zmierz([&] { ZastosujPakiet(serwer.Logowanie(), pakiet, Wersja); });
            serweraProgramu.push_back(serwer.CzasCpu() - serwerPrzed);
            cpuProgramu.push_back(t.cpu);
            scianaProgramu.push_back(t.sciana);
        };
        const auto bsqldb = [&] {
            const double serwerPrzed = serwer.CzasCpu();
            const Czasy t = UruchomBsqldb(serwer, wejscie);
            serweraBsqldb.push_back(serwer.CzasCpu() - serwerPrzed);
            cpuBsqldb.push_back(t.cpu);
            scianaBsqldb.push_back(t.sciana);
        };
        // Which side goes first alternates, so that a drift in the machine's load falls on both.
        if (runda % 2 == 1) {
            program();
            bsqldb();
        } else {
            bsqldb();
            program();
        }
        std::printf(
            "round %d: program cpu %.3f s wall %.3f s (server cpu %.2f s) | bsqldb cpu %.3f s "
            "wall %.3f s (server cpu %.2f s)\n",
            runda, cpuProgramu.back(), scianaProgramu.back(), serweraProgramu.back(),
            cpuBsqldb.back(), scianaBsqldb.back(), serweraBsqldb.back());
    }
    const double cpuP = Mediana(cpuProgramu), scianaP = Mediana(scianaProgramu);
    const double cpuB = Mediana(cpuBsqldb), scianaB = Mediana(scianaBsqldb);
    std::printf("median program: cpu %.3f s wall %.3f s; bsqldb: cpu %.3f s wall %.3f s\n", cpuP,
                scianaP, cpuB, scianaB);
    std::printf("median server cpu while serving the program %.2f s, bsqldb %.2f s\n",
                Mediana(serweraProgramu), Mediana(serweraBsqldb));
    std::printf("cpu_ratio_vs_bsqldb=%.2f\n", cpuB > 0 ? cpuP / cpuB : 0.0);
    std::printf("wall_ratio_vs_bsqldb=%.2f\n", scianaB > 0 ? scianaP / scianaB : 0.0);
    if (!instrukcje) return 0;

    // Instructions do not swing with the machine's load as CPU time does. The program's side and
    // the floor are counted in the function that does the run; bsqldb as a whole process (its
    // start-up is a small part of a full-size package).
    const std::filesystem::path plikPakietu = serwer.Katalog() / "pakiet.sql";
    std::ofstream(plikPakietu, std::ios::binary) << pakiet;
    const std::string katalogProgramu = std::filesystem::canonical("/proc/self/exe").parent_path();
    const unsigned long long program = Instrukcje(
        {katalogProgramu + "/bench_klient_programu", serwer.Adres(), plikPakietu.string(), Wersja},
        "*KlientProgramu*", serwer.Katalog(), "program");
    const unsigned long long podloga = Instrukcje(
        {katalogProgramu + "/bench_podloga_odbc", serwer.Adres(), wejsciePodlogi.string()},
        "*WyslijPartie*", serwer.Katalog(), "podloga");
    const unsigned long long bsqldb =
        Instrukcje({"bsqldb", "-S", "zuvbench", "-U", "sa", "-P", ProcesSerwera::Haslo, "-D", "ZUV",
                    "-q", "-i", wejscie.string()},
                   "", serwer.Katalog(), "bsqldb", (serwer.Katalog() / "freetds.conf").string());
    std::printf("instructions: program %llu, bsqldb %llu, odbc floor %llu\n", program, bsqldb,
                podloga);
    if (program == 0 || bsqldb == 0 || podloga == 0) return 1;
    std::printf("instr_ratio_vs_bsqldb=%.2f\n", static_cast<double>(program) / bsqldb);
    std::printf("instr_ratio_vs_odbc_floor=%.2f\n", static_cast<double>(program) / podloga);
    return 0;
}
