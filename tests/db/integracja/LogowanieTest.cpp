// Log-ins that fail, through the real driver against the test server: each gives up within the
// log-in time-out (shortened here) with a Polish first line saying what happened and what to
// check, the driver's own text whole on the next line, and the connection closed; log-in works
// against every product version the packages know.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "common/Wyjatki.h"
#include "db/PolaczenieODBC.h"
#include "db/SondaPreLogin.h"
#include "tests/db/integracja/OpisyBledowLogowania.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

constexpr int LimitTestowy = 2;  // seconds

using K = tds::ServerConfig;

// "127.0.0.1,PORT" of a port nothing listens on any more.
std::string ZwolnionyAdres() {
    SerwerTestowy zamkniety;
    return zamkniety.Adres();
}

}  // namespace

TEST(Logowanie, EveryFailureSaysInPolishWhatHappenedThenTheDriversText) {
    namespace o = opisy_logowania;
    using F = tds::LoginFault;
    const std::string zwolniony = ZwolnionyAdres();
    const struct {
        const char* nazwa;
        void (*ustaw)(K&);  // the server's setting; nullptr: the default
        std::string adres;  // empty: the test server's
        std::string baza;
        const char* opis;  // empty: the log-in succeeds
        const char* sterownik;
        std::int32_t kod;
    } przypadki[] = {
        {"name not found", nullptr, "nie-ma-takiego-serwera.invalid,1433", "ZUV", o::NieznanySerwer,
         "Unknown host machine name", 20013},
        {"nothing listens at the port", nullptr, zwolniony, "ZUV", o::BrakSerwera,
         "Unable to connect: Adaptive Server is unavailable or does not exist", 20009},
        {"connection accepted, nothing answered", [](K& k) { k.faults.login = F::Silent; }, "",
         "ZUV", o::BrakOdpowiedzi, "Timeout expired\r\nUnable to connect to data source", 0},
        {"log-in packet never acknowledged", [](K& k) { k.faults.login = F::NoAck; }, "", "ZUV",
         o::BrakOdpowiedzi, "Timeout expired\r\nUnable to connect to data source", 0},
        {"acknowledgement past the time-out",
         [](K& k) {
             k.faults.login = F::DelayAck;
             k.faults.loginDelay = std::chrono::seconds(3 * LimitTestowy);
         },
         "", "ZUV", o::BrakOdpowiedzi, "Timeout expired\r\nUnable to connect to data source", 0},
        {"log-in refused", [](K& k) { k.faults.refuseLogins = true; }, "", "ZUV", o::Odmowa,
         "Login failed for user 'sa'", 18456},
        {"database missing", nullptr, "", "Brak", o::NiedostepnaBaza,
         "Login failed for user 'sa'.\r\nCannot open database \"Brak\" requested by the login. "
         "The login failed",
         18456},
        {"TLS with no cipher in common", [](K& k) { k.tlsCiphers = o::SzyfryObce; }, "", "ZUV",
         o::ZamknieteLubSzyfrowanie, "Adaptive Server connection failed", 20002},
        {"forced encryption, no cipher in common",
         [](K& k) {
             k.encryption = tds::EncryptionMode::Required;
             k.tlsCiphers = o::SzyfryObce;
         },
         "", "ZUV", o::ZamknieteLubSzyfrowanie, "Adaptive Server connection failed", 20002},
        {"reset at pre-login", [](K& k) { k.faults.login = F::ResetAtPreLogin; }, "", "ZUV",
         o::Zamkniete, "Adaptive Server connection failed", 20002},
        {"reset after the log-in packet, a server without encryption",
         [](K& k) {
             k.encryption = tds::EncryptionMode::Off;
             k.faults.login = F::ResetAtLogin7;
         },
         "", "ZUV", o::ZamknieteBezTLS, "Adaptive Server connection failed", 20002},
        // FreeTDS reports a reset after the encrypted log-in packet exactly as a handshake that
        // fails; with TLS in the log-in the program names both.
        {"reset after the encrypted log-in packet", [](K& k) { k.faults.login = F::ResetAtLogin7; },
         "", "ZUV", o::ZamknieteLubSzyfrowanie, "Adaptive Server connection failed", 20002},
        {"closed at pre-login", [](K& k) { k.faults.login = F::DropAtPreLogin; }, "", "ZUV",
         o::Zamkniete, "Unexpected EOF from the server\r\nAdaptive Server connection failed",
         20017},
        {"closed after the log-in packet", [](K& k) { k.faults.login = F::DropAtLogin7; }, "",
         "ZUV", o::Zamkniete, "Unexpected EOF from the server\r\nAdaptive Server connection failed",
         20017},
        {"closed before the acknowledgement", [](K& k) { k.faults.login = F::DropBeforeAck; }, "",
         "ZUV", o::Zamkniete, "Unexpected EOF from the server\r\nAdaptive Server connection failed",
         20017},
        {"acknowledgement late but in time",
         [](K& k) {
             k.faults.login = F::DelayAck;
             k.faults.loginDelay = std::chrono::milliseconds(500);
         },
         "", "ZUV", "", "", 0},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja;
        if (p.ustaw != nullptr) p.ustaw(konfiguracja);
        SerwerTestowy serwer(konfiguracja);
        DaneLogowania dane = serwer.Logowanie(p.baza);
        if (!p.adres.empty()) dane.serwer = p.adres;

        PolaczenieODBC polaczenie(LimitTestowy);
        polaczenie.UstawDaneLogowania(dane);
        const auto poczatek = std::chrono::steady_clock::now();
        std::optional<EOleException> blad;
        try {
            polaczenie.Otworz();
        } catch (const EOleException& e) {
            blad = e;
        }
        const auto czas = std::chrono::steady_clock::now() - poczatek;
        EXPECT_LT(czas, std::chrono::milliseconds(LimitTestowy * 1000 + 1500));
        EXPECT_EQ(polaczenie.Otwarte(), !blad);
        if (*p.opis == '\0') {
            EXPECT_FALSE(blad) << blad->Komunikat();
            continue;
        }
        ASSERT_TRUE(blad);
        const std::string& komunikat = blad->Komunikat();
        const std::size_t koniecWiersza = komunikat.find("\r\n");
        ASSERT_NE(koniecWiersza, std::string::npos) << komunikat;
        EXPECT_EQ(komunikat.substr(0, koniecWiersza), p.opis);
        EXPECT_EQ(komunikat.substr(koniecWiersza + 2), p.sterownik);
        EXPECT_EQ(blad->Kod(), p.kod);
        EXPECT_NO_THROW(polaczenie.Zamknij());
    }
}

