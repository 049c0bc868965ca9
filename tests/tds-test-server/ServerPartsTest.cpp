// The server's pure parts: option parsing, the state file, the generation rule, the batch
// recognisers and the journal's lines. No sockets.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "BatchPatterns.h"
#include "BatchResponder.h"
#include "CommandLine.h"
#include "DatabaseState.h"
#include "Journal.h"
#include "StateFile.h"
#include "TestSupport.h"
#include "Text.h"

namespace {

using tds_test::RaiseForm;

TEST(FailBatchOption, SplitsTheFixedFieldsFromTheLeft) {
    const struct {
        const char* name;
        const char* text;
        tds::FailBatchFault expected;
    } cases[] = {
        {"plain", "8.2.0.6:3:547:Konflikt", {"8.2.0.6", 3, 547, "Konflikt", 0}},
        {"colon in message",
         "8.2.0.6:3:547:Błąd: zły stan",
         {"8.2.0.6", 3, 547, "Błąd: zły stan", 0}},
        {"statements before", "8.2.0.6:3:547:Błąd: x:2", {"8.2.0.6", 3, 547, "Błąd: x", 2}},
        {"line break escapes",
         "11.1.0.0:1:50000:Wiersz\\r\\ndrugi:0",
         {"11.1.0.0", 1, 50000, "Wiersz\r\ndrugi", 0}},
        {"digits with a blank are message",
         "8.2.0.6:2:547:godzina: 12",
         {"8.2.0.6", 2, 547, "godzina: 12", 0}},
        {"empty message", "8.2.0.6:2:547:", {"8.2.0.6", 2, 547, "", 0}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(tds::parseFailBatch(row.text), row.expected);
    }
}

TEST(FailBatchOption, RejectsMalformedValues) {
    for (const char* text : {"8.2.0.6:2", "8.2.0.6:2:547", ":2:547:m", "8.2.0.6:x:547:m",
                             "8.2.0.6:0:547:m", "8.2.0.6:2:-1:m", "8.2.0.6:2:5x:m"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(tds::parseFailBatch(text), std::invalid_argument);
    }
}

TEST(CommandLine, ReadsEveryOption) {
    const tds::CommandLine parsed = tds::parseCommandLine({
        "--port",
        "1433",
        "--state=s.txt",
        "--init-version",
        "7.12.0.7",
        "--user",
        "admin",
        "--password",
        "Hasło€1",
        "--database",
        "ZUV_TEST",
        "--product-version",
        "11.0.7001.0",
        "--journal",
        "j.jsonl",
        "--fail-batch",
        "8.2.0.6:2:547:x",
        "--fail-batch",
        "8.3.0.1:5:50000:y:1",
        "--drop-at",
        "4",
        "--drop-at=9",
        "--reset-at",
        "6",
        "--refused-end-begins",
        "--delay",
        "2:0.25",
        "--refuse-logins",
        "--tds-version",
        "7.3",
        "--encryption=required",
        "--certificate",
        "c.pem",
        "--key",
        "k.pem",
        "--tls-version",
        "1.0",
        "--tls-ciphers",
        "ECDHE-ECDSA-NULL-SHA",
        "--login-fault",
        "no-ack",
        "--session",
        "57:ZUV\\jan:KSIĘGOWOŚĆ-PC:ZUV: środki trwałe:600",
        "--session=60:anna:::0",
        "--block-batch",
        "8.3.0.1:2:57:1.5",
        "--no-view-server-state",
        "--rights",
        "owner",
        "--backup-age",
        "0.5",
        "--no-msdb",
    });
    tds::ServerConfig expected;
    expected.port = 1433;
    expected.statePath = "s.txt";
    expected.initVersion = "7.12.0.7";
    expected.user = "admin";
    expected.password = "Hasło€1";
    expected.database = "ZUV_TEST";
    expected.productVersion = "11.0.7001.0";
    expected.journalPath = "j.jsonl";
    expected.faults.failBatches = {{"8.2.0.6", 2, 547, "x", 0}, {"8.3.0.1", 5, 50000, "y", 1}};
    expected.faults.dropAtRequests = {4, 9};
    expected.faults.resetAtRequests = {6};
    expected.refusedEndBegins = true;
    expected.faults.delays = {{2, std::chrono::milliseconds(250)}};
    expected.faults.refuseLogins = true;
    expected.tdsVersion = tds::TdsVersion::V7_3B;
    expected.encryption = tds::EncryptionMode::Required;
    expected.certificatePath = "c.pem";
    expected.keyPath = "k.pem";
    expected.highestTls = tds::TlsVersion::V1_0;
    expected.tlsCiphers = "ECDHE-ECDSA-NULL-SHA";
    expected.faults.login = tds::LoginFault::NoAck;
    expected.otherSessions = {{57, "ZUV\\jan", "KSIĘGOWOŚĆ-PC", "ZUV: środki trwałe", 600},
                              {60, "anna", "", "", 0}};
    expected.faults.blockBatches = {{"8.3.0.1", 2, 57, std::chrono::milliseconds(1500)}};
    expected.viewServerState = false;
    expected.rights = tds::LoginRights::Owner;
    expected.backup = tds::BackupHistory::NoMsdb;
    expected.backupAge = std::chrono::seconds(1800);
    EXPECT_EQ(parsed.config, expected);
    EXPECT_FALSE(parsed.help);
}

TEST(CommandLine, NamesEveryLoginFault) {
    using F = tds::LoginFault;
    const struct {
        const char* text;
        F fault;
        std::chrono::milliseconds delay;
    } cases[] = {
        {"drop-prelogin", F::DropAtPreLogin, {}},
        {"reset-prelogin", F::ResetAtPreLogin, {}},
        {"drop-login7", F::DropAtLogin7, {}},
        {"reset-login7", F::ResetAtLogin7, {}},
        {"drop-before-ack", F::DropBeforeAck, {}},
        {"no-ack", F::NoAck, {}},
        {"delay-ack:1.5", F::DelayAck, std::chrono::milliseconds(1500)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const tds::Faults faults = tds::parseCommandLine({"--login-fault", c.text}).config.faults;
        EXPECT_EQ(faults.login, c.fault);
        EXPECT_EQ(faults.loginDelay, c.delay);
    }
    EXPECT_EQ(tds::parseCommandLine({"--silent"}).config.faults.login, F::Silent);
}

TEST(CommandLine, RejectsMistakes) {
    const std::vector<std::vector<std::string>> cases = {
        {"--prot", "1"},
        {"--port"},
        {"--port", "70000"},
        {"--port", "-1"},
        {"--delay", "3"},
        {"--delay", "3:x"},
        {"--drop-at", "0"},
        {"--refuse-logins=1"},
        {"--reset-at", "x"},
        {"--refused-end-begins=1"},
        {"1433"},
        {"--tds-version", "7.0"},
        {"--encryption", "yes"},
        {"--tls-version", "1.3"},
        {"--tls-ciphers", ""},
        {"--login-fault", "reset"},
        {"--login-fault", "delay-ack:x"},
        {"--certificate", "c.pem"},
        {"--key", "k.pem"},
        {"--session", "0:a:b:c:1"},
        {"--session", "32768:a:b:c:1"},
        {"--session", "57:a:b:1"},
        {"--session", "57:a:b:c:-1"},
        {"--session", "57:a:b:c:1", "--session", "57:d:e:f:2"},
        {"--block-batch", "8.3.0.1:2:57:1"},
        {"--session", "57:a:b:c:1", "--block-batch", "8.3.0.1:2:58:1"},
        {"--session", "57:a:b:c:1", "--block-batch", "8.3.0.1:0:57:1"},
        {"--session", "57:a:b:c:1", "--block-batch", ":2:57:1"},
        {"--rights", "dbo"},
        {"--backup-age", "-1"},
        {"--backup-age", "1h"},
        {"--no-backup=1"},
        {"--no-view-server-state=1"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.front() + " " + arguments.back());
        EXPECT_THROW(tds::parseCommandLine(arguments), std::invalid_argument);
    }
}

TEST(StateFile, RoundTripKeepsNullsBlanksAndAwkwardCharacters) {
    tds::DatabaseState state;
    state.rows = {
        {"WERSJE", "TERVO_WERSJA", " 8.2.0.6  "},
        {"WERSJE", "TERVO_WERSJA", std::nullopt},
        {"INNE", "NULL", "NULL"},
        {"Zażółć", "cudzysłów \" i \\ ukośnik", "wiersz\r\ndrugi\tz tabulatorem"},
        {"", "", ""},
    };
    state.generation = tds::GenerationMapping::fromCases({{"10", 2008}, {"8", 2000}});
    EXPECT_EQ(tds::parseState(tds::formatState(state)), state);
}

TEST(StateFile, RejectsMalformedLinesNamingTheLine) {
    const struct {
        const char* text;
        const char* line;
    } cases[] = {
        {"konfig_st \"WERSJE\" \"TERVO_WERSJA\"\n", "line 1"},
        {"# comment\nkonfig_st \"A\" \"B\" 8.2.0.6\n", "line 2"},
        {"konfig_st \"A\" \"B\" \"unterminated\n", "line 1"},
        {"konfig_st \"A\" \"B\" \"\\q\"\n", "line 1"},
        {"fn_WERSJA_MS_SQL third-rule\n", "line 1"},
        {"\nfn_WERSJA_MS_SQL-case \"8\" dwa\n", "line 2"},
        {"tabela \"A\"\n", "line 1"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        try {
            tds::parseState(row.text);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(row.line), std::string::npos) << error.what();
        }
    }
}

TEST(GenerationMapping, NewStateFollowsItsInitialVersion) {
    const struct {
        const char* initialVersion;
        const char* productVersion;
        int generation;
    } cases[] = {
        {"", "8.00.2039", 2000},
        {"7.12.0.7", "8.00.2039", 2000},
        {"7.12.0.7", "9.00.5000.00", 2005},
        {"7.12.0.7", "10.50.6000.34", 0},
        {"8.8.0.0", "10.50.6000.34", 0},
        {"8.9.0.9", "8.00.2039", 2000},
        {"8.9.0.9", "10.50.6000.34", 2005},
        {"8.10.0.0", "10.50.6000.34", 2005},  // numeric, not text, order: 8.10 comes after 8.9
        {"10.17.0.3", "11.0.7001.0", 0},
        {"11.1.0.0", "10.50.6000.34", 2008},
        {"11.5.0.6", "11.0.7001.0", 2012},
        {"11.5.0.6", "12.0.2000.8", 0},
        {"11.5.0.6", "1.0", 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.initialVersion) + " / " + row.productVersion);
        const tds::DatabaseState state = tds::DatabaseState::initial(row.initialVersion);
        EXPECT_EQ(state.generation.generationOf(row.productVersion), row.generation);
    }
}

TEST(RecordedVersion, LastRowTrimmedWithNoneAndNullAsZero) {
    const tds::VersionRow other{"INNE", "TERVO_WERSJA", "1.1.1.1"};
    const struct {
        const char* name;
        std::vector<tds::VersionRow> rows;
        const char* recorded;
    } cases[] = {
        {"no rows", {}, "0.0.0.0"},
        {"other group only", {other}, "0.0.0.0"},
        {"blanks", {{"WERSJE", "TERVO_WERSJA", "  8.2.0.6 "}, other}, "8.2.0.6"},
        {"case and trailing blanks of the key",
         {{"wersje ", "tervo_wersja  ", "8.2.0.6"}},
         "8.2.0.6"},
        {"null", {{"WERSJE", "TERVO_WERSJA", std::nullopt}}, "0.0.0.0"},
        {"last of several",
         {{"WERSJE", "TERVO_WERSJA", "8.1.0.0"}, {"WERSJE", "TERVO_WERSJA", "8.2.0.6"}},
         "8.2.0.6"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        tds::DatabaseState state;
        state.rows = row.rows;
        EXPECT_EQ(tds::recordedVersion(state), row.recorded);
    }
}

TEST(BatchPatterns, RecognisesThePackagesFixedBatches) {
    for (const RaiseForm form : {RaiseForm::Number13000, RaiseForm::Severity16}) {
        const std::int32_t number = form == RaiseForm::Number13000 ? 13000 : 50000;
        const std::string opening = tds_test::openingBatch("8.2.0.6", "8.1.0.0", form);
        const auto parsed = tds::parseOpeningBatch(opening);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->ownVersion, "8.2.0.6");
        EXPECT_EQ(parsed->previousVersion, "8.1.0.0");
        EXPECT_EQ(tds::raiserrorNumber(opening), number);
        EXPECT_FALSE(tds::parseClosingBatch(opening));

        const std::string closing = tds_test::closingBatch("8.2.0.6", form);
        EXPECT_EQ(tds::parseClosingBatch(closing), "8.2.0.6");
        EXPECT_EQ(tds::raiserrorNumber(closing), number);
        EXPECT_FALSE(tds::parseOpeningBatch(closing));
    }
    EXPECT_EQ(tds::parseClosingBatch("UPDATE KONFIG_ST SET WARTOSC='9.1.0.0' WHERE GRUPA='WERSJE' "
                                     "AND\tNAZWA =  'TERVO_WERSJA'"),
              "9.1.0.0");
}

TEST(BatchPatterns, NearMissesAreOrdinaryBatches) {
    const char* openingMisses[] = {
        "set @wersja_aktualna = '8.2.0.6'",
        "declare @wersja_aktualna varchar(20), @wersja_poprzednia varchar(20)",
        "set @wersja_aktualna = 8 set @wersja_poprzednia = '8.1.0.0'",
    };
    for (const char* text : openingMisses) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(tds::parseOpeningBatch(text));
    }
    const char* closingMisses[] = {
        "update konfig_st set wartosc = '1.0' where grupa = 'WERSJE' and nazwa = "
        "'ZUV_WEB_SERVICE_WERSJA'",
        "update konfig_st_kopia set wartosc = '8.2.0.6' where grupa = 'WERSJE' and nazwa = "
        "'TERVO_WERSJA'",
        "update konfig_st set wartosc = '8.2.0.6' where grupa = 'INNE' and nazwa = "
        "'TERVO_WERSJA'",
        "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'",
    };
    for (const char* text : closingMisses) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(tds::parseClosingBatch(text));
    }
    const char* functionMisses[] = {
        // One statement broken over two lines: the parentheses keep it one element.
        ("if exists (select * from sysobjects where name = 'fn_WERSJA_MS_SQL') drop function "
         "dbo.fn_WERSJA_MS_SQL"),
        "SELECT dbo.fn_WERSJA_MS_SQL()",
        "CREATE FUNCTION dbo.fn_WERSJA_MS_SQL_STARA() RETURNS INT AS BEGIN RETURN 0 END",
    };
    for (const char* text : functionMisses) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(tds::parseGenerationFunction(text));
    }
}

