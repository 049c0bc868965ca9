// The separator test and the cutting of lines into batches, against the rules read plainly: a
// separator trims (bytes 0 to 32) to "GO" in any case; a batch is CR LF and a line for each line
// since the previous separator; lines after the last separator are never handed on.
#include <cstdint>
#include <string>
#include <vector>

#include "common/Tekst.h"
#include "fuzz/Wspolne.h"
#include "packages/format/FormatPakietu.h"

using namespace zuv;

namespace {

bool SeparatorPoProstu(std::string_view linia) {
    const std::string_view t = Przytnij(linia);
    return t.size() == 2 && (t[0] == 'G' || t[0] == 'g') && (t[1] == 'O' || t[1] == 'o');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    ListaLinii linie;
    linie.UstawTekst(std::string_view(reinterpret_cast<const char*>(dane), rozmiar));

    std::vector<std::string> oczekiwane;
    std::string partia;
    for (const std::string_view linia : linie) {
        const bool separator = SeparatorPoProstu(linia);
        Wymagaj(JestSeparatorem(linia) == separator, "test separatora");
        if (separator) {
            oczekiwane.push_back(partia);
            partia.clear();
        } else {
            partia += "\r\n" + std::string(linia);
        }
    }
    Wymagaj(LiczbaSeparatorow(linie) == static_cast<std::int32_t>(oczekiwane.size()),
            "liczba separatorów");

    std::size_t i = 0;
    PodzielNaPartie(linie, [&](std::string& p, std::int32_t numer) {
        Wymagaj(i < oczekiwane.size() && p == oczekiwane[i], "treść partii");
        Wymagaj(numer == static_cast<std::int32_t>(i + 1), "numer partii");
        ++i;
        p += "zmiana, którą następna partia nie może odziedziczyć";
    });
    Wymagaj(i == oczekiwane.size(), "liczba partii");
    return 0;
}
