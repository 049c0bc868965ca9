#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The pre-login exchange: what the client says it can do about encryption, what the server
// answers, and what the two together make of the session.
namespace tds {

// The ENCRYPTION option's values, in both directions.
namespace encryption {
constexpr std::uint8_t kOff = 0x00;     // available but off: only the log-in packet is encrypted
constexpr std::uint8_t kOn = 0x01;      // on for the whole session
constexpr std::uint8_t kNotSup = 0x02;  // this side cannot encrypt
constexpr std::uint8_t kReq = 0x03;     // the server insists on it
}  // namespace encryption

// How the server is set up, as a SQL Server administrator sets it up: no certificate at all
// (Off: SQL Server 2000 without one), a certificate with encryption forced off (Login: every
// server from 2005 on encrypts at least the log-in), encryption for the whole session (On), or
// forced encryption that refuses clients that cannot encrypt (Required).
enum class EncryptionMode { Off, Login, On, Required };

// "off", "login", "on", "required".
std::optional<EncryptionMode> parseEncryptionMode(std::string_view text);
std::string_view encryptionModeName(EncryptionMode mode);

// The ENCRYPTION value of a client's pre-login request; nullopt when the request has none (or
// its option table is broken), which counts as a client that cannot encrypt.
std::optional<std::uint8_t> clientEncryption(std::span<const std::uint8_t> payload);

// What becomes of the session: no TLS at all, TLS for the log-in packet only, TLS for the whole
// session, or a connection the server ends after its answer.
enum class EncryptionOutcome { None, LoginOnly, Full, Refused };

struct EncryptionAgreement {
    std::uint8_t reply = encryption::kNotSup;  // the server's ENCRYPTION value
    EncryptionOutcome outcome = EncryptionOutcome::None;
};

// The server's answer to a client's ENCRYPTION value (nullopt: none sent) and what it makes of
// the session:
//   Off:      NOT_SUP, no encryption (a client that requires encryption gives up by itself);
//   Login:    to OFF: OFF, log-in only; to ON or REQ: ON, whole session; to NOT_SUP: NOT_SUP,
//             no encryption;
//   On:       ON, whole session; to NOT_SUP: ON, then the server ends the connection;
//   Required: REQ, whole session; to NOT_SUP: REQ, then the server ends the connection.
EncryptionAgreement agreeEncryption(EncryptionMode mode, std::optional<std::uint8_t> client);

// "10.50.6000.34" -> {10, 50, 6000 >> 8, 6000 & 0xff}, as LOGINACK and PRELOGIN carry it.
std::array<std::uint8_t, 4> productVersionBytes(std::string_view productVersion);

// The server's pre-login answer: VERSION and ENCRYPTION.
std::vector<std::uint8_t> preLoginReply(std::string_view productVersion,
                                        std::uint8_t encryptionValue);

}  // namespace tds
