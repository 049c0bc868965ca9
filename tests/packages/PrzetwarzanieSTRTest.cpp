#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/Linie.h"
#include "common/Wyjatki.h"
#include "packages/KontrolkaPostepu.h"
#include "packages/PrzetwarzanieSTR.h"
#include "tests/support/PolaczeniePamieciowe.h"

using namespace zuv;

using Rodzaj = PolaczeniePamieciowe::Rodzaj;
using V = std::vector<std::string>;

namespace {

constexpr const char* ZapytanieGeneracji = "SELECT dbo.fn_WERSJA_MS_SQL()";
const std::string Znacznik = "-- 'C810A5C6-2053-412E-8618-652E1868305B'";

// Records what the runner does to the info panel, in order.
class RejestratorPostepu : public KontrolkaPostepu {
  public:
    explicit RejestratorPostepu(bool widoczna = true) : widoczna_(widoczna) {}
    void UstawTekst(std::string_view tekst) override {
        zdarzenia.push_back("text: " + std::string(tekst));
    }
    void OdswiezTeraz() override { zdarzenia.push_back("repaint"); }
    bool Widoczna() const override { return widoczna_; }
    void UstawKolor(std::uint32_t kolor) override {
        zdarzenia.push_back("colour: " + std::to_string(kolor));
    }

    V zdarzenia;

