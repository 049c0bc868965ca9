// The texts of a lost connection that the fault matrix through the real driver does not reach:
// the steps the update command names, and the outcome of a commit read back or not reachable.
#include <gtest/gtest.h>

#include "db/UtrataPolaczenia.h"

using namespace zuv;

TEST(EUtrataPolaczenia, SaysWhereWhatBecameOfThePackageAndWhatToDo) {
    const EOleException sterownik("Unexpected EOF from the server", 20017,
                                  "ODBC FreeTDS SQLSTATE 01000", {}, 0, "01000");
    const EUtrataPolaczenia utrata(sterownik);
    const std::string Loguj = " Kliknij „Loguj”, aby połączyć się ponownie.";
    const std::string Eof = "\r\nUnexpected EOF from the server";
    const std::string Zatwierdzanie =
        "Połączenie z serwerem zostało przerwane podczas zatwierdzania aktualizacji bazy do "
        "wersji 8.2.0.6.";
    const EUtrataPolaczenia zatwierdzanie = utrata.WKroku(KrokUtraty::Zatwierdzenie, "8.2.0.6");
    const EUtrataPolaczenia poZatwierdzeniu = utrata.WKroku(KrokUtraty::PoZatwierdzeniu, "8.2.0.6");
    const struct {
        const char* nazwa;
        EUtrataPolaczenia blad;
        std::string komunikat;
        bool otwarty;
    } przypadki[] = {
        {"a command of no named step", utrata,
         "Połączenie z serwerem zostało przerwane." + Loguj + Eof, false},
        {"the version read", utrata.WKroku(KrokUtraty::OdczytWersji),
         "Połączenie z serwerem zostało przerwane podczas odczytu wersji bazy." + Loguj + Eof,
         false},
        {"the flag", utrata.WKroku(KrokUtraty::FlagaAktualizacji),
         "Połączenie z serwerem zostało przerwane podczas ustawiania flagi aktualizacji. Żadna "
         "aktualizacja nie została rozpoczęta." +
             Loguj + Eof,
         false},
        {"a batch placed anew",
         utrata.WKroku(KrokUtraty::Partia, "8.1.0.0", 3).WKroku(KrokUtraty::Partia, "8.2.0.6", 7),
         "Połączenie z serwerem zostało przerwane podczas wykonywania operacji 7 aktualizacji "
         "bazy do wersji 8.2.0.6. Serwer wycofuje niezatwierdzone zmiany tej aktualizacji." +
             Loguj + Eof,
         false},
        {"the commit, not read back", zatwierdzanie,
         Zatwierdzanie +
             " Nie wiadomo, czy serwer zdążył ją zatwierdzić; „Loguj” pokaże wersję zapisaną w "
             "bazie." +
             Eof,
         true},
        {"the commit, server not reached again", zatwierdzanie.ZWynikiem(std::nullopt),
         Zatwierdzanie +
             " Ponowne połączenie z serwerem nie powiodło się, więc nie wiadomo, czy ta "
             "aktualizacja została zatwierdzona; „Loguj” pokaże wersję zapisaną w bazie." +
             Eof,
         true},
        {"the commit, no version recorded", zatwierdzanie.ZWynikiem(""),
         Zatwierdzanie + " Baza nie ma zapisanej wersji: ta aktualizacja została wycofana." +
             Loguj + Eof,
         true},
        {"after the commit, server not reached again", poZatwierdzeniu.ZWynikiem(std::nullopt),
         "Połączenie z serwerem zostało przerwane tuż po zatwierdzeniu aktualizacji bazy do "
         "wersji 8.2.0.6. Serwer potwierdził jej zatwierdzenie." +
             Loguj + Eof,
         true},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(p.blad.Komunikat(), p.komunikat);
        EXPECT_EQ(p.blad.WynikOtwarty(), p.otwarty);
        // The driver's error stays with the loss, whatever step it is placed at.
        EXPECT_EQ(p.blad.TekstSterownika(), "Unexpected EOF from the server");
        EXPECT_EQ(p.blad.Kod(), 20017);
        EXPECT_EQ(p.blad.StanSQL(), "01000");
        EXPECT_EQ(p.blad.Zrodlo(), "ODBC FreeTDS SQLSTATE 01000");
    }
}
