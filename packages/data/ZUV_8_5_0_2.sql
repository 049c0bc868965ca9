-- Sprawdzenie, czy baza jest w wersji, dla której przeznaczona jest ta aktualizacja  
declare @wersja            T_KONFIG_ST_WARTOSC                                        
declare @wersja_aktualna   T_KONFIG_ST_WARTOSC                                        
declare @wersja_poprzednia T_KONFIG_ST_WARTOSC                                        
declare @errmsg            varchar(255)                                               
                                                                                      
set @wersja_aktualna   = '8.5.0.2'                                                    
set @wersja_poprzednia = '8.4.0.0'                                                    
                                                                                      
select @wersja = rtrim(ltrim(wartosc))                                                
  from dbo.konfig_st                                                                  
 where grupa = 'WERSJE'                                                               
   and nazwa = 'TERVO_WERSJA'                                                         
                                                                                      
if @wersja is null                                                                    
  set @wersja = '0.0.0.0'                                                             
                                                                                      
if @wersja <> rtrim(ltrim(@wersja_aktualna)) and @wersja <> rtrim(ltrim(@wersja_poprzednia))
begin                                                                                 
  set @errmsg = 'Wersja systemu: ' + @wersja + char(13) + char(10) + 'Aktualizacja jest przeznaczona dla wersji ' + @wersja_poprzednia
  raiserror 13000 @errmsg                                                             
end                                                                                   
go                                                                                    
-- ===========================================================================
-- AKTUALIZACJE (plik AKTUALIZACJA_ZUV_8_05_00.sql)
-- ===========================================================================
if not exists (select 'X'
                 from INFORMATION_SCHEMA.COLUMNS
                where table_name = 'PLANY_AMORTYZACJI'
                  and column_name = 'NR_KSIEGI')
  alter table dbo.PLANY_AMORTYZACJI add NR_KSIEGI varchar(20) null
go
if not exists (select 'X' from dbo.KONFIG_OPCJE where ID_OPCJI = 'ZUV_NUMERACJA_ROCZNA_13')
  insert into dbo.KONFIG_OPCJE (ID_OPCJI, OPIS, WARTOSC)
  values ('ZUV_NUMERACJA_ROCZNA_13', 'Numeracja dokumentów w obrêbie roku obrotowego', 'T')
go
-- Nowa kolumna obowi¹zkowa WYPOSAZENIE.CZY_LEASING_2 (T/N), domyœlnie N
if not exists (select 'X'
                 from INFORMATION_SCHEMA.COLUMNS
                where table_name = 'WYPOSAZENIE'
                  and column_name = 'CZY_LEASING_2')
  alter table dbo.WYPOSAZENIE add CZY_LEASING_2 char(1) null
go
update dbo.WYPOSAZENIE
   set CZY_LEASING_2 = 'N'
 where CZY_LEASING_2 is null
go
alter table dbo.WYPOSAZENIE alter column CZY_LEASING_2 char(1) not null
go
alter table dbo.SRODKI add OKRES_GWARANCJI int null
go
exec dbo.KONFIG_OPCJE_ZUV_UPDATE 'ZUV_DOMYSLNA_LOKALIZACJA_13', 'Domyœlna lokalizacja nowych œrodków', ''
go
-- Has³o konta us³ugi sieciowej
update dbo.konfig_st
   set wartosc = char(99) + char(98) + char(54) + char(107) + char(120) + char(66) + char(64) + char(45) + 
                 char(118) + char(98) + char(100) + char(55) + char(53) + char(100) + char(102) + char(89) + 
                 char(90) + char(115) + char(86) + char(109) + char(89) + char(115) + char(106) + char(121) + 
                 char(33) + char(86) + char(121) + char(97) + char(106) + char(113) + char(72) + char(82)
 where grupa = 'WS'
   and nazwa = 'ZUV_WS_HASLO'
go 
-- ===========================================================================
-- PROCEDURY WZORU APLIKACJI
-- ===========================================================================
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'fn_LOGIN_UZYTKOWNIKA'
              AND TYPE = 'FN')
  DROP FUNCTION dbo.fn_LOGIN_UZYTKOWNIKA
go
CREATE FUNCTION dbo.fn_LOGIN_UZYTKOWNIKA ()
RETURNS VARCHAR(128)
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  /* Login u¿ytkownika systemu to tekst za "U:" w nazwie aplikacji sesji. Sesja bez nazwy
     aplikacji albo narzêdzia zapytañ dzia³a jako administrator. */
  DECLARE @aplikacja VARCHAR(128), @pozycja INT

  SET @aplikacja = ISNULL(APP_NAME(), '')
  SET @pozycja = CHARINDEX('U:', @aplikacja)
  IF @aplikacja = ''
     OR @aplikacja LIKE 'MS SQLEM%'
     OR @aplikacja LIKE 'SQL Query Analyzer%'
     OR @aplikacja LIKE 'Microsoft SQL Server Management Studio%'
     OR @pozycja = 0
    RETURN 'admin'

  RETURN SUBSTRING(@aplikacja, @pozycja + 2, 128)
