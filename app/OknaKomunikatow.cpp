#include "app/OknaKomunikatow.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

int OknaKomunikatowQt::Pokaz(const std::string& tekst, const std::string& tytul, int styl) {
    QMessageBox okno(QApplication::activeWindow());
    okno.setWindowModality(Qt::ApplicationModal);
    okno.setWindowTitle(QString::fromStdString(tytul));
    okno.setText(QString::fromStdString(tekst));
    okno.setTextFormat(Qt::PlainText);

    switch (styl & 0xF0) {
        case StylKomunikatu::IkonaStop: okno.setIcon(QMessageBox::Critical); break;
        case StylKomunikatu::IkonaWykrzyknik: okno.setIcon(QMessageBox::Warning); break;
        case StylKomunikatu::IkonaInformacja: okno.setIcon(QMessageBox::Information); break;
        default: break;
    }
    if ((styl & 0x0F) == StylKomunikatu::TakNie) {
        QPushButton* tak = okno.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
        QPushButton* nie = okno.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
        okno.setDefaultButton(tak);
        okno.setEscapeButton(nie);
        okno.exec();
        return okno.clickedButton() == tak ? OdpowiedzKomunikatu::Tak : OdpowiedzKomunikatu::Nie;
    }
    QPushButton* ok = okno.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    okno.setDefaultButton(ok);
    okno.setEscapeButton(ok);
    okno.exec();
    return OdpowiedzKomunikatu::Ok;
}
