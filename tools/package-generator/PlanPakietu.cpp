#include "PlanPakietu.h"

#include <algorithm>
#include <cmath>

#include "FiguryPakietow.h"
#include "SekcjeObiektow.h"

namespace generator {

std::optional<std::size_t> PozycjaWKatalogu(std::string_view wersja) {
    for (std::size_t i = 0; i < zuv::KatalogWersji.size(); ++i)
        if (zuv::KatalogWersji[i] == wersja) return i;
    return std::nullopt;
}

namespace {

int Czesc(int calosc, int licznik, int mianownik) {
    return static_cast<int>(std::lround(static_cast<double>(calosc) * licznik / mianownik));
}

void Sprawdz(bool warunek, const char* co) {
    if (!warunek) throw std::logic_error(std::string("Niespójny plan pakietu: ") + co);
}

// The sections other than ZUV take the shares they have in 11.5.0.6; ZUV takes the rest.
void PodzielObiektyPelne(PlanPakietu& p, const FiguryPakietu& f) {
    p.wzorAplikacji = {Czesc(f.procedury, 61, 1259), Czesc(f.funkcje, 10, 79), 4};
    p.www = {Czesc(f.procedury, 160, 1259), Czesc(f.funkcje, 6, 79), 0};
    p.ppc = {Czesc(f.procedury, 31, 1259), 0, 1};
    p.ws = {Czesc(f.procedury, 45, 1259), 0, 0};
    p.zuv = {f.procedury - p.wzorAplikacji.procedury - p.www.procedury - p.ppc.procedury -
                 p.ws.procedury,
             f.funkcje - p.wzorAplikacji.funkcje - p.www.funkcje,
             f.wyzwalacze - p.wzorAplikacji.wyzwalacze - p.ppc.wyzwalacze};
}

// The sample keeps the growth of the real packages at a 65th of the procedures and a tenth of
// the functions; of the triggers it keeps the hand-written ones and those added over time.
void PodzielObiektyProbne(PlanPakietu& p, const FiguryPakietu& f) {
    const int procedury = Czesc(f.procedury, 1, 65);
    const int funkcje = Czesc(f.funkcje, 1, 10);
    const int wyzwalacze = f.wyzwalacze - 53;
    p.wzorAplikacji = {3, 1, 1};
    p.www = {2, 1, 0};
    p.ppc = {1, 0, 1};
    p.ws = {2, 0, 0};
    p.zuv = {procedury - 8, funkcje - 2, wyzwalacze - 2};
}

}  // namespace

PlanPakietu UstalPlan(std::size_t pozycja, RozmiarPakietu rozmiar) {
    const FiguryPakietu& f = FiguryWersji(pozycja);
    PlanPakietu p;
    p.pozycja = pozycja;
    p.wersja = std::string(zuv::KatalogWersji[pozycja]);
    p.poprzednia =
        std::string(pozycja == 0 ? zuv::WersjaPrzedKatalogiem : zuv::KatalogWersji[pozycja - 1]);
    p.pelny = rozmiar == RozmiarPakietu::Pelny;

    p.samotneCR = !p.Od("11.1.0.0");
    p.noweRaiserror = p.Od("11.1.0.0");
    p.wariantWersjiSerwera = p.Od("11.1.0.0") ? 3 : p.Od("8.9.0.9") ? 2 : 1;
    p.stanWyzwalaczy = p.Od("10.5.0.5");
    p.konwersjaZnakow = p.Od("9.4.0.6");
    p.zdanieOMinSql = p.wersja == "9.1.0.2";

    // How the measured generation-marked batches split by kind.
    const int funkcjeZGeneracja = p.Od("10.11.0.7")  ? 9
                                  : p.Od("10.5.0.5") ? 7
                                  : p.Od("9.6.0.26") ? 2
                                                     : 0;
    const int wyzwalaczeZGeneracja = p.Od("9.6.0.26") ? 1 : 0;
    p.aktualizacjeZGeneracja = p.wersja == "9.6.0.26" ? 3 : 0;
    p.kolekcjeXmlWAktualizacji = p.wersja == "9.3.0.6" ? 2 : 0;
    const int xsdZnaczone = f.partieZGeneracja - f.proceduryZGeneracja - funkcjeZGeneracja -
                            wyzwalaczeZGeneracja - p.aktualizacjeZGeneracja -
                            p.kolekcjeXmlWAktualizacji;
    p.partieXsdNieznaczone = p.wersja == "11.5.0.6" ? 9 : 0;
    const int wszystkieObiekty = f.procedury + f.funkcje + f.wyzwalacze;
    // Every batch but the opening, copy, file-version and closing ones is an object pair, an
    // XML schema collection batch or a batch of the update section.
    const int aktualizacjeZmierzone = f.separatoryGO + f.separatorygo - 4 - 2 * wszystkieObiekty -
                                      xsdZnaczone - p.partieXsdNieznaczone;
    const int specjalneAktualizacje = p.kolekcjeXmlWAktualizacji + p.aktualizacjeZGeneracja;
    const int plikiPelne = 37 + 21 * static_cast<int>(std::min(pozycja, Pozycja("10.8.0.5"))) /
                                    static_cast<int>(Pozycja("10.8.0.5"));

    // The rarer separator forms, spread over the set as the real packages have them: "GO" with
    // one blank 216 times (six in each of the first 21 packages, five in the others), with 5, 6
    // and 7 blanks once each, "go" with 23 blanks twice, and "go" with one blank once in every
    // package but two, besides the one in front of the closing batch.
    p.separatoryGOZeSpacja = pozycja < 21 ? 6 : 5;
    p.blankiPoDlugimGO = p.wersja == "8.4.0.0"    ? 5
                         : p.wersja == "9.5.0.10" ? 6
                         : p.wersja == "10.9.0.5" ? 7
                                                  : 0;
    p.goPo23Blankach = p.wersja == "8.7.0.7" || p.wersja == "10.2.0.2";
    p.dodatkoweGoZeSpacja = p.wersja != "11.1.0.0" && p.wersja != "11.2.0.1";

    if (p.pelny) {
        PodzielObiektyPelne(p, f);
        p.proceduryZGeneracja = f.proceduryZGeneracja;
        p.funkcjeZGeneracja = funkcjeZGeneracja;
        p.wyzwalaczeZGeneracja = wyzwalaczeZGeneracja;
        p.partieAktualizacji = aktualizacjeZmierzone;
        p.partieXsdZnaczone = xsdZnaczone;
        p.plikiKlienta = plikiPelne;
        p.malePartieAktualizacji = std::min(p.partieAktualizacji, f.separatorygo - 3);
        p.malePartieObiektow = f.separatorygo - 3 - p.malePartieAktualizacji;
        p.doceloweBajty = f.bajty;
        p.doceloweWiersze = f.wiersze;
    } else {
        PodzielObiektyProbne(p, f);
        // A tenth of the marked procedures, at least one where the real package has any; every
        // kind of marked batch the real package has, a few of each.
        p.proceduryZGeneracja = (f.proceduryZGeneracja + 9) / 10;
        p.funkcjeZGeneracja = std::min(funkcjeZGeneracja, 2);
        p.wyzwalaczeZGeneracja = wyzwalaczeZGeneracja;
        // At least the eight batches of one round of changes, where the real section has any,
        // growing slowly with the real section.
        const int zwykle = aktualizacjeZmierzone - specjalneAktualizacje;
        p.partieAktualizacji = (zwykle == 0 ? 0 : std::max(8, std::min(zwykle, 8 + zwykle / 16))) +
                               specjalneAktualizacje;
        p.partieXsdZnaczone = xsdZnaczone > 0 ? std::max(2, xsdZnaczone / 10) : 0;
        p.plikiKlienta = 6 + (plikiPelne - 37) / 7;
        p.malePartieAktualizacji = p.partieAktualizacji;
        // The framework section is written with "go", the rest with "GO".
        p.malePartieObiektow = 2 * p.wzorAplikacji.Razem() + 1;
    }
    p.partieObiektow = 2 * (p.wzorAplikacji.Razem() + p.zuv.Razem() + p.www.Razem() +
                            p.ppc.Razem() + p.ws.Razem()) +
                       1 + p.partieXsdZnaczone + p.partieXsdNieznaczone;

    const LiczbyObiektow reczneWzoru = ObiektyReczneWzoruAplikacji(p);
    const LiczbyObiektow reczneZuv = ObiektyReczneZuv(p);
    Sprawdz(p.wzorAplikacji.procedury >= reczneWzoru.procedury &&
                p.wzorAplikacji.funkcje >= reczneWzoru.funkcje &&
                p.wzorAplikacji.wyzwalacze >= reczneWzoru.wyzwalacze,
            "obiekty wzoru aplikacji");
    Sprawdz(p.zuv.procedury - reczneZuv.procedury >= p.proceduryZGeneracja &&
                p.zuv.funkcje - reczneZuv.funkcje >= p.funkcjeZGeneracja &&
                p.zuv.wyzwalacze - reczneZuv.wyzwalacze >= p.wyzwalaczeZGeneracja,
            "obiekty ZUV");
    Sprawdz(p.partieAktualizacji >= specjalneAktualizacje && p.malePartieObiektow >= 0 &&
                p.malePartieAktualizacji >= 0,
            "partie");
    Sprawdz(!p.goPo23Blankach || p.malePartieAktualizacji >= 2, "go z 23 blankami");
    Sprawdz(!p.dodatkoweGoZeSpacja || p.malePartieAktualizacji > 0 || p.malePartieObiektow > 0,
            "go z blankiem");
    return p;
}

}  // namespace generator
