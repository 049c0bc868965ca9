#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A small ODBC client over the real driver stack (unixODBC + FreeTDS), for talking to the test
// server as the program does: wide calls only, every result drained by the test itself.
namespace tds_test {

struct Diagnostic {
    std::string sqlState;
    SQLINTEGER native = 0;
    std::string message;  // UTF-8, driver prefixes included
};

using ResultRow = std::vector<std::optional<std::string>>;
// A statement parameter, bound as wide text; nullopt is NULL.
using Parameter = std::optional<std::string>;

struct Login {
    std::string user = "sa";
    std::string password = "Tajne1";
    std::string database = "ZUV";
};

class OdbcClient {
  public:
    OdbcClient();
    ~OdbcClient();
    OdbcClient(const OdbcClient&) = delete;
    OdbcClient& operator=(const OdbcClient&) = delete;

    // Diagnostics of the last call are in diagnostics().
    SQLRETURN connect(std::uint16_t port, const Login& login = {});
    void disconnect();

    SQLRETURN execute(const std::string& utf8Text);
    // With '?' markers: the driver sends the statement and the values in sp_executesql.
    SQLRETURN execute(const std::string& utf8Text, const std::vector<Parameter>& parameters);
    // SQLPrepareW, then each executePrepared runs it with its values (sp_prepexec the first
    // time, sp_execute after).
    SQLRETURN prepare(const std::string& utf8Text);
    SQLRETURN executePrepared(const std::vector<Parameter>& parameters);
    // A server cursor instead of the default forward-only result (the driver uses
    // sp_cursoropen).
    SQLRETURN useServerCursor();
    SQLRETURN moreResults();
    SQLLEN rowCount();
    // Fetches the current result set as text (SQL_C_WCHAR), NULL as nullopt.
    std::vector<ResultRow> fetchAll();
    // Closes the statement's cursor, as a program does after an error.
    void closeCursor();

    SQLRETURN setAutocommit(bool on);
    SQLRETURN endTransaction(bool commit);
    SQLRETURN setQueryTimeout(SQLULEN seconds);

    const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }
    // Whether some diagnostic has this native error number.
    bool hasNative(SQLINTEGER native) const;

  private:
    SQLRETURN record(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle);
    // Binds the values, runs `run` and unbinds them again.
    template <typename Run>
    SQLRETURN withParameters(const std::vector<Parameter>& parameters, Run run);

    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
    bool connected_ = false;
    std::vector<Diagnostic> diagnostics_;
};

bool succeeded(SQLRETURN rc);

}  // namespace tds_test
