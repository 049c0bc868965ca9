// The update section. Its changes come in the kinds the real sections use: additions guarded by
// INFORMATION_SCHEMA or KONFIG_OPCJE tests, a NOT NULL column in three steps, unguarded ALTER,
// INSERT and CREATE INDEX batches, option calls, a password written as CHAR() calls, the web
// versions and changes for one installation only. Names come from a number that is unique over
// the catalogue, so no two packages add the same column unguarded.

#include "SekcjaAktualizacji.h"

#include <array>
#include <cstdint>
#include <string>

#include "KolekcjeXsd.h"
#include "ObiektBazy.h"

namespace generator {

namespace {

struct Kolumna {
    std::string_view nazwa;
    std::string_view typ;
};

constexpr std::array<std::string_view, 11> Tabele = {
    "SRODKI",      "DOKUMENTY",      "ELEMENTY_DOK",
    "LOKALIZACJE", "GRUPY_SRODKOW",  "OSOBY_ODPOWIEDZIALNE",
    "KONTRAHENCI", "INWENTARYZACJE", "PLANY_AMORTYZACJI",
    "MPK",         "WYPOSAZENIE",
};

constexpr std::array<Kolumna, 20> Kolumny = {{
    {"DATA_PRZYJECIA", "datetime"},
    {"NR_FABRYCZNY", "varchar(30)"},
    {"UWAGI_KSIEGOWE", "varchar(255)"},
    {"ID_ZRODLA_FINANSOWANIA", "int"},
    {"KOD_KRESKOWY", "varchar(20)"},
    {"WARTOSC_BILANSOWA", "money"},
    {"STAWKA_PODATKOWA", "decimal(5, 2)"},
    {"DATA_LIKWIDACJI", "datetime"},
    {"NR_KSIEGI", "varchar(20)"},
    {"OKRES_GWARANCJI", "int"},
    {"ID_MIEJSCA_UZYTKOWANIA", "int"},
    {"SYMBOL_KST", "varchar(10)"},
    {"PRZYCZYNA_LIKWIDACJI", "varchar(255)"},
    {"NR_POLISY", "varchar(30)"},
    {"DATA_PRZEGLADU", "datetime"},
    {"ID_OSOBY_ZATWIERDZAJACEJ", "int"},
    {"OPIS_DODATKOWY", "varchar(1000)"},
    {"NR_UMOWY", "varchar(40)"},
    {"KWOTA_DOTACJI", "money"},
    {"PROCENT_UDZIALU", "decimal(5, 2)"},
}};

constexpr std::array<std::string_view, 8> Flagi = {
    "CZY_LEASING",    "CZY_ZABYTEK",    "CZY_AKTYWNY",      "CZY_ZATWIERDZONY",
    "CZY_DO_WYDRUKU", "CZY_ARCHIWALNY", "CZY_UBEZPIECZONY", "CZY_W_BUDOWIE",
};

constexpr std::array<std::string_view, 8> NoweTabele = {
    "SRODKI_ZALACZNIKI",
    "SRODKI_UBEZPIECZENIA",
    "DOKUMENTY_ZATWIERDZENIA",
    "INWENTARYZACJE_ROZNICE",
    "LOKALIZACJE_HISTORIA",
    "KONTRAHENCI_KONTA",
    "MPK_PODZIAL",
    "WYPOSAZENIE_PRZEKAZANIA",
};

struct Opcja {
    std::string_view id;
    std::string_view opis;
    std::string_view wartosc;
};

constexpr std::array<Opcja, 8> Opcje = {{
    {"ZUV_AMORTYZACJA_OD_NAST_MIESIACA",
     "Amortyzacja od miesiąca następującego po przyjęciu środka", "T"},
    {"ZUV_NUMERACJA_ROCZNA", "Numeracja dokumentów w obrębie roku obrotowego", "T"},
    {"ZUV_KONTROLA_NR_INWENTARZOWEGO", "Kontrola niepowtarzalności numeru inwentarzowego", "T"},
    {"ZUV_ETYKIETY_Z_KODEM", "Wydruk etykiet z kodem kreskowym", "N"},
    {"ZUV_DOMYSLNA_LOKALIZACJA", "Domyślna lokalizacja nowych środków", ""},
    {"ZUV_ZAOKRAGLANIE_ODPISOW", "Zaokrąglanie odpisów do pełnych złotych", "N"},
    {"ZUV_BLOKADA_OKRESU", "Blokada zmian w zamkniętym okresie", "T"},
    {"ZUV_FORMAT_EKSPORTU_FK", "Format eksportu do systemu finansowo-księgowego", "TXT"},
}};

std::string ZNumerem(std::string_view nazwa, std::size_t powtorzenie) {
    std::string wynik(nazwa);
    if (powtorzenie > 0) {
        wynik += '_';
        wynik += std::to_string(powtorzenie + 1);
    }
    return wynik;
}

struct Zmiana {
    std::string tabela;
    std::string kolumna;
    std::string typ;
};

Zmiana NowaKolumna(std::size_t n) {
    const Kolumna& k = Kolumny[(n / Tabele.size()) % Kolumny.size()];
    return {std::string(Tabele[n % Tabele.size()]),
            ZNumerem(k.nazwa, n / (Tabele.size() * Kolumny.size())), std::string(k.typ)};
}

Opcja WybranaOpcja(std::size_t n, std::string& id) {
    const Opcja& o = Opcje[n % Opcje.size()];
    id = ZNumerem(o.id, n / Opcje.size());
    return o;
}

// The groups of one round, in order; every round starts with the kinds that each section holds.
enum class Rodzaj {
    KolumnaZTestem,
    OpcjaZTestem,
    KolumnaNotNull,
    ZmianaBezTestu,
    WywolanieOpcji,
    Haslo,
    TabelaZTestem,
    WersjeWeb,
    WstawienieBezTestu,
    TylkoInstalacja,
    IndeksBezTestu,
};
constexpr std::array<Rodzaj, 11> Runda = {
    Rodzaj::KolumnaZTestem,  Rodzaj::OpcjaZTestem,   Rodzaj::KolumnaNotNull,
    Rodzaj::ZmianaBezTestu,  Rodzaj::WywolanieOpcji, Rodzaj::Haslo,
    Rodzaj::TabelaZTestem,   Rodzaj::WersjeWeb,      Rodzaj::WstawienieBezTestu,
    Rodzaj::TylkoInstalacja, Rodzaj::IndeksBezTestu,
};

int Partie(Rodzaj r) { return r == Rodzaj::KolumnaNotNull ? 3 : 1; }

class PisarzAktualizacji {
  public:
    explicit PisarzAktualizacji(Kontekst& k)
        : k_(k), p_(k.pisarz), numer_(k.plan.pozycja * (k.plan.pelny ? 200 : 24)) {}

