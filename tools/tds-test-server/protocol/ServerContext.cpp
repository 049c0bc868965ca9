#include "ServerContext.h"

namespace tds {

std::string ServerContext::productVersion() const {
    std::lock_guard lock(settingsMutex_);
    return productVersion_;
}

void ServerContext::setProductVersion(std::string version) {
    std::lock_guard lock(settingsMutex_);
    productVersion_ = std::move(version);
}

std::vector<FailBatchFault> ServerContext::failBatches() const {
    std::lock_guard lock(settingsMutex_);
    return failBatches_;
}

void ServerContext::setFailBatches(std::vector<FailBatchFault> faults) {
    std::lock_guard lock(settingsMutex_);
    failBatches_ = std::move(faults);
}

void ServerContext::recordLogin(LoginRequest login) {
    std::lock_guard lock(settingsMutex_);
    logins_.push_back(std::move(login));
}

std::vector<LoginRequest> ServerContext::logins() const {
    std::lock_guard lock(settingsMutex_);
    return logins_;
}

}  // namespace tds
