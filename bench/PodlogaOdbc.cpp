// The driver's floor: the least a client can do to send a package through the same ODBC driver.
// It takes the batches the runner sends (each as its length in decimal, a line end, then its
// bytes; bench_wykonanie writes them), converts them to UTF-8 first, as the program converts each
// batch, and then, in one function that a count of instructions can single out (WyslijPartie), logs
// in, sends every batch in one transaction reading each batch's results to their end, commits and
// logs out.
//   bench_podloga_odbc SERVER BATCH-FILE   (the bench server's database and login)
#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProcesSerwera.h"
#include "db/ConnectionStringODBC.h"
#include "db/Kodowanie.h"

using namespace zuv;

namespace {

struct ZwolnijUchwyt {
    SQLSMALLINT rodzaj;
    void operator()(void* uchwyt) const { SQLFreeHandle(rodzaj, uchwyt); }
};
using Uchwyt = std::unique_ptr<void, ZwolnijUchwyt>;

Uchwyt Przydziel(SQLSMALLINT rodzaj, SQLHANDLE rodzic) {
    SQLHANDLE uchwyt = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(rodzaj, rodzic, &uchwyt))) throw std::runtime_error("alloc");
    return Uchwyt(uchwyt, ZwolnijUchwyt{rodzaj});
}

void Sprawdz(SQLRETURN wynik, const char* co) {
    if (!SQL_SUCCEEDED(wynik) && wynik != SQL_NO_DATA) throw std::runtime_error(co);
}

// Kept out of line: the instruction count collects this function and what it calls.
[[gnu::noinline]] void WyslijPartie(const std::string& odbc,
                                    const std::vector<std::string>& partie) {
    const Uchwyt srodowisko = Przydziel(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    Sprawdz(SQLSetEnvAttr(srodowisko.get(), SQL_ATTR_ODBC_VERSION,
                          reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
            "odbc version");
    const Uchwyt polaczenie = Przydziel(SQL_HANDLE_DBC, srodowisko.get());
    std::string tekst = odbc;
    Sprawdz(SQLDriverConnect(polaczenie.get(), nullptr, reinterpret_cast<SQLCHAR*>(tekst.data()),
                             static_cast<SQLSMALLINT>(tekst.size()), nullptr, 0, nullptr,
                             SQL_DRIVER_NOPROMPT),
            "connect");
    Sprawdz(SQLSetConnectAttr(polaczenie.get(), SQL_ATTR_AUTOCOMMIT,
                              reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
            "autocommit");
    {
        const Uchwyt polecenie = Przydziel(SQL_HANDLE_STMT, polaczenie.get());
        for (const std::string& partia : partie) {
            Sprawdz(SQLExecDirect(polecenie.get(),
                                  reinterpret_cast<SQLCHAR*>(const_cast<char*>(partia.data())),
                                  static_cast<SQLINTEGER>(partia.size())),
                    "exec");
            while (SQL_SUCCEEDED(SQLMoreResults(polecenie.get()))) {
            }
            SQLFreeStmt(polecenie.get(), SQL_CLOSE);
        }
    }
    Sprawdz(SQLEndTran(SQL_HANDLE_DBC, polaczenie.get(), SQL_COMMIT), "commit");
    SQLDisconnect(polaczenie.get());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_podloga_odbc CONNECTION-STRING BATCH-FILE\n");
        return 2;
    }
    std::ifstream plik(argv[2], std::ios::binary);
    std::stringstream tresc;
    tresc << plik.rdbuf();
    const std::string wszystko = tresc.str();
    std::vector<std::string> partie;
    BuforKonwersji<char> bufor;
    for (std::size_t poczatek = 0; poczatek < wszystko.size();) {
        const std::size_t koniecDlugosci = wszystko.find('\n', poczatek);
        if (koniecDlugosci == std::string::npos) break;
        const std::size_t dlugosc =
            std::stoul(wszystko.substr(poczatek, koniecDlugosci - poczatek));
        partie.emplace_back(
            Cp1250NaUtf8(std::string_view(wszystko).substr(koniecDlugosci + 1, dlugosc), bufor));
        poczatek = koniecDlugosci + 1 + dlugosc;
    }
    const std::string odbc = ConnectionStringODBC({argv[1], "ZUV", "sa", ProcesSerwera::Haslo},
                                                  "FreeTDS", RodzajSterownika::FreeTDS) +
                             ";ClientCharset=UTF-8";
    try {
        WyslijPartie(odbc, partie);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_podloga_odbc: %s failed\n", e.what());
        return 1;
    }
    return 0;
}
