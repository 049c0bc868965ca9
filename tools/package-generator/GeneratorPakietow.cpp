#include "GeneratorPakietow.h"

#include <stdexcept>

#include "KolekcjeXsd.h"
#include "PartieStale.h"
#include "SekcjaAktualizacji.h"
#include "SekcjeObiektow.h"
#include "WersjePlikow.h"

namespace generator {

namespace {

struct Szkic {
    std::string bajty;
    long long wiersze = 0;
    std::size_t odbiorcyWypelnienia = 0;
};

// Writes the sections in their order. `wypelnienie` holds the filler shares of the full-size
// package; without them the procedures get none.
Szkic Zloz(const PlanPakietu& plan, PrzydzialWypelnienia wypelnienie) {
    PisarzPakietu pisarz(plan.samotneCR);
    pisarz.Zarezerwuj(plan.pelny ? static_cast<std::size_t>(plan.doceloweBajty) + 4096 : 65536);
    Separatory separatory(plan);
    Kontekst k{plan, pisarz, separatory, wypelnienie};

    PiszPartieOtwierajaca(k);
    PiszSekcjeAktualizacji(k);
    PiszSekcjeWzoruAplikacji(k);
    if (plan.partieXsdZnaczone + plan.partieXsdNieznaczone > 0) PiszSekcjeXsd(k);
    PiszSekcjeZuv(k);
    PiszSekcjeWww(k);
    PiszSekcjePpc(k);
    PiszSekcjeWs(k);
    PiszWersjePlikow(k);
    PiszPartieZamykajaca(k);
    separatory.SprawdzWykorzystanie();
    const long long wiersze = pisarz.Wiersze();
    return {pisarz.Zabierz(), wiersze, wypelnienie.Wydane()};
}

// The real packages have 16 to 18 batches above 64 kB; the dictionary generator is one of them.
constexpr std::size_t DuzeProcedury = 16;

}  // namespace

std::string GenerujPakiet(std::string_view wersja, RozmiarPakietu rozmiar) {
    const std::optional<std::size_t> pozycja = PozycjaWKatalogu(wersja);
    if (!pozycja) throw std::invalid_argument("Wersja spoza katalogu: " + std::string(wersja));
    const PlanPakietu plan = UstalPlan(*pozycja, rozmiar);
    Szkic szkic = Zloz(plan, {});
    if (!plan.pelny) return std::move(szkic.bajty);

    // Measure the package without filler, then give the procedures what is missing.
    const Wypelnienie brakujace = {static_cast<long>(plan.doceloweWiersze - szkic.wiersze),
                                   plan.doceloweBajty - static_cast<long>(szkic.bajty.size())};
    szkic.bajty.clear();
    Szkic pelny = Zloz(plan, PrzydzialWypelnienia(RozdzielWypelnienie(
                                 brakujace, szkic.odbiorcyWypelnienia, DuzeProcedury)));
    if (pelny.wiersze != plan.doceloweWiersze ||
        static_cast<long>(pelny.bajty.size()) != plan.doceloweBajty)
        throw std::logic_error("Pakiet pełny nie ma zmierzonego rozmiaru");
    return std::move(pelny.bajty);
}

}  // namespace generator
