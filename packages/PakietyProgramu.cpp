#include "packages/KatalogPakietow.h"
#include "packages/ZasobyProgramu.h"

namespace zuv {

namespace {

class PakietyLinkowane final : public KatalogPakietow {
  public:
    std::optional<std::string_view> Znajdz(std::string_view nazwa) const override {
        return ZnajdzZasob(nazwa);
    }
};

}  // namespace

const KatalogPakietow& PakietyProgramu() {
    static const PakietyLinkowane pakiety;  // holds nothing: the bytes are the program's own
    return pakiety;
}

}  // namespace zuv
