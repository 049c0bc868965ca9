// Remote procedure calls: how drivers run prepared and parameterised statements. The decoder
// and the binding of parameters into the statement, then the server through unixODBC's isql and
// the ODBC driver's own calls.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "OdbcClient.h"
#include "ProcedureCalls.h"
#include "RpcRequest.h"
#include "TdsTestServer.h"
#include "TestSupport.h"

namespace {

using tds::JournalEntry;
using tds::RequestKind;
using tds::RpcParameter;
using tds_test::OdbcClient;
using tds_test::Parameter;
using tds_test::RaiseForm;
using tds_test::ResultRow;

// An RPC message body as a client writes it, for the decoder's tests.
class RpcBytes {
  public:
    RpcBytes& procedure(std::u16string_view name) {
        u16(static_cast<std::uint16_t>(name.size()));
        for (const char16_t c : name) u16(c);
        u16(0);  // option flags
        return *this;
    }
    RpcBytes& parameter(std::vector<std::uint8_t> typeAndValue, bool output = false) {
        bytes.push_back(0);  // no name
        bytes.push_back(output ? 1 : 0);
        bytes.insert(bytes.end(), typeAndValue.begin(), typeAndValue.end());
        return *this;
    }
    RpcBytes& nvarchar(std::u16string_view text) {
        std::vector<std::uint8_t> v = {0xE7, 0x40, 0x1F, 0x15, 0x04, 0xD0, 0x00, 0x00};
        v.push_back(static_cast<std::uint8_t>(text.size() * 2));
        v.push_back(0);
        for (const char16_t c : text) {
            v.push_back(static_cast<std::uint8_t>(c));
            v.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return parameter(v);
    }
    std::vector<std::uint8_t> bytes;

  private:
    void u16(std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
};

TEST(RpcRequest, ReadsWhatIsqlSendsForAStatement) {
    // sp_prepexec by number: handle (INTN output, NULL), no declarations (NTEXT NULL), the
    // statement (NTEXT); without the ALL_HEADERS block, which the decoder also accepts.
    std::vector<std::uint8_t> payload = {
        0xff, 0xff, 0x0d, 0x00, 0x00, 0x00, 0x00, 0x01, 0x26, 0x04, 0x00, 0x00, 0x00, 0x63, 0x00,
        0x00, 0x00, 0x00, 0x15, 0x04, 0xd0, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x63,
        0x10, 0x00, 0x00, 0x00, 0x15, 0x04, 0xd0, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00};
    for (const char c : std::string("select 1"))
        payload.insert(payload.end(), {std::uint8_t(c), 0});

    const auto calls = tds::decodeRpcRequest(payload);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].procedure, "sp_prepexec");
    ASSERT_EQ(calls[0].parameters.size(), 3u);
    EXPECT_TRUE(calls[0].parameters[0].output);
    EXPECT_TRUE(calls[0].parameters[0].isNull);
    EXPECT_TRUE(calls[0].parameters[1].isNull);
    EXPECT_EQ(calls[0].parameters[2].text, "select 1");

