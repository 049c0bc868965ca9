#include "db/UtrataPolaczenia.h"

#include <utility>

#include "common/Tekst.h"

namespace zuv {

std::string OpisKrokuUtraty(KrokUtraty krok, const std::string& wersja, std::int32_t operacja) {
    const std::string doWersji = wersja.empty() ? "" : " do wersji " + wersja;
    switch (krok) {
        case KrokUtraty::Polecenie:
            return "";
        case KrokUtraty::OdczytWersji:
            return " podczas odczytu wersji bazy";
        case KrokUtraty::BlokadaAktualizacji:
            return " podczas zakładania blokady aktualizacji bazy";
        case KrokUtraty::FlagaAktualizacji:
            return " podczas ustawiania flagi aktualizacji";
        case KrokUtraty::OdczytGeneracji:
            return " podczas odczytu wersji serwera MS SQL przed aktualizacją bazy" + doWersji;
        case KrokUtraty::Rozpoczecie:
            return " podczas rozpoczynania transakcji aktualizacji bazy" + doWersji;
        case KrokUtraty::Partia:
            return Formatuj(" podczas wykonywania operacji %d aktualizacji bazy", {operacja}) +
                   doWersji;
        case KrokUtraty::Zatwierdzenie:
            return " podczas zatwierdzania aktualizacji bazy" + doWersji;
        case KrokUtraty::PoZatwierdzeniu:
            return " tuż po zatwierdzeniu aktualizacji bazy" + doWersji;
        case KrokUtraty::Wycofanie:
            return " podczas wycofywania aktualizacji bazy" + doWersji;
    }
    return "";
}

namespace {

bool Otwarty(KrokUtraty krok) {
    return krok == KrokUtraty::Zatwierdzenie || krok == KrokUtraty::PoZatwierdzeniu;
}

// What became of the package, as far as it is known.
std::string Skutek(KrokUtraty krok, bool odczytany, bool nieosiagalny, const std::string& zapisana,
                   const std::string& wersja, const RadaPoUtracie& rada) {
    switch (krok) {
        case KrokUtraty::Polecenie:
        case KrokUtraty::OdczytWersji:
            return "";
        case KrokUtraty::BlokadaAktualizacji:
        case KrokUtraty::FlagaAktualizacji:
            return "Żadna aktualizacja nie została rozpoczęta.";
        case KrokUtraty::OdczytGeneracji:
        case KrokUtraty::Rozpoczecie:
            return "Ta aktualizacja nie zmieniła bazy.";
        case KrokUtraty::Partia:
        case KrokUtraty::Wycofanie:
            return "Serwer wycofuje niezatwierdzone zmiany tej aktualizacji.";
        case KrokUtraty::Zatwierdzenie:
        case KrokUtraty::PoZatwierdzeniu:
            break;
    }
    if (odczytany) {
        // A committed package records its own version in its last batch.
        const std::string baza = zapisana.empty()
                                     ? std::string("Baza nie ma zapisanej wersji")
                                     : Formatuj("Baza ma teraz zapisaną wersję %s", {zapisana});
        return baza + (!wersja.empty() && zapisana == wersja
                           ? ": ta aktualizacja została zatwierdzona."
                           : ": ta aktualizacja została wycofana.");
    }
    if (krok == KrokUtraty::PoZatwierdzeniu) return "Serwer potwierdził jej zatwierdzenie.";
    if (nieosiagalny)
        return "Ponowne połączenie z serwerem nie powiodło się, więc nie wiadomo, czy ta "
               "aktualizacja została zatwierdzona; " +
               rada.gdzieWersja;
    return "Nie wiadomo, czy serwer zdążył ją zatwierdzić; " + rada.gdzieWersja;
}

}  // namespace

RadaPoUtracie RadaOkna() {
    return {"Kliknij „Loguj”, aby połączyć się ponownie.",
            "„Loguj” pokaże wersję zapisaną w bazie."};
}

std::string OpisUtraty(KrokUtraty krok, PrzyczynaUtraty przyczyna, const std::string& wersja,
                       std::int32_t operacja, const OdczytPoUtracie& odczyt,
                       const RadaPoUtracie& rada) {
    const bool odczytany = odczyt.stan == OdczytPoUtracie::Stan::Odczytany;
    const bool nieosiagalny = odczyt.stan == OdczytPoUtracie::Stan::Nieosiagalny;
    const std::string gdzie = OpisKrokuUtraty(krok, wersja, operacja);
    std::string tekst;
    switch (przyczyna) {
        case PrzyczynaUtraty::Zerwanie:
            tekst = "Połączenie z serwerem zostało przerwane" + gdzie + ".";
            break;
        case PrzyczynaUtraty::Odmowa:
            tekst = "Program zakończył połączenie z serwerem" + gdzie +
                    ", bo po odmowie serwera sesja nie nadawała się do dalszej pracy.";
            break;
        case PrzyczynaUtraty::BrakOdpowiedzi:
            tekst = "Serwer nie odpowiedział w wyznaczonym czasie" + gdzie +
                    ", więc połączenie z nim zostało zakończone.";
            break;
    }
    const std::string skutek = Skutek(krok, odczytany, nieosiagalny, odczyt.zapisana, wersja, rada);
    if (!skutek.empty()) tekst += " " + skutek;
    // An open outcome already says how to see the recorded version.
    if (skutek.find(rada.gdzieWersja) == std::string::npos) tekst += " " + rada.polaczPonownie;
    return tekst;
}

std::string OpisUtraty(KrokUtraty krok, const std::string& wersja, std::int32_t operacja) {
    return OpisUtraty(krok, PrzyczynaUtraty::Zerwanie, wersja, operacja, {}, RadaOkna());
}

namespace {

// SQLSTATE HYT00: the driver's wait for the server ran out.
PrzyczynaUtraty PrzyczynaZ(const EOleException& bladSterownika, bool zerwane) {
    if (!zerwane) return PrzyczynaUtraty::Odmowa;
    return bladSterownika.StanSQL() == "HYT00" ? PrzyczynaUtraty::BrakOdpowiedzi
                                               : PrzyczynaUtraty::Zerwanie;
}

std::string TrescKomunikatu(KrokUtraty krok, PrzyczynaUtraty przyczyna, const std::string& wersja,
                            std::int32_t operacja, const OdczytPoUtracie& odczyt,
                            const std::string& tekstSterownika) {
    std::string tekst = OpisUtraty(krok, przyczyna, wersja, operacja, odczyt, RadaOkna());
    if (!tekstSterownika.empty()) tekst += "\r\n" + tekstSterownika;
    return tekst;
}

}  // namespace

EUtrataPolaczenia::EUtrataPolaczenia(const EOleException& bladSterownika, KrokUtraty krok,
                                     bool zerwane, std::string wersja, std::int32_t operacja)
    : EOleException(TrescKomunikatu(krok, PrzyczynaZ(bladSterownika, zerwane), wersja, operacja, {},
                                    bladSterownika.Komunikat()),
                    bladSterownika.Kod(), bladSterownika.Zrodlo(), bladSterownika.PlikPomocy(),
                    bladSterownika.KontekstPomocy(), bladSterownika.StanSQL()),
      krok_(krok),
      przyczyna_(PrzyczynaZ(bladSterownika, zerwane)),
      wersja_(std::move(wersja)),
      operacja_(operacja),
      tekstSterownika_(bladSterownika.Komunikat()) {}

EUtrataPolaczenia::EUtrataPolaczenia(const EUtrataPolaczenia& wzor, KrokUtraty krok,
                                     std::string wersja, std::int32_t operacja,
                                     const OdczytPoUtracie& odczyt)
    : EOleException(
          TrescKomunikatu(krok, wzor.przyczyna_, wersja, operacja, odczyt, wzor.tekstSterownika_),
          wzor.Kod(), wzor.Zrodlo(), wzor.PlikPomocy(), wzor.KontekstPomocy(), wzor.StanSQL()),
      krok_(krok),
      przyczyna_(wzor.przyczyna_),
      wersja_(std::move(wersja)),
      operacja_(operacja),
      tekstSterownika_(wzor.tekstSterownika_) {}

EUtrataPolaczenia EUtrataPolaczenia::WKroku(KrokUtraty krok, std::string wersja,
                                            std::int32_t operacja) const {
    return EUtrataPolaczenia(*this, krok, std::move(wersja), operacja, {});
}

bool EUtrataPolaczenia::WynikOtwarty() const noexcept { return Otwarty(krok_); }

EUtrataPolaczenia EUtrataPolaczenia::ZWynikiem(
    const std::optional<std::string>& zapisanaWersja) const {
    return EUtrataPolaczenia(
        *this, krok_, wersja_, operacja_,
        {zapisanaWersja ? OdczytPoUtracie::Stan::Odczytany : OdczytPoUtracie::Stan::Nieosiagalny,
         zapisanaWersja.value_or("")});
}

}  // namespace zuv
