#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// The little database the server keeps: the rows of konfig_st and what dbo.fn_WERSJA_MS_SQL()
// computes. Plain values; StateStore guards and persists the committed copy.
namespace tds {

// One row of konfig_st. No wartosc is SQL NULL. Texts are UTF-8 and kept exactly, blanks
// included.
struct VersionRow {
    std::string grupa;
    std::string nazwa;
    std::optional<std::string> wartosc;

    bool operator==(const VersionRow&) const = default;
};

// What dbo.fn_WERSJA_MS_SQL() computes: which part of the product version is the key (or, for
// the IF form, LIKE patterns on the whole version), and the generation for each key. Keys not
// listed give 0.
struct GenerationMapping {
    enum class Rule {
        FirstTwoCharacters,  // LEFT(version, 2): keys like '8.'
        MajorNumber,         // digits before the first dot within the first three characters
        LikePatterns,        // IF <version> LIKE '<key>' RETURN <number>, the first match wins
    };
    Rule rule = Rule::FirstTwoCharacters;
    std::vector<std::pair<std::string, int>> cases;

    // The rule follows the keys: any key ending in '.' means the two-character prefix.
    static GenerationMapping fromCases(std::vector<std::pair<std::string, int>> cases);
    // The three definitions the packages carry, chosen by the package version that defines it:
    // before 8.9.0.9, before 11.1.0.0, and from 11.1.0.0 on.
    static GenerationMapping forPackageVersion(std::string_view version);

    int generationOf(std::string_view productVersion) const;

    bool operator==(const GenerationMapping&) const = default;
};

struct DatabaseState {
    std::vector<VersionRow> rows;
    GenerationMapping generation;

    // A new database: one version row (none when initialVersion is empty) and the function the
    // package of that version left behind.
    static DatabaseState initial(std::string_view initialVersion);

    bool operator==(const DatabaseState&) const = default;
};

inline constexpr std::string_view kVersionGroup = "WERSJE";
inline constexpr std::string_view kVersionName = "TERVO_WERSJA";

// The row the packages read and stamp: grupa 'WERSJE', nazwa 'TERVO_WERSJA' (compared as the
// database compares them).
bool isRecordedVersionRow(const VersionRow& row);
// What the opening batch reads: the last such row's value without surrounding blanks, or
// "0.0.0.0" for no row or NULL.
std::string recordedVersion(const DatabaseState& state);

// Changes a batch can make. They are applied to the committed state at once in autocommit, or
// kept by the session until commit.
struct StampVersion {
    std::string version;  // wartosc of every recorded-version row
};
struct DefineGenerationFunction {
    GenerationMapping mapping;
};
using Change = std::variant<StampVersion, DefineGenerationFunction>;

void applyChange(DatabaseState& state, const Change& change);

// Four-part numeric comparison; missing or non-numeric parts count as 0.
int compareVersions(std::string_view a, std::string_view b);

}  // namespace tds
