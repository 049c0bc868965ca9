#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "Transport.h"

// TDS packet framing: an 8-byte header (type, status, big-endian length, SPID, packet id,
// window) in front of every packet; a message is the payloads of its packets up to the one
// whose status has the end-of-message bit.
namespace tds {

namespace packet_type {
constexpr std::uint8_t kSqlBatch = 0x01;
constexpr std::uint8_t kRpc = 0x03;
constexpr std::uint8_t kReply = 0x04;
constexpr std::uint8_t kAttention = 0x06;
constexpr std::uint8_t kTransactionManager = 0x0E;
constexpr std::uint8_t kLogin7 = 0x10;
constexpr std::uint8_t kPreLogin = 0x12;
}  // namespace packet_type

constexpr std::size_t kDefaultPacketSize = 4096;

struct Message {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> payload;
};

// Reads whole messages from a connection. Packet ids are not checked: the client sends 1 for
// every packet after login.
class MessageReader {
  public:
    enum class Status { Ok, Timeout, Closed };

    MessageReader(Transport& transport, int stopFd) : transport_(transport), stopFd_(stopFd) {}

    // Closed covers end of stream, socket errors, a stop of the server and broken framing.
    // Timeout is reported only while no byte of the next message has arrived.
    Status read(Message& out, std::optional<std::chrono::milliseconds> timeout = std::nullopt);

    // Turns TLS on for the connection once `tls` has shaken hands: whatever was read off the
    // socket and not yet taken is TLS already. False when it cannot be decrypted.
    bool startTls(std::unique_ptr<TlsSession> tls);
    // Turns TLS off again; what was decrypted and not yet taken stays.
    void stopTls() { transport_.stopTls(); }

  private:
    Status fill(std::size_t count, std::optional<std::chrono::steady_clock::time_point> deadline);

    Transport& transport_;
    int stopFd_;
    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
};

// Sends one message, split into packets of at most packetSize bytes. False when the peer is gone.
bool sendMessage(Transport& transport, std::uint8_t type, std::span<const std::uint8_t> payload,
                 std::size_t packetSize);

}  // namespace tds
