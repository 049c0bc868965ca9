#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "DatabaseState.h"

// Recognising the few batches the server understands. Pure functions of the batch text.
namespace tds {

// Lower-case ASCII, one blank for each run of white space, no blanks next to punctuation
// ("=(),.;") and no trailing ';', so that fixed statements compare whatever their layout.
std::string normaliseStatement(std::string_view text);

// How a package's fixed batch raises its error: "raiserror 13000 ..." (number 13000) in the
// older packages, "raiserror(..., 16, 1)" (number 50000) in the newer ones.
std::int32_t raiserrorNumber(std::string_view text);

// The opening batch: it sets both @wersja_aktualna and @wersja_poprzednia.
struct OpeningBatch {
    std::string ownVersion;
    std::string previousVersion;
};
std::optional<OpeningBatch> parseOpeningBatch(std::string_view text);

// The closing batch: "update [dbo.]konfig_st set wartosc = '<own>' where grupa = 'WERSJE' and
// nazwa = 'TERVO_WERSJA'". Returns the version it stamps.
std::optional<std::string> parseClosingBatch(std::string_view text);

// "CREATE FUNCTION dbo.fn_WERSJA_MS_SQL" with its CASE of WHEN '<key>' THEN <number> pairs, or
// with IF <version> LIKE '<pattern>' RETURN <number> lines ending in RETURN 0 (the LIKE is taken
// to test the product version). A definition in neither form gives an empty mapping, which
// answers 0, and `readable` false.
struct GenerationFunction {
    GenerationMapping mapping;
    bool readable = true;
};
std::optional<GenerationFunction> parseGenerationFunction(std::string_view text);

}  // namespace tds
