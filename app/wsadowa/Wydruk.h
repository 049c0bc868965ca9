#pragma once
// What the unattended program prints, from every database's thread at once: whole lines that never
// mix, and on a terminal one status line per running database, rewritten in place below them.
// Where a stream does not reach a terminal (a file, a pipe, a scheduler's log) each of its lines
// begins with the local time, so that a log read later tells when each thing happened.

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace zuv {

class Wydruk {
  public:
    // `wMiejscu`: standard output is a terminal that rewrites lines in place. `cicho`: only the
    // result is printed (Wynik, Blad). `czasNaWyjsciu`, `czasNaBledach`: the lines of standard
    // output, of standard error, begin with the local time (ZCzasem).
    Wydruk(bool wMiejscu, bool cicho, int szerokosc = 80, bool czasNaWyjsciu = false,
           bool czasNaBledach = false);

    bool WMiejscu() const noexcept { return wMiejscu_; }
    bool Cicho() const noexcept { return cicho_; }

    // A line of a run on standard output; nothing with `cicho`.
    void Wiersz(const std::string& tekst);
    // A failure on standard error, also with `cicho`.
    void Blad(const std::string& tekst);
    // The result on standard output, also with `cicho`.
    void Wynik(const std::string& tekst);

    // The status line of database `numer` (shown in place, in the databases' order), and its end.
    void UstawStan(std::size_t numer, std::string tekst);
    void UsunStan(std::size_t numer);
    // Draws the status lines again where they changed.
    void Odswiez();

    // A question to the person at the terminal, with the status lines put away meanwhile and no
    // other line printed; nothing at the end of input.
    std::optional<std::string> Zapytaj(const std::string& zacheta, bool bezEcha);

  private:
    void Wypisz(std::FILE* strumien, const std::string& tekst);
    void ZetrzyjStany();
    void NarysujStany();

    std::mutex blokada_;
    const bool wMiejscu_;
    const bool cicho_;
    const int szerokosc_;
    const bool czasNaWyjsciu_;
    const bool czasNaBledach_;
    std::map<std::size_t, std::string> stany_;
    std::size_t narysowane_ = 0;
    bool zmiana_ = false;
};

// "1:02:03", "02:03": a run's time for people.
std::string CzasDlaLudzi(double sekundy);

// Each line of `tekst` begun with the local time now, ISO 8601 to the second, and a blank:
// "2026-12-11T02:00:05+01:00 Wersja bazy ...".
std::string ZCzasem(const std::string& tekst);

}  // namespace zuv
