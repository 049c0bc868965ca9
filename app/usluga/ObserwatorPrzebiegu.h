#pragma once
// Who wants to hear of each package of a run as it happens, beside the progress: the unattended
// program prints a line per package where no status line shows it. Called on the run's thread.

#include <cstddef>
#include <string>

namespace zuv {

class ObserwatorPrzebiegu {
  public:
    virtual ~ObserwatorPrzebiegu() = default;
    // Package `numer` (from 1) of `liczba` selected begins.
    virtual void PakietRozpoczety(const std::string& wersja, std::size_t numer,
                                  std::size_t liczba) = 0;
    // The package's transaction was committed, `sekundy` after it began.
    virtual void PakietZatwierdzony(const std::string& wersja, double sekundy) = 0;
};

}  // namespace zuv
