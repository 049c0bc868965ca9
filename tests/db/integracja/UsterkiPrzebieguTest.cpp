// The faults an administrator can meet, through the update command, the real ODBC stack and the
// test server: a dropped or reset connection, a server error or a reply past the time-out at each
// request of a log-in and a run of two packages. For each: the exact text of the error box,
// whether the session is gone, what the database then records (never half a package, committed
// packages kept), where a commit's outcome is open what the read-back says, and that the next
// "Aktualizuj" (after "Loguj" where the session was lost) resumes and finishes. One server per
// case.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "app/ObslugaBledu.h"
#include "app/PolecenieAktualizacji.h"
#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "db/PolaczenieODBC.h"
#include "db/UtrataPolaczenia.h"
#include "db/ZapisanaWersja.h"
#include "tests/db/integracja/OpisyBledowLogowania.h"
#include "tests/db/integracja/SerwerTestowy.h"
#include "tests/support/OknaKomunikatowSkryptowe.h"
#include "tests/support/PolecenieWWatku.h"
#include "versions/KatalogWersji.h"

using namespace zuv;

namespace {

constexpr const char* WersjaPoczatkowa = "11.3.0.2";  // the run applies 11.4.0.1 and 11.5.0.6
constexpr int LimitTestowy = 1;                       // seconds, for the 30 s of the commands

class OknoTestowe : public PolaLogowania,
                    public GrupaAktualizacji,
                    public ListaWersji,
                    public PasekInformacyjny {
  public:
    explicit OknoTestowe(std::string adres) : adres_(std::move(adres)) {}
    std::string Serwer() const override { return adres_; }
    std::string Baza() const override { return "ZUV"; }
    std::string Uzytkownik() const override { return "sa"; }
    std::string Haslo() const override { return "Tajne;1'\""; }
    void UstawTekstWersji(const std::string&) override {}
    void PokazGrupe(bool widoczna) override { grupaWidoczna = widoczna; }
    int LiczbaWersji() const override { return static_cast<int>(KatalogWersji.size()); }
    std::string Wersja(int i) const override { return std::string(KatalogWersji.at(i)); }
    void UstawTekst(std::string_view) override {}
    void OdswiezTeraz() override {}
    bool Widoczna() const override { return true; }
    void UstawKolor(std::uint32_t) override {}
    void PrzywrocKolor() override {}
    void UstawWypelnienie(std::int64_t, std::int64_t) override {}

    bool grupaWidoczna = false;

  private:
    std::string adres_;
};

// The program over one test server: its connection, its window and its command.
struct Program {
    explicit Program(SerwerTestowy& serwer)
        : okno(serwer.Adres()), polecenie(conn, WidokOkna{okno, okno, okno, komunikaty, okno}) {}