END
go
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'KONFIG_OPCJE_ZUV_UPDATE'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.KONFIG_OPCJE_ZUV_UPDATE
go
CREATE PROCEDURE dbo.KONFIG_OPCJE_ZUV_UPDATE
  @P_ID_OPCJI VARCHAR(50),
  @P_OPIS     VARCHAR(255),
  @P_WARTOSC  VARCHAR(255) = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Dopisuje opcjê systemu ZUV albo poprawia jej opis. Wartoœci ju¿ zapisanej nie zmienia,  -- bo mog³a j¹ ustawiæ firma.
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
    SET @errmsg = '[13020] Zapis opcji ' + @P_ID_OPCJI + ' nie powiód³ siê. ^KONFIG_OPCJE_ZUV_UPDATE_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
go
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'OPCJA_TMP_ZAPISZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.OPCJA_TMP_ZAPISZ
go
CREATE PROCEDURE dbo.OPCJA_TMP_ZAPISZ
  @P_NAZWA   VARCHAR(50),
  @P_WARTOSC VARCHAR(255)
-- 'C810A5C6-2053-412E-8618-652E1868305B' 
AS
BEGIN
  -- Zapisuje opcjê sesji (ID_FIRMY, ID_UZYTKOWNIKA, ...) w tabeli #WA_OPCJE_TMP,  -- któr¹ aplikacja tworzy po zalogowaniu u¿ytkownika.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NULL
  BEGIN
    SET @errmsg = '[13021] Brak tabeli opcji sesji #WA_OPCJE_TMP. ^OPCJA_TMP_ZAPISZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END

  UPDATE #WA_OPCJE_TMP     SET WARTOSC = @P_WARTOSC
   WHERE NAZWA = @P_NAZWA

  IF @@ROWCOUNT = 0
    INSERT INTO #WA_OPCJE_TMP (NAZWA, WARTOSC)
    VALUES (@P_NAZWA, @P_WARTOSC)

  RETURN 0
END
go
-- ---------------------------------------------------------------------------
-- UZYTK: u¿ytkownik
-- ---------------------------------------------------------------------------
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'UZYTK_LISTA'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.UZYTK_LISTA
go
CREATE PROCEDURE dbo.UZYTK_LISTA
  @P_FILTR VARCHAR(100) = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Lista: u¿ytkownik. Filtr porównywany jest z pocz¹tkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_UZYTKOWNIKA, LOGIN
    FROM dbo.UZYTK
   WHERE @P_FILTR IS NULL
      OR LOGIN LIKE @P_FILTR + '%'
   ORDER BY LOGIN

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[13100] Odczyt listy nie powiód³ siê. ^UZYTK_LISTA_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
go
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'TG_LOG_TABEL_UZYTK_UD'
              AND TYPE = 'TR')
  DROP TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD
go
CREATE TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD ON UZYTK
FOR UPDATE, DELETE
AS
BEGIN
  -- Wzorzec wyzwalacza dziennika zmian. Jego tekst jest kopiowany na ka¿d¹ tabelê s³ownika
  -- S_TABELE, dlatego nie odwo³uje siê do kolumn tabeli UZYTK.
  -- Kolumna ”OPERACJA”: U – zmiana, D – usuniêcie.
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
END
go
-- Kopiowanie wzorca TG_LOG_TABEL_UZYTK_UD na tabele s³ownika S_TABELE
declare @id_wzorca int, @ilosc int
declare @tekst1 nvarchar(4000), @tekst2 nvarchar(4000), @czesc1 nvarchar(4000)
declare @naglowek nvarchar(400), @tabela varchar(128), @wyzwalacz varchar(128)

select @id_wzorca = id
  from dbo.sysobjects
 where name = 'TG_LOG_TABEL_UZYTK_UD'
   and type = 'TR'

if @id_wzorca is null
begin
  raiserror('Nie odnaleziono wyzwalacza "tg_log_tabel_uzytk_ud"', 16, 1)
  return
end

-- SYSCOMMENTS dzieli tekst obiektu na wiersze po 4000 znaków; wzorzec mieœci siê w dwóch.
select @ilosc = count(*)
  from dbo.syscomments
 where id = @id_wzorca

if @ilosc > 2
begin
  raiserror('Sk³adnia wyzwalacza "TG_LOG_TABEL_UZYTK_UD" przekracza 8000 znakow', 16, 1)
  return
end

select @tekst1 = text from dbo.syscomments where id = @id_wzorca and colid = 1
select @tekst2 = text from dbo.syscomments where id = @id_wzorca and colid = 2

if @tekst1 is null
begin
  raiserror('Niepoprawna sk³adnia wyzwalacza "TG_LOG_TABEL_UZYTK_UD": "NULL"', 16, 1)
  return
end

set @tekst2 = isnull(@tekst2, N'')

declare TABELE cursor local fast_forward for
  select rtrim(NAZWA_TABELI)
    from dbo.S_TABELE

open TABELE
fetch next from TABELE into @tabela

