#include "app/usluga/PlanAktualizacji.h"

#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "packages/format/FormatPakietu.h"
#include "packages/format/NazwaPakietu.h"
#include "versions/KatalogWersji.h"
#include "versions/ObslugaWersji.h"

namespace zuv {

std::size_t PlanAktualizacji::Bajty() const noexcept {
    std::size_t bajty = 0;
    for (const PakietPlanu& pakiet : pakiety) bajty += pakiet.bajty;
    return bajty;
}

std::int64_t PlanAktualizacji::Operacje() const noexcept {
    std::int64_t operacje = 0;
    for (const PakietPlanu& pakiet : pakiety) operacje += pakiet.operacje;
    return operacje;
}

std::string PlanAktualizacji::Ostrzezenie() const {
    switch (werdykt) {
        case Werdykt::Najwyzsza:
            return doWersjiDocelowej ? TekstWersjiDocelowej(wersja, ostatnia, powyzejOstatniej)
                                     : TekstWersjiNajwyzszej(wersja, ostatnia);
        case Werdykt::PonizejZakresu:
            return TekstWersjiPonizejZakresu(wersja, pierwsza);
        case Werdykt::DoWykonania:
        case Werdykt::Niepoprawna:
            break;
    }
    return {};
}

PlanAktualizacji Zaplanuj(const std::string& wersja, const std::vector<std::string>& katalog,
                          const KatalogPakietow& pakiety) {
    if (katalog.empty()) throw EAssertionFailed("katalog wersji jest pusty", __FILE__, __LINE__);
    PlanAktualizacji plan;
    plan.wersja = wersja;
    plan.pierwsza = katalog.front();
    plan.ostatnia = katalog.back();
    try {
        if (WersjaWiekszaLubRowna(wersja, plan.ostatnia)) {
            plan.werdykt = PlanAktualizacji::Werdykt::Najwyzsza;
            plan.powyzejOstatniej = !WersjaWiekszaLubRowna(plan.ostatnia, wersja);
            return plan;
        }
        if (!WersjaWiekszaLubRowna(wersja, plan.pierwsza)) {
            plan.werdykt = PlanAktualizacji::Werdykt::PonizejZakresu;
            return plan;
        }
        for (std::string& pakiet : PakietyDoWykonania(katalog, wersja))
            plan.pakiety.push_back({pakiet, RozmiarPakietu(pakiet, pakiety).value_or(0),
                                    LiczbaOperacjiPakietu(pakiet, pakiety)});
    } catch (const EConvertError& blad) {
        plan.werdykt = PlanAktualizacji::Werdykt::Niepoprawna;
        plan.blad = blad.Komunikat();
        return plan;
    }
    plan.werdykt = PlanAktualizacji::Werdykt::DoWykonania;
    return plan;
}

PlanAktualizacji ZaplanujDoWersji(const std::string& wersja,
                                  const std::vector<std::string>& katalog,
                                  const std::string& docelowa, const KatalogPakietow& pakiety) {
    if (!WersjaWKatalogu(katalog, docelowa))
        throw EAssertionFailed("wersji docelowej nie ma w katalogu", __FILE__, __LINE__);
    std::vector<std::string> doDocelowej;
    for (const std::string& wpis : katalog) {
        doDocelowej.push_back(wpis);
        if (wpis == docelowa) break;
    }
    PlanAktualizacji plan = Zaplanuj(wersja, doDocelowej, pakiety);
    plan.doWersjiDocelowej = true;
    return plan;
}

bool WersjaWKatalogu(const std::vector<std::string>& katalog, const std::string& wersja) {
    for (const std::string& wpis : katalog)
        if (wpis == wersja) return true;
    return false;
}

std::vector<std::string> KatalogProgramu() {
    return std::vector<std::string>(KatalogWersji.begin(), KatalogWersji.end());
}

std::string TekstWersjiNajwyzszej(const std::string& aktualna, const std::string& ostatnia) {
    return Formatuj("Aktualna wersja %s jest większa lub równa maksymalnej dostępnej wersji %s.",
                    {aktualna, ostatnia});
}

std::string TekstWersjiDocelowej(const std::string& aktualna, const std::string& docelowa,
                                 bool powyzej) {
    if (!powyzej)
        return Formatuj("Aktualna wersja %s jest równa wersji docelowej %s.", {aktualna, docelowa});
    return Formatuj("Aktualna wersja %s jest większa od wersji docelowej %s.",
                    {aktualna, docelowa});
}

std::string TekstWersjiPonizejZakresu(const std::string& aktualna, const std::string& pierwsza) {
    return Formatuj("Aktualna wersja %s musi być większa lub równa minimalnej dostępnej wersji %s.",
                    {aktualna, pierwsza});
}

std::vector<std::string> PakietyDoWykonania(const std::vector<std::string>& katalog,
                                            const std::string& aktualna) {
    std::vector<std::string> wybrane;
    for (const std::string& wpis : katalog)
        if (WersjaWiekszaLubRowna(wpis, aktualna) && wpis != aktualna) wybrane.push_back(wpis);
    return wybrane;
}

std::optional<std::size_t> RozmiarPakietu(const std::string& wersja,
                                          const KatalogPakietow& pakiety) {
    const auto nazwa = NazwaPakietu(wersja);
    const auto dane = nazwa ? pakiety.Znajdz(*nazwa) : std::nullopt;
    if (!dane) return std::nullopt;
    return dane->size();
}

std::int64_t LiczbaOperacjiPakietu(const std::string& wersja, const KatalogPakietow& pakiety) {
    const auto nazwa = NazwaPakietu(wersja);
    const auto dane = nazwa ? pakiety.Znajdz(*nazwa) : std::nullopt;
    if (!dane) return 0;
    std::int64_t liczba = 0;
    PodzielNaLinie(*dane, [&](std::string_view linia) { liczba += JestSeparatorem(linia); });
    return liczba;
}

}  // namespace zuv
