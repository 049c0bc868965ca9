#include "db/PolaczenieODBC.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/BladLogowania.h"
#include "db/ConnectionStringODBC.h"
#include "db/Kodowanie.h"
#include "db/SondaPreLogin.h"
#include "db/UtrataPolaczenia.h"
#include "db/odbc/UchwytyODBC.h"
#include "db/platforma/SterownikODBC.h"

namespace zuv {

namespace {

// SQL Server drivers in the order they are preferred when several are installed.
constexpr std::array<std::string_view, 6> ZnaneSterowniki = {
    "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server", "FreeTDS",
    "SQL Server Native Client 11.0", "SQL Server Native Client 10.0", "SQL Server",
};

constexpr std::int32_t KodZamkniete = static_cast<std::int32_t>(0x800A0E78);  // adErrObjectClosed
constexpr std::int32_t KodZagniezdzenie =
    static_cast<std::int32_t>(0x8004D013);  // XACT_E_XTIONEXISTS
constexpr std::int32_t KodBrakSterownika =
    static_cast<std::int32_t>(0x800A0E7A);  // adErrProviderNotFound
// "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."
constexpr std::int32_t KodBrakTransakcjiDoWycofania = 3903;

SQLPOINTER WartoscAtrybutu(SQLULEN wartosc) { return reinterpret_cast<SQLPOINTER>(wartosc); }

SQLWCHAR* TekstSzeroki(std::u16string& tekst) { return reinterpret_cast<SQLWCHAR*>(tekst.data()); }

bool TylkoAscii(std::string_view tekst) {
    return std::all_of(tekst.begin(), tekst.end(),
                       [](char znak) { return static_cast<unsigned char>(znak) < 0x80; });
}

std::string WybierzSterownik(SQLHANDLE srodowisko) {
    std::vector<std::string> zainstalowane;
    SQLUSMALLINT kierunek = SQL_FETCH_FIRST;
    for (;;) {
        SQLWCHAR nazwa[256];
        SQLWCHAR atrybuty[1024];
        SQLSMALLINT dlugoscNazwy = 0;
        SQLSMALLINT dlugoscAtrybutow = 0;
        const SQLRETURN wynik = SQLDriversW(srodowisko, kierunek, nazwa, 256, &dlugoscNazwy,
                                            atrybuty, 1024, &dlugoscAtrybutow);
        if (!SQL_SUCCEEDED(wynik)) break;
        std::u16string tekst(static_cast<std::size_t>(std::min<SQLSMALLINT>(dlugoscNazwy, 255)),
                             u'\0');
        for (std::size_t i = 0; i < tekst.size(); ++i) tekst[i] = static_cast<char16_t>(nazwa[i]);
        zainstalowane.push_back(Utf16NaUtf8(tekst));
        kierunek = SQL_FETCH_NEXT;
    }
    for (const std::string_view znany : ZnaneSterowniki)
        for (const auto& nazwa : zainstalowane)
            if (nazwa == znany) return nazwa;
    std::string lista;
    for (const std::string_view znany : ZnaneSterowniki)
        lista += (lista.empty() ? "" : ", ") + std::string(znany);
    const std::string tekst =
        "Nie znaleziono sterownika ODBC dla Microsoft SQL Server. Zainstaluj "
        "jeden z: " +
        lista + PodpowiedzInstalacjiSterownika();
    throw EOleException(tekst, KodBrakSterownika, "ODBC");
}

}  // namespace

struct PolaczenieODBC::Sesja {
    // Declared parent first, so the connection handle goes before the environment.
    SrodowiskoODBC srodowisko;
    PolaczenieUchwytODBC polaczenie;
    SterownikODBC sterownik;
    bool polaczona = false;
    bool wTransakcji = false;
    // The converted command, kept from command to command so that its memory is reused.
    BuforKonwersji<char16_t> polecenieUtf16;
    BuforKonwersji<char> polecenieUtf8;
    // One statement serves every command of the session: made at the first command and freed
    // before the session is disconnected. A statement made and freed per batch costs the driver
    // more than the batch's own conversion (FreeTDS clears a large block each time).
    PolecenieODBC instrukcja;
    std::optional<SQLULEN> limitInstrukcji;  // set on the statement; none: not yet set

