#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DatabaseState.h"
#include "Journal.h"
#include "Login.h"
#include "ServerConfig.h"
#include "ServerContext.h"

namespace tds {

// A fake SQL Server on 127.0.0.1 for the real ODBC driver stack: it logs in, answers the
// batches the program and its packages send, keeps transactions apart until commit, and
// records every request. One thread per connection.
//
// Tests start it in process with port 0 and a temporary state file of their own:
//
//   tds::Server server({.statePath = dir / "state", .initVersion = "8.2.0.6"});
//   connect to "...;SERVER=127.0.0.1;PORT=" + std::to_string(server.port()) + ";..."
class Server {
  public:
    // Loads or creates the state, opens the journal and starts accepting connections.
    // Throws std::system_error (socket), std::runtime_error (state or journal file) or
    // std::invalid_argument (settings that contradict each other, see checkConfig).
    explicit Server(ServerConfig config);
    // Stops accepting, ends every session (open transactions are rolled back) and joins all
    // threads. Never throws.
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    std::uint16_t port() const;

    // The committed state: what a new connection would read.
    DatabaseState state() const;
    std::vector<VersionRow> versionRows() const;
    GenerationMapping generationMapping() const;

    // Replace committed data, e.g. before a test connects. Persisted like any commit.
    void setVersionRows(std::vector<VersionRow> rows);
    void setGenerationMapping(GenerationMapping mapping);
    // What dbo.fn_WERSJA_MS_SQL() reads as the server's product version.
    void setProductVersion(std::string version);
    // Replaces the injected batch failures for every later batch of every session.
    void setFailBatches(std::vector<FailBatchFault> faults);

    // Every request so far, in arrival order.
    std::vector<JournalEntry> journal() const;
    // The values of every LOGIN7 received (failed log-ins included), in arrival order.
    std::vector<LoginRequest> logins() const;
    // How each connection's log-in went on the wire (encryption, protocol version), in the
    // order the log-ins ended.
    std::vector<ConnectionRecord> connections() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tds
