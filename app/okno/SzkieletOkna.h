#pragma once
// What every main window does around the update command, whatever window system shows it: a
// press that awaits the server runs on a thread of its own while the window's event loop goes on
// turning; a clock brings the strip up to date and watches a stop the server leaves unanswered;
// the call's end comes back to the window's thread, through the window's error boundary; a
// version read that was confirmed goes on into the run. Closing waits for a call still under way
// and then closes the connection.
//
// A window gives what only it can do (OknoSzkieletu) and calls the skeleton from its handlers:
// Loguj, Aktualizuj, and Tik from its clock.

#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "app/PolecenieAktualizacji.h"

namespace zuv {

// What the skeleton needs of a window system. Every call but ZglosKoniecPracy comes on the
// window's thread.
class OknoSzkieletu {
  public:
    virtual ~OknoSzkieletu() = default;
    // Any thread: SzkieletOkna::PoPracy is to be called on the window's thread, from its loop.
    virtual void ZglosKoniecPracy() = 0;
    // Start or stop calling SzkieletOkna::Tik every OdstepPostepu.
    virtual void UstawZegar(bool wlaczony) = 0;
    // While the server is awaited no input acts but on "Zamknij", which stops a run; the
    // controls look "not now". Given back, the keyboard returns where it was.
    virtual void WstrzymajWejscie(bool wstrzymane) = 0;
    // Runs a handler so that what it throws reaches the default error handler; gives whether it
    // ran to its end.
    virtual bool UruchomObsluge(const std::function<void()>& obsluga) = 0;
    // The window closes now: a close asked for during a call, which has now ended.
    virtual void Zamknij() = 0;
    // A run begins, and ends: `udany` when its end raised no error (the taskbar's progress).
    virtual void PrzebiegRozpoczety() {}
    virtual void PrzebiegZakonczony(bool /*udany*/) {}
};

class SzkieletOkna {
  public:
    // How often the strip is brought up to date during a run: the screen needs no more.
    static constexpr std::chrono::milliseconds OdstepPostepu{40};

    // The command over `conn`, shown through `widok`; `dziennik` as the command takes it. All
    // three and `okno` must outlive the skeleton.
    SzkieletOkna(OknoSzkieletu& okno, Polaczenie& conn, WidokOkna widok, Dziennik* dziennik);
    // Waits for a call still under way (a run cannot be cut short), then closes the connection.
    ~SzkieletOkna();
    SzkieletOkna(const SzkieletOkna&) = delete;
    SzkieletOkna& operator=(const SzkieletOkna&) = delete;

    PolecenieAktualizacji& Polecenie() noexcept { return polecenie_; }
    const PolecenieAktualizacji& Polecenie() const noexcept { return polecenie_; }
    // Whether the server is being awaited: a log-in, a version read or a run.
    bool WOczekiwaniu() const noexcept { return watek_.joinable(); }

    // "Loguj" and "Aktualizuj": nothing while the server is awaited.
    void Loguj();
    void Aktualizuj();
    // From the window's clock: the strip brought up to date, a stop the server leaves unanswered
    // offered to end the program, and a close during a log-in ending it.
    void Tik();
    // From the window's loop after ZglosKoniecPracy.
    void PoPracy();
    // Ends the process (0) when a close left a log-in or a version read behind; false when it
    // did not. The window's clock calls it; a window that closes without its loop calls it too.
    bool ZakonczPorzucone();

    // What ends the process with an exit code, when the administrator chooses to leave a stop
    // the server does not answer (1), or closes the window during a log-in (0) (std::_Exit by
    // default; tests put their own).
    void UstawZakonczenieProcesu(std::function<void(int)> zakoncz) {
        zakonczProces_ = std::move(zakoncz);
    }

  private:
    void Uruchom(std::optional<ZadanieWTle> zadanie);

    OknoSzkieletu& okno_;
    PolecenieAktualizacji polecenie_;
    std::optional<ZadanieWTle> zadanie_;
    std::thread watek_;
    bool koniecOdlozony_ = false;  // the call's end waits for the unanswered-stop box to close
    std::function<void(int)> zakonczProces_;
};

}  // namespace zuv
