// Log-in values through the real driver stack: each arrives at the server exactly as typed, or is
// refused before anything is sent. The test server accepts only the exact user, password and
// database it was given, so a log-in that succeeds proves the value arrived whole.
#include <gtest/gtest.h>

#include "common/Wyjatki.h"
#include "db/PolaczenieODBC.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

enum class Pole { Baza, Uzytkownik, Haslo };

struct Przypadek {
    const char* nazwa;
    Pole pole;
    std::string wartosc;
    const char* odmowa;  // empty: the log-in succeeds
};

const char* const FreeTdsNiePrzenosi =
    "„};”, których sterownik FreeTDS nie potrafi "
    "przekazać serwerowi";

}  // namespace

TEST(WartosciLogowania, ArriveExactlyOrAreRefusedBeforeSending) {
    const Przypadek przypadki[] = {
        {"semicolon", Pole::Haslo, "a;b", ""},
        {"equals sign", Pole::Haslo, "a=b", ""},
        {"quotes", Pole::Haslo, "it's \"x\"", ""},
        {"opening brace", Pole::Haslo, "a{b", ""},
        {"closing brace", Pole::Haslo, "a}b", ""},
        {"closing brace at the end", Pole::Haslo, "ab}", ""},
        {"opening brace at the start", Pole::Haslo, "{ab", ""},
        {"password with every quoting character", Pole::Haslo, "Tajne;1'\"}{", ""},
        {"brace then semicolon", Pole::Haslo, "Haslo1};DATABASE=master;X={", FreeTdsNiePrzenosi},
        {"another user smuggled in", Pole::Haslo, "x};UID=inny;X={", FreeTdsNiePrzenosi},
        {"log-in mode smuggled in", Pole::Haslo, "x};Trusted_Connection=Yes;X={",
         FreeTdsNiePrzenosi},
        {"driver library smuggled past the driver manager", Pole::Haslo,
         "a}x;DRIVER=/nie/ma/takiego.so;y", ""},
        {"blanks around", Pole::Haslo, "  p  ", ""},
        {"tab", Pole::Haslo, "a\tb", "znak sterujący o kodzie 9"},
        {"CR LF", Pole::Haslo, "a\r\nb", "znak sterujący o kodzie 13"},
        {"NUL", Pole::Haslo, std::string("a\0b", 3), "znak sterujący o kodzie 0"},
        {"Polish letters", Pole::Haslo, "Zażółć gęślą jaźń", ""},
        {"outside code page 1250", Pole::Haslo, "Пароль日本€😀", ""},
        {"128 characters", Pole::Haslo, std::string(128, 'h'), ""},
        {"129 characters", Pole::Haslo, std::string(129, 'h'), "jest za długa: ma 129 znaków"},
        {"user with a closing brace", Pole::Uzytkownik, "ad}min", ""},
        {"user with brace and semicolon", Pole::Uzytkownik, "a};b", FreeTdsNiePrzenosi},
        {"user of 129", Pole::Uzytkownik, std::string(129, 'u'), "jest za długa"},
        {"database with blanks, braces and Polish letters", Pole::Baza, " Baza {ąę} ", ""},
        {"database with brace and semicolon", Pole::Baza, "Z};DATABASE=master", FreeTdsNiePrzenosi},
        {"database of 129", Pole::Baza, std::string(129, 'b'), "jest za długa"},
        {"empty database", Pole::Baza, "", "jest puste; wpisz nazwę bazy danych"},
        {"blank user", Pole::Uzytkownik, " \t", "jest puste; wpisz nazwę użytkownika"},
        {"empty password", Pole::Haslo, "", ""},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::string baza = "ZUV", uzytkownik = "sa", haslo = "p";
        const char* nazwaPola = "Hasło";
        switch (p.pole) {
            case Pole::Baza:
                baza = p.wartosc;
                nazwaPola = "Baza";
                break;
            case Pole::Uzytkownik:
                uzytkownik = p.wartosc;
                nazwaPola = "Użytkownik";
                break;
            case Pole::Haslo:
                haslo = p.wartosc;
                break;
        }
        tds::ServerConfig konfiguracja;
        konfiguracja.user = uzytkownik;
        konfiguracja.database = baza;
        SerwerTestowy serwer(konfiguracja, haslo);

        PolaczenieODBC polaczenie;
        polaczenie.UstawDaneLogowania({serwer.Adres(), baza, uzytkownik, haslo});
        if (*p.odmowa == '\0') {
            EXPECT_NO_THROW(polaczenie.Otworz());
            EXPECT_TRUE(polaczenie.Otwarte());
            const auto logowania = serwer->logins();
            ASSERT_EQ(logowania.size(), 1u);
            EXPECT_EQ(logowania[0].userName, uzytkownik);
            EXPECT_EQ(logowania[0].password, haslo);
            EXPECT_EQ(logowania[0].database, baza);
            EXPECT_EQ(logowania[0].appName, "U:admin");
            continue;
        }
        try {
            polaczenie.Otworz();
            ADD_FAILURE() << "log-in succeeded";
        } catch (const EDatabaseError& e) {
            EXPECT_NE(e.Komunikat().find(std::string("„") + nazwaPola + "”"), std::string::npos)
                << e.Komunikat();
            EXPECT_NE(e.Komunikat().find(p.odmowa), std::string::npos) << e.Komunikat();
        }
        EXPECT_FALSE(polaczenie.Otwarte());
        EXPECT_TRUE(serwer->logins().empty()) << "something reached the server";
    }
}

// "host, port" as people type it, blanks around the parts, reaches the server.
TEST(WartosciLogowania, AServerWithBlanksAroundItsPartsLogsIn) {
    SerwerTestowy serwer;
    const std::string port = std::to_string(serwer->port());
    for (const std::string& adres :
         {"127.0.0.1, " + port, "  127.0.0.1  ,  " + port + "  ", "127.0.0.1 ," + port}) {
        SCOPED_TRACE(adres);
        PolaczenieODBC polaczenie;
        polaczenie.UstawDaneLogowania({adres, "ZUV", "sa", "Tajne;1'\""});
        EXPECT_NO_THROW(polaczenie.Otworz());
        EXPECT_TRUE(polaczenie.Otwarte());
    }
}
