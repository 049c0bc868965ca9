-- Sprawdzenie, czy baza jest w wersji, dla ktÛrej przeznaczona jest ta aktualizacja  
declare @wersja            T_KONFIG_ST_WARTOSC                                        
declare @wersja_aktualna   T_KONFIG_ST_WARTOSC                                        
declare @wersja_poprzednia T_KONFIG_ST_WARTOSC                                        
declare @errmsg            varchar(255)                                               
                                                                                      
set @wersja_aktualna   = '10.14.0.1'                                                    
set @wersja_poprzednia = '10.13.0.1'                                                    
                                                                                      
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
-- AKTUALIZACJE (plik AKTUALIZACJA_ZUV_10_14_00.sql)
-- ===========================================================================
if not exists (select 'X'
                 from INFORMATION_SCHEMA.COLUMNS
                where table_name = 'OSOBY_ODPOWIEDZIALNE'
                  and column_name = 'WARTOSC_BILANSOWA_4')
  alter table dbo.OSOBY_ODPOWIEDZIALNE add WARTOSC_BILANSOWA_4 money null
go
if not exists (select 'X' from dbo.KONFIG_OPCJE where ID_OPCJI = 'ZUV_NUMERACJA_ROCZNA_91')
  insert into dbo.KONFIG_OPCJE (ID_OPCJI, OPIS, WARTOSC)
  values ('ZUV_NUMERACJA_ROCZNA_91', 'Numeracja dokumentÛw w obrÍbie roku obrotowego', 'T')
go
-- Nowa kolumna obowiπzkowa INWENTARYZACJE.CZY_ZABYTEK_9 (T/N), domyúlnie N
if not exists (select 'X'
                 from INFORMATION_SCHEMA.COLUMNS
                where table_name = 'INWENTARYZACJE'
                  and column_name = 'CZY_ZABYTEK_9')
  alter table dbo.INWENTARYZACJE add CZY_ZABYTEK_9 char(1) null
go
update dbo.INWENTARYZACJE
   set CZY_ZABYTEK_9 = 'N'
 where CZY_ZABYTEK_9 is null
go
alter table dbo.INWENTARYZACJE alter column CZY_ZABYTEK_9 char(1) not null
go
alter table dbo.PLANY_AMORTYZACJI add WARTOSC_BILANSOWA_4 money null
go
exec dbo.KONFIG_OPCJE_ZUV_UPDATE 'ZUV_DOMYSLNA_LOKALIZACJA_91', 'Domyúlna lokalizacja nowych úrodkÛw', ''
go
-- Has≥o konta us≥ugi sieciowej
update dbo.konfig_st
   set wartosc = char(80) + char(51) + char(75) + char(81) + char(84) + char(57) + char(105) + char(81) + 
                 char(103) + char(101) + char(112) + char(37) + char(56) + char(109) + char(71) + char(107) + 
                 char(103) + char(116) + char(90) + char(97) + char(111) + char(106) + char(70) + char(80) + 
                 char(110) + char(106) + char(105) + char(63) + char(54) + char(99) + char(86) + char(90)
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
  /* Login uøytkownika systemu to tekst za "U:" w nazwie aplikacji sesji. Sesja bez nazwy
     aplikacji albo narzÍdzia zapytaÒ dzia≥a jako administrator. */
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
  -- Dopisuje opcjÍ systemu ZUV albo poprawia jej opis. Wartoúci juø zapisanej nie zmienia,  -- bo mog≥a jπ ustawiÊ firma.
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
    SET @errmsg = '[13020] Zapis opcji ' + @P_ID_OPCJI + ' nie powiÛd≥ siÍ. ^KONFIG_OPCJE_ZUV_UPDATE_MC'
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
  -- Zapisuje opcjÍ sesji (ID_FIRMY, ID_UZYTKOWNIKA, ...) w tabeli #WA_OPCJE_TMP,  -- ktÛrπ aplikacja tworzy po zalogowaniu uøytkownika.
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
-- UZYTK: uøytkownik
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
  -- Lista: uøytkownik. Filtr porÛwnywany jest z poczπtkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_UZYTKOWNIKA, LOGIN
    FROM dbo.UZYTK
   WHERE @P_FILTR IS NULL
      OR LOGIN LIKE @P_FILTR + '%'
   ORDER BY LOGIN

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[13100] Odczyt listy nie powiÛd≥ siÍ. ^UZYTK_LISTA_MC'
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
  -- Wzorzec wyzwalacza dziennika zmian. Jego tekst jest kopiowany na kaødπ tabelÍ s≥ownika
  -- S_TABELE, dlatego nie odwo≥uje siÍ do kolumn tabeli UZYTK.
  -- Kolumna îOPERACJAî: U ñ zmiana, D ñ usuniÍcie.
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
-- Kopiowanie wzorca TG_LOG_TABEL_UZYTK_UD na tabele s≥ownika S_TABELE
declare @id_wzorca int, @ilosc int
declare @tekst1 nvarchar(4000), @tekst2 nvarchar(4000), @czesc1 nvarchar(4000)
declare @naglowek nvarchar(400), @tabela varchar(128), @wyzwalacz varchar(128)
declare @stan char(1)

