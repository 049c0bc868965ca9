#pragma once
// The catalogue of versions for which the program carries an update package, in ascending
// version order. The first entry is the lowest supported version, the last the newest; the
// main window lists exactly these texts, and packages are applied in this order.

#include <array>
#include <string_view>

namespace zuv {

inline constexpr std::array<std::string_view, 39> KatalogWersji = {
    "8.1.0.0",   "8.2.0.6",   "8.3.0.1",   "8.4.0.0",   "8.5.0.2",   "8.6.0.0",   "8.7.0.7",
    "8.8.0.0",   "8.9.0.9",   "8.10.0.2",  "8.11.0.0",  "9.1.0.2",   "9.2.0.1",   "9.3.0.6",
    "9.4.0.6",   "9.5.0.10",  "9.6.0.26",  "10.1.0.1",  "10.2.0.2",  "10.3.0.1",  "10.4.0.1",
    "10.5.0.5",  "10.6.0.2",  "10.7.0.1",  "10.8.0.5",  "10.9.0.5",  "10.10.0.1", "10.11.0.7",
    "10.12.0.0", "10.13.0.1", "10.14.0.1", "10.15.0.3", "10.16.0.1", "10.17.0.3", "11.1.0.0",
    "11.2.0.1",  "11.3.0.2",  "11.4.0.1",  "11.5.0.6",
};

// The version a database records before the first catalogue package can be applied.
inline constexpr std::string_view WersjaPrzedKatalogiem = "7.12.0.7";

}  // namespace zuv
