#pragma once
// The information strip at the top of the window: a borderless panel with centred text, on which
// the script runner shows its progress and its failure, and behind the text a fill that grows
// from left to right with the operations of a run done.

#include <QLabel>

#include "app/InterfejsyOkna.h"

namespace zuv {

class PanelInformacyjny : public QLabel, public PasekInformacyjny {
  public:
    explicit PanelInformacyjny(QWidget* rodzic);

    void UstawTekst(std::string_view tekstUtf8) override;
    void OdswiezTeraz() override;
    bool Widoczna() const override;
    void UstawKolor(std::uint32_t kolor) override;
    void PrzywrocKolor() override;
    void UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) override;

    // The part of the width filled, 0 to 1; 0 also when no run is shown.
    double Wypelnienie() const noexcept { return wypelnienie_; }

  protected:
    void paintEvent(QPaintEvent* zdarzenie) override;

  private:
    double wypelnienie_ = 0;
};

}  // namespace zuv
