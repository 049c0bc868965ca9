#include "ServerConfig.h"

#include <algorithm>

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

}  // namespace tds
