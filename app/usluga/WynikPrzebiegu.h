#pragma once
// What an update run did, as the run returns it: how it ended, the version before and after, each
// package committed with its time, and for a failure its place and the server's own words. Each
// front end words it for its medium; a window raises `blad` to its error box.

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "db/UtrataPolaczenia.h"

namespace zuv {

struct ZatwierdzonyPakiet {
    std::string wersja;
    double sekundy = 0;
};

// A package whose commit lost the connection, as the version read in a new session tells.
enum class SkutekZatwierdzenia {
    Zatwierdzony,  // the database records the package's version
    Wycofany,      // it records another
    Nieznany,      // the server could not be reached again
};

struct WynikPrzebiegu {
    enum class Rodzaj {
        Zaktualizowana,     // every package of the plan committed
        Przerwana,          // stopped on request: the package running rolled back whole
        BladPakietu,        // a package failed and was rolled back whole
        UtrataPolaczenia,   // the link to the server lost
        Zablokowana,        // another session holds the update lock: nothing was done
        BladPrzygotowania,  // the update lock or the update-session flag failed: nothing begun
    };
    Rodzaj rodzaj = Rodzaj::Zaktualizowana;

    std::string wersjaPrzed;
    // The recorded version read again after the run; nothing when the run got no lock (it sent
    // nothing more) or the version could not be read.
    std::optional<std::string> wersjaPo;
    std::vector<ZatwierdzonyPakiet> zatwierdzone;
    double sekundy = 0;

    // Where it ended, for a failure, a loss or a stop within a package: the package's version
    // and the batch (from 1; 0 outside a batch).
    std::string wersjaPakietu;
    std::int32_t partia = 0;
    // BladPakietu, UtrataPolaczenia: the server's or the driver's own text.
    std::string bladSerwera;
    // UtrataPolaczenia: the step, why the session went, and for a commit what became of the
    // package.
    KrokUtraty krok = KrokUtraty::Polecenie;
    PrzyczynaUtraty przyczyna = PrzyczynaUtraty::Zerwanie;
    std::optional<SkutekZatwierdzenia> skutek;
    // Przerwana: the stop was asked while the package `wersjaPakietu` was being committed, so it
    // could not roll it back; `wersjaPo` tells whether the commit went through.
    bool przerwanieWZatwierdzaniu = false;
    // The session is gone or unusable: the next step is a new log-in.
    bool sesjaZakonczona = false;

    // The error that ended the run, whole, as the program's error kinds raise it (its message
    // names the step and what to do next in a window's words); null after success and a stop.
    std::exception_ptr blad;
    std::string TekstBledu() const;
};

}  // namespace zuv
