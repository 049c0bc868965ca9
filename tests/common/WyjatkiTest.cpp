#include <gtest/gtest.h>

#include "common/Wyjatki.h"

using namespace zuv;

TEST(EOleException, MessageLosesTrailingBlanksAndFullStops) {
    const struct {
        const char* opis;
        const char* komunikat;
    } przypadki[] = {
        {"Login failed for user 'sa'.", "Login failed for user 'sa'"},
        {"Błąd. \r\n.. ", "Błąd"},
        {"Wersja systemu: 1.0\r\nAktualizacja", "Wersja systemu: 1.0\r\nAktualizacja"},
        {"  tekst", "  tekst"},
        {"", "OLE error 80004005"},
        {" . \r\n", "OLE error 80004005"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.opis);
        const EOleException e(p.opis, static_cast<std::int32_t>(0x80004005), "zrodlo", "plik", 7);
        EXPECT_EQ(e.Komunikat(), p.komunikat);
        EXPECT_STREQ(e.what(), p.komunikat);
    }
}

TEST(EOleException, CarriesCodeSourceHelpFileAndContext) {
    const EOleException e("x", 18456, "FreeTDS 42000", "pomoc.hlp", 12);
    EXPECT_EQ(e.Kod(), 18456);
    EXPECT_EQ(e.Zrodlo(), "FreeTDS 42000");
    EXPECT_EQ(e.PlikPomocy(), "pomoc.hlp");
    EXPECT_EQ(e.KontekstPomocy(), 12);
}

TEST(EAssertionFailed, NamesFileAndLine) {
    EXPECT_EQ(EAssertionFailed("Assertion failure", "DBUzytkiST", 2016).Komunikat(),
              "Assertion failure (DBUzytkiST, line 2016)");
}
