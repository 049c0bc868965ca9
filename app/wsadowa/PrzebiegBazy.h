#pragma once
// One database of the unattended program, from log-in to the closing text, through the update
// service: the log-in, the plan, the question, the run on the calling thread, and what each of
// them returned worded for a console; its progress and a stop brought from the program's own
// thread.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/usluga/Dziennik.h"
#include "app/usluga/PlanAktualizacji.h"
#include "app/usluga/PrzebiegAktualizacji.h"
#include "app/wsadowa/KonsolaBazy.h"
#include "app/wsadowa/ListaBaz.h"
#include "db/PolaczenieODBC.h"

namespace zuv {

// Exit codes, the worst of all databases being the program's.
namespace KodWyjscia {
inline constexpr int Zaktualizowana = 0;  // brought up to date, or nothing to do
inline constexpr int Odmowa = 1;  // the bound checks, the question answered No, or the database
                                  // being updated from another session
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
    std::vector<PakietPlanu> doWykonania;                 // --sprawdz: the packages due
    std::string blad;  // what ended it other than success, as printed
    int kod = KodWyjscia::Przerwana;
    double sekundy = 0;
    bool rozpoczeta = false;
};

// A short Polish word for a result in the closing table.
std::string OpisWyniku(const WynikBazy& wynik);

struct UstawieniaBazy {
    bool sprawdz = false;
    OdpowiedzNaPytanie odpowiedz = OdpowiedzNaPytanie::Nie;
    std::string sciezkaDziennika;
};

class PrzebiegBazy {
  public:
    PrzebiegBazy(const BazaDoAktualizacji& baza, std::size_t numer, std::string przedrostek,
                 const UstawieniaBazy& ustawienia, Wydruk& wydruk);
    PrzebiegBazy(const PrzebiegBazy&) = delete;
    PrzebiegBazy& operator=(const PrzebiegBazy&) = delete;

    // The whole database on the calling thread; never throws.
    void Wykonaj() noexcept;
    // From the program's thread while Wykonaj runs: the status line, and a stop (the package
    // running is rolled back whole, nothing further starts). Tyknij gives what to tell when a stop
    // has gone unanswered for PrzebiegAktualizacji::CzasNaPrzerwanie: the program is then to end
    // the session itself by ending, and the server rolls back what it left open.
    std::optional<std::string> Tyknij();
    void Przerwij();
    // From the program's thread, when it ends without waiting for Wykonaj: the result as it
    // stands (a database still under way counts as stopped, with `powod`), journalled.
    WynikBazy WynikPorzucony(const std::string& powod);
    // After Wykonaj, or for a database that never started.
    const WynikBazy& Wynik() const noexcept { return wynik_; }
    // The first failure to write this database's journal lines, after Wykonaj.
    std::optional<std::string> BladDziennika() const { return dziennik_.BladZapisu(); }

  private:
    void Przebieg();
    void Sprawdz(const PlanAktualizacji& plan);
    void Aktualizuj(PlanAktualizacji plan);
    void Zakoncz(const WynikPrzebiegu& przebieg);
    void Niepowodzenie(int kod, const std::string& tekst);

    DaneLogowania dane_;
    WynikBazy wynik_;
    UstawieniaBazy ustawienia_;
    KonsolaBazy konsola_;
    Dziennik dziennik_;
    PolaczenieODBC conn_;
    // The run under way, for the program's thread; under blokada_.
    std::mutex blokada_;
    PrzebiegAktualizacji* przebieg_ = nullptr;
    std::atomic<bool> przerwanie_ = false;
    std::atomic<bool> zakonczona_ = false;  // Wykonaj has set its result
};

}  // namespace zuv
