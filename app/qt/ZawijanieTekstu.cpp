#include "app/qt/ZawijanieTekstu.h"

namespace zuv {

namespace {

// The length of the longest start of `slowo` (at least one character, never half of a surrogate
// pair) that fits the width.
qsizetype DlugoscMieszczaca(const QString& slowo, int szerokosc, const QFontMetrics& miara) {
    qsizetype dlugosc = 1;
    if (slowo.size() > 1 && slowo.at(0).isHighSurrogate()) dlugosc = 2;
    for (qsizetype i = dlugosc; i < slowo.size(); ++i) {
        if (slowo.at(i).isLowSurrogate()) continue;
        if (miara.horizontalAdvance(slowo.left(i + 1)) > szerokosc) break;
        dlugosc = i + 1;
        if (i + 1 < slowo.size() && slowo.at(i + 1).isLowSurrogate()) dlugosc = i + 2;
    }
    return dlugosc;
}

void ZawinLinie(const QString& linia, int szerokosc, const QFontMetrics& miara,
                QStringList& wynik) {
    if (miara.horizontalAdvance(linia) <= szerokosc) {
        wynik << linia;
        return;
    }
    QString biezaca;
    bool rozpoczeta = false;
    for (QString slowo : linia.split(QLatin1Char(' '))) {
        if (rozpoczeta) {
            const QString dluzsza = biezaca + QLatin1Char(' ') + slowo;
            if (miara.horizontalAdvance(dluzsza) <= szerokosc) {
                biezaca = dluzsza;
                continue;
            }
            wynik << biezaca;
        }
        while (slowo.size() > 1 && miara.horizontalAdvance(slowo) > szerokosc) {
            const qsizetype dlugosc = DlugoscMieszczaca(slowo, szerokosc, miara);
            if (dlugosc >= slowo.size()) break;
            wynik << slowo.left(dlugosc);
            slowo.remove(0, dlugosc);
        }
        biezaca = slowo;
        rozpoczeta = true;
    }
    wynik << biezaca;
}

}  // namespace

QStringList ZawinTekst(const QString& tekst, int szerokosc, const QFontMetrics& miara) {
    QString linie = tekst;
    linie.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList wynik;
    for (const QString& linia : linie.split(QLatin1Char('\n')))
        ZawinLinie(linia, szerokosc, miara, wynik);
    return wynik;
}

}  // namespace zuv