select @id_wzorca = id
  from dbo.sysobjects
 where name = 'TG_LOG_TABEL_UZYTK_UD'
   and type = 'TR'

if @id_wzorca is null
begin
  raiserror('Nie odnaleziono wyzwalacza "tg_log_tabel_uzytk_ud"', 16, 1)
  return
end

-- SYSCOMMENTS dzieli tekst obiektu na wiersze po 4000 znakÛw; wzorzec mieúci siÍ w dwÛch.
select @ilosc = count(*)
  from dbo.syscomments
 where id = @id_wzorca

if @ilosc > 2
begin
  raiserror('Sk≥adnia wyzwalacza "TG_LOG_TABEL_UZYTK_UD" przekracza 8000 znakow', 16, 1)
  return
end

select @tekst1 = text from dbo.syscomments where id = @id_wzorca and colid = 1
select @tekst2 = text from dbo.syscomments where id = @id_wzorca and colid = 2

if @tekst1 is null
begin
  raiserror('Niepoprawna sk≥adnia wyzwalacza "TG_LOG_TABEL_UZYTK_UD": "NULL"', 16, 1)
  return
end

set @tekst2 = isnull(@tekst2, N'')

declare TABELE cursor local fast_forward for
  select rtrim(NAZWA_TABELI), isnull(STAN, 'T')
    from dbo.S_TABELE

open TABELE
fetch next from TABELE into @tabela, @stan

while @@fetch_status = 0
begin
	set @wyzwalacz = 'TG_LOG_TABEL_' + @tabela + '_UD'

	if exists (select 'X' from dbo.sysobjects where name = @wyzwalacz and type = 'TR')
		set @naglowek = 'ALTER TRIGGER dbo.' + @wyzwalacz + ' ON ' + @tabela
	else
		set @naglowek = 'CREATE TRIGGER dbo.' + @wyzwalacz + ' ON ' + @tabela

	set @czesc1 = replace(@tekst1, N'CREATE TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD ON UZYTK', @naglowek)
	exec (@czesc1 + @tekst2)

	-- Tabele wy≥πczone z dziennika (STAN = 'N') dostajπ wyzwalacz wy≥πczony.
	if @stan = 'N'
		exec ('ALTER TABLE ' + @tabela + ' DISABLE TRIGGER ' + @wyzwalacz)

	fetch next from TABELE into @tabela, @stan
end

close TABELE
deallocate TABELE
-- ===========================================================================
-- XSD ZUV
-- ===========================================================================
go
-- $MIN_SQL_2005
IF EXISTS (SELECT 'X'
             FROM sys.xml_schema_collections
            WHERE name = 'XSD_DOKUMENT_OT')
  DROP XML SCHEMA COLLECTION dbo.XSD_DOKUMENT_OT
GO
-- $MIN_SQL_2005
CREATE XML SCHEMA COLLECTION dbo.XSD_DOKUMENT_OT AS N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema"
            targetNamespace="urn:zuv:dokument-ot"
            xmlns="urn:zuv:dokument-ot"
            elementFormDefault="qualified">
  <xsd:element name="DOKUMENT_OT">
    <xsd:annotation>
      <xsd:documentation>Komunikat: przyjÍcie úrodka trwa≥ego</xsd:documentation>
    </xsd:annotation>
    <xsd:complexType>
      <xsd:sequence>
        <xsd:element name="Numer" type="xsd:string"/>
        <xsd:element name="Pozycja" minOccurs="0" maxOccurs="unbounded">
          <xsd:complexType>
            <xsd:attribute name="Symbol" type="xsd:string" use="required"/>
            <xsd:attribute name="Wartosc" type="xsd:decimal"/>
          </xsd:complexType>
        </xsd:element>
      </xsd:sequence>
    </xsd:complexType>
  </xsd:element>
</xsd:schema>'
GO
-- $MIN_SQL_2005
ALTER XML SCHEMA COLLECTION dbo.XSD_DOKUMENT_OT ADD N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema"
            targetNamespace="urn:zuv:dokument-ot"
            xmlns="urn:zuv:dokument-ot"
            elementFormDefault="qualified">
  <xsd:element name="DOKUMENT_OT_KOREKTA" type="xsd:string"/>
</xsd:schema>'
GO
-- $MIN_SQL_2005
IF EXISTS (SELECT 'X'
             FROM sys.xml_schema_collections
            WHERE name = 'XSD_DOKUMENT_LT')
  DROP XML SCHEMA COLLECTION dbo.XSD_DOKUMENT_LT
GO
-- $MIN_SQL_2005
CREATE XML SCHEMA COLLECTION dbo.XSD_DOKUMENT_LT AS N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema"
            targetNamespace="urn:zuv:dokument-lt"
            xmlns="urn:zuv:dokument-lt"
            elementFormDefault="qualified">
  <xsd:element name="DOKUMENT_LT">
    <xsd:annotation>
      <xsd:documentation>Komunikat: likwidacja úrodka trwa≥ego</xsd:documentation>
    </xsd:annotation>
    <xsd:complexType>
      <xsd:sequence>
        <xsd:element name="Numer" type="xsd:string"/>
        <xsd:element name="Pozycja" minOccurs="0" maxOccurs="unbounded">
          <xsd:complexType>
            <xsd:attribute name="Symbol" type="xsd:string" use="required"/>
            <xsd:attribute name="Wartosc" type="xsd:decimal"/>
          </xsd:complexType>
        </xsd:element>
      </xsd:sequence>
    </xsd:complexType>
  </xsd:element>
