#include "packages/ZasobyProgramu.h"

#include <algorithm>
#include <cstddef>

namespace zuv {

namespace {

char WielkaLitera(char znak) {
    return znak >= 'a' && znak <= 'z' ? static_cast<char>(znak - 'a' + 'A') : znak;
}

// Resource names are ASCII (the build refuses others), so folding a to z is the whole rule.
bool RowneBezWielkosciLiter(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b,
                              [](char x, char y) { return WielkaLitera(x) == WielkaLitera(y); });
}

}  // namespace

std::optional<std::string_view> ZnajdzZasob(std::string_view nazwa) {
    for (const ZasobLinkowany& zasob : ZasobyLinkowane()) {
        if (RowneBezWielkosciLiter(zasob.nazwa, nazwa))
            return std::string_view(zasob.dane, static_cast<std::size_t>(*zasob.rozmiar));
    }
    return std::nullopt;
}

}  // namespace zuv
