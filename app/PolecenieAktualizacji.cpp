#include "app/PolecenieAktualizacji.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <utility>

#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "db/ConnectionST.h"
#include "db/Polaczenie.h"
#include "db/UtrataPolaczenia.h"
#include "db/WersjaPoUtracie.h"
#include "packages/KatalogPakietow.h"
#include "packages/PakietyZasoby.h"
#include "packages/PrzetwarzanieSTR.h"
#include "packages/format/FormatPakietu.h"
#include "packages/format/NazwaPakietu.h"
#include "versions/ObslugaWersji.h"

namespace zuv {

namespace {

// The recorded version as the server gives it: text, a number in decimal, NULL as empty.
std::string TekstWersji(const WartoscPola& wartosc) {
    if (const auto* tekst = std::get_if<std::string>(&wartosc)) return *tekst;
    if (const auto* liczba = std::get_if<std::int64_t>(&wartosc)) return std::to_string(*liczba);
    return {};
}

}  // namespace

std::int64_t LiczbaOperacjiPakietu(const std::string& wersja, const KatalogPakietow& pakiety) {
    const auto nazwa = NazwaPakietu(wersja);
    const auto dane = nazwa ? pakiety.Znajdz(*nazwa) : std::nullopt;
    if (!dane) return 0;
    std::int64_t liczba = 0;
    PodzielNaLinie(*dane, [&](std::string_view linia) { liczba += JestSeparatorem(linia); });
    return liczba;
}

std::optional<std::size_t> RozmiarPakietu(const std::string& wersja,
                                          const KatalogPakietow& pakiety) {
    const auto nazwa = NazwaPakietu(wersja);
    const auto dane = nazwa ? pakiety.Znajdz(*nazwa) : std::nullopt;
    if (!dane) return std::nullopt;
    return dane->size();
}

std::string TekstWersjiNajwyzszej(const std::string& aktualna, const std::string& ostatnia) {
    return Formatuj("Aktualna wersja %s jest większa lub równa maksymalnej dostępnej wersji %s.",
                    {aktualna, ostatnia});
}

std::string TekstWersjiPonizejZakresu(const std::string& aktualna, const std::string& pierwsza) {
    return Formatuj("Aktualna wersja %s musi być większa lub równa minimalnej dostępnej wersji %s.",
                    {aktualna, pierwsza});
}

std::vector<std::string> PakietyDoWykonania(const ListaWersji& wersje,
                                            const std::string& aktualna) {
    std::vector<std::string> wybrane;
    const int liczba = wersje.LiczbaWersji();
    for (int i = 0; i < liczba; ++i) {
        std::string wpis = wersje.Wersja(i);
        if (WersjaWiekszaLubRowna(wpis, aktualna) && wpis != aktualna)
            wybrane.push_back(std::move(wpis));
    }
    return wybrane;
}

namespace {

// Seconds with milliseconds, for the journal.
std::string Sekundy(std::chrono::steady_clock::duration czas) {
    char tekst[32];
    std::snprintf(tekst, sizeof tekst, "%.3f", std::chrono::duration<double>(czas).count());
    return tekst;
}

std::string TekstWyjatku(const std::exception_ptr& blad) {
    try {
        if (blad) std::rethrow_exception(blad);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
    }
    return "nieznany błąd";
}

}  // namespace

PolecenieAktualizacji::PolecenieAktualizacji(Polaczenie& conn, WidokOkna widok, Dziennik* dziennik,
                                             const KatalogPakietow& pakiety)
    : conn_(conn), widok_(widok), dziennik_(dziennik), pakiety_(pakiety), pasek_(widok.pasek) {}

void PolecenieAktualizacji::Zapisz(std::string_view zdarzenie,
                                   std::initializer_list<Dziennik::Pole> pola) {
    if (dziennik_ != nullptr) dziennik_->Zapisz(zdarzenie, pola);
}

void PolecenieAktualizacji::PokazOstrzezenieDziennika() {
    if (dziennik_ == nullptr || wTrakcie_) return;
    if (const auto blad = dziennik_->BladDoZgloszenia())
        widok_.komunikaty.Pokaz(*blad, "Ostrzeżenie",
                                StylKomunikatu::Ok | StylKomunikatu::IkonaWykrzyknik);
}

void PolecenieAktualizacji::Rozlacz() {
    if (conn_.Otwarte()) conn_.Zamknij();
}

void PolecenieAktualizacji::Polacz() {
    Rozlacz();
    conn_.UstawConnectionString(UtworzConnectionString(
        logowanie_.serwer, logowanie_.baza, logowanie_.uzytkownik, logowanie_.haslo, "admin"));
    conn_.Otworz();
}

std::string PolecenieAktualizacji::OdczytajWersje() {
    WynikZapytania wynik;
    try {
        wynik = conn_.WykonajZRekordami(ZapytanieZapisanejWersji);
    } catch (const EUtrataPolaczenia& utrata) {
        throw utrata.WKroku(KrokUtraty::OdczytWersji);
    }
    if (wynik.liczbaRekordow != 1)
        throw EDatabaseError(Formatuj("Odczyt wersji systemu ZUV dla bazy %s.%s nie powiódł się.",
                                      {logowanie_.serwer, logowanie_.baza}));
    wersjaOdczytana_ = TekstWersji(*wynik.pierwszePole);
    return wersjaOdczytana_;
}

std::optional<std::string> PolecenieAktualizacji::OdczytajWersjePoPrzebiegu() noexcept {
    if (!conn_.Otwarte()) return std::nullopt;
    // Only the version line depends on this read: whatever stops it leaves the line as it was,
    // and the run's own end (its box or its error) is told as it is.
    try {
        const WynikZapytania wynik = conn_.WykonajZRekordami(ZapytanieZapisanejWersji);
        if (wynik.liczbaRekordow != 1) return std::nullopt;
        return TekstWersji(*wynik.pierwszePole);
    } catch (...) {
        return std::nullopt;
    }
}

std::string PolecenieAktualizacji::PierwszaWersja() const { return widok_.wersje.Wersja(0); }

std::string PolecenieAktualizacji::OstatniaWersja() const {
    return widok_.wersje.Wersja(widok_.wersje.LiczbaWersji() - 1);
}

void PolecenieAktualizacji::ZapamietajPola() {
    logowanie_ = {widok_.pola.Serwer(), widok_.pola.Baza(), widok_.pola.Uzytkownik(),
                  widok_.pola.Haslo()};
}

void PolecenieAktualizacji::RozpocznijZadanie(const std::string& tekst) {
    bladZadania_ = nullptr;
    wZadaniu_ = true;
    tekstPrzedZadaniem_ = pasek_.Tekst();
    pasek_.UstawTekst(tekst);
    pasek_.OdswiezTeraz();
}

void PolecenieAktualizacji::ZakonczOczekiwanie() {
    wZadaniu_ = false;
    pasek_.UstawTekst(tekstPrzedZadaniem_);
}

void ZadanieWTle::Wykonaj() noexcept {
    switch (rodzaj_) {
        case Rodzaj::Logowanie:
            polecenie_->WykonajLogowanie();
            return;
        case Rodzaj::OdczytWersji:
            polecenie_->WykonajOdczytWersji();
            return;
        case Rodzaj::Przebieg:
            polecenie_->WykonajPrzebieg();
            return;
    }
}

bool ZadanieWTle::Postep() { return rodzaj_ == Rodzaj::Przebieg && polecenie_->PokazPostep(); }

std::optional<ZadanieWTle> ZadanieWTle::Zakoncz() {
    switch (rodzaj_) {
        case Rodzaj::Logowanie:
            polecenie_->ZakonczLogowanie();
            break;
        case Rodzaj::OdczytWersji:
            if (polecenie_->ZakonczOdczytWersji())
                return ZadanieWTle(*polecenie_, Rodzaj::Przebieg);
            break;
        case Rodzaj::Przebieg:
            polecenie_->ZakonczPrzebieg();
            break;
    }
    return std::nullopt;
}

void PolecenieAktualizacji::btnLogujClick() {
    std::optional<ZadanieWTle> logowanie = RozpocznijLogowanie();
    if (!logowanie) return;
    logowanie->Wykonaj();
    (void)logowanie->Zakoncz();
}

std::optional<ZadanieWTle> PolecenieAktualizacji::RozpocznijLogowanie() {
    if (wTrakcie_ || wZadaniu_) return std::nullopt;
    widok_.grupa.PokazGrupe(false);
    wersjaOdczytana_.clear();
    ZapamietajPola();
    if (dziennik_ != nullptr)
        dziennik_->UstawSesje(logowanie_.serwer, logowanie_.baza, logowanie_.uzytkownik);
    RozpocznijZadanie(Formatuj("Logowanie do serwera %s...", {logowanie_.serwer}));
    return ZadanieWTle(*this, ZadanieWTle::Rodzaj::Logowanie);
}

void PolecenieAktualizacji::WykonajLogowanie() noexcept {
    try {
        Polacz();
        OdczytajWersje();
    } catch (...) {
        bladZadania_ = std::current_exception();
    }
}

void PolecenieAktualizacji::ZakonczLogowanie() {
    if (!wZadaniu_) return;
    ZakonczOczekiwanie();
    if (const std::exception_ptr blad = std::exchange(bladZadania_, nullptr)) {
        wersjaOdczytana_.clear();
        Zapisz("logowanie-nieudane", {{"blad", TekstWyjatku(blad)}});
        std::rethrow_exception(blad);
    }
    Zapisz("logowanie", {{"wersja-bazy", wersjaOdczytana_}});
    widok_.grupa.UstawTekstWersji(
        Formatuj("Wersja bazy %s.%s: %s", {logowanie_.serwer, logowanie_.baza, wersjaOdczytana_}));
    widok_.grupa.PokazGrupe(true);
}

std::optional<bool> PolecenieAktualizacji::ZamknijPozaPrzebiegiem() {
    // A log-in or a version read cannot be stopped: the window closes when it has ended.
    if (wZadaniu_) {
        zamknijPoPrzebiegu_ = true;
        return false;
    }
    if (!wTrakcie_) {
        Rozlacz();
        return true;
    }
    return std::nullopt;
}

bool PolecenieAktualizacji::FormClose() {
    if (const std::optional<bool> zamknij = ZamknijPozaPrzebiegiem()) return *zamknij;
    if (postep_.Przerwany()) return false;  // already stopping
    const std::size_t pakiet = biezacyPakiet_;
    const std::string pytanie = Formatuj(
        "Przerwać aktualizację? Pakiet %s zostanie wycofany w całości; pakiety już zatwierdzone "
        "pozostaną.",
        {pakiet < doWykonania_.size() ? doWykonania_[pakiet] : std::string("?")});
    using namespace StylKomunikatu;
    const bool tak =
        widok_.komunikaty.Pokaz(pytanie, "Potwierdź", TakNie | IkonaWykrzyknik | DrugiDomyslny) ==
        OdpowiedzKomunikatu::Tak;
    Zapisz("pytanie-o-przerwanie", {{"tekst", pytanie}, {"odpowiedz", tak ? "Tak" : "Nie"}});
    if (!tak) return false;
    // The run may have ended while the question was open: nothing to stop, the window closes.
    if (!wTrakcie_) {
        Rozlacz();
        return true;
    }
    zamknijPoPrzebiegu_ = true;
    PrzerwijPrzebieg();
    return false;
}

bool PolecenieAktualizacji::ZamknijNaZadanieSystemu() {
    Zapisz("zamkniecie-na-zadanie-systemu", {{"w-trakcie", wTrakcie_ ? "tak" : "nie"}});
    if (const std::optional<bool> zamknij = ZamknijPozaPrzebiegiem()) return *zamknij;
    zamknijPoPrzebiegu_ = true;
    bezPytan_ = true;
    PrzerwijPrzebieg();
    return false;
}

bool PolecenieAktualizacji::SprawdzPrzerwanie() {
    if (!wTrakcie_ || !postep_.Przerwany() || pytanieOPrzerwanie_ || przebiegSkonczony_ ||
        std::chrono::steady_clock::now() - chwilaPrzerwania_ < czasNaPrzerwanie_)
        return false;
    const std::size_t pakiet = biezacyPakiet_;
    const std::string tekst = Formatuj(
        "Serwer nie odpowiada na przerwanie aktualizacji od %d s. Jeśli zakończysz program teraz, "
        "serwer sam wycofa otwartą transakcję pakietu %s, gdy zauważy utratę sesji; pakiety już "
        "zatwierdzone pozostaną. „Loguj” po ponownym uruchomieniu pokaże wersję zapisaną w "
        "bazie.\r\n\r\nZakończyć program teraz? „Nie” czeka dalej.",
        {static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::steady_clock::now() - chwilaPrzerwania_)
                              .count()),
         pakiet < doWykonania_.size() ? doWykonania_[pakiet] : std::string("?")});
    // Asked again only after another wait of the same length.
    chwilaPrzerwania_ = std::chrono::steady_clock::now();
    using namespace StylKomunikatu;
    // The window's timer goes on firing while the box is open: one box at a time.
    pytanieOPrzerwanie_ = true;
    const bool tak =
        widok_.komunikaty.Pokaz(tekst, "Potwierdź", TakNie | IkonaWykrzyknik | DrugiDomyslny) ==
        OdpowiedzKomunikatu::Tak;
    pytanieOPrzerwanie_ = false;
    Zapisz("przerwanie-bez-odpowiedzi", {{"odpowiedz", tak ? "Tak" : "Nie"}});
    // The run may have ended while the box was open: its own end is then told as usual.
    if (!tak || !wTrakcie_ || przebiegSkonczony_) return false;
    Zapisz("koniec-programu-wymuszony");
    return true;
}

