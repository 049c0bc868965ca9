#pragma once
// One database of the unattended program, from log-in to the closing text, through the same
// update command as the window: the window's "Loguj" and "Aktualizuj" pressed in turn, the run on
// the calling thread, its progress and a stop brought from the program's own thread.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/Dziennik.h"
#include "app/PolecenieAktualizacji.h"
#include "app/wsadowa/WidokKonsoli.h"
#include "db/PolaczenieODBC.h"

namespace zuv {

// Exit codes, the worst of all databases being the program's.
namespace KodWyjscia {
inline constexpr int Zaktualizowana = 0;  // brought up to date, or nothing to do
inline constexpr int Odmowa = 1;          // the bound checks, or the question answered No
inline constexpr int BladPakietu = 2;     // a package failed and was rolled back
inline constexpr int BladPolaczenia = 3;  // log-in or connection failed
inline constexpr int BladArgumentow = 4;  // bad arguments or list; nothing ran
inline constexpr int Przerwana = 5;       // stopped by Ctrl+C or SIGTERM
}  // namespace KodWyjscia

struct WynikBazy {
    std::string serwer;
    std::string baza;
    std::string uzytkownik;
    std::string wersjaPrzed;                              // empty when never read
    std::string wersjaPo;                                 // empty when not known
    std::vector<std::pair<std::string, double>> pakiety;  // committed, with seconds
    std::string blad;  // what ended it other than success, as printed
    int kod = KodWyjscia::Przerwana;
    double sekundy = 0;
    bool rozpoczeta = false;
};

// A short Polish word for a result in the closing table.
std::string OpisWyniku(const WynikBazy& wynik);

struct UstawieniaPrzebiegu {
    bool sprawdz = false;
    OdpowiedzNaPytanie odpowiedz = OdpowiedzNaPytanie::Nie;
    std::string sciezkaDziennika;
};

class PrzebiegBazy {
  public:
    PrzebiegBazy(BazaDoAktualizacji baza, std::size_t numer, std::string przedrostek,
                 const UstawieniaPrzebiegu& ustawienia, Wydruk& wydruk);
    PrzebiegBazy(const PrzebiegBazy&) = delete;
    PrzebiegBazy& operator=(const PrzebiegBazy&) = delete;

    // The whole database on the calling thread; never throws.
    void Wykonaj() noexcept;
    // From the program's thread while Wykonaj runs: the strip's progress, and a stop (the package
    // running is rolled back whole, nothing further starts).
    void Tyknij();
    void Przerwij();
    // After Wykonaj, or for a database that never started.
    const WynikBazy& Wynik() const noexcept { return wynik_; }

  private:
    void Sprawdz();
    void Aktualizuj();

    WynikBazy wynik_;
    UstawieniaPrzebiegu ustawienia_;
    WidokKonsoli widok_;
    Dziennik dziennik_;
    PolaczenieODBC conn_;
    PolecenieAktualizacji polecenie_;
    // Held around the command's window-thread steps, which the program's thread also takes.
    std::mutex blokada_;
    bool wToku_ = false;  // between Wykonaj's start and end; under blokada_
    std::atomic<bool> przerwanie_ = false;
};

}  // namespace zuv
