// A command stopped from another thread while the server holds it: the driver sends an attention,
// the server stops the batch and the command fails at once; the transaction stays open for the
// roll back, which leaves nothing of the batch.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "common/Wyjatki.h"
#include "db/PolaczenieODBC.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

TEST(Anulowanie, AHeldBatchStopsAtOnceAndTheTransactionRollsBack) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.4.0.1";
    // Request 1 is the transaction's start, 2 the batch held for a minute.
    konfiguracja.faults.delays.push_back({2, std::chrono::milliseconds(60000)});
    SerwerTestowy serwer(konfiguracja);
    PolaczenieODBC polaczenie;
    polaczenie.UstawDaneLogowania(serwer.Logowanie());
    polaczenie.Otworz();
    polaczenie.BeginTrans();

    const auto poczatek = std::chrono::steady_clock::now();
    auto partia = std::async(std::launch::async, [&]() -> std::string {
        try {
            polaczenie.WykonajBezRekordow("UPDATE dbo.srodki SET nazwa = 'x'", 3600);
        } catch (const EOleException& e) {
            return e.what();
        }
        return "";
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    polaczenie.Anuluj();
    ASSERT_EQ(partia.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    const std::string blad = partia.get();
    EXPECT_LT(std::chrono::steady_clock::now() - poczatek, std::chrono::seconds(20));
    EXPECT_NE(blad, "") << "the batch ran to its end";
    EXPECT_TRUE(polaczenie.Otwarte()) << blad;
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 1);
    polaczenie.RollbackTrans();
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);

    bool uwaga = false;
    for (const auto& wpis : serwer->journal()) uwaga |= wpis.kind == tds::RequestKind::Attention;
    EXPECT_TRUE(uwaga);
    EXPECT_NE(blad.find("cancel"), std::string::npos) << blad;
    // Between commands a cancel does nothing.
    polaczenie.Anuluj();
    EXPECT_EQ(polaczenie.WykonajZRekordami("SELECT @@TRANCOUNT").liczbaRekordow, 1);
}
