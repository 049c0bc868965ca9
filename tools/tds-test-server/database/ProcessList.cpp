#include "ProcessList.h"

#include <algorithm>

namespace tds {

ProcessList::ProcessList(std::vector<OtherSession> others) : others_(std::move(others)) {}

int ProcessList::open() {
    const std::lock_guard lock(mutex_);
    do {
        ++lastSpid_;
    } while (other(lastSpid_) != nullptr);
    connections_.emplace(lastSpid_, std::nullopt);
    return lastSpid_;
}

void ProcessList::close(int spid) {
    const std::lock_guard lock(mutex_);
    connections_.erase(spid);
}

void ProcessList::startWait(int spid, int blocker) {
    const std::lock_guard lock(mutex_);
    if (const auto connection = connections_.find(spid); connection != connections_.end())
        connection->second = Wait{blocker, std::chrono::steady_clock::now()};
}

void ProcessList::endWait(int spid) {
    const std::lock_guard lock(mutex_);
    if (const auto connection = connections_.find(spid); connection != connections_.end())
        connection->second.reset();
}

const OtherSession* ProcessList::other(int spid) const {
    const auto found =
        std::find_if(others_.begin(), others_.end(),
                     [spid](const OtherSession& other) { return other.spid == spid; });
    return found == others_.end() ? nullptr : &*found;
}

std::optional<ProcessList::Waiting> ProcessList::waitingOf(int spid) const {
    if (other(spid) != nullptr) return Waiting{};
    const std::lock_guard lock(mutex_);
    const auto connection = connections_.find(spid);
    if (connection == connections_.end()) return std::nullopt;
    if (!connection->second) return Waiting{};
    return Waiting{connection->second->blocker,
                   std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - connection->second->since)};
}

}  // namespace tds
