#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "ServerConfig.h"

namespace tds {

// The server's processes as master..sysprocesses numbers them: the configured other sessions,
// idle in the server's database, and the server's own connections, each with a spid, and which
// connection waits on a lock of which session, since when. Shared by every session's thread.
class ProcessList {
  public:
    explicit ProcessList(std::vector<OtherSession> others);

    // The spid of a new connection: 51, 52, ... in the order of the connections, never one of a
    // configured session's and never given twice.
    int open();
    void close(int spid);

    // The connection `spid` waits on a lock of `blocker` from now until endWait.
    void startWait(int spid, int blocker);
    void endWait(int spid);

    const std::vector<OtherSession>& others() const { return others_; }
    const OtherSession* other(int spid) const;

    // What sysprocesses holds of a process: the spid it waits on (0: none) and for how long.
    struct Waiting {
        int blocked = 0;
        std::chrono::milliseconds waited{0};
    };
    // Nullopt for a spid no process has.
    std::optional<Waiting> waitingOf(int spid) const;

  private:
    const std::vector<OtherSession> others_;
    mutable std::mutex mutex_;
    int lastSpid_ = 50;
    struct Wait {
        int blocker = 0;
        std::chrono::steady_clock::time_point since;
    };
    // Open connections, with the lock each waits on.
    std::map<int, std::optional<Wait>> connections_;
};

}  // namespace tds
