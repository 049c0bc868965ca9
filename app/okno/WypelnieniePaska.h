#pragma once
// The fill behind the strip's text that shows how much of a run is done, as every window draws
// it.

#include <algorithm>
#include <cstdint>

namespace zuv {

// Light enough for the black text over it, distinct from the window colour and from the pink of
// a failure; 0x00BBGGRR, as the runner gives its colours.
inline constexpr std::uint32_t KolorWypelnienia = 190 | (222 << 8) | (250 << 16);

// The part of the strip's width the fill covers, 0 to 1: the operations done of all; none
// without operations.
inline double UdzialWypelnienia(std::int64_t wykonane, std::int64_t wszystkie) {
    if (wszystkie <= 0) return 0.0;
    return std::clamp(static_cast<double>(wykonane) / static_cast<double>(wszystkie), 0.0, 1.0);
}

}  // namespace zuv
