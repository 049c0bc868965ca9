#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Linie.h"
#include "common/Wyjatki.h"
#include "packages/format/FormatPakietu.h"

using namespace zuv;

using V = std::vector<std::string>;

namespace {

const std::string Znacznik = "-- 'C810A5C6-2053-412E-8618-652E1868305B'";

ListaLinii Pakiet(const V& linie) {
    ListaLinii lista;
    for (const auto& linia : linie) lista.Dodaj(linia);
    return lista;
}

V Partie(const V& linie) {
    V partie;
    PodzielNaPartie(Pakiet(linie), [&](std::string& partia, std::int32_t numer) {
        EXPECT_EQ(numer, static_cast<std::int32_t>(partie.size()) + 1);
        partie.push_back(partia);
    });
    return partie;
}

}  // namespace

TEST(JestSeparatorem, OnlyGoAloneBetweenBlanksInAnyCase) {
    const struct {
        const char* nazwa;
        std::string linia;
        bool separator;
    } przypadki[] = {
        {"upper", "GO", true},
        {"lower", "go", true},
        {"Go", "Go", true},
        {"gO", "gO", true},
        {"blanks after (opening batch form)", "go" + std::string(84, ' '), true},
        {"tabs and blanks around", " \t GO\t ", true},
        {"other control bytes around", "\x01go\x1f", true},
        {"semicolon", "go;", false},
        {"comment after", "GO -- x", false},
        {"blank inside", "G O", false},
        {"byte 160 after", "go\xa0", false},
        {"byte 160 before", "\xa0go", false},
        {"count after", "GO 2", false},
        {"goo", "goo", false},
        {"ego", "ego", false},
        {"g alone", "g", false},
        {"empty", "", false},
        {"Polish letter", "g\xf3", false},  // "gó" in code page 1250
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(JestSeparatorem(p.linia), p.separator);
    }
}

TEST(PodzielNaPartie, EachLineAddsCrLfAndItselfUpToTheSeparator) {
    const struct {
        const char* nazwa;
        V linie;
        V partie;
    } przypadki[] = {
        {"two batches", {"A", "go", "B", "C", "GO"}, {"\r\nA", "\r\nB\r\nC"}},
        {"blank lines and blanks kept", {"", "  A\t", "", "go"}, {"\r\n\r\n  A\t\r\n"}},
        {"lines after the last separator are not handed on", {"A", "go", "B"}, {"\r\nA"}},
        {"separators in a row give an empty batch",
         {"A", "go", "go", "B", "go"},
         {"\r\nA", "", "\r\nB"}},
        {"no separator", {"A", "B"}, {}},
        {"code page 1250 bytes unchanged",
         {"'Za\xbf\xf3\xb3\xe6'", "GO "},
         {"\r\n'Za\xbf\xf3\xb3\xe6'"}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Partie(p.linie), p.partie);
        EXPECT_EQ(LiczbaSeparatorow(Pakiet(p.linie)), static_cast<std::int32_t>(p.partie.size()));
    }
}

TEST(ZamienZnacznikSzyfrowania, ReplacesOnlyTheFirstMarkerIgnoringCase) {
    std::string malymi = Znacznik;
    for (char& znak : malymi)
        znak = static_cast<char>(std::tolower(static_cast<unsigned char>(znak)));
    const struct {
        const char* nazwa;
        std::string partia;
        std::string wynik;
    } przypadki[] = {
        {"procedure head", "\r\nCREATE PROCEDURE dbo.X\r\n" + Znacznik + "\r\nAS",
         "\r\nCREATE PROCEDURE dbo.X\r\nWITH ENCRYPTION\r\nAS"},
        {"lower case", "\r\n" + malymi + " \r\nAS", "\r\nWITH ENCRYPTION \r\nAS"},
        {"twice: first only", "\r\n" + Znacznik + "\r\n" + malymi,
         "\r\nWITH ENCRYPTION\r\n" + malymi},
        {"commented out", "\r\n-- " + Znacznik, "\r\n-- WITH ENCRYPTION"},
        {"a near miss before the marker",
         "-- 'C810A5C6-2053-412E-8618-652E1868305C'\r\n" + Znacznik,
         "-- 'C810A5C6-2053-412E-8618-652E1868305C'\r\nWITH ENCRYPTION"},
        {"cut short at the end", "\r\n-- 'C810A5C6-2053-412E-8618-652E1868305B",
         "\r\n-- 'C810A5C6-2053-412E-8618-652E1868305B"},
        {"one blank less", "\r\n--'C810A5C6-2053-412E-8618-652E1868305B'",
         "\r\n--'C810A5C6-2053-412E-8618-652E1868305B'"},
        {"the whole batch", Znacznik, "WITH ENCRYPTION"},
        {"absent", "\r\nSELECT 1", "\r\nSELECT 1"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::string partia = p.partia;
        EXPECT_EQ(ZamienZnacznikSzyfrowania(partia), p.wynik != p.partia);
        EXPECT_EQ(partia, p.wynik);
    }
}

TEST(SpelniaMinSQL, ExactMarkerAndFourCharactersDecide) {
    // "runs", "left out" or the conversion error's message.
    const auto wynik = [](std::int32_t generacja, const std::string& partia) -> std::string {
        try {
            return SpelniaMinSQL(generacja, partia) ? "runs" : "left out";
        } catch (const EConvertError& e) {
            return e.Komunikat();
        }
    };
    const struct {
        const char* nazwa;
        std::int32_t generacja;
        std::string partia;
        std::string oczekiwany;
    } przypadki[] = {
        {"no marker", 2000, "\r\nCREATE PROCEDURE dbo.X", "runs"},
        {"2005 on 2000", 2000, "\r\n-- $MIN_SQL_2005\r\nAS", "left out"},
        {"2005 on 2005", 2005, "\r\n-- $MIN_SQL_2005\r\nAS", "runs"},
        {"2005 on 2012", 2012, "\r\n-- $MIN_SQL_2005\r\nAS", "runs"},
        {"lower case is no marker", 2000, "\r\n-- $min_sql_2005", "runs"},
        {"two blanks is no marker", 2000, "\r\n--  $MIN_SQL_2005", "runs"},
        {"without the comment dashes", 2000, "\r\n/* $MIN_SQL_2005 */", "runs"},
        {"the whole batch", 2000, "-- $MIN_SQL_2005", "left out"},
        {"a dollar sign before it", 2000, "$-- $MIN_SQL_2005", "left out"},
        {"the first marker decides", 2000, "-- $MIN_SQL_2000\r\n-- $MIN_SQL_2005", "runs"},
        {"leading blank", 2000, "-- $MIN_SQL_ 200", "runs"},
        {"hexadecimal", 2000, "-- $MIN_SQL_$7D5", "left out"},
        {"at the very end", 2012, "\r\n-- $MIN_SQL_", "'' is not a valid integer value"},
        {"line break within the four", 2012, "-- $MIN_SQL_200\r\n",
         "'200\r' is not a valid integer value"},
        {"trailing blank", 2012, "-- $MIN_SQL_200 ", "'200 ' is not a valid integer value"},
        {"not a number", 2012, "-- $MIN_SQL_abcd", "'abcd' is not a valid integer value"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(wynik(p.generacja, p.partia), p.oczekiwany);
    }
}