    ~Sesja() {
        if (polaczona) Rozlacz();
    }

    // The statement goes first: the disconnect would free it behind its handle's back.
    SQLRETURN Rozlacz() noexcept {
        instrukcja.Zwolnij();
        return SQLDisconnect(polaczenie.Uchwyt());
    }

    // The session's statement for the next command, with the given time-out and no cursor left
    // open by a command that ended in an error. Escape processing is off, so that "{...}", "?"
    // inside literals and comments and everything else reach the server as written.
    const PolecenieODBC& Polecenie(int limitCzasuSekund) {
        if (!instrukcja) {
            PolecenieODBC nowa;
            SprawdzODBC(SQLAllocHandle(SQL_HANDLE_STMT, polaczenie.Uchwyt(), nowa.Adres()),
                        SQL_HANDLE_DBC, polaczenie.Uchwyt(), sterownik);
            SprawdzODBC(
                SQLSetStmtAttr(nowa.Uchwyt(), SQL_ATTR_NOSCAN, WartoscAtrybutu(SQL_NOSCAN_ON), 0),
                SQL_HANDLE_STMT, nowa.Uchwyt(), sterownik);
            instrukcja = std::move(nowa);
            limitInstrukcji = std::nullopt;  // the session's default, whatever it is
        } else {
            SprawdzODBC(SQLFreeStmt(instrukcja.Uchwyt(), SQL_CLOSE), SQL_HANDLE_STMT,
                        instrukcja.Uchwyt(), sterownik);
        }
        const auto limit = static_cast<SQLULEN>(limitCzasuSekund < 0 ? 0 : limitCzasuSekund);
        if (limit != limitInstrukcji) {
            SprawdzODBC(SQLSetStmtAttr(instrukcja.Uchwyt(), SQL_ATTR_QUERY_TIMEOUT,
                                       WartoscAtrybutu(limit), 0),
                        SQL_HANDLE_STMT, instrukcja.Uchwyt(), sterownik);
            limitInstrukcji = limit;
        }
        return instrukcja;
    }

    // The text is converted whole before anything is sent, so a byte code page 1250 does not
    // define stops the command at the client.
    void Wykonaj(const PolecenieODBC& polecenie, std::string_view tekst) {
        SQLRETURN wynik;
        if (sterownik.waskieUtf8) {
            const std::string_view utf8 = Cp1250NaUtf8(tekst, polecenieUtf8);
            wynik = SQLExecDirect(polecenie.Uchwyt(),
                                  reinterpret_cast<SQLCHAR*>(const_cast<char*>(utf8.data())),
                                  static_cast<SQLINTEGER>(utf8.size()));
        } else {
            const std::u16string_view utf16 = Cp1250NaUtf16(tekst, polecenieUtf16);
            wynik = SQLExecDirectW(polecenie.Uchwyt(),
                                   reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(utf16.data())),
                                   static_cast<SQLINTEGER>(utf16.size()));
        }
        SprawdzODBC(wynik, SQL_HANDLE_STMT, polecenie.Uchwyt(), sterownik, tekst);
    }

    // Reads every remaining result of the command, so that an error raised by a later statement
    // surfaces. Stops at the first error: after a lost connection the driver fails every call.
    void DoczytajWyniki(const PolecenieODBC& polecenie) const {
        for (;;) {
            const SQLRETURN wynik = SQLMoreResults(polecenie.Uchwyt());
            if (wynik == SQL_NO_DATA) return;
            SprawdzODBC(wynik, SQL_HANDLE_STMT, polecenie.Uchwyt(), sterownik);
        }
    }
};

