#pragma once
// A failed log-in told in Polish: one sentence of what happened and what to check, then, after
// CR LF, the driver's own text, whole, for whoever must diagnose it. The cause is read from the
// driver's SQLSTATEs and native numbers, not from its English words, wherever a number tells it.

#include <string_view>
#include <vector>

#include "common/Wyjatki.h"
#include "db/DiagnostykaODBC.h"
#include "db/SondaPreLogin.h"

namespace zuv {

enum class PrzyczynaLogowania {
    NieznanySerwer,       // the server's name is not found (DNS)
    BrakSerwera,          // nothing accepts connections at that address and port, or there is no
                          // such named instance
    BrakOdpowiedzi,       // no answer within the log-in time-out
    Odmowa,               // the server refused the login (user, password, disabled login)
    NiedostepnaBaza,      // the database does not exist or is not open to this login
    Szyfrowanie,          // the driver and the server did not agree on encryption
    ZamknietePolaczenie,  // the server closed or reset the connection during the log-in
    ZamknieteLubSzyfrowanie,  // the connection ended where TLS is (or may be) part of the
                              // log-in: a failed handshake, or the server closing it, which
                              // FreeTDS reports alike
    Inna,                     // none of the above: the driver's text alone says why
};

// Whether the records are FreeTDS's bare "Adaptive Server connection failed" (20002) with no
// other number and no time-out. FreeTDS reports so, alike, a TLS handshake that fails, a server
// that refuses a client that cannot encrypt, and a connection the server resets during the
// pre-login or right after the log-in packet; only the server's answer to a pre-login request of
// the program's own (SondaPreLogin.h) tells these apart.
bool PotrzebnaOdpowiedzPreLogin(const std::vector<RekordDiagnostyki>& rekordy);

// The cause of a failed log-in from the driver's records and, for FreeTDS's bare 20002, the
// server's answer to the program's pre-login request (Niesprawdzona when not asked).
PrzyczynaLogowania PrzyczynaBleduLogowania(
    const std::vector<RekordDiagnostyki>& rekordy,
    OdpowiedzPreLogin preLogin = OdpowiedzPreLogin::Niesprawdzona);

// The error of a failed log-in: the Polish sentence of its cause, CR LF, and the driver's telling
// texts (those with a native number, else its errors, else every record; without the driver
// stack's prefixes and repeats, one a line). The code is the first telling record's native number,
// the SQLSTATE its SQLSTATE, the source the driver and that SQLSTATE.
EOleException BladLogowania(const std::vector<RekordDiagnostyki>& rekordy,
                            std::string_view sterownik,
                            OdpowiedzPreLogin preLogin = OdpowiedzPreLogin::Niesprawdzona);

}  // namespace zuv
