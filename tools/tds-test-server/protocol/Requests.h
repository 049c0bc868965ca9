#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

// Before TDS 7.2 there are no transaction requests; the driver sends "BEGIN TRANSACTION" and
// "IF @@TRANCOUNT > 0 COMMIT" or "... ROLLBACK", each optionally followed by " BEGIN
// TRANSACTION", as batches. The request such a batch amounts to, given whether the session has a
// transaction open (with none, the guarded commit or roll back does nothing but its begin);
// nullopt for any other batch and for one that does nothing.
std::optional<TransactionRequest> transactionInBatch(std::string_view text, bool transactionOpen);

}  // namespace tds
