#include "OdbcClient.h"

#include <stdexcept>

#include "Text.h"

namespace tds_test {
namespace {

std::vector<SQLWCHAR> wide(const std::string& utf8) {
    const std::u16string text = tds::utf8ToUtf16(utf8);
    std::vector<SQLWCHAR> out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

std::string narrow(const SQLWCHAR* text, std::size_t length) {
    return tds::utf16ToUtf8(std::u16string(text, text + length));
}

}  // namespace

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

OdbcClient::OdbcClient() {
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)) ||
        !succeeded(SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION,
                                 reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
        !succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
        throw std::runtime_error("cannot allocate ODBC handles");
    }
}

OdbcClient::~OdbcClient() {
    disconnect();
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

SQLRETURN OdbcClient::record(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle) {
    diagnostics_.clear();
    if (rc == SQL_SUCCESS || rc == SQL_NO_DATA || rc == SQL_INVALID_HANDLE) return rc;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLWCHAR message[4096] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!succeeded(SQLGetDiagRecW(handleType, handle, i, state, &native, message,
                                      sizeof message / sizeof message[0], &length))) {
            break;
        }
        diagnostics_.push_back({narrow(state, 5), native, narrow(message, length)});
    }
    return rc;
}

SQLRETURN OdbcClient::connect(std::uint16_t port, const Login& login) {
    SQLSetConnectAttrW(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(5), 0);
    // Timeout=10 turns a server that never answers into a failed test, not a hung one.
    const std::string text = "DRIVER=FreeTDS;SERVER=127.0.0.1;PORT=" + std::to_string(port) +
                             ";DATABASE=" + login.database + ";UID=" + login.user +
                             ";PWD=" + login.password + ";APP=U:admin;TDS_Version=7.4;Timeout=10";
    std::vector<SQLWCHAR> connection = wide(text);
    const SQLRETURN rc = record(SQLDriverConnectW(dbc_, nullptr, connection.data(), SQL_NTS,
                                                  nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
                                SQL_HANDLE_DBC, dbc_);
    if (!succeeded(rc)) return rc;
    connected_ = true;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt_))) {
        throw std::runtime_error("cannot allocate an ODBC statement");
    }
    return rc;
}

void OdbcClient::disconnect() {
    if (stmt_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
    stmt_ = SQL_NULL_HSTMT;
    if (connected_) SQLDisconnect(dbc_);
    connected_ = false;
}

SQLRETURN OdbcClient::execute(const std::string& utf8Text) {
    std::vector<SQLWCHAR> text = wide(utf8Text);
    return record(SQLExecDirectW(stmt_, text.data(), SQL_NTS), SQL_HANDLE_STMT, stmt_);
}

template <typename Run>
SQLRETURN OdbcClient::withParameters(const std::vector<Parameter>& parameters, Run run) {
    std::vector<std::vector<SQLWCHAR>> values;
    std::vector<SQLLEN> indicators(parameters.size(), SQL_NTS);
    values.reserve(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        values.push_back(wide(parameters[i].value_or("")));
        if (!parameters[i]) indicators[i] = SQL_NULL_DATA;
        const SQLRETURN rc =
            record(SQLBindParameter(stmt_, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                                    SQL_C_WCHAR, SQL_WVARCHAR, 255, 0, values.back().data(),
                                    static_cast<SQLLEN>(values.back().size() * sizeof(SQLWCHAR)),
                                    &indicators[i]),
                   SQL_HANDLE_STMT, stmt_);
        if (!succeeded(rc)) return rc;
    }
    const SQLRETURN rc = record(run(), SQL_HANDLE_STMT, stmt_);
    return rc;
}

SQLRETURN OdbcClient::execute(const std::string& utf8Text,
                              const std::vector<Parameter>& parameters) {
    std::vector<SQLWCHAR> text = wide(utf8Text);
    return withParameters(parameters, [&] { return SQLExecDirectW(stmt_, text.data(), SQL_NTS); });
}

SQLRETURN OdbcClient::prepare(const std::string& utf8Text) {
    std::vector<SQLWCHAR> text = wide(utf8Text);
    return record(SQLPrepareW(stmt_, text.data(), SQL_NTS), SQL_HANDLE_STMT, stmt_);
}

SQLRETURN OdbcClient::executePrepared(const std::vector<Parameter>& parameters) {
    return withParameters(parameters, [&] { return SQLExecute(stmt_); });
}

SQLRETURN OdbcClient::useServerCursor() {
    return record(
        SQLSetStmtAttrW(stmt_, SQL_ATTR_CURSOR_TYPE,
                        reinterpret_cast<SQLPOINTER>(SQL_CURSOR_KEYSET_DRIVEN), SQL_IS_UINTEGER),
        SQL_HANDLE_STMT, stmt_);
}

SQLRETURN OdbcClient::moreResults() {
    return record(SQLMoreResults(stmt_), SQL_HANDLE_STMT, stmt_);
}

SQLLEN OdbcClient::rowCount() {
    SQLLEN rows = -2;
    SQLRowCount(stmt_, &rows);
    return rows;
}

std::vector<ResultRow> OdbcClient::fetchAll() {
    std::vector<ResultRow> rows;
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt_, &columns);
    while (succeeded(record(SQLFetch(stmt_), SQL_HANDLE_STMT, stmt_))) {
        ResultRow row;
        for (SQLUSMALLINT column = 1; column <= columns; ++column) {
            SQLWCHAR value[1024] = {};
            SQLLEN indicator = 0;
            SQLGetData(stmt_, column, SQL_C_WCHAR, value, sizeof value, &indicator);
            if (indicator == SQL_NULL_DATA) {
                row.emplace_back(std::nullopt);
            } else {
                row.emplace_back(narrow(value, static_cast<std::size_t>(indicator) / 2));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void OdbcClient::closeCursor() { SQLFreeStmt(stmt_, SQL_CLOSE); }

SQLRETURN OdbcClient::setAutocommit(bool on) {
    return record(SQLSetConnectAttrW(
                      dbc_, SQL_ATTR_AUTOCOMMIT,
                      reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF),
                      SQL_IS_UINTEGER),
                  SQL_HANDLE_DBC, dbc_);
}

SQLRETURN OdbcClient::endTransaction(bool commit) {
    return record(SQLEndTran(SQL_HANDLE_DBC, dbc_, commit ? SQL_COMMIT : SQL_ROLLBACK),
                  SQL_HANDLE_DBC, dbc_);
}

SQLRETURN OdbcClient::setQueryTimeout(SQLULEN seconds) {
    return record(SQLSetStmtAttrW(stmt_, SQL_ATTR_QUERY_TIMEOUT,
                                  reinterpret_cast<SQLPOINTER>(seconds), SQL_IS_UINTEGER),
                  SQL_HANDLE_STMT, stmt_);
}

bool OdbcClient::hasNative(SQLINTEGER native) const {
    for (const Diagnostic& diagnostic : diagnostics_) {
        if (diagnostic.native == native) return true;
    }
    return false;
}

}  // namespace tds_test