void PolecenieAktualizacji::PrzerwijPrzebieg() {
    if (!wTrakcie_ || postep_.Przerwany()) return;
    chwilaPrzerwania_ = std::chrono::steady_clock::now();
    postep_.Przerwij();
    conn_.Anuluj();
    pasek_.UstawTekst("Przerywanie aktualizacji: trwa wycofywanie bieżącego pakietu...");
    Zapisz("przerwanie-zadane");
}

std::optional<ZadanieWTle> PolecenieAktualizacji::btnAktualizujClick() {
    std::optional<ZadanieWTle> odczyt = RozpocznijAktualizacje();
    if (!odczyt) return std::nullopt;
    odczyt->Wykonaj();
    return odczyt->Zakoncz();
}

std::optional<ZadanieWTle> PolecenieAktualizacji::RozpocznijAktualizacje() {
    if (wTrakcie_ || wZadaniu_) return std::nullopt;
    sprawdzenie_ = WynikSprawdzenia::Brak;
    // The version read's error names the fields as they are at the press.
    ZapamietajPola();
    RozpocznijZadanie("Odczyt wersji bazy...");
    return ZadanieWTle(*this, ZadanieWTle::Rodzaj::OdczytWersji);
}

void PolecenieAktualizacji::WykonajOdczytWersji() noexcept {
    try {
        OdczytajWersje();
    } catch (...) {
        bladZadania_ = std::current_exception();
    }
}

