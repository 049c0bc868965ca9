#include "PisarzPakietu.h"

#include "Kodowanie1250.h"

namespace generator {

void PisarzPakietu::Wiersz(std::string_view utf8) {
    DopiszCp1250(bajty_, utf8);
    bajty_ += "\r\n";
    ++wiersze_;
}

void PisarzPakietu::WierszCR(std::string_view utf8) {
    DopiszCp1250(bajty_, utf8);
    bajty_ += samotneCR_ ? "\r" : "\r\n";
    ++wiersze_;
}

void PisarzPakietu::WierszDoSzerokosci(std::string_view utf8, std::size_t szerokosc) {
    const std::size_t poczatek = bajty_.size();
    DopiszCp1250(bajty_, utf8);
    const std::size_t dlugosc = bajty_.size() - poczatek;
    if (dlugosc < szerokosc) bajty_.append(szerokosc - dlugosc, ' ');
    bajty_ += "\r\n";
    ++wiersze_;
}

void PisarzPakietu::WierszSzablonu(std::string_view utf8) {
    if (utf8.ends_with(KoniecSamymCR)) {
        utf8.remove_suffix(KoniecSamymCR.size());
        WierszCR(utf8);
    } else {
        Wiersz(utf8);
    }
}

void PisarzPakietu::Tekst(std::string_view utf8) {
    if (!utf8.empty() && utf8.front() == '\n') utf8.remove_prefix(1);
    while (!utf8.empty()) {
        const std::size_t koniec = utf8.find('\n');
        WierszSzablonu(utf8.substr(0, koniec));
        if (koniec == std::string_view::npos) break;
        utf8.remove_prefix(koniec + 1);
    }
}

void PisarzPakietu::WierszCp1250(std::string_view bajty) {
    bajty_ += bajty;
    bajty_ += "\r\n";
    ++wiersze_;
}

}  // namespace generator
