#pragma once
// The shared word wrapping (app/okno/ZawijanieTekstu.h) for the Qt window's labels: the text is a
// QString and the widths those of the label's font.

#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace zuv {

// CR LF, a lone CR and a lone LF each end a line. A width below one character still gives at
// least one character a line.
QStringList ZawinTekst(const QString& tekst, int szerokosc, const QFontMetrics& miara);

}  // namespace zuv