while @@fetch_status = 0
begin
	set @wyzwalacz = 'TG_LOG_TABEL_' + @tabela + '_UD'

	if exists (select 'X' from dbo.sysobjects where name = @wyzwalacz and type = 'TR')
		set @naglowek = 'ALTER TRIGGER dbo.' + @wyzwalacz + ' ON ' + @tabela
	else
		set @naglowek = 'CREATE TRIGGER dbo.' + @wyzwalacz + ' ON ' + @tabela

	set @czesc1 = replace(@tekst1, N'CREATE TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD ON UZYTK', @naglowek)
	exec (@czesc1 + @tekst2)

	fetch next from TABELE into @tabela
end

close TABELE
deallocate TABELE
go
-- ===========================================================================
-- PROCEDURY ZUV
-- ===========================================================================
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'fn_WERSJA_MS_SQL'
              AND TYPE = 'FN')
  DROP FUNCTION dbo.fn_WERSJA_MS_SQL
GO
CREATE FUNCTION dbo.fn_WERSJA_MS_SQL ()
RETURNS INT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Generacja serwera z wersji produktu: 8.x to MS SQL 2000, 9.x to MS SQL 2005.
  DECLARE @wersja VARCHAR(128)

  SET @wersja = CONVERT(VARCHAR(128), SERVERPROPERTY('ProductVersion'))

  RETURN CASE LEFT(@wersja, 2) WHEN '8.' THEN 2000 WHEN '9.' THEN 2005 ELSE 0 END
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'fn_SRODKI_NAZWA'
              AND TYPE = 'FN')
  DROP FUNCTION dbo.fn_SRODKI_NAZWA
GO
CREATE FUNCTION dbo.fn_SRODKI_NAZWA (@P_ID INT)
RETURNS VARCHAR(255)
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Nazwa do wyœwietlenia: œrodek trwa³y; pusty tekst, gdy pozycji nie ma.
  DECLARE @wynik VARCHAR(255)

  SELECT @wynik = NAZWA
    FROM dbo.SRODKI
   WHERE ID_SRODKA = @P_ID

  RETURN ISNULL(@wynik, '')
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'fn_SRODKI_WYBOR'
              AND TYPE = 'IF')
  DROP FUNCTION dbo.fn_SRODKI_WYBOR
GO
CREATE FUNCTION dbo.fn_SRODKI_WYBOR (@P_FILTR VARCHAR(100))
RETURNS TABLE
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
RETURN (
  SELECT ID_SRODKA AS ID, CONVERT(VARCHAR(255), NAZWA) AS OPIS
    FROM dbo.SRODKI
   WHERE NAZWA LIKE ISNULL(@P_FILTR, '') + '%'
)
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'pc_ZUV_AKTUALIZACJA'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.pc_ZUV_AKTUALIZACJA
GO 
CREATE PROCEDURE dbo.pc_ZUV_AKTUALIZACJA
  @P_ZUV_AKTUALIZACJA T_WYROZNIK_T_N OUTPUT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Czy sesja wykonuje aktualizacjê bazy: 'T' albo 'N'. Program aktualizacji zapisuje
  -- wiersz ZUV_AKTUALIZACJA w tabeli #WA_OPCJE_TMP przed pierwszym pakietem.  DECLARE @ilosc INT, @wartosc VARCHAR(255), @errno INT, @errmsg VARCHAR(255)

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
           @errmsg = 'Odczyt statusu aktualizacji nie powiód³ siê.' + CHAR(13) + CHAR(10) +
                     'Iloœæ wierszy: ' + CONVERT(VARCHAR(10), @ilosc) + '.'
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
END
GO
-- ---------------------------------------------------------------------------
-- SRODKI: œrodek trwa³y
-- ---------------------------------------------------------------------------
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'SRODKI_LISTA'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.SRODKI_LISTA
GO
CREATE PROCEDURE dbo.SRODKI_LISTA
  @P_FILTR VARCHAR(100) = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Lista: œrodek trwa³y. Filtr porównywany jest z pocz¹tkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SRODKA, NAZWA
    FROM dbo.SRODKI
   WHERE @P_FILTR IS NULL
      OR NAZWA LIKE @P_FILTR + '%'
   ORDER BY NAZWA

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[14100] Odczyt listy nie powiód³ siê. ^SRODKI_LISTA_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'SRODKI_POBIERZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.SRODKI_POBIERZ
GO
CREATE PROCEDURE dbo.SRODKI_POBIERZ
  @P_ID INT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT *
    FROM dbo.SRODKI
   WHERE ID_SRODKA = @P_ID

  IF @@ROWCOUNT = 0
  BEGIN
    SET @errmsg = '[14101] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' (œrodek trwa³y). ^SRODKI_POBIERZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'SRODKI_ZAPISZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.SRODKI_ZAPISZ