  private:
    bool widoczna_;
};

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

// The kinds of the connection's calls in order, with the command texts: "begin", "exec <text>",
// "commit", "rollback", "query"; a failed call is marked with "!".
V Przebieg(const PolaczeniePamieciowe& polaczenie) {
    static const std::map<Rodzaj, std::string> opisy = {
        {Rodzaj::Rozpoczecie, "begin"},  {Rodzaj::Zatwierdzenie, "commit"},
        {Rodzaj::Wycofanie, "rollback"}, {Rodzaj::Zapytanie, "query"},
        {Rodzaj::Polecenie, "exec "},
    };
    V przebieg;
    for (const auto& w : polaczenie.Wywolania()) {
        std::string opis = opisy.at(w.rodzaj);
        if (w.rodzaj == Rodzaj::Polecenie) opis += w.tekst;
        przebieg.push_back(opis + (w.nieudane ? " !" : ""));
    }
    return przebieg;
}

std::string Postep(const std::string& wersja, int numer, int liczba) {
    return "text: " + wersja + " - Aktualizacja bazy danych: wykonywanie operacji " +
           std::to_string(numer) + " z " + std::to_string(liczba) + "...";
}

const std::string Przygotowanie = "text: Aktualizacja bazy danych: przygotowanie aktualizacji...";

// Runs the package and gives the error it raised as "<kind>: <message>", or "true"/"false".
std::string Uruchom(PolaczeniePamieciowe& polaczenie, const V& linie, KontrolkaPostepu* kontrolka,
                    const std::string& wersja, bool zamienZnacznik = true) {
    const ListaLinii lista = Pakiet(linie);
    try {
        const bool wykonany =
            TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, lista, zamienZnacznik, kontrolka, wersja);
        return wykonany ? "true" : "false";
    } catch (const EOleException& e) {
        return "EOleException: " + e.Komunikat();
    } catch (const EConvertError& e) {
        return "EConvertError: " + e.Komunikat();
    } catch (const EDatabaseError& e) {
        return "EDatabaseError: " + e.Komunikat();
    }
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
            return TPrzetwarzanieSTR::SpelniaMinSQL(generacja, partia) ? "runs" : "left out";
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

TEST(WykonajSkrypt, ExecutesEachBatchInOneTransactionAndCommits) {
    PolaczeniePamieciowe polaczenie;
    RejestratorPostepu postep;
    EXPECT_EQ(Uruchom(polaczenie, {"A", "go", "B", "C", "GO"}, &postep, "8.2.0.6"), "true");

    EXPECT_EQ(Przebieg(polaczenie),
              (V{"begin", "exec \r\nA\r\n", "exec \r\nB\r\nC\r\n", "commit"}));
    std::vector<int> limity;
    for (const auto& w : polaczenie.Wywolania())
        if (w.rodzaj == Rodzaj::Polecenie) limity.push_back(w.limitCzasu);
    EXPECT_EQ(limity, (std::vector<int>{2592000, 2592000}));
    EXPECT_EQ(postep.zdarzenia, (V{Przygotowanie, "repaint", Postep("8.2.0.6", 1, 2), "repaint",
                                   Postep("8.2.0.6", 2, 2), "repaint"}));
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
}

TEST(WykonajSkrypt, LinesAfterTheLastSeparatorAreNotExecuted) {
    PolaczeniePamieciowe polaczenie;
    RejestratorPostepu postep;
    EXPECT_EQ(Uruchom(polaczenie, {"A", "go", "B"}, &postep, "8.2.0.6"), "true");
    EXPECT_EQ(Przebieg(polaczenie), (V{"begin", "exec \r\nA\r\n", "commit"}));
    EXPECT_EQ(postep.zdarzenia.at(2), Postep("8.2.0.6", 1, 1));
}

TEST(WykonajSkrypt, BlankPackageTouchesNothing) {
    const V pakiety[] = {{}, {""}, {" \t", "", "\x01"}};
    for (const auto& linie : pakiety) {
        SCOPED_TRACE(linie.size());
        PolaczeniePamieciowe polaczenie;
        RejestratorPostepu postep;
        EXPECT_EQ(Uruchom(polaczenie, linie, &postep, "8.10.0.2"), "false");
        EXPECT_TRUE(polaczenie.Wywolania().empty());
        EXPECT_TRUE(postep.zdarzenia.empty());
    }
}

TEST(WykonajSkrypt, EncryptionMarkerReplacedOnlyWhenAsked) {
    for (const bool zamien : {true, false}) {
        SCOPED_TRACE(zamien);
        PolaczeniePamieciowe polaczenie;
        EXPECT_EQ(Uruchom(polaczenie, {"CREATE PROCEDURE dbo.X", Znacznik, "AS", "GO"}, nullptr,
                          "8.2.0.6", zamien),
                  "true");
        EXPECT_EQ(polaczenie.Polecenia(),
                  V{"\r\nCREATE PROCEDURE dbo.X\r\n" +
                    (zamien ? std::string("WITH ENCRYPTION") : Znacznik) + "\r\nAS\r\n"});
    }
}

TEST(WykonajSkrypt, GenerationIsReadFrom8_11_0_0AndGatesMarkedBatches) {
    const struct {
        const char* wersja;
        std::int64_t generacja;  // 0: the server must not be asked
        bool markedBatchRuns;
    } przypadki[] = {
        {"8.10.0.2", 0, false},
        {"8.11.0.0", 2000, false},
        {"8.11.0.0", 2005, true},
        {"11.5.0.6", 2012, true},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::string(p.wersja) + " on " + std::to_string(p.generacja));
        PolaczeniePamieciowe polaczenie;
        if (p.generacja != 0)
            polaczenie.UstawWynik(ZapytanieGeneracji, {1, WartoscPola(p.generacja)});
        RejestratorPostepu postep;
        EXPECT_EQ(Uruchom(polaczenie, {"A", "go", "-- $MIN_SQL_2005", "B", "go", "C", "go"},
                          &postep, p.wersja),
                  "true");

        V oczekiwany = {"begin", "exec \r\nA\r\n"};
        if (p.generacja != 0) oczekiwany.insert(oczekiwany.begin(), "query");
        if (p.markedBatchRuns) oczekiwany.push_back("exec \r\n-- $MIN_SQL_2005\r\nB\r\n");
        oczekiwany.insert(oczekiwany.end(), {"exec \r\nC\r\n", "commit"});
        EXPECT_EQ(Przebieg(polaczenie), oczekiwany);
        // A batch left out still counts as an operation and shows its progress.
        EXPECT_EQ(postep.zdarzenia.at(4), Postep(p.wersja, 2, 3));
    }
}

