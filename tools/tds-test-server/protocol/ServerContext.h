#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "AppLocks.h"
#include "Journal.h"
#include "Login.h"
#include "ProcessList.h"
#include "ServerConfig.h"
#include "StateStore.h"
#include "Tls.h"

namespace tds {

// How one connection's log-in went on the wire.
struct ConnectionRecord {
    int session = 0;
    EncryptionOutcome encryption = EncryptionOutcome::None;
    std::optional<TdsVersion> version;  // the version acknowledged; none without a log-in

    bool operator==(const ConnectionRecord&) const = default;
};

// The server's TLS certificate: the configured files, a self-signed one made now, or none when
// encryption is off. Throws TlsError.
std::shared_ptr<const TlsContext> tlsFor(const ServerConfig& config);

// What every session of one server shares. The server owns it; sessions hold a reference.
class ServerContext {
  public:
    ServerContext(const ServerConfig& config, StateStore& state, Journal& journal, int stopFd)
        : config_(config),
          state_(state),
          journal_(journal),
          stopFd_(stopFd),
          tls_(tlsFor(config)),
          productVersion_(config.productVersion),
          failBatches_(config.faults.failBatches),
          processes_(config.otherSessions) {}

    const ServerConfig& config() const { return config_; }
    StateStore& state() { return state_; }
    Journal& journal() { return journal_; }
    // Readable once the server stops.
    int stopFd() const { return stopFd_; }
    // Null when encryption is off.
    const TlsContext* tls() const { return tls_.get(); }

    // 1, 2, 3, ... over the server's lifetime: the numbers the drop and delay faults name.
    std::uint64_t nextRequestNumber() { return ++requests_; }
    // A fresh transaction descriptor for ENVCHANGE 8; never 0, which means "no transaction".
    std::uint64_t nextTransactionDescriptor() { return ++descriptors_; }
    int nextSessionId() { return ++sessions_; }

    std::string productVersion() const;
    void setProductVersion(std::string version);

    // The injected batch failures, starting from the configuration; tests replace them while the
    // server runs (a cause removed before the user tries again).
    std::vector<FailBatchFault> failBatches() const;
    void setFailBatches(std::vector<FailBatchFault> faults);

    // What each LOGIN7 carried, in arrival order.
    void recordLogin(LoginRequest login);
    std::vector<LoginRequest> logins() const;

    void recordConnection(const ConnectionRecord& record);

    // The sessions' application locks (sp_getapplock).
    AppLocks& appLocks() { return appLocks_; }
    // The processes master..sysprocesses lists: the other sessions and the connections.
    ProcessList& processes() { return processes_; }
    std::chrono::system_clock::time_point started() const { return started_; }
    std::vector<ConnectionRecord> connections() const;

  private:
    const ServerConfig& config_;
    StateStore& state_;
    Journal& journal_;
    const int stopFd_;
    const std::shared_ptr<const TlsContext> tls_;
    std::atomic<std::uint64_t> requests_{0};
    std::atomic<std::uint64_t> descriptors_{0};
    std::atomic<int> sessions_{0};
    mutable std::mutex settingsMutex_;
    std::string productVersion_;
    std::vector<FailBatchFault> failBatches_;
    std::vector<LoginRequest> logins_;
    std::vector<ConnectionRecord> connections_;
    AppLocks appLocks_;
    ProcessList processes_;
    const std::chrono::system_clock::time_point started_ = std::chrono::system_clock::now();
};

}  // namespace tds
