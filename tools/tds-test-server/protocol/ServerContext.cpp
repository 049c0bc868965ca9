#include "ServerContext.h"

namespace tds {

std::shared_ptr<const TlsContext> tlsFor(const ServerConfig& config) {
    if (config.encryption == EncryptionMode::Off) return nullptr;
    if (config.certificatePath.empty() && config.keyPath.empty()) {
        return TlsContext::selfSigned(config.highestTls, config.tlsCiphers);
    }
    return TlsContext::fromFiles(config.certificatePath, config.keyPath, config.highestTls,
                                 config.tlsCiphers);
}

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

void ServerContext::recordConnection(const ConnectionRecord& record) {
    std::lock_guard lock(settingsMutex_);
    connections_.push_back(record);
}

std::vector<ConnectionRecord> ServerContext::connections() const {
    std::lock_guard lock(settingsMutex_);
    return connections_;
}

}  // namespace tds
