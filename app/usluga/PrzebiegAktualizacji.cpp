#include "app/usluga/PrzebiegAktualizacji.h"

#include <cstdio>
#include <utility>

#include "app/usluga/Dziennik.h"
#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "db/Polaczenie.h"
#include "db/UtrataPolaczenia.h"
#include "db/ZapisanaWersja.h"
#include "packages/PakietyZasoby.h"
#include "packages/PrzetwarzanieSTR.h"
#include "packages/format/NazwaPakietu.h"

namespace zuv {

namespace {

// Seconds with milliseconds, for the journal.
std::string Sekundy(std::chrono::steady_clock::duration czas) {
    char tekst[32];
    std::snprintf(tekst, sizeof tekst, "%.3f", std::chrono::duration<double>(czas).count());
    return tekst;
}

// A server's error, or its silence past the command's time-out, at a step before any package:
// the step and what it means in front, the server's own text kept whole after a line break and
// apart.
class EBladPrzygotowania : public EOleException {
  public:
    EBladPrzygotowania(const EOleException& blad, const std::string& krok,
                       const std::string& skutek)
        : EOleException((blad.StanSQL() == "HYT00"
                             ? "Serwer nie odpowiedział w wyznaczonym czasie podczas " + krok
                             : "Serwer zgłosił błąd podczas " + krok) +
                            "; " + skutek + "\r\n" + blad.Komunikat(),
                        blad.Kod(), blad.Zrodlo(), blad.PlikPomocy(), blad.KontekstPomocy(),
                        blad.StanSQL()),
          tekstSerwera_(blad.Komunikat()) {}
    const std::string& TekstSerwera() const noexcept { return tekstSerwera_; }

  private:
    std::string tekstSerwera_;
};

// The update lock of the run's session, given back when the run leaves it, whatever ends it. A
// second program updating the same database would apply again what this one applies, each
// package's own version check letting it through: one updater at a time.
class BlokadaPrzebiegu {
  public:
    BlokadaPrzebiegu(Polaczenie& polaczenie, const std::string& serwer, const std::string& baza)
        : polaczenie_(polaczenie) {
        try {
            ZalozBlokadeAktualizacji(polaczenie, serwer, baza);
        } catch (const EUtrataPolaczenia& utrata) {
            throw utrata.WKroku(KrokUtraty::BlokadaAktualizacji);
        } catch (const EOleException& blad) {
            // The server's refusal of the call itself names the step, as a lost link there does.
            throw EBladPrzygotowania(
                blad, Formatuj("zakładania blokady aktualizacji bazy %s.%s", {serwer, baza}),
                "nic nie zostało zmienione. Spróbuj ponownie; jeśli to się powtarza, sprawdź "
                "dziennik serwera.");
        }
    }
    ~BlokadaPrzebiegu() {
        if (!polaczenie_.Otwarte()) return;  // the lock went with the session
        try {
            ZwolnijBlokadeAktualizacji(polaczenie_);
        } catch (const std::exception&) {
            // Nothing to tell: the lock ends with the session at the latest, and the run's own
            // outcome is what the administrator must read.
        }
    }
    BlokadaPrzebiegu(const BlokadaPrzebiegu&) = delete;
    BlokadaPrzebiegu& operator=(const BlokadaPrzebiegu&) = delete;

