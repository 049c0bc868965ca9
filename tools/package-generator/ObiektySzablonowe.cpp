// The bulk of every object section: list, read, save, delete, check and recalculation
// procedures over the system's tables, with functions and triggers, made from templates. Their
// names follow the tables and grow by suffixes, so a larger package holds more of them and
// every later package holds those of the earlier ones.

#include <array>
#include <span>
#include <string>

#include "SekcjeObiektow.h"

namespace generator {

namespace {

struct Tabela {
    std::string_view nazwa;
    std::string_view klucz;
    std::string_view kolumna;
    std::string_view opis;
    std::string_view slowo = {};  // in object names, when not the table's name
    std::string_view Slowo() const { return slowo.empty() ? nazwa : slowo; }
};

constexpr std::array<Tabela, 9> TabeleWzoru = {{
    {"UZYTK", "ID_UZYTKOWNIKA", "LOGIN", "użytkownik"},
    {"UZYTK_GRUPY", "ID_GRUPY", "NAZWA", "grupa użytkowników"},
    {"UZYTK_PRAWA", "ID_PRAWA", "NAZWA", "prawo dostępu"},
    {"KALEND", "ID_DNIA", "OPIS", "dzień kalendarza"},
    {"KALEND_OKRESY", "ID_OKRESU", "NAZWA", "okres obrachunkowy"},
    {"OPCJE_DEFINICJE", "ID_DEFINICJI", "NAZWA", "definicja opcji"},
    {"KONFIG_GRUPY", "ID_GRUPY_KONFIG", "NAZWA", "grupa konfiguracji"},
    {"WA_FIRMY", "ID_FIRMY", "NAZWA", "firma"},
    {"WA_SLOWNIKI", "ID_SLOWNIKA", "NAZWA", "słownik"},
}};

constexpr std::array<Tabela, 15> TabeleZuv = {{
    {"SRODKI", "ID_SRODKA", "NAZWA", "środek trwały"},
    {"DOKUMENTY", "ID_DOKUMENTU", "NUMER", "dokument"},
    {"ELEMENTY_DOK", "ID_ELEMENTU", "OPIS", "pozycja dokumentu"},
    {"LOKALIZACJE", "ID_LOKALIZACJI", "NAZWA", "lokalizacja"},
    {"GRUPY_SRODKOW", "ID_GRUPY_SRODKOW", "NAZWA", "grupa środków"},
    {"OSOBY_ODPOWIEDZIALNE", "ID_OSOBY", "NAZWISKO", "osoba odpowiedzialna"},
    {"KONTRAHENCI", "ID_KONTRAHENTA", "NAZWA", "kontrahent"},
    {"INWENTARYZACJE", "ID_INWENTARYZACJI", "OPIS", "inwentaryzacja"},
    {"PLANY_AMORTYZACJI", "ID_PLANU", "OPIS", "plan amortyzacji"},
    {"ODPISY_AMORTYZACYJNE", "ID_ODPISU", "OPIS", "odpis amortyzacyjny"},
    {"RODZAJE_DOKUMENTOW", "ID_RODZAJU", "NAZWA", "rodzaj dokumentu"},
    {"MPK", "ID_MPK", "NAZWA", "miejsce powstania kosztów"},
    {"ZRODLA_FINANSOWANIA", "ID_ZRODLA", "NAZWA", "źródło finansowania"},
    {"WYPOSAZENIE", "ID_WYPOSAZENIA", "NAZWA", "wyposażenie"},
    {"PRZESZACOWANIA", "ID_PRZESZACOWANIA", "OPIS", "przeszacowanie"},
}};

constexpr std::array<Tabela, 7> TabeleWww = {{
    {"SRODKI", "ID_SRODKA", "NAZWA", "środek trwały"},
    {"DOKUMENTY", "ID_DOKUMENTU", "NUMER", "dokument"},
    {"LOKALIZACJE", "ID_LOKALIZACJI", "NAZWA", "lokalizacja"},
    {"OSOBY_ODPOWIEDZIALNE", "ID_OSOBY", "NAZWISKO", "osoba odpowiedzialna"},
    {"INWENTARYZACJE", "ID_INWENTARYZACJI", "OPIS", "inwentaryzacja"},
    {"WWW_UZYTKOWNICY", "ID_UZYTKOWNIKA_WWW", "LOGIN", "użytkownik strony", "UZYTKOWNICY"},
    {"WWW_ZGLOSZENIA", "ID_ZGLOSZENIA", "OPIS", "zgłoszenie usterki", "ZGLOSZENIA"},
}};

constexpr std::array<Tabela, 5> TabelePpc = {{
    {"PPC_SKANY", "ID_SKANU", "KOD_KRESKOWY", "skan kodu kreskowego", "SKANY"},
    {"INWENTARYZACJE", "ID_INWENTARYZACJI", "OPIS", "inwentaryzacja"},
    {"SRODKI", "ID_SRODKA", "NAZWA", "środek trwały"},
    {"LOKALIZACJE", "ID_LOKALIZACJI", "NAZWA", "lokalizacja"},
    {"PPC_URZADZENIA", "ID_URZADZENIA", "NAZWA", "urządzenie przenośne", "URZADZENIA"},
}};

constexpr std::array<Tabela, 6> TabeleWs = {{
    {"SRODKI", "ID_SRODKA", "NAZWA", "środek trwały"},
    {"DOKUMENTY", "ID_DOKUMENTU", "NUMER", "dokument"},
    {"KONTRAHENCI", "ID_KONTRAHENTA", "NAZWA", "kontrahent"},
    {"MPK", "ID_MPK", "NAZWA", "miejsce powstania kosztów"},
    {"LOKALIZACJE", "ID_LOKALIZACJI", "NAZWA", "lokalizacja"},
    {"GRUPY_SRODKOW", "ID_GRUPY_SRODKOW", "NAZWA", "grupa środków"},
}};

constexpr std::array<std::string_view, 16> Przyrostki = {
    "",         "_WG_FIRMY", "_WG_DATY",  "_HISTORIA",  "_SZCZEGOLY", "_RAPORT",
    "_EKSPORT", "_IMPORT",   "_ARCHIWUM", "_KONTROLA",  "_ZBIORCZO",  "_DLA_OKRESU",
    "_PODGLAD", "_WYDRUK",   "_KOREKTA",  "_UZUPELNIJ",
};

constexpr std::array<std::string_view, 6> CeleWyzwalaczy = {"HISTORIA", "KONTROLA",       "STAN",
                                                            "ARCHIWUM", "SYNCHRONIZACJA", "SUMY"};

struct Operacje {
    std::string_view przyrostek;
    std::string_view slowa;
    std::string_view zrodlo;
    std::string_view kod;
};
constexpr std::array<Operacje, 4> OperacjeWyzwalaczy = {{
    {"I", "INSERT", "inserted", "I"},
    {"U", "UPDATE", "inserted", "U"},
    {"D", "DELETE", "deleted", "D"},
    {"IU", "INSERT, UPDATE", "inserted", "Z"},
}};

// ---- Procedures -------------------------------------------------------------------------------

struct WzorProcedury {
    std::string_view czynnosc;
    std::string_view tekst;
};

constexpr std::array<WzorProcedury, 6> WzoryProcedur = {{
    {"LISTA", R"(CREATE PROCEDURE dbo.{NAZWA}
  @P_FILTR VARCHAR(100) = NULL
{SZYFROWANIE}
AS
BEGIN
  -- Lista: {OPIS}. Filtr porównywany jest z początkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
{TRY}
{WYPELNIENIE}
  SELECT {KLUCZ}, {KOLUMNA}
    FROM dbo.{TABELA}
   WHERE @P_FILTR IS NULL
      OR {KOLUMNA} LIKE @P_FILTR + '%'
   ORDER BY {KOLUMNA}

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[{NR}] Odczyt listy nie powiódł się. ^{NAZWA}_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
{CATCH}
  RETURN 0
END)"},
    {"POBIERZ", R"(CREATE PROCEDURE dbo.{NAZWA}
  @P_ID INT
{SZYFROWANIE}
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
{TRY}
{WYPELNIENIE}
  SELECT *
    FROM dbo.{TABELA}
   WHERE {KLUCZ} = @P_ID

  IF @@ROWCOUNT = 0
  BEGIN
    SET @errmsg = '[{NR}] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' ({OPIS}). ^{NAZWA}_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
{CATCH}
  RETURN 0
END)"},
    {"ZAPISZ", R"(CREATE PROCEDURE dbo.{NAZWA}
  @P_ID      INT OUTPUT,
  @P_WARTOSC VARCHAR(255)
{SZYFROWANIE}
AS
BEGIN
  DECLARE @errmsg VARCHAR(255), @blad INT

  SET NOCOUNT ON
{TRY}
{WYPELNIENIE}
  IF @P_ID IS NOT NULL AND EXISTS (SELECT 'X' FROM dbo.{TABELA} WHERE {KLUCZ} = @P_ID)
  BEGIN
    UPDATE dbo.{TABELA}
       SET {KOLUMNA} = @P_WARTOSC
     WHERE {KLUCZ} = @P_ID
    SET @blad = @@ERROR
  END
  ELSE
  BEGIN
    INSERT INTO dbo.{TABELA} ({KOLUMNA})
    VALUES (@P_WARTOSC)
    SELECT @blad = @@ERROR, @P_ID = SCOPE_IDENTITY()
  END

  IF @blad <> 0
  BEGIN
    SET @errmsg = '[{NR}] Zapis nie powiódł się ({OPIS}). ^{NAZWA}_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
{CATCH}
  RETURN 0
END)"},
    {"USUN", R"(CREATE PROCEDURE dbo.{NAZWA}
  @P_ID INT
{SZYFROWANIE}
AS
BEGIN
  DECLARE @errmsg VARCHAR(255), @blad INT, @ilosc INT

  SET NOCOUNT ON
{TRY}
{WYPELNIENIE}
  DELETE FROM dbo.{TABELA}
   WHERE {KLUCZ} = @P_ID

  SELECT @blad = @@ERROR, @ilosc = @@ROWCOUNT
  IF @blad <> 0 OR @ilosc <> 1
  BEGIN
    SET @errmsg = '[{NR}] Usunięcie pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' nie powiodło się ({OPIS}). ^{NAZWA}_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
{CATCH}
  RETURN 0
END)"},
    {"SPRAWDZ", R"(CREATE PROCEDURE dbo.{NAZWA}
  @P_ID    INT,
  @P_WYNIK CHAR(1) OUTPUT
{SZYFROWANIE}
-- Wynik: 'T' gdy pozycja istnieje, 'N' gdy nie.
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
{TRY}
{WYPELNIENIE}
  IF EXISTS (SELECT 'X' FROM dbo.{TABELA} WHERE {KLUCZ} = @P_ID)
    SET @P_WYNIK = 'T'
  ELSE
    SET @P_WYNIK = 'N'
{CATCH}
  RETURN 0
END)"},
    {"PRZELICZ", R"(CREATE PROCEDURE dbo.{NAZWA}
  @P_DATA DATETIME = NULL
{SZYFROWANIE}
AS
BEGIN
  -- Przeliczenie obejmuje wszystkie pozycje (tabela {TABELA}), stan na podany dzień.
  DECLARE @errmsg VARCHAR(255), @ilosc INT

  SET NOCOUNT ON
  IF @P_DATA IS NULL
    SET @P_DATA = GETDATE()
{TRY}
{WYPELNIENIE}
  SELECT @ilosc = COUNT(*)
    FROM dbo.{TABELA}

  SELECT @ilosc AS ILOSC, @P_DATA AS DATA_PRZELICZENIA
{CATCH}
  RETURN 0
END)"},
}};

constexpr std::string_view ObslugaBleduProcedury = R"(  END TRY
  BEGIN CATCH
    SET @errmsg = '[{NR}] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^{NAZWA}_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END CATCH)";

constexpr std::string_view ObslugaBleduWyzwalacza = R"(  END TRY
  BEGIN CATCH
    SET @errmsg = '[{NR}] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^{NAZWA}_MC'
    RAISERROR(@errmsg, 16, 1)
    ROLLBACK TRANSACTION
  END CATCH)";

// Objects that need a 2005 server run their body inside TRY ... CATCH; the others leave the
// two places out.
std::string RozwinObslugeBledow(std::string_view wzor, bool generacja, std::string_view obsluga) {
    std::string wynik;
    bool wBloku = false;
    while (!wzor.empty()) {
        const std::size_t koniec = wzor.find('\n');
        const std::string_view wiersz = wzor.substr(0, koniec);
        if (wiersz == "{TRY}") {
            if (generacja) wynik += "  BEGIN TRY\n";
            wBloku = generacja;
        } else if (wiersz == "{CATCH}") {
            if (generacja) {
                wynik += obsluga;
                wynik += '\n';
            }
            wBloku = false;
        } else {
            if (wBloku && !wiersz.empty() && wiersz != MiejsceWypelnienia) wynik += "  ";
            wynik += wiersz;
            if (koniec != std::string_view::npos) wynik += '\n';
        }
        if (koniec == std::string_view::npos) break;
        wzor.remove_prefix(koniec + 1);
    }
    return wynik;
}

// ---- Functions --------------------------------------------------------------------------------

struct WzorFunkcji {
    RodzajObiektu rodzaj;
    std::string_view slowo;
    std::string_view tekst;
};

constexpr std::array<WzorFunkcji, 4> WzoryFunkcji = {{
    {RodzajObiektu::FunkcjaSkalarna, "NAZWA", R"(CREATE FUNCTION dbo.{NAZWA} (@P_ID INT)
RETURNS {TYP}
{SZYFROWANIE}
AS
BEGIN
  -- Nazwa do wyświetlenia: {OPIS}; pusty tekst, gdy pozycji nie ma.
  DECLARE @wynik {TYP}

  SELECT @wynik = {KOLUMNA}
    FROM dbo.{TABELA}
   WHERE {KLUCZ} = @P_ID

  RETURN ISNULL(@wynik, '')
END)"},
    {RodzajObiektu::FunkcjaWbudowana, "WYBOR",
     R"(CREATE FUNCTION dbo.{NAZWA} (@P_FILTR VARCHAR(100))
RETURNS TABLE
{SZYFROWANIE}
AS
RETURN (
  SELECT {KLUCZ} AS ID, CONVERT({TYP}, {KOLUMNA}) AS OPIS
    FROM dbo.{TABELA}
   WHERE {KOLUMNA} LIKE ISNULL(@P_FILTR, '') + '%'
))"},
    {RodzajObiektu::FunkcjaSkalarna, "ILOSC", R"(CREATE FUNCTION dbo.{NAZWA} (@P_OD INT, @P_DO INT)
RETURNS INT
{SZYFROWANIE}
AS
BEGIN
  DECLARE @ilosc INT

  SELECT @ilosc = COUNT(*)
    FROM dbo.{TABELA}
   WHERE {KLUCZ} BETWEEN ISNULL(@P_OD, 0) AND ISNULL(@P_DO, 2147483647)

  RETURN ISNULL(@ilosc, 0)
END)"},
    {RodzajObiektu::FunkcjaTabelaryczna, "ZESTAWIENIE",
     R"(CREATE FUNCTION dbo.{NAZWA} (@P_OD INT, @P_DO INT)
RETURNS @wynik TABLE (ID INT NOT NULL PRIMARY KEY, OPIS {TYP} NULL)
{SZYFROWANIE}
AS
BEGIN
  -- Zestawienie: {OPIS}, w zakresie identyfikatorów.
  INSERT INTO @wynik (ID, OPIS)
  SELECT {KLUCZ}, {KOLUMNA}
    FROM dbo.{TABELA}
   WHERE {KLUCZ} BETWEEN ISNULL(@P_OD, 0) AND ISNULL(@P_DO, 2147483647)

  RETURN
END)"},
}};

// ---- Triggers ---------------------------------------------------------------------------------

constexpr std::string_view WzorWyzwalacza = R"(CREATE TRIGGER dbo.{NAZWA} ON {TABELA}
{SZYFROWANIE}
FOR {OPERACJE}
AS
BEGIN
  IF @@ROWCOUNT = 0
    RETURN

  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
{TRY}
  -- Zapis w historii zmian: {OPIS}.
  INSERT INTO dbo.HISTORIA_ZMIAN (NAZWA_TABELI, ID_POZYCJI, OPERACJA, CEL, LOGIN, DATA)
  SELECT '{TABELA}', {KLUCZ}, '{KOD}', '{CEL}', dbo.fn_LOGIN_UZYTKOWNIKA(), GETDATE()
    FROM {ZRODLO}

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[{NR}] Zapis historii zmian nie powiódł się. ^{NAZWA}_MC'
    RAISERROR(@errmsg, 16, 1)
    ROLLBACK TRANSACTION
  END
{CATCH}
END)";