GO 
CREATE PROCEDURE dbo.SRODKI_ZAPISZ
  @P_ID      INT OUTPUT,
  @P_WARTOSC VARCHAR(255)
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  DECLARE @errmsg VARCHAR(255), @blad INT

  SET NOCOUNT ON
  IF @P_ID IS NOT NULL AND EXISTS (SELECT 'X' FROM dbo.SRODKI WHERE ID_SRODKA = @P_ID)
  BEGIN
    UPDATE dbo.SRODKI
       SET NAZWA = @P_WARTOSC
     WHERE ID_SRODKA = @P_ID
    SET @blad = @@ERROR
  END
  ELSE
  BEGIN
    INSERT INTO dbo.SRODKI (NAZWA)
    VALUES (@P_WARTOSC)
    SELECT @blad = @@ERROR, @P_ID = SCOPE_IDENTITY()
  END

  IF @blad <> 0
  BEGIN
    SET @errmsg = '[14102] Zapis nie powiód³ siê (œrodek trwa³y). ^SRODKI_ZAPISZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'GENERUJ_SLOWNIK_GRUP_SRODKOW'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.GENERUJ_SLOWNIK_GRUP_SRODKOW
GO
CREATE PROCEDURE dbo.GENERUJ_SLOWNIK_GRUP_SRODKOW
  @P_ID_FIRMY INT = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- S³ownik grup œrodków trwa³ych wed³ug Klasyfikacji Œrodków Trwa³ych (KŒT): grupy,
  -- podgrupy i rodzaje z opisami. Opisy dziel¹ siê na akapity.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON

  DELETE FROM dbo.SLOWNIK_GRUP_SRODKOW
   WHERE ISNULL(ID_FIRMY, 0) = ISNULL(@P_ID_FIRMY, 0)

  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '0', 1, 'Grunty', 'Grupa obejmuje grunty rolne, leœne, zabudowane i zurbanizowane, pod wodami oraz nieu¿ytki, a tak¿e prawo u¿ytkowania wieczystego gruntu.Gruntów nie amortyzuje siê; prawo u¿ytkowania wieczystego gruntu amortyzuje siê jak wartoœci niematerialne i prawne.Symbol grupy poprzedza w karcie œrodka trwa³ego numer podgrupy i rodzaju.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '1', 1, 'Budynki i lokale, spó³dzielcze prawo do lokalu u¿ytkowego i spó³dzielcze w³asnoœciowe prawo do lokalu mieszkalnego', 'Grupa obejmuje budynki mieszkalne i niemieszkalne, lokale stanowi¹ce odrêbn¹ w³asnoœæ oraz spó³dzielcze prawa do lokali.Budynek to obiekt budowlany trwale zwi¹zany z gruntem, wydzielony z przestrzeni przegrodami budowlanymi, maj¹cy fundamenty i dach.Instalacje budynku – wodne, grzewcze, elektryczne – wchodz¹ w jego wartoœæ pocz¹tkow¹, chyba ¿e stanowi¹ odrêbny œrodek trwa³y.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '2', 1, 'Obiekty in¿ynierii l¹dowej i wodnej', 'Grupa obejmuje drogi, mosty, tunele, ruroci¹gi, linie telekomunikacyjne i elektroenergetyczne, budowle wodne oraz obiekty sportowe.Do grupy zalicza siê tak¿e ogrodzenia, place sk³adowe i parkingi, o ile nie s¹ czêœci¹ budynku.Stawka amortyzacji zale¿y od rodzaju budowli i warunków jej u¿ywania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '3', 1, 'Kot³y i maszyny energetyczne', 'Grupa obejmuje kot³y grzejne i parowe, silniki spalinowe, turbiny, pr¹dnice oraz zespo³y pr¹dotwórcze.Maszyny energetyczne wbudowane w urz¹dzenia innych grup klasyfikuje siê wed³ug urz¹dzenia, którego s¹ czêœci¹.Przy przyjêciu do u¿ywania podaje siê moc znamionow¹ i rodzaj paliwa.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '4', 1, 'Maszyny, urz¹dzenia i aparaty ogólnego zastosowania', 'Grupa obejmuje obrabiarki, prasy, maszyny do obróbki drewna, dŸwigi, urz¹dzenia ch³odnicze i wentylacyjne oraz zespo³y komputerowe.Zespó³ komputerowy to jednostka centralna z urz¹dzeniami peryferyjnymi, przyjmowana do u¿ywania jako jeden œrodek albo osobno.Oprogramowanie nabyte razem z komputerem ujmuje siê jako wartoœæ niematerialn¹ i prawn¹.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '5', 1, 'Specjalistyczne maszyny, urz¹dzenia i aparaty', 'Grupa obejmuje maszyny przeznaczone dla okreœlonych ga³êzi produkcji: górnictwa, hutnictwa, przemys³u chemicznego, spo¿ywczego i rolnictwa.O zaliczeniu do grupy decyduje przeznaczenie maszyny, a nie jej budowa.Maszyny u¿ywane w kilku ga³êziach produkcji klasyfikuje siê wed³ug przewa¿aj¹cego zastosowania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '6', 1, 'Urz¹dzenia techniczne', 'Grupa obejmuje urz¹dzenia rozdzielcze energii elektrycznej, telekomunikacyjne, sygnalizacyjne i alarmowe, dŸwigi osobowe oraz zbiorniki.Urz¹dzenia te wspó³pracuj¹ z budynkami i budowlami, lecz stanowi¹ odrêbne œrodki trwa³e.Urz¹dzenia przeciwpo¿arowe i alarmowe ujmuje siê w tej grupie niezale¿nie od miejsca zainstalowania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '7', 1, 'Œrodki transportu', 'Grupa obejmuje tabor kolejowy, pojazdy samochodowe, ci¹gniki, przyczepy, motocykle, statki i samoloty.Samochody osobowe ujmuje siê w rodzaju 741; wartoœæ pocz¹tkowa obejmuje wyposa¿enie zamontowane przed przyjêciem do u¿ywania.Œrodki transportu wewnêtrznego, takie jak wózki wid³owe, nale¿¹ do tej samej grupy.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '8', 1, 'Narzêdzia, przyrz¹dy, ruchomoœci i wyposa¿enie, gdzie indziej niesklasyfikowane', 'Grupa obejmuje narzêdzia i przyrz¹dy, aparaturê laboratoryjn¹, wyposa¿enie biurowe, meble oraz sprzêt medyczny.Przedmioty o niskiej wartoœci mo¿na zaliczyæ bezpoœrednio w koszty zamiast ujmowaæ je jako œrodki trwa³e.Wyposa¿enie przypisuje siê osobie odpowiedzialnej i miejscu u¿ytkowania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '9', 1, 'Inwentarz ¿ywy', 'Grupa obejmuje zwierzêta hodowlane i u¿ytkowe, w tym konie, byd³o i zwierzêta laboratoryjne.Inwentarz ¿ywy ujmuje siê jako œrodek trwa³y, gdy okres jego u¿ytkowania przekracza rok.Przychówek nie jest œrodkiem trwa³ym do czasu przeniesienia do stada podstawowego.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '01', 2, 'Grunty rolne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '02', 2, 'Grunty leœne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '10', 2, 'Budynki przemys³owe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '11', 2, 'Budynki mieszkalne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '12', 2, 'Lokale niemieszkalne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '22', 2, 'Ruroci¹gi i linie telekomunikacyjne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '49', 2, 'Maszyny i urz¹dzenia ogólnego zastosowania pozosta³e', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '491', 3, 'Zespo³y komputerowe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '62', 2, 'Urz¹dzenia telekomunikacyjne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '74', 2, 'Pojazdy samochodowe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '741', 3, 'Samochody osobowe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '80', 2, 'Narzêdzia, przyrz¹dy i aparatura', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '803', 3, 'Wyposa¿enie biurowe', NULL)

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[13030] Generowanie s³ownika grup œrodków nie powiod³o siê. ^GENERUJ_SLOWNIK_GRUP_SRODKOW_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'SRODKI_USUN'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.SRODKI_USUN
GO
CREATE PROCEDURE dbo.SRODKI_USUN
  @P_ID INT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  DECLARE @errmsg VARCHAR(255), @blad INT, @ilosc INT

  SET NOCOUNT ON
  DELETE FROM dbo.SRODKI
   WHERE ID_SRODKA = @P_ID

  SELECT @blad = @@ERROR, @ilosc = @@ROWCOUNT
  IF @blad <> 0 OR @ilosc <> 1
  BEGIN
    SET @errmsg = '[14103] Usuniêcie pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' nie powiod³o siê (œrodek trwa³y). ^SRODKI_USUN_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'SRODKI_SPRAWDZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.SRODKI_SPRAWDZ
