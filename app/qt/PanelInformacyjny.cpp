#include "app/qt/PanelInformacyjny.h"

#include <QPainter>
#include <QPalette>

#include "app/okno/WypelnieniePaska.h"

namespace zuv {

namespace {

// A colour as the runner gives it, 0x00BBGGRR.
QColor KolorQt(std::uint32_t kolor) {
    return QColor(static_cast<int>(kolor & 0xFF), static_cast<int>((kolor >> 8) & 0xFF),
                  static_cast<int>((kolor >> 16) & 0xFF));
}

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
    paleta.setColor(QPalette::Window, KolorQt(kolor));
    setPalette(paleta);
}

void PanelInformacyjny::UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) {
    const double nowe = UdzialWypelnienia(wykonane, wszystkie);
    if (nowe == wypelnienie_) return;
    wypelnienie_ = nowe;
    update();
}

void PanelInformacyjny::paintEvent(QPaintEvent* zdarzenie) {
    // The background is already filled with the panel's colour; the fill goes over it, the text
    // over both.
    if (wypelnienie_ > 0) {
        QPainter malarz(this);
        malarz.fillRect(QRectF(0, 0, width() * wypelnienie_, height()), KolorQt(KolorWypelnienia));
    }
    QLabel::paintEvent(zdarzenie);
}

}  // namespace zuv
