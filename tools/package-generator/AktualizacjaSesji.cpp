// The update-session flag: pc_ZUV_AKTUALIZACJA reads the row ZUV_AKTUALIZACJA of #WA_OPCJE_TMP
// that the update command writes, and the two triggers that stamp the modifying user on
// documents skip their work when it says 'T'.

#include "SekcjeObiektow.h"

namespace generator {

ObiektBazy ProceduraAktualizacjiSesji() {
    ObiektBazy o;
    o.nazwa = "pc_ZUV_AKTUALIZACJA";
    o.definicja = R"(CREATE PROCEDURE dbo.pc_ZUV_AKTUALIZACJA
  @P_ZUV_AKTUALIZACJA T_WYROZNIK_T_N OUTPUT
{SZYFROWANIE}
AS
BEGIN
  -- Czy sesja wykonuje aktualizację bazy: 'T' albo 'N'. Program aktualizacji zapisuje
  -- wiersz ZUV_AKTUALIZACJA w tabeli #WA_OPCJE_TMP przed pierwszym pakietem.⏎
  DECLARE @ilosc INT, @wartosc VARCHAR(255), @errno INT, @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SET @P_ZUV_AKTUALIZACJA = 'N'

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NULL
    RETURN 0

  SELECT @ilosc = COUNT(*)
    FROM #WA_OPCJE_TMP
   WHERE NAZWA = 'ZUV_AKTUALIZACJA'

  IF @ilosc = 0
    RETURN 0

  IF @ilosc > 1
  BEGIN
    SELECT @errno = 13000,
           @errmsg = 'Odczyt statusu aktualizacji nie powiódł się.' + CHAR(13) + CHAR(10) +
                     'Ilość wierszy: ' + CONVERT(VARCHAR(10), @ilosc) + '.'
    GOTO BLAD
  END

  SELECT @wartosc = WARTOSC
    FROM #WA_OPCJE_TMP
   WHERE NAZWA = 'ZUV_AKTUALIZACJA'

  IF @wartosc IS NULL OR @wartosc NOT IN ('T', 'N')
  BEGIN
    SELECT @errno = 13000,
           @errmsg = 'Niepoprawny status aktualizacji odczytany z tabeli #WA_OPCJE_TMP.'
    GOTO BLAD
  END

  SET @P_ZUV_AKTUALIZACJA = @wartosc
  RETURN 0

BLAD:
  SET @errmsg = '[' + CONVERT(VARCHAR(10), @errno) + '] ' + @errmsg + ' ^pc_ZUV_AKTUALIZACJA_MC'
  RAISERROR(@errmsg, 16, 1)
  RETURN -1
END)";
    return o;
}

namespace {

// The drop guards of the two triggers keep the definition they replaced, commented out; the
// runner's replacement turns its marker into a comment holding WITH ENCRYPTION.
constexpr std::string_view DawnyWyzwalaczDokumentow =
    R"(-- Do wersji 7.12 datę modyfikacji dokumentu ustawiał wyzwalacz:
-- CREATE TRIGGER dbo.TG_DOKUMENTY_DATA_MODYFIKACJI_U ON DOKUMENTY
-- -- 'C810A5C6-2053-412E-8618-652E1868305B'
-- FOR UPDATE
-- AS
--   UPDATE dbo.DOKUMENTY SET DATA_MODYFIKACJI = GETDATE()
--    WHERE ID_DOKUMENTU IN (SELECT ID_DOKUMENTU FROM inserted)
)";

constexpr std::string_view DawnyWyzwalaczElementow =
    R"(-- Poprzednia wersja wyzwalacza, bez obsługi aktualizacji bazy:
-- CREATE TRIGGER dbo.TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD ON ELEMENTY_DOK
-- -- 'C810A5C6-2053-412E-8618-652E1868305B'
-- FOR INSERT, UPDATE, DELETE
-- AS
--   UPDATE dbo.DOKUMENTY SET DATA_MODYFIKACJI = GETDATE()
--    WHERE ID_DOKUMENTU IN (SELECT ID_DOKUMENTU FROM inserted UNION SELECT ID_DOKUMENTU FROM deleted)
)";

constexpr std::string_view UstalenieUzytkownika = R"(
  EXEC @wynik = dbo.pc_ZUV_AKTUALIZACJA @aktualizacja OUTPUT
  IF @wynik <> 0
  BEGIN
    ROLLBACK TRANSACTION
    RETURN
  END
  -- Zmiany wykonywane przez pakiet aktualizacji nie zmieniają autora ani daty modyfikacji.
  IF @aktualizacja = 'T'
    RETURN

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NOT NULL
    SELECT @id_uzytkownika = CONVERT(INT, WARTOSC)
      FROM #WA_OPCJE_TMP
     WHERE NAZWA = 'ID_UZYTKOWNIKA'

  IF @id_uzytkownika IS NULL
  BEGIN
    RAISERROR('Ustalenie identyfikatora użytkownika nie powiodło się.', 16, 1)
    ROLLBACK TRANSACTION
    RETURN
  END
)";

}  // namespace

ObiektBazy WyzwalaczDokumentow() {
    ObiektBazy o;
    o.rodzaj = RodzajObiektu::Wyzwalacz;
    o.nazwa = "TG_DOKUMENTY_LOG_MODYFIKACJI_IU";
    o.komentarz = std::string(DawnyWyzwalaczDokumentow);
    o.definicja = std::string(R"(CREATE TRIGGER dbo.TG_DOKUMENTY_LOG_MODYFIKACJI_IU ON DOKUMENTY
{SZYFROWANIE}
FOR INSERT, UPDATE
AS
BEGIN
  DECLARE @aktualizacja T_WYROZNIK_T_N, @id_uzytkownika INT, @wynik INT

  IF NOT EXISTS (SELECT 'X' FROM inserted)
    RETURN
  SET NOCOUNT ON⏎)") +
                  std::string(UstalenieUzytkownika) + R"(
  UPDATE D
     SET ID_MODYFIKOWAL = @id_uzytkownika,
         DATA_MODYFIKACJI = GETDATE()
    FROM dbo.DOKUMENTY D
    JOIN inserted I ON I.ID_DOKUMENTU = D.ID_DOKUMENTU
END)";
    return o;
}

ObiektBazy WyzwalaczElementowDokumentow() {
    ObiektBazy o;
    o.rodzaj = RodzajObiektu::Wyzwalacz;
    o.nazwa = "TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD";
    o.komentarz = std::string(DawnyWyzwalaczElementow);
    o.definicja =
        std::string(R"(CREATE TRIGGER dbo.TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD ON ELEMENTY_DOK
{SZYFROWANIE}
FOR INSERT, UPDATE, DELETE
AS
BEGIN
  -- Zmiana pozycji dokumentu jest zmianą dokumentu: autora i datę modyfikacji⏎
  -- zapisuje się w nagłówku.⏎
  DECLARE @aktualizacja T_WYROZNIK_T_N, @id_uzytkownika INT, @wynik INT

  IF NOT EXISTS (SELECT 'X' FROM inserted) AND NOT EXISTS (SELECT 'X' FROM deleted)
    RETURN
  SET NOCOUNT ON)") +
        std::string(UstalenieUzytkownika) + R"(
  UPDATE dbo.DOKUMENTY
     SET ID_MODYFIKOWAL = @id_uzytkownika,
         DATA_MODYFIKACJI = GETDATE()
   WHERE ID_DOKUMENTU IN (SELECT ID_DOKUMENTU FROM inserted
                          UNION
                          SELECT ID_DOKUMENTU FROM deleted)
END)";
    return o;
}

}  // namespace generator
