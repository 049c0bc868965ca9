#pragma once
// The progress of an update run, handed from the thread that runs the packages to a front end's
// thread. The runner writes its texts and colour here; a window copies the latest state into its
// strip at its own pace (so a text may be skipped on screen when batches run faster than the
// screen refreshes, but the last one is always shown), a console into its status line.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "common/Wyjatki.h"
#include "packages/KontrolkaPostepu.h"

namespace zuv {

// What changed since it was last taken: the text and the colour when they changed, and how many
// operations of all are done.
struct ZmianaPostepu {
    std::optional<std::string> tekst;
    std::optional<std::uint32_t> kolor;
    std::int64_t wykonane = 0;
    std::int64_t wszystkie = 0;
};

class PostepPrzebiegu final : public KontrolkaPostepu {
  public:
    // Before the run: whether the strip is on screen (the runner asks, to decide whether to show
    // a failure) and the operations of all packages due.
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
    void Zatwierdzanie() override { zatwierdzanie_ = true; }
    // Any thread: whether the package running has sent its commit (a stop can no longer roll it
    // back).
    bool WZatwierdzaniu() const noexcept { return zatwierdzanie_; }

    // A front end's thread: what changed since the last call; nothing when nothing did.
    std::optional<ZmianaPostepu> Zmiana();
    // Any thread: the latest text.
    std::string Tekst() const;

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
    std::atomic<bool> zatwierdzanie_ = false;
};

// The run stopped at the administrator's request.
class EPrzerwanieAktualizacji : public Exception {
  public:
    EPrzerwanieAktualizacji() : Exception("Aktualizacja przerwana na żądanie.") {}
};

}  // namespace zuv
