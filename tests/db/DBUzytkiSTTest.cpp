#include <gtest/gtest.h>

#include "common/Wyjatki.h"
#include "db/DBUzytkiST.h"
#include "tests/support/PolaczeniePamieciowe.h"

using namespace zuv;

using Rodzaj = PolaczeniePamieciowe::Rodzaj;

namespace {

constexpr const char* ZapytanieGeneracji = "SELECT dbo.fn_WERSJA_MS_SQL()";

template <typename Blad>
std::string KomunikatBledu(const std::function<void()>& dzialanie) {
    try {
        dzialanie();
    } catch (const Blad& e) {
        return e.Komunikat();
    }
    return "(no error)";
}

}  // namespace

TEST(OdczytajWersjeSerwera, ReturnsGenerationsFrom2000Up) {
    PolaczeniePamieciowe polaczenie;
    for (const std::int64_t generacja : {2000, 2005, 2012}) {
        polaczenie.UstawWynik(ZapytanieGeneracji, {1, WartoscPola(generacja)});
        EXPECT_EQ(TDBUzytkiST::OdczytajWersjeSerwera(&polaczenie), generacja);
    }
}

TEST(OdczytajWersjeSerwera, RefusesWhatIsNotAGeneration) {
    PolaczeniePamieciowe polaczenie;
    const auto komunikat = [&](WynikZapytania wynik) {
        polaczenie.UstawWynik(ZapytanieGeneracji, std::move(wynik));
        try {
            TDBUzytkiST::OdczytajWersjeSerwera(&polaczenie);
        } catch (const EDatabaseError& e) {
            return "EDatabaseError: " + e.Komunikat();
        } catch (const EVariantTypeCastError& e) {
            return "EVariantTypeCastError: " + e.Komunikat();
        }
        return std::string("(no error)");
    };
    EXPECT_EQ(komunikat({0, std::nullopt}),
              "EDatabaseError: Cannot perform this operation on an empty dataset");
    EXPECT_EQ(
        komunikat({1, WartoscPola()}),
        "EVariantTypeCastError: Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(komunikat({1, WartoscPola(std::int64_t{0})}),
              "EDatabaseError: Błąd odczytu wersji serwera MS SQL.");
    EXPECT_EQ(komunikat({1, WartoscPola(std::int64_t{1999})}),
              "EDatabaseError: Błąd odczytu wersji serwera MS SQL.");
}

TEST(WykonajSQL, SendsLinesEndedWithCrLfAndTheTimeOut) {
    const struct {
        const char* nazwa;
        std::string tekst;
        std::string wyslane;
    } przypadki[] = {
        {"runner batch", "\r\nA", "\r\nA\r\n"},
        {"LF only", "A\nB", "A\r\nB\r\n"},
        {"lone CR", "A\rB\r\n", "A\r\nB\r\n"},
        {"up to NUL", std::string("A\r\nB\0C", 6), "A\r\nB\r\n"},
        {"one CR LF", "\r\n", "\r\n"},
        {"colons and markers unchanged", "select :a, ::b, ? -- :c", "select :a, ::b, ? -- :c\r\n"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        PolaczeniePamieciowe polaczenie;
        WykonajSQL(&polaczenie, p.tekst, 2592000);
        ASSERT_EQ(polaczenie.Wywolania().size(), 1u);
        EXPECT_EQ(polaczenie.Wywolania()[0].tekst, p.wyslane);
        EXPECT_EQ(polaczenie.Wywolania()[0].limitCzasu, 2592000);
    }
}

TEST(WykonajSQL, EmptyTextSendsNothing) {
    for (const std::string& tekst : {std::string(), std::string("\0abc", 4)}) {
        PolaczeniePamieciowe polaczenie;
        EXPECT_EQ(KomunikatBledu<EDatabaseError>([&] { WykonajSQL(&polaczenie, tekst, 30); }),
                  "Missing SQL property");
        EXPECT_TRUE(polaczenie.Wywolania().empty());
    }
}

TEST(Transakcje, ChecksBeforeEachStep) {
    PolaczeniePamieciowe polaczenie;
    polaczenie.Otworz();
    EXPECT_EQ(KomunikatBledu<EDatabaseError>([&] { ZatwierdzTransakcje(&polaczenie); }),
              "Nie rozpoczęto transakcji.");
    EXPECT_EQ(KomunikatBledu<EDatabaseError>([&] { WycofajTransakcje(&polaczenie); }),
              "Nie rozpoczęto transakcji.");

    RozpocznijTransakcje(&polaczenie);
    EXPECT_EQ(KomunikatBledu<EDatabaseError>([&] { RozpocznijTransakcje(&polaczenie); }),
              "Transakcja jest już rozpoczęta.");
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 1);

    WycofajTransakcje(&polaczenie);
    EXPECT_EQ(KomunikatBledu<EDatabaseError>([&] { ZatwierdzTransakcje(&polaczenie); }),
              "Nie rozpoczęto transakcji.");
    EXPECT_EQ(polaczenie.Liczba(Rodzaj::Rozpoczecie), 1);
    EXPECT_EQ(polaczenie.Liczba(Rodzaj::Wycofanie), 1);
    EXPECT_EQ(polaczenie.Liczba(Rodzaj::Zatwierdzenie), 0);
}

TEST(Transakcje, AFailedCommitLeavesTheTransactionCounted) {
    PolaczeniePamieciowe polaczenie;
    polaczenie.Otworz();
    RozpocznijTransakcje(&polaczenie);
    // A batch that committed on the server leaves the counter alone; the commit still goes out.
    WykonajSQL(&polaczenie, "COMMIT", 30);
    polaczenie.Zawiedz(Rodzaj::Zatwierdzenie, 1,
                       std::make_exception_ptr(EOleException("no corresponding BEGIN", 3902, "t")));
    EXPECT_THROW(ZatwierdzTransakcje(&polaczenie), EOleException);
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 1);
}

TEST(Transakcje, NoConnectionIsRefused) {
    EXPECT_EQ(KomunikatBledu<EAssertionFailed>([] { RozpocznijTransakcje(nullptr); }),
              "Assertion failure (DBUzytkiST, line 2016)");
    EXPECT_EQ(KomunikatBledu<EAssertionFailed>([] { ZatwierdzTransakcje(nullptr); }),
              "Assertion failure (DBUzytkiST, line 2024)");
    EXPECT_EQ(KomunikatBledu<EAssertionFailed>([] { WycofajTransakcje(nullptr); }),
              "Assertion failure (DBUzytkiST, line 2031)");
    // The others have no assertion but must not reach through a missing connection either.
    EXPECT_EQ(KomunikatBledu<EDatabaseError>([] { TDBUzytkiST::OdczytajWersjeSerwera(nullptr); }),
              "Brak połączenia z bazą danych.");
    EXPECT_EQ(KomunikatBledu<EDatabaseError>([] { WykonajSQL(nullptr, "SELECT 1", 30); }),
              "Brak połączenia z bazą danych.");
    EXPECT_EQ(KomunikatBledu<EDatabaseError>([] { SprawdzTransakcje(nullptr); }),
              "Brak połączenia z bazą danych.");
}
