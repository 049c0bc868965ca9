#include "db/UtrataPolaczenia.h"

#include <utility>

#include "common/Tekst.h"

namespace zuv {

namespace {

constexpr std::string_view Rada = "Kliknij „Loguj”, aby połączyć się ponownie.";

}  // namespace

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
                   const std::string& wersja) {
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
               "aktualizacja została zatwierdzona; „Loguj” pokaże wersję zapisaną w bazie.";
    return "Nie wiadomo, czy serwer zdążył ją zatwierdzić; „Loguj” pokaże wersję zapisaną w "
           "bazie.";
}

// What happened, at which step, what became of the package, what to do next.
std::string Opis(KrokUtraty krok, bool zerwane, const std::string& wersja, std::int32_t operacja,
                 bool odczytany, bool nieosiagalny, const std::string& zapisana) {
    std::string tekst =
        zerwane
            ? "Połączenie z serwerem zostało przerwane" + OpisKrokuUtraty(krok, wersja, operacja) +
                  "."
            : "Program zakończył połączenie z serwerem" + OpisKrokuUtraty(krok, wersja, operacja) +
                  ", bo po odmowie serwera sesja nie nadawała się do dalszej pracy.";
    const std::string skutek = Skutek(krok, odczytany, nieosiagalny, zapisana, wersja);
    if (!skutek.empty()) tekst += " " + skutek;
    if (skutek.find("„Loguj”") == std::string::npos) tekst += " " + std::string(Rada);
    return tekst;
}

std::string TrescKomunikatu(KrokUtraty krok, bool zerwane, const std::string& wersja,
                            std::int32_t operacja, bool odczytany, bool nieosiagalny,
                            const std::string& zapisana, const std::string& tekstSterownika) {
    std::string tekst = Opis(krok, zerwane, wersja, operacja, odczytany, nieosiagalny, zapisana);
    if (!tekstSterownika.empty()) tekst += "\r\n" + tekstSterownika;
    return tekst;
}

}  // namespace

std::string OpisUtraty(KrokUtraty krok, const std::string& wersja, std::int32_t operacja) {
    return Opis(krok, true, wersja, operacja, false, false, {});
}

EUtrataPolaczenia::EUtrataPolaczenia(const EOleException& bladSterownika, KrokUtraty krok,
                                     bool zerwane, std::string wersja, std::int32_t operacja)
    : EOleException(TrescKomunikatu(krok, zerwane, wersja, operacja, false, false, {},
                                    bladSterownika.Komunikat()),
                    bladSterownika.Kod(), bladSterownika.Zrodlo(), bladSterownika.PlikPomocy(),
                    bladSterownika.KontekstPomocy(), bladSterownika.StanSQL()),
      krok_(krok),
      zerwane_(zerwane),
      wersja_(std::move(wersja)),
      operacja_(operacja),
      tekstSterownika_(bladSterownika.Komunikat()) {}

EUtrataPolaczenia::EUtrataPolaczenia(const EUtrataPolaczenia& wzor, KrokUtraty krok,
                                     std::string wersja, std::int32_t operacja, Wynik wynik,
                                     const std::string& zapisanaWersja)
    : EOleException(
          TrescKomunikatu(krok, wzor.zerwane_, wersja, operacja, wynik == Wynik::Odczytany,
                          wynik == Wynik::Nieosiagalny, zapisanaWersja, wzor.tekstSterownika_),
          wzor.Kod(), wzor.Zrodlo(), wzor.PlikPomocy(), wzor.KontekstPomocy(), wzor.StanSQL()),
      krok_(krok),
      zerwane_(wzor.zerwane_),
      wersja_(std::move(wersja)),
      operacja_(operacja),
      tekstSterownika_(wzor.tekstSterownika_) {}

EUtrataPolaczenia EUtrataPolaczenia::WKroku(KrokUtraty krok, std::string wersja,
                                            std::int32_t operacja) const {
    return EUtrataPolaczenia(*this, krok, std::move(wersja), operacja, Wynik::Nieodczytany, {});
}

bool EUtrataPolaczenia::WynikOtwarty() const noexcept { return Otwarty(krok_); }

EUtrataPolaczenia EUtrataPolaczenia::ZWynikiem(
    const std::optional<std::string>& zapisanaWersja) const {
    return EUtrataPolaczenia(*this, krok_, wersja_, operacja_,
                             zapisanaWersja ? Wynik::Odczytany : Wynik::Nieosiagalny,
                             zapisanaWersja.value_or(""));
}

}  // namespace zuv
