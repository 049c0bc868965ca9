#pragma once

#include <cstdint>

// The data type bytes of TYPE_INFO, in column metadata, return values and RPC parameters.
namespace tds::wire_type {
constexpr std::uint8_t kNull = 0x1F;
constexpr std::uint8_t kInt1 = 0x30;
constexpr std::uint8_t kBit = 0x32;
constexpr std::uint8_t kInt2 = 0x34;
constexpr std::uint8_t kInt4 = 0x38;
constexpr std::uint8_t kInt8 = 0x7F;
constexpr std::uint8_t kFloat4 = 0x3B;
constexpr std::uint8_t kFloat8 = 0x3E;
constexpr std::uint8_t kIntN = 0x26;
constexpr std::uint8_t kBitN = 0x68;
constexpr std::uint8_t kFloatN = 0x6D;
constexpr std::uint8_t kDateTimeN = 0x6F;
constexpr std::uint8_t kDecimalN = 0x6A;
constexpr std::uint8_t kNumericN = 0x6C;
constexpr std::uint8_t kBigVarChar = 0xA7;
constexpr std::uint8_t kBigChar = 0xAF;
constexpr std::uint8_t kNVarChar = 0xE7;
constexpr std::uint8_t kNChar = 0xEF;
constexpr std::uint8_t kBigVarBinary = 0xA5;
constexpr std::uint8_t kBigBinary = 0xAD;
constexpr std::uint8_t kText = 0x23;
constexpr std::uint8_t kNText = 0x63;
constexpr std::uint8_t kImage = 0x22;
}  // namespace tds::wire_type
