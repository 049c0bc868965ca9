#pragma once
// A catalogue of packages given by the test: a few batches each, found by name as the program's
// own are (the letters' case ignored), so that a run needs no real package.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "common/Ascii.h"
#include "packages/KatalogPakietow.h"

namespace zuv {

struct KatalogProbny final : KatalogPakietow {
    std::map<std::string, std::string> pakiety;  // by name in capitals: "ZUV_11_4_0_1"

    std::optional<std::string_view> Znajdz(std::string_view nazwa) const override {
        std::string klucz(nazwa);
        for (char& znak : klucz) znak = WielkaLiteraAscii(znak);
        const auto pakiet = pakiety.find(klucz);
        if (pakiet == pakiety.end()) return std::nullopt;
        return pakiet->second;
    }
};

}  // namespace zuv