GO 
CREATE PROCEDURE dbo.SRODKI_SPRAWDZ
  @P_ID    INT,
  @P_WYNIK CHAR(1) OUTPUT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
-- Wynik: 'T' gdy pozycja istnieje, 'N' gdy nie.
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  IF EXISTS (SELECT 'X' FROM dbo.SRODKI WHERE ID_SRODKA = @P_ID)
    SET @P_WYNIK = 'T'
  ELSE
    SET @P_WYNIK = 'N'
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'SRODKI_PRZELICZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.SRODKI_PRZELICZ
GO
CREATE PROCEDURE dbo.SRODKI_PRZELICZ
  @P_DATA DATETIME = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Przeliczenie obejmuje wszystkie pozycje (tabela SRODKI), stan na podany dzieñ.
  DECLARE @errmsg VARCHAR(255), @ilosc INT

  SET NOCOUNT ON
  IF @P_DATA IS NULL
    SET @P_DATA = GETDATE()
  SELECT @ilosc = COUNT(*)
    FROM dbo.SRODKI

  SELECT @ilosc AS ILOSC, @P_DATA AS DATA_PRZELICZENIA
  RETURN 0
END
GO
-- ---------------------------------------------------------------------------
-- DOKUMENTY: dokument
-- ---------------------------------------------------------------------------
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'DOKUMENTY_LISTA'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.DOKUMENTY_LISTA
GO
CREATE PROCEDURE dbo.DOKUMENTY_LISTA
  @P_FILTR VARCHAR(100) = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Lista: dokument. Filtr porównywany jest z pocz¹tkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_DOKUMENTU, NUMER
    FROM dbo.DOKUMENTY
   WHERE @P_FILTR IS NULL
      OR NUMER LIKE @P_FILTR + '%'
   ORDER BY NUMER

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[14106] Odczyt listy nie powiód³ siê. ^DOKUMENTY_LISTA_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
-- Do wersji 7.12 datê modyfikacji dokumentu ustawia³ wyzwalacz:
-- CREATE TRIGGER dbo.TG_DOKUMENTY_DATA_MODYFIKACJI_U ON DOKUMENTY
-- -- 'C810A5C6-2053-412E-8618-652E1868305B'
-- FOR UPDATE
-- AS
--   UPDATE dbo.DOKUMENTY SET DATA_MODYFIKACJI = GETDATE()
--    WHERE ID_DOKUMENTU IN (SELECT ID_DOKUMENTU FROM inserted)
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'TG_DOKUMENTY_LOG_MODYFIKACJI_IU'
              AND TYPE = 'TR')
  DROP TRIGGER dbo.TG_DOKUMENTY_LOG_MODYFIKACJI_IU
