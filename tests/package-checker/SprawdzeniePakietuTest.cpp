// The checks of one package, each shown on a small package that differs from a sound one in one
// place. Every case compares the whole list of remarks, so a check that fires where it should not
// fails as well as one that stays silent.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "packages/checker/SprawdzeniePakietu.h"

using namespace zuv;

namespace {

using R = RodzajUwagi;
using Uwagi = std::vector<std::pair<RodzajUwagi, std::size_t>>;  // kind and line

constexpr const char* Znacznik = "-- 'C810A5C6-2053-412E-8618-652E1868305B'";

// A sound package of `wersja`: the opening batch (lines 1 to 3), `srodek` (from line 4), and the
// closing batch. Each line gets CR LF unless it already ends in a line break.
std::string Pakiet(const std::vector<std::string>& srodek, std::string_view wersja = "9.2.0.1",
                   std::string_view poprzednia = "9.1.0.2") {
    std::vector<std::string> linie = {"set @wersja_aktualna   = '" + std::string(wersja) + "'",
                                      "set @wersja_poprzednia = '" + std::string(poprzednia) + "'",
                                      "go"};
    linie.insert(linie.end(), srodek.begin(), srodek.end());
    linie.push_back("update dbo.konfig_st");
    linie.push_back("   set wartosc = '" + std::string(wersja) + "'");
    linie.push_back("go ");
    std::string tekst;
    for (const std::string& linia : linie)
        tekst += linia + (linia.ends_with('\n') || linia.ends_with('\r') ? "" : "\r\n");
    return tekst;
}

Uwagi Sprawdz(std::string_view bajty, std::string_view wersja = "9.2.0.1",
              std::string_view poprzednia = "9.1.0.2") {
    RaportPakietow raport;
    SprawdzPakiet({"ZUV.sql", wersja, poprzednia}, bajty, raport);
    Uwagi uwagi;
    for (const Uwaga& u : raport.Uwagi()) uwagi.emplace_back(u.rodzaj, u.wiersz);
    return uwagi;
}

struct Przypadek {
    const char* nazwa;
    std::string bajty;
    Uwagi oczekiwane;
    std::string_view wersja = "9.2.0.1";
    std::string_view poprzednia = "9.1.0.2";
};

void SprawdzPrzypadki(const std::vector<Przypadek>& przypadki) {
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Sprawdz(p.bajty, p.wersja, p.poprzednia), p.oczekiwane);
    }
}

TEST(SprawdzPakiet, BledyKtoreZatrzymalybyProgram) {
    SprawdzPrzypadki({
        {"sound package", Pakiet({"select 1", "GO"}), {}},
        {"undefined bytes 0x81 and 0x98",
         Pakiet({"select 'a\x81'", "select '\x98'", "GO"}),
         {{R::BajtNieokreslony, 4}, {R::BajtNieokreslony, 5}}},
        {"euro sign, Polish letters and a non-breaking space are defined",
         Pakiet({"select '\x80 \xA5\xB9 \xA0'", "GO"}),
         {}},
        {"UTF-8 byte-order mark",
         "\xEF\xBB\xBF-- naglowek\r\n" + Pakiet({}),
         {{R::ZnacznikUtf8, 1}}},
        {"two separators in a row", Pakiet({"select 1", "go", "GO"}), {{R::PustaPartia, 6}}},
        {"a blank batch is not empty", Pakiet({"select 1", "go", "  ", "GO"}), {}},
        {"generation marker with nothing after it",
         Pakiet({"select 1", "-- $MIN_SQL_", "GO"}),
         {{R::NieczytelnyZnacznikGeneracji, 5}}},
        {"generation marker with a letter in its number",
         Pakiet({"-- $MIN_SQL_20o5", "create procedure dbo.p as select 1", "GO"}),
         {{R::NieczytelnyZnacznikGeneracji, 4}}},
        {"readable generation marker", Pakiet({"-- $MIN_SQL_2005", "select 1", "GO"}), {}},
        {"no separator line", "select 1\r\nselect 2\r\n", {{R::BrakSeparatora, 0}}},
        {"empty file", "", {{R::BrakSeparatora, 0}}},
        {"opening batch accepts another predecessor",
         Pakiet({}, "9.2.0.1", "9.1.0.1"),
         {{R::WersjePartiiOtwierajacej, 2}},
         "9.2.0.1",
         "9.1.0.2"},
        {"opening batch blanks inside the quotes are trimmed as the server does",
         "set @wersja_aktualna = ' 9.2.0.1 '\r\nset @wersja_poprzednia = '9.1.0.2'\r\ngo\r\n"
         "update dbo.konfig_st set wartosc = '9.2.0.1'\r\ngo\r\n",
         {}},
        {"closing batch records another version",
         "set @wersja_aktualna = '9.2.0.1'\r\nset @wersja_poprzednia = '9.1.0.2'\r\ngo\r\n"
         "update dbo.konfig_st\r\n   set wartosc = '9.2.0.2'\r\ngo\r\n",
         {{R::WersjaPartiiZamykajacej, 5}}},
    });
}