</xsd:schema>'
GO
-- $MIN_SQL_2005
ALTER XML SCHEMA COLLECTION dbo.XSD_DOKUMENT_LT ADD N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema"
            targetNamespace="urn:zuv:dokument-lt"
            xmlns="urn:zuv:dokument-lt"
            elementFormDefault="qualified">
  <xsd:element name="DOKUMENT_LT_KOREKTA" type="xsd:string"/>
</xsd:schema>'
GO
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
  -- Generacja serwera z numeru g≥Ûwnego wersji produktu (cyfry przed pierwszπ kropkπ).
  -- Serwer MS SQL 2008 (10.x) dzia≥a tu jak MS SQL 2005.
  DECLARE @wersja VARCHAR(128), @glowna VARCHAR(3)

  SET @wersja = CONVERT(VARCHAR(128), SERVERPROPERTY('ProductVersion'))
  SET @glowna = LEFT(@wersja, 3)
  IF CHARINDEX('.', @glowna) > 0
    SET @glowna = LEFT(@glowna, CHARINDEX('.', @glowna) - 1)

  RETURN CASE @glowna WHEN '8' THEN 2000 WHEN '9' THEN 2005 WHEN '10' THEN 2005 ELSE 0 END
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
  -- Nazwa do wyúwietlenia: úrodek trwa≥y; pusty tekst, gdy pozycji nie ma.
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
            WHERE NAME = 'fn_SRODKI_ILOSC'
              AND TYPE = 'FN')
  DROP FUNCTION dbo.fn_SRODKI_ILOSC
GO
CREATE FUNCTION dbo.fn_SRODKI_ILOSC (@P_OD INT, @P_DO INT)
RETURNS INT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
-- $MIN_SQL_2005
AS
BEGIN
  DECLARE @ilosc INT

  SELECT @ilosc = COUNT(*)
    FROM dbo.SRODKI
   WHERE ID_SRODKA BETWEEN ISNULL(@P_OD, 0) AND ISNULL(@P_DO, 2147483647)

  RETURN ISNULL(@ilosc, 0)
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'fn_SRODKI_ZESTAWIENIE'
              AND TYPE = 'TF')
  DROP FUNCTION dbo.fn_SRODKI_ZESTAWIENIE
GO
CREATE FUNCTION dbo.fn_SRODKI_ZESTAWIENIE (@P_OD INT, @P_DO INT)
RETURNS @wynik TABLE (ID INT NOT NULL PRIMARY KEY, OPIS VARCHAR(MAX) NULL)
-- 'C810A5C6-2053-412E-8618-652E1868305B'
-- $MIN_SQL_2005
AS
BEGIN
  -- Zestawienie: úrodek trwa≥y, w zakresie identyfikatorÛw.
  INSERT INTO @wynik (ID, OPIS)
  SELECT ID_SRODKA, NAZWA
    FROM dbo.SRODKI
   WHERE ID_SRODKA BETWEEN ISNULL(@P_OD, 0) AND ISNULL(@P_DO, 2147483647)

  RETURN
END
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
  -- Czy sesja wykonuje aktualizacjÍ bazy: 'T' albo 'N'. Program aktualizacji zapisuje
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
           @errmsg = 'Odczyt statusu aktualizacji nie powiÛd≥ siÍ.' + CHAR(13) + CHAR(10) +
                     'IloúÊ wierszy: ' + CONVERT(VARCHAR(10), @ilosc) + '.'
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
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'pc_KONWERSJA_ZNAKOW_IMPORTU'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.pc_KONWERSJA_ZNAKOW_IMPORTU
GO
CREATE PROCEDURE dbo.pc_KONWERSJA_ZNAKOW_IMPORTU
  @P_TEKST VARCHAR(4000) OUTPUT
-- 'C810A5C6-2053-412E-8618-652E1868305B'
AS
BEGIN
  -- Pliki importu bywajπ zapisane w ISO 8859-2 albo w stronie kodowej 852. Odczytane jako
  -- strona 1250 zmieniajπ kilka wielkich liter w inne znaki; zamiana przywraca litery.
  IF @P_TEKST IS NULL
    RETURN 0

  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, '¶', 'å')
  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, '¨', 'è')
  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, '°', '•')
  SET @P_TEKST = REPLACE(@P_TEKST COLLATE Polish_BIN, 'ù', '£')
  RETURN 0
