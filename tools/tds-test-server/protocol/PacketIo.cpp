#include "PacketIo.h"

#include <algorithm>

#include "Socket.h"

namespace tds {
namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::uint8_t kEndOfMessage = 0x01;
// A guard against a runaway peer; the largest batches are a few megabytes of UCS-2.
constexpr std::size_t kMaxMessageSize = std::size_t{256} * 1024 * 1024;

}  // namespace

MessageReader::Status MessageReader::fill(
    std::size_t count, std::optional<std::chrono::steady_clock::time_point> deadline) {
    while (buffer_.size() - pos_ < count) {
        int timeoutMs = -1;
        if (deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                *deadline - std::chrono::steady_clock::now());
            timeoutMs = static_cast<int>(std::max<std::int64_t>(0, left.count()));
        }
        switch (waitReadable(transport_.fd(), stopFd_, timeoutMs)) {
            case WaitResult::Timeout:
                return Status::Timeout;
            case WaitResult::Stopped:
                return Status::Closed;
            case WaitResult::Ready:
                break;
        }
        if (pos_ > 0) {
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(pos_));
            pos_ = 0;
        }
        if (transport_.receive(buffer_) == Transport::Received::Closed) return Status::Closed;
    }
    return Status::Ok;
}

bool MessageReader::startTls(std::unique_ptr<TlsSession> tls) {
    std::vector<std::uint8_t> early(buffer_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                    buffer_.end());
    buffer_.clear();
    pos_ = 0;
    return transport_.startTls(std::move(tls), early, buffer_);
}

MessageReader::Status MessageReader::read(Message& out,
                                          std::optional<std::chrono::milliseconds> timeout) {
    out.type = 0;
    out.payload.clear();
    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (timeout) deadline = std::chrono::steady_clock::now() + *timeout;
    bool first = true;
    for (;;) {
        // Only the wait for a new message may time out; a started message is read to its end.
        const Status headerStatus = fill(kHeaderSize, first ? deadline : std::nullopt);
        if (headerStatus != Status::Ok) return headerStatus;
        const std::uint8_t* header = buffer_.data() + pos_;
        const std::uint8_t type = header[0];
        const std::uint8_t status = header[1];
        const std::size_t length = (std::size_t{header[2]} << 8) | header[3];
        if (length < kHeaderSize) return Status::Closed;
        if (first) {
            out.type = type;
        } else if (type != out.type) {
            return Status::Closed;
        }
        first = false;
        if (fill(length, std::nullopt) != Status::Ok) return Status::Closed;
        const std::uint8_t* body = buffer_.data() + pos_ + kHeaderSize;
        out.payload.insert(out.payload.end(), body, body + (length - kHeaderSize));
        pos_ += length;
        if (out.payload.size() > kMaxMessageSize) return Status::Closed;
        if (status & kEndOfMessage) return Status::Ok;
    }
}

bool sendMessage(Transport& transport, std::uint8_t type, std::span<const std::uint8_t> payload,
                 std::size_t packetSize) {
    const std::size_t chunkSize = std::max<std::size_t>(packetSize, 512) - kHeaderSize;
    std::vector<std::uint8_t> packet;
    std::size_t offset = 0;
    std::uint8_t packetId = 1;
    do {
        const std::size_t size = std::min(chunkSize, payload.size() - offset);
        const bool last = offset + size == payload.size();
        const std::size_t length = size + kHeaderSize;
        packet.assign({type, static_cast<std::uint8_t>(last ? kEndOfMessage : 0),
                       static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), 0,
                       0, packetId++, 0});
        packet.insert(packet.end(), payload.begin() + static_cast<std::ptrdiff_t>(offset),
                      payload.begin() + static_cast<std::ptrdiff_t>(offset + size));
        if (!transport.send(packet)) return false;
        offset += size;
    } while (offset < payload.size());
    return true;
}

}  // namespace tds
