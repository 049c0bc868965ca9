#include "common/Linie.h"

std::string ZLiniamiCrLf(std::string_view tekst) {
    std::string wynik;
    wynik.reserve(tekst.size() + 2);
    PodzielNaLinie(tekst, [&](std::string_view linia) {
        wynik += linia;
        wynik += "\r\n";
    });
    return wynik;
}

void ListaLinii::Dodaj(std::string_view linia) {
    linie_.push_back({bufor_.size(), linia.size()});
    bufor_ += linia;
}

void ListaLinii::Wyczysc() {
    bufor_.clear();
    linie_.clear();
}

void ListaLinii::UstawTekst(std::string_view tekst) {
    std::string bufor;
    std::vector<Linia> linie;
    bufor.reserve(tekst.size());
    // About one line per 37 bytes in a package; reserving avoids regrowing a large index.
    linie.reserve(tekst.size() / 32 + 1);
    PodzielNaLinie(tekst, [&](std::string_view linia) {
        linie.push_back({bufor.size(), linia.size()});
        bufor += linia;
    });
    bufor_ = std::move(bufor);
    linie_ = std::move(linie);
}
