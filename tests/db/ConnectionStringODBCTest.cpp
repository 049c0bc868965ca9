#include <gtest/gtest.h>

#include "common/Wyjatki.h"
#include "db/ConnectionST.h"
#include "db/ConnectionStringODBC.h"
#include "db/Kodowanie.h"
#include "db/UchwytyODBC.h"

TEST(ParsujConnectionString, EveryLogInValueArrivesWholeAndExact) {
    const char* wartosci[] = {"plain", " blanks kept ", "a=b",           "x;Data Source=evil",
                              "it's",  "say \"hi\"",    "both ' and \"", "\";'",
                              "",      "Hasło€1",       "{br}ace}"};
    for (const char* wartosc : wartosci) {
        SCOPED_TRACE(wartosc);
        const auto atrybuty = ParsujConnectionString(
            UtworzConnectionString(wartosc, wartosc, wartosc, wartosc, "admin"));
        ASSERT_EQ(atrybuty.size(), 8u);
        EXPECT_EQ(atrybuty[0], (std::pair<std::string, std::string>("Provider", "SQLOLEDB.1")));
        for (const std::size_t i : {1u, 3u, 4u, 5u}) EXPECT_EQ(atrybuty[i].second, wartosc);
        EXPECT_EQ(atrybuty[7],
                  (std::pair<std::string, std::string>("Application Name", "U:admin")));
    }
}

TEST(ParsujConnectionString, UnclosedQuoteIsRefused) {
    EXPECT_THROW(ParsujConnectionString("Password=\"abc;User ID=sa"), EOleException);
    EXPECT_THROW(ParsujConnectionString("Password=\"a\"b;User ID=sa"), EOleException);
    EXPECT_THROW(ParsujConnectionString("Password"), EOleException);
}

TEST(ConnectionStringODBC, TranslatesKeysAndServerForms) {
    const struct {
        const char* nazwa;
        const char* serwer;
        const char* sterownik;
        const char* haslo;
        std::string wynik;
    } przypadki[] = {
        {"host", "srv", "FreeTDS", "p",
         "DRIVER={FreeTDS};SERVER=srv;DATABASE=ZUV;UID=sa;PWD=p;APP=U:admin"},
        {"named instance", "srv\\SQL2005", "FreeTDS", "p",
         "DRIVER={FreeTDS};SERVER=srv\\SQL2005;DATABASE=ZUV;UID=sa;PWD=p;APP=U:admin"},
        {"port after a comma, FreeTDS", "127.0.0.1,1433", "FreeTDS", "p",
         "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=ZUV;UID=sa;PWD=p;APP=U:admin"},
        {"port after a comma, Microsoft driver", "srv,1433", "ODBC Driver 18 for SQL Server", "p",
         "DRIVER={ODBC Driver 18 for SQL "
         "Server};SERVER=srv,1433;DATABASE=ZUV;UID=sa;PWD=p;APP=U:admin"},
        {"password needing braces", "srv", "FreeTDS", "a;b}c",
         "DRIVER={FreeTDS};SERVER=srv;DATABASE=ZUV;UID=sa;PWD={a;b}}c};APP=U:admin"},
        {"password with blanks around", "srv", "FreeTDS", " p ",
         "DRIVER={FreeTDS};SERVER=srv;DATABASE=ZUV;UID=sa;PWD={ p };APP=U:admin"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const auto atrybuty =
            ParsujConnectionString(UtworzConnectionString(p.serwer, "ZUV", "sa", p.haslo, "admin"));
        EXPECT_EQ(ConnectionStringODBC(atrybuty, p.sterownik), p.wynik);
    }
}

TEST(BezPrzedrostkowSterownika, DropsOnlyTheDriverStacksGroups) {
    EXPECT_EQ(BezPrzedrostkowSterownika("[FreeTDS][SQL Server]Login failed for user 'sa'."),
              "Login failed for user 'sa'.");
    EXPECT_EQ(BezPrzedrostkowSterownika("[unixODBC][Driver Manager]Data source name not found"),
              "Data source name not found");
    EXPECT_EQ(BezPrzedrostkowSterownika("[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]x"),
              "x");
    EXPECT_EQ(BezPrzedrostkowSterownika("[FreeTDS][SQL Server][13000] Niepoprawny status ^pc_MC"),
              "[13000] Niepoprawny status ^pc_MC");
    EXPECT_EQ(BezPrzedrostkowSterownika("bez nawiasów"), "bez nawiasów");
}

TEST(Kodowanie, Cp1250ConvertsPolishLettersAndRefusesUndefinedBytes) {
    EXPECT_EQ(Cp1250NaUtf16("Za\xBF\xF3\xB3\xE6 \xA5\xCA\x8C\x8F\x96\x94"), u"Zażółć ĄĘŚŹ–”");
    for (const char bajt : {'\x81', '\x83', '\x88', '\x90', '\x98'}) {
        const std::string tekst = std::string("select 1 -- ") + bajt;
        try {
            Cp1250NaUtf16(tekst);
            ADD_FAILURE() << "no error";
        } catch (const EOleException& e) {
            EXPECT_NE(e.Komunikat().find("pozycji 12"), std::string::npos) << e.Komunikat();
        }
    }
    EXPECT_EQ(Utf16NaUtf8(u"Błąd ąę"), "Błąd ąę");
    EXPECT_EQ(Utf8NaUtf16("Hasło€1"), u"Hasło€1");
    EXPECT_THROW(Utf8NaUtf16("\xC5"), EOleException);
}