// From the moment the statement exists until just before it is freed, Anuluj can reach it; the
// lock keeps SQLCancel off a handle being freed.
class PolaczenieODBC::BiezacePolecenie {
  public:
    BiezacePolecenie(PolaczenieODBC& polaczenie, SQLHANDLE uchwyt) : polaczenie_(polaczenie) {
        const std::lock_guard zamek(polaczenie_.blokadaAnulowania_);
        polaczenie_.biezace_ = uchwyt;
    }
    ~BiezacePolecenie() {
        const std::lock_guard zamek(polaczenie_.blokadaAnulowania_);
        polaczenie_.biezace_ = nullptr;
    }
    BiezacePolecenie(const BiezacePolecenie&) = delete;
    BiezacePolecenie& operator=(const BiezacePolecenie&) = delete;

  private:
    PolaczenieODBC& polaczenie_;
};

void PolaczenieODBC::Anuluj() noexcept {
    const std::lock_guard zamek(blokadaAnulowania_);
    if (biezace_ != nullptr) SQLCancel(static_cast<SQLHANDLE>(biezace_));
}

PolaczenieODBC::PolaczenieODBC(int limitCzasuLogowania, int limitPolecenia)
    : limitCzasuLogowania_(limitCzasuLogowania), limitPolecenia_(limitPolecenia) {}

PolaczenieODBC::~PolaczenieODBC() = default;

bool PolaczenieODBC::Otwarte() const { return sesja_ && sesja_->polaczona; }

std::string PolaczenieODBC::Sterownik() const {
    return sesja_ ? sesja_->sterownik.nazwa : std::string();
}

PolaczenieODBC::Sesja& PolaczenieODBC::OtwartaSesja() const {
    if (!Otwarte())
        throw EOleException("Operation is not allowed when the object is closed.", KodZamkniete,
                            "ADODB.Connection");
    return *sesja_;
}

void PolaczenieODBC::OtworzSesje(const DaneLogowania& dane) {
    auto sesja = std::make_unique<Sesja>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, sesja->srodowisko.Adres())))
        throw EOleException("Nie można zainicjować środowiska ODBC", KodBrakSterownika, "ODBC");
    SprawdzODBC(SQLSetEnvAttr(sesja->srodowisko.Uchwyt(), SQL_ATTR_ODBC_VERSION,
                              WartoscAtrybutu(SQL_OV_ODBC3), 0),
                SQL_HANDLE_ENV, sesja->srodowisko.Uchwyt(), sesja->sterownik);
    sesja->sterownik.nazwa = WybierzSterownik(sesja->srodowisko.Uchwyt());

    SprawdzODBC(
        SQLAllocHandle(SQL_HANDLE_DBC, sesja->srodowisko.Uchwyt(), sesja->polaczenie.Adres()),
        SQL_HANDLE_ENV, sesja->srodowisko.Uchwyt(), sesja->sterownik);
    const SQLHANDLE dbc = sesja->polaczenie.Uchwyt();
    SprawdzODBC(SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT,
                                  WartoscAtrybutu(static_cast<SQLULEN>(limitCzasuLogowania_)), 0),
                SQL_HANDLE_DBC, dbc, sesja->sterownik);

    const RodzajSterownika rodzaj = RodzajSterownikaDla(sesja->sterownik.nazwa);
    std::string odbc = ConnectionStringODBC(dane, sesja->sterownik.nazwa, rodzaj);
    // FreeTDS bounds a begin, commit or roll back only by the session's default wait, which is
    // none unless the connection string gives one; on a time-out there it ends the session.
    // Commands get their own wait, set on the statement (Sesja::Polecenie).
    if (rodzaj == RodzajSterownika::FreeTDS)
        odbc += "Timeout=" + std::to_string(limitPolecenia_) + ";";
    // The narrow call reads the connection string as Latin-1 whatever the client character set,
    // so log-in values beyond ASCII keep the wide session.
    sesja->sterownik.waskieUtf8 = WaskieWywolaniaUtf8(sesja->sterownik.nazwa) && TylkoAscii(odbc);
    if (sesja->sterownik.waskieUtf8) odbc += ";ClientCharset=UTF-8";
    std::u16string tekst = Utf8NaUtf16(odbc);
    // The call takes the length as 16 bits; a longer string would arrive cut. The checks of the
    // log-in values keep it far below that, so this only guards against a new attribute.
    if (tekst.size() > static_cast<std::size_t>(std::numeric_limits<SQLSMALLINT>::max()))
        throw EDatabaseError("Ciąg połączenia jest za długi dla sterownika ODBC.");
    SQLSMALLINT dlugosc = 0;
    SQLRETURN polaczono;
    if (sesja->sterownik.waskieUtf8) {
        polaczono = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(odbc.data()),
                                     static_cast<SQLSMALLINT>(odbc.size()), nullptr, 0, &dlugosc,
                                     SQL_DRIVER_NOPROMPT);
    } else {
        SQLWCHAR wynikowy[2048];
        polaczono = SQLDriverConnectW(dbc, nullptr, TekstSzeroki(tekst),
                                      static_cast<SQLSMALLINT>(tekst.size()), wynikowy, 2048,
                                      &dlugosc, SQL_DRIVER_NOPROMPT);
    }
    if (!SQL_SUCCEEDED(polaczono)) {
        const std::vector<RekordDiagnostyki> rekordy =
            RekordyODBC(SQL_HANDLE_DBC, dbc, sesja->sterownik);
        // The server is asked by the program itself only where the driver's records cannot tell
        // the causes apart; it is quick, the driver having just reached it.
        const OdpowiedzPreLogin preLogin =
            PotrzebnaOdpowiedzPreLogin(rekordy)
                ? ZapytajOPreLogin(dane.serwer,
                                   std::chrono::seconds(std::max(limitCzasuLogowania_, 1)))
                : OdpowiedzPreLogin::Niesprawdzona;
        throw BladLogowania(rekordy, sesja->sterownik.nazwa, preLogin);
    }
    sesja->polaczona = true;
    sesja_ = std::move(sesja);
}

