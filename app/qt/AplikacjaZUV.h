#pragma once
// The application object. Every handler of the window runs as an event delivered through
// `notify`, which catches whatever the handler throws and shows it with the default error
// handler; the program then goes on running in the state the handler left.

#include <QApplication>
#include <QEvent>
#include <exception>
#include <functional>
#include <string>

namespace zuv {

class OknaKomunikatow;

// An event that carries one handler of the window to `notify`.
class ZdarzenieObslugi : public QEvent {
  public:
    static const QEvent::Type Typ;
    explicit ZdarzenieObslugi(std::function<void()> obsluga)
        : QEvent(Typ), obsluga_(std::move(obsluga)) {}
    void Wykonaj() const { obsluga_(); }

  private:
    std::function<void()> obsluga_;
};

class AplikacjaZUV : public QApplication {
  public:
    // `komunikaty` shows the error boxes and must outlive the application object.
    AplikacjaZUV(int& argc, char** argv, OknaKomunikatow& komunikaty);

    bool notify(QObject* odbiorca, QEvent* zdarzenie) override;

    // The executable's file name without its folder and without everything from its first "."
    // on, every character after the first in lower case ("UPDATE.EXE" gives "Update").
    std::string Tytul() const;
    OknaKomunikatow& Komunikaty() const { return komunikaty_; }

    // The default error handler: the error's message, "." appended when its last character
    // sorts above ".", in a stop box captioned with the title.
    void PokazBlad(const std::exception& blad) const;

  private:
    OknaKomunikatow& komunikaty_;
};

// Runs the handler through the application's `notify`, so that its errors reach the default
// error handler. Returns whether it ran to its end.
bool UruchomObsluge(QObject* odbiorca, std::function<void()> obsluga);

}  // namespace zuv
