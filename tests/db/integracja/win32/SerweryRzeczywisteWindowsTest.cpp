// The paths of a real server for the Windows program, under Wine: Wine's ODBC reaches the host's
// FreeTDS, which talks to the Linux test server playing each generation (the protocol of its
// time) with each encryption setting. Through the update command: log-in and the version line, a
// whole run, a failure with a message in Polish and the run resumed after the server's restart,
// and a driver that refuses what the server requires.
// Windows' ODBC headers use the types of <windows.h> without including it.
#include <windows.h>
// The test sets the driver's encryption itself, which the program never does.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <string>
#include <vector>

#include "db/BladLogowania.h"
#include "db/SondaPreLogin.h"
#include "tests/db/integracja/OpisyBledowLogowania.h"
#include "tests/db/integracja/ProgramTestowy.h"
#include "tests/db/integracja/win32/SerwerZewnetrzny.h"

using zuv::testy::SerwerZewnetrzny;

namespace {

constexpr const char* WersjaPoczatkowa = "11.3.0.2";
constexpr const char* Wersje[] = {"8.00.2039", "9.00.5000.00", "10.0.6000.29", "10.50.6000.34",
                                  "11.0.7001.0"};
constexpr const char* BladPakietu = "Naruszenie ograniczenia – „źdźbło” ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż";

std::vector<std::string> Opcje(const char* wersja, const char* szyfrowanie) {
    return {"--init-version", WersjaPoczatkowa, "--product-version",
            wersja,           "--encryption",   szyfrowanie};
}

bool Zawiera(const std::string& tekst, const std::string& fragment) {
    return tekst.find(fragment) != std::string::npos;
}

}  // namespace

TEST(SerweryRzeczywisteWindows, EverySettingOfEveryGenerationLogsInAndRunsAWholeUpdate) {
    for (const char* wersja : Wersje) {
        for (const char* szyfrowanie : {"off", "login", "on", "required"}) {
            SCOPED_TRACE(std::string(wersja) + ", " + szyfrowanie);
            SerwerZewnetrzny serwer(Opcje(wersja, szyfrowanie));
            ProgramTestowy program(serwer.Adres());
            EXPECT_EQ(program.Loguj(), "");
            EXPECT_EQ(program.okno.wierszWersji,
                      "Wersja bazy " + serwer.Adres() + ".ZUV: " + WersjaPoczatkowa);
            EXPECT_EQ(program.Aktualizuj(), "");
            EXPECT_EQ(program.OstatniBox(), "Zakończono aktualizację.");
            EXPECT_EQ(program.polecenie.OdczytajWersje(), "11.5.0.6");
            EXPECT_TRUE(program.polecenie.FormClose());
        }
    }
}

TEST(SerweryRzeczywisteWindows, EachGenerationFailsInPolishAndResumesAfterARestart) {
    for (const char* wersja : Wersje) {
        SCOPED_TRACE(wersja);
        std::vector<std::string> opcje = Opcje(wersja, "login");
        opcje.push_back("--fail-batch");
        opcje.push_back(std::string("11.4.0.1:3:50000:") + BladPakietu);
        SerwerZewnetrzny serwer(opcje);
        ProgramTestowy program(serwer.Adres());
        ASSERT_EQ(program.Loguj(), "");
        EXPECT_EQ(program.Aktualizuj(),
                  std::string("Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania "
                              "operacji 3:\r\n") +
                      BladPakietu + ".");
        EXPECT_EQ(program.polecenie.OdczytajWersje(), WersjaPoczatkowa);
        EXPECT_TRUE(program.polecenie.FormClose());

        // The cause removed, the server started again: log-in and the run resumes.
        serwer.UruchomPonownie(Opcje(wersja, "login"));
        program.okno.serwer = serwer.Adres();
        ASSERT_EQ(program.Loguj(), "");
        EXPECT_EQ(program.Aktualizuj(), "");
        EXPECT_EQ(program.OstatniBox(), "Zakończono aktualizację.");
        EXPECT_EQ(program.polecenie.OdczytajWersje(), "11.5.0.6");
        EXPECT_TRUE(program.polecenie.FormClose());

        const std::string dziennik = serwer.Dziennik();
        EXPECT_TRUE(Zawiera(dziennik, "SELECT dbo.fn_WERSJA_MS_SQL()"));
        // A 2000 server leaves out the batches for 2005 and later.
        EXPECT_EQ(Zawiera(dziennik, "-- $MIN_SQL_2005"), std::string(wersja) != "8.00.2039");
        EXPECT_TRUE(Zawiera(dziennik, "'Numeracja dokumentów w obrębie roku obrotowego'"));
    }
}

TEST(SerweryRzeczywisteWindows, ADriverThatRefusesWhatTheServerRequiresGetsAPolishError) {
    SerwerZewnetrzny serwer(Opcje("11.0.7001.0", "required"));
    // The host's FreeTDS set to refuse encryption, as the program never sets it.
    std::string tekst = "DRIVER=FreeTDS;SERVER=127.0.0.1;PORT=" +
                        serwer.Adres().substr(serwer.Adres().find(',') + 1) +
                        ";TDS_Version=7.4;Encryption=off;DATABASE=ZUV;UID=sa;PWD={Tajne;1'\"}";
    SQLHENV srodowisko = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &srodowisko);
    SQLSetEnvAttr(srodowisko, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, srodowisko, &dbc);
    const SQLRETURN wynik = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(tekst.data()),
                                             SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    std::vector<zuv::RekordDiagnostyki> rekordy;
    for (SQLSMALLINT i = 1; !SQL_SUCCEEDED(wynik); ++i) {
        SQLCHAR stan[6] = {};
        SQLCHAR opis[1024] = {};
        SQLINTEGER kod = 0;
        SQLSMALLINT dlugosc = 0;
        if (!SQL_SUCCEEDED(
                SQLGetDiagRec(SQL_HANDLE_DBC, dbc, i, stan, &kod, opis, sizeof opis, &dlugosc)))
            break;
        rekordy.push_back(
            {reinterpret_cast<const char*>(stan), kod, reinterpret_cast<const char*>(opis)});
    }
    if (SQL_SUCCEEDED(wynik)) SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, srodowisko);

    ASSERT_FALSE(SQL_SUCCEEDED(wynik));
    // FreeTDS says only that the connection failed; the server's pre-login answer, asking for
    // TLS, tells it from a connection the server closed.
    const auto preLogin = zuv::ZapytajOPreLogin(serwer.Adres(), std::chrono::seconds(2));
    EXPECT_EQ(preLogin, zuv::OdpowiedzPreLogin::ZSzyfrowaniem);
    EXPECT_EQ(zuv::TekstBledu(zuv::BladLogowania(rekordy, "FreeTDS", preLogin).what()),
              std::string(opisy_logowania::ZamknieteLubSzyfrowanie) +
                  "\r\nAdaptive Server connection failed.");

    // The program itself asks for encryption and gets in.
    ProgramTestowy program(serwer.Adres());
    EXPECT_EQ(program.Loguj(), "");
}
