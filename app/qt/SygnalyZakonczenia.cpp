#include "app/qt/SygnalyZakonczenia.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <csignal>

namespace zuv {

namespace {

// A signal handler reaches only static storage: the pipe's writing end and whether a signal came
// already live here, set by the one SygnalyZakonczenia of the program.
std::atomic<int> koniecDoZapisu{-1};
std::atomic<bool> oczekujacy{false};

extern "C" void PoSygnale(int numer) {
    if (oczekujacy.exchange(true)) {
        std::signal(numer, SIG_DFL);
        std::raise(numer);
        return;
    }
    const char bajt = static_cast<char>(numer);
    const ssize_t zapisane = write(koniecDoZapisu, &bajt, 1);
    static_cast<void>(zapisane);  // nothing a signal handler could do about a full pipe
}

}  // namespace

SygnalyZakonczenia::SygnalyZakonczenia(std::function<void()> poSygnale, QObject* rodzic)
    : QObject(rodzic), poSygnale_(std::move(poSygnale)) {
    if (pipe2(potok_, O_CLOEXEC | O_NONBLOCK) != 0) return;  // the signals then act as before
    koniecDoZapisu = potok_[1];
    powiadomienie_ = new QSocketNotifier(potok_[0], QSocketNotifier::Read, this);
    connect(powiadomienie_, &QSocketNotifier::activated, this, [this] {
        char bajty[16];
        while (read(potok_[0], bajty, sizeof bajty) > 0) {
        }
        poSygnale_();
    });
    struct sigaction akcja {};
    akcja.sa_handler = PoSygnale;
    sigemptyset(&akcja.sa_mask);
    akcja.sa_flags = SA_RESTART;
    sigaction(SIGINT, &akcja, nullptr);
    sigaction(SIGTERM, &akcja, nullptr);
}

SygnalyZakonczenia::~SygnalyZakonczenia() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    koniecDoZapisu = -1;
    for (const int koniec : potok_)
        if (koniec >= 0) close(koniec);
}

}  // namespace zuv
