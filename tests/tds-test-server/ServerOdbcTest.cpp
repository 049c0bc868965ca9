// The server through the real client stack: unixODBC and FreeTDS's driver, as the program uses
// them. Every test starts its own server on a free port with its own state file.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "OdbcClient.h"
#include "StateFile.h"
#include "TdsTestServer.h"
#include "TestSupport.h"

namespace {

using tds::JournalEntry;
using tds::RequestKind;
using tds::VersionRow;
using tds_test::Login;
using tds_test::OdbcClient;
using tds_test::RaiseForm;
using tds_test::ResultRow;

constexpr const char* kVersionQuery = "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'";
constexpr const char* kGenerationQuery = "SELECT dbo.fn_WERSJA_MS_SQL()";
constexpr const char* kCreateFlagTable =
    "IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS WHERE ID = "
    "OBJECT_ID('TEMPDB..#WA_OPCJE_TMP')) TRUNCATE TABLE #WA_OPCJE_TMP ELSE CREATE TABLE "
    "#WA_OPCJE_TMP( NAZWA    VARCHAR(50)    NOT NULL, WARTOSC  VARCHAR(8000)  NOT NULL, "
    "PRIMARY KEY (NAZWA))";
constexpr const char* kInsertFlag =
    "INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')";
constexpr const char* kPrefix = "[FreeTDS][SQL Server]";

const VersionRow kRecorded{"WERSJE", "TERVO_WERSJA", "8.2.0.6"};

class ServerTest : public ::testing::Test {
  protected:
    void start(tds::ServerConfig config) {
        server_ = std::make_unique<tds::Server>(std::move(config));
    }
    void start() { start(tds_test::testConfig(dir_)); }

    // A logged-in client; the test fails when the login does.
    std::unique_ptr<OdbcClient> connect() {
        auto client = std::make_unique<OdbcClient>();
        const SQLRETURN rc = client->connect(server_->port());
        EXPECT_TRUE(tds_test::succeeded(rc))
            << (client->diagnostics().empty() ? "" : client->diagnostics()[0].message);
        return client;
    }

    // Runs a single-result query and returns its rows.
    std::vector<ResultRow> query(OdbcClient& client, const std::string& text) {
        EXPECT_EQ(client.execute(text), SQL_SUCCESS) << text;
        std::vector<ResultRow> rows = client.fetchAll();
        EXPECT_EQ(client.moreResults(), SQL_NO_DATA);
        return rows;
    }

    std::string recordedVersion(OdbcClient& client) {
        const auto rows = query(client, kVersionQuery);
        return rows.size() == 1 && rows[0][0] ? *rows[0][0]
                                              : "<" + std::to_string(rows.size()) + " rows>";
    }

    int generation(OdbcClient& client) {
        const auto rows = query(client, kGenerationQuery);
        return rows.size() == 1 && rows[0][0] ? std::stoi(*rows[0][0]) : -1;
    }

    bool journalHas(const JournalEntry& entry) const {
        for (const JournalEntry& logged : server_->journal()) {
            if (logged == entry) return true;
        }
        return false;
    }

