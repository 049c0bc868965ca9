#pragma once
// Version texts: four decimal components separated by full stops ("10.17.0.3"), parsed into four
// signed 32-bit integers and ordered component by component, the first the most significant.
// A version text is never rewritten into a normal form; it is parsed where it is compared.

#include <array>
#include <cstdint>
#include <string_view>

namespace zuv {

using Wersja = std::array<std::int32_t, 4>;

// Fills `wersja` with the four components and gives true for a well-formed text: at least 7
// characters, exactly four non-empty runs of ASCII digits separated by three full stops, nothing
// else. Gives false, with `wersja` all zeros, for a malformed text. A component above 2147483647
// throws EConvertError "'<digits>' is not a valid integer value".
bool ParsujWersje(std::string_view tekst, Wersja& wersja);

// True when `a` lies at or above `b`. A malformed text (`a` tested first) throws EConvertError
// "Niepoprawna wersja: "<text>".".
bool WersjaWiekszaLubRowna(std::string_view a, std::string_view b);

}  // namespace zuv
