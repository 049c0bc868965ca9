#pragma once
// What the database records after a lost connection left a package's outcome open (lost at its
// commit or right after it): the recorded version, read in a new session.

#include <optional>
#include <string>

namespace zuv {

class Polaczenie;

// The query of the recorded version.
inline constexpr const char* ZapytanieZapisanejWersji =
    "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'";

// Opens `polaczenie` (closed, as a loss leaves it) anew from its own connection string, that is
// with the log-in values of the lost session and within its log-in time-out, reads the recorded
// version (a number in decimal, NULL as empty) and closes it again. Gives nothing when the server
// cannot be reached, the read fails or does not give exactly one row. Never throws; the
// connection is closed afterwards whatever happened.
std::optional<std::string> ZapisanaWersjaPoUtracie(Polaczenie& polaczenie);

}  // namespace zuv
