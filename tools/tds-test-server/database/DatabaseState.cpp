#include "DatabaseState.h"

#include <array>
#include <charconv>

#include "Text.h"

namespace tds {
namespace {

std::array<long, 4> versionParts(std::string_view text) {
    std::array<long, 4> parts{};
    for (long& part : parts) {
        const auto dot = text.find('.');
        const std::string_view piece = text.substr(0, dot);
        std::from_chars(piece.data(), piece.data() + piece.size(), part);
        if (dot == std::string_view::npos) break;
        text.remove_prefix(dot + 1);
    }
    return parts;
}

}  // namespace

GenerationMapping GenerationMapping::fromCases(std::vector<std::pair<std::string, int>> cases) {
    GenerationMapping mapping;
    mapping.rule = Rule::MajorNumber;
    for (const auto& entry : cases) {
        if (!entry.first.empty() && entry.first.back() == '.') {
            mapping.rule = Rule::FirstTwoCharacters;
        }
    }
    mapping.cases = std::move(cases);
    return mapping;
}

GenerationMapping GenerationMapping::forPackageVersion(std::string_view version) {
    if (compareVersions(version, "8.9.0.9") < 0) {
        return fromCases({{"8.", 2000}, {"9.", 2005}});
    }
    if (compareVersions(version, "11.1.0.0") < 0) {
        // A 2008 server counted as 2005 in these packages.
        return fromCases({{"8", 2000}, {"9", 2005}, {"10", 2005}});
    }
    return fromCases({{"8", 2000}, {"9", 2005}, {"10", 2008}, {"11", 2012}});
}

namespace {

// T-SQL LIKE with % and _, case-insensitive for ASCII as the Polish_CI_AS collation compares it.
bool matchesLike(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return text.empty();
    if (pattern.front() == '%') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip) {
            if (matchesLike(text.substr(skip), pattern.substr(1))) return true;
        }
        return false;
    }
    if (text.empty()) return false;
    if (pattern.front() != '_' && !equalsIgnoreCase(text.substr(0, 1), pattern.substr(0, 1))) {
        return false;
    }
    return matchesLike(text.substr(1), pattern.substr(1));
}

}  // namespace

int GenerationMapping::generationOf(std::string_view productVersion) const {
    if (rule == Rule::LikePatterns) {
        for (const auto& [pattern, generation] : cases) {
            if (matchesLike(productVersion, pattern)) return generation;
        }
        return 0;
    }
    std::string_view key;
    if (rule == Rule::FirstTwoCharacters) {
        key = productVersion.substr(0, 2);
    } else {
        key = productVersion.substr(0, 3);
        key = key.substr(0, key.find('.'));
    }
    for (const auto& [caseKey, generation] : cases) {
        if (sqlEquals(key, caseKey)) return generation;
    }
    return 0;
}

DatabaseState DatabaseState::initial(std::string_view initialVersion) {
    DatabaseState state;
    if (!initialVersion.empty()) {
        state.rows.push_back(VersionRow{std::string(kVersionGroup), std::string(kVersionName),
                                        std::string(initialVersion)});
    }
    state.generation = GenerationMapping::forPackageVersion(
        initialVersion.empty() ? std::string_view("0.0.0.0") : initialVersion);
    return state;
}

bool isRecordedVersionRow(const VersionRow& row) {
    return sqlEquals(row.grupa, kVersionGroup) && sqlEquals(row.nazwa, kVersionName);
}

std::string recordedVersion(const DatabaseState& state) {
    // "select @wersja = ..." over several rows leaves the value of the last one.
    std::optional<std::string> value;
    bool found = false;
    for (const VersionRow& row : state.rows) {
        if (isRecordedVersionRow(row)) {
            value = row.wartosc;
            found = true;
        }
    }
    if (!found || !value) return "0.0.0.0";
    return std::string(trimBlanks(*value));
}

void applyChange(DatabaseState& state, const Change& change) {
    if (const auto* stamp = std::get_if<StampVersion>(&change)) {
        for (VersionRow& row : state.rows) {
            if (isRecordedVersionRow(row)) row.wartosc = stamp->version;
        }
    } else if (const auto* define = std::get_if<DefineGenerationFunction>(&change)) {
        state.generation = define->mapping;
    }
}

int compareVersions(std::string_view a, std::string_view b) {
    const auto left = versionParts(a);
    const auto right = versionParts(b);
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (left[i] != right[i]) return left[i] < right[i] ? -1 : 1;
    }
    return 0;
}

}  // namespace tds