TEST(BatchPatterns, GenerationFunctionVariantsGiveTheirMappings) {
    const struct {
        int variant;
        const char* packageVersion;
    } cases[] = {{1, "8.1.0.0"}, {2, "8.9.0.9"}, {3, "11.1.0.0"}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.variant);
        const auto function =
            tds::parseGenerationFunction(tds_test::generationFunction(row.variant));
        ASSERT_TRUE(function);
        EXPECT_TRUE(function->readable);
        EXPECT_EQ(function->mapping, tds::GenerationMapping::forPackageVersion(row.packageVersion));
    }
}

TEST(BatchPatterns, GenerationFunctionInTheIfFormAnswersByLike) {
    const std::string header =
        "CREATE FUNCTION dbo.fn_WERSJA_MS_SQL ()\r\nRETURNS INT\r\nAS\r\nBEGIN\r\n"
        "  DECLARE @wersja VARCHAR(128)\r\n"
        "  SET @wersja = CONVERT(VARCHAR(128), SERVERPROPERTY('ProductVersion'))\r\n";
    const auto function = tds::parseGenerationFunction(
        header +
        "  IF @wersja LIKE '8.%' RETURN 2000\r\n  IF @wersja like '9._%' RETURN (2005)\r\n"
        "  IF @wersja LIKE '1_.%' RETURN 2008\r\n  RETURN 0\r\nEND\r\n");
    ASSERT_TRUE(function);
    EXPECT_TRUE(function->readable);
    const struct {
        const char* productVersion;
        int generation;
    } cases[] = {{"8.00.2039", 2000},     {"9.00.5000.00", 2005}, {"9.", 0},
                 {"10.50.6000.34", 2008}, {"11.0.7001.0", 2008},  {"100.1", 0}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.productVersion);
        EXPECT_EQ(function->mapping.generationOf(row.productVersion), row.generation);
    }

    // Forms it cannot read still define the function, which then answers 0, but say so.
    for (const std::string body :
         {"  RETURN 2000\r\nEND", "  IF @wersja LIKE '8.%' RETURN 2000\r\n  RETURN 2012\r\nEND",
          "  IF @wersja LIKE '[89].%' RETURN 2000\r\n  RETURN 0\r\nEND"}) {
        SCOPED_TRACE(body);
        const auto unread = tds::parseGenerationFunction(header + body);
        ASSERT_TRUE(unread);
        EXPECT_FALSE(unread->readable);
        EXPECT_EQ(unread->mapping.generationOf("8.00.2039"), 0);
    }
}

