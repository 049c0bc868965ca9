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
// Every remaining record's text is a line of the description (TekstyRekordow); the first one's
// native number is the code and its SQLSTATE the error's SQLSTATE. The source names the driver
// and that SQLSTATE. Without any record the error says so, and points at a "?" in `polecenie`
// (code page 1250, may be empty) that the driver takes for a parameter marker. A failed log-in is
// told by BladLogowania (db/BladLogowania.h) instead.
EOleException BladZDiagnostyki(const std::vector<RekordDiagnostyki>& rekordy,
                               std::string_view sterownik, std::string_view polecenie = {});

// The records' texts without the driver stack's bracketed prefixes and without repeats, one a
// line (CR LF between them).
std::string TekstyRekordow(const std::vector<const RekordDiagnostyki*>& rekordy);

// The text of a diagnostic without "[vendor][component][data source]" in front of it.
std::string BezPrzedrostkowSterownika(std::string_view tekst);

}  // namespace zuv
