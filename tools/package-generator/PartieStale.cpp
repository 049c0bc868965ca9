#include "PartieStale.h"

#include <string>

namespace generator {

namespace {

// The fixed batches were laid out with seven-character versions and padded to a common width;
// a longer version makes its line longer by the difference.
constexpr std::string_view WzorWersji = "#.#.#.#";

void WierszZWersja(PisarzPakietu& pisarz, std::string_view wzor, std::string_view wersja,
                   std::size_t szerokosc) {
    std::string wiersz(wzor);
    const std::size_t miejsce = wiersz.find(WzorWersji);
    if (miejsce == std::string::npos) {
        pisarz.WierszDoSzerokosci(wiersz, szerokosc);
        return;
    }
    wiersz.replace(miejsce, WzorWersji.size(), wersja);
    const std::size_t roznica = wersja.size() - WzorWersji.size();
    pisarz.WierszDoSzerokosci(wiersz, szerokosc + roznica);
}

}  // namespace

void PiszPartieOtwierajaca(Kontekst& k) {
    constexpr std::size_t Szerokosc = 86;
    PisarzPakietu& p = k.pisarz;
    p.WierszDoSzerokosci(
        "-- Sprawdzenie, czy baza jest w wersji, dla której przeznaczona jest ta aktualizacja",
        Szerokosc);
    p.WierszDoSzerokosci("declare @wersja            T_KONFIG_ST_WARTOSC", Szerokosc);
    p.WierszDoSzerokosci("declare @wersja_aktualna   T_KONFIG_ST_WARTOSC", Szerokosc);
    p.WierszDoSzerokosci("declare @wersja_poprzednia T_KONFIG_ST_WARTOSC", Szerokosc);
    p.WierszDoSzerokosci("declare @errmsg            varchar(255)", Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    WierszZWersja(p, "set @wersja_aktualna   = '#.#.#.#'", k.plan.wersja, Szerokosc);
    WierszZWersja(p, "set @wersja_poprzednia = '#.#.#.#'", k.plan.poprzednia, Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    p.WierszDoSzerokosci("select @wersja = rtrim(ltrim(wartosc))", Szerokosc);
    p.WierszDoSzerokosci("  from dbo.konfig_st", Szerokosc);
    p.WierszDoSzerokosci(" where grupa = 'WERSJE'", Szerokosc);
    p.WierszDoSzerokosci("   and nazwa = 'TERVO_WERSJA'", Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    p.WierszDoSzerokosci("if @wersja is null", Szerokosc);
    p.WierszDoSzerokosci("  set @wersja = '0.0.0.0'", Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    p.WierszDoSzerokosci(
        "if @wersja <> rtrim(ltrim(@wersja_aktualna)) and @wersja <> "
        "rtrim(ltrim(@wersja_poprzednia))",
        Szerokosc);
    p.WierszDoSzerokosci("begin", Szerokosc);
    p.WierszDoSzerokosci(
        "  set @errmsg = 'Wersja systemu: ' + @wersja + char(13) + char(10) + 'Aktualizacja jest "
        "przeznaczona dla wersji ' + @wersja_poprzednia",
        Szerokosc);
    p.WierszDoSzerokosci(
        k.plan.noweRaiserror ? "  raiserror(@errmsg, 16, 1)" : "  raiserror 13000 @errmsg",
        Szerokosc);
    p.WierszDoSzerokosci("end", Szerokosc);
    p.Separator(SeparatorOtwarcia());
}

void PiszPartieZamykajaca(Kontekst& k) {
    constexpr std::size_t Szerokosc = 78;
    PisarzPakietu& p = k.pisarz;
    const bool nowe = k.plan.noweRaiserror;
    const std::string rama = "-- " + std::string(75, '=');
    p.WierszDoSzerokosci(rama, Szerokosc);
    p.WierszDoSzerokosci("-- Zapisanie wersji systemu ZUV", Szerokosc);
    p.WierszDoSzerokosci(rama, Szerokosc);
    p.WierszDoSzerokosci("declare @error int, @rowcount int", Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    p.WierszDoSzerokosci("update dbo.konfig_st", Szerokosc);
    WierszZWersja(p, "   set wartosc = '#.#.#.#'", k.plan.wersja, Szerokosc);
    p.WierszDoSzerokosci(" where grupa = 'WERSJE'", Szerokosc);
    p.WierszDoSzerokosci("   and nazwa = 'TERVO_WERSJA'", Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    p.WierszDoSzerokosci("select @error = @@error, @rowcount = @@rowcount", Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    p.WierszDoSzerokosci("if @error <> 0", Szerokosc);
    p.WierszDoSzerokosci(
        nowe ? "  raiserror('Wystąpił błąd podczas zmiany wersji systemu ZUV.', 16, 1)"
             : "  raiserror 13000 'Wystąpił błąd podczas zmiany wersji systemu ZUV.'",
        Szerokosc);
    p.WierszDoSzerokosci("", Szerokosc);
    p.WierszDoSzerokosci("if @rowcount <> 1", Szerokosc);
    p.WierszDoSzerokosci(nowe ? "  raiserror('Zmiana wersji systemu ZUV nie powiodła się.', 16, 1)"
                              : "  raiserror 13000 'Zmiana wersji systemu ZUV nie powiodła się.'",
                         Szerokosc);
    p.Separator(SeparatorKoncowy());
}

}  // namespace generator