TEST(BatchPatterns, FixedStatementsMatchWhateverTheirLayout) {
    const std::string table =
        "IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS WHERE ID = "
        "OBJECT_ID('TEMPDB..#WA_OPCJE_TMP')) TRUNCATE TABLE #WA_OPCJE_TMP ELSE CREATE TABLE "
        "#WA_OPCJE_TMP( NAZWA    VARCHAR(50)    NOT NULL, WARTOSC  VARCHAR(8000)  NOT NULL, "
        "PRIMARY KEY (NAZWA))";
    EXPECT_EQ(tds::normaliseStatement("\r\n" + table + "\r\n"), tds::normaliseStatement(table));
    EXPECT_EQ(
        tds::normaliseStatement("select\twartosc FROM konfig_st\r\nwhere nazwa='TERVO_WERSJA';"),
        tds::normaliseStatement("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'"));
    EXPECT_NE(
        tds::normaliseStatement("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA2'"),
        tds::normaliseStatement("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'"));
    EXPECT_NE(tds::normaliseStatement("selectwartosc from konfig_st"),
              tds::normaliseStatement("select wartosc from konfig_st"));
}

}  // namespace

namespace {

TEST(Text, ContainsIgnoreCaseFindsTheWordWhereverItStands) {
    const struct {
        const char* text;
        const char* needle;
        bool found;
    } cases[] = {
        {"set @WERSJA_AKTUALNA = '1'", "@wersja_aktualna", true},
        {"@wersja_aktualna", "@wersja_aktualna", true},
        {"x fn_wersja_ms_sql", "FN_WERSJA_MS_SQL", true},
        {"@wersja_@wersja_aktualna", "@wersja_aktualna", true},
        {"konfig_s konfig_sT", "konfig_st", true},
        {"zażółć konfig_st", "konfig_st", true},
        {"@wersja_aktualn", "@wersja_aktualna", false},
        {"@wersja-aktualna", "@wersja_aktualna", false},
        {"", "konfig_st", false},
        {"konfig_st", "", true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.text) + " / " + row.needle);
        EXPECT_EQ(tds::containsIgnoreCase(row.text, row.needle), row.found);
    }
}

