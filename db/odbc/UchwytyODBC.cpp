#include "db/odbc/UchwytyODBC.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "db/Kodowanie.h"

namespace zuv {

namespace {

// The narrow and the wide call side by side; the reader below picks one by the character type.
SQLRETURN RekordDiagnostyczny(SQLSMALLINT rodzaj, SQLHANDLE uchwyt, SQLSMALLINT numer,
                              SQLCHAR* stan, SQLINTEGER* kod, SQLCHAR* tekst, SQLSMALLINT pojemnosc,
                              SQLSMALLINT* dlugosc) {
    return SQLGetDiagRec(rodzaj, uchwyt, numer, stan, kod, tekst, pojemnosc, dlugosc);
}

SQLRETURN RekordDiagnostyczny(SQLSMALLINT rodzaj, SQLHANDLE uchwyt, SQLSMALLINT numer,
                              SQLWCHAR* stan, SQLINTEGER* kod, SQLWCHAR* tekst,
                              SQLSMALLINT pojemnosc, SQLSMALLINT* dlugosc) {
    return SQLGetDiagRecW(rodzaj, uchwyt, numer, stan, kod, tekst, pojemnosc, dlugosc);
}

// The narrow call's texts, which the driver gives in UTF-8, as they came.
std::string TekstUtf8(const SQLCHAR* tekst, std::size_t dlugosc) {
    return std::string(reinterpret_cast<const char*>(tekst), dlugosc);
}

// The wide call's texts, UTF-16 in SQLWCHAR (16-bit in unixODBC, wchar_t on Windows).
std::string TekstUtf8(const SQLWCHAR* tekst, std::size_t dlugosc) {
    std::u16string utf16(dlugosc, u'\0');
    for (std::size_t i = 0; i < dlugosc; ++i) utf16[i] = static_cast<char16_t>(tekst[i]);
    return Utf16NaUtf8(utf16);
}

// Every diagnostic record of the handle, in the driver's order, through the narrow call
// (Znak = SQLCHAR) or the wide one (SQLWCHAR). A text longer than the first buffer is read again
// into one of the length the driver reported.
template <typename Znak>
std::vector<RekordDiagnostyki> Rekordy(SQLSMALLINT rodzaj, SQLHANDLE uchwyt) {
    std::vector<RekordDiagnostyki> rekordy;
    for (SQLSMALLINT numer = 1;; ++numer) {
        Znak stan[6] = {};
        SQLINTEGER kod = 0;
        std::vector<Znak> tekst(1024);
        SQLSMALLINT dlugosc = 0;
        SQLRETURN wynik = RekordDiagnostyczny(rodzaj, uchwyt, numer, stan, &kod, tekst.data(),
                                              static_cast<SQLSMALLINT>(tekst.size()), &dlugosc);
        if (wynik == SQL_SUCCESS_WITH_INFO && dlugosc >= static_cast<SQLSMALLINT>(tekst.size())) {
            tekst.resize(static_cast<std::size_t>(dlugosc) + 1);
            wynik = RekordDiagnostyczny(rodzaj, uchwyt, numer, stan, &kod, tekst.data(),
                                        static_cast<SQLSMALLINT>(tekst.size()), &dlugosc);
        }
        if (wynik != SQL_SUCCESS && wynik != SQL_SUCCESS_WITH_INFO) break;
        const std::size_t znaki =
            std::min<std::size_t>(static_cast<std::size_t>(dlugosc), tekst.size() - 1);
        rekordy.push_back({TekstUtf8(stan, 5), kod, TekstUtf8(tekst.data(), znaki)});
    }
    return rekordy;
}

}  // namespace

std::vector<RekordDiagnostyki> RekordyODBC(SQLSMALLINT rodzaj, SQLHANDLE uchwyt,
                                           const SterownikODBC& sterownik) {
    return sterownik.waskieUtf8 ? Rekordy<SQLCHAR>(rodzaj, uchwyt)
                                : Rekordy<SQLWCHAR>(rodzaj, uchwyt);
}

EOleException BladODBC(SQLSMALLINT rodzaj, SQLHANDLE uchwyt, const SterownikODBC& sterownik,
                       std::string_view polecenie) {
    return BladZDiagnostyki(RekordyODBC(rodzaj, uchwyt, sterownik), sterownik.nazwa, polecenie);
}

}  // namespace zuv
