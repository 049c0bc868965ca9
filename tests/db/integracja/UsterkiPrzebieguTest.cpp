// The faults an administrator can meet, through the update command, the real ODBC stack and the
// test server: a dropped connection, a server error or a reply past the time-out at each request
// of a log-in and a run of two packages. For each: the exact text of the error box, what the
// database then records (never half a package, committed packages kept), and that the next
// "Aktualizuj" (after "Loguj" where the session was lost) resumes and finishes. One server per
// case.
#include <gtest/gtest.h>

#include <functional>

#include "app/ObslugaBledu.h"
#include "app/PolecenieAktualizacji.h"
#include "common/Wyjatki.h"
#include "db/PolaczenieODBC.h"
#include "tests/db/integracja/SerwerTestowy.h"
#include "tests/support/OknaKomunikatowSkryptowe.h"
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
    void PokazGrupe(bool) override {}
    int LiczbaWersji() const override { return static_cast<int>(KatalogWersji.size()); }
    std::string Wersja(int i) const override { return std::string(KatalogWersji.at(i)); }
    void UstawTekst(std::string_view) override {}
    void OdswiezTeraz() override {}
    bool Widoczna() const override { return true; }
    void UstawKolor(std::uint32_t) override {}
    void UstawWypelnienie(std::int64_t, std::int64_t) override {}

  private:
    std::string adres_;
};

// The program over one test server: its connection, its window and its command.
struct Program {
    explicit Program(SerwerTestowy& serwer)
        : okno(serwer.Adres()), polecenie(conn, WidokOkna{okno, okno, okno, komunikaty, okno}) {}

    // The text of the box the default error handler shows for what `krok` raises; empty when it
    // raises nothing.
    static std::string Box(const std::function<void()>& krok) {
        try {
            krok();
        } catch (const std::exception& e) {
            return TekstBledu(e.what());
        }
        return "";
    }
    std::string Loguj() {
        return Box([&] { polecenie.btnLogujClick(); });
    }
    std::string Aktualizuj() {
        komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
        return Box([&] { polecenie.AktualizujWWatkuOkna(); });
    }

    PolaczenieODBC conn{PolaczenieODBC::LimitCzasuLogowania, LimitTestowy};
    OknoTestowe okno;
    OknaKomunikatowSkryptowe komunikaty;
    PolecenieAktualizacji polecenie;
};

// The requests (batches and transaction requests, numbered from 1 as the server's faults count
// them) of a log-in and a whole run without faults, and the roles the cases name.
enum class Rola {
    WersjaPrzyLogowaniu,
    WersjaPrzedPrzebiegiem,
    TworzenieFlagi,
    WstawienieFlagi,
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
        case Rola::TworzenieFlagi:
            return 3;
        case Rola::WstawienieFlagi:
            return 4;
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

enum class Usterka { Zerwanie, BladSerwera, Opoznienie };

struct Przypadek {
    const char* nazwa;
    Rola rola;
    Usterka usterka;
    bool przyLogowaniu;    // the fault meets "Loguj", not "Aktualizuj"
    const char* box;       // the error box
    const char* wersjaPo;  // what the database records after the failure
};

}  // namespace

