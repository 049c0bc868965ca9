#pragma once
// What the update command needs of the main window, whatever window system shows it: the four
// log-in values, the version line and the update group, the catalogue list, the message boxes and
// the information strip. The window implements these over its controls; the command reads and
// writes them only on the window's thread.

#include <cstdint>
#include <string>

#include "app/OknaKomunikatow.h"
#include "packages/KontrolkaPostepu.h"

namespace zuv {

// The log-in fields, read afresh at every use (UTF-8, exactly as typed).
class PolaLogowania {
  public:
    virtual ~PolaLogowania() = default;
    virtual std::string Serwer() const = 0;
    virtual std::string Baza() const = 0;
    virtual std::string Uzytkownik() const = 0;
    virtual std::string Haslo() const = 0;
};

// The update group: the line with the recorded version and the group's visibility.
class GrupaAktualizacji {
  public:
    virtual ~GrupaAktualizacji() = default;
    virtual void UstawTekstWersji(const std::string& tekst) = 0;
    virtual void PokazGrupe(bool widoczna) = 0;
};

// The catalogue as the window lists it.
class ListaWersji {
  public:
    virtual ~ListaWersji() = default;
    virtual int LiczbaWersji() const = 0;
    virtual std::string Wersja(int indeks) const = 0;
};

// The information strip: the runner's texts and colour, and behind the text a fill that shows
// how many operations of a run are done. `wszystkie` 0 removes the fill.
class PasekInformacyjny : public KontrolkaPostepu {
  public:
    virtual void UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) = 0;
    // Back to the system's window colour: a run that starts wipes the pink of an earlier failure,
    // which would otherwise report a failure that did not happen.
    virtual void PrzywrocKolor() = 0;
};

// The window as the command sees it; every part must outlive the command.
struct WidokOkna {
    PolaLogowania& pola;
    GrupaAktualizacji& grupa;
    ListaWersji& wersje;
    OknaKomunikatow& komunikaty;
    PasekInformacyjny& pasek;
};

}  // namespace zuv
