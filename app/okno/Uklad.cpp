#include "app/okno/Uklad.h"

#include <algorithm>

namespace zuv {

namespace {

// The log-in group and the update group; their controls lie relative to them.
constexpr int LogX = 136, LogY = 24;
constexpr int AktX = 136, AktY = 184;
// The button panel is docked to the bottom edge.
constexpr int PanelY = WysokoscProjektu - WysokoscPaneluPrzyciskow;

constexpr PolozenieKontrolki Polozenia[] = {
    // The update panel fills the area above the button panel.
    {"pnlAktualizacja", {0, 0, SzerokoscProjektu, PanelY}, Kotwica::Wypelnia},
    {"pnlAktualiacjaInfo", {1, 1, 640, 20}, Kotwica::Szerokosc},
    {"labWersje", {8, 24, 121, 13}, Kotwica::Brak},
    {"lstWersje", {8, 40, 121, 436}, Kotwica::Wysokosc},
    {"gbxLogowanie", {LogX, LogY, 369, 153}, Kotwica::Brak},
    // Right-aligned labels ending at 92; one line of the font is 13 pixels high.
    {"labSerwer", {LogX + 8, LogY + 28, 84, 13}, Kotwica::Brak},
    {"labBaza", {LogX + 8, LogY + 52, 84, 13}, Kotwica::Brak},
    {"labUzytk", {LogX + 8, LogY + 76, 84, 13}, Kotwica::Brak},
    {"labHaslo", {LogX + 8, LogY + 100, 84, 13}, Kotwica::Brak},
    {"edbSerwer", {LogX + 104, LogY + 24, 121, 21}, Kotwica::Brak},
    {"edbBaza", {LogX + 104, LogY + 48, 121, 21}, Kotwica::Brak},
    {"edbUzytk", {LogX + 104, LogY + 72, 121, 21}, Kotwica::Brak},
    {"edbHaslo", {LogX + 104, LogY + 96, 121, 21}, Kotwica::Brak},
    {"btnLoguj", {LogX + 264, LogY + 96, 75, 25}, Kotwica::Brak},
    {"gbxAktualizacja", {AktX, AktY, 369, 145}, Kotwica::Brak},
    // The version line wraps inside the group, up to four lines, so the version stays in view
    // whatever the length of the server's and the database's names.
    {"labAktualnaWersja", {AktX + 24, AktY + 40, 369 - 24 - 8, 52}, Kotwica::Brak},
    {"btnAktualizuj", {AktX + 264, AktY + 104, 75, 25}, Kotwica::Brak},
    {"pnlBtns", {0, PanelY, SzerokoscProjektu, WysokoscPaneluPrzyciskow}, Kotwica::Dol},
    {"btnZamknij", {561, PanelY + 8, 75, 25}, Kotwica::PrawyDolny},
};

}  // namespace

std::span<const PolozenieKontrolki> PolozeniaKontrolek() { return Polozenia; }

const PolozenieKontrolki* ZnajdzPolozenie(std::string_view nazwa) {
    for (const PolozenieKontrolki& kontrolka : Polozenia)
        if (nazwa == kontrolka.nazwa) return &kontrolka;
    return nullptr;
}

int Skaluj(int dlugosc, int dpi) {
    const long long iloczyn = static_cast<long long>(dlugosc) * dpi;
    return static_cast<int>((iloczyn + (iloczyn >= 0 ? 48 : -48)) / 96);
}

Prostokat Uloz(const PolozenieKontrolki& kontrolka, int szerokoscKlienta, int wysokoscKlienta,
               int dpi) {
    const Prostokat& p = kontrolka.projekt;
    Prostokat wynik{Skaluj(p.x, dpi), Skaluj(p.y, dpi), Skaluj(p.szerokosc, dpi),
                    Skaluj(p.wysokosc, dpi)};
    const int nadmiarX = szerokoscKlienta - Skaluj(SzerokoscProjektu, dpi);
    const int nadmiarY = wysokoscKlienta - Skaluj(WysokoscProjektu, dpi);
    switch (kontrolka.kotwica) {
        case Kotwica::Brak:
            break;
        case Kotwica::Szerokosc:
            wynik.szerokosc += nadmiarX;
            break;
        case Kotwica::Wysokosc:
            wynik.wysokosc += nadmiarY;
            break;
        case Kotwica::PrawyDolny:
            wynik.x += nadmiarX;
            wynik.y += nadmiarY;
            break;
        case Kotwica::Wypelnia:
            wynik.szerokosc += nadmiarX;
            wynik.wysokosc += nadmiarY;
            break;
        case Kotwica::Dol:
            wynik.y += nadmiarY;
            wynik.szerokosc += nadmiarX;
            break;
    }
    return wynik;
}

Prostokat WObszarzeRoboczym(const Prostokat& ramka, const Prostokat& obszar) {
    // std::max last: a frame larger than the area keeps its top left corner in view.
    const int x =
        std::max(obszar.x, std::min(ramka.x, obszar.x + obszar.szerokosc - ramka.szerokosc));
    const int y =
        std::max(obszar.y, std::min(ramka.y, obszar.y + obszar.wysokosc - ramka.wysokosc));
    return {x, y, ramka.szerokosc, ramka.wysokosc};
}

}  // namespace zuv
