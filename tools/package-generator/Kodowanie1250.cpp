#include "Kodowanie1250.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace generator {

namespace {

// The non-ASCII characters of the packages: the Polish letters, the dash and the closing
// quotation mark, and the four characters that text imported in other code pages turns into.
constexpr std::array<std::pair<char32_t, unsigned char>, 24> ZnakiSpozaAscii = {{
    {U'ą', 0xB9}, {U'ć', 0xE6}, {U'ę', 0xEA}, {U'ł', 0xB3}, {U'ń', 0xF1}, {U'ó', 0xF3},
    {U'ś', 0x9C}, {U'ź', 0x9F}, {U'ż', 0xBF}, {U'Ą', 0xA5}, {U'Ć', 0xC6}, {U'Ę', 0xCA},
    {U'Ł', 0xA3}, {U'Ń', 0xD1}, {U'Ó', 0xD3}, {U'Ś', 0x8C}, {U'Ź', 0x8F}, {U'Ż', 0xAF},
    {U'–', 0x96}, {U'”', 0x94}, {U'¦', 0xA6}, {U'¬', 0xAC}, {U'ˇ', 0xA1}, {U'ť', 0x9D},
}};

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
        bool znaleziony = false;
        for (const auto& [znak, bajt1250] : ZnakiSpozaAscii) {
            if (znak == kod) {
                cel.push_back(static_cast<char>(bajt1250));
                znaleziony = true;
                break;
            }
        }
        if (!znaleziony) Odrzuc(utf8);
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
