// The batch after the change-log trigger template: it reads the template's text from
// SYSCOMMENTS and creates (or alters) one trigger of that text on every table of S_TABELE.

#include "SekcjeObiektow.h"

namespace generator {

namespace {

constexpr std::string_view Poczatek =
    R"(-- Kopiowanie wzorca TG_LOG_TABEL_UZYTK_UD na tabele słownika S_TABELE
declare @id_wzorca int, @ilosc int
declare @tekst1 nvarchar(4000), @tekst2 nvarchar(4000), @czesc1 nvarchar(4000)
declare @naglowek nvarchar(400), @tabela varchar(128), @wyzwalacz varchar(128)
{DEKLARACJA_STANU}
select @id_wzorca = id
  from dbo.sysobjects
 where name = 'TG_LOG_TABEL_UZYTK_UD'
   and type = 'TR'

if @id_wzorca is null
begin
  raiserror('Nie odnaleziono wyzwalacza "tg_log_tabel_uzytk_ud"', 16, 1)
  return
end

-- SYSCOMMENTS dzieli tekst obiektu na wiersze po 4000 znaków; wzorzec mieści się w dwóch.
select @ilosc = count(*)
  from dbo.syscomments
 where id = @id_wzorca

if @ilosc > 2
begin
  raiserror('Składnia wyzwalacza "TG_LOG_TABEL_UZYTK_UD" przekracza 8000 znakow', 16, 1)
  return
end

select @tekst1 = text from dbo.syscomments where id = @id_wzorca and colid = 1
select @tekst2 = text from dbo.syscomments where id = @id_wzorca and colid = 2

if @tekst1 is null
begin
  raiserror('Niepoprawna składnia wyzwalacza "TG_LOG_TABEL_UZYTK_UD": "NULL"', 16, 1)
  return
end

set @tekst2 = isnull(@tekst2, N'')

)";

constexpr std::string_view KursorBezStanu = R"(declare TABELE cursor local fast_forward for
  select rtrim(NAZWA_TABELI)
    from dbo.S_TABELE

open TABELE
fetch next from TABELE into @tabela
)";

constexpr std::string_view KursorZeStanem = R"(declare TABELE cursor local fast_forward for
  select rtrim(NAZWA_TABELI), isnull(STAN, 'T')
    from dbo.S_TABELE

open TABELE
fetch next from TABELE into @tabela, @stan
)";

}  // namespace

void PiszKopieWyzwalaczaWzorca(Kontekst& k, bool ramkaXsdNaKoncu) {
    PisarzPakietu& p = k.pisarz;
    const bool stan = k.plan.stanWyzwalaczy;
    p.Tekst(Podstaw(Poczatek, {{"DEKLARACJA_STANU", stan ? "declare @stan char(1)\n" : ""}}));
    p.Tekst(stan ? KursorZeStanem : KursorBezStanu);
    p.Wiersz("");
    p.Wiersz("while @@fetch_status = 0");
    p.Wiersz("begin");
    p.Wiersz("\tset @wyzwalacz = 'TG_LOG_TABEL_' + @tabela + '_UD'");
    p.Wiersz("");
    p.Wiersz(
        "\tif exists (select 'X' from dbo.sysobjects where name = @wyzwalacz and type = 'TR')");
    p.Wiersz("\t\tset @naglowek = 'ALTER TRIGGER dbo.' + @wyzwalacz + ' ON ' + @tabela");
    p.Wiersz("\telse");
    p.Wiersz("\t\tset @naglowek = 'CREATE TRIGGER dbo.' + @wyzwalacz + ' ON ' + @tabela");
    p.Wiersz("");
    p.Wiersz(
        "\tset @czesc1 = replace(@tekst1, N'CREATE TRIGGER dbo.TG_LOG_TABEL_UZYTK_UD ON UZYTK', "
        "@naglowek)");
    p.Wiersz("\texec (@czesc1 + @tekst2)");
    if (stan) {
        p.Wiersz("");
        p.Wiersz("\t-- Tabele wyłączone z dziennika (STAN = 'N') dostają wyzwalacz wyłączony.");
        p.Wiersz("\tif @stan = 'N'");
        p.Wiersz("\t\texec ('ALTER TABLE ' + @tabela + ' DISABLE TRIGGER ' + @wyzwalacz)");
        p.Wiersz("");
        p.Wiersz("\tfetch next from TABELE into @tabela, @stan");
    } else {
        p.Wiersz("");
        p.Wiersz("\tfetch next from TABELE into @tabela");
    }
    p.Wiersz("end");
    p.Wiersz("");
    p.Wiersz("close TABELE");
    p.Wiersz("deallocate TABELE");
    if (ramkaXsdNaKoncu) PiszRamke(p, "-- XSD ZUV");
    p.Separator(k.separatory.Obiektu());
}

}  // namespace generator
