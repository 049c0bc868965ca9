#pragma once
// The database operations with which a package is applied: the server generation, one command
// text executed with a time-out, and the one transaction of a package with its checks. Each takes
// the open connection and raises every failure; none catches anything.

#include <cstdint>
#include <string_view>

namespace zuv {

class Polaczenie;

struct TDBUzytkiST {
    TDBUzytkiST() = delete;

    // "SELECT dbo.fn_WERSJA_MS_SQL()": the server generation, at least 2000. No record raises
    // EDatabaseError, NULL raises EVariantTypeCastError, a value below 2000 raises
    // EDatabaseError "Błąd odczytu wersji serwera MS SQL.".
    static std::int32_t OdczytajWersjeSerwera(Polaczenie* polaczenie);
};

// Executes the text, its lines re-ended with CR LF (up to a NUL byte), expecting no records, with
// the given command time-out. An empty text raises EDatabaseError "Missing SQL property" and
// sends nothing. Parameter markers are never looked for: the text reaches the server as it is.
void WykonajSQL(Polaczenie* polaczenie, std::string_view polecenie, std::int32_t limitCzasuSekund);
// The same for a text its maker knows to be in that form already (MaLinieCrLf), such as a batch
// of a package: it goes as it is, without a second look at each of its breaks.
void WykonajSQLWLiniachCrLf(Polaczenie* polaczenie, std::string_view polecenie,
                            std::int32_t limitCzasuSekund);

// Raises EDatabaseError "Nie rozpoczęto transakcji." when no transaction is open.
void SprawdzTransakcje(Polaczenie* polaczenie);
// Raises EDatabaseError "Transakcja jest już rozpoczęta." when one is open already.
void RozpocznijTransakcje(Polaczenie* polaczenie);
void ZatwierdzTransakcje(Polaczenie* polaczenie);
void WycofajTransakcje(Polaczenie* polaczenie);

}  // namespace zuv
