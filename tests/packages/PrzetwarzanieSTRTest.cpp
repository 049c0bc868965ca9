#include <gtest/gtest.h>

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
