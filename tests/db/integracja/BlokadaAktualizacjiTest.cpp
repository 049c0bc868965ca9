// One updater per database: the update lock through the real driver, held by one session and
// refused to another at once, given back explicitly or when its session ends.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "db/PolaczenieODBC.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

std::string Blad(const std::function<void()>& krok) {
    try {
        krok();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(BlokadaAktualizacji, OneSessionHoldsItAnotherIsRefusedUntilItIsGivenBackOrTheSessionEnds) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.4.0.1";
    SerwerTestowy serwer(konfiguracja);
    PolaczenieODBC pierwsze;
    PolaczenieODBC drugie;
    pierwsze.UstawDaneLogowania(serwer.Logowanie());
    drugie.UstawDaneLogowania(serwer.Logowanie());
    pierwsze.Otworz();
    drugie.Otworz();

    const std::string Odmowa =
        "Baza S.B jest właśnie aktualizowana z innej sesji (inny program lub inne stanowisko). "
        "Nic nie zostało zmienione. Spróbuj ponownie, gdy tamta aktualizacja się zakończy.";
    EXPECT_EQ(Blad([&] { ZalozBlokadeAktualizacji(pierwsze, "S", "B"); }), "");
    // Asking again on the session that holds it is granted, as on SQL Server.
    EXPECT_EQ(Blad([&] { ZalozBlokadeAktualizacji(pierwsze, "S", "B"); }), "");
    EXPECT_EQ(Blad([&] { ZalozBlokadeAktualizacji(drugie, "S", "B"); }), Odmowa);

    // Given back, it goes to the other session, which then refuses the first.
    ZwolnijBlokadeAktualizacji(pierwsze);
    EXPECT_EQ(Blad([&] { ZalozBlokadeAktualizacji(drugie, "S", "B"); }), "");
    EXPECT_EQ(Blad([&] { ZalozBlokadeAktualizacji(pierwsze, "S", "B"); }), Odmowa);
    // A session that does not hold it cannot give it back.
    EXPECT_NE(Blad([&] { ZwolnijBlokadeAktualizacji(pierwsze); }).find("not currently held"),
              std::string::npos);

    // The session that holds it ends: the lock goes with it.
    drugie.Zamknij();
    bool przyznana = false;
    for (int proba = 0; proba < 200 && !przyznana; ++proba) {
        przyznana = Blad([&] { ZalozBlokadeAktualizacji(pierwsze, "S", "B"); }).empty();
        if (!przyznana) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(przyznana);

    bool odmowaWDzienniku = false;
    for (const auto& wpis : serwer->journal())
        odmowaWDzienniku |= wpis.kind == tds::RequestKind::Note &&
                            wpis.text.find("application lock 'ZUV_AKTUALIZACJA' refused") == 0;
    EXPECT_TRUE(odmowaWDzienniku);
}
