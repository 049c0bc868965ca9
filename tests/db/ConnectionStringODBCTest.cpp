#include <gtest/gtest.h>

#include "common/Wyjatki.h"
#include "db/ConnectionStringODBC.h"

using namespace zuv;

namespace {

std::string Tlumaczenie(const std::string& serwer, const std::string& baza,
                        const std::string& uzytkownik, const std::string& haslo,
                        RodzajSterownika rodzaj) {
    const char* sterownik =
        rodzaj == RodzajSterownika::FreeTDS ? "FreeTDS" : "ODBC Driver 18 for SQL Server";
    return ConnectionStringODBC({serwer, baza, uzytkownik, haslo}, sterownik, rodzaj);
}

}  // namespace

TEST(ConnectionStringODBC, EveryValueInBracesByTheDriversRules) {
    constexpr auto F = RodzajSterownika::FreeTDS;
    constexpr auto M = RodzajSterownika::Microsoft;
    const struct {
        const char* nazwa;
        const char* serwer;
        RodzajSterownika rodzaj;
        const char* haslo;
        std::string wynik;
    } przypadki[] = {
        {"host, FreeTDS", "srv", F, "p",
         "DRIVER={FreeTDS};SERVER={srv};TDS_Version=7.4;Encryption=request;DATABASE={ZUV};UID={sa};"
         "PWD={p};"
         "APP={U:admin};"},
        {"named instance", "srv\\SQL2005", F, "p",
         "DRIVER={FreeTDS};SERVER={srv\\SQL2005};TDS_Version=7.4;Encryption=request;DATABASE={ZUV};"
         "UID={sa};"
         "PWD={p};APP={U:admin};"},
        {"port after a comma, FreeTDS", "127.0.0.1, 1433", F, "",
         "DRIVER={FreeTDS};SERVER={127.0.0.1};PORT={1433};TDS_Version=7.4;Encryption=request;"
         "DATABASE={ZUV};"
         "UID={sa};PWD={};APP={U:admin};"},
        {"port after a comma, Microsoft", "srv,1433", M, "p",
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER={srv,1433};DATABASE={ZUV};UID={sa};"
         "PWD={p};APP={U:admin};Encrypt=Optional;TrustServerCertificate=yes;"},
        {"blanks around the server's parts, FreeTDS", " srv \\ SQL2005 ,  1433 ", F, "p",
         "DRIVER={FreeTDS};SERVER={srv\\SQL2005};PORT={1433};TDS_Version=7.4;Encryption=request;"
         "DATABASE={ZUV};UID={sa};PWD={p};APP={U:admin};"},
        {"blanks around the server's parts, Microsoft", " srv \\ SQL2005 ,  1433 ", M, "p",
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER={srv\\SQL2005,1433};DATABASE={ZUV};"
         "UID={sa};PWD={p};APP={U:admin};Encrypt=Optional;TrustServerCertificate=yes;"},
        {"FreeTDS takes braces and semicolons as they are", "srv", F, "{a;b}c}",
         "DRIVER={FreeTDS};SERVER={srv};TDS_Version=7.4;Encryption=request;DATABASE={ZUV};UID={sa};"
         "PWD={{a;b}c}};"
         "APP={U:admin};"},
        {"Microsoft reads a doubled closing brace as one", "srv", M, "{a;b}};c}",
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER={srv};DATABASE={ZUV};UID={sa};"
         "PWD={{a;b}}}};c}}};APP={U:admin};Encrypt=Optional;TrustServerCertificate=yes;"},
        {"blanks around kept", "srv", F, " p ",
         "DRIVER={FreeTDS};SERVER={srv};TDS_Version=7.4;Encryption=request;DATABASE={ZUV};UID={sa};"
         "PWD={ p };"
         "APP={U:admin};"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Tlumaczenie(p.serwer, "ZUV", "sa", p.haslo, p.rodzaj), p.wynik);
    }
}