// ---- Sections ---------------------------------------------------------------------------------

struct OpisObszaru {
    std::string_view prefiksProcedur;
    std::string_view prefiksFunkcji;
    std::span<const Tabela> tabele;
    std::size_t czynnosci;  // how many of WzoryProcedur the area uses
};

OpisObszaru Opis(Obszar obszar) {
    switch (obszar) {
        case Obszar::WzorAplikacji:
            return {"", "fn_", TabeleWzoru, 5};
        case Obszar::Zuv:
            return {"", "fn_", TabeleZuv, 6};
        case Obszar::Www:
            return {"www_", "WWW_", TabeleWww, 4};
        case Obszar::Ppc:
            return {"ppc_", "fn_ppc_", TabelePpc, 5};
        case Obszar::Ws:
            return {"ws_", "fn_ws_", TabeleWs, 4};
    }
    throw std::logic_error("Nieznany obszar");
}

std::string Przyrostek(std::size_t numer) {
    std::string wynik(Przyrostki[numer % Przyrostki.size()]);
    if (numer >= Przyrostki.size()) {
        wynik += '_';
        wynik += std::to_string(numer / Przyrostki.size() + 1);
    }
    return wynik;
}

std::string NumerBledu(std::size_t obszar, std::size_t i) {
    return std::to_string(13100 + obszar * 1000 + i % 1000);
}

