#include "TokensForVersion.h"

#include <string>

#include "WireTypes.h"

namespace tds {
namespace {

namespace token {
constexpr std::uint8_t kColMetadata = 0x81;
constexpr std::uint8_t kReturnStatus = 0x79;
constexpr std::uint8_t kError = 0xAA;
constexpr std::uint8_t kInfo = 0xAB;
constexpr std::uint8_t kReturnValue = 0xAC;
constexpr std::uint8_t kLoginAck = 0xAD;
constexpr std::uint8_t kRow = 0xD1;
constexpr std::uint8_t kEnvChange = 0xE3;
constexpr std::uint8_t kDone = 0xFD;
constexpr std::uint8_t kDoneProc = 0xFE;
constexpr std::uint8_t kDoneInProc = 0xFF;
}  // namespace token

// ENVCHANGE types that came with 7.2: begin, commit and roll back of a transaction, DTC
// enlistment and defection, and the transaction that ended in a batch.
constexpr std::uint8_t kFirstTransactionEnvChange = 8;
constexpr std::uint8_t kLastTransactionEnvChange = 12;

constexpr std::uint16_t kNullLength = 0xFFFF;

// How a column's values are laid out in a ROW.
enum class ValueLayout { Fixed, ByteLength, ShortLength };

struct ColumnLayout {
    ValueLayout layout = ValueLayout::Fixed;
    std::size_t fixedSize = 0;
};

class Converter {
  public:
    explicit Converter(std::span<const std::uint8_t> in) : in_(in) {}

    std::vector<std::uint8_t> toTds71() {
        while (pos_ < in_.size()) {
            const std::uint8_t marker = u8();
            switch (marker) {
                case token::kDone:
                case token::kDoneProc:
                case token::kDoneInProc:
                    put(marker);
                    copy(4);  // status, current command
                    putLittle(read(8), 4);
                    break;
                case token::kError:
                case token::kInfo:
                    message(marker);
                    break;
                case token::kEnvChange:
                    envChange();
                    break;
                case token::kLoginAck:
                    put(marker);
                    copy(peekShort() + 2);
                    break;
                case token::kReturnStatus:
                    put(marker);
                    copy(4);
                    break;
                case token::kColMetadata:
                    columnMetadata();
                    break;
                case token::kRow:
                    row();
                    break;
                case token::kReturnValue:
                    returnValue();
                    break;
                default:
                    throw TokenStreamError("token 0x" + hex(marker) +
                                           " cannot be written for TDS 7.1");
            }
        }
        return std::move(out_);
    }

