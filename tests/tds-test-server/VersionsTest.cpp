// What an older protocol version changes in the server's replies and requests. No sockets.

#include <gtest/gtest.h>

#include "Requests.h"
#include "TokenWriter.h"
#include "TokensForVersion.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

tds::TokenBuffer everyTokenTheServerWrites() {
    const std::vector<tds::Column> columns = {{tds::ColumnType::IntN, "i", 4},
                                              {tds::ColumnType::VarChar, "v", 10}};
    tds::TokenBuffer tokens;
    tokens.done(0x0011, 5);
    tokens.envChangeBytes(8, Bytes{1, 2, 3, 4, 5, 6, 7, 8}, {});
    tokens.message({50000, 1, 16, "ą"});
    tokens.columns(columns);
    tokens.row(columns, {std::int32_t{42}, std::string("ę")});
    tokens.row(columns, {});
    tokens.returnStatus(0);
    tokens.returnValue(0, "@h", 7);
    tokens.doneProc(0);
    return tokens;
}

}  // namespace

TEST(TokensForVersion, Tds71HasShortCountsLineNumbersAndUserTypesAndNoTransactionChanges) {
    const Bytes expected = {
        0xFD, 0x11, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00,  // DONE, 4-byte count
        // ENVCHANGE 8 left out; ERROR with a 2-byte line number and a length 2 bytes shorter
        0xAA, 0x1C, 0x00, 0x50, 0xC3, 0x00, 0x00, 0x01, 0x10, 0x01, 0x00, 0x05, 0x01, 0x07, 'T',
        0x00, 'D', 0x00, 'S', 0x00, 'T', 0x00, 'E', 0x00, 'S', 0x00, 'T', 0x00, 0x00, 0x01, 0x00,
        // COLMETADATA with 2-byte user types
        0x81, 0x02, 0x00, 0x00, 0x00, 0x09, 0x00, 0x26, 0x04, 0x01, 'i', 0x00, 0x00, 0x00, 0x09,
        0x00, 0xA7, 0x0A, 0x00, 0x15, 0x04, 0xD0, 0x00, 0x00, 0x01, 'v', 0x00,
        // ROWs as they were
        0xD1, 0x04, 0x2A, 0x00, 0x00, 0x00, 0x01, 0x00, 0xEA, 0xD1, 0x00, 0xFF, 0xFF, 0x79, 0x00,
        0x00, 0x00, 0x00,  // RETURNSTATUS
        // RETURNVALUE with a 2-byte user type
        0xAC, 0x00, 0x00, 0x02, '@', 0x00, 'h', 0x00, 0x01, 0x00, 0x00, 0x09, 0x00, 0x26, 0x04,
        0x04, 0x07, 0x00, 0x00, 0x00, 0xFE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00,  // DONEPROC
    };
    EXPECT_EQ(tds::tokensForVersion(everyTokenTheServerWrites().bytes(), tds::TdsVersion::V7_1),
              expected);
}

TEST(TokensForVersion, From72OnTheTokensStayAsWrittenAndUnknownOnesAreRefusedFor71) {
    const Bytes written = everyTokenTheServerWrites().bytes();
    for (const auto version : {tds::TdsVersion::V7_2, tds::TdsVersion::V7_3A,
                               tds::TdsVersion::V7_3B, tds::TdsVersion::V7_4}) {
        EXPECT_EQ(tds::tokensForVersion(written, version), written);
    }
    // NBCROW came with 7.3; a cut DONE.
    EXPECT_THROW(tds::tokensForVersion(Bytes{0xD2, 0x00}, tds::TdsVersion::V7_1),
                 tds::TokenStreamError);
    EXPECT_THROW(tds::tokensForVersion(Bytes{0xFD, 0x00, 0x00}, tds::TdsVersion::V7_1),
                 tds::TokenStreamError);
}

TEST(TransactionInBatch, TheBatchesA71DriverSendsForItsTransactions) {
    using tds::RequestKind;
    const struct {
        const char* text;
        bool open;
        std::optional<RequestKind> kind;
        bool beginNew;
    } cases[] = {
        {"BEGIN TRANSACTION", false, RequestKind::Begin, false},
        {"IF @@TRANCOUNT > 0 COMMIT", true, RequestKind::Commit, false},
        {"IF @@TRANCOUNT > 0 COMMIT BEGIN TRANSACTION", true, RequestKind::Commit, true},
        {"IF @@TRANCOUNT > 0 ROLLBACK", true, RequestKind::Rollback, false},
        {"IF @@TRANCOUNT > 0 ROLLBACK BEGIN TRANSACTION", true, RequestKind::Rollback, true},
        // Nothing open: the guarded end does nothing but its begin.
        {"IF @@TRANCOUNT > 0 COMMIT", false, std::nullopt, false},
        {"IF @@TRANCOUNT > 0 ROLLBACK BEGIN TRANSACTION", false, RequestKind::Begin, false},
        // Anything else is a batch.
        {"IF @@TRANCOUNT > 0 COMMIT TRANSACTION", true, std::nullopt, false},
        {"begin transaction", false, std::nullopt, false},
        {"COMMIT", true, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.open ? ", open" : ""));
        const auto request = tds::transactionInBatch(c.text, c.open);
        ASSERT_EQ(request.has_value(), c.kind.has_value());
        if (request) {
            EXPECT_EQ(request->kind, *c.kind);
            EXPECT_EQ(request->beginNew, c.beginNew);
        }
    }
}
