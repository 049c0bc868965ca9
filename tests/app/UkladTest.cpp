// The main window's layout: designed places at 96 dots per inch, scaling, and how the controls
// follow a resize.
#include <gtest/gtest.h>

#include <string>

#include "app/okno/Uklad.h"

using namespace zuv;

namespace {

Prostokat Polozenie(const char* nazwa, int szerokosc, int wysokosc, int dpi) {
    const PolozenieKontrolki* kontrolka = ZnajdzPolozenie(nazwa);
    if (kontrolka != nullptr) return Uloz(*kontrolka, szerokosc, wysokosc, dpi);
    ADD_FAILURE() << "no control " << nazwa;
    return {};
}

}  // namespace

TEST(Uklad, ControlsLieWhereDesignedAndFollowTheWindow) {
    const struct {
        const char* nazwa;
        const char* kontrolka;
        int szerokosc, wysokosc, dpi;
        Prostokat oczekiwany;
    } przypadki[] = {
        {"catalogue as designed", "lstWersje", 642, 523, 96, {8, 40, 121, 436}},
        {"catalogue in a taller window", "lstWersje", 642, 623, 96, {8, 40, 121, 536}},
        {"catalogue in a wider window", "lstWersje", 842, 523, 96, {8, 40, 121, 436}},
        {"Zamknij as designed", "btnZamknij", 642, 523, 96, {561, 490, 75, 25}},
        {"Zamknij keeps the bottom right corner", "btnZamknij", 742, 623, 96, {661, 590, 75, 25}},
        {"strip as designed", "pnlAktualiacjaInfo", 642, 523, 96, {1, 1, 640, 20}},
        {"strip follows the width", "pnlAktualiacjaInfo", 800, 700, 96, {1, 1, 798, 20}},
        {"server field relative to its group", "edbSerwer", 642, 523, 96, {240, 48, 121, 21}},
        {"Loguj stays when resized", "btnLoguj", 900, 900, 96, {400, 120, 75, 25}},
        {"Aktualizuj inside the update group", "btnAktualizuj", 642, 523, 96, {400, 288, 75, 25}},
        {"labels end at 92 in their group", "labUzytk", 642, 523, 96, {144, 100, 84, 13}},
        {"150% scales every length", "btnLoguj", 963, 785, 144, {600, 180, 113, 38}},
        {"150% catalogue grows from the scaled design",
         "lstWersje",
         963,
         885,
         144,
         {12, 60, 182, 754}},
        {"200% Zamknij", "btnZamknij", 1284, 1046, 192, {1122, 980, 150, 50}},
        {"update panel fills the rest", "pnlAktualizacja", 800, 700, 96, {0, 0, 800, 659}},
        {"button panel docked to the bottom", "pnlBtns", 800, 700, 96, {0, 659, 800, 41}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Polozenie(p.kontrolka, p.szerokosc, p.wysokosc, p.dpi), p.oczekiwany);
    }
}

TEST(Uklad, EveryControlFitsTheDesignedClientArea) {
    for (const PolozenieKontrolki& k : PolozeniaKontrolek()) {
        SCOPED_TRACE(k.nazwa);
        EXPECT_GE(k.projekt.x, 0);
        EXPECT_LE(k.projekt.x + k.projekt.szerokosc, SzerokoscProjektu);
        EXPECT_LE(k.projekt.y + k.projekt.wysokosc, WysokoscProjektu);
    }
}

TEST(Uklad, TheWindowMovesIntoTheWorkAreaOnlyWhereItDoesNotFit) {
    const Prostokat obszar{0, 0, 1024, 728};  // a 1024 x 768 screen less its taskbar
    const struct {
        const char* nazwa;
        Prostokat ramka, oczekiwany;
    } przypadki[] = {
        {"fits: the designed place", {322, 124, 650, 550}, {322, 124, 650, 550}},
        {"past the right and bottom edges", {500, 300, 650, 550}, {374, 178, 650, 550}},
        {"left of the area", {-40, 10, 650, 550}, {0, 10, 650, 550}},
        {"larger than the area: top left kept", {322, 124, 1300, 1100}, {0, 0, 1300, 1100}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(WObszarzeRoboczym(p.ramka, obszar), p.oczekiwany);
    }
    // A work area that does not begin at the screen's corner (a taskbar on top).
    EXPECT_EQ(WObszarzeRoboczym({322, 0, 650, 550}, {0, 40, 1024, 728}),
              (Prostokat{322, 40, 650, 550}));
}