    void Pisz(Rodzaj r);
    void KolekcjaXml();
    void ZmianyZGeneracja();

  private:
    // One group of each kind; n numbers the group over the catalogue.
    void KolumnaZTestem(std::size_t n);
    void OpcjaZTestem(std::size_t n);
    void KolumnaNotNull(std::size_t n);
    void ZmianaBezTestu(std::size_t n);
    void WywolanieOpcji(std::size_t n);
    void Haslo(std::size_t n);
    void TabelaZTestem(std::size_t n);
    void WersjeWeb();
    void WstawienieBezTestu(std::size_t n);
    void TylkoInstalacja(std::size_t n);
    void IndeksBezTestu();
    void Koniec() { p_.Separator(k_.separatory.Aktualizacji()); }
    void TestKolumny(const Zmiana& z);

    Kontekst& k_;
    PisarzPakietu& p_;
    std::size_t numer_;  // unique over the catalogue
    Zmiana ostatniaKolumna_;
};

void PisarzAktualizacji::TestKolumny(const Zmiana& z) {
    p_.Wiersz("if not exists (select 'X'");
    p_.Wiersz("                 from INFORMATION_SCHEMA.COLUMNS");
    p_.Wiersz("                where table_name = '" + z.tabela + "'");
    p_.Wiersz("                  and column_name = '" + z.kolumna + "')");
}

void PisarzAktualizacji::Pisz(Rodzaj r) {
    const std::size_t n = numer_++;
    switch (r) {
        case Rodzaj::KolumnaZTestem:
            return KolumnaZTestem(n);
        case Rodzaj::OpcjaZTestem:
            return OpcjaZTestem(n);
        case Rodzaj::KolumnaNotNull:
            return KolumnaNotNull(n);
        case Rodzaj::ZmianaBezTestu:
            return ZmianaBezTestu(n);
        case Rodzaj::WywolanieOpcji:
            return WywolanieOpcji(n);
        case Rodzaj::Haslo:
            return Haslo(n);
        case Rodzaj::TabelaZTestem:
            return TabelaZTestem(n);
        case Rodzaj::WersjeWeb:
            return WersjeWeb();
        case Rodzaj::WstawienieBezTestu:
            return WstawienieBezTestu(n);
        case Rodzaj::TylkoInstalacja:
            return TylkoInstalacja(n);
        case Rodzaj::IndeksBezTestu:
            return IndeksBezTestu();
    }
}

void PisarzAktualizacji::KolumnaZTestem(std::size_t n) {
    const Zmiana z = NowaKolumna(n);
    TestKolumny(z);
    p_.Wiersz("  alter table dbo." + z.tabela + " add " + z.kolumna + " " + z.typ + " null");
    ostatniaKolumna_ = z;
    Koniec();
}

void PisarzAktualizacji::OpcjaZTestem(std::size_t n) {
    std::string id;
    const Opcja o = WybranaOpcja(n, id);
    p_.Wiersz("if not exists (select 'X' from dbo.KONFIG_OPCJE where ID_OPCJI = '" + id + "')");
    p_.Wiersz("  insert into dbo.KONFIG_OPCJE (ID_OPCJI, OPIS, WARTOSC)");
    p_.Wiersz("  values ('" + id + "', '" + std::string(o.opis) + "', '" + std::string(o.wartosc) +
              "')");
    Koniec();
}

void PisarzAktualizacji::KolumnaNotNull(std::size_t n) {
    // Added as null, filled, then made NOT NULL: each step in its own batch, so that the
    // server compiles the update against the new column.
    const Zmiana z = {
        std::string(Tabele[n % Tabele.size()]),
        ZNumerem(Flagi[(n / Tabele.size()) % Flagi.size()], n / (Tabele.size() * Flagi.size())),
        "char(1)"};
    p_.Wiersz("-- Nowa kolumna obowiązkowa " + z.tabela + "." + z.kolumna + " (T/N), domyślnie N");
    TestKolumny(z);
    p_.Wiersz("  alter table dbo." + z.tabela + " add " + z.kolumna + " char(1) null");
    Koniec();
    p_.Wiersz("update dbo." + z.tabela);
    p_.Wiersz("   set " + z.kolumna + " = 'N'");
    p_.Wiersz(" where " + z.kolumna + " is null");
    Koniec();
    p_.Wiersz("alter table dbo." + z.tabela + " alter column " + z.kolumna + " char(1) not null");
    Koniec();
}

void PisarzAktualizacji::ZmianaBezTestu(std::size_t n) {
    const Zmiana z = NowaKolumna(n);
    p_.Wiersz("alter table dbo." + z.tabela + " add " + z.kolumna + " " + z.typ + " null");
    Koniec();
}

void PisarzAktualizacji::WywolanieOpcji(std::size_t n) {
    std::string id;
    const Opcja o = WybranaOpcja(n, id);
    p_.Wiersz("exec dbo.KONFIG_OPCJE_ZUV_UPDATE '" + id + "', '" + std::string(o.opis) + "', '" +
              std::string(o.wartosc) + "'");
    Koniec();
}

void PisarzAktualizacji::Haslo(std::size_t n) {
    // The password of the web service's login is never written as a literal.
    static constexpr std::string_view Znaki =
        "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789!#$%*+-=?@";
    std::uint32_t stan = static_cast<std::uint32_t>(n) * 2654435761u + 12345u;
    std::string wiersz = "   set wartosc = ";
    p_.Wiersz("-- Hasło konta usługi sieciowej");
    p_.Wiersz("update dbo.konfig_st");
    for (int i = 0; i < 32; ++i) {
        stan = stan * 1664525u + 1013904223u;
        const auto znak = static_cast<unsigned char>(Znaki[(stan >> 16) % Znaki.size()]);
        wiersz += "char(" + std::to_string(znak) + ")";
        if (i == 31) break;
        wiersz += " + ";
        if (i % 8 == 7) {
            p_.Wiersz(wiersz);
            wiersz = "                 ";
        }
    }
    p_.Wiersz(wiersz);
    p_.Wiersz(" where grupa = 'WS'");
    p_.Wiersz("   and nazwa = 'ZUV_WS_HASLO'");
    Koniec();
}

void PisarzAktualizacji::TabelaZTestem(std::size_t n) {
    const std::string tabela = ZNumerem(NoweTabele[n % NoweTabele.size()], n / NoweTabele.size());
    p_.Wiersz("if not exists (select 'X'");
    p_.Wiersz("                 from INFORMATION_SCHEMA.TABLES");
    p_.Wiersz("                where table_name = '" + tabela + "')");
    p_.Wiersz("  create table dbo." + tabela + " (");
    p_.Wiersz("    ID_" + tabela + " int identity(1, 1) not null primary key,");
    p_.Wiersz("    ID_SRODKA int null,");
    p_.Wiersz("    OPIS varchar(255) null,");
    p_.Wiersz("    DATA_WPISU datetime not null default getdate()");
    p_.Wiersz("  )");
    Koniec();
}

void PisarzAktualizacji::WersjeWeb() {
    const std::string numer =
        std::to_string(k_.plan.pozycja / 8 + 1) + "." + std::to_string(k_.plan.pozycja % 8);
    p_.Wiersz("update dbo.konfig_st");
    p_.Wiersz("   set wartosc = '3." + numer + ".0'");
    p_.Wiersz(" where grupa = 'WERSJE'");
    p_.Wiersz("   and nazwa = 'ZUV_WEB_SERVICE_WERSJA'");
    p_.Wiersz("");
    p_.Wiersz("update dbo.konfig_st");
    p_.Wiersz("   set wartosc = '2." + numer + ".1'");
    p_.Wiersz(" where grupa = 'WERSJE'");
    p_.Wiersz("   and nazwa = 'ZUV_STRONA_WWW_WERSJA'");
    Koniec();
}

void PisarzAktualizacji::WstawienieBezTestu(std::size_t n) {
    const std::string tabela = ZNumerem(NoweTabele[n % NoweTabele.size()], n / NoweTabele.size());
    if (k_.plan.stanWyzwalaczy) {
        p_.Wiersz("insert into dbo.S_TABELE (NAZWA_TABELI, OPIS, STAN)");
        p_.Wiersz("values ('" + tabela + "', 'Tabela objęta dziennikiem zmian', 'T')");
    } else {
        p_.Wiersz("insert into dbo.S_TABELE (NAZWA_TABELI, OPIS)");
        p_.Wiersz("values ('" + tabela + "', 'Tabela objęta dziennikiem zmian')");
    }
    Koniec();
}

void PisarzAktualizacji::TylkoInstalacja(std::size_t n) {
    static constexpr std::array<std::string_view, 3> Serwery = {"SRV-ZUV01", "KSIEGOWOSC\\SQL2005",
                                                                "ZUV-PROD"};
    static constexpr std::array<std::string_view, 3> Bazy = {"ZUV_URZAD_MIASTA", "ZUV",
                                                             "ZUV_SZPITAL"};
    std::string id;
    WybranaOpcja(n, id);
    p_.Wiersz("-- Tylko w jednej instalacji: ustawienie uzgodnione z użytkownikiem");
    p_.Wiersz("if @@SERVERNAME = '" + std::string(Serwery[n % 3]) + "' and DB_NAME() = '" +
              std::string(Bazy[(n / 3) % 3]) + "'");
    p_.Wiersz("  update dbo.KONFIG_OPCJE");
    p_.Wiersz("     set WARTOSC = 'T'");
    p_.Wiersz("   where ID_OPCJI = '" + id + "'");
    Koniec();
}

void PisarzAktualizacji::IndeksBezTestu() {
    const Zmiana& z = ostatniaKolumna_;
    p_.Wiersz("create index IX_" + z.tabela + "_" + z.kolumna + " on dbo." + z.tabela + " (" +
              z.kolumna + ")");
    Koniec();
}

void PisarzAktualizacji::KolekcjaXml() {
    PiszKolekcjeXml(k_, "XSD_IMPORT_SRODKOW", "import środków z innego systemu", false, true, true);
}

// Statements that need a 2005 server: an XML column, an index with included columns and a
// VARCHAR(MAX) column.
void PisarzAktualizacji::ZmianyZGeneracja() {
    p_.Wiersz(ZnacznikGeneracji);
    TestKolumny({"DOKUMENTY", "DANE_XML", "xml"});
    p_.Wiersz("  alter table dbo.DOKUMENTY add DANE_XML xml null");
    Koniec();
    p_.Wiersz(ZnacznikGeneracji);
    p_.Wiersz(
        "if not exists (select 'X' from sys.indexes where name = 'IX_ELEMENTY_DOK_DOKUMENT')");
    p_.Wiersz(
        "  create index IX_ELEMENTY_DOK_DOKUMENT on dbo.ELEMENTY_DOK (ID_DOKUMENTU) include "
        "(ID_SRODKA)");
    Koniec();
    p_.Wiersz(ZnacznikGeneracji);
    TestKolumny({"SRODKI", "OPIS_ROZSZERZONY", "varchar(max)"});
    p_.Wiersz("  alter table dbo.SRODKI add OPIS_ROZSZERZONY varchar(max) null");
    Koniec();
}

std::string TytulSekcji(const PlanPakietu& plan) {
    const std::size_t kropka = plan.wersja.find('.');
    const std::string glowna = plan.wersja.substr(0, kropka);
    std::string pomocnicza =
        plan.wersja.substr(kropka + 1, plan.wersja.find('.', kropka + 1) - kropka - 1);
    if (pomocnicza.size() < 2) pomocnicza = std::string(1, '0') + pomocnicza;
    return "-- AKTUALIZACJE (plik AKTUALIZACJA_ZUV_" + glowna + "_" + pomocnicza + "_00.sql)";
}

}  // namespace

void PiszSekcjeAktualizacji(Kontekst& k) {
    const PlanPakietu& plan = k.plan;
    PiszRamke(k.pisarz, TytulSekcji(plan));
    PisarzAktualizacji pisarz(k);
    int pozostale =
        plan.partieAktualizacji - plan.kolekcjeXmlWAktualizacji - plan.aktualizacjeZGeneracja;
    bool specjalneNapisane = false;
    for (std::size_t i = 0; pozostale > 0; ++i) {
        const Rodzaj r = Runda[i % Runda.size()];
        if (Partie(r) > pozostale) continue;
        pisarz.Pisz(r);
        pozostale -= Partie(r);
        if (!specjalneNapisane) {
            if (plan.kolekcjeXmlWAktualizacji > 0) pisarz.KolekcjaXml();
            if (plan.aktualizacjeZGeneracja > 0) pisarz.ZmianyZGeneracja();
            specjalneNapisane = true;
        }
    }
    if (!specjalneNapisane && plan.kolekcjeXmlWAktualizacji + plan.aktualizacjeZGeneracja > 0)
        throw std::logic_error("Sekcja aktualizacji bez zwykłych partii");
}

}  // namespace generator
