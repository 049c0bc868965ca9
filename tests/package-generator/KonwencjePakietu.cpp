#include "KonwencjePakietu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>

#include "packages/format/PartiaOtwierajaca.h"
#include "versions/KatalogWersji.h"

using namespace zuv;

namespace {

std::string Poprzednia(std::string_view wersja) {
    const std::size_t i = Pozycja(wersja);
    return std::string(i == 0 ? WersjaPrzedKatalogiem : KatalogWersji[i - 1]);
}

bool Zawiera(std::string_view tekst, std::string_view co) {
    return tekst.find(co) != std::string_view::npos;
}

std::size_t Wystapienia(std::string_view tekst, std::string_view co) {
    std::size_t n = 0;
    for (std::size_t i = tekst.find(co); i != std::string_view::npos; i = tekst.find(co, i + 1))
        ++n;
    return n;
}

std::string Wielkie(std::string_view s) {
    std::string w(s);
    for (char& c : w)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return w;
}

bool JestKomentarzem(std::string_view w) {
    const std::size_t i = w.find_first_not_of(" \t");
    return i == std::string_view::npos || w.substr(i).starts_with("--");
}

// The batch that creates `nazwa`, or nullptr.
const Partia* PartiaTworzaca(const Pakiet& p, std::string_view nazwa) {
    for (const Partia& b : p.partie)
        if (NazwaTworzonegoObiektu(b) == nazwa) return &b;
    return nullptr;
}

}  // namespace

Pakiet::Pakiet(std::string_view w, std::string b) : wersja(w), bajty(std::move(b)) {
    wiersze = PodzielNaWiersze(bajty);
    partie = PodzielNaPartieDrugiOdczyt(wiersze);
}

void SprawdzBajtyIKonceWierszy(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    long samotne = 0;
    long taby = 0;
    long polskie = 0;
    for (std::size_t i = 0; i < p.bajty.size(); ++i) {
        const auto b = static_cast<unsigned char>(p.bajty[i]);
        // Control bytes other than tab, CR and LF, and the five codes code page 1250 leaves
        // undefined.
        const bool dozwolony = b == '\t' || b == '\r' || b == '\n' ||
                               (b >= 0x20 && b != 0x7F && b != 0x81 && b != 0x83 && b != 0x88 &&
                                b != 0x90 && b != 0x98);
        if (!dozwolony) {
            ADD_FAILURE() << "bajt " << static_cast<int>(b) << " na pozycji " << i;
            return;
        }
        if (b == '\n' && (i == 0 || p.bajty[i - 1] != '\r')) {
            ADD_FAILURE() << "LF bez CR na pozycji " << i;
            return;
        }
        samotne += b == '\r' && (i + 1 == p.bajty.size() || p.bajty[i + 1] != '\n');
        taby += b == '\t';
        polskie += b >= 0x80;
    }
    EXPECT_TRUE(p.bajty.ends_with("\r\n"));
    EXPECT_GT(taby, 0);
    EXPECT_GT(polskie, 0);
    if (Od(p.wersja, "11.1.0.0")) {
        EXPECT_EQ(samotne, 0);
    } else {
        EXPECT_GT(samotne, 0);
    }
}

void SprawdzPartieOtwierajaca(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    const std::vector<std::string> oczekiwane = PartiaOtwierajaca(
        p.wersja, Poprzednia(p.wersja),
        Od(p.wersja, "11.1.0.0") ? FormaRaiserror::Waga16 : FormaRaiserror::Numer13000);
    ASSERT_GE(p.partie.size(), 2u);
    const Partia& otwarcie = p.partie.front();
    ASSERT_EQ(otwarcie.wiersze.size(), oczekiwane.size());
    EXPECT_EQ(otwarcie.numerSeparatora, 23u);
    EXPECT_EQ(otwarcie.separator, "go" + std::string(84, ' '));
    for (std::size_t i = 0; i < oczekiwane.size(); ++i) {
        const std::string_view w = otwarcie.wiersze[i];
        EXPECT_EQ(w, oczekiwane[i]) << "wiersz " << i + 1;
        // Padded to 86 columns; a line with a version by its difference from seven characters.
        const std::size_t szerokosc = i == 6   ? 79 + p.wersja.size()
                                      : i == 7 ? 79 + Poprzednia(p.wersja).size()
                                               : 86;
        if (RTrim(w).size() < szerokosc) {
            EXPECT_EQ(w.size(), szerokosc) << "wiersz " << i + 1;
        }
    }
}