void PolaczenieODBC::ZamknijSesje() {
    std::unique_ptr<Sesja> sesja = std::move(sesja_);
    if (!sesja || !sesja->polaczona) return;
    sesja->polaczona = false;
    const SQLHANDLE dbc = sesja->polaczenie.Uchwyt();
    // The handles go with `sesja` whatever SQLDisconnect says; its error is still reported.
    SprawdzODBC(sesja->Rozlacz(), SQL_HANDLE_DBC, dbc, sesja->sterownik);
}

template <typename Funkcja>
auto PolaczenieODBC::ZamykajPoZerwaniu(KrokUtraty krok, Funkcja&& funkcja) {
    try {
        return funkcja();
    } catch (const EUtrataPolaczenia&) {
        throw;
    } catch (const EOleException& blad) {
        if (!LaczeZerwane(blad)) throw;
        // The statement's handle is gone by now, so the session can go too.
        PorzucSesje();
        throw EUtrataPolaczenia(blad, krok);
    } catch (const Exception&) {
        if (SesjaZerwana()) PorzucSesje();
        throw;
    }
}

WynikZapytania PolaczenieODBC::WykonajZRekordami(std::string_view polecenie) {
    return ZamykajPoZerwaniu(KrokUtraty::Polecenie, [&] { return ZapytanieZRekordami(polecenie); });
}

void PolaczenieODBC::WykonajBezRekordow(std::string_view polecenie, int limitCzasuSekund) {
    ZamykajPoZerwaniu(KrokUtraty::Polecenie,
                      [&] { PolecenieBezRekordow(polecenie, limitCzasuSekund); });
}

