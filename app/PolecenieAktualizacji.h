#pragma once
// The main window's commands without any window system: logging in and reading the recorded
// version, and the update command (bound checks, question, the run, closing message). The work
// is the update service's (app/usluga/): the command asks the person, shows what the service
// returns, and raises its errors. It reaches the window only through WidokOkna and works over the
// connection it is given, which it opens and closes but does not own.
//
// A window keeps its event loop turning while the server is awaited: each press that has
// something to do gives a ZadanieWTle, which the window runs on a thread of its own and ends on
// its own thread (app/okno/SzkieletOkna.h does this for every window). Every other call is made
// on the window's thread; every error of a handler is raised to the window's default error
// handler, and the program goes on running.

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "app/InterfejsyOkna.h"
#include "app/PasekZPamiecia.h"
#include "app/usluga/Dziennik.h"
#include "app/usluga/PlanAktualizacji.h"
#include "app/usluga/PrzebiegAktualizacji.h"
#include "db/DaneLogowania.h"
#include "db/Polaczenie.h"
#include "packages/KatalogPakietow.h"

namespace zuv {

class PolecenieAktualizacji;

// One call to the server made off the window's thread: a log-in, a version read or an update run.
// Only the command makes one, when a press has something to do. Wykonaj runs once, on any
// thread; then Zakoncz once, on the window's thread. Until Zakoncz the command refuses every
// other press (WTrakcie or WZadaniu) and the connection belongs to Wykonaj's thread alone.
class ZadanieWTle {
  public:
    enum class Rodzaj { Logowanie, OdczytWersji, Przebieg };

    // The call itself; never throws: an error is kept for Zakoncz.
    void Wykonaj() noexcept;
    // Window's thread, while Wykonaj runs: the run's latest progress copied into the strip;
    // whether anything changed.
    bool Postep();
    // Window's thread, once Wykonaj has returned: the result shown or the error raised. A
    // version read whose question was confirmed gives the run that is due next.
    [[nodiscard]] std::optional<ZadanieWTle> Zakoncz();
    Rodzaj Jakie() const noexcept { return rodzaj_; }

  private:
    friend class PolecenieAktualizacji;
    ZadanieWTle(PolecenieAktualizacji& polecenie, Rodzaj rodzaj)
        : polecenie_(&polecenie), rodzaj_(rodzaj) {}

    PolecenieAktualizacji* polecenie_;
    Rodzaj rodzaj_;
};

class PolecenieAktualizacji {
  public:
    // `dziennik`: where the command records its events (log-ins, the question, each package, the
    // run's end); none when null. `pakiety`: where the packages come from, the program's own
    // unless a test gives others. Both must outlive the command.
    PolecenieAktualizacji(Polaczenie& conn, WidokOkna widok, Dziennik* dziennik = nullptr,
                          const KatalogPakietow& pakiety = PakietyProgramu());
    PolecenieAktualizacji(const PolecenieAktualizacji&) = delete;
    PolecenieAktualizacji& operator=(const PolecenieAktualizacji&) = delete;

    // Closes the connection when it is open.
    void Rozlacz();
    // The recorded version as the server gives it (text, number in decimal, NULL as empty);
    // EDatabaseError "Odczyt wersji systemu ZUV dla bazy %s.%s nie powiódł się." unless exactly
    // one row comes back, with a line saying whether there was none or several.
    std::string OdczytajWersje();
    std::string PierwszaWersja() const;
    std::string OstatniaWersja() const;

