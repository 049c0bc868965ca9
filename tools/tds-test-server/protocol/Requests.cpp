#include "Requests.h"

#include "Text.h"

namespace tds {
namespace {

constexpr std::uint16_t kBeginTransaction = 5;
constexpr std::uint16_t kCommitTransaction = 7;
constexpr std::uint16_t kRollbackTransaction = 8;
constexpr std::uint8_t kBeginNewFlag = 0x01;

// The size of the leading ALL_HEADERS block (its first four bytes), or 0 when there is none.
std::size_t headersSize(std::span<const std::uint8_t> payload) {
    if (payload.size() < 4) return 0;
    const std::size_t total =
        payload[0] | (payload[1] << 8) | (payload[2] << 16) | (std::size_t{payload[3]} << 24);
    return (total >= 4 && total <= payload.size()) ? total : 0;
}

}  // namespace

std::span<const std::uint8_t> withoutHeaders(std::span<const std::uint8_t> payload) {
    return payload.subspan(headersSize(payload));
}

std::string decodeSqlBatch(std::span<const std::uint8_t> payload) {
    return utf16leToUtf8(withoutHeaders(payload));
}

std::optional<TransactionRequest> parseTransactionRequest(std::span<const std::uint8_t> payload) {
    const std::span<const std::uint8_t> body = withoutHeaders(payload);
    if (body.size() < 2) return std::nullopt;
    const std::uint16_t type = static_cast<std::uint16_t>(body[0] | (body[1] << 8));
    switch (type) {
        case kBeginTransaction:
            return TransactionRequest{RequestKind::Begin, false};
        case kCommitTransaction:
        case kRollbackTransaction: {
            TransactionRequest request{
                type == kCommitTransaction ? RequestKind::Commit : RequestKind::Rollback, false};
            // Transaction name (1-byte character count, UCS-2), then the optional flags byte.
            if (body.size() >= 3) {
                const std::size_t flagsOffset = 3 + std::size_t{body[2]} * 2;
                if (flagsOffset < body.size()) {
                    request.beginNew = (body[flagsOffset] & kBeginNewFlag) != 0;
                }
            }
            return request;
        }
        default:
            return std::nullopt;
    }
}

std::optional<TransactionRequest> transactionInBatch(std::string_view text, bool transactionOpen) {
    constexpr std::string_view kBegin = "BEGIN TRANSACTION";
    constexpr std::string_view kGuard = "IF @@TRANCOUNT > 0 ";
    if (text == kBegin) return TransactionRequest{RequestKind::Begin, false};
    if (!text.starts_with(kGuard)) return std::nullopt;
    text.remove_prefix(kGuard.size());
    RequestKind kind = RequestKind::Commit;
    if (text.starts_with("COMMIT")) {
        text.remove_prefix(6);
    } else if (text.starts_with("ROLLBACK")) {
        kind = RequestKind::Rollback;
        text.remove_prefix(8);
    } else {
        return std::nullopt;
    }
    bool beginNew = false;
    if (text == " BEGIN TRANSACTION") {
        beginNew = true;
    } else if (!text.empty()) {
        return std::nullopt;
    }
    if (transactionOpen) return TransactionRequest{kind, beginNew};
    if (beginNew) return TransactionRequest{RequestKind::Begin, false};
    return std::nullopt;
}

}  // namespace tds