WynikZapytania PolaczenieODBC::ZapytanieZRekordami(std::string_view polecenie) {
    Sesja& sesja = OtwartaSesja();
    const PolecenieODBC& instrukcja = sesja.Polecenie(limitPolecenia_);
    const SQLHANDLE uchwyt = instrukcja.Uchwyt();
    const BiezacePolecenie biezace(*this, uchwyt);
    sesja.Wykonaj(instrukcja, polecenie);

    WynikZapytania wynik;
    SQLSMALLINT kolumny = 0;
    SprawdzODBC(SQLNumResultCols(uchwyt, &kolumny), SQL_HANDLE_STMT, uchwyt, sesja.sterownik);
    // Row counts of statements before the first result set are passed over.
    while (kolumny == 0) {
        const SQLRETURN dalej = SQLMoreResults(uchwyt);
        if (dalej == SQL_NO_DATA) return wynik;
        SprawdzODBC(dalej, SQL_HANDLE_STMT, uchwyt, sesja.sterownik);
        SprawdzODBC(SQLNumResultCols(uchwyt, &kolumny), SQL_HANDLE_STMT, uchwyt, sesja.sterownik);
    }

    // Which columns are integers, read as such; every other one is read as text.
    std::vector<bool> calkowite;
    for (SQLSMALLINT kolumna = 1; kolumna <= kolumny; ++kolumna) {
        SQLSMALLINT typ = 0;
        SQLULEN rozmiar = 0;
        SQLSMALLINT skala = 0;
        SQLSMALLINT dopuszczaNull = 0;
        SQLWCHAR nazwa[128];
        SQLSMALLINT dlugoscNazwy = 0;
        SprawdzODBC(SQLDescribeColW(uchwyt, static_cast<SQLUSMALLINT>(kolumna), nazwa, 128,
                                    &dlugoscNazwy, &typ, &rozmiar, &skala, &dopuszczaNull),
                    SQL_HANDLE_STMT, uchwyt, sesja.sterownik);
        calkowite.push_back(typ == SQL_INTEGER || typ == SQL_SMALLINT || typ == SQL_TINYINT ||
                            typ == SQL_BIGINT || typ == SQL_BIT);
    }
    const auto Pole = [&](SQLUSMALLINT kolumna) -> WartoscPola {
        SQLLEN wskaznik = 0;
        if (calkowite[kolumna - 1]) {
            SQLBIGINT liczba = 0;
            SprawdzODBC(
                SQLGetData(uchwyt, kolumna, SQL_C_SBIGINT, &liczba, sizeof liczba, &wskaznik),
                SQL_HANDLE_STMT, uchwyt, sesja.sterownik);
            return wskaznik == SQL_NULL_DATA ? WartoscPola() : WartoscPola(std::int64_t{liczba});
        }
        std::u16string tekst;
        for (;;) {
            SQLWCHAR kawalek[1024];
            const SQLRETURN czesc =
                SQLGetData(uchwyt, kolumna, SQL_C_WCHAR, kawalek, sizeof kawalek, &wskaznik);
            if (czesc == SQL_NO_DATA) break;
            SprawdzODBC(czesc, SQL_HANDLE_STMT, uchwyt, sesja.sterownik);
            if (wskaznik == SQL_NULL_DATA) break;
            const std::size_t pojemnosc = sizeof kawalek / sizeof(SQLWCHAR) - 1;
            const std::size_t znaki =
                (wskaznik == SQL_NO_TOTAL ||
                 static_cast<std::size_t>(wskaznik) / sizeof(SQLWCHAR) > pojemnosc)
                    ? pojemnosc
                    : static_cast<std::size_t>(wskaznik) / sizeof(SQLWCHAR);
            for (std::size_t i = 0; i < znaki; ++i) tekst += static_cast<char16_t>(kawalek[i]);
            if (czesc == SQL_SUCCESS) break;
        }
        return wskaznik == SQL_NULL_DATA ? WartoscPola() : WartoscPola(Utf16NaUtf8(tekst));
    };

    for (;;) {
        const SQLRETURN pobrano = SQLFetch(uchwyt);
        if (pobrano == SQL_NO_DATA) break;
        SprawdzODBC(pobrano, SQL_HANDLE_STMT, uchwyt, sesja.sterownik);
        ++wynik.liczbaRekordow;
        std::vector<WartoscPola> wiersz;
        wiersz.reserve(calkowite.size());
        for (SQLSMALLINT kolumna = 1; kolumna <= kolumny; ++kolumna)
            wiersz.push_back(Pole(static_cast<SQLUSMALLINT>(kolumna)));
        if (wynik.liczbaRekordow == 1) wynik.pierwszePole = wiersz.front();
        wynik.wiersze.push_back(std::move(wiersz));
    }
    sesja.DoczytajWyniki(instrukcja);
    return wynik;
}

