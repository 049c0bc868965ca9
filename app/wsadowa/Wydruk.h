#pragma once
// What the unattended program prints, from every database's thread at once: whole lines that never
// mix, and on a terminal one status line per running database, rewritten in place below them.

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace zuv {

class Wydruk {
  public:
    // `wMiejscu`: standard output is a terminal that rewrites lines in place. `cicho`: only the
    // result is printed (Wynik, Blad).
    Wydruk(bool wMiejscu, bool cicho, int szerokosc = 80);

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
    std::map<std::size_t, std::string> stany_;
    std::size_t narysowane_ = 0;
    bool zmiana_ = false;
};

// "1:02:03", "02:03": a run's time for people.
std::string CzasDlaLudzi(double sekundy);

}  // namespace zuv
