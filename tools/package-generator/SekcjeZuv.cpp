// The sections of the system's own objects: ZUV, and those of the web site, the PPC client and
// the web service.

#include <algorithm>

#include "SekcjeObiektow.h"

namespace generator {

namespace {

bool JestFunkcja(const ObiektBazy& o) {
    return o.rodzaj == RodzajObiektu::FunkcjaSkalarna ||
           o.rodzaj == RodzajObiektu::FunkcjaTabelaryczna ||
           o.rodzaj == RodzajObiektu::FunkcjaWbudowana;
}

template <typename Warunek>
void Dopisz(std::vector<ObiektBazy>& cel, const std::vector<ObiektBazy>& zrodlo, Warunek warunek) {
    std::copy_if(zrodlo.begin(), zrodlo.end(), std::back_inserter(cel), warunek);
}

LiczbyObiektow Reszta(LiczbyObiektow razem, LiczbyObiektow reczne) {
    return {razem.procedury - reczne.procedury, razem.funkcje - reczne.funkcje,
            razem.wyzwalacze - reczne.wyzwalacze};
}

void PiszSekcjeSzablonowa(Kontekst& k, std::string_view tytul, Obszar obszar,
                          LiczbyObiektow liczby) {
    std::vector<ObiektBazy> obiekty = ObiektySzablonowe(obszar, liczby, {});
    if (obiekty.empty()) throw std::logic_error("Pusta sekcja pakietu");
    obiekty.front().komentarz = TekstRamki(tytul) + obiekty.front().komentarz;
    PiszObiekty(k, obiekty);
}

}  // namespace

LiczbyObiektow ObiektyReczneZuv(const PlanPakietu& plan) {
    return {plan.konwersjaZnakow ? 3 : 2, 1, 2};
}

ObiektBazy ProceduraKonwersjiZnakow() {
    ObiektBazy o;
    o.nazwa = "pc_KONWERSJA_ZNAKOW_IMPORTU";
    o.definicja = R"(CREATE PROCEDURE dbo.pc_KONWERSJA_ZNAKOW_IMPORTU
  @P_TEKST VARCHAR(4000) OUTPUT
{SZYFROWANIE}
AS
BEGIN
  -- Pliki importu bywają zapisane w ISO 8859-2 albo w stronie kodowej 852. Odczytane jako
  -- strona 1250 zmieniają kilka wielkich liter w inne znaki; zamiana przywraca litery.
  IF @P_TEKST IS NULL
    RETURN 0

  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, '¦', 'Ś')
  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, '¬', 'Ź')
  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, 'ˇ', 'Ą')
  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, 'ť', 'Ł')
  RETURN 0
END)";
    return o;
}

void PiszSekcjeZuv(Kontekst& k) {
    const PlanPakietu& plan = k.plan;
    const std::vector<ObiektBazy> zSzablonow = ObiektySzablonowe(
        Obszar::Zuv, Reszta(plan.zuv, ObiektyReczneZuv(plan)),
        {plan.proceduryZGeneracja, plan.funkcjeZGeneracja, plan.wyzwalaczeZGeneracja});
    std::vector<ObiektBazy> procedury;
    Dopisz(procedury, zSzablonow,
           [](const ObiektBazy& o) { return o.rodzaj == RodzajObiektu::Procedura; });

    std::vector<ObiektBazy> obiekty;
    obiekty.push_back(FunkcjaWersjiSerwera(plan.wariantWersjiSerwera));
    Dopisz(obiekty, zSzablonow, JestFunkcja);
    obiekty.push_back(ProceduraAktualizacjiSesji());
    if (plan.konwersjaZnakow) obiekty.push_back(ProceduraKonwersjiZnakow());
    const auto polowa = procedury.begin() + static_cast<std::ptrdiff_t>(procedury.size() / 2);
    obiekty.insert(obiekty.end(), procedury.begin(), polowa);
    obiekty.push_back(ProceduraSlownikaGrupSrodkow(plan.pelny));
    obiekty.insert(obiekty.end(), polowa, procedury.end());
    obiekty.push_back(WyzwalaczDokumentow());
    obiekty.push_back(WyzwalaczElementowDokumentow());
    Dopisz(obiekty, zSzablonow,
           [](const ObiektBazy& o) { return o.rodzaj == RodzajObiektu::Wyzwalacz; });

    std::string naglowek = TekstRamki("-- PROCEDURY ZUV");
    if (plan.zdanieOMinSql)
        naglowek +=
            "-- Obiekty wymagające serwera MS SQL 2005 są oznaczone w nagłówku znacznikiem "
            "$MIN_SQL_2005.\n";
    obiekty.front().komentarz = naglowek + obiekty.front().komentarz;
    PiszObiekty(k, obiekty);
}

void PiszSekcjeWww(Kontekst& k) {
    PiszSekcjeSzablonowa(k, "-- PROCEDURY ZUV WWW", Obszar::Www, k.plan.www);
}
void PiszSekcjePpc(Kontekst& k) {
    PiszSekcjeSzablonowa(k, "-- PROCEDURY ZUV PPC", Obszar::Ppc, k.plan.ppc);
}
void PiszSekcjeWs(Kontekst& k) {
    PiszSekcjeSzablonowa(k, "-- PROCEDURY ZUV WS", Obszar::Ws, k.plan.ws);
}

}  // namespace generator
