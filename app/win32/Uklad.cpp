#include "app/win32/Uklad.h"

#include "app/win32/Identyfikatory.h"

namespace zuv {

namespace {

// The log-in group and the update group; their controls lie relative to them.
constexpr int LogX = 136, LogY = 24;
constexpr int AktX = 136, AktY = 184;
// The button panel is docked to the bottom edge.
constexpr int PanelY = WysokoscProjektu - WysokoscPaneluPrzyciskow;

constexpr PolozenieKontrolki Polozenia[] = {
    {idk::pnlAktualiacjaInfo, {1, 1, 640, 20}, Kotwica::Szerokosc},
    {idk::labWersje, {8, 24, 121, 13}, Kotwica::Brak},
    {idk::lstWersje, {8, 40, 121, 436}, Kotwica::Wysokosc},
    {idk::gbxLogowanie, {LogX, LogY, 369, 153}, Kotwica::Brak},
    // Right-aligned labels ending at 92; one line of the font is 13 pixels high.
    {idk::labSerwer, {LogX + 8, LogY + 28, 84, 13}, Kotwica::Brak},
    {idk::labBaza, {LogX + 8, LogY + 52, 84, 13}, Kotwica::Brak},
    {idk::labUzytk, {LogX + 8, LogY + 76, 84, 13}, Kotwica::Brak},
    {idk::labHaslo, {LogX + 8, LogY + 100, 84, 13}, Kotwica::Brak},
    {idk::edbSerwer, {LogX + 104, LogY + 24, 121, 21}, Kotwica::Brak},
    {idk::edbBaza, {LogX + 104, LogY + 48, 121, 21}, Kotwica::Brak},
    {idk::edbUzytk, {LogX + 104, LogY + 72, 121, 21}, Kotwica::Brak},
    {idk::edbHaslo, {LogX + 104, LogY + 96, 121, 21}, Kotwica::Brak},
    {idk::btnLoguj, {LogX + 264, LogY + 96, 75, 25}, Kotwica::Brak},
    {idk::gbxAktualizacja, {AktX, AktY, 369, 145}, Kotwica::Brak},
    // The version line wraps inside the group, up to four lines, so the version stays in view
    // whatever the length of the server's and the database's names.
    {idk::labAktualnaWersja, {AktX + 24, AktY + 40, 369 - 24 - 8, 52}, Kotwica::Brak},
    {idk::btnAktualizuj, {AktX + 264, AktY + 104, 75, 25}, Kotwica::Brak},
    {idk::btnZamknij, {561, PanelY + 8, 75, 25}, Kotwica::PrawyDolny},
};

}  // namespace

std::span<const PolozenieKontrolki> PolozeniaKontrolek() { return Polozenia; }

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
    }
    return wynik;
}

}  // namespace zuv