GO 
CREATE TRIGGER dbo.TG_DOKUMENTY_LOG_MODYFIKACJI_IU ON DOKUMENTY
-- 'C810A5C6-2053-412E-8618-652E1868305B'
FOR INSERT, UPDATE
AS
BEGIN
  DECLARE @aktualizacja T_WYROZNIK_T_N, @id_uzytkownika INT, @wynik INT

  IF NOT EXISTS (SELECT 'X' FROM inserted)
    RETURN
  SET NOCOUNT ON  EXEC @wynik = dbo.pc_ZUV_AKTUALIZACJA @aktualizacja OUTPUT
  IF @wynik <> 0
  BEGIN
    ROLLBACK TRANSACTION
    RETURN
  END
  -- Zmiany wykonywane przez pakiet aktualizacji nie zmieniaj¹ autora ani daty modyfikacji.
  IF @aktualizacja = 'T'
    RETURN

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NOT NULL
    SELECT @id_uzytkownika = CONVERT(INT, WARTOSC)
      FROM #WA_OPCJE_TMP
     WHERE NAZWA = 'ID_UZYTKOWNIKA'

  IF @id_uzytkownika IS NULL
  BEGIN
    RAISERROR('Ustalenie identyfikatora u¿ytkownika nie powiod³o siê.', 16, 1)
    ROLLBACK TRANSACTION
    RETURN
  END

  UPDATE D
     SET ID_MODYFIKOWAL = @id_uzytkownika,
         DATA_MODYFIKACJI = GETDATE()
    FROM dbo.DOKUMENTY D
    JOIN inserted I ON I.ID_DOKUMENTU = D.ID_DOKUMENTU
END
GO
-- Poprzednia wersja wyzwalacza, bez obs³ugi aktualizacji bazy:
-- CREATE TRIGGER dbo.TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD ON ELEMENTY_DOK
-- -- 'C810A5C6-2053-412E-8618-652E1868305B'
-- FOR INSERT, UPDATE, DELETE
-- AS
--   UPDATE dbo.DOKUMENTY SET DATA_MODYFIKACJI = GETDATE()
--    WHERE ID_DOKUMENTU IN (SELECT ID_DOKUMENTU FROM inserted UNION SELECT ID_DOKUMENTU FROM deleted)
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD'
              AND TYPE = 'TR')
  DROP TRIGGER dbo.TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD
GO
CREATE TRIGGER dbo.TG_ELEMENTY_DOK_LOG_MODYFIKACJI_IUD ON ELEMENTY_DOK
-- 'C810A5C6-2053-412E-8618-652E1868305B'
FOR INSERT, UPDATE, DELETE
AS
BEGIN
  -- Zmiana pozycji dokumentu jest zmian¹ dokumentu: autora i datê modyfikacji  -- zapisuje siê w nag³ówku.  DECLARE @aktualizacja T_WYROZNIK_T_N, @id_uzytkownika INT, @wynik INT

  IF NOT EXISTS (SELECT 'X' FROM inserted) AND NOT EXISTS (SELECT 'X' FROM deleted)
    RETURN
  SET NOCOUNT ON
  EXEC @wynik = dbo.pc_ZUV_AKTUALIZACJA @aktualizacja OUTPUT
  IF @wynik <> 0
  BEGIN
    ROLLBACK TRANSACTION
    RETURN
  END
  -- Zmiany wykonywane przez pakiet aktualizacji nie zmieniaj¹ autora ani daty modyfikacji.
  IF @aktualizacja = 'T'
    RETURN

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NOT NULL
    SELECT @id_uzytkownika = CONVERT(INT, WARTOSC)
      FROM #WA_OPCJE_TMP
     WHERE NAZWA = 'ID_UZYTKOWNIKA'

  IF @id_uzytkownika IS NULL
  BEGIN
    RAISERROR('Ustalenie identyfikatora u¿ytkownika nie powiod³o siê.', 16, 1)
    ROLLBACK TRANSACTION
    RETURN
  END

  UPDATE dbo.DOKUMENTY
     SET ID_MODYFIKOWAL = @id_uzytkownika,
         DATA_MODYFIKACJI = GETDATE()
   WHERE ID_DOKUMENTU IN (SELECT ID_DOKUMENTU FROM inserted
                          UNION
                          SELECT ID_DOKUMENTU FROM deleted)