    tds_test::TempDir dir_;
    std::unique_ptr<tds::Server> server_;
};

TEST_F(ServerTest, LoginsSucceedOrFailAsSqlServerReportsThem) {
    const struct {
        const char* name;
        bool refuseLogins;
        Login login;
        std::vector<SQLINTEGER> natives;  // in the driver's order: the more severe first
        std::string message;
    } cases[] = {
        {"accepted", false, {}, {}, ""},
        {"database in other case", false, {"SA", "Tajne1", "zuv"}, {}, ""},
        {"wrong password",
         false,
         {"sa", "tajne1", "ZUV"},
         {18456, 0},
         "Login failed for user 'sa'."},
        {"unknown user",
         false,
         {"admin", "Tajne1", "ZUV"},
         {18456, 0},
         "Login failed for user 'admin'."},
        {"unknown database",
         false,
         {"sa", "Tajne1", "ZUV2"},
         {18456, 4060, 0},
         "Cannot open database \"ZUV2\" requested by the login. The login failed."},
        {"refused", true, {}, {18456, 0}, "Login failed for user 'sa'."},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        tds::ServerConfig config = tds_test::testConfig(dir_);
        config.faults.refuseLogins = row.refuseLogins;
        start(config);
        OdbcClient client;
        const SQLRETURN rc = client.connect(server_->port(), row.login);
        std::vector<SQLINTEGER> natives;
        for (const auto& diagnostic : client.diagnostics()) natives.push_back(diagnostic.native);
        EXPECT_EQ(natives, row.natives);
        if (row.natives.empty()) {
            EXPECT_TRUE(tds_test::succeeded(rc));
            EXPECT_EQ(recordedVersion(client), "8.2.0.6");
        } else {
            EXPECT_EQ(rc, SQL_ERROR);
            bool found = false;
            for (const auto& diagnostic : client.diagnostics()) {
                found = found || diagnostic.message == kPrefix + row.message;
            }
            EXPECT_TRUE(found) << row.message;
        }
        client.disconnect();
        EXPECT_TRUE(journalHas(
            {1, false, row.natives.empty() ? RequestKind::Login : RequestKind::LoginFailed, ""}));
    }
}

TEST_F(ServerTest, VersionQueryReturnsEveryVersionRowAsStored) {
    start();
    auto client = connect();
    const VersionRow otherKey{"WERSJE", "ZUV_WEB_SERVICE_WERSJA", "3.0"};
    std::vector<VersionRow> manyRows;
    std::vector<ResultRow> manyRowsExpected;
    for (int i = 0; i < 300; ++i) {
        const std::string value = "wersja ąę nr " + std::to_string(i);
        manyRows.push_back({"WERSJE", "TERVO_WERSJA", value});
        manyRowsExpected.push_back({value});
    }
    const struct {
        const char* name;
        std::vector<VersionRow> rows;
        std::vector<ResultRow> expected;
    } cases[] = {
        {"none", {otherKey}, {}},
        {"one", {otherKey, kRecorded}, {{"8.2.0.6"}}},
        {"two, any group",
         {kRecorded, {"INNE", "tervo_wersja ", "9.0.0.0"}},
         {{"8.2.0.6"}, {"9.0.0.0"}}},
        {"null", {{"WERSJE", "TERVO_WERSJA", std::nullopt}}, {{std::nullopt}}},
        {"blanks kept", {{"WERSJE", "TERVO_WERSJA", " 8.2.0.6  "}}, {{" 8.2.0.6  "}}},
        {"Polish letters",
         {{"WERSJE", "TERVO_WERSJA", "wersja zażółć ĄĘ"}},
         {{"wersja zażółć ĄĘ"}}},
        {"more than a packet", manyRows, manyRowsExpected},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        server_->setVersionRows(row.rows);
        EXPECT_EQ(query(*client, "\r\n" + std::string(kVersionQuery) + "\r\n"), row.expected);
    }
}

TEST_F(ServerTest, GenerationFollowsProductVersionAndTheCommittedFunction) {
    start();  // 8.2.0.6: the first definition, LEFT(version, 2)
    auto client = connect();
    const struct {
        const char* productVersion;
        int generation;
    } before[] = {{"8.00.2039", 2000}, {"9.00.5000.00", 2005}, {"10.50.6000.34", 0}};
    for (const auto& row : before) {
        SCOPED_TRACE(row.productVersion);
        server_->setProductVersion(row.productVersion);
        EXPECT_EQ(generation(*client), row.generation);
    }

    ASSERT_EQ(client->setAutocommit(false), SQL_SUCCESS);
    EXPECT_EQ(client->execute(tds_test::generationFunction(3)), SQL_NO_DATA);
    EXPECT_EQ(generation(*client), 2008) << "the session sees its own definition";
    auto other = connect();
    EXPECT_EQ(generation(*other), 0) << "others see it only after commit";
    ASSERT_EQ(client->endTransaction(true), SQL_SUCCESS);
    EXPECT_EQ(generation(*other), 2008);
    server_->setProductVersion("11.0.7001.0");
    EXPECT_EQ(generation(*other), 2012);
    EXPECT_EQ(server_->generationMapping(), tds::GenerationMapping::forPackageVersion("11.1.0.0"));
}

TEST_F(ServerTest, FlagTableLivesAsLongAsTheConnection) {
    start();
    auto client = connect();
    EXPECT_EQ(client->execute(kInsertFlag), SQL_ERROR);
    EXPECT_TRUE(client->hasNative(208));
    ASSERT_FALSE(client->diagnostics().empty());
    EXPECT_EQ(client->diagnostics()[0].sqlState, "42S02");
    EXPECT_EQ(client->diagnostics()[0].message,
              std::string(kPrefix) + "Invalid object name '#WA_OPCJE_TMP'.");
    client->closeCursor();

    EXPECT_EQ(client->execute(kCreateFlagTable), SQL_NO_DATA);
    EXPECT_EQ(client->execute(kInsertFlag), SQL_SUCCESS);
    EXPECT_EQ(client->rowCount(), 1);
    EXPECT_EQ(client->execute(kInsertFlag), SQL_ERROR);
    EXPECT_TRUE(client->hasNative(2627));
    client->closeCursor();
    EXPECT_EQ(client->execute(kCreateFlagTable), SQL_NO_DATA) << "emptied, not created";
    EXPECT_EQ(client->execute(kInsertFlag), SQL_SUCCESS);

    auto other = connect();
    EXPECT_EQ(other->execute(kInsertFlag), SQL_ERROR);
    EXPECT_TRUE(other->hasNative(208)) << "another session has no table";
}

TEST_F(ServerTest, RollbackAndDisconnectDropUncommittedChanges) {
    start();
    auto client = connect();
    ASSERT_EQ(client->setAutocommit(false), SQL_SUCCESS);
    EXPECT_EQ(client->execute(tds_test::closingBatch("8.3.0.1", RaiseForm::Number13000)),
              SQL_SUCCESS);
    EXPECT_EQ(client->rowCount(), 1);
    EXPECT_EQ(client->moreResults(), SQL_NO_DATA);
    EXPECT_EQ(recordedVersion(*client), "8.3.0.1");
    EXPECT_EQ(server_->versionRows(), std::vector{kRecorded});
    ASSERT_EQ(client->endTransaction(false), SQL_SUCCESS);
    EXPECT_EQ(recordedVersion(*client), "8.2.0.6");
    EXPECT_TRUE(journalHas({1, true, RequestKind::Rollback, ""}));

    EXPECT_EQ(client->execute(tds_test::closingBatch("8.3.0.1", RaiseForm::Number13000)),
              SQL_SUCCESS);
    client->disconnect();
    EXPECT_TRUE(tds_test::eventually([&] {
        return journalHas({1, true, RequestKind::Disconnect, ""});
    }));
    EXPECT_EQ(server_->versionRows(), std::vector{kRecorded});
    EXPECT_EQ(tds::loadStateFile(dir_.path() / "state.txt").rows, std::vector{kRecorded});
}

TEST_F(ServerTest, CommitIsPersistedAndSurvivesARestart) {
    start();
    {
        auto client = connect();
        ASSERT_EQ(client->setAutocommit(false), SQL_SUCCESS);
        EXPECT_EQ(client->execute(tds_test::closingBatch("8.3.0.1", RaiseForm::Severity16)),
                  SQL_SUCCESS);
        ASSERT_EQ(client->endTransaction(true), SQL_SUCCESS);
        ASSERT_EQ(client->setAutocommit(true), SQL_SUCCESS);
    }
    const VersionRow stamped{"WERSJE", "TERVO_WERSJA", "8.3.0.1"};
    EXPECT_EQ(server_->versionRows(), std::vector{stamped});

    server_.reset();
    tds::ServerConfig config = tds_test::testConfig(dir_);
    config.initVersion = "7.12.0.7";  // ignored: the file exists
    start(config);
    EXPECT_EQ(server_->versionRows(), std::vector{stamped});
    auto client = connect();
    EXPECT_EQ(recordedVersion(*client), "8.3.0.1");

    // In autocommit a change is committed at once.
    EXPECT_EQ(client->execute(tds_test::closingBatch("8.4.0.0", RaiseForm::Severity16)),
              SQL_SUCCESS);
    const VersionRow restamped{"WERSJE", "TERVO_WERSJA", "8.4.0.0"};
    EXPECT_EQ(tds::loadStateFile(dir_.path() / "state.txt").rows, std::vector{restamped});
}

TEST_F(ServerTest, OpeningBatchChecksTheRecordedVersion) {
    start();
    auto client = connect();
    const struct {
        const char* name;
        std::vector<VersionRow> rows;
        RaiseForm form;
        SQLINTEGER native;  // 0: accepted
        std::string recorded;
    } cases[] = {
        {"previous version",
         {{"WERSJE", "TERVO_WERSJA", "8.1.0.0"}},
         RaiseForm::Number13000,
         0,
         ""},
        {"own version with blanks",
         {{"WERSJE", "TERVO_WERSJA", " 8.2.0.6 "}},
         RaiseForm::Number13000,
         0,
         ""},
        {"other version",
         {{"WERSJE", "TERVO_WERSJA", "8.0.0.0"}},
         RaiseForm::Number13000,
         13000,
         "8.0.0.0"},
        {"no row", {}, RaiseForm::Severity16, 50000, "0.0.0.0"},
        {"null",
         {{"WERSJE", "TERVO_WERSJA", std::nullopt}},
         RaiseForm::Severity16,
         50000,
         "0.0.0.0"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        server_->setVersionRows(row.rows);
        // The error comes after the select's row count, so the execute itself succeeds.
        EXPECT_EQ(client->execute(tds_test::openingBatch("8.2.0.6", "8.1.0.0", row.form)),
                  SQL_SUCCESS);
        EXPECT_EQ(client->rowCount(), static_cast<SQLLEN>(row.rows.size()));
        if (row.native == 0) {
            EXPECT_EQ(client->moreResults(), SQL_NO_DATA);
            continue;
        }
        EXPECT_EQ(client->moreResults(), SQL_ERROR);
        ASSERT_EQ(client->diagnostics().size(), 1u);
        EXPECT_EQ(client->diagnostics()[0].native, row.native);
        EXPECT_EQ(client->diagnostics()[0].message,
                  kPrefix + ("Wersja systemu: " + row.recorded +
                             "\r\nAktualizacja jest przeznaczona dla wersji 8.1.0.0"));
        EXPECT_EQ(client->moreResults(), SQL_NO_DATA);
    }
}

TEST_F(ServerTest, ClosingBatchFailsUnlessExactlyOneVersionRow) {
    start();
    auto client = connect();
    const VersionRow old{"WERSJE", "TERVO_WERSJA", "8.1.0.0"};
    const struct {
        const char* name;
        std::vector<VersionRow> rows;
        RaiseForm form;
        SQLINTEGER native;
    } cases[] = {
        {"one row", {old}, RaiseForm::Number13000, 0},
        {"no row", {}, RaiseForm::Number13000, 13000},
        {"two rows", {old, old}, RaiseForm::Severity16, 50000},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        server_->setVersionRows(row.rows);
        EXPECT_EQ(client->execute(tds_test::closingBatch("8.2.0.6", row.form)), SQL_SUCCESS);
        EXPECT_EQ(client->rowCount(), static_cast<SQLLEN>(row.rows.size()));
        if (row.native == 0) {
            EXPECT_EQ(client->moreResults(), SQL_NO_DATA);
        } else {
            EXPECT_EQ(client->moreResults(), SQL_ERROR);
            ASSERT_EQ(client->diagnostics().size(), 1u);
            EXPECT_EQ(client->diagnostics()[0].native, row.native);
            EXPECT_EQ(client->diagnostics()[0].message,
                      std::string(kPrefix) + "Zmiana wersji systemu ZUV nie powiodła się.");
            EXPECT_EQ(client->moreResults(), SQL_NO_DATA);
        }
        for (const VersionRow& stored : server_->versionRows())
            EXPECT_EQ(stored.wartosc, "8.2.0.6");
    }
}

TEST_F(ServerTest, FailBatchAnswersEarlierStatementsThenTheError) {
    tds::ServerConfig config = tds_test::testConfig(dir_);
    config.faults.failBatches = {
        {"8.2.0.6", 3, 547, "Konflikt: zły klucz\r\nw tabeli", 3},
        {"8.2.0.6", 4, 50000, "Od razu", 0},
        {"8.3.0.1", 2, 50000, "Inny pakiet", 0},
    };
    start(config);
    server_->setVersionRows({{"WERSJE", "TERVO_WERSJA", "8.1.0.0"}});
    auto client = connect();
    EXPECT_EQ(client->execute(tds_test::openingBatch("8.2.0.6", "8.1.0.0", RaiseForm::Number13000)),
              SQL_SUCCESS);
    EXPECT_EQ(client->moreResults(), SQL_NO_DATA);
    EXPECT_EQ(client->execute("print 'batch 2'"), SQL_NO_DATA);

    EXPECT_EQ(client->execute("update a set b = 1\r\nselect id, nazwa from c\r\nupdate d"),
              SQL_SUCCESS);
    EXPECT_EQ(client->rowCount(), 1);
    EXPECT_EQ(client->moreResults(), SQL_SUCCESS);
    EXPECT_EQ(client->fetchAll(), (std::vector<ResultRow>{{"1", "pierwszy"}, {"2", "drugi"}}));
    EXPECT_EQ(client->moreResults(), SQL_SUCCESS);
    EXPECT_EQ(client->rowCount(), 3);
    EXPECT_EQ(client->moreResults(), SQL_ERROR);
    ASSERT_EQ(client->diagnostics().size(), 1u);
    EXPECT_EQ(client->diagnostics()[0].native, 547);
    EXPECT_EQ(client->diagnostics()[0].message,
              std::string(kPrefix) + "Konflikt: zły klucz\r\nw tabeli");
    EXPECT_EQ(client->moreResults(), SQL_NO_DATA);

    EXPECT_EQ(client->execute("select 4"), SQL_ERROR);
    EXPECT_TRUE(client->hasNative(50000));
    client->closeCursor();
    EXPECT_EQ(client->execute("select 5"), SQL_NO_DATA);
    EXPECT_EQ(recordedVersion(*client), "8.1.0.0");
}

TEST_F(ServerTest, QueryTimeoutSendsAttentionAndTheConnectionGoesOn) {
    tds::ServerConfig config = tds_test::testConfig(dir_);
    config.faults.delays = {{1, std::chrono::seconds(5)}};
    start(config);
    auto client = connect();
    ASSERT_EQ(client->setQueryTimeout(1), SQL_SUCCESS);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(client->execute(tds_test::closingBatch("8.3.0.1", RaiseForm::Number13000)),
              SQL_ERROR);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    ASSERT_FALSE(client->diagnostics().empty());
    EXPECT_EQ(client->diagnostics()[0].sqlState, "HYT00");
    EXPECT_EQ(recordedVersion(*client), "8.2.0.6") << "the cancelled batch did not run";
    EXPECT_TRUE(journalHas({1, false, RequestKind::Attention, ""}));
}

TEST_F(ServerTest, AttentionAfterACompleteReplyIsAnswered) {
    start();
    auto client = connect();
    // Closing the cursor with results still unread makes the driver cancel, although the
    // server has long finished its reply; it then waits for the server's acknowledgement.
    EXPECT_EQ(client->execute(tds_test::closingBatch("8.2.0.6", RaiseForm::Number13000)),
              SQL_SUCCESS);
    const auto started = std::chrono::steady_clock::now();
    client->closeCursor();
    EXPECT_EQ(recordedVersion(*client), "8.2.0.6");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_TRUE(journalHas({1, false, RequestKind::Attention, ""}));
}

TEST_F(ServerTest, DropAtClosesTheConnectionInsteadOfAnswering) {
    tds::ServerConfig config = tds_test::testConfig(dir_);
    config.faults.dropAtRequests = {3};
    start(config);
    auto client = connect();
    ASSERT_EQ(client->setAutocommit(false), SQL_SUCCESS);  // request 1
    EXPECT_EQ(client->execute(tds_test::closingBatch("8.3.0.1", RaiseForm::Number13000)),
              SQL_SUCCESS);  // request 2
    EXPECT_EQ(client->moreResults(), SQL_NO_DATA);
    EXPECT_EQ(client->endTransaction(true), SQL_ERROR);  // request 3, dropped
    EXPECT_EQ(client->execute(kVersionQuery), SQL_ERROR);
    ASSERT_FALSE(client->diagnostics().empty());
    EXPECT_EQ(client->diagnostics()[0].sqlState, "08S01");

    EXPECT_TRUE(tds_test::eventually([&] {
        return journalHas({1, true, RequestKind::Disconnect, ""});
    }));
    EXPECT_EQ(server_->versionRows(), std::vector{kRecorded})
        << "the dropped commit did not happen";
    auto other = connect();
    EXPECT_EQ(recordedVersion(*other), "8.2.0.6");
}

TEST_F(ServerTest, LargeBatchArrivesWhole) {
    start();
    auto client = connect();
    std::string text;
    while (text.size() < 1'000'000) text += "-- komentarz zażółć gęślą jaźń\r\nselect 1\r\n";
    EXPECT_EQ(client->execute(text), SQL_NO_DATA);
    const auto journal = server_->journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_TRUE(journal[1].text == text) << "the batch differs from what was sent";
}

TEST_F(ServerTest, JournalRecordsEveryRequestWithItsTransactionState) {
    start();
    auto client = connect();
    EXPECT_EQ(client->execute("select 1\r\n"), SQL_NO_DATA);
    ASSERT_EQ(client->setAutocommit(false), SQL_SUCCESS);
    EXPECT_EQ(client->execute("select 'zażółć'"), SQL_NO_DATA);
    ASSERT_EQ(client->endTransaction(true), SQL_SUCCESS);
    ASSERT_EQ(client->setAutocommit(true), SQL_SUCCESS);
    client->disconnect();
    ASSERT_TRUE(tds_test::eventually([&] { return server_->journal().size() == 7; }));
    EXPECT_EQ(server_->journal(), (std::vector<JournalEntry>{
                                      {1, false, RequestKind::Login, ""},
                                      {1, false, RequestKind::Batch, "select 1\r\n"},
                                      {1, false, RequestKind::Begin, ""},
                                      {1, true, RequestKind::Batch, "select 'zażółć'"},
                                      {1, true, RequestKind::Commit, ""},
                                      {1, true, RequestKind::Rollback, ""},
                                      {1, false, RequestKind::Disconnect, ""},
                                  }));
}

}  // namespace
