#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "Journal.h"

// Decoding the two request messages the server acts on after login.
namespace tds {

// The request after its leading ALL_HEADERS block (the whole payload when there is none).
std::span<const std::uint8_t> withoutHeaders(std::span<const std::uint8_t> payload);

// A SQL batch: the ALL_HEADERS block, then the text in UCS-2LE. Returns the text as UTF-8.
std::string decodeSqlBatch(std::span<const std::uint8_t> payload);

// A transaction manager request: begin (5), commit (7) or rollback (8). Commit and rollback may
// ask for a new transaction at once, as the driver does for SQLEndTran with autocommit off.
struct TransactionRequest {
    RequestKind kind = RequestKind::Begin;
    bool beginNew = false;
};
// nullopt for other request types and malformed messages.
std::optional<TransactionRequest> parseTransactionRequest(std::span<const std::uint8_t> payload);

}  // namespace tds
