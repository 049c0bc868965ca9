#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "PreLogin.h"
#include "TdsVersion.h"
#include "Tls.h"

namespace tds {

// Fail batch `batch` (1 = the package's opening batch) of package `packageVersion` with
// `number`, severity 16, state 1, after the results of `statementsBefore` earlier statements.
struct FailBatchFault {
    std::string packageVersion;
    int batch = 1;
    std::int32_t number = 50000;
    std::string message;  // UTF-8, CR LF as real characters
    int statementsBefore = 0;
    // The failure also ends the session's transaction, rolled back, and says so with the
    // ENVCHANGE a SQL Server sends for a deadlock victim or an error that aborts the transaction.
    bool endsTransaction = false;

    bool operator==(const FailBatchFault&) const = default;
};

// Hold batch `batch` of package `packageVersion` (numbered as for FailBatchFault) for `hold`, as
// if it waited on a lock of the configured other session `blocker`, then run it as usual. An
// attention during the hold cancels the batch, as for DelayFault.
struct BlockBatchFault {
    std::string packageVersion;
    int batch = 1;
    int blocker = 0;
    std::chrono::milliseconds hold{0};

    bool operator==(const BlockBatchFault&) const = default;
};

// Requests (SQL batches and transaction requests) are numbered from 1 over the server's
// lifetime, across sessions; pre-login and login do not count.
struct DelayFault {
    std::uint64_t request = 0;
    std::chrono::milliseconds delay{0};

    bool operator==(const DelayFault&) const = default;
};

// Answer request `request` (numbered as for DelayFault) with error `number`, severity 16,
// instead of carrying it out.
struct FailRequestFault {
    std::uint64_t request = 0;
    std::int32_t number = 50000;
    std::string message;

    bool operator==(const FailRequestFault&) const = default;
};

// What a log-in meets: nothing unusual; a server that accepts the connection and never answers; a
// connection closed (FIN) or reset (RST, as a server process that crashed or a cut network gives)
// right after the pre-login request or right after the LOGIN7 packet; a connection closed after
// part of the log-in reply with no acknowledgement; the acknowledgement sent late; or none ever
// sent, the LOGIN7 packet read and left unanswered while the connection stays open.
enum class LoginFault {
    None,
    Silent,
    DropAtPreLogin,
    ResetAtPreLogin,
    DropAtLogin7,
    ResetAtLogin7,
    DropBeforeAck,
    DelayAck,
    NoAck,
};

struct Faults {
    std::vector<FailBatchFault> failBatches;
    std::vector<BlockBatchFault> blockBatches;
    std::vector<std::uint64_t> dropAtRequests;  // close the socket instead of answering
    // Reset the connection (TCP RST, as a peer that crashed or a cut network gives) instead of
    // answering.
    std::vector<std::uint64_t> resetAtRequests;
    std::vector<DelayFault> delays;  // answer late, unless an attention comes first
    // Never answer the request, nor an attention that would cancel it: a server or a link that
    // stalls with the session open. Only closing the connection ends the wait.
    std::vector<std::uint64_t> hangAtRequests;
    std::vector<FailRequestFault> failRequests;
    bool refuseLogins = false;  // every login fails with 18456
    LoginFault login = LoginFault::None;
    std::chrono::milliseconds loginDelay{0};  // for LoginFault::DelayAck

    bool dropsAt(std::uint64_t request) const;
    bool resetsAt(std::uint64_t request) const;
    bool hangsAt(std::uint64_t request) const;
    std::optional<std::chrono::milliseconds> delayFor(std::uint64_t request) const;
    const FailRequestFault* failureFor(std::uint64_t request) const;

    bool operator==(const Faults&) const = default;
};

// Another session in the server's database, as master..sysprocesses lists it: an idle
// connection of some other program (`idleSeconds` since its last batch). Names are UTF-8.
struct OtherSession {
    int spid = 0;  // 1 to 32767, smallint as on the server
    std::string login;
    std::string host;
    std::string program;
    std::int32_t idleSeconds = 0;

    bool operator==(const OtherSession&) const = default;
};

// The login's rights as IS_SRVROLEMEMBER('sysadmin') and IS_MEMBER('db_owner') report them.
enum class LoginRights { Sysadmin, Owner, None };

// What msdb..backupset tells of the database's full backups: the last one finished
// ServerConfig::backupAge before the server started; none recorded; the view closed to the
// login (error 229); or no msdb at all, as on an engine without it (error 208).
enum class BackupHistory { Recorded, None, Denied, NoMsdb };

struct ServerConfig {
    std::uint16_t port = 0;           // 0: any free port
    std::filesystem::path statePath;  // empty: state in memory only
    std::string initVersion;          // recorded version of a new state; empty: no row
    std::string user = "sa";
    std::string password;
    std::string database = "ZUV";
    std::string productVersion = "10.50.6000.34";
    // The protocol the server speaks; without it, that of the product version's generation.
    std::optional<TdsVersion> tdsVersion;
    EncryptionMode encryption = EncryptionMode::Login;
    // The certificate chain and key (PEM) for TLS; both empty: a self-signed one made at start.
    std::filesystem::path certificatePath;
    std::filesystem::path keyPath;
    TlsVersion highestTls = TlsVersion::V1_2;
    // The cipher suites TLS accepts, in OpenSSL's list form; empty: OpenSSL's defaults. A list
    // the client shares nothing with fails the handshake.
    std::string tlsCiphers;
    std::filesystem::path journalPath;  // empty: journal in memory only
    // A commit or rollback request with the "begin a new transaction" flag, arriving when the
    // session has no transaction (the server ended it inside a batch), is refused with error
    // 3902 / 3903. With this set the begin part is still carried out, so the session is in a new
    // transaction after the error; otherwise it stays outside any.
    bool refusedEndBegins = false;
    // The other sessions master..sysprocesses lists beside the server's own connections; their
    // spids are never given to a connection.
    std::vector<OtherSession> otherSessions;
    // VIEW SERVER STATE (2005 and later): without it HAS_PERMS_BY_NAME answers 0 and
    // sysprocesses shows a login only its own session. A 2000 shows every session to everyone.
    bool viewServerState = true;
    LoginRights rights = LoginRights::Sysadmin;
    BackupHistory backup = BackupHistory::Recorded;
    std::chrono::seconds backupAge = std::chrono::hours(1);
    Faults faults;

    bool operator==(const ServerConfig&) const = default;
};

// Throws std::invalid_argument when the settings contradict each other: two other sessions with
// one spid, a spid outside 1 to 32767, or a blocked batch whose blocker is no other session.
void checkConfig(const ServerConfig& config);

}  // namespace tds
