#pragma once
// What every section writer works with while one package is being written.

#include <string>
#include <string_view>

#include "PisarzPakietu.h"
#include "PlanPakietu.h"
#include "Separatory.h"
#include "Wypelnienie.h"

namespace generator {

struct Kontekst {
    const PlanPakietu& plan;
    PisarzPakietu& pisarz;
    Separatory& separatory;
    PrzydzialWypelnienia& wypelnienie;
};

// The three-line frame that opens a section: a line of equals signs, the title, another line.
std::string TekstRamki(std::string_view tytul);
void PiszRamke(PisarzPakietu& pisarz, std::string_view tytul);

}  // namespace generator
