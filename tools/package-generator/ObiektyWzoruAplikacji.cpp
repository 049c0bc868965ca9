// The application framework section: options, session options, the user's login and the
// change-log trigger template with the batch that copies it onto the logged tables.

#include <algorithm>

#include "SekcjeObiektow.h"

namespace generator {

namespace {

bool JestFunkcja(const ObiektBazy& o) {
    return o.rodzaj == RodzajObiektu::FunkcjaSkalarna ||
           o.rodzaj == RodzajObiektu::FunkcjaTabelaryczna ||
           o.rodzaj == RodzajObiektu::FunkcjaWbudowana;
}

}  // namespace

LiczbyObiektow ObiektyReczneWzoruAplikacji(const PlanPakietu&) { return {2, 1, 1}; }

ObiektBazy ProceduraKonfigOpcjeZuvUpdate() {
    ObiektBazy o;
    o.nazwa = "KONFIG_OPCJE_ZUV_UPDATE";
    o.definicja = R"(CREATE PROCEDURE dbo.KONFIG_OPCJE_ZUV_UPDATE
  @P_ID_OPCJI VARCHAR(50),
  @P_OPIS     VARCHAR(255),
  @P_WARTOSC  VARCHAR(255) = NULL
{SZYFROWANIE}
AS
BEGIN
  -- Dopisuje opcję systemu ZUV albo poprawia jej opis. Wartości już zapisanej nie zmienia,⏎
  -- bo mogła ją ustawić firma.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON

  IF EXISTS (SELECT 'X' FROM dbo.KONFIG_OPCJE WHERE ID_OPCJI = @P_ID_OPCJI)
    UPDATE dbo.KONFIG_OPCJE
       SET OPIS = @P_OPIS
     WHERE ID_OPCJI = @P_ID_OPCJI
  ELSE
    INSERT INTO dbo.KONFIG_OPCJE (ID_OPCJI, OPIS, WARTOSC)
    VALUES (@P_ID_OPCJI, @P_OPIS, @P_WARTOSC)

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[13020] Zapis opcji ' + @P_ID_OPCJI + ' nie powiódł się. ^KONFIG_OPCJE_ZUV_UPDATE_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END)";
    return o;
}

ObiektBazy ProceduraOpcjaTmpZapisz() {
    ObiektBazy o;
    o.nazwa = "OPCJA_TMP_ZAPISZ";
    o.blankPoZnaczniku = true;
    o.definicja = R"(CREATE PROCEDURE dbo.OPCJA_TMP_ZAPISZ
  @P_NAZWA   VARCHAR(50),
  @P_WARTOSC VARCHAR(255)
{SZYFROWANIE}
AS
BEGIN
  -- Zapisuje opcję sesji (ID_FIRMY, ID_UZYTKOWNIKA, ...) w tabeli #WA_OPCJE_TMP,⏎
  -- którą aplikacja tworzy po zalogowaniu użytkownika.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NULL
  BEGIN
    SET @errmsg = '[13021] Brak tabeli opcji sesji #WA_OPCJE_TMP. ^OPCJA_TMP_ZAPISZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END

  UPDATE #WA_OPCJE_TMP⏎
     SET WARTOSC = @P_WARTOSC
   WHERE NAZWA = @P_NAZWA

  IF @@ROWCOUNT = 0
    INSERT INTO #WA_OPCJE_TMP (NAZWA, WARTOSC)
    VALUES (@P_NAZWA, @P_WARTOSC)

  RETURN 0
END)";
    return o;
}

