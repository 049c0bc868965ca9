#include "Reply.h"

namespace tds {

std::uint16_t Reply::status(std::uint16_t bits) const {
    return inTransaction_ ? static_cast<std::uint16_t>(bits | done_status::kInTransaction) : bits;
}

void Reply::count(std::uint64_t rows, bool last) {
    if (inProcedure_) {
        tokens_.doneInProc(status(done_status::kCount | done_status::kMore), rows);
    } else {
        tokens_.done(status(done_status::kCount | (last ? 0 : done_status::kMore)), rows);
    }
}

void Reply::resultSet(const std::vector<Column>& columns, const std::vector<Row>& rows, bool last) {
    tokens_.columns(columns);
    for (const Row& row : rows) tokens_.row(columns, row);
    count(rows.size(), last);
}

void Reply::done() {
    if (!inProcedure_) tokens_.done(status(done_status::kFinal));
}

void Reply::fail(const ServerMessage& error) {
    tokens_.message(error);
    if (inProcedure_) {
        tokens_.doneInProc(status(done_status::kError | done_status::kMore));
    } else {
        tokens_.done(status(done_status::kError));
    }
}

}  // namespace tds
