#pragma once
// The information strip at the top of the window: a borderless panel with centred text, on which
// the script runner shows its progress and its failure.

#include <QLabel>

#include "packages/KontrolkaPostepu.h"

namespace zuv {

class PanelInformacyjny : public QLabel, public KontrolkaPostepu {
  public:
    explicit PanelInformacyjny(QWidget* rodzic);

    void UstawTekst(std::string_view tekstUtf8) override;
    void OdswiezTeraz() override;
    bool Widoczna() const override;
    void UstawKolor(std::uint32_t kolor) override;
};

}  // namespace zuv
