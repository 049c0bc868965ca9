#include "app/wsadowa/PrzebiegBazy.h"

#include <algorithm>
#include <chrono>

#include "app/usluga/KontrolaBazy.h"
#include "app/usluga/Logowanie.h"
#include "common/LiczbyPolskie.h"
#include "common/Tekst.h"
#include "db/UtrataPolaczenia.h"

namespace zuv {

namespace {

// What to do after a lost connection, in the words of a console: nobody presses "Loguj" here.
RadaPoUtracie RadaKonsoli() {
    return {"Uruchom program ponownie, aby wznowić aktualizację od wersji zapisanej w bazie.",
            "--sprawdz pokaże wersję zapisaną w bazie."};
}

// A lost connection in the words of a console.
std::string TekstUtraty(const WynikPrzebiegu& przebieg) {
    OdczytPoUtracie odczyt;
    if (przebieg.skutek)
        odczyt = {*przebieg.skutek == SkutekZatwierdzenia::Nieznany
                      ? OdczytPoUtracie::Stan::Nieosiagalny
                      : OdczytPoUtracie::Stan::Odczytany,
                  przebieg.wersjaPo.value_or("")};
    std::string tekst = OpisUtraty(przebieg.krok, przebieg.przyczyna, przebieg.wersjaPakietu,
                                   przebieg.partia, odczyt, RadaKonsoli());
    if (!przebieg.bladSerwera.empty()) tekst += "\n" + przebieg.bladSerwera;
    return tekst;
}

}  // namespace

namespace {

struct NazwyWyniku {
    const char* opis;
    const char* kod;
};

NazwyWyniku Nazwy(const WynikBazy& wynik) {
    switch (wynik.kod) {
        case KodWyjscia::Zaktualizowana:
            return wynik.pakiety.empty() ? NazwyWyniku{"aktualna", "aktualna"}
                                         : NazwyWyniku{"zaktualizowana", "zaktualizowana"};
        case KodWyjscia::DoAktualizacji:
            return {"do aktualizacji", "do_aktualizacji"};
        case KodWyjscia::Odmowa:
            return wynik.zablokowana ? NazwyWyniku{"zablokowana", "blokada"}
                                     : NazwyWyniku{"odmowa", "odmowa"};
        case KodWyjscia::BladPakietu:
            return {"błąd pakietu", "blad_pakietu"};
        case KodWyjscia::BladPolaczenia:
            return {"błąd połączenia", "blad_polaczenia"};
        case KodWyjscia::Przerwana:
            return wynik.rozpoczeta ? NazwyWyniku{"przerwana", "przerwana"}
                                    : NazwyWyniku{"nie rozpoczęta", "nie_rozpoczeta"};
        default:
            return {"?", "nieznany"};
    }
}

}  // namespace

std::string OpisWyniku(const WynikBazy& wynik) { return Nazwy(wynik).opis; }

std::string KodWyniku(const WynikBazy& wynik) { return Nazwy(wynik).kod; }

int ZbiorczyKodWyjscia(const std::vector<const WynikBazy*>& wyniki) {
    int kod = KodWyjscia::Zaktualizowana;
    bool doAktualizacji = false;
    for (const WynikBazy* wynik : wyniki) {
        if (wynik->kod == KodWyjscia::DoAktualizacji)
            doAktualizacji = true;
        else
            kod = std::max(kod, wynik->kod);
    }
    return kod == KodWyjscia::Zaktualizowana && doAktualizacji ? KodWyjscia::DoAktualizacji : kod;
}

PrzebiegBazy::PrzebiegBazy(const BazaDoAktualizacji& baza, std::size_t numer,
                           std::string przedrostek, const UstawieniaBazy& ustawienia,
                           Wydruk& wydruk)
    : dane_{baza.serwer, baza.baza, baza.uzytkownik, baza.haslo},
      ustawienia_(ustawienia),
      konsola_(numer, std::move(przedrostek), wydruk),
      dziennik_(ustawienia.sciezkaDziennika) {
    wynik_.serwer = baza.serwer;
    wynik_.baza = baza.baza;
    wynik_.uzytkownik = baza.uzytkownik;
}

void PrzebiegBazy::Niepowodzenie(int kod, const std::string& tekst) {
    wynik_.kod = kod;
    wynik_.blad = TekstBledu(tekst);
    konsola_.Blad("Błąd: " + wynik_.blad);
}

void PrzebiegBazy::Wykonaj() noexcept {
    const auto poczatek = std::chrono::steady_clock::now();
    wynik_.poczatek = std::chrono::system_clock::now();
    wynik_.rozpoczeta = true;
    try {
        Przebieg();
    } catch (const std::exception& e) {
        // Nothing of the above is meant to raise; whatever does must still be told.
        Niepowodzenie(KodWyjscia::BladPolaczenia, e.what());
    }
    konsola_.ZakonczStan();
    try {
        conn_.Zamknij();
    } catch (const std::exception&) {
        // The session ends with the connection's handle anyway, and nothing is left open in it.
    }
    wynik_.sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - poczatek).count();
    wynik_.koniec = std::chrono::system_clock::now();
    zakonczona_ = true;
}

