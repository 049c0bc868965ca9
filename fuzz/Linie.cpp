// Loading a text as lines, against the rule read plainly: a line ends at CR LF, a lone CR or a
// lone LF; a NUL byte ends the text; a text ending in a break has no empty last line. The CR LF
// form of a command text follows the same lines.
#include "common/Linie.h"

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/Wspolne.h"

using namespace zuv;

namespace {

std::vector<std::string> LiniePoProstu(std::string_view tekst) {
    std::vector<std::string> linie;
    std::string linia;
    bool otwarta = false;
    for (std::size_t i = 0; i < tekst.size() && tekst[i] != '\0'; ++i) {
        const char znak = tekst[i];
        if (znak == '\r' || znak == '\n') {
            linie.push_back(linia);
            linia.clear();
            otwarta = false;
            if (znak == '\r' && i + 1 < tekst.size() && tekst[i + 1] == '\n') ++i;
            continue;
        }
        linia += znak;
        otwarta = true;
    }
    if (otwarta) linie.push_back(linia);
    return linie;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string_view tekst(reinterpret_cast<const char*>(dane), rozmiar);
    ListaLinii lista;
    lista.UstawTekst(tekst);
    const std::vector<std::string> oczekiwane = LiniePoProstu(tekst);
    Wymagaj(lista.Liczba() == oczekiwane.size(), "liczba linii");
    std::string zCrLf;
    for (std::size_t i = 0; i < oczekiwane.size(); ++i) {
        Wymagaj(lista[i] == oczekiwane[i], "treść linii");
        zCrLf += oczekiwane[i] + "\r\n";
    }
    Wymagaj(ZLiniamiCrLf(tekst) == zCrLf, "tekst z liniami CR LF");
    Wymagaj(MaLinieCrLf(tekst) == (!zCrLf.empty() && zCrLf == tekst), "tekst już w liniach CR LF");
    return 0;
}
