#include "db/odbc/UchwytyODBC.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "db/Kodowanie.h"

namespace zuv {

namespace {

std::u16string TekstUtf16(const SQLWCHAR* tekst, std::size_t dlugosc) {
    std::u16string wynik(dlugosc, u'\0');
    for (std::size_t i = 0; i < dlugosc; ++i) wynik[i] = static_cast<char16_t>(tekst[i]);
    return wynik;
}

// The records read through the narrow call, whose texts the driver gives in UTF-8.
std::vector<RekordDiagnostyki> RekordyUtf8(SQLSMALLINT rodzaj, SQLHANDLE uchwyt) {
    std::vector<RekordDiagnostyki> rekordy;
    for (SQLSMALLINT numer = 1;; ++numer) {
        SQLCHAR stan[6] = {};
        SQLINTEGER kod = 0;
        std::vector<SQLCHAR> tekst(1024);
        SQLSMALLINT dlugosc = 0;
        SQLRETURN wynik = SQLGetDiagRec(rodzaj, uchwyt, numer, stan, &kod, tekst.data(),
                                        static_cast<SQLSMALLINT>(tekst.size()), &dlugosc);
        if (wynik == SQL_SUCCESS_WITH_INFO && dlugosc >= static_cast<SQLSMALLINT>(tekst.size())) {
            tekst.resize(static_cast<std::size_t>(dlugosc) + 1);
            wynik = SQLGetDiagRec(rodzaj, uchwyt, numer, stan, &kod, tekst.data(),
                                  static_cast<SQLSMALLINT>(tekst.size()), &dlugosc);
        }
        if (wynik != SQL_SUCCESS && wynik != SQL_SUCCESS_WITH_INFO) break;
        const std::size_t bajty =
            std::min<std::size_t>(static_cast<std::size_t>(dlugosc), tekst.size() - 1);
        rekordy.push_back({std::string(reinterpret_cast<const char*>(stan), 5), kod,
                           std::string(reinterpret_cast<const char*>(tekst.data()), bajty)});
    }
    return rekordy;
}

std::vector<RekordDiagnostyki> Rekordy(SQLSMALLINT rodzaj, SQLHANDLE uchwyt) {
    std::vector<RekordDiagnostyki> rekordy;
    for (SQLSMALLINT numer = 1;; ++numer) {
        SQLWCHAR stan[6] = {};
        SQLINTEGER kod = 0;
        std::vector<SQLWCHAR> tekst(1024);
        SQLSMALLINT dlugosc = 0;
        SQLRETURN wynik = SQLGetDiagRecW(rodzaj, uchwyt, numer, stan, &kod, tekst.data(),
                                         static_cast<SQLSMALLINT>(tekst.size()), &dlugosc);
        if (wynik == SQL_SUCCESS_WITH_INFO && dlugosc >= static_cast<SQLSMALLINT>(tekst.size())) {
            tekst.resize(static_cast<std::size_t>(dlugosc) + 1);
            wynik = SQLGetDiagRecW(rodzaj, uchwyt, numer, stan, &kod, tekst.data(),
                                   static_cast<SQLSMALLINT>(tekst.size()), &dlugosc);
        }
        if (wynik != SQL_SUCCESS && wynik != SQL_SUCCESS_WITH_INFO) break;
        const std::size_t znaki =
            std::min<std::size_t>(static_cast<std::size_t>(dlugosc), tekst.size() - 1);
        rekordy.push_back(
            {Utf16NaUtf8(TekstUtf16(stan, 5)), kod, Utf16NaUtf8(TekstUtf16(tekst.data(), znaki))});
    }
    return rekordy;
}

}  // namespace

EOleException BladODBC(SQLSMALLINT rodzaj, SQLHANDLE uchwyt, const SterownikODBC& sterownik,
                       std::string_view polecenie) {
    return BladZDiagnostyki(
        sterownik.waskieUtf8 ? RekordyUtf8(rodzaj, uchwyt) : Rekordy(rodzaj, uchwyt),
        sterownik.nazwa, polecenie);
}

}  // namespace zuv
