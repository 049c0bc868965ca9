#pragma once
// Where the parts of a message box lie and how its text breaks into lines. The box is as wide as
// its longest line needs, at most three quarters of the work area of its monitor: a line that
// fits stays whole, a longer one breaks at blanks, and a word longer than the box anywhere. The
// box lies centred on its owner and is then moved inside the work area; a text taller than the
// work area allows scrolls, the buttons staying in view. Plain arithmetic over a measure of the
// text, so that it is tested without a window.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/OknaKomunikatow.h"
#include "app/okno/Uklad.h"

namespace zuv {

// The width in pixels of a text in the box's font.
using MiaraTekstu = std::function<int(std::wstring_view)>;

struct WarunkiKomunikatu {
    Prostokat obszarRoboczy;  // the work area of the owner's monitor, in screen pixels
    Prostokat wlasciciel;     // the owner's window; the work area for a box without one
    int dpi = 96;
    int wysokoscLinii = 13;      // one line of the box's font
    int szerokoscPaska = 17;     // the vertical scroll bar
    int ramkaX = 0, ramkaY = 0;  // the frame and the caption: outer minus client size
    int liczbaPrzyciskow = 1;
    bool ikona = false;
};

struct UkladKomunikatu {
    std::vector<std::wstring> linie;   // the text as wrapped (app/okno/ZawijanieTekstu.h)
    Prostokat okno;                    // outer, in screen pixels
    Prostokat tekst;                   // in the client area, with the scroll bar if any
    Prostokat ikona;                   // in the client area; empty without an icon
    std::vector<Prostokat> przyciski;  // in the client area, left to right
    bool przewijanie = false;          // the text is taller than the box can show
    int szerokoscZawijania = 0;        // the width the text's lines are wrapped to
};

struct PrzyciskKomunikatu {
    int odpowiedz;  // OdpowiedzKomunikatu, also the button's control id
    const wchar_t* napis;
    bool operator==(const PrzyciskKomunikatu& inny) const {
        return odpowiedz == inny.odpowiedz && std::wstring_view(napis) == inny.napis;
    }
};

struct PrzyciskiKomunikatu {
    std::vector<PrzyciskKomunikatu> przyciski;  // left to right
    int domyslny = OdpowiedzKomunikatu::Ok;     // the answer of Enter
    int naEscape = OdpowiedzKomunikatu::Ok;     // the answer of Esc and of the close button
};

// The buttons of a box of the style (StylKomunikatu): OK, or Tak and Nie with Tak the default
// unless DrugiDomyslny; Esc answers Nie where there is one, as no box of the program has Cancel.
PrzyciskiKomunikatu Przyciski(int styl);

// The box for a text: its lines and every rectangle.
UkladKomunikatu UlozKomunikat(std::wstring_view tekst, const MiaraTekstu& miara,
                              const WarunkiKomunikatu& warunki);

// The rectangles of a box whose text, wrapped to `szerokoscZawijania`, has `liczbaLinii` lines
// (as the control that shows it counts them); `linie` stays empty.
UkladKomunikatu UlozKomunikat(int szerokoscZawijania, int liczbaLinii,
                              const WarunkiKomunikatu& warunki);

}  // namespace zuv