END
GO
-- ---------------------------------------------------------------------------
-- SRODKI: úrodek trwa≥y
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
  -- Lista: úrodek trwa≥y. Filtr porÛwnywany jest z poczπtkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SRODKA, NAZWA
    FROM dbo.SRODKI
   WHERE @P_FILTR IS NULL
      OR NAZWA LIKE @P_FILTR + '%'
   ORDER BY NAZWA

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[14100] Odczyt listy nie powiÛd≥ siÍ. ^SRODKI_LISTA_MC'
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
    SET @errmsg = '[14101] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' (úrodek trwa≥y). ^SRODKI_POBIERZ_MC'
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
-- $MIN_SQL_2005
AS
BEGIN
  DECLARE @errmsg VARCHAR(255), @blad INT

  SET NOCOUNT ON
  BEGIN TRY
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
      SET @errmsg = '[14102] Zapis nie powiÛd≥ siÍ (úrodek trwa≥y). ^SRODKI_ZAPISZ_MC'
      RAISERROR(@errmsg, 16, 1)
      RETURN -1
    END
  END TRY
  BEGIN CATCH
    SET @errmsg = '[14102] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^SRODKI_ZAPISZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END CATCH
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
-- $MIN_SQL_2005
AS
BEGIN
  DECLARE @errmsg VARCHAR(255), @blad INT, @ilosc INT

  SET NOCOUNT ON
  BEGIN TRY
    DELETE FROM dbo.SRODKI
     WHERE ID_SRODKA = @P_ID

    SELECT @blad = @@ERROR, @ilosc = @@ROWCOUNT
    IF @blad <> 0 OR @ilosc <> 1
    BEGIN
      SET @errmsg = '[14103] UsuniÍcie pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' nie powiod≥o siÍ (úrodek trwa≥y). ^SRODKI_USUN_MC'
      RAISERROR(@errmsg, 16, 1)
      RETURN -1
    END
  END TRY
  BEGIN CATCH
    SET @errmsg = '[14103] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^SRODKI_USUN_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END CATCH
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
  -- S≥ownik grup úrodkÛw trwa≥ych wed≥ug Klasyfikacji årodkÛw Trwa≥ych (KåT): grupy,
  -- podgrupy i rodzaje z opisami. Opisy dzielπ siÍ na akapity.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON

  DELETE FROM dbo.SLOWNIK_GRUP_SRODKOW
   WHERE ISNULL(ID_FIRMY, 0) = ISNULL(@P_ID_FIRMY, 0)

  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '0', 1, 'Grunty', 'Grupa obejmuje grunty rolne, leúne, zabudowane i zurbanizowane, pod wodami oraz nieuøytki, a takøe prawo uøytkowania wieczystego gruntu.GruntÛw nie amortyzuje siÍ; prawo uøytkowania wieczystego gruntu amortyzuje siÍ jak wartoúci niematerialne i prawne.Symbol grupy poprzedza w karcie úrodka trwa≥ego numer podgrupy i rodzaju.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '1', 1, 'Budynki i lokale, spÛ≥dzielcze prawo do lokalu uøytkowego i spÛ≥dzielcze w≥asnoúciowe prawo do lokalu mieszkalnego', 'Grupa obejmuje budynki mieszkalne i niemieszkalne, lokale stanowiπce odrÍbnπ w≥asnoúÊ oraz spÛ≥dzielcze prawa do lokali.Budynek to obiekt budowlany trwale zwiπzany z gruntem, wydzielony z przestrzeni przegrodami budowlanymi, majπcy fundamenty i dach.Instalacje budynku ñ wodne, grzewcze, elektryczne ñ wchodzπ w jego wartoúÊ poczπtkowπ, chyba øe stanowiπ odrÍbny úrodek trwa≥y.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '2', 1, 'Obiekty inøynierii lπdowej i wodnej', 'Grupa obejmuje drogi, mosty, tunele, rurociπgi, linie telekomunikacyjne i elektroenergetyczne, budowle wodne oraz obiekty sportowe.Do grupy zalicza siÍ takøe ogrodzenia, place sk≥adowe i parkingi, o ile nie sπ czÍúciπ budynku.Stawka amortyzacji zaleøy od rodzaju budowli i warunkÛw jej uøywania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '3', 1, 'Kot≥y i maszyny energetyczne', 'Grupa obejmuje kot≥y grzejne i parowe, silniki spalinowe, turbiny, prπdnice oraz zespo≥y prπdotwÛrcze.Maszyny energetyczne wbudowane w urzπdzenia innych grup klasyfikuje siÍ wed≥ug urzπdzenia, ktÛrego sπ czÍúciπ.Przy przyjÍciu do uøywania podaje siÍ moc znamionowπ i rodzaj paliwa.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '4', 1, 'Maszyny, urzπdzenia i aparaty ogÛlnego zastosowania', 'Grupa obejmuje obrabiarki, prasy, maszyny do obrÛbki drewna, düwigi, urzπdzenia ch≥odnicze i wentylacyjne oraz zespo≥y komputerowe.ZespÛ≥ komputerowy to jednostka centralna z urzπdzeniami peryferyjnymi, przyjmowana do uøywania jako jeden úrodek albo osobno.Oprogramowanie nabyte razem z komputerem ujmuje siÍ jako wartoúÊ niematerialnπ i prawnπ.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '5', 1, 'Specjalistyczne maszyny, urzπdzenia i aparaty', 'Grupa obejmuje maszyny przeznaczone dla okreúlonych ga≥Ízi produkcji: gÛrnictwa, hutnictwa, przemys≥u chemicznego, spoøywczego i rolnictwa.O zaliczeniu do grupy decyduje przeznaczenie maszyny, a nie jej budowa.Maszyny uøywane w kilku ga≥Íziach produkcji klasyfikuje siÍ wed≥ug przewaøajπcego zastosowania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '6', 1, 'Urzπdzenia techniczne', 'Grupa obejmuje urzπdzenia rozdzielcze energii elektrycznej, telekomunikacyjne, sygnalizacyjne i alarmowe, düwigi osobowe oraz zbiorniki.Urzπdzenia te wspÛ≥pracujπ z budynkami i budowlami, lecz stanowiπ odrÍbne úrodki trwa≥e.Urzπdzenia przeciwpoøarowe i alarmowe ujmuje siÍ w tej grupie niezaleønie od miejsca zainstalowania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '7', 1, 'årodki transportu', 'Grupa obejmuje tabor kolejowy, pojazdy samochodowe, ciπgniki, przyczepy, motocykle, statki i samoloty.Samochody osobowe ujmuje siÍ w rodzaju 741; wartoúÊ poczπtkowa obejmuje wyposaøenie zamontowane przed przyjÍciem do uøywania.årodki transportu wewnÍtrznego, takie jak wÛzki wid≥owe, naleøπ do tej samej grupy.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '8', 1, 'NarzÍdzia, przyrzπdy, ruchomoúci i wyposaøenie, gdzie indziej niesklasyfikowane', 'Grupa obejmuje narzÍdzia i przyrzπdy, aparaturÍ laboratoryjnπ, wyposaøenie biurowe, meble oraz sprzÍt medyczny.Przedmioty o niskiej wartoúci moøna zaliczyÊ bezpoúrednio w koszty zamiast ujmowaÊ je jako úrodki trwa≥e.Wyposaøenie przypisuje siÍ osobie odpowiedzialnej i miejscu uøytkowania.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '9', 1, 'Inwentarz øywy', 'Grupa obejmuje zwierzÍta hodowlane i uøytkowe, w tym konie, byd≥o i zwierzÍta laboratoryjne.Inwentarz øywy ujmuje siÍ jako úrodek trwa≥y, gdy okres jego uøytkowania przekracza rok.PrzychÛwek nie jest úrodkiem trwa≥ym do czasu przeniesienia do stada podstawowego.')
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '01', 2, 'Grunty rolne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '02', 2, 'Grunty leúne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '10', 2, 'Budynki przemys≥owe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '11', 2, 'Budynki mieszkalne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '12', 2, 'Lokale niemieszkalne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '22', 2, 'Rurociπgi i linie telekomunikacyjne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '49', 2, 'Maszyny i urzπdzenia ogÛlnego zastosowania pozosta≥e', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '491', 3, 'Zespo≥y komputerowe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '62', 2, 'Urzπdzenia telekomunikacyjne', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '74', 2, 'Pojazdy samochodowe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '741', 3, 'Samochody osobowe', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '80', 2, 'NarzÍdzia, przyrzπdy i aparatura', NULL)
  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)
  VALUES (@P_ID_FIRMY, '803', 3, 'Wyposaøenie biurowe', NULL)

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[13030] Generowanie s≥ownika grup úrodkÛw nie powiod≥o siÍ. ^GENERUJ_SLOWNIK_GRUP_SRODKOW_MC'
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
-- $MIN_SQL_2005
-- Wynik: 'T' gdy pozycja istnieje, 'N' gdy nie.
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  BEGIN TRY
    IF EXISTS (SELECT 'X' FROM dbo.SRODKI WHERE ID_SRODKA = @P_ID)
      SET @P_WYNIK = 'T'
    ELSE
      SET @P_WYNIK = 'N'
  END TRY
  BEGIN CATCH
    SET @errmsg = '[14104] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^SRODKI_SPRAWDZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END CATCH
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
-- $MIN_SQL_2005
AS
BEGIN
  -- Przeliczenie obejmuje wszystkie pozycje (tabela SRODKI), stan na podany dzieÒ.
  DECLARE @errmsg VARCHAR(255), @ilosc INT

  SET NOCOUNT ON
  IF @P_DATA IS NULL
    SET @P_DATA = GETDATE()
  BEGIN TRY
    SELECT @ilosc = COUNT(*)
      FROM dbo.SRODKI

    SELECT @ilosc AS ILOSC, @P_DATA AS DATA_PRZELICZENIA
  END TRY
  BEGIN CATCH
    SET @errmsg = '[14105] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^SRODKI_PRZELICZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END CATCH
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
-- $MIN_SQL_2005
AS
BEGIN
  -- Lista: dokument. Filtr porÛwnywany jest z poczπtkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  BEGIN TRY
    SELECT ID_DOKUMENTU, NUMER
      FROM dbo.DOKUMENTY
     WHERE @P_FILTR IS NULL
        OR NUMER LIKE @P_FILTR + '%'
     ORDER BY NUMER

    IF @@ERROR <> 0
    BEGIN
      SET @errmsg = '[14106] Odczyt listy nie powiÛd≥ siÍ. ^DOKUMENTY_LISTA_MC'
      RAISERROR(@errmsg, 16, 1)
      RETURN -1
    END
  END TRY
  BEGIN CATCH
    SET @errmsg = '[14106] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^DOKUMENTY_LISTA_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END CATCH
  RETURN 0
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'DOKUMENTY_POBIERZ'
              AND TYPE = 'P')
  DROP PROCEDURE dbo.DOKUMENTY_POBIERZ
