#include <gtest/gtest.h>

#include <vector>

#include "db/BladLogowania.h"

using namespace zuv;

namespace {

using P = PrzyczynaLogowania;
using O = OdpowiedzPreLogin;

// FreeTDS's records as it gives them for each cause (seen against the test server), and
// Microsoft's as their drivers document them.
const RekordDiagnostyki NiePolaczono{"08001", 0,
                                     "[FreeTDS][SQL Server]Unable to connect to data source"};
const RekordDiagnostyki PolaczenieNieudane{
    "01000", 20002, "[FreeTDS][SQL Server]Adaptive Server connection failed"};
const RekordDiagnostyki KoniecStrumienia{"01000", 20017,
                                         "[FreeTDS][SQL Server]Unexpected EOF from the server"};
const RekordDiagnostyki CzasMinal{"HYT00", 0, "[FreeTDS][SQL Server]Timeout expired"};
const RekordDiagnostyki LoginOdrzucony{"42000", 18456,
                                       "[FreeTDS][SQL Server]Login failed for user 'sa'."};

TEST(BladLogowania, TellsTheCauseByTheDriversNumbers) {
    const struct {
        const char* nazwa;
        std::vector<RekordDiagnostyki> rekordy;
        O preLogin;
        P przyczyna;
    } przypadki[] = {
        {"FreeTDS: unknown host",
         {NiePolaczono, {"01000", 20013, "[FreeTDS][SQL Server]Unknown host machine name."}},
         O::Niesprawdzona,
         P::NieznanySerwer},
        {"FreeTDS: refused, or no such instance",
         {{"08S01", 20009,
           "[FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable or does not "
           "exist"},
          NiePolaczono},
         O::Niesprawdzona,
         P::BrakSerwera},
        {"FreeTDS: the wait ran out",
         {CzasMinal, NiePolaczono},
         O::Niesprawdzona,
         P::BrakOdpowiedzi},
        {"refused address beside a time-out",
         {CzasMinal, {"08S01", 20009, "[FreeTDS][SQL Server]Unable to connect"}},
         O::Niesprawdzona,
         P::BrakSerwera},
        {"log-in refused", {LoginOdrzucony, NiePolaczono}, O::Niesprawdzona, P::Odmowa},
        {"a disabled login where the server says so",
         {{"28000", 18470, "Login failed for user 'sa'. Reason: The account is disabled."}},
         O::Niesprawdzona,
         P::Odmowa},
        {"database missing, with the refusal after it",
         {LoginOdrzucony,
          {"42000", 4060,
           "[FreeTDS][SQL Server]Cannot open database \"X\" requested by the login."},
          NiePolaczono},
         O::Niesprawdzona,
         P::NiedostepnaBaza},
        {"closed in order during the log-in",
         {NiePolaczono, KoniecStrumienia, PolaczenieNieudane},
         O::Niesprawdzona,
         P::ZamknietePolaczenie},
        {"bare failure, no pre-login answer",
         {NiePolaczono, PolaczenieNieudane},
         O::BezOdpowiedzi,
         P::ZamknietePolaczenie},
        {"bare failure, a server without encryption",
         {NiePolaczono, PolaczenieNieudane},
         O::BezSzyfrowania,
         P::ZamknietePolaczenie},
        {"bare failure, TLS in the log-in",
         {NiePolaczono, PolaczenieNieudane},
         O::ZSzyfrowaniem,
         P::ZamknieteLubSzyfrowanie},
        {"bare failure, the server not asked",
         {NiePolaczono, PolaczenieNieudane},
         O::Niesprawdzona,
         P::ZamknieteLubSzyfrowanie},
        {"the answer does not count where the driver said more",
         {LoginOdrzucony, PolaczenieNieudane},
         O::ZSzyfrowaniem,
         P::Odmowa},
        {"Microsoft: a connection error naming SSL",
         {{"08001", 0, "[Microsoft][ODBC SQL Server Driver][DBNETLIB]SSL Security error"},
          {"01000", 0,
           "[Microsoft][ODBC SQL Server Driver][DBNETLIB]ConnectionOpen "
           "(SECDoClientHandshake())."}},
         O::Niesprawdzona,
         P::Szyfrowanie},
        {"Microsoft: the TLS provider's reset is encryption",
         {{"08S01", 10054,
           "[Microsoft][ODBC Driver 17 for SQL Server]SSL Provider: An existing connection was "
           "forcibly closed by the remote host."}},
         O::Niesprawdzona,
         P::Szyfrowanie},
        {"Microsoft: the TCP provider's reset",
         {{"08S01", 10054,
           "[Microsoft][ODBC Driver 17 for SQL Server]TCP Provider: An existing connection was "
           "forcibly closed by the remote host."}},
         O::Niesprawdzona,
         P::ZamknietePolaczenie},
        {"Microsoft: no such host",
         {{"08001", 11001,
           "[Microsoft][ODBC Driver 17 for SQL Server]TCP Provider: No such host is known."}},
         O::Niesprawdzona,
         P::NieznanySerwer},
        {"Microsoft: connection refused",
         {{"08001", 10061, "[Microsoft][ODBC Driver 18 for SQL Server]TCP Provider: refused"}},
         O::Niesprawdzona,
         P::BrakSerwera},
        {"Microsoft: no such instance",
         {{"08001", -1,
           "[Microsoft][ODBC Driver 17 for SQL Server]SQL Server Network Interfaces: Error "
           "Locating Server/Instance Specified [xFFFFFFFF]."},
          {"HYT00", 0, "[Microsoft][ODBC Driver 17 for SQL Server]Login timeout expired"}},
         O::Niesprawdzona,
         P::BrakSerwera},
        {"a server error naming a certificate is no encryption failure",
         {{"42000", 15151, "[FreeTDS][SQL Server]Cannot find the certificate 'K'"}},
         O::Niesprawdzona,
         P::Inna},
        {"an error the program does not know",
         {{"IM002", 0, "[unixODBC][Driver Manager]Data source name not found"}},
         O::Niesprawdzona,
         P::Inna},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(PrzyczynaBleduLogowania(p.rekordy, p.preLogin), p.przyczyna);
    }
}

TEST(BladLogowania, AsksForThePreLoginAnswerOnlyForFreeTdssBareFailure) {
    EXPECT_TRUE(PotrzebnaOdpowiedzPreLogin({NiePolaczono, PolaczenieNieudane}));
    EXPECT_FALSE(PotrzebnaOdpowiedzPreLogin({NiePolaczono, KoniecStrumienia, PolaczenieNieudane}));
    EXPECT_FALSE(PotrzebnaOdpowiedzPreLogin({LoginOdrzucony, PolaczenieNieudane}));
    EXPECT_FALSE(PotrzebnaOdpowiedzPreLogin({CzasMinal, PolaczenieNieudane}));
    EXPECT_FALSE(PotrzebnaOdpowiedzPreLogin({CzasMinal, NiePolaczono}));
}

// The Polish line first, the driver's telling records whole after CR LF: those with a number, else
// its errors; the code and SQLSTATE are the first of them.
TEST(BladLogowania, PutsThePolishSentenceBeforeTheDriversText) {
    const struct {
        const char* nazwa;
        std::vector<RekordDiagnostyki> rekordy;
        O preLogin;
        std::string poczatek;
        std::string tekstSterownika;
        std::int32_t kod;
        std::string stanSQL;
    } przypadki[] = {
        {"numbered records only, in the driver's order",
         {LoginOdrzucony,
          {"42000", 4060, "[FreeTDS][SQL Server]Cannot open database \"X\"."},
          NiePolaczono},
         O::Niesprawdzona,
         "Serwer nie otworzył podanej bazy danych",
         "Login failed for user 'sa'.\r\nCannot open database \"X\"",
         18456,
         "42000"},
        {"without numbers, the errors",
         {CzasMinal, NiePolaczono},
         O::Niesprawdzona,
         "Serwer nie odpowiedział na logowanie",
         "Timeout expired\r\nUnable to connect to data source",
         0,
         "HYT00"},
        {"a number in a warning",
         {NiePolaczono, PolaczenieNieudane},
         O::ZSzyfrowaniem,
         "Połączenie z serwerem zostało zamknięte w trakcie logowania: serwer je zamknął albo",
         "Adaptive Server connection failed",
         20002,
         "01000"},
        {"without TLS the server's encryption is left out",
         {NiePolaczono, PolaczenieNieudane},
         O::BezSzyfrowania,
         "Serwer zamknął połączenie w trakcie logowania; sprawdź dziennik błędów serwera i limit "
         "połączeń serwera.\r\n",
         "Adaptive Server connection failed",
         20002,
         "01000"},
        {"warnings only",
         {{"01000", 0, "[x]a"}, {"01000", 0, "[x]b"}},
         O::Niesprawdzona,
         "Logowanie do serwera nie powiodło się",
         "a\r\nb",
         0,
         "01000"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const EOleException blad = BladLogowania(p.rekordy, "FreeTDS", p.preLogin);
        const std::string& komunikat = blad.Komunikat();
        EXPECT_EQ(komunikat.rfind(p.poczatek, 0), 0u) << komunikat;
        const std::size_t koniecWiersza = komunikat.find("\r\n");
        ASSERT_NE(koniecWiersza, std::string::npos);
        EXPECT_EQ(komunikat.substr(koniecWiersza + 2), p.tekstSterownika);
        EXPECT_EQ(blad.Kod(), p.kod);
        EXPECT_EQ(blad.StanSQL(), p.stanSQL);
        EXPECT_EQ(blad.Zrodlo(), "ODBC FreeTDS SQLSTATE " + p.stanSQL);
    }
}

}  // namespace
