#pragma once
// The main window as designed, whatever window system shows it: its title and place on the
// screen, where each control lies (in pixels at 96 dots per inch in a client area of 642 x 523,
// the outer 650 x 550 with the frame of the design) and how each follows a resize. Controls are
// named as the window names them (the Qt object name; the Windows window maps the names to its
// control ids). Plain arithmetic, so that it is tested without a window.

#include <span>
#include <string_view>

namespace zuv {

inline constexpr const char* TytulOkna = "Zbiorcza aktualizacja systemu ZUV 8.1 - 11.5";
// The window's outer top left corner where designed, not centred.
inline constexpr int LewaKrawedzOknaProjektu = 322;
inline constexpr int GornaKrawedzOknaProjektu = 124;

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
    Wypelnia,    // every edge: grows with the width and the height
    Dol,         // left, right and bottom edges: docked to the bottom, grows with the width
};

struct PolozenieKontrolki {
    const char* nazwa;
    Prostokat projekt;
    Kotwica kotwica;
};

// Every control of the window with its designed place in the window's client coordinates (the
// group boxes' contents already moved there), each after the one it lies in.
std::span<const PolozenieKontrolki> PolozeniaKontrolek();

// The control of that name; null when the design has none.
const PolozenieKontrolki* ZnajdzPolozenie(std::string_view nazwa);

// The rectangle of a control in a client area of the given size (in pixels at `dpi`), the
// design scaled by dpi / 96.
Prostokat Uloz(const PolozenieKontrolki& kontrolka, int szerokoscKlienta, int wysokoscKlienta,
               int dpi);

// A length of the design in pixels at `dpi`, rounded to the nearest pixel.
int Skaluj(int dlugosc, int dpi);

// Where a window's frame goes so that it lies inside the screen's work area: its place kept
// where it fits, otherwise moved in, its top left corner kept visible first.
Prostokat WObszarzeRoboczym(const Prostokat& ramka, const Prostokat& obszar);

}  // namespace zuv
