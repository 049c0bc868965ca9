#include "ServerContext.h"

namespace tds {

std::string ServerContext::productVersion() const {
    std::lock_guard lock(productVersionMutex_);
    return productVersion_;
}

void ServerContext::setProductVersion(std::string version) {
    std::lock_guard lock(productVersionMutex_);
    productVersion_ = std::move(version);
}

}  // namespace tds
