// The checks before a run, read from a connection held in memory: each warning present and
// absent, and what the login may not see or the server refuses left out of the warnings and said
// for the journal. Through the real driver and each server generation: tests/db/integracja.
#include <gtest/gtest.h>

#include <functional>

#include "app/usluga/KontrolaBazy.h"
#include "common/Wyjatki.h"
#include "db/UtrataPolaczenia.h"
#include "tests/support/PolaczeniePamieciowe.h"

using namespace zuv;
namespace z = zuv::zapytania_kontroli;

namespace {

WynikZapytania Wiersze(std::vector<std::vector<WartoscPola>> wiersze) {
    WynikZapytania wynik;
    wynik.liczbaRekordow = static_cast<std::int64_t>(wiersze.size());
    if (!wiersze.empty() && !wiersze.front().empty()) wynik.pierwszePole = wiersze.front().front();
    wynik.wiersze = std::move(wiersze);
    return wynik;
}

std::exception_ptr BladSerwera(std::int32_t numer, const char* tekst) {
    return std::make_exception_ptr(EOleException(tekst, numer, "ODBC FreeTDS"));
}

// A server where everything checked is fine: nobody else in the database, a backup of last night,
// the login sa.
void Spokojny(PolaczeniePamieciowe& polaczenie) {
    polaczenie.UstawWynik(z::WidokSerwera, Wiersze({{std::int64_t{1}}}));
    polaczenie.UstawWynik(z::Sesje, Wiersze({}));
    polaczenie.UstawWynik(z::Prawa, Wiersze({{std::int64_t{1}, std::int64_t{1}}}));
    polaczenie.UstawWynik(z::OstatniaKopia, Wiersze({{std::string("2026-12-10 22:00:00.000")}}));
}

std::chrono::system_clock::time_point Chwila(int dzien, int godzina) {
    std::tm czas{};
    czas.tm_year = 2026 - 1900;
    czas.tm_mon = 11;
    czas.tm_mday = dzien;
    czas.tm_hour = godzina;
    czas.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&czas));
}

}  // namespace