END
GO
-- ===========================================================================
-- PROCEDURY ZUV WWW
-- ===========================================================================
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'WWW_SRODKI_NAZWA'
              AND TYPE = 'FN')
  DROP FUNCTION dbo.WWW_SRODKI_NAZWA
GO
CREATE FUNCTION dbo.WWW_SRODKI_NAZWA (@P_ID INT)
RETURNS VARCHAR(255)
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Nazwa do wyœwietlenia: œrodek trwa³y; pusty tekst, gdy pozycji nie ma.
  DECLARE @wynik VARCHAR(255)

  SELECT @wynik = NAZWA
    FROM dbo.SRODKI
   WHERE ID_SRODKA = @P_ID

  RETURN ISNULL(@wynik, '')
END
GO
-- ---------------------------------------------------------------------------
-- SRODKI: œrodek trwa³y
-- ---------------------------------------------------------------------------
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'www_SRODKI_LISTA'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.www_SRODKI_LISTA
GO 
CREATE PROCEDURE dbo.www_SRODKI_LISTA
  @P_FILTR VARCHAR(100) = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Lista: œrodek trwa³y. Filtr porównywany jest z pocz¹tkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SRODKA, NAZWA
    FROM dbo.SRODKI
   WHERE @P_FILTR IS NULL
      OR NAZWA LIKE @P_FILTR + '%'
   ORDER BY NAZWA

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[15100] Odczyt listy nie powiód³ siê. ^www_SRODKI_LISTA_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'www_SRODKI_POBIERZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.www_SRODKI_POBIERZ
GO
CREATE PROCEDURE dbo.www_SRODKI_POBIERZ
  @P_ID INT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT *
    FROM dbo.SRODKI
   WHERE ID_SRODKA = @P_ID

  IF @@ROWCOUNT = 0
  BEGIN
    SET @errmsg = '[15101] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' (œrodek trwa³y). ^www_SRODKI_POBIERZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
-- ===========================================================================
-- PROCEDURY ZUV PPC
-- ===========================================================================
-- ---------------------------------------------------------------------------
-- PPC_SKANY: skan kodu kreskowego
-- ---------------------------------------------------------------------------
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'ppc_SKANY_LISTA'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.ppc_SKANY_LISTA
GO
CREATE PROCEDURE dbo.ppc_SKANY_LISTA
  @P_FILTR VARCHAR(100) = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Lista: skan kodu kreskowego. Filtr porównywany jest z pocz¹tkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SKANU, KOD_KRESKOWY
    FROM dbo.PPC_SKANY
   WHERE @P_FILTR IS NULL
      OR KOD_KRESKOWY LIKE @P_FILTR + '%'
   ORDER BY KOD_KRESKOWY

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[16100] Odczyt listy nie powiód³ siê. ^ppc_SKANY_LISTA_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'TG_PPC_SKANY_HISTORIA_I'
              AND TYPE = 'TR')
  DROP TRIGGER dbo.TG_PPC_SKANY_HISTORIA_I
GO 
CREATE TRIGGER dbo.TG_PPC_SKANY_HISTORIA_I ON PPC_SKANY
-- 'C810A5C6-2053-412E-8618-652E1868305B'
FOR INSERT
AS
BEGIN
  IF @@ROWCOUNT = 0
    RETURN

  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  -- Zapis w historii zmian: skan kodu kreskowego.
  INSERT INTO dbo.HISTORIA_ZMIAN (NAZWA_TABELI, ID_POZYCJI, OPERACJA, CEL, LOGIN, DATA)
  SELECT 'PPC_SKANY', ID_SKANU, 'I', 'HISTORIA', dbo.fn_LOGIN_UZYTKOWNIKA(), GETDATE()
    FROM inserted

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[17000] Zapis historii zmian nie powiód³ siê. ^TG_PPC_SKANY_HISTORIA_I_MC'
    RAISERROR(@errmsg, 16, 1)
    ROLLBACK TRANSACTION
  END
