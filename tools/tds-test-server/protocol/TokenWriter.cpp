#include "TokenWriter.h"

#include "Text.h"
#include "WireTypes.h"

namespace tds {
namespace {

namespace token {
constexpr std::uint8_t kColMetadata = 0x81;
constexpr std::uint8_t kError = 0xAA;
constexpr std::uint8_t kInfo = 0xAB;
constexpr std::uint8_t kLoginAck = 0xAD;
constexpr std::uint8_t kRow = 0xD1;
constexpr std::uint8_t kEnvChange = 0xE3;
constexpr std::uint8_t kReturnStatus = 0x79;
constexpr std::uint8_t kReturnValue = 0xAC;
constexpr std::uint8_t kDone = 0xFD;
constexpr std::uint8_t kDoneProc = 0xFE;
constexpr std::uint8_t kDoneInProc = 0xFF;
}  // namespace token

constexpr std::uint16_t kNullableFlags = 0x0009;  // nullable, updatable unknown
constexpr std::uint16_t kNotNullFlags = 0x0008;
constexpr std::uint16_t kNullLength = 0xFFFF;

// An integer value for a NOT NULL column; anything else is 0.
std::int64_t integerOf(const Value& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
    if (const auto* number = std::get_if<std::int64_t>(&value)) return *number;
    return 0;
}

}  // namespace

void TokenBuffer::u16(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void TokenBuffer::u32(std::uint32_t v) {
    u16(static_cast<std::uint16_t>(v));
    u16(static_cast<std::uint16_t>(v >> 16));
}

void TokenBuffer::u64(std::uint64_t v) {
    u32(static_cast<std::uint32_t>(v));
    u32(static_cast<std::uint32_t>(v >> 32));
}

void TokenBuffer::append(std::span<const std::uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void TokenBuffer::ucs2(std::u16string_view text) {
    for (const char16_t unit : text) u16(unit);
}

void TokenBuffer::bVarChar(std::string_view utf8) {
    std::u16string text = utf8ToUtf16(utf8);
    if (text.size() > 255) text.resize(255);
    u8(static_cast<std::uint8_t>(text.size()));
    ucs2(text);
}

void TokenBuffer::usVarChar(std::string_view utf8) {
    std::u16string text = utf8ToUtf16(utf8);
    if (text.size() > 0xFFFF) text.resize(0xFFFF);
    u16(static_cast<std::uint16_t>(text.size()));
    ucs2(text);
}

void TokenBuffer::patchLength(std::size_t start) {
    const std::size_t length = bytes_.size() - start - 2;
    bytes_[start] = static_cast<std::uint8_t>(length);
    bytes_[start + 1] = static_cast<std::uint8_t>(length >> 8);
}

void TokenBuffer::doneToken(std::uint8_t token, std::uint16_t status, std::uint64_t rowCount) {
    u8(token);
    u16(status);
    u16(0);  // current command: the client ignores it
    u64(rowCount);
}

void TokenBuffer::done(std::uint16_t status, std::uint64_t rowCount) {
    doneToken(token::kDone, status, rowCount);
}

void TokenBuffer::doneInProc(std::uint16_t status, std::uint64_t rowCount) {
    doneToken(token::kDoneInProc, status, rowCount);
}

void TokenBuffer::doneProc(std::uint16_t status) { doneToken(token::kDoneProc, status, 0); }

void TokenBuffer::returnStatus(std::int32_t status) {
    u8(token::kReturnStatus);
    u32(static_cast<std::uint32_t>(status));
}

void TokenBuffer::returnValue(std::uint16_t ordinal, std::string_view name, std::int32_t value) {
    constexpr std::uint8_t kOutputParameter = 0x01;
    u8(token::kReturnValue);
    u16(ordinal);
    bVarChar(name);
    u8(kOutputParameter);
    u32(0);  // user type
    u16(kNullableFlags);
    u8(wire_type::kIntN);
    u8(4);
    u8(4);
    u32(static_cast<std::uint32_t>(value));
}

void TokenBuffer::message(const ServerMessage& m) {
    u8(m.severity > 10 ? token::kError : token::kInfo);
    const std::size_t start = bytes_.size();
    u16(0);
    u32(static_cast<std::uint32_t>(m.number));
    u8(m.state);
    u8(m.severity);
    usVarChar(m.text);
    bVarChar("TDSTEST");  // server name
    bVarChar("");         // procedure name
    u32(1);               // line number
    patchLength(start);
}

void TokenBuffer::envChangeText(std::uint8_t type, std::string_view newValue,
                                std::string_view oldValue) {
    u8(token::kEnvChange);
    const std::size_t start = bytes_.size();
    u16(0);
    u8(type);
    bVarChar(newValue);
    bVarChar(oldValue);
    patchLength(start);
}

void TokenBuffer::envChangeBytes(std::uint8_t type, std::span<const std::uint8_t> newValue,
                                 std::span<const std::uint8_t> oldValue) {
    u8(token::kEnvChange);
    const std::size_t start = bytes_.size();
    u16(0);
    u8(type);
    u8(static_cast<std::uint8_t>(newValue.size()));
    append(newValue);
    u8(static_cast<std::uint8_t>(oldValue.size()));
    append(oldValue);
    patchLength(start);
}

void TokenBuffer::loginAck(std::string_view programName, std::array<std::uint8_t, 4> version,
                           std::uint32_t tdsVersion) {
    u8(token::kLoginAck);
    const std::size_t start = bytes_.size();
    u16(0);
    u8(0x01);  // interface: SQL
    // The TDS version is the one field of this token written big-endian.
    append(std::array<std::uint8_t, 4>{
        static_cast<std::uint8_t>(tdsVersion >> 24), static_cast<std::uint8_t>(tdsVersion >> 16),
        static_cast<std::uint8_t>(tdsVersion >> 8), static_cast<std::uint8_t>(tdsVersion)});
    bVarChar(programName);
    append(version);
    patchLength(start);
}

void TokenBuffer::columns(const std::vector<Column>& columns) {
    u8(token::kColMetadata);
    u16(static_cast<std::uint16_t>(columns.size()));
    for (const Column& column : columns) {
        u32(0);  // user type
        const bool fixed = column.type == ColumnType::SmallInt || column.type == ColumnType::BigInt;
        u16(fixed ? kNotNullFlags : kNullableFlags);
        switch (column.type) {
            case ColumnType::IntN:
                u8(wire_type::kIntN);
                u8(4);
                break;
            case ColumnType::SmallInt:
                u8(wire_type::kInt2);
                break;
            case ColumnType::BigInt:
                u8(wire_type::kInt8);
                break;
            case ColumnType::DateTime:
                u8(wire_type::kDateTimeN);
                u8(8);
                break;
            case ColumnType::VarChar:
            case ColumnType::NVarChar:
                u8(column.type == ColumnType::VarChar ? wire_type::kBigVarChar
                                                      : wire_type::kNVarChar);
                u16(column.maxLength);
                append(kPolishCollation);
                break;
        }
        bVarChar(column.name);
    }
}

void TokenBuffer::row(const std::vector<Column>& columns, const Row& values) {
    u8(token::kRow);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Value& value = i < values.size() ? values[i] : Value{};
        switch (columns[i].type) {
            case ColumnType::IntN:
                if (const auto* number = std::get_if<std::int32_t>(&value)) {
                    u8(4);
                    u32(static_cast<std::uint32_t>(*number));
                } else {
                    u8(0);
                }
                break;
            case ColumnType::SmallInt:
                u16(static_cast<std::uint16_t>(integerOf(value)));
                break;
            case ColumnType::BigInt:
                u64(static_cast<std::uint64_t>(integerOf(value)));
                break;
            case ColumnType::DateTime:
                if (const auto* date = std::get_if<DateTime>(&value)) {
                    u8(8);
                    u32(static_cast<std::uint32_t>(date->days));
                    u32(date->ticks);
                } else {
                    u8(0);
                }
                break;
            case ColumnType::VarChar:
            case ColumnType::NVarChar: {
                const auto* text = std::get_if<std::string>(&value);
                if (text == nullptr) {
                    u16(kNullLength);
                    break;
                }
                std::vector<std::uint8_t> encoded;
                if (columns[i].type == ColumnType::VarChar) {
                    const std::string cp1250 = utf8ToCp1250(*text);
                    encoded.assign(cp1250.begin(), cp1250.end());
                } else {
                    for (const char16_t unit : utf8ToUtf16(*text)) {
                        encoded.push_back(static_cast<std::uint8_t>(unit));
                        encoded.push_back(static_cast<std::uint8_t>(unit >> 8));
                    }
                }
                if (encoded.size() > columns[i].maxLength) encoded.resize(columns[i].maxLength);
                u16(static_cast<std::uint16_t>(encoded.size()));
                append(encoded);
                break;
            }
        }
    }
}

}  // namespace tds