TEST(KontrolaBazy, EachWarningAndEachCheckThatCouldNotBeMade) {
    const WartoscPola bezNull{};
    const struct {
        const char* nazwa;
        std::function<void(PolaczeniePamieciowe&)> ustaw;
        std::vector<std::string> ostrzezenia;
        std::vector<std::string> niesprawdzone;
    } przypadki[] = {
        {"everything fine", [](PolaczeniePamieciowe&) {}, {}, {}},
        {"two other sessions",
         [](PolaczeniePamieciowe& p) {
             p.UstawWynik(z::Sesje,
                          Wiersze({{std::int64_t{53}, std::string("jan"), std::string("KSIEG-01"),
                                    std::string("ZUV Środki"), std::int64_t{754}},
                                   {std::int64_t{61}, std::string("ewa"), std::string(""),
                                    std::string("SSMS"), std::int64_t{12}}}));
         },
         {"W bazie pracują inne sesje (2): jan (KSIEG-01, ZUV Środki, bezczynna 12 min), ewa "
          "(SSMS, bezczynna 12 s); aktualizacja może czekać na ich blokady."},
         {}},
        {"no right to see other sessions",
         [](PolaczeniePamieciowe& p) {
             p.UstawWynik(z::WidokSerwera, Wiersze({{std::int64_t{0}}}));
         },
         {},
         {"Nie sprawdzono innych sesji w bazie: login nie ma uprawnienia VIEW SERVER STATE, więc "
          "serwer pokazuje mu tylko jego własną sesję."}},
        // SQL Server 2000 has no such right and shows every process to every login.
        {"a server that knows no VIEW SERVER STATE",
         [](PolaczeniePamieciowe& p) {
             p.UstawBlad(
                 z::WidokSerwera,
                 BladSerwera(195, "'HAS_PERMS_BY_NAME' is not a recognized function name."));
             p.UstawWynik(z::Sesje,
                          Wiersze({{std::int64_t{53}, std::string("jan"), std::string("K1"),
                                    std::string("ZUV"), std::int64_t{3700}}}));
         },
         {"W bazie pracują inne sesje (1): jan (K1, ZUV, bezczynna 1 h 1 min); aktualizacja może "
          "czekać na ich blokady."},
         {}},
        {"the process list refused",
         [](PolaczeniePamieciowe& p) {
             p.UstawBlad(z::Sesje, BladSerwera(208, "Invalid object name 'master..sysprocesses'."));
         },
         {},
         {"Nie sprawdzono innych sesji w bazie: Invalid object name 'master..sysprocesses'."}},
        {"no backup recorded",
         [bezNull](PolaczeniePamieciowe& p) {
             p.UstawWynik(z::OstatniaKopia, Wiersze({{bezNull}}));
         },
         {"Serwer nie ma zapisu żadnej pełnej kopii zapasowej bazy ZUV; przed aktualizacją wykonaj "
          "kopię bazy."},
         {}},
        {"the last backup older than a day",
         [](PolaczeniePamieciowe& p) {
             p.UstawWynik(z::OstatniaKopia, Wiersze({{std::string("2026-12-09 22:00:00.000")}}));
         },
         {"Ostatnia pełna kopia zapasowa bazy ZUV pochodzi z 2026-12-09 22:00, sprzed ponad 24 "
          "godzin; przed aktualizacją wykonaj kopię bazy."},
         {}},
        {"the backup history closed to the login",
         [](PolaczeniePamieciowe& p) {
             p.UstawBlad(z::OstatniaKopia,
                         BladSerwera(229,
                                     "The SELECT permission was denied on the object "
                                     "'backupset', database 'msdb', schema 'dbo'."));
         },
         {},
         {"Nie sprawdzono ostatniej kopii zapasowej bazy: The SELECT permission was denied on the "
          "object 'backupset', database 'msdb', schema 'dbo'."}},
        {"neither owner nor sysadmin",
         [](PolaczeniePamieciowe& p) {
             p.UstawWynik(z::Prawa, Wiersze({{std::int64_t{0}, std::int64_t{0}}}));
         },
         {"Login sa nie jest właścicielem bazy ZUV ani członkiem jej roli db_owner lub roli "
          "sysadmin, a pakiety tworzą i zmieniają obiekty bazy; aktualizacja może się nie powieść "
          "w trakcie pakietu (zostanie wtedy wycofana w całości)."},
         {}},
        {"an owner who is no sysadmin",
         [](PolaczeniePamieciowe& p) {
             p.UstawWynik(z::Prawa, Wiersze({{std::int64_t{0}, std::int64_t{1}}}));
         },
         {},
         {}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        PolaczeniePamieciowe polaczenie;
        Spokojny(polaczenie);
        p.ustaw(polaczenie);
        const KontrolaBazy kontrola = SprawdzBaze(polaczenie, Chwila(11, 2));
        EXPECT_EQ(kontrola.Ostrzezenia("ZUV", "sa"), p.ostrzezenia);
        EXPECT_EQ(kontrola.niesprawdzone, p.niesprawdzone);
        // Nothing but reading: no command, no transaction.
        EXPECT_TRUE(polaczenie.Polecenia().empty());
        EXPECT_EQ(polaczenie.Liczba(PolaczeniePamieciowe::Rodzaj::Rozpoczecie), 0);
    }
}

// A lost connection is no check left undone: the session is gone, and the caller must learn it.
TEST(KontrolaBazy, ALostConnectionGoesOn) {
    PolaczeniePamieciowe polaczenie;
    Spokojny(polaczenie);
    polaczenie.UstawBlad(z::Prawa, std::make_exception_ptr(EUtrataPolaczenia(EOleException(
                                       "Unexpected EOF from the server", 20017, "ODBC FreeTDS"))));
    EXPECT_THROW(SprawdzBaze(polaczenie), EUtrataPolaczenia);
}