TEST(WykonajSkrypt, DatabaseErrorOfABatchIsWrappedAndRolledBack) {
    for (const bool widoczna : {true, false}) {
        SCOPED_TRACE(widoczna);
        PolaczeniePamieciowe polaczenie;
        // As the client interface raises it: the constructor drops the trailing full stop.
        polaczenie.Zawiedz(
            Rodzaj::Polecenie, 2,
            std::make_exception_ptr(EOleException(
                "Wersja systemu: 8.1.0.0\r\nAktualizacja jest przeznaczona dla wersji 8.2.0.6.",
                13000, "Microsoft OLE DB Provider for SQL Server", "pomoc.hlp", 7, "42000")));
        RejestratorPostepu postep(widoczna);
        const ListaLinii lista = Pakiet({"A", "go", "B", "go", "C", "go"});
        try {
            TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, lista, true, &postep, "8.3.0.1");
            ADD_FAILURE() << "no error";
        } catch (const EOleException& e) {
            EXPECT_EQ(
                e.Komunikat(),
                "Błąd aktualizacji bazy do wersji 8.3.0.1 podczas wykonywania operacji 2:\r\n"
                "Wersja systemu: 8.1.0.0\r\nAktualizacja jest przeznaczona dla wersji 8.2.0.6");
            EXPECT_EQ(e.Kod(), 13000);
            EXPECT_EQ(e.Zrodlo(), "Microsoft OLE DB Provider for SQL Server");
            EXPECT_EQ(e.PlikPomocy(), "pomoc.hlp");
            EXPECT_EQ(e.KontekstPomocy(), 7);
            EXPECT_EQ(e.StanSQL(), "42000");
        }
        EXPECT_EQ(Przebieg(polaczenie),
                  (V{"begin", "exec \r\nA\r\n", "exec \r\nB\r\n !", "rollback"}));
        EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);

        V koniec = {Postep("8.3.0.1", 2, 3), "repaint"};
        if (widoczna)
            koniec.insert(koniec.end(),
                          {"text: Aktualizacja bazy do wersji 8.3.0.1 przerwana z powodu błędu.",
                           "colour: 12303359"});
        EXPECT_EQ(V(postep.zdarzenia.end() - static_cast<std::ptrdiff_t>(koniec.size()),
                    postep.zdarzenia.end()),
                  koniec);
    }
}

