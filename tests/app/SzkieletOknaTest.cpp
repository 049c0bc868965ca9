// The window skeleton with no window system: a window of recorders whose "event loop" waits on
// the test's thread for the end of each call, over the in-memory connection and the linked-in
// packages. What both real windows rely on: a confirmed version read goes on into the run, input
// is held for every call and given back, a run's error reaches the window's error boundary, and
// a close asked for during a call closes the window once the call has ended.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "app/ObslugaBledu.h"
#include "app/okno/SzkieletOkna.h"
#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "tests/support/OknaKomunikatowSkryptowe.h"
#include "tests/support/OknoPamieciowe.h"
#include "tests/support/PolaczeniePamieciowe.h"

using namespace zuv;

namespace {

class OknoProbne final : public OknoSzkieletu {
  public:
    void ZglosKoniecPracy() override {
        const std::lock_guard zamek(blokada_);
        koniecPracy_ = true;
        zmiana_.notify_all();
    }
    void UstawZegar(bool wlaczony) override { zegar = wlaczony; }
    void WstrzymajWejscie(bool wstrzymane) override {
        zdarzenia.push_back(wstrzymane ? "wejście wstrzymane" : "wejście oddane");
    }
    bool UruchomObsluge(const std::function<void()>& obsluga) override {
        return UruchomWGranicyBledu(
            obsluga, [this](const std::exception& blad) { bledy.push_back(blad.what()); });
    }
    void Zamknij() override { zdarzenia.push_back("zamknięte"); }
    void PrzebiegRozpoczety() override { zdarzenia.push_back("przebieg"); }
    void PrzebiegZakonczony(bool udany) override {
        zdarzenia.push_back(udany ? "przebieg udany" : "przebieg nieudany");
    }

    // The window's loop until no call is under way: each end of a call handed to the skeleton
    // on this thread.
    void Petla(SzkieletOkna& szkielet) {
        while (szkielet.WOczekiwaniu()) {
            std::unique_lock zamek(blokada_);
            zmiana_.wait(zamek, [this] { return koniecPracy_; });
            koniecPracy_ = false;
            zamek.unlock();
            szkielet.PoPracy();
        }
    }

    bool zegar = false;
    std::vector<std::string> zdarzenia;
    std::vector<std::string> bledy;

  private:
    std::mutex blokada_;
    std::condition_variable zmiana_;
    bool koniecPracy_ = false;
};

class Szkielet : public ::testing::Test {
  protected:
    void SetUp() override {
        conn.UstawWynik("SELECT dbo.fn_WERSJA_MS_SQL()", {1, WartoscPola(std::int64_t{2005})});
        conn.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
        conn.UstawWynik("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'",
                        {1, WartoscPola(std::string("11.4.0.1"))});
    }
    PolaczeniePamieciowe conn;
    OknoPamieciowe widok;
    OknaKomunikatowSkryptowe komunikaty;
    OknoProbne okno;
    SzkieletOkna szkielet{okno, conn, WidokOkna{widok, widok, widok, komunikaty, widok}, nullptr};
};

}  // namespace

TEST_F(Szkielet, AConfirmedVersionReadGoesOnIntoTheRunAndInputComesBackAfterEachCall) {
    szkielet.Loguj();
    EXPECT_TRUE(okno.zegar);
    okno.Petla(szkielet);
    EXPECT_EQ(widok.wersja, "Wersja bazy SERWER\\ZUV.Środki: 11.4.0.1");

    komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
    szkielet.Aktualizuj();
    okno.Petla(szkielet);
    EXPECT_FALSE(okno.zegar);
    EXPECT_TRUE(okno.bledy.empty());
    EXPECT_EQ(okno.zdarzenia,
              (std::vector<std::string>{"wejście wstrzymane", "wejście oddane",  // log-in
                                        "wejście wstrzymane", "wejście oddane",  // version read
                                        "przebieg", "wejście wstrzymane", "wejście oddane",
                                        "przebieg udany"}));
    ASSERT_FALSE(komunikaty.pokazane.empty());
    EXPECT_EQ(komunikaty.pokazane.back().tekst, "Zakończono aktualizację.");
    EXPECT_FALSE(szkielet.Polecenie().WTrakcie());
}

TEST_F(Szkielet, ARunsErrorReachesTheBoundaryAndACloseAskedDuringACallWaitsForItsEnd) {
    conn.Zawiedz(PolaczeniePamieciowe::Rodzaj::Polecenie, 5,
                 std::make_exception_ptr(EOleException("Zduplikowany klucz", 2627, "x")));
    szkielet.Loguj();
    okno.Petla(szkielet);
    komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
    szkielet.Aktualizuj();
    okno.Petla(szkielet);
    ASSERT_EQ(okno.bledy.size(), 1u);
    EXPECT_NE(okno.bledy[0].find("Zduplikowany klucz"), std::string::npos) << okno.bledy[0];
    EXPECT_EQ(okno.zdarzenia.back(), "przebieg nieudany");

    // Closing during a log-in is refused and remembered; the window closes when it has ended.
    okno.zdarzenia.clear();
    szkielet.Loguj();
    EXPECT_FALSE(szkielet.Polecenie().FormClose());
    okno.Petla(szkielet);
    EXPECT_EQ(okno.zdarzenia,
              (std::vector<std::string>{"wejście wstrzymane", "wejście oddane", "zamknięte"}));
}