bool PolecenieAktualizacji::ZakonczOdczytWersji() {
    using namespace StylKomunikatu;
    if (!wZadaniu_) return false;
    ZakonczOczekiwanie();
    if (const std::exception_ptr blad = std::exchange(bladZadania_, nullptr)) {
        try {
            std::rethrow_exception(blad);
        } catch (const EUtrataPolaczenia&) {
            // The session is gone: the next step is "Loguj", as after a failed log-in.
            widok_.grupa.PokazGrupe(false);
            throw;
        }
    }
    const std::string aktualna = wersjaOdczytana_;
    const std::string ostatnia = OstatniaWersja();
    if (WersjaWiekszaLubRowna(aktualna, ostatnia)) {
        const std::string tekst = TekstWersjiNajwyzszej(aktualna, ostatnia);
        Zapisz("odmowa", {{"tekst", tekst}});
        sprawdzenie_ = WynikSprawdzenia::WersjaNajwyzsza;
        widok_.komunikaty.Pokaz(tekst, "Ostrzeżenie", Ok | IkonaWykrzyknik);
        return false;
    }
    const std::string pierwsza = PierwszaWersja();
    if (!WersjaWiekszaLubRowna(aktualna, pierwsza)) {
        const std::string tekst = TekstWersjiPonizejZakresu(aktualna, pierwsza);
        Zapisz("odmowa", {{"tekst", tekst}});
        sprawdzenie_ = WynikSprawdzenia::WersjaPonizejZakresu;
        widok_.komunikaty.Pokaz(tekst, "Ostrzeżenie", Ok | IkonaWykrzyknik);
        return false;
    }
    const std::string pytanie = Formatuj("Wykonać aktualizację bazy %s.%s do wersji %s ?",
                                         {widok_.pola.Serwer(), widok_.pola.Baza(), ostatnia});
    const bool tak = widok_.komunikaty.Pokaz(pytanie, "Potwierdź", TakNie | IkonaInformacja) ==
                     OdpowiedzKomunikatu::Tak;
    Zapisz("pytanie", {{"tekst", pytanie}, {"odpowiedz", tak ? "Tak" : "Nie"}});
    sprawdzenie_ = tak ? WynikSprawdzenia::Uruchomiony : WynikSprawdzenia::Odmowa;
    if (!tak) return false;
    wersjaPrzedPrzebiegiem_ = aktualna;

    // The catalogue is read here, on the window's thread, for the whole run: an entry at or above
    // the recorded version that differs from it as text is applied.
    doWykonania_ = PakietyDoWykonania(widok_.wersje, aktualna);
    operacjePakietow_.clear();
    std::int64_t wszystkie = 0;
    for (const std::string& wersja : doWykonania_) {
        operacjePakietow_.push_back(LiczbaOperacjiPakietu(wersja, pakiety_));
        wszystkie += operacjePakietow_.back();
    }
    postep_.Rozpocznij(pasek_.Widoczna(), wszystkie);
    pasek_.PrzywrocKolor();
    serwerPrzebiegu_ = widok_.pola.Serwer();
    bazaPrzebiegu_ = widok_.pola.Baza();
    wersjaPoPrzebiegu_.reset();
    utrataWPrzebiegu_ = false;
    zamknijPoPrzebiegu_ = false;
    bezPytan_ = false;
    przebiegSkonczony_ = false;
    biezacyPakiet_ = 0;
    bladPrzebiegu_ = nullptr;
    wTrakcie_ = true;
    return true;
}

