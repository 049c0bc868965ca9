// The recorded version read after a loss left a commit's outcome open: in a new session with the
// same log-in values, or nothing when it cannot be read; the connection is left closed.
#include <gtest/gtest.h>

#include <optional>

#include "db/PolaczenieODBC.h"
#include "db/ZapisanaWersja.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

TEST(ZapisanaWersjaPoUtracie, ReadsTheVersionInANewSessionOrGivesNothing) {
    enum class Serwer { Dziala, DwieWersje, OdmawiaLogowania, Zatrzymany };
    const struct {
        const char* nazwa;
        Serwer serwer;
        std::optional<std::string> wersja;
    } przypadki[] = {
        {"server answers", Serwer::Dziala, "11.4.0.1"},
        {"two version rows", Serwer::DwieWersje, std::nullopt},
        {"log-in refused", Serwer::OdmawiaLogowania, std::nullopt},
        {"server gone", Serwer::Zatrzymany, std::nullopt},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = "11.4.0.1";
        konfiguracja.faults.refuseLogins = p.serwer == Serwer::OdmawiaLogowania;
        auto serwer = std::make_optional<SerwerTestowy>(konfiguracja);
        if (p.serwer == Serwer::DwieWersje)
            (*serwer)->setVersionRows(
                {{"WERSJE", "TERVO_WERSJA", "11.4.0.1"}, {"WERSJE", "TERVO_WERSJA", "11.3.0.2"}});
        PolaczenieODBC polaczenie(2);
        polaczenie.UstawDaneLogowania(serwer->Logowanie());
        if (p.serwer == Serwer::Zatrzymany) serwer.reset();

        EXPECT_EQ(ZapisanaWersjaPoUtracie(polaczenie), p.wersja);
        EXPECT_FALSE(polaczenie.Otwarte());
    }
}
