#pragma once
// Counts in Polish texts: digits grouped by thousands and the noun in the form the number takes.

#include <cstdint>
#include <string>

namespace zuv {

// The three forms of a countable noun: "operacja" (1), "operacje" (2-4, 22-24, ...),
// "operacji" (0, 5-21, 25-31, ...).
struct FormyRzeczownika {
    const char* pojedyncza;
    const char* kilka;
    const char* wiele;
};

inline constexpr FormyRzeczownika Operacje{"operacja", "operacje", "operacji"};
inline constexpr FormyRzeczownika Bajty{"bajt", "bajty", "bajtów"};
inline constexpr FormyRzeczownika Pakiety{"pakiet", "pakiety", "pakietów"};
inline constexpr FormyRzeczownika Bazy{"baza", "bazy", "baz"};

// The form for `liczba`: 1 takes the singular; a number ending in 2, 3 or 4, but not in 12, 13
// or 14, the "kilka" form; every other the "wiele" form.
const char* Forma(std::uint64_t liczba, const FormyRzeczownika& formy);

// "7", "1024", "10 676 002": groups of three digits apart from five digits on, as Polish
// typesetting writes them (a four-digit number stays whole).
std::string LiczbaZGrupami(std::uint64_t liczba);

// The number and its noun: "1 operacja", "3 operacje", "10 676 002 bajty".
std::string Ile(std::uint64_t liczba, const FormyRzeczownika& formy);

}  // namespace zuv
