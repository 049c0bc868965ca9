// package-generator --out DIR [--full] [--version V]
// Writes ZUV_<a>_<b>_<c>_<d>.sql for every catalogue version, or for the one given.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "GeneratorPakietow.h"
#include "versions/KatalogWersji.h"

using namespace generator;

namespace {

int Uzycie() {
    std::cerr << "Użycie: package-generator --out KATALOG [--full] [--version WERSJA]\n";
    return 2;
}

std::string NazwaPliku(std::string_view wersja) {
    std::string nazwa = "ZUV_";
    for (char c : wersja) nazwa += c == '.' ? '_' : c;
    return nazwa + ".sql";
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path katalog;
    RozmiarPakietu rozmiar = RozmiarPakietu::Probny;
    std::vector<std::string> wersje;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--out" && i + 1 < argc) {
            katalog = argv[++i];
        } else if (argument == "--full") {
            rozmiar = RozmiarPakietu::Pelny;
        } else if (argument == "--version" && i + 1 < argc) {
            wersje.emplace_back(argv[++i]);
        } else {
            return Uzycie();
        }
    }
    if (katalog.empty()) return Uzycie();
    if (wersje.empty()) wersje.assign(zuv::KatalogWersji.begin(), zuv::KatalogWersji.end());

    try {
        std::filesystem::create_directories(katalog);
        for (const std::string& wersja : wersje) {
            const std::string pakiet = GenerujPakiet(wersja, rozmiar);
            const std::filesystem::path sciezka = katalog / NazwaPliku(wersja);
            std::ofstream plik(sciezka, std::ios::binary | std::ios::trunc);
            plik.write(pakiet.data(), static_cast<std::streamsize>(pakiet.size()));
            if (!plik) throw std::runtime_error("Nie można zapisać pliku " + sciezka.string());
        }
    } catch (const std::exception& e) {
        std::cerr << "package-generator: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
