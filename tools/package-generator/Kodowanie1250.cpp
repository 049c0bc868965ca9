#include "Kodowanie1250.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "db/Tablica1250.h"

namespace generator {

namespace {

// The non-ASCII characters of the packages: the Polish letters, the dash and the closing
// quotation mark, and the four characters that text imported in other code pages turns into.
// Their bytes come from the program's own table of the code page.
constexpr std::array<char32_t, 24> ZnakiSpozaAscii = {
    U'ą', U'ć', U'ę', U'ł', U'ń', U'ó', U'ś', U'ź', U'ż', U'Ą', U'Ć', U'Ę',
    U'Ł', U'Ń', U'Ó', U'Ś', U'Ź', U'Ż', U'–', U'”', U'¦', U'¬', U'ˇ', U'ť',
};

// The code page byte of a character of the list above; 0 for any other.
unsigned char BajtZnaku(char32_t kod) {
    if (std::find(ZnakiSpozaAscii.begin(), ZnakiSpozaAscii.end(), kod) == ZnakiSpozaAscii.end())
        return 0;
    for (std::size_t bajt = 0x80; bajt < zuv::Tablica1250.size(); ++bajt) {
        if (zuv::Tablica1250[bajt] == kod) return static_cast<unsigned char>(bajt);
    }
    return 0;
}

[[noreturn]] void Odrzuc(std::string_view utf8) {
    throw std::logic_error("Znak spoza strony kodowej pakietów w tekście: " + std::string(utf8));
}

}  // namespace

void DopiszCp1250(std::string& cel, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto bajt = static_cast<unsigned char>(utf8[i]);
        if (bajt < 0x80) {
            if ((bajt < 0x20 && bajt != '\t') || bajt == 0x7F) Odrzuc(utf8);
            cel.push_back(static_cast<char>(bajt));
            ++i;
            continue;
        }
        std::size_t dlugosc = 0;
        char32_t kod = 0;
        if ((bajt & 0xE0) == 0xC0) {
            dlugosc = 2;
            kod = bajt & 0x1F;
        } else if ((bajt & 0xF0) == 0xE0) {
            dlugosc = 3;
            kod = bajt & 0x0F;
        } else {
            Odrzuc(utf8);
        }
        if (i + dlugosc > utf8.size()) Odrzuc(utf8);
        for (std::size_t k = 1; k < dlugosc; ++k) {
            const auto dalszy = static_cast<unsigned char>(utf8[i + k]);
            if ((dalszy & 0xC0) != 0x80) Odrzuc(utf8);
            kod = (kod << 6) | (dalszy & 0x3F);
        }
        const unsigned char bajt1250 = BajtZnaku(kod);
        if (bajt1250 == 0) Odrzuc(utf8);
        cel.push_back(static_cast<char>(bajt1250));
        i += dlugosc;
    }
}

std::string NaCp1250(std::string_view utf8) {
    std::string wynik;
    wynik.reserve(utf8.size());
    DopiszCp1250(wynik, utf8);
    return wynik;
}

}  // namespace generator