    payload.pop_back();
    EXPECT_THROW(tds::decodeRpcRequest(payload), tds::RpcDecodeError);
}

TEST(RpcRequest, WritesEachValueAsItsLiteral) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> typeAndValue;
        std::string literal;
    };
    const std::vector<Case> cases = {
        {"int", {0x26, 4, 4, 0xD6, 0xFF, 0xFF, 0xFF}, "-42"},
        {"null int", {0x26, 4, 0}, "NULL"},
        {"tinyint is unsigned", {0x30, 200}, "200"},
        {"bigint", {0x7F, 0, 0, 0, 0, 0, 0, 0, 0x80}, "-9223372036854775808"},
        {"bit", {0x68, 1, 1, 1}, "1"},
        {"float", {0x6D, 8, 8, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}, "1.5"},
        {"decimal(5,2) -12.34", {0x6A, 5, 5, 2, 5, 0, 0xD2, 0x04, 0, 0}, "-12.34"},
        {"decimal(5,3) 0.005", {0x6A, 5, 5, 3, 5, 1, 5, 0, 0, 0}, "0.005"},
        {"varchar in code page 1250, quote doubled",
         {0xA7, 10, 0, 0x15, 0x04, 0xD0, 0, 0, 4, 0, 'i', '\'', 's', 0xB9},
         "'i''są'"},
        {"nvarchar(max) in two chunks",
         {0xE7, 0xFF, 0xFF, 0x15, 0x04, 0xD0, 0, 0, 4, 0, 0,   0, 0, 0, 0, 0,
          2,    0,    0,    0,    'a',  0,    2, 0, 0, 0, 'b', 0, 0, 0, 0, 0},
         "'ab'"},
        {"varbinary", {0xA5, 8, 0, 2, 0, 0x0A, 0xFF}, "0x0AFF"},
        {"null ntext", {0x63, 0, 0, 0, 0, 0x15, 0x04, 0xD0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, "NULL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RpcBytes rpc;
        rpc.procedure(u"sp_executesql").parameter(c.typeAndValue);
        const auto calls = tds::decodeRpcRequest(rpc.bytes);
        ASSERT_EQ(calls.size(), 1u);
        ASSERT_EQ(calls[0].parameters.size(), 1u);
        EXPECT_EQ(calls[0].parameters[0].literal, c.literal);
    }

    RpcBytes datetime;
    datetime.procedure(u"sp_executesql").parameter({0x3D, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_THROW(tds::decodeRpcRequest(datetime.bytes), tds::RpcDecodeError);
}

TEST(RpcRequest, BatchedCallsAreSeparated) {
    RpcBytes rpc;
    rpc.procedure(u"sp_executesql").nvarchar(u"select 1");
    rpc.bytes.push_back(0xFF);
    rpc.procedure(u"sp_unprepare").parameter({0x38, 7, 0, 0, 0});
    const auto calls = tds::decodeRpcRequest(rpc.bytes);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].parameters[0].text, "select 1");
    EXPECT_EQ(calls[1].procedure, "sp_unprepare");
    EXPECT_EQ(calls[1].parameters[0].integer, 7);
}

RpcParameter value(std::string literal, std::string name = {}) {
    RpcParameter parameter;
    parameter.name = std::move(name);
    parameter.isNull = false;
    parameter.literal = std::move(literal);
    return parameter;
}

TEST(BindParameters, ReplacesParametersOutsideQuotesAndComments) {
    struct Case {
        const char* name;
        std::string statement;
        std::string declarations;
        std::vector<RpcParameter> values;
        std::string bound;
    };
    const std::vector<Case> cases = {
        {"by position",
         "select * from t where a = @P1 and b = @P2",
         "@P1 int, @P2 nvarchar(10)",
         {value("1"), value("'x'")},
         "select * from t where a = 1 and b = 'x'"},
        {"by name, in any case",
         "select @B, @a",
         "@a int,@b int",
         {value("2", "@b"), value("1", "@A")},
         "select 2, 1"},
        {"@P1 is not the start of @P10",
         "select @P10, @P1",
         "@P1 int",
         {value("7")},
         "select @P10, 7"},
        {"commas inside a type",
         "select @P2",
         "@P1 decimal(10,2), @P2 int",
         {value("1.5"), value("3")},
         "select 3"},
        {"quoted texts, names and comments kept",
         "select '@P1', [@P1], \"@P1\" -- @P1\n/* @P1 */ , 'it''s @P1', @P1",
         "@P1 int",
         {value("5")},
         "select '@P1', [@P1], \"@P1\" -- @P1\n/* @P1 */ , 'it''s @P1', 5"},
        {"system variables and a parameter without a value kept",
         "select @@ROWCOUNT, @P1, @P2",
         "@P1 int, @P2 int",
         {value("1")},
         "select @@ROWCOUNT, 1, @P2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tds::bindParameters(c.statement, c.declarations, c.values), c.bound);
    }
    EXPECT_THROW(tds::bindParameters("select @P1", "@P1 int", std::vector{value("1"), value("2")}),
                 std::invalid_argument);
    EXPECT_THROW(tds::bindParameters("select @P1", "@P1 int", std::vector{value("1", "@x")}),
                 std::invalid_argument);
}

// FreeTDS prepares anew at every execution, so sp_execute and a forgotten handle are seen here.
TEST(ProcedureCalls, PreparedStatementsRunByTheirHandleUntilUnprepared) {
    tds::ProcedureCalls calls;
    auto text = [](std::string t) {
        RpcParameter p = value("'" + t + "'");
        p.text = std::move(t);
        return p;
    };
    auto handle = [](std::int64_t h) {
        RpcParameter p = value(std::to_string(h));
        p.integer = h;
        return p;
    };
    RpcParameter outputHandle;
    outputHandle.name = "@h";
    outputHandle.output = true;

    const auto prepared = calls.resolve(
        {"sp_prepare", {outputHandle, text("@P1 int"), text("select @P1"), handle(1)}});
    ASSERT_EQ(prepared.handle, 1);
    EXPECT_EQ(prepared.handleName, "@h");
    EXPECT_FALSE(prepared.statement);
    EXPECT_EQ(calls.resolve({"sp_execute", {handle(1), value("42")}}).statement, "select 42");
    EXPECT_EQ(
        calls
            .resolve({"SP_PREPEXEC", {outputHandle, text("@a int"), text("select @a"), value("7")}})
            .statement,
        "select 7");
    EXPECT_FALSE(calls.resolve({"sp_unprepare", {handle(1)}}).error);

    struct Case {
        const char* name;
        tds::RpcCall call;
        std::int32_t error;
    };
    const std::vector<Case> failing = {
        {"executing an unprepared handle", {"sp_execute", {handle(1)}}, 8179},
        {"unpreparing twice", {"sp_unprepare", {handle(1)}}, 8179},
        {"executesql without a statement", {"sp_executesql", {}}, 214},
        {"more values than declarations",
         {"sp_executesql", {text("select 1"), text(""), value("1")}},
         8144},
        {"a cursor procedure", {"sp_cursoropen", {}}, 0},
    };
    for (const Case& c : failing) {
        SCOPED_TRACE(c.name);
        const auto action = calls.resolve(c.call);
        ASSERT_TRUE(action.error);
        EXPECT_EQ(action.error->number, c.error);
        EXPECT_FALSE(action.statement);
    }
}

constexpr const char* kVersionQuery = "select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'";
constexpr const char* kVersionQueryWithMarker = "select wartosc from konfig_st where nazwa = ?";

class ServerRpcTest : public ::testing::Test {
  protected:
    void SetUp() override { server_ = std::make_unique<tds::Server>(tds_test::testConfig(dir_)); }

    std::unique_ptr<OdbcClient> connect() {
        auto client = std::make_unique<OdbcClient>();
        EXPECT_TRUE(tds_test::succeeded(client->connect(server_->port())));
        return client;
    }

    // FreeTDS reports a result without rows that ends in DONEINPROC as no result at all.
    std::vector<ResultRow> rows(OdbcClient& client, SQLRETURN rc) {
        if (rc == SQL_NO_DATA) return {};
        EXPECT_EQ(rc, SQL_SUCCESS)
            << (client.diagnostics().empty() ? "" : client.diagnostics()[0].message);
        std::vector<ResultRow> result = client.fetchAll();
        client.closeCursor();
        return result;
    }

    std::vector<std::string> rpcJournal() const {
        std::vector<std::string> texts;
        for (const JournalEntry& entry : server_->journal()) {
            if (entry.kind == RequestKind::Rpc) texts.push_back(entry.text);
        }
        return texts;
    }

    tds_test::TempDir dir_;
    std::unique_ptr<tds::Server> server_;
};

TEST_F(ServerRpcTest, IsqlReadsTheRecordedVersion) {
    if (!std::filesystem::exists("/usr/bin/isql")) GTEST_SKIP() << "unixODBC isql is not installed";
    const std::string command = "echo \"" + std::string(kVersionQuery) +
                                "\" | isql -b -k \"DRIVER=FreeTDS;SERVER=127.0.0.1;PORT=" +
                                std::to_string(server_->port()) +
                                ";UID=sa;PWD=Tajne1;DATABASE=ZUV;TDS_Version=7.4\" 2>&1";
    const std::string output = tds_test::commandOutput(command);
    EXPECT_NE(output.find("| 8.2.0.6"), std::string::npos) << output;
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    EXPECT_EQ(rpcJournal(), (std::vector<std::string>{std::string("sp_prepexec: ") + kVersionQuery,
                                                      "sp_unprepare: 1"}));
}

TEST_F(ServerRpcTest, ParametersAnswerAsTheSameStatementSentAsABatch) {
    auto client = connect();
    const std::vector<ResultRow> expected = {{"8.2.0.6"}};
    EXPECT_EQ(rows(*client, client->execute(kVersionQueryWithMarker, {"TERVO_WERSJA"})), expected);
    ASSERT_EQ(client->prepare(kVersionQueryWithMarker), SQL_SUCCESS);
    EXPECT_EQ(rows(*client, client->executePrepared({"TERVO_WERSJA"})), expected);
    EXPECT_EQ(rows(*client, client->executePrepared({"INNA"})), std::vector<ResultRow>{});
    EXPECT_EQ(rows(*client, client->executePrepared({"TERVO_WERSJA"})), expected);
    EXPECT_EQ(rpcJournal().front(),
              "sp_executesql: select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'");
}

TEST_F(ServerRpcTest, PackageBatchesInProcedureCallsCheckAndStampTheVersion) {
    auto client = connect();
    // The opening batch of a package for another version fails with the package's message.
    const std::string opening = tds_test::openingBatch("9.0.0.0", "8.9.0.9", RaiseForm::Severity16);
    ASSERT_EQ(client->prepare(opening), SQL_SUCCESS);
    SQLRETURN rc = client->executePrepared({});
    while (rc == SQL_SUCCESS) rc = client->moreResults();
    EXPECT_EQ(rc, SQL_ERROR);
    EXPECT_TRUE(client->hasNative(50000));
    client->closeCursor();

    // The closing batch with its version as a parameter, in sp_executesql inside a
    // transaction, stamps the version on commit.
    std::string closing = tds_test::closingBatch("8.3.0.0", RaiseForm::Severity16);
    closing.replace(closing.find("'8.3.0.0'"), 9, "?");
    ASSERT_EQ(client->setAutocommit(false), SQL_SUCCESS);
    rc = client->execute(closing, {"8.3.0.0"});
    while (rc == SQL_SUCCESS) rc = client->moreResults();
    EXPECT_EQ(rc, SQL_NO_DATA);
    ASSERT_EQ(client->endTransaction(true), SQL_SUCCESS);
    ASSERT_EQ(client->setAutocommit(true), SQL_SUCCESS);
    EXPECT_EQ(rows(*client, client->execute(kVersionQueryWithMarker, {"TERVO_WERSJA"})),
              std::vector<ResultRow>{{"8.3.0.0"}});

    const auto calls = rpcJournal();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].starts_with("sp_prepexec: ")) << calls[0];
    EXPECT_TRUE(calls[1].starts_with("sp_executesql: ")) << calls[1];
    EXPECT_NE(calls[1].find("'8.3.0.0'"), std::string::npos) << calls[1];
}