void PolaczenieODBC::PolecenieBezRekordow(std::string_view polecenie, int limitCzasuSekund) {
    Sesja& sesja = OtwartaSesja();
    const PolecenieODBC& instrukcja = sesja.Polecenie(
        limitCzasuSekund == DomyslnyLimitCzasuPolecenia ? limitPolecenia_ : limitCzasuSekund);
    const BiezacePolecenie biezace(*this, instrukcja.Uchwyt());
    sesja.Wykonaj(instrukcja, polecenie);
    sesja.DoczytajWyniki(instrukcja);
}

int PolaczenieODBC::RozpocznijNaSerwerze() {
    return ZamykajPoZerwaniu(KrokUtraty::Rozpoczecie, [&] { return RozpocznijWSesji(); });
}

int PolaczenieODBC::RozpocznijWSesji() {
    Sesja& sesja = OtwartaSesja();
    if (sesja.wTransakcji)
        throw EOleException("Cannot start more transactions on this session.", KodZagniezdzenie,
                            "ODBC " + sesja.sterownik.nazwa);
    const SQLHANDLE dbc = sesja.polaczenie.Uchwyt();
    SprawdzODBC(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, WartoscAtrybutu(SQL_AUTOCOMMIT_OFF), 0),
                SQL_HANDLE_DBC, dbc, sesja.sterownik);
    sesja.wTransakcji = true;
    return 1;
}

bool PolaczenieODBC::SesjaZerwana() const {
    if (!Otwarte()) return true;
    SQLUINTEGER martwe = SQL_CD_FALSE;
    const SQLRETURN wynik = SQLGetConnectAttr(sesja_->polaczenie.Uchwyt(), SQL_ATTR_CONNECTION_DEAD,
                                              &martwe, 0, nullptr);
    return SQL_SUCCEEDED(wynik) && martwe == SQL_CD_TRUE;
}

bool PolaczenieODBC::LaczeZerwane(const EOleException& blad) const {
    // A connection closed before the call was not lost by it.
    if (!Otwarte()) return false;
    // FreeTDS reports the loss itself as a warning (01000 "Unexpected EOF from the server") or a
    // general error (HY000 "Unknown error" after a reset), and marks the connection dead;
    // Microsoft's drivers report SQLSTATE class 08 (connection exception).
    return SesjaZerwana() || blad.StanSQL().rfind("08", 0) == 0;
}

void PolaczenieODBC::PorzucSesje() noexcept {
    // The server ended the session and rolled back whatever it had open.
    ZapomnijTransakcje();
    std::unique_ptr<Sesja> sesja = std::move(sesja_);
    if (!sesja || !sesja->polaczona) return;
    sesja->polaczona = false;
    // Nothing can be sent any more; the call only releases the driver's side.
    sesja->Rozlacz();
}

void PolaczenieODBC::OdnowSesje() noexcept {
    PorzucSesje();
    try {
        OtworzSesje(Logowanie());
    } catch (const std::exception&) {
        // The connection then counts as closed; the next command says so and "Loguj" opens it.
    }
}

bool PolaczenieODBC::TransakcjaNaSerwerze() {
    const WynikZapytania wynik = WykonajZRekordami("SELECT @@TRANCOUNT");
    const auto* liczba =
        wynik.pierwszePole ? std::get_if<std::int64_t>(&*wynik.pierwszePole) : nullptr;
    return liczba == nullptr || *liczba > 0;
}

