#pragma once
// Where a run finds the packages it applies: the package of a resource name as its bytes. The
// program's are linked into it (PakietyProgramu); a test gives a small catalogue of its own, so
// that a table of cases can run packages of a few batches without the real ones. The name of a
// version's package is packages/format/NazwaPakietu.h's.

#include <optional>
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

}  // namespace zuv