void SprawdzPartieZamykajaca(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    const bool nowe = Od(p.wersja, "11.1.0.0");
    const std::vector<std::string> oczekiwane = {
        "declare @error int, @rowcount int",
        "",
        "update dbo.konfig_st",
        "   set wartosc = '" + p.wersja + "'",
        " where grupa = 'WERSJE'",
        "   and nazwa = 'TERVO_WERSJA'",
        "",
        "select @error = @@error, @rowcount = @@rowcount",
        "",
        "if @error <> 0",
        Cp1250(nowe ? "  raiserror('Wystąpił błąd podczas zmiany wersji systemu ZUV.', 16, 1)"
                    : "  raiserror 13000 'Wystąpił błąd podczas zmiany wersji systemu ZUV.'"),
        "",
        "if @rowcount <> 1",
        Cp1250(nowe ? "  raiserror('Zmiana wersji systemu ZUV nie powiodła się.', 16, 1)"
                    : "  raiserror 13000 'Zmiana wersji systemu ZUV nie powiodła się.'"),
    };
    const std::string ostatni = "go" + std::string(76, ' ');
    EXPECT_TRUE(p.bajty.ends_with("\r\n" + ostatni + "\r\n")) << "ostatni wiersz";
    ASSERT_GE(p.partie.size(), 3u);
    EXPECT_EQ(p.partie.back().numerSeparatora, p.wiersze.size()) << "nic po ostatnim separatorze";
    EXPECT_EQ(p.partie[p.partie.size() - 2].separator, "go ");

    // The closing section: its frame, then the fixed text, every line padded to 78 columns.
    const Partia& zamkniecie = p.partie.back();
    ASSERT_EQ(zamkniecie.wiersze.size(), 3 + oczekiwane.size());
    EXPECT_EQ(RTrim(zamkniecie.wiersze[1]), "-- Zapisanie wersji systemu ZUV");
    for (std::size_t i = 0; i < oczekiwane.size(); ++i) {
        const std::string_view w = zamkniecie.wiersze[3 + i];
        EXPECT_EQ(RTrim(w), oczekiwane[i]) << "wiersz " << i + 1;
        const std::size_t szerokosc = i == 3 ? 71 + p.wersja.size() : 78;
        EXPECT_EQ(w.size(), std::max(szerokosc, oczekiwane[i].size())) << "wiersz " << i + 1;
    }
}

std::map<std::string, int> SprawdzSeparatoryIPartie(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    std::map<std::string, int> formy;
    for (const Partia& b : p.partie) {
        const std::string separator(b.separator);
        ++formy[separator];
        // "GO" or "go" from the first column, then blanks only.
        const bool dozwolona = (separator.starts_with("GO") || separator.starts_with("go")) &&
                               separator.find_first_not_of(' ', 2) == std::string::npos;
        EXPECT_TRUE(dozwolona) << "separator w wierszu " << b.numerSeparatora << ": [" << separator
                               << "]";

        // No batch is empty, blank or comments only; quotes and block comments close inside it.
        EXPECT_FALSE(b.PierwszyWierszKodu().empty())
            << "partia przed wierszem " << b.numerSeparatora;
        const std::string tekst = b.Tekst();
        const StanLeksykalny stan = StanNaKoncu(tekst);
        EXPECT_FALSE(stan.wLiterale) << "literał otwarty przed wierszem " << b.numerSeparatora;
        EXPECT_EQ(stan.glebokoscKomentarza, 0)
            << "komentarz otwarty przed wierszem " << b.numerSeparatora;

        // Outside the bodies of the objects the package creates, nothing that would step out of the
        // runner's transaction or change the session.
        if (Rodzaj(b) != RodzajPartii::Inna) continue;
        static const std::regex Zakazane(
            R"(^\s*(BEGIN\s+TRAN|COMMIT|ROLLBACK|SAVE\s+TRAN|USE\s|ALTER\s+DATABASE|RECONFIGURE|DBCC|)"
            R"(SET\s+(NOCOUNT|XACT_ABORT|ANSI_|QUOTED_IDENTIFIER|ARITHABORT|TRANSACTION|IMPLICIT_TRANSACTIONS|)"
            R"(DATEFORMAT|LANGUAGE|ROWCOUNT|IDENTITY_INSERT|CONCAT_NULL|NUMERIC_ROUNDABORT|DEADLOCK_PRIORITY|LOCK_TIMEOUT)))",
            std::regex::icase);
        for (std::string_view w : b.wiersze)
            EXPECT_FALSE(std::regex_search(w.begin(), w.end(), Zakazane)) << "[" << w << "]";
    }
    // Every line that begins with the word go is one of the separators above.
    for (std::size_t i = 0; i < p.wiersze.size(); ++i) {
        const std::string_view w = p.wiersze[i];
        const std::string poczatek = Wielkie(w.substr(0, 3));
        const bool slowoGo =
            poczatek.starts_with("GO") &&
            (w.size() == 2 || !(std::isalnum(static_cast<unsigned char>(w[2])) || w[2] == '_'));
        if (slowoGo) {
            EXPECT_TRUE(JestSeparatoremDrugiOdczyt(w) &&
                        (w.starts_with("GO") || w.starts_with("go")))
                << "wiersz " << i + 1;
        }
        if (!slowoGo && JestSeparatoremDrugiOdczyt(w))
            ADD_FAILURE() << "separator z wcięciem w wierszu " << i + 1;
    }
    return formy;
}