std::string NaglowekGrupy(const Tabela& t) {
    return "-- " + std::string(75, '-') + "\n-- " + std::string(t.nazwa) + ": " +
           std::string(t.opis) + "\n-- " + std::string(75, '-') + "\n";
}

}  // namespace

std::vector<ObiektBazy> ObiektySzablonowe(Obszar obszar, LiczbyObiektow liczby,
                                          ZGeneracja zGeneracja) {
    const OpisObszaru opis = Opis(obszar);
    const std::size_t nrObszaru = static_cast<std::size_t>(obszar);
    const std::size_t nT = opis.tabele.size();
    std::vector<ObiektBazy> wynik;
    wynik.reserve(static_cast<std::size_t>(liczby.Razem()));

    for (int f = 0; f < liczby.funkcje; ++f) {
        const auto i = static_cast<std::size_t>(f);
        const WzorFunkcji& wzor = WzoryFunkcji[i % WzoryFunkcji.size()];
        const Tabela& t = opis.tabele[(i / WzoryFunkcji.size()) % nT];
        ObiektBazy o;
        o.rodzaj = wzor.rodzaj;
        o.generacja = f >= liczby.funkcje - zGeneracja.funkcje;
        o.nazwa = std::string(opis.prefiksFunkcji) + std::string(t.Slowo()) + "_" +
                  std::string(wzor.slowo) + Przyrostek(i / (WzoryFunkcji.size() * nT));
        o.definicja = Podstaw(wzor.tekst, {{"NAZWA", o.nazwa},
                                           {"TABELA", t.nazwa},
                                           {"KLUCZ", t.klucz},
                                           {"KOLUMNA", t.kolumna},
                                           {"OPIS", t.opis},
                                           {"TYP", o.generacja ? "VARCHAR(MAX)" : "VARCHAR(255)"}});
        o.blankPoZnaczniku = i % 11 == 4;
        wynik.push_back(std::move(o));
    }

    for (int p = 0; p < liczby.procedury; ++p) {
        const auto i = static_cast<std::size_t>(p);
        const WzorProcedury& wzor = WzoryProcedur[i % opis.czynnosci];
        const std::size_t nrTabeli = (i / opis.czynnosci) % nT;
        const Tabela& t = opis.tabele[nrTabeli];
        ObiektBazy o;
        o.generacja = p >= liczby.procedury - zGeneracja.procedury;
        o.nazwa = std::string(opis.prefiksProcedur) + std::string(t.Slowo()) + "_" +
                  std::string(wzor.czynnosc) + Przyrostek(i / (opis.czynnosci * nT));
        const std::string nr = NumerBledu(nrObszaru, i);
        const std::string tekst =
            RozwinObslugeBledow(wzor.tekst, o.generacja, ObslugaBleduProcedury);
        o.definicja = Podstaw(tekst, {{"NAZWA", o.nazwa},
                                      {"TABELA", t.nazwa},
                                      {"KLUCZ", t.klucz},
                                      {"KOLUMNA", t.kolumna},
                                      {"OPIS", t.opis},
                                      {"NR", nr}});
        if (i % opis.czynnosci == 0) o.komentarz = NaglowekGrupy(t);
        o.blankPoZnaczniku = i % 11 == 7;
        wynik.push_back(std::move(o));
    }

    for (int w = 0; w < liczby.wyzwalacze; ++w) {
        const auto i = static_cast<std::size_t>(w);
        const Operacje& op = OperacjeWyzwalaczy[i % OperacjeWyzwalaczy.size()];
        const Tabela& t = opis.tabele[(i / OperacjeWyzwalaczy.size()) % nT];
        const std::size_t nrCelu = i / (OperacjeWyzwalaczy.size() * nT);
        std::string cel(CeleWyzwalaczy[nrCelu % CeleWyzwalaczy.size()]);
        if (nrCelu >= CeleWyzwalaczy.size()) {
            cel += '_';
            cel += std::to_string(nrCelu / CeleWyzwalaczy.size() + 1);
        }
        ObiektBazy o;
        o.rodzaj = RodzajObiektu::Wyzwalacz;
        o.generacja = w >= liczby.wyzwalacze - zGeneracja.wyzwalacze;
        o.nazwa = "TG_" + std::string(t.nazwa) + "_" + cel + "_" + std::string(op.przyrostek);
        const std::string tekst =
            RozwinObslugeBledow(WzorWyzwalacza, o.generacja, ObslugaBleduWyzwalacza);
        o.definicja = Podstaw(tekst, {{"NAZWA", o.nazwa},
                                      {"TABELA", t.nazwa},
                                      {"KLUCZ", t.klucz},
                                      {"OPIS", t.opis},
                                      {"OPERACJE", op.slowa},
                                      {"ZRODLO", op.zrodlo},
                                      {"KOD", op.kod},
                                      {"CEL", cel},
                                      {"NR", NumerBledu(nrObszaru, 900 + i)}});
        wynik.push_back(std::move(o));
    }
    return wynik;
}

}  // namespace generator
