#pragma once
// What the fuzz targets share: a check that stops the run with a message when the code under test
// and the plain second reading of its rule disagree.

#include <cstdio>
#include <cstdlib>
#include <string_view>

inline void Wymagaj(bool warunek, std::string_view opis) {
    if (warunek) return;
    std::fprintf(stderr, "Niezgodność: %.*s\n", static_cast<int>(opis.size()), opis.data());
    std::abort();
}