void SprawdzZnacznikiSzyfrowania(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    const std::string znacznikWielkimi = Wielkie(ZnacznikSzyfrowania);
    int zakomentowane = 0;
    for (const Partia& b : p.partie) {
        // The runner replaces the first occurrence in any case; a batch holds at most one.
        const std::string tekst = Wielkie(b.Tekst());
        EXPECT_LE(Wystapienia(tekst, znacznikWielkimi), 1u)
            << "partia przed wierszem " << b.numerSeparatora;

        std::size_t znacznik = b.wiersze.size();
        for (std::size_t i = 0; i < b.wiersze.size(); ++i) {
            const std::string_view w = b.wiersze[i];
            if (w == ZnacznikSzyfrowania || w == std::string(ZnacznikSzyfrowania) + " ")
                znacznik = i;
            if (w.starts_with("-- " + std::string(ZnacznikSzyfrowania))) ++zakomentowane;
        }
        const RodzajPartii rodzaj = Rodzaj(b);
        if (rodzaj == RodzajPartii::Inna) {
            EXPECT_EQ(znacznik, b.wiersze.size())
                << "znacznik poza nagłówkiem CREATE, wiersz " << b.numerSeparatora;
            continue;
        }
        const std::string nazwa = NazwaTworzonegoObiektu(b);
        if (nazwa == "TG_LOG_TABEL_UZYTK_UD") {
            EXPECT_FALSE(Zawiera(tekst, "C810A5C6")) << "wzorzec wyzwalacza musi zostać czytelny";
            continue;
        }
        ASSERT_LT(znacznik, b.wiersze.size()) << nazwa;
        // Where WITH ENCRYPTION belongs: before AS (comment lines such as the generation marker may
        // stand between), or for a trigger after the ON line and before FOR / AFTER / INSTEAD OF.
        std::size_t dalej = znacznik + 1;
        while (dalej < b.wiersze.size() && JestKomentarzem(b.wiersze[dalej])) ++dalej;
        ASSERT_LT(dalej, b.wiersze.size()) << nazwa;
        const std::string_view nastepny = b.wiersze[dalej];
        if (rodzaj == RodzajPartii::Wyzwalacz) {
            EXPECT_TRUE(Zawiera(b.wiersze[znacznik - 1], " ON ")) << nazwa;
            EXPECT_TRUE(nastepny.starts_with("FOR ") || nastepny.starts_with("AFTER ") ||
                        nastepny.starts_with("INSTEAD OF "))
                << nazwa;
        } else {
            EXPECT_EQ(RTrim(nastepny), "AS") << nazwa;
        }
        if (rodzaj == RodzajPartii::Funkcja) {
            const auto naglowek = b.wiersze.begin() + static_cast<std::ptrdiff_t>(znacznik);
            EXPECT_TRUE(std::any_of(b.wiersze.begin(), naglowek, [](std::string_view w) {
                return w.starts_with("RETURNS ");
            })) << nazwa;
        }
    }
    EXPECT_EQ(zakomentowane, 2);
}

