#pragma once
// What an update of a database would do, decided from the version it records and the catalogue
// before anything is sent: the bound checks against the catalogue's first and last entries, and
// the packages due with their sizes and operation counts. Each front end words the verdict.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "packages/KatalogPakietow.h"

namespace zuv {

struct PakietPlanu {
    std::string wersja;         // the catalogue entry, exactly as the catalogue holds it
    std::size_t bajty = 0;      // the package's size
    std::int64_t operacje = 0;  // its separator lines
};

struct PlanAktualizacji {
    enum class Werdykt {
        DoWykonania,     // packages are due
        Najwyzsza,       // the recorded version is at or above the catalogue's last entry
        PonizejZakresu,  // below its first entry
        Niepoprawna,     // not a version text: the conversion error says why
    };
    Werdykt werdykt = Werdykt::Niepoprawna;
    std::string wersja;    // the recorded version, as read
    std::string pierwsza;  // the catalogue's first and last entries
    std::string ostatnia;
    // Najwyzsza: the recorded version lies above the last entry, not at it: the database
    // belongs to a newer program (or, with a target, has gone past it).
    bool powyzejOstatniej = false;
    // Planned to a target version (ZaplanujDoWersji): `ostatnia` is the target, not the
    // catalogue's last entry.
    bool doWersjiDocelowej = false;
    std::vector<PakietPlanu> pakiety;  // DoWykonania: in catalogue order
    std::string blad;                  // Niepoprawna: the conversion error's message

    std::size_t Bajty() const noexcept;
    std::int64_t Operacje() const noexcept;
    // The warning of Najwyzsza and PonizejZakresu; empty otherwise.
    std::string Ostrzezenie() const;
};

// The verdict for the recorded version `wersja` (as read, never normalised) against `katalog`
// (ascending, at least one entry), the packages' sizes and operations counted in `pakiety`. The
// bound checks come in this order: at or above the last entry, then below the first; a malformed
// text is Niepoprawna with the conversion error's message. Due are the entries at or above the
// recorded version in version order that differ from it as text.
PlanAktualizacji Zaplanuj(const std::string& wersja, const std::vector<std::string>& katalog,
                          const KatalogPakietow& pakiety = PakietyProgramu());

// As Zaplanuj, up to the catalogue entry `docelowa` (which must be one, WersjaWKatalogu): the
// packages above it are left out, and a database at the target or above it gets Najwyzsza with
// the target's own warning.
PlanAktualizacji ZaplanujDoWersji(const std::string& wersja,
                                  const std::vector<std::string>& katalog,
                                  const std::string& docelowa,
                                  const KatalogPakietow& pakiety = PakietyProgramu());

// Whether `wersja` is an entry of `katalog`, exactly as the catalogue writes it.
bool WersjaWKatalogu(const std::vector<std::string>& katalog, const std::string& wersja);

// The program's catalogue (versions/KatalogWersji.h) as texts.
std::vector<std::string> KatalogProgramu();

// The bound checks' warnings: the recorded version at or above the catalogue's last entry, and
// below its first; and at a target version or (`powyzej`) above it.
std::string TekstWersjiNajwyzszej(const std::string& aktualna, const std::string& ostatnia);
std::string TekstWersjiDocelowej(const std::string& aktualna, const std::string& docelowa,
                                 bool powyzej);
std::string TekstWersjiPonizejZakresu(const std::string& aktualna, const std::string& pierwsza);

// The catalogue entries a run from the recorded version `aktualna` applies, in catalogue order:
// every entry at or above it in version order that differs from it as text.
std::vector<std::string> PakietyDoWykonania(const std::vector<std::string>& katalog,
                                            const std::string& aktualna);

// The size in bytes of the package of a catalogue version; nothing when there is no such package.
std::optional<std::size_t> RozmiarPakietu(const std::string& wersja,
                                          const KatalogPakietow& pakiety = PakietyProgramu());

// The number of operations (separator lines) of the package of a catalogue version, counted on
// its bytes without loading it; 0 when there is no such package.
std::int64_t LiczbaOperacjiPakietu(const std::string& wersja,
                                   const KatalogPakietow& pakiety = PakietyProgramu());

}  // namespace zuv