void PolecenieAktualizacji::WykonajPrzebieg() noexcept {
    // Whatever ends the run, the window's thread learns that it has.
    struct Koniec {
        std::atomic<bool>& skonczony;
        ~Koniec() { skonczony = true; }
    } koniec{przebiegSkonczony_};
    const auto poczatek = std::chrono::steady_clock::now();
    bool zablokowana = false;
    int zastosowane = 0;
    try {
        // A second program updating the same database would apply again what this one applies,
        // each package's own version check letting it through: one updater at a time.
        try {
            ZalozBlokadeAktualizacji(conn_, serwerPrzebiegu_, bazaPrzebiegu_);
        } catch (const EUtrataPolaczenia& utrata) {
            throw utrata.WKroku(KrokUtraty::BlokadaAktualizacji);
        }
        zablokowana = true;
        UstawFlageAktualizacji();
        Zapisz("flaga-aktualizacji");
        std::int64_t wykonane = 0;
        for (std::size_t i = 0; i < doWykonania_.size(); ++i) {
            biezacyPakiet_ = i;
            postep_.RozpocznijPakiet(wykonane);
            const std::string operacje = std::to_string(operacjePakietow_[i]);
            Zapisz("pakiet-rozpoczety", {{"wersja", doWykonania_[i]}, {"operacje", operacje}});
            if (obserwator_ != nullptr)
                obserwator_->PakietRozpoczety(doWykonania_[i], i + 1, doWykonania_.size());
            const auto poczatekPakietu = std::chrono::steady_clock::now();
            try {
                AktualizujDoWersji(doWykonania_[i]);
            } catch (const std::exception& e) {
                Zapisz("pakiet-nieudany", {{"wersja", doWykonania_[i]}, {"blad", e.what()}});
                throw;
            }
            const auto czasPakietu = std::chrono::steady_clock::now() - poczatekPakietu;
            Zapisz("pakiet-zatwierdzony", {{"wersja", doWykonania_[i]},
                                           {"operacje", operacje},
                                           {"sekundy", Sekundy(czasPakietu)}});
            if (obserwator_ != nullptr)
                obserwator_->PakietZatwierdzony(doWykonania_[i],
                                                std::chrono::duration<double>(czasPakietu).count());
            ++zastosowane;
            wykonane += operacjePakietow_[i];
        }
    } catch (const EUtrataPolaczenia& utrata) {
        utrataWPrzebiegu_ = true;
        // Lost at the commit or right after it, only the database can tell whether the package
        // stayed: a new session with the same log-in values reads the recorded version.
        bladPrzebiegu_ = std::make_exception_ptr(
            utrata.WynikOtwarty() ? utrata.ZWynikiem(ZapisanaWersjaPoUtracie(conn_)) : utrata);
    } catch (...) {
        bladPrzebiegu_ = std::current_exception();
    }
    if (zablokowana && conn_.Otwarte()) {
        try {
            ZwolnijBlokadeAktualizacji(conn_);
        } catch (...) {
            // Nothing to tell: the lock ends with the session at the latest, and the run's own
            // outcome is what the administrator must read.
        }
    }
    // The version line would otherwise go on showing the version read at "Loguj"; a run that
    // did not get the lock changed nothing and sends nothing more.
    if (zablokowana) wersjaPoPrzebiegu_ = OdczytajWersjePoPrzebiegu();
    Zapisz("koniec-aktualizacji",
           {{"wynik", bladPrzebiegu_ ? "blad" : "zakonczona"},
            {"wersja-przed", wersjaPrzedPrzebiegiem_},
            {"wersja-po", wersjaPoPrzebiegu_.value_or("?")},
            {"pakiety", std::to_string(zastosowane)},
            {"sekundy", Sekundy(std::chrono::steady_clock::now() - poczatek)},
            {"blad", bladPrzebiegu_ ? TekstWyjatku(bladPrzebiegu_) : std::string()}});
}

