#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "RpcRequest.h"
#include "TokenWriter.h"

// The system procedures through which ODBC drivers run prepared and parameterised statements.
// The server answers them by binding the parameters into the statement text and running that
// text as it runs a batch, so a prepared statement is understood wherever the same statement
// sent as a batch is.
namespace tds {

// What one call asks of the server.
struct ProcedureAction {
    std::string procedure;
    std::optional<std::string> statement;  // to run, with the parameters bound in
    // A prepared statement's handle, returned in the call's first (output) parameter.
    std::optional<std::int32_t> handle;
    std::string handleName;
    std::optional<ServerMessage> error;  // the call fails with this instead
    std::string detail;                  // the statement or the handle, for the journal

    // "sp_prepexec: <statement>", "sp_unprepare: 3", ...
    std::string journalText() const;
};

// The prepared statements of one session, and the rules of the five procedures.
class ProcedureCalls {
  public:
    ProcedureAction resolve(const RpcCall& call);

  private:
    struct Prepared {
        std::string declarations;
        std::string statement;
    };
    std::int32_t prepare(std::string declarations, std::string statement);
    const Prepared* find(const RpcParameter& handle) const;

    std::map<std::int32_t, Prepared> prepared_;
    std::int32_t nextHandle_ = 1;
};

// The statement with every parameter of `declarations` ("@P1 int, @P2 nvarchar(20)") that has a
// value replaced by the value's literal. Values match a declaration by name, or by position when
// they come without one. Quoted texts, [names], "names" and comments are left as they are, and
// so are parameters without a value. Throws std::invalid_argument for a value that matches no
// declaration.
std::string bindParameters(std::string_view statement, std::string_view declarations,
                           std::span<const RpcParameter> values);

}  // namespace tds
