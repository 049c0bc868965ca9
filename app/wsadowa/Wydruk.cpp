#include "app/wsadowa/Wydruk.h"

#include <chrono>
#include <cstdio>

#include "app/usluga/CzasISO.h"
#include "app/wsadowa/platforma/Konsola.h"

namespace zuv {

namespace {

// The first `kolumny` characters of a UTF-8 text: a status line longer than the terminal would
// wrap, and the lines below it could no longer be found to be rewritten.
std::string Przytnij(const std::string& tekst, int kolumny) {
    int znaki = 0;
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        const auto bajt = static_cast<unsigned char>(tekst[i]);
        if ((bajt & 0xC0) != 0x80 && ++znaki > kolumny) return tekst.substr(0, i);
    }
    return tekst;
}

// Line ends as the console writes them: a server's message carries CR LF, which a Windows program
// writing in text mode would turn into CR CR LF, and a Linux terminal or log needs no CR.
std::string BezCR(const std::string& tekst) {
    std::string wynik;
    wynik.reserve(tekst.size());
    for (std::size_t i = 0; i < tekst.size(); ++i)
        if (!(tekst[i] == '\r' && i + 1 < tekst.size() && tekst[i + 1] == '\n')) wynik += tekst[i];
    return wynik;
}

}  // namespace

std::string CzasDlaLudzi(double sekundy) {
    const long cale = sekundy < 0 ? 0 : static_cast<long>(sekundy);
    char tekst[32];
    if (cale >= 3600)
        std::snprintf(tekst, sizeof tekst, "%ld:%02ld:%02ld", cale / 3600, cale / 60 % 60,
                      cale % 60);
    else
        std::snprintf(tekst, sizeof tekst, "%02ld:%02ld", cale / 60, cale % 60);
    return tekst;
}

std::string ZCzasem(const std::string& tekst) {
    const std::string czas = CzasISO(std::chrono::system_clock::now()) + " ";
    std::string wynik = czas;
    wynik.reserve(tekst.size() + czas.size());
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        wynik += tekst[i];
        if (tekst[i] == '\n' && i + 1 < tekst.size()) wynik += czas;
    }
    return wynik;
}

Wydruk::Wydruk(bool wMiejscu, bool cicho, int szerokosc, bool czasNaWyjsciu, bool czasNaBledach)
    : wMiejscu_(wMiejscu && !cicho),
      cicho_(cicho),
      szerokosc_(szerokosc),
      czasNaWyjsciu_(czasNaWyjsciu),
      czasNaBledach_(czasNaBledach) {}

void Wydruk::ZetrzyjStany() {
    // Up one line and clear it, for every status line drawn.
    for (; narysowane_ > 0; --narysowane_) WypiszTekst(stdout, "\x1b[1A\x1b[2K");
}

void Wydruk::NarysujStany() {
    for (const auto& [numer, tekst] : stany_) {
        WypiszTekst(stdout, Przytnij(tekst, szerokosc_ - 1));
        WypiszTekst(stdout, "\n");
        ++narysowane_;
    }
    zmiana_ = false;
    std::fflush(stdout);
}

void Wydruk::Wypisz(std::FILE* strumien, const std::string& tekst) {
    const std::lock_guard zamek(blokada_);
    if (wMiejscu_) {
        ZetrzyjStany();
        std::fflush(stdout);
    }
    const bool zCzasem = strumien == stderr ? czasNaBledach_ : czasNaWyjsciu_;
    WypiszTekst(strumien, zCzasem ? ZCzasem(BezCR(tekst)) : BezCR(tekst));
    WypiszTekst(strumien, "\n");
    std::fflush(strumien);
    if (wMiejscu_) NarysujStany();
}

void Wydruk::Wiersz(const std::string& tekst) {
    if (!cicho_) Wypisz(stdout, tekst);
}

void Wydruk::Blad(const std::string& tekst) { Wypisz(stderr, tekst); }

void Wydruk::Wynik(const std::string& tekst) { Wypisz(stdout, tekst); }

void Wydruk::UstawStan(std::size_t numer, std::string tekst) {
    if (!wMiejscu_) return;
    const std::lock_guard zamek(blokada_);
    auto& stan = stany_[numer];
    if (stan != tekst) {
        stan = std::move(tekst);
        zmiana_ = true;
    }
}

void Wydruk::UsunStan(std::size_t numer) {
    if (!wMiejscu_) return;
    const std::lock_guard zamek(blokada_);
    zmiana_ = stany_.erase(numer) > 0 || zmiana_;
}

void Wydruk::Odswiez() {
    if (!wMiejscu_) return;
    const std::lock_guard zamek(blokada_);
    if (!zmiana_) return;
    ZetrzyjStany();
    NarysujStany();
}

std::optional<std::string> Wydruk::Zapytaj(const std::string& zacheta, bool bezEcha) {
    const std::lock_guard zamek(blokada_);
    if (wMiejscu_) ZetrzyjStany();
    std::fflush(stdout);
    auto odpowiedz = CzytajZTerminala(zacheta, bezEcha);
    if (wMiejscu_) NarysujStany();
    return odpowiedz;
}

}  // namespace zuv