// The drivers found on Windows: each of Microsoft's takes the server as typed (without blanks
// around its parts); Driver 18 alone is told to encrypt only when the server asks and to check no
// certificate.
TEST(ConnectionStringODBC, MicrosoftDriversTakeTheServerAsTypedAndDriver18EncryptsOptionally) {
    const struct {
        const char* sterownik;
        const char* koniec;
    } przypadki[] = {
        {"ODBC Driver 18 for SQL Server",
         "APP={U:admin};Encrypt=Optional;TrustServerCertificate=yes;"},
        {"ODBC Driver 17 for SQL Server", "APP={U:admin};"},
        {"SQL Server Native Client 11.0", "APP={U:admin};"},
        {"SQL Server", "APP={U:admin};"},
    };
    for (const auto& p : przypadki) {
        for (const char* serwer : {"srv,1433", "srv\\SQL2005", "10.0.0.5,49172"}) {
            SCOPED_TRACE(std::string(p.sterownik) + " " + serwer);
            const std::string tekst = ConnectionStringODBC({serwer, "ZUV", "sa", "p"}, p.sterownik,
                                                           RodzajSterownikaDla(p.sterownik));
            EXPECT_EQ(tekst, "DRIVER={" + std::string(p.sterownik) + "};SERVER={" + serwer +
                                 "};DATABASE={ZUV};UID={sa};PWD={p};" + p.koniec);
        }
    }
}

// What FreeTDS does with a braced value: it ends at the first "}" that a ";" follows. Every value
// the translation lets through must come back from that reading exactly as typed.
TEST(ConnectionStringODBC, FreeTdsReadsBackEveryValueItLetsThrough) {
    const auto czytajJakFreeTds = [](std::string_view tekst, std::string_view klucz) {
        const std::string szukany = std::string(klucz) + "={";
        const std::size_t poczatek = tekst.find(szukany) + szukany.size();
        return std::string(tekst.substr(poczatek, tekst.find("};", poczatek) - poczatek));
    };
    for (const char* haslo : {"}", "}}", "{", "a}b", "x};y", "};", "Tajne;1'\"}{", "a}=b;c", ""}) {
        SCOPED_TRACE(haslo);
        try {
            const std::string tekst =
                Tlumaczenie("srv", "ZUV", "sa", haslo, RodzajSterownika::FreeTDS);
            EXPECT_EQ(czytajJakFreeTds(tekst, "PWD"), haslo);
            EXPECT_EQ(czytajJakFreeTds(tekst, "UID"), "sa");
            EXPECT_EQ(czytajJakFreeTds(tekst, "APP"), "U:admin");
        } catch (const EDatabaseError&) {
            EXPECT_NE(std::string_view(haslo).find("};"), std::string_view::npos);
        }
    }
}

