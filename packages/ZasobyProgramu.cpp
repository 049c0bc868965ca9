#include "packages/ZasobyProgramu.h"

#include <cstddef>

#include "common/Ascii.h"

namespace zuv {

namespace {}  // namespace

std::optional<std::string_view> ZnajdzZasob(std::string_view nazwa) {
    // Resource names are ASCII (the build refuses others), so folding a to z is the whole rule.
    for (const ZasobLinkowany& zasob : ZasobyLinkowane()) {
        if (RowneBezWielkosciLiter(zasob.nazwa, nazwa))
            return std::string_view(zasob.dane, static_cast<std::size_t>(*zasob.rozmiar));
    }
    return std::nullopt;
}

std::vector<std::string> NazwyZasobow() {
    std::vector<std::string> nazwy;
    for (const ZasobLinkowany& zasob : ZasobyLinkowane()) nazwy.emplace_back(zasob.nazwa);
    return nazwy;
}

}  // namespace zuv
