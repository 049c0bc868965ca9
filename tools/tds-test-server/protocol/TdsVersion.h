#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The protocol versions of the SQL Server generations the server plays, and what each changes on
// the wire.
namespace tds {

// In the order of the generations: 2000 (SP1 and later), 2005, 2008, 2008 R2, 2012 and later.
enum class TdsVersion { V7_1, V7_2, V7_3A, V7_3B, V7_4 };

// The value LOGIN7 and LOGINACK carry: 0x71000001, 0x72090002, 0x730A0003, 0x730B0003,
// 0x74000004.
std::uint32_t wireValue(TdsVersion version);

// "7.1", "7.2", "7.3A", "7.3B", "7.4".
std::string_view versionName(TdsVersion version);

// "7.1", "7.2", "7.3" (as 7.3B), "7.3A", "7.3B", "7.4"; nullopt for anything else.
std::optional<TdsVersion> parseTdsVersion(std::string_view text);

// The version a server of this product version speaks: 8.x 7.1, 9.x 7.2, 10.0 7.3A, 10.50 (any
// 10.x but 10.0) 7.3B, 11 and later 7.4. Versions below 8 and texts that do not start with a
// number give 7.1.
TdsVersion tdsVersionOfProduct(std::string_view productVersion);

// What a server that speaks `server` answers a client that asks for `clientValue` (LOGIN7's
// TDSVersion): the lower of the two. A client below 7.1 gets 7.1, the oldest the server speaks.
TdsVersion negotiatedVersion(TdsVersion server, std::uint32_t clientValue);

// From 7.2 on: 8-byte DONE row counts, 4-byte user types and line numbers, ALL_HEADERS in
// requests, transaction requests and the ENVCHANGEs of transactions.
inline bool isTds72OrLater(TdsVersion version) { return version >= TdsVersion::V7_2; }

}  // namespace tds
