#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/wsadowa/platforma/Konsola.h"

namespace zuv {

namespace {

// A signal handler reaches only static storage: the flag lives here, set once, read by the
// program's loop.
std::atomic<bool> zatrzymanie{false};

extern "C" void PoSygnale(int numer) {
    if (zatrzymanie.exchange(true)) {
        // Asked twice: the administrator will not wait for the roll back; the server finishes it.
        std::signal(numer, SIG_DFL);
        std::raise(numer);
    }
}

}  // namespace

bool PrzygotujKonsole() {
    const char* terminal = std::getenv("TERM");
    return isatty(STDOUT_FILENO) == 1 && terminal != nullptr && std::string(terminal) != "dumb";
}

void WypiszTekst(std::FILE* strumien, const std::string& tekst) {
    std::fputs(tekst.c_str(), strumien);
}

bool WejscieZTerminala() { return isatty(STDIN_FILENO) == 1; }

int SzerokoscTerminala() {
    winsize rozmiar{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &rozmiar) == 0 && rozmiar.ws_col > 0)
        return rozmiar.ws_col;
    return 80;
}

std::optional<std::string> CzytajZTerminala(const std::string& zacheta, bool bezEcha) {
    std::fputs(zacheta.c_str(), stderr);
    std::fflush(stderr);
    termios dawne{};
    const bool zmienione = bezEcha && tcgetattr(STDIN_FILENO, &dawne) == 0;
    if (zmienione) {
        termios nowe = dawne;
        nowe.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &nowe);
    }
    std::string wiersz;
    const bool przeczytany = static_cast<bool>(std::getline(std::cin, wiersz));
    if (zmienione) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &dawne);
        std::fputs("\n", stderr);
    }
    if (!przeczytany) return std::nullopt;
    return wiersz;
}

void PrzechwytujZatrzymanie() {
    struct sigaction akcja {};
    akcja.sa_handler = PoSygnale;
    sigemptyset(&akcja.sa_mask);
    sigaction(SIGINT, &akcja, nullptr);
    sigaction(SIGTERM, &akcja, nullptr);
}

bool ZatrzymanieZadane() noexcept { return zatrzymanie; }

}  // namespace zuv
