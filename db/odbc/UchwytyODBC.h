#pragma once
// RAII owners of ODBC handles and the check of every ODBC call's result. Private to db/: the
// adapter's headers are the only ones that include <sql.h>, and the connection's public header,
// db/PolaczenieODBC.h, is free of ODBC types. Only the db library defines ZUV_WNETRZE_DB
// (db/CMakeLists.txt), so a file of any other target that includes this header fails to build.
#ifndef ZUV_WNETRZE_DB
#error "db/odbc/ is private to the db library; elsewhere use db/PolaczenieODBC.h"
#endif

// Windows' ODBC headers use the types of <windows.h> without including it.
#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/DiagnostykaODBC.h"

namespace zuv {

// One ODBC handle of the given kind, freed when the owner goes. Owners are declared so that a
// child is destroyed before its parent.
template <SQLSMALLINT Rodzaj>
class UchwytODBC {
  public:
    UchwytODBC() = default;
    ~UchwytODBC() { Zwolnij(); }
    UchwytODBC(UchwytODBC&& inny) noexcept : uchwyt_(std::exchange(inny.uchwyt_, SQLHANDLE{})) {}
    UchwytODBC& operator=(UchwytODBC&& inny) noexcept {
        if (this != &inny) {
            Zwolnij();
            uchwyt_ = std::exchange(inny.uchwyt_, SQLHANDLE{});
        }
        return *this;
    }
    UchwytODBC(const UchwytODBC&) = delete;
    UchwytODBC& operator=(const UchwytODBC&) = delete;

    SQLHANDLE Uchwyt() const noexcept { return uchwyt_; }
    SQLHANDLE* Adres() noexcept { return &uchwyt_; }
    explicit operator bool() const noexcept { return uchwyt_ != SQL_NULL_HANDLE; }
    void Zwolnij() noexcept {
        if (uchwyt_ != SQL_NULL_HANDLE) SQLFreeHandle(Rodzaj, uchwyt_);
        uchwyt_ = SQL_NULL_HANDLE;
    }

  private:
    SQLHANDLE uchwyt_ = SQL_NULL_HANDLE;
};

using SrodowiskoODBC = UchwytODBC<SQL_HANDLE_ENV>;
using PolaczenieUchwytODBC = UchwytODBC<SQL_HANDLE_DBC>;
using PolecenieODBC = UchwytODBC<SQL_HANDLE_STMT>;

// The driver a session uses and how texts cross its calls.
struct SterownikODBC {
    std::string nazwa;  // empty before one is chosen
    // The session was opened with the narrow call and the driver's client character set UTF-8:
    // texts then go to the driver and come back through the narrow calls, as UTF-8. (On such a
    // session the driver manager would widen what the driver gives the wide calls byte by byte.)
    bool waskieUtf8 = false;
};

// Every diagnostic record of the handle, in the driver's order.
std::vector<RekordDiagnostyki> RekordyODBC(SQLSMALLINT rodzaj, SQLHANDLE uchwyt,
                                           const SterownikODBC& sterownik);

// The error of a failed ODBC call, made from the handle's diagnostic records by the rules of
// BladZDiagnostyki (db/DiagnostykaODBC.h).
EOleException BladODBC(SQLSMALLINT rodzaj, SQLHANDLE uchwyt, const SterownikODBC& sterownik,
                       std::string_view polecenie = {});

// Throws BladODBC unless the call succeeded (SQL_NO_DATA counts as success: a batch without a row
// count ends so).
inline void SprawdzODBC(SQLRETURN wynik, SQLSMALLINT rodzaj, SQLHANDLE uchwyt,
                        const SterownikODBC& sterownik, std::string_view polecenie = {}) {
    if (wynik == SQL_SUCCESS || wynik == SQL_SUCCESS_WITH_INFO || wynik == SQL_NO_DATA) return;
    throw BladODBC(rodzaj, uchwyt, sterownik, polecenie);
}

}  // namespace zuv