TEST_F(ServerRpcTest, ProceduresItDoesNotRunFailInsteadOfAnsweringNothing) {
    auto client = connect();
    ASSERT_EQ(client->useServerCursor(), SQL_SUCCESS);
    EXPECT_EQ(client->execute(kVersionQuery), SQL_ERROR);
    ASSERT_FALSE(client->diagnostics().empty());
    EXPECT_NE(client->diagnostics()[0].message.find("sp_cursoropen"), std::string::npos)
        << client->diagnostics()[0].message;
}

}  // namespace

namespace {

// Not a procedure call, but the same client's view: a function definition the server reads in its
// IF form survives a restart, and one it cannot read is reported in the journal.
TEST_F(ServerRpcTest, GenerationFunctionInTheIfFormOrANoteInTheJournal) {
    const std::string header =
        "CREATE FUNCTION dbo.fn_WERSJA_MS_SQL () RETURNS INT AS BEGIN\r\n"
        "  DECLARE @wersja VARCHAR(128)\r\n"
        "  SET @wersja = CONVERT(VARCHAR(128), SERVERPROPERTY('ProductVersion'))\r\n";
    auto client = connect();
    EXPECT_EQ(client->execute(header + "  IF @wersja LIKE '9.%' RETURN 2005\r\n"
                                       "  IF @wersja LIKE '10.%' RETURN 2008\r\n  RETURN 0\r\nEND"),
              SQL_NO_DATA);
    client.reset();
    server_.reset();
    server_ = std::make_unique<tds::Server>(tds_test::testConfig(dir_));
    client = connect();
    EXPECT_EQ(rows(*client, client->execute("SELECT dbo.fn_WERSJA_MS_SQL()")),
              std::vector<ResultRow>{{"2008"}});

    EXPECT_EQ(client->execute(header + "  RETURN 2008\r\nEND"), SQL_NO_DATA);
    const auto journal = server_->journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().kind, RequestKind::Note);
    EXPECT_NE(journal.back().text.find("cannot read"), std::string::npos) << journal.back().text;
    EXPECT_EQ(rows(*client, client->execute("SELECT dbo.fn_WERSJA_MS_SQL()")),
              std::vector<ResultRow>{{"0"}});
}

}  // namespace