  private:
    void need(std::size_t count) const {
        if (in_.size() - pos_ < count) throw TokenStreamError("token stream cut short");
    }
    std::uint8_t u8() {
        need(1);
        return in_[pos_++];
    }
    std::uint64_t read(std::size_t size) {
        need(size);
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{in_[pos_ + i]} << (8 * i);
        pos_ += size;
        return value;
    }
    std::size_t peekShort() const {
        need(2);
        return in_[pos_] | (std::size_t{in_[pos_ + 1]} << 8);
    }
    void put(std::uint8_t byte) { out_.push_back(byte); }
    void putLittle(std::uint64_t value, std::size_t size) {
        // A row count past what 4 bytes hold cannot be told to a 7.1 client; it gets the largest.
        if (size < 8 && value >> (8 * size) != 0) value = (std::uint64_t{1} << (8 * size)) - 1;
        for (std::size_t i = 0; i < size; ++i) put(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void copy(std::size_t count) {
        need(count);
        out_.insert(out_.end(), in_.begin() + static_cast<std::ptrdiff_t>(pos_),
                    in_.begin() + static_cast<std::ptrdiff_t>(pos_ + count));
        pos_ += count;
    }
    // A B_VARCHAR: a 1-byte character count, then UCS-2.
    void copyByteText() {
        need(1);
        copy(1 + std::size_t{in_[pos_]} * 2);
    }
    static std::string hex(std::uint8_t byte) {
        constexpr char kDigits[] = "0123456789abcdef";
        return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
    }

    // ERROR and INFO: the same fields with a 2-byte line number, so a length 2 bytes shorter.
    void message(std::uint8_t marker) {
        const std::size_t length = read(2);
        const std::size_t end = pos_ + length;
        put(marker);
        putLittle(length - 2, 2);
        copy(6);  // number, state, class
        copy(2 + peekShort() * 2);
        copyByteText();  // server
        copyByteText();  // procedure
        putLittle(read(4), 2);
        if (pos_ != end) throw TokenStreamError("ERROR or INFO of an unexpected length");
    }

    void envChange() {
        const std::size_t length = peekShort();
        need(2 + length);
        const std::uint8_t type = length > 0 ? in_[pos_ + 2] : 0;
        if (type >= kFirstTransactionEnvChange && type <= kLastTransactionEnvChange) {
            pos_ += 2 + length;
            return;
        }
        put(token::kEnvChange);
        copy(2 + length);
    }

    // A TYPE_INFO, copied; returns how the values of that type are laid out.
    ColumnLayout typeInfo() {
        const std::uint8_t type = u8();
        put(type);
        switch (type) {
            case wire_type::kInt1:
            case wire_type::kBit:
                return {ValueLayout::Fixed, 1};
            case wire_type::kInt2:
                return {ValueLayout::Fixed, 2};
            case wire_type::kInt4:
            case wire_type::kFloat4:
                return {ValueLayout::Fixed, 4};
            case wire_type::kInt8:
            case wire_type::kFloat8:
                return {ValueLayout::Fixed, 8};
            case wire_type::kIntN:
            case wire_type::kBitN:
            case wire_type::kFloatN:
            case wire_type::kDateTimeN:
                copy(1);
                return {ValueLayout::ByteLength, 0};
            case wire_type::kDecimalN:
            case wire_type::kNumericN:
                copy(3);  // size, precision, scale
                return {ValueLayout::ByteLength, 0};
            case wire_type::kBigVarChar:
            case wire_type::kBigChar:
            case wire_type::kNVarChar:
            case wire_type::kNChar:
                if (peekShort() == kNullLength) break;  // a (max) type: 7.2 and later
                copy(2 + 5);                            // maximum length, collation
                return {ValueLayout::ShortLength, 0};
            case wire_type::kBigVarBinary:
            case wire_type::kBigBinary:
                if (peekShort() == kNullLength) break;
                copy(2);
                return {ValueLayout::ShortLength, 0};
            default:
                break;
        }
        throw TokenStreamError("data type 0x" + hex(type) + " cannot be written for TDS 7.1");
    }

    void columnMetadata() {
        put(token::kColMetadata);
        const std::size_t count = read(2);
        putLittle(count, 2);
        columns_.clear();
        if (count == kNullLength) return;  // no metadata
        for (std::size_t i = 0; i < count; ++i) {
            putLittle(read(4), 2);  // user type
            copy(2);                // flags
            columns_.push_back(typeInfo());
            copyByteText();  // name
        }
    }

    // One value of a column laid out so, copied.
    void copyValue(const ColumnLayout& column) {
        switch (column.layout) {
            case ValueLayout::Fixed:
                copy(column.fixedSize);
                break;
            case ValueLayout::ByteLength:
                need(1);
                copy(1 + std::size_t{in_[pos_]});
                break;
            case ValueLayout::ShortLength: {
                const std::size_t length = peekShort();
                copy(2 + (length == kNullLength ? 0 : length));
                break;
            }
        }
    }

    void row() {
        put(token::kRow);
        for (const ColumnLayout& column : columns_) copyValue(column);
    }

    void returnValue() {
        put(token::kReturnValue);
        copy(2);  // ordinal
        copyByteText();
        copy(1);                // status
        putLittle(read(4), 2);  // user type
        copy(2);                // flags
        copyValue(typeInfo());
    }

    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
    std::vector<std::uint8_t> out_;
    std::vector<ColumnLayout> columns_;
};

}  // namespace

std::vector<std::uint8_t> tokensForVersion(std::span<const std::uint8_t> tokens,
                                           TdsVersion version) {
    if (isTds72OrLater(version)) return {tokens.begin(), tokens.end()};
    return Converter(tokens).toTds71();
}

}  // namespace tds
