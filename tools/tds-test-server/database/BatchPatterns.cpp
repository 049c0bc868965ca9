#include "BatchPatterns.h"

#include <charconv>
#include <regex>

#include "Text.h"

namespace tds {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isPunctuation(char c) {
    return c == '=' || c == '(' || c == ')' || c == ',' || c == '.' || c == ';';
}

constexpr auto kRegexFlags = std::regex::ECMAScript | std::regex::icase | std::regex::optimize;

std::optional<std::string> firstGroup(std::string_view text, const std::regex& pattern) {
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_search(text.begin(), text.end(), match, pattern)) return std::nullopt;
    return match[1].str();
}

}  // namespace

std::string normaliseStatement(std::string_view text) {
    std::string collapsed;
    collapsed.reserve(text.size());
    for (const char c : text) {
        if (isSpace(c)) {
            if (!collapsed.empty() && collapsed.back() != ' ') collapsed += ' ';
        } else {
            collapsed += c;
        }
    }
    std::string out;
    out.reserve(collapsed.size());
    for (std::size_t i = 0; i < collapsed.size(); ++i) {
        const char c = collapsed[i];
        if (c == ' ' && ((!out.empty() && isPunctuation(out.back())) ||
                         (i + 1 < collapsed.size() && isPunctuation(collapsed[i + 1])))) {
            continue;
        }
        out += c;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ';')) out.pop_back();
    if (!out.empty() && out.front() == ' ') out.erase(0, 1);
    return asciiLower(out);
}

std::int32_t raiserrorNumber(std::string_view text) {
    static const std::regex parenthesised(R"(raiserror\s*\()", kRegexFlags);
    return std::regex_search(text.begin(), text.end(), parenthesised) ? 50000 : 13000;
}

std::optional<OpeningBatch> parseOpeningBatch(std::string_view text) {
    // A plain search first: the regular expressions are slow on the long batches of a package.
    if (!containsIgnoreCase(text, "@wersja_aktualna") ||
        !containsIgnoreCase(text, "@wersja_poprzednia")) {
        return std::nullopt;
    }
    static const std::regex own(R"(set\s+@wersja_aktualna\s*=\s*'([^']*)')", kRegexFlags);
    static const std::regex previous(R"(set\s+@wersja_poprzednia\s*=\s*'([^']*)')", kRegexFlags);
    auto ownVersion = firstGroup(text, own);
    auto previousVersion = firstGroup(text, previous);
    if (!ownVersion || !previousVersion) return std::nullopt;
    return OpeningBatch{std::move(*ownVersion), std::move(*previousVersion)};
}

std::optional<std::string> parseClosingBatch(std::string_view text) {
    if (!containsIgnoreCase(text, "konfig_st") || !containsIgnoreCase(text, "tervo_wersja")) {
        return std::nullopt;
    }
    static const std::regex stamp(
        R"(update\s+(?:dbo\s*\.\s*)?konfig_st\s+set\s+wartosc\s*=\s*'([^']*)'\s*)"
        R"(where\s+grupa\s*=\s*'wersje'\s+and\s+nazwa\s*=\s*'tervo_wersja')",
        kRegexFlags);
    return firstGroup(text, stamp);
}

std::optional<GenerationFunction> parseGenerationFunction(std::string_view text) {
    if (!containsIgnoreCase(text, "fn_wersja_ms_sql")) return std::nullopt;
    static const std::regex create(R"(create\s+function\s+(?:dbo\s*\.\s*)?fn_wersja_ms_sql\b)",
                                   kRegexFlags);
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_search(text.begin(), text.end(), match, create)) return std::nullopt;

    using Iterator = std::regex_iterator<std::string_view::const_iterator>;
    auto pairs = [&](const std::regex& pattern) {
        std::vector<std::pair<std::string, int>> found;
        for (Iterator it(match[0].second, text.end(), pattern), end; it != end; ++it) {
            const std::string number = (*it)[2].str();
            int generation = 0;
            std::from_chars(number.data(), number.data() + number.size(), generation);
            found.emplace_back((*it)[1].str(), generation);
        }
        return found;
    };
    static const std::regex whenThen(R"(when\s+'([^']*)'\s+then\s+(-?\d+))", kRegexFlags);
    if (auto cases = pairs(whenThen); !cases.empty()) {
        return GenerationFunction{GenerationMapping::fromCases(std::move(cases))};
    }
    static const std::regex ifLike(R"(if\s+[^']*?\s+like\s+'([^'\[]*)'\s+return\s*\(?\s*(-?\d+))",
                                   kRegexFlags);
    static const std::regex lastReturn(R"(return\s*\(?\s*(-?\d+)\s*\)?\s*(?:end\s*)?;?\s*$)",
                                       kRegexFlags);
    auto patterns = pairs(ifLike);
    const auto otherwise = firstGroup(text, lastReturn);
    if (!patterns.empty() && otherwise && std::stoi(*otherwise) == 0) {
        GenerationMapping mapping;
        mapping.rule = GenerationMapping::Rule::LikePatterns;
        mapping.cases = std::move(patterns);
        return GenerationFunction{std::move(mapping)};
    }
    return GenerationFunction{GenerationMapping::fromCases({}), false};
}

}  // namespace tds
