#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Decoding of remote procedure call requests (packet type 3), as ODBC drivers send them for
// prepared and parameterised statements: sp_executesql, sp_prepare, sp_execute, sp_prepexec,
// sp_unprepare, usually by their well-known procedure numbers.
namespace tds {

// A malformed request, or a parameter of a type the server does not read.
class RpcDecodeError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One parameter as sent. A value is NULL, a number or a text; `literal` is the value written as
// T-SQL (NULL, 42, 1.5, 'it''s', 0x0A0B), which is how it stands in for the parameter in a
// statement.
struct RpcParameter {
    std::string name;  // with its '@', or empty when the driver passes it by position
    bool output = false;
    bool isNull = true;
    std::optional<std::int64_t> integer;  // integer and bit types
    std::optional<std::string> text;      // character types, UTF-8
    std::string literal = "NULL";
};

struct RpcCall {
    // The procedure's name: the well-known name for a procedure number ("sp_prepexec" for 13),
    // otherwise the name as sent.
    std::string procedure;
    std::vector<RpcParameter> parameters;
};

// Every call of the request (a client may batch several). Throws RpcDecodeError.
std::vector<RpcCall> decodeRpcRequest(std::span<const std::uint8_t> payload);

}  // namespace tds
