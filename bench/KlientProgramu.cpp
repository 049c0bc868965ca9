// The program's side of bench_wykonanie in a process of its own, for the instruction count: one
// package applied as the program applies it (ZastosujPakiet). It carries no linked-in packages:
// valgrind cannot load an executable with hundreds of megabytes of data.
//   bench_klient_programu SERVER PACKAGE-FILE VERSION   (the bench server's database and login)
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>

#include "ProcesSerwera.h"
#include "ZastosowaniePakietu.h"

namespace {

// Kept out of line: the instruction count collects this function and what it calls, not what the
// process does to start.
[[gnu::noinline]] void KlientProgramu(const zuv::DaneLogowania& logowanie,
                                      const std::string& pakiet, const std::string& wersja) {
    ZastosujPakiet(logowanie, pakiet, wersja);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_klient_programu SERVER PACKAGE-FILE VERSION\n");
        return 2;
    }
    std::ifstream plik(argv[2], std::ios::binary);
    const std::string pakiet((std::istreambuf_iterator<char>(plik)),
                             std::istreambuf_iterator<char>());
    try {
        KlientProgramu({argv[1], "ZUV", "sa", ProcesSerwera::Haslo}, pakiet, argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_klient_programu: %s\n", e.what());
        return 1;
    }
    return 0;
}
