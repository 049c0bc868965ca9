#include "packages/PakietyZasoby.h"

#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "packages/ZasobyProgramu.h"

void WczytajZasob(std::string_view nazwa, ListaLinii& linie) {
    const std::optional<std::string_view> dane = ZnajdzZasob(nazwa);
    if (!dane) throw EResNotFound(Formatuj("Resource %s not found", {nazwa}));
    linie.UstawTekst(*dane);
}
