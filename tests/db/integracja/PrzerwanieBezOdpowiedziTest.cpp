// A stop that the server never answers: the driver waits for a reply that does not come, and
// the run's thread with it. The administrator is offered, after the wait, to end the program
// (the server then rolls the open transaction back on its own); the offer comes again after each
// wait while the answer is No; and a link that goes while the stop waits ends the run with the
// box that says so.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "tests/db/integracja/ProgramTestowy.h"
#include "tests/db/integracja/SerwerTestowy.h"
#include "tests/support/PolecenieWWatku.h"

using namespace std::chrono_literals;
using namespace zuv;

namespace {

// A run whose request the server never answers: started, and awaited until the server holds it.
class StopBezOdpowiedzi : public ::testing::Test {
  protected:
    void SetUp() override {
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = "11.4.0.1";
        // Requests are numbered from the log-in's version query: the press's query, the lock, the
        // two flag statements, the generation query and the transaction's begin come first.
        konfiguracja.faults.hangAtRequests = {9};
        serwer = std::make_unique<SerwerTestowy>(konfiguracja);
        program = std::make_unique<ProgramTestowy>((*serwer).Adres());
        ASSERT_EQ(program->Loguj(), "");
        program->komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
        przebieg = RozpocznijPrzebiegWWatku(program->polecenie);
        ASSERT_TRUE(przebieg);
        watek = std::thread([this] { przebieg->Wykonaj(); });
        Czekaj([&] { return (*serwer)->journal().size() > 9; });
    }
    // A test that stopped half-way leaves the run's thread waiting for the server: the link goes,
    // and the thread ends.
    void TearDown() override {
        if (!watek.joinable()) return;
        serwer.reset();
        watek.join();
    }
    // Whether `warunek` came true within ten seconds.
    template <typename Warunek>
    static bool Czekaj(Warunek warunek) {
        const auto koniec = std::chrono::steady_clock::now() + 10s;
        while (!warunek() && std::chrono::steady_clock::now() < koniec)
            std::this_thread::sleep_for(10ms);
        return warunek();
    }

    std::unique_ptr<SerwerTestowy> serwer;
    std::unique_ptr<ProgramTestowy> program;
    std::optional<ZadanieWTle> przebieg;
    std::thread watek;
};

}  // namespace

TEST_F(StopBezOdpowiedzi, TheAdministratorIsOfferedToEndAndALostLinkIsTold) {
    ASSERT_TRUE(Czekaj([&] { return (*serwer)->journal().size() > 9; }));

    program->polecenie.UstawCzasNaPrzerwanie(300ms);
    program->polecenie.PrzerwijPrzebieg();
    EXPECT_TRUE(Czekaj([&] {
        for (const auto& wpis : (*serwer)->journal())
            if (wpis.kind == tds::RequestKind::Attention) return true;
        return false;
    })) << "no cancel reached the server";
    EXPECT_FALSE(program->polecenie.SprawdzPrzerwanie());  // not yet
    EXPECT_EQ(program->komunikaty.pokazane.size(), 1u);

    // After the wait: the offer, answered No, and again after another wait, answered Yes.
    std::this_thread::sleep_for(400ms);
    program->komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Nie};
    EXPECT_FALSE(program->polecenie.SprawdzPrzerwanie());
    ASSERT_EQ(program->komunikaty.pokazane.size(), 2u);
    const Komunikat& oferta = program->komunikaty.pokazane[1];
    EXPECT_EQ(oferta.tytul, "Potwierdź");
    EXPECT_EQ(oferta.styl, StylKomunikatu::TakNie | StylKomunikatu::IkonaWykrzyknik |
                               StylKomunikatu::DrugiDomyslny);
    EXPECT_NE(oferta.tekst.find("Serwer nie odpowiada na przerwanie aktualizacji"),
              std::string::npos);
    EXPECT_NE(oferta.tekst.find("serwer sam wycofa otwartą transakcję pakietu 11.5.0.6"),
              std::string::npos)
        << oferta.tekst;
    EXPECT_FALSE(program->polecenie.SprawdzPrzerwanie());  // the wait begins anew
    std::this_thread::sleep_for(400ms);
    program->komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
    EXPECT_TRUE(program->polecenie.SprawdzPrzerwanie());
    EXPECT_TRUE(program->polecenie.WTrakcie());

    // The link goes while the stop waits: the run ends, and the box says what became of it.
    serwer.reset();
    watek.join();
    EXPECT_EQ(ProgramTestowy::Box([&] { (void)przebieg->Zakoncz(); }), "");
    EXPECT_EQ(program->OstatniBox(),
              "Aktualizacja przerwana. Połączenie z serwerem zostało utracone; serwer sam wycofa "
              "niezatwierdzony pakiet. „Loguj” pokaże wersję zapisaną w bazie.");
}

// The run ends while the offer is open (here the link goes while the box waits for its answer):
// Yes then ends nothing, and the run's end is told as usual.
TEST_F(StopBezOdpowiedzi, AnOfferAnsweredAfterTheRunEndedEndsNothing) {
    program->polecenie.UstawCzasNaPrzerwanie(100ms);
    program->polecenie.PrzerwijPrzebieg();
    std::this_thread::sleep_for(200ms);

    // While the offer waits for its answer, the link goes and the run ends; then Yes.
    program->komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
    program->komunikaty.przedOdpowiedzia = [&] {
        EXPECT_TRUE(program->polecenie.PytanieOPrzerwanieOtwarte());
        serwer.reset();
        watek.join();
    };
    EXPECT_FALSE(program->polecenie.SprawdzPrzerwanie());
    ASSERT_FALSE(watek.joinable());
    EXPECT_EQ(program->komunikaty.pokazane.size(), 2u);
    program->komunikaty.przedOdpowiedzia = nullptr;
    EXPECT_EQ(ProgramTestowy::Box([&] { (void)przebieg->Zakoncz(); }), "");
    EXPECT_EQ(program->OstatniBox().rfind("Aktualizacja przerwana.", 0), 0u)
        << program->OstatniBox();
}
