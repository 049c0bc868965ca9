#include "app/wsadowa/PrzebiegBazy.h"

#include <chrono>

#include "app/ObslugaBledu.h"
#include "db/UtrataPolaczenia.h"
#include "versions/KatalogWersji.h"
#include "versions/ObslugaWersji.h"

namespace zuv {

std::string OpisWyniku(const WynikBazy& wynik) {
    switch (wynik.kod) {
        case KodWyjscia::Zaktualizowana:
            return wynik.pakiety.empty() ? "aktualna" : "zaktualizowana";
        case KodWyjscia::Odmowa:
            return "odmowa";
        case KodWyjscia::BladPakietu:
            return "błąd pakietu";
        case KodWyjscia::BladPolaczenia:
            return "błąd połączenia";
        case KodWyjscia::Przerwana:
            return wynik.rozpoczeta ? "przerwana" : "nie rozpoczęta";
        default:
            return "?";
    }
}

PrzebiegBazy::PrzebiegBazy(BazaDoAktualizacji baza, std::size_t numer, std::string przedrostek,
                           const UstawieniaPrzebiegu& ustawienia, Wydruk& wydruk)
    : ustawienia_(ustawienia),
      widok_(baza, numer, std::move(przedrostek), ustawienia.odpowiedz, wydruk),
      dziennik_(ustawienia.sciezkaDziennika),
      polecenie_(conn_, WidokOkna{widok_, widok_, widok_, widok_, widok_}, &dziennik_) {
    wynik_.serwer = baza.serwer;
    wynik_.baza = baza.baza;
    wynik_.uzytkownik = baza.uzytkownik;
    polecenie_.UstawObserwatora(&widok_);
}

void PrzebiegBazy::Wykonaj() noexcept {
    const auto poczatek = std::chrono::steady_clock::now();
    wynik_.rozpoczeta = true;
    {
        const std::lock_guard zamek(blokada_);
        wToku_ = true;
    }
    try {
        if (przerwanie_) {
            wynik_.kod = KodWyjscia::Przerwana;
        } else {
            widok_.OdswiezStan();
            bool zalogowany = false;
            try {
                const std::lock_guard zamek(blokada_);
                polecenie_.btnLogujClick();
                zalogowany = true;
            } catch (const std::exception& e) {
                wynik_.kod = KodWyjscia::BladPolaczenia;
                wynik_.blad = TekstBledu(e.what());
                widok_.Blad("Błąd: " + wynik_.blad);
            }
            if (zalogowany) {
                wynik_.wersjaPrzed = wynik_.wersjaPo = polecenie_.WersjaOdczytana();
                if (przerwanie_)
                    wynik_.kod = KodWyjscia::Przerwana;
                else if (ustawienia_.sprawdz)
                    Sprawdz();
                else
                    Aktualizuj();
            }
        }
    } catch (const std::exception& e) {
        // Nothing of the above is meant to raise; whatever does must still be told.
        wynik_.kod = KodWyjscia::BladPolaczenia;
        wynik_.blad = TekstBledu(e.what());
        widok_.Blad("Błąd: " + wynik_.blad);
    }
    {
        const std::lock_guard zamek(blokada_);
        wToku_ = false;
        widok_.ZakonczStan();
    }
    polecenie_.Rozlacz();
    wynik_.pakiety = widok_.Zatwierdzone();
    wynik_.sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - poczatek).count();
}

void PrzebiegBazy::Sprawdz() {
    // The version read at log-in is all this needs: nothing more is sent to the server.
    const std::string aktualna = wynik_.wersjaPrzed;
    const std::string pierwsza(KatalogWersji.front());
    const std::string ostatnia(KatalogWersji.back());
    try {
        if (WersjaWiekszaLubRowna(aktualna, ostatnia)) {
            widok_.Wiersz("Ostrzeżenie: " + TekstWersjiNajwyzszej(aktualna, ostatnia));
            wynik_.kod = WersjaWiekszaLubRowna(ostatnia, aktualna) ? KodWyjscia::Zaktualizowana
                                                                   : KodWyjscia::Odmowa;
            return;
        }
        if (!WersjaWiekszaLubRowna(aktualna, pierwsza)) {
            wynik_.blad = TekstWersjiPonizejZakresu(aktualna, pierwsza);
            widok_.Wiersz("Ostrzeżenie: " + wynik_.blad);
            wynik_.kod = KodWyjscia::Odmowa;
            return;
        }
        const std::vector<std::string> pakiety = PakietyDoWykonania(widok_, aktualna);
        std::size_t razem = 0;
        widok_.Wiersz("Pakiety do wykonania (" + std::to_string(pakiety.size()) + "):");
        for (const std::string& wersja : pakiety) {
            const std::size_t rozmiar = RozmiarPakietu(wersja).value_or(0);
            razem += rozmiar;
            widok_.Wiersz("  " + wersja + "  " + std::to_string(rozmiar) + " bajtów, " +
                          std::to_string(LiczbaOperacjiPakietu(wersja)) + " operacji");
        }
        widok_.Wiersz("Razem " + std::to_string(razem) + " bajtów.");
        wynik_.kod = KodWyjscia::Zaktualizowana;
    } catch (const EConvertError& e) {
        wynik_.kod = KodWyjscia::Odmowa;
        wynik_.blad = TekstBledu(e.what());
        widok_.Blad("Błąd: " + wynik_.blad);
    }
}

