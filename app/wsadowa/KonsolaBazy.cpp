#include "app/wsadowa/KonsolaBazy.h"

#include "common/Ascii.h"

namespace zuv {

KonsolaBazy::KonsolaBazy(std::size_t numer, std::string przedrostek, Wydruk& wydruk)
    : numer_(numer), przedrostek_(std::move(przedrostek)), wydruk_(wydruk) {}

std::string KonsolaBazy::ZPrzedrostkiem(const std::string& tekst) const {
    // A server's message runs over several lines: each of them says which database it is of.
    std::string wynik = przedrostek_;
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        wynik += tekst[i];
        if (tekst[i] == '\n' && i + 1 < tekst.size()) wynik += przedrostek_;
    }
    return wynik;
}

void KonsolaBazy::Wiersz(const std::string& tekst) { wydruk_.Wiersz(ZPrzedrostkiem(tekst)); }

void KonsolaBazy::Blad(const std::string& tekst) { wydruk_.Blad(ZPrzedrostkiem(tekst)); }

bool KonsolaBazy::Zapytaj(const std::string& pytanie, OdpowiedzNaPytanie odpowiedz) {
    switch (odpowiedz) {
        case OdpowiedzNaPytanie::Tak:
            Wiersz(pytanie + " Tak (--tak)");
            return true;
        case OdpowiedzNaPytanie::ZTerminala: {
            std::string litery =
                wydruk_.Zapytaj(przedrostek_ + pytanie + " [t/N] ", false).value_or("");
            for (char& znak : litery) znak = MalaLiteraAscii(znak);
            return litery == "t" || litery == "tak";
        }
        case OdpowiedzNaPytanie::Nie:
            Wiersz(pytanie +
                   " Nie: bez --tak nie ma kto odpowiedzieć (wejście nie jest terminalem).");
            return false;
        case OdpowiedzNaPytanie::NieNaraz:
            Wiersz(pytanie + " Nie: przy kilku bazach naraz (--rownolegle) odpowiedz opcją --tak.");
            return false;
    }
    return false;
}

void KonsolaBazy::UstawStan(const std::string& tekst) {
    if (!wydruk_.WMiejscu()) return;
    const double sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - poczatek_).count();
    wydruk_.UstawStan(numer_, przedrostek_ + CzasDlaLudzi(sekundy) + " " + tekst);
}

void KonsolaBazy::PakietRozpoczety(const std::string& wersja, std::size_t numer,
                                   std::size_t liczba) {
    // On a terminal the status line shows the package; elsewhere (a log file) a line each.
    if (wydruk_.WMiejscu()) return;
    Wiersz("Pakiet " + wersja + " (" + std::to_string(numer) + " z " + std::to_string(liczba) +
           ")...");
}

void KonsolaBazy::PakietZatwierdzony(const std::string& wersja, double sekundy) {
    const std::lock_guard zamek(blokada_);
    zatwierdzone_.emplace_back(wersja, sekundy);
}

std::vector<std::pair<std::string, double>> KonsolaBazy::Zatwierdzone() const {
    const std::lock_guard zamek(blokada_);
    return zatwierdzone_;
}

}  // namespace zuv
