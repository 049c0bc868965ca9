#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "TdsVersion.h"

// The server writes every token stream as TDS 7.4 has it (TokenWriter.h). A session that speaks an
// older version sends it in that version's form, made here at the edge, so that the code that
// answers requests never needs to know the version. From 7.2 to 7.4 the tokens the server writes
// do not differ; 7.1 has 4-byte DONE row counts, 2-byte user types and line numbers, and no
// ENVCHANGE for transactions (a 7.1 client learns of its transactions from the batches it sent).
namespace tds {

// A token stream the conversion cannot read: a token or data type the server never writes.
class TokenStreamError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// `tokens` (7.4 form) in the form of `version`. Throws TokenStreamError.
std::vector<std::uint8_t> tokensForVersion(std::span<const std::uint8_t> tokens,
                                           TdsVersion version);

}  // namespace tds
