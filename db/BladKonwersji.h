#pragma once
// The error of a text conversion that met a byte or sequence its source encoding does not define.

#include <cstddef>
#include <string_view>

#include "common/Wyjatki.h"

namespace zuv {

// "<coKonwertujemy> zawiera na pozycji <pozycja> bajt 0x<bajt>, którego nie można przekształcić
// (<opis>)": `pozycja` counts bytes of the source text from 0; `opis` names the two encodings.
[[noreturn]] void ZglosBladKonwersji(std::string_view coKonwertujemy, std::size_t pozycja,
                                     unsigned char bajt, std::string_view opis);

}  // namespace zuv
