#pragma once
// Lines of a text cut to a width in pixels, for the boxes and the version line: a line that fits
// stays whole; a longer one is broken at blanks (the blanks at a break are dropped), and a word
// wider than the width by itself is broken between characters.

#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace zuv {

// CR LF, a lone CR and a lone LF each end a line. A width below one character still gives at
// least one character a line.
QStringList ZawinTekst(const QString& tekst, int szerokosc, const QFontMetrics& miara);

}  // namespace zuv