TEST(ConnectionStringODBC, ValuesNoDriverCanTakeAreRefusedNamingTheField) {
    const std::string dlugi128(128, 'x');
    const std::string dlugi129(129, 'x');
    const struct {
        const char* nazwa;
        std::string serwer, baza, uzytkownik, haslo;
        RodzajSterownika rodzaj;
        const char* komunikat;  // empty: accepted
    } przypadki[] = {
        {"brace and semicolon, FreeTDS", "srv", "ZUV", "sa", "a};DATABASE=master;X={",
         RodzajSterownika::FreeTDS,
         "Pole „Hasło” zawiera znaki „};”, których sterownik FreeTDS nie potrafi przekazać "
         "serwerowi."},
        {"brace and semicolon, Microsoft", "srv", "ZUV", "sa", "a};DATABASE=master;X={",
         RodzajSterownika::Microsoft, ""},
        {"brace and semicolon in the database", "srv", "Z};UID=inny", "sa", "p",
         RodzajSterownika::FreeTDS,
         "Pole „Baza” zawiera znaki „};”, których sterownik FreeTDS nie potrafi przekazać "
         "serwerowi."},
        {"NUL in the password", "srv", "ZUV", "sa", std::string("ab\0c", 4),
         RodzajSterownika::Microsoft,
         "Pole „Hasło” zawiera znak sterujący o kodzie 0; usuń go i spróbuj ponownie."},
        {"tab in the login", "srv", "ZUV", "s\ta", "p", RodzajSterownika::FreeTDS,
         "Pole „Użytkownik” zawiera znak sterujący o kodzie 9; usuń go i spróbuj ponownie."},
        {"CR LF in the database", "srv", "ZUV\r\n", "sa", "p", RodzajSterownika::FreeTDS,
         "Pole „Baza” zawiera znak sterujący o kodzie 13; usuń go i spróbuj ponownie."},
        {"C1 control in the server", "srv\xC2\x85", "ZUV", "sa", "p", RodzajSterownika::FreeTDS,
         "Pole „Serwer” zawiera znak sterujący o kodzie 133; usuń go i spróbuj ponownie."},
        {"128 characters", "srv", dlugi128, dlugi128, dlugi128, RodzajSterownika::FreeTDS, ""},
        {"128 Polish letters", "srv", "ZUV", "sa",
         [] {
             std::string t;
             for (int i = 0; i < 128; ++i) t += "ą";
             return t;
         }(),
         RodzajSterownika::FreeTDS, ""},
        {"password of 129", "srv", "ZUV", "sa", dlugi129, RodzajSterownika::FreeTDS,
         "Wartość pola „Hasło” jest za długa: ma 129 znaków, a SQL Server przyjmuje najwyżej "
         "128."},
        {"login of 129", "srv", "ZUV", dlugi129, "p", RodzajSterownika::Microsoft,
         "Wartość pola „Użytkownik” jest za długa: ma 129 znaków, a SQL Server przyjmuje "
         "najwyżej 128."},
        {"database of 129", "srv", dlugi129, "sa", "p", RodzajSterownika::FreeTDS,
         "Wartość pola „Baza” jest za długa: ma 129 znaków, a SQL Server przyjmuje najwyżej "
         "128."},
        {"machine name of 253 with instance and port",
         std::string(253, 'h') + "\\" + std::string(16, 'i') + ",14330", "ZUV", "sa", "p",
         RodzajSterownika::Microsoft, ""},
        {"blanks around the parts are not counted",
         "  " + std::string(253, 'h') + " \\ " + std::string(16, 'i') + " ,  14330  ", "ZUV", "sa",
         "p", RodzajSterownika::FreeTDS, ""},
        {"six digits after the comma and a blank", "127.0.0.1, 143300", "ZUV", "sa", "p",
         RodzajSterownika::Microsoft,
         "Liczba po przecinku (port) w polu „Serwer” jest za długa: ma 6 znaków, a SQL Server "
         "przyjmuje najwyżej 5."},
        {"machine name of 254", std::string(254, 'h'), "ZUV", "sa", "p", RodzajSterownika::FreeTDS,
         "Nazwa komputera w polu „Serwer” jest za długa: ma 254 znaków, a SQL Server przyjmuje "
         "najwyżej 253."},
        {"instance name of 17", "srv\\" + std::string(17, 'i') + ",1433", "ZUV", "sa", "p",
         RodzajSterownika::FreeTDS,
         "Nazwa instancji w polu „Serwer” jest za długa: ma 17 znaków, a SQL Server przyjmuje "
         "najwyżej 16."},
        {"empty database", "srv", "", "sa", "p", RodzajSterownika::Microsoft,
         "Pole „Baza” jest puste; wpisz nazwę bazy danych."},
        {"blank database", "srv", "  ", "sa", "p", RodzajSterownika::FreeTDS,
         "Pole „Baza” jest puste; wpisz nazwę bazy danych."},
        {"empty user", "srv", "ZUV", "", "p", RodzajSterownika::FreeTDS,
         "Pole „Użytkownik” jest puste; wpisz nazwę użytkownika (loginu SQL Server)."},
        {"empty password", "srv", "ZUV", "sa", "", RodzajSterownika::FreeTDS, ""},
        {"empty server, FreeTDS", " ", "ZUV", "sa", "p", RodzajSterownika::FreeTDS,
         "Pole „Serwer” jest puste; wpisz nazwę albo adres serwera."},
        {"only a port, FreeTDS", " ,1433", "ZUV", "sa", "p", RodzajSterownika::FreeTDS,
         "Pole „Serwer” nie zawiera nazwy serwera przed przecinkiem albo ukośnikiem; wpisz nazwę "
         "albo adres serwera."},
        {"empty server, Microsoft: the local default instance", "", "ZUV", "sa", "p",
         RodzajSterownika::Microsoft, ""},
        {"port of 40000 characters", "srv," + std::string(40000, '1'), "ZUV", "sa", "p",
         RodzajSterownika::FreeTDS,
         "Liczba po przecinku (port) w polu „Serwer” jest za długa: ma 40000 znaków, a SQL "
         "Server przyjmuje najwyżej 5."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::string komunikat;
        try {
            Tlumaczenie(p.serwer, p.baza, p.uzytkownik, p.haslo, p.rodzaj);
        } catch (const EDatabaseError& e) {
            komunikat = e.Komunikat();
        }
        EXPECT_EQ(komunikat, p.komunikat);
    }
}
