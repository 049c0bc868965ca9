#pragma once
// The name a package is found by: the rule that makes a catalogue version's resource name,
// written here once for the program and the package checker.

#include <optional>
#include <string>
#include <string_view>

namespace zuv {

// "zuv_%d_%d_%d_%d" with the four numbers of a catalogue version ("zuv_10_17_0_3"); nothing when
// the text is no version.
std::optional<std::string> NazwaPakietu(std::string_view wersja);

}  // namespace zuv
