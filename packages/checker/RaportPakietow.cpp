#include "packages/checker/RaportPakietow.h"

#include <cstdio>

namespace zuv {

bool JestBledem(RodzajUwagi rodzaj) noexcept { return rodzaj < RodzajUwagi::PodobnaDoSeparatora; }

void RaportPakietow::Dodaj(RodzajUwagi rodzaj, std::string_view plik, std::size_t wiersz,
                           std::string tekst) {
    ++(JestBledem(rodzaj) ? bledy_ : ostrzezenia_);
    std::size_t& liczba = liczby_[{std::string(plik), rodzaj}];
    if (++liczba > NajwiecejJednegoRodzaju) return;
    uwagi_.push_back({rodzaj, std::string(plik), wiersz, std::move(tekst)});
}

void RaportPakietow::Wypisz(std::ostream& wyjscie) const {
    for (const Uwaga& uwaga : uwagi_) {
        wyjscie << uwaga.plik << ':';
        if (uwaga.wiersz > 0) wyjscie << uwaga.wiersz << ':';
        wyjscie << (JestBledem(uwaga.rodzaj) ? " błąd: " : " ostrzeżenie: ") << uwaga.tekst << '\n';
    }
    for (const auto& [klucz, liczba] : liczby_) {
        if (liczba <= NajwiecejJednegoRodzaju) continue;
        wyjscie << klucz.first << ": pominięto " << liczba - NajwiecejJednegoRodzaju << " dalszych "
                << (JestBledem(klucz.second) ? "błędów" : "ostrzeżeń") << " tego rodzaju\n";
    }
}

std::string Cytat(std::string_view linia) {
    constexpr std::size_t Najwiecej = 60;
    std::string cytat;
    for (std::size_t i = 0; i < linia.size() && i < Najwiecej; ++i) {
        const auto bajt = static_cast<unsigned char>(linia[i]);
        if (bajt >= 32 && bajt < 127) {
            cytat += static_cast<char>(bajt);
        } else {
            char kod[8];
            std::snprintf(kod, sizeof kod, "\\x%02X", bajt);
            cytat += kod;
        }
    }
    if (linia.size() > Najwiecej) cytat += "...";
    return cytat;
}

}  // namespace zuv
