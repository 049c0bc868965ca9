#include "PartieStale.h"

#include <string>

#include "packages/format/PartiaOtwierajaca.h"

namespace generator {

namespace {

// The closing batch was laid out with seven-character versions and padded to a common width; a
// longer version makes its line longer by the difference.
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
    // The package format's own text, already in code page 1250 and padded.
    const auto forma =
        k.plan.noweRaiserror ? zuv::FormaRaiserror::Waga16 : zuv::FormaRaiserror::Numer13000;
    for (const std::string& wiersz :
         zuv::PartiaOtwierajaca(k.plan.wersja, k.plan.poprzednia, forma))
        k.pisarz.WierszCp1250(wiersz);
    k.pisarz.Separator(SeparatorOtwarcia());
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
