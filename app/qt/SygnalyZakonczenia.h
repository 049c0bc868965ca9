#pragma once
// Ctrl+C in the terminal the program was started from, and SIGTERM (a logout, a shutdown, kill),
// brought to the window's thread: a signal handler may do no more than write to a pipe, whose
// other end the event loop watches. A second signal ends the program at once, as the signal would
// have without this: an administrator who will not wait for the roll back leaves it to the server.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zuv {

class SygnalyZakonczenia : public QObject {
  public:
    // `poSygnale` runs on the thread that made this object, once.
    explicit SygnalyZakonczenia(std::function<void()> poSygnale, QObject* rodzic = nullptr);
    ~SygnalyZakonczenia() override;
    SygnalyZakonczenia(const SygnalyZakonczenia&) = delete;
    SygnalyZakonczenia& operator=(const SygnalyZakonczenia&) = delete;

  private:
    std::function<void()> poSygnale_;
    int potok_[2] = {-1, -1};
    QSocketNotifier* powiadomienie_ = nullptr;
};

}  // namespace zuv