GO
CREATE PROCEDURE dbo.DOKUMENTY_POBIERZ
  @P_ID INT
-- 'C810A5C6-2053-412E-8618-652E1868305B' 
-- $MIN_SQL_2005
AS
BEGIN
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  BEGIN TRY
    SELECT *
      FROM dbo.DOKUMENTY
     WHERE ID_DOKUMENTU = @P_ID

    IF @@ROWCOUNT = 0
    BEGIN
      SET @errmsg = '[14107] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' (dokument). ^DOKUMENTY_POBIERZ_MC'
      RAISERROR(@errmsg, 16, 1)
      RETURN -1
    END
  END TRY
  BEGIN CATCH
    SET @errmsg = '[14107] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^DOKUMENTY_POBIERZ_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END CATCH
  RETURN 0
END
GO
-- Do wersji 7.12 datÍ modyfikacji dokumentu ustawia≥ wyzwalacz:
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
  -- Zmiany wykonywane przez pakiet aktualizacji nie zmieniajπ autora ani daty modyfikacji.
  IF @aktualizacja = 'T'
    RETURN

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NOT NULL
    SELECT @id_uzytkownika = CONVERT(INT, WARTOSC)
      FROM #WA_OPCJE_TMP
     WHERE NAZWA = 'ID_UZYTKOWNIKA'

  IF @id_uzytkownika IS NULL
  BEGIN
    RAISERROR('Ustalenie identyfikatora uøytkownika nie powiod≥o siÍ.', 16, 1)
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
-- Poprzednia wersja wyzwalacza, bez obs≥ugi aktualizacji bazy:
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
  -- Zmiana pozycji dokumentu jest zmianπ dokumentu: autora i datÍ modyfikacji  -- zapisuje siÍ w nag≥Ûwku.  DECLARE @aktualizacja T_WYROZNIK_T_N, @id_uzytkownika INT, @wynik INT

  IF NOT EXISTS (SELECT 'X' FROM inserted) AND NOT EXISTS (SELECT 'X' FROM deleted)
    RETURN
  SET NOCOUNT ON
  EXEC @wynik = dbo.pc_ZUV_AKTUALIZACJA @aktualizacja OUTPUT
  IF @wynik <> 0
  BEGIN
    ROLLBACK TRANSACTION
    RETURN
  END
  -- Zmiany wykonywane przez pakiet aktualizacji nie zmieniajπ autora ani daty modyfikacji.
  IF @aktualizacja = 'T'
    RETURN

  IF OBJECT_ID('tempdb..#WA_OPCJE_TMP') IS NOT NULL
    SELECT @id_uzytkownika = CONVERT(INT, WARTOSC)
      FROM #WA_OPCJE_TMP
     WHERE NAZWA = 'ID_UZYTKOWNIKA'

  IF @id_uzytkownika IS NULL
  BEGIN
    RAISERROR('Ustalenie identyfikatora uøytkownika nie powiod≥o siÍ.', 16, 1)
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
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'TG_SRODKI_HISTORIA_I'
              AND TYPE = 'TR')
  DROP TRIGGER dbo.TG_SRODKI_HISTORIA_I
