#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Encoding of the reply tokens for TDS 7.4: little-endian fields, UCS-2 texts, 8-byte DONE row
// counts and 4-byte line numbers.
namespace tds {

// Polish_CI_AS: LCID 0x0415, case-insensitive, sort id 0. The client decodes VARCHAR bytes of
// a column with this collation as code page 1250.
constexpr std::array<std::uint8_t, 5> kPolishCollation = {0x15, 0x04, 0xD0, 0x00, 0x00};

namespace done_status {
constexpr std::uint16_t kFinal = 0x0000;
constexpr std::uint16_t kMore = 0x0001;
constexpr std::uint16_t kError = 0x0002;
constexpr std::uint16_t kInTransaction = 0x0004;
constexpr std::uint16_t kCount = 0x0010;
constexpr std::uint16_t kAttention = 0x0020;
}  // namespace done_status

namespace env_change {
constexpr std::uint8_t kDatabase = 1;
constexpr std::uint8_t kPacketSize = 4;
constexpr std::uint8_t kCollation = 7;
constexpr std::uint8_t kBeginTransaction = 8;
constexpr std::uint8_t kCommitTransaction = 9;
constexpr std::uint8_t kRollbackTransaction = 10;
}  // namespace env_change

// An ERROR (severity above 10) or INFO message.
struct ServerMessage {
    std::int32_t number = 0;
    std::uint8_t state = 1;
    std::uint8_t severity = 16;
    std::string text;  // UTF-8
};

// IntN is a nullable int, DateTime a nullable datetime; SmallInt and BigInt are NOT NULL columns,
// which a SQL Server sends in the fixed types.
enum class ColumnType { IntN, VarChar, NVarChar, SmallInt, BigInt, DateTime };

struct Column {
    ColumnType type = ColumnType::IntN;
    std::string name;
    std::uint16_t maxLength = 4;  // bytes of a VarChar or NVarChar; ignored for the others
};

// A datetime as it travels: days since 1900-01-01 and three-hundredths of a second since midnight.
struct DateTime {
    std::int32_t days = 0;
    std::uint32_t ticks = 0;
};

// Monostate is NULL; strings are UTF-8.
using Value = std::variant<std::monostate, std::int32_t, std::int64_t, std::string, DateTime>;
using Row = std::vector<Value>;

// A growing little-endian byte buffer with the token writers as members.
class TokenBuffer {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void u64(std::uint64_t v);
    void append(std::span<const std::uint8_t> data);
    void ucs2(std::u16string_view text);
    // 1-byte character count, then UCS-2.
    void bVarChar(std::string_view utf8);
    // 2-byte character count, then UCS-2.
    void usVarChar(std::string_view utf8);

    void done(std::uint16_t status, std::uint64_t rowCount = 0);
    // The DONE of a statement inside a procedure, and the one that ends the procedure call.
    void doneInProc(std::uint16_t status, std::uint64_t rowCount = 0);
    void doneProc(std::uint16_t status);
    void returnStatus(std::int32_t status);
    // An INT output parameter's value, `ordinal` counting the call's parameters from 0.
    void returnValue(std::uint16_t ordinal, std::string_view name, std::int32_t value);
    void message(const ServerMessage& message);
    void envChangeText(std::uint8_t type, std::string_view newValue, std::string_view oldValue);
    void envChangeBytes(std::uint8_t type, std::span<const std::uint8_t> newValue,
                        std::span<const std::uint8_t> oldValue);
    // SQL interface; `version` is the product's major, minor, build high byte, build low byte,
    // `tdsVersion` the protocol's value (0x74000004 for 7.4).
    void loginAck(std::string_view programName, std::array<std::uint8_t, 4> version,
                  std::uint32_t tdsVersion);
    void columns(const std::vector<Column>& columns);
    // Values must match the columns' types (an int32 also fits SmallInt and BigInt); a mismatch
    // is written as NULL, or as 0 in a NOT NULL column.
    void row(const std::vector<Column>& columns, const Row& values);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    void doneToken(std::uint8_t token, std::uint16_t status, std::uint64_t rowCount);
    // Writes the 2-byte length of everything appended since `start` at `start`.
    void patchLength(std::size_t start);

    std::vector<std::uint8_t> bytes_;
};

}  // namespace tds
