// The encryption marker, against the rule read plainly: the first occurrence, found with both
// texts in capitals (a to z), replaced by "WITH ENCRYPTION"; the rest of the batch unchanged.
#include <cstdint>
#include <string>

#include "fuzz/Wspolne.h"
#include "packages/format/FormatPakietu.h"

using namespace zuv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string wejscie(reinterpret_cast<const char*>(dane), rozmiar);
    std::string wielkie = wejscie;
    for (char& znak : wielkie)
        if (znak >= 'a' && znak <= 'z') znak = static_cast<char>(znak - 'a' + 'A');
    const std::size_t pozycja = wielkie.find(ZnacznikSzyfrowania);
    std::string oczekiwane = wejscie;
    if (pozycja != std::string::npos)
        oczekiwane.replace(pozycja, ZnacznikSzyfrowania.size(), KlauzulaSzyfrowania);

    std::string partia = wejscie;
    const bool zamieniono = ZamienZnacznikSzyfrowania(partia);
    Wymagaj(zamieniono == (pozycja != std::string::npos), "czy znaleziono znacznik");
    Wymagaj(partia == oczekiwane, "partia po zamianie");
    return 0;
}