    // The text of the box the default error handler shows for what `krok` raises; empty when it
    // raises nothing.
    std::string Box(const std::function<void()>& krok) {
        blad = nullptr;
        try {
            krok();
        } catch (const std::exception& e) {
            blad = std::current_exception();
            return TekstBledu(e.what());
        }
        return "";
    }
    std::string Loguj() {
        return Box([&] { ZalogujWWatku(polecenie); });
    }
    std::string Aktualizuj() {
        komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
        return Box([&] { AktualizujWWatku(polecenie); });
    }
    PolaczenieODBC conn{PolaczenieODBC::LimitCzasuLogowania, LimitTestowy};
    std::exception_ptr blad;  // of the last step
    OknoTestowe okno;
    OknaKomunikatowSkryptowe komunikaty;
    PolecenieAktualizacji polecenie;
};

// The requests (batches and transaction requests, numbered from 1 as the server's faults count
// them) of a log-in and a whole run without faults, and the roles the cases name.
enum class Rola {
    WersjaPrzyLogowaniu,
    WersjaPrzedPrzebiegiem,
    Blokada,
    TworzenieFlagi,
    WstawienieFlagi,
    OdczytGeneracji,
    Rozpoczecie,
    PierwszaPartia,
    SrodkowaPartia,
    OstatniaPartia,
    Zatwierdzenie,
    PoZatwierdzeniu,
};

std::uint64_t NumerZadania(Rola rola) {
    static const std::vector<tds::JournalEntry> zadania = [] {
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = WersjaPoczatkowa;
        SerwerTestowy serwer(konfiguracja);
        Program program(serwer);
        EXPECT_EQ(program.Loguj(), "");
        EXPECT_EQ(program.Aktualizuj(), "");
        std::vector<tds::JournalEntry> wynik;
        for (const auto& wpis : serwer->journal())
            if (wpis.kind == tds::RequestKind::Batch || wpis.kind == tds::RequestKind::Begin ||
                wpis.kind == tds::RequestKind::Commit || wpis.kind == tds::RequestKind::Rollback)
                wynik.push_back(wpis);
        return wynik;
    }();
    const auto numer = [&](auto warunek, std::size_t od = 0) -> std::uint64_t {
        for (std::size_t i = od; i < zadania.size(); ++i)
            if (warunek(zadania[i])) return i + 1;
        ADD_FAILURE() << "no such request";
        return 0;
    };
    const auto rodzaju = [](tds::RequestKind rodzaj) {
        return [rodzaj](const tds::JournalEntry& w) { return w.kind == rodzaj; };
    };
    const std::uint64_t rozpoczecie = numer(rodzaju(tds::RequestKind::Begin));
    const std::uint64_t zatwierdzenie = numer(rodzaju(tds::RequestKind::Commit));
    switch (rola) {
        case Rola::WersjaPrzyLogowaniu:
            return 1;
        case Rola::WersjaPrzedPrzebiegiem:
            return 2;
        case Rola::Blokada:
            return 3;
        case Rola::TworzenieFlagi:
            return 4;
        case Rola::WstawienieFlagi:
            return 5;
        case Rola::OdczytGeneracji:
            return 6;
        case Rola::Rozpoczecie:
            return rozpoczecie;
        case Rola::PierwszaPartia:
            return rozpoczecie + 1;
        case Rola::SrodkowaPartia:
            return (rozpoczecie + zatwierdzenie) / 2;
        case Rola::OstatniaPartia:
            return zatwierdzenie - 1;
        case Rola::Zatwierdzenie:
            return zatwierdzenie;
        case Rola::PoZatwierdzeniu:
            return zatwierdzenie + 1;
    }
    return 0;
}

enum class Usterka { Zerwanie, Reset, BladSerwera, Opoznienie };

struct Przypadek {
    const char* nazwa;
    Rola rola;
    Usterka usterka;
    bool przyLogowaniu;    // the fault meets "Loguj", not "Aktualizuj"
    std::string box;       // the error box
    const char* wersjaPo;  // what the database records after the failure
    bool sesjaZakonczona;  // the session is gone: the next step is "Loguj"
};

}  // namespace

