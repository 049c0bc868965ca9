#include "StateFile.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tds {
namespace {

constexpr std::string_view kRowRecord = "konfig_st";
constexpr std::string_view kRuleRecord = "fn_WERSJA_MS_SQL";
constexpr std::string_view kCaseRecord = "fn_WERSJA_MS_SQL-case";
constexpr std::string_view kRuleTwoCharacters = "first-two-characters";
constexpr std::string_view kRuleMajorNumber = "major-number";
constexpr std::string_view kRuleLikePatterns = "like-patterns";

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out + '"';
}

// A field of a record line: a quoted text or a bare word (NULL, a rule name, a number).
struct Field {
    bool quoted = false;
    std::string text;
};

std::vector<Field> splitFields(std::string_view line, int lineNumber) {
    auto fail = [lineNumber](const std::string& what) {
        return std::runtime_error("state file line " + std::to_string(lineNumber) + ": " + what);
    };
    std::vector<Field> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r') {
            ++pos;
            continue;
        }
        Field field;
        if (line[pos] == '"') {
            field.quoted = true;
            ++pos;
            for (;;) {
                if (pos >= line.size()) throw fail("unterminated text");
                const char c = line[pos++];
                if (c == '"') break;
                if (c != '\\') {
                    field.text += c;
                    continue;
                }
                if (pos >= line.size()) throw fail("unterminated text");
                switch (const char escaped = line[pos++]) {
                    case 'r':
                        field.text += '\r';
                        break;
                    case 'n':
                        field.text += '\n';
                        break;
                    case 't':
                        field.text += '\t';
                        break;
                    case '"':
                    case '\\':
                        field.text += escaped;
                        break;
                    default:
                        throw fail(std::string("unknown escape \\") + escaped);
                }
            }
        } else {
            while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' &&
                   line[pos] != '\r') {
                field.text += line[pos++];
            }
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

}  // namespace

std::string formatState(const DatabaseState& state) {
    std::string out =
        "# konfig_st rows (grupa, nazwa, wartosc) and the dbo.fn_WERSJA_MS_SQL() "
        "mapping\n";
    for (const VersionRow& row : state.rows) {
        out += std::string(kRowRecord) + ' ' + quote(row.grupa) + ' ' + quote(row.nazwa) + ' ' +
               (row.wartosc ? quote(*row.wartosc) : std::string("NULL")) + '\n';
    }
    out += std::string(kRuleRecord) + ' ' +
           std::string(state.generation.rule == GenerationMapping::Rule::FirstTwoCharacters
                           ? kRuleTwoCharacters
                       : state.generation.rule == GenerationMapping::Rule::MajorNumber
                           ? kRuleMajorNumber
                           : kRuleLikePatterns) +
           '\n';
    for (const auto& [key, generation] : state.generation.cases) {
        out +=
            std::string(kCaseRecord) + ' ' + quote(key) + ' ' + std::to_string(generation) + '\n';
    }
    return out;
}

DatabaseState parseState(std::string_view text) {
    DatabaseState state;
    state.generation = GenerationMapping{};
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        const std::vector<Field> fields = splitFields(line, lineNumber);
        if (fields.empty() || (!fields[0].quoted && fields[0].text.starts_with('#'))) continue;
        auto fail = [lineNumber](const std::string& what) {
            return std::runtime_error("state file line " + std::to_string(lineNumber) + ": " +
                                      what);
        };
        const std::string& record = fields[0].text;
        if (record == kRowRecord) {
            if (fields.size() != 4 || !fields[1].quoted || !fields[2].quoted ||
                (!fields[3].quoted && fields[3].text != "NULL")) {
                throw fail("expected: konfig_st \"grupa\" \"nazwa\" \"wartosc\"|NULL");
            }
            VersionRow row{fields[1].text, fields[2].text, std::nullopt};
            if (fields[3].quoted) row.wartosc = fields[3].text;
            state.rows.push_back(std::move(row));
        } else if (record == kRuleRecord) {
            if (fields.size() == 2 && fields[1].text == kRuleTwoCharacters) {
                state.generation.rule = GenerationMapping::Rule::FirstTwoCharacters;
            } else if (fields.size() == 2 && fields[1].text == kRuleMajorNumber) {
                state.generation.rule = GenerationMapping::Rule::MajorNumber;
            } else if (fields.size() == 2 && fields[1].text == kRuleLikePatterns) {
                state.generation.rule = GenerationMapping::Rule::LikePatterns;
            } else {
                throw fail(
                    "expected: fn_WERSJA_MS_SQL first-two-characters|major-number|like-patterns");
            }
        } else if (record == kCaseRecord) {
            int generation = 0;
            const std::string& number = fields.size() == 3 ? fields[2].text : std::string();
            const auto [ptr, ec] =
                std::from_chars(number.data(), number.data() + number.size(), generation);
            if (fields.size() != 3 || !fields[1].quoted || number.empty() || ec != std::errc{} ||
                ptr != number.data() + number.size()) {
                throw fail("expected: fn_WERSJA_MS_SQL-case \"key\" number");
            }
            state.generation.cases.emplace_back(fields[1].text, generation);
        } else {
            throw fail("unknown record '" + record + "'");
        }
    }
    return state;
}

DatabaseState loadStateFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read state file " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return parseState(text.str());
}

void saveStateFile(const std::filesystem::path& path, const DatabaseState& state) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << formatState(state);
        out.flush();
        if (!out) throw std::runtime_error("cannot write state file " + temporary.string());
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        throw std::runtime_error("cannot replace state file " + path.string() + ": " +
                                 error.message());
    }
}

}  // namespace tds
