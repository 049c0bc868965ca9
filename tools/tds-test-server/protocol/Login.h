#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ServerConfig.h"
#include "TdsVersion.h"
#include "TokenWriter.h"

// LOGIN7: parsing what the client sends and the replies a SQL Server gives.
namespace tds {

struct LoginRequest {
    std::uint32_t tdsVersion = 0;
    std::uint32_t packetSize = 0;
    std::string hostName;
    std::string userName;
    std::string password;  // de-obfuscated
    std::string appName;
    std::string serverName;
    std::string language;
    std::string database;
};

// nullopt when the payload is too short or a field points outside it.
std::optional<LoginRequest> parseLogin7(std::span<const std::uint8_t> payload);

// The packet size both sides use after login: what the client asked for, within TDS limits.
std::size_t negotiatedPacketSize(const LoginRequest& login);

// The errors a SQL Server reports for this login; empty when it succeeds. Logins compare
// case-insensitively, passwords exactly, database names case-insensitively.
std::vector<ServerMessage> loginErrors(const LoginRequest& login, const ServerConfig& config);

// The acknowledgement names `version`, the protocol the session speaks from then on.
std::vector<std::uint8_t> loginAcceptedReply(std::string_view database, std::size_t packetSize,
                                             std::size_t requestedPacketSize,
                                             std::string_view productVersion, TdsVersion version);
// The first tokens of an accepted log-in (the database and collation changes), without the
// acknowledgement and the DONE that would complete it.
std::vector<std::uint8_t> loginReplyWithoutAck(std::string_view database);
std::vector<std::uint8_t> loginFailedReply(const std::vector<ServerMessage>& errors);

}  // namespace tds