TEST(UsterkiPrzebiegu, EachFaultShowsItsBoxLeavesNoHalfPackageAndTheNextRunFinishes) {
    using R = Rola;
    using U = Usterka;
    const std::string Eof = "\r\nUnexpected EOF from the server.";
    const std::string Reset = "\r\nUnknown error.";
    const std::string Blad = "Błąd serwera – żądanie odrzucone.";
    const std::string CzasMinal = "Timeout expired\r\nOperation was cancelled.";
    const std::string OdczytPoCzasie =
        "Serwer nie odpowiedział w wyznaczonym czasie na odczyt wersji bazy (tabela konfig_st). "
        "Spróbuj ponownie; jeśli to się powtarza, sprawdź obciążenie serwera i czy inna sesja "
        "nie blokuje tabeli konfig_st.\r\n" +
        CzasMinal;
    const std::string BladBlokady =
        "Serwer zgłosił błąd podczas zakładania blokady aktualizacji bazy %s; nic nie zostało "
        "zmienione. Spróbuj ponownie; jeśli to się powtarza, sprawdź dziennik serwera.\r\n" +
        Blad;
    const std::string Flagi =
        " podczas ustawiania flagi aktualizacji (tabela #WA_OPCJE_TMP); żadna aktualizacja nie "
        "została rozpoczęta. Spróbuj ponownie; jeśli to się powtarza, sprawdź prawa loginu do "
        "bazy tempdb i dziennik serwera.\r\n";
    const std::string BladFlagi = "Serwer zgłosił błąd" + Flagi + Blad;
    const std::string FlagaPoCzasie =
        "Serwer nie odpowiedział w wyznaczonym czasie" + Flagi + CzasMinal;
    const std::string Przerwane = "Połączenie z serwerem zostało przerwane";
    const std::string Loguj = " Kliknij „Loguj”, aby połączyć się ponownie.";
    const std::string BezOdpowiedzi = "Serwer nie odpowiedział w wyznaczonym czasie";
    const std::string Zakonczone = ", więc połączenie z nim zostało zakończone.";
    const std::string Odczyt = Przerwane + " podczas odczytu wersji bazy." + Loguj;
    const std::string Flaga =
        Przerwane +
        " podczas ustawiania flagi aktualizacji. Żadna aktualizacja nie została rozpoczęta." +
        Loguj;
    const std::string Operacja =
        " podczas wykonywania operacji %s aktualizacji bazy do wersji "
        "11.4.0.1. Serwer wycofuje niezatwierdzone zmiany tej "
        "aktualizacji.";
    const auto wPartii = [&](const char* numer) {
        std::string tekst = Operacja;
        return Przerwane + tekst.replace(tekst.find("%s"), 2, numer) + Loguj;
    };
    const std::string Rozpoczecie = Przerwane +
                                    " podczas rozpoczynania transakcji aktualizacji bazy do "
                                    "wersji 11.4.0.1. Ta aktualizacja nie zmieniła bazy." +
                                    Loguj;
    const std::string Zatwierdzenie =
        Przerwane + " podczas zatwierdzania aktualizacji bazy do wersji 11.4.0.1.";
    const std::string Wycofana =
        " Baza ma teraz zapisaną wersję 11.3.0.2: ta aktualizacja została wycofana." + Loguj;
    const std::string PoZatwierdzeniu =
        " tuż po zatwierdzeniu aktualizacji bazy do wersji 11.4.0.1";
    const std::string Zatwierdzona =
        " Baza ma teraz zapisaną wersję 11.4.0.1: ta aktualizacja została zatwierdzona." + Loguj;
    const std::string OdmowaPoZatwierdzeniu =
        "Program zakończył połączenie z serwerem" + PoZatwierdzeniu +
        ", bo po odmowie serwera sesja nie nadawała się do dalszej pracy.";
    const Przypadek przypadki[] = {
        {"drop at the version query of the log-in", R::WersjaPrzyLogowaniu, U::Zerwanie, true,
         Odczyt + Eof, "11.3.0.2", true},
        {"error at the version query of the log-in", R::WersjaPrzyLogowaniu, U::BladSerwera, true,
         Blad, "11.3.0.2", false},
        {"drop at the version query of the run", R::WersjaPrzedPrzebiegiem, U::Zerwanie, false,
         Odczyt + Eof, "11.3.0.2", true},
        // The server restarted or the network cut between runs.
        {"reset at the version query of the run", R::WersjaPrzedPrzebiegiem, U::Reset, false,
         Odczyt + Reset, "11.3.0.2", true},
        {"error at the version query of the run", R::WersjaPrzedPrzebiegiem, U::BladSerwera, false,
         Blad, "11.3.0.2", false},
        {"version query past the time-out", R::WersjaPrzedPrzebiegiem, U::Opoznienie, false,
         OdczytPoCzasie, "11.3.0.2", false},
        {"drop at the update lock", R::Blokada, U::Zerwanie, false,
         Przerwane +
             " podczas zakładania blokady aktualizacji bazy. Żadna aktualizacja nie została "
             "rozpoczęta." +
             Loguj + Eof,
         "11.3.0.2", true},
        {"error at the update lock", R::Blokada, U::BladSerwera, false, BladBlokady, "11.3.0.2",
         false},
        {"drop at creating the flag table", R::TworzenieFlagi, U::Zerwanie, false, Flaga + Eof,
         "11.3.0.2", true},
        {"error at creating the flag table", R::TworzenieFlagi, U::BladSerwera, false, BladFlagi,
         "11.3.0.2", false},
        {"flag table past the time-out", R::TworzenieFlagi, U::Opoznienie, false, FlagaPoCzasie,
         "11.3.0.2", false},
        {"drop at inserting the flag", R::WstawienieFlagi, U::Zerwanie, false, Flaga + Eof,
         "11.3.0.2", true},
        {"error at inserting the flag", R::WstawienieFlagi, U::BladSerwera, false, BladFlagi,
         "11.3.0.2", false},
        {"drop at the generation query", R::OdczytGeneracji, U::Zerwanie, false,
         Przerwane +
             " podczas odczytu wersji serwera MS SQL przed aktualizacją bazy do wersji 11.4.0.1. "
             "Ta aktualizacja nie zmieniła bazy." +
             Loguj + Eof,
         "11.3.0.2", true},
        {"error at the generation query", R::OdczytGeneracji, U::BladSerwera, false, Blad,
         "11.3.0.2", false},
        {"drop at begin", R::Rozpoczecie, U::Zerwanie, false,
         Rozpoczecie + "\r\nCould not change transaction status.", "11.3.0.2", true},
        {"reset at begin", R::Rozpoczecie, U::Reset, false,
         Rozpoczecie + "\r\nCould not change transaction status.", "11.3.0.2", true},
        {"begin past the time-out", R::Rozpoczecie, U::Opoznienie, false,
         BezOdpowiedzi + " podczas rozpoczynania transakcji aktualizacji bazy do wersji 11.4.0.1" +
             Zakonczone + " Ta aktualizacja nie zmieniła bazy." + Loguj +
             "\r\nTimeout expired\r\nCould not change transaction status.",
         "11.3.0.2", true},
        {"error at begin", R::Rozpoczecie, U::BladSerwera, false, Blad, "11.3.0.2", false},
        {"drop at the first batch", R::PierwszaPartia, U::Zerwanie, false, wPartii("1") + Eof,
         "11.3.0.2", true},
        {"error at the first batch", R::PierwszaPartia, U::BladSerwera, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 1:\r\n" + Blad,
         "11.3.0.2", false},
        {"drop at a middle batch", R::SrodkowaPartia, U::Zerwanie, false, wPartii("44") + Eof,
         "11.3.0.2", true},
        {"reset at a middle batch", R::SrodkowaPartia, U::Reset, false, wPartii("44") + Reset,
         "11.3.0.2", true},
        {"error at a middle batch", R::SrodkowaPartia, U::BladSerwera, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 44:\r\n" + Blad,
         "11.3.0.2", false},
        {"drop at the last batch", R::OstatniaPartia, U::Zerwanie, false, wPartii("88") + Eof,
         "11.3.0.2", true},
        {"error at the last batch", R::OstatniaPartia, U::BladSerwera, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 88:\r\n" + Blad,
         "11.3.0.2", false},
        // The test server drops before it commits, so the read-back finds the package rolled
        // back; a real server may have committed it, which the read-back would then say.
        {"drop at commit", R::Zatwierdzenie, U::Zerwanie, false, Zatwierdzenie + Wycofana + Eof,
         "11.3.0.2", true},
        {"reset at commit", R::Zatwierdzenie, U::Reset, false,
         Zatwierdzenie + Wycofana + "\r\nSterownik ODBC odrzucił polecenie, nie podając przyczyny.",
         "11.3.0.2", true},
        // The driver ends the session; the test server had not carried the commit out yet.
        {"commit past the time-out", R::Zatwierdzenie, U::Opoznienie, false,
         BezOdpowiedzi + " podczas zatwierdzania aktualizacji bazy do wersji 11.4.0.1" +
             Zakonczone + Wycofana + "\r\nTimeout expired.",
         "11.3.0.2", true},
        {"error at commit", R::Zatwierdzenie, U::BladSerwera, false, Blad, "11.3.0.2", false},
        // The commit is confirmed; the driver's switch back to autocommit meets the fault.
        {"drop right after commit", R::PoZatwierdzeniu, U::Zerwanie, false,
         Przerwane + PoZatwierdzeniu + "." + Zatwierdzona +
             "\r\nCould not change transaction status.",
         "11.4.0.1", true},
        {"error right after commit", R::PoZatwierdzeniu, U::BladSerwera, false,
         OdmowaPoZatwierdzeniu + Zatwierdzona + "\r\n" + Blad, "11.4.0.1", true},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const std::uint64_t numer = NumerZadania(p.rola);
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = WersjaPoczatkowa;
        switch (p.usterka) {
            case U::Zerwanie:
                konfiguracja.faults.dropAtRequests.push_back(numer);
                break;
            case U::Reset:
                konfiguracja.faults.resetAtRequests.push_back(numer);
                break;
            case U::BladSerwera:
                konfiguracja.faults.failRequests.push_back(
                    {numer, 50000, "Błąd serwera – żądanie odrzucone"});
                break;
            case U::Opoznienie:
                konfiguracja.faults.delays.push_back(
                    {numer, std::chrono::milliseconds(3000 * LimitTestowy)});
                break;
        }
        SerwerTestowy serwer(konfiguracja);
        Program program(serwer);

        const std::string loguj = program.Loguj();
        const std::string box = p.przyLogowaniu ? loguj : program.Aktualizuj();
        // A box that names the database names it as typed, with the server's port.
        std::string oczekiwany = p.box;
        if (const std::size_t baza = oczekiwany.find("%s"); baza != std::string::npos)
            oczekiwany.replace(baza, 2, serwer.Adres() + ".ZUV");
        EXPECT_EQ(box, oczekiwany);
        EXPECT_EQ(serwer.ZapisanaWersja(), p.wersjaPo);
        EXPECT_EQ(program.conn.PoziomTransakcji(), 0);
        EXPECT_EQ(!program.conn.Otwarte(), p.sesjaZakonczona);
        // After a lost or ended session the next step is "Loguj": the update group is hidden.
        EXPECT_EQ(!program.okno.grupaWidoczna, p.sesjaZakonczona || p.przyLogowaniu);

        // The administrator tries again; "Loguj" first where the session is gone (and "Zamknij"
        // would work as well).
        if (p.przyLogowaniu || !program.conn.Otwarte()) {
            EXPECT_EQ(program.Loguj(), "");
        }
        EXPECT_EQ(program.Aktualizuj(), "");
        EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
        EXPECT_EQ(
            program.komunikaty.pokazane.empty() ? "" : program.komunikaty.pokazane.back().tekst,
            "Zakończono aktualizację.");
        EXPECT_TRUE(program.polecenie.FormClose());
    }
}

