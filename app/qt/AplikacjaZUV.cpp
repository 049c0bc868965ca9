#include "app/qt/AplikacjaZUV.h"

#include "app/ObslugaBledu.h"
#include "app/OknaKomunikatow.h"

namespace zuv {

const QEvent::Type ZdarzenieObslugi::Typ = static_cast<QEvent::Type>(QEvent::registerEventType());

AplikacjaZUV::AplikacjaZUV(int& argc, char** argv, OknaKomunikatow& komunikaty)
    : QApplication(argc, argv), komunikaty_(komunikaty) {}

bool AplikacjaZUV::notify(QObject* odbiorca, QEvent* zdarzenie) {
    bool wynik = false;
    const bool zakonczona = UruchomWGranicyBledu(
        [&] {
            // The window's handlers run here, not inside Qt's own dispatch: an error they raise
            // is caught without unwinding through the toolkit's frames.
            if (zdarzenie->type() == ZdarzenieObslugi::Typ) {
                static_cast<ZdarzenieObslugi*>(zdarzenie)->Wykonaj();
                zdarzenie->accept();
                wynik = true;
                return;
            }
            wynik = QApplication::notify(odbiorca, zdarzenie);
        },
        [this](const std::exception& blad) { PokazBlad(blad); });
    if (zakonczona) return wynik;
    zdarzenie->ignore();
    return false;
}

std::string AplikacjaZUV::Tytul() const {
    return TytulZNazwyPliku(applicationFilePath().toStdString());
}

void AplikacjaZUV::PokazBlad(const std::exception& blad) const {
    zuv::PokazBlad(komunikaty_, Tytul(), blad);
}

bool UruchomObsluge(QObject* odbiorca, std::function<void()> obsluga) {
    bool zakonczona = false;
    ZdarzenieObslugi zdarzenie([&] {
        obsluga();
        zakonczona = true;
    });
    QCoreApplication::sendEvent(odbiorca, &zdarzenie);
    return zakonczona;
}

}  // namespace zuv