std::optional<EOleException> PolaczenieODBC::PrzywrocAutoZatwierdzanie() {
    Sesja& sesja = *sesja_;
    sesja.wTransakcji = false;
    const SQLHANDLE dbc = sesja.polaczenie.Uchwyt();
    const SQLRETURN wynik =
        SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, WartoscAtrybutu(SQL_AUTOCOMMIT_ON), 0);
    if (SQL_SUCCEEDED(wynik)) return std::nullopt;
    return BladODBC(SQL_HANDLE_DBC, dbc, sesja.sterownik);
}

void PolaczenieODBC::ZatwierdzNaSerwerze() {
    Sesja& sesja = OtwartaSesja();
    const SQLHANDLE dbc = sesja.polaczenie.Uchwyt();
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT))) {
        const EOleException blad = BladODBC(SQL_HANDLE_DBC, dbc, sesja.sterownik);
        if (!LaczeZerwane(blad)) throw blad;
        // The commit may have been carried out before the link went: its outcome is open.
        PorzucSesje();
        throw EUtrataPolaczenia(blad, KrokUtraty::Zatwierdzenie);
    }
    // Committed. Switching autocommit on sends a roll back of the (empty) transaction the driver
    // began at once; a server that refuses it leaves the driver believing a transaction is open,
    // and its next begin would send nothing, so that later batches would each commit on their
    // own. Such a session cannot be used any more, nor replaced by a new one here: the run's next
    // package needs the update-session flag of this one. The run stops, and says so.
    if (const auto blad = PrzywrocAutoZatwierdzanie()) {
        const bool zerwane = LaczeZerwane(*blad);
        PorzucSesje();
        throw EUtrataPolaczenia(*blad, KrokUtraty::PoZatwierdzeniu, zerwane);
    }
}

void PolaczenieODBC::WycofajNaSerwerze() {
    OtwartaSesja();
    // Asked before the roll back, whose own answer cannot tell: the server may have ended the
    // transaction itself when a batch failed (a deadlock victim, XACT_ABORT, an error that aborts
    // the transaction). FreeTDS's roll back is then refused with 3903 while its begin part still
    // opens a new transaction, so a count asked afterwards reads 1.
    bool otwarta = true;
    try {
        otwarta = TransakcjaNaSerwerze();
    } catch (const EUtrataPolaczenia&) {
        return;  // the session went, and the server rolls back what it left open
    } catch (const EOleException&) {
        // Unreadable: taken as open, and the roll back decides.
    }
    Sesja& sesja = *sesja_;
    const SQLHANDLE dbc = sesja.polaczenie.Uchwyt();
    // Sent also when nothing is open: it ends the driver's own idea of the transaction, and a
    // server that begins a new one with it gives the switch to autocommit below one to end.
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK))) {
        const EOleException blad = BladODBC(SQL_HANDLE_DBC, dbc, sesja.sterownik);
        if (LaczeZerwane(blad)) {
            PorzucSesje();
            return;
        }
        if (otwarta && blad.Kod() != KodBrakTransakcjiDoWycofania) {
            // The transaction may still be open on the server. Ending the session rolls it back
            // there, so nothing of it can stay, and nothing of it can be committed later.
            PorzucSesje();
            throw EOleException(
                Formatuj("Wycofanie zmian nie powiodło się: %s\r\nProgram zakończył połączenie z "
                         "serwerem, więc serwer wycofa niezatwierdzone zmiany. Kliknij „Loguj”, "
                         "aby połączyć się ponownie.",
                         {blad.Komunikat()}),
                blad.Kod(), blad.Zrodlo(), blad.PlikPomocy(), blad.KontekstPomocy(),
                blad.StanSQL());
        }
    }
    // After a roll back the run ends, so a session in an unknown state can be replaced by a new
    // one: the next run sets its update-session flag again.
    if (const auto blad = PrzywrocAutoZatwierdzanie()) {
        if (LaczeZerwane(*blad))
            PorzucSesje();
        else
            OdnowSesje();
    }
}

}  // namespace zuv
