#pragma once
// The program's message boxes on Qt: a dialog with the icon of the style (stop, exclamation or
// information), the text, and OK or Tak and Nie, modal to the whole program, over and centred on
// the main window. The whole text is always shown: a line that fits three quarters of the screen
// stays unbroken, a longer one is wrapped (ZawinTekst) to fit it.

#include <QDialog>
#include <QPointer>
#include <memory>

#include "app/OknaKomunikatow.h"

class QScreen;

namespace zuv {

class OknaKomunikatowQt : public OknaKomunikatow {
  public:
    // The window the boxes belong to; until it is set, the active window.
    void UstawOknoGlowne(QWidget* okno) { oknoGlowne_ = okno; }

    int Pokaz(const std::string& tekst, const std::string& tytul, int styl) override;

  private:
    QPointer<QWidget> oknoGlowne_;
};

// The box as Pokaz shows it, for a screen area `szerokoscEkranu` pixels wide and
// `wysokoscEkranu` high (0: no limit), not yet shown. Its text label is named "tekst"; a text too
// tall for the area scrolls inside "przewijanie", the buttons staying in view. The dialog's result
// is the answer (OdpowiedzKomunikatu).
std::unique_ptr<QDialog> UtworzOknoKomunikatu(const std::string& tekst, const std::string& tytul,
                                              int styl, QWidget* rodzic, int szerokoscEkranu,
                                              int wysokoscEkranu = 0);

}  // namespace zuv
