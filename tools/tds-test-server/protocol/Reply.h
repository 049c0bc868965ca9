#pragma once

#include <cstdint>
#include <vector>

#include "TokenWriter.h"

namespace tds {

// The token stream answering one request, statement by statement. Every DONE but the last
// carries MORE; the in-transaction bit goes on every DONE while a transaction is open. Inside a
// procedure call the statements end in DONEINPROC, all with MORE, and the caller ends the call.
class Reply {
  public:
    explicit Reply(bool inTransaction, bool inProcedure = false)
        : inTransaction_(inTransaction), inProcedure_(inProcedure) {}

    // A statement's row count, e.g. from an UPDATE or an assignment SELECT.
    void count(std::uint64_t rows, bool last = false);
    // COLMETADATA, one ROW per row, DONE with the row count.
    void resultSet(const std::vector<Column>& columns, const std::vector<Row>& rows,
                   bool last = false);
    // The final DONE of a batch whose statements report nothing more.
    void done();
    // ERROR, then the final DONE with the error bit.
    void fail(const ServerMessage& error);

    std::vector<std::uint8_t> take() { return tokens_.take(); }

  private:
    std::uint16_t status(std::uint16_t bits) const;

    bool inTransaction_;
    bool inProcedure_;
    TokenBuffer tokens_;
};

}  // namespace tds
