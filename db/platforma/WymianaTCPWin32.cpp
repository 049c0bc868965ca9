// winsock2.h goes before anything that could bring in windows.h with the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>

#include "db/platforma/WymianaTCP.h"

namespace zuv {

namespace {

using Zegar = std::chrono::steady_clock;

// Windows Sockets for the length of one exchange; WSAStartup counts its callers.
class BibliotekaGniazd {
  public:
    BibliotekaGniazd() {
        WSADATA dane;
        gotowa_ = ::WSAStartup(MAKEWORD(2, 2), &dane) == 0;
    }
    ~BibliotekaGniazd() {
        if (gotowa_) ::WSACleanup();
    }
    BibliotekaGniazd(const BibliotekaGniazd&) = delete;
    BibliotekaGniazd& operator=(const BibliotekaGniazd&) = delete;
    bool Gotowa() const { return gotowa_; }

  private:
    bool gotowa_ = false;
};

class Gniazdo {
  public:
    explicit Gniazdo(SOCKET s = INVALID_SOCKET) : s_(s) {}
    ~Gniazdo() {
        if (s_ != INVALID_SOCKET) ::closesocket(s_);
    }
    Gniazdo(Gniazdo&& inne) noexcept : s_(std::exchange(inne.s_, INVALID_SOCKET)) {}
    Gniazdo& operator=(Gniazdo&& inne) noexcept {
        std::swap(s_, inne.s_);
        return *this;
    }
    SOCKET s() const { return s_; }

  private:
    SOCKET s_;
};

enum class Gotowosc { Gotowe, Blad, CzasMinal };

// Waits until the socket can be written (`doZapisu`) or read, or the deadline passes. select, not
// WSAPoll, which misses a failed connect on older Windows: a failed connect is told in the
// exception set.
Gotowosc Czekaj(SOCKET s, bool doZapisu, Zegar::time_point koniec) {
    const auto zostalo =
        std::chrono::duration_cast<std::chrono::microseconds>(koniec - Zegar::now()).count();
    if (zostalo <= 0) return Gotowosc::CzasMinal;
    fd_set gotowe;
    fd_set bledy;
    FD_ZERO(&gotowe);
    FD_ZERO(&bledy);
    FD_SET(s, &gotowe);
    FD_SET(s, &bledy);
    timeval czas{static_cast<long>(zostalo / 1000000), static_cast<long>(zostalo % 1000000)};
    const int wynik =
        ::select(0, doZapisu ? nullptr : &gotowe, doZapisu ? &gotowe : nullptr, &bledy, &czas);
    if (wynik == 0) return Gotowosc::CzasMinal;
    if (wynik < 0 || FD_ISSET(s, &bledy)) return Gotowosc::Blad;
    return Gotowosc::Gotowe;
}

// A non-blocking socket connected to one of the addresses; none when no address accepts in time.
Gniazdo Polacz(const addrinfo* adresy, Zegar::time_point koniec) {
    for (const addrinfo* a = adresy; a != nullptr; a = a->ai_next) {
        Gniazdo gniazdo(::socket(a->ai_family, a->ai_socktype, a->ai_protocol));
        const SOCKET s = gniazdo.s();
        if (s == INVALID_SOCKET) continue;
        u_long nieblokujace = 1;
        ::ioctlsocket(s, FIONBIO, &nieblokujace);
        if (::connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) != 0) {
            if (::WSAGetLastError() != WSAEWOULDBLOCK) continue;
            const Gotowosc gotowosc = Czekaj(s, true, koniec);
            if (gotowosc == Gotowosc::CzasMinal) return Gniazdo();
            if (gotowosc == Gotowosc::Blad) continue;
        }
        return gniazdo;
    }
    return Gniazdo();
}

bool Ponow(int blad) { return blad == WSAEWOULDBLOCK || blad == WSAEINTR; }

}  // namespace

WynikWymianyTCP WymienTCP(const std::string& komputer, std::uint16_t port,
                          std::span<const std::uint8_t> zapytanie,
                          const std::function<bool(const std::vector<std::uint8_t>&)>& cala,
                          std::chrono::milliseconds limit, std::vector<std::uint8_t>& odpowiedz) {
    odpowiedz.clear();
    const BibliotekaGniazd biblioteka;
    if (!biblioteka.Gotowa()) return WynikWymianyTCP::BrakPolaczenia;
    addrinfo wskazowki{};
    wskazowki.ai_family = AF_UNSPEC;
    wskazowki.ai_socktype = SOCK_STREAM;
    wskazowki.ai_protocol = IPPROTO_TCP;
    addrinfo* adresy = nullptr;
    if (::getaddrinfo(komputer.c_str(), std::to_string(port).c_str(), &wskazowki, &adresy) != 0)
        return WynikWymianyTCP::BrakPolaczenia;
    const auto koniec = Zegar::now() + limit;
    const Gniazdo gniazdo = Polacz(adresy, koniec);
    ::freeaddrinfo(adresy);
    const SOCKET s = gniazdo.s();
    if (s == INVALID_SOCKET) return WynikWymianyTCP::BrakPolaczenia;

    std::size_t wyslane = 0;
    while (wyslane < zapytanie.size()) {
        const int n = ::send(s, reinterpret_cast<const char*>(zapytanie.data() + wyslane),
                             static_cast<int>(zapytanie.size() - wyslane), 0);
        if (n > 0) {
            wyslane += static_cast<std::size_t>(n);
        } else if (n < 0 && Ponow(::WSAGetLastError())) {
            if (Czekaj(s, true, koniec) == Gotowosc::CzasMinal) return WynikWymianyTCP::CzasMinal;
        } else {
            return WynikWymianyTCP::Zamkniete;
        }
    }
    for (;;) {
        char bufor[4096];
        const int n = ::recv(s, bufor, sizeof bufor, 0);
        if (n > 0) {
            odpowiedz.insert(odpowiedz.end(), bufor, bufor + n);
            if (cala(odpowiedz)) return WynikWymianyTCP::Odpowiedz;
        } else if (n < 0 && Ponow(::WSAGetLastError())) {
            if (Czekaj(s, false, koniec) == Gotowosc::CzasMinal) return WynikWymianyTCP::CzasMinal;
        } else {
            return WynikWymianyTCP::Zamkniete;  // closed in order (0) or reset
        }
    }
}

}  // namespace zuv
