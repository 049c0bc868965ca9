#pragma once
// What the unattended program prints for one database: its lines (each line of a text with the
// database's prefix), its failures on standard error, its status line on a terminal, the question
// asked of the person at the terminal or answered by the options, and a line for each package
// where no status line shows it.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/usluga/ObserwatorPrzebiegu.h"
#include "app/wsadowa/Wydruk.h"

namespace zuv {

// How the question "Wykonać aktualizację ...?" gets its answer.
enum class OdpowiedzNaPytanie {
    Tak,         // --tak
    ZTerminala,  // the person at the terminal
    Nie,         // nobody to ask: standard input is no terminal
    NieNaraz,    // several databases at once cannot share one keyboard
};

class KonsolaBazy final : public ObserwatorPrzebiegu {
  public:
    // `numer`: the database's place on the list, for its status line. `przedrostek`: what starts
    // each of its lines ("[serwer/baza] " on a list, nothing for one database).
    KonsolaBazy(std::size_t numer, std::string przedrostek, Wydruk& wydruk);

    // A text of this database's run, every line of it prefixed; its failure on standard error.
    void Wiersz(const std::string& tekst);
    void Blad(const std::string& tekst);
    // The question, answered as `odpowiedz` says; whether the answer is Yes.
    bool Zapytaj(const std::string& pytanie, OdpowiedzNaPytanie odpowiedz);

    // The status line: `tekst` after the time since the database's run began.
    void UstawStan(const std::string& tekst);
    void ZakonczStan() { wydruk_.UsunStan(numer_); }

    void PakietRozpoczety(const std::string& wersja, std::size_t numer,
                          std::size_t liczba) override;
    void PakietZatwierdzony(const std::string& wersja, double sekundy) override;
    // The packages committed so far, with their seconds: what a run that never returns leaves.
    std::vector<std::pair<std::string, double>> Zatwierdzone() const;

  private:
    std::string ZPrzedrostkiem(const std::string& tekst) const;

    std::size_t numer_;
    std::string przedrostek_;
    Wydruk& wydruk_;
    std::chrono::steady_clock::time_point poczatek_ = std::chrono::steady_clock::now();
    mutable std::mutex blokada_;
    std::vector<std::pair<std::string, double>> zatwierdzone_;  // under blokada_
};

}  // namespace zuv
