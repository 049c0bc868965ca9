#include "packages/format/NazwaPakietu.h"

#include "common/Tekst.h"
#include "versions/ObslugaWersji.h"

namespace zuv {

std::optional<std::string> NazwaPakietu(std::string_view wersja) {
    Wersja czesci;
    if (!ParsujWersje(wersja, czesci)) return std::nullopt;
    return Formatuj("zuv_%d_%d_%d_%d", {czesci[0], czesci[1], czesci[2], czesci[3]});
}

}  // namespace zuv