void PrzebiegBazy::Przebieg() {
    if (przerwanie_) {
        wynik_.kod = KodWyjscia::Przerwana;
        return;
    }
    konsola_.UstawStan(Formatuj("Logowanie do serwera %s...", {dane_.serwer}));
    OdczytWersji odczyt;
    try {
        odczyt = Zaloguj(conn_, dane_, &dziennik_);
    } catch (const std::exception& e) {
        Niepowodzenie(KodWyjscia::BladPolaczenia, e.what());
        return;
    }
    if (!odczyt.JedenWiersz()) {
        Niepowodzenie(KodWyjscia::BladPolaczenia,
                      TekstNieudanegoOdczytuWersji(dane_.serwer, dane_.baza, odczyt));
        return;
    }
    wynik_.wersjaPrzed = wynik_.wersjaPo = odczyt.tekst;
    konsola_.Wiersz(TekstWersjiBazy(dane_.serwer, dane_.baza, odczyt.tekst));
    if (przerwanie_) {
        wynik_.kod = KodWyjscia::Przerwana;
        return;
    }
    PlanAktualizacji plan =
        ustawienia_.doWersji.empty()
            ? Zaplanuj(odczyt.tekst, KatalogProgramu())
            : ZaplanujDoWersji(odczyt.tekst, KatalogProgramu(), ustawienia_.doWersji);
    wynik_.wersjaDocelowa = plan.ostatnia;
    switch (plan.werdykt) {
        case PlanAktualizacji::Werdykt::Niepoprawna:
            Niepowodzenie(KodWyjscia::Odmowa, plan.blad);
            return;
        case PlanAktualizacji::Werdykt::Najwyzsza:
            konsola_.Wiersz("Ostrzeżenie: " + plan.Ostrzezenie());
            // At the catalogue's last version there is nothing to do; above it, the database
            // belongs to a newer program.
            if (!plan.powyzejOstatniej) {
                wynik_.kod = KodWyjscia::Zaktualizowana;
                return;
            }
            wynik_.kod = KodWyjscia::Odmowa;
            wynik_.blad = plan.Ostrzezenie();
            return;
        case PlanAktualizacji::Werdykt::PonizejZakresu:
            konsola_.Wiersz("Ostrzeżenie: " + plan.Ostrzezenie());
            wynik_.kod = KodWyjscia::Odmowa;
            wynik_.blad = plan.Ostrzezenie();
            return;
        case PlanAktualizacji::Werdykt::DoWykonania:
            break;
    }
    if (!Skontroluj()) return;
    if (ustawienia_.sprawdz)
        Sprawdz(plan);
    else
        Aktualizuj(std::move(plan));
}