ObiektBazy FunkcjaLoginUzytkownika() {
    ObiektBazy o;
    o.rodzaj = RodzajObiektu::FunkcjaSkalarna;
    o.nazwa = "fn_LOGIN_UZYTKOWNIKA";
    o.definicja = R"(CREATE FUNCTION dbo.fn_LOGIN_UZYTKOWNIKA ()
RETURNS VARCHAR(128)
{SZYFROWANIE}
AS
BEGIN
  /* Login użytkownika systemu to tekst za "U:" w nazwie aplikacji sesji. Sesja bez nazwy
     aplikacji albo narzędzia zapytań działa jako administrator. */
  DECLARE @aplikacja VARCHAR(128), @pozycja INT

  SET @aplikacja = ISNULL(APP_NAME(), '')
  SET @pozycja = CHARINDEX('U:', @aplikacja)⏎

  IF @aplikacja = ''
     OR @aplikacja LIKE 'MS SQLEM%'
     OR @aplikacja LIKE 'SQL Query Analyzer%'
     OR @aplikacja LIKE 'Microsoft SQL Server Management Studio%'
     OR @pozycja = 0
    RETURN 'admin'

  RETURN SUBSTRING(@aplikacja, @pozycja + 2, 128)
END)";
    return o;
}

// The template is created without the encryption marker: the copy batch reads its text back
// from SYSCOMMENTS, which an encrypted trigger would not show.
ObiektBazy WyzwalaczWzorcaLogu() {
    ObiektBazy o;
    o.rodzaj = RodzajObiektu::Wyzwalacz;
    o.nazwa = "TG_LOG_TABEL_UZYTK_UD";
    o.definicja = R"(CREATE TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD ON UZYTK
FOR UPDATE, DELETE
AS
BEGIN
  -- Wzorzec wyzwalacza dziennika zmian. Jego tekst jest kopiowany na każdą tabelę słownika
  -- S_TABELE, dlatego nie odwołuje się do kolumn tabeli UZYTK.
  -- Kolumna ”OPERACJA”: U – zmiana, D – usunięcie.
  DECLARE @ilosc INT, @tabela SYSNAME, @operacja CHAR(1)

  SELECT @ilosc = COUNT(*) FROM deleted
  IF @ilosc = 0
    RETURN

  SELECT @tabela = OBJECT_NAME(parent_obj)
    FROM dbo.sysobjects
   WHERE id = @@PROCID

  IF EXISTS (SELECT 'X' FROM inserted)
    SET @operacja = 'U'
  ELSE
    SET @operacja = 'D'

  INSERT INTO dbo.LOG_TABEL (NAZWA_TABELI, OPERACJA, ILOSC_WIERSZY, LOGIN, DATA)
  VALUES (@tabela, @operacja, @ilosc, dbo.fn_LOGIN_UZYTKOWNIKA(), GETDATE())
END)";
    return o;
}

void PiszSekcjeWzoruAplikacji(Kontekst& k) {
    const PlanPakietu& plan = k.plan;
    const LiczbyObiektow reczne = ObiektyReczneWzoruAplikacji(plan);
    const LiczbyObiektow szablonowe = {plan.wzorAplikacji.procedury - reczne.procedury,
                                       plan.wzorAplikacji.funkcje - reczne.funkcje,
                                       plan.wzorAplikacji.wyzwalacze - reczne.wyzwalacze};
    const std::vector<ObiektBazy> zSzablonow =
        ObiektySzablonowe(Obszar::WzorAplikacji, szablonowe, {});

    std::vector<ObiektBazy> obiekty;
    obiekty.push_back(FunkcjaLoginUzytkownika());
    std::copy_if(zSzablonow.begin(), zSzablonow.end(), std::back_inserter(obiekty), JestFunkcja);
    obiekty.push_back(ProceduraKonfigOpcjeZuvUpdate());
    obiekty.push_back(ProceduraOpcjaTmpZapisz());
    std::copy_if(zSzablonow.begin(), zSzablonow.end(), std::back_inserter(obiekty),
                 [](const ObiektBazy& o) { return !JestFunkcja(o); });
    obiekty.push_back(WyzwalaczWzorcaLogu());
    obiekty.front().komentarz =
        TekstRamki("-- PROCEDURY WZORU APLIKACJI") + obiekty.front().komentarz;

    PiszObiekty(k, obiekty);
    PiszKopieWyzwalaczaWzorca(k, plan.partieXsdZnaczone + plan.partieXsdNieznaczone > 0);
}

}  // namespace generator