    // "Loguj" for a window that keeps its event loop turning while the server answers: hides
    // the group, takes the log-in values and says on the strip what is awaited ("Logowanie do
    // serwera %s..."). The log-in and the version read are the call given; its end puts the
    // strip's text back and shows the version line and the group, or raises the error. Nothing
    // during a run or another call.
    [[nodiscard]] std::optional<ZadanieWTle> RozpocznijLogowanie();
    // Closes the connection and gives true. During a run it asks whether to stop it; Yes stops it
    // (PrzerwijPrzebieg) and the window is to close once the run has ended (ZamknijPoPrzebiegu);
    // it gives false then, and after No.
    bool FormClose();
    // Window's thread, during a run: the package running is stopped and rolled back whole (a
    // batch the server is executing is cancelled); committed packages stay. The run's end then
    // says "Aktualizacja przerwana. Baza danych jest w wersji %s." with the version read again.
    void PrzerwijPrzebieg();
    // Whether the window is to close now that the run has ended (a stop asked for on closing).
    bool ZamknijPoPrzebiegu() const noexcept {
        return zamknijPoPrzebiegu_ && !wTrakcie_ && !wZadaniu_;
    }
    // Whether a close or the system's request came during a log-in or a version read: nothing
    // is open on the server to roll back, so the window may end the program now instead of
    // waiting for the driver (up to its log-in time-out), and the call's end shows nothing.
    bool PorzucZadanie() const noexcept { return porzucone_ && wZadaniu_; }
    // Window's thread: the system asks the program to end (Ctrl+C, SIGTERM, the session ending).
    // Outside a run it closes the connection and gives true: the window closes now. During a run
    // it stops the run as closing answered Yes does, without the question and without the box
    // after it (nobody may be there to press OK), and gives false: the window closes when the
    // run has ended (ZamknijPoPrzebiegu).
    bool ZamknijNaZadanieSystemu();
    // Window's thread, from the window's progress timer during a run. A stop that the server has
    // not answered for CzasNaPrzerwanie (a driver waiting for bytes that never come) would trap
    // the administrator: the box then says so and offers to end the program, once each
    // CzasNaPrzerwanie. Gives true when the answer was Yes: the journal has recorded it and the
    // window is to end the process at once, leaving the server to roll the open transaction back
    // when it notices the session is gone.
    bool SprawdzPrzerwanie();
    static constexpr std::chrono::milliseconds CzasNaPrzerwanie =
        PrzebiegAktualizacji::CzasNaPrzerwanie;
    // Whether SprawdzPrzerwanie's box is open: a run that ends meanwhile is to be ended by the
    // window only once it is closed, so that no box stays open over a run that is over.
    bool PytanieOPrzerwanieOtwarte() const noexcept { return pytanieOPrzerwanie_; }
    // Tests: a shorter wait than CzasNaPrzerwanie.
    void UstawCzasNaPrzerwanie(std::chrono::milliseconds czas) noexcept {
        czasNaPrzerwanie_ = czas;
    }

    // "Aktualizuj" for a window that keeps its event loop turning: "Odczyt wersji bazy..." on
    // the strip, and the version read is the call given. Its end plans the update from the version
    // (a malformed one raises the conversion error), warns when it lies outside the catalogue,
    // asks, and gives the run when the user confirmed; the strip goes back to the window colour.
    // The run's end shows the last progress, the version line with the version the database
    // records now, then the emptied strip and "Zakończono aktualizację.", or raises the run's
    // error (the update group hidden first when the session was lost or ended). Nothing during a
    // run or another call.
    [[nodiscard]] std::optional<ZadanieWTle> RozpocznijAktualizacje();
    // Whether a log-in or a version read is under way off the window's thread.
    bool WZadaniu() const noexcept { return wZadaniu_; }
    // Copies the run's latest progress into the strip; gives whether anything changed.
    bool PokazPostep();
    bool WTrakcie() const noexcept { return wTrakcie_; }
    // After the run's last box: a warning box, once, when the journal could not be written.
    void PokazOstrzezenieDziennika();

  private:
    friend class ZadanieWTle;

    void WykonajLogowanie() noexcept;
    void ZakonczLogowanie();
    void WykonajOdczytWersji() noexcept;
    // Whether the run is due.
    bool ZakonczOdczytWersji();
    void WykonajPrzebieg() noexcept;
    void ZakonczPrzebieg();
    void ZapamietajPola();
    // Closing when no run is going on: during a log-in or a version read the window is to close
    // once it has ended (false); otherwise the connection is closed (true). Nothing during a run.
    std::optional<bool> ZamknijPozaPrzebiegiem();
    // A call off the window's thread begins: no error yet, the strip saying what is awaited.
    void RozpocznijZadanie(const std::string& tekst);
    void ZakonczOczekiwanie();
    void Zapisz(std::string_view zdarzenie, std::initializer_list<Dziennik::Pole> pola = {});

    Polaczenie& conn_;
    WidokOkna widok_;
    Dziennik* dziennik_;
    const KatalogPakietow& pakiety_;
    PasekZPamiecia pasek_;
    // The log-in values taken at the last press, for the calls made off the window's thread.
    DaneLogowania logowanie_;
    bool wZadaniu_ = false;   // a log-in or a version read off the window's thread
    bool porzucone_ = false;  // closed during that call: its end shows nothing
    std::exception_ptr bladZadania_;
    std::string tekstPrzedZadaniem_;
    std::string wersjaOdczytana_;

    bool wTrakcie_ = false;
    std::unique_ptr<PrzebiegAktualizacji> przebieg_;  // the run confirmed last
    std::optional<WynikPrzebiegu> wynikPrzebiegu_;    // its result, until its end is shown
    bool zamknijPoPrzebiegu_ = false;
    bool bezPytan_ = false;            // the stop came from the system: no box at its end
    bool pytanieOPrzerwanie_ = false;  // SprawdzPrzerwanie's box is open
    std::chrono::milliseconds czasNaPrzerwanie_ = CzasNaPrzerwanie;
    // The log-in values the run's version line names.
    std::string serwerPrzebiegu_;
    std::string bazaPrzebiegu_;
};

}  // namespace zuv