void PrzebiegBazy::Aktualizuj() {
    std::optional<ZadanieWTle> przebieg;
    try {
        const std::lock_guard zamek(blokada_);
        przebieg = polecenie_.btnAktualizujClick();
        // A stop asked while the question or the version read held the lock.
        if (przebieg && przerwanie_) polecenie_.PrzerwijPrzebieg();
    } catch (const std::exception& e) {
        // A malformed recorded version is one of the bound checks; anything else here is the
        // session failing.
        wynik_.kod = dynamic_cast<const EConvertError*>(&e) != nullptr ? KodWyjscia::Odmowa
                                                                       : KodWyjscia::BladPolaczenia;
        wynik_.blad = TekstBledu(e.what());
        widok_.Blad("Błąd: " + wynik_.blad);
        return;
    }
    if (!przebieg) {
        const std::string& aktualna = polecenie_.WersjaOdczytana();
        wynik_.wersjaPrzed = wynik_.wersjaPo = aktualna;
        switch (polecenie_.OstatnieSprawdzenie()) {
            case WynikSprawdzenia::WersjaNajwyzsza:
                // Already at the catalogue's last version: nothing to do. Above it, the database
                // belongs to a newer program.
                if (WersjaWiekszaLubRowna(std::string(KatalogWersji.back()), aktualna)) {
                    wynik_.kod = KodWyjscia::Zaktualizowana;
                    return;
                }
                wynik_.blad = TekstWersjiNajwyzszej(aktualna, std::string(KatalogWersji.back()));
                break;
            case WynikSprawdzenia::WersjaPonizejZakresu:
                wynik_.blad =
                    TekstWersjiPonizejZakresu(aktualna, std::string(KatalogWersji.front()));
                break;
            default:
                wynik_.blad = "Aktualizacja nie została potwierdzona.";
                break;
        }
        wynik_.kod = KodWyjscia::Odmowa;
        return;
    }
    wynik_.wersjaPrzed = polecenie_.WersjaOdczytana();
    przebieg->Wykonaj();
    const std::lock_guard zamek(blokada_);
    wynik_.wersjaPo = polecenie_.WersjaPoPrzebiegu().value_or("");
    try {
        (void)przebieg->Zakoncz();
        wynik_.kod = przerwanie_ ? KodWyjscia::Przerwana : KodWyjscia::Zaktualizowana;
        if (przerwanie_) wynik_.blad = "Aktualizacja przerwana.";
    } catch (const std::exception& e) {
        wynik_.kod = dynamic_cast<const EUtrataPolaczenia*>(&e) != nullptr
                         ? KodWyjscia::BladPolaczenia
                         : KodWyjscia::BladPakietu;
        wynik_.blad = TekstBledu(e.what());
        widok_.Blad("Błąd: " + wynik_.blad);
    }
}

void PrzebiegBazy::Tyknij() {
    // The run's thread holds the lock through a log-in or a version read that a stalled server
    // can draw out: the other databases' lines must not wait for it.
    const std::unique_lock zamek(blokada_, std::try_to_lock);
    if (!zamek.owns_lock() || !wToku_) return;
    if (polecenie_.WTrakcie()) polecenie_.PokazPostep();
    widok_.OdswiezStan();
}

void PrzebiegBazy::Przerwij() {
    przerwanie_ = true;
    // Without the lock the run's thread is between steps and looks at the flag after each.
    const std::unique_lock zamek(blokada_, std::try_to_lock);
    if (zamek.owns_lock() && polecenie_.WTrakcie()) polecenie_.PrzerwijPrzebieg();
}

}  // namespace zuv