GO
CREATE TRIGGER dbo.TG_SRODKI_HISTORIA_I ON SRODKI
-- 'C810A5C6-2053-412E-8618-652E1868305B'
FOR INSERT
AS
BEGIN
  IF @@ROWCOUNT = 0
    RETURN

  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  -- Zapis w historii zmian: úrodek trwa≥y.
  INSERT INTO dbo.HISTORIA_ZMIAN (NAZWA_TABELI, ID_POZYCJI, OPERACJA, CEL, LOGIN, DATA)
  SELECT 'SRODKI', ID_SRODKA, 'I', 'HISTORIA', dbo.fn_LOGIN_UZYTKOWNIKA(), GETDATE()
    FROM inserted

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[15000] Zapis historii zmian nie powiÛd≥ siÍ. ^TG_SRODKI_HISTORIA_I_MC'
    RAISERROR(@errmsg, 16, 1)
    ROLLBACK TRANSACTION
  END
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'TG_SRODKI_HISTORIA_U'
              AND TYPE = 'TR')
  DROP TRIGGER dbo.TG_SRODKI_HISTORIA_U
GO
CREATE TRIGGER dbo.TG_SRODKI_HISTORIA_U ON SRODKI
-- 'C810A5C6-2053-412E-8618-652E1868305B'
FOR UPDATE
AS
BEGIN
  IF @@ROWCOUNT = 0
    RETURN

  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  -- Zapis w historii zmian: úrodek trwa≥y.
  INSERT INTO dbo.HISTORIA_ZMIAN (NAZWA_TABELI, ID_POZYCJI, OPERACJA, CEL, LOGIN, DATA)
  SELECT 'SRODKI', ID_SRODKA, 'U', 'HISTORIA', dbo.fn_LOGIN_UZYTKOWNIKA(), GETDATE()
    FROM inserted

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[15001] Zapis historii zmian nie powiÛd≥ siÍ. ^TG_SRODKI_HISTORIA_U_MC'
    RAISERROR(@errmsg, 16, 1)
    ROLLBACK TRANSACTION
  END
