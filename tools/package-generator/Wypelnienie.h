#pragma once
// Filler code for the full-size packages: extra statements inside procedure bodies that bring a
// package to the measured number of lines and bytes.

#include <cstddef>
#include <vector>

namespace generator {

class PisarzPakietu;

struct Wypelnienie {
    long wiersze = 0;
    long bajty = 0;  // line ends included
};

// The filler shares of one package, handed out to the procedures that can hold filler in the
// order they are written. Without shares (the sample, or the measuring pass) every procedure
// gets none; the number asked for is counted either way.
class PrzydzialWypelnienia {
  public:
    PrzydzialWypelnienia() = default;
    explicit PrzydzialWypelnienia(std::vector<Wypelnienie> udzialy)
        : udzialy_(std::move(udzialy)) {}

    Wypelnienie Nastepne() {
        const std::size_t i = wydane_++;
        return i < udzialy_.size() ? udzialy_[i] : Wypelnienie{};
    }
    std::size_t Wydane() const { return wydane_; }

  private:
    std::vector<Wypelnienie> udzialy_;
    std::size_t wydane_ = 0;
};

// Splits `brakujace` lines and bytes over `odbiorcy` procedures: `duze` of them, spread over the
// package, get some 70 kB each (the real packages have that many batches above 64 kB), the
// others equal shares. Throws std::logic_error when the lines cannot carry the bytes.
std::vector<Wypelnienie> RozdzielWypelnienie(Wypelnienie brakujace, std::size_t odbiorcy,
                                             std::size_t duze);

// Writes exactly `w.wiersze` lines of exactly `w.bajty` bytes in all: a declaration of the
// variables the filler uses, then statements on them, some with a trailing comment. `ziarno`
// varies the statements between procedures.
void PiszWypelnienie(PisarzPakietu& pisarz, Wypelnienie w, std::size_t ziarno);

}  // namespace generator
