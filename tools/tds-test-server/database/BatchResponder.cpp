#include "BatchResponder.h"

#include <algorithm>
#include <tuple>

#include "BatchPatterns.h"
#include "Reply.h"
#include "Text.h"

namespace tds {
namespace {

// The fixed statements the program sends, as normaliseStatement leaves them.
const std::string& versionQuery() {
    static const std::string text =
        normaliseStatement("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'");
    return text;
}

const std::string& generationQuery() {
    static const std::string text = normaliseStatement("SELECT dbo.fn_WERSJA_MS_SQL()");
    return text;
}

const std::string& createOptionsTable() {
    static const std::string text = normaliseStatement(
        "IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS WHERE ID = "
        "OBJECT_ID('TEMPDB..#WA_OPCJE_TMP')) TRUNCATE TABLE #WA_OPCJE_TMP ELSE CREATE TABLE "
        "#WA_OPCJE_TMP( NAZWA    VARCHAR(50)    NOT NULL, WARTOSC  VARCHAR(8000)  NOT NULL, "
        "PRIMARY KEY (NAZWA))");
    return text;
}

const std::string& insertUpdateFlag() {
    static const std::string text = normaliseStatement(
        "INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')");
    return text;
}

// Whether the text begins, after white space, with the first word of a fixed statement (the
// system queries all begin with SELECT, as the version query does). Normalising changes no other
// byte than white space and letters' case, so a text failing this test never normalises to one
// of them.
bool mayBeFixedStatement(std::string_view text) {
    static const std::vector<std::string> firstWords = [] {
        std::vector<std::string> words;
        for (const std::string* fixed :
             {&versionQuery(), &generationQuery(), &createOptionsTable(), &insertUpdateFlag()})
            words.push_back(fixed->substr(0, fixed->find(' ')));
        return words;
    }();
    std::size_t start = 0;
    while (start < text.size() &&
           std::string_view(" \t\r\n\f\v").find(text[start]) != std::string_view::npos)
        ++start;
    return std::any_of(firstWords.begin(), firstWords.end(), [&](const std::string& word) {
        return equalsIgnoreCase(text.substr(start, word.size()), word);
    });
}

constexpr std::string_view kUpdateFlagKey = "ZUV_AKTUALIZACJA";

std::size_t countRecordedVersionRows(const DatabaseState& state) {
    return static_cast<std::size_t>(
        std::count_if(state.rows.begin(), state.rows.end(), isRecordedVersionRow));
}

ServerMessage packageError(std::int32_t number, std::string text) {
    return ServerMessage{number, 1, 16, std::move(text)};
}

// The earlier statements of a failing batch: row counts, with a small result set second, as a
// script's UPDATEs and SELECTs would give them.
void earlierStatements(Reply& reply, int statements) {
    const std::vector<Column> columns = {{ColumnType::IntN, "id", 4},
                                         {ColumnType::VarChar, "nazwa", 50}};
    for (int i = 1; i <= statements; ++i) {
        if (i == 2) {
            reply.resultSet(columns, {{std::int32_t{1}, std::string("pierwszy")},
                                      {std::int32_t{2}, std::string("drugi")}});
        } else {
            reply.count(static_cast<std::uint64_t>(i));
        }
    }
}

}  // namespace

std::pair<std::string, int> BatchResponder::positionOf(
    const std::optional<OpeningBatch>& opening) const {
    if (opening) return {std::string(trimBlanks(opening->ownVersion)), 1};
    if (package_.empty()) return {};
    return {package_, packageBatch_ + 1};
}

void BatchResponder::trackPackage(const std::optional<OpeningBatch>& opening) {
    std::tie(package_, packageBatch_) = positionOf(opening);
}

const BlockBatchFault* BatchResponder::heldBy(std::string_view text,
                                              const std::vector<BlockBatchFault>& blocks) const {
    if (blocks.empty()) return nullptr;
    const auto [package, batch] = positionOf(parseOpeningBatch(text));
    if (package.empty()) return nullptr;
    for (const BlockBatchFault& block : blocks) {
        if (trimBlanks(block.packageVersion) == package && block.batch == batch) return &block;
    }
    return nullptr;
}

const FailBatchFault* BatchResponder::injectedFailure(const BatchContext& context) const {
    if (package_.empty()) return nullptr;
    for (const FailBatchFault& fault : context.failBatches) {
        if (trimBlanks(fault.packageVersion) == package_ && fault.batch == packageBatch_) {
            return &fault;
        }
    }
    return nullptr;
}

BatchOutcome BatchResponder::respond(std::string_view text, const BatchContext& context) {
    const std::optional<OpeningBatch> opening = parseOpeningBatch(text);
    trackPackage(opening);
    const FailBatchFault* fault = injectedFailure(context);
    const bool endsTransaction =
        fault != nullptr && fault->endsTransaction && context.inTransaction;
    Reply reply(context.inTransaction && !endsTransaction, context.inProcedure);
    BatchOutcome outcome;

    if (fault != nullptr) {
        outcome.endsTransaction = endsTransaction;
        earlierStatements(reply, fault->statementsBefore);
        reply.fail(packageError(fault->number, fault->message));
        outcome.tokens = reply.take();
        return outcome;
    }

    // Only a text that starts with the first word of one of the fixed statements can be one,
    // so a package's batches, megabytes of them, are never normalised.
    const std::string statement =
        mayBeFixedStatement(text) ? normaliseStatement(text) : std::string();
    if (statement == versionQuery()) {
        std::vector<Row> rows;
        for (const VersionRow& row : context.view.rows) {
            if (!sqlEquals(row.nazwa, kVersionName)) continue;
            rows.push_back({row.wartosc ? Value(*row.wartosc) : Value()});
        }
        reply.resultSet({{ColumnType::VarChar, "wartosc", 255}}, rows, true);
    } else if (statement == "select @@trancount") {
        reply.resultSet({{ColumnType::IntN, "", 4}},
                        {{std::int32_t{context.inTransaction ? 1 : 0}}}, true);
    } else if (statement == generationQuery()) {
        const int generation = context.view.generation.generationOf(context.productVersion);
        reply.resultSet({{ColumnType::IntN, "", 4}}, {{std::int32_t{generation}}}, true);
    } else if (statement == createOptionsTable()) {
        optionsTableExists_ = true;
        optionKeys_.clear();
        reply.done();
    } else if (statement == insertUpdateFlag()) {
        const bool duplicate =
            std::any_of(optionKeys_.begin(), optionKeys_.end(),
                        [](const std::string& key) { return sqlEquals(key, kUpdateFlagKey); });
        if (!optionsTableExists_) {
            reply.fail({208, 1, 16, "Invalid object name '#WA_OPCJE_TMP'."});
        } else if (duplicate) {
            reply.fail({2627, 1, 14,
                        "Violation of PRIMARY KEY constraint 'PK__#WA_OPCJ'. Cannot insert "
                        "duplicate key in object 'dbo.#WA_OPCJE_TMP'."});
        } else {
            optionKeys_.emplace_back(kUpdateFlagKey);
            reply.count(1, true);
        }
    } else if (context.system != nullptr &&
               answerSystemQuery(statement, context.productVersion, *context.system, reply)) {
        // Answered in `reply`.
    } else if (opening) {
        const std::string recorded = recordedVersion(context.view);
        reply.count(countRecordedVersionRows(context.view));
        if (!sqlEquals(recorded, trimBlanks(opening->ownVersion)) &&
            !sqlEquals(recorded, trimBlanks(opening->previousVersion))) {
            reply.fail(packageError(raiserrorNumber(text),
                                    "Wersja systemu: " + recorded +
                                        "\r\nAktualizacja jest przeznaczona dla wersji " +
                                        opening->previousVersion));
        } else {
            reply.done();
        }
    } else if (auto stamped = parseClosingBatch(text)) {
        const std::size_t rows = countRecordedVersionRows(context.view);
        outcome.changes.push_back(StampVersion{*stamped});
        reply.count(rows);
        if (rows != 1) {
            reply.fail(
                packageError(raiserrorNumber(text), "Zmiana wersji systemu ZUV nie powiodła się."));
        } else {
            reply.done();
        }
    } else if (auto function = parseGenerationFunction(text)) {
        if (!function->readable) {
            outcome.notes.emplace_back(
                "dbo.fn_WERSJA_MS_SQL() is defined in a form the test server cannot read (it "
                "reads CASE ... WHEN '<key>' THEN <number> and IF ... LIKE '<pattern>' RETURN "
                "<number> ending in RETURN 0); SELECT dbo.fn_WERSJA_MS_SQL() will answer 0");
        }
        outcome.changes.push_back(DefineGenerationFunction{std::move(function->mapping)});
        reply.done();
    } else {
        reply.done();
    }
    outcome.tokens = reply.take();
    return outcome;
}

}  // namespace tds