TEST(WykonajSkrypt, OtherErrorsPassUnchangedAfterRollBack) {
    const auto blad = [](const char* komunikat) {
        return std::make_exception_ptr(EOleException(komunikat, 5, "test"));
    };
    using Bledy = std::vector<std::pair<Rodzaj, std::exception_ptr>>;
    const struct {
        const char* nazwa;
        V linie;
        Bledy bledy;
        std::string oczekiwany;
        V przebieg;
    } przypadki[] = {
        {"empty batch between two separators",
         {"A", "go", "go", "B", "go"},
         {},
         "EDatabaseError: Missing SQL property",
         {"begin", "exec \r\nA\r\n", "rollback"}},
        {"generation marker not followed by a number",
         {"A", "go", "-- $MIN_SQL_", "go"},
         {},
         "EConvertError: '' is not a valid integer value",
         {"begin", "exec \r\nA\r\n", "rollback"}},
        {"commit fails",
         {"A", "go"},
         {{Rodzaj::Zatwierdzenie, blad("Commit refused")}},
         "EOleException: Commit refused",
         {"begin", "exec \r\nA\r\n", "commit !", "rollback"}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        PolaczeniePamieciowe polaczenie;
        for (const auto& [rodzaj, wyjatek] : p.bledy) polaczenie.Zawiedz(rodzaj, 1, wyjatek);
        RejestratorPostepu postep;
        EXPECT_EQ(Uruchom(polaczenie, p.linie, &postep, "8.2.0.6"), p.oczekiwany);
        EXPECT_EQ(Przebieg(polaczenie), p.przebieg);
        EXPECT_EQ(polaczenie.PoziomTransakcji(), 0);
        // Only a database client error of a batch changes the panel; otherwise it keeps the
        // last progress text and its colour.
        EXPECT_EQ(postep.zdarzenia.back(), "repaint");
        for (const auto& zdarzenie : postep.zdarzenia)
            EXPECT_EQ(zdarzenie.rfind("colour", 0), std::string::npos);
    }
}

// A failing roll-back never hides the error that caused it: its own text follows after a line
// break, and the error keeps its kind.
TEST(WykonajSkrypt, AFailingRollBackAddsItsErrorToTheOneThatCausedIt) {
    const struct {
        const char* nazwa;
        V linie;
        std::string oczekiwany;
        V przebieg;
    } przypadki[] = {
        {"a batch's database error",
         {"A", "go"},
         "EOleException: Błąd aktualizacji bazy do wersji 8.2.0.6 podczas wykonywania operacji "
         "1:\r\nBatch failed\r\nRollback refused",
         {"begin", "exec \r\nA\r\n !", "rollback !"}},
        {"a generation marker without a number",
         {"-- $MIN_SQL_", "go"},
         "EConvertError: '' is not a valid integer value\r\nRollback refused",
         {"begin", "rollback !"}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        PolaczeniePamieciowe polaczenie;
        polaczenie.Zawiedz(Rodzaj::Polecenie, 1,
                           std::make_exception_ptr(EOleException("Batch failed", 4, "test")));
        polaczenie.Zawiedz(Rodzaj::Wycofanie, 1,
                           std::make_exception_ptr(EOleException("Rollback refused", 6, "test")));
        EXPECT_EQ(Uruchom(polaczenie, p.linie, nullptr, "8.2.0.6"), p.oczekiwany);
        EXPECT_EQ(Przebieg(polaczenie), p.przebieg);
    }
}

TEST(WykonajSkrypt, FailsBeforeAnythingOnMalformedVersionOrFailedGenerationRead) {
    const struct {
        const char* nazwa;
        const char* wersja;
        std::string oczekiwany;
        V przebieg;
    } przypadki[] = {
        {"malformed version", "8.1.0", "EConvertError: Niepoprawna wersja: \"8.1.0\".", {}},
        {"generation unknown to the server's function",
         "9.1.0.2",
         "EDatabaseError: Błąd odczytu wersji serwera MS SQL.",
         {"query"}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        PolaczeniePamieciowe polaczenie;
        polaczenie.UstawWynik(ZapytanieGeneracji, {1, WartoscPola(std::int64_t{0})});
        RejestratorPostepu postep;
        EXPECT_EQ(Uruchom(polaczenie, {"A", "go"}, &postep, p.wersja), p.oczekiwany);
        EXPECT_EQ(Przebieg(polaczenie), p.przebieg);
        EXPECT_TRUE(postep.zdarzenia.empty());
    }
}

TEST(WykonajSkrypt, TransactionAlreadyOpenIsRefusedAndLeftAlone) {
    PolaczeniePamieciowe polaczenie;
    polaczenie.BeginTrans();
    RejestratorPostepu postep;
    EXPECT_EQ(Uruchom(polaczenie, {"A", "go"}, &postep, "8.2.0.6"),
              "EDatabaseError: Transakcja jest już rozpoczęta.");
    // The transaction belongs to someone else: neither used nor rolled back.
    EXPECT_EQ(Przebieg(polaczenie), (V{"begin"}));
    EXPECT_EQ(polaczenie.PoziomTransakcji(), 1);
    EXPECT_EQ(postep.zdarzenia, (V{Przygotowanie, "repaint"}));
}
