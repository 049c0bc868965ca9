// Log-ins that meet a faulty server: each gives up within the log-in time-out (shortened here)
// with the driver's message, whatever the server does, and the connection stays closed; log-in
// works against every product version the packages know.
#include <gtest/gtest.h>

#include <chrono>

#include "common/Wyjatki.h"
#include "db/PolaczenieODBC.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

constexpr int LimitTestowy = 2;  // seconds

}  // namespace

TEST(Logowanie, GivesUpWithinTheTimeOutWhateverTheServerDoes) {
    using F = tds::LoginFault;
    const struct {
        const char* nazwa;
        F usterka;
        int opoznienieMs;
        const char* komunikat;  // empty: the log-in succeeds
    } przypadki[] = {
        {"silent server", F::Silent, 0, "Timeout expired\r\nUnable to connect to data source"},
        {"dropped at pre-login", F::DropAtPreLogin, 0, "Unable to connect to data source"},
        {"dropped at the log-in packet", F::DropAtLogin7, 0, "Unable to connect to data source"},
        {"dropped before the acknowledgement", F::DropBeforeAck, 0,
         "Unable to connect to data source"},
        {"acknowledgement past the time-out", F::DelayAck, 3 * LimitTestowy * 1000,
         "Timeout expired\r\nUnable to connect to data source"},
        {"acknowledgement late but in time", F::DelayAck, 500, ""},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja;
        konfiguracja.faults.login = p.usterka;
        konfiguracja.faults.loginDelay = std::chrono::milliseconds(p.opoznienieMs);
        SerwerTestowy serwer(konfiguracja);

        PolaczenieODBC polaczenie(LimitTestowy);
        polaczenie.UstawDaneLogowania(serwer.Logowanie());
        const auto poczatek = std::chrono::steady_clock::now();
        std::string komunikat;
        try {
            polaczenie.Otworz();
        } catch (const EOleException& e) {
            komunikat = e.Komunikat();
        }
        const auto czas = std::chrono::steady_clock::now() - poczatek;
        EXPECT_EQ(komunikat, p.komunikat);
        EXPECT_EQ(polaczenie.Otwarte(), komunikat.empty());
        EXPECT_LT(czas, std::chrono::milliseconds(LimitTestowy * 1000 + 1500));
        if (!komunikat.empty()) {
            EXPECT_NO_THROW(polaczenie.Zamknij());
        }
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
