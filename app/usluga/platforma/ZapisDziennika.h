#pragma once
// What the journal needs of the operating system, one file for each: its environment, the local
// time and the process, and an append that no other program's append can split. The journal's
// path (SciezkaDziennika, Dziennik.h) is each system's too.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace zuv {

// The variable's value in UTF-8; empty when it is unset.
std::string ZmiennaSrodowiska(const char* nazwa);

// The local time of `t`, and its offset from UTC in seconds (east positive).
std::tm CzasLokalny(std::time_t t, long& przesuniecieSekund);

long IdentyfikatorProcesu();

// Appends `linia` to the file at `sciezka` (UTF-8) in one write to a file opened for appending,
// creating the file and its folders when missing. A file already `limit` bytes long is first
// renamed to the same name with ".1" before its extension (replacing an older one); two programs
// rotating at once never lose an entry. Gives the system's reason when the line could not be
// written.
std::optional<std::string> DopiszDoPliku(const std::string& sciezka, std::string_view linia,
                                         std::uint64_t limit);

// "dziennik.log" -> "dziennik.1.log".
std::string SciezkaPoprzedniegoPliku(const std::string& sciezka);

}  // namespace zuv
