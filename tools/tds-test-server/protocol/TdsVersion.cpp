#include "TdsVersion.h"

#include <array>
#include <charconv>

namespace tds {
namespace {

struct VersionInfo {
    TdsVersion version;
    std::uint32_t value;
    std::string_view name;
};

constexpr std::array<VersionInfo, 5> kVersions = {{
    {TdsVersion::V7_1, 0x71000001, "7.1"},
    {TdsVersion::V7_2, 0x72090002, "7.2"},
    {TdsVersion::V7_3A, 0x730A0003, "7.3A"},
    {TdsVersion::V7_3B, 0x730B0003, "7.3B"},
    {TdsVersion::V7_4, 0x74000004, "7.4"},
}};

const VersionInfo& infoOf(TdsVersion version) {
    return kVersions[static_cast<std::size_t>(version)];
}

// The leading number of a dotted text, or -1.
int leadingNumber(std::string_view text, std::string_view& rest) {
    int number = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{}) return -1;
    rest = text.substr(static_cast<std::size_t>(end - text.data()));
    return number;
}

}  // namespace

std::uint32_t wireValue(TdsVersion version) { return infoOf(version).value; }

std::string_view versionName(TdsVersion version) { return infoOf(version).name; }

std::optional<TdsVersion> parseTdsVersion(std::string_view text) {
    if (text == "7.3") return TdsVersion::V7_3B;
    for (const VersionInfo& info : kVersions) {
        if (info.name == text) return info.version;
    }
    return std::nullopt;
}

TdsVersion tdsVersionOfProduct(std::string_view productVersion) {
    std::string_view rest;
    const int major = leadingNumber(productVersion, rest);
    if (major >= 11) return TdsVersion::V7_4;
    if (major == 10) {
        std::string_view afterMinor;
        const int minor = rest.starts_with('.') ? leadingNumber(rest.substr(1), afterMinor) : 0;
        return minor <= 0 ? TdsVersion::V7_3A : TdsVersion::V7_3B;
    }
    if (major == 9) return TdsVersion::V7_2;
    return TdsVersion::V7_1;
}

TdsVersion negotiatedVersion(TdsVersion server, std::uint32_t clientValue) {
    // The values grow with the versions, so the client's place among them is found by value.
    TdsVersion client = TdsVersion::V7_1;
    for (const VersionInfo& info : kVersions) {
        if (clientValue >= info.value) client = info.version;
    }
    return client < server ? client : server;
}

}  // namespace tds
