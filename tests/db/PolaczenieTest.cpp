#include <gtest/gtest.h>

#include "common/Wyjatki.h"
#include "db/ConnectionST.h"
#include "tests/support/PolaczeniePamieciowe.h"

using namespace zuv;

using Rodzaj = PolaczeniePamieciowe::Rodzaj;

namespace {

std::exception_ptr BladOle() {
    return std::make_exception_ptr(EOleException("odmowa", 3902, "test"));
}

}  // namespace

TEST(Polaczenie, CounterFollowsCompletedStepsOnly) {
    PolaczeniePamieciowe polaczenie;
    polaczenie.Otworz();
    EXPECT_EQ(polaczenie.BeginTrans(), 1);
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 1);

    polaczenie.Zawiedz(Rodzaj::Zatwierdzenie, 1, BladOle());
    EXPECT_THROW(polaczenie.CommitTrans(), EOleException);
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 1);
    polaczenie.CommitTrans();
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
    polaczenie.RollbackTrans();  // never below zero
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
}

TEST(Polaczenie, ClosingRollsBackFirstAndAFailingRollBackKeepsItOpen) {
    PolaczeniePamieciowe polaczenie;
    polaczenie.Otworz();
    polaczenie.BeginTrans();
    polaczenie.Zawiedz(Rodzaj::Wycofanie, 1, BladOle());
    EXPECT_THROW(polaczenie.Zamknij(), EOleException);
    EXPECT_TRUE(polaczenie.Otwarte());
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 1);

    polaczenie.Zamknij();
    EXPECT_FALSE(polaczenie.Otwarte());
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
    const auto& w = polaczenie.Wywolania();
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[3].rodzaj, Rodzaj::Wycofanie);
    EXPECT_EQ(w[4].rodzaj, Rodzaj::Zamkniecie);

    polaczenie.Zamknij();  // closed already: nothing happens
    EXPECT_EQ(polaczenie.Wywolania().size(), 5u);
}

TEST(Polaczenie, OpeningAnOpenConnectionIsRefused) {
    PolaczeniePamieciowe polaczenie;
    polaczenie.UstawDaneLogowania({"S", "D", "U", "P"});
    polaczenie.Otworz();
    EXPECT_EQ(polaczenie.Wywolania()[0].tekst, UtworzConnectionString("S", "D", "U", "P", "admin"));
    EXPECT_THROW(polaczenie.Otworz(), EOleException);
}