bool PrzebiegBazy::Skontroluj() {
    KontrolaBazy kontrola;
    try {
        kontrola = SprawdzBaze(conn_);
    } catch (const EUtrataPolaczenia& utrata) {
        Niepowodzenie(
            KodWyjscia::BladPolaczenia,
            OpisUtraty(KrokUtraty::Polecenie, PrzyczynaUtraty::Zerwanie, {}, 0, {}, RadaKonsoli()) +
                "\n" + utrata.TekstSterownika());
        return false;
    }
    wynik_.ostrzezenia = kontrola.Ostrzezenia(dane_.baza, dane_.uzytkownik);
    for (const std::string& ostrzezenie : wynik_.ostrzezenia) {
        konsola_.Wiersz("Ostrzeżenie: " + ostrzezenie);
        dziennik_.Zapisz("ostrzezenie", {{"tekst", ostrzezenie}});
    }
    // What could not be checked is no warning for a person, but the journal keeps it.
    for (const std::string& powod : kontrola.niesprawdzone)
        dziennik_.Zapisz("kontrola-niewykonana", {{"tekst", powod}});
    return true;
}

void PrzebiegBazy::Sprawdz(const PlanAktualizacji& plan) {
    // The version read at log-in is all this needs: nothing more is sent to the server.
    konsola_.Wiersz(Formatuj("Pakiety do wykonania do wersji %s (%d):",
                             {plan.ostatnia, static_cast<std::int64_t>(plan.pakiety.size())}));
    for (const PakietPlanu& pakiet : plan.pakiety)
        konsola_.Wiersz("  " + pakiet.wersja + "  " + Ile(pakiet.bajty, Bajty) + ", " +
                        Ile(static_cast<std::uint64_t>(pakiet.operacje), Operacje));
    konsola_.Wiersz("Razem: " + Ile(plan.pakiety.size(), Pakiety) + ", " +
                    Ile(plan.Bajty(), Bajty) + ", " +
                    Ile(static_cast<std::uint64_t>(plan.Operacje()), Operacje) + ".");
    wynik_.doWykonania = plan.pakiety;
    wynik_.kod = KodWyjscia::DoAktualizacji;
}

void PrzebiegBazy::Aktualizuj(PlanAktualizacji plan) {
    const std::string pytanie = Formatuj("Wykonać aktualizację bazy %s.%s do wersji %s ?",
                                         {dane_.serwer, dane_.baza, plan.ostatnia});
    const bool tak = konsola_.Zapytaj(pytanie, ustawienia_.odpowiedz);
    dziennik_.Zapisz("pytanie", {{"tekst", pytanie}, {"odpowiedz", tak ? "Tak" : "Nie"}});
    if (!tak) {
        wynik_.kod = KodWyjscia::Odmowa;
        wynik_.blad = "Aktualizacja nie została potwierdzona.";
        return;
    }
    PrzebiegAktualizacji przebieg(conn_, std::move(plan),
                                  {dane_.serwer, dane_.baza, &dziennik_, &PakietyProgramu(), true});
    {
        const std::lock_guard zamek(blokada_);
        przebieg_ = &przebieg;
        // A stop asked while the question was open.
        if (przerwanie_) przebieg.Przerwij();
    }
    const WynikPrzebiegu wynik = przebieg.Wykonaj(&konsola_);
    {
        const std::lock_guard zamek(blokada_);
        przebieg_ = nullptr;
    }
    Zakoncz(wynik);
}