  private:
    Polaczenie& polaczenie_;
};

// What the error that ended the run says of it. `pakiet`: the package being applied, empty
// before the first.
void Opisz(const std::exception_ptr& blad, const std::string& pakiet, Polaczenie& polaczenie,
           WynikPrzebiegu& wynik) {
    wynik.wersjaPakietu = pakiet;
    wynik.blad = blad;
    try {
        std::rethrow_exception(blad);
    } catch (const EPrzerwanieAktualizacji&) {
        wynik.rodzaj = WynikPrzebiegu::Rodzaj::Przerwana;
        wynik.blad = nullptr;
    } catch (const EUtrataPolaczenia& utrata) {
        wynik.rodzaj = WynikPrzebiegu::Rodzaj::UtrataPolaczenia;
        wynik.krok = utrata.Krok();
        wynik.przyczyna = utrata.Przyczyna();
        wynik.partia = utrata.Operacja();
        wynik.bladSerwera = utrata.TekstSterownika();
        wynik.sesjaZakonczona = true;
        if (utrata.WynikOtwarty()) {
            // Lost at the commit or right after it, only the database can tell whether the
            // package stayed: a new session with the same log-in values reads the version.
            const std::optional<std::string> zapisana = ZapisanaWersjaPoUtracie(polaczenie);
            wynik.blad = std::make_exception_ptr(utrata.ZWynikiem(zapisana));
            wynik.wersjaPo = zapisana;
            wynik.skutek = !zapisana                      ? SkutekZatwierdzenia::Nieznany
                           : *zapisana == utrata.Wersja() ? SkutekZatwierdzenia::Zatwierdzony
                                                          : SkutekZatwierdzenia::Wycofany;
        }
    } catch (const EBazaZablokowana&) {
        wynik.rodzaj = WynikPrzebiegu::Rodzaj::Zablokowana;
    } catch (const EBladPrzygotowania& przygotowanie) {
        wynik.rodzaj = WynikPrzebiegu::Rodzaj::BladPrzygotowania;
        wynik.bladSerwera = przygotowanie.TekstSerwera();
    } catch (const EBladPartii& partia) {
        wynik.rodzaj = WynikPrzebiegu::Rodzaj::BladPakietu;
        wynik.wersjaPakietu = partia.Wersja();
        wynik.partia = partia.Operacja();
        wynik.bladSerwera = partia.TekstSerwera();
    } catch (const Exception& inny) {
        wynik.rodzaj = pakiet.empty() ? WynikPrzebiegu::Rodzaj::BladPrzygotowania
                                      : WynikPrzebiegu::Rodzaj::BladPakietu;
        wynik.bladSerwera = inny.Komunikat();
    } catch (const std::exception& inny) {
        wynik.rodzaj = pakiet.empty() ? WynikPrzebiegu::Rodzaj::BladPrzygotowania
                                      : WynikPrzebiegu::Rodzaj::BladPakietu;
        wynik.bladSerwera = inny.what();
    } catch (...) {
        wynik.rodzaj = pakiet.empty() ? WynikPrzebiegu::Rodzaj::BladPrzygotowania
                                      : WynikPrzebiegu::Rodzaj::BladPakietu;
        wynik.bladSerwera = "nieznany błąd";
    }
}

const char* NazwaWyniku(WynikPrzebiegu::Rodzaj rodzaj) {
    switch (rodzaj) {
        case WynikPrzebiegu::Rodzaj::Zaktualizowana:
            return "zakonczona";
        case WynikPrzebiegu::Rodzaj::Przerwana:
            return "przerwana";
        default:
            return "blad";
    }
}

}  // namespace

std::string WynikPrzebiegu::TekstBledu() const {
    try {
        if (blad) std::rethrow_exception(blad);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "nieznany błąd";
    }
    return {};
}

PrzebiegAktualizacji::PrzebiegAktualizacji(Polaczenie& polaczenie, PlanAktualizacji plan,
                                           Ustawienia ustawienia)
    : conn_(polaczenie), plan_(std::move(plan)), ustawienia_(std::move(ustawienia)) {
    if (plan_.werdykt != PlanAktualizacji::Werdykt::DoWykonania || plan_.pakiety.empty())
        throw EAssertionFailed("plan bez pakietów do wykonania", __FILE__, __LINE__);
    postep_.Rozpocznij(ustawienia_.pasekWidoczny, plan_.Operacje());
}

void PrzebiegAktualizacji::Zapisz(
    std::string_view zdarzenie,
    std::initializer_list<std::pair<std::string_view, std::string>> pola) {
    if (ustawienia_.dziennik != nullptr) ustawienia_.dziennik->Zapisz(zdarzenie, pola);
}

std::string PrzebiegAktualizacji::BiezacyPakiet() const {
    return plan_.pakiety[biezacyPakiet_].wersja;
}

void PrzebiegAktualizacji::Przerwij() noexcept {
    if (postep_.Przerwany() || skonczony_) return;
    {
        const std::lock_guard zamek(blokada_);
        chwilaPrzerwania_ = std::chrono::steady_clock::now();
    }
    przerwanieWZatwierdzaniu_ = postep_.WZatwierdzaniu();
    postep_.Przerwij();
    conn_.Anuluj();
    Zapisz("przerwanie-zadane");
}

std::optional<PrzerwanieBezOdpowiedzi> PrzebiegAktualizacji::SprawdzPrzerwanie(
    std::chrono::milliseconds czas) {
    if (!postep_.Przerwany() || skonczony_) return std::nullopt;
    const auto teraz = std::chrono::steady_clock::now();
    const std::lock_guard zamek(blokada_);
    if (teraz - chwilaPrzerwania_ < czas) return std::nullopt;
    PrzerwanieBezOdpowiedzi przerwanie{
        std::chrono::duration_cast<std::chrono::seconds>(teraz - chwilaPrzerwania_),
        BiezacyPakiet(), postep_.WZatwierdzaniu()};
    // Told again only after another wait of the same length.
    chwilaPrzerwania_ = teraz;
    return przerwanie;
}

WynikPrzebiegu PrzebiegAktualizacji::Wykonaj(ObserwatorPrzebiegu* obserwator) noexcept {
    // Whatever ends the run, the other threads learn that it has.
    struct Koniec {
        std::atomic<bool>& skonczony;
        ~Koniec() { skonczony = true; }
    } koniec{skonczony_};
    const auto poczatek = std::chrono::steady_clock::now();
    WynikPrzebiegu wynik;
    wynik.wersjaPrzed = plan_.wersja;
    Zapisz("start-aktualizacji", {{"wersja-przed", plan_.wersja},
                                  {"wersja-docelowa", plan_.ostatnia},
                                  {"pakiety", std::to_string(plan_.pakiety.size())}});
    bool zablokowana = false;
    std::string pakiet;
    if (postep_.Przerwany()) {
        // Stopped before it began: nothing was sent, so nothing changed.
        wynik.rodzaj = WynikPrzebiegu::Rodzaj::Przerwana;
        wynik.wersjaPo = plan_.wersja;
    } else {
        try {
            const BlokadaPrzebiegu blokada(conn_, ustawienia_.serwer, ustawienia_.baza);
            zablokowana = true;
            UstawFlageAktualizacji();
            Zapisz("flaga-aktualizacji");
            std::int64_t wykonane = 0;
            const std::size_t liczba = plan_.pakiety.size();
            for (std::size_t i = 0; i < liczba; ++i) {
                const PakietPlanu& biezacy = plan_.pakiety[i];
                // A stop that came while the package before was committed: nothing further
                // starts, not even the next package's generation read.
                if (postep_.Przerwany()) throw EPrzerwanieAktualizacji();
                biezacyPakiet_ = i;
                pakiet = biezacy.wersja;
                postep_.RozpocznijPakiet(wykonane);
                const std::string operacje = std::to_string(biezacy.operacje);
                Zapisz("pakiet-rozpoczety", {{"wersja", pakiet}, {"operacje", operacje}});
                if (obserwator != nullptr) obserwator->PakietRozpoczety(pakiet, i + 1, liczba);
                const auto poczatekPakietu = std::chrono::steady_clock::now();
                try {
                    AktualizujDoWersji(pakiet);
                } catch (const std::exception& e) {
                    Zapisz("pakiet-nieudany", {{"wersja", pakiet}, {"blad", e.what()}});
                    throw;
                }
                const auto czas = std::chrono::steady_clock::now() - poczatekPakietu;
                Zapisz("pakiet-zatwierdzony",
                       {{"wersja", pakiet}, {"operacje", operacje}, {"sekundy", Sekundy(czas)}});
                const double sekundy = std::chrono::duration<double>(czas).count();
                wynik.zatwierdzone.push_back({pakiet, sekundy});
                if (obserwator != nullptr) obserwator->PakietZatwierdzony(pakiet, sekundy);
                wykonane += biezacy.operacje;
            }
            pakiet.clear();
        } catch (...) {
            Opisz(std::current_exception(), pakiet, conn_, wynik);
        }
        // A stop asked for and then answered by whatever ended the package is a stop; one that
        // came too late for the last commit changed nothing, and the run is told as done.
        if (postep_.Przerwany() && wynik.rodzaj != WynikPrzebiegu::Rodzaj::Zaktualizowana) {
            wynik.rodzaj = WynikPrzebiegu::Rodzaj::Przerwana;
            wynik.blad = nullptr;
            if (przerwanieWZatwierdzaniu_) {
                wynik.przerwanieWZatwierdzaniu = true;
                wynik.wersjaPakietu = plan_.pakiety[biezacyPakiet_].wersja;
            }
        }
        // The version line would otherwise go on showing the version read at the log-in; a run
        // that did not get the lock changed nothing and sends nothing more.
        if (zablokowana && conn_.Otwarte()) {
            try {
                const OdczytWersji odczyt = OdczytajZapisanaWersje(conn_);
                if (odczyt.JedenWiersz()) wynik.wersjaPo = odczyt.tekst;
            } catch (const std::exception&) {
                // Only the version after depends on this read: it stays unknown.
            }
        }
        wynik.sesjaZakonczona = wynik.sesjaZakonczona || !conn_.Otwarte();
    }
    wynik.sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - poczatek).count();
    Zapisz("koniec-aktualizacji",
           {{"wynik", NazwaWyniku(wynik.rodzaj)},
            {"wersja-przed", wynik.wersjaPrzed},
            {"wersja-po", wynik.wersjaPo.value_or("?")},
            {"pakiety", std::to_string(wynik.zatwierdzone.size())},
            {"sekundy", Sekundy(std::chrono::steady_clock::now() - poczatek)},
            {"blad", wynik.TekstBledu()}});
    return wynik;
}

