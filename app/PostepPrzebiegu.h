#pragma once
// The progress of an update run, handed from the thread that runs the packages to the window's
// thread. The runner writes its texts and colour here instead of into the strip; the window
// copies the latest state into the strip at its own pace, so a text may be skipped on screen when
// batches run faster than the screen refreshes, but the last one is always shown.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "app/InterfejsyOkna.h"
#include "common/Wyjatki.h"

namespace zuv {

class PostepPrzebiegu final : public KontrolkaPostepu {
  public:
    // Window's thread, before the run: whether the strip is on screen (the runner asks, to
    // decide whether to show a failure) and the operations of all packages due.
    void Rozpocznij(bool widoczna, std::int64_t wszystkieOperacje);
    // The run's thread: a package begins, after `wykonaneWczesniej` operations of earlier ones.
    // Its first text is the runner's preparation text; each further text starts one operation.
    void RozpocznijPakiet(std::int64_t wykonaneWczesniej);

    // The runner's side, on the run's thread. Once a stop was asked for, raises
    // EPrzerwanieAktualizacji instead: the runner announces each operation here, so the run ends
    // before the next batch and the runner rolls the package back as after a failure.
    void UstawTekst(std::string_view tekstUtf8) override;
    // Any thread: the run is to stop at its next operation.
    void Przerwij() noexcept { przerwanie_ = true; }
    bool Przerwany() const noexcept { return przerwanie_; }
    void OdswiezTeraz() override {}
    bool Widoczna() const override;
    void UstawKolor(std::uint32_t kolor) override;

    // Window's thread: copies into the strip what changed since the last call; gives whether
    // anything did.
    bool Przenies(PasekInformacyjny& pasek);

  private:
    mutable std::mutex blokada_;
    bool widoczna_ = false;
    std::int64_t wszystkie_ = 0;
    std::int64_t poczatekPakietu_ = 0;
    std::int64_t tekstyPakietu_ = 0;
    std::int64_t wykonane_ = 0;
    std::optional<std::string> tekst_;
    std::optional<std::uint32_t> kolor_;
    bool zmiana_ = false;
    std::atomic<bool> przerwanie_ = false;
};

// The run stopped at the administrator's request.
class EPrzerwanieAktualizacji : public Exception {
  public:
    EPrzerwanieAktualizacji() : Exception("Aktualizacja przerwana na żądanie.") {}
};

}  // namespace zuv
