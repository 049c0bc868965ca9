#pragma once
// Where the controls of the main window lie: their designed rectangles in pixels at 96 dots per
// inch in a client area of 642 x 523 (the outer 650 x 550 with the frame of the design), and how
// each follows a resize. Plain arithmetic, so that it is tested without a window.

#include <span>

namespace zuv {

inline constexpr int SzerokoscProjektu = 642;
inline constexpr int WysokoscProjektu = 523;
inline constexpr int SzerokoscOknaProjektu = 650;
inline constexpr int WysokoscOknaProjektu = 550;
inline constexpr int WysokoscPaneluPrzyciskow = 41;

struct Prostokat {
    int x, y, szerokosc, wysokosc;
    bool operator==(const Prostokat&) const = default;
};

// How a rectangle follows the client area when it differs from the design's.
enum class Kotwica {
    Brak,        // keeps its place and size
    Szerokosc,   // left, top and right edges: grows with the width
    Wysokosc,    // left, top and bottom edges: grows with the height
    PrawyDolny,  // right and bottom edges: moves with the bottom right corner
};

struct PolozenieKontrolki {
    int id;
    Prostokat projekt;
    Kotwica kotwica;
};

// Every control of the window with its designed place (the group boxes' contents already moved
// to the window's coordinates).
std::span<const PolozenieKontrolki> PolozeniaKontrolek();

// The rectangle of a control in a client area of the given size (in pixels at `dpi`), the
// design scaled by dpi / 96.
Prostokat Uloz(const PolozenieKontrolki& kontrolka, int szerokoscKlienta, int wysokoscKlienta,
               int dpi);

// A length of the design in pixels at `dpi`, rounded to the nearest pixel.
int Skaluj(int dlugosc, int dpi);

}  // namespace zuv