void PrzebiegBazy::Zakoncz(const WynikPrzebiegu& przebieg) {
    for (const ZatwierdzonyPakiet& pakiet : przebieg.zatwierdzone)
        wynik_.pakiety.emplace_back(pakiet.wersja, pakiet.sekundy);
    if (przebieg.rodzaj != WynikPrzebiegu::Rodzaj::Zaktualizowana) {
        wynik_.pakietBledu = przebieg.wersjaPakietu;
        wynik_.operacjaBledu = przebieg.partia;
    }
    wynik_.wersjaPo = przebieg.wersjaPo.value_or("");
    if (przebieg.wersjaPo)
        konsola_.Wiersz(TekstWersjiBazy(dane_.serwer, dane_.baza, *przebieg.wersjaPo));
    switch (przebieg.rodzaj) {
        case WynikPrzebiegu::Rodzaj::Zaktualizowana:
            wynik_.kod = KodWyjscia::Zaktualizowana;
            konsola_.Wiersz("Informacja: Zakończono aktualizację.");
            return;
        case WynikPrzebiegu::Rodzaj::Przerwana:
            wynik_.kod = KodWyjscia::Przerwana;
            wynik_.blad = "Aktualizacja przerwana.";
            konsola_.Wiersz(przebieg.wersjaPo
                                ? Formatuj("Informacja: Aktualizacja przerwana. Baza danych jest "
                                           "w wersji %s.",
                                           {*przebieg.wersjaPo})
                                : std::string("Informacja: Aktualizacja przerwana. Połączenie z "
                                              "serwerem zostało utracone; serwer sam wycofa "
                                              "niezatwierdzony pakiet."));
            return;
        case WynikPrzebiegu::Rodzaj::Zablokowana:
            wynik_.zablokowana = true;
            Niepowodzenie(KodWyjscia::Odmowa, przebieg.TekstBledu());
            return;
        case WynikPrzebiegu::Rodzaj::UtrataPolaczenia:
            Niepowodzenie(KodWyjscia::BladPolaczenia, TekstUtraty(przebieg));
            return;
        case WynikPrzebiegu::Rodzaj::BladPakietu:
        case WynikPrzebiegu::Rodzaj::BladPrzygotowania:
            Niepowodzenie(KodWyjscia::BladPakietu, przebieg.TekstBledu());
            return;
    }
}

std::optional<std::string> PrzebiegBazy::Tyknij() {
    const std::lock_guard zamek(blokada_);
    if (przebieg_ == nullptr) return std::nullopt;
    konsola_.UstawStan(przebieg_->Postep().Tekst());
    const auto przerwanie = przebieg_->SprawdzPrzerwanie();
    if (!przerwanie) return std::nullopt;
    const long long sekundy = przerwanie->czekanie.count();
    return przerwanie->wZatwierdzaniu
               ? Formatuj(
                     "Serwer nie odpowiada od %d s na zatwierdzenie pakietu %s: program "
                     "kończy połączenie, więc nie wiadomo, czy serwer zdążył go zatwierdzić; "
                     "pakiety zatwierdzone wcześniej pozostają. --sprawdz pokaże wersję "
                     "zapisaną w bazie.",
                     {sekundy, przerwanie->wersjaPakietu})
               : Formatuj(
                     "Serwer nie odpowiada na przerwanie aktualizacji od %d s: program "
                     "kończy połączenie; serwer wycofa otwartą transakcję pakietu %s, gdy "
                     "zauważy utratę sesji, a pakiety już zatwierdzone pozostaną.",
                     {sekundy, przerwanie->wersjaPakietu});
}

WynikBazy PrzebiegBazy::WynikPorzucony(const std::string& powod) {
    const std::lock_guard zamek(blokada_);
    if (zakonczona_) return wynik_;
    WynikBazy wynik;
    wynik.serwer = wynik_.serwer;
    wynik.baza = wynik_.baza;
    wynik.uzytkownik = wynik_.uzytkownik;
    wynik.kod = KodWyjscia::Przerwana;
    // Within a run the database's thread waits in the driver and writes nothing meanwhile.
    if (przebieg_ != nullptr) {
        wynik.rozpoczeta = true;
        wynik.poczatek = wynik_.poczatek;
        wynik.koniec = std::chrono::system_clock::now();
        wynik.sekundy = std::chrono::duration<double>(wynik.koniec - wynik.poczatek).count();
        wynik.wersjaPrzed = wynik_.wersjaPrzed;
        wynik.wersjaDocelowa = wynik_.wersjaDocelowa;
        wynik.pakietBledu = przebieg_->BiezacyPakiet();
        wynik.pakiety = konsola_.Zatwierdzone();
        wynik.blad = powod;
        konsola_.Blad("Błąd: " + powod);
        dziennik_.Zapisz("koniec-programu-wymuszony", {{"tekst", powod}});
    }
    return wynik;
}

void PrzebiegBazy::Przerwij() {
    przerwanie_ = true;
    const std::lock_guard zamek(blokada_);
    if (przebieg_ != nullptr) przebieg_->Przerwij();
}

}  // namespace zuv