void SprawdzZnacznikiGeneracji(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    if (!Od(p.wersja, "9.2.0.1")) {
        EXPECT_FALSE(Zawiera(p.bajty, "-- $MIN_SQL_"));
        // 9.1.0.2 names the marker in a sentence, where the runner does not see one.
        EXPECT_EQ(Zawiera(p.bajty, "$MIN_SQL_2005"), p.wersja == "9.1.0.2");
        return;
    }
    int oznaczone = 0;
    int kolekcjeBezZnacznika = 0;
    for (const Partia& b : p.partie) {
        const std::string tekst = b.Tekst();
        const std::size_t ile = Wystapienia(tekst, "-- $MIN_SQL_");
        EXPECT_LE(ile, 1u) << "partia przed wierszem " << b.numerSeparatora;
        std::size_t miejsce = b.wiersze.size();
        for (std::size_t i = 0; i < b.wiersze.size(); ++i)
            if (b.wiersze[i] == ZnacznikGeneracji) miejsce = i;
        // The runner takes the four characters after the marker as the generation: the whole line.
        EXPECT_EQ(ile, miejsce < b.wiersze.size() ? 1u : 0u)
            << "partia przed wierszem " << b.numerSeparatora;
        if (ile == 0) {
            kolekcjeBezZnacznika += Zawiera(b.PierwszyWierszKodu(), "XML SCHEMA COLLECTION") ||
                                    Zawiera(tekst, "DROP XML SCHEMA COLLECTION");
            continue;
        }
        ++oznaczone;
        if (Rodzaj(b) != RodzajPartii::Inna) {
            ASSERT_GT(miejsce, 0u);
            EXPECT_TRUE(b.wiersze[miejsce - 1].starts_with(ZnacznikSzyfrowania))
                << NazwaTworzonegoObiektu(b);
        } else {
            EXPECT_EQ(miejsce, 0u)
                << "znacznik nie w pierwszym wierszu partii przed " << b.numerSeparatora;
        }
    }
    EXPECT_GT(oznaczone, 0);
    // The three collections new in 11.5.0.6 come without the marker.
    EXPECT_EQ(kolekcjeBezZnacznika, p.wersja == "11.5.0.6" ? 9 : 0);
}

void SprawdzFunkcjeWersjiSerwera(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    const Partia* b = PartiaTworzaca(p, "fn_WERSJA_MS_SQL");
    ASSERT_NE(b, nullptr);
    const std::string tekst = b->Tekst();
    EXPECT_TRUE(Zawiera(tekst, "RETURNS INT"));
    EXPECT_TRUE(Zawiera(tekst, "SERVERPROPERTY('ProductVersion')"));
    EXPECT_FALSE(Zawiera(tekst, "$MIN_SQL_")) << "the runner calls it before any batch";

    std::string przypadek;
    for (std::string_view w : b->wiersze)
        if (Zawiera(w, "RETURN CASE")) przypadek = std::string(w);
    std::map<std::string, int> pary;
    static const std::regex Para(R"(WHEN '([^']*)' THEN (\d+))");
    for (std::sregex_iterator it(przypadek.begin(), przypadek.end(), Para), koniec; it != koniec;
         ++it)
        pary[(*it)[1]] = std::stoi((*it)[2]);
    EXPECT_TRUE(przypadek.ends_with("ELSE 0 END")) << przypadek;

    if (!Od(p.wersja, "8.9.0.9")) {
        EXPECT_TRUE(Zawiera(przypadek, "CASE LEFT(@wersja, 2)"));
        EXPECT_EQ(pary, (std::map<std::string, int>{{"8.", 2000}, {"9.", 2005}}));
    } else if (!Od(p.wersja, "11.1.0.0")) {
        EXPECT_EQ(pary, (std::map<std::string, int>{{"8", 2000}, {"9", 2005}, {"10", 2005}}));
    } else {
        EXPECT_EQ(pary, (std::map<std::string, int>{
                            {"8", 2000}, {"9", 2005}, {"10", 2008}, {"11", 2012}}));
    }
}

void SprawdzSekcje(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    const std::size_t kropka = p.wersja.find('.');
    std::string pomocnicza =
        p.wersja.substr(kropka + 1, p.wersja.find('.', kropka + 1) - kropka - 1);
    if (pomocnicza.size() == 1) pomocnicza = std::string(1, '0') + pomocnicza;
    std::vector<std::string> tytuly = {"-- AKTUALIZACJE (plik AKTUALIZACJA_ZUV_" +
                                           p.wersja.substr(0, kropka) + "_" + pomocnicza +
                                           "_00.sql)",
                                       "-- PROCEDURY WZORU APLIKACJI"};
    if (Od(p.wersja, "9.4.0.6")) tytuly.push_back("-- XSD ZUV");
    for (const char* t :
         {"-- PROCEDURY ZUV", "-- PROCEDURY ZUV WWW", "-- PROCEDURY ZUV PPC", "-- PROCEDURY ZUV WS",
          "-- WERSJE PLIKOW", "-- Zapisanie wersji systemu ZUV"})
        tytuly.emplace_back(t);

    // Each title stands in a frame of equals signs, in this order.
    std::vector<std::size_t> miejsca;
    for (std::size_t i = 1; i + 1 < p.wiersze.size(); ++i) {
        const std::string w = RTrim(p.wiersze[i]);
        if (!w.starts_with("-- ") || w.starts_with("-- =") || w.starts_with("-- -")) continue;
        if (!p.wiersze[i - 1].starts_with("-- ==") || !p.wiersze[i + 1].starts_with("-- =="))
            continue;
        ASSERT_LT(miejsca.size(), tytuly.size()) << w;
        EXPECT_EQ(w, tytuly[miejsca.size()]);
        miejsca.push_back(i);
    }
    ASSERT_EQ(miejsca.size(), tytuly.size());

    // The update section is empty in three packages; then its frame runs into the next one.
    std::size_t partieAktualizacji = 0;
    for (const Partia& b : p.partie)
        partieAktualizacji += b.numerSeparatora > miejsca[0] && b.numerSeparatora < miejsca[1];
    const bool pusta = p.wersja == "8.11.0.0" || p.wersja == "11.1.0.0" || p.wersja == "11.2.0.1";
    EXPECT_EQ(partieAktualizacji == 0, pusta);

    // The file-version batch: one update-or-insert per client file.
    const Partia& pliki = p.partie[p.partie.size() - 2];
    const std::string tekst = pliki.Tekst();
    const std::size_t ile =
        Wystapienia(tekst, "if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = ");
    EXPECT_GT(ile, 0u);
    EXPECT_EQ(Wystapienia(tekst,
                          "insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, "
                          "KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)"),
              ile);
}