// The opening and closing batches are read as T-SQL: each layout below is valid and passes, and
// the same layout with a wrong version is an error on the value's line. What the checker cannot
// read (no assignment it knows, an expression) is a warning, not an error: the chain may hold.
TEST(SprawdzPakiet, PartieOtwierajacaIZamykajacaCzytaneJakoTSQL) {
    const auto pakiet = [](const std::string& otwarcie, const std::string& zamkniecie) {
        return otwarcie + "\r\ngo\r\nselect 1\r\ngo\r\n" + zamkniecie + "\r\ngo\r\n";
    };
    const std::string otwarcie =
        "set @wersja_aktualna = '9.2.0.1'\r\n"
        "set @wersja_poprzednia = '9.1.0.2'";
    const std::string zamkniecie = "update dbo.konfig_st set wartosc = '9.2.0.1'";
    struct Uklad {
        const char* nazwa;
        std::string tekst;  // "%" stands for the version assigned
        std::size_t wierszWersji;
    };
    const Uklad otwierajace[] = {
        {"SELECT list", "select @wersja_aktualna = '%', @wersja_poprzednia = '9.1.0.2'", 1},
        {"DECLARE with values",
         "declare @wersja_aktualna varchar(20) = N'%',\r\n"
         "        @wersja_poprzednia varchar(20) = '9.1.0.2'",
         1},
        {"over lines, with comments and capitals",
         "-- set @wersja_aktualna = 'stara'\r\nSET /* nowa */ @WERSJA_AKTUALNA\r\n  =\r\n  '%';"
         "\r\nif @wersja_aktualna = '1.0' print 'nie'\r\nset @wersja_poprzednia='9.1.0.2'",
         4},
    };
    const Uklad zamykajace[] = {
        {"one line with WHERE",
         "update dbo.konfig_st set wartosc = '%' where nazwa = 'TERVO_WERSJA'", 1},
        {"brackets, several columns, over lines",
         "UPDATE [dbo].[konfig_st]\r\nSET zmieniono = getdate(),\r\n    [Wartosc]\r\n = '%'"
         "\r\nWHERE nazwa = 'TERVO_WERSJA'",
         4},
        {"alias and FROM, a comment between",
         "update k /* wersja */\r\n-- set wartosc = 'stara'\r\nset k.wartosc = '%' from "
         "dbo.konfig_st k",
         3},
    };
    const auto wstaw = [](std::string tekst, const char* wersja) {
        tekst.replace(tekst.find('%'), 1, wersja);
        return tekst;
    };
    for (const Uklad& u : otwierajace) {
        SCOPED_TRACE(u.nazwa);
        EXPECT_EQ(Sprawdz(pakiet(wstaw(u.tekst, "9.2.0.1"), zamkniecie)), Uwagi{});
        EXPECT_EQ(Sprawdz(pakiet(wstaw(u.tekst, "9.2.0.9"), zamkniecie)),
                  (Uwagi{{R::WersjePartiiOtwierajacej, u.wierszWersji}}));
    }
    // The closing batch begins on line 6 after two lines of opening batch and one of middle.
    for (const Uklad& u : zamykajace) {
        SCOPED_TRACE(u.nazwa);
        EXPECT_EQ(Sprawdz(pakiet(otwarcie, wstaw(u.tekst, "9.2.0.1"))), Uwagi{});
        EXPECT_EQ(Sprawdz(pakiet(otwarcie, wstaw(u.tekst, "9.2.0.2"))),
                  (Uwagi{{R::WersjaPartiiZamykajacej, 5 + u.wierszWersji}}));
    }

    SprawdzPrzypadki({
        {"opening batch without its own version",
         pakiet("set @wersja_poprzednia = '9.1.0.2'", zamkniecie),
         {{R::NieczytelnaPartiaOtwierajaca, 1}}},
        {"a comparison is no assignment",
         pakiet("if @wersja_aktualna = '9.2.0.1' set @wersja_poprzednia = '9.1.0.2'", zamkniecie),
         {{R::NieczytelnaPartiaOtwierajaca, 1}}},
        {"opening batch assigns an expression",
         pakiet("set @wersja_aktualna = dbo.wersja()\r\nset @wersja_poprzednia = '9.1.0.2'",
                zamkniecie),
         {{R::NieczytelnaPartiaOtwierajaca, 1}}},
        {"closing batch records nothing",
         pakiet(otwarcie, "select 1"),
         {{R::NieczytelnaPartiaZamykajaca, 6}}},
        {"a bare SET is no UPDATE",
         pakiet(otwarcie, "set wartosc = '9.2.0.1'"),
         {{R::NieczytelnaPartiaZamykajaca, 6}}},
        {"closing batch records a variable",
         pakiet(otwarcie, "update t set wartosc = @v"),
         {{R::NieczytelnaPartiaZamykajaca, 6}}},
    });
}

