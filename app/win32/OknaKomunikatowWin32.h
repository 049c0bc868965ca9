#pragma once
// The program's message boxes, built by the program itself so that every one lies inside the
// work area of its monitor and shows its whole text at any density: centred on the main window,
// the text wrapped to the box (a word longer than the box broken anywhere) and scrolling where it
// is taller than the screen allows. What a person expects of the system's box stays: owned by
// the main window, which is disabled while the box is open; the caption, the icon and its sound;
// Polish buttons with the default of the style; Enter for the default, Esc for No or OK; Ctrl+C
// copies the box as the system's box does.

#include <windows.h>

#include "app/OknaKomunikatow.h"

namespace zuv {

class OknaKomunikatowWin32 : public OknaKomunikatow {
  public:
    // The owner of every later box; until it is set, boxes have no owner and lie centred in the
    // work area of the primary monitor.
    void UstawWlasciciela(HWND wlasciciel) { wlasciciel_ = wlasciciel; }
    int Pokaz(const std::string& tekst, const std::string& tytul, int styl) override;

  private:
    HWND wlasciciel_ = nullptr;
};

}  // namespace zuv
