#include "Kontekst.h"

namespace generator {

std::string TekstRamki(std::string_view tytul) {
    const std::string rama = "-- " + std::string(75, '=');
    return rama + "\n" + std::string(tytul) + "\n" + rama + "\n";
}

void PiszRamke(PisarzPakietu& pisarz, std::string_view tytul) { pisarz.Tekst(TekstRamki(tytul)); }

}  // namespace generator