bool PolecenieAktualizacji::PokazPostep() { return postep_.Przenies(pasek_); }

void PolecenieAktualizacji::ZakonczPrzebieg() {
    if (!wTrakcie_) return;
    postep_.Przenies(pasek_);
    pasek_.UstawWypelnienie(0, 0);
    wTrakcie_ = false;
    if (wersjaPoPrzebiegu_)
        widok_.grupa.UstawTekstWersji(Formatuj(
            "Wersja bazy %s.%s: %s", {serwerPrzebiegu_, bazaPrzebiegu_, *wersjaPoPrzebiegu_}));
    if (postep_.Przerwany()) {
        bladPrzebiegu_ = nullptr;
        pasek_.UstawTekst("");
        // The version read again tells what stayed: every committed package, never a part of
        // one. Without it the session is gone, and the server rolls back what it left open.
        const std::string tekst =
            wersjaPoPrzebiegu_
                ? Formatuj("Aktualizacja przerwana. Baza danych jest w wersji %s.",
                           {*wersjaPoPrzebiegu_})
                : std::string(
                      "Aktualizacja przerwana. Połączenie z serwerem zostało utracone; "
                      "serwer sam wycofa niezatwierdzony pakiet. „Loguj” pokaże wersję "
                      "zapisaną w bazie.");
        Zapisz("przerwanie", {{"tekst", tekst}});
        if (!wersjaPoPrzebiegu_) widok_.grupa.PokazGrupe(false);
        if (!std::exchange(bezPytan_, false))
            widok_.komunikaty.Pokaz(tekst, "Informacja",
                                    StylKomunikatu::Ok | StylKomunikatu::IkonaInformacja);
        return;
    }
    if (const std::exception_ptr blad = std::exchange(bladPrzebiegu_, nullptr)) {
        // A lost or ended session leaves "Loguj" as the next step, as after a failed log-in.
        if (utrataWPrzebiegu_ || !conn_.Otwarte()) widok_.grupa.PokazGrupe(false);
        std::rethrow_exception(blad);
    }
    pasek_.UstawTekst("");
    widok_.komunikaty.Pokaz("Zakończono aktualizację.", "Informacja",
                            StylKomunikatu::Ok | StylKomunikatu::IkonaInformacja);
}

