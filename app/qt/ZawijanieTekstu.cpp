#include "app/qt/ZawijanieTekstu.h"

#include <QStringView>
#include <string_view>

#include "app/okno/ZawijanieTekstu.h"

namespace zuv {

namespace {

// A QString holds UTF-16, as the shared rule reads it.
std::u16string_view Widok(QStringView tekst) {
    return {tekst.utf16(), static_cast<std::size_t>(tekst.size())};
}

QString Tekst(std::u16string_view widok) {
    return QString::fromUtf16(widok.data(), static_cast<qsizetype>(widok.size()));
}

}  // namespace

QStringList ZawinTekst(const QString& tekst, int szerokosc, const QFontMetrics& miara) {
    const std::vector<std::u16string_view> linie = ZawinTekst(
        Widok(tekst), szerokosc,
        [&miara](std::u16string_view odcinek) { return miara.horizontalAdvance(Tekst(odcinek)); });
    QStringList wynik;
    wynik.reserve(static_cast<qsizetype>(linie.size()));
    for (const std::u16string_view linia : linie) wynik << Tekst(linia);
    return wynik;
}

}  // namespace zuv
