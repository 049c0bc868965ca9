#pragma once
// The window's strip as the update command writes it: every call passed on, the last text kept,
// so that a text shown only while the server is awaited ("Logowanie do serwera ...") can give the
// strip back what it showed before.

#include <string>

#include "app/InterfejsyOkna.h"

namespace zuv {

class PasekZPamiecia final : public PasekInformacyjny {
  public:
    explicit PasekZPamiecia(PasekInformacyjny& pasek) : pasek_(pasek) {}

    void UstawTekst(std::string_view tekstUtf8) override {
        tekst_ = tekstUtf8;
        pasek_.UstawTekst(tekstUtf8);
    }
    void OdswiezTeraz() override { pasek_.OdswiezTeraz(); }
    bool Widoczna() const override { return pasek_.Widoczna(); }
    void UstawKolor(std::uint32_t kolor) override { pasek_.UstawKolor(kolor); }
    void UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) override {
        pasek_.UstawWypelnienie(wykonane, wszystkie);
    }
    void PrzywrocKolor() override { pasek_.PrzywrocKolor(); }

    const std::string& Tekst() const noexcept { return tekst_; }

  private:
    PasekInformacyjny& pasek_;
    std::string tekst_;
};

}  // namespace zuv
