#include "RpcRequest.h"

#include <array>
#include <bit>
#include <charconv>
#include <string_view>
#include <utility>

#include "Requests.h"
#include "Text.h"
#include "WireTypes.h"

namespace tds {
namespace {

// Procedures a client may call by number instead of by name.
constexpr std::array<std::string_view, 16> kProcedureNames = {"",
                                                              "sp_cursor",
                                                              "sp_cursoropen",
                                                              "sp_cursorprepare",
                                                              "sp_cursorexecute",
                                                              "sp_cursorprepexec",
                                                              "sp_cursorunprepare",
                                                              "sp_cursorfetch",
                                                              "sp_cursoroption",
                                                              "sp_cursorclose",
                                                              "sp_executesql",
                                                              "sp_prepare",
                                                              "sp_execute",
                                                              "sp_prepexec",
                                                              "sp_prepexecrpc",
                                                              "sp_unprepare"};

// Ends one call and starts the next in a batched request.
constexpr std::uint8_t kBatchSeparator = 0xFF;
constexpr std::uint8_t kOutputFlag = 0x01;
constexpr std::uint16_t kMaxLength = 0xFFFF;  // a (max) type: the value comes in chunks
constexpr std::uint64_t kPlpNull = 0xFFFFFFFFFFFFFFFF;
constexpr std::size_t kCollationSize = 5;

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

