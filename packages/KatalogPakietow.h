#pragma once
// Where a run finds the packages it applies: the package of a resource name as its bytes. The
// program's are linked into it (PakietyProgramu); a test gives a small catalogue of its own, so
// that a table of cases can run packages of a few batches without the real ones. The rule that
// makes a catalogue version's resource name is written here once.

#include <optional>
#include <string>
#include <string_view>

namespace zuv {

class KatalogPakietow {
  public:
    virtual ~KatalogPakietow() = default;
    // The exact bytes of the package of that name, the letters' case ignored; nothing when there
    // is none. They live as long as the catalogue.
    virtual std::optional<std::string_view> Znajdz(std::string_view nazwa) const = 0;
};

// The packages linked into the program (ZasobyProgramu.h).
const KatalogPakietow& PakietyProgramu();

// "zuv_%d_%d_%d_%d" with the four numbers of a catalogue version ("zuv_10_17_0_3"); nothing when
// the text is no version.
std::optional<std::string> NazwaPakietu(std::string_view wersja);

}  // namespace zuv