void PolecenieAktualizacji::AktualizujWWatkuOkna() {
    std::optional<ZadanieWTle> przebieg = btnAktualizujClick();
    if (!przebieg) return;
    przebieg->Wykonaj();
    (void)przebieg->Zakoncz();
}

void PolecenieAktualizacji::UstawFlageAktualizacji() try {
    WykonajPolecenie(
        "IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS WHERE ID = "
        "OBJECT_ID('TEMPDB..#WA_OPCJE_TMP')) "
        "TRUNCATE TABLE #WA_OPCJE_TMP ELSE CREATE TABLE #WA_OPCJE_TMP( NAZWA    VARCHAR(50)    NOT "
        "NULL, "
        "WARTOSC  VARCHAR(8000)  NOT NULL, PRIMARY KEY (NAZWA))");
    WykonajPolecenie("INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')");
} catch (const EUtrataPolaczenia& utrata) {
    throw utrata.WKroku(KrokUtraty::FlagaAktualizacji);
}

void PolecenieAktualizacji::WykonajPolecenie(const std::string& polecenie) {
    conn_.WykonajBezRekordow(polecenie, Polaczenie::DomyslnyLimitCzasuPolecenia);
}

void PolecenieAktualizacji::AktualizujDoWersji(const std::string& wersja) {
    const auto nazwa = NazwaPakietu(wersja);
    if (!nazwa) throw Exception(Formatuj("Niepoprawny numer wersji: \"%s\".", {wersja}));
    ListaLinii linie;
    WczytajZasob(pakiety_, *nazwa, linie);
    TPrzetwarzanieSTR::WykonajSkrypt(&conn_, linie, true, &postep_, wersja);
}

}  // namespace zuv
