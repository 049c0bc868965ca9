// The program's ODBC connection built for Windows, under Wine: Wine's ODBC reaches the host's
// FreeTDS driver, which talks to the Linux TDS test server running as a separate process.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Linie.h"
#include "common/Wyjatki.h"
#include "db/ConnectionST.h"
#include "db/PolaczenieODBC.h"
#include "db/UtrataPolaczenia.h"
#include "packages/PakietyZasoby.h"
#include "packages/PrzetwarzanieSTR.h"
#include "tests/db/integracja/OpisyBledowLogowania.h"
#include "tests/db/integracja/win32/SerwerZewnetrzny.h"

using namespace zuv;
using zuv::testy::SerwerZewnetrzny;

namespace {

std::string ZapisanaWersja(Polaczenie& polaczenie) {
    const WynikZapytania wynik =
        polaczenie.WykonajZRekordami("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'");
    if (wynik.liczbaRekordow != 1 || !wynik.pierwszePole) return "(brak)";
    const auto* tekst = std::get_if<std::string>(&*wynik.pierwszePole);
    return tekst != nullptr ? *tekst : "(nie tekst)";
}

std::string Blad(Polaczenie& polaczenie) {
    try {
        polaczenie.Otworz();
    } catch (const EOleException& e) {
        return e.Komunikat();
    }
    return "(no error)";
}

// Applies the package of a version as the update command does.
void Zastosuj(Polaczenie& polaczenie, const std::string& nazwa, const std::string& wersja) {
    ListaLinii linie;
    WczytajZasob(nazwa, linie);
    TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, linie, true, nullptr, wersja);
}

}  // namespace

TEST(PolaczenieWindows, LogsInThroughTheHostsDriverAndReadsTheVersion) {
    SerwerZewnetrzny serwer({"--init-version", "7.12.0.7"});
    PolaczenieODBC polaczenie;
    polaczenie.UstawDaneLogowania(serwer.Logowanie());
    polaczenie.Otworz();
    EXPECT_EQ(polaczenie.Sterownik(), "FreeTDS");
    EXPECT_EQ(ZapisanaWersja(polaczenie), "7.12.0.7");
    polaczenie.Zamknij();
    EXPECT_FALSE(polaczenie.Otwarte());

    polaczenie.UstawDaneLogowania(serwer.Logowanie("zle"));
    EXPECT_EQ(Blad(polaczenie),
              std::string(opisy_logowania::Odmowa) + "\r\nLogin failed for user 'sa'");
    EXPECT_FALSE(polaczenie.Otwarte());
}

