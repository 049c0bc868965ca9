#include "Login.h"

#include <algorithm>

#include "PacketIo.h"
#include "PreLogin.h"
#include "Text.h"

namespace tds {
namespace {

constexpr std::size_t kFixedLoginSize = 94;

std::uint16_t readU16(std::span<const std::uint8_t> p, std::size_t offset) {
    return static_cast<std::uint16_t>(p[offset] | (p[offset + 1] << 8));
}

std::uint32_t readU32(std::span<const std::uint8_t> p, std::size_t offset) {
    return readU16(p, offset) | (std::uint32_t{readU16(p, offset + 2)} << 16);
}

// The password bytes are XORed with 0xA5 and have their nibbles swapped.
std::uint8_t deobfuscate(std::uint8_t b) {
    const std::uint8_t x = b ^ 0xA5;
    return static_cast<std::uint8_t>((x << 4) | (x >> 4));
}

// An offset/length pair at `field`: the text starts at the offset, the length counts UCS-2
// characters.
std::optional<std::string> readText(std::span<const std::uint8_t> p, std::size_t field,
                                    bool obfuscated = false) {
    const std::size_t offset = readU16(p, field);
    const std::size_t bytes = std::size_t{readU16(p, field + 2)} * 2;
    if (offset + bytes > p.size()) return std::nullopt;
    std::vector<std::uint8_t> raw(p.begin() + static_cast<std::ptrdiff_t>(offset),
                                  p.begin() + static_cast<std::ptrdiff_t>(offset + bytes));
    if (obfuscated) std::transform(raw.begin(), raw.end(), raw.begin(), deobfuscate);
    return utf16leToUtf8(raw);
}

}  // namespace

std::optional<LoginRequest> parseLogin7(std::span<const std::uint8_t> payload) {
    if (payload.size() < kFixedLoginSize) return std::nullopt;
    LoginRequest login;
    login.tdsVersion = readU32(payload, 4);
    login.packetSize = readU32(payload, 8);
    const struct {
        std::size_t field;
        std::string* target;
        bool obfuscated;
    } texts[] = {
        {36, &login.hostName, false}, {40, &login.userName, false},   {44, &login.password, true},
        {48, &login.appName, false},  {52, &login.serverName, false}, {64, &login.language, false},
        {68, &login.database, false},
    };
    for (const auto& text : texts) {
        auto value = readText(payload, text.field, text.obfuscated);
        if (!value) return std::nullopt;
        *text.target = std::move(*value);
    }
    return login;
}

std::size_t negotiatedPacketSize(const LoginRequest& login) {
    if (login.packetSize == 0) return kDefaultPacketSize;
    return std::clamp<std::size_t>(login.packetSize, 512, 32767);
}

std::vector<ServerMessage> loginErrors(const LoginRequest& login, const ServerConfig& config) {
    const ServerMessage loginFailed{18456, 1, 14,
                                    "Login failed for user '" + login.userName + "'."};
    if (config.faults.refuseLogins || !equalsIgnoreCase(login.userName, config.user) ||
        login.password != config.password) {
        return {loginFailed};
    }
    if (!login.database.empty() && !equalsIgnoreCase(login.database, config.database)) {
        return {ServerMessage{4060, 1, 11,
                              "Cannot open database \"" + login.database +
                                  "\" requested by the login. The login failed."},
                loginFailed};
    }
    return {};
}

std::vector<std::uint8_t> loginAcceptedReply(std::string_view database, std::size_t packetSize,
                                             std::size_t requestedPacketSize,
                                             std::string_view productVersion, TdsVersion version) {
    TokenBuffer reply;
    reply.envChangeText(env_change::kDatabase, database, "master");
    reply.envChangeBytes(env_change::kCollation, kPolishCollation, {});
    reply.loginAck("Microsoft SQL Server", productVersionBytes(productVersion), wireValue(version));
    reply.envChangeText(env_change::kPacketSize, std::to_string(packetSize),
                        std::to_string(requestedPacketSize));
    reply.done(done_status::kFinal);
    return reply.take();
}

std::vector<std::uint8_t> loginReplyWithoutAck(std::string_view database) {
    TokenBuffer reply;
    reply.envChangeText(env_change::kDatabase, database, "master");
    reply.envChangeBytes(env_change::kCollation, kPolishCollation, {});
    return reply.take();
}

std::vector<std::uint8_t> loginFailedReply(const std::vector<ServerMessage>& errors) {
    TokenBuffer reply;
    for (const ServerMessage& error : errors) reply.message(error);
    reply.done(done_status::kError);
    return reply.take();
}

}  // namespace tds
