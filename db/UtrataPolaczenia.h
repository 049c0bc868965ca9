#pragma once
// A lost connection to the server, told apart from every other failure: the session is gone (the
// connection counts as closed, and the server rolls back whatever the session left open), and
// what the administrator must learn is at which step it happened, in which package, and whether
// that package may have been committed.
//
// The connection raises it for every call that finds the link lost (PolaczenieODBC.h); the code
// that knows the step (the script runner, the update command) raises it again placed at its step
// with WKroku. The message is Polish and says what happened, what became of the package and what
// to do next, then, after CR LF, the driver's own text.

#include <cstdint>
#include <optional>
#include <string>

#include "common/Wyjatki.h"

namespace zuv {

// Where a run stood when the connection went.
enum class KrokUtraty {
    Polecenie,            // a command of a step nobody named
    OdczytWersji,         // reading the recorded version ("Loguj", the start of "Aktualizuj")
    BlokadaAktualizacji,  // taking the lock that keeps a second updater off the database
    FlagaAktualizacji,    // the statements that set the update-session flag
    OdczytGeneracji,      // reading the server generation before a package
    Rozpoczecie,          // beginning the package's transaction
    Partia,               // a batch of the package
    Zatwierdzenie,        // the commit of the package: whether it was carried out is not known
    PoZatwierdzeniu,      // right after the server confirmed the commit
    Wycofanie,            // the roll back of a package that failed
};

// Why the session went: the link broke; the program ended a session that still worked but could
// no longer be trusted after the server's refusal; or the server did not answer a request that
// has a bounded wait (begin, commit) within it, and the driver ended the session.
enum class PrzyczynaUtraty { Zerwanie, Odmowa, BrakOdpowiedzi };

// What a new session read of the recorded version after a loss.
struct OdczytPoUtracie {
    enum class Stan { Nieodczytany, Odczytany, Nieosiagalny };
    Stan stan = Stan::Nieodczytany;
    std::string zapisana;  // Odczytany: the version (empty when none is recorded)
};

// The words of what to do next, as the front end says it: how to connect again, and where the
// recorded version is seen. A window says "Loguj" (RadaOkna).
struct RadaPoUtracie {
    std::string polaczPonownie;
    std::string gdzieWersja;
};
RadaPoUtracie RadaOkna();

class EUtrataPolaczenia : public EOleException {
  public:
    // `bladSterownika`: the driver's error that told of the loss (its message, code, source and
    // SQLSTATE are kept); its SQLSTATE HYT00 tells a wait that ran out. `zerwane`: false when the
    // link still worked but the program ended the session because it could not be trusted any
    // more (the message then says so). `wersja`: the
    // package's target version, empty outside a package; `operacja`: the batch's number.
    explicit EUtrataPolaczenia(const EOleException& bladSterownika,
                               KrokUtraty krok = KrokUtraty::Polecenie, bool zerwane = true,
                               std::string wersja = {}, std::int32_t operacja = 0);

    // The same loss placed at the caller's step; the message is made anew.
    EUtrataPolaczenia WKroku(KrokUtraty krok, std::string wersja = {},
                             std::int32_t operacja = 0) const;

    // Whether the package may have been committed (lost at its commit or right after it). Only
    // the recorded version then tells what the database holds: see ZWynikiem.
    bool WynikOtwarty() const noexcept;

    // The same loss with what the database records, read in a new session after it
    // (ZapisanaWersjaPoUtracie): the message then states whether the package was committed or
    // rolled back; without a version (the server could not be reached) it says that this is not
    // known and that "Loguj" will show the recorded version.
    EUtrataPolaczenia ZWynikiem(const std::optional<std::string>& zapisanaWersja) const;

    KrokUtraty Krok() const noexcept { return krok_; }
    PrzyczynaUtraty Przyczyna() const noexcept { return przyczyna_; }
    const std::string& Wersja() const noexcept { return wersja_; }
    std::int32_t Operacja() const noexcept { return operacja_; }
    // The driver's message, as the driver gave it (without its bracketed prefixes).
    const std::string& TekstSterownika() const noexcept { return tekstSterownika_; }

  private:
    EUtrataPolaczenia(const EUtrataPolaczenia& wzor, KrokUtraty krok, std::string wersja,
                      std::int32_t operacja, const OdczytPoUtracie& odczyt);

    KrokUtraty krok_;
    PrzyczynaUtraty przyczyna_;
    std::string wersja_;
    std::int32_t operacja_;
    std::string tekstSterownika_;
};

// Where it happened, as the messages say it after "Połączenie z serwerem zostało przerwane":
// " podczas wykonywania operacji 44 aktualizacji bazy do wersji 11.4.0.1"; empty for Polecenie.
std::string OpisKrokuUtraty(KrokUtraty krok, const std::string& wersja = {},
                            std::int32_t operacja = 0);

// The message of a loss at `krok` before the driver's text: "Połączenie z serwerem zostało
// przerwane" with the step (" podczas wykonywania operacji 44 aktualizacji bazy do wersji
// 11.4.0.1"), what became of the package as far as the connection knows, and what to do next.
std::string OpisUtraty(KrokUtraty krok, const std::string& wersja = {}, std::int32_t operacja = 0);

// The whole message of a loss before the driver's text, in the words of `rada`: what happened
// (`przyczyna`), at which step, what became of the package (for a commit, what `odczyt` read),
// and what to do next.
std::string OpisUtraty(KrokUtraty krok, PrzyczynaUtraty przyczyna, const std::string& wersja,
                       std::int32_t operacja, const OdczytPoUtracie& odczyt,
                       const RadaPoUtracie& rada);

}  // namespace zuv
