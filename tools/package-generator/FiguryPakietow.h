#pragma once
// The measured figures of the real packages, which the full-size mode reproduces.

#include <cstddef>
#include <string_view>

namespace generator {

struct FiguryPakietu {
    std::string_view wersja;
    long bajty;
    long wiersze;
    int samotneCR;
    int separatoryGO;  // "GO" with or without blanks after it
    int separatorygo;  // "go" with or without blanks after it
    int partieZSzyfrowaniem;
    int partieZGeneracja;
    int procedury;
    int funkcje;
    int wyzwalacze;
    int proceduryZGeneracja;
};

// Figures of the catalogue entry `indeks` (position in KatalogWersji).
const FiguryPakietu& FiguryWersji(std::size_t indeks);

}  // namespace generator
