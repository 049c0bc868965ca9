// Time per megabyte of a package applied once, twice and four times as long: the full-size
// package 11.5.0.6 repeated 1, 2 and 4 times (each copy opens with the version check, which
// accepts the version the copy before it stamped, and closes with the stamp). Each run is the
// program's whole run against the test server: log-in, loading, every batch, log-out. Sizes
// alternate within each round; the medians are printed.
//
// Goal: flat, the time per megabyte at 4x at most that at 1x (ratios near 1.0).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "GeneratorPakietow.h"
#include "Pomiar.h"
#include "ProcesSerwera.h"
#include "ZastosowaniePakietu.h"
#include "versions/KatalogWersji.h"

using namespace zuv;
using namespace generator;

namespace {

constexpr const char* Wersja = "11.5.0.6";
constexpr int Krotnosci[] = {1, 2, 4};

}  // namespace

int main(int argc, char** argv) {
    const int rundy = LiczbaRund(argc, argv, 3);
    if (rundy == 0) return 2;
    const std::string pakiet = GenerujPakiet(Wersja, RozmiarPakietu::Pelny);
    std::vector<std::string> teksty;
    for (const int k : Krotnosci) {
        std::string tekst;
        for (int i = 0; i < k; ++i) tekst += pakiet;
        teksty.push_back(std::move(tekst));
    }
    const auto pozycja = std::find(KatalogWersji.begin(), KatalogWersji.end(), Wersja);
    ProcesSerwera serwer(std::string(*(pozycja - 1)));
    ZastosujPakiet(serwer.Logowanie(), pakiet, Wersja);  // not counted: warms up

    std::vector<std::vector<double>> cpu(teksty.size()), sciana(teksty.size());
    for (int runda = 0; runda < rundy; ++runda) {
        for (std::size_t j = 0; j < teksty.size(); ++j) {
            // Which size goes first turns from round to round.
            const std::size_t n = (j + static_cast<std::size_t>(runda)) % teksty.size();
            const double megabajty = static_cast<double>(teksty[n].size()) / 1e6;
            const Czasy t = Zmierz([&] { ZastosujPakiet(serwer.Logowanie(), teksty[n], Wersja); });
            cpu[n].push_back(t.cpu * 1e3 / megabajty);
            sciana[n].push_back(t.sciana * 1e3 / megabajty);
        }
    }
    for (std::size_t n = 0; n < teksty.size(); ++n)
        std::printf("%dx (%zu bytes): cpu %.2f ms/MB, wall %.2f ms/MB\n", Krotnosci[n],
                    teksty[n].size(), Mediana(cpu[n]), Mediana(sciana[n]));
    std::printf("cpu_per_mb_4x_vs_1x=%.2f\n", Mediana(cpu[2]) / Mediana(cpu[0]));
    std::printf("wall_per_mb_4x_vs_1x=%.2f\n", Mediana(sciana[2]) / Mediana(sciana[0]));
    return 0;
}
