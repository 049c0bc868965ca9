#include "Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tds {
namespace {

[[noreturn]] void throwErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

int UniqueFd::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

StopSignal::StopSignal() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throwErrno("pipe2");
    read_ = UniqueFd(fds[0]);
    write_ = UniqueFd(fds[1]);
}

void StopSignal::stop() {
    if (stopped_.exchange(true)) return;
    // The byte is never read, so the read end stays readable for every later poll.
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(write_.get(), &byte, 1);
}

UniqueFd listenOnLoopback(std::uint16_t port) {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) throwErrno("socket");
    const int on = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throwErrno("bind");
    }
    if (::listen(fd.get(), SOMAXCONN) != 0) throwErrno("listen");
    return fd;
}

std::uint16_t boundPort(int socketFd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(socketFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throwErrno("getsockname");
    }
    return ntohs(address.sin_port);
}

UniqueFd acceptConnection(int listenFd) {
    UniqueFd fd(::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC));
    if (fd.valid()) {
        const int on = 1;
        ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    return fd;
}

WaitResult waitReadable(int fd, int stopFd, int timeoutMs) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        const int rc = ::poll(fds, 2, timeoutMs);
        if (rc < 0 && errno == EINTR) continue;
        if (rc < 0) return WaitResult::Stopped;
        if (rc == 0) return WaitResult::Timeout;
        if (fds[1].revents != 0) return WaitResult::Stopped;
        return WaitResult::Ready;
    }
}

void resetOnClose(int fd) {
    const linger immediately{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &immediately, sizeof immediately);
}

bool sendAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

}  // namespace tds
