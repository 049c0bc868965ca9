#include "app/PolecenieAktualizacji.h"

#include <utility>

#include "app/usluga/Logowanie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/UtrataPolaczenia.h"
#include "db/ZapisanaWersja.h"

namespace zuv {

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

std::string PolecenieAktualizacji::OdczytajWersje() {
    const OdczytWersji odczyt = OdczytajZapisanaWersje(conn_);
    if (!odczyt.JedenWiersz())
        throw EDatabaseError(
            TekstNieudanegoOdczytuWersji(logowanie_.serwer, logowanie_.baza, odczyt));
    wersjaOdczytana_ = odczyt.tekst;
    return wersjaOdczytana_;
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

std::optional<ZadanieWTle> PolecenieAktualizacji::RozpocznijLogowanie() {
    if (wTrakcie_ || wZadaniu_) return std::nullopt;
    widok_.grupa.PokazGrupe(false);
    wersjaOdczytana_.clear();
    ZapamietajPola();
    // Another database (or the same one anew): an earlier run's failure is no longer its news.
    pasek_.PrzywrocKolor();
    pasek_.UstawTekst("");
    RozpocznijZadanie(Formatuj("Logowanie do serwera %s...", {logowanie_.serwer}));
    return ZadanieWTle(*this, ZadanieWTle::Rodzaj::Logowanie);
}

void PolecenieAktualizacji::WykonajLogowanie() noexcept {
    try {
        const OdczytWersji odczyt = Zaloguj(conn_, logowanie_, dziennik_);
        if (!odczyt.JedenWiersz())
            throw EDatabaseError(
                TekstNieudanegoOdczytuWersji(logowanie_.serwer, logowanie_.baza, odczyt));
        wersjaOdczytana_ = odczyt.tekst;
    } catch (...) {
        bladZadania_ = std::current_exception();
    }
}

void PolecenieAktualizacji::ZakonczLogowanie() {
    if (!wZadaniu_) return;
    ZakonczOczekiwanie();
    if (const std::exception_ptr blad = std::exchange(bladZadania_, nullptr)) {
        wersjaOdczytana_.clear();
        // Nobody waits for the answer of a log-in the window was closed during.
        if (std::exchange(porzucone_, false)) return;
        std::rethrow_exception(blad);
    }
    porzucone_ = false;
    widok_.grupa.UstawTekstWersji(
        TekstWersjiBazy(logowanie_.serwer, logowanie_.baza, wersjaOdczytana_));
    widok_.grupa.PokazGrupe(true);
}

std::optional<bool> PolecenieAktualizacji::ZamknijPozaPrzebiegiem() {
    // A log-in or a version read has nothing to roll back, but the driver cannot be hurried: the
    // program may end at once (PorzucZadanie), and the call's end shows nothing.
    if (wZadaniu_) {
        if (!std::exchange(porzucone_, true)) Zapisz("zamkniecie-w-trakcie-logowania");
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
    if (przebieg_->Przerwany()) return false;  // already stopping
    // Once its commit is sent a package can no longer be rolled back: the question says so.
    const std::string pytanie =
        przebieg_->WZatwierdzaniu()
            ? Formatuj(
                  "Przerwać aktualizację? Pakiet %s jest właśnie zatwierdzany i nie da się go "
                  "już wycofać; następne pakiety nie zostaną rozpoczęte, a po zatwierdzeniu "
                  "program odczyta wersję zapisaną w bazie.",
                  {przebieg_->BiezacyPakiet()})
            : Formatuj(
                  "Przerwać aktualizację? Pakiet %s zostanie wycofany w całości; pakiety już "
                  "zatwierdzone pozostaną.",
                  {przebieg_->BiezacyPakiet()});
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
    if (!wTrakcie_ || pytanieOPrzerwanie_) return false;
    const std::optional<PrzerwanieBezOdpowiedzi> przerwanie =
        przebieg_->SprawdzPrzerwanie(czasNaPrzerwanie_);
    if (!przerwanie) return false;
    const long long sekundy = przerwanie->czekanie.count();
    const std::string tekst =
        (przerwanie->wZatwierdzaniu
             ? Formatuj(
                   "Serwer nie odpowiada od %d s na zatwierdzenie pakietu %s. Jeśli zakończysz "
                   "program teraz, nie będzie wiadomo, czy serwer zdążył go zatwierdzić; "
                   "pakiety zatwierdzone wcześniej pozostaną.",
                   {sekundy, przerwanie->wersjaPakietu})
             : Formatuj("Serwer nie odpowiada na przerwanie aktualizacji od %d s. Jeśli zakończysz "
                        "program teraz, serwer sam wycofa otwartą transakcję pakietu %s, gdy "
                        "zauważy utratę sesji; pakiety już zatwierdzone pozostaną.",
                        {sekundy, przerwanie->wersjaPakietu})) +
        " „Loguj” po ponownym uruchomieniu pokaże wersję zapisaną w bazie.\r\n\r\nZakończyć "
        "program teraz? „Nie” czeka dalej.";
    using namespace StylKomunikatu;
    // The window's timer goes on firing while the box is open: one box at a time.
    pytanieOPrzerwanie_ = true;
    const bool tak =
        widok_.komunikaty.Pokaz(tekst, "Potwierdź", TakNie | IkonaWykrzyknik | DrugiDomyslny) ==
        OdpowiedzKomunikatu::Tak;
    pytanieOPrzerwanie_ = false;
    Zapisz("przerwanie-bez-odpowiedzi", {{"odpowiedz", tak ? "Tak" : "Nie"}});
    // The run may have ended while the box was open: its own end is then told as usual.
    if (!tak || !wTrakcie_ || przebieg_->Skonczony()) return false;
    Zapisz("koniec-programu-wymuszony");
    return true;
}

void PolecenieAktualizacji::PrzerwijPrzebieg() {
    if (!wTrakcie_ || przebieg_->Przerwany()) return;
    const bool zatwierdzanie = przebieg_->WZatwierdzaniu();
    przebieg_->Przerwij();
    pasek_.UstawTekst(zatwierdzanie
                          ? "Przerywanie aktualizacji: trwa zatwierdzanie bieżącego pakietu..."
                          : "Przerywanie aktualizacji: trwa wycofywanie bieżącego pakietu...");
}

std::optional<ZadanieWTle> PolecenieAktualizacji::RozpocznijAktualizacje() {
    if (wTrakcie_ || wZadaniu_) return std::nullopt;
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
    // Closed during the read: neither its error, nor the question, nor a run.
    if (std::exchange(porzucone_, false)) {
        bladZadania_ = nullptr;
        return false;
    }
    if (const std::exception_ptr blad = std::exchange(bladZadania_, nullptr)) {
        try {
            std::rethrow_exception(blad);
        } catch (const EUtrataPolaczenia&) {
            // The session is gone: the next step is "Loguj", as after a failed log-in.
            widok_.grupa.PokazGrupe(false);
            throw;
        }
    }
    // The catalogue is read here, on the window's thread, for the whole run.
    std::vector<std::string> katalog;
    for (int i = 0; i < widok_.wersje.LiczbaWersji(); ++i)
        katalog.push_back(widok_.wersje.Wersja(i));
    PlanAktualizacji plan = Zaplanuj(wersjaOdczytana_, katalog, pakiety_);
    switch (plan.werdykt) {
        case PlanAktualizacji::Werdykt::Niepoprawna:
            throw EConvertError(plan.blad);
        case PlanAktualizacji::Werdykt::Najwyzsza:
        case PlanAktualizacji::Werdykt::PonizejZakresu: {
            const std::string tekst = plan.Ostrzezenie();
            Zapisz("odmowa", {{"tekst", tekst}});
            widok_.komunikaty.Pokaz(tekst, "Ostrzeżenie", Ok | IkonaWykrzyknik);
            return false;
        }
        case PlanAktualizacji::Werdykt::DoWykonania:
            break;
    }
    const std::string pytanie = Formatuj("Wykonać aktualizację bazy %s.%s do wersji %s ?",
                                         {widok_.pola.Serwer(), widok_.pola.Baza(), plan.ostatnia});
    const bool tak = widok_.komunikaty.Pokaz(pytanie, "Potwierdź", TakNie | IkonaInformacja) ==
                     OdpowiedzKomunikatu::Tak;
    Zapisz("pytanie", {{"tekst", pytanie}, {"odpowiedz", tak ? "Tak" : "Nie"}});
    if (!tak) return false;

    serwerPrzebiegu_ = widok_.pola.Serwer();
    bazaPrzebiegu_ = widok_.pola.Baza();
    przebieg_ = std::make_unique<PrzebiegAktualizacji>(
        conn_, std::move(plan),
        PrzebiegAktualizacji::Ustawienia{serwerPrzebiegu_, bazaPrzebiegu_, dziennik_, &pakiety_,
                                         pasek_.Widoczna()});
    wynikPrzebiegu_.reset();
    pasek_.PrzywrocKolor();
    zamknijPoPrzebiegu_ = false;
    bezPytan_ = false;
    wTrakcie_ = true;
    return true;
}

void PolecenieAktualizacji::WykonajPrzebieg() noexcept { wynikPrzebiegu_ = przebieg_->Wykonaj(); }

bool PolecenieAktualizacji::PokazPostep() {
    if (!przebieg_) return false;
    const std::optional<ZmianaPostepu> zmiana = przebieg_->Postep().Zmiana();
    if (!zmiana) return false;
    if (zmiana->kolor) pasek_.UstawKolor(*zmiana->kolor);
    if (zmiana->tekst) pasek_.UstawTekst(*zmiana->tekst);
    pasek_.UstawWypelnienie(zmiana->wykonane, zmiana->wszystkie);
    return true;
}

void PolecenieAktualizacji::ZakonczPrzebieg() {
    if (!wTrakcie_) return;
    PokazPostep();
    pasek_.UstawWypelnienie(0, 0);
    wTrakcie_ = false;
    const WynikPrzebiegu wynik = std::move(*wynikPrzebiegu_);
    wynikPrzebiegu_.reset();
    przebieg_.reset();
    const bool bezPytan = std::exchange(bezPytan_, false);
    if (wynik.wersjaPo)
        widok_.grupa.UstawTekstWersji(
            TekstWersjiBazy(serwerPrzebiegu_, bazaPrzebiegu_, *wynik.wersjaPo));
    // A lost or ended session leaves "Loguj" as the next step, as after a failed log-in.
    if (wynik.sesjaZakonczona || !conn_.Otwarte()) widok_.grupa.PokazGrupe(false);
    switch (wynik.rodzaj) {
        case WynikPrzebiegu::Rodzaj::Przerwana: {
            pasek_.UstawTekst("");
            // The version read again tells what stayed: every committed package, never a part
            // of one. Without it the session is gone, and the server rolls back what it left
            // open.
            std::string tekst =
                wynik.wersjaPo
                    ? Formatuj("Aktualizacja przerwana. Baza danych jest w wersji %s.",
                               {*wynik.wersjaPo})
                    : std::string(
                          "Aktualizacja przerwana. Połączenie z serwerem zostało utracone; "
                          "serwer sam wycofa niezatwierdzony pakiet. „Loguj” pokaże wersję "
                          "zapisaną w bazie.");
            // A stop that came during a commit could not undo it: the version read says how
            // the commit ended.
            if (wynik.przerwanieWZatwierdzaniu && wynik.wersjaPo)
                tekst += Formatuj(*wynik.wersjaPo == wynik.wersjaPakietu
                                      ? " Pakiet %s, zatwierdzany w chwili przerwania, został "
                                        "zatwierdzony."
                                      : " Pakiet %s, zatwierdzany w chwili przerwania, nie "
                                        "został zatwierdzony.",
                                  {wynik.wersjaPakietu});
            Zapisz("przerwanie", {{"tekst", tekst}});
            if (!bezPytan)
                widok_.komunikaty.Pokaz(tekst, "Informacja",
                                        StylKomunikatu::Ok | StylKomunikatu::IkonaInformacja);
            return;
        }
        case WynikPrzebiegu::Rodzaj::Zaktualizowana:
            pasek_.UstawTekst("");
            if (!bezPytan)
                widok_.komunikaty.Pokaz("Zakończono aktualizację.", "Informacja",
                                        StylKomunikatu::Ok | StylKomunikatu::IkonaInformacja);
            return;
        default:
            std::rethrow_exception(wynik.blad);
    }
}

}  // namespace zuv
