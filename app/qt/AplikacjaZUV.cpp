#include "app/qt/AplikacjaZUV.h"

#include "app/ObslugaBledu.h"
#include "app/OknaKomunikatow.h"

namespace zuv {

const QEvent::Type ZdarzenieObslugi::Typ = static_cast<QEvent::Type>(QEvent::registerEventType());

AplikacjaZUV::AplikacjaZUV(int& argc, char** argv, OknaKomunikatow& komunikaty)
    : QApplication(argc, argv), komunikaty_(komunikaty) {}

bool AplikacjaZUV::notify(QObject* odbiorca, QEvent* zdarzenie) {
    try {
        // The window's handlers run here, not inside Qt's own dispatch: an error they raise is
        // caught below without unwinding through the toolkit's frames.
        if (zdarzenie->type() == ZdarzenieObslugi::Typ) {
            static_cast<ZdarzenieObslugi*>(zdarzenie)->Wykonaj();
            zdarzenie->accept();
            return true;
        }
        return QApplication::notify(odbiorca, zdarzenie);
    } catch (const std::exception& blad) {
        PokazBlad(blad);
    } catch (...) {
        PokazBlad(std::runtime_error("Nieznany błąd"));
    }
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
