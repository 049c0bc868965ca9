#pragma once
// How the diagnostics of a failed ODBC call become the error the program shows. Kept apart from
// the calls that read them (db/odbc/), so that the rules can be tested without a driver and
// without <sql.h>.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Wyjatki.h"

namespace zuv {

// One diagnostic record as the driver gave it (texts UTF-8).
struct RekordDiagnostyki {
    std::string stanSQL;   // SQLSTATE, five characters
    std::int32_t kod = 0;  // the native error number; 0 for the driver's own messages
    std::string tekst;
};

// The error of a failed call. SQLSTATE 01xxx records are warnings and count only when nothing
// else was reported (a lost connection arrives as 01000); of the errors, those the server raised
// say why, and the driver's own follow-ups ("Unable to connect to data source") are left out.
// Every remaining record's text, without the driver stack's bracketed prefixes and without
// repeats, is a line of the description; the first one's native number is the code and its
// SQLSTATE the error's SQLSTATE. The source names the driver and that SQLSTATE. A log-in that
// failed because the driver and the server did not agree on encryption (SzyfrowanieNieuzgodnione)
// is told in Polish first, with the driver's texts after CR LF. Without any
// record the error says so, and points at a "?" in `polecenie` (code page 1250, may be empty)
// that the driver takes for a parameter marker.
EOleException BladZDiagnostyki(const std::vector<RekordDiagnostyki>& rekordy,
                               std::string_view sterownik, std::string_view polecenie = {});

// Whether the records of a failed log-in tell that the driver and the server did not agree on
// encryption: the server demands it and the driver refuses, or the TLS handshake fails. FreeTDS
// says only that the connection failed (20002), with no lost connection (20017), time-out or
// server error beside it; Microsoft's drivers name SSL, TLS, encryption or the certificate in a
// connection error (SQLSTATE 08xxx).
bool SzyfrowanieNieuzgodnione(const std::vector<RekordDiagnostyki>& rekordy);

// The text of a diagnostic without "[vendor][component][data source]" in front of it.
std::string BezPrzedrostkowSterownika(std::string_view tekst);

}  // namespace zuv
