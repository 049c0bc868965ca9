#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "db/platforma/WymianaTCP.h"

namespace zuv {

namespace {

using Zegar = std::chrono::steady_clock;

class Gniazdo {
  public:
    explicit Gniazdo(int fd = -1) : fd_(fd) {}
    ~Gniazdo() {
        if (fd_ >= 0) ::close(fd_);
    }
    Gniazdo(Gniazdo&& inne) noexcept : fd_(std::exchange(inne.fd_, -1)) {}
    Gniazdo& operator=(Gniazdo&& inne) noexcept {
        std::swap(fd_, inne.fd_);
        return *this;
    }
    int fd() const { return fd_; }

  private:
    int fd_;
};

// Waits until the socket is ready for `zdarzenia` or the deadline passes; false then.
bool Czekaj(int fd, short zdarzenia, Zegar::time_point koniec) {
    for (;;) {
        const auto zostalo =
            std::chrono::duration_cast<std::chrono::milliseconds>(koniec - Zegar::now()).count();
        if (zostalo <= 0) return false;
        pollfd p{fd, zdarzenia, 0};
        const int wynik = ::poll(&p, 1, static_cast<int>(zostalo));
        if (wynik > 0) return true;
        if (wynik == 0) return false;
        if (errno != EINTR) return true;  // the next call on the socket says what failed
    }
}

// A non-blocking socket connected to one of the addresses; none (fd -1) when no address accepts
// in time.
Gniazdo Polacz(const addrinfo* adresy, Zegar::time_point koniec) {
    for (const addrinfo* a = adresy; a != nullptr; a = a->ai_next) {
        Gniazdo gniazdo(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
        const int fd = gniazdo.fd();
        if (fd < 0) continue;
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) continue;
            if (!Czekaj(fd, POLLOUT, koniec)) return Gniazdo();
            int blad = 0;
            socklen_t dlugosc = sizeof blad;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &blad, &dlugosc) != 0 || blad != 0) continue;
        }
        return gniazdo;
    }
    return Gniazdo();
}

}  // namespace

WynikWymianyTCP WymienTCP(const std::string& komputer, std::uint16_t port,
                          std::span<const std::uint8_t> zapytanie,
                          const std::function<bool(const std::vector<std::uint8_t>&)>& cala,
                          std::chrono::milliseconds limit, std::vector<std::uint8_t>& odpowiedz) {
    odpowiedz.clear();
    addrinfo wskazowki{};
    wskazowki.ai_family = AF_UNSPEC;
    wskazowki.ai_socktype = SOCK_STREAM;
    addrinfo* adresy = nullptr;
    if (::getaddrinfo(komputer.c_str(), std::to_string(port).c_str(), &wskazowki, &adresy) != 0)
        return WynikWymianyTCP::BrakPolaczenia;
    const auto koniec = Zegar::now() + limit;
    const Gniazdo gniazdo = Polacz(adresy, koniec);
    ::freeaddrinfo(adresy);
    const int fd = gniazdo.fd();
    if (fd < 0) return WynikWymianyTCP::BrakPolaczenia;

    std::size_t wyslane = 0;
    while (wyslane < zapytanie.size()) {
        const ssize_t n =
            ::send(fd, zapytanie.data() + wyslane, zapytanie.size() - wyslane, MSG_NOSIGNAL);
        if (n > 0) {
            wyslane += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!Czekaj(fd, POLLOUT, koniec)) return WynikWymianyTCP::CzasMinal;
        } else {
            return WynikWymianyTCP::Zamkniete;
        }
    }
    for (;;) {
        std::uint8_t bufor[4096];
        const ssize_t n = ::recv(fd, bufor, sizeof bufor, 0);
        if (n > 0) {
            odpowiedz.insert(odpowiedz.end(), bufor, bufor + n);
            if (cala(odpowiedz)) return WynikWymianyTCP::Odpowiedz;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!Czekaj(fd, POLLIN, koniec)) return WynikWymianyTCP::CzasMinal;
        } else {
            return WynikWymianyTCP::Zamkniete;  // closed in order (0) or reset
        }
    }
}

}  // namespace zuv