// What the program's own pre-login request learns of each server: whether it answers, and
// whether TLS is part of its log-in; a server it cannot reach or whose port it does not know is
// not asked.
TEST(Logowanie, ThePreLoginRequestTellsWhetherTheServerAnswersAndEncrypts) {
    using O = OdpowiedzPreLogin;
    using E = tds::EncryptionMode;
    const std::string zwolniony = ZwolnionyAdres();
    const struct {
        const char* nazwa;
        void (*ustaw)(K&);
        std::string adres;  // empty: the test server's
        O odpowiedz;
    } przypadki[] = {
        {"a server without a certificate", [](K& k) { k.encryption = E::Off; }, "",
         O::BezSzyfrowania},
        {"the log-in encrypted", [](K& k) { k.encryption = E::Login; }, "", O::ZSzyfrowaniem},
        {"the session encrypted", [](K& k) { k.encryption = E::On; }, "", O::ZSzyfrowaniem},
        {"forced encryption", [](K& k) { k.encryption = E::Required; }, "", O::ZSzyfrowaniem},
        {"reset at pre-login", [](K& k) { k.faults.login = tds::LoginFault::ResetAtPreLogin; }, "",
         O::BezOdpowiedzi},
        {"closed at pre-login", [](K& k) { k.faults.login = tds::LoginFault::DropAtPreLogin; }, "",
         O::BezOdpowiedzi},
        {"silent", [](K& k) { k.faults.login = tds::LoginFault::Silent; }, "", O::BezOdpowiedzi},
        {"nothing listens", nullptr, zwolniony, O::Niesprawdzona},
        {"a named instance without a port", nullptr, "127.0.0.1\\SQL2008", O::Niesprawdzona},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja;
        if (p.ustaw != nullptr) p.ustaw(konfiguracja);
        SerwerTestowy serwer(konfiguracja);
        EXPECT_EQ(
            ZapytajOPreLogin(p.adres.empty() ? serwer.Adres() : p.adres, std::chrono::seconds(1)),
            p.odpowiedz);
    }
}

TEST(Logowanie, WorksAgainstEveryProductVersionThePackagesKnow) {
    for (const char* wersja : {"8.00.2039", "9.00.5000.00", "10.50.6000.34", "11.0.7001.0"}) {
        SCOPED_TRACE(wersja);
        tds::ServerConfig konfiguracja;
        konfiguracja.productVersion = wersja;
        SerwerTestowy serwer(konfiguracja);
        PolaczenieODBC polaczenie;
        polaczenie.UstawDaneLogowania(serwer.Logowanie());
        ASSERT_NO_THROW(polaczenie.Otworz());
        EXPECT_EQ(
            polaczenie
                .WykonajZRekordami("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'")
                .pierwszePole,
            WartoscPola(std::string("7.12.0.7")));
    }
}
