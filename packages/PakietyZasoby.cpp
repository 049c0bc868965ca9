#include "packages/PakietyZasoby.h"

#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "packages/KatalogPakietow.h"

namespace zuv {

void WczytajZasob(std::string_view nazwa, ListaLinii& linie) {
    WczytajZasob(PakietyProgramu(), nazwa, linie);
}

void WczytajZasob(const KatalogPakietow& pakiety, std::string_view nazwa, ListaLinii& linie) {
    const std::optional<std::string_view> dane = pakiety.Znajdz(nazwa);
    if (!dane) throw EResNotFound(Formatuj("Resource %s not found", {nazwa}));
    // The previous content is released before the new one is built, so that two packages' lines
    // never take memory at the same time even when a caller reuses its list.
    linie = ListaLinii();
    linie.UstawTekst(*dane);
}

}  // namespace zuv
