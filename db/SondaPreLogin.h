#pragma once
// The program's own pre-login request to a server, sent apart from the driver after a log-in the
// driver reports only as failed: whether the server answers at all, and whether TLS is part of
// its log-in. No log-in values are sent; the server sees a client that asks and goes.

#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zuv {

enum class OdpowiedzPreLogin {
    Niesprawdzona,   // not asked: no port is known (a named instance), or no connection was made
    BezOdpowiedzi,   // connected, and the server closed or reset the connection, or said nothing
                     // that reads as a pre-login answer, within the limit
    BezSzyfrowania,  // the server cannot encrypt: nothing of the log-in goes under TLS
    ZSzyfrowaniem,   // the log-in goes under TLS: the log-in packet alone, or the whole session
};

// The request: a TDS pre-login message with the client's version, ENCRYPTION "off" (encryption
// available, as FreeTDS asks when told to encrypt as the server asks), no instance name to check
// and MARS off.
std::vector<std::uint8_t> ZapytaniePreLogin();

// Whether `odpowiedz` holds a whole TDS packet (the length its header gives).
bool CalyPakiet(std::span<const std::uint8_t> odpowiedz);

// Reads a server's answer by its ENCRYPTION option: NOT_SUP gives BezSzyfrowania, OFF, ON and REQ
// give ZSzyfrowaniem; anything else (not a reply packet, an option outside the payload, no
// ENCRYPTION) gives BezOdpowiedzi.
OdpowiedzPreLogin CzytajOdpowiedzPreLogin(std::span<const std::uint8_t> odpowiedz);

// Asks the server of the log-in field `serwer` (as typed: "host", "host,port", "host\instance"),
// within `limit`. The port is the one typed, 1433 without one; a named instance without a port is
// not asked, its port being known only to the SQL Server Browser service.
OdpowiedzPreLogin ZapytajOPreLogin(std::string_view serwer, std::chrono::milliseconds limit);

}  // namespace zuv