TEST(SprawdzPakiet, OstrzezeniaOTekscieCzytanymInaczejNizWyglada) {
    std::string poNul = Pakiet({});
    poNul += std::string("\0select 2\r\n", 11);
    SprawdzPrzypadki({
        {"go with a semicolon", Pakiet({"select 1", "go;", "GO"}), {{R::PodobnaDoSeparatora, 5}}},
        {"GO with a comment", Pakiet({"GO -- koniec", "GO"}), {{R::PodobnaDoSeparatora, 4}}},
        {"G O", Pakiet({"select 1", "G O", "GO"}), {{R::PodobnaDoSeparatora, 5}}},
        {"go beside a non-breaking space",
         Pakiet({"select 1", "go\xA0", "\xA0GO", "GO"}),
         {{R::PodobnaDoSeparatora, 5}, {R::PodobnaDoSeparatora, 6}}},
        {"GOTO in the first column", Pakiet({"GOTO BLAD", "GO"}), {{R::PodobnaDoSeparatora, 4}}},
        {"words that only begin with go",
         Pakiet({"    GOTO BLAD", "GOSPODARKA", "go_dalej", "Go", "select 1", "\tgO\t"}),
         {}},
        {"marker in lower case",
         Pakiet({"-- 'c810a5c6-2053-412e-8618-652e1868305b'", "GO"}),
         {{R::InnyZnacznikSzyfrowania, 4}}},
        {"marker after code",
         Pakiet({std::string("as ") + Znacznik, "GO"}),
         {{R::InnyZnacznikSzyfrowania, 4}}},
        {"marker the runner cannot find",
         Pakiet({"--'C810A5C6-2053-412E-8618-652E1868305B'", "GO"}),
         {{R::InnyZnacznikSzyfrowania, 4}}},
        {"marker commented out, and with a trailing blank",
         Pakiet({std::string("-- ") + Znacznik, "GO", std::string(Znacznik) + " ", "GO"}),
         {}},
        {"two markers in one batch",
         Pakiet({Znacznik, "select 1", Znacznik, "GO"}),
         {{R::DrugiZnacznikSzyfrowania, 6}}},
        {"text after the last separator",
         Pakiet({}) + "\r\nselect 2\r\nselect 3\r\n",
         {{R::TekstPoOstatnimSeparatorze, 8}}},
        {"text after a NUL byte", poNul, {{R::TekstPoBajcieNul, 7}}},
        {"a NUL as the last byte hides nothing", Pakiet({}) + std::string(1, '\0'), {}},
        {"lines ending in LF alone",
         Pakiet({"select 1\n", "select 2\n", "GO"}),
         {{R::SamotnyLF, 4}}},
        {"lines ending in CR alone are line breaks", Pakiet({"select 1\r", "GO"}), {}},
        {"Polish letters in UTF-8",
         Pakiet({"-- zażółć", "select 'gęślą'", "GO"}),
         {{R::TekstUtf8, 4}}},
        {"Polish letters in code page 1250 beside bytes that could begin UTF-8",
         Pakiet({"-- za\xBF\xF3\xB3\xE6", "select '\xC4\x85'", "GO"}),
         {}},
        {"generation marker below the version that reads the generation",
         Pakiet({"-- $MIN_SQL_2005", "GO", "-- $MIN_SQL_2000", "GO"}, "8.10.0.2", "8.9.0.9"),
         {{R::ZnacznikGeneracjiPonizejProgu, 4}},
         "8.10.0.2",
         "8.9.0.9"},
        {"generation marker from the version that reads the generation",
         Pakiet({"-- $MIN_SQL_2005", "GO"}, "8.11.0.0", "8.10.0.2"),
         {},
         "8.11.0.0",
         "8.10.0.2"},
    });
}

TEST(SprawdzPakiet, LiczyFiguryJakProgram) {
    const std::string bajty =
        Pakiet({Znacznik, "select 'a\rb'", "GO", "-- $MIN_SQL_2005", Znacznik, "GO"});
    RaportPakietow raport;
    const FiguryPakietow f = SprawdzPakiet({"ZUV.sql", "9.2.0.1", "9.1.0.2"}, bajty, raport);
    EXPECT_EQ(raport.Uwagi().size(), 0u);
    EXPECT_EQ(f.pakiety, 1u);
    EXPECT_EQ(f.bajty, bajty.size());
    EXPECT_EQ(f.wiersze, 13u);  // the lone CR breaks the literal's line in two
    EXPECT_EQ(f.partie, 4u);
    EXPECT_EQ(f.znacznikiSzyfrowania, 2u);
    EXPECT_EQ(f.znacznikiGeneracji, 1u);
    EXPECT_EQ(f.samotneCR, 1u);
}

}  // namespace