    bool atEnd() const { return pos_ == data_.size(); }
    std::uint8_t peek() const {
        need(1);
        return data_[pos_];
    }
    std::span<const std::uint8_t> bytes(std::size_t count) {
        need(count);
        const auto out = data_.subspan(pos_, count);
        pos_ += count;
        return out;
    }
    std::uint64_t little(std::size_t size) {
        std::uint64_t value = 0;
        const auto field = bytes(size);
        for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{field[i]} << (8 * i);
        return value;
    }
    std::uint8_t u8() { return static_cast<std::uint8_t>(little(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }

  private:
    void need(std::size_t count) const {
        if (data_.size() - pos_ < count) throw RpcDecodeError("truncated RPC request");
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

std::string utf16Text(std::span<const std::uint8_t> bytes) { return utf16leToUtf8(bytes); }

std::string sqlLiteral(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

void setInteger(RpcParameter& parameter, std::int64_t value) {
    parameter.isNull = false;
    parameter.integer = value;
    parameter.literal = std::to_string(value);
}

void setText(RpcParameter& parameter, std::string text) {
    parameter.isNull = false;
    parameter.literal = sqlLiteral(text);
    parameter.text = std::move(text);
}

void setBinary(RpcParameter& parameter, std::span<const std::uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    parameter.isNull = false;
    parameter.literal = "0x";
    for (const std::uint8_t b : bytes) {
        parameter.literal += kHex[b >> 4];
        parameter.literal += kHex[b & 0x0F];
    }
}

template <typename Float>
void setFloat(RpcParameter& parameter, Float value) {
    std::array<char, 32> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    parameter.isNull = false;
    parameter.literal.assign(digits.data(), result.ptr);
}

std::int64_t signedInteger(std::uint64_t bits, std::size_t size) {
    if (size < 8 && (bits >> (8 * size - 1)) != 0) bits |= ~std::uint64_t{0} << (8 * size);
    return static_cast<std::int64_t>(bits);
}

void setFixedNumber(RpcParameter& parameter, std::uint8_t type, Reader& reader, std::size_t size) {
    const std::uint64_t bits = reader.little(size);
    if (type == wire_type::kFloat4 || (type == wire_type::kFloatN && size == 4)) {
        setFloat(parameter, std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    } else if (type == wire_type::kFloat8 || type == wire_type::kFloatN) {
        setFloat(parameter, std::bit_cast<double>(bits));
    } else if (type == wire_type::kInt1 || type == wire_type::kBit || type == wire_type::kBitN) {
        setInteger(parameter, static_cast<std::int64_t>(bits));  // tinyint is unsigned
    } else {
        setInteger(parameter, signedInteger(bits, size));
    }
}

// A DECIMAL or NUMERIC value: a sign byte (1 positive), then the magnitude as a little-endian
// integer of up to 16 bytes, scaled by 10^-scale.
void setDecimal(RpcParameter& parameter, std::span<const std::uint8_t> value, int scale) {
    if (value.empty()) throw RpcDecodeError("empty decimal value");
    std::vector<std::uint8_t> magnitude(value.begin() + 1, value.end());
    // The digits come least significant first; the text is written from the other end, with the
    // decimal point before the last `scale` digits. (Appending only: inserting at the front made
    // GCC 12 at -O3 give a false -Wrestrict.)
    std::string digits;
    auto isZero = [&] {
        for (const std::uint8_t b : magnitude)
            if (b != 0) return false;
        return true;
    };
    do {
        // One long division of the magnitude by ten, most significant byte first.
        unsigned remainder = 0;
        for (auto it = magnitude.rbegin(); it != magnitude.rend(); ++it) {
            const unsigned current = (remainder << 8) | *it;
            *it = static_cast<std::uint8_t>(current / 10);
            remainder = current % 10;
        }
        digits.push_back(static_cast<char>('0' + remainder));
    } while (!isZero());
    const std::size_t fraction = scale > 0 ? static_cast<std::size_t>(scale) : 0;
    while (fraction > 0 && digits.size() <= fraction) digits.push_back('0');
    std::string literal = value[0] == 0 ? "-" : "";
    literal.reserve(literal.size() + digits.size() + 1);
    for (std::size_t i = digits.size(); i-- > 0;) {
        literal.push_back(digits[i]);
        if (fraction > 0 && i == fraction) literal.push_back('.');
    }
    parameter.isNull = false;
    parameter.literal = std::move(literal);
}

// A value of a (max) type: total length, then chunks each with a 4-byte length, up to an empty
// chunk.
std::optional<std::vector<std::uint8_t>> partiallyLengthPrefixed(Reader& reader) {
    if (reader.little(8) == kPlpNull) return std::nullopt;
    std::vector<std::uint8_t> value;
    for (std::uint32_t chunk = reader.u32(); chunk != 0; chunk = reader.u32()) {
        const auto bytes = reader.bytes(chunk);
        value.insert(value.end(), bytes.begin(), bytes.end());
    }
    return value;
}

enum class Kind { Cp1250, Utf16, Binary };

void setVariable(RpcParameter& parameter, Kind kind, std::span<const std::uint8_t> bytes) {
    switch (kind) {
        case Kind::Cp1250:
            setText(parameter, cp1250ToUtf8(std::string_view(
                                   reinterpret_cast<const char*>(bytes.data()), bytes.size())));
            break;
        case Kind::Utf16:
            setText(parameter, utf16Text(bytes));
            break;
        case Kind::Binary:
            setBinary(parameter, bytes);
            break;
    }
}

// VARCHAR, NVARCHAR, VARBINARY and their fixed-length forms: a 2-byte maximum length (0xFFFF
// for the (max) types), the collation for character types, then the value.
void readShortLengthValue(RpcParameter& parameter, Reader& reader, Kind kind) {
    const std::uint16_t maxLength = reader.u16();
    if (kind != Kind::Binary) reader.bytes(kCollationSize);
    if (maxLength == kMaxLength) {
        if (const auto value = partiallyLengthPrefixed(reader))
            setVariable(parameter, kind, *value);
        return;
    }
    const std::uint16_t length = reader.u16();
    if (length != 0xFFFF) setVariable(parameter, kind, reader.bytes(length));
}

// TEXT, NTEXT and IMAGE: a 4-byte maximum length, the collation for character types, then a
// 4-byte length and the value.
void readLongLengthValue(RpcParameter& parameter, Reader& reader, Kind kind) {
    reader.u32();
    if (kind != Kind::Binary) reader.bytes(kCollationSize);
    const std::uint32_t length = reader.u32();
    if (length != 0xFFFFFFFF) setVariable(parameter, kind, reader.bytes(length));
}

void readValue(RpcParameter& parameter, std::uint8_t type, Reader& reader) {
    switch (type) {
        case wire_type::kNull:
            return;
        case wire_type::kInt1:
        case wire_type::kBit:
            return setFixedNumber(parameter, type, reader, 1);
        case wire_type::kInt2:
            return setFixedNumber(parameter, type, reader, 2);
        case wire_type::kInt4:
        case wire_type::kFloat4:
            return setFixedNumber(parameter, type, reader, 4);
        case wire_type::kInt8:
        case wire_type::kFloat8:
            return setFixedNumber(parameter, type, reader, 8);
        case wire_type::kIntN:
        case wire_type::kBitN:
        case wire_type::kFloatN: {
            reader.u8();  // maximum length
            const std::uint8_t length = reader.u8();
            if (length > 8) throw RpcDecodeError("number parameter longer than 8 bytes");
            if (length != 0) setFixedNumber(parameter, type, reader, length);
            return;
        }
        case wire_type::kDecimalN:
        case wire_type::kNumericN: {
            reader.u8();  // maximum length
            reader.u8();  // precision
            const int scale = reader.u8();
            const std::uint8_t length = reader.u8();
            if (length != 0) setDecimal(parameter, reader.bytes(length), scale);
            return;
        }
        case wire_type::kBigVarChar:
        case wire_type::kBigChar:
            return readShortLengthValue(parameter, reader, Kind::Cp1250);
        case wire_type::kNVarChar:
        case wire_type::kNChar:
            return readShortLengthValue(parameter, reader, Kind::Utf16);
        case wire_type::kBigVarBinary:
        case wire_type::kBigBinary:
            return readShortLengthValue(parameter, reader, Kind::Binary);
        case wire_type::kText:
            return readLongLengthValue(parameter, reader, Kind::Cp1250);
        case wire_type::kNText:
            return readLongLengthValue(parameter, reader, Kind::Utf16);
        case wire_type::kImage:
            return readLongLengthValue(parameter, reader, Kind::Binary);
        default: {
            static constexpr char kHex[] = "0123456789ABCDEF";
            throw RpcDecodeError(std::string("parameter type 0x") + kHex[type >> 4] +
                                 kHex[type & 0x0F] + " is not supported");
        }
    }
}

RpcParameter readParameter(Reader& reader) {
    RpcParameter parameter;
    parameter.name = utf16Text(reader.bytes(std::size_t{reader.u8()} * 2));
    parameter.output = (reader.u8() & kOutputFlag) != 0;
    readValue(parameter, reader.u8(), reader);
    return parameter;
}

}  // namespace

std::vector<RpcCall> decodeRpcRequest(std::span<const std::uint8_t> payload) {
    Reader reader(withoutHeaders(payload));
    std::vector<RpcCall> calls;
    while (!reader.atEnd()) {
        RpcCall call;
        const std::uint16_t nameLength = reader.u16();
        if (nameLength == 0xFFFF) {
            const std::uint16_t number = reader.u16();
            if (number == 0 || number >= kProcedureNames.size()) {
                throw RpcDecodeError("unknown procedure number " + std::to_string(number));
            }
            call.procedure = kProcedureNames[number];
        } else {
            call.procedure = utf16Text(reader.bytes(std::size_t{nameLength} * 2));
        }
        reader.u16();  // option flags: recompile, no metadata; nothing to do for either
        while (!reader.atEnd() && reader.peek() != kBatchSeparator) {
            call.parameters.push_back(readParameter(reader));
        }
        if (!reader.atEnd()) reader.u8();
        calls.push_back(std::move(call));
    }
    if (calls.empty()) throw RpcDecodeError("RPC request without a call");
    return calls;
}

}  // namespace tds
