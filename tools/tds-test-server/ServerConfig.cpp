#include "ServerConfig.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>

namespace tds {

bool Faults::hangsAt(std::uint64_t request) const {
    return std::find(hangAtRequests.begin(), hangAtRequests.end(), request) != hangAtRequests.end();
}

bool Faults::dropsAt(std::uint64_t request) const {
    return std::find(dropAtRequests.begin(), dropAtRequests.end(), request) != dropAtRequests.end();
}

bool Faults::resetsAt(std::uint64_t request) const {
    return std::find(resetAtRequests.begin(), resetAtRequests.end(), request) !=
           resetAtRequests.end();
}

std::optional<std::chrono::milliseconds> Faults::delayFor(std::uint64_t request) const {
    for (const DelayFault& delay : delays) {
        if (delay.request == request) return delay.delay;
    }
    return std::nullopt;
}

const FailRequestFault* Faults::failureFor(std::uint64_t request) const {
    for (const FailRequestFault& failure : failRequests) {
        if (failure.request == request) return &failure;
    }
    return nullptr;
}

void checkConfig(const ServerConfig& config) {
    std::set<int> spids;
    for (const OtherSession& session : config.otherSessions) {
        if (session.spid < 1 || session.spid > 32767) {
            throw std::invalid_argument("session number " + std::to_string(session.spid) +
                                        " outside 1 to 32767");
        }
        if (!spids.insert(session.spid).second) {
            throw std::invalid_argument("two other sessions numbered " +
                                        std::to_string(session.spid));
        }
    }
    for (const BlockBatchFault& block : config.faults.blockBatches) {
        if (!spids.contains(block.blocker)) {
            throw std::invalid_argument("batch " + std::to_string(block.batch) + " of " +
                                        block.packageVersion + " is blocked by session " +
                                        std::to_string(block.blocker) +
                                        ", which is no other session (--session)");
        }
    }
}

}  // namespace tds
