#include "PreLogin.h"

#include <charconv>

namespace tds {
namespace {

constexpr std::uint8_t kVersionOption = 0x00;
constexpr std::uint8_t kEncryptionOption = 0x01;
constexpr std::uint8_t kTerminator = 0xFF;
constexpr std::size_t kOptionEntrySize = 5;  // token, big-endian offset and length

}  // namespace

std::optional<EncryptionMode> parseEncryptionMode(std::string_view text) {
    for (const EncryptionMode mode : {EncryptionMode::Off, EncryptionMode::Login,
                                      EncryptionMode::On, EncryptionMode::Required}) {
        if (encryptionModeName(mode) == text) return mode;
    }
    return std::nullopt;
}

std::string_view encryptionModeName(EncryptionMode mode) {
    switch (mode) {
        case EncryptionMode::Off:
            return "off";
        case EncryptionMode::Login:
            return "login";
        case EncryptionMode::On:
            return "on";
        case EncryptionMode::Required:
            return "required";
    }
    return "login";
}

std::optional<std::uint8_t> clientEncryption(std::span<const std::uint8_t> payload) {
    for (std::size_t entry = 0; entry < payload.size() && payload[entry] != kTerminator;
         entry += kOptionEntrySize) {
        if (payload.size() - entry < kOptionEntrySize) return std::nullopt;
        const std::size_t offset = (std::size_t{payload[entry + 1]} << 8) | payload[entry + 2];
        const std::size_t length = (std::size_t{payload[entry + 3]} << 8) | payload[entry + 4];
        if (payload[entry] != kEncryptionOption) continue;
        if (length < 1 || offset >= payload.size()) return std::nullopt;
        return payload[offset];
    }
    return std::nullopt;
}

EncryptionAgreement agreeEncryption(EncryptionMode mode, std::optional<std::uint8_t> client) {
    using encryption::kNotSup;
    using encryption::kOff;
    using encryption::kOn;
    using encryption::kReq;
    const bool clientCannot = !client || *client == kNotSup;
    switch (mode) {
        case EncryptionMode::Off:
            return {kNotSup, EncryptionOutcome::None};
        case EncryptionMode::Login:
            if (clientCannot) return {kNotSup, EncryptionOutcome::None};
            if (*client == kOff) return {kOff, EncryptionOutcome::LoginOnly};
            return {kOn, EncryptionOutcome::Full};
        case EncryptionMode::On:
            return {kOn, clientCannot ? EncryptionOutcome::Refused : EncryptionOutcome::Full};
        case EncryptionMode::Required:
            return {kReq, clientCannot ? EncryptionOutcome::Refused : EncryptionOutcome::Full};
    }
    return {kNotSup, EncryptionOutcome::None};
}

std::array<std::uint8_t, 4> productVersionBytes(std::string_view productVersion) {
    int parts[3] = {0, 0, 0};
    for (int& part : parts) {
        const auto dot = productVersion.find('.');
        const std::string_view piece = productVersion.substr(0, dot);
        std::from_chars(piece.data(), piece.data() + piece.size(), part);
        if (dot == std::string_view::npos) break;
        productVersion.remove_prefix(dot + 1);
    }
    return {static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
            static_cast<std::uint8_t>(parts[2] >> 8), static_cast<std::uint8_t>(parts[2])};
}

std::vector<std::uint8_t> preLoginReply(std::string_view productVersion,
                                        std::uint8_t encryptionValue) {
    const auto version = productVersionBytes(productVersion);
    // Option table (token, big-endian offset and length), terminator, then the option data.
    return {kVersionOption,    0x00,       0x0B,       0x00,       0x06,  // VERSION at 11, 6 bytes
            kEncryptionOption, 0x00,       0x11,       0x00,       0x01,  // ENCRYPTION at 17
            kTerminator,       version[0], version[1], version[2], version[3], 0x00, 0x00,
            encryptionValue};
}

}  // namespace tds