TEST(UsterkiPrzebiegu, EachFaultShowsItsBoxLeavesNoHalfPackageAndTheNextRunFinishes) {
    using R = Rola;
    using U = Usterka;
    const char* const Zerwanie = "Unexpected EOF from the server.";
    const char* const Blad = "Błąd serwera – żądanie odrzucone.";
    const char* const CzasMinal = "Timeout expired\r\nOperation was cancelled.";
    // A committed package stands; the next step finds the connection closed.
    const char* const Zamkniete = "Operation is not allowed when the object is closed.";
    const Przypadek przypadki[] = {
        {"drop at the version query of the log-in", R::WersjaPrzyLogowaniu, U::Zerwanie, true,
         Zerwanie, "11.3.0.2"},
        {"error at the version query of the log-in", R::WersjaPrzyLogowaniu, U::BladSerwera, true,
         Blad, "11.3.0.2"},
        {"drop at the version query of the run", R::WersjaPrzedPrzebiegiem, U::Zerwanie, false,
         Zerwanie, "11.3.0.2"},
        {"error at the version query of the run", R::WersjaPrzedPrzebiegiem, U::BladSerwera, false,
         Blad, "11.3.0.2"},
        {"version query past the time-out", R::WersjaPrzedPrzebiegiem, U::Opoznienie, false,
         CzasMinal, "11.3.0.2"},
        {"drop at creating the flag table", R::TworzenieFlagi, U::Zerwanie, false, Zerwanie,
         "11.3.0.2"},
        {"error at creating the flag table", R::TworzenieFlagi, U::BladSerwera, false, Blad,
         "11.3.0.2"},
        {"flag table past the time-out", R::TworzenieFlagi, U::Opoznienie, false, CzasMinal,
         "11.3.0.2"},
        {"drop at inserting the flag", R::WstawienieFlagi, U::Zerwanie, false, Zerwanie,
         "11.3.0.2"},
        {"error at inserting the flag", R::WstawienieFlagi, U::BladSerwera, false, Blad,
         "11.3.0.2"},
        {"drop at begin", R::Rozpoczecie, U::Zerwanie, false,
         "Could not change transaction status.", "11.3.0.2"},
        {"error at begin", R::Rozpoczecie, U::BladSerwera, false, Blad, "11.3.0.2"},
        {"drop at the first batch", R::PierwszaPartia, U::Zerwanie, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 1:\r\n"
         "Unexpected EOF from the server.",
         "11.3.0.2"},
        {"error at the first batch", R::PierwszaPartia, U::BladSerwera, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 1:\r\n"
         "Błąd serwera – żądanie odrzucone.",
         "11.3.0.2"},
        {"drop at a middle batch", R::SrodkowaPartia, U::Zerwanie, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 44:\r\n"
         "Unexpected EOF from the server.",
         "11.3.0.2"},
        {"error at a middle batch", R::SrodkowaPartia, U::BladSerwera, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 44:\r\n"
         "Błąd serwera – żądanie odrzucone.",
         "11.3.0.2"},
        {"drop at the last batch", R::OstatniaPartia, U::Zerwanie, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 88:\r\n"
         "Unexpected EOF from the server.",
         "11.3.0.2"},
        {"error at the last batch", R::OstatniaPartia, U::BladSerwera, false,
         "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 88:\r\n"
         "Błąd serwera – żądanie odrzucone.",
         "11.3.0.2"},
        {"drop at commit", R::Zatwierdzenie, U::Zerwanie, false, Zerwanie, "11.3.0.2"},
        {"error at commit", R::Zatwierdzenie, U::BladSerwera, false, Blad, "11.3.0.2"},
        {"drop right after commit", R::PoZatwierdzeniu, U::Zerwanie, false, Zamkniete, "11.4.0.1"},
        {"error right after commit", R::PoZatwierdzeniu, U::BladSerwera, false, Zamkniete,
         "11.4.0.1"},
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
        EXPECT_EQ(box, p.box);
        EXPECT_EQ(serwer.ZapisanaWersja(), p.wersjaPo);
        EXPECT_EQ(program.conn.PoziomTransakcji(), 0);

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

TEST(UsterkiPrzebiegu, LogInFaultsShowTheDriversText) {
    const struct {
        const char* nazwa;
        bool odmowa;
        tds::LoginFault usterka;
        const char* box;
    } przypadki[] = {
        {"log-in refused", true, tds::LoginFault::None, "Login failed for user 'sa'"},
        {"dropped at the log-in packet", false, tds::LoginFault::DropAtLogin7,
         "Unable to connect to data source."},
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

// The server ends the transaction itself when it fails a batch (a deadlock victim): the roll back
// then finds nothing to roll back, the box shows the batch's error, and the next press, without
// "Loguj", resumes.
TEST(UsterkiPrzebiegu, ATransactionTheServerEndedShowsTheBatchsErrorAndTheNextRunFinishes) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = WersjaPoczatkowa;
    konfiguracja.faults.failBatches.push_back(
        {"11.4.0.1", 44, 1205,
         "Transaction (Process ID 53) was deadlocked on lock resources with another process and "
         "has been chosen as the deadlock victim. Rerun the transaction.",
         1, true});
    SerwerTestowy serwer(konfiguracja);
    Program program(serwer);
    ASSERT_EQ(program.Loguj(), "");
    EXPECT_EQ(program.Aktualizuj(),
              "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 44:\r\n"
              "Transaction (Process ID 53) was deadlocked on lock resources with another process "
              "and has been chosen as the deadlock victim. Rerun the transaction.");
    EXPECT_EQ(serwer.ZapisanaWersja(), WersjaPoczatkowa);
    EXPECT_EQ(program.conn.PoziomTransakcji(), 0);
    EXPECT_TRUE(program.conn.Otwarte());

    serwer->setFailBatches({});
    EXPECT_EQ(program.Aktualizuj(), "");
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}

// A roll back that fails while the server still has the transaction open raises its own error
// and the transaction stays counted; closing (here by "Loguj") rolls it back again.
TEST(UsterkiPrzebiegu, ARollBackFailingOnALiveTransactionRaisesItsErrorAndKeepsTheCount) {
    const std::uint64_t partia = NumerZadania(Rola::SrodkowaPartia);
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = WersjaPoczatkowa;
    konfiguracja.faults.failRequests = {{partia, 50000, "Partia odrzucona"},
                                        {partia + 1, 50000, "Wycofanie odrzucone"}};
    SerwerTestowy serwer(konfiguracja);
    Program program(serwer);
    ASSERT_EQ(program.Loguj(), "");
    EXPECT_EQ(program.Aktualizuj(), "Wycofanie odrzucone.");
    EXPECT_EQ(program.conn.PoziomTransakcji(), 1);
    EXPECT_TRUE(program.conn.Otwarte());

    EXPECT_EQ(program.Loguj(), "");
    EXPECT_EQ(program.Aktualizuj(), "");
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
}
