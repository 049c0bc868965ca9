#include "db/UchwytyODBC.h"

#include <cctype>
#include <cstdint>
#include <vector>

#include "db/Kodowanie.h"

namespace zuv {

namespace {

constexpr std::int32_t KodBezOpisu = static_cast<std::int32_t>(0x80004005);  // E_FAIL

struct RekordDiagnostyki {
    std::string stan;
    std::int32_t kod;
    std::string tekst;
};

std::u16string U16(const SQLWCHAR* tekst, std::size_t dlugosc) {
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
        rekordy.push_back({Utf16NaUtf8(U16(stan, 5)), kod, Utf16NaUtf8(U16(tekst.data(), znaki))});
    }
    return rekordy;
}

bool MaLitere(std::string_view tekst) {
    for (const char znak : tekst)
        if (std::isalpha(static_cast<unsigned char>(znak))) return true;
    return false;
}

}  // namespace

std::string BezPrzedrostkowSterownika(std::string_view tekst) {
    // ODBC puts at most three components in front of a message ("[vendor][component][source]").
    // A group without letters, such as "[13000]", belongs to the message itself.
    for (int grupa = 0; grupa < 3 && !tekst.empty() && tekst.front() == '['; ++grupa) {
        const std::size_t koniec = tekst.find(']');
        if (koniec == std::string_view::npos || !MaLitere(tekst.substr(1, koniec - 1))) break;
        tekst.remove_prefix(koniec + 1);
    }
    return std::string(tekst);
}

EOleException BladODBC(SQLSMALLINT rodzaj, SQLHANDLE uchwyt, const SterownikODBC& sterownik,
                       std::string_view polecenie) {
    const std::vector<RekordDiagnostyki> rekordy =
        sterownik.waskieUtf8 ? RekordyUtf8(rodzaj, uchwyt) : Rekordy(rodzaj, uchwyt);
    const std::string zrodlo = "ODBC " + sterownik.nazwa;
    if (rekordy.empty()) {
        // The driver refuses some texts without saying why; the user must still learn what failed.
        std::string opis = "Sterownik ODBC odrzucił polecenie, nie podając przyczyny";
        if (polecenie.find('?') != std::string_view::npos)
            opis +=
                ". Polecenie zawiera znak \"?\" poza literałem i komentarzem, który sterownik "
                "bierze za znacznik parametru";
        return EOleException(opis, KodBezOpisu, zrodlo);
    }
    // SQLSTATE 01xxx is a warning (an informational message of the batch) unless nothing else was
    // reported: a lost connection arrives as 01000. Of the errors, those the server raised (native
    // number not 0) say why; the driver's own follow-ups such as "Unable to connect to data
    // source" add nothing. Several server errors are all shown, as a log-in into a missing
    // database gives two.
    std::vector<const RekordDiagnostyki*> bledy;
    for (const auto& rekord : rekordy)
        if (rekord.stan.rfind("01", 0) != 0) bledy.push_back(&rekord);
    if (bledy.empty())
        for (const auto& rekord : rekordy) bledy.push_back(&rekord);
    std::vector<const RekordDiagnostyki*> serwera;
    for (const auto* rekord : bledy)
        if (rekord->kod != 0) serwera.push_back(rekord);
    if (!serwera.empty()) bledy = serwera;

    std::string opis;
    for (const auto* rekord : bledy) {
        const std::string tekst = BezPrzedrostkowSterownika(rekord->tekst);
        if (opis.find(tekst) != std::string::npos) continue;
        if (!opis.empty()) opis += "\r\n";
        opis += tekst;
    }
    return EOleException(opis, bledy.front()->kod, zrodlo + " SQLSTATE " + bledy.front()->stan);
}

}  // namespace zuv