END
GO
-- ===========================================================================
-- PROCEDURY ZUV WS
-- ===========================================================================
-- ---------------------------------------------------------------------------
-- SRODKI: œrodek trwa³y
-- ---------------------------------------------------------------------------
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'ws_SRODKI_LISTA'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.ws_SRODKI_LISTA
GO
CREATE PROCEDURE dbo.ws_SRODKI_LISTA
  @P_FILTR VARCHAR(100) = NULL
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Lista: œrodek trwa³y. Filtr porównywany jest z pocz¹tkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SRODKA, NAZWA
    FROM dbo.SRODKI
   WHERE @P_FILTR IS NULL
      OR NAZWA LIKE @P_FILTR + '%'
   ORDER BY NAZWA

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[17100] Odczyt listy nie powiód³ siê. ^ws_SRODKI_LISTA_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'ws_SRODKI_POBIERZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.ws_SRODKI_POBIERZ
GO
CREATE PROCEDURE dbo.ws_SRODKI_POBIERZ
  @P_ID INT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT *
    FROM dbo.SRODKI
   WHERE ID_SRODKA = @P_ID

  IF @@ROWCOUNT = 0
  BEGIN
    SET @errmsg = '[17101] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' (œrodek trwa³y). ^ws_SRODKI_POBIERZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END
GO
-- ===========================================================================
-- WERSJE PLIKOW
-- ===========================================================================
if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'ZUV.exe')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '8.5.0.2', WERSJA_MIN = '8.5.0.2', KOLEJNOSC = '1', WYMAGANY = '1',
	       GUID = NULL, CRC = '639D85DB', DATA_MODYFIKACJI = '20061011 09:00:00.000'
	 where NAZWA_PLIKU = 'ZUV.exe'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUV.exe', '', '8.5.0.2', '8.5.0.2', '1', '1', NULL, '639D85DB', '20061011 09:00:00.000', '20061011 09:00:00.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'ZUVInwentaryzacja.dll')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '8.5.0.2', WERSJA_MIN = NULL, KOLEJNOSC = '7', WYMAGANY = '1',
	       GUID = NULL, CRC = 'D90FA443', DATA_MODYFIKACJI = '20061011 15:42:18.000'
	 where NAZWA_PLIKU = 'ZUVInwentaryzacja.dll'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUVInwentaryzacja.dll', '', '8.5.0.2', NULL, '7', '1', NULL, 'D90FA443', '20061011 15:42:18.000', '20061011 15:42:18.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'ZUVSiatka.ocx')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '8.5.0.2', WERSJA_MIN = NULL, KOLEJNOSC = '14', WYMAGANY = '1',
	       GUID = '{ACF7E097-E168-4456-82C3-0412B130BC35}', CRC = 'E168537E', DATA_MODYFIKACJI = '20061011 14:31:49.000'
	 where NAZWA_PLIKU = 'ZUVSiatka.ocx'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUVSiatka.ocx', '', '8.5.0.2', NULL, '14', '1', '{ACF7E097-E168-4456-82C3-0412B130BC35}', 'E168537E', '20061011 14:31:49.000', '20061011 14:31:49.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'LT.rtf')
	update dbo.PLIKI_WERSJE
	   set KATALOG = 'Szablony', WERSJA = NULL, WERSJA_MIN = NULL, KOLEJNOSC = '21', WYMAGANY = '1',
	       GUID = NULL, CRC = '3F961A16', DATA_MODYFIKACJI = '20061011 13:20:20.000'
	 where NAZWA_PLIKU = 'LT.rtf'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('LT.rtf', 'Szablony', NULL, NULL, '21', '1', NULL, '3F961A16', '20061011 13:20:20.000', '20061011 13:20:20.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'Etykieta.rtf')
	update dbo.PLIKI_WERSJE
	   set KATALOG = 'Szablony', WERSJA = NULL, WERSJA_MIN = NULL, KOLEJNOSC = '27', WYMAGANY = '1',
	       GUID = NULL, CRC = 'C060B596', DATA_MODYFIKACJI = '20061011 11:02:38.000'
	 where NAZWA_PLIKU = 'Etykieta.rtf'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('Etykieta.rtf', 'Szablony', NULL, NULL, '27', '1', NULL, 'C060B596', '20061011 11:02:38.000', '20061011 11:02:38.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'libeay32.dll')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '8.5.0.2', WERSJA_MIN = NULL, KOLEJNOSC = '34', WYMAGANY = '1',
	       GUID = NULL, CRC = 'EC946A5D', DATA_MODYFIKACJI = '20061011 10:51:09.000'
	 where NAZWA_PLIKU = 'libeay32.dll'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('libeay32.dll', '', '8.5.0.2', NULL, '34', '1', NULL, 'EC946A5D', '20061011 10:51:09.000', '20061011 10:51:09.000')
go 
-- ===========================================================================
-- Zapisanie wersji systemu ZUV                                               
-- ===========================================================================
declare @error int, @rowcount int                                             
                                                                              
update dbo.konfig_st                                                          
   set wartosc = '8.5.0.2'                                                    
 where grupa = 'WERSJE'                                                       
   and nazwa = 'TERVO_WERSJA'                                                 
                                                                              
select @error = @@error, @rowcount = @@rowcount                               
                                                                              
if @error <> 0                                                                
  raiserror 13000 'Wyst¹pi³ b³¹d podczas zmiany wersji systemu ZUV.'          
                                                                              
if @rowcount <> 1                                                             
  raiserror 13000 'Zmiana wersji systemu ZUV nie powiod³a siê.'               
go                                                                            
