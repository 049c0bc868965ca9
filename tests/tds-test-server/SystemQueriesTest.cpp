// The system queries the program sends before an update and while a batch runs (other sessions,
// VIEW SERVER STATE, rights, the last full backup, @@SPID, the blocking of a session), through
// unixODBC and FreeTDS against each generation the server plays.

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <regex>
#include <thread>

#include "OdbcClient.h"
#include "TdsTestServer.h"
#include "TestSupport.h"

namespace {

using tds::BackupHistory;
using tds::LoginRights;
using tds_test::OdbcClient;
using tds_test::RaiseForm;
using tds_test::ResultRow;

constexpr const char* kSessions =
    "SELECT spid, RTRIM(loginame), RTRIM(hostname), RTRIM(program_name), DATEDIFF(second, "
    "last_batch, GETDATE()) FROM master..sysprocesses WHERE dbid = DB_ID() AND spid <> @@SPID AND "
    "ecid = 0 AND (RTRIM(hostname) <> '' OR RTRIM(program_name) <> '') ORDER BY spid";
constexpr const char* kViewServerState =
    "SELECT HAS_PERMS_BY_NAME(NULL, NULL, 'VIEW SERVER STATE')";
constexpr const char* kRights = "SELECT IS_SRVROLEMEMBER('sysadmin'), IS_MEMBER('db_owner')";
constexpr const char* kBackup =
    "SELECT MAX(backup_finish_date) FROM msdb..backupset WHERE database_name = DB_NAME() AND "
    "type = 'D'";
constexpr const char* kSpid = "SELECT @@SPID";

std::string blockingQuery(int spid) {
    return "SELECT p.blocked, p.waittime, RTRIM(b.loginame), RTRIM(b.hostname), "
           "RTRIM(b.program_name) FROM master..sysprocesses p LEFT JOIN master..sysprocesses b ON "
           "b.spid = p.blocked AND b.ecid = 0 WHERE p.spid = " +
           std::to_string(spid) + " AND p.ecid = 0";
}

// Configured out of order; 51 and 58 show neither host nor program (system processes), and 51
// is the spid a first connection would otherwise get.
const std::vector<tds::OtherSession> kOthers = {
    {60, "ZUV\\anna  ", "SERWIS", "", 5},
    {51, "sa", "", "", 0},
    {57, "jan", "KSIEGOWOSC-PC", "ZUV Środki trwałe", 600},
    {58, "sa", " ", "  ", 0},
};
// The first connection's spid: 51 belongs to a configured session.
constexpr int kOwnSpid = 52;

const std::vector<ResultRow> kBothSessions = {
    {"57", "jan", "KSIEGOWOSC-PC", "ZUV Środki trwałe", "600"},
    {"60", "ZUV\\anna", "SERWIS", "", "5"},
};
const std::vector<ResultRow> kNotBlocked = {{"0", "0", std::nullopt, std::nullopt, std::nullopt}};

// A query's answer: its rows, or the native number and text of the error it fails with. A value
// "<datetime>" stands for any date and time.
struct Answer {
    std::vector<ResultRow> rows;
    SQLINTEGER error = 0;
    std::string message;
};

Answer rows(std::vector<ResultRow> values) { return {std::move(values), 0, ""}; }

Answer error(SQLINTEGER number, const std::string& text) {
    return {{}, number, "[FreeTDS][SQL Server]" + text};
}

bool sameAnswer(const Answer& expected, const Answer& actual) {
    if (expected.error != 0 || actual.error != 0) {
        return expected.error == actual.error && expected.message == actual.message;
    }
    if (expected.rows.size() != actual.rows.size()) return false;
    static const std::regex dateTime(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d(\.\d+)?)");
    for (std::size_t i = 0; i < expected.rows.size(); ++i) {
        if (expected.rows[i].size() != actual.rows[i].size()) return false;
        for (std::size_t j = 0; j < expected.rows[i].size(); ++j) {
            const auto& want = expected.rows[i][j];
            const auto& got = actual.rows[i][j];
            const bool matches = want == std::optional<std::string>("<datetime>")
                                     ? got && std::regex_match(*got, dateTime)
                                     : want == got;
            if (!matches) return false;
        }
    }
    return true;
}

std::string describe(const Answer& answer) {
    if (answer.error != 0) return "error " + std::to_string(answer.error) + ": " + answer.message;
    std::string text;
    for (const ResultRow& row : answer.rows) {
        text += "[";
        for (const auto& value : row) text += (value ? *value : "NULL") + "|";
        text += "]";
    }
    return text.empty() ? "no rows" : text;
}

Answer ask(OdbcClient& client, const std::string& query) {
    Answer answer;
    const SQLRETURN rc = client.execute(query);
    if (rc == SQL_ERROR) {
        if (!client.diagnostics().empty()) {
            answer.error = client.diagnostics()[0].native;
            answer.message = client.diagnostics()[0].message;
        }
        client.closeCursor();
        return answer;
    }
    EXPECT_EQ(rc, SQL_SUCCESS) << query;
    answer.rows = client.fetchAll();
    EXPECT_EQ(client.moreResults(), SQL_NO_DATA) << query;
    return answer;
}

// Seconds since the epoch of a local "YYYY-MM-DD hh:mm:ss[.fff]".
std::chrono::system_clock::time_point parseLocal(const std::string& text) {
    std::tm local{};
    local.tm_isdst = -1;
    double seconds = 0;
    std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%lf", &local.tm_year, &local.tm_mon, &local.tm_mday,
                &local.tm_hour, &local.tm_min, &seconds);
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_sec = static_cast<int>(seconds);
    const auto whole = std::chrono::system_clock::from_time_t(std::mktime(&local));
    return whole + std::chrono::milliseconds(
                       static_cast<long>((seconds - static_cast<int>(seconds)) * 1000));
}

