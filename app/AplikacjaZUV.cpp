#include "app/AplikacjaZUV.h"

#include <QFileInfo>

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
    komunikaty_.Pokaz(TekstBledu(blad.what()), Tytul(),
                      StylKomunikatu::Ok | StylKomunikatu::IkonaStop);
}

std::string TytulZNazwyPliku(const std::string& sciezka) {
    QString nazwa = QFileInfo(QString::fromStdString(sciezka)).fileName();
    nazwa = nazwa.left(nazwa.indexOf(QLatin1Char('.')));
    if (nazwa.size() > 1) nazwa = nazwa.left(1) + nazwa.mid(1).toLower();
    return nazwa.toStdString();
}

std::string TekstBledu(std::string komunikat) {
    if (!komunikat.empty() && static_cast<unsigned char>(komunikat.back()) > '.') komunikat += '.';
    return komunikat;
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
