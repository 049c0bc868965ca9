#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// File descriptors and the few socket calls the server makes (POSIX).
namespace tds {

// Owns one file descriptor and closes it on destruction.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release();

  private:
    int fd_ = -1;
};

// A pipe whose read end becomes readable, for every waiter at once, after stop(). Threads that
// wait on a socket also wait on fd(), so stopping the server wakes them all.
class StopSignal {
  public:
    StopSignal();  // throws std::system_error
    void stop();
    int fd() const { return read_.get(); }

  private:
    UniqueFd read_;
    UniqueFd write_;
    std::atomic<bool> stopped_{false};
};

// A listening TCP socket on 127.0.0.1; port 0 lets the system choose. Throws std::system_error.
UniqueFd listenOnLoopback(std::uint16_t port);
std::uint16_t boundPort(int socketFd);
// Accepts one connection (TCP_NODELAY set, since replies are small); invalid on failure.
UniqueFd acceptConnection(int listenFd);

enum class WaitResult { Ready, Timeout, Stopped };
// Waits until fd is readable, stopFd is signalled or timeoutMs passes (-1: no limit).
WaitResult waitReadable(int fd, int stopFd, int timeoutMs);

// Makes the coming close of fd reset the connection (RST) instead of ending it in order (FIN).
void resetOnClose(int fd);

// Writes everything; false when the peer is gone.
bool sendAll(int fd, const std::uint8_t* data, std::size_t size);

}  // namespace tds
