#include "app/okno/SzkieletOkna.h"

#include <cstdlib>
#include <exception>
#include <utility>

namespace zuv {

SzkieletOkna::SzkieletOkna(OknoSzkieletu& okno, Polaczenie& conn, WidokOkna widok,
                           Dziennik* dziennik)
    : okno_(okno),
      polecenie_(conn, widok, dziennik),
      zakonczProces_([](int kod) { std::_Exit(kod); }) {}

SzkieletOkna::~SzkieletOkna() {
    if (watek_.joinable()) watek_.join();
    // Closing rolls back first. A destructor cannot report a failure; if the roll back fails, the
    // session still ends with the connection handle, and the server rolls back what was open.
    try {
        polecenie_.Rozlacz();
    } catch (const std::exception&) {
    }
}

void SzkieletOkna::Loguj() {
    if (!WOczekiwaniu()) Uruchom(polecenie_.RozpocznijLogowanie());
}

void SzkieletOkna::Aktualizuj() {
    if (!WOczekiwaniu()) Uruchom(polecenie_.RozpocznijAktualizacje());
}

void SzkieletOkna::Uruchom(std::optional<ZadanieWTle> zadanie) {
    if (!zadanie) return;
    if (zadanie->Jakie() == ZadanieWTle::Rodzaj::Przebieg) okno_.PrzebiegRozpoczety();
    okno_.WstrzymajWejscie(true);
    okno_.UstawZegar(true);
    zadanie_ = std::move(zadanie);
    watek_ = std::thread([this] {
        zadanie_->Wykonaj();
        okno_.ZglosKoniecPracy();
    });
}

void SzkieletOkna::Tik() {
    if (!zadanie_) return;
    zadanie_->Postep();
    // A stop the server leaves unanswered, and the administrator chose to end: the call's
    // thread waits in the driver and cannot be joined; the server rolls back what the session
    // left open once the process is gone.
    if (polecenie_.SprawdzPrzerwanie()) zakonczProces_(1);
    if (ZakonczPorzucone()) return;
    // The call ended while the box about an unanswered stop was open: its end now.
    if (koniecOdlozony_ && !polecenie_.PytanieOPrzerwanieOtwarte()) {
        koniecOdlozony_ = false;
        PoPracy();
    }
}

bool SzkieletOkna::ZakonczPorzucone() {
    // Closed during a log-in or a version read: the driver may hold the call for its whole
    // log-in time-out, and nothing is open on the server, so the program ends now.
    if (!polecenie_.PorzucZadanie()) return false;
    zakonczProces_(0);
    return true;
}

void SzkieletOkna::PoPracy() {
    if (!watek_.joinable()) return;
    if (polecenie_.PytanieOPrzerwanieOtwarte()) {
        koniecOdlozony_ = true;
        return;
    }
    watek_.join();
    okno_.UstawZegar(false);
    okno_.WstrzymajWejscie(false);
    ZadanieWTle zadanie = *std::exchange(zadanie_, std::nullopt);
    std::optional<ZadanieWTle> nastepne;
    const bool udane = okno_.UruchomObsluge([&] { nastepne = zadanie.Zakoncz(); });
    if (zadanie.Jakie() == ZadanieWTle::Rodzaj::Przebieg) {
        okno_.PrzebiegZakonczony(udane);
        polecenie_.PokazOstrzezenieDziennika();
    }
    // A close asked for during the call or the run: the window closes now that it has ended.
    if (polecenie_.ZamknijPoPrzebiegu())
        okno_.Zamknij();
    else
        Uruchom(std::move(nastepne));
}

}  // namespace zuv
