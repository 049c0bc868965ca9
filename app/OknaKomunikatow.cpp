#include "app/OknaKomunikatow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace zuv {

namespace {

// QMessageBox wraps any text wider than 500 pixels, which breaks an error message such as "...
// podczas wykonywania operacji 5:" before its number. The text label is given the width of its
// longest line instead, up to three quarters of the screen, past which it still wraps.
void NieZawijajKrotkichLinii(QMessageBox& okno) {
    auto* etykieta = okno.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (etykieta == nullptr) return;
    const QFontMetrics miara(etykieta->font());
    int najdluzsza = 0;
    for (const QString& linia : etykieta->text().split(QLatin1Char('\n')))
        najdluzsza = std::max(najdluzsza, miara.horizontalAdvance(linia));
    const QScreen* ekran = okno.screen();
    const int limit = ekran != nullptr ? ekran->availableGeometry().width() * 3 / 4 : 800;
    etykieta->setMinimumWidth(std::min(najdluzsza + 2, limit));
}

// A command may go on for long after its question without the event loop running, so the
// window beneath is painted again at once; otherwise the image of the closed box could stay on it.
void Zamknij(QMessageBox& okno) {
    okno.hide();
    if (QWidget* wlasciciel = okno.parentWidget()) wlasciciel->window()->repaint();
}

}  // namespace

int OknaKomunikatowQt::Pokaz(const std::string& tekst, const std::string& tytul, int styl) {
    QMessageBox okno(QApplication::activeWindow());
    okno.setWindowModality(Qt::ApplicationModal);
    okno.setWindowTitle(QString::fromStdString(tytul));
    okno.setText(QString::fromStdString(tekst));
    okno.setTextFormat(Qt::PlainText);
    NieZawijajKrotkichLinii(okno);

    switch (styl & 0xF0) {
        case StylKomunikatu::IkonaStop:
            okno.setIcon(QMessageBox::Critical);
            break;
        case StylKomunikatu::IkonaWykrzyknik:
            okno.setIcon(QMessageBox::Warning);
            break;
        case StylKomunikatu::IkonaInformacja:
            okno.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    if ((styl & 0x0F) == StylKomunikatu::TakNie) {
        QPushButton* tak = okno.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
        QPushButton* nie = okno.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
        okno.setDefaultButton(tak);
        okno.setEscapeButton(nie);
        okno.exec();
        Zamknij(okno);
        return okno.clickedButton() == tak ? OdpowiedzKomunikatu::Tak : OdpowiedzKomunikatu::Nie;
    }
    QPushButton* ok = okno.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    okno.setDefaultButton(ok);
    okno.setEscapeButton(ok);
    okno.exec();
    Zamknij(okno);
    return OdpowiedzKomunikatu::Ok;
}

}  // namespace zuv