TEST(UsterkiPrzebiegu, LogInFaultsShowWhatHappenedThenTheDriversText) {
    const struct {
        const char* nazwa;
        bool odmowa;
        tds::LoginFault usterka;
        std::string box;
    } przypadki[] = {
        {"log-in refused", true, tds::LoginFault::None,
         std::string(opisy_logowania::Odmowa) + "\r\nLogin failed for user 'sa'"},
        {"dropped at the log-in packet", false, tds::LoginFault::DropAtLogin7,
         std::string(opisy_logowania::Zamkniete) +
             "\r\nUnexpected EOF from the server\r\nAdaptive Server connection failed."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = WersjaPoczatkowa;
        konfiguracja.faults.refuseLogins = p.odmowa;
        konfiguracja.faults.login = p.usterka;
        SerwerTestowy serwer(konfiguracja);
        Program program(serwer);
        EXPECT_EQ(program.Loguj(), p.box);
        EXPECT_FALSE(program.conn.Otwarte());
        EXPECT_TRUE(program.polecenie.FormClose());
    }
}

// The server ends the transaction itself when it fails a batch (a deadlock victim), and refuses
// the driver's roll back with 3903, beginning a new transaction with it or not: the box shows the
// batch's error, no transaction is left open in the session, and the next press, without "Loguj",
// resumes.
TEST(UsterkiPrzebiegu, ATransactionTheServerEndedShowsTheBatchsErrorAndTheNextRunFinishes) {
    for (const bool rozpoczynaNowa : {false, true}) {
        SCOPED_TRACE(rozpoczynaNowa ? "the refused roll back begins a new transaction"
                                    : "the refused roll back begins nothing");
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = WersjaPoczatkowa;
        konfiguracja.refusedEndBegins = rozpoczynaNowa;
        konfiguracja.faults.failBatches.push_back(
            {"11.4.0.1", 44, 1205,
             "Transaction (Process ID 53) was deadlocked on lock resources with another process "
             "and has been chosen as the deadlock victim. Rerun the transaction.",
             1, true});
        SerwerTestowy serwer(konfiguracja);
        Program program(serwer);
        ASSERT_EQ(program.Loguj(), "");
        EXPECT_EQ(program.Aktualizuj(),
                  "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 44:\r\n"
                  "Transaction (Process ID 53) was deadlocked on lock resources with another "
                  "process and has been chosen as the deadlock victim. Rerun the transaction.");
        EXPECT_EQ(serwer.ZapisanaWersja(), WersjaPoczatkowa);
        EXPECT_EQ(program.conn.PoziomTransakcji(), 0);
        ASSERT_TRUE(program.conn.Otwarte());
        EXPECT_EQ(program.conn.WykonajZRekordami("SELECT @@TRANCOUNT").pierwszePole,
                  WartoscPola(std::int64_t{0}));

        serwer->setFailBatches({});
        EXPECT_EQ(program.Aktualizuj(), "");
        EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    }
}

// The server notes the end of a session when it reads the close, on the session's own thread.
bool SesjaZakonczonaNaSerwerze(SerwerTestowy& serwer) {
    for (int proba = 0; proba < 500; ++proba) {
        const auto dziennik = serwer->journal();
        if (!dziennik.empty() && dziennik.back().kind == tds::RequestKind::Disconnect) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A roll back that fails never hides the batch's error: the box shows it, then that the roll back
// failed with the server's text (or that the connection went during it). The session is ended, so
// that the server rolls the package back, and the next "Loguj" starts clean.
TEST(UsterkiPrzebiegu, AFailingRollBackKeepsTheBatchsErrorAndEndsTheSession) {
    const std::uint64_t partia = NumerZadania(Rola::SrodkowaPartia);
    // After the batch: the count of open transactions, then the roll back.
    const std::uint64_t wycofanie = partia + 2;
    const std::string BladPartii =
        "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 44:\r\n"
        "Partia odrzucona\r\n";
    const struct {
        const char* nazwa;
        bool zerwanie;
        std::string box;
    } przypadki[] = {
        {"refused", false,
         BladPartii +
             "Wycofanie zmian nie powiodło się: Wycofanie odrzucone\r\n"
             "Program zakończył połączenie z serwerem, więc serwer wycofa niezatwierdzone zmiany. "
             "Kliknij „Loguj”, aby połączyć się ponownie."},
        {"connection dropped", true,
         BladPartii +
             "Połączenie z serwerem zostało przerwane podczas wycofywania aktualizacji bazy do "
             "wersji 11.4.0.1. Serwer wycofuje niezatwierdzone zmiany tej aktualizacji. Kliknij "
             "„Loguj”, aby połączyć się ponownie."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = WersjaPoczatkowa;
        konfiguracja.faults.failRequests = {{partia, 50000, "Partia odrzucona"}};
        if (p.zerwanie)
            konfiguracja.faults.dropAtRequests = {wycofanie};
        else
            konfiguracja.faults.failRequests.push_back({wycofanie, 50000, "Wycofanie odrzucone"});
        SerwerTestowy serwer(konfiguracja);
        Program program(serwer);
        ASSERT_EQ(program.Loguj(), "");
        EXPECT_EQ(program.Aktualizuj(), p.box);
        EXPECT_EQ(program.conn.PoziomTransakcji(), 0);
        EXPECT_FALSE(program.conn.Otwarte());
        EXPECT_TRUE(SesjaZakonczonaNaSerwerze(serwer));
        EXPECT_EQ(serwer.ZapisanaWersja(), WersjaPoczatkowa);

        EXPECT_EQ(program.Loguj(), "");
        EXPECT_EQ(program.Aktualizuj(), "");
        EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    }
}

// The server went away between runs (restarted): "Aktualizuj" says the connection was lost and
// leaves it closed; "Loguj" then reaches the restarted server and the run finishes.
TEST(UsterkiPrzebiegu, AServerRestartedBetweenRunsIsALostConnection) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = WersjaPoczatkowa;
    SerwerTestowy serwer(konfiguracja);
    Program program(serwer);
    ASSERT_EQ(program.Loguj(), "");
    serwer.UruchomPonownie();

    const std::string box = program.Aktualizuj();
    EXPECT_EQ(box.rfind("Połączenie z serwerem zostało przerwane podczas odczytu wersji bazy. "
                        "Kliknij „Loguj”, aby połączyć się ponownie.\r\n",
                        0),
              0u)
        << box;
    EXPECT_FALSE(program.conn.Otwarte());
    EXPECT_FALSE(program.okno.grupaWidoczna);
    EXPECT_EQ(program.Loguj(), "");
    EXPECT_EQ(program.Aktualizuj(), "");
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}

// Two programs on one database: while one holds the update lock (its run under way), the other's
// "Aktualizuj" says so and sends nothing after the refused lock; once the first session ends, the
// second brings the database up to date.
TEST(UsterkiPrzebiegu, ASecondUpdaterIsRefusedWhileTheFirstHoldsTheLock) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = WersjaPoczatkowa;
    SerwerTestowy serwer(konfiguracja);
    PolaczenieODBC pierwszy;
    pierwszy.UstawDaneLogowania(serwer.Logowanie());
    pierwszy.Otworz();
    ZalozBlokadeAktualizacji(pierwszy, "S", "B");

    Program drugi(serwer);
    ASSERT_EQ(drugi.Loguj(), "");
    const std::size_t przed = serwer->journal().size();
    EXPECT_EQ(drugi.Aktualizuj(),
              "Baza " + serwer.Adres() +
                  ".ZUV jest właśnie aktualizowana z innej sesji (inny program lub inne "
                  "stanowisko). Nic nie zostało zmienione. Spróbuj ponownie, gdy tamta "
                  "aktualizacja się zakończy.");
    EXPECT_EQ(serwer.ZapisanaWersja(), WersjaPoczatkowa);
    // The version query and the refused lock (with the server's note of it), nothing after.
    std::vector<std::string> wyslane;
    const auto dziennik = serwer->journal();
    for (std::size_t i = przed; i < dziennik.size(); ++i)
        if (dziennik[i].kind == tds::RequestKind::Batch) wyslane.push_back(dziennik[i].text);
    EXPECT_EQ(wyslane, (std::vector<std::string>{
                           "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'",
                           ZapytanieBlokadyAktualizacji}));
    EXPECT_TRUE(drugi.conn.Otwarte());

    pierwszy.Zamknij();
    std::string box = "(nie próbowano)";
    for (int proba = 0; proba < 100 && !box.empty(); ++proba) {
        box = drugi.Aktualizuj();
        if (!box.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(box, "");
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}
