#pragma once
// What one package holds: the conventions that depend on its version and how many objects,
// batches and markers of each kind it carries, for the small sample or the full size.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "GeneratorPakietow.h"
#include "versions/KatalogWersji.h"

namespace generator {

// Position of a catalogue version; in constant expressions a version outside the catalogue
// does not compile.
constexpr std::size_t Pozycja(std::string_view wersja) {
    for (std::size_t i = 0; i < zuv::KatalogWersji.size(); ++i)
        if (zuv::KatalogWersji[i] == wersja) return i;
    throw std::logic_error("Wersja spoza katalogu");
}

std::optional<std::size_t> PozycjaWKatalogu(std::string_view wersja);

struct LiczbyObiektow {
    int procedury = 0;
    int funkcje = 0;
    int wyzwalacze = 0;
    int Razem() const { return procedury + funkcje + wyzwalacze; }
};

struct PlanPakietu {
    std::size_t pozycja = 0;
    std::string wersja;
    std::string poprzednia;  // the version the opening batch accepts besides its own
    bool pelny = false;

    // Conventions that change with the version.
    bool samotneCR = false;        // bare CRs, 8.1.0.0 to 10.17.0.3
    bool noweRaiserror = false;    // raiserror(@errmsg, 16, 1) in the fixed batches, 11.x
    int wariantWersjiSerwera = 1;  // the three forms of dbo.fn_WERSJA_MS_SQL()
    bool stanWyzwalaczy = false;   // the copy batch disables triggers by S_TABELE.STAN
    bool konwersjaZnakow = false;  // the import repair procedure with ¦ ¬ ˇ ť
    bool zdanieOMinSql = false;    // 9.1.0.2 names the generation marker in a comment

    // Objects by section, hand-written ones included.
    LiczbyObiektow wzorAplikacji, zuv, www, ppc, ws;
    int proceduryZGeneracja = 0;   // of the ZUV section
    int funkcjeZGeneracja = 0;     // of the ZUV section
    int wyzwalaczeZGeneracja = 0;  // of the ZUV section

    // Batches of the update section, the special ones below included.
    int partieAktualizacji = 0;
    int kolekcjeXmlWAktualizacji = 0;  // drop and create batches, 9.3.0.6
    int aktualizacjeZGeneracja = 0;    // marked statements, 9.6.0.26
    // Batches of the XML schema collection section.
    int partieXsdZnaczone = 0;
    int partieXsdNieznaczone = 0;  // the collections new in 11.5.0.6

    // Separators. The object sections run from the application framework to the web service.
    int partieObiektow = 0;
    int malePartieAktualizacji = 0;    // update batches ended by "go", the rest by "GO"
    int malePartieObiektow = 0;        // the first object batches ended by "go"
    int separatoryGOZeSpacja = 0;      // "GO" + 1 blank
    int blankiPoDlugimGO = 0;          // 5, 6 or 7 in one package each, else 0
    bool goPo23Blankach = false;       // "go" + 23 blanks
    bool dodatkoweGoZeSpacja = false;  // "go" + 1 blank besides the one before the closing batch

    int plikiKlienta = 0;

    // Full size: the totals to reach.
    long doceloweBajty = 0;
    long doceloweWiersze = 0;

    bool Od(std::string_view pierwsza) const { return pozycja >= Pozycja(pierwsza); }
    int PartieWszystkie() const { return partieAktualizacji + partieObiektow + 3; }
};

PlanPakietu UstalPlan(std::size_t pozycja, RozmiarPakietu rozmiar);

}  // namespace generator
