// The main window's layout: designed places at 96 dots per inch, scaling, and how the controls
// follow a resize.
#include <gtest/gtest.h>

#include <string>

#include "app/win32/Identyfikatory.h"
#include "app/win32/Uklad.h"

using namespace zuv;

namespace {

Prostokat Polozenie(int id, int szerokosc, int wysokosc, int dpi) {
    for (const PolozenieKontrolki& kontrolka : PolozeniaKontrolek())
        if (kontrolka.id == id) return Uloz(kontrolka, szerokosc, wysokosc, dpi);
    ADD_FAILURE() << "no control " << id;
    return {};
}

}  // namespace

TEST(Uklad, ControlsLieWhereDesignedAndFollowTheWindow) {
    const struct {
        const char* nazwa;
        int id;
        int szerokosc, wysokosc, dpi;
        Prostokat oczekiwany;
    } przypadki[] = {
        {"catalogue as designed", idk::lstWersje, 642, 523, 96, {8, 40, 121, 436}},
        {"catalogue in a taller window", idk::lstWersje, 642, 623, 96, {8, 40, 121, 536}},
        {"catalogue in a wider window", idk::lstWersje, 842, 523, 96, {8, 40, 121, 436}},
        {"Zamknij as designed", idk::btnZamknij, 642, 523, 96, {561, 490, 75, 25}},
        {"Zamknij keeps the bottom right corner",
         idk::btnZamknij,
         742,
         623,
         96,
         {661, 590, 75, 25}},
        {"strip as designed", idk::pnlAktualiacjaInfo, 642, 523, 96, {1, 1, 640, 20}},
        {"strip follows the width", idk::pnlAktualiacjaInfo, 800, 700, 96, {1, 1, 798, 20}},
        {"server field relative to its group", idk::edbSerwer, 642, 523, 96, {240, 48, 121, 21}},
        {"Loguj stays when resized", idk::btnLoguj, 900, 900, 96, {400, 120, 75, 25}},
        {"Aktualizuj inside the update group",
         idk::btnAktualizuj,
         642,
         523,
         96,
         {400, 288, 75, 25}},
        {"labels end at 92 in their group", idk::labUzytk, 642, 523, 96, {144, 100, 84, 13}},
        {"150% scales every length", idk::btnLoguj, 963, 785, 144, {600, 180, 113, 38}},
        {"150% catalogue grows from the scaled design",
         idk::lstWersje,
         963,
         885,
         144,
         {12, 60, 182, 754}},
        {"200% Zamknij", idk::btnZamknij, 1284, 1046, 192, {1122, 980, 150, 50}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Polozenie(p.id, p.szerokosc, p.wysokosc, p.dpi), p.oczekiwany);
    }
}

TEST(Uklad, EveryControlFitsTheDesignedClientArea) {
    for (const PolozenieKontrolki& k : PolozeniaKontrolek()) {
        SCOPED_TRACE(k.id);
        EXPECT_GE(k.projekt.x, 0);
        EXPECT_LE(k.projekt.x + k.projekt.szerokosc, SzerokoscProjektu);
        EXPECT_LE(k.projekt.y + k.projekt.wysokosc, WysokoscProjektu);
    }
}
