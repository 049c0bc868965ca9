#include "common/LiczbyPolskie.h"

namespace zuv {

const char* Forma(std::uint64_t liczba, const FormyRzeczownika& formy) {
    if (liczba == 1) return formy.pojedyncza;
    const std::uint64_t jednosci = liczba % 10;
    const std::uint64_t setki = liczba % 100;
    if (jednosci >= 2 && jednosci <= 4 && (setki < 12 || setki > 14)) return formy.kilka;
    return formy.wiele;
}

std::string LiczbaZGrupami(std::uint64_t liczba) {
    const std::string cyfry = std::to_string(liczba);
    if (cyfry.size() < 5) return cyfry;
    std::string wynik;
    wynik.reserve(cyfry.size() + cyfry.size() / 3);
    for (std::size_t i = 0; i < cyfry.size(); ++i) {
        if (i > 0 && (cyfry.size() - i) % 3 == 0) wynik += ' ';
        wynik += cyfry[i];
    }
    return wynik;
}

std::string Ile(std::uint64_t liczba, const FormyRzeczownika& formy) {
    return LiczbaZGrupami(liczba) + " " + Forma(liczba, formy);
}

}  // namespace zuv