class SystemQueriesTest : public ::testing::Test {
  protected:
    tds::ServerConfig config() const {
        tds::ServerConfig config = tds_test::testConfig(dir_);
        config.otherSessions = kOthers;
        return config;
    }

    std::unique_ptr<OdbcClient> connect(const tds::Server& server) {
        auto client = std::make_unique<OdbcClient>();
        const SQLRETURN rc = client->connect(server.port());
        EXPECT_TRUE(tds_test::succeeded(rc))
            << (client->diagnostics().empty() ? "" : client->diagnostics()[0].message);
        return client;
    }

    tds_test::TempDir dir_;
};

// Every query against every generation, under the settings that change its answer. A 2000 has
// no HAS_PERMS_BY_NAME and no VIEW SERVER STATE: every login sees every process.
TEST_F(SystemQueriesTest, EachGenerationAnswersAsItsServerWould) {
    struct Settings {
        bool viewServerState = true;
        LoginRights rights = LoginRights::Sysadmin;
        BackupHistory backup = BackupHistory::Recorded;
    };
    const Answer none = rows({});
    const Answer noFunction = error(195, "'HAS_PERMS_BY_NAME' is not a recognized function name.");
    const Answer noMsdb = error(208, "Invalid object name 'msdb..backupset'.");
    const struct {
        const char* name;
        Settings settings;
        std::string query;
        Answer on2000;
        Answer from2005;
    } cases[] = {
        {"sessions", {}, kSessions, rows(kBothSessions), rows(kBothSessions)},
        {"sessions unseen", {.viewServerState = false}, kSessions, rows(kBothSessions), none},
        {"view server state", {}, kViewServerState, noFunction, rows({{"1"}})},
        {"no view server state",
         {.viewServerState = false},
         kViewServerState,
         noFunction,
         rows({{"0"}})},
        {"sysadmin", {}, kRights, rows({{"1", "1"}}), rows({{"1", "1"}})},
        {"owner", {.rights = LoginRights::Owner}, kRights, rows({{"0", "1"}}), rows({{"0", "1"}})},
        {"no rights",
         {.rights = LoginRights::None},
         kRights,
         rows({{"0", "0"}}),
         rows({{"0", "0"}})},
        {"backup", {}, kBackup, rows({{"<datetime>"}}), rows({{"<datetime>"}})},
        {"no backup",
         {.backup = BackupHistory::None},
         kBackup,
         rows({{std::nullopt}}),
         rows({{std::nullopt}})},
        {"backup denied",
         {.backup = BackupHistory::Denied},
         kBackup,
         error(229,
               "SELECT permission denied on object 'backupset', database 'msdb', owner "
               "'dbo'."),
         error(229,
               "The SELECT permission was denied on the object 'backupset', database "
               "'msdb', schema 'dbo'.")},
        {"no msdb", {.backup = BackupHistory::NoMsdb}, kBackup, noMsdb, noMsdb},
        {"own spid", {}, kSpid, rows({{"52"}}), rows({{"52"}})},
        {"another session", {}, blockingQuery(57), rows(kNotBlocked), rows(kNotBlocked)},
        {"another session unseen",
         {.viewServerState = false},
         blockingQuery(57),
         rows(kNotBlocked),
         none},
        {"own session unseen",
         {.viewServerState = false},
         blockingQuery(kOwnSpid),
         rows(kNotBlocked),
         rows(kNotBlocked)},
        {"no such session", {}, blockingQuery(99), none, none},
        {"no such spid", {}, blockingQuery(70000), none, none},
    };
    for (const char* productVersion :
         {"8.00.2039", "9.00.5000.00", "10.50.6000.34", "11.0.7001.0"}) {
        for (const auto& row : cases) {
            SCOPED_TRACE(std::string(productVersion) + ": " + row.name);
            tds::ServerConfig settings = config();
            settings.productVersion = productVersion;
            settings.viewServerState = row.settings.viewServerState;
            settings.rights = row.settings.rights;
            settings.backup = row.settings.backup;
            tds::Server server(settings);
            auto client = connect(server);
            const Answer& expected =
                std::string_view(productVersion).starts_with("8.") ? row.on2000 : row.from2005;
            const Answer actual = ask(*client, row.query);
            EXPECT_TRUE(sameAnswer(expected, actual))
                << "expected " << describe(expected) << ", got " << describe(actual);
        }
    }
}

