#include <gtest/gtest.h>

#include "db/ConnectionST.h"

using namespace zuv;

namespace {

std::string Oczekiwany(const std::string& haslo, const std::string& uzytkownik,
                       const std::string& baza, const std::string& serwer) {
    return "Provider=SQLOLEDB.1;Password=" + haslo +
           ";Persist Security Info=True;User ID=" + uzytkownik + ";Initial Catalog=" + baza +
           ";Data Source=" + serwer + ";OLE DB Services=-2";
}

}  // namespace

TEST(UtworzConnectionString, PlainValuesGoInExactlyAsTyped) {
    const struct {
        const char* nazwa;
        const char* serwer;
        const char* baza;
        const char* uzytkownik;
        const char* haslo;
        const char* aplikacja;
        std::string wynik;
    } przypadki[] = {
        {"the window's call", "SRV\\SQL", "ZUV", "sa", "Tajne1", "admin",
         Oczekiwany("Tajne1", "sa", "ZUV", "SRV\\SQL") + ";Application Name=U:admin"},
        {"application name trimmed", "s", "d", "u", "p", " \t admin\r\n",
         Oczekiwany("p", "u", "d", "s") + ";Application Name=U:admin"},
        {"blank application name leaves the attribute out", "s", "d", "u", "p", " \t\x01",
         Oczekiwany("p", "u", "d", "s")},
        {"empty application name", "s", "d", "u", "p", "", Oczekiwany("p", "u", "d", "s")},
        {"empty values keep their keys", "", "", "", "", "admin",
         Oczekiwany("", "", "", "") + ";Application Name=U:admin"},
        {"blanks and = stay inside values", " srv ", "a=b", " sa", "p w=", "",
         Oczekiwany("p w=", " sa", "a=b", " srv ")},
        {"Polish letters unchanged", "s", "Środki", "u", "Hasło€1", "",
         Oczekiwany("Hasło€1", "u", "Środki", "s")},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(UtworzConnectionString(p.serwer, p.baza, p.uzytkownik, p.haslo, p.aplikacja),
                  p.wynik);
    }
}

TEST(UtworzConnectionString, ValuesThatCouldBreakTheStringAreQuoted) {
    const struct {
        const char* wartosc;
        const char* zacytowana;
    } przypadki[] = {
        {"a;b", "\"a;b\""},
        {"x;Data Source=evil", "\"x;Data Source=evil\""},
        {"it's", "\"it's\""},
        {"say \"hi\"", "'say \"hi\"'"},
        {"both ' and \"", "\"both ' and \"\"\""},
        {"\";'", "\"\"\";'\""},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.wartosc);
        EXPECT_EQ(ZacytujWartosc(p.wartosc), p.zacytowana);
        EXPECT_EQ(UtworzConnectionString("s", "d", "u", p.wartosc, ""),
                  Oczekiwany(p.zacytowana, "u", "d", "s"));
    }
    EXPECT_EQ(UtworzConnectionString("a;b", "c'd", "e\"f", "g", "x;y"),
              Oczekiwany("g", "'e\"f'", "\"c'd\"", "\"a;b\"") + ";Application Name=\"U:x;y\"");
}
