#include "app/qt/PanelInformacyjny.h"

#include <QPainter>
#include <QPalette>
#include <algorithm>

namespace zuv {

namespace {

// Light enough for the black text over it, distinct from the window colour and from the pink of
// a failure.
const QColor KolorWypelnienia(190, 222, 250);

}  // namespace

PanelInformacyjny::PanelInformacyjny(QWidget* rodzic) : QLabel(rodzic) {
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    PrzywrocKolor();
}

void PanelInformacyjny::PrzywrocKolor() {
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, paleta.color(QPalette::Base));
    setPalette(paleta);
}

void PanelInformacyjny::UstawTekst(std::string_view tekstUtf8) {
    setText(QString::fromUtf8(tekstUtf8.data(), static_cast<qsizetype>(tekstUtf8.size())));
}

void PanelInformacyjny::OdswiezTeraz() { repaint(); }

bool PanelInformacyjny::Widoczna() const { return isVisible(); }

void PanelInformacyjny::UstawKolor(std::uint32_t kolor) {
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window,
                    QColor(static_cast<int>(kolor & 0xFF), static_cast<int>((kolor >> 8) & 0xFF),
                           static_cast<int>((kolor >> 16) & 0xFF)));
    setPalette(paleta);
}

void PanelInformacyjny::UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) {
    const double nowe =
        wszystkie > 0
            ? std::clamp(static_cast<double>(wykonane) / static_cast<double>(wszystkie), 0.0, 1.0)
            : 0.0;
    if (nowe == wypelnienie_) return;
    wypelnienie_ = nowe;
    update();
}

void PanelInformacyjny::paintEvent(QPaintEvent* zdarzenie) {
    // The background is already filled with the panel's colour; the fill goes over it, the text
    // over both.
    if (wypelnienie_ > 0) {
        QPainter malarz(this);
        malarz.fillRect(QRectF(0, 0, width() * wypelnienie_, height()), KolorWypelnienia);
    }
    QLabel::paintEvent(zdarzenie);
}

}  // namespace zuv
