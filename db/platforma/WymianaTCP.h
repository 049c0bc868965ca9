#pragma once
// One request and its answer over a TCP connection of their own, within a time limit: how the
// program asks a server something by itself, apart from the driver, to tell the causes of a
// failed log-in apart (db/SondaPreLogin.h).

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zuv {

enum class WynikWymianyTCP {
    Odpowiedz,       // the answer came whole
    Zamkniete,       // connected, then closed or reset before the answer was whole
    BrakPolaczenia,  // no connection: the name does not resolve, or nothing accepts it in time
    CzasMinal,       // connected, and the limit passed before the answer was whole
};

// Connects to `komputer` (a name or an address) at `port`, sends `zapytanie` and reads until
// `cala` says that what was read is the whole answer; the bytes read are in `odpowiedz` whatever
// the result. The limit covers the connect, the send and the answer (not the name's lookup).
// Throws nothing: every failure of the network is a result.
WynikWymianyTCP WymienTCP(const std::string& komputer, std::uint16_t port,
                          std::span<const std::uint8_t> zapytanie,
                          const std::function<bool(const std::vector<std::uint8_t>&)>& cala,
                          std::chrono::milliseconds limit, std::vector<std::uint8_t>& odpowiedz);

}  // namespace zuv
