// The anonymous memory of the process while the 38 full-size packages above 8.1.0.0 are applied
// one after the other over one connection to the test server, as one press of "Aktualizuj"
// applies them. The packages are made by the sample generator into files and mapped, so that
// their bytes are file-backed like the program's linked-in data and only what the program makes
// of them counts. A thread samples RssAnon of /proc/self/status every 2 ms.
//
// Goal: the peak above the memory in use before the first package at most 3 times the largest
// package.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "ProcesSerwera.h"
#include "common/Linie.h"
#include "common/PrzydzialPamieci.h"
#include "db/PolaczenieODBC.h"
#include "packages/PrzetwarzanieSTR.h"
#include "versions/KatalogWersji.h"

using namespace zuv;

namespace {

// RssAnon of this process, in bytes.
std::size_t PamiecAnonimowa() {
    std::ifstream status("/proc/self/status");
    std::string pole;
    while (status >> pole)
        if (pole == "RssAnon:") {
            std::size_t kilobajty = 0;
            status >> kilobajty;
            return kilobajty * 1024;
        }
    return 0;
}

// The highest RssAnon seen between construction and destruction.
class Probkowanie {
  public:
    Probkowanie()
        : watek_([this] {
              while (!koniec_) {
                  szczyt_ = std::max(szczyt_.load(), PamiecAnonimowa());
                  std::this_thread::sleep_for(std::chrono::milliseconds(2));
              }
          }) {}
    ~Probkowanie() {
        koniec_ = true;
        watek_.join();
    }
    std::size_t Szczyt() const { return std::max(szczyt_.load(), PamiecAnonimowa()); }

  private:
    std::atomic<bool> koniec_{false};
    std::atomic<std::size_t> szczyt_{0};
    std::thread watek_;
};

// A file mapped read-only for as long as the object lives.
class Odwzorowanie {
  public:
    explicit Odwzorowanie(const std::string& sciezka) {
        const int plik = open(sciezka.c_str(), O_RDONLY);
        struct stat opis {};
        if (plik < 0 || fstat(plik, &opis) != 0) throw std::runtime_error("cannot open " + sciezka);
        rozmiar_ = static_cast<std::size_t>(opis.st_size);
        dane_ = mmap(nullptr, rozmiar_, PROT_READ, MAP_PRIVATE, plik, 0);
        close(plik);
        if (dane_ == MAP_FAILED) throw std::runtime_error("cannot map " + sciezka);
    }
    ~Odwzorowanie() { munmap(dane_, rozmiar_); }
    Odwzorowanie(const Odwzorowanie&) = delete;
    Odwzorowanie& operator=(const Odwzorowanie&) = delete;
    std::string_view Tekst() const { return {static_cast<const char*>(dane_), rozmiar_}; }

  private:
    void* dane_ = nullptr;
    std::size_t rozmiar_ = 0;
};

std::string NazwaPliku(std::string_view wersja) {
    std::string nazwa = "ZUV_";
    for (const char c : wersja) nazwa += c == '.' ? '_' : c;
    return nazwa + ".sql";
}

void GenerujPakiety(const std::filesystem::path& katalog) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execl(SCIEZKA_GENERATORA, SCIEZKA_GENERATORA, "--out", katalog.c_str(), "--full",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the package generator failed");
}

}  // namespace

int main() {
    UstawPrzydzialPamieci();  // as the program does at start-up
    ProcesSerwera serwer(std::string(KatalogWersji.front()));
    const std::filesystem::path katalog = serwer.Katalog() / "pakiety";
    std::filesystem::create_directory(katalog);
    GenerujPakiety(katalog);

    std::size_t najwiekszy = 0;
    for (std::size_t i = 1; i < KatalogWersji.size(); ++i)
        najwiekszy = std::max<std::size_t>(
            najwiekszy, std::filesystem::file_size(katalog / NazwaPliku(KatalogWersji[i])));

    const std::size_t przed = PamiecAnonimowa();
    std::size_t szczyt = 0;
    std::size_t poZalogowaniu = 0;
    const auto start = std::chrono::steady_clock::now();
    {
        Probkowanie probkowanie;
        PolaczenieODBC polaczenie;
        polaczenie.UstawDaneLogowania(serwer.Logowanie());
        polaczenie.Otworz();
        poZalogowaniu = PamiecAnonimowa();
        for (std::size_t i = 1; i < KatalogWersji.size(); ++i) {
            const std::string_view wersja = KatalogWersji[i];
            const Odwzorowanie plik((katalog / NazwaPliku(wersja)).string());
            ListaLinii linie;
            linie.UstawTekst(plik.Tekst());
            TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, linie, true, nullptr, wersja);
        }
        polaczenie.Zamknij();
        szczyt = probkowanie.Szczyt();
    }
    const double sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("38 full-size packages, %s to %s, applied in %.1f s\n",
                std::string(KatalogWersji[1]).c_str(), std::string(KatalogWersji.back()).c_str(),
                sekundy);
    std::printf(
        "anonymous memory before logging in: %zu bytes, after: %zu bytes, at its peak: %zu "
        "bytes\n",
        przed, poZalogowaniu, szczyt);
    std::printf("largest package: %zu bytes\n", najwiekszy);
    std::printf(
        "anon_peak_vs_largest_package=%.2f (goal at most 3)\n",
        static_cast<double>(szczyt - std::min(szczyt, przed)) / static_cast<double>(najwiekszy));
    return 0;
}