END
GO
IF EXISTS (SELECT 'X'
             FROM SYSOBJECTS
            WHERE NAME = 'TG_SRODKI_HISTORIA_D'
              AND TYPE = 'TR')
  DROP TRIGGER dbo.TG_SRODKI_HISTORIA_D
GO
CREATE TRIGGER dbo.TG_SRODKI_HISTORIA_D ON SRODKI
-- 'C810A5C6-2053-412E-8618-652E1868305B'
-- $MIN_SQL_2005
FOR DELETE
AS
BEGIN
  IF @@ROWCOUNT = 0
    RETURN

  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  BEGIN TRY
    -- Zapis w historii zmian: úrodek trwa≥y.
    INSERT INTO dbo.HISTORIA_ZMIAN (NAZWA_TABELI, ID_POZYCJI, OPERACJA, CEL, LOGIN, DATA)
    SELECT 'SRODKI', ID_SRODKA, 'D', 'HISTORIA', dbo.fn_LOGIN_UZYTKOWNIKA(), GETDATE()
      FROM deleted

    IF @@ERROR <> 0
    BEGIN
      SET @errmsg = '[15002] Zapis historii zmian nie powiÛd≥ siÍ. ^TG_SRODKI_HISTORIA_D_MC'
      RAISERROR(@errmsg, 16, 1)
      ROLLBACK TRANSACTION
    END
  END TRY
  BEGIN CATCH
    SET @errmsg = '[15002] ' + LEFT(ERROR_MESSAGE(), 200) + ' ^TG_SRODKI_HISTORIA_D_MC'
    RAISERROR(@errmsg, 16, 1)
    ROLLBACK TRANSACTION
  END CATCH
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
  -- Nazwa do wyúwietlenia: úrodek trwa≥y; pusty tekst, gdy pozycji nie ma.
  DECLARE @wynik VARCHAR(255)

  SELECT @wynik = NAZWA
    FROM dbo.SRODKI
   WHERE ID_SRODKA = @P_ID

  RETURN ISNULL(@wynik, '')
END
GO
-- ---------------------------------------------------------------------------
-- SRODKI: úrodek trwa≥y
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
  -- Lista: úrodek trwa≥y. Filtr porÛwnywany jest z poczπtkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SRODKA, NAZWA
    FROM dbo.SRODKI
   WHERE @P_FILTR IS NULL
      OR NAZWA LIKE @P_FILTR + '%'
   ORDER BY NAZWA

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[15100] Odczyt listy nie powiÛd≥ siÍ. ^www_SRODKI_LISTA_MC'
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
    SET @errmsg = '[15101] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' (úrodek trwa≥y). ^www_SRODKI_POBIERZ_MC'
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
  -- Lista: skan kodu kreskowego. Filtr porÛwnywany jest z poczπtkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SKANU, KOD_KRESKOWY
    FROM dbo.PPC_SKANY
   WHERE @P_FILTR IS NULL
      OR KOD_KRESKOWY LIKE @P_FILTR + '%'
   ORDER BY KOD_KRESKOWY

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[16100] Odczyt listy nie powiÛd≥ siÍ. ^ppc_SKANY_LISTA_MC'
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
    SET @errmsg = '[17000] Zapis historii zmian nie powiÛd≥ siÍ. ^TG_PPC_SKANY_HISTORIA_I_MC'
    RAISERROR(@errmsg, 16, 1)
    ROLLBACK TRANSACTION
  END
