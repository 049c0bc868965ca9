#include "ZastosowaniePakietu.h"

#include "common/Linie.h"
#include "db/PolaczenieODBC.h"
#include "packages/PrzetwarzanieSTR.h"

using namespace zuv;

void ZastosujPakiet(const DaneLogowania& logowanie, std::string_view pakiet,
                    std::string_view wersja) {
    PolaczenieODBC polaczenie;
    polaczenie.UstawDaneLogowania(logowanie);
    polaczenie.Otworz();
    ListaLinii linie;
    linie.UstawTekst(pakiet);
    TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, linie, true, nullptr, wersja);
    polaczenie.Zamknij();
}