// A journal line is one line of JSON whatever the batch held, with its fields in the order the
// journal's readers know; bytes that are no UTF-8 are replaced, not a reason to stop the server.
TEST(Journal, ALineIsJsonWhateverTheText) {
    const struct {
        const char* name;
        std::string text;
        std::string readBack;
    } cases[] = {
        {"escapes", "select '\"a\\b\"'\r\ngo\t\x01\x1f", "select '\"a\\b\"'\r\ngo\t\x01\x1f"},
        {"Polish", "update konfig_st set wartosc = 'zażółć'",
         "update konfig_st set wartosc = 'zażółć'"},
        {"broken bytes",
         "a\xff\x80"
         "b\xc5",
         "a\uFFFD\uFFFDb\uFFFD"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const std::string line = tds::toJsonLine({7, true, tds::RequestKind::Batch, row.text});
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        nlohmann::ordered_json parsed;
        ASSERT_NO_THROW(parsed = nlohmann::ordered_json::parse(line)) << line;
        EXPECT_EQ(
            parsed,
            (nlohmann::ordered_json{
                {"session", 7}, {"transaction", true}, {"kind", "batch"}, {"text", row.readBack}}));
    }
}

// The version query is answered with a result set (COLMETADATA first) whatever its layout; a
// text that is not the query gets a plain DONE.
TEST(BatchResponder, TheVersionQueryIsKnownWhateverItsLayout) {
    const struct {
        const char* text;
        bool query;
    } cases[] = {
        {"select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'", true},
        {"\r\n\t SELECT wartosc\r\nFROM konfig_st WHERE nazwa='TERVO_WERSJA';\r\n", true},
        {"-- select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'", false},
        {"xselect wartosc from konfig_st where nazwa = 'TERVO_WERSJA'", false},
        {"select wartosc from konfig_st where nazwa = 'TERVO_WERSJA' or 1 = 1", false},
    };
    const tds::DatabaseState state = tds::DatabaseState::initial("8.1.0.0");
    const std::vector<tds::FailBatchFault> faults;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        tds::BatchResponder responder;
        const tds::BatchOutcome outcome =
            responder.respond(row.text, tds::BatchContext{state, "10.50.6000.34", false, faults});
        ASSERT_FALSE(outcome.tokens.empty());
        EXPECT_EQ(outcome.tokens.front() == 0x81, row.query);
    }
}

}  // namespace