void PrzebiegAktualizacji::UstawFlageAktualizacji() try {
    conn_.WykonajBezRekordow(
        "IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS WHERE ID = "
        "OBJECT_ID('TEMPDB..#WA_OPCJE_TMP')) "
        "TRUNCATE TABLE #WA_OPCJE_TMP ELSE CREATE TABLE #WA_OPCJE_TMP( NAZWA    VARCHAR(50)    NOT "
        "NULL, "
        "WARTOSC  VARCHAR(8000)  NOT NULL, PRIMARY KEY (NAZWA))",
        Polaczenie::DomyslnyLimitCzasuPolecenia);
    conn_.WykonajBezRekordow(
        "INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')",
        Polaczenie::DomyslnyLimitCzasuPolecenia);
} catch (const EUtrataPolaczenia& utrata) {
    throw utrata.WKroku(KrokUtraty::FlagaAktualizacji);
} catch (const EOleException& blad) {
    throw EBladPrzygotowania(blad, "ustawiania flagi aktualizacji (tabela #WA_OPCJE_TMP)",
                             "żadna aktualizacja nie została rozpoczęta. Spróbuj ponownie; jeśli "
                             "to się powtarza, sprawdź prawa loginu do bazy tempdb i dziennik "
                             "serwera.");
}

void PrzebiegAktualizacji::AktualizujDoWersji(const std::string& wersja) {
    const auto nazwa = NazwaPakietu(wersja);
    if (!nazwa) throw Exception(Formatuj("Niepoprawny numer wersji: \"%s\".", {wersja}));
    ListaLinii linie;
    WczytajZasob(*ustawienia_.pakiety, *nazwa, linie);
    TPrzetwarzanieSTR::WykonajSkrypt(&conn_, linie, true, &postep_, wersja);
}

}  // namespace zuv
