#pragma once
// One database of the unattended program, from log-in to the closing text, through the update
// service: the log-in, the plan, the question, the run on the calling thread, and what each of
// them returned worded for a console; its progress and a stop brought from the program's own
// thread.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
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
// --sprawdz: packages are due. A database's code only: the program gives it when no database
// ended with any of the codes above but 0 (ZbiorczyKodWyjscia).
inline constexpr int DoAktualizacji = 6;
}  // namespace KodWyjscia

struct WynikBazy {
    std::string serwer;
    std::string baza;
    std::string uzytkownik;
    std::string wersjaPrzed;                              // empty when never read
    std::string wersjaPo;                                 // empty when not known
    std::string wersjaDocelowa;                           // the plan's last; empty without one
    std::vector<std::pair<std::string, double>> pakiety;  // committed, with seconds
    std::vector<PakietPlanu> doWykonania;                 // --sprawdz: the packages due
    std::vector<std::string> ostrzezenia;  // the checks before the run (KontrolaBazy)
    std::string blad;                      // what ended it other than success, as printed
    // Where a failure or a stop met a package: its version and batch (0 outside a batch).
    std::string pakietBledu;
    std::int32_t operacjaBledu = 0;
    int kod = KodWyjscia::Przerwana;
    bool zablokowana = false;  // Odmowa: another session holds the update lock
    double sekundy = 0;
    bool rozpoczeta = false;
    std::chrono::system_clock::time_point poczatek;  // when begun and ended, if it was
    std::chrono::system_clock::time_point koniec;
};

// A short Polish word for a result in the closing table ("błąd pakietu"), and the same result as
// a stable ASCII code for machines ("blad_pakietu").
std::string OpisWyniku(const WynikBazy& wynik);
std::string KodWyniku(const WynikBazy& wynik);

// The program's exit code: the worst database's code of 0 to 5, and 6 when that is 0 and some
// database has packages due.
int ZbiorczyKodWyjscia(const std::vector<const WynikBazy*>& wyniki);

struct UstawieniaBazy {
    bool sprawdz = false;
    std::string doWersji;  // the last version to apply; empty: the catalogue's last
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
    // The checks before the run, printed and journalled; false when the connection was lost
    // meanwhile (the result then says so).
    bool Skontroluj();
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
