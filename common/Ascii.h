#pragma once
// Letter case of ASCII only: a to z and A to Z change, every other byte (digits, punctuation,
// the bytes of UTF-8 sequences and the letters of code page 1250) stays as it is, whatever the
// C locale says. Names of keys, drivers, resources and SQL words are compared this way.

#include <algorithm>
#include <string_view>

namespace zuv {

constexpr char WielkaLiteraAscii(char znak) {
    return znak >= 'a' && znak <= 'z' ? static_cast<char>(znak - 'a' + 'A') : znak;
}

constexpr char MalaLiteraAscii(char znak) {
    return znak >= 'A' && znak <= 'Z' ? static_cast<char>(znak - 'A' + 'a') : znak;
}

constexpr bool RownaLiteraAscii(char x, char y) {
    return WielkaLiteraAscii(x) == WielkaLiteraAscii(y);
}

constexpr bool RowneBezWielkosciLiter(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), RownaLiteraAscii);
}

// An empty pattern is in every text.
constexpr bool ZawieraBezWielkosciLiter(std::string_view tekst, std::string_view wzor) {
    return wzor.empty() || std::search(tekst.begin(), tekst.end(), wzor.begin(), wzor.end(),
                                       RownaLiteraAscii) != tekst.end();
}

}  // namespace zuv
