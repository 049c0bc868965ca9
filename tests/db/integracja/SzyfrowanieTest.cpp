// Encryption as real servers set it, through the update command and the real driver: the program
// logs in and runs a whole update against every setting of every generation; it asks FreeTDS to
// encrypt as the server asks and checks no certificate, so a certificate it cannot verify (issued
// for another name by an unknown authority) does not stop it; and a driver that refuses what a
// server requires gets a Polish error with the driver's own text.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "db/BladLogowania.h"
#include "db/SondaPreLogin.h"
#include "tests/db/integracja/OpisyBledowLogowania.h"
#include "tests/db/integracja/ProgramTestowy.h"
#include "tests/db/integracja/SerwerTestowy.h"

namespace {

using tds::EncryptionMode;
using tds::EncryptionOutcome;

constexpr const char* WersjaPoczatkowa = "11.3.0.2";

// Log-in and a whole run, as an administrator does them; the empty texts say nothing failed.
void ZalogujIZaktualizuj(SerwerTestowy& serwer) {
    ProgramTestowy program(serwer.Adres());
    EXPECT_EQ(program.Loguj(), "");
    EXPECT_EQ(program.okno.wierszWersji,
              "Wersja bazy " + serwer.Adres() + ".ZUV: " + WersjaPoczatkowa);
    EXPECT_EQ(program.Aktualizuj(), "");
    EXPECT_EQ(program.OstatniBox(), "Zakończono aktualizację.");
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    EXPECT_TRUE(program.polecenie.FormClose());
}

// The diagnostic records of a log-in with the test's own connection string, through the real
// driver; empty when it succeeds.
std::vector<zuv::RekordDiagnostyki> RekordyLogowania(const std::string& polaczenie) {
    SQLHENV srodowisko = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &srodowisko);
    SQLSetEnvAttr(srodowisko, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, srodowisko, &dbc);
    std::vector<zuv::RekordDiagnostyki> rekordy;
    std::string tekst = polaczenie;
    const SQLRETURN wynik = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(tekst.data()),
                                             SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (SQL_SUCCEEDED(wynik)) {
        SQLDisconnect(dbc);
    } else {
        for (SQLSMALLINT i = 1;; ++i) {
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
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, srodowisko);
    return rekordy;
}

}  // namespace

TEST(Szyfrowanie, EverySettingOfEveryGenerationLogsInAndRunsAWholeUpdate) {
    const struct {
        EncryptionMode ustawienie;
        EncryptionOutcome wynik;
    } ustawienia[] = {
        {EncryptionMode::Off, EncryptionOutcome::None},
        {EncryptionMode::Login, EncryptionOutcome::LoginOnly},
        {EncryptionMode::On, EncryptionOutcome::Full},
        {EncryptionMode::Required, EncryptionOutcome::Full},
    };
    for (const char* wersja :
         {"8.00.2039", "9.00.5000.00", "10.0.6000.29", "10.50.6000.34", "11.0.7001.0"}) {
        for (const auto& u : ustawienia) {
            SCOPED_TRACE(std::string(wersja) + ", " +
                         std::string(tds::encryptionModeName(u.ustawienie)));
            tds::ServerConfig konfiguracja;
            konfiguracja.initVersion = WersjaPoczatkowa;
            konfiguracja.productVersion = wersja;
            konfiguracja.encryption = u.ustawienie;
            SerwerTestowy serwer(konfiguracja);
            ZalogujIZaktualizuj(serwer);
            for (const tds::ConnectionRecord& polaczenie : serwer->connections()) {
                EXPECT_EQ(polaczenie.encryption, u.wynik);
                EXPECT_EQ(polaczenie.version, tds::tdsVersionOfProduct(wersja));
            }
        }
    }
}

TEST(Szyfrowanie, ACertificateTheDriverCannotVerifyDoesNotStopTheProgram) {
    // Issued for another name by an authority nobody trusts, as on a server whose administrator
    // installed a certificate of the company's own.
    const auto katalog =
        std::filesystem::temp_directory_path() / ("zuv-certyfikat-" + std::to_string(::getpid()));
    std::filesystem::create_directories(katalog);
    const std::string k = katalog.string();
    const std::string polecenie =
        "(cd '" + k +
        "' && openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Firma-CA "
        "-keyout ca.key -out ca.pem && openssl req -newkey rsa:2048 -nodes -subj "
        "/CN=sql.firma.example -keyout serwer.key -out serwer.csr && openssl x509 -req -in "
        "serwer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -out serwer.pem)";
    ASSERT_EQ(std::system((polecenie + " >/dev/null 2>&1").c_str()), 0);

    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = WersjaPoczatkowa;
    konfiguracja.encryption = EncryptionMode::Required;
    konfiguracja.certificatePath = katalog / "serwer.pem";
    konfiguracja.keyPath = katalog / "serwer.key";
    SerwerTestowy serwer(konfiguracja);
    ZalogujIZaktualizuj(serwer);
    std::filesystem::remove_all(katalog);
}

TEST(Szyfrowanie, ADriverThatRefusesWhatTheServerRequiresGetsAPolishErrorWithItsText) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = WersjaPoczatkowa;
    konfiguracja.encryption = EncryptionMode::Required;
    SerwerTestowy serwer(konfiguracja);

    // FreeTDS set to refuse encryption, as the program never sets it.
    const auto rekordy =
        RekordyLogowania("DRIVER=FreeTDS;SERVER=127.0.0.1;PORT=" + std::to_string(serwer->port()) +
                         ";TDS_Version=7.4;Encryption=off;DATABASE=ZUV;UID=sa;PWD={Tajne;1'\"}");
    ASSERT_FALSE(rekordy.empty());
    EXPECT_EQ(serwer->connections().back().encryption, EncryptionOutcome::Refused);
    // FreeTDS says only that the connection failed; the server's pre-login answer, asking for
    // TLS, tells it from a connection the server closed.
    const auto preLogin = zuv::ZapytajOPreLogin(serwer.Adres(), std::chrono::seconds(2));
    EXPECT_EQ(preLogin, zuv::OdpowiedzPreLogin::ZSzyfrowaniem);
    EXPECT_EQ(zuv::TekstBledu(zuv::BladLogowania(rekordy, "FreeTDS", preLogin).what()),
              std::string(opisy_logowania::ZamknieteLubSzyfrowanie) +
                  "\r\nAdaptive Server connection failed.");

    // The program itself asks for encryption and gets in.
    ZalogujIZaktualizuj(serwer);
}