END
GO
-- ===========================================================================
-- PROCEDURY ZUV WS
-- ===========================================================================
-- ---------------------------------------------------------------------------
-- SRODKI: úrodek trwa≥y
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
  -- Lista: úrodek trwa≥y. Filtr porÛwnywany jest z poczπtkiem nazwy.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON
  SELECT ID_SRODKA, NAZWA
    FROM dbo.SRODKI
   WHERE @P_FILTR IS NULL
      OR NAZWA LIKE @P_FILTR + '%'
   ORDER BY NAZWA

  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[17100] Odczyt listy nie powiÛd≥ siÍ. ^ws_SRODKI_LISTA_MC'
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
    SET @errmsg = '[17101] Nie odnaleziono pozycji ' + CONVERT(VARCHAR(10), @P_ID) + ' (úrodek trwa≥y). ^ws_SRODKI_POBIERZ_MC'
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
	   set KATALOG = '', WERSJA = '10.14.0.1', WERSJA_MIN = '10.14.0.1', KOLEJNOSC = '1', WYMAGANY = '1',
	       GUID = NULL, CRC = '517FD537', DATA_MODYFIKACJI = '20110719 09:00:00.000'
	 where NAZWA_PLIKU = 'ZUV.exe'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUV.exe', '', '10.14.0.1', '10.14.0.1', '1', '1', NULL, '517FD537', '20110719 09:00:00.000', '20110719 09:00:00.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'ZUVInwentaryzacja.dll')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '10.14.0.1', WERSJA_MIN = NULL, KOLEJNOSC = '7', WYMAGANY = '1',
	       GUID = NULL, CRC = '513E412F', DATA_MODYFIKACJI = '20110719 15:42:18.000'
	 where NAZWA_PLIKU = 'ZUVInwentaryzacja.dll'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUVInwentaryzacja.dll', '', '10.14.0.1', NULL, '7', '1', NULL, '513E412F', '20110719 15:42:18.000', '20110719 15:42:18.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'ZUVKalendarz.dll')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '10.14.0.1', WERSJA_MIN = NULL, KOLEJNOSC = '13', WYMAGANY = '1',
	       GUID = NULL, CRC = 'ABD8890B', DATA_MODYFIKACJI = '20110719 13:24:36.000'
	 where NAZWA_PLIKU = 'ZUVKalendarz.dll'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUVKalendarz.dll', '', '10.14.0.1', NULL, '13', '1', NULL, 'ABD8890B', '20110719 13:24:36.000', '20110719 13:24:36.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'OT.rtf')
	update dbo.PLIKI_WERSJE
	   set KATALOG = 'Szablony', WERSJA = NULL, WERSJA_MIN = NULL, KOLEJNOSC = '20', WYMAGANY = '1',
	       GUID = NULL, CRC = 'FC59CB6B', DATA_MODYFIKACJI = '20110719 12:13:07.000'
	 where NAZWA_PLIKU = 'OT.rtf'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('OT.rtf', 'Szablony', NULL, NULL, '20', '1', NULL, 'FC59CB6B', '20110719 12:13:07.000', '20110719 12:13:07.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'PlanAmortyzacji.rtf')
	update dbo.PLIKI_WERSJE
	   set KATALOG = 'Szablony', WERSJA = NULL, WERSJA_MIN = NULL, KOLEJNOSC = '26', WYMAGANY = '1',
	       GUID = NULL, CRC = '534B1196', DATA_MODYFIKACJI = '20110719 10:55:25.000'
	 where NAZWA_PLIKU = 'PlanAmortyzacji.rtf'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('PlanAmortyzacji.rtf', 'Szablony', NULL, NULL, '26', '1', NULL, '534B1196', '20110719 10:55:25.000', '20110719 10:55:25.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'UmorzenieRoczne.rpt')
	update dbo.PLIKI_WERSJE
	   set KATALOG = 'Raporty', WERSJA = NULL, WERSJA_MIN = NULL, KOLEJNOSC = '33', WYMAGANY = '0',
	       GUID = NULL, CRC = '7CA61271', DATA_MODYFIKACJI = '20110719 09:44:56.000'
	 where NAZWA_PLIKU = 'UmorzenieRoczne.rpt'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('UmorzenieRoczne.rpt', 'Raporty', NULL, NULL, '33', '0', NULL, '7CA61271', '20110719 09:44:56.000', '20110719 09:44:56.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'ZUVPPCSynchronizacja.dll')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '10.14.0.1', WERSJA_MIN = NULL, KOLEJNOSC = '39', WYMAGANY = '1',
	       GUID = NULL, CRC = 'FF2E04CE', DATA_MODYFIKACJI = '20110719 15:26:14.000'
	 where NAZWA_PLIKU = 'ZUVPPCSynchronizacja.dll'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUVPPCSynchronizacja.dll', '', '10.14.0.1', NULL, '39', '1', NULL, 'FF2E04CE', '20110719 15:26:14.000', '20110719 15:26:14.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'ZUVUbezpieczenia.dll')
	update dbo.PLIKI_WERSJE
	   set KATALOG = '', WERSJA = '10.14.0.1', WERSJA_MIN = NULL, KOLEJNOSC = '46', WYMAGANY = '1',
	       GUID = NULL, CRC = 'BBF3554D', DATA_MODYFIKACJI = '20110719 14:15:45.000'
	 where NAZWA_PLIKU = 'ZUVUbezpieczenia.dll'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('ZUVUbezpieczenia.dll', '', '10.14.0.1', NULL, '46', '1', NULL, 'BBF3554D', '20110719 14:15:45.000', '20110719 14:15:45.000')

if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = 'DeklaracjaPodatkowa.rpt')
	update dbo.PLIKI_WERSJE
	   set KATALOG = 'Raporty', WERSJA = NULL, WERSJA_MIN = NULL, KOLEJNOSC = '52', WYMAGANY = '0',
	       GUID = NULL, CRC = '33311CA0', DATA_MODYFIKACJI = '20110719 12:57:03.000'
	 where NAZWA_PLIKU = 'DeklaracjaPodatkowa.rpt'
else
	insert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)
	values ('DeklaracjaPodatkowa.rpt', 'Raporty', NULL, NULL, '52', '0', NULL, '33311CA0', '20110719 12:57:03.000', '20110719 12:57:03.000')
go 
-- ===========================================================================
-- Zapisanie wersji systemu ZUV                                               
-- ===========================================================================
declare @error int, @rowcount int                                             
                                                                              
update dbo.konfig_st                                                          
   set wartosc = '10.14.0.1'                                                    
 where grupa = 'WERSJE'                                                       
   and nazwa = 'TERVO_WERSJA'                                                 
                                                                              
select @error = @@error, @rowcount = @@rowcount                               
                                                                              
if @error <> 0                                                                
  raiserror 13000 'Wystπpi≥ b≥πd podczas zmiany wersji systemu ZUV.'          
                                                                              
if @rowcount <> 1                                                             
  raiserror 13000 'Zmiana wersji systemu ZUV nie powiod≥a siÍ.'               
go                                                                            