// The recorded backup finished the configured age before the server started.
TEST_F(SystemQueriesTest, LastBackupIsTheConfiguredAgeBeforeTheStart) {
    using std::chrono::seconds;
    for (const seconds age : {seconds(3600), seconds(1800), seconds(100000 * 3600)}) {
        SCOPED_TRACE(age.count());
        tds::ServerConfig settings = config();
        settings.backupAge = age;
        const auto before = std::chrono::system_clock::now();
        tds::Server server(settings);
        const auto after = std::chrono::system_clock::now();
        auto client = connect(server);
        const Answer answer = ask(*client, kBackup);
        ASSERT_EQ(answer.rows.size(), 1u);
        ASSERT_TRUE(answer.rows[0][0]);
        const auto finished = parseLocal(*answer.rows[0][0]);
        EXPECT_GE(finished, before - settings.backupAge - std::chrono::milliseconds(10))
            << *answer.rows[0][0];
        EXPECT_LE(finished, after - settings.backupAge) << *answer.rows[0][0];
    }
}

// A held batch seen from a second connection: blocked by the configured session with a growing
// wait while it is held, free after it, whether the hold runs out (and the batch then runs) or
// the client cancels it.
TEST_F(SystemQueriesTest, HeldBatchIsSeenBlockedFromAnotherConnection) {
    tds::ServerConfig settings = config();
    settings.faults.blockBatches = {
        {"8.3.0.1", 2, 57, std::chrono::milliseconds(2500)},
        {"8.3.0.1", 3, 60, std::chrono::seconds(30)},
    };
    tds::Server server(settings);
    auto run = connect(server);
    auto watch = connect(server);
    ASSERT_EQ(ask(*run, kSpid).rows, (std::vector<ResultRow>{{"52"}}));
    ASSERT_EQ(ask(*watch, kSpid).rows, (std::vector<ResultRow>{{"53"}}));
    EXPECT_EQ(ask(*watch, blockingQuery(52)).rows, kNotBlocked);

    ASSERT_EQ(run->execute(tds_test::openingBatch("8.3.0.1", "8.2.0.6", RaiseForm::Severity16)),
              SQL_SUCCESS);
    EXPECT_EQ(run->moreResults(), SQL_NO_DATA);

    // Batch 2 stamps the version once its hold runs out.
    SQLRETURN held = SQL_ERROR;
    std::thread batch([&] {
        held = run->execute(tds_test::closingBatch("8.3.0.1", RaiseForm::Severity16));
        run->moreResults();
    });
    std::vector<ResultRow> seen;
    EXPECT_TRUE(tds_test::eventually([&] {
        seen = ask(*watch, blockingQuery(52)).rows;
        return seen.size() == 1 && seen[0][0] == "57";
    }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::vector<ResultRow> later = ask(*watch, blockingQuery(52)).rows;
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0],
              (ResultRow{"57", later[0][1], "jan", "KSIEGOWOSC-PC", "ZUV Środki trwałe"}));
    EXPECT_GT(std::stol(later[0][1].value_or("0")), std::stol(seen[0][1].value_or("0")))
        << "the wait grows";
    EXPECT_EQ(ask(*watch, kSessions).rows, kBothSessions) << "other queries go on meanwhile";
    batch.join();
    EXPECT_EQ(held, SQL_SUCCESS);
    EXPECT_EQ(ask(*watch, blockingQuery(52)).rows, kNotBlocked);
    EXPECT_EQ(server.versionRows(),
              (std::vector<tds::VersionRow>{{"WERSJE", "TERVO_WERSJA", "8.3.0.1"}}))
        << "the batch ran after its hold";

    // Batch 3 is cancelled by the client's time-out during its hold.
    ASSERT_EQ(run->setQueryTimeout(1), SQL_SUCCESS);
    std::thread cancelled([&] { held = run->execute("update a set b = 1"); });
    EXPECT_TRUE(tds_test::eventually([&] {
        const auto rows = ask(*watch, blockingQuery(52)).rows;
        return rows.size() == 1 && rows[0][0] == "60";
    }));
    cancelled.join();
    EXPECT_EQ(held, SQL_ERROR);
    EXPECT_EQ(ask(*watch, blockingQuery(52)).rows, kNotBlocked);
}

}  // namespace
