#include "app/usluga/PostepPrzebiegu.h"

namespace zuv {

void PostepPrzebiegu::Rozpocznij(bool widoczna, std::int64_t wszystkieOperacje) {
    const std::lock_guard zamek(blokada_);
    widoczna_ = widoczna;
    wszystkie_ = wszystkieOperacje;
    poczatekPakietu_ = tekstyPakietu_ = wykonane_ = 0;
    przerwanie_ = false;
    tekst_.reset();
    kolor_.reset();
    zmiana_ = true;
}

void PostepPrzebiegu::RozpocznijPakiet(std::int64_t wykonaneWczesniej) {
    const std::lock_guard zamek(blokada_);
    poczatekPakietu_ = wykonane_ = wykonaneWczesniej;
    tekstyPakietu_ = 0;
    zatwierdzanie_ = false;
    zmiana_ = true;
}

void PostepPrzebiegu::UstawTekst(std::string_view tekstUtf8) {
    if (przerwanie_) throw EPrzerwanieAktualizacji();
    const std::lock_guard zamek(blokada_);
    tekst_.emplace(tekstUtf8);
    // The text of operation n means that n - 1 of the package are done.
    if (++tekstyPakietu_ >= 2) wykonane_ = poczatekPakietu_ + tekstyPakietu_ - 2;
    zmiana_ = true;
}

bool PostepPrzebiegu::Widoczna() const {
    const std::lock_guard zamek(blokada_);
    return widoczna_;
}

void PostepPrzebiegu::UstawKolor(std::uint32_t kolor) {
    const std::lock_guard zamek(blokada_);
    kolor_ = kolor;
    zmiana_ = true;
}

std::optional<ZmianaPostepu> PostepPrzebiegu::Zmiana() {
    // Taken under the lock and shown outside it: painting must never hold up the run.
    const std::lock_guard zamek(blokada_);
    if (!zmiana_) return std::nullopt;
    zmiana_ = false;
    return ZmianaPostepu{tekst_, kolor_, wykonane_, wszystkie_};
}

std::string PostepPrzebiegu::Tekst() const {
    const std::lock_guard zamek(blokada_);
    return tekst_.value_or("");
}

}  // namespace zuv
