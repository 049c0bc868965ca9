#include "AppLocks.h"

#include "Text.h"

namespace tds {

bool AppLocks::acquire(std::string_view resource, int session, int& holder) {
    const std::lock_guard lock(mutex_);
    const auto [entry, added] = holders_.try_emplace(asciiLower(resource), session);
    holder = entry->second;
    return added || entry->second == session;
}

bool AppLocks::release(std::string_view resource, int session) {
    const std::lock_guard lock(mutex_);
    const auto entry = holders_.find(asciiLower(resource));
    if (entry == holders_.end() || entry->second != session) return false;
    holders_.erase(entry);
    return true;
}

void AppLocks::releaseAll(int session) {
    const std::lock_guard lock(mutex_);
    std::erase_if(holders_, [session](const auto& entry) { return entry.second == session; });
}

std::optional<AppLockCall> parseAppLockCall(std::string_view text) {
    const std::string lower = asciiLower(text);
    AppLockCall call;
    if (lower.find("sp_getapplock") != std::string::npos) {
        call.acquire = true;
    } else if (lower.find("sp_releaseapplock") != std::string::npos) {
        call.acquire = false;
    } else {
        return std::nullopt;
    }
    const std::size_t parameter = lower.find("@resource");
    if (parameter == std::string::npos) return std::nullopt;
    const std::size_t open = lower.find('\'', parameter);
    const std::size_t close = open == std::string::npos ? open : lower.find('\'', open + 1);
    if (close == std::string::npos) return std::nullopt;
    call.resource = std::string(text.substr(open + 1, close - open - 1));
    return call;
}

}  // namespace tds