// Each cause of a failed log-in as the Windows program meets it through Wine's ODBC and the host's
// FreeTDS: the Polish first line, then the driver's own text; the program's pre-login request
// goes through Windows Sockets.
TEST(PolaczenieWindows, EveryFailedLogInSaysInPolishWhatHappenedThenTheDriversText) {
    namespace o = opisy_logowania;
    const std::string Zamkniete = "Adaptive Server connection failed";
    const struct {
        const char* nazwa;
        std::vector<std::string> opcje;  // empty: no server is started
        std::string adres;               // empty: the started server's
        std::string baza;
        const char* opis;
        std::string sterownik;
    } przypadki[] = {
        {"name not found",
         {},
         "nie-ma-takiego-serwera.invalid,1433",
         "ZUV",
         o::NieznanySerwer,
         "Unknown host machine name"},
        {"nothing listens at the port",
         {},
         "127.0.0.1,1",
         "ZUV",
         o::BrakSerwera,
         "Unable to connect: Adaptive Server is unavailable or does not exist"},
        {"log-in packet never acknowledged",
         {"--login-fault", "no-ack"},
         "",
         "ZUV",
         o::BrakOdpowiedzi,
         "Timeout expired\r\nUnable to connect to data source"},
        {"log-in refused", {"--refuse-logins"}, "", "ZUV", o::Odmowa, "Login failed for user 'sa'"},
        {"database missing",
         {"--init-version", "7.12.0.7"},
         "",
         "Brak",
         o::NiedostepnaBaza,
         "Login failed for user 'sa'.\r\nCannot open database \"Brak\" requested by the login. "
         "The login failed"},
        {"TLS with no cipher in common",
         {"--tls-ciphers", o::SzyfryObce},
         "",
         "ZUV",
         o::ZamknieteLubSzyfrowanie,
         Zamkniete},
        {"reset at pre-login",
         {"--login-fault", "reset-prelogin"},
         "",
         "ZUV",
         o::Zamkniete,
         Zamkniete},
        {"reset after the log-in packet, a server without encryption",
         {"--encryption", "off", "--login-fault", "reset-login7"},
         "",
         "ZUV",
         o::ZamknieteBezTLS,
         Zamkniete},
        {"reset after the encrypted log-in packet",
         {"--login-fault", "reset-login7"},
         "",
         "ZUV",
         o::ZamknieteLubSzyfrowanie,
         Zamkniete},
        {"closed after the log-in packet",
         {"--login-fault", "drop-login7"},
         "",
         "ZUV",
         o::Zamkniete,
         "Unexpected EOF from the server\r\n" + Zamkniete},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::unique_ptr<SerwerZewnetrzny> serwer;
        DaneLogowania dane{p.adres, p.baza, "sa", "Tajne;1'\""};
        if (!p.opcje.empty()) {
            serwer = std::make_unique<SerwerZewnetrzny>(p.opcje);
            dane.serwer = serwer->Adres();
        }
        PolaczenieODBC polaczenie(2);
        polaczenie.UstawDaneLogowania(dane);
        EXPECT_EQ(Blad(polaczenie), std::string(p.opis) + "\r\n" + p.sterownik);
        EXPECT_FALSE(polaczenie.Otwarte());
    }
}

TEST(PolaczenieWindows, APackageIsCommittedWholeOrRolledBackWhole) {
    {
        SCOPED_TRACE("committed");
        SerwerZewnetrzny serwer({"--init-version", "7.12.0.7"});
        PolaczenieODBC polaczenie;
        polaczenie.UstawDaneLogowania(serwer.Logowanie());
        polaczenie.Otworz();
        Zastosuj(polaczenie, "zuv_8_1_0_0", "8.1.0.0");
        EXPECT_EQ(ZapisanaWersja(polaczenie), "8.1.0.0");
    }
    {
        SCOPED_TRACE("a batch fails: nothing of the package stays");
        SerwerZewnetrzny serwer(
            {"--init-version", "7.12.0.7", "--fail-batch", "8.1.0.0:3:50000:Błąd testowy – „ąę”"});
        PolaczenieODBC polaczenie;
        polaczenie.UstawDaneLogowania(serwer.Logowanie());
        polaczenie.Otworz();
        try {
            Zastosuj(polaczenie, "zuv_8_1_0_0", "8.1.0.0");
            ADD_FAILURE() << "no error";
        } catch (const EOleException& e) {
            EXPECT_EQ(e.Komunikat(),
                      "Błąd aktualizacji bazy do wersji 8.1.0.0 podczas wykonywania operacji "
                      "3:\r\nBłąd testowy – „ąę”");
        }
        EXPECT_EQ(ZapisanaWersja(polaczenie), "7.12.0.7");
    }
}

// A connection lost at a batch is told as such, placed at that batch, and leaves the connection
// closed.
TEST(PolaczenieWindows, ALostConnectionIsToldWithItsStep) {
    // Request 1 begins the package's transaction, so its third batch is request 4.
    SerwerZewnetrzny serwer({"--init-version", "7.12.0.7", "--drop-at", "4"});
    PolaczenieODBC polaczenie;
    polaczenie.UstawDaneLogowania(serwer.Logowanie());
    polaczenie.Otworz();
    try {
        Zastosuj(polaczenie, "zuv_8_1_0_0", "8.1.0.0");
        ADD_FAILURE() << "no error";
    } catch (const EUtrataPolaczenia& e) {
        EXPECT_EQ(e.Krok(), KrokUtraty::Partia);
        EXPECT_EQ(e.Operacja(), 3);
        EXPECT_EQ(e.Wersja(), "8.1.0.0");
    }
    EXPECT_FALSE(polaczenie.Otwarte());
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
}
