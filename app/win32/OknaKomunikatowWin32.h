#pragma once
// The program's message boxes as the real Windows message box, owned by the main window: the
// window is disabled while a box is open, and the box comes up over it.

#include <windows.h>

#include "app/OknaKomunikatow.h"

namespace zuv {

class OknaKomunikatowWin32 : public OknaKomunikatow {
  public:
    // The owner of every later box; until it is set, boxes have no owner.
    void UstawWlasciciela(HWND wlasciciel) { wlasciciel_ = wlasciciel; }
    int Pokaz(const std::string& tekst, const std::string& tytul, int styl) override;

  private:
    HWND wlasciciel_ = nullptr;
};

}  // namespace zuv
