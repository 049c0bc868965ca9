#include "app/wsadowa/WidokKonsoli.h"

#include "common/Ascii.h"
#include "versions/KatalogWersji.h"

namespace zuv {

WidokKonsoli::WidokKonsoli(BazaDoAktualizacji baza, std::size_t numer, std::string przedrostek,
                           OdpowiedzNaPytanie odpowiedz, Wydruk& wydruk)
    : baza_(std::move(baza)),
      numer_(numer),
      przedrostek_(std::move(przedrostek)),
      odpowiedz_(odpowiedz),
      wydruk_(wydruk) {}

void WidokKonsoli::UstawTekstWersji(const std::string& tekst) { Wiersz(tekst); }

int WidokKonsoli::LiczbaWersji() const { return static_cast<int>(KatalogWersji.size()); }

std::string WidokKonsoli::Wersja(int indeks) const {
    return std::string(KatalogWersji.at(static_cast<std::size_t>(indeks)));
}

int WidokKonsoli::Pokaz(const std::string& tekst, const std::string& tytul, int styl) {
    using namespace StylKomunikatu;
    if ((styl & 0xF) != TakNie) {
        // A stop box is an error: standard error, also when quiet.
        if ((styl & 0xF0) == IkonaStop)
            Blad(tytul + ": " + tekst);
        else
            Wiersz(tytul + ": " + tekst);
        return OdpowiedzKomunikatu::Ok;
    }
    switch (odpowiedz_) {
        case OdpowiedzNaPytanie::Tak:
            Wiersz(tekst + " Tak (--tak)");
            return OdpowiedzKomunikatu::Tak;
        case OdpowiedzNaPytanie::ZTerminala: {
            const auto odpowiedz = wydruk_.Zapytaj(przedrostek_ + tekst + " [t/N] ", false);
            std::string litery = odpowiedz.value_or("");
            for (char& znak : litery) znak = MalaLiteraAscii(znak);
            const bool tak = litery == "t" || litery == "tak";
            return tak ? OdpowiedzKomunikatu::Tak : OdpowiedzKomunikatu::Nie;
        }
        case OdpowiedzNaPytanie::Nie:
            Wiersz(tekst +
                   " Nie: bez --tak nie ma kto odpowiedzieć (wejście nie jest terminalem).");
            break;
        case OdpowiedzNaPytanie::NieNaraz:
            Wiersz(tekst + " Nie: przy kilku bazach naraz (--rownolegle) odpowiedz opcją --tak.");
            break;
    }
    return OdpowiedzKomunikatu::Nie;
}

void WidokKonsoli::UstawTekst(std::string_view tekstUtf8) {
    {
        const std::lock_guard zamek(blokada_);
        tekstPaska_ = tekstUtf8;
    }
    OdswiezStan();
}

void WidokKonsoli::OdswiezStan() {
    if (!wydruk_.WMiejscu()) return;
    std::string tekst;
    {
        const std::lock_guard zamek(blokada_);
        tekst = tekstPaska_;
    }
    const double sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - poczatek_).count();
    wydruk_.UstawStan(numer_, przedrostek_ + CzasDlaLudzi(sekundy) + " " + tekst);
}

void WidokKonsoli::PakietRozpoczety(const std::string& wersja, std::size_t numer,
                                    std::size_t liczba) {
    // On a terminal the status line shows the package; elsewhere (a log file) a line each.
    if (wydruk_.WMiejscu()) return;
    Wiersz("Pakiet " + wersja + " (" + std::to_string(numer) + " z " + std::to_string(liczba) +
           ")...");
}

void WidokKonsoli::PakietZatwierdzony(const std::string& wersja, double sekundy) {
    const std::lock_guard zamek(blokada_);
    zatwierdzone_.emplace_back(wersja, sekundy);
}

std::vector<std::pair<std::string, double>> WidokKonsoli::Zatwierdzone() const {
    const std::lock_guard zamek(blokada_);
    return zatwierdzone_;
}

}  // namespace zuv
