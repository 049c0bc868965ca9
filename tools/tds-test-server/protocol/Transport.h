#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Tls.h"

namespace tds {

// The bytes of one connection in both directions: the socket as it is, or TLS over it from the
// moment the log-in turned it on until it turns it off again.
class Transport {
  public:
    explicit Transport(int socketFd) : fd_(socketFd) {}

    int fd() const { return fd_; }
    bool encrypted() const { return tls_ != nullptr; }

    enum class Received { Data, Nothing, Closed };
    // Reads what the socket holds (call it once the socket is readable) and appends the plain
    // bytes to `out`. Nothing: only part of a TLS record came. Closed: end of stream, an error,
    // or TLS the server cannot read (reported on stderr by the caller through error()).
    Received receive(std::vector<std::uint8_t>& out);

    // Sends all of `data`; false when the peer is gone or TLS fails.
    bool send(std::span<const std::uint8_t> data);

    // From now on both directions go through `tls`, whose handshake is done. `early` holds what
    // was read off the socket after the handshake (TLS records already); its plain bytes are
    // appended to `out`. False when they cannot be decrypted.
    bool startTls(std::unique_ptr<TlsSession> tls, std::span<const std::uint8_t> early,
                  std::vector<std::uint8_t>& out);
    // Back to the socket as it is, as after a log-in whose packet alone was encrypted.
    void stopTls() { tls_.reset(); }

    // Why the last receive or send failed under TLS.
    const std::string& error() const { return error_; }

  private:
    int fd_;
    std::unique_ptr<TlsSession> tls_;
    std::string error_;
};

}  // namespace tds
