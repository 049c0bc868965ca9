#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "DatabaseState.h"

// The state file: UTF-8 text, one record per line, texts in double quotes with C-style escapes
// (\" \\ \r \n \t), NULL bare, '#' starts a comment line:
//
//   konfig_st "WERSJE" "TERVO_WERSJA" "8.2.0.6"
//   konfig_st "WERSJE" "TERVO_WERSJA" NULL
//   fn_WERSJA_MS_SQL major-number
//   fn_WERSJA_MS_SQL-case "10" 2008
//
// The rule is first-two-characters, major-number or like-patterns; cases keep their order.
namespace tds {

std::string formatState(const DatabaseState& state);
// Throws std::runtime_error naming the line for anything it does not understand.
DatabaseState parseState(std::string_view text);

// Throws std::runtime_error when the file cannot be read or parsed.
DatabaseState loadStateFile(const std::filesystem::path& path);
// Writes a sibling temporary file and renames it over the target, so a reader never sees half a
// state. Throws std::runtime_error.
void saveStateFile(const std::filesystem::path& path, const DatabaseState& state);

}  // namespace tds