void SprawdzObiektySesjiIWzorca(const Pakiet& p) {
    SCOPED_TRACE(p.wersja);
    const Partia* flaga = PartiaTworzaca(p, "pc_ZUV_AKTUALIZACJA");
    ASSERT_NE(flaga, nullptr);
    const std::string tekstFlagi = flaga->Tekst();
    EXPECT_TRUE(Zawiera(tekstFlagi, "@P_ZUV_AKTUALIZACJA T_WYROZNIK_T_N OUTPUT"));
    EXPECT_TRUE(Zawiera(tekstFlagi, "#WA_OPCJE_TMP"));
    EXPECT_TRUE(
        Zawiera(tekstFlagi, "'Niepoprawny status aktualizacji odczytany z tabeli #WA_OPCJE_TMP.'"));
    EXPECT_TRUE(Zawiera(tekstFlagi, Cp1250("'Odczyt statusu aktualizacji nie powiódł się.'")));
    EXPECT_TRUE(Zawiera(tekstFlagi, "^pc_ZUV_AKTUALIZACJA_MC"));

    // Only the two document triggers read the flag.
    std::vector<std::string> czytajace;
    for (const Partia& b : p.partie)
        if (Rodzaj(b) != RodzajPartii::Inna && Zawiera(b.Tekst(), "pc_ZUV_AKTUALIZACJA") &&
            &b != flaga)
            czytajace.push_back(std::string(b.PierwszyWierszKodu()));
    EXPECT_EQ(czytajace,
              (std::vector<std::string>{
                  "CREATE TRIGGER dbo.TG_DOKUMENTY_LOG_MODYFIKACJI_IU ON DOKUMENTY",
                  "CREATE TRIGGER dbo.TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD ON ELEMENTY_DOK"}));

    // The template trigger, and right after it the batch that copies it.
    std::size_t wzorzec = p.partie.size();
    for (std::size_t i = 0; i < p.partie.size(); ++i)
        if (p.partie[i].PierwszyWierszKodu() == "CREATE TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD ON UZYTK")
            wzorzec = i;
    ASSERT_LT(wzorzec + 1, p.partie.size());
    const std::string kopia = p.partie[wzorzec + 1].Tekst();
    EXPECT_TRUE(Zawiera(kopia, "dbo.syscomments"));
    EXPECT_TRUE(Zawiera(kopia, "dbo.S_TABELE"));
    EXPECT_TRUE(Zawiera(kopia, "'CREATE TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD ON UZYTK'"));
    EXPECT_TRUE(
        Zawiera(kopia, "raiserror('Nie odnaleziono wyzwalacza \"tg_log_tabel_uzytk_ud\"', 16, 1)"));
    EXPECT_TRUE(Zawiera(kopia, Cp1250("raiserror('Składnia wyzwalacza \"TG_LOG_TABEL_UZYTK_UD\" "
                                      "przekracza 8000 znakow', 16, 1)")));
    EXPECT_TRUE(Zawiera(kopia, Cp1250("raiserror('Niepoprawna składnia wyzwalacza "
                                      "\"TG_LOG_TABEL_UZYTK_UD\": \"NULL\"', 16, 1)")));
    EXPECT_EQ(Zawiera(kopia, "DISABLE TRIGGER"), Od(p.wersja, "10.5.0.5"));
    EXPECT_EQ(Zawiera(kopia, "STAN"), Od(p.wersja, "10.5.0.5"));
}
