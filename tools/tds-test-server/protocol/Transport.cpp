#include "Transport.h"

#include <sys/socket.h>

#include <cerrno>

#include "Socket.h"

namespace tds {

Transport::Received Transport::receive(std::vector<std::uint8_t>& out) {
    std::uint8_t chunk[16384];
    ssize_t got = 0;
    do {
        got = ::recv(fd_, chunk, sizeof chunk, 0);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return Received::Closed;
    if (!tls_) {
        out.insert(out.end(), chunk, chunk + got);
        return Received::Data;
    }
    tls_->feed(std::span<const std::uint8_t>(chunk, static_cast<std::size_t>(got)));
    const std::size_t before = out.size();
    if (!tls_->decrypt(out)) {
        error_ = tls_->error();
        return Received::Closed;
    }
    return out.size() > before ? Received::Data : Received::Nothing;
}

bool Transport::send(std::span<const std::uint8_t> data) {
    if (!tls_) return sendAll(fd_, data.data(), data.size());
    if (!tls_->encrypt(data)) {
        error_ = tls_->error();
        return false;
    }
    const std::vector<std::uint8_t> records = tls_->takeOutput();
    return sendAll(fd_, records.data(), records.size());
}

bool Transport::startTls(std::unique_ptr<TlsSession> tls, std::span<const std::uint8_t> early,
                         std::vector<std::uint8_t>& out) {
    tls_ = std::move(tls);
    if (early.empty()) return true;
    tls_->feed(early);
    if (tls_->decrypt(out)) return true;
    error_ = tls_->error();
    return false;
}

}  // namespace tds
