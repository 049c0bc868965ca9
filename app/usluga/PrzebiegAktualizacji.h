#pragma once
// One update run over an open session, from a plan whose packages are due: it takes the update
// lock, sets the update-session flag, applies each package in its own transaction, journals every
// step, reads the recorded version again, and returns what happened (WynikPrzebiegu). It asks
// nothing and shows nothing: the observer hears of each package, the progress is there to be read
// (Postep), and a stop can be asked for from any thread (Przerwij), with a watch over a stop the
// server does not answer (PrzerwanieBezOdpowiedzi).
//
// The lock is held by a guard that gives it back on every path (and goes with the session at the
// latest); each package's transaction is the runner's, rolled back on every path but its commit.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

#include "app/usluga/ObserwatorPrzebiegu.h"
#include "app/usluga/PlanAktualizacji.h"
#include "app/usluga/PostepPrzebiegu.h"
#include "app/usluga/WynikPrzebiegu.h"
#include "packages/KatalogPakietow.h"

namespace zuv {

class Dziennik;
class Polaczenie;

// A stop the server has not answered for a while: since when it was asked (or last told), and the
// package it stops.
struct PrzerwanieBezOdpowiedzi {
    std::chrono::seconds czekanie{0};
    std::string wersjaPakietu;
    bool wZatwierdzaniu = false;  // the server is awaited on the package's commit
};

class PrzebiegAktualizacji {
  public:
    // How long a stop may go unanswered before the watch tells of it.
    static constexpr std::chrono::milliseconds CzasNaPrzerwanie{10000};

    struct Ustawienia {
        // The database as the person named it, for the texts (the lock's refusal).
        std::string serwer;
        std::string baza;
        // Where every step is recorded; none when null. It must outlive the run.
        Dziennik* dziennik = nullptr;
        // Where the packages come from; it must outlive the run.
        const KatalogPakietow* pakiety = &PakietyProgramu();
        // Whether a strip shows the runner's failure text and colour.
        bool pasekWidoczny = true;
    };

    // `plan` must be DoWykonania (EAssertionFailed otherwise). `polaczenie` is the logged-in
    // session; it must outlive the run, and belongs to Wykonaj's thread until it returns.
    PrzebiegAktualizacji(Polaczenie& polaczenie, PlanAktualizacji plan, Ustawienia ustawienia);
    PrzebiegAktualizacji(const PrzebiegAktualizacji&) = delete;
    PrzebiegAktualizacji& operator=(const PrzebiegAktualizacji&) = delete;

    // The run, once, on the calling thread; never throws: every ending is in the result.
    // `obserwator` (may be null) is told of each package on this thread.
    WynikPrzebiegu Wykonaj(ObserwatorPrzebiegu* obserwator = nullptr) noexcept;

    // Any thread: the package running is stopped and rolled back whole (a batch the server is
    // executing is cancelled); committed packages stay, nothing further starts. Before Wykonaj,
    // nothing is sent at all.
    void Przerwij() noexcept;
    bool Przerwany() const noexcept { return postep_.Przerwany(); }
    // Any thread: whether Wykonaj has returned.
    bool Skonczony() const noexcept { return skonczony_; }
    // Any thread: a stop asked for that the run has not ended within `czas` (a driver waiting for
    // bytes that never come). Told once per `czas`: the wait then starts again.
    std::optional<PrzerwanieBezOdpowiedzi> SprawdzPrzerwanie(
        std::chrono::milliseconds czas = CzasNaPrzerwanie);

    // Any thread: the version of the package being applied (the first before the run).
    std::string BiezacyPakiet() const;
    // Any thread: whether that package has sent its commit, which a stop can no longer undo.
    bool WZatwierdzaniu() const noexcept { return postep_.WZatwierdzaniu(); }
    const PlanAktualizacji& Plan() const noexcept { return plan_; }
    // The runner's texts and colour and the operations done, for a strip or a status line.
    PostepPrzebiegu& Postep() noexcept { return postep_; }

  private:
    void Zapisz(std::string_view zdarzenie,
                std::initializer_list<std::pair<std::string_view, std::string>> pola = {});
    void UstawFlageAktualizacji();
    void AktualizujDoWersji(const std::string& wersja);

    Polaczenie& conn_;
    const PlanAktualizacji plan_;
    const Ustawienia ustawienia_;
    PostepPrzebiegu postep_;
    std::atomic<std::size_t> biezacyPakiet_ = 0;
    std::atomic<bool> skonczony_ = false;
    mutable std::mutex blokada_;
    std::chrono::steady_clock::time_point chwilaPrzerwania_;  // under blokada_
    std::atomic<bool> przerwanieWZatwierdzaniu_ = false;
};

}  // namespace zuv
