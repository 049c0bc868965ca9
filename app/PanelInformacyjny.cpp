#include "app/PanelInformacyjny.h"

#include <QPalette>

namespace zuv {

PanelInformacyjny::PanelInformacyjny(QWidget* rodzic) : QLabel(rodzic) {
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
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

}  // namespace zuv
