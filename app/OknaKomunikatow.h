#pragma once
// The message box of the program, with the contract of the Windows message box: a text, a
// caption and a style in, the button pressed out. The window and the default error handler show
// every box through this interface; tests put a scripted replacement in its place.

#include <string>

namespace zuv {

namespace StylKomunikatu {
inline constexpr int Ok = 0;                // MB_OK
inline constexpr int TakNie = 4;            // MB_YESNO
inline constexpr int IkonaStop = 16;        // MB_ICONSTOP
inline constexpr int IkonaWykrzyknik = 48;  // MB_ICONEXCLAMATION
inline constexpr int IkonaInformacja = 64;  // MB_ICONINFORMATION
inline constexpr int DrugiDomyslny = 256;   // MB_DEFBUTTON2: the second button (No) is the default
}  // namespace StylKomunikatu

namespace OdpowiedzKomunikatu {
inline constexpr int Ok = 1;   // IDOK
inline constexpr int Tak = 6;  // IDYES
inline constexpr int Nie = 7;  // IDNO
}  // namespace OdpowiedzKomunikatu

class OknaKomunikatow {
  public:
    virtual ~OknaKomunikatow() = default;
    // Shows a box modal to the program, over and centred on the main window (texts in UTF-8),
    // and returns the button pressed.
    virtual int Pokaz(const std::string& tekst, const std::string& tytul, int styl) = 0;
};

}  // namespace zuv
