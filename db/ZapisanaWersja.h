#pragma once
// The version a database records about itself: one row of konfig_st, read as the server gives it.

#include <cstdint>
#include <optional>
#include <string>

namespace zuv {

class Polaczenie;

// The query of the recorded version.
inline constexpr const char* ZapytanieZapisanejWersji =
    "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'";

// What the query gave: exactly one row holds the version (a text as it stands, a number in
// decimal, or NULL); no row and several rows are each a case of their own.
struct OdczytWersji {
    enum class Rodzaj { Wartosc, Null, BrakWiersza, WieleWierszy };
    Rodzaj rodzaj = Rodzaj::BrakWiersza;
    std::string tekst;         // the value as text; empty for NULL and without one row
    std::int64_t wiersze = 0;  // the rows the query gave

    // Exactly one row: the version is `tekst` (NULL reading as the empty text).
    bool JedenWiersz() const noexcept {
        return rodzaj == Rodzaj::Wartosc || rodzaj == Rodzaj::Null;
    }
};

// Reads the recorded version on the open session of `polaczenie`. The connection's errors pass
// on; a lost connection is raised placed at the step OdczytWersji, and the command's time-out
// with a Polish sentence before the driver's text.
OdczytWersji OdczytajZapisanaWersje(Polaczenie& polaczenie);

// What the database records after a lost connection left a package's outcome open (lost at its
// commit or right after it): opens `polaczenie` (closed, as a loss leaves it) anew with its own
// log-in values and within its log-in time-out, reads the recorded version and closes it again.
// Gives nothing when the server cannot be reached, the read fails or does not give exactly one
// row. Never throws; the connection is closed afterwards whatever happened.
std::optional<std::string> ZapisanaWersjaPoUtracie(Polaczenie& polaczenie);

}  // namespace zuv
